#include "screen/photo_tiles_jpeg.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
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
  jpeg_save_markers(&d.info, JPEG_APP0 + 1, 0xFFFF);
  if (readHeader(d, data_, static_cast<unsigned long>(length_))) {
    size_ = QSize(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
    for (jpeg_saved_marker_ptr marker = d.info.marker_list; marker; marker = marker->next) {
      if (marker->marker == JPEG_APP0 + 1) {
        if (const int found = exifOrientation(marker->data, marker->data_length)) orientation_ = found;
      }
    }
  }
  jpeg_destroy_decompress(&d.info);
}

int exifOrientation(const unsigned char* data, std::size_t size) {
  static const unsigned char kExif[] = {'E', 'x', 'i', 'f', 0, 0};
  if (size < 6 + 8 || std::memcmp(data, kExif, 6) != 0) return 0;
  const unsigned char* tiff = data + 6;
  const std::size_t length = size - 6;
  const bool motorola = tiff[0] == 'M' && tiff[1] == 'M';
  if (!motorola && !(tiff[0] == 'I' && tiff[1] == 'I')) return 0;
  auto read16 = [&](std::size_t at) {
    return motorola ? (tiff[at] << 8) | tiff[at + 1] : tiff[at] | (tiff[at + 1] << 8);
  };
  auto read32 = [&](std::size_t at) {
    return motorola ? (std::uint32_t(read16(at)) << 16) | std::uint32_t(read16(at + 2))
                    : std::uint32_t(read16(at)) | (std::uint32_t(read16(at + 2)) << 16);
  };
  if (read16(2) != 42) return 0;
  const std::uint32_t ifd = read32(4);
  if (ifd > length - 2) return 0;
  const int entries = read16(ifd);
  for (int i = 0; i < entries; ++i) {
    const std::size_t entry = ifd + 2 + std::size_t(i) * 12;
    if (entry + 12 > length) return 0;
    // The orientation tag: one SHORT, held in the entry itself.
    if (read16(entry) == 0x0112 && read16(entry + 2) == 3) {
      const int value = read16(entry + 8);
      return value >= 1 && value <= 8 ? value : 0;
    }
  }
  return 0;
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
