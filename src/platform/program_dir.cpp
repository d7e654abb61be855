#include "platform/program_dir.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QStandardPaths>

#include "base/file_error.h"
#include "base/gbk.h"
#include "platform/qt_gbk.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr const char* kEventFolders[] = {"backpic", "image", "photo", "prize", "music", "data", "manager"};

fs::path decideProgramDir() {
  const fs::path executable(QCoreApplication::applicationFilePath().toStdString());
  const bool writable = ::access(executable.parent_path().c_str(), W_OK) == 0;
  const fs::path dataHome(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString());
  const fs::path folder = eventFolderFor(executable, writable, dataHome);
  if (folder != executable.parent_path()) layOutEventFolder(executable.parent_path(), executable, folder);
  return folder;
}

}  // namespace

fs::path eventFolderFor(const fs::path& executable, bool executableFolderWritable, const fs::path& dataHome) {
  if (executableFolderWritable) return executable.parent_path();
  return dataHome / executable.filename();
}

void layOutEventFolder(const fs::path& shipped, const fs::path& executable, const fs::path& eventFolder) {
  std::error_code ec;
  fs::create_directories(eventFolder, ec);
  if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, eventFolder, ec.message());
  for (const char* name : kEventFolders) {
    fs::create_directories(eventFolder / name, ec);
    if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, eventFolder / name, ec.message());
  }
  for (auto it = fs::recursive_directory_iterator(shipped, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const fs::path relative = fs::relative(it->path(), shipped, ec);
    if (ec) break;
    const fs::path target = eventFolder / relative;
    if (it->is_directory()) {
      fs::create_directories(target, ec);
    } else if (it->path() != executable && !fs::exists(target)) {
      fs::copy_file(it->path(), target, fs::copy_options::skip_existing, ec);
    }
    if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, target, ec.message());
  }
  if (ec) throw base::FileError(base::FileError::Kind::CannotOpen, shipped, ec.message());
}

QString programDir() { return toQString(programDirPath()); }

// Decided once: the answer cannot change while the program runs.
fs::path programDirPath() {
  static const fs::path folder = decideProgramDir();
  return folder;
}

}  // namespace platform
