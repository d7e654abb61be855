#include "platform/single_instance.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

SingleInstanceGuard::SingleInstanceGuard(const QString& applicationTitle, const QString& lockDir) {
  QString dir = lockDir;
  if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  QDir().mkpath(dir);
  lockPath_ = QDir(dir).filePath(applicationTitle + QStringLiteral(".lock"));
  lock_ = std::make_unique<QLockFile>(lockPath_);
  lock_->setStaleLockTime(0);  // only a lock whose process is gone counts as stale
}

bool SingleInstanceGuard::acquire() {
  if (lock_->isLocked()) return true;
  if (lock_->tryLock(0)) return true;
  if (lock_->error() == QLockFile::LockFailedError && lock_->removeStaleLockFile()) return lock_->tryLock(0);
  return false;
}

void SingleInstanceGuard::release() {
  if (lock_->isLocked()) lock_->unlock();
}

bool restartProgram(SingleInstanceGuard& guard, const QString& executable,
                    const std::function<bool(const QString&)>& launch) {
  guard.release();
  if (launch) return launch(executable);
  return QProcess::startDetached(executable, {});
}

QString secondInstanceMessage() {
  return QStringLiteral("您已经打开了Kelvara抽奖软件\n\n不可重复打开\n");
}

QString secondInstanceCaption() { return QStringLiteral("重复开启"); }

}  // namespace platform
