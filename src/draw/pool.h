#pragma once
// Who may be drawn: the candidate pool of the current award (people rolling),
// the queue of people still to draw and the award tickets (award rolling), and
// the recount of the predetermined winners still to draw per award.
#include <optional>
#include <string>

#include "base/ini_file.h"
#include "draw/draw_data.h"

namespace draw {

// Pool build for data.state.currentAward: the eligible people of the award's
// group range ("奖项分组" c_B and c_E read from `config`, which is Config.ini
// alone: base::ConfigFiles::openConfigOnly()), predetermined winners
// of the award marked "Y" and moved to the front, people who must not win it
// marked "N". Sets pendingPredetermined and the group range. Returns the
// empty-pool message (GBK) when the pool has no row, else nothing.
std::optional<std::string> buildPool(DrawData& data, const base::IniFile& config);

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

// Queue build: every person not yet marked "Y" in roster order, unmarked; then
// the predetermined recount.
void buildQueue(DrawData& data);

// Award tickets: one row holding the award serial per ticket of every award row.
void buildTickets(DrawData& data);

// 内定人数 of every award = LuckDetail rows with its serial and 是否已中 "N";
// nothing when the predetermined switch is off.
void recountPredetermined(DrawData& data);

}  // namespace draw
