#include "draw/prize_show.h"

#include <cstddef>

#include "base/delimited_row.h"
#include "base/gbk.h"
#include "draw/draw_data.h"

namespace draw {

Table prizeTable(const base::IniFile& config) {
  constexpr std::size_t kColumns = 8;
  Table table(kColumns);
  const std::vector<std::string> headers = {"项次",     "奖项",     "总名额",   "每次抽取",
                                            "分批状况", "奖品名称", "抽奖嘉宾", "奖品图片"};
  for (std::size_t c = 0; c < kColumns; ++c) table.setCell(c, 0, base::utf8ToGbk(headers[c]));
  const std::string section = base::utf8ToGbk("奖项设置");
  for (int i = 1;; ++i) {
    const std::string value = config.readString(section, std::to_string(i), "");
    if (value.empty()) break;
    table.appendRow(base::readDelimitedRow(value, kColumns));
  }
  return table;
}

int firstPrizeRow(int rowCount, int drawOrder) { return drawOrder == 1 ? rowCount : 1; }

int wrapPrizeRow(int row, int rowCount, int drawOrder) {
  if (drawOrder == 0 && row > rowCount) return 1;
  if (drawOrder == 1 && row <= 0) return rowCount;
  return row;
}

int nextPrizeRow(int row, int drawOrder) { return drawOrder == 0 ? row + 1 : drawOrder == 1 ? row - 1 : row; }

std::string prizeCaption(const Table& awards, int row, const CaptionParts& parts) {
  // Outside the award rows (an empty table) every cell reads empty, never the header.
  const bool isAward = row >= 1 && static_cast<std::size_t>(row) < awards.rowCount();
  const std::size_t r = isAward ? static_cast<std::size_t>(row) : awards.rowCount();
  std::string caption = awards.cell(item::kName, r);
  if (parts.places) caption += base::utf8ToGbk("共") + awards.cell(item::kPlaces, r) + base::utf8ToGbk("名");
  if (parts.prize) caption += base::utf8ToGbk(",奖品:") + awards.cell(item::kPrize, r);
  if (parts.guest) caption += base::utf8ToGbk(",抽奖嘉宾:") + awards.cell(item::kGuest, r);
  return caption;
}

}  // namespace draw
