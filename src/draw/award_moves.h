#pragma once
// What is kept by award serial outside the award rows — the group ranges
// ("奖项分组" <n>_B, <n>_E), the give-up and supplementary counts ("弃奖",
// "补奖" <n>) and the predetermined and blacklist entries ("内定设置",
// "内定设置B") — follows its award when the award settings reorder or delete
// awards. Without this, a range, a count or a person meant for the award that
// stood at serial 2 would pass to whichever award stands there next.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "base/ini_file.h"

namespace draw::awards {

// Old serial (as the rows were stored before the save) → new serial. An old
// serial that is not in the map is an award that was deleted.
using SerialMoves = std::map<std::size_t, std::size_t>;

// Rewrites the keyed entries of `config` after a save of the award rows moved
// them as `moves` says. `oldNames` and `newNames` are the award names before and
// after (index k: serial k + 1). Ranges and counts of a deleted award are
// removed. A predetermined or blacklist entry is found by its award name
// (lists::resolveAward) among the old awards and takes its award's new serial
// and name; one whose award was deleted is left as it stands: it names an
// award that no longer exists, which the draw ignores and the predetermined
// dialog shows in red. Entries nothing moved are not rewritten. Writes within
// the caller's batch if there is one.
void carryAwardEntries(base::IniFile& config, const SerialMoves& moves, const std::vector<std::string>& oldNames,
                       const std::vector<std::string>& newNames);

}  // namespace draw::awards
