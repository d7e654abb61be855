// The photo tiles' JPEG reader against Qt's reader with setScaledSize, on files
// libjpeg-turbo writes here: every chroma sampling, grey, restart markers,
// progressive, sizes that are no multiple of a block, scales from an eighth to
// none; and the files it must leave to Qt's reader (damaged, CMYK).
#include "screen/photo_tiles_jpeg.h"

#include <jpeglib.h>

#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "platform/qt_gbk.h"

namespace {

struct Options {
  int lumaH = 2, lumaV = 2;
  int restartRows = 0;
  bool progressive = false;
  int components = 3;  // 1 grey, 3 YCbCr, 4 CMYK
};

// Gradients with noise in colour (or grey), written by the library.
std::vector<unsigned char> encode(int width, int height, const Options& options) {
  const int channels = options.components;
  std::vector<unsigned char> pixels(std::size_t(width) * height * channels);
  unsigned seed = 7u + unsigned(width);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = int(seed >> 16) % 40;
      for (int c = 0; c < channels; ++c)
        pixels[(std::size_t(y) * width + x) * channels + c] =
            static_cast<unsigned char>((x * 200 / width + y * 50 / height + noise + c * (x * 3 + y) / 7) & 0xFF);
    }
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = channels;
  cinfo.in_color_space = channels == 3 ? JCS_RGB : channels == 1 ? JCS_GRAYSCALE : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 85, TRUE);
  if (channels == 3) {
    cinfo.comp_info[0].h_samp_factor = options.lumaH;
    cinfo.comp_info[0].v_samp_factor = options.lumaV;
  }
  cinfo.restart_in_rows = options.restartRows;
  if (options.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = pixels.data() + std::size_t(cinfo.next_scanline) * width * channels;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<unsigned char> file(buffer, buffer + size);
  std::free(buffer);
  jpeg_destroy_compress(&cinfo);
  return file;
}

void write(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

QImage qtScaled(const std::filesystem::path& path, QSize target) {
  QImageReader reader(platform::toQString(path));
  reader.setScaledSize(target);
  return reader.read();
}

}  // namespace

class PhotoTilesJpegTest : public QObject {
  Q_OBJECT

 private slots:
  void givesQtsReaderPixelForPixel() {
    QTemporaryDir dir;
    const struct {
      const char* what;
      int width, height;
      Options options;
      QSize target;
    } cases[] = {
        {"4:2:0 at an eighth, then smoothed", 4000, 3000, {}, {333, 250}},
        {"4:4:4", 1600, 1200, {1, 1}, {200, 150}},
        {"4:2:2 at a quarter", 803, 611, {2, 1}, {180, 137}},
        {"4:4:0, odd sizes", 517, 389, {1, 2}, {60, 45}},
        {"grey", 1001, 777, {2, 2, 0, false, 1}, {100, 78}},
        {"restart markers", 2400, 1800, {2, 2, 1}, {250, 188}},
        {"progressive", 1800, 2400, {2, 2, 0, true}, {200, 267}},
        {"no reduction", 120, 90, {}, {120, 90}},
        {"half", 640, 480, {}, {320, 240}},
    };
    for (const auto& c : cases) {
      const std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / "p.jpg";
      write(path, encode(c.width, c.height, c.options));
      const QImage ours = screen::readJpegScaled(path, QSize(c.width, c.height), c.target);
      QVERIFY2(!ours.isNull(), c.what);
      QCOMPARE(ours.size(), c.target);
      QVERIFY2(ours == qtScaled(path, c.target), c.what);
    }
  }

  // The EXIF orientation of an APP1 marker, in either byte order; anything
  // else (no EXIF, cut short, another type or value) reads as none.
  void readsTheExifOrientation() {
    auto exif = [](bool motorola, int type, int value, std::size_t cut = 0) {
      std::vector<unsigned char> d{'E', 'x', 'i', 'f', 0, 0};
      auto put16 = [&](int v) {
        d.push_back(static_cast<unsigned char>(motorola ? v >> 8 : v & 0xFF));
        d.push_back(static_cast<unsigned char>(motorola ? v & 0xFF : v >> 8));
      };
      auto put32 = [&](unsigned v) {
        if (motorola) {
          put16(int(v >> 16));
          put16(int(v & 0xFFFF));
        } else {
          put16(int(v & 0xFFFF));
          put16(int(v >> 16));
        }
      };
      d.push_back(motorola ? 'M' : 'I');
      d.push_back(motorola ? 'M' : 'I');
      put16(42);
      put32(8);
      put16(2);  // two entries: the image width, then the orientation
      put16(0x0100), put16(4), put32(1), put32(4000);
      put16(0x0112), put16(type), put32(1), put16(value), put16(0);
      put32(0);
      d.resize(d.size() - cut);
      return d;
    };
    const struct {
      const char* what;
      std::vector<unsigned char> data;
      int expected;
    } cases[] = {
        {"Motorola, turned right", exif(true, 3, 6), 6},
        {"Intel, upside down", exif(false, 3, 3), 3},
        {"upright", exif(true, 3, 1), 1},
        {"not a SHORT", exif(true, 4, 6), 0},
        {"out of range", exif(false, 3, 9), 0},
        {"cut short", exif(true, 3, 6, 12), 0},
        {"XMP, not EXIF", {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', '.', 'a', 'd', 'o', 'b', 'e'}, 0},
    };
    for (const auto& c : cases) QVERIFY2(screen::exifOrientation(c.data.data(), c.data.size()) == c.expected, c.what);
  }

  void leavesToQtsReaderWhatItDoesNotTake() {
    QTemporaryDir dir;
    const std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / "p.jpg";
    const std::vector<unsigned char> file = encode(640, 480, {});
    // Cut inside the scan: the library would go on in grey and warn.
    write(path, std::vector<unsigned char>(file.begin(), file.begin() + std::ptrdiff_t(file.size() / 2)));
    QVERIFY(screen::readJpegScaled(path, QSize(640, 480), QSize(80, 60)).isNull());
    // Not a JPEG at all, and a header that lies about the size.
    write(path, {0x89, 'P', 'N', 'G', 0, 0, 0, 0});
    QVERIFY(screen::readJpegScaled(path, QSize(640, 480), QSize(80, 60)).isNull());
    write(path, file);
    QVERIFY(screen::readJpegScaled(path, QSize(641, 480), QSize(80, 60)).isNull());
    // CMYK: Qt's reader converts it its own way.
    Options cmyk;
    cmyk.components = 4;
    write(path, encode(320, 240, cmyk));
    QVERIFY(screen::readJpegScaled(path, QSize(320, 240), QSize(40, 30)).isNull());
    // Damaged bytes anywhere never bring the process down.
    unsigned seed = 1;
    for (int trial = 0; trial < 100; ++trial) {
      std::vector<unsigned char> damaged = file;
      for (int n = 0; n < 4; ++n) {
        seed = seed * 1103515245u + 12345u;
        damaged[(seed >> 8) % damaged.size()] = static_cast<unsigned char>(seed >> 24);
      }
      write(path, damaged);
      screen::readJpegScaled(path, QSize(640, 480), QSize(80, 60));
    }
  }
};

QTEST_MAIN(PhotoTilesJpegTest)
#include "photo_tiles_jpeg_test.moc"
