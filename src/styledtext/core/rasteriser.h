#pragma once
// What the pipeline needs from the platform's font engine: the extent of a text
// and the text drawn white on black into an 8-bit image. Everything else (the
// smoothing, effects and composition) the pipeline computes itself.
#include <string_view>

#include "styledtext/core/font_record.h"
#include "styledtext/core/image.h"

namespace styledtext {

struct TextExtent {
  int width = 0;
  int height = 0;
  bool operator==(const TextExtent&) const = default;
};

class TextRasteriser {
 public:
  virtual ~TextRasteriser() = default;
  // Extent in pixels of the unrotated GBK text with the font scaled by `scale`.
  virtual TextExtent extent(std::string_view text, const FontRecord& font, int scale) = 0;
  // Draws the GBK text in white (255) into `image`, which the caller has sized
  // and cleared to 0, with the font scaled by `scale` and rotated `angle` degrees
  // counter-clockwise about (x, y), the top-left corner of the unrotated text.
  virtual void draw(Mask8& image, std::string_view text, const FontRecord& font, int scale, int angle, int x,
                    int y) = 0;
};

// Uniform integers for noise and spray; tests substitute a predictable one.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A uniform integer 0 … n − 1; 0 when n ≤ 0.
  virtual int below(int n) = 0;
};

}  // namespace styledtext
