#pragma once
// Shared by the display tests: the keys of an INI section in file order, and a
// key's value.
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/text_file.h"
#include "test_folder.h"

namespace display_testing {

// The key names of `section` (UTF-8) in the order they stand in the file.
inline std::vector<std::string> keysInOrder(const testing_support::TestFolder& folder, const std::string& section) {
  std::vector<std::string> keys;
  bool inside = false;
  for (const std::string& raw : base::splitLines(folder.read("Config.ini"))) {
    const std::string line = base::gbkToUtf8(raw);
    if (!line.empty() && line[0] == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    if (inside && line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
  }
  return keys;
}

// The value of `key` in `section` (both UTF-8), as UTF-8; "<none>" when missing.
inline std::string storedValue(const testing_support::TestFolder& folder, const std::string& section,
                               const std::string& key) {
  bool inside = false;
  for (const std::string& raw : base::splitLines(folder.read("Config.ini"))) {
    const std::string line = base::gbkToUtf8(raw);
    if (!line.empty() && line[0] == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    if (inside && line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return "<none>";
}

}  // namespace display_testing
