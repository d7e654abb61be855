#include "screen/photo_tiles_jpeg.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <utility>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "platform/qt_gbk.h"

namespace screen {

namespace {

// The library reports errors by calling error_exit, which must not return; it
// jumps back to the call that was running. Warnings (damaged data, which the
// library decodes on as grey) are counted: such a file goes to Qt's reader.
struct ErrorManager {
  jpeg_error_mgr library;
  std::jmp_buf back;
  int warnings = 0;
};

void errorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1); }
void emitMessage(j_common_ptr info, int level) {
  if (level < 0) ++reinterpret_cast<ErrorManager*>(info->err)->warnings;
}
void outputMessage(j_common_ptr) {}

struct Decoder {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
};

// The steps that may call error_exit hold no object with a destructor, so the
// jump back leaves nothing behind.
void setUp(Decoder& d) {
  d.info.err = jpeg_std_error(&d.errors.library);
  d.errors.library.error_exit = errorExit;
  d.errors.library.emit_message = emitMessage;
  d.errors.library.output_message = outputMessage;
  jpeg_create_decompress(&d.info);
}

bool readHeader(Decoder& d, const unsigned char* data, unsigned long size) {
  if (setjmp(d.errors.back)) return false;
  jpeg_mem_src(&d.info, data, size);
  jpeg_read_header(&d.info, TRUE);
  switch (d.info.jpeg_color_space) {
    case JCS_GRAYSCALE:
      d.info.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_YCbCr:
    case JCS_RGB:
      d.info.out_color_space = JCS_EXT_BGRX;
      break;
    default:
      return false;  // CMYK and YCCK: Qt's reader converts them its own way
  }
  return d.errors.warnings == 0;
}

bool setScale(Decoder& d, int eighths) {
  if (setjmp(d.errors.back)) return false;
  d.info.scale_num = static_cast<unsigned int>(eighths);
  d.info.scale_denom = 8;
  jpeg_calc_output_dimensions(&d.info);
  return d.errors.warnings == 0;
}

bool readPixels(Decoder& d, unsigned char* pixels, long bytesPerLine) {
  if (setjmp(d.errors.back)) return false;
  jpeg_start_decompress(&d.info);
  while (d.info.output_scanline < d.info.output_height) {
    JSAMPROW row = pixels + static_cast<long>(d.info.output_scanline) * bytesPerLine;
    jpeg_read_scanlines(&d.info, &row, 1);
  }
  jpeg_finish_decompress(&d.info);
  return d.errors.warnings == 0;
}

}  // namespace

JpegFile::JpegFile(const std::filesystem::path& file) : file_(platform::toQString(file)) {
  if (!file_.open(QIODevice::ReadOnly)) return;
  length_ = file_.size();
  data_ = length_ > 0 ? file_.map(0, length_) : nullptr;
  if (!data_) return;
  Decoder d;
  setUp(d);
  if (readHeader(d, data_, static_cast<unsigned long>(length_)))
    size_ = QSize(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
  jpeg_destroy_decompress(&d.info);
}

int JpegFile::eighthsFor(QSize source, QSize target) {
  const double factor = std::min(double(source.width()) / target.width(), double(source.height()) / target.height());
  return std::clamp(static_cast<int>(std::ceil(8 / factor)), 1, 8);
}

QImage JpegFile::decode(int eighths, QImage* reuse) const {
  if (!readable()) return {};
  Decoder d;
  setUp(d);
  QImage picture;
  if (readHeader(d, data_, static_cast<unsigned long>(length_)) && setScale(d, std::clamp(eighths, 1, 8))) {
    const QSize size(int(d.info.output_width), int(d.info.output_height));
    const QImage::Format format =
        d.info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    if (reuse && reuse->size() == size && reuse->format() == format && reuse->isDetached())
      picture = std::move(*reuse);  // the only holder: bits() below writes in place
    else
      picture = QImage(size, format);
    if (picture.isNull() || !readPixels(d, picture.bits(), picture.bytesPerLine())) picture = QImage();
  }
  jpeg_destroy_decompress(&d.info);
  return picture;
}

QImage readJpegScaled(const std::filesystem::path& file, QSize source, QSize target) {
  if (source.isEmpty() || target.isEmpty()) return {};
  const JpegFile jpeg(file);
  if (jpeg.size() != source) return {};
  QImage picture = jpeg.decode(JpegFile::eighthsFor(source, target));
  if (!picture.isNull() && picture.size() != target)
    picture = picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return picture;
}

}  // namespace screen
