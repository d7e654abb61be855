#pragma once
// The ranking display's stored settings ("评分展示" and "ProShowSecTitle") and
// the rule that turns an average into a bar height. The window applies them;
// loading and storing happen here, without a window.
#include <optional>
#include <string>

#include "base/ini_file.h"
#include "screen/state/caption_settings.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

namespace screen {

struct RankingDisplaySettings {
  int barHeight = 500;     // "柱状高度": the height of a bar whose average is the full score
  int barWidth = 80;       // "柱状宽度"
  int gap = 10;            // "间隔宽度"
  bool animate = true;     // "动画展示"
  std::string background;  // "背景图片", bare GBK name in "backpic"; empty: the built-in picture
  int barColour = 999999;  // "柱状颜色"
  // Colour, size and face of the score, name and rank labels ("得分…", "节目…",
  // "排名…"); an empty face keeps the label's built-in one. The rank labels are bold.
  styledtext::FontRecord scoreFont;
  styledtext::FontRecord nameFont;
  styledtext::FontRecord rankFont;
  std::string subtitleText;  // "副标题", GBK
  CaptionSettings subtitle;  // "ProShowSecTitle"
};

// Reads the settings; the subtitle starts from the main screen's subtitle font
// and effect, which the stored keys replace key by key.
RankingDisplaySettings loadRankingDisplay(const base::IniFile& config, const styledtext::FontRecord& mainSubtitleFont,
                                          const styledtext::TSmoothEffect& mainSubtitleEffect);

// Writes "评分展示" in the order the display writes it, then "ProShowSecTitle".
void saveRankingDisplay(base::IniFile& config, const RankingDisplaySettings& settings);

// The target height of a bar: average ÷ full score × the full bar height, taken
// to the nearest whole number (halves to the even neighbour); 0 without an
// average. A full score of 0 or less counts as 10 (the setup dialog lets one
// through), and an absurd average is held to a height a screen can show.
int barHeight(std::optional<double> average, double fullScore, int fullBarHeight);

}  // namespace screen
