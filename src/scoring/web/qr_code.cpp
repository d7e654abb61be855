#include "scoring/web/qr_code.h"

#include <qrencode.h>

#include <QPainter>
#include <memory>

namespace scoring::web {

QImage qrCodeImage(const QString& text, int moduleSize) {
  const QByteArray utf8 = text.toUtf8();
  std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
      QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
  if (!code || moduleSize <= 0) return {};
  // Four modules of white around the code: readers need them to find it.
  const int quiet = 4, width = code->width, side = (width + 2 * quiet) * moduleSize;
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  for (int y = 0; y < width; ++y)
    for (int x = 0; x < width; ++x)
      if (code->data[y * width + x] & 1)
        painter.fillRect((x + quiet) * moduleSize, (y + quiet) * moduleSize, moduleSize, moduleSize, Qt::black);
  return image;
}

}  // namespace scoring::web
