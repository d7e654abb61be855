#pragma once
// Export and import of the whole configuration: the program folder copied, less
// the program itself, into a backup folder "Kelvara抽奖软件", and the event's files
// and folders taken back from such a folder. Files are copied each to a
// temporary name beside the target and renamed over it, so a failure or a crash
// never leaves a torn file. Paths are file-system paths (UTF-8 on Linux).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace draw {

// The backup folder's name, UTF-8.
inline constexpr std::string_view kBackupFolderName = "Kelvara抽奖软件";

// The folder an export into `chosen` writes: chosen/Kelvara抽奖软件.
std::filesystem::path backupFolderIn(const std::filesystem::path& chosen);

// True when an export into `chosen` would copy the program folder into itself
// (chosen lies inside it) or onto itself (the backup folder is the program folder).
bool exportWouldCopyIntoItself(const std::filesystem::path& programDir, const std::filesystem::path& chosen);

// Copies every file and subfolder of programDir into `backup`, creating folders
// and replacing files, but not the program's own files at the top, named in
// `programFiles` (the executable and the modules beside it), nor the event's
// lock file. Every file is copied beside its place before any is renamed into
// it, so a copy that fails (a full disk) leaves an earlier backup in `backup`
// as it was. Raises base::FileError at the first failure, after taking away the
// copies and the folders it made.
void exportConfiguration(const std::filesystem::path& programDir, const std::filesystem::path& backup,
                         const std::vector<std::string>& programFiles);

// The name check of an import: the chosen path ends with the backup folder's
// name, compared by characters (a trailing "/" is ignored).
bool hasBackupFolderName(std::string_view utf8Path);

// What an import takes over: these files, then these folders. SysConfig.ini,
// "image" and "manager" stay as they are.
const std::vector<std::string>& importedFiles();
const std::vector<std::string>& importedFolders();

// True when the folder holds at least one of the imported files or folders; a
// folder that holds none is no backup and nothing is copied from it.
bool looksLikeBackup(const std::filesystem::path& backup);

struct ImportOutcome {
  bool foldersCopied = true;          // every imported folder existed and was copied whole
  std::vector<std::string> failures;  // files and folders that could not be copied (not the missing ones)
};

// Copies the imported files one by one (a missing one is skipped), then merges
// the imported folders into the program folder, replacing files. Never raises
// for a single copy: the rest still go on.
ImportOutcome importConfiguration(const std::filesystem::path& backup, const std::filesystem::path& programDir);

// Copies `from` over `to` through a temporary file beside `to`. Raises base::FileError.
void copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace draw
