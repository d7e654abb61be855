#include "draw/predetermined_lists.h"

#include <algorithm>

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "base/gbk.h"
#include "draw/config_keys.h"
#include "draw/draw_data.h"
#include "draw/draw_texts.h"

namespace draw::lists {

using base::gbk;

namespace {

bool isAllBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// The row format reads an empty cell back as " ": an empty roster line is stored that way.
bool sameLine(const std::string& rosterLine, const std::string& stored) {
  return rosterLine == stored || (rosterLine.empty() && stored == " ");
}

std::vector<Entry> loadSection(const base::IniFile& config, const std::string& section) {
  std::vector<Entry> entries;
  for (std::size_t r = 1;; ++r) {
    const std::string value = config.readString(section, std::to_string(r), "");
    if (value.empty()) break;
    std::vector<std::string> row = base::readDelimitedRow(value, entry::kAwardName + 1);
    row.resize(entry::kAwardName + 1);
    entries.push_back({row[entry::kPerson], row[entry::kPersonName], row[entry::kAward], row[entry::kAwardName]});
  }
  return entries;
}

void saveSection(base::IniFile& config, const std::string& section, const std::vector<Entry>& entries) {
  for (const std::string& key : config.keys(section))
    if (texts::isRowKey(key)) config.deleteKey(section, key);
  std::size_t number = 0;
  for (const Entry& e : entries) {
    if (isAllBlank(e.person)) continue;
    ++number;
    config.writeString(section, std::to_string(number), base::writeDelimitedRow(cells(number, e)));
  }
}

}  // namespace

const char* outcomeText(Outcome outcome) {
  switch (outcome) {
    case Outcome::Added:
      return "";
    case Outcome::AlreadyPredetermined:
      return "已经内定过奖项";
    case Outcome::AlreadyBlacklisted:
      return "已设过黑名单";
  }
  return "";
}

bool PersonLists::isPredetermined(const std::string& person) const {
  return std::any_of(predetermined.begin(), predetermined.end(), [&](const Entry& e) { return e.person == person; });
}

bool PersonLists::isBlacklisted(const std::string& person) const {
  return std::any_of(blacklist.begin(), blacklist.end(), [&](const Entry& e) { return e.person == person; });
}

bool PersonLists::isBarredFrom(const std::string& person, const std::string& award) const {
  return std::any_of(blacklist.begin(), blacklist.end(),
                     [&](const Entry& e) { return e.person == person && e.award == award; });
}

Outcome PersonLists::predetermine(const Entry& entry) {
  if (isPredetermined(entry.person)) return Outcome::AlreadyPredetermined;
  if (isBlacklisted(entry.person)) return Outcome::AlreadyBlacklisted;
  predetermined.push_back(entry);
  return Outcome::Added;
}

Outcome PersonLists::bar(const Entry& entry) {
  if (isPredetermined(entry.person)) return Outcome::AlreadyPredetermined;
  if (isBarredFrom(entry.person, entry.award)) return Outcome::AlreadyBlacklisted;
  blacklist.push_back(entry);
  return Outcome::Added;
}

Outcome PersonLists::barAll(std::string person, std::string personName) {
  return bar({std::move(person), std::move(personName), "0", gbk("全部")});
}

std::vector<Entry> loadPredetermined(const base::IniFile& config) {
  return loadSection(config, texts::sectionPredetermined());
}

std::vector<Entry> loadBlacklist(const base::IniFile& config) { return loadSection(config, texts::sectionBlacklist()); }

Switches loadSwitches(const base::IniFile& config) {
  return {readKey(config, keys::kPredeterminedOn), readKey(config, keys::kOtherSettingsHidden),
          readKey(config, keys::kBlacklistOn)};
}

void save(base::IniFile& config, const PersonLists& lists, const Switches& switches) {
  base::IniBatch batch(config);
  saveSection(config, texts::sectionPredetermined(), lists.predetermined);
  saveSection(config, texts::sectionBlacklist(), lists.blacklist);
  writeKey(config, keys::kPredeterminedOn, switches.predeterminedOn);
  writeKey(config, keys::kOtherSettingsHidden, switches.hidden);
  writeKey(config, keys::kBlacklistOn, switches.blacklistOn);
}

std::vector<std::string> cells(std::size_t number, const Entry& entry) {
  return {std::to_string(number), entry.person, entry.personName, entry.award, entry.awardName};
}

std::vector<std::size_t> staleRows(const std::vector<Entry>& entries, const std::vector<std::string>& rosterLines) {
  std::vector<std::size_t> stale;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    if (isAllBlank(e.person)) continue;
    const std::optional<int> serial = base::parseInt(e.person);
    const bool matches = serial && *serial >= 1 && static_cast<std::size_t>(*serial) <= rosterLines.size() &&
                         sameLine(rosterLines[static_cast<std::size_t>(*serial) - 1], e.personName);
    if (!matches) stale.push_back(i);
  }
  return stale;
}

std::string resolveAward(const Entry& entry, const std::vector<std::string>& awardNames) {
  if (entry.award == "0" || isAllBlank(entry.awardName)) return entry.award;
  const std::optional<int> stored = base::parseInt(entry.award);
  if (stored && *stored >= 1 && static_cast<std::size_t>(*stored) <= awardNames.size() &&
      awardNames[static_cast<std::size_t>(*stored) - 1] == entry.awardName)
    return std::to_string(*stored);
  const auto named = std::find(awardNames.begin(), awardNames.end(), entry.awardName);
  // A name no award bears (a file written by hand): the serial as stored. The
  // award settings empty the serial of an entry whose award they delete.
  if (named == awardNames.end()) return entry.award;
  return std::to_string(named - awardNames.begin() + 1);
}

std::vector<std::size_t> goneAwardRows(const std::vector<Entry>& entries, const std::vector<std::string>& awardNames) {
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (!isAllBlank(entries[i].person) && entries[i].award != "0" &&
        (isAllBlank(entries[i].award) ||
         (!isAllBlank(entries[i].awardName) &&
          std::find(awardNames.begin(), awardNames.end(), entries[i].awardName) == awardNames.end())))
      rows.push_back(i);
  return rows;
}

}  // namespace draw::lists
