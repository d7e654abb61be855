#pragma once
// The generator of the roster editor ("生成名单"): numbered entries such as
// A001 … A100 with a prefix, a suffix, zero fill and last digits to skip. It
// only computes the lines; the editor appends them.
#include <QDialog>
#include <memory>

#include "draw/roster_edit.h"

namespace Ui {
class TForm2;
}
namespace screen {
class DialogService;
}

namespace dialogs {

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(screen::DialogService& dialogs, QWidget* parent = nullptr);
  ~TForm2() override;

  // The lines made by the last "确定" (empty until then).
  const draw::Lines& lines() const { return lines_; }

  Ui::TForm2& form() { return *ui; }
  void Button1Click();

 private:
  std::unique_ptr<Ui::TForm2> ui;
  screen::DialogService& dialogs_;
  draw::Lines lines_;
};

}  // namespace dialogs
