#include "screen/state/screen_model.h"

#include "base/gbk.h"

namespace screen {

std::string_view labelSection(Label label) {
  static constexpr std::array<std::string_view, kLabelCount> names = {
      "MainTitle", "SecTitle", "ActionHint", "PrizeName", "HonorGuest", "RateProgress", "ItemName", "TimeShow"};
  return names[static_cast<std::size_t>(label)];
}

const std::string& showTickKey(ShowTick tick) {
  static const std::array<std::string, kShowTickCount> keys = {
      base::utf8ToGbk("隐藏主标题"),   base::utf8ToGbk("隐藏副标题"),   base::utf8ToGbk("隐藏LOGO图片"),
      base::utf8ToGbk("奖项名称"),     base::utf8ToGbk("隐藏抽奖嘉宾"), base::utf8ToGbk("隐藏奖品图片"),
      base::utf8ToGbk("隐藏奖品名称"), base::utf8ToGbk("隐藏说明文字"), base::utf8ToGbk("隐藏抽奖预告"),
      base::utf8ToGbk("隐藏按钮")};
  return keys[static_cast<std::size_t>(tick)];
}

}  // namespace screen
