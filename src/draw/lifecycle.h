#pragma once
// The life cycle of the draw data around the draw itself: the start-up steps
// that need no window, the restart and the reset of the draw. The window side
// (single instance, sounds, position load, menus, pictures) runs its own steps
// between these calls, in the order the start-up of the main window gives.
//
// From the first start-up step until the winners record is loaded whole, the
// draw is blocked (DrawState::drawBlocked): a start-up that fails on the way, for
// whatever reason, leaves it blocked with a message saying why and what to do,
// so that no batch is drawn over places the record on disk already holds. A
// reset of the draw, which empties the record, lifts the block when it succeeds.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "draw/draw_data.h"
#include "draw/event_folder.h"

namespace draw {

// What a start-up, restart or reset tells the operator; texts are GBK.
struct LifecycleOutcome {
  std::optional<std::string> hint;     // new text of the action hint, when it changes
  std::optional<std::string> message;  // a message box to show
  // The recorded winners of a batch whose recording a kill or a power cut
  // interrupted (first pick first): the screen shows them as after a stop.
  std::vector<Table::Row> interruptedBatch;
  // Adds a text to the message, after a blank line.
  void addMessage(const std::string& text);
};

// A Yes/No question to the operator (GBK); true for Yes.
using StartupQuestion = std::function<bool(const std::string& text)>;

// The message a blocked draw shows (GBK): `cause` (UTF-8, e.g. a FileError's
// text) and what to do about it.
std::string startupFailureMessage(const std::string& cause);
// The action hint while the draw is blocked (GBK): the space bar shows why.
std::string blockedHint();

// Start-up steps 2, 3 and 7: blocks the draw, checks that the event folder can
// be written (a new file in it, an append to the winners record and the log), seeds the random source from the clock,
// clears the single-award target, finishes a give-up or restart that a crash interrupted (paired_writes.h, its notice
// is the outcome's message) and runs the roster load (a roster that is not GBK text is told once). Raises
// base::FileError for a folder or file that cannot be written and for a missing roster, base::ConversionError for
// damaged settings; the steps after it must not run and the draw stays blocked with the failure's words.
LifecycleOutcome startupLoad(DrawData& data, const EventFolder& folder);

// Start-up steps 9 to 13 and the hint of step 16, run after the position load:
// the repair of a torn last line in LuckName.txt and log.txt, the winners record
// load, the batch a kill interrupted, the queue build in award rolling mode, the
// current award and the action hint. Every notice goes into the outcome's
// message. Lines of the record that are not whole records are dealt with as
// winners_record_check.h sorts them: surplus ones are set aside and told; for
// damaged and unreadable ones `ask` puts the choice to the operator (keep a copy
// and continue, or stop); lines that may hide a record stop the draw. A damaged
// count in the award table gives the award-table message and leaves one empty
// award row. Never raises for the files: a failure leaves the draw blocked, with
// its message in the outcome. Lifts the block when the record is loaded.
LifecycleOutcome startupResume(DrawData& data, const EventFolder& folder, bool firstRun, const StartupQuestion& ask);

// The first award row with places left in the draw order, as decimal text;
// empty when none has. Raises base::ConversionError for a damaged count.
std::string findCurrentAward(const DrawData& data);

// Restart of the draw after the operator agreed (steps 2, 4, 6, 7, 9 and 13):
// empties the winners record, reloads the roster and settings, clears the
// give-up and supplementary counts, and in award rolling mode rebuilds the
// tickets and the queue. The exit save before it and the position load, the
// menus, the pictures and the music are the window's.
LifecycleOutcome restartDraw(DrawData& data, const EventFolder& folder);

// Reset of the draw (steps 4, 6, 7 and 9 of the restart), after a mode change or
// an accepted restart offer. A winners record that cannot be emptied raises
// base::FileError with nothing changed.
LifecycleOutcome resetDraw(DrawData& data, const EventFolder& folder);

}  // namespace draw
