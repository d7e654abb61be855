#pragma once
// Shared by the display tests: the keys of an INI section in file order, and a
// key's value.
#include <QImage>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "test_folder.h"

namespace display_testing {

// The key names of `section` (UTF-8) in the order they stand in the file.
inline std::vector<std::string> keysInOrder(const testing_support::TestFolder& folder, const std::string& section) {
  std::vector<std::string> keys;
  for (const std::string& key : base::IniFile(folder / "Config.ini").keys(base::utf8ToGbk(section)))
    keys.push_back(base::gbkToUtf8(key));
  return keys;
}

// The value of `key` in `section` (both UTF-8), as UTF-8; "<none>" when missing.
inline std::string storedValue(const testing_support::TestFolder& folder, const std::string& section,
                               const std::string& key) {
  const base::IniFile config(folder / "Config.ini");
  const std::string gbkSection = base::utf8ToGbk(section), gbkKey = base::utf8ToGbk(key);
  if (!config.hasKey(gbkSection, gbkKey)) return "<none>";
  return base::gbkToUtf8(config.readString(gbkSection, gbkKey, ""));
}

// Writes a small picture at `relative` in the folder (its folder made) and
// returns its path, as a file dialog would answer it.
inline QString writePicture(const testing_support::TestFolder& folder, const std::string& relative) {
  const std::filesystem::path file = folder / relative;
  std::filesystem::create_directories(file.parent_path());
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(0x3050A0);
  const QString path = QString::fromStdString(file.string());
  picture.save(path);
  return path;
}

}  // namespace display_testing
