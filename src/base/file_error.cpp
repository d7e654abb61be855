#include "base/file_error.h"

#include <cerrno>
#include <cstring>

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
    : std::runtime_error(describe(kind, path, reason)), kind_(kind), path_(path), reason_(reason) {}

std::string describeErrno(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "磁盘空间已满,请清理磁盘后再继续";
    case EFBIG:
      return "文件已达到允许的最大长度";
    case EROFS:
      return "磁盘是只读的";
    case EACCES:
    case EPERM:
      return "没有读写权限";
    case ENOENT:
      return "文件夹不存在";
    case ENOTDIR:
      return "路径中有一项不是文件夹";
    case EISDIR:
      return "这是一个文件夹,不是文件";
    case EIO:
      return "磁盘读写出错";
    default:
      return std::strerror(error);
  }
}

}  // namespace base
