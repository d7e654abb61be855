#pragma once
// The auto layout: places the screen labels for the desktop, computes the layout
// sets of all 31 batch sizes from the longest name of the roster, and loads the
// set of the current batch size. Offered by the resolution check when the screen
// size changed since the last exit.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"
#include "screen/state/rolling_layout.h"
#include "screen/state/screen_model.h"
#include "screen/state/text_measurer.h"

namespace screen {

// Places the labels, the logo and the prize picture by the label placement table,
// measuring each label's caption in its font. Changes only the model.
void placeScreenLabels(const Display& display, const TextMeasurer& measurer, ScreenModel& model);

// Everything the auto layout needs besides the model.
struct AutoLayoutInput {
  Display display;
  const TextMeasurer& measurer;
  // Display names of the working roster; the longest (the first of equal byte
  // length) is what the frames are sized for.
  const std::vector<std::string>* rosterNames = nullptr;
  int currentBatchSize = 1;
  // Called with 1 … 31 as each batch size is laid out (the progress bar).
  std::function<void(int)> progress;
  // The logo picture's and the start button's sizes ({0, 0}: none); the rolling
  // area keeps clear of them.
  Size logo;
  Size startButton;
  // The longest count the countdown clock shows (GBK digits).
  std::string countdown = "10";
};

// The room left to the rolling area by the elements shown where the model has
// them: below the lowest of the titles, award name, draw guest and logo, above
// the progress line and start button, clear of the prize picture and its name
// and of the countdown clock showing `countdown`. Captions the draw has not
// written yet are measured as one line of their font.
RollingRoom rollingRoom(const ScreenModel& model, const Display& display, const TextMeasurer& measurer, Size logo,
                        Size startButton, std::string_view countdown = "10");

// Runs the auto layout on `config` (Config.ini), writing the label positions,
// the winners display's title positions and all 31 layout sets in one batch;
// then loads the current batch size's set into the model.
void autoLayout(base::IniFile& config, const AutoLayoutInput& input, ScreenModel& model);

enum class ResolutionAction { Nothing, RunAutoLayout, AskOperator };
// What the start-up does one second in: nothing when the screen size is the stored
// one; on a first run the auto layout without asking; otherwise ask.
ResolutionAction resolutionCheck(const ScreenModel& model);
// The question asked (UTF-8); Yes runs the auto layout.
inline constexpr std::string_view kResolutionQuestion = "系统检测到您的屏幕分辨率与上次(或初始)不同,是否自动排版?";

}  // namespace screen
