#include "draw/selection.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "draw/batch_note.h"
#include "draw/draw_texts.h"
#include "draw/event_files.h"
#include "draw/pool.h"

namespace draw {

using base::gbk;

namespace {

std::size_t currentAwardRow(const DrawData& data) {
  const int award = base::toInt(data.state.currentAward);
  if (!data.isAwardRow(award)) throw std::logic_error("the current award names no award row");
  return static_cast<std::size_t>(award);
}

void markPredeterminedDrawn(DrawData& data, const std::string& person, const std::string& award) {
  Table& detail = data.LuckDetail;
  for (std::size_t r = 1; r < detail.rowCount(); ++r) {
    if (detail.cell(entry::kPerson, r) == person && detail.cell(entry::kAward, r) == award) {
      detail.setCell(entry::kDrawn, r, "Y");
    }
  }
}

// Puts one winner record on disk, then into the tables: its line first, since
// the winners record is the only lasting record of who won, so a failure leaves
// the file and the tables agreeing. A damaged drawn count stops the record
// before anything is written.
void recordWinner(DrawData& data, const EventFolder& folder, Table::Row record, std::size_t award,
                  bool markIneligible) {
  const int drawn = data.count(award, item::kDrawn) + 1;
  const int person = base::parseInt(record[winner::kSerial]).value_or(0);
  appendWinnerRecord(folder, winnerRecordLine(record));
  data.setCount(award, item::kDrawn, drawn);
  if (markIneligible && data.isRosterRow(person)) {
    data.AllNameList.setCell(person::kFlag, static_cast<std::size_t>(person), "Y");
  }
  data.appendWinner(std::move(record));
}

// The winners record goes first and the draw log after it, line by line: the
// record is what start-up trusts, so a crash between the two leaves a winner
// whose name the log lacks, never a logged winner who was not recorded. A log
// line that cannot be written is noted and raised after the records.
void appendLogLineAfterRecords(DrawData& data, const EventFolder& folder, std::string_view text) {
  try {
    appendLogLine(folder, text);
  } catch (const base::FileError& error) {
    if (data.state.logFailure.empty()) data.state.logFailure = error.reason().empty() ? "写入失败" : error.reason();
  }
}

void raiseLogFailure(DrawData& data, const EventFolder& folder) {
  if (data.state.logFailure.empty()) return;
  std::string reason = std::move(data.state.logFailure);
  data.state.logFailure.clear();
  throw base::FileError(base::FileError::Kind::CannotWrite, folder.logPath(),
                        reason + "。中奖者已记录在中奖记录中,只是抽奖日志缺少这次的内容");
}

// A record that could not be written ends the batch there: the winners after it
// are not recorded and their places are drawn again. The operator hears who.
[[noreturn]] void raiseRecordFailure(DrawData& data, const base::FileError& error,
                                     const std::vector<std::string>& unrecorded) {
  data.state.logFailure.clear();
  std::string names;
  for (const auto& name : unrecorded) names += (names.empty() ? "" : "、") + base::gbkToUtf8(name);
  throw base::FileError(error.kind(), error.path(),
                        error.reason() + "。本批中奖者中这" + std::to_string(unrecorded.size()) +
                            "名没有记录,不算中奖,名额将重新抽取:" + names);
}

// The batch's note (batch_note.h) lives while its records are written, and goes
// when the batch has ended, however it ended.
class BatchNote {
 public:
  BatchNote(const EventFolder& folder, std::size_t recordsBefore, const std::vector<std::string>& lines)
      : folder_(folder) {
    try {
      noteBatch(folder, recordsBefore, lines);
    } catch (const base::FileError&) {
      // Without the note a start-up after a kill cannot show this batch again;
      // the records, which are what counts, are written all the same, and a
      // disk too full for the note stops them with their own message.
    }
  }
  ~BatchNote() { dropBatchNote(folder_); }
  BatchNote(const BatchNote&) = delete;
  BatchNote& operator=(const BatchNote&) = delete;

