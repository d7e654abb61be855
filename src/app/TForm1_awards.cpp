// The openers of the award settings (N8), award grouping (N11) and predetermined
// winners (N92 and F2) dialogs: the lock check, the questions around them and the
// restart offer afterwards. The dialogs reach the window only through what is
// handed to them here.
#include <QAction>

#include "app/TForm1.h"
#include "dialogs/TClassifyForm.h"
#include "dialogs/TLuckPerson.h"
#include "dialogs/TSysItem.h"
#include "draw/lifecycle.h"
#include "screen/lock_check.h"
#include "screen/main_menu.h"
#include "screen/state/element_commands.h"

using screen::ShowTick;

void TForm1::syncOtherSettingsEntry() {
  if (QAction* entry = mainMenu_->action(QStringLiteral("N92"))) entry->setVisible(!data_.settings.otherSettingsHidden);
}

void TForm1::N8Click() {
  if (!screen::passLock(passwords_, dialogs_)) return;
  if (data_.hasWinners() &&
      !dialogs_.question(QStringLiteral("抽奖已开始,修改奖项设置可能会导致重新抽奖，是否确定打开?"), true))
    return;
  dialogs::TSysItem::ScreenLink link;
  link.tick = [this](ShowTick tick) { return model_.tick(tick); };
  link.setTick = [this](ShowTick tick, bool shown) {
    if (model_.tick(tick) == shown) return;
    screen::toggleShowTick(model_, tick);
    renderModel();
    mainMenu_->syncTicks(model_);
  };
  link.rollingIntervalChanged = [this](int) { luck_->applyBaseRollingInterval(); };
  link.hideCountdown = [this] { setFieldVisible(draw::Field::TimeShow, false); };
  {
    dialogs::TSysItem dialog(data_, folder_, dialogs_, std::move(link), dialogs_.parentWindow());
    dialog.exec();
  }
  if (data_.state.changed) {
    saveState();
    offerRestart(QStringLiteral("奖项设置已修改,是否重新开始抽奖?"));
  }
  data_.state.changed = false;
}

void TForm1::N11Click() {
  if (!screen::passLock(passwords_, dialogs_)) return;
  dialogs::TClassifyForm dialog(data_, folder_, dialogs_, dialogs_.parentWindow());
  dialog.exec();
}

void TForm1::N92Click() {
  if (!screen::passLock(passwords_, dialogs_)) return;
  data_.state.changed = false;
  if (!dialogs_.question(QStringLiteral("确定要打开此设置吗?"))) return;
  {
    dialogs::TLuckPerson dialog(
        data_, folder_, dialogs_, [this] { syncOtherSettingsEntry(); }, dialogs_.parentWindow());
    dialog.exec();
  }
  if (data_.state.changed) {
    saveState();
    offerRestart(QStringLiteral("设置已修改,是否重新开始抽奖?"));
  }
  data_.state.changed = false;
}

void TForm1::offerRestart(const QString& question) {
  if (!dialogs_.question(question)) return;
  // The reset reloads the tables under a running batch; it must not be recorded.
  luck_->abandonBatch();
  runGuarded([this] {
    clearPhotoTiles();
    draw::LifecycleOutcome outcome = draw::resetDraw(data_, folder_);
    if (outcome.hint) setFieldText(draw::Field::ActionHint, *outcome.hint);
    positionLoad();
    if (outcome.message) showMessage(*outcome.message);
    setPictureLoadButtonVisible(!data_.settings.textDraw && !photoTiles_.loaded() &&
                                model_.tick(ShowTick::StartButton));
    luck_->buildSingleAwardMenu();
    // Award rolling shows the awards' pictures prepared once; they may have changed.
    clearPrizePictures();
  });
}
