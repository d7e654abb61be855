#pragma once
// The rolling feed: what the frames show when a batch starts, at every tick of
// the rolling timer and when it stops, and how the rolling speeds up. In people
// rolling mode the winners are fixed at the start; the ticks only show a random
// parade of the roster, the stop shows the real winners.
#include <cstddef>
#include <string>
#include <vector>

#include "draw/draw_data.h"
#include "draw/draw_view.h"

namespace draw {

// The big frame is text frame 31; text and picture frames 1 … 30 are the others.
inline constexpr int kBigFrame = 31;
inline constexpr int kFrameCount = 30;
// Interval of the first tick when the speed ramp is on.
inline constexpr int kRampStartInterval = 1200;

// The interval after a tick: the base when the current one is not above it,
// else the current one less a ninth (rounded down).
int nextRollingInterval(int current, int base);

// Each name padded with blanks to `width` + 3 bytes, a line feed after every
// namesPerLine-th name. Widths count GBK bytes. namesPerLine below 1 is taken as
// the 5 the settings store for it.
std::string bigFrameText(int namesPerLine, const std::vector<std::string>& names, std::size_t width);
// The largest byte length among the names.
std::size_t widestName(const std::vector<std::string>& names);

// Shows the frames for batch size n and hides the others.
void showFramesForBatch(const DrawData& data, DrawView& view, int n);
// One tick of people rolling: n distinct random roster serials into the frames.
void peopleRollingStep(DrawData& data, DrawView& view);
// One tick of award rolling: a random award row's picture, prize and name.
void awardRollingStep(DrawData& data, DrawView& view);
// The batch's winners (the last n rows of the working roster, first pick first) in the frames.
void showBatchResult(const DrawData& data, DrawView& view, int n);

}  // namespace draw
