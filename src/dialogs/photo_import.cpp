#include "dialogs/photo_import.h"

#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include "draw/roster_edit.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/picture_scaling.h"

namespace dialogs {

namespace fs = std::filesystem;

QString writeScaledPhoto(const fs::path& source, const fs::path& target, int height) {
  const QString sourceName = platform::toQString(source);
  QImageReader reader(sourceName);
  platform::useExtensionDecoder(reader);
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty() || height <= 0) return QStringLiteral("无法读取图片文件:%1").arg(sourceName);
  const int width = std::max(1, draw::scaledPhotoWidth(size.width(), size.height(), height));
  const QImage scaled = screen::readStretched(source, QSize(width, height));
  if (scaled.isNull()) return QStringLiteral("无法读取图片文件:%1").arg(sourceName);

  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  QSaveFile file(platform::toQString(target));
  QImageWriter writer(&file, "jpg");
  writer.setQuality(kPhotoQuality);
  if (!file.open(QIODevice::WriteOnly) || !writer.write(scaled) || !file.commit())
    return QStringLiteral("无法写入文件:%1").arg(platform::toQString(target));
  return {};
}

QImage scaledPhotoFullDecode(const fs::path& source, int height) {
  const QImage full(platform::toQString(source));
  if (full.isNull()) return {};
  const int width = std::max(1, draw::scaledPhotoWidth(full.width(), full.height(), height));
  return full.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace dialogs
