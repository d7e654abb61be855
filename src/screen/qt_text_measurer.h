#pragma once
// Measures captions with the platform's font metrics, for the layouts.
#include <QFont>

#include "screen/state/text_measurer.h"

namespace screen {

// The Qt font of a stored face name (GBK) and size in points.
QFont qtFont(const std::string& gbkFaceName, int pointSize);

class QtTextMeasurer : public TextMeasurer {
 public:
  Size measure(std::string_view gbkText, const TextFont& font) const override;
};

}  // namespace screen
