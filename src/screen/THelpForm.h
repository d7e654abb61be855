#pragma once
// The shortcut help window (N22 "常用快捷键"): which key does what during the
// event. Static text only; modal, fixed size, centred on the screen.
#include <QDialog>
#include <memory>

namespace Ui {
class THelpForm;
}

class THelpForm : public QDialog {
  Q_OBJECT

 public:
  explicit THelpForm(QWidget* parent = nullptr);
  ~THelpForm() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::THelpForm> ui;
};
