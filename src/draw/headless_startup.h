#pragma once
// What the headless driver stores at its end in place of the window's exit save.
#include "draw/draw_settings.h"
#include "draw/event_folder.h"

namespace draw {

// The draw-state keys of the exit save: draw mode, rolling mode and the
// predetermined and blacklist switches, written to Config.ini.
void saveDrawStateKeys(const EventFolder& folder, const DrawSettings& settings);

}  // namespace draw
