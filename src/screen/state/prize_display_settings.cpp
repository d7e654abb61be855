#include "screen/state/prize_display_settings.h"

#include "screen/state/config_keys.h"
#include "screen/state/ini_names.h"
#include "styledtext/core/effect_ini.h"

namespace screen {

namespace {

constexpr const char* kSection = "ShowPrizeName";
constexpr const char* kPartKeys[3] = {"Show1", "Show2", "Show3"};

styledtext::EffectDefaults captionDesign() {
  styledtext::EffectDefaults d;
  d.gradualEnabled = true;
  d.gradualStyle = static_cast<int>(styledtext::TGradualStyle::gsBottomToTop);
  d.gradualStartColor = 0xFFFFFF;
  d.gradualEndColor = 0x00FFFF;
  return d;
}

}  // namespace

PrizeDisplaySettings loadPrizeDisplay(const base::IniFile& config) {
  PrizeDisplaySettings s;
  s.background = readKey(config, keys::kPrizeBackground);
  for (std::size_t k = 0; k < 3; ++k) s.captionParts[k] = config.readBool(kSection, kPartKeys[k], true);
  s.logo = readKey(config, keys::kLogo);

  styledtext::FontRecord design;
  design.size = 23;  // 31 pixels at 96 dpi
  design.color = 0xFFFFFF;
  s.captionFont = styledtext::readFont(config, kSection, "", design);
  const styledtext::EffectDefaults effects = captionDesign();
  s.captionEffect = styledtext::readEffect(config, kSection, styledtext::kLabelEffectPrefix, effects, effects.effect());
  s.captionPosition = readPlace(config, kSection, {500, 500});
  s.interval = config.readInt(kSection, "speed", 1000);
  s.pictureBox = {config.readInt(kSection, "img_left", 500), config.readInt(kSection, "img_top", 500),
                  config.readInt(kSection, "img_w", 500), config.readInt(kSection, "img_h", 500)};
  return s;
}

void savePrizeDisplay(base::IniFile& config, const PrizeDisplaySettings& s) {
  base::IniBatch batch(config);
  styledtext::writeFont(config, kSection, "", s.captionFont);
  styledtext::writeEffect(config, kSection, styledtext::kLabelEffectPrefix, s.captionEffect);
  writePlace(config, kSection, s.captionPosition);
  for (std::size_t k = 0; k < 3; ++k) config.writeBool(kSection, kPartKeys[k], s.captionParts[k]);
  config.writeInt(kSection, "speed", s.interval);
  config.writeInt(kSection, "img_left", s.pictureBox.left);
  config.writeInt(kSection, "img_top", s.pictureBox.top);
  config.writeInt(kSection, "img_w", s.pictureBox.width);
  config.writeInt(kSection, "img_h", s.pictureBox.height);
  storePictureName(config, keys::kPrizeBackground, s.background);
}

}  // namespace screen
