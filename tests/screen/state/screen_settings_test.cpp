#include "screen/state/screen_settings.h"

#include <gtest/gtest.h>

#include "base/file_error.h"
#include "screen/state/rolling_layout.h"
#include "styledtext/core/effect_ini.h"
#include "test_folder.h"

using screen::Label;
using screen::ShowTick;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

const screen::Display kFullHd = screen::Display::single(1920, 1080);

// A model whose every saved value differs from the loaders' defaults.
screen::ScreenModel distinctiveModel() {
  screen::ScreenModel model;
  model.windowPosition = {3, 4};
  model.windowSize = {1920, 1080};
  model.positionLock = true;
  model.logo = {11, 12};
  model.backgroundName = gbk("欢庆2.jpg");
  model.logoName = "ab";  // two bytes: not stored
  model.rolling.textFont = {255, 33, gbk("楷体")};
  int n = 0;
  for (screen::LabelState& label : model.labels) {
    ++n;
    label.font.color = 1000 + n;
    label.font.size = 10 + n;
    label.font.name = gbk("黑体");
    label.font.charset = 100 + n;
    label.effect.setAlpha(50 + n);
    label.effect.Gradual().setEnabled(true);
    label.effect.Shadow().setOffsetY(-n);
    label.effect.Texture().setEnabled(n % 2 == 0);
    label.position = {10 * n, 20 * n};
  }
  model.label(Label::MainTitle).caption = gbk("年会");
  model.label(Label::SecTitle).caption = gbk("大抽奖");
  model.prizePicture = {{700, 800}, {150, 160}};
  model.rolling.pictureFrames[0] = {77, 88};
  model.showTicks.fill(true);
  model.showTicks[static_cast<std::size_t>(ShowTick::Logo)] = false;
  model.showTicks[static_cast<std::size_t>(ShowTick::StartButton)] = false;
  model.rolling.namesPerLine = 0;
  return model;
}

std::string line(const std::string& utf8Key, const std::string& value) { return gbk(utf8Key) + "=" + value + "\r\n"; }
std::string header(const std::string& utf8Name) { return "[" + gbk(utf8Name) + "]\r\n"; }

}  // namespace

TEST(MainSettings, FirstStartReadsTheTemplateAndClearsItsFirstRunFlag) {
  TestFolder folder;
  folder.write("SysConfig.ini", gbk("[程序运行情况]\r\n首次运行=1\r\n[窗体样式]\r\n窗体宽=1920\r\n窗体高=1080\r\n"
                                    "[MainTitle]\r\n主标题=春节联欢会\r\nX坐标=40\r\n"));
  base::ConfigFiles files(folder.path());
  screen::ScreenModel model;
  screen::loadMainSettings(files, kFullHd, model);
  screen::loadPositions(files, kFullHd, model);

  EXPECT_TRUE(model.firstRun);
  EXPECT_FALSE(model.resolutionChanged);
  EXPECT_EQ(model.label(Label::MainTitle).caption, gbk("春节联欢会"));
  EXPECT_EQ(model.label(Label::MainTitle).position, (screen::Point{40, 540}));
  EXPECT_FALSE(std::filesystem::exists(folder / "Config.ini"));
  EXPECT_EQ(folder.read("SysConfig.ini"),
            gbk("[程序运行情况]\r\n首次运行=0\r\n[窗体样式]\r\n窗体宽=1920\r\n窗体高=1080\r\n"
                "[MainTitle]\r\n主标题=春节联欢会\r\nX坐标=40\r\n"));

  // The exit save creates Config.ini from the template; from then on it is read.
  screen::saveOnExit(files, model, {}, "2026-12-10 10:00:00");
  EXPECT_NE(folder.read("Config.ini").find(gbk("主标题=春节联欢会")), std::string::npos);
  folder.write("SysConfig.ini", gbk("[程序运行情况]\r\n首次运行=1\r\n"));
  screen::loadPositions(files, kFullHd, model);
  EXPECT_FALSE(model.firstRun);
  EXPECT_EQ(folder.read("SysConfig.ini"), gbk("[程序运行情况]\r\n首次运行=1\r\n"));
}

