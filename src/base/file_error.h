#pragma once
// A file the program needed could not be read or written. The message is Chinese
// and names the file, ready for a message box.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace base {

class FileError : public std::runtime_error {
 public:
  // CannotWriteFolder: no file can be made in the folder the path names.
  enum class Kind { CannotOpen, CannotWrite, CannotWriteFolder };
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
// full disk, a size limit, a read-only disk or folder, a missing folder. Never
// the system's English text: a cause without words of its own is given by its
// number, which a technician can look up.
std::string describeErrno(int error);
// The same for an error code of std::filesystem (errno values) or of another kind.
std::string describeError(const std::error_code& error);

}  // namespace base
