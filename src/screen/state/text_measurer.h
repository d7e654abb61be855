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

// The vertical metrics of a font, in pixels.
struct LineMetrics {
  int height = 0;       // one line's height
  int lineSpacing = 0;  // from one line's top to the next one's
  int pixelSize = 0;    // the font's size
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
  // Without the platform's metrics: one line is as high as a blank, and lines follow each other.
  virtual LineMetrics lineMetrics(const TextFont& font) const {
    const int height = measure(" ", font).height;
    return {height, height, font.size};
  }
};

}  // namespace screen
