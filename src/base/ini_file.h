#pragma once
// One INI file of the event folder with the reading and writing rules every
// window follows: each read names its default; each write reaches the file at
// once, so the next reader sees it.
//
// A routine that writes many keys (exit save, layout store, auto layout) opens a
// batch: writes then change the held document and land on disk together when the
// batch commits, provided nothing else reads the file in between.
//
// When the file does not exist yet and a seed file is given (SysConfig.ini for
// Config.ini), the file starts as a copy of the seed before taking the first
// write, so creating Config.ini never drops the template's awards and settings.
//
// Every write that cannot be done raises base::FileError.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_document.h"

namespace base {

class IniFile {
 public:
  explicit IniFile(std::filesystem::path path, std::filesystem::path seed = {});

  const std::filesystem::path& path() const { return path_; }
  bool exists() const;

  std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Decimal, or hexadecimal after "$" or "0x"; anything else reads as the default.
  int readInt(std::string_view section, std::string_view key, int fallback) const;
  // An integer: 0 is false, any other true; anything else reads as the default.
  bool readBool(std::string_view section, std::string_view key, bool fallback) const;
  bool hasSection(std::string_view section) const;
  bool hasKey(std::string_view section, std::string_view key) const;
  std::vector<std::string> keys(std::string_view section) const;

  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInt(std::string_view section, std::string_view key, int value);
  // Writes "1" or "0".
  void writeBool(std::string_view section, std::string_view key, bool value);
  void deleteKey(std::string_view section, std::string_view key);
  void eraseSection(std::string_view section);

  // Holds writes until commit(); nesting is counted, the outermost commit writes.
  void beginBatch();
  void commit();

  // Re-reads the file from disk (after another writer).
  void reload();

 private:
  template <typename Change>
  void change(Change&& apply);
  void save();

  std::filesystem::path path_;
  std::filesystem::path seed_;
  IniDocument document_;
  int batchDepth_ = 0;
  bool dirty_ = false;
};

// Writes held by an IniFile batch for one scope; commits when the scope ends
// normally. If the scope ends by an exception the writes are still committed, so
// that what was done before the failure stays (as each key would have).
class IniBatch {
 public:
  explicit IniBatch(IniFile& file) : file_(file) { file_.beginBatch(); }
  ~IniBatch() noexcept(false);
  IniBatch(const IniBatch&) = delete;
  IniBatch& operator=(const IniBatch&) = delete;

 private:
  IniFile& file_;
};

// "2026-12-08 20:15:03": the date and time form of the INI files and the draw log.
std::string currentDateTimeText();

}  // namespace base
