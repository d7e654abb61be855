#include "draw/config_backup.h"

#include <algorithm>
#include <functional>
#include <system_error>

#include "base/file_error.h"
#include "base/folder_access.h"

namespace draw {

namespace fs = std::filesystem;

fs::path backupFolderIn(const fs::path& chosen) { return chosen / fs::path(std::string(kBackupFolderName)); }

namespace {

fs::path normal(const fs::path& path) {
  std::error_code ec;
  fs::path result = fs::weakly_canonical(path, ec);
  if (ec) result = fs::absolute(path, ec).lexically_normal();
  // "a/b/" and "a/b" name the same folder.
  if (!result.has_filename() && result.has_parent_path()) result = result.parent_path();
  return result;
}

bool isWithin(const fs::path& inner, const fs::path& outer) {
  auto i = inner.begin();
  for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
    if (i == inner.end() || *i != *o) return false;
  }
  return true;
}

// How copyTree puts a file in place.
using CopyFile = std::function<void(const fs::path& from, const fs::path& to)>;

// Copies the tree in a fixed order, the files of a folder (by name) before its
// subfolders, so that what a failure leaves undone is the same on every disk.
// `madeFolders` (when given) collects the folders it made, in the order made.
void copyTree(const fs::path& from, const fs::path& to, const std::vector<std::string>& skipAtTop,
              const CopyFile& copyFile, std::vector<fs::path>* madeFolders) {
  std::error_code ec;
  if (madeFolders && !fs::exists(to, ec)) madeFolders->push_back(to);
  fs::create_directories(to, ec);
  if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, to, base::describeError(ec));
  std::vector<fs::path> files, folders;
  for (fs::directory_iterator it(from, ec), end; it != end; it.increment(ec)) {
    if (ec) break;
    const fs::path name = it->path().filename();
    if (std::find(skipAtTop.begin(), skipAtTop.end(), name.string()) != skipAtTop.end()) continue;
    (it->is_directory(ec) ? folders : files).push_back(name);
  }
  if (ec) throw base::FileError(base::FileError::Kind::CannotOpen, from, base::describeError(ec));
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());
  for (const fs::path& name : files) copyFile(from / name, to / name);
  for (const fs::path& name : folders) copyTree(from / name, to / name, {}, copyFile, madeFolders);
}

fs::path copyBeside(const fs::path& to) {
  fs::path temporary = to;
  temporary += ".kvcopy";
  return temporary;
}

}  // namespace

bool exportWouldCopyIntoItself(const fs::path& programDir, const fs::path& chosen) {
  const fs::path program = normal(programDir);
  const fs::path target = normal(chosen);
  return isWithin(target, program) || normal(backupFolderIn(chosen)) == program;
}

void copyFileReplacing(const fs::path& from, const fs::path& to) {
  const fs::path temporary = copyBeside(to);
  std::error_code ec;
  fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::rename(temporary, to, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw base::FileError(base::FileError::Kind::CannotWrite, to, base::describeError(ec));
  }
}

void exportConfiguration(const fs::path& programDir, const fs::path& backup,
                         const std::vector<std::string>& programFiles) {
  std::vector<std::string> skipped = programFiles;
  skipped.emplace_back(base::kEventLockName);
  // Every file is copied beside its place first and only then renamed into it:
  // the copies are what needs room, so a full disk stops the export before any
  // file of an earlier backup in the folder is replaced. Renames need none.
  std::vector<fs::path> madeFolders;
  std::vector<fs::path> placed;  // the files the copies are for, in the order copied
  std::error_code ignored;
  try {
    copyTree(
        programDir, backup, skipped,
        [&placed](const fs::path& from, const fs::path& to) {
          std::error_code ec;
          placed.push_back(to);
          fs::copy_file(from, copyBeside(to), fs::copy_options::overwrite_existing, ec);
          if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, to, base::describeError(ec));
        },
        &madeFolders);
  } catch (const base::FileError&) {
    // A half export is no backup: the copies go, then the folders it made, newest first.
    for (const fs::path& file : placed) fs::remove(copyBeside(file), ignored);
    for (auto it = madeFolders.rbegin(); it != madeFolders.rend(); ++it) fs::remove_all(*it, ignored);
    throw;
  }
  for (std::size_t i = 0; i < placed.size(); ++i) {
    std::error_code ec;
    fs::rename(copyBeside(placed[i]), placed[i], ec);
    if (ec) {
      for (std::size_t k = i; k < placed.size(); ++k) fs::remove(copyBeside(placed[k]), ignored);
      throw base::FileError(base::FileError::Kind::CannotWrite, placed[i], base::describeError(ec));
    }
  }
}

bool hasBackupFolderName(std::string_view utf8Path) {
  while (utf8Path.size() > 1 && utf8Path.back() == '/') utf8Path.remove_suffix(1);
  return utf8Path.size() >= kBackupFolderName.size() &&
         utf8Path.substr(utf8Path.size() - kBackupFolderName.size()) == kBackupFolderName;
}

const std::vector<std::string>& importedFiles() {
  static const std::vector<std::string> files{"Config.ini",   "log.txt",      "Luck.txt",
                                              "LuckName.txt", "NameList.txt", "PicList.txt"};
  return files;
}

const std::vector<std::string>& importedFolders() {
  static const std::vector<std::string> folders{"backpic", "data", "music", "photo", "prize"};
  return folders;
}

bool looksLikeBackup(const fs::path& backup) {
  std::error_code ec;
  return std::any_of(importedFiles().begin(), importedFiles().end(),
                     [&](const std::string& f) { return fs::is_regular_file(backup / f, ec); }) ||
         std::any_of(importedFolders().begin(), importedFolders().end(),
                     [&](const std::string& f) { return fs::is_directory(backup / f, ec); });
}

ImportOutcome importConfiguration(const fs::path& backup, const fs::path& programDir) {
  ImportOutcome outcome;
  std::error_code ec;
  for (const std::string& file : importedFiles()) {
    if (!fs::is_regular_file(backup / file, ec)) continue;
    try {
      copyFileReplacing(backup / file, programDir / file);
    } catch (const base::FileError&) {
      outcome.failures.push_back(file);
    }
  }
  for (const std::string& folder : importedFolders()) {
    if (!fs::is_directory(backup / folder, ec)) {
      outcome.foldersCopied = false;
      continue;
    }
    try {
      copyTree(backup / folder, programDir / folder, {}, copyFileReplacing, nullptr);
    } catch (const base::FileError&) {
      outcome.foldersCopied = false;
      outcome.failures.push_back(folder);
    }
  }
  return outcome;
}

}  // namespace draw
