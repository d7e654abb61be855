#include "draw/rolling_feed.h"
#include "screen/state/rolling_layout.h"

#include <gtest/gtest.h>

#include "fake_measurer.h"
#include "test_folder.h"

using screen::Point;
using testing_support::FakeMeasurer;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

const screen::Display kFullHd = screen::Display::single(1920, 1080);

// A rolling area whose frames all show `caption`, in a 20-point font.
screen::RollingArea areaShowing(const std::string& caption) {
  screen::RollingArea area;
  area.giveFontToAllFrames({255, 20, gbk("黑体")});
  area.textCaptions.fill(caption);
  return area;
}

}  // namespace

TEST(DefaultTextLayout, PlacesColumnsOfSixRowsCentredOnTheDesktop) {
  // "张三丰" is six bytes: 3 × size wide, size high with the fake.
  struct Case {
    int batchSize;
    int fontSize;
    std::vector<std::pair<int, Point>> frames;  // frame number, expected place
  } cases[] = {
      {1, 30, {{1, {915, 540 - 37}}}},  // gap 45: 540 − half(30 + 45)
      {6, 30, {{1, {915, 390}}, {2, {915, 440}}, {6, {915, 640}}}},
      {7,
       30,
       {{1, {860, 390}}, {6, {860, 640}}, {7, {970, 390}}, {12, {970, 640}}, {13, {1080, 390}}, {30, {1300, 640}}}},
      {30, 30, {{1, {695, 390}}, {7, {805, 390}}, {25, {1135, 390}}, {30, {1135, 640}}}},
  };
  for (const Case& c : cases) {
    TestFolder folder;
    base::IniFile ini(folder / "Config.ini");
    screen::RollingArea area = areaShowing(gbk("张三丰"));
    screen::defaultTextLayout(ini, c.batchSize, kFullHd, FakeMeasurer{}, area);
    EXPECT_EQ(area.textFont.size, c.fontSize) << c.batchSize;
    for (const auto& [frame, place] : c.frames)
      EXPECT_EQ(area.textFrames[frame - 1], place) << c.batchSize << "/" << frame;

    // What was computed is what the next load places.
    screen::RollingArea loaded;
    screen::loadTextLayout(ini, c.batchSize, kFullHd, loaded);
    EXPECT_EQ(loaded.textFrames, area.textFrames);
    EXPECT_EQ(loaded.textFont, area.textFont);
  }
}

TEST(DefaultTextLayout, ColumnCountFollowsTheBatchSize) {
  // Frame 1 stands half a block left of the centre; a block is (90 + 20) × c − 20 wide.
  const std::pair<int, int> firstLeftByBatch[] = {{12, 860}, {13, 805}, {18, 805}, {19, 750}, {24, 750}, {25, 695}};
  for (const auto& [batchSize, left] : firstLeftByBatch) {
    TestFolder folder;
    base::IniFile ini(folder / "Config.ini");
    screen::RollingArea area = areaShowing(gbk("张三丰"));
    screen::defaultTextLayout(ini, batchSize, kFullHd, FakeMeasurer{}, area);
    EXPECT_EQ(area.textFrames[0].x, left) << batchSize;
  }
}

TEST(DefaultTextLayout, FontShrinksUntilBothDirectionsFitAndStopsAtTheFloor) {
  struct Case {
    int batchSize;
    screen::Display display;
    int captionBytes;
    int fontSize;
  } cases[] = {
      {30, kFullHd, 40, 14},                           // width: (20s + 20) × 5 − 20 ≤ 1536
      {6, screen::Display::single(1920, 200), 6, 10},  // height: 6 × (s + 20) − 20 ≤ 160
      {30, screen::Display::single(100, 100), 40, screen::kMinFontSize},
  };
  for (const Case& c : cases) {
    TestFolder folder;
    base::IniFile ini(folder / "Config.ini");
    screen::RollingArea area = areaShowing(std::string(c.captionBytes, 'x'));
    screen::defaultTextLayout(ini, c.batchSize, c.display, FakeMeasurer{}, area);
    EXPECT_EQ(area.textFont.size, c.fontSize) << c.batchSize << " " << c.captionBytes;
  }
}

