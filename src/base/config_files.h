#pragma once
// The two INI files of an event folder. Config.ini is the event in hand;
// SysConfig.ini is the template read in its place while Config.ini does not exist.
#include <filesystem>

#include "base/ini_file.h"

namespace base {

class ConfigFiles {
 public:
  explicit ConfigFiles(std::filesystem::path programDir);

  const std::filesystem::path& programDir() const { return programDir_; }
  std::filesystem::path configPath() const;    // Config.ini
  std::filesystem::path templatePath() const;  // SysConfig.ini

  // The file a reader with the fallback rule opens: Config.ini when it exists,
  // else SysConfig.ini. Writes through it go to that same file (the position load
  // writes the first-run flag this way).
  IniFile openWithFallback() const;
  // Config.ini for reading and writing; when it is missing it reads as the
  // template would and is created as a copy of SysConfig.ini at the first write.
  IniFile openConfig() const;
  // Config.ini alone: a missing file reads every key as its default.
  IniFile openConfigOnly() const;

 private:
  std::filesystem::path programDir_;
};

}  // namespace base
