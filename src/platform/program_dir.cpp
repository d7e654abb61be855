#include "platform/program_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QStandardPaths>

#include "base/file_error.h"
#include "base/gbk.h"
#include "base/paths.h"
#include "platform/qt_gbk.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr const char* kEventFolders[] = {"backpic", "image", "photo", "prize", "music", "data", "manager"};
constexpr const char* kSystemPrefixes[] = {"/usr", "/opt", "/snap", "/app"};

// Files an event makes for itself: an installed program's folder holds none
// unless an older version wrote them there, and they are never carried into the
// user's event as if they were shipped.
bool madeByAnEvent(const fs::path& file) {
  const std::string name = base::foldLatinCase(file.filename().string());
  for (const char* made : {"config.ini", "luckname.txt", "log.txt", "luck.txt", "luckname.txt.pending"})
    if (name == made) return true;
  return name.find(".damaged-") != std::string::npos || name.front() == '.';
}

// The program's modules (optional_module.h) beside the executable: part of the
// program, never of an event.
bool isModule(const fs::path& file) { return file.extension() == ".so"; }

EventFolderChoice decide() {
  const ProgramLocation location = runningProgramLocation();
  EventFolderChoice choice = chooseEventFolder(location);
  if (choice.installed) layOutEventFolder(location.executable.parent_path(), location.executable, choice.folder);
  return choice;
}

}  // namespace

ProgramLocation runningProgramLocation() {
  ProgramLocation location;
  location.executable = fs::path(QCoreApplication::applicationFilePath().toStdString());
  struct stat info {};
  location.folderOwnedByUser =
      ::stat(location.executable.parent_path().c_str(), &info) != 0 || info.st_uid == ::geteuid();
  location.dataHome = fs::path(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString());
  return location;
}

bool isUnderSystemPrefix(const fs::path& folder) {
  const fs::path normal = folder.lexically_normal();
  for (const char* name : kSystemPrefixes) {
    const fs::path prefix(name);
    auto p = prefix.begin();
    auto f = normal.begin();
    for (; p != prefix.end() && f != normal.end() && *p == *f; ++p, ++f) {
    }
    if (p == prefix.end()) return true;
  }
  return false;
}

bool holdsEvent(const fs::path& folder) {
  return base::isFile(base::findIgnoringCase(folder, "Config.ini")) ||
         base::isFile(base::findIgnoringCase(folder, "LuckName.txt"));
}

EventFolderChoice chooseEventFolder(const ProgramLocation& location) {
  const fs::path programFolder = location.executable.parent_path();
  const fs::path dataFolder = location.dataHome / location.executable.filename();
  EventFolderChoice choice;
  choice.installed = isUnderSystemPrefix(programFolder) || !location.folderOwnedByUser;
  choice.folder = choice.installed ? dataFolder : programFolder;
  const fs::path& other = choice.installed ? programFolder : dataFolder;
  if (other != choice.folder && holdsEvent(other)) choice.otherEvent = other;
  return choice;
}

QString otherEventMessage(const EventFolderChoice& choice) {
  if (!choice.otherEvent) return {};
  return QStringLiteral(
             "在两个位置都找到了抽奖活动的文件:\n\n正在使用:%1\n另一处:%2\n\n"
             "另一处的活动不会被使用,也不会被改动。如果要继续的是另一处的活动,请退出程序,"
             "把它的文件(Config.ini、LuckName.txt、log.txt 和名单)复制到正在使用的文件夹中,再启动程序。")
      .arg(toQString(choice.folder), toQString(*choice.otherEvent));
}

void layOutEventFolder(const fs::path& shipped, const fs::path& executable, const fs::path& eventFolder) {
  std::error_code ec;
  fs::create_directories(eventFolder, ec);
  if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, eventFolder, base::describeError(ec));
  for (const char* name : kEventFolders) {
    fs::create_directories(eventFolder / name, ec);
    if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, eventFolder / name, base::describeError(ec));
  }
  for (auto it = fs::recursive_directory_iterator(shipped, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const fs::path relative = fs::relative(it->path(), shipped, ec);
    if (ec) break;
    const fs::path target = eventFolder / relative;
    if (it->is_directory()) {
      fs::create_directories(target, ec);
    } else if (it->path() != executable && !isModule(it->path()) && !madeByAnEvent(it->path()) &&
               !fs::exists(target)) {
      fs::copy_file(it->path(), target, fs::copy_options::skip_existing, ec);
    }
    if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, target, base::describeError(ec));
  }
  if (ec) throw base::FileError(base::FileError::Kind::CannotOpen, shipped, base::describeError(ec));
}

// Decided once: the answer cannot change while the program runs.
const EventFolderChoice& eventFolder() {
  static const EventFolderChoice choice = decide();
  return choice;
}

QString programDir() { return toQString(eventFolder().folder); }

}  // namespace platform
