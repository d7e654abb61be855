#include "draw/event_files.h"

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

void rosterLoad(const EventFolder& folder, DrawData& data) {
  loadDrawSettings(folder.configFiles().openWithFallback(), data);
  data.FirstName = base::readLines(folder.rosterPath(data.settings.textDraw));

  const std::size_t n = data.FirstName.size();
  Table full(person::kColumnCount, 1);
  Table working(person::kColumnCount, 1);
  full.reserve(n + 1);
  working.reserve(n + 1);
  full.setRow(0, {gbk("固定序号"), gbk("姓名"), gbk("显示姓名"), gbk("是否已中奖")});
  working.setRow(0, {gbk("滚动序号"), gbk("姓名"), gbk("显示姓名"), gbk("标记位")});
  const DrawSettings& s = data.settings;
  for (std::size_t k = 1; k <= n; ++k) {
    const std::string& line = data.FirstName[k - 1];
    std::string display = s.privacyMaskOn ? privacyMask(line, s.privacyBegin, s.privacyEnd) : line;
    std::string serial = std::to_string(k);
    full.appendRow({serial, line, display, "N"});
    working.appendRow({std::move(serial), line, std::move(display), ""});
  }
  data.AllNameList = std::move(full);
  data.AllNameGrid = std::move(working);
  data.clearWinners();
}

namespace {

// Splits at every "|" that is not the second byte of a two-byte character.
Table::Row splitRecord(std::string_view line) {
  Table::Row fields;
  std::size_t start = 0;
  while (fields.size() < winner::kColumnCount) {
    std::size_t bar = base::findSingleByte(line, '|', start);
    std::string field(line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    fields.push_back(field.empty() ? " " : std::move(field));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return fields;
}

}  // namespace

void winnersRecordLoad(const EventFolder& folder, DrawData& data) {
  std::optional<std::string> bytes = base::readFileIfExists(folder.winnersRecordPath());
  if (!bytes) return;
  for (const std::string& line : base::splitLines(*bytes)) {
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
