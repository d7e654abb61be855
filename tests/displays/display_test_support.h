#pragma once
// Shared by the display tests: the keys of an INI section in file order.
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

}  // namespace display_testing
