#include "base/file_error.h"

namespace base {

namespace {
std::string describe(FileError::Kind kind, const std::filesystem::path& path, const std::string& reason) {
  // The message is UTF-8: it goes straight to a message box.
  std::string text = kind == FileError::Kind::CannotOpen ? "无法打开文件 \"" : "无法写入文件 \"";
  text += path.string();
  text += "\"";
  if (!reason.empty()) text += "。" + reason;
  return text;
}
}  // namespace

FileError::FileError(Kind kind, const std::filesystem::path& path, const std::string& reason)
    : std::runtime_error(describe(kind, path, reason)), kind_(kind), path_(path) {}

}  // namespace base
