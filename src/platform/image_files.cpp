#include "platform/image_files.h"

#include <QFileInfo>
#include <QImageReader>

namespace platform {

namespace {

// Qt's name for the decoder of an extension: the extension itself but for a few.
QByteArray decoderOf(const QString& fileName) {
  const QByteArray extension = QFileInfo(fileName).suffix().toLower().toLatin1();
  if (extension == "jpg" || extension == "jpe" || extension == "jfif") return "jpeg";
  if (extension == "tif") return "tiff";
  if (extension == "dib") return "bmp";
  return extension;
}

}  // namespace

void useExtensionDecoder(QImageReader& reader) {
  const QByteArray decoder = decoderOf(reader.fileName());
  // A missing file is left to the reader, which says so without a decoder's
  // complaints about a device it could not open.
  if (decoder.isEmpty() || !QFileInfo(reader.fileName()).isFile()) return;
  reader.setAutoDetectImageFormat(false);
  reader.setFormat(decoder);
  if (reader.canRead()) return;
  // No such decoder, or the contents are of another kind: start again, guessing.
  reader.setFileName(reader.fileName());
  reader.setFormat(QByteArray());
  reader.setAutoDetectImageFormat(true);
}

QImage readImageFile(const QString& fileName) {
  QImageReader reader(fileName);
  useExtensionDecoder(reader);
  return reader.read();
}

}  // namespace platform
