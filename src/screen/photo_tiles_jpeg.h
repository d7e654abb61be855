#pragma once
// A camera photo becomes a tile a twelfth of its width or less, so the JPEG
// decoder's scaling in the DCT decides the time of a tile. Qt's reader asks
// libjpeg-turbo for that scaling already, but feeds it the file in small pieces
// through a device; this reader maps the file and hands the library all of it,
// with the same scale, the same decoder settings and the same smooth scaling to
// the final size, so that its pictures are the reader's, pixel for pixel.
#include <QImage>
#include <QSize>
#include <filesystem>

namespace screen {

// The JPEG `file` decoded at the size Qt's reader would give for
// setScaledSize(`target`), or a null image when the file is not a JPEG this
// reader takes (not baseline or progressive YCbCr, RGB or grey) or the library
// reported anything about it, damage included: the caller then reads the file
// the ordinary way. `source` is the size in the file's header.
QImage readJpegScaled(const std::filesystem::path& file, QSize source, QSize target);

}  // namespace screen
