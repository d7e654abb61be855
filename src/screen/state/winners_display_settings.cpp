#include "screen/state/winners_display_settings.h"

#include <algorithm>

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "draw/winners_text.h"
#include "screen/state/config_keys.h"
#include "screen/state/ini_names.h"
#include "styledtext/core/effect_ini.h"

namespace screen {

namespace {

using styledtext::EffectDefaults;
using styledtext::FontRecord;
using styledtext::TGradualStyle;

constexpr int kWhite = 0xFFFFFF;
constexpr int kYellow = 0x00FFFF;  // red + 256 × green
constexpr int kSkyBlue = 0xF0CAA6;
const char* const kTextSection = "NameText";

EffectDefaults titleEffect(TGradualStyle style) {
  EffectDefaults d;
  d.gradualEnabled = true;
  d.gradualStyle = static_cast<int>(style);
  d.gradualStartColor = kWhite;
  d.gradualEndColor = kYellow;
  return d;
}
const EffectDefaults& mainTitleEffect() {
  static const EffectDefaults d = titleEffect(TGradualStyle::gsBottomToTop);
  return d;
}
const EffectDefaults& secTitleEffect() {
  static const EffectDefaults d = titleEffect(TGradualStyle::gsTopToBottom);
  return d;
}
const EffectDefaults& textEffect() {
  static const EffectDefaults d = [] {
    EffectDefaults e = titleEffect(TGradualStyle::gsTopToBottom);
    e.shadowEnabled = true;
    return e;
  }();
  return d;
}

// Sizes are points at 96 dpi.
FontRecord titleFont(int points) {
  FontRecord f;
  f.size = points;
  f.color = kWhite;
  return f;
}

DisplayTitleSettings loadTitle(const base::IniFile& config, const char* section, const DisplayTitleSettings& design,
                               const EffectDefaults& effect) {
  DisplayTitleSettings title;
  title.font = styledtext::readFont(config, section, "", design.font);
  title.effect = styledtext::readEffect(config, section, styledtext::kLabelEffectPrefix, effect, effect.effect());
  title.shown = config.readBool(section, "Show", design.shown);
  title.position = readPlace(config, section, {design.position.x, design.position.y});
  return title;
}

void saveTitle(base::IniFile& config, const char* section, const DisplayTitleSettings& title) {
  styledtext::writeFont(config, section, "", title.font);
  styledtext::writeEffect(config, section, styledtext::kLabelEffectPrefix, title.effect);
  writePlace(config, section, title.position);
  config.writeBool(section, "Show", title.shown);
}

}  // namespace

WinnersDisplaySettings winnersDisplayDesign() {
  WinnersDisplaySettings s;
  s.mainTitle.font = titleFont(23);
  s.mainTitle.effect = mainTitleEffect().effect();
  s.secTitle.font = titleFont(20);
  s.secTitle.effect = secTitleEffect().effect();
  s.textFont.name = base::utf8ToGbk("黑体");
  s.textFont.size = 14;
  s.textFont.color = kWhite;
  s.textFont.charset = 134;  // GB2312
  s.textFont.bold = true;
  s.textBackColour = kSkyBlue;
  s.textEffect = textEffect().effect();
  s.textBox = {0, 0, 529, 177};
  s.perRow = draw::kAllOnOneLine;
  return s;
}

WinnersDisplaySettings loadWinnersDisplay(const base::IniFile& config, const WinnersDisplaySettings& design) {
  WinnersDisplaySettings s = design;
  s.mainTitle = loadTitle(config, "ShowMainTitle", design.mainTitle, mainTitleEffect());
  s.secTitle = loadTitle(config, "ShowSecTitle", design.secTitle, secTitleEffect());
  s.titlesPlaced = config.hasKey("ShowMainTitle", names::xKey());
  s.logoShown = config.readBool("ShowLogoTitle", "Show", design.logoShown);
  s.logoPosition = readPlace(config, "ShowLogoTitle", {design.logoPosition.x, design.logoPosition.y});

  s.textFont = styledtext::readFont(config, kTextSection, "Text.", design.textFont);
  s.textBackColour = config.readInt(kTextSection, "Text.BackColor", design.textBackColour);
  s.textEffect = styledtext::readEffect(config, kTextSection, styledtext::kScrollTextEffectPrefix, textEffect(),
                                        textEffect().effect());
  s.textEffect.setAlpha(textEffect().alpha);
  s.textEffect.setAngle(textEffect().angle);
  s.textBox.height = std::max(20, config.readInt(kTextSection, "Height", design.textBox.height));
  // A top that is not a number counts as none stored.
  const std::optional<int> top = base::parseInt(config.readString(kTextSection, "Top", ""));
  s.textPlaced = top.has_value();
  s.textBox.top = top.value_or(design.textBox.top);
  s.scrollDelay = config.readInt(kTextSection, "ScrollDelay", design.scrollDelay);
  s.scrollStep = config.readInt(kTextSection, "ScrollStep", design.scrollStep);
  s.perRow = config.readInt("NameList", base::utf8ToGbk("每行个数"), design.perRow);
  s.background = readKey(config, keys::kWinnersBackground);
  s.logo = readKey(config, keys::kWinnersLogo);
  return s;
}

void saveWinnersDisplay(base::IniFile& config, const WinnersDisplaySettings& s) {
  base::IniBatch batch(config);
  saveTitle(config, "ShowMainTitle", s.mainTitle);
  saveTitle(config, "ShowSecTitle", s.secTitle);
  writePlace(config, "ShowLogoTitle", s.logoPosition);
  config.writeBool("ShowLogoTitle", "Show", s.logoShown);
  styledtext::writeFont(config, kTextSection, "Text.", s.textFont);
  config.writeInt(kTextSection, "Text.BackColor", s.textBackColour);
  styledtext::writeEffect(config, kTextSection, styledtext::kScrollTextEffectPrefix, s.textEffect);
  config.writeInt(kTextSection, "Left", s.textBox.left);
  config.writeInt(kTextSection, "Top", s.textBox.top);
  config.writeInt(kTextSection, "Height", s.textBox.height);
  config.writeInt(kTextSection, "ScrollDelay", s.scrollDelay);
  config.writeInt(kTextSection, "ScrollStep", s.scrollStep);
  storePictureName(config, keys::kWinnersBackground, s.background);
  storePictureName(config, keys::kWinnersLogo, s.logo);
  config.writeInt("NameList", base::utf8ToGbk("每行个数"), s.perRow);
}

}  // namespace screen
