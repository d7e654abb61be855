// The draw screen opens the result displays: the winners display (F9, F10,
// their menu entries, the delayed opening after a finished award and the
// end-of-draw question) and the prize display (F3, "奖品展示[F3]").
#include <QAction>
#include <QKeyEvent>
#include <QScreen>

#include "app/TForm1.h"
#include "displays/TPrize.h"
#include "displays/TShowPanel.h"
#include "draw/sound_board.h"
#include "screen/main_menu.h"
#include "styledtext/TSmoothLabel.h"

using screen::Label;

screen::StageContext TForm1::stageContext() {
  screen::StageContext context;
  context.programDir = programDir_;
  context.dialogs = &dialogs_;
  context.screen = screen();
  const QPoint corner = screen() != nullptr ? screen()->geometry().topLeft() : QPoint();
  context.area = QRect(corner, desktop_);
  context.positionLocked = [this] { return model_.positionLock; };
  if (consoleShown()) context.modality = Qt::WindowModal;
  return context;
}

void TForm1::showWinnersAfterCommand(const std::string& shownAward) {
  data_.state.shownAward = shownAward;
  openWinnersDisplay(data_.state.shownAward);
  luck_->playBackgroundMusic();
}

void TForm1::openWinnersDisplay(const std::string& shownAward) {
  // No current award left: the display shows all awards.
  if (data_.state.shownAward.empty()) data_.state.shownAward.push_back('0');
  displays::WinnersDisplayContext context;
  static_cast<screen::StageContext&>(context) = stageContext();
  context.data = &data_;
  context.shownAward = shownAward;
  if (context.shownAward.empty()) context.shownAward.push_back('0');
  context.lastToFirst = &data_.state.winnersLastToFirst;
  context.mainTitle = label(Label::MainTitle)->Caption();
  context.secTitle = label(Label::SecTitle)->Caption();
  context.playOpeningSound = [this] {
    // The display reads its sound's keys as it opens.
    draw::SoundBoard board;
    board.load(folder_);
    board.play(folder_, *this, draw::SoundEvent::WinnersDisplay, true);
  };
  displays::TShowPanel panel(std::move(context), this);
  dialogs_.runDisplay(panel);
}

void TForm1::showPrizes() {
  auto copy = [this](Label which) {
    const screen::LabelState& state = model_.label(which);
    displays::CaptionCopy c;
    c.caption = label(which)->Caption();
    c.font = state.font;
    c.effect.assign(state.effect);
    c.visible = state.visible;
    c.position = QPoint(state.position.x, state.position.y);
    return c;
  };
  displays::PrizeDisplayContext context;
  static_cast<screen::StageContext&>(context) = stageContext();
  context.mainTitle = copy(Label::MainTitle);
  context.secTitle = copy(Label::SecTitle);
  context.logoPosition = QPoint(model_.logo.x, model_.logo.y);
  context.logoVisible = model_.logoVisible;
  context.drawOrder = data_.settings.drawOrder;
  displays::TPrize prize(std::move(context), this);
  dialogs_.runDisplay(prize);
}
