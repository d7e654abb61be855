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

using texts::gbk;

// Both roster tables in one pass over the lines: the fixed roster AllNameList,
// every flag "N", and the working copy AllNameGrid the pool is drawn from, flags
// empty. Each cell is made in its row's storage, once.
void rosterLoad(const EventFolder& folder, DrawData& data) {
  loadDrawSettings(folder.configFiles().openWithFallback(), data);
  data.FirstName = base::readLines(folder.rosterPath(data.settings.textDraw));

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
}

namespace {

// Splits at every "|" that is not the second byte of a two-byte character, in
// one walk along the line; an empty field is kept as " ".
Table::Row splitRecord(std::string_view line) {
  Table::Row fields;
  fields.reserve(winner::kColumnCount);
  auto take = [&](std::size_t start, std::size_t end) {
    fields.emplace_back(start == end ? std::string_view(" ") : line.substr(start, end - start));
  };
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < line.size() && fields.size() + 1 < winner::kColumnCount) {
    if (line[pos] == '|') {
      take(start, pos);
      start = ++pos;
    } else {
      pos += base::charLengthAt(line, pos);
    }
  }
  // The last field runs to the next bar or the end of the line.
  std::size_t end = pos;
  while (end < line.size() && line[end] != '|') end += base::charLengthAt(line, end);
  take(start, std::min(end, line.size()));
  return fields;
}

}  // namespace

void winnersRecordLoad(const EventFolder& folder, DrawData& data) {
  std::optional<std::string> bytes = base::readFileIfExists(folder.winnersRecordPath());
  if (!bytes) return;
  for (const std::string_view line : base::splitLineViews(*bytes)) {
    Table::Row record = splitRecord(line);
    record.resize(winner::kColumnCount);
    // Both serials are converted before the record is taken, so a damaged line
    // stops the load without leaving half a record in the spare row.
    const int person = base::toInt(record[winner::kSerial]);
    const int award = base::toInt(record[winner::kAwardSerial]);
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