TEST(DefaultTextLayout, NamesStandInTheRoomTheCaptionsLeave) {
  // 1280 × 720, "张三丰", n = 10: the layout's own block is two columns of six
  // 30-high rows 20 apart, 280 high from 210.
  struct Case {
    int roomTop, roomBottom;
    int size, gap, top;
  };
  const Case cases[] = {
      {0, 720, 30, 20, 210},    // it fits: unchanged
      {250, 600, 30, 20, 285},  // the same size moves to the room's middle
      {250, 450, 16, 20, 252},  // the names shrink
      {250, 350, 14, 3, 250},   // at the readable size the rows close up
  };
  for (const Case& c : cases) {
    TestFolder folder;
    base::IniFile ini(folder / "Config.ini");
    screen::RollingArea area = areaShowing(gbk("张三丰"));
    const screen::RollingRoom room{c.roomTop, c.roomBottom, {}};
    screen::defaultTextLayout(ini, 10, screen::Display::single(1280, 720), FakeMeasurer{}, area, room);
    EXPECT_EQ(area.textFont.size, c.size) << c.roomBottom;
    EXPECT_EQ(area.textFrames[0].y, c.top) << c.roomBottom;
    EXPECT_EQ(area.textFrames[1].y - area.textFrames[0].y, c.size + c.gap) << c.roomBottom;
    EXPECT_EQ(area.textFrames[6].x - area.textFrames[0].x, 3 * c.size + 20) << c.roomBottom;
  }
  // A corner taken by the prize picture narrows the block until it clears it.
  TestFolder folder;
  base::IniFile ini(folder / "Config.ini");
  screen::RollingArea area = areaShowing(gbk("张三丰"));
  const screen::RollingRoom room{0, 720, {{700, 300, 580, 420}}};
  screen::defaultTextLayout(ini, 10, screen::Display::single(1280, 720), FakeMeasurer{}, area, room);
  EXPECT_LE(area.textFrames[6].x + 3 * area.textFont.size, 700);
}

TEST(DefaultTextLayout, BigFrameFitsTheDesktopAndSharesL31And31S1) {
  TestFolder folder;
  base::IniFile ini(folder / "Config.ini");
  screen::RollingArea area = areaShowing(gbk("张三丰"));
  area.namesPerLine = 4;
  area.bigFrameFontSize = 30;
  screen::defaultTextLayout(ini, 35, kFullHd, FakeMeasurer{}, area);

  // Sample lines are 6 × 6 + 5 × 3 = 51 bytes; ten of them. Grown to width 1536
  // (61), to height 756 (76), shrunk below width 1920 (75): 1912 × 750. At
  // N(1056 − 956) = 100 it would end 92 pixels past the right edge: it moves in.
  EXPECT_EQ(area.bigFrameFontSize, 75);
  EXPECT_EQ(area.bigFrame, (Point{8, 111}));
  const std::string& sample = area.textCaptions[30];
  EXPECT_EQ(std::count(sample.begin(), sample.end(), '\n'), 10);
  EXPECT_EQ(sample.substr(0, 52), gbk("张三丰   张三丰   张三丰   张三丰   张三丰   张三丰\n"));

  // Any batch above 30 then loads the shared big frame and the 31_S1 font.
  ini.writeInt("40_S1", "Font.Size", 99);
  screen::RollingArea loaded;
  screen::loadTextLayout(ini, 40, kFullHd, loaded);
  EXPECT_EQ(loaded.bigFrame, (Point{8, 111}));
  EXPECT_EQ(loaded.textFont, area.textFont);
  EXPECT_EQ(loaded.bigFrameFontSize, 75);  // shown at the size it was placed for
  EXPECT_EQ(loaded.namesPerLine, 4);
  EXPECT_EQ(loaded.textFrames[0], (Point{960, 540}));  // 40_L1 was never stored
}

