#include "draw/award_moves.h"

#include <algorithm>
#include <optional>

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "draw/draw_data.h"
#include "draw/draw_texts.h"
#include "draw/predetermined_lists.h"

namespace draw::awards {

namespace {

bool nothingMoved(const SerialMoves& moves, std::size_t oldCount) {
  if (moves.size() != oldCount) return false;
  return std::all_of(moves.begin(), moves.end(), [](const auto& move) { return move.first == move.second; });
}

// The serial at the front of a key such as "3", "3_B" or "3_E" and the rest of
// the key; nothing for a key that does not start with digits followed by one of `tails`.
std::optional<std::pair<std::size_t, std::string>> splitKey(const std::string& key,
                                                            const std::vector<std::string>& tails) {
  const std::size_t digits = key.find_first_not_of("0123456789");
  const std::string tail = digits == std::string::npos ? std::string() : key.substr(digits);
  if (std::find(tails.begin(), tails.end(), tail) == tails.end()) return std::nullopt;
  const std::optional<int> serial = base::parseInt(key.substr(0, digits));
  if (!serial || *serial < 1) return std::nullopt;
  return std::make_pair(static_cast<std::size_t>(*serial), tail);
}

void moveKeys(base::IniFile& config, const std::string& section, const std::vector<std::string>& tails,
              const SerialMoves& moves) {
  std::vector<std::pair<std::string, std::string>> moved;  // new key, value
  for (const std::string& key : config.keys(section)) {
    const auto split = splitKey(key, tails);
    if (!split) continue;
    const std::string value = config.readString(section, key, "");
    config.deleteKey(section, key);
    const auto to = moves.find(split->first);
    if (to != moves.end()) moved.emplace_back(std::to_string(to->second) + split->second, value);
  }
  for (const auto& [key, value] : moved) config.writeString(section, key, value);
}

void moveEntries(base::IniFile& config, const std::string& section, const SerialMoves& moves,
                 const std::vector<std::string>& oldNames, const std::vector<std::string>& newNames) {
  for (const std::string& key : config.keys(section)) {
    if (key.empty() || key.find_first_not_of("0123456789") != std::string::npos) continue;
    std::vector<std::string> cells = base::readDelimitedRow(config.readString(section, key, ""), entry::kAwardName + 1);
    cells.resize(entry::kAwardName + 1);
    const lists::Entry entry{cells[entry::kPerson], cells[entry::kPersonName], cells[entry::kAward],
                             cells[entry::kAwardName]};
    if (entry.award == "0") continue;
    const std::optional<int> was = base::parseInt(lists::resolveAward(entry, oldNames));
    if (!was) continue;
    const auto to = moves.find(static_cast<std::size_t>(*was));
    if (to == moves.end()) {
      // Its award was deleted: the entry keeps the name and belongs to no award.
      if (*was >= 1 && static_cast<std::size_t>(*was) <= oldNames.size()) {
        cells[entry::kAward].clear();
        config.writeString(section, key, base::writeDelimitedRow(cells));
      }
      continue;
    }
    const std::string serial = std::to_string(to->second);
    const std::string& name = newNames[to->second - 1];
    if (serial == entry.award && name == entry.awardName) continue;
    cells[entry::kAward] = serial;
    cells[entry::kAwardName] = name;
    config.writeString(section, key, base::writeDelimitedRow(cells));
  }
}

}  // namespace

void carryAwardEntries(base::IniFile& config, const SerialMoves& moves, const std::vector<std::string>& oldNames,
                       const std::vector<std::string>& newNames) {
  base::IniBatch batch(config);
  if (!nothingMoved(moves, oldNames.size())) {
    moveKeys(config, texts::sectionGroups(), {"_B", "_E"}, moves);
    moveKeys(config, texts::sectionGivenUp(), {""}, moves);
    moveKeys(config, texts::sectionSupplementary(), {""}, moves);
  }
  // Entries are looked at even when nothing moved: a renamed award takes its entries' names along.
  moveEntries(config, texts::sectionPredetermined(), moves, oldNames, newNames);
  moveEntries(config, texts::sectionBlacklist(), moves, oldNames, newNames);
}

}  // namespace draw::awards
