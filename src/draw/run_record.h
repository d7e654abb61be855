#pragma once
// The run record of the configuration ("程序运行情况"): the first-run flag that a
// fresh template carries. The position load reads it and clears it at once in
// the file it read, so only the first start of an event sees it set.
#include "base/ini_file.h"

namespace draw {

bool readFirstRunFlag(const base::IniFile& ini);
// Writes the flag back as false into the same file; raises base::FileError.
void clearFirstRunFlag(base::IniFile& ini);

}  // namespace draw
