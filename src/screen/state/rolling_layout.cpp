#include "screen/state/rolling_layout.h"

#include <algorithm>

#include "draw/draw_texts.h"
#include "screen/state/config_keys.h"
#include "screen/state/ini_names.h"

namespace screen {

namespace {

std::string sectionName(int batchSize, const char* suffix, int index) {
  return std::to_string(batchSize) + suffix + std::to_string(index);
}

Size measureFrame(const TextMeasurer& measurer, const RollingArea& area, int size) {
  return measurer.measure(area.textCaptions[0],
                          TextFont{area.textFont.name, size, area.textFont.bold, area.textFont.italic});
}

// The largest size not above 30 at which c columns of frame 1 fit 80% of the
// desktop's width and r rows of it (with gap g) 80% of its height.
int fitFrameFontSize(const TextMeasurer& measurer, const RollingArea& area, const Display& display, int columns,
                     int rows, int gap) {
  const int maxWidth = nearest(0.8 * display.desktop.width);
  const int maxHeight = nearest(0.8 * display.desktop.height);
  int size = 30;
  while (size > kMinFontSize && (measureFrame(measurer, area, size).width + 20) * columns - 20 > maxWidth) --size;
  while (size > kMinFontSize && rows * (measureFrame(measurer, area, size).height + gap) - gap > maxHeight) --size;
  return size;
}

// Ten lines of six copies of frame 1's caption: what a full big frame looks like.
// With more names per line (the big frame's menu offers up to ten) a line is as
// the frame shows it, that many copies each followed by three blanks, so that
// the frame placed is as wide as the one shown.
std::string bigFrameSample(const std::string& caption, int namesPerLine) {
  const int copies = std::min(namesPerLine, 10);
  std::string line;
  if (copies <= 6) {
    for (int i = 0; i < 6; ++i) line += caption + (i < 5 ? "   " : "\n");
  } else {
    for (int i = 0; i < copies; ++i) line += caption + "   ";
    line += '\n';
  }
  std::string sample;
  for (int i = 0; i < 10; ++i) sample += line;
  return sample;
}

Size measureBigFrame(const TextMeasurer& measurer, const RollingArea& area, int size) {
  return measurer.measure(area.textCaptions[kMaxFramedBatch],
                          TextFont{area.textFont.name, size, area.textFont.bold, area.textFont.italic});
}

void fitBigFrame(const TextMeasurer& measurer, const Display& display, const RollingRoom& room, RollingArea& area) {
  area.textCaptions[kMaxFramedBatch] = bigFrameSample(area.textCaptions[0], area.namesPerLine);
  int& size = area.bigFrameFontSize;
  auto measureAt = [&] { return measureBigFrame(measurer, area, size); };
  const int wideEnough = nearest(0.8 * display.desktop.width);
  const int tallEnough = nearest(0.7 * display.screen.height);
  size = std::clamp(size, kMinFontSize, kMaxFontSize);
  while (size < kMaxFontSize && measureAt().width < wideEnough) ++size;
  while (size < kMaxFontSize && measureAt().height < tallEnough) ++size;
  while (size > kMinFontSize && measureAt().width > display.desktop.width) --size;
  while (size > kMinFontSize && measureAt().height > tallEnough) --size;
  Size frame = measureAt();
  area.bigFrame = {nearest(display.desktop.width * 0.55 - half(frame.width)),
                   nearest(display.desktop.height * 0.45 - frame.height / 2.0)};
  if (room.holds({area.bigFrame.x, area.bigFrame.y, frame.width, frame.height}, display)) return;

  // Not in the room: the sample moves in from the desktop's edge; where that is
  // not enough it shrinks until it stands in the room, at its own height or else
  // centred in the room's.
  const int floor = std::min(size, kReadableFontSize);
  for (; size >= floor; --size) {
    frame = measureAt();
    const int left = std::clamp(nearest(display.desktop.width * 0.55 - half(frame.width)), 0,
                                std::max(0, display.desktop.width - frame.width));
    for (int top : {nearest(display.desktop.height * 0.45 - frame.height / 2.0),
                    room.top + half(room.bottom - room.top - frame.height)}) {
      area.bigFrame = {left, top};
      if (room.holds({left, top, frame.width, frame.height}, display)) return;
    }
  }
  size = floor;
}

// The frames' block for n names at a frame size and row gap: columns of six
// rows (of n rows when n is 6 or less), 20 pixels between the columns.
struct TextBlock {
  Size frame;
  int gap = 0;
  int columns = 1;
  int rows = 1;
  int width() const { return (frame.width + 20) * columns - 20; }
  int height() const { return rows * (frame.height + gap) - gap; }
};

// Names too long for the room even at the smallest size (five columns of a
// forty-byte name on a 1024-pixel screen): the columns narrow until the block,
// centred, stays on the screen and clear of the elements beside it. The frames
// then cut those names short where the next column begins.
void narrowColumns(TextBlock& block, int top, const Display& display, const RollingRoom& room) {
  const int centre = half(display.desktop.width);
  int halfRoom = centre;
  for (const Rect& o : room.obstacles)
    if (o.top < top + block.height() && o.bottom() > top)
      halfRoom = std::min(halfRoom, o.left >= centre ? o.left - centre : centre - o.right());
  const int widest = std::max(0, 2 * halfRoom - 2);
  if (block.width() > widest) block.frame.width = std::max(1, (widest - 20 * (block.columns - 1)) / block.columns);
}

void placeTextFrames(const TextBlock& block, int n, int firstLeft, int firstTop, RollingArea& area) {
  const int pitch = block.frame.height + block.gap;
  if (n <= 6) {
    for (int k = 0; k < 6; ++k) area.textFrames[k] = {firstLeft, firstTop + k * pitch};
  } else {
    for (int k = 0; k < kFrameCount; ++k)
      area.textFrames[k] = {firstLeft + (k / 6) * (block.frame.width + 20), firstTop + (k % 6) * pitch};
  }
}

// The pictures' block: c columns of w + 10, a rows at pitch q, pictures w × h.
struct PictureBlock {
  Size picture;
  int columns = 1;
  int rows = 1;
  int rowPitch = 0;
  int width() const { return columns * (picture.width + 10) - 10; }
  int height() const { return (rows - 1) * rowPitch + picture.height; }
};

int pictureColumns(int n, int columnPitch, const Display& display) {
  int columns = n;
  while (columns > 1 && columns * columnPitch > nearest(0.8 * display.desktop.width)) --columns;
  return columns;
}

int pictureLeft(const Display& display, int columns, int columnPitch) {
  return nearest(display.screen.width / 2.0 - columns * columnPitch / 2.0 - 5);
}

void placePictureFrames(const PictureBlock& block, Point first, RollingArea& area) {
  const int columnPitch = block.picture.width + 10;
  for (int k = 1; k <= kFrameCount; ++k) {
    area.pictureFrames[k - 1] = {first.x + ((k - 1) % block.columns) * columnPitch,
                                 first.y + ((k + block.columns - 1) / block.columns - 1) * block.rowPitch};
  }
}

}  // namespace

FrameFont readFrameFont(const base::IniFile& ini, const std::string& section, int defaultSize) {
  return {ini.readInt(section, "Font.Color", 65535), ini.readInt(section, "Font.Size", defaultSize),
          ini.readString(section, "Font.Name", "")};
}

void writeFrameFont(base::IniFile& ini, const std::string& section, const FrameFont& font) {
  ini.writeInt(section, "Font.Color", font.color);
  ini.writeInt(section, "Font.Size", font.size);
  ini.writeString(section, "Font.Name", font.name);
}

bool RollingRoom::holds(const Rect& block, const Display& display) const {
  if (block.left < 0 || block.right() > display.desktop.width || block.top < top || block.bottom() > bottom)
    return false;
  return std::none_of(obstacles.begin(), obstacles.end(), [&](const Rect& o) { return o.overlaps(block); });
}

int readNamesPerLine(const base::IniFile& ini) { return readKey(ini, keys::kNamesPerLine); }

void loadTextLayout(const base::IniFile& ini, int batchSize, const Display& display, RollingArea& area) {
  const int centreX = half(display.desktop.width);
  const int centreY = half(display.desktop.height);
  for (int k = 1; k <= kFrameCount; ++k) {
    const std::string section = sectionName(batchSize, "_L", k);
    area.textFrames[k - 1] = readPlace(ini, section, {centreX, centreY});
  }
  area.bigFrame = readPlace(ini, "L31", {centreX, centreY});
  const FrameFont font = area.textFont.withStored(
      readFrameFont(ini, batchSize > kMaxFramedBatch ? "31_S1" : std::to_string(batchSize) + "_S1", 30));
  area.namesPerLine = readNamesPerLine(ini);
  area.giveFontToAllFrames(font);
}

void loadPictureLayout(const base::IniFile& ini, int batchSize, RollingArea& area) {
  area.hideTextFrames();
  for (int k = 1; k <= kFrameCount; ++k) {
    const std::string section = sectionName(batchSize, "_P", k);
    area.pictureFrames[k - 1] = readPlace(ini, section, {500, 500});
  }
  const std::string first = sectionName(batchSize, "_P", 1);
  area.pictureFrameSize = {std::max(0, ini.readInt(first, "W", 0)), std::max(0, ini.readInt(first, "H", 0))};
}

void loadLayout(const base::IniFile& ini, int batchSize, bool textDraw, const Display& display, RollingArea& area) {
  if (textDraw) {
    loadTextLayout(ini, batchSize, display, area);
  } else {
    loadPictureLayout(ini, batchSize, area);
  }
}

void storeTextLayout(base::IniFile& ini, int batchSize, const RollingArea& area) {
  base::IniBatch batch(ini);
  if (batchSize > kMaxFramedBatch) {
    writeFrameFont(ini, "31_S1", area.textFont);
    writeKey(ini, keys::kNamesPerLine, area.namesPerLine);
  }
  writeFrameFont(ini, std::to_string(batchSize) + "_S1", area.textFont);
  for (int k = 1; k <= kFrameCount; ++k) writePlace(ini, sectionName(batchSize, "_L", k), area.textFrames[k - 1]);
  writePlace(ini, "L31", area.bigFrame);
}

void storePictureLayout(base::IniFile& ini, int batchSize, const RollingArea& area) {
  base::IniBatch batch(ini);
  for (int k = 1; k <= kFrameCount; ++k) writePlace(ini, sectionName(batchSize, "_P", k), area.pictureFrames[k - 1]);
  ini.writeInt(sectionName(batchSize, "_P", 1), "W", area.pictureFrameSize.width);
  ini.writeInt(sectionName(batchSize, "_P", 1), "H", area.pictureFrameSize.height);
}

void storeLayout(base::IniFile& ini, int batchSize, bool textDraw, const RollingArea& area) {
  if (textDraw) {
    storeTextLayout(ini, batchSize, area);
  } else {
    storePictureLayout(ini, batchSize, area);
  }
}

void defaultTextLayout(base::IniFile& ini, int batchSize, const Display& display, const TextMeasurer& measurer,
                       RollingArea& area) {
  defaultTextLayout(ini, batchSize, display, measurer, area, RollingRoom::whole(display));
}

void defaultTextLayout(base::IniFile& ini, int batchSize, const Display& display, const TextMeasurer& measurer,
                       RollingArea& area, const RollingRoom& room) {
  const int n = batchSize;
  if (n > kMaxFramedBatch) {
    area.textFont.size = fitFrameFontSize(measurer, area, display, 5, 6, 20);
    fitBigFrame(measurer, display, room, area);
    area.textFont.size = area.bigFrameFontSize;
    storeTextLayout(ini, n, area);
    return;
  }
  TextBlock block;
  block.columns = n <= 6 ? 1 : n <= 12 ? 2 : n <= 18 ? 3 : n <= 24 ? 4 : 5;
  block.rows = std::clamp(n, 1, 6);
  block.gap = 50 - 5 * block.rows;
  int& size = area.textFont.size;
  size = fitFrameFontSize(measurer, area, display, block.columns, block.rows, block.gap);
  block.frame = measureFrame(measurer, area, size);
  const int middle = nearest(display.desktop.height * 0.5);
  auto leftOf = [&] { return half(display.desktop.width) - half(block.width()); };
  // n ≤ 6 centres the n frames on the middle; above that the six rows of column 1.
  int top = middle - half((block.frame.height + block.gap) * block.rows);

  if (!room.holds({leftOf(), top, block.width(), block.height()}, display)) {
    // The names shrink to the readable size, then the rows close up, until the
    // block stands in the room: around the middle as before, or else centred in
    // the room's height.
    const int floor = std::min(size, kReadableFontSize);
    auto fits = [&] {
      block.frame = measureFrame(measurer, area, size);
      for (int candidate : {middle - half((block.frame.height + block.gap) * block.rows),
                            room.top + half(room.bottom - room.top - block.height())}) {
        top = candidate;
        if (room.holds({leftOf(), top, block.width(), block.height()}, display)) return true;
      }
      return false;
    };
    bool placed = false;
    for (; size >= floor && !placed; --size) placed = fits();
    if (placed) {
      ++size;
    } else {
      size = floor;
      for (; block.gap >= 0 && !placed; --block.gap) placed = fits();
      if (placed) {
        ++block.gap;
      } else {
        block.gap = 0;  // as close as rows go; the room is smaller than any readable block
        fits();
        narrowColumns(block, top, display, room);
      }
    }
  }
  placeTextFrames(block, n, leftOf(), top, area);
  storeTextLayout(ini, n, area);
}

void defaultPictureLayout(base::IniFile& ini, int batchSize, const Display& display, RollingArea& area) {
  defaultPictureLayout(ini, batchSize, display, area, RollingRoom::whole(display));
}

void defaultPictureLayout(base::IniFile& ini, int batchSize, const Display& display, RollingArea& area,
                          const RollingRoom& room) {
  const int n = std::max(batchSize, 1);
  const Size picture{ini.readInt(draw::texts::sectionPictureDraw(), "Width", 200),
                     ini.readInt(draw::texts::sectionPictureDraw(), "Height", 250)};

  PictureBlock block;
  block.picture = picture;
  block.columns = pictureColumns(n, picture.width + 10, display);
  block.rows = (n + block.columns - 1) / block.columns;
  block.rowPitch = std::min(nearest(0.8 * display.desktop.height / block.rows), picture.height + 10);
  Point first{pictureLeft(display, block.columns, picture.width + 10),
              nearest(display.desktop.height / 2.0 - block.rows * block.rowPitch / 2.0)};
  area.pictureFrameSize = {};
  // Rows closer than a picture's height would cover each other's photos.
  const bool rowsApart = block.rows == 1 || block.rowPitch >= picture.height;
  if (!rowsApart || !room.holds({first.x, first.y, block.width(), block.height()}, display)) {
    // Centred in the room, the pictures shrink (keeping their shape), in as many
    // columns as fit, each size trying the widest arrangement first.
    bool placed = false;
    for (int percent = 100; percent >= kSmallestPicturePercent && !placed; --percent) {
      block.picture = {std::max(1, picture.width * percent / 100), std::max(1, picture.height * percent / 100)};
      block.rowPitch = block.picture.height + 10;
      for (int columns = pictureColumns(n, block.picture.width + 10, display); columns >= 1 && !placed; --columns) {
        block.columns = columns;
        block.rows = (n + columns - 1) / columns;
        first.x = pictureLeft(display, columns, block.picture.width + 10);
        for (int top : {nearest(display.desktop.height / 2.0 - block.rows * block.rowPitch / 2.0),
                        room.top + half(room.bottom - room.top - block.height())}) {
          first.y = top;
          if ((placed = room.holds({first.x, first.y, block.width(), block.height()}, display))) break;
        }
      }
    }
    if (!placed) {
      // No size leaves the captions clear: the smallest pictures, as many to a
      // row as the screen holds, in the middle of the room and on the screen.
      block.columns = pictureColumns(n, block.picture.width + 10, display);
      block.rows = (n + block.columns - 1) / block.columns;
      first.x = pictureLeft(display, block.columns, block.picture.width + 10);
      first.y = std::clamp(room.top + half(room.bottom - room.top - block.height()), 0,
                           std::max(0, display.desktop.height - block.height()));
    }
    area.pictureFrameSize = block.picture;
  }
  placePictureFrames(block, first, area);
  storePictureLayout(ini, n, area);
}

}  // namespace screen
