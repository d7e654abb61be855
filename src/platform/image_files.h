#pragma once
// Pictures are read with the decoder their file's extension names. Left to
// guess, Qt's reader loads every image plugin installed (TIFF, WebP, MNG … with
// their libraries, about a megabyte of the screen's memory) to ask each of them
// about the extension, even for a PNG it reads itself. A file whose contents do
// not match its extension is still read: the reader then looks at the contents.
#include <QImage>
#include <QString>

class QImageReader;

namespace platform {

// Points `reader`, whose file name is set, at the decoder of that name's
// extension when the file's contents agree with it.
void useExtensionDecoder(QImageReader& reader);

// The picture in `fileName`, read that way; null when it cannot be read.
QImage readImageFile(const QString& fileName);

}  // namespace platform
