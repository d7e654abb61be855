#include "screen/state/element_commands.h"

#include <gtest/gtest.h>

#include "base/file_error.h"
#include "base/ini_file.h"
#include "test_folder.h"

using screen::Label;
using screen::PrizeResize;
using screen::ShowTick;
using testing_support::gbk;
using testing_support::TestFolder;

TEST(TitleText, BlanksOnlyAreRefusedAndBlanksAroundAreKept) {
  screen::ScreenModel model;
  model.label(Label::MainTitle).caption = gbk("年会");
  for (const std::string& blanks : {std::string(""), std::string("   "), std::string(" \t ")}) {
    EXPECT_EQ(screen::setTitleText(model, Label::MainTitle, blanks), screen::TitleEdit::RefusedEmpty) << blanks;
    EXPECT_EQ(model.label(Label::MainTitle).caption, gbk("年会"));
  }
  EXPECT_EQ(screen::setTitleText(model, Label::SecTitle, gbk(" 抽奖 ")), screen::TitleEdit::Changed);
  EXPECT_EQ(model.label(Label::SecTitle).caption, gbk(" 抽奖 "));
  // Cancelling the box hands back the prefilled text.
  EXPECT_EQ(screen::setTitleText(model, Label::SecTitle, gbk(" 抽奖 ")), screen::TitleEdit::Unchanged);
  // A full-width blank is a character, not a blank: its GBK bytes lie above the space.
  EXPECT_EQ(screen::setTitleText(model, Label::MainTitle, gbk("　")), screen::TitleEdit::Changed);
}

TEST(PrizePicture, StepsStopAtTheirBounds) {
  struct Case {
    PrizeResize step;
    screen::Size start;
    screen::Size once;
    screen::Size twice;
  };
  const Case cases[] = {
      {PrizeResize::HeightUp, {201, 595}, {201, 605}, {201, 605}},
      {PrizeResize::HeightDown, {201, 35}, {201, 25}, {201, 25}},
      {PrizeResize::WidthUp, {595, 201}, {605, 201}, {605, 201}},
      {PrizeResize::WidthDown, {35, 201}, {25, 201}, {25, 201}},
      {PrizeResize::HeightUp, {201, 600}, {201, 600}, {201, 600}},
      {PrizeResize::HeightDown, {201, 30}, {201, 30}, {201, 30}},
  };
  for (const Case& c : cases) {
    screen::Box box{{5, 6}, c.start};
    screen::resizePrizePicture(box, c.step);
    EXPECT_EQ(box.size, c.once) << static_cast<int>(c.step) << " from " << c.start.width << "x" << c.start.height;
    screen::resizePrizePicture(box, c.step);
    EXPECT_EQ(box.size, c.twice);
    EXPECT_EQ(box.position, (screen::Point{5, 6}));
  }
}

TEST(Centring, HalvesAreTruncatedEachOnItsOwn) {
  EXPECT_EQ(screen::centredLeft(1920, 301), 960 - 150);
  EXPECT_EQ(screen::centredLeft(1025, 101), 512 - 50);
  EXPECT_EQ(screen::centredLeft(800, 1001), 400 - 500);
}

TEST(ShowTicks, EachTickTogglesItsElementAndTheStartButtonOnlyGovernsPictureLoadInPictureMode) {
  screen::ScreenModel model;
  model.showTicks.fill(true);
  model.pictureLoadButtonVisible = true;  // as left by an earlier picture draw
  screen::toggleShowTick(model, ShowTick::StartButton);
  EXPECT_FALSE(model.tick(ShowTick::StartButton));
  EXPECT_FALSE(model.startButtonVisible);
  EXPECT_TRUE(model.pictureLoadButtonVisible) << "text draw mode leaves the picture-load button alone";

  model.textDraw = false;
  screen::toggleShowTick(model, ShowTick::StartButton);
  EXPECT_TRUE(model.startButtonVisible);
  EXPECT_TRUE(model.pictureLoadButtonVisible);
  screen::toggleShowTick(model, ShowTick::StartButton);
  EXPECT_FALSE(model.pictureLoadButtonVisible);

  const std::pair<ShowTick, Label> labelTicks[] = {
      {ShowTick::MainTitle, Label::MainTitle},      {ShowTick::SecTitle, Label::SecTitle},
      {ShowTick::ItemName, Label::ItemName},        {ShowTick::HonorGuest, Label::HonorGuest},
      {ShowTick::PrizeName, Label::PrizeName},      {ShowTick::ActionHint, Label::ActionHint},
      {ShowTick::RateProgress, Label::RateProgress}};
  for (auto [tick, label] : labelTicks) {
    screen::toggleShowTick(model, tick);
    EXPECT_FALSE(model.tick(tick));
    EXPECT_FALSE(model.label(label).visible) << screen::labelSection(label);
    screen::toggleShowTick(model, tick);
    EXPECT_TRUE(model.label(label).visible);
  }
  screen::toggleShowTick(model, ShowTick::Logo);
  screen::toggleShowTick(model, ShowTick::PrizePicture);
  EXPECT_FALSE(model.logoVisible);
  EXPECT_FALSE(model.prizePictureVisible);
}

