#include "screen/THelpForm.h"

#include <QScreen>

#include "ui_THelpForm.h"

THelpForm::THelpForm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::THelpForm>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

THelpForm::~THelpForm() = default;

void THelpForm::showEvent(QShowEvent* event) {
  // Centred on the screen rather than on the draw screen's corner it was opened from.
  if (QScreen* where = screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(where->availableGeometry().center());
    move(frame.topLeft());
  }
  QDialog::showEvent(event);
}
