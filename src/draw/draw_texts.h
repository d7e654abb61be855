#pragma once
// Fixed texts of the draw tables and files, as GBK bytes.
#include <algorithm>
#include <string>
#include <string_view>

namespace draw::texts {

const std::string& sectionAwards();         // 奖项设置
const std::string& sectionGivenUp();        // 弃奖
const std::string& sectionSupplementary();  // 补奖
const std::string& sectionPredetermined();  // 内定设置
const std::string& sectionBlacklist();      // 内定设置B
const std::string& sectionGroups();         // 奖项分组
const std::string& sectionGroupSwitch();    // 奖项分组设定
const std::string& sectionWindowStyle();    // 窗体样式
const std::string& sectionInterface();      // 界面设置

// A key of a section of numbered rows ("1", "2", …): plain digits.
inline bool isRowKey(std::string_view key) {
  return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace draw::texts
