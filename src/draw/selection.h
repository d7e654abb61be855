#pragma once
// Winner selection and recording. In people rolling mode the winners of a batch
// are fixed when the batch starts (batchPick) and recorded when it stops
// (batchRecord); in award rolling mode the head of the queue is given an award
// at the stop (awardPickAndRecord).
#include <cstddef>

#include "draw/draw_data.h"
#include "draw/event_folder.h"

namespace draw {

// Picks data.state.batchSize winners of the pool of the current award: a partial
// shuffle moves them to the last rows, predetermined winners are forced in when
// the places left would otherwise not suffice, and people marked "N" are swapped
// for unmarked candidates from outside the winners' rows, chosen at random,
// while there are any.
// Requires the pool build to have run and 0 ≤ batchSize ≤ pool size.
void batchPick(DrawData& data);

// Records the last batchSize rows of the pool as winners of the current award,
// first pick first: winners table, 已抽取人数, eligibility (repeat winning off),
// the winners record line, LuckDetail and the draw log line. Each winner's
// record line is on disk (synced) before the tables take the winner, and before
// the log line; while they are written a note tells a later start-up which
// records the batch was writing (batch_note.h): it is the only record of who won, so a log that cannot be
// written must not keep a winner out of it. A record that cannot be written ends
// the batch with the file and the tables agreeing on the winners so far and
// raises base::FileError naming the winners left unrecorded; a log line that
// cannot be written is raised (base::FileError on log.txt) only after every
// record of the batch is on disk. The header block of the draw log is the
// caller's (logHeaderIfNewAward).
void batchRecord(DrawData& data, const EventFolder& folder);

// Writes the award's header block to the draw log when the current award is not
// the last logged award, then makes it the last logged award. When the log
// cannot be written the failure waits for batchRecord to raise it, and the
// header is tried again at the award's next batch.
void logHeaderIfNewAward(DrawData& data, const EventFolder& folder);

// Award rolling stop: draws a ticket (a predetermined head gets the award of
// its entry while that award has a ticket left), makes that award current, logs and records the head as its
// winner, removes the head from the queue and the ticket from the tickets.
// Returns the award serial won. Requires at least one ticket and one person in
// the queue (raises std::logic_error otherwise, with nothing changed).
std::size_t awardPickAndRecord(DrawData& data, const EventFolder& folder);

}  // namespace draw