 private:
  const EventFolder& folder_;
};

// `moved` collects the roster serials of the rows moved.
void forcePredetermined(DrawData& data, std::size_t n, std::vector<std::string>& moved) {
  Table& pool = data.AllNameGrid;
  const auto pending = static_cast<std::size_t>(std::max(data.state.pendingPredetermined, 0));
  std::size_t count = 0;
  const std::size_t lastRow = pool.rowCount() - 1;
  for (std::size_t i = 1; i < lastRow && count < pending && count < n;) {
    if (pool.cell(person::kFlag, i) == "Y") {
      moved.push_back(pool.cell(person::kSerial, i));
      pool.moveRow(i, lastRow);
      ++count;
    } else {
      ++i;
    }
  }
}

// A barred winner is replaced by an unmarked candidate from outside the
// winners' rows chosen at random. Taking the first such row, as the pool order
// would suggest, would hand every replacement to the lowest roster serials.
// Moving the candidate to row r shifts the rows between up by one, so the barred
// person is examined again at r − 1 and ends just before the winners' rows.
void fixBarred(DrawData& data, std::size_t n, std::vector<std::string>& moved) {
  Table& pool = data.AllNameGrid;
  const std::size_t rowCount = pool.rowCount();
  const std::size_t firstWinner = rowCount - n;
  auto isFree = [&](std::size_t a) { return pool.cell(person::kFlag, a).empty(); };
  for (std::size_t r = rowCount - 1; r >= firstWinner; --r) {
    if (pool.cell(person::kFlag, r) != "N") continue;
    int freeCount = 0;
    for (std::size_t a = 1; a < firstWinner; ++a) freeCount += isFree(a);
    if (freeCount == 0) continue;  // nobody else may win: the barred person stays a winner
    int k = data.random.between(1, freeCount);
    std::size_t a = 1;
    for (;; ++a) {
      if (isFree(a) && --k == 0) break;
    }
    moved.push_back(pool.cell(person::kSerial, a));
    pool.moveRow(a, r);
  }
}

}  // namespace

void batchPick(DrawData& data) {
  Table& pool = data.AllNameGrid;
  const int poolSize = static_cast<int>(pool.rowCount()) - 1;
  const int n = data.state.batchSize;
  if (n < 0 || n > poolSize) throw std::logic_error("batch size outside the pool");
  if (n == 0) return;

  // The partial shuffle: pick i takes the a-th of the rows not yet picked, in
  // pool order, to row poolSize − i. Each a is turned into the row it names
  // before any row moves, and the rows move once.
  std::vector<std::size_t> picked;  // rows in pick order
  std::vector<std::size_t> sorted;  // the same rows ascending
  picked.reserve(static_cast<std::size_t>(n));
  sorted.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    auto row = static_cast<std::size_t>(data.random.between(1, poolSize - i));
    auto at = sorted.begin();
    for (; at != sorted.end() && *at <= row; ++at) ++row;
    sorted.insert(at, row);
    picked.push_back(row);
  }
  // Every row the pick moves is noted, so that the stop can put the pool back
  // to what a fresh build gives.
  const bool asBuilt = pool.revision() == data.state.poolBuild.pool;
  std::vector<std::string> moved;
  for (const std::size_t row : picked) moved.push_back(pool.cell(person::kSerial, row));
  pool.moveRowsToEnd(picked);
  const DrawSettings& s = data.settings;
  if (s.predeterminedOn && data.remaining(currentAwardRow(data)) - n < data.state.pendingPredetermined) {
    forcePredetermined(data, static_cast<std::size_t>(n), moved);
  }
  if (s.predeterminedOn || s.blacklistOn) fixBarred(data, static_cast<std::size_t>(n), moved);
  data.state.pickedFromBuild = asBuilt ? pool.revision() : 0;
  data.state.movedByPick = asBuilt ? std::move(moved) : std::vector<std::string>{};
}

