#pragma once
// A styled caption of the scoring displays as its section stores it: the four
// font keys, the 19 effect keys and the place under "Left" and "Top". The
// ranking display's subtitle and the score details display's subtitle,
// programme line and result line all use this form.
#include <string>

#include "base/ini_file.h"
#include "screen/state/geometry.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

namespace screen {

struct CaptionSettings {
  styledtext::FontRecord font;
  styledtext::TSmoothEffect effect;
  Point position{50, 100};  // "Left", "Top"
};

// Reads a caption section over a starting look: font colour 65535, size 20 and
// the given charset where a key is missing, an empty or missing name keeping
// `startFont`'s face; the effect keys with alpha 100 and every other key 0 or
// off where missing, over `startEffect`; "Top" and "Left" with the defaults given.
CaptionSettings readCaption(const base::IniFile& file, const std::string& section, styledtext::FontRecord startFont,
                            const styledtext::TSmoothEffect& startEffect, int charsetDefault, Point defaultPosition);

// Writes the font keys (Charset, Color, Size, Name), the effect keys, "Top" and "Left".
void writeCaption(base::IniFile& file, const std::string& section, const CaptionSettings& caption);

}  // namespace screen
