#pragma once
// Reading a roster from a text file the operator chose. The roster file itself
// is GB18030; a text from elsewhere may be UTF-8 (the default of most editors
// and of Linux), which would otherwise be taken as GBK and import as garbled
// names with no warning.
#include <filesystem>
#include <optional>

#include "draw/roster_edit.h"
#include "screen/dialog_service.h"

namespace dialogs {

// The file's lines in the roster's encoding (ended by CR LF, LF or CR). GB18030
// keeps its bytes as they are; UTF-8 (base::importEncoding) is converted; when
// the file reads both ways the operator sees its first lines both ways and
// chooses. A file that is not text (NUL and other control bytes: a document, a
// picture, a workbook renamed) is refused with a message. Nothing when refused
// or cancelled. Raises base::FileError when the file cannot be read.
std::optional<draw::Lines> importRosterFile(const std::filesystem::path& file, screen::DialogService& dialogs);

}  // namespace dialogs