TEST(Themes, ChoiceIsStoredAtOnceAndAMissingPictureChangesNothing) {
  TestFolder folder;
  std::filesystem::create_directories(folder / "backpic");
  folder.write("backpic/婚礼.jpg", "jpeg");
  folder.write("SysConfig.ini", gbk("[主标题]\r\n模板=1\r\n"));
  base::ConfigFiles files(folder.path());
  screen::ScreenModel model;

  const screen::Theme& wedding = screen::kThemes[2];
  ASSERT_STREQ(wedding.caption, "婚礼");
  ASSERT_TRUE(screen::applyTheme(files, model, wedding));
  EXPECT_EQ(model.backgroundFile, folder / "backpic" / "婚礼.jpg");
  EXPECT_EQ(model.backgroundName, gbk("婚礼.jpg"));
  base::IniFile config = files.openConfigOnly();
  EXPECT_EQ(config.readString(gbk("背景"), "Picture", ""), gbk("婚礼.jpg"));
  EXPECT_EQ(config.readString(gbk("主标题"), gbk("模板"), ""), "1") << "Config.ini starts as the template";

  EXPECT_FALSE(screen::applyTheme(files, model, screen::kThemes[7]));
  EXPECT_EQ(model.backgroundName, gbk("婚礼.jpg"));
  EXPECT_EQ(files.openConfigOnly().readString(gbk("背景"), "Picture", ""), gbk("婚礼.jpg"));
}

TEST(Pictures, ChosenElsewhereIsCopiedInAndChosenInPlaceIsLeftAlone) {
  TestFolder folder;
  std::filesystem::create_directories(folder / "backpic");
  std::filesystem::create_directories(folder / "elsewhere");
  folder.write("elsewhere/晚会.png", "new");
  folder.write("backpic/晚会.png", "old");
  folder.write("backpic/本地.jpg", "here");
  screen::ScreenModel model;

  screen::changeBackground(folder.path(), model, folder / "elsewhere" / "晚会.png");
  EXPECT_EQ(model.backgroundFile, folder / "backpic" / "晚会.png");
  EXPECT_EQ(folder.read("backpic/晚会.png"), "new");
  EXPECT_EQ(model.backgroundName, gbk("晚会.png"));

  // The same folder spelt another way must not copy the file onto itself.
  screen::changeBackground(folder.path(), model, folder / "elsewhere" / ".." / "backpic" / "本地.jpg");
  EXPECT_EQ(folder.read("backpic/本地.jpg"), "here");
  EXPECT_EQ(model.backgroundName, gbk("本地.jpg"));

  // The logo goes to "image", which need not exist yet.
  screen::changeLogo(folder.path(), model, folder / "elsewhere" / "晚会.png");
  EXPECT_EQ(model.logoFile, folder / "image" / "晚会.png");
  EXPECT_EQ(folder.read("image/晚会.png"), "new");
  EXPECT_EQ(model.logoName, gbk("晚会.png"));
}

TEST(Pictures, AFailedCopyOrANameThatIsNotUtf8IsReportedAndNothingIsRemembered) {
  TestFolder folder;
  folder.write("pic.png", "x");
  folder.write("backpic", "a file where the folder belongs");
  screen::ScreenModel model;
  EXPECT_THROW(screen::changeBackground(folder.path(), model, folder / "pic.png"), base::FileError);
  EXPECT_TRUE(model.backgroundName.empty());

  folder.write("\xC0\xAF.png", "x");  // a name from another system, not UTF-8
  EXPECT_THROW(screen::changeLogo(folder.path(), model, folder / "\xC0\xAF.png"), base::FileError);
  EXPECT_TRUE(model.logoName.empty());
  // A Latin letter outside GBK has its GB18030 form and is taken.
  folder.write("Ǻ.png", "x");
  screen::changeLogo(folder.path(), model, folder / "Ǻ.png");
  EXPECT_EQ(model.logoName, gbk("Ǻ.png"));
}
