#pragma once
// The draw control: the engine side of the main window. One command (space bar,
// start button, Enter, or an item of the single-award menu) starts and stops
// the draw; the timers' ticks come back as calls. Everything the audience sees
// goes through the DrawView.
//
// Re-entrancy: a command or a countdown or winners-display tick that arrives
// while another command is still running (delivered by the message loop of a
// modal window) is ignored, and while the countdown runs further commands are
// ignored (a single-award item still sets its target), so a command never runs
// inside another and no winner is recorded twice. Rolling ticks run even then:
// they change only what is shown, so the names keep moving behind a box.
//
// While the draw is blocked (DrawState::drawBlocked) a command that would start
// a batch shows the reason instead.
#include <string>
#include <vector>

#include "draw/draw_data.h"
#include "draw/draw_view.h"
#include "draw/event_folder.h"
#include "draw/pool.h"
#include "draw/sound_board.h"

namespace draw {

class Luck {
 public:
  Luck(DrawData& data, const EventFolder& folder, DrawView& view);

  // The start/stop command.
  void startStopCommand();
  // An item of the single-award menu: award row `row` becomes the target, then the command runs.
  void singleAwardCommand(int row);
  void Timer1Timer();  // one rolling step, then the speed ramp
  void Timer2Timer();  // the delayed winners display of a finished award
  void Timer4Timer();  // one second of the countdown
  // One slice of the pool of the next start, written ahead of it while the draw
  // is idle, so that no press of the space bar waits for a large pool; a few
  // milliseconds at most, between the events of the user-interface thread.
  void poolAheadTimer();
  // A popup menu opened: the pending winners display is cancelled.
  void popupMenuOpened();
  // Ends a running batch or countdown without recording anything. A restart or a
  // mode change reloads the tables under the batch; stopping it on the reloaded
  // pool would record people who were never picked.
  void abandonBatch();

  // Mode commands N9, N10 (draw mode) and N96, N97 (rolling mode).
  void N9Click();
  void N10Click();
  void N96Click();
  void N97Click();

  // The base rolling interval changed in the settings: a running rolling takes it at once.
  void applyBaseRollingInterval() { setRollingInterval(data_.settings.baseRollingInterval); }

  // Start-up after a batch whose recording was interrupted: its recorded winners
  // (records of one award, first pick first) in the frames as after a stop, with
  // their award; in award rolling mode the winner whose turn it was.
  void showInterruptedBatch(const std::vector<Table::Row>& records);

  // Rebuilds the single-award submenu from the award table. The menu is rebuilt
  // whenever the award counts or the tables may have changed (start-up, every
  // stop, a restart or reset, the give-up and supplementary dialogs): the
  // moments the pool of the next start can be planned, which this does too.
  void buildSingleAwardMenu();

  // The player gave up on the prepared stop sound after the batch had started
  // (the window learns it from the media back end). Told as a failure at the
  // start is; ignored while a command runs.
  void stopSoundFailed();

  SoundBoard& sounds() { return sounds_; }
  // Background music with repeat.
  void playBackgroundMusic();

  // What the screen shows of the state, for the view and the tests.
  const std::string& startCaption() const { return startCaption_; }
  bool rolling() const { return timer1On_; }
  int rollingInterval() const { return timer1Interval_; }
  bool countingDown() const { return timer4On_; }
  bool winnersDisplayPending() const { return timer2On_; }
  // The progress line of an award row.
  std::string progressLine(std::size_t row) const;

 private:
  // Runs one command with the re-entrancy guard and the conversion and file
  // error handling every command shares.
  template <typename Command>
  void guarded(Command&& command);

  // A draw command while start-up could not load the winners record whole:
  // shows why and refuses. A running batch may still be stopped.
  bool refusedWhileBlocked();

  // What the award choice decides, apart from the shortfalls it records.
  struct AwardChoice {
    std::size_t row = 0;  // the award row chosen; 0 when none
    int batch = 0;
    std::size_t finishedTarget = 0;  // the single-award target, when it has no place left
  };
  // The award choice's walk over the award rows. onShortfall(row) is called for
  // each row the walk finds short (draw order 0, the last pool empty and nobody
  // left who may win the award) before it goes on.
  template <typename OnShortfall>
  AwardChoice walkAwards(OnShortfall onShortfall) const;

  void drawStep();
  void peopleStart();
  void peopleStop();
  void awardStart();
  void awardStop();
  // The award choice. Draw order 0 counts the places of an award as short when
  // the batch before took the last candidates, but only when nobody may still
  // win the award (with repeat winning on everybody may); a row found short is
  // never drawn, so no award takes more winners than its places left.
  void chooseAward();
  bool nobodyMayWin(std::size_t row) const;
  bool exactlyFinished(std::size_t row) const;
  void endDraw();
  // The stop sound could not be prepared: the operator is told once a run,
  // however often it fails, and the draw goes on as if no sound were on.
  void soundSystemFailed();
  void showCurrentAward();
  // Award name, prize, draw guest and prize picture of an award row.
  void showAward(std::size_t row);
  void changeMode(bool textDraw, bool peopleRolling, const std::string& message);
  // Sets out to write the pool the next start will draw from, when the working
  // roster does not hold it already.
  void planPoolAhead();

  void setCaption(const std::string& caption);
  void setRolling(bool on);
  void setRollingInterval(int intervalMs);
  void setTimer2(bool on);
  void setTimer4(bool on);
  void setPoolAheadTimer(bool on);

  DrawData& data_;
  const EventFolder& folder_;
  DrawView& view_;
  SoundBoard sounds_;

  std::string startCaption_;
  bool timer1On_ = false;
  int timer1Interval_ = 120;
  bool timer2On_ = false;
  bool timer4On_ = false;
  bool poolAheadOn_ = false;
  PoolAhead poolAhead_;
  bool busy_ = false;
  bool ticking_ = false;
  // A machine without audio output (a projector's HDMI without a sound sink)
  // fails every stop-sound preparation, at every batch of the evening. A sound
  // never holds up a draw: the operator is told once a run, in either rolling
  // mode, and the draw goes on silently. The switches stay as they are, so the
  // next run, perhaps on a machine with a device, plays the sounds again.
  bool soundFailureTold_ = false;
};

}  // namespace draw
