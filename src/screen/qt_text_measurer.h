#pragma once
// Measures captions with the platform's font metrics, for the layouts.
#include <QFont>
#include <memory>

#include "screen/state/text_measurer.h"

namespace screen {

// The Qt font of a stored face name (GBK) and size in points.
QFont qtFont(const std::string& gbkFaceName, int pointSize);

class QtTextMeasurer : public TextMeasurer {
 public:
  QtTextMeasurer();
  ~QtTextMeasurer() override;
  Size measure(std::string_view gbkText, const TextFont& font) const override;
  LineMetrics lineMetrics(const TextFont& font) const override;
  // As a styled label sizing itself to its caption measures it.
  Size measureLabel(std::string_view gbkText, const LabelFont& font,
                    const styledtext::TSmoothEffect& effect) const override;

 private:
  struct Styled;
  std::unique_ptr<Styled> styled_;
};

}  // namespace screen