TEST(MainSettings, ResolutionFlagComparesWidthThenHeight) {
  struct Case {
    const char* stored;
    bool changed;
  } cases[] = {
      {"窗体宽=1920\r\n窗体高=1080\r\n", false},
      {"窗体宽=1920\r\n窗体高=1050\r\n", true},
      {"窗体宽=1600\r\n窗体高=1080\r\n", true},
      {"窗体宽=1600\r\n窗体高=abc\r\n", true},
      {"", true},  // 600 × 600 by default
  };
  for (const Case& c : cases) {
    TestFolder folder;
    folder.write("Config.ini", gbk(std::string("[窗体样式]\r\n") + c.stored));
    screen::ScreenModel model;
    model.resolutionChanged = !c.changed;
    screen::loadMainSettings(base::ConfigFiles(folder.path()), kFullHd, model);
    EXPECT_EQ(model.resolutionChanged, c.changed) << c.stored;
  }
  TestFolder empty;
  screen::ScreenModel model;
  screen::loadMainSettings(base::ConfigFiles(empty.path()), screen::Display::single(600, 600), model);
  EXPECT_FALSE(model.resolutionChanged);
}

TEST(MainSettings, FindsBackgroundAndLogoWhereTheyAre) {
  TestFolder folder;
  std::filesystem::create_directories(folder / "backpic");
  std::filesystem::create_directories(folder / "image");
  folder.write("backpic/" + std::string("夜景.jpg"), "jpg");
  folder.write("image/logo.png", "png");
  folder.write("image/" + std::string("公司.png"), "png");
  folder.write("outside.png", "png");
  const auto program = folder.path();

  struct Case {
    std::string background, logo;
    std::filesystem::path expectedBackground, expectedLogo;
  } cases[] = {
      {"夜景.jpg", "公司.png", program / "backpic" / "夜景.jpg", program / "image" / "公司.png"},
      {(program / "backpic" / "夜景.jpg").string(), "missing.png", program / "backpic" / "夜景.jpg",
       program / "image" / "logo.png"},
      {"nowhere.jpg", "..\\outside.png", program / "backpic" / "欢庆.jpg", program / "image" / "logo.png"},
      {"", "", program / "backpic" / "欢庆.jpg", program / "image" / "logo.png"},
  };
  for (const Case& c : cases) {
    folder.write("Config.ini", gbk("[背景]\r\nPicture=" + c.background + "\r\n[TitlePic]\r\nTitlePicture=" + c.logo +
                                   "\r\nLeft=7\r\n"));
    screen::ScreenModel model;
    screen::loadMainSettings(base::ConfigFiles(program), kFullHd, model);
    EXPECT_EQ(model.backgroundFile, c.expectedBackground) << c.background;
    EXPECT_EQ(model.logoFile, c.expectedLogo) << c.logo;
    EXPECT_EQ(model.logo, (screen::Point{7, 50}));
  }
  std::filesystem::remove(folder / "image" / "logo.png");
  screen::ScreenModel model;
  screen::loadMainSettings(base::ConfigFiles(program), kFullHd, model);
  EXPECT_TRUE(model.logoFile.empty());
}

TEST(MainSettings, MissingKeysReadAsLoaderOrDesignDefaults) {
  TestFolder folder;
  screen::ScreenModel model;
  model.label(Label::SecTitle).caption = "old";
  model.label(Label::PrizeName).effect.setBlur(99);
  base::ConfigFiles files(folder.path());
  screen::loadMainSettings(files, kFullHd, model);
  screen::loadPositions(files, kFullHd, model);

  const screen::LabelState& title = model.label(Label::MainTitle);
  EXPECT_EQ(title.font.color, 0);
  EXPECT_EQ(title.font.charset, 0);
  EXPECT_EQ(title.font.size, 20);
  EXPECT_EQ(title.position, (screen::Point{960, 540}));
  EXPECT_EQ(model.label(Label::SecTitle).caption, "");
  // The main window's effect defaults.
  const auto& effect = model.label(Label::PrizeName).effect;
  EXPECT_EQ(effect.Blur(), 4);
  EXPECT_EQ(effect.Noise(), 5);
  EXPECT_EQ(effect.Shadow().Blur(), 81);
  EXPECT_EQ(effect.Shadow().OffsetX(), 3);
  EXPECT_FALSE(effect.Shadow().Enabled());
  EXPECT_EQ(effect.Gradual().Style(), styledtext::TGradualStyle::gsTopToBottom);
  // Where the loaders would apply the marker 99999, design values stand.
  EXPECT_EQ(model.label(Label::ItemName).font.color, 0x000080);
  EXPECT_EQ(model.label(Label::HonorGuest).font.charset, 134);
  EXPECT_EQ(model.rolling.namesPerLine, 5);

  const screen::LabelState& clock = model.label(Label::TimeShow);
  EXPECT_EQ(clock.font.color, 65535);
  EXPECT_EQ(clock.position, (screen::Point{100, 540}));
  EXPECT_FALSE(clock.visible);
  EXPECT_EQ(model.prizePicture.size, (screen::Size{300, 300}));
  EXPECT_EQ(model.rolling.textFont, (screen::FrameFont{65535, 20, ""}));
  EXPECT_EQ(model.label(Label::ActionHint).caption, gbk("按空格开始抽奖"));
  EXPECT_TRUE(model.label(Label::ActionHint).visible);
}

