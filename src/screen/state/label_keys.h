#pragma once
// The font and effect of a screen label, in the styled text's own records, so
// that the keys are read and written by one piece of code for every window.
#include "styledtext/core/effect.h"
#include "styledtext/core/effect_ini.h"
#include "styledtext/core/font_record.h"

namespace screen {

// The platform's colour form: red + 256 × green + 65536 × blue.
using Colour = int;
using LabelFont = styledtext::FontRecord;

}  // namespace screen
