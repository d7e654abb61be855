// The main window's openers of programme scoring: the setup dialog (N36, behind
// the lock check), the ranking display (N65, F8) and the score details display
// (N14, F7). The displays are modal full-screen windows; when one closes, the
// background music starts again.
#include "app/TForm1.h"
#include "scoring/TComProSys.h"
#include "scoring/TJudgePhones.h"
#include "scoring/TPorShow.h"
#include "scoring/TShowEvery.h"
#include "scoring/display_support.h"
#include "scoring/web/phone_scoring.h"
#include "screen/lock_check.h"
#include "screen/main_menu.h"

scoring::DisplayContext TForm1::scoringContext() {
  scoring::DisplayContext context;
  static_cast<screen::StageContext&>(context) = stageContext();
  context.sounds = sounds_;
  const screen::LabelState& main = model_.label(screen::Label::MainTitle);
  const screen::LabelState& sub = model_.label(screen::Label::SecTitle);
  context.look = {main.caption, main.font, main.effect, sub.font, sub.effect};
  return context;
}

void TForm1::openScoringSetup() {
  if (!screen::passLock(passwords_, dialogs_)) return;
  scoring::TComProSys dialog(programDir_, dialogs_, dialogs_.parentWindow());
  dialog.setPhoneScoringOpener([this] { openPhoneScoring(); });
  dialog.exec();
}

void TForm1::openPhoneScoring() {
  scoring::TJudgePhones window(*phoneScoring_, dialogs_, dialogs_.parentWindow());
  window.exec();
}

void TForm1::openRankingDisplay() {
  {
    scoring::TPorShow display(scoringContext(), this);
    dialogs_.runDisplay(display);
  }
  luck_->playBackgroundMusic();
}

void TForm1::openScoreDetails() {
  {
    scoring::TShowEvery display(scoringContext(), this);
    dialogs_.runDisplay(display);
  }
  luck_->playBackgroundMusic();
}
