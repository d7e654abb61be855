#pragma once
// Start-up repair of the two files the draw appends to. An append cut short by
// a power cut or a full disk leaves LuckName.txt or log.txt ending in a line
// without its CR LF. Read as it is, such a line stops the winners record load,
// or, when it still parses, records a person nobody saw win and runs into the
// next appended line.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "draw/event_folder.h"

namespace draw {

// For LuckName.txt and log.txt: when the file ends in a line without a line
// end, keeps the file as it was beside it ("LuckName.txt.damaged-20261208-201503"),
// then replaces it by its whole lines. Returns what was repaired, in plain words
// for the operator (GBK), or nothing when both files were whole. Raises
// base::FileError when a damaged file cannot be read, kept aside or rewritten;
// the file is then left as it was.
std::optional<std::string> repairTornLastLines(const EventFolder& folder);

// Where a damaged file is kept aside before start-up changes it: beside it, named
// after it and the time ("Config.ini.damaged-20261208-201503", "-2" … when taken).
std::filesystem::path asideNameFor(const std::filesystem::path& file);
// Writes `bytes` (the file as it was) to `aside` atomically. Raises base::FileError.
void keepAside(const std::filesystem::path& aside, std::string_view bytes);

}  // namespace draw
