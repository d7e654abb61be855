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
const std::string& windowStyle() {
  static const std::string name = base::utf8ToGbk("窗体样式");
  return name;
}
const std::string& screenSettings() {
  static const std::string name = base::utf8ToGbk("界面设置");
  return name;
}
const std::string& pictureDraw() {
  static const std::string name = base::utf8ToGbk("图片抽奖");
  return name;
}

}  // namespace screen::names
