#pragma once
// The program's start-up: one sequence that the window, the headless driver,
// the whole-event tests and the fuzzers all run, so that what they try is what
// the program does. The window's own steps (its settings, places and pictures)
// come in as hooks and run at their places; a view without a screen leaves them
// empty.
#include <functional>

#include "draw/draw_data.h"
#include "draw/draw_view.h"
#include "draw/event_folder.h"
#include "draw/luck.h"

namespace draw {

// The screen's steps of the start-up. Each may raise base::FileError,
// base::ConversionError or base::UnstorableText: its text is shown as a message
// and the start-up goes on (a full disk must not keep the winners from loading,
// an unreadable roster must not keep the screen from being laid out).
struct StartupHooks {
  // The screen's half of the main settings load (fonts, effects, titles, show
  // ticks, pictures), before the roster load.
  std::function<void()> loadScreenSettings;
  // The position load: sets `firstRun` from the first-run flag as soon as it is
  // read, clears the flag in the file it was read from, places the elements and
  // sets the action hint to "按空格开始抽奖". Empty: the draw's part of it alone
  // (the flag, and the hint through the view).
  std::function<void(bool& firstRun)> positionLoad;
  // After the winners record: the screen shows the modes, ticks and pictures
  // of what was loaded, before the single-award menu and an interrupted batch.
  std::function<void()> showScreen;
};

enum class StartupResult {
  Ready,     // the draw can start
  Blocked,   // the draw is blocked (DrawState::drawBlocked says why; it was shown)
  Declined,  // the operator chose to end the program rather than replace a
             // settings file that is not the program's own: nothing was read or
             // written, and the program ends without its exit save
};

// In this order: settles a settings file that is not the program's own (asking
// the view), loads the sounds and starts the background music, the screen's
// settings load, the start-up load of lifecycle.h (seed, roster, interrupted
// give-up or restart), the position load (first-run flag), the winners record
// and the batch a kill interrupted (asking the view about damaged lines), the
// current award and the hint, the screen, the single-award menu, the start
// button's caption, and last the winners of an interrupted batch, which the
// audience must see first. Every failure is shown through the view; none
// escapes. The draw stays blocked when the roster, the folder or the winners
// record failed.
StartupResult startUp(DrawData& data, const EventFolder& folder, DrawView& view, Luck& luck,
                      const StartupHooks& hooks = {});

}  // namespace draw
