#pragma once
// The smooth scrolling text without a window: the tall text image built once per
// change, the frame cut from it at the scroll offset with faded edges, and the
// motion of the offset from tick to tick.
#include <memory>
#include <string>
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
