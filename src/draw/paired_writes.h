#pragma once
// Give-up and the restart of the draw each change two files: Config.ini (the
// "弃奖" counts) and the winners record LuckName.txt. A crash between the two
// writes would leave a place lost or drawn twice, so each operation writes
// Config.ini first, holding in the same atomic rewrite a note of what the
// winners record must become; then it rewrites the winners record; then it drops
// the note. Start-up completes a note that a crash left behind, before the
// winners record is loaded.
#include <cstddef>
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

// Start-up: finishes the operation a note describes and drops the note. A removal
// is done only when the winners record still holds exactly the noted record at
// its row and one record more than noted; otherwise it already happened. Returns
// true when a note was found. Raises base::FileError when a file cannot be written.
bool finishInterruptedWrites(const EventFolder& folder);

}  // namespace draw
