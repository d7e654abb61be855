#include "styledtext/core/scroll_text.h"

#include <algorithm>

#include "base/gbk.h"
#include "styledtext/core/mask_effects.h"

namespace styledtext {
namespace {

bool isBreakChar(char c) { return c == ' ' || c == '\t' || c == '-'; }

// The line as drawn and measured: an empty line stands for one blank.
std::string shown(const std::string& line) { return line.empty() ? std::string(" ") : line; }

struct Piece {
  std::string text;
  int height = 0;
  int width = 0;
};

std::vector<Piece> layoutLines(SmoothRenderer& renderer, const TScrollTextParam& p, int boxWidth) {
  std::vector<Piece> pieces;
  for (const std::string& raw : p.Lines) {
    const std::string line = shown(raw);
    std::vector<std::string> parts{line};
    const int width = renderer.measure(line, p.Font, p.FontEffect, p.Quality).width;
    if (p.WordWrap && width > boxWidth && width > 0) {
      std::size_t m = std::max<std::size_t>(
          1, line.size() * static_cast<std::size_t>(std::max(boxWidth, 0)) / static_cast<std::size_t>(width));
      while (m > 1 &&
             renderer.measure(std::string(base::prefixAtCharBoundary(line, m)), p.Font, p.FontEffect, p.Quality).width >
                 boxWidth) {
        --m;
      }
      parts = wrapLine(line, m + 1);
    }
    const bool whole = parts.size() == 1;
    for (std::string& part : parts) {
      Piece piece;
      piece.height = renderer.measure(part + " ", p.Font, p.FontEffect, p.Quality).height;
      // An unbroken line was measured above already.
      piece.width = whole ? width : renderer.measure(part, p.Font, p.FontEffect, p.Quality).width;
      piece.text = std::move(part);
      pieces.push_back(std::move(piece));
    }
  }
  return pieces;
}

int startY(const TScrollTextParam& p, int boxHeight) {
  return (p.Fade ? p.FadeHeight : 0) + boxHeight * p.HeadSpace / 100;
}

}  // namespace

std::vector<std::string> wrapLine(const std::string& line, std::size_t maxBytes) {
  std::vector<std::string> pieces;
  maxBytes = std::max<std::size_t>(maxBytes, 2);
  std::size_t start = 0;
  while (line.size() - start > maxBytes) {
    std::size_t cut = 0;  // bytes of the piece
    bool quoted = false;
    for (std::size_t pos = start; pos < line.size();) {
      const std::size_t len = base::charLengthAt(line, pos);
      if (pos + len - start > maxBytes) break;
      if (len == 1 && (line[pos] == '"' || line[pos] == '\'')) quoted = !quoted;
      if (len == 1 && !quoted && isBreakChar(line[pos])) cut = pos + 1 - start;
      pos += len;
    }
    if (cut == 0) cut = base::prefixAtCharBoundary(std::string_view(line).substr(start), maxBytes).size();
    if (cut == 0) cut = base::charLengthAt(line, start);
    pieces.push_back(line.substr(start, cut));
    start += cut;
  }
  if (start < line.size() || pieces.empty()) pieces.push_back(line.substr(start));
  return pieces;
}

int rowAdvance(int lineHeight, int rowPitch) {
  return roundHalfEven(static_cast<long long>(100 + std::clamp(rowPitch, -100, 150)) * std::max(0, lineHeight), 100);
}

void buildScrollImage(SmoothRenderer& renderer, const TScrollTextParam& p, int boxWidth, int boxHeight,
                      Image24& image) {
  const std::vector<Piece> pieces = layoutLines(renderer, p, boxWidth);
  int y = startY(p, boxHeight);
  for (const Piece& piece : pieces) y += rowAdvance(piece.height, p.RowPitch);
  y += boxHeight * p.TailSpace / 100;
  const int height = std::max(y, boxHeight);

  image.reset(boxWidth, height, rgbOf(p.BackColor));
  if (p.BackGround) drawPicture(image, *p.BackGround, p.BackGroundMode);

  y = startY(p, boxHeight);
  for (const Piece& piece : pieces) {
    int x = 0;
    if (p.Alignment == TAlignment::taRightJustify) x = boxWidth - piece.width;
    if (p.Alignment == TAlignment::taCenter) x = (boxWidth - piece.width) / 2;
    renderer.draw(Canvas{image, true}, x, y, piece.text, p.Font, p.FontEffect, p.Quality);
    y += rowAdvance(piece.height, p.RowPitch);
  }
}

void paintScrollFrame(const Image24& image, int offset, int boxHeight, const TScrollTextParam& p, Image24& frame) {
  const int width = image.width();
  frame.reset(width, boxHeight);
  if (image.empty()) return;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  int source = ((offset % image.height()) + image.height()) % image.height();
  for (int y = 0; y < boxHeight; ++y) {
    std::copy_n(image.row(source), rowBytes, frame.row(y));
    if (++source == image.height()) source = 0;
  }
  fadeFrameEdges(p, frame);
}

void fadeFrameEdges(const TScrollTextParam& p, Image24& frame) {
  const int boxHeight = frame.height();
  if (!p.Fade || p.FadeHeight < 2 || frame.empty()) return;
  const std::size_t rowBytes = static_cast<std::size_t>(frame.width()) * 3;
  const Rgb back = rgbOf(p.BackColor);
  const int bg[3] = {back.r, back.g, back.b};
  const int bands = std::min(p.FadeHeight, boxHeight);
  for (int b = 0; b < bands; ++b) {
    const int f = b * 255 / (p.FadeHeight - 1);
    for (int row : {b, boxHeight - 1 - b}) {
      std::uint8_t* px = frame.row(row);
      for (std::size_t i = 0; i < rowBytes; ++i) {
        const int c = bg[i % 3];
        px[i] = static_cast<std::uint8_t>(c + (((px[i] - c) * f) >> 8));
      }
    }
  }
}

void ScrollTextWindow::layout(SmoothRenderer& renderer, const TScrollTextParam& p, int boxWidth, int boxHeight) {
  strips_.clear();
  pieces_.clear();
  boxWidth_ = boxWidth;
  const std::vector<::styledtext::Piece> laid = layoutLines(renderer, p, boxWidth);
  pieces_.reserve(laid.size());
  int y = startY(p, boxHeight);
  for (const ::styledtext::Piece& l : laid) {
    Piece piece;
    piece.text = l.text;
    piece.width = l.width;
    piece.x = p.Alignment == TAlignment::taRightJustify ? boxWidth - l.width
              : p.Alignment == TAlignment::taCenter     ? (boxWidth - l.width) / 2
                                                        : 0;
    piece.y = y;
    const int advance = rowAdvance(l.height, p.RowPitch);
    piece.rows = std::max(advance, l.height);
    pieces_.push_back(std::move(piece));
    y += advance;
  }
  y += boxHeight * p.TailSpace / 100;
  height_ = std::max(y, boxHeight);
}

void ScrollTextWindow::measureRuns(SmoothRenderer& renderer, const TScrollTextParam& p, Piece& piece) {
  if (!piece.runEnds.empty()) return;
  // Runs of about 64 bytes, cut at character boundaries; the shadow's room is
  // counted once for the line, not once per run.
  const int room = renderer.measure("", p.Font, p.FontEffect, p.Quality).width;
  const std::string_view text = piece.text;
  int right = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t length = base::prefixAtCharBoundary(text.substr(start), 64).size();
    if (length == 0) length = base::charLengthAt(text, start);
    right += renderer.measure(text.substr(start, length), p.Font, p.FontEffect, p.Quality).width - room;
    start += length;
    piece.runEnds.push_back(start);
    piece.runRights.push_back(right);
  }
}

