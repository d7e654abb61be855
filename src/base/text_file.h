#pragma once
// Whole text files as the event folder keeps them: GBK bytes, lines ended by
// CR LF when written and by CR LF, LF or CR when read. Bytes are never converted
// here, so text that is not valid GBK survives a read and a write unchanged.
//
// Durability: a whole-file write goes to a temporary file in the same folder, is
// synced and then renamed over the old file, so a crash leaves the old or the new
// file. An appended line is synced before appendLine returns. Every failure raises
// base::FileError; nothing is dropped silently.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Splits text into lines: CR LF, LF or CR each end a line; a last line without a
// line end still counts; the line end after the last line adds no empty line.
// UTF-8 byte order marks at the very start (an editor's, on a file copied from
// elsewhere; one editor after another may add its own) are dropped: left in, one
// would hide the first section header of an INI file and make the first record
// or name unreadable.
std::vector<std::string> splitLines(std::string_view text);
// The lines of an editor's text (LF line ends): as splitLines, but a text that
// ends with a line end has an empty last line, where the cursor stands.
std::vector<std::string> splitEditorLines(std::string_view text);
// The same lines as splitLines as views into `text`, for a reader that takes each line apart
// at once: no copy of each line.
std::vector<std::string_view> splitLineViews(std::string_view text);

// The whole file as bytes; nothing when the file does not exist. Raises FileError
// when it exists but cannot be read.
std::optional<std::string> readFileIfExists(const std::filesystem::path& path);
// The whole file as bytes; raises FileError(CannotOpen) when it is missing.
std::string readFile(const std::filesystem::path& path);
// readFile + splitLines.
std::vector<std::string> readLines(const std::filesystem::path& path);

// Replaces the file's contents atomically (temporary file, sync, rename).
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);
// The same for a read-modify-write beside another writer (an operator's editor):
// the file is replaced only when, right before the rename, it still holds
// `expected` (nothing: it still does not exist). Returns false, leaving the file
// alone, when it changed meanwhile; the caller reads it again and redoes its change.
bool replaceFileIfUnchanged(const std::filesystem::path& path, std::string_view bytes,
                            const std::optional<std::string>& expected);
// Replaces the file by these lines, each ended by CR LF.
void rewriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines);
// Appends text + CR LF, creating the file when missing; synced before returning.
// The line always starts on a line of its own (a CR LF goes first when the file
// ends without one). When the write fails (a full disk, a size limit) the file is
// cut back to what it held and FileError is raised: a failed append leaves no
// part of its line.
void appendLine(const std::filesystem::path& path, std::string_view text);
// Makes the file empty (creating it when missing).
void truncateFile(const std::filesystem::path& path);

// The calls that make the writes above durable. A killed process never shows a
// missing sync, so a test puts a recorder here to see which file is synced and
// in what order against the rename. The defaults are the system's calls.
class DurabilityCalls {
 public:
  virtual ~DurabilityCalls() = default;
  virtual int fsync(int fd);
  virtual int fdatasync(int fd);
  virtual int rename(const char* from, const char* to);
};
// Routes the calls of this file through `calls` (nullptr: the system's) and
// returns the previous ones. Not for use while another thread writes.
DurabilityCalls* setDurabilityCalls(DurabilityCalls* calls);

}  // namespace base
