#pragma once
// The winners display's stored settings: its two titles ("ShowMainTitle",
// "ShowSecTitle"), the logo ("ShowLogoTitle"), the scrolling text ("NameText"),
// the per-row count ("NameList") and its pictures ("ShowTitlePic"). The window
// applies them; loading and storing happen here, without a window.
#include <string>

#include "base/ini_file.h"
#include "screen/state/geometry.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

namespace screen {

// A title of the display: its look, its place and its menu tick.
struct DisplayTitleSettings {
  styledtext::FontRecord font;
  styledtext::TSmoothEffect effect;
  Point position;
  bool shown = true;
};

struct WinnersDisplaySettings {
  DisplayTitleSettings mainTitle;
  DisplayTitleSettings secTitle;
  Point logoPosition;
  bool logoShown = true;
  styledtext::FontRecord textFont;
  int textBackColour = 0;
  styledtext::TSmoothEffect textEffect;
  // "Left" is written but never read back (the text is always centred); "Top"
  // and "Height" are. The width follows the composed text.
  Rect textBox;
  int scrollDelay = 60;
  int scrollStep = 1;
  int perRow = 0;  // names per line; the missing marker 99999 puts all on one line
  // "ShowTitlePic" "Picture" (in "backpic") and "TitlePicture" (in "image"): the
  // names the file holds, or a bare GBK name the operator chose since; written
  // under the picture-name rule (screen/state/config_keys.h).
  std::string background;
  std::string logo;
  // Read only: the file holds the main title's place, or the text's top. A first
  // opening has neither, and the display takes its default layout instead.
  bool titlesPlaced = false;
  bool textPlaced = false;
};

// The window's design, used for every key a file lacks: titles white, 31 and 27
// pixels high, with a vertical gradient ending in yellow; the text "黑体" bold,
// 19 pixels high, shadowed, on sky blue, in a box 529 × 177; per-row count 99999.
// Places are left at 0 for the window to fill from its layout.
WinnersDisplaySettings winnersDisplayDesign();

// Reads the settings over `design`: a missing key keeps the design's value. The
// text's effect keys Alpha and Angle are stored but not read back; its height
// is at least 20 pixels.
WinnersDisplaySettings loadWinnersDisplay(const base::IniFile& config, const WinnersDisplaySettings& design);

// Writes the sections in the order the display writes them when it closes.
void saveWinnersDisplay(base::IniFile& config, const WinnersDisplaySettings& settings);

}  // namespace screen
