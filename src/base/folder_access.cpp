#include "base/folder_access.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace base {

namespace fs = std::filesystem;

FolderLock::FolderLock(fs::path folder, std::string fileName) : file_(std::move(folder) / fileName) {}

FolderLock::~FolderLock() { release(); }

bool FolderLock::tryLock() {
  if (fd_ >= 0) return true;
  int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  // A lock file left by another user may only be readable; a read-only descriptor still locks.
  if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError(FileError::Kind::CannotWrite, file_, describeErrno(errno));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return false;
    throw FileError(FileError::Kind::CannotWrite, file_, describeErrno(error));
  }
  fd_ = fd;
  return true;
}

void FolderLock::release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

EventLock lockEventFolder(FolderLock& lock) {
  try {
    return lock.tryLock() ? EventLock::Held : EventLock::HeldByAnother;
  } catch (const FileError&) {
    const fs::path folder = lock.lockFile().parent_path();
    if (findWriteProblem(folder.empty() ? fs::path(".") : folder, {})) return EventLock::FolderNotWritable;
    throw;
  }
}

std::optional<FileError> findWriteProblem(const fs::path& folder, const std::vector<std::string>& existingFiles) {
  const fs::path probe = folder / (".kelvara-write-test-" + std::to_string(::getpid()));
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0 && errno != EEXIST) return FileError(FileError::Kind::CannotWriteFolder, folder, describeErrno(errno));
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.c_str());
  }
  for (const std::string& name : existingFiles) {
    const fs::path file = folder / name;
    const int existing = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (existing >= 0) {
      ::close(existing);
      continue;
    }
    if (errno != ENOENT) return FileError(FileError::Kind::CannotWrite, file, describeErrno(errno));
  }
  return std::nullopt;
}

}  // namespace base
