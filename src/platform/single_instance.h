#pragma once
// Only one draw program may run for a title at a time: a second one would write
// the same winners record. A lock file in the user's runtime folder, keyed by the
// application title, stands in for the named mutex.
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

namespace platform {

class SingleInstanceGuard {
 public:
  // lockDir empty: the user's runtime folder (or the temporary folder).
  explicit SingleInstanceGuard(const QString& applicationTitle, const QString& lockDir = {});
  // True when this process holds the lock (a stale lock of a dead process is taken over).
  bool acquire();
  // Lets go of the lock, before the program starts itself again.
  void release();
  QString lockFilePath() const { return lockPath_; }

 private:
  QString lockPath_;
  std::unique_ptr<QLockFile> lock_;
};

// Starts `executable` again, detached, after the guard has let go of the lock, so
// that the new instance is not refused. `launch` starts a program (tests replace
// it); false when it could not.
bool restartProgram(SingleInstanceGuard& guard, const QString& executable,
                    const std::function<bool(const QString&)>& launch = {});

// The message box text shown by a second instance.
QString secondInstanceMessage();
QString secondInstanceCaption();

}  // namespace platform
