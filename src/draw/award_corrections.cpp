#include "draw/award_corrections.h"

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "draw/draw_texts.h"
#include "draw/event_files.h"

namespace draw {

using texts::gbk;

bool giveUp(DrawData& data, const EventFolder& folder, const GiveUpChoice& choice) {
  if (choice.recordRow < 1 || choice.recordRow > data.winnerCount()) return false;
  const Table::Row record = data.LuckNameGrid.row(choice.recordRow);
  const auto person = base::parseInt(record[winner::kSerial]);
  const auto award = base::parseInt(record[winner::kAwardSerial]);

  data.LuckNameGrid.deleteRow(choice.recordRow);
  const bool awardKnown = award && data.isAwardRow(*award);
  if (awardKnown) {
    const auto row = static_cast<std::size_t>(*award);
    data.addToCount(row, item::kDrawn, -1);
    if (!choice.drawPlaceAgain) data.addToCount(row, item::kGivenUp, 1);
  }
  if (choice.returnToPool && person && data.isRosterRow(*person)) {
    data.AllNameList.setCell(person::kFlag, static_cast<std::size_t>(*person), "N");
  }
  // The winners record first: it is the record of who won, and a failure to
  // write the count after it still leaves the record right.
  rewriteWinnersRecord(folder, data);
  if (awardKnown && !choice.drawPlaceAgain) {
    folder.configFiles().openConfig().writeString(texts::sectionGivenUp(), std::to_string(*award),
                                                  data.ItemGrid.cell(item::kGivenUp, static_cast<std::size_t>(*award)));
  }
  return true;
}

std::string supplementary(DrawData& data, const EventFolder& folder, const SupplementaryRequest& request) {
  if (request.countText.empty()) return gbk("补奖个数必须大于零");
  const int k = base::toInt(request.countText);
  if (k < 1) return gbk("补奖个数必须大于零");
  if (request.awardText.empty()) return gbk("请选择或输入补奖奖项");

  // The typed text decides between an existing award and a new one; the chosen
  // item receives the count when it is that award, else the first award of that
  // name does, so a stale selection never moves places to another award.
  std::size_t row = 0;
  Table& grid = data.ItemGrid;
  if (data.isAwardRow(static_cast<long long>(request.chosenRow)) &&
      grid.cell(item::kName, request.chosenRow) == request.awardText) {
    row = request.chosenRow;
  } else {
    for (std::size_t r = 1; r <= data.awardRowCount() && row == 0; ++r) {
      if (grid.cell(item::kName, r) == request.awardText) row = r;
    }
  }

  base::IniFile config = folder.configFiles().openConfig();
  const std::string count = std::to_string(k);
  if (row != 0) {
    grid.setCell(item::kSupplementary, row, count);
  } else {
    // With no award set up the table holds one empty placeholder row; the new
    // award takes its place, so that it is stored under key 1 and read back.
    const bool placeholder = data.awardRowCount() == 1 && grid.cell(item::kSerial, 1).empty();
    row = placeholder ? 1 : grid.rowCount();
    Table::Row cells{
        std::to_string(row), request.awardText, "0", count, count, request.prizeName, "", "", "0", "0", "0", count, ""};
    if (placeholder) {
      grid.setRow(row, cells);
    } else {
      grid.appendRow(cells);
    }
    config.writeString(texts::sectionAwards(), std::to_string(row), base::writeDelimitedRow(cells));
  }
  config.writeString(texts::sectionSupplementary(), std::to_string(row), count);
  return gbk("补奖完成");
}

}  // namespace draw