// The big frame's menu puts up to ten names on a line: the frame is placed for
// as many as it will show, in the room the captions leave, shrinking as the
// text frames do.
TEST(DefaultTextLayout, BigFrameIsPlacedForItsNamesPerLine) {
  const screen::Display display = screen::Display::single(1024, 768);
  const screen::RollingRoom room{300, 640, {}};
  struct Case {
    int namesPerLine;
    std::size_t lineBytes;  // of a sample line
    int fontSize;
  } cases[] = {
      {5, 6 * 6 + 5 * 3, 34},  // six copies, as ever
      {10, 10 * 9, 22},        // ten, each with its three blanks
      {12, 10 * 9, 22},        // more than the menu offers: no wider than ten
  };
  for (const Case& c : cases) {
    TestFolder folder;
    base::IniFile ini(folder / "Config.ini");
    screen::RollingArea area = areaShowing(gbk("张三丰"));
    area.namesPerLine = c.namesPerLine;
    screen::defaultTextLayout(ini, 31, display, FakeMeasurer{}, area, room);
    const std::string& sample = area.textCaptions[30];
    EXPECT_EQ(sample.find('\n'), c.lineBytes) << c.namesPerLine;
    EXPECT_EQ(area.bigFrameFontSize, c.fontSize) << c.namesPerLine;

    // What the frame shows at the stop, 31 names a line as the menu set, is
    // no wider than what was placed, and that stands in the room.
    const screen::TextFont font{area.textFont.name, area.bigFrameFontSize};
    const screen::Size placed = FakeMeasurer{}.measure(sample, font);
    EXPECT_TRUE(room.holds({area.bigFrame.x, area.bigFrame.y, placed.width, placed.height}, display))
        << c.namesPerLine;
    const std::string shown =
        draw::bigFrameText(std::min(c.namesPerLine, 10), std::vector<std::string>(31, gbk("张三丰")), 6);
    EXPECT_LE(FakeMeasurer{}.measure(shown, font).width, placed.width) << c.namesPerLine;
  }
}

TEST(DefaultTextLayout, FittingEndsEvenWhenTheTextMeasuresNothing) {
  struct NothingMeasurer : screen::TextMeasurer {
    screen::Size measure(std::string_view, const screen::TextFont&) const override { return {}; }
  };
  TestFolder folder;
  base::IniFile ini(folder / "Config.ini");
  screen::RollingArea area = areaShowing("");
  screen::defaultTextLayout(ini, 31, kFullHd, NothingMeasurer{}, area);
  EXPECT_EQ(area.bigFrameFontSize, screen::kMaxFontSize);
  EXPECT_EQ(area.textFont.size, screen::kMaxFontSize);
}

TEST(LayoutSets, MissingSetsLoadAtTheirDefaultsAndStoresLandInOneWrite) {
  TestFolder folder;
  folder.write("Config.ini", "[3_S1]\r\nFont.Size=44\r\n[3_L2]\r\nX=1\r\n");
  base::IniFile ini(folder / "Config.ini");
  screen::RollingArea area;
  screen::loadTextLayout(ini, 3, kFullHd, area);
  EXPECT_EQ(area.textFont, (screen::FrameFont{65535, 44, ""}));
  EXPECT_EQ(area.textFrames[1], (Point{960, 540}));
  EXPECT_EQ(area.bigFrame, (Point{960, 540}));
  EXPECT_EQ(area.namesPerLine, 5);

  area.textVisible.fill(true);
  screen::loadPictureLayout(ini, 3, area);
  EXPECT_EQ(area.pictureFrames[29], (Point{500, 500}));
  EXPECT_EQ(area.textVisible, decltype(area.textVisible){});

  for (int k = 0; k < 30; ++k) area.pictureFrames[k] = {k, -k};
  screen::storeLayout(ini, 3, false, area);
  screen::RollingArea loaded;
  screen::loadLayout(base::IniFile(folder / "Config.ini"), 3, false, kFullHd, loaded);
  EXPECT_EQ(loaded.pictureFrames, area.pictureFrames);
}

