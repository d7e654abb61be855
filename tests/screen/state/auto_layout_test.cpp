#include "screen/state/auto_layout.h"

#include <gtest/gtest.h>

#include "base/config_files.h"
#include "fake_measurer.h"
#include "screen/state/rolling_layout.h"
#include "test_folder.h"

using screen::Label;
using screen::Point;
using testing_support::FakeMeasurer;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

const screen::Display kFullHd = screen::Display::single(1920, 1080);

void setLabel(screen::ScreenModel& model, Label which, const std::string& caption, int size) {
  model.label(which).caption = caption;
  model.label(which).font.size = size;
}

}  // namespace

TEST(PlaceScreenLabels, FollowsThePlacementTable) {
  screen::ScreenModel model;
  setLabel(model, Label::MainTitle, std::string(20, 'm'), 40);    // 400 × 40
  setLabel(model, Label::SecTitle, std::string(10, 's'), 30);     // 150 × 30
  setLabel(model, Label::RateProgress, std::string(8, 'r'), 20);  // 80 × 20
  setLabel(model, Label::ItemName, std::string(4, 'i'), 20);      // 40 × 20
  setLabel(model, Label::ActionHint, std::string(6, 'a'), 20);    // 60 × 20
  setLabel(model, Label::PrizeName, std::string(4, 'p'), 10);     // 20 × 10
  model.prizePicture.size = {300, 250};
  screen::placeScreenLabels(kFullHd, FakeMeasurer{}, model);

  EXPECT_EQ(model.label(Label::MainTitle).position, (Point{760, 32}));  // N(32.4)
  EXPECT_EQ(model.label(Label::SecTitle).position, (Point{885, 76}));   // N(32 + 44)
  EXPECT_EQ(model.logo, (Point{96, 32}));
  EXPECT_EQ(model.label(Label::RateProgress).position, (Point{920, 918}));
  EXPECT_EQ(model.label(Label::ItemName).position, (Point{940, 109}));    // N(76 + 33)
  EXPECT_EQ(model.label(Label::ActionHint).position, (Point{930, 518}));  // N(518.4)
  EXPECT_EQ(model.prizePicture.position, (Point{1600, 750}));
  EXPECT_EQ(model.label(Label::PrizeName).position, (Point{1600 + 140, 740}));
  EXPECT_EQ(model.label(Label::HonorGuest).position, (Point{1536, 76}));

  // Empty captions sit left of centre; a prize picture under 10 pixels counts as 200.
  for (Label which : {Label::RateProgress, Label::ItemName, Label::ActionHint, Label::PrizeName}) {
    model.label(which).caption.clear();
  }
  model.prizePicture.size = {5, 9};
  screen::placeScreenLabels(kFullHd, FakeMeasurer{}, model);
  EXPECT_EQ(model.label(Label::RateProgress).position.x, 960 - 150);
  EXPECT_EQ(model.label(Label::ItemName).position.x, 960 - 30);
  EXPECT_EQ(model.label(Label::ActionHint).position.x, 960 - 110);
  EXPECT_EQ(model.prizePicture.position, (Point{1700, 800}));
  EXPECT_EQ(model.label(Label::PrizeName).position, (Point{1700 + 100 - 33, 790}));

  setLabel(model, Label::RateProgress, "ab", 4);  // 4 pixels wide still counts as empty
  screen::placeScreenLabels(kFullHd, FakeMeasurer{}, model);
  EXPECT_EQ(model.label(Label::RateProgress).position.x, 960 - 2 - 150);
}

TEST(AutoLayout, LaysOutAll31BatchSizesInOneWriteAndLoadsTheCurrentOne) {
  TestFolder folder;
  folder.write("SysConfig.ini", "[keep]\r\nk=1\r\n");
  base::ConfigFiles files(folder.path());
  base::IniFile config = files.openConfig();

  screen::ScreenModel model;
  setLabel(model, Label::MainTitle, "Title", 20);
  setLabel(model, Label::SecTitle, "Sub", 20);
  model.prizePicture.size = {250, 260};
  model.rolling.textVisible.fill(true);
  const std::vector<std::string> roster = {"ab", gbk("张三丰"), gbk("李四五"), "x"};
  std::vector<int> progress;
  FakeMeasurer measurer;
  screen::autoLayout(config, {kFullHd, measurer, &roster, 7, [&](int v) { progress.push_back(v); }, {}, {}}, model);

  std::vector<int> expectedProgress(31);
  for (int v = 1; v <= 31; ++v) expectedProgress[v - 1] = v;
  EXPECT_EQ(progress, expectedProgress);

  EXPECT_EQ(model.rolling.textCaptions[0], gbk("张三丰"));  // the first of the longest
  EXPECT_EQ(model.rolling.textCaptions[29], gbk("张三丰"));
  EXPECT_EQ(model.prizePicture.size, (screen::Size{200, 200}));
  EXPECT_EQ(model.label(Label::TimeShow).position, (Point{100, 300}));
  EXPECT_EQ(model.rolling.textVisible, decltype(model.rolling.textVisible){});
  // The batch of 7 is loaded: two columns, frame 7 level with frame 1.
  EXPECT_EQ(model.rolling.textFrames[0], (Point{860, 390}));
  EXPECT_EQ(model.rolling.textFrames[6], (Point{970, 390}));

  const base::IniFile written(folder / "Config.ini");
  EXPECT_EQ(written.readInt("keep", "k", 0), 1);
  for (int n = 1; n <= 31; ++n) {
    EXPECT_TRUE(written.hasSection(std::to_string(n) + "_S1")) << n;
    EXPECT_TRUE(written.hasSection(std::to_string(n) + "_L30")) << n;
  }
  EXPECT_TRUE(written.hasSection("31_S1"));
  const Point title = model.label(Label::MainTitle).position;
  EXPECT_EQ(written.readInt("ShowMainTitle", gbk("X坐标"), 0), title.x);
  EXPECT_EQ(written.readInt("ShowMainTitle", gbk("Y坐标"), 0), title.y);
  EXPECT_EQ(written.readInt("ShowSecTitle", gbk("Y坐标"), 0), model.label(Label::SecTitle).position.y);
  EXPECT_EQ(written.readString("MainTitle", gbk("主标题"), ""), "Title");
  EXPECT_EQ(written.readInt("PrizePic", "W", 0), 250);  // the size before the auto layout set 200
  EXPECT_EQ(written.readInt("PrizePic", gbk("X坐标"), 0), 1920 - 250 - 20);
  EXPECT_FALSE(written.hasKey("TimeShow", "Left"));  // the clock is stored by the exit save
}

