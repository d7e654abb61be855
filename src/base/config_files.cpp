#include "base/config_files.h"

#include "base/paths.h"

namespace base {

namespace fs = std::filesystem;

ConfigFiles::ConfigFiles(fs::path programDir) : programDir_(std::move(programDir)) {}

fs::path ConfigFiles::configPath() const { return findIgnoringCase(programDir_, "Config.ini"); }

fs::path ConfigFiles::templatePath() const { return findIgnoringCase(programDir_, "SysConfig.ini"); }

IniFile ConfigFiles::openWithFallback() const {
  fs::path config = configPath();
  std::error_code ec;
  if (fs::exists(config, ec)) return IniFile(config);
  return IniFile(templatePath());
}

IniFile ConfigFiles::openConfig() const { return IniFile(configPath(), templatePath()); }

IniFile ConfigFiles::openConfigOnly() const { return IniFile(configPath()); }

}  // namespace base
