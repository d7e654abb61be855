#pragma once
// The lock check that every protected command runs before it changes a setting:
// it passes at once when no password is stored, otherwise the operator must type
// the stored password into a masked input box.
#include <QString>

#include "platform/password_store.h"
#include "screen/dialog_service.h"

namespace screen {

inline const QString kLockPrompt = QStringLiteral("系统已作管制,请输入密码");
inline const QString kOldPasswordPrompt = QStringLiteral("请输入原密码");
inline const QString kWrongPasswordMessage = QStringLiteral("抱歉,密码不正确,不能修改");

// True when no password is stored or the typed text equals it byte for byte
// (case-sensitive); cancelling fails. Raises base::ConversionError when the stored
// value is not hexadecimal.
bool lockCheck(const platform::PasswordStore& store, DialogService& dialogs, const QString& caption = kLockPrompt);

// What a protected command runs first: the lock check, with the wrong-password
// message (or the conversion message of a damaged store) shown when it fails.
bool passLock(const platform::PasswordStore& store, DialogService& dialogs,
              const QString& failureMessage = kWrongPasswordMessage);

}  // namespace screen
