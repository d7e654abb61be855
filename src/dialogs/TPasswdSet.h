#pragma once
// The password dialog ("密码设定"): sets the lock password of the settings or
// removes it. It opens showing the current password (masked) in both fields, so
// "确定" at once keeps it. A store that cannot be written is reported and the
// dialog stays open, so the operator never believes a lock is set when none is.
#include <QDialog>
#include <memory>

#include "platform/password_store.h"
#include "screen/dialog_service.h"

namespace Ui {
class TPasswdSet;
}

class TPasswdSet : public QDialog {
  Q_OBJECT

 public:
  TPasswdSet(platform::PasswordStore& store, screen::DialogService& dialogs, QWidget* parent = nullptr);
  ~TPasswdSet() override;

 private:
  void Button1Click();
  void Button3Click();
  // Writes the password (empty: no lock); false, with the reason shown, when the store refused.
  bool store(const std::string& gbkPassword);

  std::unique_ptr<Ui::TPasswdSet> ui;
  platform::PasswordStore& store_;
  screen::DialogService& dialogs_;
};
