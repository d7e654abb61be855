#include "base/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "base/file_error.h"

namespace base {

namespace fs = std::filesystem;

namespace {

// Positions of every CR and LF in the text, in order. Sixteen bytes at a time
// where SSE2 is there: rosters hold short lines, so the per-byte loop dominated.
std::vector<std::size_t> lineBreakPositions(const char* data, std::size_t size) {
  std::vector<std::size_t> positions;
  positions.reserve(size / 8 + 16);
  std::size_t pos = 0;
#ifdef __SSE2__
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; pos + 16 <= size; pos += 16) {
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
    auto mask =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf))));
    while (mask) {
      positions.push_back(pos + static_cast<std::size_t>(__builtin_ctz(mask)));
      mask &= mask - 1;
    }
  }
#endif
  for (; pos < size; ++pos)
    if (data[pos] == '\r' || data[pos] == '\n') positions.push_back(pos);
  return positions;
}

}  // namespace

std::vector<std::string_view> splitLineViews(std::string_view text) {
  while (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const char* data = text.data();
  const std::size_t size = text.size();
  const std::vector<std::size_t> breaks = lineBreakPositions(data, size);
  std::vector<std::string_view> lines;
  lines.reserve(breaks.size() + 1);
  std::size_t start = 0;
  for (std::size_t i = 0; i < breaks.size(); ++i) {
    const std::size_t pos = breaks[i];
    if (pos < start) continue;  // the LF of a CR LF
    lines.emplace_back(data + start, pos - start);
    start = pos + 1;
    if (data[pos] == '\r' && start < size && data[start] == '\n') ++start;  // CR LF is one line end
  }
  if (start < size) lines.emplace_back(data + start, size - start);
  return lines;
}

std::vector<std::string> splitLines(std::string_view text) {
  const std::vector<std::string_view> views = splitLineViews(text);
  return {views.begin(), views.end()};
}

std::vector<std::string> splitEditorLines(std::string_view text) {
  std::vector<std::string> lines = splitLines(text);
  if (!text.empty() && text.back() == '\n') lines.emplace_back();
  return lines;
}

int DurabilityCalls::fsync(int fd) { return ::fsync(fd); }
int DurabilityCalls::fdatasync(int fd) { return ::fdatasync(fd); }
int DurabilityCalls::rename(const char* from, const char* to) { return ::rename(from, to); }

namespace {
DurabilityCalls systemCalls;
DurabilityCalls* durability = &systemCalls;
}  // namespace

DurabilityCalls* setDurabilityCalls(DurabilityCalls* calls) {
  DurabilityCalls* previous = durability == &systemCalls ? nullptr : durability;
  durability = calls ? calls : &systemCalls;
  return previous;
}

namespace {

std::string errnoText() { return describeErrno(errno); }

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (it can report a failed write).
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

void writeAll(int fd, std::string_view bytes, const fs::path& path) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw FileError(FileError::Kind::CannotWrite, path, errnoText());
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
}

void syncFolder(const fs::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // the rename has happened; a folder we cannot open for sync is no failure
  durability->fsync(fd);
  ::close(fd);
}

}  // namespace

std::optional<std::string> readFileIfExists(const fs::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throw FileError(FileError::Kind::CannotOpen, path, errnoText());
  }
  FileDescriptor file(fd);
  std::string bytes;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileError(FileError::Kind::CannotOpen, path, errnoText());
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return bytes;
}

std::string readFile(const fs::path& path) {
  auto bytes = readFileIfExists(path);
  if (!bytes) throw FileError(FileError::Kind::CannotOpen, path, "文件不存在");
  return std::move(*bytes);
}

std::vector<std::string> readLines(const fs::path& path) { return splitLines(readFile(path)); }

namespace {
// The one source of temporary names of the process. Two writers of one file on
// two threads (the phone scorer and a window's save) each make a temporary file
// beside it; with a name of their own each, neither renames or removes the
// other's. A counter per kind of write would hand both the same name.
std::atomic<std::uint64_t> temporaryNames{0};

fs::path temporaryBeside(const fs::path& path) {
  fs::path temporary = path;
  temporary += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(temporaryNames.fetch_add(1));
  return temporary;
}

// Writes bytes to a synced temporary file beside path, then renames it over path
// when stillCurrent() (run right before the rename) agrees; returns whether it did.
template <typename Check>
bool replaceFile(const fs::path& path, std::string_view bytes, Check stillCurrent) {
  fs::path folder = path.parent_path();
  const fs::path temporary = temporaryBeside(path);

  // Keep the mode of the file being replaced; new files get the usual 0644.
  mode_t mode = 0644;
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) mode = info.st_mode & 07777;

  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) throw FileError(FileError::Kind::CannotWrite, path, errnoText());
  FileDescriptor file(fd);
  try {
    writeAll(fd, bytes, path);
    if (durability->fsync(fd) != 0) throw FileError(FileError::Kind::CannotWrite, path, errnoText());
    if (!file.close()) throw FileError(FileError::Kind::CannotWrite, path, errnoText());
    if (!stillCurrent()) {
      ::unlink(temporary.c_str());
      return false;
    }
    if (durability->rename(temporary.c_str(), path.c_str()) != 0)
      throw FileError(FileError::Kind::CannotWrite, path, errnoText());
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  syncFolder(folder);
  return true;
}
}  // namespace

void writeFileAtomically(const fs::path& path, std::string_view bytes) {
  replaceFile(path, bytes, [] { return true; });
}

bool replaceFileIfUnchanged(const fs::path& path, std::string_view bytes, const std::optional<std::string>& expected) {
  return replaceFile(path, bytes, [&] { return readFileIfExists(path) == expected; });
}

void rewriteLines(const fs::path& path, const std::vector<std::string>& lines) {
  std::string bytes;
  std::size_t total = 0;
  for (const auto& line : lines) total += line.size() + 2;
  bytes.reserve(total);
  for (const auto& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  writeFileAtomically(path, bytes);
}

void appendLine(const fs::path& path, std::string_view text) {
  const bool created = ::access(path.c_str(), F_OK) != 0;
  // Read access only serves the look at the last byte; a file we may only write to still takes the line.
  int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError(FileError::Kind::CannotWrite, path, errnoText());
  FileDescriptor file(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw FileError(FileError::Kind::CannotWrite, path, errnoText());
  if (!S_ISREG(info.st_mode)) throw FileError(FileError::Kind::CannotWrite, path, describeErrno(EISDIR));
  const off_t oldSize = info.st_size;

  std::string line;
  line.reserve(text.size() + 4);
  // A last line left without its end (another program, a crash before start-up
  // repaired it) must not run into this one.
  if (oldSize > 0) {
    char last = '\n';
    if (::pread(fd, &last, 1, oldSize - 1) == 1 && last != '\n' && last != '\r') line += "\r\n";
  }
  line.append(text);
  line += "\r\n";
  try {
    writeAll(fd, line, path);
    if (durability->fdatasync(fd) != 0) throw FileError(FileError::Kind::CannotWrite, path, errnoText());
  } catch (const FileError&) {
    // A full disk or a size limit can take part of the line: cut the file back
    // to what it held, so that the failed line leaves no torn record behind.
    if (created && oldSize == 0) {
      ::unlink(path.c_str());
    } else if (::ftruncate(fd, oldSize) == 0) {
      durability->fdatasync(fd);
    }
    throw;
  }
  if (!file.close()) throw FileError(FileError::Kind::CannotWrite, path, errnoText());
  if (created) syncFolder(path.parent_path());
}

void truncateFile(const fs::path& path) { writeFileAtomically(path, {}); }

}  // namespace base
