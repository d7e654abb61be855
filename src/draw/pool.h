#pragma once
// Who may be drawn: the candidate pool of the current award (people rolling),
// the queue of people still to draw and the award tickets (award rolling), and
// the recount of the predetermined winners still to draw per award.
//
// A pool of a million people takes tens of milliseconds to write, longer than a
// frame. So a start keeps the pool the last one left whenever a fresh build
// would give the same rows, a stop puts the pool back to what a fresh build
// gives (its winners out, or back in their places with repeat winning on), and
// the pool of an award that needs other rows is written ahead of its first
// start, in slices between the events of the user-interface thread (PoolAhead).
// The rows are always exactly the fresh build's.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "draw/draw_data.h"

namespace draw {

class PoolAhead;

// Pool build for data.state.currentAward: the eligible people of the award's
// group range ("奖项分组" c_B and c_E read from `config`, which is Config.ini
// alone: base::ConfigFiles::openConfigOnly()), predetermined winners
// of the award marked "Y" and moved to the front, people who must not win it
// marked "N". Sets pendingPredetermined and the group range. Returns the
// empty-pool message (GBK) when the pool has no row, else nothing. Keeps the
// working roster when it holds these rows already; finishes the build `ahead`
// when that builds them, and drops it otherwise.
std::optional<std::string> buildPool(DrawData& data, const base::IniFile& config, PoolAhead* ahead = nullptr);

// The roster serials award `award` (its serial as text) is drawn from: with the
// award-group switch on, "奖项分组" award_B … award_E read from `config`
// (Config.ini alone), a bound below 1 meaning that end of the roster, the last
// cut to the roster size; else the whole roster. first > last means nobody.
struct GroupRange {
  int first = 1;
  int last = 0;
};
GroupRange groupRange(const DrawData& data, const base::IniFile& config, const std::string& award);

// The people who may still win `award`: those of its group range not yet marked
// "Y" in the full roster (with repeat winning on, everybody in the range).
int peopleWhoMayWin(const DrawData& data, const base::IniFile& config, const std::string& award);

// Whether the working roster had no data row after the last batch: what the
// award choice asks, also when a build ahead has written over it since.
bool lastPoolEmpty(const DrawData& data);

// After a batch's winners were recorded and taken out of a pool that was as
// built when they were picked: puts the rows the pick moved and the winners who
// stay eligible (repeat winning on) back in their places, so that the pool is
// again what a fresh build gives, and says so in data.state.poolBuild. When
// anything else changed since the pick, leaves the pool to be built afresh.
// `winners` are the batch's roster serials.
void keepPoolAfterBatch(DrawData& data, const std::vector<std::string>& winners);

// The pool of the next start, written over the working roster in slices while
// the draw is idle. The roster serial of full roster row k must be k, as the
// roster load writes it. A change of the full roster or of the working roster
// between two slices drops the build; a build that no longer matches the tables
// at the start is not used (buildPool() then builds the pool itself).
class PoolAhead {
 public:
  PoolAhead();
  ~PoolAhead();
  PoolAhead(const PoolAhead&) = delete;
  PoolAhead& operator=(const PoolAhead&) = delete;

  // Sets out to build the pool of `award` as the tables and `config` give it now,
  // unless the working roster holds it already or this build is under way.
  // Returns whether rows remain to be written.
  bool plan(DrawData& data, const base::IniFile& config, const std::string& award);
  // Goes at most `rows` rows further through the roster. Returns whether rows remain.
  bool step(DrawData& data, std::size_t rows);
  bool pending() const;
  void drop();

 private:
  friend std::optional<std::string> buildPool(DrawData&, const base::IniFile&, PoolAhead*);
  class Fill;
  // Runs the build to its end when it builds `key` and still may; false otherwise.
  bool finish(DrawData& data, const DrawState::PoolBuild& key);
  std::unique_ptr<Fill> fill_;
};

// Queue build: every person not yet marked "Y" in roster order, unmarked; then
// the predetermined recount.
void buildQueue(DrawData& data);

// Award tickets: one row holding the award serial per ticket of every award row.
void buildTickets(DrawData& data);

// 内定人数 of every award = LuckDetail rows with its serial and 是否已中 "N";
// nothing when the predetermined switch is off.
void recountPredetermined(DrawData& data);

}  // namespace draw
