#pragma once
// A camera photo becomes a tile a twelfth of its width or less, so the JPEG
// decoder's scaling in the DCT decides the time of a tile. Qt's reader asks
// libjpeg-turbo for that scaling already, but feeds it the file in small pieces
// through a device; this reader maps the file and hands the library all of it,
// with the same scale, the same decoder settings and the same smooth scaling to
// the final size, so that its pictures are the reader's, pixel for pixel.
#include <QFile>
#include <QImage>
#include <QSize>
#include <cstddef>
#include <filesystem>

namespace screen {

// A JPEG file mapped whole, its header read once. Not copyable; one per thread.
class JpegFile {
 public:
  explicit JpegFile(const std::filesystem::path& file);

  // True when the file is a JPEG this reader takes: baseline or progressive
  // YCbCr, RGB or grey, with a header the library read without complaint.
  bool readable() const { return !size_.isEmpty(); }
  // The size in the file's header; empty when not readable().
  QSize size() const { return size_; }
  // The EXIF orientation the camera recorded (1 … 8), 1 when there is none: the
  // pixels are stored turned or mirrored for any other value. The tiles show
  // the stored pixels, as they always have; a thumbnail, which the desktop
  // shows upright, is only kept for pictures stored upright.
  int orientation() const { return orientation_; }

  // The picture decoded at eighths/8 of its size (1 … 8) by the library's
  // scaling in the DCT, Format_RGB32 or Format_Grayscale8; null when the
  // library reported anything about the file, damage included. When `reuse`
  // holds a picture of that size and format that nothing else shares, the
  // picture takes its pixels (leaving `reuse` null): a loader that keeps its
  // last picture per thread touches no fresh memory for each photo.
  QImage decode(int eighths, QImage* reuse = nullptr) const;

  // The eighths Qt's reader decodes at for setScaledSize(`target`): M/8 with
  // M = ceil(8 / f), f the smaller of the two reductions, M from 1 to 8.
  static int eighthsFor(QSize source, QSize target);

 private:
  QFile file_;
  const uchar* data_ = nullptr;
  qint64 length_ = 0;
  QSize size_;
  int orientation_ = 1;
};

// The orientation (1 … 8) of an APP1 marker's data holding EXIF, 0 when it
// holds none.
int exifOrientation(const unsigned char* data, std::size_t size);

// The JPEG `file` decoded at the size Qt's reader would give for
// setScaledSize(`target`), or a null image when the file is not a JPEG this
// reader takes or the library reported anything about it: the caller then
// reads the file the ordinary way. `source` is the size in the file's header.
QImage readJpegScaled(const std::filesystem::path& file, QSize source, QSize target);

}  // namespace screen
