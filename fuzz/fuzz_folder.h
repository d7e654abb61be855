#pragma once
// A scratch event folder for one fuzzing process: files are rewritten on every
// input, so it lives in memory when /dev/shm is there, and is removed at exit.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/text_file.h"

namespace fuzzing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code ec;
    std::filesystem::path root = std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                                               : std::filesystem::temp_directory_path();
    path_ = root / ("kv_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  void write(const std::string& name, std::string_view bytes) const { base::writeFileAtomically(path_ / name, bytes); }
  void remove(const std::string& name) const {
    std::error_code ec;
    std::filesystem::remove(path_ / name, ec);
  }
  // Removes every file but the ones a target keeps between inputs.
  void clear() const {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ec)) std::filesystem::remove_all(entry, ec);
  }

 private:
  std::filesystem::path path_;
};

// The one folder of this process; static so that it is removed when the fuzzer exits normally.
inline const ScratchFolder& scratch() {
  static ScratchFolder folder;
  return folder;
}

// A finding that is not a crash: a reader broke a promise its header makes.
[[noreturn]] inline void broken(const char* what) {
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

}  // namespace fuzzing
