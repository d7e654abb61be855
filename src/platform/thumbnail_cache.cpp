#include "platform/thumbnail_cache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <charconv>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>
// png.h before anything that might include setjmp.h in another way.
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

const char* const kUriKey = "Thumb::URI";
const char* const kMTimeKey = "Thumb::MTime";
const char* const kSizeKey = "Thumb::Size";
const char* const kWidthKey = "Thumb::Image::Width";
const char* const kHeightKey = "Thumb::Image::Height";

// libpng reports errors by calling the error function, which must not return:
// it jumps back to the call that was running. The functions below that set the
// jump point hold no object with a destructor, so the jump leaves nothing behind.
struct PngErrors {
  std::jmp_buf back;
};

void pngError(png_structp png, png_const_charp) {
  std::longjmp(static_cast<PngErrors*>(png_get_error_ptr(png))->back, 1);
}
void pngWarning(png_structp, png_const_charp) {}

struct MemoryInput {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::size_t position = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (length > input->size - input->position) png_error(png, "file ends early");
  std::memcpy(out, input->data + input->position, length);
  input->position += length;
}

struct PngReader {
  PngReader() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, pngError, pngWarning);
    if (png) {
      info = png_create_info_struct(png);
      end = png_create_info_struct(png);
    }
  }
  ~PngReader() { png_destroy_read_struct(&png, &info, &end); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  bool ready() const { return png && info && end; }

  png_structp png = nullptr;
  png_infop info = nullptr;
  png_infop end = nullptr;
  PngErrors errors;
  MemoryInput input;
};

bool readHeader(PngReader& r) {
  if (setjmp(r.errors.back)) return false;
  png_set_read_fn(r.png, &r.input, readFromMemory);
  png_read_info(r.png, r.info);
  return true;
}

// Every kind of PNG to 8-bit BGRX (or BGRA with transparency) in the byte order
// of QImage's 32-bit formats; `alpha` says which.
bool setTransforms(PngReader& r, bool alpha) {
  if (setjmp(r.errors.back)) return false;
  png_set_expand(r.png);
  png_set_strip_16(r.png);
  png_set_gray_to_rgb(r.png);
  png_set_interlace_handling(r.png);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  png_set_bgr(r.png);
  if (!alpha) png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
#else
  if (alpha)
    png_set_swap_alpha(r.png);
  else
    png_set_filler(r.png, 0xFF, PNG_FILLER_BEFORE);
#endif
  png_read_update_info(r.png, r.info);
  return png_get_rowbytes(r.png, r.info) == png_get_image_width(r.png, r.info) * 4;
}

bool readPixels(PngReader& r, png_bytepp rows) {
  if (setjmp(r.errors.back)) return false;
  png_read_image(r.png, rows);
  png_read_end(r.png, r.end);
  return true;
}

bool parseInteger(const char* text, std::int64_t* value) {
  const char* end = text + std::strlen(text);
  const auto [last, error] = std::from_chars(text, end, *value);
  return error == std::errc() && last == end && last != text;
}

// What the text chunks read so far say about the thumbnail.
struct TextCheck {
  bool uriSeen = false;
  bool mtimeSeen = false;
  bool mismatch = false;

  void take(png_structp png, png_infop info, const ThumbnailSource& source) {
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(png, info, &texts, &count);
    for (int i = 0; i < count; ++i) {
      const png_text& t = texts[i];
      if (!t.key || !t.text) continue;
      std::int64_t number = 0;
      if (std::strcmp(t.key, kUriKey) == 0) {
        uriSeen = true;
        mismatch |= source.uri != t.text;
      } else if (std::strcmp(t.key, kMTimeKey) == 0) {
        mtimeSeen = true;
        mismatch |= !parseInteger(t.text, &number) || number != source.mtime;
      } else if (std::strcmp(t.key, kSizeKey) == 0) {
        mismatch |= !parseInteger(t.text, &number) || number != source.size;
      }
    }
  }
  bool complete() const { return uriSeen && mtimeSeen; }
};

