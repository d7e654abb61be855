#pragma once
// The prize display's stored settings, section "ShowPrizeName" (and the logo's
// name, which it reads from the main screen's "TitlePic"). The window applies
// them; loading and storing happen here, without a window.
#include <array>
#include <string>

#include "base/ini_file.h"
#include "screen/state/geometry.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

namespace screen {

struct PrizeDisplaySettings {
  styledtext::FontRecord captionFont;
  styledtext::TSmoothEffect captionEffect;
  Point captionPosition{500, 500};  // "X坐标", "Y坐标"
  // "Show1" … "Show3": the caption shows the number of places, the prize, the draw guest.
  std::array<bool, 3> captionParts{true, true, true};
  int interval = 1000;                  // "speed", milliseconds between awards
  Rect pictureBox{500, 500, 500, 500};  // "img_left", "img_top", "img_w", "img_h"; sizes below 1 are kept
  // "Picture": the name in "backpic" the file holds, or a bare GBK name the
  // operator chose since; written under the picture-name rule
  // (screen/state/config_keys.h).
  std::string background;
  std::string logo;  // "TitlePic"/"TitlePicture", read only
};

// Reads Config.ini's keys; a missing key reads as its default, the caption's
// font and effect as the window's design (31 pixels high, white, a gradient
// from the bottom ending in yellow).
PrizeDisplaySettings loadPrizeDisplay(const base::IniFile& config);

// Writes "ShowPrizeName" in the order the display writes it.
void savePrizeDisplay(base::IniFile& config, const PrizeDisplaySettings& settings);

}  // namespace screen
