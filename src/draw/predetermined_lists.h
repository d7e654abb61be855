#pragma once
// The predetermined winners and the blacklist as the "内定设置" dialog edits
// them, with the rules its buttons keep: a person is predetermined at most once;
// a predetermined person has no blacklist row and a blacklisted person no
// predetermined row; a person has at most one blacklist row per award and at
// most one row for every award ("0", "全部"). The draw loads the same sections
// (draw_settings.cpp) when the draw restarts.
#include <cstddef>
#include <string>
#include <vector>

#include "base/ini_file.h"

namespace draw::lists {

// The five stored cells of a row: entry number, roster serial, roster line,
// award serial ("0" in the blacklist: every award), award name.
struct Entry {
  std::string person;      // roster serial, decimal text
  std::string personName;  // the roster line
  std::string award;
  std::string awardName;
};

enum class Outcome {
  Added,
  AlreadyPredetermined,  // line + "已经内定过奖项"
  AlreadyBlacklisted     // line + "已设过黑名单"
};
// The text after the person's line, UTF-8; empty for Added.
const char* outcomeText(Outcome outcome);

class PersonLists {
 public:
  std::vector<Entry> predetermined;
  std::vector<Entry> blacklist;

  // Button "内定>>": refused when the person is predetermined or on the blacklist.
  Outcome predetermine(const Entry& entry);
  // Button "不中某奖>>": refused when the person is predetermined or already
  // barred from that award.
  Outcome bar(const Entry& entry);
  // Button "全部不中>>": bar with award "0", named "全部".
  Outcome barAll(std::string person, std::string personName);

  bool isPredetermined(const std::string& person) const;
  bool isBlacklisted(const std::string& person) const;
  bool isBarredFrom(const std::string& person, const std::string& award) const;
};

// "内定设置" / "内定设置B" keys 1, 2, … up to the first missing or empty value.
// Rows are kept as stored (a row without a person is kept too and dropped at save).
std::vector<Entry> loadPredetermined(const base::IniFile& config);
std::vector<Entry> loadBlacklist(const base::IniFile& config);

struct Switches {
  bool predeterminedOn = false;
  bool hidden = false;
  bool blacklistOn = false;
};
Switches loadSwitches(const base::IniFile& config);

// Removes every numeric key of both sections, writes the rows that name a
// person under 1 … n (entry number = key) and the three switches as "1"/"0".
// One rewrite of the file.
void save(base::IniFile& config, const PersonLists& lists, const Switches& switches);

// The stored row as the grids show it: number, person, name, award, award name.
std::vector<std::string> cells(std::size_t number, const Entry& entry);

// The award an entry stands for now, found by the award name it stores, so that
// an entry follows its award when the awards are reordered: the award at the
// stored serial when it bears that name, else the first award that does. "0"
// (every award) stays "0", and an entry without an award name keeps its serial.
// When no award bears the name, the stored serial (an empty one, which the award
// settings leave when they delete the award, belongs to no award).
// awardNames[k] is the name of award k + 1.
std::string resolveAward(const Entry& entry, const std::vector<std::string>& awardNames);
// Rows whose award is gone: an empty serial, or a name no award bears. Indexes into `entries`.
std::vector<std::size_t> goneAwardRows(const std::vector<Entry>& entries, const std::vector<std::string>& awardNames);

// Rows whose person no longer matches the roster: the serial names no roster
// line, or the line there is not the stored name (the roster was edited since).
// Indexes into `entries`; roster line k is rosterLines[k - 1].
std::vector<std::size_t> staleRows(const std::vector<Entry>& entries, const std::vector<std::string>& rosterLines);

}  // namespace draw::lists
