#pragma once
// Which connected screen the draw screen and the full-screen displays stand on
// when a projector is connected beside the laptop, and where that choice is kept:
// by the screen's name, in the event's Config.ini, so that the same projector is
// found again at the next start of the same event.
#include <string>
#include <vector>

#include "base/ini_file.h"

namespace screen {

// A connected screen as the choice sees it.
struct ConnectedScreen {
  std::string name;  // the system's name of the output (e.g. "HDMI-1")
  int width = 0;
  int height = 0;
  bool primary = false;  // the laptop's own screen, where the desktop puts its panels
};

// Index into `screens` of the screen the draw screen stands on: the stored one
// while it is connected; else the largest (by area; the first of equal ones) that
// is not the primary; with one screen, that one. -1 when the list is empty.
int chooseStageScreen(const std::vector<ConnectedScreen>& screens, const std::string& storedName);

// Index of the screen the console stands on: the primary when the stage is not
// on it, else the first other screen; -1 with fewer than two screens.
int chooseConsoleScreen(const std::vector<ConnectedScreen>& screens, int stage);

// The stored screen name (UTF-8); empty when none was chosen.
std::string storedStageScreen(const base::IniFile& config);
// Keeps the chosen screen's name. Raises base::FileError when Config.ini cannot be written.
void storeStageScreen(base::IniFile& config, const std::string& name);

}  // namespace screen
