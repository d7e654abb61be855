#pragma once
// The award groups as the award grouping dialog edits them: for each award a
// first and a last roster serial (either may be empty: no bound on that side),
// kept in "奖项分组" under "<serial>_B" and "<serial>_E", and the switch
// "奖项分组设定"/"OpenClassify". The pool reads the same keys (pool.cpp).
#include <string>
#include <vector>

#include "base/ini_file.h"

namespace draw::groups {

struct AwardRange {
  std::string serial;  // award serial, as "奖项设置" holds it
  std::string name;
  std::string first;  // decimal text or empty
  std::string last;
};

// One range per award row of "奖项设置" (keys 1, 2, … up to the first missing
// or empty one), with its stored bounds.
std::vector<AwardRange> loadRanges(const base::IniFile& config);
// Default on when the key is missing.
bool loadSwitch(const base::IniFile& config);

// Writes the switch, removes every "<digits>_B" and "<digits>_E" key of
// "奖项分组" (not only those of the awards shown, so no stale bound of a removed
// award survives) and writes the non-empty bounds of range i (0-based) under
// award serial i + 1, which is what the pool looks up. One rewrite of the file.
void saveRanges(base::IniFile& config, bool groupsOn, const std::vector<AwardRange>& ranges);

// What Enter on a range cell tells the operator, in order.
enum class Notice {
  AboveRoster,  // "不能超过总人数"
  BelowOne,     // "不能小于1"
  Inverted      // "序号不能倒挂"
};
const char* noticeText(Notice notice);

struct CellCheck {
  std::string value;            // the cell's text after the check
  std::vector<Notice> notices;  // empty: the cursor moves on
};
// Checks the edited cell of a range: cut to the roster size, raised to 1, and
// when both bounds are set and last < first, the other bound copied into it.
// `editingFirst` says which bound `cell` is; `other` is the other bound's text
// (empty when unset). Empty or non-numeric text raises base::ConversionError.
CellCheck checkCell(const std::string& cell, const std::string& other, bool editingFirst, int rosterSize);

}  // namespace draw::groups
