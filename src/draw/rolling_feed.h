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

// Each name padded with blanks to `width` + 3 columns, a line feed after every
// namesPerLine-th name. Widths count columns (base::displayColumns: a two- or
// four-byte character takes two). namesPerLine below 1 is taken as
// the 5 the settings store for it.
std::string bigFrameText(int namesPerLine, const std::vector<std::string>& names, std::size_t width);
// The names of a big frame text, each with the blanks that pad it: a name
// ends where a run of three or more blanks does (the padding is at least three
// blanks, a name holds no such run).
std::vector<std::string> bigFrameCells(const std::string& text);
// The same cells with a line feed after every namesPerLine-th one: the columns
// stay aligned, the lines hold fewer names. namesPerLine below 1 is taken as 1.
std::string regroupBigFrameText(const std::vector<std::string>& cells, int namesPerLine);
// The largest width in columns among the names.
std::size_t widestName(const std::vector<std::string>& names);

// Shows the frames for batch size n and hides the others.
void showFramesForBatch(const DrawData& data, DrawView& view, int n);
// One tick of people rolling: n distinct random roster serials into the frames.
void peopleRollingStep(DrawData& data, DrawView& view);
// One tick of award rolling: a random award row's picture, prize and name.
void awardRollingStep(DrawData& data, DrawView& view);
// A winner as the frames show one: the display name, and the roster serial
// whose photo tile stands for the person in picture draw mode.
struct ShownWinner {
  std::string displayName;
  int serial = 0;
};

// The batch's winners: the last n rows of the working roster, first pick first.
std::vector<ShownWinner> batchWinners(const DrawData& data, int n);
// Winners in the frames of their batch size, first pick first: the display names
// in text frames 1 … 30 (the big frame beyond 30), or the photo tiles.
void showWinners(const DrawData& data, DrawView& view, const std::vector<ShownWinner>& winners);
// The batch's winners in the frames (batchWinners, then showWinners).
void showBatchResult(const DrawData& data, DrawView& view, int n);
// After a batch whose records stopped after the first `recorded` of its winners:
// the others, who do not count, leave the screen; the frames stay where they are.
void hideUnrecordedWinners(const DrawData& data, DrawView& view, const std::vector<ShownWinner>& shown,
                           std::size_t recorded);

}  // namespace draw
