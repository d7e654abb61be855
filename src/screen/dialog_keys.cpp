#include "screen/dialog_keys.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QPushButton>

namespace screen {

void setDefaultButton(QDialog& dialog, QPushButton* button) {
  if (button != nullptr) {
    // The dialog goes back to this one whenever a focused button lets go of Enter.
    button->setDefault(true);
    return;
  }
  // With no default named, the dialog would take the first button that may be
  // default (or the first one clicked) for good; none may.
  for (QPushButton* each : dialog.findChildren<QPushButton*>()) {
    each->setAutoDefault(false);
    each->setDefault(false);
  }
}

void commitOpenEditor(QAbstractItemView& view) {
  const QModelIndex current = view.currentIndex();
  if (!current.isValid()) return;
  QWidget* editor = view.indexWidget(current);
  QAbstractItemDelegate* delegate = view.itemDelegateForIndex(current);
  if (editor == nullptr || delegate == nullptr) return;
  emit delegate->commitData(editor);
  emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

}  // namespace screen