void batchRecord(DrawData& data, const EventFolder& folder) {
  const std::size_t award = currentAwardRow(data);
  const std::string& serial = data.state.currentAward;
  const std::string awardName = data.ItemGrid.cell(item::kName, award);
  Table& pool = data.AllNameGrid;
  const int batch = std::min<int>(data.state.batchSize, static_cast<int>(pool.rowCount()) - 1);
  // A pool that was as built at the pick, with nothing changed since, is put
  // back to what a fresh build gives once the winners are recorded.
  const bool keepsBuild = data.state.pickedFromBuild != 0 && data.state.pickedFromBuild == pool.revision() &&
                          data.state.poolBuild.roster == data.AllNameList.revision();
  data.state.pickedFromBuild = 0;
  // The batch's records, first pick first (the last row of the pool first).
  std::vector<Table::Row> records;
  std::vector<std::string> planned;
  std::vector<std::string> winners;
  for (int i = 0; i < batch; ++i) {
    Table::Row record = pool.row(pool.rowCount() - 1 - static_cast<std::size_t>(i));
    record.resize(winner::kColumnCount);
    record[winner::kAwardName] = awardName;
    record[winner::kAwardSerial] = serial;
    planned.push_back(winnerRecordLine(record));
    records.push_back(std::move(record));
  }
  const BatchNote note(folder, data.winnerCount(), planned);
  for (int i = 0; i < batch; ++i) {
    const std::size_t r = pool.rowCount() - 1;
    Table::Row record = std::move(records[static_cast<std::size_t>(i)]);
    const std::string person = record[winner::kSerial];
    const std::string name = record[winner::kName];
    winners.push_back(person);
    try {
      recordWinner(data, folder, std::move(record), award, !data.settings.repeatWinning);
    } catch (const base::FileError& error) {
      std::vector<std::string> unrecorded;
      for (int k = i; k < batch; ++k) unrecorded.push_back(pool.cell(person::kName, pool.rowCount() - 1 - (k - i)));
      raiseRecordFailure(data, error, unrecorded);
    }
    pool.deleteRow(r);
    if (data.settings.predeterminedOn) markPredeterminedDrawn(data, person, serial);
    appendLogLineAfterRecords(data, folder, name);
  }
  if (keepsBuild) keepPoolAfterBatch(data, winners);
  raiseLogFailure(data, folder);
}

void logHeaderIfNewAward(DrawData& data, const EventFolder& folder) {
  if (data.state.currentAward == data.state.lastLoggedAward) return;
  try {
    appendAwardHeader(folder, data, currentAwardRow(data));
  } catch (const base::FileError& error) {
    // The header is tried again with the award's next batch.
    if (data.state.logFailure.empty()) data.state.logFailure = error.reason().empty() ? "写入失败" : error.reason();
    return;
  }
  data.state.lastLoggedAward = data.state.currentAward;
}

std::size_t awardPickAndRecord(DrawData& data, const EventFolder& folder) {
  Table& tickets = data.OderList;
  Table& queue = data.AllNameGrid;
  const int ticketCount = static_cast<int>(tickets.rowCount()) - 1;
  if (ticketCount < 1 || queue.rowCount() < 2) throw std::logic_error("award pick without a ticket or a person");

  std::size_t t = static_cast<std::size_t>(data.random.between(1, ticketCount));
  const std::string head = queue.cell(person::kSerial, 1);
  if (data.settings.predeterminedOn) {
    const Table& detail = data.LuckDetail;
    for (std::size_t r = 1; r < detail.rowCount(); ++r) {
      if (detail.cell(entry::kPerson, r) != head) continue;
      // An entry whose award is gone (removed from the settings after the entry
      // was made) or has no ticket left cannot be honoured without drawing the
      // award past its places; the head then takes the random ticket.
      const int award = base::parseInt(detail.cell(entry::kAward, r)).value_or(0);
      if (data.isAwardRow(award) && data.ticketCount(static_cast<std::size_t>(award)) > 0) {
        tickets.appendRow({std::to_string(award)});
        t = tickets.rowCount() - 1;
      }
      break;
    }
  }

  const auto award = static_cast<std::size_t>(base::toInt(tickets.cell(0, t)));
  const std::string serial = std::to_string(award);
  data.state.currentAward = serial;
  const Table& grid = data.ItemGrid;
  const std::string awardName = grid.cell(item::kName, award);
  appendLogLineAfterRecords(data, folder, std::string(75, '-'));
  appendLogLineAfterRecords(data, folder,
                            "[" + folder.dateTimeText() + "] " + awardName + gbk("一名") + gbk(" (奖品:") +
                                grid.cell(item::kPrize, award) + ")");

  Table::Row record = queue.row(1);
  record.resize(winner::kColumnCount);
  record[winner::kAwardName] = awardName;
  record[winner::kAwardSerial] = serial;
  const std::string name = record[winner::kName];
  const BatchNote note(folder, data.winnerCount(), {winnerRecordLine(record)});
  try {
    recordWinner(data, folder, std::move(record), award, true);
  } catch (const base::FileError& error) {
    raiseRecordFailure(data, error, {name});
  }
  queue.deleteRow(1);
  tickets.deleteRow(t);
  if (data.settings.predeterminedOn) {
    markPredeterminedDrawn(data, head, serial);
    recountPredetermined(data);
  }
  appendLogLineAfterRecords(data, folder, name);
  appendLogLineAfterRecords(data, folder, "");
  raiseLogFailure(data, folder);
  return award;
}

}  // namespace draw