TEST(MainSettings, TicksDecideWhatIsShownAndPositionLoadResetsTheDrawCaptions) {
  TestFolder folder;
  folder.write("Config.ini", gbk("[窗体样式]\r\n抽奖模式=0\r\n滚动模式=0\r\n[界面设置]\r\n隐藏主标题=0\r\n"
                                 "隐藏说明文字=0\r\n隐藏按钮=1\r\n奖项名称=0\r\n[NamePic1]\r\nX=5\r\nY=6\r\n"));
  base::ConfigFiles files(folder.path());
  screen::ScreenModel model;
  model.label(Label::ItemName).caption = gbk("一等奖");
  model.label(Label::RateProgress).caption = "x";
  model.prizePictureFile = "prize/a.jpg";
  model.rolling.textVisible.fill(true);
  model.rolling.pictureVisible.fill(true);
  screen::loadMainSettings(files, kFullHd, model);
  screen::loadPositions(files, kFullHd, model);

  EXPECT_FALSE(model.label(Label::MainTitle).visible);
  EXPECT_TRUE(model.label(Label::SecTitle).visible);
  EXPECT_FALSE(model.label(Label::ItemName).visible);
  EXPECT_FALSE(model.label(Label::ActionHint).visible);
  EXPECT_TRUE(model.startButtonVisible);
  EXPECT_TRUE(model.pictureLoadButtonVisible);  // picture draw mode
  EXPECT_EQ(model.label(Label::ItemName).caption, "");
  EXPECT_EQ(model.label(Label::RateProgress).caption, "");
  EXPECT_TRUE(model.prizePictureFile.empty());
  EXPECT_EQ(model.rolling.pictureFrames[0], (screen::Point{5, 6}));  // award rolling mode
  EXPECT_EQ(model.rolling.textVisible, decltype(model.rolling.textVisible){});
  EXPECT_EQ(model.rolling.pictureVisible, decltype(model.rolling.pictureVisible){});

  folder.write("Config.ini", gbk("[NamePic1]\r\nX=5\r\nY=6\r\n"));
  model.rolling.pictureFrames[0] = {1, 1};
  screen::loadMainSettings(files, kFullHd, model);
  screen::loadPositions(files, kFullHd, model);
  EXPECT_EQ(model.rolling.pictureFrames[0], (screen::Point{1, 1}));  // people rolling: not read
  EXPECT_FALSE(model.pictureLoadButtonVisible);
}

TEST(ExitSave, WritesEveryKeyInItsOrderInOneGo) {
  TestFolder folder;
  screen::saveOnExit(base::ConfigFiles(folder.path()), distinctiveModel(), {false, true, true, false},
                     "2026-12-10 23:59:00");

  const char* labels[] = {"MainTitle",  "SecTitle",     "ActionHint", "PrizeName",
                          "HonorGuest", "RateProgress", "ItemName",   "TimeShow"};
  std::string expected = header("程序运行情况") + line("上次退出时间", "2026-12-10 23:59:00") + header("窗体样式") +
                         line("X坐标", "3") + line("Y坐标", "4") + line("窗体宽", "1920") + line("窗体高", "1080") +
                         line("抽奖模式", "0") + line("滚动模式", "1") + line("Lock", "1") + header("内定设置") +
                         line("Open", "1") + header("内定设置B") + line("Open", "0") + header("背景") +
                         line("Picture", gbk("欢庆2.jpg")) + header("TitlePic") + line("Left", "11") +
                         line("Top", "12") + header("S1") + line("Font.Color", "255") + line("Font.Size", "33") +
                         line("Font.Name", gbk("楷体"));
  for (int n = 1; n <= 8; ++n) {
    expected += header(labels[n - 1]) + line("Font.Charset", std::to_string(100 + n)) +
                line("Font.Color", std::to_string(1000 + n)) + line("Font.Size", std::to_string(10 + n)) +
                line("Font.Name", gbk("黑体"));
    const std::string values[] = {std::to_string(50 + n),
                                  "0",
                                  "4",
                                  "1",
                                  "65535",
                                  "65535",
                                  "2",
                                  "0",
                                  "0",
                                  "5",
                                  "0",
                                  "70",
                                  "81",
                                  "4473924",
                                  "0",
                                  "3",
                                  std::to_string(-n),
                                  "0",
                                  n % 2 == 0 ? "1" : "0"};
    for (int k = 0; k < 19; ++k)
      expected += line("Effect.FontEffect." + std::string(styledtext::kEffectKeys[k]), values[k]);
    expected += line("Left", std::to_string(10 * n)) + line("Top", std::to_string(20 * n));
    if (n < 8) expected += line("X坐标", std::to_string(10 * n)) + line("Y坐标", std::to_string(20 * n));
    if (n == 1) expected += line("主标题", gbk("年会"));
    if (n == 2) expected += line("副标题", gbk("大抽奖"));
  }
  expected += header("PrizePic") + line("X坐标", "700") + line("Y坐标", "800") + line("W", "150") + line("H", "160") +
              header("NamePic1") + line("X", "77") + line("Y", "88") + header("界面设置") + line("隐藏主标题", "1") +
              line("隐藏副标题", "1") + line("隐藏LOGO图片", "0") + line("奖项名称", "1") + line("隐藏抽奖嘉宾", "1") +
              line("隐藏奖品图片", "1") + line("隐藏奖品名称", "1") + line("隐藏说明文字", "1") +
              line("隐藏抽奖预告", "1") + line("隐藏按钮", "0") + header("L31") + line("RowCountPcs", "5");
  EXPECT_EQ(folder.read("Config.ini"), expected);
}

