#include "draw/event_files.h"

#include <algorithm>
#include <optional>
#include <string>

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "draw/draw_settings.h"
#include "draw/draw_texts.h"
#include "draw/privacy_mask.h"

namespace draw {

using base::gbk;

// Both roster tables in one pass over the lines: the fixed roster AllNameList,
// every flag "N", and the working copy AllNameGrid the pool is drawn from, flags
// empty. Each cell is made in its row's storage, once.
base::TextProblem rosterLoad(const EventFolder& folder, DrawData& data) {
  loadDrawSettings(folder.configFiles().openWithFallback(), data);
  const std::string bytes = base::readFile(folder.rosterPath(data.settings.textDraw));
  const base::TextProblem problem = base::findTextProblem(bytes);
  data.FirstName = base::splitLines(bytes);

  const std::vector<std::string>& lines = data.FirstName;
  Table fixed(person::kColumnCount, 1);
  Table working(person::kColumnCount, 1);
  fixed.reserve(lines.size() + 1);
  working.reserve(lines.size() + 1);
  fixed.setRow(0, {gbk("固定序号"), gbk("姓名"), gbk("显示姓名"), gbk("是否已中奖")});
  working.setRow(0, {gbk("滚动序号"), gbk("姓名"), gbk("显示姓名"), gbk("标记位")});
  const DrawSettings& s = data.settings;
  for (std::size_t k = 1; k <= lines.size(); ++k) {
    const std::string& line = lines[k - 1];
    std::string display = s.privacyMaskOn ? privacyMask(line, s.privacyBegin, s.privacyEnd) : line;
    std::string serial = std::to_string(k);
    Table::Row fixedRow;
    fixedRow.reserve(person::kColumnCount);
    fixedRow.emplace_back(serial);
    fixedRow.emplace_back(line);
    fixedRow.emplace_back(display);
    fixedRow.emplace_back("N");
    Table::Row workingRow;
    workingRow.reserve(person::kColumnCount);
    workingRow.emplace_back(std::move(serial));
    workingRow.emplace_back(line);
    workingRow.emplace_back(std::move(display));
    workingRow.emplace_back();
    fixed.appendRow(std::move(fixedRow));
    working.appendRow(std::move(workingRow));
  }
  data.AllNameList = std::move(fixed);
  data.AllNameGrid = std::move(working);
  data.clearWinners();
  return problem;
}

void takeWinnerRecords(DrawData& data, std::vector<Table::Row> records) {
  for (Table::Row& record : records) {
    record.resize(winner::kColumnCount);
    const int person = base::parseInt(record[winner::kSerial]).value_or(0);
    const int award = base::parseInt(record[winner::kAwardSerial]).value_or(0);
    if (data.settings.predeterminedOn) {
      for (std::size_t r = 1; r < data.LuckDetail.rowCount(); ++r) {
        if (data.LuckDetail.cell(entry::kPerson, r) == record[winner::kSerial] &&
            data.LuckDetail.cell(entry::kAward, r) == record[winner::kAwardSerial]) {
          data.LuckDetail.setCell(entry::kDrawn, r, "Y");
        }
      }
    }
    if (data.isAwardRow(award)) data.addToCount(static_cast<std::size_t>(award), item::kDrawn, 1);
    if (!data.settings.repeatWinning && data.isRosterRow(person)) {
      data.AllNameList.setCell(person::kFlag, static_cast<std::size_t>(person), "Y");
    }
    data.appendWinner(std::move(record));
  }
}

void appendWinnerRecord(const EventFolder& folder, std::string_view line) {
  base::appendLine(folder.winnersRecordPath(), line);
}

void truncateWinnersRecord(const EventFolder& folder) { base::truncateFile(folder.winnersRecordPath()); }

void rewriteWinnersRecord(const EventFolder& folder, const DrawData& data) {
  std::vector<std::string> lines;
  lines.reserve(data.winnerCount());
  for (std::size_t r = 1; r <= data.winnerCount(); ++r) lines.push_back(winnerRecordLine(data.LuckNameGrid, r));
  base::rewriteLines(folder.winnersRecordPath(), lines);
}

void appendLogLine(const EventFolder& folder, std::string_view text) { base::appendLine(folder.logPath(), text); }

void appendAwardHeader(const EventFolder& folder, const DrawData& data, std::size_t row) {
  const Table& grid = data.ItemGrid;
  appendLogLine(folder, std::string(75, '-'));
  appendLogLine(folder, "[" + folder.dateTimeText() + "] " + grid.cell(item::kName, row) +
                            grid.cell(item::kPlaces, row) + gbk("名") + gbk(" (奖品:") + grid.cell(item::kPrize, row) +
                            ")");
  appendLogLine(folder, "");
}

}  // namespace draw
