// Config.ini as the draw screen reads it: the labels' fonts and effect keys,
// titles, positions, show ticks and the layout sets of the rolling area.
// Promises checked: the loads never fail on any file, and what they leave in
// the model stays inside the ranges the window can draw (effects clamped).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/config_files.h"
#include "fuzz_folder.h"
#include "screen/state/rolling_layout.h"
#include "screen/state/screen_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzzing::ScratchFolder& dir = fuzzing::scratch();
  dir.clear();
  dir.write("Config.ini", std::string_view(reinterpret_cast<const char*>(data), size));
  const base::ConfigFiles files(dir.path());
  const screen::Display display = screen::Display::single(1920, 1080);
  screen::ScreenModel model;
  screen::loadMainSettings(files, display, model);
  screen::loadPositions(files, display, model);
  for (const auto& label : model.labels) {
    const auto& effect = label.effect;
    if (effect.Alpha() < 0 || effect.Alpha() > 100) fuzzing::broken("an effect's alpha outside its range");
  }
  const base::IniFile ini = files.openWithFallback();
  for (int batch : {1, 2, 6, 30, 31, 500}) {
    screen::loadLayout(ini, batch, true, display, model.rolling);
    screen::loadLayout(ini, batch, false, display, model.rolling);
  }
  screen::readNamesPerLine(ini);
  return 0;
}
