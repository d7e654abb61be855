#include "draw/run_record.h"

#include "draw/config_keys.h"

namespace draw {

bool readFirstRunFlag(const base::IniFile& ini) { return readKey(ini, keys::kFirstRun); }

void clearFirstRunFlag(base::IniFile& ini) { writeKey(ini, keys::kFirstRun, false); }

}  // namespace draw
