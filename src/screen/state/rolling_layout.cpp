#include "screen/state/rolling_layout.h"

#include <algorithm>

#include "screen/state/ini_names.h"

namespace screen {

namespace {

std::string sectionName(int batchSize, const char* suffix, int index) {
  return std::to_string(batchSize) + suffix + std::to_string(index);
}

FrameFont readFrameFont(const base::IniFile& ini, const std::string& section) {
  return {ini.readInt(section, "Font.Color", 65535), ini.readInt(section, "Font.Size", 30),
          ini.readString(section, "Font.Name", "")};
}

void writeFrameFont(base::IniFile& ini, const std::string& section, const FrameFont& font) {
  ini.writeInt(section, "Font.Color", font.color);
  ini.writeInt(section, "Font.Size", font.size);
  ini.writeString(section, "Font.Name", font.name);
}

void writePoint(base::IniFile& ini, const std::string& section, Point point) {
  ini.writeInt(section, names::xKey(), point.x);
  ini.writeInt(section, names::yKey(), point.y);
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
std::string bigFrameSample(const std::string& caption) {
  std::string line;
  for (int i = 0; i < 6; ++i) line += caption + (i < 5 ? "   " : "\n");
  std::string sample;
  for (int i = 0; i < 10; ++i) sample += line;
  return sample;
}

void fitBigFrame(const TextMeasurer& measurer, const Display& display, RollingArea& area) {
  std::string& text = area.textCaptions[kMaxFramedBatch];
  text = bigFrameSample(area.textCaptions[0]);
  int& size = area.bigFrameFontSize;
  auto measureAt = [&] {
    return measurer.measure(text, TextFont{area.textFont.name, size, area.textFont.bold, area.textFont.italic});
  };
  const int wideEnough = nearest(0.8 * display.desktop.width);
  const int tallEnough = nearest(0.7 * display.screen.height);
  size = std::clamp(size, kMinFontSize, kMaxFontSize);
  while (size < kMaxFontSize && measureAt().width < wideEnough) ++size;
  while (size < kMaxFontSize && measureAt().height < tallEnough) ++size;
  while (size > kMinFontSize && measureAt().width > display.desktop.width) --size;
  while (size > kMinFontSize && measureAt().height > tallEnough) --size;
  const Size frame = measureAt();
  area.bigFrame = {nearest(display.desktop.width * 0.55 - half(frame.width)),
                   nearest(display.desktop.height * 0.45 - frame.height / 2.0)};
}

}  // namespace

int readNamesPerLine(const base::IniFile& ini) { return ini.readInt("L31", "RowCountPcs", 5); }

void loadTextLayout(const base::IniFile& ini, int batchSize, const Display& display, RollingArea& area) {
  const int centreX = half(display.desktop.width);
  const int centreY = half(display.desktop.height);
  for (int k = 1; k <= kFrameCount; ++k) {
    const std::string section = sectionName(batchSize, "_L", k);
    area.textFrames[k - 1] = {ini.readInt(section, names::xKey(), centreX),
                              ini.readInt(section, names::yKey(), centreY)};
  }
  area.bigFrame = {ini.readInt("L31", names::xKey(), centreX), ini.readInt("L31", names::yKey(), centreY)};
  const FrameFont font = area.textFont.withStored(
      readFrameFont(ini, batchSize > kMaxFramedBatch ? "31_S1" : std::to_string(batchSize) + "_S1"));
  area.namesPerLine = readNamesPerLine(ini);
  area.giveFontToAllFrames(font);
}

void loadPictureLayout(const base::IniFile& ini, int batchSize, RollingArea& area) {
  area.hideTextFrames();
  for (int k = 1; k <= kFrameCount; ++k) {
    const std::string section = sectionName(batchSize, "_P", k);
    area.pictureFrames[k - 1] = {ini.readInt(section, names::xKey(), 500), ini.readInt(section, names::yKey(), 500)};
  }
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
    ini.writeInt("L31", "RowCountPcs", area.namesPerLine);
  }
  writeFrameFont(ini, std::to_string(batchSize) + "_S1", area.textFont);
  for (int k = 1; k <= kFrameCount; ++k) writePoint(ini, sectionName(batchSize, "_L", k), area.textFrames[k - 1]);
  writePoint(ini, "L31", area.bigFrame);
}

void storePictureLayout(base::IniFile& ini, int batchSize, const RollingArea& area) {
  base::IniBatch batch(ini);
  for (int k = 1; k <= kFrameCount; ++k) writePoint(ini, sectionName(batchSize, "_P", k), area.pictureFrames[k - 1]);
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
  const int n = batchSize;
  const int columns = n <= 6 ? 1 : n <= 12 ? 2 : n <= 18 ? 3 : n <= 24 ? 4 : 5;
  const int rows = std::clamp(n, 1, 6);
  const int gap = 50 - 5 * rows;

  area.textFont.size = fitFrameFontSize(measurer, area, display, columns, rows, gap);
  const Size frame = measureFrame(measurer, area, area.textFont.size);
  const int pitch = frame.height + gap;
  const int middle = nearest(display.desktop.height * 0.5);

  if (n <= 6) {
    const int left = half(display.desktop.width) - half(frame.width);
    int top = middle - half(pitch * n);
    for (int k = 0; k < 6; ++k, top += pitch) area.textFrames[k] = {left, top};
  } else if (n <= kMaxFramedBatch) {
    const int blockWidth = (frame.width + 20) * columns - 20;
    const int firstLeft = half(display.desktop.width) - half(blockWidth);
    const int firstTop = middle - half(pitch * 6);
    for (int k = 0; k < kFrameCount; ++k) {
      area.textFrames[k] = {firstLeft + (k / 6) * (frame.width + 20), firstTop + (k % 6) * pitch};
    }
  } else {
    fitBigFrame(measurer, display, area);
  }
  storeTextLayout(ini, n, area);
}

void defaultPictureLayout(base::IniFile& ini, int batchSize, const Display& display, RollingArea& area) {
  const int n = std::max(batchSize, 1);
  const int pictureWidth = ini.readInt(names::pictureDraw(), "Width", 200);
  const int pictureHeight = ini.readInt(names::pictureDraw(), "Height", 250);
  const int columnPitch = pictureWidth + 10;

  int columns = n;
  while (columns > 1 && columns * columnPitch > nearest(0.8 * display.desktop.width)) --columns;
  const int rows = (n + columns - 1) / columns;
  const int rowPitch = std::min(nearest(0.8 * display.desktop.height / rows), pictureHeight + 10);

  const Point first{nearest(display.screen.width / 2.0 - columns * columnPitch / 2.0 - 5),
                    nearest(display.desktop.height / 2.0 - rows * rowPitch / 2.0)};
  for (int k = 1; k <= kFrameCount; ++k) {
    area.pictureFrames[k - 1] = {first.x + ((k - 1) % columns) * columnPitch,
                                 first.y + ((k + columns - 1) / columns - 1) * rowPitch};
  }
  storePictureLayout(ini, n, area);
}

}  // namespace screen
