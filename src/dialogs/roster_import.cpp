#include "dialogs/roster_import.h"

#include "base/text_file.h"

namespace dialogs {

draw::Lines importRosterFile(const std::filesystem::path& file) { return base::readLines(file); }

}  // namespace dialogs
