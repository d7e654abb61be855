#include "draw/pool.h"

#include <algorithm>
#include <unordered_set>

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "draw/draw_texts.h"

namespace draw {

using texts::gbk;

namespace {

using FoldedSet = std::unordered_set<std::string>;

// The roster serials of the entries that pass `select`, folded for comparison
// without regard to case.
template <typename Select>
FoldedSet entryPeople(const Table& entries, Select select, int* matches = nullptr) {
  FoldedSet people;
  int count = 0;
  for (std::size_t r = 1; r < entries.rowCount(); ++r) {
    if (!select(r)) continue;
    ++count;
    people.insert(base::foldLatinCase(entries.cell(entry::kPerson, r)));
  }
  if (matches) *matches = count;
  return people;
}

bool contains(const FoldedSet& set, const std::string& text) {
  return !set.empty() && set.count(base::foldLatinCase(text)) > 0;
}

// Rows are written over the last build's rows, whose cells hold short names in
// place, so a rebuild of a large pool allocates nothing.
void fillPool(DrawData& data, int first, int last, const FoldedSet& thisAward, const FoldedSet& otherAward) {
  const std::string& c = data.state.currentAward;
  Table& pool = data.AllNameGrid;
  const Table& roster = data.AllNameList;
  std::size_t used = 1;
  for (int k = first; k <= last; ++k) {
    const auto row = static_cast<std::size_t>(k);
    if (roster.cell(person::kFlag, row) != "N") continue;
    const std::string& serial = roster.cell(person::kSerial, row);
    if (used == pool.rowCount()) pool.appendRow();
    pool.setCell(person::kSerial, used, serial);
    pool.setCell(person::kName, used, roster.cell(person::kName, row));
    pool.setCell(person::kDisplayName, used, roster.cell(person::kDisplayName, row));
    if (contains(thisAward, serial))
      pool.setCell(person::kFlag, used, "Y");
    else if (contains(otherAward, serial))
      pool.setCell(person::kFlag, used, "N");
    else
      pool.clearCell(person::kFlag, used);
    ++used;
  }
  pool.setRowCount(used);
  if (!thisAward.empty()) pool.stableMoveToFront([](const Table::Row& row) { return row[person::kFlag] == "Y"; });

  if (data.settings.blacklistOn) {
    const Table& black = data.BlackDetail;
    FoldedSet barred = entryPeople(black, [&](std::size_t r) {
      const std::string& award = black.cell(entry::kAward, r);
      return award == c || award == "0";
    });
    for (std::size_t r = 1; r < pool.rowCount(); ++r) {
      if (contains(barred, pool.cell(person::kSerial, r))) pool.setCell(person::kFlag, r, "N");
    }
  }
}

}  // namespace

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

std::optional<std::string> buildPool(DrawData& data, const base::IniFile& config) {
  const DrawSettings& s = data.settings;
  DrawState& state = data.state;
  const std::string& c = state.currentAward;

  state.pendingPredetermined = 0;
  const auto [first, last] = groupRange(data, config, c);
  state.groupFirst = first;
  state.groupLast = last;

  FoldedSet thisAward;
  FoldedSet otherAward;
  if (s.predeterminedOn) {
    const Table& detail = data.LuckDetail;
    auto pending = [&](std::size_t r) { return detail.cell(entry::kDrawn, r) != "Y"; };
    thisAward = entryPeople(
        detail, [&](std::size_t r) { return pending(r) && detail.cell(entry::kAward, r) == c; },
        &state.pendingPredetermined);
    otherAward = entryPeople(detail, [&](std::size_t r) { return pending(r) && detail.cell(entry::kAward, r) != c; });
  }

  Table& pool = data.AllNameGrid;
  DrawState::PoolBuild build{data.AllNameList.revision(),
                             data.LuckDetail.revision(),
                             data.BlackDetail.revision(),
                             c,
                             first,
                             last,
                             s.predeterminedOn,
                             s.blacklistOn,
                             pool.revision()};
  if (build != state.poolBuild) {
    fillPool(data, first, last, thisAward, otherAward);
    build.pool = pool.revision();
    state.poolBuild = build;
  }

  if (pool.rowCount() > 1) return std::nullopt;
  if (s.awardGroupsOn) {
    const int serial = base::parseInt(c).value_or(0);
    std::string awardName;
    if (data.isAwardRow(serial)) awardName = data.ItemGrid.cell(item::kName, static_cast<std::size_t>(serial));
    return gbk("抽奖名单为空,请检查[参数设置]->[奖项分组]中(") + awardName + gbk(")的范围设置");
  }
  return gbk("抽奖名单为空或全部人员已被抽完,请检查[参数设置]->[抽奖名单]!");
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
