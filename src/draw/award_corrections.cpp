#include "draw/award_corrections.h"

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "draw/draw_texts.h"
#include "draw/event_files.h"
#include "draw/paired_writes.h"

namespace draw {

using base::gbk;

bool giveUp(DrawData& data, const EventFolder& folder, const GiveUpChoice& choice) {
  if (choice.recordRow < 1 || choice.recordRow > data.winnerCount()) return false;
  const Table::Row record = data.LuckNameGrid.row(choice.recordRow);
  const auto person = base::parseInt(record[winner::kSerial]);
  const auto award = base::parseInt(record[winner::kAwardSerial]);
  const bool awardKnown = award && data.isAwardRow(*award);
  const bool placeLost = awardKnown && !choice.drawPlaceAgain;

  // The files first, the tables after: a write that fails leaves the tables as
  // the files are, and the operator may try again.
  std::vector<std::string> lines;
  for (std::size_t r = 1; r <= data.winnerCount(); ++r)
    if (r != choice.recordRow) lines.push_back(winnerRecordLine(data.LuckNameGrid, r));
  if (placeLost) {
    const auto row = static_cast<std::size_t>(*award);
    pairedWrite(
        folder,
        [&](base::IniFile& config) {
          base::IniBatch batch(config);
          config.writeString(texts::sectionGivenUp(), std::to_string(*award),
                             std::to_string(data.count(row, item::kGivenUp) + 1));
          noteWinnerRemoval(config, choice.recordRow, winnerRecordLine(record), lines.size());
        },
        [&] { base::rewriteLines(folder.winnersRecordPath(), lines); }, "弃奖");
  } else {
    base::rewriteLines(folder.winnersRecordPath(), lines);
  }

  data.LuckNameGrid.deleteRow(choice.recordRow);
  if (awardKnown) {
    const auto row = static_cast<std::size_t>(*award);
    data.addToCount(row, item::kDrawn, -1);
    if (placeLost) data.addToCount(row, item::kGivenUp, 1);
  }
  if (choice.returnToPool && person && data.isRosterRow(*person)) {
    data.AllNameList.setCell(person::kFlag, static_cast<std::size_t>(*person), "N");
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

  const std::string count = std::to_string(k);
  const bool existing = row != 0;
  Table::Row cells;
  bool placeholder = false;
  if (!existing) {
    // With no award set up the table holds one empty placeholder row; the new
    // award takes its place, so that it is stored under key 1 and read back.
    placeholder = data.awardRowCount() == 1 && grid.cell(item::kSerial, 1).empty();
    row = placeholder ? 1 : grid.rowCount();
    cells = {
        std::to_string(row), request.awardText, "0", count, count, request.prizeName, "", "", "0", "0", "0", count, ""};
  }
  {
    // The award row and its "补奖" key land in one atomic rewrite of Config.ini,
    // so a crash never leaves a new award without its places or a count without
    // its award.
    base::IniFile config = folder.configFiles().openConfig();
    base::IniBatch batch(config);
    if (!existing) config.writeString(texts::sectionAwards(), std::to_string(row), base::writeDelimitedRow(cells));
    config.writeString(texts::sectionSupplementary(), std::to_string(row), count);
  }
  if (existing) {
    grid.setCell(item::kSupplementary, row, count);
  } else if (placeholder) {
    grid.setRow(row, cells);
  } else {
    grid.appendRow(cells);
  }
  return gbk("补奖完成");
}

}  // namespace draw
