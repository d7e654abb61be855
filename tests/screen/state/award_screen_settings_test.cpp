// The settings beside the award grid: the dialog's defaults and the order and
// forms in which it writes "界面设置".
#include "screen/state/award_screen_settings.h"

#include <gtest/gtest.h>

#include "draw/draw_data.h"
#include "draw/draw_settings.h"
#include "test_folder.h"

using testing_support::gbk;

TEST(AwardScreenSettings, WritesTheKeysInTheirOrderAndForms) {
  screen::AwardScreenSettings s;
  s.rollingSpeed = 0;
  s.speedRamp = true;
  s.drawOrder = 1;
  s.showTicks.fill(true);
  s.showTicks[static_cast<std::size_t>(screen::ShowTick::MainTitle)] = false;
  s.autoStop = true;
  s.autoStopSeconds = "7";
  const char* const order[] = {"滚动速度",     "滚动速度是否渐变", "抽奖顺序",     "隐私_check",   "隐私_begin",
                               "隐私_end",     "重复中奖",         "分组显示名单", "抽奖准备",     "隐藏主标题",
                               "隐藏副标题",   "隐藏奖品图片",     "隐藏奖品名称", "隐藏抽奖预告", "隐藏按钮",
                               "隐藏抽奖嘉宾", "隐藏说明文字",     "奖项名称",     "隐藏LOGO图片", "自动抽奖",
                               "自动抽奖Sec",  "自动开始",         "自动开始Sec"};
  testing_support::TestFolder dir;
  base::IniFile config(dir / "Config.ini");
  screen::saveAwardScreenSettings(config, s);
  std::vector<std::string> expected;
  for (const char* k : order) expected.push_back(gbk(k));
  EXPECT_EQ(config.keys(gbk("界面设置")), expected);

  const auto entries = screen::awardScreenEntries(s);
  EXPECT_EQ(entries[0].second, "0");
  EXPECT_EQ(entries[1].second, "-1");  // -1/0 form
  EXPECT_EQ(entries[9].second, "0");   // main title hidden
  EXPECT_EQ(entries[10].second, "-1");
  EXPECT_EQ(entries[19].second, "1");  // the auto switches: 1/0 form
  EXPECT_EQ(entries[20].second, "7");

  // What the draw reads back from it.
  draw::DrawData data;
  draw::loadDrawSettings(base::IniFile(dir / "Config.ini"), data);
  EXPECT_EQ(data.settings.baseRollingInterval, 120);
  EXPECT_TRUE(data.settings.speedRamp);
  EXPECT_EQ(data.settings.drawOrder, 1);
  EXPECT_TRUE(data.settings.autoStop);
  EXPECT_EQ(data.settings.autoStopSeconds, 7);
  EXPECT_FALSE(data.settings.repeatWinning);
}

TEST(AwardScreenSettings, DialogDefaultsAreNotTheMainLoads) {
  testing_support::TestFolder dir;
  screen::AwardScreenSettings s;
  s.rollingSpeed = 3;
  screen::loadAwardScreenSettings(base::IniFile(dir / "Config.ini"), s);
  EXPECT_EQ(s.rollingSpeed, -5);
  EXPECT_EQ(s.drawOrder, 0);
  EXPECT_FALSE(s.privacyOn);
  EXPECT_FALSE(s.repeatWinning);
  EXPECT_EQ(s.privacyBegin, "2");
  EXPECT_EQ(s.privacyEnd, "3");
  EXPECT_EQ(s.autoStopSeconds, "10");
  EXPECT_EQ(screen::rollingIntervalOf(-5), 20);
  EXPECT_EQ(screen::rollingIntervalOf(5), 220);
}
