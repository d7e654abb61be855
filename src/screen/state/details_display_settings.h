#pragma once
// The score details display's stored settings: the photo tiles ("评委显示设置",
// "评委照片", "评委姓名"), its subtitle and background ("评分细节") and its three
// captions ("ScoreEvSecTitle", "ScoreProNameTitel", "ScoreResult"). The window
// applies them; loading and storing happen here, without a window.
#include <string>

#include "base/ini_file.h"
#include "screen/state/caption_settings.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

namespace screen {

struct DetailsDisplaySettings {
  int perRow = 0;  // judges per row; 0: as many as fit
  int photoWidth = 200;
  int photoHeight = 250;
  styledtext::FontRecord nameFont;  // the judges' names on the tiles; bold
  bool showNames = true;            // "显示评委姓名"
  std::string subtitleText;         // GBK
  std::string background;           // bare GBK name in "backpic"; empty: the built-in picture
  CaptionSettings subtitle;
  CaptionSettings programmeLine;
  CaptionSettings resultLine;
};

// Reads the settings. The subtitle starts from the main screen's subtitle font
// and effect, the other two captions from "黑体". A photo side under 10 pixels
// reads as its default, a negative per-row count as 0, and a caption stored left
// of or above the screen is put at 0.
DetailsDisplaySettings loadDetailsDisplay(const base::IniFile& config, const styledtext::FontRecord& mainSubtitleFont,
                                          const styledtext::TSmoothEffect& mainSubtitleEffect);

// Writes the sections in the order the display writes them.
void saveDetailsDisplay(base::IniFile& config, const DetailsDisplaySettings& settings);

}  // namespace screen
