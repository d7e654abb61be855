#include "dialogs/TPasswdSet.h"

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_keys.h"
#include "screen/window_fit.h"
#include "ui_TPasswdSet.h"

TPasswdSet::TPasswdSet(platform::PasswordStore& store, screen::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TPasswdSet>()), store_(store), dialogs_(dialogs) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  screen::setDefaultButton(*this, ui->Button1);
  QString current;
  try {
    current = platform::fromGbk(store_.password());
  } catch (const base::ConversionError&) {
    // A damaged stored value: the fields start empty and a new password replaces it.
  } catch (const base::FileError&) {
    // An unreadable store: the same; writing then says why it fails.
  }
  ui->Edit1->setText(current);
  ui->Edit2->setText(current);
  connect(ui->Button1, &QPushButton::clicked, this, &TPasswdSet::Button1Click);
  connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui->Button3, &QPushButton::clicked, this, &TPasswdSet::Button3Click);
}

TPasswdSet::~TPasswdSet() = default;

bool TPasswdSet::store(const std::string& gbkPassword) {
  try {
    store_.setPassword(gbkPassword);
    return true;
  } catch (const base::FileError& error) {
    dialogs_.message(QStringLiteral("密码无法保存,密码管制未改变:\n") + QString::fromStdString(error.what()));
  }
  return false;
}

void TPasswdSet::Button1Click() {
  const QString typed = ui->Edit1->text();
  if (typed != ui->Edit2->text()) {
    dialogs_.message(QStringLiteral("两次输入的密码不一次"));
    return;
  }
  if (!platform::isStorable(typed)) {
    dialogs_.message(QStringLiteral("密码含有无法保存的字符,请换用其它字符"));
    return;
  }
  const std::string password = platform::toGbk(typed);
  if (password.size() < 4) {
    dialogs_.message(QStringLiteral("密码长度不能小于4位"));
    return;
  }
  if (store(password)) accept();
}

void TPasswdSet::Button3Click() {
  if (!store({})) return;
  ui->Edit1->clear();
  ui->Edit2->clear();
  accept();
}