const ScrollTextWindow::Strip& ScrollTextWindow::strip(SmoothRenderer& renderer, const TScrollTextParam& p,
                                                       std::size_t index, int left, int width) {
  auto found = strips_.find(index);
  if (found != strips_.end() && found->second.left <= left && found->second.left + found->second.width >= left + width)
    return found->second;

  Piece& piece = pieces_[index];
  Strip& kept = strips_[index];
  kept.left = left;
  kept.width = width;
  kept.pixels.reset(width, piece.rows, rgbOf(p.BackColor));
  // A line up to this wide is drawn whole, exactly as in the full image; a wider
  // one only from the run before the first column in view to the run after the
  // last, so its mask stays the size of the screen.
  constexpr int kWholeLine = 4096;
  constexpr int kMargin = 64;  // room for the shadow and blur of the runs at the edges
  if (piece.width <= kWholeLine) {
    renderer.draw(Canvas{kept.pixels, true}, piece.x - left, 0, piece.text, p.Font, p.FontEffect, p.Quality);
    return kept;
  }
  measureRuns(renderer, p, piece);
  const int from = left - piece.x - kMargin;
  const int to = left + width - piece.x + kMargin;
  std::size_t first = 0;
  while (first < piece.runRights.size() && piece.runRights[first] < from) ++first;
  std::size_t last = first;
  while (last < piece.runRights.size() && (last == 0 ? 0 : piece.runRights[last - 1]) < to) ++last;
  if (first >= last) return kept;
  const std::size_t startByte = first == 0 ? 0 : piece.runEnds[first - 1];
  const int startX = first == 0 ? 0 : piece.runRights[first - 1];
  const std::string_view part = std::string_view(piece.text).substr(startByte, piece.runEnds[last - 1] - startByte);
  renderer.draw(Canvas{kept.pixels, true}, piece.x + startX - left, 0, part, p.Font, p.FontEffect, p.Quality);
  return kept;
}

