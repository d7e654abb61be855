#pragma once
// The smooth scrolling text without a window: the tall text image built once per
// change, the frame cut from it at the scroll offset with faded edges, and the
// motion of the offset from tick to tick.
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"
#include "styledtext/core/smooth_renderer.h"
#include "styledtext/core/text_layout.h"

namespace styledtext {

// TScrollTextParam: the text and its look.
struct TScrollTextParam {
  std::vector<std::string> Lines;  // GBK, one entry per line
  FontRecord Font;
  TSmoothEffect FontEffect;
  int BackColor = 0xFFFFFF;
  std::shared_ptr<const Image24> BackGround;
  PictureMode BackGroundMode = PictureMode::Tiled;
  TAlignment Alignment = TAlignment::taCenter;
  int RowPitch = 20;  // −100 … 150, per cent of the line height
  bool WordWrap = false;
  bool Fade = true;
  int FadeHeight = 10;
  int HeadSpace = 0;   // per cent of the box height
  int TailSpace = 60;  // per cent of the box height
  TSmoothQuality Quality = TSmoothQuality::sqNormal;
};

// Splits a GBK line into pieces of at most maxBytes bytes, breaking after
// blanks, tabs and hyphens outside quotes; a run with no break character is cut
// at a character boundary so it still fits. Two-byte characters are never split.
std::vector<std::string> wrapLine(const std::string& line, std::size_t maxBytes);

// The distance from one line to the next: (1 + rowPitch ÷ 100) × height, nearest integer.
int rowAdvance(int lineHeight, int rowPitch);

// Builds the text image for a box of boxWidth × boxHeight: image height is the
// head space, every line, the tail space, and at least the box height.
void buildScrollImage(SmoothRenderer& renderer, const TScrollTextParam& text, int boxWidth, int boxHeight,
                      Image24& image);

// Cuts the box's frame from the image at `offset`, continuing from the image's
// top when its end is reached, and fades the top and bottom bands toward the
// background. A fade height below 2 draws no fade.
void paintScrollFrame(const Image24& image, int offset, int boxHeight, const TScrollTextParam& text, Image24& frame);

// Fades the frame's top and bottom FadeHeight rows toward the background.
void fadeFrameEdges(const TScrollTextParam& text, Image24& frame);

// The text image drawn only where it is seen: the lines are laid out once per
// change (their places and the image height the whole text would have), and a
// frame draws only the lines that fall in the box, and of a very wide line only
// the columns in view. A line drawn once is kept while it stays in the box, so
// scrolling one pixel copies rows instead of drawing text. With text of many
// thousands of lines the memory stays that of the lines in view.
//
// The frames equal the ones cut from buildScrollImage's image as long as no two
// lines overlap (RowPitch ≥ 0) and there is no background picture; the owner
// uses the whole image for a text with a background picture.
class ScrollTextWindow {
 public:
  void layout(SmoothRenderer& renderer, const TScrollTextParam& text, int boxWidth, int boxHeight);
  // The height of the text image the layout stands for.
  int imageHeight() const { return height_; }
  int lineCount() const { return static_cast<int>(pieces_.size()); }
  // Paints the box rows from `offset` on (continuing from the top at the end of
  // the text), columns left … left + width − 1 of the box, with the fade.
  void paint(SmoothRenderer& renderer, const TScrollTextParam& text, int offset, int boxHeight, int left, int width,
             Image24& frame);
  // Lines whose pixels are kept for the next frame.
  std::size_t keptLines() const { return strips_.size(); }

 private:
  struct Piece {
    std::string text;
    int x = 0;
    int y = 0;
    int width = 0;
    int rows = 0;  // the band the line owns: its row advance, at least its height
    // Byte ends and right edges of the line's runs, measured when first needed.
    std::vector<std::size_t> runEnds;
    std::vector<int> runRights;
  };
  struct Strip {
    int left = 0;
    int width = 0;
    Image24 pixels;
  };
  void measureRuns(SmoothRenderer& renderer, const TScrollTextParam& text, Piece& piece);
  const Strip& strip(SmoothRenderer& renderer, const TScrollTextParam& text, std::size_t index, int left, int width);

  std::vector<Piece> pieces_;
  std::unordered_map<std::size_t, Strip> strips_;
  int height_ = 0;
  int boxWidth_ = 0;
};

// The scroll offset and pass counter, advanced one tick at a time.
class ScrollMotion {
 public:
  enum class Outcome {
    Unchanged,  // nothing to repaint
    Moved,      // the offset changed: repaint
    Pause,      // start of a pass: wait RepeatDelay, then call moveAfterPause()
    Completed,  // RepeatCount passes done: scrolling stops
  };

  Outcome tick(int imageHeight, int step, int repeatCount, int repeatDelay);
  // Moves by `step` modulo the image height, kept non-negative.
  void moveAfterPause(int imageHeight, int step);
  void restart();

  int offset() const { return offset_; }
  int passCounter() const { return passCounter_; }

 private:
  int offset_ = 0;
  int passCounter_ = -1;
};

}  // namespace styledtext
