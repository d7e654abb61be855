#pragma once
// A fresh folder for one test, removed afterwards, and GBK helpers for fixtures.
#include <filesystem>
#include <random>
#include <string>

#include "base/gbk.h"
#include "base/text_file.h"

namespace testing_support {

class TestFolder {
 public:
  explicit TestFolder(const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
    std::random_device seed;
    path_ = parent / ("kv_test_" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TestFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Writes raw bytes to a file of the folder.
  void write(const std::string& name, const std::string& bytes) const {
    base::writeFileAtomically(path_ / name, bytes);
  }
  std::string read(const std::string& name) const { return base::readFile(path_ / name); }

 private:
  std::filesystem::path path_;
};

// UTF-8 source text as the GBK bytes the files hold.
inline std::string gbk(const std::string& utf8) { return base::utf8ToGbk(utf8); }

}  // namespace testing_support
