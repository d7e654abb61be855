// Config.ini's key tables against what the program ships and writes: the
// template generator's copy of the tables is the program's own, the shipped
// template holds every key of them, the draw's part of the exit save reads back
// through the loads, and the picture-name rule's edge.
#include "screen/state/config_keys.h"

#include <gtest/gtest.h>

#include "base/text_file.h"
#include "draw/draw_data.h"
#include "draw/draw_settings.h"
#include "screen/state/screen_model.h"
#include "screen/state/screen_settings.h"
#include "styledtext/core/effect_ini.h"
#include "test_folder.h"

using testing_support::gbk;
using testing_support::TestFolder;

TEST(ConfigKeys, TheTemplateGeneratorsTablesAreTheProgramsOwn) {
  EXPECT_EQ(base::readFile(std::filesystem::path(KV_SOURCE_DIR) / "scripts" / "build" / "template_keys.json"),
            screen::templateKeysJson())
      << "refresh with: build/tools/template_keys > scripts/build/template_keys.json, then run "
         "scripts/build/make_dist.py";
}

TEST(ConfigKeys, TheShippedTemplateHoldsEveryKeyOfTheTables) {
  const base::IniFile shipped(std::filesystem::path(KV_SOURCE_DIR) / "dist" / "SysConfig.ini");
  for (const base::KeyRow& row : screen::configKeyTable())
    EXPECT_TRUE(shipped.hasKey(gbk(row.section), gbk(row.key))) << row.section << "/" << row.key;
  // Every styled caption of the template carries the 19 effect keys in their stored order.
  for (const char* section : {"MainTitle", "TimeShow", "ShowMainTitle", "ShowPrizeName", "ScoreResult"}) {
    std::vector<std::string> effect;
    for (const std::string& key : shipped.keys(section))
      if (key.rfind("Effect.FontEffect.", 0) == 0) effect.push_back(key.substr(18));
    EXPECT_EQ(effect, std::vector<std::string>(styledtext::kEffectKeys.begin(), styledtext::kEffectKeys.end()))
        << section;
  }
}

TEST(ConfigKeys, TheDrawStateOfTheExitSaveReadsBackThroughBothLoads) {
  for (const draw::StoredDrawState& state :
       {draw::StoredDrawState{false, false, true, true}, draw::StoredDrawState{true, true, false, false}}) {
    TestFolder folder;
    base::ConfigFiles files(folder.path());
    screen::saveOnExit(files, screen::ScreenModel{}, state, "t");

    draw::DrawData data;
    draw::loadDrawSettings(files.openConfig(), data);
    EXPECT_EQ(data.settings.textDraw, state.textDraw);
    EXPECT_EQ(data.settings.peopleRolling, state.peopleRolling);
    EXPECT_EQ(data.settings.predeterminedOn, state.predeterminedOn);
    EXPECT_EQ(data.settings.blacklistOn, state.blacklistOn);
    screen::ScreenModel model;
    screen::loadMainSettings(files, screen::Display::single(1920, 1080), model);
    EXPECT_EQ(model.textDraw, state.textDraw);
    EXPECT_EQ(model.peopleRolling, state.peopleRolling);
  }
}

TEST(ConfigKeys, APictureNameIsStoredOnlyWhenLongerThanTwoBytes) {
  struct Case {
    const char* utf8;
    bool stored;
  };
  for (const Case& c : {Case{"", false}, Case{"ab", false}, Case{"欢", false}, Case{"a.b", true}, Case{"欢庆", true}}) {
    TestFolder folder;
    base::IniFile config(folder / "Config.ini");
    config.writeString(gbk("背景"), "Picture", "old.jpg");
    screen::storePictureName(config, screen::keys::kBackground, gbk(c.utf8));
    EXPECT_EQ(config.readString(gbk("背景"), "Picture", ""), c.stored ? gbk(c.utf8) : "old.jpg") << c.utf8;
  }
}
