// The roster command of the main window (N7 "抽奖名单&"): the roster editor in
// text draw mode, the picture roster in picture draw mode, and afterwards the
// offer to restart the draw on the changed roster.
#include "app/TForm1.h"
#include "dialogs/TPicL.h"
#include "dialogs/TnameList.h"
#include "draw/lifecycle.h"
#include "screen/lock_check.h"

void TForm1::N7Click() {
  if (!screen::passLock(passwords_, dialogs_)) return;
  if (data_.hasWinners() &&
      !dialogs_.question(QStringLiteral("抽奖已开始,修改人员名单可能会导致重新抽奖，是否确定打开?"), true))
    return;
  luck_->abandonBatch();
  bool changed = false;
  if (data_.settings.textDraw) {
    dialogs::TnameList editor(programDir_, dialogs_, data_.random, dialogs_.parentWindow());
    editor.exec();
    changed = editor.changedMark();
  } else {
    dialogs::TPicL roster(programDir_, dialogs_, dialogs_.parentWindow());
    roster.exec();
    changed = roster.changedMark();
  }
  if (changed) data_.state.changed = true;
  if (data_.state.changed) {
    runGuarded([this] { saveState(); });
    if (dialogs_.question(QStringLiteral("名单已修改,是否重新开始抽奖?"))) resetDrawAfterSetup();
  }
  data_.state.changed = false;
}

void TForm1::resetDrawAfterSetup() {
  clearPhotoTiles();
  runGuarded([this] {
    const draw::LifecycleOutcome outcome = draw::resetDraw(data_, folder_);
    if (outcome.hint) setFieldText(draw::Field::ActionHint, *outcome.hint);
    positionLoad();
    if (outcome.message) showMessage(*outcome.message);
    luck_->buildSingleAwardMenu();
  });
}
