#include "screen/lock_check.h"

#include "base/conversion_error.h"
#include "platform/qt_gbk.h"

namespace screen {

bool lockCheck(const platform::PasswordStore& store, DialogService& dialogs, const QString& caption) {
  const std::string password = store.password();
  if (password.empty()) return true;
  const std::optional<QString> typed = dialogs.text(caption, QString(), QString(), true);
  return typed && platform::toGbk(*typed) == password;
}

bool passLock(const platform::PasswordStore& store, DialogService& dialogs, const QString& failureMessage) {
  try {
    if (lockCheck(store, dialogs)) return true;
    dialogs.message(failureMessage);
  } catch (const base::ConversionError& error) {
    dialogs.message(QString::fromStdString(error.what()));
  }
  return false;
}

}  // namespace screen
