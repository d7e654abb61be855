#pragma once
// Fields that take digits only, as every dialog keeps them: a key that types
// anything but a digit is dropped and the operator is told "必须输入数字"; keys
// that type nothing (Backspace, Enter, the moving keys, Ctrl shortcuts) pass.
// Pasted text is held to digits by a validator: digits go in, anything with
// another character is refused whole.
#include <QObject>

class QKeyEvent;
class QLineEdit;

namespace screen {

class DialogService;

inline constexpr const char* kDigitsOnlyMessage = "必须输入数字";

// True when the key press types a character that is not an ASCII digit.
bool typesNonDigit(const QKeyEvent& key);
// The validator that holds what is pasted into `field` to digits.
void holdToDigits(QLineEdit* field);

class DigitFieldFilter : public QObject {
  Q_OBJECT

 public:
  DigitFieldFilter(DialogService& dialogs, QObject* parent);
  // Filters the field's keys and holds its pasted text to digits.
  void attach(QLineEdit* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  DialogService& dialogs_;
};

}  // namespace screen
