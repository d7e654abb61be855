#include "draw/config_backup.h"

#include <algorithm>
#include <system_error>

#include "base/file_error.h"

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

void copyTree(const fs::path& from, const fs::path& to, const std::vector<std::string>& skipAtTop) {
  std::error_code ec;
  fs::create_directories(to, ec);
  if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, to, ec.message());
  for (fs::directory_iterator it(from, ec), end; it != end; it.increment(ec)) {
    if (ec) break;
    const fs::path name = it->path().filename();
    if (std::find(skipAtTop.begin(), skipAtTop.end(), name.string()) != skipAtTop.end()) continue;
    if (it->is_directory(ec)) {
      copyTree(it->path(), to / name, {});
    } else {
      copyFileReplacing(it->path(), to / name);
    }
  }
  if (ec) throw base::FileError(base::FileError::Kind::CannotOpen, from, ec.message());
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
    throw base::FileError(base::FileError::Kind::CannotWrite, to, ec.message());
  }
}

void exportConfiguration(const fs::path& programDir, const fs::path& backup,
                         const std::vector<std::string>& programFiles) {
  copyTree(programDir, backup, programFiles);
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
      copyTree(backup / folder, programDir / folder, {});
    } catch (const base::FileError&) {
      outcome.foldersCopied = false;
      outcome.failures.push_back(folder);
    }
  }
  return outcome;
}

}  // namespace draw
