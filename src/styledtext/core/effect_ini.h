#pragma once
// Storing a caption's font and effect under one INI section. Every window that
// keeps a styled label (main screen, winners, prize and scoring displays) reads
// and writes the same 19 effect keys and four font keys, only with a different
// key prefix and different defaults for keys a file lacks.
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"
#include "base/ini_key.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

namespace styledtext {

// Key prefixes of the effect keys: the labels' and the winners display's scrolling text's.
inline constexpr std::string_view kLabelEffectPrefix = "Effect.FontEffect.";
inline constexpr std::string_view kScrollTextEffectPrefix = "Text.FontEffect.";

// The 19 effect keys after their prefix, in the order they are stored: the one
// list every reader, writer, test and the template generator take them from.
inline constexpr std::array<std::string_view, 19> kEffectKeys = {
    "Alpha",          "Angle",        "Blur",           "Gradual.Enabled", "Gradual.EndColor", "Gradual.StartColor",
    "Gradual.Style",  "HorzMirror",   "VertMirror",     "Noise",           "Outline",          "Shadow.Alpha",
    "Shadow.Blur",    "Shadow.Color", "Shadow.Enabled", "Shadow.OffsetX",  "Shadow.OffsetY",   "Spray",
    "Texture.Enabled"};

// What a missing (or non-numeric) effect key reads as; one field a key, in the
// order of kEffectKeys.
struct EffectDefaults {
  int alpha = 100;
  int angle = 0;
  int blur = 4;
  bool gradualEnabled = false;
  int gradualEndColor = 65535;
  int gradualStartColor = 65535;
  int gradualStyle = 2;
  bool horzMirror = false;
  bool vertMirror = false;
  int noise = 5;
  bool outline = false;
  int shadowAlpha = 70;
  int shadowBlur = 81;
  int shadowColor = 4473924;
  bool shadowEnabled = false;
  int shadowOffsetX = 3;
  int shadowOffsetY = 3;
  int spray = 0;
  bool textureEnabled = false;

  // The main window's labels.
  static EffectDefaults mainWindow() { return {}; }
  // The display windows pass the missing marker 99999 for every number and
  // colour and true for every switch.
  static EffectDefaults missingMarker();

  // An effect holding exactly these values, as a load from an empty section gives.
  TSmoothEffect effect() const;
};

// The 19 keys of a section with these defaults, as the file holds them
// ("1"/"0" for a switch).
std::vector<base::KeyRow> effectKeyRows(std::string_view section, std::string_view prefix,
                                        const EffectDefaults& defaults);

// Reads the 19 keys "<prefix>Alpha" … "<prefix>Texture.Enabled" of the section
// into a copy of `base` (texture picture and mode, which are not stored, stay as
// in `base`). Values outside a property's range are clamped to it.
TSmoothEffect readEffect(const base::IniFile& file, std::string_view section, std::string_view prefix,
                         const EffectDefaults& defaults, const TSmoothEffect& base = TSmoothEffect());

// Writes the 19 keys in their fixed order; they reach the file together.
// Raises base::FileError when the file cannot be written.
void writeEffect(base::IniFile& file, std::string_view section, std::string_view prefix, const TSmoothEffect& effect);

enum class FontKey { Color, Size, Name, Charset };

// Reads "<prefix>Font.Color", "<prefix>Font.Size", "<prefix>Font.Name" and
// "<prefix>Font.Charset": a missing or non-numeric key leaves that field of
// `current` as it is, so callers pass their loader defaults in `current`. An
// empty name keeps the current face. Style flags are never stored.
FontRecord readFont(const base::IniFile& file, std::string_view section, std::string_view prefix,
                    const FontRecord& current);

// Writes the four font keys in the given order (writers differ in it).
void writeFont(base::IniFile& file, std::string_view section, std::string_view prefix, const FontRecord& font,
               std::initializer_list<FontKey> order = {FontKey::Charset, FontKey::Color, FontKey::Size, FontKey::Name});

}  // namespace styledtext