TEST(ExitSave, WhatItWritesTheLoadsReadBack) {
  TestFolder folder;
  folder.write("Config.ini",
               gbk("[背景]\r\nPicture=keep.jpg\r\n[TitlePic]\r\nTitlePicture=keep.png\r\n[other]\r\nk=v\r\n"));
  base::ConfigFiles files(folder.path());
  screen::ScreenModel saved = distinctiveModel();
  saved.backgroundName = "";
  saved.rolling.namesPerLine = 7;
  screen::saveOnExit(files, saved, {false, true, false, false}, "t");

  screen::ScreenModel loaded;
  loaded.peopleRolling = false;
  screen::loadMainSettings(files, kFullHd, loaded);
  screen::loadPositions(files, kFullHd, loaded);
  for (Label which : screen::kAllLabels) {
    EXPECT_EQ(loaded.label(which).font.color, saved.label(which).font.color);
    EXPECT_EQ(loaded.label(which).font.size, saved.label(which).font.size);
    EXPECT_EQ(loaded.label(which).font.name, saved.label(which).font.name);
    EXPECT_EQ(loaded.label(which).font.charset, saved.label(which).font.charset);
    EXPECT_EQ(loaded.label(which).effect, saved.label(which).effect);
    EXPECT_EQ(loaded.label(which).position, saved.label(which).position);
  }
  EXPECT_EQ(loaded.label(Label::SecTitle).caption, gbk("大抽奖"));
  EXPECT_EQ(loaded.showTicks, saved.showTicks);
  EXPECT_EQ(loaded.logo, saved.logo);
  EXPECT_TRUE(loaded.positionLock);
  EXPECT_EQ(loaded.prizePicture.position, saved.prizePicture.position);
  EXPECT_EQ(loaded.prizePicture.size, saved.prizePicture.size);
  EXPECT_EQ(loaded.rolling.textFont, saved.rolling.textFont);
  EXPECT_EQ(loaded.rolling.namesPerLine, 7);
  EXPECT_FALSE(loaded.textDraw);
  EXPECT_FALSE(loaded.resolutionChanged);

  const std::string file = folder.read("Config.ini");
  EXPECT_NE(file.find("Picture=keep.jpg"), std::string::npos);       // no name held: the stored one stays
  EXPECT_NE(file.find("TitlePicture=keep.png"), std::string::npos);  // "ab" is too short to store
  // The load takes the stored names, and an exit save stores them back as they were.
  EXPECT_EQ(loaded.backgroundName, "keep.jpg");
  EXPECT_EQ(loaded.logoName, "keep.png");
  screen::saveOnExit(files, loaded, {}, "t");
  const base::IniFile again = files.openConfigOnly();
  EXPECT_EQ(again.readString(gbk("背景"), "Picture", ""), "keep.jpg");
  EXPECT_EQ(again.readString("TitlePic", "TitlePicture", ""), "keep.png");
  EXPECT_NE(file.find("[other]\r\nk=v\r\n"), std::string::npos);
}

TEST(ExitSave, AFileThatCannotBeWrittenIsReported) {
  TestFolder folder;
  std::filesystem::create_directories(folder / "Config.ini");  // a folder where the file should be
  EXPECT_THROW(screen::saveOnExit(base::ConfigFiles(folder.path()), screen::ScreenModel{}, {}, "t"), base::FileError);
}

TEST(StartButton, StandsCentredSixtyPixelsAboveTheBottom) {
  EXPECT_EQ(screen::startButtonPosition(screen::Display::single(1025, 768), {75, 25}), (screen::Point{512 - 37, 708}));
}
