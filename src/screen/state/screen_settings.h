#pragma once
// The three routines that move the draw screen's state between the model and
// the configuration files: the main settings load (its screen steps; the draw
// engine reads the draw-state keys, the award table and the predetermined and
// blacklist tables in its own load), the position load and the exit save.
//
// Where a loader default in the key tables is the missing marker 99999, the
// model takes the window's design-time value instead (label colours and
// charsets, names per line 5): a marker applied as it is would show a colour
// nobody chose or break the big frame into one endless line.
#include <string>
#include <string_view>

#include "base/config_files.h"
#include "draw/config_keys.h"
#include "screen/state/screen_model.h"

namespace screen {

// Reads Config.ini (SysConfig.ini while Config.ini is missing): the
// resolution-change flag, background and logo names and files, the menu modes, the show
// ticks, the eight labels' fonts, effects and titles, the clock's place, the
// elements' visibility and the frame font. Only reads.
void loadMainSettings(const base::ConfigFiles& files, const Display& display, ScreenModel& model);

// Reads the first-run flag, the labels' and prize picture's places, the position
// lock and the names per line from Config.ini (or SysConfig.ini), hides the frames
// and resets the captions the draw fills. Writes the first-run flag back as false
// into the file it read; that write comes after the model is complete, so when it
// fails (base::FileError) the screen is still fully placed.
void loadPositions(const base::ConfigFiles& files, const Display& display, ScreenModel& model);

// The draw engine's values that the exit save stores beside the screen's.
using DrawStateForSave = draw::StoredDrawState;

// Writes the screen state into Config.ini (created from SysConfig.ini when
// missing) in the order the keys have always been written, landing on disk at
// once. `exitTime` is the text stored as the last exit time. A file that cannot
// be written raises base::FileError: the operator's layout must not vanish
// unnoticed.
void saveOnExit(const base::ConfigFiles& files, const ScreenModel& model, const DrawStateForSave& draw,
                std::string_view exitTime);

// The places of the captions and the prize picture, with the titles' texts:
// what the exit save and the auto layout both store.
void storePlaces(base::IniFile& ini, const ScreenModel& model);

// Where the start button stands: centred, its top 60 pixels above the desktop's bottom.
Point startButtonPosition(const Display& display, Size button);

// The logo shown for a stored name: that file in "image", else "image\logo.png";
// empty when neither is a file. A name that would leave the folder is not used.
std::filesystem::path findLogoPicture(const std::filesystem::path& programDir, const std::string& gbkStoredName);

// Message when the logo file exists but cannot be read (UTF-8).
inline constexpr std::string_view kLogoUnreadableMessage = "LOGO图片读取有错";

}  // namespace screen
