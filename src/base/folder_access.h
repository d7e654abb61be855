#pragma once
// What a program needs of the folder it draws an event in: that no other program
// draws the same event, and that its files can be written.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/file_error.h"

namespace base {

// The name of the lock file an event folder holds while a program draws in it.
inline constexpr const char* kEventLockName = ".kelvara-event.lock";

// A lock on a folder, held as long as this object lives: an advisory lock
// (flock) on a file in the folder, taken without waiting. The system gives it to
// one open file at a time and lets go of it when the process ends however it
// ends, so a crash leaves no stale lock behind and two programs started at the
// same instant cannot both get it, whatever their environment.
class FolderLock {
 public:
  explicit FolderLock(std::filesystem::path folder, std::string fileName = kEventLockName);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // True when this object holds the lock now (also when it held it already);
  // false when another holds it. Raises FileError when the lock file can be
  // neither created nor opened.
  bool tryLock();
  bool locked() const { return fd_ >= 0; }
  // Lets go of the lock (before the program starts itself again).
  void release();
  const std::filesystem::path& lockFile() const { return file_; }

 private:
  std::filesystem::path file_;
  int fd_ = -1;
};

// What start-up's try at the event's lock found.
enum class EventLock {
  Held,               // this program holds it now
  HeldByAnother,      // another program draws the event
  FolderNotWritable,  // nothing can be written there, the lock file neither: start-up
                      // names the folder (findWriteProblem) and draws nothing
};
// Takes `lock` for start-up. Raises FileError (naming the lock file and the cause)
// when the folder can be written but its lock file cannot be opened, not even to
// read (another user's, kept from this one): without the lock a second program
// could draw the same event, so start-up says why and does not go on.
EventLock lockEventFolder(FolderLock& lock);

// Whether the program can write what it writes in `folder`: a new file there
// (every whole-file rewrite makes one and renames it over the old file), and an
// append to each of `existingFiles` that exists. Returns the first failure, naming
// the file and the cause, or nothing. Read-only mounts, immutable files and
// missing permissions all fail here as they would in the draw, root included.
std::optional<FileError> findWriteProblem(const std::filesystem::path& folder,
                                          const std::vector<std::string>& existingFiles);

}  // namespace base
