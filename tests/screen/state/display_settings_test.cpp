// The four full-screen displays' stored settings without a window: the shipped
// template and an empty file read and written back, a stored background that
// survives an opening and a closing,
// the key order of each section as the displays write it, the ranking's bar
// height rule, and what the award settings hand the draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "base/conversion_error.h"
#include "draw/draw_data.h"
#include "screen/state/award_screen_settings.h"
#include "screen/state/details_display_settings.h"
#include "screen/state/prize_display_settings.h"
#include "screen/state/ranking_display_settings.h"
#include "screen/state/winners_display_settings.h"
#include "styledtext/core/effect_ini.h"
#include "test_folder.h"

using testing_support::gbk;
using testing_support::TestFolder;

namespace {

std::vector<std::string> gbkList(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* text : utf8) out.push_back(gbk(text));
  return out;
}

// The font, effect and place keys of a styled caption section.
std::vector<std::string> captionKeys(const std::string& prefix, std::initializer_list<const char*> after) {
  std::vector<std::string> keys{prefix + "Font.Charset", prefix + "Font.Color", prefix + "Font.Size",
                                prefix + "Font.Name"};
  const std::string effect = prefix.empty() ? "Effect.FontEffect." : "Text.FontEffect.";
  for (std::string_view key : styledtext::kEffectKeys) keys.push_back(effect + std::string(key));
  for (const char* key : after) keys.push_back(gbk(key));
  return keys;
}

// The sections the four displays keep, as they name them (GBK).
std::vector<std::string> displaySections() {
  return {"ShowMainTitle",     "ShowSecTitle",  "ShowLogoTitle",     "NameText",
          "ShowTitlePic",      "NameList",      "ShowPrizeName",     gbk("评分展示"),
          "ProShowSecTitle",   "ScoreResult",   "ScoreProNameTitel", "ScoreEvSecTitle",
          gbk("评委显示设置"), gbk("评委照片"), gbk("评委姓名"),     gbk("评分细节")};
}

// Every display read from `config` and written to `out`, as opening and closing
// each one does.
void readAndWriteEveryDisplay(const base::IniFile& config, base::IniFile& out) {
  screen::saveWinnersDisplay(out, screen::loadWinnersDisplay(config, screen::winnersDisplayDesign()));
  screen::savePrizeDisplay(out, screen::loadPrizeDisplay(config));
  screen::saveRankingDisplay(out, screen::loadRankingDisplay(config, {}, {}));
  screen::saveDetailsDisplay(out, screen::loadDetailsDisplay(config, {}, {}));
}

// "section key=value" for every key of the displays' sections, in file order.
std::vector<std::string> displayKeys(const base::IniFile& config) {
  std::vector<std::string> lines;
  for (const std::string& section : displaySections())
    for (const std::string& key : config.keys(section))
      lines.push_back(base::gbkToUtf8(section + " " + key + "=" + config.readString(section, key, "")));
  return lines;
}

}  // namespace

