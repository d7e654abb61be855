#pragma once
// The keys of one styled caption: its font ("Font.Color", "Font.Size",
// "Font.Name", "Font.Charset") and its nineteen effect keys, read and written
// under a section with a key prefix ("Effect.FontEffect." for the main window's
// labels, "Text.FontEffect." for the scrolling text of the winners display).
//
// The styled text core will own the same record; until then this is the one the
// screen state uses, and the two should become one.
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"

namespace screen {

// The platform's colour form: red + 256 × green + 65536 × blue.
using Colour = int;

struct LabelFont {
  Colour color = 0;
  int size = 20;
  std::string name;  // GBK face name; empty leaves the face to the platform default
  int charset = 0;   // only the low byte is applied
};

// Field names are the effect property names of the key suffixes, so that a key
// can be found from its field and back. The defaults are the main window's.
struct Effect {
  int Alpha = 100;
  int Angle = 0;
  int Blur = 4;
  struct GradualKeys {
    bool Enabled = false;
    Colour EndColor = 65535;
    Colour StartColor = 65535;
    int Style = 2;  // top to bottom
    bool operator==(const GradualKeys&) const = default;
  } Gradual;
  bool HorzMirror = false;
  bool VertMirror = false;
  int Noise = 5;
  bool Outline = false;
  struct ShadowKeys {
    int Alpha = 70;
    int Blur = 81;
    Colour Color = 4473924;
    bool Enabled = false;
    int OffsetX = 3;
    int OffsetY = 3;
    bool operator==(const ShadowKeys&) const = default;
  } Shadow;
  int Spray = 0;
  struct TextureKeys {
    bool Enabled = false;
    bool operator==(const TextureKeys&) const = default;
  } Texture;

  bool operator==(const Effect&) const = default;
};

inline constexpr std::string_view kLabelEffectPrefix = "Effect.FontEffect.";
inline constexpr std::string_view kScrollingTextEffectPrefix = "Text.FontEffect.";

// Reads the nineteen keys; a missing or malformed key keeps the value `effect`
// already holds, so the caller sets the defaults by what it passes in.
void readEffect(const base::IniFile& ini, std::string_view section, std::string_view prefix, Effect& effect);
// Writes the nineteen keys in the order of the effect key table, switches as "1"/"0".
void writeEffect(base::IniFile& ini, std::string_view section, std::string_view prefix, const Effect& effect);

// The effect key suffixes in the order they are written.
const std::vector<std::string_view>& effectKeySuffixes();

}  // namespace screen
