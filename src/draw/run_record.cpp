#include "draw/run_record.h"

#include "base/gbk.h"
#include "draw/draw_texts.h"

namespace draw {

namespace {
const std::string& section() {
  static const std::string text = base::gbk("程序运行情况");
  return text;
}
const std::string& firstRunKey() {
  static const std::string text = base::gbk("首次运行");
  return text;
}
}  // namespace

bool readFirstRunFlag(const base::IniFile& ini) { return ini.readBool(section(), firstRunKey(), false); }

void clearFirstRunFlag(base::IniFile& ini) { ini.writeBool(section(), firstRunKey(), false); }

}  // namespace draw
