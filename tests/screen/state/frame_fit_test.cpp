// The frames' fitting on a measurer with round numbers: a GBK byte is half the
// font size wide, a line one font size high.
#include "screen/state/frame_fit.h"

#include <gtest/gtest.h>

#include "draw/rolling_feed.h"
#include "fake_measurer.h"

using screen::BigFrameStep;
using screen::Rect;

namespace {

// Lines twice as far apart as they are high, so that rows can close up.
class SpacedMeasurer : public testing_support::FakeMeasurer {
 public:
  screen::Size measure(std::string_view text, const screen::TextFont& font) const override {
    screen::Size size = FakeMeasurer::measure(text, font);
    size.height = (size.height / font.size - 1) * 2 * font.size + font.size;
    return size;
  }
  screen::LineMetrics lineMetrics(const screen::TextFont& font) const override {
    return {font.size, 2 * font.size, font.size};
  }
};

screen::BigFrameFit bigFrame(int perLine, int names, screen::Size desktop, screen::Point stored = {0, 0}) {
  screen::BigFrameFit fit;
  fit.stored = stored;
  fit.desktop = desktop;
  fit.font = {"", 20};
  fit.composed = draw::bigFrameText(perLine, std::vector<std::string>(static_cast<std::size_t>(names), "ab"), 2);
  return fit;
}

}  // namespace

// Each name takes five bytes ("ab" and three blanks): two to a line at 20 points
// is 100 pixels wide, a line 20 high and 40 from the next.
TEST(BigFrameFit, TheFirstWayThatFitsIsShown) {
  struct Case {
    const char* what;
    screen::BigFrameFit fit;
    BigFrameStep expected;
    screen::Point position;
  };
  screen::BigFrameFit besideAnElement = bigFrame(2, 4, {1000, 1000}, {50, 0});
  besideAnElement.others = {Rect{120, 0, 100, 100}};
  const Case cases[] = {
      {"room enough", bigFrame(2, 4, {1000, 1000}), {20, 0, 0, false}, {0, 0}},
      {"a narrow screen: smaller", bigFrame(2, 4, {80, 1000}), {16, 0, 0, false}, {0, 0}},
      {"an element to the right: moved in short of it", besideAnElement, {20, 0, 0, true}, {20, 0}},
      {"narrower still: fewer names a line", bigFrame(4, 8, {100, 1000}), {14, 2, 0, false}, {0, 0}},
      {"a low screen: rows closed up", bigFrame(1, 4, {1000, 95}), {14, 0, 20, false}, {0, 0}},
      {"nothing fits: as placed", bigFrame(1, 4, {1000, 40}), {20, 0, 0, false}, {0, 0}},
  };
  const SpacedMeasurer measurer;
  for (const Case& c : cases) {
    const screen::BigFrameShow shown = screen::fitBigFrame(c.fit, measurer);
    EXPECT_EQ(shown.step, c.expected) << c.what;
    EXPECT_EQ(shown.position, c.position) << c.what;
    const std::string expectedText =
        c.expected.perLine == 0 ? c.fit.composed
                                : draw::regroupBigFrameText(draw::bigFrameCells(c.fit.composed), c.expected.perLine);
    EXPECT_EQ(shown.text, expectedText) << c.what;
  }
}

// A rolling tick changes the names, rarely the room they need: the step shown
// is kept while the one before it still does not fit, without trying the others.
TEST(BigFrameFit, ATickKeepsTheStepShownWhileItIsTheFirstThatFits) {
  const screen::BigFrameFit fit = bigFrame(4, 8, {100, 1000});
  const SpacedMeasurer searched;
  const BigFrameStep first = screen::fitBigFrame(fit, searched).step;
  const SpacedMeasurer kept;
  EXPECT_EQ(screen::fitBigFrame(fit, kept, first).step, first);
  EXPECT_LE(kept.calls, 3);
  EXPECT_GT(searched.calls, 10);
  // A step shown that no longer fits is searched for again.
  const SpacedMeasurer again;
  EXPECT_EQ(screen::fitBigFrame(fit, again, BigFrameStep{20, 0, 0, false}).step, first);
}

TEST(TextFrameFit, ALongNameShrinksToTheReadableSizeThenIsCutAtItsRow) {
  struct Case {
    const char* what;
    Rect obstacle;
    screen::TextFrameShow expected;
  };
  // "abcdefghij": 100 pixels wide at 20 points, 70 at the readable 14.
  const Case cases[] = {
      {"nothing in its way", {500, 0, 10, 10}, {20, 0}},
      {"the next frame at 80: shown at 16", {80, 0, 100, 20}, {16, 0}},
      {"the next frame at 60: cut short of it", {60, 0, 100, 20}, {14, 59}},
      {"an element on another row", {60, 30, 100, 20}, {20, 0}},
  };
  for (const Case& c : cases) {
    screen::TextFrameFit fit;
    fit.placed = {0, 0, 100, 20};
    fit.desktop = {1000, 1000};
    fit.others = {c.obstacle};
    fit.font = {"", 20};
    fit.text = "abcdefghij";
    const screen::TextFrameShow shown = screen::fitTextFrame(fit, testing_support::FakeMeasurer());
    EXPECT_EQ(shown.size, c.expected.size) << c.what;
    EXPECT_EQ(shown.cutWidth, c.expected.cutWidth) << c.what;
  }
}
