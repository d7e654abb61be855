#pragma once
// The start-up of the main window as far as it needs no window: what the
// headless driver and the engine's whole-event tests run in place of the
// window's start-up.
#include "draw/draw_data.h"
#include "draw/event_folder.h"
#include "draw/headless_view.h"
#include "draw/luck.h"

namespace draw {

// Settles a settings file that is not the program's own (asking the view), seeds
// the random source, loads the sounds and starts the background music, loads the
// roster, clears the first-run flag as the position load does, loads the winners
// record (asking the view about damaged lines), shows the batch a kill
// interrupted, finds the current award, sets the hint and builds the
// single-award menu. Returns false when the draw is blocked (a missing roster, a
// folder that cannot be written, a winners record that cannot be read whole) or
// the settings file was declined; its message has been shown then.
bool headlessStartup(DrawData& data, const EventFolder& folder, HeadlessView& view, Luck& luck);

// The draw-state keys of the exit save: draw mode, rolling mode and the
// predetermined and blacklist switches, written to Config.ini.
void saveDrawStateKeys(const EventFolder& folder, const DrawSettings& settings);

}  // namespace draw
