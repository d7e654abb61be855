#include "screen/picture_scaling.h"

#include <QImageReader>
#include <QPainter>
#include <algorithm>

#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/state/geometry.h"

namespace screen {

namespace {

QSize scaledBy(QSize picture, double scale) {
  return {std::max(1, nearest(picture.width() * scale)), std::max(1, nearest(picture.height() * scale))};
}

Placement centred(QSize scaled, QSize box) {
  return {scaled,
          QPoint(nearest((box.width() - scaled.width()) / 2.0), nearest((box.height() - scaled.height()) / 2.0))};
}

// Decodes the file at `target` size, through the decoder's own scaling where it
// has one. `target` is computed from the size in the file's header, so nothing
// is decoded twice.
QImage readScaled(QImageReader& reader, QSize target) {
  reader.setScaledSize(target);
  QImage image = reader.read();
  if (!image.isNull() && image.size() != target)
    image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return image;
}

template <typename PlacementRule>
QImage readPlaced(const std::filesystem::path& file, QSize box, QImage::Format format, Qt::GlobalColor background,
                  PlacementRule rule) {
  if (box.isEmpty()) return {};
  QImageReader reader(platform::toQString(file));
  platform::useExtensionDecoder(reader);
  const QSize source = reader.size();
  if (!source.isValid() || source.isEmpty()) return {};
  const Placement placement = rule(source, box);
  QImage picture = readScaled(reader, placement.scaled);
  if (picture.isNull()) return {};
  QImage result(box, format);
  result.fill(background);
  QPainter painter(&result);
  painter.drawImage(placement.offset, picture);
  return result;
}

}  // namespace

Placement coverPlacement(QSize picture, QSize box) {
  const double scale = std::max(double(box.width()) / picture.width(), double(box.height()) / picture.height());
  // Rounding must never leave an uncovered line at an edge.
  return centred(scaledBy(picture, scale).expandedTo(box), box);
}

Placement fitPlacement(QSize picture, QSize box) {
  const double scale = std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
  return centred(scaledBy(picture, scale).boundedTo(box), box);
}

QImage readCovering(const std::filesystem::path& file, QSize box) {
  return readPlaced(file, box, QImage::Format_RGB32, Qt::white, coverPlacement);
}

QImage readFitting(const std::filesystem::path& file, QSize box) {
  return readPlaced(file, box, QImage::Format_ARGB32_Premultiplied, Qt::transparent, fitPlacement);
}

QImage readStretched(const std::filesystem::path& file, QSize box) {
  if (box.isEmpty()) return {};
  QImageReader reader(platform::toQString(file));
  platform::useExtensionDecoder(reader);
  if (!reader.size().isValid()) return {};
  return readScaled(reader, box);
}

}  // namespace screen
