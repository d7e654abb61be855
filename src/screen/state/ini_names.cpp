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
