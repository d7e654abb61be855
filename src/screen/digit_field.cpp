#include "screen/digit_field.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "screen/dialog_service.h"

namespace screen {

bool typesNonDigit(const QKeyEvent& key) {
  const QString text = key.text();
  // Control characters (Backspace, Enter, Tab, Escape, Ctrl+V …) type nothing.
  if (text.isEmpty() || !text.front().isPrint()) return false;
  for (const QChar c : text)
    if (c < u'0' || c > u'9') return true;
  return false;
}

void holdToDigits(QLineEdit* field) {
  field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
}

DigitFieldFilter::DigitFieldFilter(DialogService& dialogs, QObject* parent) : QObject(parent), dialogs_(dialogs) {}

void DigitFieldFilter::attach(QLineEdit* field) {
  field->installEventFilter(this);
  holdToDigits(field);
}

bool DigitFieldFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !typesNonDigit(*static_cast<QKeyEvent*>(event)))
    return QObject::eventFilter(watched, event);
  dialogs_.message(QString::fromUtf8(kDigitsOnlyMessage));
  return true;
}

}  // namespace screen