void ScrollTextWindow::paint(SmoothRenderer& renderer, const TScrollTextParam& p, int offset, int boxHeight, int left,
                             int width, Image24& frame) {
  frame.reset(std::max(width, 0), std::max(boxHeight, 0), rgbOf(p.BackColor));
  if (frame.empty() || height_ <= 0) return;
  const int start = ((offset % height_) + height_) % height_;
  std::vector<char> inView(pieces_.size(), 0);
  for (int fy = 0; fy < boxHeight; ++fy) {
    const int imageRow = (start + fy) % height_;
    // The last line starting at or above this row.
    auto after = std::upper_bound(pieces_.begin(), pieces_.end(), imageRow,
                                  [](int row, const Piece& piece) { return row < piece.y; });
    if (after == pieces_.begin()) continue;
    const std::size_t index = static_cast<std::size_t>(after - pieces_.begin()) - 1;
    const Piece& piece = pieces_[index];
    if (imageRow >= piece.y + piece.rows) continue;
    inView[index] = 1;
    const Strip& band = strip(renderer, p, index, left, width);
    std::copy_n(band.pixels.row(imageRow - piece.y) + static_cast<std::size_t>(left - band.left) * 3,
                static_cast<std::size_t>(width) * 3, frame.row(fy));
  }
  for (auto it = strips_.begin(); it != strips_.end();) it = inView[it->first] ? std::next(it) : strips_.erase(it);
  fadeFrameEdges(p, frame);
}

ScrollMotion::Outcome ScrollMotion::tick(int imageHeight, int step, int repeatCount, int repeatDelay) {
  if (imageHeight <= 0) return Outcome::Unchanged;
  if (offset_ == 0) {
    ++passCounter_;
    if (repeatCount != 0 && passCounter_ >= repeatCount) {
      passCounter_ = -1;
      return Outcome::Completed;
    }
    if (repeatDelay != 0) return Outcome::Pause;
    // Without a pause the pass starts the same way, so a negative step wraps to
    // the image's end instead of sticking at 0.
    moveAfterPause(imageHeight, step);
    return offset_ == 0 ? Outcome::Unchanged : Outcome::Moved;
  }
  const int before = offset_;
  const int next = offset_ + step;
  offset_ = (step > 0 && next >= imageHeight) || (step < 0 && next < 0) ? 0 : next;
  return offset_ == before ? Outcome::Unchanged : Outcome::Moved;
}

void ScrollMotion::moveAfterPause(int imageHeight, int step) {
  if (imageHeight <= 0) return;
  offset_ = ((offset_ + step) % imageHeight + imageHeight) % imageHeight;
}

void ScrollMotion::restart() {
  offset_ = 0;
  passCounter_ = -1;
}

}  // namespace styledtext
