#include "screen/state/ini_names.h"

#include "base/gbk.h"

namespace screen::names {

const std::string& xKey() {
  static const std::string name = base::utf8ToGbk("X坐标");
  return name;
}
const std::string& yKey() {
  static const std::string name = base::utf8ToGbk("Y坐标");
  return name;
}

}  // namespace screen::names

namespace screen {

Point readPlace(const base::IniFile& ini, std::string_view section, Point fallback) {
  return {ini.readInt(section, names::xKey(), fallback.x), ini.readInt(section, names::yKey(), fallback.y)};
}

void writePlace(base::IniFile& ini, std::string_view section, Point place) {
  ini.writeInt(section, names::xKey(), place.x);
  ini.writeInt(section, names::yKey(), place.y);
}

}  // namespace screen
