#pragma once
// Reading a roster from a file the operator chose. One function per file kind,
// so that further kinds (spreadsheets) join here without touching the editor.
#include <filesystem>

#include "draw/roster_edit.h"

namespace dialogs {

// The file's lines as GBK (ended by CR LF, LF or CR), bytes kept as they are.
// Raises base::FileError when the file cannot be read.
draw::Lines importRosterFile(const std::filesystem::path& file);

}  // namespace dialogs
