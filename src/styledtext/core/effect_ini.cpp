#include "styledtext/core/effect_ini.h"

#include <string>

namespace styledtext {
namespace {

std::string key(std::string_view prefix, std::string_view suffix) {
  std::string k(prefix);
  k += suffix;
  return k;
}

}  // namespace

EffectDefaults EffectDefaults::missingMarker() {
  constexpr int kMissing = 99999;
  EffectDefaults d;
  d.alpha = d.angle = d.blur = d.gradualEndColor = d.gradualStartColor = d.gradualStyle = d.noise = d.shadowAlpha =
      d.shadowBlur = d.shadowColor = d.shadowOffsetX = d.shadowOffsetY = d.spray = kMissing;
  d.gradualEnabled = d.horzMirror = d.vertMirror = d.outline = d.shadowEnabled = d.textureEnabled = true;
  return d;
}

namespace {

// Sets the 19 properties from two lookups by key suffix, each given its default.
template <typename IntOf, typename BoolOf>
TSmoothEffect buildEffect(const TSmoothEffect& base, const EffectDefaults& d, IntOf readInt, BoolOf readBool) {
  TSmoothEffect e(base);
  e.setAlpha(readInt("Alpha", d.alpha));
  e.setAngle(readInt("Angle", d.angle));
  e.setBlur(readInt("Blur", d.blur));
  e.Gradual().setEnabled(readBool("Gradual.Enabled", d.gradualEnabled));
  e.Gradual().setEndColor(readInt("Gradual.EndColor", d.gradualEndColor));
  e.Gradual().setStartColor(readInt("Gradual.StartColor", d.gradualStartColor));
  e.Gradual().setStyleIndex(readInt("Gradual.Style", d.gradualStyle));
  e.setHorzMirror(readBool("HorzMirror", d.horzMirror));
  e.setVertMirror(readBool("VertMirror", d.vertMirror));
  e.setNoise(readInt("Noise", d.noise));
  e.setOutline(readBool("Outline", d.outline));
  e.Shadow().setAlpha(readInt("Shadow.Alpha", d.shadowAlpha));
  e.Shadow().setBlur(readInt("Shadow.Blur", d.shadowBlur));
  e.Shadow().setColor(readInt("Shadow.Color", d.shadowColor));
  e.Shadow().setEnabled(readBool("Shadow.Enabled", d.shadowEnabled));
  e.Shadow().setOffsetX(readInt("Shadow.OffsetX", d.shadowOffsetX));
  e.Shadow().setOffsetY(readInt("Shadow.OffsetY", d.shadowOffsetY));
  e.setSpray(readInt("Spray", d.spray));
  e.Texture().setEnabled(readBool("Texture.Enabled", d.textureEnabled));
  return e;
}

}  // namespace

TSmoothEffect EffectDefaults::effect() const {
  return buildEffect(
      TSmoothEffect(), *this, [](std::string_view, int fallback) { return fallback; },
      [](std::string_view, bool fallback) { return fallback; });
}

TSmoothEffect readEffect(const base::IniFile& file, std::string_view section, std::string_view prefix,
                         const EffectDefaults& d, const TSmoothEffect& base) {
  return buildEffect(
      base, d,
      [&](std::string_view suffix, int fallback) { return file.readInt(section, key(prefix, suffix), fallback); },
      [&](std::string_view suffix, bool fallback) { return file.readBool(section, key(prefix, suffix), fallback); });
}

void writeEffect(base::IniFile& file, std::string_view section, std::string_view prefix, const TSmoothEffect& e) {
  base::IniBatch batch(file);
  auto writeInt = [&](std::string_view suffix, int value) { file.writeInt(section, key(prefix, suffix), value); };
  auto writeBool = [&](std::string_view suffix, bool value) { file.writeBool(section, key(prefix, suffix), value); };
  writeInt("Alpha", e.Alpha());
  writeInt("Angle", e.Angle());
  writeInt("Blur", e.Blur());
  writeBool("Gradual.Enabled", e.Gradual().Enabled());
  writeInt("Gradual.EndColor", e.Gradual().EndColor());
  writeInt("Gradual.StartColor", e.Gradual().StartColor());
  writeInt("Gradual.Style", static_cast<int>(e.Gradual().Style()));
  writeBool("HorzMirror", e.HorzMirror());
  writeBool("VertMirror", e.VertMirror());
  writeInt("Noise", e.Noise());
  writeBool("Outline", e.Outline());
  writeInt("Shadow.Alpha", e.Shadow().Alpha());
  writeInt("Shadow.Blur", e.Shadow().Blur());
  writeInt("Shadow.Color", e.Shadow().Color());
  writeBool("Shadow.Enabled", e.Shadow().Enabled());
  writeInt("Shadow.OffsetX", e.Shadow().OffsetX());
  writeInt("Shadow.OffsetY", e.Shadow().OffsetY());
  writeInt("Spray", e.Spray());
  writeBool("Texture.Enabled", e.Texture().Enabled());
}

FontRecord readFont(const base::IniFile& file, std::string_view section, std::string_view prefix,
                    const FontRecord& current) {
  FontRecord font = current;
  font.color = file.readInt(section, key(prefix, "Font.Color"), current.color);
  font.size = file.readInt(section, key(prefix, "Font.Size"), current.size);
  std::string name = file.readString(section, key(prefix, "Font.Name"), "");
  if (!name.empty()) font.name = std::move(name);
  font.charset = file.readInt(section, key(prefix, "Font.Charset"), current.charset);
  return font;
}

void writeFont(base::IniFile& file, std::string_view section, std::string_view prefix, const FontRecord& font,
               std::initializer_list<FontKey> order) {
  base::IniBatch batch(file);
  for (FontKey k : order) {
    switch (k) {
      case FontKey::Color:
        file.writeInt(section, key(prefix, "Font.Color"), font.color);
        break;
      case FontKey::Size:
        file.writeInt(section, key(prefix, "Font.Size"), font.size);
        break;
      case FontKey::Name:
        file.writeString(section, key(prefix, "Font.Name"), font.name);
        break;
      case FontKey::Charset:
        file.writeInt(section, key(prefix, "Font.Charset"), font.charset);
        break;
    }
  }
}

}  // namespace styledtext
