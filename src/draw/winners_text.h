#pragma once
// The text of the winners display, built from the award and winners tables: one
// block per award (name line, prize line, the winners in columns, an empty
// line). Column widths count GBK bytes, so a Chinese character takes two
// places and the columns line up in a font where it is two blanks wide.
#include <string>

#include "base/config_files.h"
#include "draw/draw_data.h"

namespace draw {

// Per-row count when "NameList"/"每行个数" is missing: every winner of an award on one line.
inline constexpr int kAllOnOneLine = 99999;

// "NameList"/"每行个数" of the configuration (template fallback).
int winnersPerRow(const base::ConfigFiles& files);

// The block of the award with serial `awardSerial` (its row in the award table).
std::string winnersBlock(const DrawData& data, const std::string& awardSerial, int perRow);

// The display text: the block of `shownAward`, or for "0" (and empty) the block
// of every award with winners drawn, first row to last or, with `lastToFirst`,
// last to first. Every line ends with a line feed.
std::string composeWinnersText(const DrawData& data, const std::string& shownAward, int perRow, bool lastToFirst);

}  // namespace draw
