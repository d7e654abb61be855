#pragma once
// A QR code of a judge's link, drawn black on white with its quiet zone.
#include <QImage>
#include <QString>

namespace scoring::web {

// Each module `moduleSize` pixels square; a null image when the text cannot be encoded.
QImage qrCodeImage(const QString& text, int moduleSize);

}  // namespace scoring::web
