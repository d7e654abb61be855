#pragma once
// Give-up and the restart of the draw each change two files: Config.ini (the
// "弃奖" counts) and the winners record LuckName.txt. A crash between the two
// writes would leave a place lost or drawn twice, so each operation writes
// Config.ini first, holding in the same atomic rewrite a note of what the
// winners record must become; then it rewrites the winners record; then it drops
// the note. Start-up completes a note that a crash left behind, before the
// winners record is loaded, and says so.
//
// When the winners record cannot be written (an immutable or read-only file, a
// full disk) the operation has not happened: Config.ini is put back as it was,
// note and counts, so that no later start-up completes it behind the operator's
// back. Only when even that fails does the note stay, and the operator is told
// at once that the next start-up will complete the operation.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "base/ini_file.h"
#include "draw/event_folder.h"

namespace draw {

// The section that holds the note ("未完成操作"), GBK.
const std::string& unfinishedSection();

// Notes that record `line`, now at 1-based row `row` of the winners record, is
// to be removed, leaving `recordsAfter` records.
void noteWinnerRemoval(base::IniFile& config, std::size_t row, const std::string& line, std::size_t recordsAfter);
// Notes that the winners record is to be emptied.
void noteWinnersRecordCleared(base::IniFile& config);
void dropNote(base::IniFile& config);

// Runs one paired operation: `changeConfig` writes Config.ini (counts and note,
// in one rewrite), then `writeRecord` the winners record, then the note is
// dropped. A failure of `changeConfig` is raised as it is. A failure of
// `writeRecord` puts Config.ini back and raises that failure (base::FileError);
// when Config.ini cannot be put back either, the raised FileError says that the
// next start-up will complete the operation. `what` names the operation (UTF-8,
// "弃奖").
void pairedWrite(const EventFolder& folder, const std::function<void(base::IniFile&)>& changeConfig,
                 const std::function<void()>& writeRecord, const std::string& what);

// Start-up: finishes the operation a note describes and drops the note. A removal
// is done only when the winners record still holds exactly the noted record at
// its row and one record more than noted; otherwise it already happened. Returns
// what it finished, in words for the operator (GBK), or nothing when there was no
// note. Raises base::FileError when a file cannot be written.
std::optional<std::string> finishInterruptedWrites(const EventFolder& folder);

}  // namespace draw
