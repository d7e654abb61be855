#include "draw/config_backup.h"

#include <algorithm>
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

// What a copy made that was not there before, in the order made, so that a
// failed export can take it away again.
using Made = std::vector<fs::path>;

void copyTree(const fs::path& from, const fs::path& to, const std::vector<std::string>& skipAtTop, Made* made) {
  std::error_code ec;
  if (made && !fs::exists(to, ec)) made->push_back(to);
  fs::create_directories(to, ec);
  if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, to, base::describeError(ec));
  for (fs::directory_iterator it(from, ec), end; it != end; it.increment(ec)) {
    if (ec) break;
    const fs::path name = it->path().filename();
    if (std::find(skipAtTop.begin(), skipAtTop.end(), name.string()) != skipAtTop.end()) continue;
    if (it->is_directory(ec)) {
      copyTree(it->path(), to / name, {}, made);
    } else {
      std::error_code exists;
      const bool fresh = !fs::exists(to / name, exists);
      copyFileReplacing(it->path(), to / name);
      if (made && fresh) made->push_back(to / name);
    }
  }
  if (ec) throw base::FileError(base::FileError::Kind::CannotOpen, from, base::describeError(ec));
}

}  // namespace

bool exportWouldCopyIntoItself(const fs::path& programDir, const fs::path& chosen) {
  const fs::path program = normal(programDir);
  const fs::path target = normal(chosen);
  return isWithin(target, program) || normal(backupFolderIn(chosen)) == program;
}

void copyFileReplacing(const fs::path& from, const fs::path& to) {
  fs::path temporary = to;
  temporary += ".kvcopy";
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
  Made made;
  try {
    copyTree(programDir, backup, skipped, &made);
  } catch (const base::FileError&) {
    // A half export is no backup: what it made goes, newest first (files before their folders).
    std::error_code ignored;
    for (auto it = made.rbegin(); it != made.rend(); ++it) fs::remove_all(*it, ignored);
    throw;
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
      copyTree(backup / folder, programDir / folder, {}, nullptr);
    } catch (const base::FileError&) {
      outcome.foldersCopied = false;
      outcome.failures.push_back(folder);
    }
  }
  return outcome;
}

}  // namespace draw
