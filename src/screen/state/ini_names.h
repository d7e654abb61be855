#pragma once
// GBK spellings of the place keys that the layout routines of the screen state
// write thousands of times, converted once. Section names come from
// draw/draw_texts.h, the stored single keys from screen/state/config_keys.h.
#include <string>
#include <string_view>

#include "base/ini_file.h"
#include "screen/state/geometry.h"

namespace screen::names {

const std::string& xKey();  // "X坐标"
const std::string& yKey();  // "Y坐标"

}  // namespace screen::names

namespace screen {

// An element's place under "X坐标"/"Y坐标" of its section; `fallback` where a key is missing.
Point readPlace(const base::IniFile& ini, std::string_view section, Point fallback);
void writePlace(base::IniFile& ini, std::string_view section, Point place);

}  // namespace screen
