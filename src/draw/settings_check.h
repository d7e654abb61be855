#pragma once
// Whether the settings file start-up is about to read is one of this program's
// own. A Config.ini that another program overwrote, an editor saved as UTF-8 or a
// crash cut to nothing reads as empty settings: the sounds are "not found", the
// awards are "empty", and the exit save then writes those empty settings over
// the file, so that the award definitions are gone for good. Start-up keeps such
// a file aside and lets the operator choose before anything is written.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "base/config_files.h"

namespace draw {

struct SettingsProblem {
  std::filesystem::path file;  // Config.ini, or SysConfig.ini while Config.ini does not exist
  bool isTemplate = false;     // the file is SysConfig.ini
  std::string reason;          // UTF-8
};

// The file the settings loads would read, when it is not text of this program
// (control bytes, UTF-8, not GB18030) or holds no section of this program. A
// missing or unreadable file is none of this (the loads have their own rules).
std::optional<SettingsProblem> findSettingsProblem(const base::ConfigFiles& files);

// The question put to the operator (GBK) once the file is kept aside under `aside`:
// Yes starts again from the template (or, for the template, from the defaults),
// No ends the program and leaves the file as it is.
std::string settingsQuestion(const SettingsProblem& problem, const std::filesystem::path& aside);

// The operator chose to start again: the damaged file goes (its copy stays), so
// that Config.ini is made afresh from the template at the first write, or, for
// the template, every key reads its default. Raises base::FileError.
void dropDamagedSettings(const SettingsProblem& problem);

// Start-up's first step, before anything reads the settings: when the file is not
// the program's own, keeps a copy aside and asks the operator (`ask`, GBK, true
// for Yes); on Yes drops the file. Returns false when the program is to end
// without writing anything: the operator said No, or the copy could not be
// kept (then `tell` says why, GBK).
bool settleSettingsFile(const base::ConfigFiles& files, const std::function<bool(const std::string&)>& ask,
                        const std::function<void(const std::string&)>& tell);

}  // namespace draw
