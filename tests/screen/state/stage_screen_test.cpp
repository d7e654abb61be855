// The screen the draw screen stands on beside the laptop: the stored projector
// while it is connected, else the largest screen that is not the laptop's; the
// console on the other one; the name kept in Config.ini beside the other keys.
#include "screen/state/stage_screen.h"

#include <gtest/gtest.h>

#include "test_folder.h"

using screen::ConnectedScreen;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

const ConnectedScreen kLaptop{"eDP-1", 1366, 768, true};
const ConnectedScreen kProjector{"HDMI-1", 1920, 1080, false};
const ConnectedScreen kSmallMonitor{"DP-2", 1280, 1024, false};

TEST(StageScreen, ChoosesTheStoredScreenElseTheLargestThatIsNotTheLaptops) {
  struct Case {
    const char* what;
    std::vector<ConnectedScreen> screens;
    std::string stored;
    int stage;
    int console;
  } cases[] = {
      {"none connected", {}, "", -1, -1},
      {"the laptop alone", {kLaptop}, "HDMI-1", 0, -1},
      {"projector after the laptop", {kLaptop, kProjector}, "", 1, 0},
      {"projector listed first", {kProjector, kLaptop}, "", 0, 1},
      {"the largest of two others", {kLaptop, kSmallMonitor, kProjector}, "", 2, 0},
      {"a larger primary is still the laptop", {{"eDP-1", 2560, 1600, true}, kProjector}, "", 1, 0},
      {"stored name connected", {kLaptop, kSmallMonitor, kProjector}, "DP-2", 1, 0},
      {"stored name not connected", {kLaptop, kSmallMonitor, kProjector}, "VGA-1", 2, 0},
      {"stored on the laptop itself", {kLaptop, kProjector}, "eDP-1", 0, 1},
      {"no screen says primary", {{"A", 800, 600, false}, {"B", 1024, 768, false}}, "", 1, 0},
      {"every screen says primary", {{"A", 800, 600, true}, {"B", 1024, 768, true}}, "", 1, 0},
  };
  for (const Case& c : cases) {
    const int stage = screen::chooseStageScreen(c.screens, c.stored);
    EXPECT_EQ(stage, c.stage) << c.what;
    EXPECT_EQ(screen::chooseConsoleScreen(c.screens, stage), c.console) << c.what;
  }
}

TEST(StageScreen, NameIsKeptInConfigBesideTheOtherKeys) {
  TestFolder folder;
  folder.write("Config.ini", gbk("[抽奖]\r\n模式=1\r\n"));
  base::IniFile config(folder / "Config.ini");
  EXPECT_EQ(screen::storedStageScreen(config), "");
  screen::storeStageScreen(config, "HDMI-1");
  base::IniFile reread(folder / "Config.ini");
  EXPECT_EQ(screen::storedStageScreen(reread), "HDMI-1");
  EXPECT_EQ(reread.readString(gbk("抽奖"), gbk("模式"), ""), "1");
}

}  // namespace
