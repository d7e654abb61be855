// INI documents as Config.ini, SysConfig.ini and the exported backups hold them.
// Promises checked: parsing never fails; writing the document back and parsing
// that gives the same document; every key listed can be read; a value written
// is read back trimmed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/ini_document.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  base::IniDocument document = base::IniDocument::parse(bytes);
  const std::string written = document.serialize();
  if (base::IniDocument::parse(written).serialize() != written) fuzzing::broken("serialize is not stable");

  for (const std::string& section : document.sections()) {
    if (!document.hasSection(section)) fuzzing::broken("a listed section is missing");
    for (const std::string& key : document.keys(section))
      if (!document.value(section, key)) fuzzing::broken("a listed key has no value");
  }

  // A key and value taken from the input's first line, as an editor would write them.
  const std::size_t end = bytes.find_first_of("\r\n");
  std::string_view line = bytes.substr(0, end == std::string_view::npos ? bytes.size() : end);
  const std::size_t equals = line.find('=');
  if (equals != std::string_view::npos && equals > 0 && line.find_first_of("[]") == std::string_view::npos) {
    std::string key(line.substr(0, equals));
    std::string value(line.substr(equals + 1));
    if (key.find_first_not_of(" \t") != std::string::npos && key.front() != ';' &&
        key.find('\0') == std::string::npos) {
      document.setValue("Fuzz", key, value);
      auto back = document.value("Fuzz", key);
      if (!back) fuzzing::broken("a written key cannot be read");
      base::IniDocument reparsed = base::IniDocument::parse(document.serialize());
      if (reparsed.value("Fuzz", key) != back) fuzzing::broken("a written value reads differently from the file");
    }
  }
  return 0;
}
