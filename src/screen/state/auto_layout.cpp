#include "screen/state/auto_layout.h"

#include <algorithm>

#include "base/gbk.h"
#include "screen/state/config_keys.h"
#include "screen/state/ini_names.h"
#include "screen/state/rolling_layout.h"
#include "screen/state/screen_settings.h"

namespace screen {

namespace {

Size measureLabel(const TextMeasurer& measurer, const LabelState& label) {
  return measurer.measure(label.caption,
                          TextFont{label.font.name, label.font.size, label.font.bold, label.font.italic});
}

// An empty caption measures a few pixels at most; such a label is moved left so
// that it sits where its usual text would start.
int centredLeft(const Display& display, int width, int offsetWhenEmpty) {
  const int left = half(display.desktop.width) - half(width);
  return width > 4 ? left : left - offsetWhenEmpty;
}

void storeLabelPositions(base::IniFile& ini, const ScreenModel& model) {
  storePlaces(ini, model);
  // The winners display opens with its titles where the main screen has them.
  writePlace(ini, "ShowMainTitle", model.label(Label::MainTitle).position);
  writePlace(ini, "ShowSecTitle", model.label(Label::SecTitle).position);
}

// Longest by columns (base::displayColumns): a name of four-byte characters is
// no wider on screen than one of two-byte characters.
const std::string& longestName(const std::vector<std::string>& names) {
  static const std::string none;
  const std::string* longest = &none;
  std::size_t widest = 0;
  for (const std::string& name : names) {
    const std::size_t columns = base::displayColumns(name);
    if (columns > widest) {
      longest = &name;
      widest = columns;
    }
  }
  return *longest;
}

// Kept between the rolling area and the elements around it.
constexpr int kClearance = 10;

Rect labelBox(const TextMeasurer& measurer, const LabelState& label) {
  static const std::string oneLine = base::utf8ToGbk("国");
  const Size size = measurer.measureLabel(label.caption.empty() ? oneLine : label.caption, label.font, label.effect);
  return {label.position.x, label.position.y, size.width, size.height};
}

}  // namespace

RollingRoom rollingRoom(const ScreenModel& model, const Display& display, const TextMeasurer& measurer, Size logo,
                        Size startButton, std::string_view countdown) {
  const int desktopHeight = display.desktop.height;
  RollingRoom room{0, desktopHeight, {}};
  // An element in the upper half bounds the room from above, one in the lower half from below.
  auto bound = [&](const Rect& box) {
    if (box.height <= 0) return;
    if (box.top + box.height / 2 < desktopHeight / 2)
      room.top = std::max(room.top, box.bottom() + kClearance);
    else
      room.bottom = std::min(room.bottom, box.top - kClearance);
  };
  const std::pair<Label, ShowTick> rows[] = {{Label::MainTitle, ShowTick::MainTitle},
                                             {Label::SecTitle, ShowTick::SecTitle},
                                             {Label::ItemName, ShowTick::ItemName},
                                             {Label::HonorGuest, ShowTick::HonorGuest},
                                             {Label::RateProgress, ShowTick::RateProgress}};
  for (const auto& [which, tick] : rows)
    if (model.tick(tick)) bound(labelBox(measurer, model.label(which)));
  if (model.tick(ShowTick::Logo)) bound({model.logo.x, model.logo.y, logo.width, logo.height});
  if (model.tick(ShowTick::StartButton)) {
    const Point button = startButtonPosition(display, startButton);
    bound({button.x, button.y, startButton.width, startButton.height});
  }

  // The prize picture and its name stand at the side: the frames keep clear of
  // the corner from the name's top down and from their left edge rightwards.
  const Box& picture = model.prizePicture;
  Rect corner{picture.position.x, picture.position.y, picture.size.width, picture.size.height};
  if (!model.tick(ShowTick::PrizePicture)) corner = {};
  if (model.tick(ShowTick::PrizeName)) {
    const Rect name = labelBox(measurer, model.label(Label::PrizeName));
    if (corner.width <= 0 || corner.height <= 0) {
      corner = name;
    } else {
      const int left = std::min(corner.left, name.left);
      const int top = std::min(corner.top, name.top);
      corner = {left, top, std::max(corner.right(), name.right()) - left,
                std::max(corner.bottom(), name.bottom()) - top};
    }
  }
  if (corner.width > 0 && corner.height > 0) {
    const int left = corner.left - kClearance;
    const int top = corner.top - kClearance;
    room.obstacles.push_back(
        {left, top, std::max(display.desktop.width, corner.right()) - left, corner.bottom() + kClearance - top});
  }

  // The countdown clock shows over the rolling names while an auto stop counts
  // down, whichever tick it has: the frames keep clear of it.
  const LabelState& clock = model.label(Label::TimeShow);
  const Size count = measurer.measureLabel(countdown, clock.font, clock.effect);
  if (count.width > 0 && count.height > 0)
    room.obstacles.push_back({clock.position.x - kClearance, clock.position.y - kClearance,
                              count.width + 2 * kClearance, count.height + 2 * kClearance});
  return room;
}

void placeScreenLabels(const Display& display, const TextMeasurer& measurer, ScreenModel& model) {
  const int desktopWidth = display.desktop.width;
  const int desktopHeight = display.desktop.height;

  LabelState& main = model.label(Label::MainTitle);
  const Size mainSize = measureLabel(measurer, main);
  main.position = {centredLeft(display, mainSize.width, 0), nearest(desktopHeight * 0.03)};

  LabelState& sub = model.label(Label::SecTitle);
  const Size subSize = measureLabel(measurer, sub);
  sub.position = {centredLeft(display, subSize.width, 0), nearest(main.position.y + mainSize.height * 1.1)};

  model.logo = {nearest(desktopWidth * 0.05), main.position.y};

  LabelState& progress = model.label(Label::RateProgress);
  // On a low screen (600 pixels) 85 % of the height puts the line over the start
  // button, which stands 60 pixels above the bottom: it goes above the button.
  const int progressHeight = labelBox(measurer, progress).height;
  const int aboveButton = startButtonPosition(display, {}).y - progressHeight - 4;
  progress.position = {centredLeft(display, measureLabel(measurer, progress).width, 150),
                       std::min(nearest(desktopHeight * 0.85), aboveButton)};

  LabelState& award = model.label(Label::ItemName);
  award.position = {centredLeft(display, measureLabel(measurer, award).width, 30),
                    nearest(sub.position.y + subSize.height * 1.1)};

  LabelState& hint = model.label(Label::ActionHint);
  hint.position = {centredLeft(display, measureLabel(measurer, hint).width, 110), nearest(desktopHeight * 0.48)};

  const int pictureWidth = model.prizePicture.size.width < 10 ? 200 : model.prizePicture.size.width;
  const int pictureHeight = model.prizePicture.size.height < 10 ? 200 : model.prizePicture.size.height;
  model.prizePicture.position = {desktopWidth - pictureWidth - 20, desktopHeight - pictureHeight - 80};

  LabelState& prize = model.label(Label::PrizeName);
  const Size prizeSize = measureLabel(measurer, prize);
  // It stands on the picture: its height is the one it has on the screen, its
  // shadow's room included, and a prize written later is one line of its font.
  const int prizeHeight = std::max(prizeSize.height, labelBox(measurer, prize).height);
  prize.position = {
      model.prizePicture.position.x + half(pictureWidth - prizeSize.width) - (prizeSize.width <= 4 ? 33 : 0),
      model.prizePicture.position.y - prizeHeight};

  model.label(Label::HonorGuest).position = {nearest(desktopWidth * 0.8), sub.position.y};
}

void autoLayout(base::IniFile& config, const AutoLayoutInput& input, ScreenModel& model) {
  base::IniBatch batch(config);
  const Display& display = input.display;

  placeScreenLabels(display, input.measurer, model);
  storeLabelPositions(config, model);

  model.prizePicture.size = {200, 200};
  model.label(Label::TimeShow).position = {100, 300};
  const RollingRoom room = rollingRoom(model, display, input.measurer, input.logo, input.startButton, input.countdown);

  static const std::vector<std::string> noNames;
  const std::string& longest = longestName(input.rosterNames ? *input.rosterNames : noNames);
  RollingArea& area = model.rolling;
  std::fill(area.textCaptions.begin(), area.textCaptions.begin() + kFrameCount, longest);

  for (int batchSize = 1; batchSize <= kMaxFramedBatch + 1; ++batchSize) {
    if (input.progress) input.progress(batchSize);
    if (model.textDraw) {
      defaultTextLayout(config, batchSize, display, input.measurer, area, room);
      area.hideTextFrames();
    } else {
      defaultPictureLayout(config, batchSize, display, area, room);
    }
  }
  loadLayout(config, input.currentBatchSize, model.textDraw, display, area);
}

ResolutionAction resolutionCheck(const ScreenModel& model) {
  if (!model.resolutionChanged) return ResolutionAction::Nothing;
  return model.firstRun ? ResolutionAction::RunAutoLayout : ResolutionAction::AskOperator;
}

}  // namespace screen