// The shipped template read by the displays and written back holds what it held:
// each value is read under the key it is written under and nothing is changed
// on the way; what the displays write beyond the template is what they write
// for an empty file (the template leaves those keys to the defaults). Two keys
// are not read back by rule: an empty picture name is not written (a name of
// two bytes or less names no picture), and the winners list's left edge is
// written from where the window put it, never read.
TEST(DisplaySettings, TheShippedTemplateReadsAndWritesBackAsItStands) {
  TestFolder dir;
  std::filesystem::copy_file(std::filesystem::path(KV_DIST_DIR) / "SysConfig.ini", dir / "Config.ini");
  const base::IniFile shipped(dir / "Config.ini");
  base::IniFile written(dir / "written.ini");
  readAndWriteEveryDisplay(shipped, written);
  const auto placedByTheWindow = [](const std::string& section, const std::string& key) {
    return section == "NameText" && key == "Left";
  };

  std::vector<std::string> changed;
  int compared = 0;
  for (const std::string& section : displaySections())
    for (const std::string& key : shipped.keys(section)) {
      if (placedByTheWindow(section, key)) continue;
      const std::string shippedValue = shipped.readString(section, key, "");
      const bool kept =
          written.hasKey(section, key) ? written.readString(section, key, "") == shippedValue : shippedValue.empty();
      if (!kept) changed.push_back(base::gbkToUtf8(section + " " + key + "=" + shippedValue));
      ++compared;
    }
  EXPECT_EQ(changed, std::vector<std::string>{}) << "keys of the template not written back as they stand";
  EXPECT_GT(compared, 100);

  // Written into the template itself, every line of it stays, in its order.
  base::IniFile rewritten(dir / "Config.ini");
  std::vector<std::string> before = displayKeys(rewritten);
  std::erase_if(before, [](const std::string& line) { return line.starts_with("NameText Left="); });
  readAndWriteEveryDisplay(base::IniFile(dir / "Config.ini"), rewritten);
  const std::vector<std::string> after = displayKeys(rewritten);
  auto next = after.begin();
  for (const std::string& line : before) {
    next = std::find(next, after.end(), line);
    ASSERT_NE(next, after.end()) << line << " is gone or moved";
  }

  // Beyond the template: the defaults, as an empty file reads them.
  TestFolder fresh;
  base::IniFile defaults(fresh / "Config.ini");
  readAndWriteEveryDisplay(base::IniFile(fresh / "none.ini"), defaults);
  for (const std::string& section : displaySections())
    for (const std::string& key : written.keys(section)) {
      if (shipped.hasKey(section, key)) continue;
      EXPECT_EQ(written.readString(section, key, ""), defaults.readString(section, key, "<none>"))
          << base::gbkToUtf8(section + " " + key);
    }
}

// An empty file reads as the defaults, and the defaults written out read back as
// themselves: a second opening and closing writes the same file. Where a default
// follows a rule, the rule holds.
TEST(DisplaySettings, AnEmptyFileReadsAsDefaultsThatWriteBackTheSame) {
  TestFolder dir;
  const base::IniFile empty(dir / "Config.ini");
  base::IniFile first(dir / "first.ini");
  readAndWriteEveryDisplay(empty, first);
  base::IniFile second(dir / "second.ini");
  readAndWriteEveryDisplay(first, second);
  EXPECT_FALSE(displayKeys(first).empty());
  EXPECT_EQ(displayKeys(second), displayKeys(first));

  styledtext::FontRecord mainSubtitle;
  mainSubtitle.name = gbk("楷体");
  const screen::RankingDisplaySettings ranking = screen::loadRankingDisplay(empty, mainSubtitle, {});
  EXPECT_EQ(ranking.subtitle.font.name, gbk("楷体"));  // an absent name keeps the main screen's face
  const screen::PrizeDisplaySettings prize = screen::loadPrizeDisplay(empty);
  EXPECT_EQ(prize.captionFont.size, 23);  // the window's design: 31 pixels high
  screen::WinnersDisplaySettings design = screen::winnersDisplayDesign();
  design.textBox.top = 160;
  const screen::WinnersDisplaySettings winners = screen::loadWinnersDisplay(empty, design);
  EXPECT_EQ(winners.textBox.top, 160);  // nothing placed: the design's place
  EXPECT_FALSE(winners.titlesPlaced);
  EXPECT_FALSE(winners.textPlaced);
}

TEST(DisplaySettings, StoredValuesAreReadAndHeldInRange) {
  TestFolder dir;
  dir.write("Config.ini", gbk("[评委照片]\r\nWidth=5\r\nHeight=300\r\n[评委显示设置]\r\n每行个数=-3\r\n"
                              "[ScoreResult]\r\nLeft=-40\r\nTop=900\r\n"
                              "[NameText]\r\nHeight=3\r\nTop=abc\r\n[ShowMainTitle]\r\nX坐标=7\r\n"));
  const base::IniFile config(dir / "Config.ini");
  const screen::DetailsDisplaySettings details = screen::loadDetailsDisplay(config, {}, {});
  EXPECT_EQ(details.photoWidth, 200);  // under 10 pixels: the default
  EXPECT_EQ(details.photoHeight, 300);
  EXPECT_EQ(details.perRow, 0);
  EXPECT_EQ(details.resultLine.position, (screen::Point{0, 900}));  // left of the screen: put at 0

  screen::WinnersDisplaySettings design = screen::winnersDisplayDesign();
  design.textBox.top = 160;
  const screen::WinnersDisplaySettings winners = screen::loadWinnersDisplay(config, design);
  EXPECT_EQ(winners.textBox.height, 20);
  EXPECT_FALSE(winners.textPlaced);  // a top that is not a number is none
  EXPECT_EQ(winners.textBox.top, 160);
  EXPECT_TRUE(winners.titlesPlaced);
  EXPECT_EQ(winners.mainTitle.position.x, 7);
}