bool writeAll(int fd, const unsigned char* data, std::size_t size) {
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = ::write(fd, data + written, size - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

// The encoder's output goes to the file through a buffer of its own: a
// thumbnail never lies whole in memory a second time, and the disk sees a few
// large writes.
struct FileOutput {
  int fd = -1;
  std::vector<unsigned char> buffer;
  bool flush() {
    const bool done = writeAll(fd, buffer.data(), buffer.size());
    buffer.clear();
    return done;
  }
};

void writeToFile(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<FileOutput*>(png_get_io_ptr(png));
  if (out->buffer.size() + length > out->buffer.capacity() && !out->flush()) png_error(png, "cannot write");
  if (length > out->buffer.capacity()) {
    if (!writeAll(out->fd, data, length)) png_error(png, "cannot write");
    return;
  }
  out->buffer.insert(out->buffer.end(), data, data + length);
}
void flushNothing(png_structp) {}

// The thumbnails are stored without compression: the first run of a large
// roster writes hundreds of them beside decoding the photos, and the fastest
// compression zlib offers (Huffman codes alone) costs a camera photo's thumbnail
// 4 ms, a seventh of the photo's whole decode, against 0.4 ms stored. The price
// is disk space: 3 bytes a pixel, about 560 KB a thumbnail instead of 210 KB.
// Readers (file managers included) read them as any PNG, and fastest of all.
constexpr int kCompressionLevel = 0;
constexpr int kCompressionStrategy = Z_DEFAULT_STRATEGY;
constexpr int kRowFilter = PNG_FILTER_NONE;

// `image` is Format_RGB32 or Format_Grayscale8: the rows go to libpng as they
// are, the unused fourth byte of RGB32 dropped by libpng itself.
bool encode(png_structp png, png_infop info, PngErrors& errors, const QImage& image, png_textp texts, int textCount,
            FileOutput* out) {
  if (setjmp(errors.back)) return false;
  const bool grey = image.format() == QImage::Format_Grayscale8;
  png_set_write_fn(png, out, writeToFile, flushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
               grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_text(png, info, texts, textCount);
  png_set_compression_level(png, kCompressionLevel);
  png_set_compression_strategy(png, kCompressionStrategy);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, kRowFilter);
  png_write_info(png, info);
  if (!grey) {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
    png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
  }
  for (int y = 0; y < image.height(); ++y) png_write_row(png, image.constScanLine(y));
  png_write_end(png, info);
  return true;
}

// Writes the thumbnail to the open file `fd`.
bool writeThumbnail(int fd, const ThumbnailSource& source, const QImage& thumbnail, QSize original) {
  const bool direct = thumbnail.format() == QImage::Format_RGB32 || thumbnail.format() == QImage::Format_Grayscale8;
  const QImage image = direct ? thumbnail : thumbnail.convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) return false;
  const std::string values[] = {source.uri, std::to_string(source.mtime), std::to_string(source.size),
                                std::to_string(original.width()), std::to_string(original.height())};
  const char* const keys[] = {kUriKey, kMTimeKey, kSizeKey, kWidthKey, kHeightKey};
  png_text texts[5] = {};
  for (int i = 0; i < 5; ++i) {
    texts[i].compression = PNG_TEXT_COMPRESSION_NONE;
    texts[i].key = const_cast<char*>(keys[i]);
    texts[i].text = const_cast<char*>(values[i].c_str());
    texts[i].text_length = values[i].size();
  }
  const int textCount = original.isValid() ? 5 : 3;

  PngErrors errors;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, pngError, pngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  FileOutput out;
  out.fd = fd;
  out.buffer.reserve(std::size_t(1) << 16);
  const bool done = info && encode(png, info, errors, image, texts, textCount, &out) && out.flush();
  png_destroy_write_struct(&png, &info);
  return done;
}

// Creates the missing folders of `dir`, each private to the user as the
// standard asks of the thumbnail folders.
bool makePrivateFolders(const fs::path& dir) {
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return true;
  if (dir.empty() || dir == dir.parent_path()) return false;
  if (!makePrivateFolders(dir.parent_path())) return false;
  return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

bool isUnescaped(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::strchr("-_.!~*'()/:@&=+$,", c) != nullptr && c != '\0';
}

}  // namespace

std::string fileUri(const fs::path& absolutePath) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const unsigned char c : absolutePath.native()) {
    if (isUnescaped(c)) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 0xF];
    }
  }
  return uri;
}

