#include "base/file_error.h"

#include <cerrno>

namespace base {

namespace {
std::string describe(FileError::Kind kind, const std::filesystem::path& path, const std::string& reason) {
  // The message is UTF-8: it goes straight to a message box.
  std::string text = kind == FileError::Kind::CannotOpen    ? "无法打开文件 \""
                     : kind == FileError::Kind::CannotWrite ? "无法写入文件 \""
                                                            : "无法在文件夹中写入文件 \"";
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
    case EOVERFLOW:
      return "文件已达到允许的最大长度";
    case EROFS:
      return "磁盘是只读的";
    case EACCES:
      return "没有读写权限";
    case EPERM:
      return "文件或文件夹被设为不可修改,或没有读写权限";
    case ENOENT:
      return "文件夹不存在";
    case ENOTDIR:
      return "路径中有一项不是文件夹";
    case EISDIR:
      return "这是一个文件夹,不是文件";
    case EIO:
      return "磁盘读写出错";
    case EEXIST:
      return "已有同名的文件";
    case ENOTEMPTY:
      return "文件夹不是空的";
    case EBUSY:
    case ETXTBSY:
      return "文件正被其它程序使用";
    case EAGAIN:
      return "文件正被其它程序锁定";
    case EMFILE:
    case ENFILE:
      return "同时打开的文件太多";
    case ENAMETOOLONG:
      return "文件名或路径太长";
    case ELOOP:
      return "路径中的链接太多";
    case ENOMEM:
      return "内存不足";
    case EINVAL:
      return "文件名无效或这里不能存放这种文件";
    case EXDEV:
      return "不能跨磁盘移动";
    case ENXIO:
    case ENODEV:
    case ESTALE:
    case ENOTCONN:
    case EHOSTDOWN:
      return "磁盘或网络位置已断开";
    default:
      return "系统错误(错误号 " + std::to_string(error) + ")";
  }
}

std::string describeError(const std::error_code& error) {
  if (error.category() == std::generic_category() || error.category() == std::system_category())
    return describeErrno(error.value());
  return "系统错误(错误号 " + std::to_string(error.value()) + ")";
}

}  // namespace base
