#include "screen/state/frame_fit.h"

#include <algorithm>
#include <map>

#include "draw/rolling_feed.h"
#include "screen/state/rolling_layout.h"

namespace screen {

namespace {

bool overlapsAny(const std::vector<Rect>& boxes, const Rect& box) {
  return std::any_of(boxes.begin(), boxes.end(), [&](const Rect& b) { return b.overlaps(box); });
}

bool inside(Size desktop, const Rect& box) {
  return box.left >= 0 && box.top >= 0 && box.right() <= desktop.width && box.bottom() <= desktop.height;
}

TextFont atSize(TextFont font, int size) {
  font.size = size;
  return font;
}

// The size of a text as a frame shows it: an empty frame is as high as a blank;
// with a pitch, its lines stand that far apart.
Size frameTextSize(const TextMeasurer& measurer, const std::string& text, const TextFont& font, int pitch) {
  Size size = measurer.measure(text.empty() ? std::string(" ") : text, font);
  if (pitch > 0) {
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    size.height = (lines - 1) * pitch + measurer.lineMetrics(font).height;
  }
  return size;
}

}  // namespace

BigFrameShow fitBigFrame(const BigFrameFit& fit, const TextMeasurer& measurer,
                         const std::optional<BigFrameStep>& shown) {
  const int placed = fit.font.size;
  const int floor = std::min(placed, kReadableFontSize);
  const std::vector<std::string> cells = draw::bigFrameCells(fit.composed);
  int composedPerLine = 0;  // the most names on one line of the composed text
  for (std::size_t from = 0, line = 0; from <= fit.composed.size(); from = line + 1) {
    line = std::min(fit.composed.find('\n', from), fit.composed.size());
    composedPerLine =
        std::max(composedPerLine, int(draw::bigFrameCells(fit.composed.substr(from, line - from)).size()));
  }
  std::map<int, std::string> texts;  // by names a line, 0: as composed
  auto textOf = [&](int perLine) -> const std::string& {
    auto found = texts.find(perLine);
    if (found == texts.end())
      found = texts.emplace(perLine, perLine == 0 ? fit.composed : draw::regroupBigFrameText(cells, perLine)).first;
    return found->second;
  };
  auto boxOf = [&](const BigFrameStep& step) {
    const Size size = frameTextSize(measurer, textOf(step.perLine), atSize(fit.font, step.size), step.pitch);
    Rect box{fit.stored.x, fit.stored.y, size.width, size.height};
    if (!step.movedIn) return box;
    box.left = std::max(0, std::min(box.left, fit.desktop.width - box.width));
    for (const Rect& other : fit.others)
      if (other.overlaps(box) && other.left > box.left) box.left = std::max(0, other.left - box.width);
    return box;
  };
  auto fits = [&](const BigFrameStep& step) {
    const Rect box = boxOf(step);
    return inside(fit.desktop, box) && !overlapsAny(fit.others, box);
  };
  auto show = [&](const BigFrameStep& step) {
    const Rect box = boxOf(step);
    return BigFrameShow{step, textOf(step.perLine), {box.left, box.top}};
  };

  const LineMetrics metrics = measurer.lineMetrics(atSize(fit.font, floor));
  const int pixels = metrics.pixelSize;
  std::vector<BigFrameStep> steps;
  for (int size = placed; size >= floor; --size) steps.insert(steps.end(), {{size, 0, 0, false}, {size, 0, 0, true}});
  for (int perLine = composedPerLine - 1; perLine >= 1; --perLine)
    steps.insert(steps.end(), {{floor, perLine, 0, false}, {floor, perLine, 0, true}});
  for (int perLine = composedPerLine; perLine >= 1; --perLine)
    for (int pitch = metrics.lineSpacing - 1; pitch >= pixels + (pixels + 4) / 5; --pitch)
      steps.insert(steps.end(), {{floor, perLine == composedPerLine ? 0 : perLine, pitch, false},
                                 {floor, perLine == composedPerLine ? 0 : perLine, pitch, true}});

  if (shown) {
    for (std::size_t k = 1; k < steps.size(); ++k) {
      if (!(steps[k] == *shown)) continue;
      if (fits(*shown) && !fits(steps[k - 1])) return show(*shown);
      break;
    }
  }
  for (const BigFrameStep& step : steps)
    if (fits(step)) return show(step);
  return show(steps.front());
}

TextFrameShow fitTextFrame(const TextFrameFit& fit, const TextMeasurer& measurer) {
  const int placed = fit.font.size;
  auto fits = [&](Size size) {
    const Rect box{fit.placed.left, fit.placed.top, size.width, size.height};
    return inside(fit.desktop, box) && !overlapsAny(fit.others, box);
  };
  if (fits({fit.placed.width, fit.placed.height})) return {placed, 0};
  const int floor = std::min(placed, kReadableFontSize);
  for (int size = placed - 1; size >= floor; --size)
    if (fits(frameTextSize(measurer, fit.text, atSize(fit.font, size), 0))) return {size, 0};
  // Still too long at the readable size: cut where the first obstacle on its row begins.
  int rightLimit = fit.desktop.width;
  for (const Rect& o : fit.others)
    if (o.left > fit.placed.left && o.top < fit.placed.bottom() && o.bottom() > fit.placed.top)
      rightLimit = std::min(rightLimit, o.left);
  // The frame's box is a little wider than the advance of its text.
  return {floor, std::max(0, rightLimit - fit.placed.left - 1)};
}

}  // namespace screen
