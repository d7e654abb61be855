#pragma once
// The layout sets of the rolling area: where the 30 text frames, the big frame
// and the 30 picture frames stand for a batch size n, and the frame font. They
// are loaded when a batch starts, stored when a frame moves or a batch stops, and
// computed by the default layouts.
//
// Loads take the file the window opened by the fallback rule; stores and default
// layouts write Config.ini and hold their writes in one batch.
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "screen/state/screen_model.h"
#include "screen/state/text_measurer.h"

namespace screen {

// Batch sizes above this use the big frame.
inline constexpr int kMaxFramedBatch = 30;
// The default layouts never shrink a font below this size, however little space
// the desktop leaves, and the big frame never grows above kMaxFontSize.
inline constexpr int kMinFontSize = 6;
inline constexpr int kMaxFontSize = 500;

// The smallest frame font the default text layout shrinks the names to when the
// room left to them is too small; its own arithmetic may go lower
// (a very long name on a narrow desktop), and that result stands when it fits.
inline constexpr int kReadableFontSize = 14;
// Pictures shrink to no less than this share (percent) of the "图片抽奖" size
// (40 × 50 pixels of the default size: thirty of them still find room between
// the captions of a 1024 × 600 projector).
inline constexpr int kSmallestPicturePercent = 20;

// Where the rolling area may stand: below the lowest caption above it, above the
// progress line below it, inside the desktop's width, clear of the elements at
// its sides (the prize picture and its name, the countdown clock). A default layout keeps its own
// arithmetic when the result stands in this room; otherwise it centres the block
// in the room and makes the names (or pictures) smaller, then the rows closer.
struct RollingRoom {
  int top = 0;
  int bottom = 0;
  std::vector<Rect> obstacles;
  // The whole desktop with nothing to avoid.
  static RollingRoom whole(const Display& display) { return {0, display.desktop.height, {}}; }
  bool holds(const Rect& block, const Display& display) const;
};

// A frame font's section ("S1" of the window, "n_S1" of a layout set): colour,
// size and face; a missing colour reads as yellow.
FrameFont readFrameFont(const base::IniFile& ini, const std::string& section, int defaultSize);
void writeFrameFont(base::IniFile& ini, const std::string& section, const FrameFont& font);

// "L31"/"RowCountPcs"; a missing key reads as 5 names per line.
int readNamesPerLine(const base::IniFile& ini);

void loadTextLayout(const base::IniFile& ini, int batchSize, const Display& display, RollingArea& area);
// Hides the text frames and places the picture frames.
void loadPictureLayout(const base::IniFile& ini, int batchSize, RollingArea& area);
void loadLayout(const base::IniFile& ini, int batchSize, bool textDraw, const Display& display, RollingArea& area);

void storeTextLayout(base::IniFile& ini, int batchSize, const RollingArea& area);
void storePictureLayout(base::IniFile& ini, int batchSize, const RollingArea& area);
void storeLayout(base::IniFile& ini, int batchSize, bool textDraw, const RollingArea& area);

// Sizes frame 1's font and places the frames for n names in columns of six rows
// (or fits the big frame for n above 30, with six names a line or the names per
// line when those are more) from frame 1's caption, then stores.
// The big frame's fitted size is stored as the font of batches above 30: frames
// 1 to 30 are hidden then, and the big frame shows the size it was placed for.
void defaultTextLayout(base::IniFile& ini, int batchSize, const Display& display, const TextMeasurer& measurer,
                       RollingArea& area, const RollingRoom& room);
void defaultTextLayout(base::IniFile& ini, int batchSize, const Display& display, const TextMeasurer& measurer,
                       RollingArea& area);
// Places the picture frames in as many columns of "图片抽奖" "Width" as 80% of the
// desktop holds (at least one), then stores. Pictures made smaller to fit the
// room keep their size in the layout set (n"_P1" "W", "H"; 0 is the "图片抽奖" size).
void defaultPictureLayout(base::IniFile& ini, int batchSize, const Display& display, RollingArea& area,
                          const RollingRoom& room);
void defaultPictureLayout(base::IniFile& ini, int batchSize, const Display& display, RollingArea& area);

// The big frame's text itself is composed by the rolling feed (draw/rolling_feed.h).

}  // namespace screen
