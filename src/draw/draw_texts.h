#pragma once
// Fixed texts of the draw tables and files: the section names of Config.ini,
// spelled once here (UTF-8) for every floor, and their GBK bytes.
#include <algorithm>
#include <string>
#include <string_view>

namespace draw {

namespace sections {
inline constexpr std::string_view kRunRecord = "程序运行情况";
inline constexpr std::string_view kWindowStyle = "窗体样式";
inline constexpr std::string_view kInterface = "界面设置";
inline constexpr std::string_view kAwards = "奖项设置";
inline constexpr std::string_view kGivenUp = "弃奖";
inline constexpr std::string_view kSupplementary = "补奖";
inline constexpr std::string_view kPredetermined = "内定设置";
inline constexpr std::string_view kBlacklist = "内定设置B";
inline constexpr std::string_view kGroups = "奖项分组";
inline constexpr std::string_view kGroupSwitch = "奖项分组设定";
inline constexpr std::string_view kPictureDraw = "图片抽奖";
}  // namespace sections

namespace texts {

// The sections above as GBK bytes, converted once.
const std::string& sectionAwards();         // 奖项设置
const std::string& sectionGivenUp();        // 弃奖
const std::string& sectionSupplementary();  // 补奖
const std::string& sectionPredetermined();  // 内定设置
const std::string& sectionBlacklist();      // 内定设置B
const std::string& sectionGroups();         // 奖项分组
const std::string& sectionGroupSwitch();    // 奖项分组设定
const std::string& sectionWindowStyle();    // 窗体样式
const std::string& sectionInterface();      // 界面设置
const std::string& sectionPictureDraw();    // 图片抽奖

// A key of a section of numbered rows ("1", "2", …): plain digits.
inline bool isRowKey(std::string_view key) {
  return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace texts

}  // namespace draw
