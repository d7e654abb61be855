#include "screen/state/stage_screen.h"

#include "base/gbk.h"

namespace screen {

namespace {

// A section of our own beside the program's: older versions leave it alone.
std::string stageSection() { return base::utf8ToGbk("双屏"); }
std::string stageScreenKey() { return base::utf8ToGbk("投影屏幕"); }

long long area(const ConnectedScreen& s) { return static_cast<long long>(s.width) * s.height; }

}  // namespace

int chooseStageScreen(const std::vector<ConnectedScreen>& screens, const std::string& storedName) {
  if (screens.empty()) return -1;
  if (screens.size() == 1) return 0;
  if (!storedName.empty())
    for (std::size_t i = 0; i < screens.size(); ++i)
      if (screens[i].name == storedName) return static_cast<int>(i);
  int best = -1;
  for (std::size_t i = 0; i < screens.size(); ++i) {
    if (screens[i].primary) continue;
    if (best < 0 || area(screens[i]) > area(screens[static_cast<std::size_t>(best)])) best = static_cast<int>(i);
  }
  // Every screen claims to be primary (or none can be told apart): the largest other than the first.
  if (best < 0) best = 1;
  return best;
}

int chooseConsoleScreen(const std::vector<ConnectedScreen>& screens, int stage) {
  if (screens.size() < 2 || stage < 0) return -1;
  for (std::size_t i = 0; i < screens.size(); ++i)
    if (screens[i].primary && static_cast<int>(i) != stage) return static_cast<int>(i);
  for (std::size_t i = 0; i < screens.size(); ++i)
    if (static_cast<int>(i) != stage) return static_cast<int>(i);
  return -1;
}

std::string storedStageScreen(const base::IniFile& config) {
  return base::gbkToUtf8(config.readString(stageSection(), stageScreenKey(), ""));
}

void storeStageScreen(base::IniFile& config, const std::string& name) {
  config.writeString(stageSection(), stageScreenKey(), base::utf8ToGbk(name));
}

}  // namespace screen
