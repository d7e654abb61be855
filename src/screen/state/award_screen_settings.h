#pragma once
// The settings beside the award grid of the award settings dialog, as they stand
// in "界面设置": read with the dialog's own defaults (which are not the main
// settings load's) and written in the dialog's value forms and key order. The
// ten show ticks are not read here: the dialog takes them from the menu.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "base/ini_file.h"
#include "draw/draw_data.h"
#include "screen/state/screen_model.h"

namespace screen {

struct AwardScreenSettings {
  int rollingSpeed = -5;  // track bar position -5 … 5; interval 120 + 20 × position
  bool speedRamp = false;
  int drawOrder = 0;
  bool privacyOn = false;
  std::string privacyBegin = "2";  // edit texts, stored as typed
  std::string privacyEnd = "3";
  bool repeatWinning = false;
  bool groupDisplay = false;
  bool awardPreparation = false;
  std::array<bool, kShowTickCount> showTicks{};
  bool autoStop = false;
  std::string autoStopSeconds = "10";
  bool autoStart = false;
  std::string autoStartSeconds = "10";
};

// Rolling interval in milliseconds of a track bar position.
inline int rollingIntervalOf(int position) { return 120 + 20 * position; }

// Everything but the show ticks, which stay as given.
void loadAwardScreenSettings(const base::IniFile& config, AwardScreenSettings& settings);

// The (key, value) pairs of "界面设置" in the order the dialog writes them;
// booleans as "-1"/"0", the two auto switches as "1"/"0". GBK.
std::vector<std::pair<std::string, std::string>> awardScreenEntries(const AwardScreenSettings& settings);

// Writes the entries in that order, in one rewrite of the file.
void saveAwardScreenSettings(base::IniFile& config, const AwardScreenSettings& settings);

// What a save hands the draw at once: the two auto switches and their seconds.
// Raises base::ConversionError when a seconds text is not a whole number; the
// switches are set by then, the seconds of neither field are.
void applyAwardScreenSettings(const AwardScreenSettings& settings, draw::DrawSettings& draw);

}  // namespace screen