TEST(DisplaySettings, AStoredBackgroundSurvivesAnOpeningAndAClosing) {
  TestFolder dir;
  dir.write("Config.ini", gbk("[ShowTitlePic]\r\nPicture=舞台.jpg\r\nTitlePicture=徽标.png\r\n"
                              "[ShowPrizeName]\r\nPicture=舞台.jpg\r\n[评分展示]\r\n背景图片=舞台.jpg\r\n"
                              "[评分细节]\r\n背景图片=舞台.jpg\r\n"));
  base::IniFile config(dir / "Config.ini");

  // The winners and prize displays write the name they hold only when it is longer than 2 bytes.
  for (const char* remembered : {"", "ab"}) {
    screen::WinnersDisplaySettings winners = screen::loadWinnersDisplay(config, screen::winnersDisplayDesign());
    EXPECT_EQ(winners.background, gbk("舞台.jpg"));
    winners.background = winners.logo = remembered;
    screen::saveWinnersDisplay(config, winners);
    screen::PrizeDisplaySettings prize = screen::loadPrizeDisplay(config);
    EXPECT_EQ(prize.background, gbk("舞台.jpg"));
    prize.background = remembered;
    screen::savePrizeDisplay(config, prize);
  }
  EXPECT_EQ(config.readString("ShowTitlePic", "Picture", ""), gbk("舞台.jpg"));
  EXPECT_EQ(config.readString("ShowTitlePic", "TitlePicture", ""), gbk("徽标.png"));
  EXPECT_EQ(config.readString("ShowPrizeName", "Picture", ""), gbk("舞台.jpg"));

  // The scoring displays write the name they hold, the empty one included.
  screen::saveRankingDisplay(config, screen::loadRankingDisplay(config, {}, {}));
  screen::saveDetailsDisplay(config, screen::loadDetailsDisplay(config, {}, {}));
  EXPECT_EQ(config.readString(gbk("评分展示"), gbk("背景图片"), ""), gbk("舞台.jpg"));
  EXPECT_EQ(config.readString(gbk("评分细节"), gbk("背景图片"), ""), gbk("舞台.jpg"));

  TestFolder fresh;
  base::IniFile empty(fresh / "Config.ini");
  screen::saveWinnersDisplay(empty, screen::loadWinnersDisplay(empty, screen::winnersDisplayDesign()));
  screen::savePrizeDisplay(empty, screen::loadPrizeDisplay(empty));
  screen::saveRankingDisplay(empty, screen::loadRankingDisplay(empty, {}, {}));
  EXPECT_FALSE(empty.hasSection("ShowTitlePic"));
  EXPECT_FALSE(empty.hasKey("ShowPrizeName", "Picture"));
  ASSERT_TRUE(empty.hasKey(gbk("评分展示"), gbk("背景图片")));
  EXPECT_EQ(empty.readString(gbk("评分展示"), gbk("背景图片"), "x"), "");
}