fs::path ThumbnailCache::defaultFolder() {
  fs::path cache;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg && fs::path(xdg).is_absolute()) {
    cache = xdg;
  } else {
    const char* home = std::getenv("HOME");
    cache = fs::path(home && *home ? home : QDir::homePath().toStdString()) / ".cache";
  }
  return cache / "thumbnails" / "x-large";
}

ThumbnailCache::ThumbnailCache(fs::path folder) : folder_(std::move(folder)) {}

std::optional<ThumbnailSource> ThumbnailCache::describe(const fs::path& file) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(file, ec).lexically_normal();
  if (ec) return std::nullopt;
  struct stat status {};
  if (::stat(absolute.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return ThumbnailSource{fileUri(absolute), static_cast<std::int64_t>(status.st_mtim.tv_sec),
                         static_cast<std::int64_t>(status.st_size)};
}

fs::path ThumbnailCache::pathFor(const std::string& uri) const {
  const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(uri), QCryptographicHash::Md5).toHex();
  return folder_ / (hash.toStdString() + ".png");
}

QSize ThumbnailCache::sizeFor(QSize original) {
  const int longest = std::max(original.width(), original.height());
  if (original.isEmpty() || longest <= kLargest) return original;
  auto side = [longest](int length) {
    return std::max(1, static_cast<int>((static_cast<std::int64_t>(length) * kLargest + longest / 2) / longest));
  };
  return {side(original.width()), side(original.height())};
}

QImage ThumbnailCache::find(const ThumbnailSource& source) const {
  QFile file(QString::fromStdString(pathFor(source.uri).native()));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const qint64 size = file.size();
  const uchar* data = size > 8 ? file.map(0, size) : nullptr;
  if (!data || png_sig_cmp(data, 0, 8) != 0) return {};

  PngReader r;
  if (!r.ready()) return {};
  r.input = {data, static_cast<std::size_t>(size), 0};
  if (!readHeader(r)) return {};
  const png_uint_32 width = png_get_image_width(r.png, r.info);
  const png_uint_32 height = png_get_image_height(r.png, r.info);
  if (width < 1 || height < 1 || width > kLargest || height > kLargest) return {};
  // The texts usually stand before the pixels: a thumbnail of another file or
  // an older one is then turned away without decoding it.
  TextCheck texts;
  texts.take(r.png, r.info, source);
  if (texts.mismatch) return {};

  const bool alpha = (png_get_color_type(r.png, r.info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                     png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0;
  if (!setTransforms(r, alpha)) return {};
  QImage image(static_cast<int>(width), static_cast<int>(height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull()) return {};
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.scanLine(static_cast<int>(y));
  if (!readPixels(r, rows.data())) return {};
  texts.take(r.png, r.end, source);
  if (texts.mismatch || !texts.complete()) return {};
  return image;
}

bool ThumbnailCache::store(const ThumbnailSource& source, const QImage& thumbnail, QSize original) const {
  if (thumbnail.isNull() || thumbnail.width() > kLargest || thumbnail.height() > kLargest) return false;
  if (!makePrivateFolders(folder_)) return false;
  const fs::path target = pathFor(source.uri);
  std::string temporary = target.native() + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  bool done = ::fchmod(fd, 0600) == 0 && writeThumbnail(fd, source, thumbnail, original);
  done = ::close(fd) == 0 && done;
  done = done && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!done) ::unlink(temporary.c_str());
  return done;
}

}  // namespace platform
