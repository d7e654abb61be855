#pragma once
// The draw part of the main settings load: the draw-state keys, the award table
// fill and the predetermined and blacklist loads. The screen keys of the same
// load belong to the screen; both run on the file the fallback rule opens.
#include "base/ini_file.h"
#include "draw/draw_data.h"

namespace draw {

// Reads the draw switches and values into data.settings, fills the award table
// and, when their switches are on, loads LuckDetail and BlackDetail.
void loadDrawSettings(const base::IniFile& ini, DrawData& data);

// Award table fill: header texts, one row per "奖项设置" key 1, 2, … up to the
// first missing or empty value, drawn and shortfall counts "0", the give-up and
// supplementary counts from "弃奖" and "补奖", 内定人数 "0". With no award row
// the table is left with one empty award row, never with the rows of an earlier
// load, so awards removed from the settings cannot be drawn.
void fillAwardTable(const base::IniFile& ini, DrawData& data);

// Predetermined load ("内定设置" into LuckDetail) and blacklist load ("内定设置B"
// into BlackDetail): header texts, one row per numbered key, 是否已中 "N"; at
// least one (empty) data row.
void loadPredetermined(const base::IniFile& ini, Table& LuckDetail);
void loadBlacklist(const base::IniFile& ini, Table& BlackDetail);

}  // namespace draw
