#include "screen/state/ranking_display_settings.h"

#include <algorithm>
#include <cmath>

#include "base/gbk.h"
#include "screen/state/config_keys.h"

namespace screen {

namespace {

using base::gbk;

const std::string& section() {
  static const std::string name = gbk("评分展示");
  return name;
}
const char* const kSubtitleSection = "ProShowSecTitle";

styledtext::FontRecord readLabelFont(const base::IniFile& config, const char* prefix) {
  styledtext::FontRecord font;
  font.color = config.readInt(section(), gbk(prefix) + gbk("颜色"), 999999);
  font.size = config.readInt(section(), gbk(prefix) + gbk("大小"), 10);
  font.name = config.readString(section(), gbk(prefix) + gbk("字体"), "");
  return font;
}

void writeLabelFont(base::IniFile& config, const char* prefix, const styledtext::FontRecord& font) {
  config.writeInt(section(), gbk(prefix) + gbk("颜色"), font.color);
  config.writeInt(section(), gbk(prefix) + gbk("大小"), font.size);
  config.writeString(section(), gbk(prefix) + gbk("字体"), font.name);
}

}  // namespace

RankingDisplaySettings loadRankingDisplay(const base::IniFile& config, const styledtext::FontRecord& mainSubtitleFont,
                                          const styledtext::TSmoothEffect& mainSubtitleEffect) {
  RankingDisplaySettings s;
  s.barHeight = config.readInt(section(), gbk("柱状高度"), 500);
  s.barWidth = config.readInt(section(), gbk("柱状宽度"), 80);
  s.gap = config.readInt(section(), gbk("间隔宽度"), 10);
  s.animate = config.readBool(section(), gbk("动画展示"), true);
  s.barColour = config.readInt(section(), gbk("柱状颜色"), 999999);
  s.scoreFont = readLabelFont(config, "得分");
  s.nameFont = readLabelFont(config, "节目");
  s.rankFont = readLabelFont(config, "排名");
  s.rankFont.bold = true;
  s.background = readKey(config, keys::kRankingBackground);
  s.subtitleText = config.readString(section(), gbk("副标题"), "");
  s.subtitle = readCaption(config, kSubtitleSection, mainSubtitleFont, mainSubtitleEffect, 0, {50, 100});
  return s;
}

void saveRankingDisplay(base::IniFile& config, const RankingDisplaySettings& s) {
  base::IniBatch batch(config);
  config.writeInt(section(), gbk("柱状高度"), s.barHeight);
  config.writeInt(section(), gbk("柱状宽度"), s.barWidth);
  config.writeInt(section(), gbk("间隔宽度"), s.gap);
  config.writeBool(section(), gbk("动画展示"), s.animate);
  writeKey(config, keys::kRankingBackground, s.background);
  config.writeInt(section(), gbk("柱状颜色"), s.barColour);
  writeLabelFont(config, "得分", s.scoreFont);
  writeLabelFont(config, "节目", s.nameFont);
  writeLabelFont(config, "排名", s.rankFont);
  config.writeString(section(), gbk("副标题"), s.subtitleText);
  writeCaption(config, kSubtitleSection, s.subtitle);
}

int barHeight(std::optional<double> average, double fullScore, int fullBarHeight) {
  if (!average) return 0;
  const double full = fullScore > 0 ? fullScore : 10.0;
  // Far beyond any screen, yet inside an int however the operator typed the scores.
  constexpr double kTallest = 100000;
  const double height = std::clamp(*average / full * fullBarHeight, -kTallest, kTallest);
  if (std::isnan(height)) return 0;
  return static_cast<int>(std::nearbyint(height));
}

}  // namespace screen
