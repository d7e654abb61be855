#include "screen/state/caption_settings.h"

#include "styledtext/core/effect_ini.h"

namespace screen {

CaptionSettings readCaption(const base::IniFile& file, const std::string& section, styledtext::FontRecord startFont,
                            const styledtext::TSmoothEffect& startEffect, int charsetDefault, Point defaultPosition) {
  CaptionSettings caption;
  startFont.color = 65535;
  startFont.size = 20;
  startFont.charset = charsetDefault;
  caption.font = styledtext::readFont(file, section, "", startFont);
  // Alpha 100; every other effect key 0 or off.
  const styledtext::EffectDefaults defaults{100,   0, 0, false, 0,     0, 0, false, false, 0,
                                            false, 0, 0, 0,     false, 0, 0, 0,     false};
  caption.effect = styledtext::readEffect(file, section, styledtext::kLabelEffectPrefix, defaults, startEffect);
  caption.position.y = file.readInt(section, "Top", defaultPosition.y);
  caption.position.x = file.readInt(section, "Left", defaultPosition.x);
  return caption;
}

void writeCaption(base::IniFile& file, const std::string& section, const CaptionSettings& caption) {
  styledtext::writeFont(file, section, "", caption.font);
  styledtext::writeEffect(file, section, styledtext::kLabelEffectPrefix, caption.effect);
  file.writeInt(section, "Top", caption.position.y);
  file.writeInt(section, "Left", caption.position.x);
}

}  // namespace screen
