#pragma once
// A measurer with round numbers: every GBK byte is half the font size wide, every
// line one font size high. An empty text is one empty line.
#include <algorithm>

#include "screen/state/text_measurer.h"

namespace testing_support {

class FakeMeasurer : public screen::TextMeasurer {
 public:
  screen::Size measure(std::string_view text, const screen::TextFont& font) const override {
    int lines = 0;
    std::size_t widest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      const bool trailingEmpty = end == text.size() && start == end && lines > 0;
      if (!trailingEmpty) {
        ++lines;
        widest = std::max(widest, end - start);
      }
      start = end + 1;
    }
    ++calls;
    return {static_cast<int>(widest) * font.size / 2, lines * font.size};
  }
  mutable int calls = 0;
};

}  // namespace testing_support
