#include "dialogs/digit_field_filter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "screen/dialog_service.h"

namespace dialogs {

DigitFieldFilter::DigitFieldFilter(screen::DialogService& dialogs, QObject* parent)
    : QObject(parent), dialogs_(dialogs) {}

void DigitFieldFilter::attach(QLineEdit* field) {
  field->installEventFilter(this);
  field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
}

bool DigitFieldFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  if (text.isEmpty() || key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Copy) ||
      key->matches(QKeySequence::Cut) || key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Undo))
    return false;
  const QChar c = text.at(0);
  if ((c >= u'0' && c <= u'9') || c == u'\b' || c == u'\r' || c == u'\n' || c == u'\t' || c == QChar(0x7F))
    return false;
  dialogs_.message(QString::fromUtf8(kDigitsOnlyMessage));
  return true;
}

}  // namespace dialogs