TEST(DefaultPictureLayout, ColumnsFitEightyPercentOfTheDesktopAndRowsNeverCoverEachOther) {
  TestFolder folder;
  base::IniFile ini(folder / "Config.ini");
  screen::RollingArea area;
  // 1024 × 768, Wp 200, Hp 250, n 6: c = 3 (630 ≤ 819 < 840), a = 2, q = min(N(307.2), 260) = 260.
  screen::defaultPictureLayout(ini, 6, screen::Display::single(1024, 768), area);
  EXPECT_EQ(area.pictureFrames[0], (Point{192, 124}));
  EXPECT_EQ(area.pictureFrames[2], (Point{612, 124}));
  EXPECT_EQ(area.pictureFrames[3], (Point{192, 384}));
  EXPECT_EQ(area.pictureFrames[29], (Point{612, 2464}));
  EXPECT_EQ(area.pictureFrameSize, (screen::Size{}));  // the tiles' own size
  EXPECT_EQ(ini.readInt("6_P4", gbk("Y坐标"), 0), 384);

  // n 10: four rows at q = 154 would cover 96 pixels of each picture. At 97%
  // (194 × 242) four columns of 204 fit 819, three rows of 252 fit 768.
  screen::defaultPictureLayout(ini, 10, screen::Display::single(1024, 768), area);
  EXPECT_EQ(area.pictureFrameSize, (screen::Size{194, 242}));
  EXPECT_EQ(area.pictureFrames[0], (Point{99, 6}));
  EXPECT_EQ(area.pictureFrames[3], (Point{711, 6}));
  EXPECT_EQ(area.pictureFrames[4], (Point{99, 258}));
  screen::RollingArea loaded;
  screen::loadPictureLayout(ini, 10, loaded);
  EXPECT_EQ(loaded.pictureFrameSize, (screen::Size{194, 242}));

  // Pictures wider than the desktop: one column, never none, shrunk to the desktop's width.
  ini.writeString(gbk("图片抽奖"), "Width", "2000");
  ini.writeString(gbk("图片抽奖"), "Height", "100");
  screen::defaultPictureLayout(ini, 3, screen::Display::single(1024, 768), area);
  EXPECT_EQ(area.pictureFrames[0].x, area.pictureFrames[2].x);
  EXPECT_EQ(area.pictureFrameSize, (screen::Size{1000, 50}));
  EXPECT_EQ(area.pictureFrames[1].y - area.pictureFrames[0].y, 60);
}

TEST(BigFrameText, PadsToTheLongestNameAndBreaksAfterEveryPthName) {
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) names.push_back(i % 3 == 0 ? gbk("欧阳") + std::to_string(i) : gbk("李") + "x");
  const std::size_t width = draw::widestName(names);
  ASSERT_EQ(width, 6u);
  for (int perLine = 1; perLine <= 10; ++perLine) {
    const std::string text = draw::bigFrameText(perLine, names, draw::widestName(names));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 40 / perLine) << perLine;
    std::size_t start = 0;
    for (int line = 0; line < 40 / perLine; ++line) {
      const std::size_t end = text.find('\n', start);
      EXPECT_EQ(end - start, static_cast<std::size_t>(perLine) * (width + 3)) << perLine;
      start = end + 1;
    }
    EXPECT_EQ(text.size() - start, static_cast<std::size_t>(40 % perLine) * (width + 3)) << perLine;
  }
  EXPECT_EQ(draw::bigFrameText(2, {gbk("王五"), "ab", "c"}, 4), gbk("王五") + "   ab     \nc      ");
}

TEST(BigFrameText, RollingNamesLongerThanTheWidthAndZeroPerLineStaySound) {
  EXPECT_EQ(draw::bigFrameText(1, {"abcdef", "abcd"}, 4), "abcdef \nabcd   \n");
  EXPECT_EQ(draw::bigFrameText(0, std::vector<std::string>(6, "a"), 1), "a   a   a   a   a   \na   ");
}
