#include "styledtext/core/scroll_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "block_rasteriser.h"
#include "styledtext/core/tick_schedule.h"
#include "test_folder.h"

namespace styledtext {
namespace {

using testing_support::gbk;

TScrollTextParam plainText(int lines) {
  TScrollTextParam p;
  p.Lines.assign(static_cast<std::size_t>(lines), "ab");
  p.Quality = TSmoothQuality::sqNone;
  p.FontEffect.setBlur(0);
  p.Font.color = 0;
  return p;
}

TEST(ScrollImage, HeightIsHeadLinesAndTailButAtLeastTheBox) {
  BlockRasteriser rasteriser;
  SmoothRenderer renderer(rasteriser);
  Image24 image;
  // A line is 3 pixels high; RowPitch 20 makes it round(3.6) = 4 apart.
  struct Case {
    int lines, head, tail;
    bool fade;
    int expected;
  } cases[] = {
      {60, 0, 60, true, 10 + 240 + 120},
      {60, 10, 60, true, 10 + 20 + 240 + 120},
      {60, 0, 0, false, 240},
      {3, 0, 60, true, 200},  // shorter than the box: the box's height
  };
  for (const Case& c : cases) {
    TScrollTextParam p = plainText(c.lines);
    p.HeadSpace = c.head;
    p.TailSpace = c.tail;
    p.Fade = c.fade;
    buildScrollImage(renderer, p, 40, 200, image);
    EXPECT_EQ(image.height(), c.expected) << c.lines << " lines, head " << c.head;
    EXPECT_EQ(image.width(), 40);
  }
}

TEST(ScrollImage, LinesAreDrawnAlignedAtTheirRows) {
  BlockRasteriser rasteriser;
  SmoothRenderer renderer(rasteriser);
  TScrollTextParam p = plainText(2);
  p.Lines = {"abc", ""};  // 6 wide; the empty line is one blank, 2 wide
  p.RowPitch = 100;       // 6 pixels apart
  p.Fade = false;
  Image24 image;
  const Rgb black{0, 0, 0}, white{255, 255, 255};
  buildScrollImage(renderer, p, 20, 30, image);
  EXPECT_EQ(image.pixel(7, 0), black);  // centred: (20 − 6) div 2
  EXPECT_EQ(image.pixel(6, 0), white);
  EXPECT_EQ(image.pixel(9, 6), black);
  EXPECT_EQ(image.pixel(9, 5), white);
  p.Alignment = TAlignment::taRightJustify;
  buildScrollImage(renderer, p, 20, 30, image);
  EXPECT_EQ(image.pixel(19, 0), black);
  EXPECT_EQ(image.pixel(13, 0), white);
}

TEST(ScrollImage, RowAdvanceAndWrapping) {
  EXPECT_EQ(rowAdvance(30, 20), 36);
  EXPECT_EQ(rowAdvance(30, -100), 0);
  EXPECT_EQ(rowAdvance(3, 50), 4);  // 4.5 to even
  EXPECT_EQ(rowAdvance(5, 50), 8);  // 7.5 to even

  using Pieces = std::vector<std::string>;
  EXPECT_EQ(wrapLine("aa bb cc", 6), (Pieces{"aa bb ", "cc"}));
  EXPECT_EQ(wrapLine("aa bb cc", 3), (Pieces{"aa ", "bb ", "cc"}));
  EXPECT_EQ(wrapLine("abcdefg", 3), (Pieces{"abc", "def", "g"}));
  EXPECT_EQ(wrapLine("\"a b\" c", 4), (Pieces{"\"a b", "\" c"}));  // no break inside the quotes
  EXPECT_EQ(wrapLine(gbk("张三李四"), 3), (Pieces{gbk("张"), gbk("三"), gbk("李"), gbk("四")}));
  EXPECT_EQ(wrapLine("", 3), (Pieces{""}));

  BlockRasteriser rasteriser;
  SmoothRenderer renderer(rasteriser);
  TScrollTextParam p = plainText(1);
  p.Lines = {"aaaa bbbb"};  // 18 wide in a 10-wide box: pieces of 5 bytes
  p.WordWrap = true;
  p.Fade = false;
  p.TailSpace = 0;
  p.RowPitch = 0;
  Image24 image;
  buildScrollImage(renderer, p, 10, 2, image);
  EXPECT_EQ(image.height(), 6);
}

TEST(ScrollFrame, WrapsToTheStartAndFadesBothEdges) {
  Image24 image(2, 5);
  for (int y = 0; y < 5; ++y) image.setPixel(0, y, Rgb{static_cast<std::uint8_t>(y), 0, 0});
  TScrollTextParam p;
  p.Fade = false;
  Image24 frame;
  paintScrollFrame(image, 3, 4, p, frame);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(frame.pixel(0, y).r, (3 + y) % 5);

  Image24 text(1, 30, Rgb{0, 0, 0});
  p.Fade = true;
  p.FadeHeight = 10;
  p.BackColor = 0xFFFFFF;
  paintScrollFrame(text, 0, 30, p, frame);
  // f = b × 255 div 9; channel = 255 + ((0 − 255) × f >> 8).
  const int expected[] = {255, 227, 199, 170, 142, 114, 85, 57, 29, 0, 0};
  for (int b = 0; b <= 10; ++b) {
    EXPECT_EQ(frame.pixel(0, b).r, expected[b]) << "row " << b;
    EXPECT_EQ(frame.pixel(0, 29 - b).r, expected[b]) << "row " << 29 - b;
  }
}

// The frames drawn line by line must be the frames cut from the whole image:
// every offset across the wrap, each alignment, with and without the fade, and
// any band of columns.
TEST(ScrollWindow, DrawsTheFramesOfTheWholeImage) {
  BlockRasteriser rasteriser;
  SmoothRenderer renderer(rasteriser);
  for (TAlignment alignment : {TAlignment::taCenter, TAlignment::taLeftJustify, TAlignment::taRightJustify}) {
    for (bool fade : {true, false}) {
      TScrollTextParam p = plainText(9);
      p.Lines = {"abc", "", "a", "abcdefghijk", "ab", "abcd", "x", "", "abcde"};
      p.Alignment = alignment;
      p.Fade = fade;
      p.FadeHeight = 4;
      p.BackColor = 0x336699;
      p.FontEffect.Shadow().setEnabled(true);
      p.FontEffect.Shadow().setOffsetX(1);
      Image24 image, expected, frame;
      buildScrollImage(renderer, p, 30, 16, image);
      ScrollTextWindow window;
      window.layout(renderer, p, 30, 16);
      ASSERT_EQ(window.imageHeight(), image.height());
      for (int offset = 0; offset < image.height() + 3; offset += 3) {
        paintScrollFrame(image, offset, 16, p, expected);
        window.paint(renderer, p, offset, 16, 0, 30, frame);
        ASSERT_EQ(frame.width(), 30);
        for (int y = 0; y < 16; ++y)
          ASSERT_TRUE(std::equal(frame.row(y), frame.row(y) + 90, expected.row(y)))
              << "offset " << offset << " row " << y << " fade " << fade;
        window.paint(renderer, p, offset, 16, 7, 12, frame);
        for (int y = 0; y < 16; ++y)
          ASSERT_TRUE(std::equal(frame.row(y), frame.row(y) + 36, expected.row(y) + 21)) << "columns 7 … 18";
      }
      EXPECT_LE(window.keptLines(), 5u);  // only the lines of the last frame
    }
  }
}

// A line far wider than the screen is drawn from the runs around the columns in
// view; those columns look as in the whole image.
TEST(ScrollWindow, DrawsOnlyTheColumnsInViewOfAVeryWideLine) {
  BlockRasteriser rasteriser;
  SmoothRenderer renderer(rasteriser);
  TScrollTextParam p = plainText(1);
  p.Lines = {std::string(3000, 'a') + std::string(20, 'b'), "ab"};
  p.Fade = false;
  Image24 image, expected, frame;
  buildScrollImage(renderer, p, 6100, 20, image);
  ScrollTextWindow window;
  window.layout(renderer, p, 6100, 20);
  for (int left : {0, 2990, 6000}) {
    paintScrollFrame(image, 0, 20, p, expected);
    window.paint(renderer, p, 0, 20, left, 100, frame);
    for (int y = 0; y < 20; ++y)
      ASSERT_TRUE(std::equal(frame.row(y), frame.row(y) + 300, expected.row(y) + left * 3)) << left << " row " << y;
  }
}

TEST(ScrollMotion, PassesPausesWrapsAndCompletes) {
  ScrollMotion motion;
  using O = ScrollMotion::Outcome;
  // RepeatCount 1: one pause, one pass, then completion at the start.
  EXPECT_EQ(motion.tick(10, 3, 1, 2000), O::Pause);
  motion.moveAfterPause(10, 3);
  EXPECT_EQ(motion.offset(), 3);
  EXPECT_EQ(motion.tick(10, 3, 1, 2000), O::Moved);
  EXPECT_EQ(motion.tick(10, 3, 1, 2000), O::Moved);
  EXPECT_EQ(motion.offset(), 9);
  EXPECT_EQ(motion.tick(10, 3, 1, 2000), O::Moved);
  EXPECT_EQ(motion.offset(), 0);
  EXPECT_EQ(motion.tick(10, 3, 1, 2000), O::Completed);
  EXPECT_EQ(motion.passCounter(), -1);

  // A negative step wraps to the image's end at the start of a pass, with or
  // without a pause, and stops at 0 going down.
  for (int delay : {0, 2000}) {
    motion.restart();
    if (motion.tick(10, -3, 0, delay) == O::Pause) motion.moveAfterPause(10, -3);
    EXPECT_EQ(motion.offset(), 7) << delay;
    motion.tick(10, -3, 0, delay);
    motion.tick(10, -3, 0, delay);
    EXPECT_EQ(motion.offset(), 1);
    EXPECT_EQ(motion.tick(10, -3, 0, delay), O::Moved);
    EXPECT_EQ(motion.offset(), 0);
    EXPECT_EQ(motion.passCounter(), 0);
  }
}

TEST(TickSchedule, FiresDueTicksAndRecordsTheirRate) {
  TickSchedule schedule;
  const int fast = schedule.add(10, 0);
  const int slow = schedule.add(60, 0);
  EXPECT_TRUE(schedule.due(9).empty());
  EXPECT_EQ(schedule.due(10), (std::vector<int>{fast}));
  EXPECT_TRUE(schedule.due(19).empty());
  EXPECT_EQ(schedule.due(25), (std::vector<int>{fast}));
  EXPECT_DOUBLE_EQ(schedule.achievedRate(fast), 1000.0 / 15);
  EXPECT_EQ(schedule.due(60), (std::vector<int>{fast, slow}));

  schedule.setInterval(slow, 5);  // takes effect at once
  EXPECT_EQ(schedule.due(65), (std::vector<int>{slow}));
  schedule.setEnabled(fast, false, 65);
  EXPECT_TRUE(schedule.due(200) == std::vector<int>{slow});
  schedule.setEnabled(fast, true, 200);
  schedule.remove(slow);
  EXPECT_TRUE(schedule.due(205).empty());
  EXPECT_EQ(schedule.due(210), (std::vector<int>{fast}));
}

}  // namespace
}  // namespace styledtext
