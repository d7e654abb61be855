#pragma once
// The life cycle of the draw data around the draw itself: the start-up steps
// that need no window, the restart and the reset of the draw. The window side
// (single instance, sounds, position load, menus, pictures) runs its own steps
// between these calls, in the order the start-up of the main window gives.
#include <optional>
#include <string>

#include "draw/draw_data.h"
#include "draw/event_folder.h"

namespace draw {

// What a start-up, restart or reset tells the operator; texts are GBK.
struct LifecycleOutcome {
  std::optional<std::string> hint;     // new text of the action hint, when it changes
  std::optional<std::string> message;  // a message box to show
};

// Start-up steps 2, 3 and 7: seeds the random source from the clock, clears the
// single-award target, finishes a give-up or restart that a crash interrupted
// (paired_writes.h) and runs the roster load. A missing roster file raises
// base::FileError; the steps after it must not run.
void startupLoad(DrawData& data, const EventFolder& folder);

// Start-up steps 9 to 13 and the hint of step 16, run after the position load:
// the repair of a torn last line in LuckName.txt and log.txt (its notice is the
// outcome's message, before any other), winners record load, queue build in award rolling mode, the current award and
// the action hint. A damaged count in the award table gives the award-table
// message and leaves one empty award row. A damaged winners record line raises
// base::ConversionError (the records before it stay).
LifecycleOutcome startupResume(DrawData& data, const EventFolder& folder, bool firstRun);

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
// an accepted restart offer.
LifecycleOutcome resetDraw(DrawData& data, const EventFolder& folder);

}  // namespace draw
