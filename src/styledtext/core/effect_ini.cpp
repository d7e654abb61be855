#include "styledtext/core/effect_ini.h"

#include <array>
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

// One effect key: its field of EffectDefaults (a number or a switch) and the
// property of the effect it stores. In the order of kEffectKeys.
struct EffectField {
  int EffectDefaults::*number;
  bool EffectDefaults::*flag;
  int (*get)(const TSmoothEffect&);
  void (*set)(TSmoothEffect&, int);
};

#define KV_EFFECT_NUMBER(field, getter, setter)                                                         \
  {                                                                                                     \
    &EffectDefaults::field, nullptr, [](const TSmoothEffect& e) { return static_cast<int>(e.getter); }, \
        [](TSmoothEffect& e, int v) { e.setter(v); }                                                    \
  }
#define KV_EFFECT_SWITCH(field, getter, setter)                                               \
  {                                                                                           \
    nullptr, &EffectDefaults::field, [](const TSmoothEffect& e) { return e.getter ? 1 : 0; }, \
        [](TSmoothEffect& e, int v) { e.setter(v != 0); }                                     \
  }

const std::array<EffectField, kEffectKeys.size()> kEffectFields = {{
    KV_EFFECT_NUMBER(alpha, Alpha(), setAlpha),
    KV_EFFECT_NUMBER(angle, Angle(), setAngle),
    KV_EFFECT_NUMBER(blur, Blur(), setBlur),
    KV_EFFECT_SWITCH(gradualEnabled, Gradual().Enabled(), Gradual().setEnabled),
    KV_EFFECT_NUMBER(gradualEndColor, Gradual().EndColor(), Gradual().setEndColor),
    KV_EFFECT_NUMBER(gradualStartColor, Gradual().StartColor(), Gradual().setStartColor),
    KV_EFFECT_NUMBER(gradualStyle, Gradual().Style(), Gradual().setStyleIndex),
    KV_EFFECT_SWITCH(horzMirror, HorzMirror(), setHorzMirror),
    KV_EFFECT_SWITCH(vertMirror, VertMirror(), setVertMirror),
    KV_EFFECT_NUMBER(noise, Noise(), setNoise),
    KV_EFFECT_SWITCH(outline, Outline(), setOutline),
    KV_EFFECT_NUMBER(shadowAlpha, Shadow().Alpha(), Shadow().setAlpha),
    KV_EFFECT_NUMBER(shadowBlur, Shadow().Blur(), Shadow().setBlur),
    KV_EFFECT_NUMBER(shadowColor, Shadow().Color(), Shadow().setColor),
    KV_EFFECT_SWITCH(shadowEnabled, Shadow().Enabled(), Shadow().setEnabled),
    KV_EFFECT_NUMBER(shadowOffsetX, Shadow().OffsetX(), Shadow().setOffsetX),
    KV_EFFECT_NUMBER(shadowOffsetY, Shadow().OffsetY(), Shadow().setOffsetY),
    KV_EFFECT_NUMBER(spray, Spray(), setSpray),
    KV_EFFECT_SWITCH(textureEnabled, Texture().Enabled(), Texture().setEnabled),
}};

#undef KV_EFFECT_NUMBER
#undef KV_EFFECT_SWITCH

// Sets the 19 properties in the stored order from two lookups by key suffix,
// each given its default.
template <typename IntOf, typename BoolOf>
TSmoothEffect buildEffect(const TSmoothEffect& base, const EffectDefaults& d, IntOf readInt, BoolOf readBool) {
  TSmoothEffect e(base);
  for (std::size_t i = 0; i < kEffectKeys.size(); ++i) {
    const EffectField& field = kEffectFields[i];
    field.set(
        e, field.flag ? (readBool(kEffectKeys[i], d.*field.flag) ? 1 : 0) : readInt(kEffectKeys[i], d.*field.number));
  }
  return e;
}

}  // namespace

TSmoothEffect EffectDefaults::effect() const {
  return buildEffect(
      TSmoothEffect(), *this, [](std::string_view, int fallback) { return fallback; },
      [](std::string_view, bool fallback) { return fallback; });
}

std::vector<base::KeyRow> effectKeyRows(std::string_view section, std::string_view prefix, const EffectDefaults& d) {
  std::vector<base::KeyRow> rows;
  for (std::size_t i = 0; i < kEffectKeys.size(); ++i) {
    const EffectField& field = kEffectFields[i];
    rows.push_back({std::string(section), key(prefix, kEffectKeys[i]),
                    field.flag ? (d.*field.flag ? "1" : "0") : std::to_string(d.*field.number)});
  }
  return rows;
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
  for (std::size_t i = 0; i < kEffectKeys.size(); ++i) {
    const EffectField& field = kEffectFields[i];
    if (field.flag)
      file.writeBool(section, key(prefix, kEffectKeys[i]), field.get(e) != 0);
    else
      file.writeInt(section, key(prefix, kEffectKeys[i]), field.get(e));
  }
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