TEST(AutoLayout, InPictureDrawModeComputesThePictureSets) {
  TestFolder folder;
  base::IniFile config(folder / "Config.ini");
  screen::ScreenModel model;
  model.textDraw = false;
  FakeMeasurer measurer;
  screen::autoLayout(config, {screen::Display::single(1024, 768), measurer, nullptr, 10, {}, {}, {}}, model);
  // 97% pictures in 4 columns from (99, 6) would put the second row under the
  // countdown clock at (100, 300): smaller ones keep clear of it.
  // At 89% four columns of 188 start at N(512 − 376 − 5) = 131, clear of it.
  EXPECT_EQ(model.rolling.pictureFrameSize, (screen::Size{178, 222}));
  EXPECT_EQ(model.rolling.pictureFrames[3], (Point{695, 36}));
  const base::IniFile written(folder / "Config.ini");
  EXPECT_TRUE(written.hasSection("31_P30"));
  EXPECT_FALSE(written.hasSection("1_S1"));
}

// The countdown clock shows over the names while an auto stop counts down, so
// the rolling area keeps 10 pixels clear of it at its longest count.
TEST(AutoLayout, RollingAreaKeepsClearOfTheCountdownClock) {
  struct Case {
    bool textDraw;
    std::string countdown;
  } cases[] = {{true, "10"}, {true, "100"}, {false, "10"}};
  for (const Case& c : cases) {
    TestFolder folder;
    base::IniFile config(folder / "Config.ini");
    screen::ScreenModel model;
    model.textDraw = c.textDraw;
    setLabel(model, Label::TimeShow, "", 20);
    // 16 bytes: a frame is 8 × size wide, so 30 names at size 18 fill 800 of the 819 pixels.
    const std::vector<std::string> roster = {std::string(16, 'w')};
    FakeMeasurer measurer;
    screen::AutoLayoutInput input{screen::Display::single(1024, 768), measurer, &roster, 30, {}, {}, {}};
    input.countdown = c.countdown;
    screen::autoLayout(config, input, model);

    const int countWidth = static_cast<int>(c.countdown.size()) * 10;
    const screen::Rect clock{90, 290, countWidth + 20, 40};
    const screen::RollingArea& area = model.rolling;
    const screen::Size frame = c.textDraw ? screen::Size{8 * area.textFont.size, area.textFont.size}
                                          : area.pictureFrameSize;
    for (int k = 0; k < 30; ++k) {
      const Point at = c.textDraw ? area.textFrames[k] : area.pictureFrames[k];
      EXPECT_FALSE(clock.overlaps({at.x, at.y, frame.width, frame.height})) << c.countdown << " frame " << k + 1;
    }
    // Centred, the block of five columns narrows to 760 pixels (size 17) and starts at 132.
    if (c.textDraw && c.countdown == "10") {
      EXPECT_EQ(area.textFrames[0].x, 132);
    }
  }
}

TEST(ResolutionCheck, AsksUnlessThisIsTheFirstRun) {
  struct Case {
    bool changed, firstRun;
    screen::ResolutionAction action;
  } cases[] = {
      {false, false, screen::ResolutionAction::Nothing},
      {false, true, screen::ResolutionAction::Nothing},
      {true, true, screen::ResolutionAction::RunAutoLayout},
      {true, false, screen::ResolutionAction::AskOperator},
  };
  for (const Case& c : cases) {
    screen::ScreenModel model;
    model.resolutionChanged = c.changed;
    model.firstRun = c.firstRun;
    EXPECT_EQ(screen::resolutionCheck(model), c.action) << c.changed << c.firstRun;
  }
}