TEST(DisplaySettings, EachSectionIsWrittenInTheDisplaysKeyOrder) {
  TestFolder dir;
  base::IniFile config(dir / "Config.ini");
  screen::WinnersDisplaySettings winners = screen::winnersDisplayDesign();
  winners.background = gbk("新背景.jpg");
  winners.logo = "logo.png";
  screen::saveWinnersDisplay(config, winners);
  screen::PrizeDisplaySettings prize;
  prize.background = "stage.jpg";
  screen::savePrizeDisplay(config, prize);
  screen::saveRankingDisplay(config, screen::RankingDisplaySettings{});
  screen::saveDetailsDisplay(config, screen::DetailsDisplaySettings{});

  const std::vector<std::string> title = captionKeys("", {"X坐标", "Y坐标", "Show"});
  EXPECT_EQ(config.keys("ShowMainTitle"), title);
  EXPECT_EQ(config.keys("ShowSecTitle"), title);
  EXPECT_EQ(config.keys("ShowLogoTitle"), gbkList({"X坐标", "Y坐标", "Show"}));
  std::vector<std::string> text = captionKeys("Text.", {"Left", "Top", "Height", "ScrollDelay", "ScrollStep"});
  text.insert(text.begin() + 4, "Text.BackColor");
  EXPECT_EQ(config.keys("NameText"), text);
  EXPECT_EQ(config.keys("ShowTitlePic"), gbkList({"Picture", "TitlePicture"}));
  EXPECT_EQ(config.keys("NameList"), gbkList({"每行个数"}));

  EXPECT_EQ(config.keys("ShowPrizeName"), captionKeys("", {"X坐标", "Y坐标", "Show1", "Show2", "Show3", "speed",
                                                           "img_left", "img_top", "img_w", "img_h", "Picture"}));

  EXPECT_EQ(config.keys(gbk("评分展示")),
            gbkList({"柱状高度", "柱状宽度", "间隔宽度", "动画展示", "背景图片", "柱状颜色", "得分颜色", "得分大小",
                     "得分字体", "节目颜色", "节目大小", "节目字体", "排名颜色", "排名大小", "排名字体", "副标题"}));
  const std::vector<std::string> caption = captionKeys("", {"Top", "Left"});
  for (const char* section : {"ProShowSecTitle", "ScoreResult", "ScoreProNameTitel", "ScoreEvSecTitle"})
    EXPECT_EQ(config.keys(section), caption) << section;
  EXPECT_EQ(config.keys(gbk("评委显示设置")), gbkList({"每行个数"}));
  EXPECT_EQ(config.keys(gbk("评委照片")), gbkList({"Width", "Height"}));
  EXPECT_EQ(config.keys(gbk("评委姓名")), gbkList({"Font.Color", "Font.Size", "Font.Name", "Show"}));
  EXPECT_EQ(config.keys(gbk("评分细节")), gbkList({"副标题", "背景图片"}));
}

TEST(DisplaySettings, BarHeightIsTheAverageOverTheFullScoreRoundedToEven) {
  struct Case {
    std::optional<double> average;
    double fullScore;
    int fullHeight;
    int expected;
  };
  const Case cases[] = {
      {8.0, 10, 500, 400},        {9.0, 10, 500, 450},
      {7.4, 10, 500, 370},        {10.0, 8, 500, 625},  // taller than a full score's bar
      {std::nullopt, 10, 500, 0}, {8.0, 0, 500, 400},   // a full score of 0 counts as 10
      {0.05, 10, 500, 2},                               // 2.5: halves go to the even neighbour
      {0.07, 10, 500, 4},                               // 3.5
      {1e300, 10, 500, 100000},   {std::numeric_limits<double>::quiet_NaN(), 10, 500, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(screen::barHeight(c.average, c.fullScore, c.fullHeight), c.expected)
        << (c.average ? *c.average : -1) << " / " << c.fullScore;
}

TEST(AwardScreenSettings, ASaveHandsTheDrawItsAutoSwitchesAndSeconds) {
  screen::AwardScreenSettings s;
  s.autoStop = true;
  s.autoStopSeconds = "7";
  s.autoStart = true;
  s.autoStartSeconds = "12";
  draw::DrawSettings settings;
  screen::applyAwardScreenSettings(s, settings);
  EXPECT_TRUE(settings.autoStop && settings.autoStart);
  EXPECT_EQ(settings.autoStopSeconds, 7);
  EXPECT_EQ(settings.autoStartSeconds, 12);

  s.autoStop = false;
  s.autoStopSeconds = "3";
  s.autoStartSeconds = "x";
  EXPECT_THROW(screen::applyAwardScreenSettings(s, settings), base::ConversionError);
  EXPECT_FALSE(settings.autoStop);  // the switches are taken, the seconds of neither field
  EXPECT_EQ(settings.autoStopSeconds, 7);
  EXPECT_EQ(settings.autoStartSeconds, 12);
}
