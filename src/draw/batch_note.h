#pragma once
// A batch's winners reach the screen before their records reach the disk, one
// synced line at a time. A kill or a power cut in between leaves records on disk
// that the audience may never have seen (the screen still showed the batch
// before), and a restart that shows nothing of them. So before its first record
// a batch leaves a note beside the winners record ("LuckName.txt.pending": how
// many records came before it and the lines it is about to write), and takes it
// away when its records are written. The next start-up that finds the note shows
// the batch's recorded winners again and says the batch was interrupted.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "draw/draw_data.h"
#include "draw/event_folder.h"

namespace draw {

// Writes the note (atomically, synced). Raises base::FileError.
void noteBatch(const EventFolder& folder, std::size_t recordsBefore, const std::vector<std::string>& lines);
// Takes the note away; a note that cannot be removed is harmless (the next
// start-up finds it no longer matching the record), so this never raises.
void dropBatchNote(const EventFolder& folder) noexcept;

struct InterruptedBatch {
  std::vector<Table::Row> recorded;  // the batch's records on disk, first pick first
  std::size_t planned = 0;           // winners the batch was to record
};

// Start-up, after the winners record is loaded: the batch a note describes, when
// the winners table holds exactly the records before it and then the first of
// its lines (a note left from an earlier batch, or one that a give-up or a
// repair has since overtaken, matches nothing). Takes the note away.
std::optional<InterruptedBatch> takeInterruptedBatch(const EventFolder& folder, const DrawData& data);

}  // namespace draw
