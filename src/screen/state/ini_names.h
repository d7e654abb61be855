#pragma once
// GBK spellings of the place keys that the layout routines of the screen state
// write thousands of times, converted once. Section names come from
// draw/draw_texts.h, the stored single keys from screen/state/config_keys.h.
#include <string>

namespace screen::names {

const std::string& xKey();  // "X坐标"
const std::string& yKey();  // "Y坐标"

}  // namespace screen::names
