#pragma once
// How the rolling area's frames show a text longer than their layout was made
// for: a roster imported after the layout, a batch that fills more lines, more
// names a line than the big frame was placed for. Where the text at its stored
// size would leave the screen or cover another element, it is shown smaller,
// down to the names' readable size; the big frame then puts fewer names on a
// line (its columns stay aligned) and closes its rows up, and at each step may
// move in from the right, as a caption does, to stop short of what it would
// cover there. A text frame that still does not fit is cut short where the
// first obstacle on its row begins. The stored font, names a line and place
// stay: these only choose how the text shows.
#include <optional>
#include <string>
#include <vector>

#include "screen/state/geometry.h"
#include "screen/state/text_measurer.h"

namespace screen {

// One way of showing the big frame's text.
struct BigFrameStep {
  int size = 0;          // point size
  int perLine = 0;       // names a line; 0: as composed
  int pitch = 0;         // pixels from one line to the next; 0: the font's own spacing
  bool movedIn = false;  // moved in from the right edge and short of what it would cover
  bool operator==(const BigFrameStep&) const = default;
};

struct BigFrameFit {
  Point stored;  // the frame's stored place
  Size desktop;
  std::vector<Rect> others;  // the elements shown, which it must not cover
  TextFont font;             // its face, at the size it was placed for
  std::string composed;      // its text as the draw composed it (GBK)
};

struct BigFrameShow {
  BigFrameStep step;
  std::string text;  // GBK: the composed text, or its names regrouped
  Point position;
};

// The first step that fits, trying the step shown now first (a rolling tick
// changes the names, rarely the room they need: `shown` is kept while the step
// before it still does not fit). Where nothing fits, the text as placed.
BigFrameShow fitBigFrame(const BigFrameFit& fit, const TextMeasurer& measurer,
                         const std::optional<BigFrameStep>& shown = std::nullopt);

struct TextFrameFit {
  Rect placed;  // the frame at its stored place and size
  Size desktop;
  std::vector<Rect> others;  // the elements shown and the frames right of it on its row
  TextFont font;             // at the stored size
  std::string text;          // GBK
};

struct TextFrameShow {
  int size = 0;  // point size
  // Pixels the text may take before it must be cut short with "…"; 0: shown whole.
  int cutWidth = 0;
};

TextFrameShow fitTextFrame(const TextFrameFit& fit, const TextMeasurer& measurer);

}  // namespace screen
