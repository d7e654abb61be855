#include "draw/pool.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "draw/draw_texts.h"

namespace draw {

using base::gbk;

namespace {

using Serials = std::vector<std::string>;  // folded, sorted, without repeats

// The roster serials of the entries that pass `select`, folded for comparison
// without regard to case.
template <typename Select>
Serials entryPeople(const Table& entries, Select select, int* matches = nullptr) {
  Serials people;
  int count = 0;
  for (std::size_t r = 1; r < entries.rowCount(); ++r) {
    if (!select(r)) continue;
    ++count;
    people.push_back(base::foldLatinCase(entries.cell(entry::kPerson, r)));
  }
  std::sort(people.begin(), people.end());
  people.erase(std::unique(people.begin(), people.end()), people.end());
  if (matches) *matches = count;
  return people;
}

bool contains(const Serials& serials, const std::string& serial) {
  return !serials.empty() && std::binary_search(serials.begin(), serials.end(), base::foldLatinCase(serial));
}

// The people the marks of award `c`'s pool single out, into `key`; the number of
// its predetermined entries not yet drawn.
int markLists(const DrawData& data, const std::string& c, DrawState::PoolBuild& key) {
  int pending = 0;
  key.thisAward.clear();
  key.otherAward.clear();
  key.barred.clear();
  if (data.settings.predeterminedOn) {
    const Table& detail = data.LuckDetail;
    auto undrawn = [&](std::size_t r) { return detail.cell(entry::kDrawn, r) != "Y"; };
    key.thisAward = entryPeople(
        detail, [&](std::size_t r) { return undrawn(r) && detail.cell(entry::kAward, r) == c; }, &pending);
    key.otherAward =
        entryPeople(detail, [&](std::size_t r) { return undrawn(r) && detail.cell(entry::kAward, r) != c; });
  }
  if (data.settings.blacklistOn) {
    const Table& black = data.BlackDetail;
    key.barred = entryPeople(black, [&](std::size_t r) {
      const std::string& award = black.cell(entry::kAward, r);
      return award == c || award == "0";
    });
  }
  return pending;
}

DrawState::PoolBuild poolKey(const DrawData& data, const base::IniFile& config, const std::string& award,
                             int* pending) {
  DrawState::PoolBuild key;
  key.roster = data.AllNameList.revision();
  const GroupRange range = groupRange(data, config, award);
  key.first = range.first;
  key.last = range.last;
  const int count = markLists(data, award, key);
  if (pending) *pending = count;
  return key;
}

// The full roster row whose serial is `serial` (folded): row k holds serial k.
std::optional<std::size_t> rosterRowOf(const DrawData& data, const std::string& serial) {
  const std::optional<long long> k = base::parseInt(serial);
  if (!k || !data.isRosterRow(*k)) return std::nullopt;
  const auto row = static_cast<std::size_t>(*k);
  if (base::foldLatinCase(data.AllNameList.cell(person::kSerial, row)) != serial) return std::nullopt;
  return row;
}

// The full roster rows of `serials` within first … last, ascending.
std::vector<std::size_t> rosterRows(const DrawData& data, const Serials& serials, int first, int last) {
  std::vector<std::size_t> rows;
  for (const std::string& serial : serials) {
    const std::optional<std::size_t> row = rosterRowOf(data, serial);
    if (row && static_cast<long long>(*row) >= first && static_cast<long long>(*row) <= last) rows.push_back(*row);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Walks an ascending list along an ascending roster row: whether `row` is in it.
bool reaches(const std::vector<std::size_t>& rows, std::size_t& at, std::size_t row) {
  while (at < rows.size() && rows[at] < row) ++at;
  return at < rows.size() && rows[at] == row;
}

constexpr std::size_t kAllRows = std::numeric_limits<std::size_t>::max();

}  // namespace

// The pool build itself: the award's predetermined winners first, then everyone
// else of the range, both in roster order, each eligible row written over the
// working roster's rows in place (their cells hold short names in place, so a
// rebuild allocates nothing), a slice of rows at a time.
class PoolAhead::Fill {
 public:
  Fill(const DrawData& data, DrawState::PoolBuild key) : key_(std::move(key)) {
    front_ = rosterRows(data, key_.thisAward, key_.first, key_.last);
    other_ = rosterRows(data, key_.otherAward, key_.first, key_.last);
    barred_ = rosterRows(data, key_.barred, key_.first, key_.last);
    next_ = static_cast<std::size_t>(std::max(key_.first, 1));
  }

  const DrawState::PoolBuild& key() const { return key_; }
  bool started() const { return written_ != 0; }
  // Nobody changed the full roster since the plan or the working roster since the last slice.
  bool current(const DrawData& data) const {
    return data.AllNameList.revision() == key_.roster && (!started() || data.AllNameGrid.revision() == written_);
  }

  // Looks at most `budget` roster rows; true when the build is complete.
  bool run(DrawData& data, std::size_t budget) {
    const Table& roster = data.AllNameList;
    Table& pool = data.AllNameGrid;
    const auto last = static_cast<std::size_t>(std::max(key_.last, 0));
    auto write = [&](std::size_t k, const char* mark) {
      const Table::Row& person = roster.row(k);
      if (used_ == pool.rowCount()) pool.appendRow();
      pool.editRow(used_, [&](Table::Row& row) {
        row[person::kSerial] = person[person::kSerial];
        row[person::kName] = person[person::kName];
        row[person::kDisplayName] = person[person::kDisplayName];
        row[person::kFlag] = mark;
      });
      ++used_;
    };
    for (; frontAt_ < front_.size() && budget > 0; ++frontAt_, --budget) {
      const std::size_t k = front_[frontAt_];
      if (roster.cell(person::kFlag, k) != "N") continue;
      std::size_t at = 0;
      write(k, reaches(barred_, at, k) ? "N" : "Y");
    }
    for (; next_ <= last && budget > 0; ++next_, --budget) {
      const std::size_t k = next_;
      if (roster.cell(person::kFlag, k) != "N" || reaches(front_, frontSkip_, k)) continue;
      write(k, reaches(other_, otherAt_, k) || reaches(barred_, barredAt_, k) ? "N" : "");
    }
    const bool complete = frontAt_ == front_.size() && next_ > last;
    if (complete) {
      pool.setRowCount(used_);
      data.state.poolBuild = key_;
      data.state.poolBuild.pool = pool.revision();
      data.state.pickedFromBuild = 0;
      data.state.movedByPick.clear();
    }
    written_ = pool.revision();
    return complete;
  }

 private:
  DrawState::PoolBuild key_;
  std::vector<std::size_t> front_;   // roster rows of the award's predetermined winners
  std::vector<std::size_t> other_;   // … of other awards' predetermined winners
  std::vector<std::size_t> barred_;  // … of the barred
  std::size_t frontAt_ = 0;          // the next of front_ to write
  std::size_t next_ = 1;             // the next roster row after the front
  std::size_t frontSkip_ = 0, otherAt_ = 0, barredAt_ = 0;
  std::size_t used_ = 1;       // the working roster row written next
  std::uint64_t written_ = 0;  // the working roster's revision after the last slice
};

PoolAhead::PoolAhead() = default;
PoolAhead::~PoolAhead() = default;

bool PoolAhead::pending() const { return fill_ != nullptr; }
void PoolAhead::drop() { fill_.reset(); }

bool PoolAhead::plan(DrawData& data, const base::IniFile& config, const std::string& award) {
  DrawState::PoolBuild key = poolKey(data, config, award, nullptr);
  key.pool = data.AllNameGrid.revision();
  if (key == data.state.poolBuild) {
    drop();
    return false;
  }
  key.pool = 0;
  if (fill_ && fill_->key() == key && fill_->current(data)) return true;
  fill_ = std::make_unique<Fill>(data, std::move(key));
  return true;
}

bool PoolAhead::step(DrawData& data, std::size_t rows) {
  if (!fill_) return false;
  if (!fill_->current(data)) {
    drop();
    return false;
  }
  DrawState& state = data.state;
  const bool first = !fill_->started();
  if (first) state.poolBeforeAhead.empty = lastPoolEmpty(data);
  const bool complete = fill_->run(data, std::max<std::size_t>(rows, 1));
  state.poolBeforeAhead.revisionAfter = data.AllNameGrid.revision();
  if (complete) drop();
  return !complete;
}

bool PoolAhead::finish(DrawData& data, const DrawState::PoolBuild& key) {
  if (!fill_ || fill_->key() != key || !fill_->current(data)) return false;
  fill_->run(data, kAllRows);
  drop();
  return true;
}

bool lastPoolEmpty(const DrawData& data) {
  const DrawState::PoolBeforeAhead& before = data.state.poolBeforeAhead;
  if (before.revisionAfter != 0 && before.revisionAfter == data.AllNameGrid.revision()) return before.empty;
  return data.AllNameGrid.rowCount() < 2;
}

GroupRange groupRange(const DrawData& data, const base::IniFile& config, const std::string& award) {
  const int rosterSize = static_cast<int>(data.rosterSize());
  GroupRange range{1, rosterSize};
  if (data.settings.awardGroupsOn) {
    const int b = config.readInt(texts::sectionGroups(), award + "_B", 0);
    const int e = config.readInt(texts::sectionGroups(), award + "_E", 0);
    range.first = b < 1 ? 1 : b;
    range.last = e < 1 ? rosterSize : std::min(e, rosterSize);
  }
  return range;
}

int peopleWhoMayWin(const DrawData& data, const base::IniFile& config, const std::string& award) {
  const GroupRange range = groupRange(data, config, award);
  int count = 0;
  for (int k = range.first; k <= range.last; ++k)
    count += data.AllNameList.cell(person::kFlag, static_cast<std::size_t>(k)) == "N";
  return count;
}

std::optional<std::string> buildPool(DrawData& data, const base::IniFile& config, PoolAhead* ahead) {
  DrawState& state = data.state;
  const std::string& c = state.currentAward;

  DrawState::PoolBuild key = poolKey(data, config, c, &state.pendingPredetermined);
  state.groupFirst = key.first;
  state.groupLast = key.last;

  Table& pool = data.AllNameGrid;
  key.pool = pool.revision();
  if (key != state.poolBuild) {
    key.pool = 0;
    if (!ahead || !ahead->finish(data, key)) PoolAhead::Fill(data, std::move(key)).run(data, kAllRows);
  }
  if (ahead) ahead->drop();
  // The working roster is the current award's pool now: its rows tell.
  state.poolBeforeAhead = {};

  if (pool.rowCount() > 1) return std::nullopt;
  if (data.settings.awardGroupsOn) {
    const int serial = base::parseInt(c).value_or(0);
    std::string awardName;
    if (data.isAwardRow(serial)) awardName = data.ItemGrid.cell(item::kName, static_cast<std::size_t>(serial));
    return gbk("抽奖名单为空,请检查[参数设置]->[奖项分组]中(") + awardName + gbk(")的范围设置");
  }
  return gbk("抽奖名单为空或全部人员已被抽完,请检查[参数设置]->[抽奖名单]!");
}

namespace {

// Winners and barred moved by a pick stand out of roster order until they are
// put back: the place of full roster row `k` in the pool, its predetermined
// winners of the award first, then the others, each group in roster order.
void insertInPlace(DrawData& data, const DrawState::PoolBuild& key, std::size_t k, std::size_t& frontRows) {
  Table& pool = data.AllNameGrid;
  const Table::Row& person = data.AllNameList.row(k);
  const std::string& serial = person[person::kSerial];
  const bool front = contains(key.thisAward, serial);
  const char* mark = contains(key.barred, serial) ? "N" : front ? "Y" : contains(key.otherAward, serial) ? "N" : "";
  std::size_t low = front ? 1 : 1 + frontRows;
  std::size_t high = front ? 1 + frontRows : pool.rowCount();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const long long there = base::parseInt(pool.cell(person::kSerial, middle)).value_or(0);
    if (there < static_cast<long long>(k))
      low = middle + 1;
    else
      high = middle;
  }
  pool.insertRow(low, {serial, person[person::kName], person[person::kDisplayName], mark});
  if (front) ++frontRows;
}

bool sameApartFrom(const Serials& a, const Serials& b, const std::unordered_set<std::string>& people) {
  auto others = [&](const Serials& list) {
    Serials kept;
    for (const auto& serial : list)
      if (!people.count(serial)) kept.push_back(serial);
    return kept;
  };
  return others(a) == others(b);
}

}  // namespace

void keepPoolAfterBatch(DrawData& data, const std::vector<std::string>& winners) {
  DrawState& state = data.state;
  DrawState::PoolBuild& build = state.poolBuild;
  Table& pool = data.AllNameGrid;
  const std::vector<std::string> moved = std::move(state.movedByPick);
  state.movedByPick.clear();
  state.pickedFromBuild = 0;

  // The record changed the marks of its winners alone (their predetermined
  // entries are drawn now); any other change since the build asks for a new one.
  DrawState::PoolBuild now = build;
  markLists(data, state.currentAward, now);
  std::unordered_set<std::string> won;
  for (const auto& serial : winners) won.insert(base::foldLatinCase(serial));
  if (!sameApartFrom(build.thisAward, now.thisAward, won) || !sameApartFrom(build.otherAward, now.otherAward, won) ||
      !sameApartFrom(build.barred, now.barred, won)) {
    build.pool = 0;
    return;
  }

  // The rows the pick moved and that did not win wait just before where the
  // winners stood; they are found from the end.
  std::unordered_set<std::string> displaced;
  for (const auto& serial : moved)
    if (!won.count(base::foldLatinCase(serial))) displaced.insert(serial);
  std::vector<std::size_t> putBack;
  for (std::size_t r = pool.rowCount() - 1; r >= 1 && !displaced.empty(); --r) {
    const std::string& serial = pool.cell(person::kSerial, r);
    if (!displaced.erase(serial)) continue;
    const std::optional<std::size_t> row = rosterRowOf(data, base::foldLatinCase(serial));
    if (!row) break;
    putBack.push_back(*row);
    pool.deleteRow(r);
  }
  if (!displaced.empty()) {
    build.pool = 0;
    return;
  }
  for (const auto& serial : winners) {
    const std::optional<std::size_t> row = rosterRowOf(data, base::foldLatinCase(serial));
    if (row && data.AllNameList.cell(person::kFlag, *row) == "N") putBack.push_back(*row);
  }

  std::size_t frontRows = 0;
  while (frontRows + 1 < pool.rowCount() && contains(now.thisAward, pool.cell(person::kSerial, frontRows + 1)))
    ++frontRows;
  for (const std::size_t k : putBack) insertInPlace(data, now, k, frontRows);

  now.roster = data.AllNameList.revision();
  now.pool = pool.revision();
  build = std::move(now);
}

void buildQueue(DrawData& data) {
  Table& queue = data.AllNameGrid;
  const Table& roster = data.AllNameList;
  queue.setRowCount(1);
  queue.reserve(roster.rowCount());
  for (std::size_t k = 1; k < roster.rowCount(); ++k) {
    if (roster.cell(person::kFlag, k) == "Y") continue;
    queue.appendRow(
        {roster.cell(person::kSerial, k), roster.cell(person::kName, k), roster.cell(person::kDisplayName, k), ""});
  }
  recountPredetermined(data);
}

void buildTickets(DrawData& data) {
  Table& tickets = data.OderList;
  tickets.setRowCount(1);
  tickets.setCell(0, 0, gbk("剩余奖项编号"));
  for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
    const int count = data.ticketCount(r);
    const std::string serial = std::to_string(r);
    for (int i = 0; i < count; ++i) tickets.appendRow({serial});
  }
}

void recountPredetermined(DrawData& data) {
  if (!data.settings.predeterminedOn) return;
  for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
    const std::string serial = std::to_string(r);
    int count = 0;
    for (std::size_t e = 1; e < data.LuckDetail.rowCount(); ++e) {
      if (data.LuckDetail.cell(entry::kAward, e) == serial && data.LuckDetail.cell(entry::kDrawn, e) == "N") ++count;
    }
    data.setCount(r, item::kPredetermined, count);
  }
}

}  // namespace draw
