#include "screen/state/screen_model.h"

#include "base/gbk.h"
#include "screen/state/config_keys.h"

namespace screen {

std::string_view labelSection(Label label) {
  static constexpr std::array<std::string_view, kLabelCount> names = {
      "MainTitle", "SecTitle", "ActionHint", "PrizeName", "HonorGuest", "RateProgress", "ItemName", "TimeShow"};
  return names[static_cast<std::size_t>(label)];
}

const std::string& showTickKey(ShowTick tick) {
  static_assert(keys::kShowTicks.size() == kShowTickCount);
  static const std::array<std::string, kShowTickCount> names = [] {
    std::array<std::string, kShowTickCount> gbk;
    for (std::size_t i = 0; i < kShowTickCount; ++i) gbk[i] = base::utf8ToGbk(keys::kShowTicks[i].key);
    return gbk;
  }();
  return names[static_cast<std::size_t>(tick)];
}

}  // namespace screen
