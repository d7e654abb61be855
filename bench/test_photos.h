#pragma once
// The photos the benchmarks and screenshot tools write: a camera-sized picture
// whose fine noise gives the decoder as much detail as a real photo, and one
// way to write any picture as a JPEG.
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <filesystem>

#include "platform/qt_gbk.h"

namespace bench_support {

// 4000 × 3000: a gradient with fine texture; each variant has its own colours
// and noise, so that no two variants compress alike.
inline QImage makeCameraPhoto(int variant) {
  QImage image(4000, 3000, QImage::Format_RGB32);
  QRandomGenerator random(variant + 1);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int noise = int(random.bounded(24));
      line[x] = qRgb((x * 255 / 4000 + noise + variant * 40) & 0xFF, (y * 255 / 3000 + noise) & 0xFF,
                     ((x + y) * 255 / 7000 + variant * 60) & 0xFF);
    }
  }
  return image;
}

// Writes `image` to `file` as a JPEG of the given quality; false when it could not.
inline bool writeJpeg(const std::filesystem::path& file, const QImage& image, int quality) {
  QImageWriter writer(platform::toQString(file), "jpg");
  writer.setQuality(quality);
  return writer.write(image);
}

}  // namespace bench_support
