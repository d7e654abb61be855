#pragma once
// Fixed texts of the draw tables and files, as GBK bytes.
#include <string>

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

// Converts a UTF-8 literal of this program's sources to the GBK bytes the tables
// and files hold.
std::string gbk(const char* utf8);

}  // namespace draw::texts
