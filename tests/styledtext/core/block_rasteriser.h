#pragma once
// A stand-in font engine for pipeline tests: every byte is a solid cell of
// 2 × 3 pixels (times the scale), rotation ignored.
#include "styledtext/core/rasteriser.h"

namespace styledtext {

class BlockRasteriser : public TextRasteriser {
 public:
  TextExtent extent(std::string_view text, const FontRecord&, int scale) override {
    return {static_cast<int>(text.size()) * 2 * scale, 3 * scale};
  }
  void draw(Mask8& image, std::string_view text, const FontRecord& font, int scale, int, int x, int y) override {
    const TextExtent e = extent(text, font, scale);
    for (int j = y; j < y + e.height && j < image.height(); ++j)
      for (int i = x; i < x + e.width && i < image.width(); ++i) image.at(i, j) = 255;
  }
};

}  // namespace styledtext
