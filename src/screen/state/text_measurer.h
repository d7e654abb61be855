#pragma once
// How big a caption is in a font. The layouts place frames and labels by these
// sizes; the window measures with the platform's font metrics, tests with a
// deterministic stand-in.
#include <string>
#include <string_view>

#include "screen/state/geometry.h"
#include "screen/state/label_keys.h"

namespace screen {

struct TextFont {
  std::string name;  // GBK face name
  int size = 20;
  bool bold = false;  // bold and italic glyphs are wider: a layout must know
  bool italic = false;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width and height of a GBK text as a label that sizes itself to its caption
  // shows it; a line feed starts a new line. Must grow (or stay) with the size.
  virtual Size measure(std::string_view gbkText, const TextFont& font) const = 0;
  // The box a styled label showing the text covers on the screen, its effects
  // (shadow, blur, outline) included. Without a renderer of effects: the text's size.
  virtual Size measureLabel(std::string_view gbkText, const LabelFont& font, const styledtext::TSmoothEffect&) const {
    return measure(gbkText, TextFont{font.name, font.size, font.bold, font.italic});
  }
};

}  // namespace screen
