#pragma once
// The start-up of the main window as far as it needs no window: what the
// headless driver and the engine's whole-event tests run in place of the
// window's start-up.
#include "draw/draw_data.h"
#include "draw/event_folder.h"
#include "draw/headless_view.h"
#include "draw/luck.h"

namespace draw {

// Seeds the random source, loads the sounds and starts the background music,
// loads the roster, clears the first-run flag as the position load does, loads
// the winners record, finds the current award, sets the hint and builds the
// single-award menu. A missing roster or a damaged winners record shows its
// message and ends the start-up there; returns false then.
bool headlessStartup(DrawData& data, const EventFolder& folder, HeadlessView& view, Luck& luck);

// The draw-state keys of the exit save: draw mode, rolling mode and the
// predetermined and blacklist switches, written to Config.ini.
void saveDrawStateKeys(const EventFolder& folder, const DrawSettings& settings);

}  // namespace draw
