#pragma once
// Keeps a line edit to digits: any other typed character is dropped and the
// operator is told "必须输入数字"; Backspace, Enter and the moving keys pass.
// Pasted text is held to digits by a validator set on the field as well.
#include <QObject>

class QLineEdit;

namespace screen {
class DialogService;
}

namespace dialogs {

inline constexpr const char* kDigitsOnlyMessage = "必须输入数字";

class DigitFieldFilter : public QObject {
  Q_OBJECT

 public:
  DigitFieldFilter(screen::DialogService& dialogs, QObject* parent);
  void attach(QLineEdit* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  screen::DialogService& dialogs_;
};

}  // namespace dialogs
