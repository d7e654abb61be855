#pragma once
// The prize display's sequence: which award row the next tick shows and the
// caption made of the award name, its places, the prize and the draw guest.
#include <string>

#include "base/ini_file.h"
#include "draw/table.h"

namespace draw {

// The display's own award table: the first eight columns of the award settings
// ("奖项设置" keys 1, 2, … up to the first empty value), row i from key i.
Table prizeTable(const base::IniFile& config);

// The row shown first: the last with draw order 1, else row 1.
int firstPrizeRow(int rowCount, int drawOrder);
// Brings a position that ran past the table's end back to its other end.
int wrapPrizeRow(int row, int rowCount, int drawOrder);
// The row after `row` in the draw order.
int nextPrizeRow(int row, int drawOrder);

struct CaptionParts {
  bool places = true;  // "显示奖项人数"
  bool prize = true;   // "显示奖品名称"
  bool guest = true;   // "显示抽奖嘉宾"
};
// "一等奖共3名,奖品:手机一部,抽奖嘉宾:总经理" with every part shown. GBK.
std::string prizeCaption(const Table& awards, int row, const CaptionParts& parts);

}  // namespace draw
