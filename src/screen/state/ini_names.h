#pragma once
// GBK spellings of the section and key names that several routines of the screen
// state share, converted once: the layout routines write them thousands of times.
#include <string>

namespace screen::names {

const std::string& xKey();            // "X坐标"
const std::string& yKey();            // "Y坐标"
const std::string& windowStyle();     // "窗体样式"
const std::string& screenSettings();  // "界面设置"
const std::string& pictureDraw();     // "图片抽奖"

}  // namespace screen::names
