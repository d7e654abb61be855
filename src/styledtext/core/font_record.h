#pragma once
// A caption's font as the data files know it: a Windows face name in GBK, a size
// in points, a colour and a character set, plus the style that the window
// definitions give and the files never store.
#include <string>

namespace styledtext {

struct FontRecord {
  std::string name;  // GBK face name, e.g. "黑体"; empty means the platform's default face
  int size = 20;     // points
  int color = 0;     // red + 256 × green + 65536 × blue
  int charset = 0;   // kept for the files; the rasteriser does not need it
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  bool operator==(const FontRecord&) const = default;
};

}  // namespace styledtext
