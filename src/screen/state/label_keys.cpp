#include "screen/state/label_keys.h"

#include <type_traits>
#include <vector>

namespace screen {

namespace {

// The one place that fixes the order and spelling of the nineteen keys; reading,
// writing and listing all walk it.
template <typename EffectT, typename Visit>
void forEachEffectKey(EffectT& e, Visit&& visit) {
  visit("Alpha", e.Alpha);
  visit("Angle", e.Angle);
  visit("Blur", e.Blur);
  visit("Gradual.Enabled", e.Gradual.Enabled);
  visit("Gradual.EndColor", e.Gradual.EndColor);
  visit("Gradual.StartColor", e.Gradual.StartColor);
  visit("Gradual.Style", e.Gradual.Style);
  visit("HorzMirror", e.HorzMirror);
  visit("VertMirror", e.VertMirror);
  visit("Noise", e.Noise);
  visit("Outline", e.Outline);
  visit("Shadow.Alpha", e.Shadow.Alpha);
  visit("Shadow.Blur", e.Shadow.Blur);
  visit("Shadow.Color", e.Shadow.Color);
  visit("Shadow.Enabled", e.Shadow.Enabled);
  visit("Shadow.OffsetX", e.Shadow.OffsetX);
  visit("Shadow.OffsetY", e.Shadow.OffsetY);
  visit("Spray", e.Spray);
  visit("Texture.Enabled", e.Texture.Enabled);
}

std::string keyName(std::string_view prefix, std::string_view suffix) {
  std::string key(prefix);
  key += suffix;
  return key;
}

}  // namespace

void readEffect(const base::IniFile& ini, std::string_view section, std::string_view prefix, Effect& effect) {
  forEachEffectKey(effect, [&](std::string_view suffix, auto& field) {
    const std::string key = keyName(prefix, suffix);
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, bool>) {
      field = ini.readBool(section, key, field);
    } else {
      field = ini.readInt(section, key, field);
    }
  });
}

void writeEffect(base::IniFile& ini, std::string_view section, std::string_view prefix, const Effect& effect) {
  forEachEffectKey(effect, [&](std::string_view suffix, const auto& field) {
    const std::string key = keyName(prefix, suffix);
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, bool>) {
      ini.writeBool(section, key, field);
    } else {
      ini.writeInt(section, key, field);
    }
  });
}

const std::vector<std::string_view>& effectKeySuffixes() {
  static const std::vector<std::string_view> suffixes = [] {
    std::vector<std::string_view> list;
    Effect probe;
    forEachEffectKey(probe, [&](std::string_view suffix, auto&) { list.push_back(suffix); });
    return list;
  }();
  return suffixes;
}

}  // namespace screen
