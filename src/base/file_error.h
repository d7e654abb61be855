#pragma once
// A file the program needed could not be read or written. The message is Chinese
// and names the file, ready for a message box.
#include <filesystem>
#include <stdexcept>
#include <string>

namespace base {

class FileError : public std::runtime_error {
 public:
  enum class Kind { CannotOpen, CannotWrite };
  FileError(Kind kind, const std::filesystem::path& path, const std::string& reason = {});
  Kind kind() const { return kind_; }
  const std::filesystem::path& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  Kind kind_;
  std::filesystem::path path_;
  std::string reason_;
};

// The reason for a failed system call in words an operator acts on (UTF-8): a
// full disk, a size limit, a read-only disk or folder, a missing folder; the
// system's own text for anything rarer.
std::string describeErrno(int error);

}  // namespace base
