// The DC reader of the photo tiles against the JPEG library's own one-eighth
// decode, on files the library writes here: every sampling the reader takes,
// grey, restart intervals, sizes that are no multiple of a block; and the files
// it must hand back (progressive, cut short).
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "screen/photo_tiles_jpeg.h"

namespace {

struct Picture {
  int width, height, channels;
  std::vector<unsigned char> pixels;
};

// Gradients with noise; `colourful` false gives grey pixels in colour channels.
Picture makePicture(int width, int height, int channels, bool colourful, unsigned seed) {
  Picture p{width, height, channels, std::vector<unsigned char>(std::size_t(width) * height * channels)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = int(seed >> 16) % 40;
      unsigned char* px = p.pixels.data() + (std::size_t(y) * width + x) * channels;
      const int grey = (x * 200 / width + y * 50 / height + noise) & 0xFF;
      for (int c = 0; c < channels; ++c)
        px[c] = static_cast<unsigned char>(colourful ? (grey + c * (x * 3 + y) / 7 + (c == 2 ? noise * 3 : 0)) & 0xFF
                                                     : grey);
    }
  return p;
}

struct Options {
  int lumaH = 2, lumaV = 2;
  int restartRows = 0;
  bool progressive = false;
  int quality = 85;
};

std::vector<unsigned char> encode(const Picture& picture, const Options& options) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = picture.width;
  cinfo.image_height = picture.height;
  cinfo.input_components = picture.channels;
  cinfo.in_color_space = picture.channels == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  if (picture.channels == 3) {
    cinfo.comp_info[0].h_samp_factor = options.lumaH;
    cinfo.comp_info[0].v_samp_factor = options.lumaV;
  }
  cinfo.restart_in_rows = options.restartRows;
  if (options.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(picture.pixels.data()) +
                   std::size_t(cinfo.next_scanline) * picture.width * picture.channels;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<unsigned char> file(buffer, buffer + size);
  std::free(buffer);
  jpeg_destroy_compress(&cinfo);
  return file;
}

Picture libraryEighth(const std::vector<unsigned char>& file) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file.data(), file.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.scale_num = 1;
  cinfo.scale_denom = 8;
  jpeg_start_decompress(&cinfo);
  Picture p{int(cinfo.output_width), int(cinfo.output_height), cinfo.output_components, {}};
  p.pixels.resize(std::size_t(p.width) * p.height * p.channels);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = p.pixels.data() + std::size_t(cinfo.output_scanline) * p.width * p.channels;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return p;
}

// Largest difference of any sample between the reader and the library.
int largestDifference(const screen::EighthImage& ours, const Picture& theirs) {
  EXPECT_EQ(ours.width, theirs.width);
  EXPECT_EQ(ours.height, theirs.height);
  EXPECT_EQ(ours.channels, theirs.channels);
  if (ours.pixels.size() != theirs.pixels.size()) return 256;
  int largest = 0;
  for (std::size_t i = 0; i < ours.pixels.size(); ++i) largest = std::max(largest, std::abs(ours.pixels[i] - theirs.pixels[i]));
  return largest;
}

TEST(PhotoTileJpeg, GivesTheLibrarysEighthForEverySamplingItTakes) {
  // Where the library's eighth is the DC value of every block, the reader gives
  // it exactly. With chroma at half size both ways the library takes the chroma
  // through a 2 × 2 transform instead, so a colourful picture may differ there;
  // a grey one (its chroma has no detail) must not.
  struct Case {
    const char* what;
    int width, height, channels;
    bool colourful;
    Options options;
    int tolerance;
  } cases[] = {
      {"4:4:4", 640, 480, 3, true, {1, 1}, 0},
      {"4:2:2", 803, 611, 3, true, {2, 1}, 0},
      {"4:4:0", 517, 389, 3, true, {1, 2}, 0},
      {"grey", 1001, 777, 1, false, {}, 0},
      {"4:2:0 grey content", 999, 501, 3, false, {2, 2}, 0},
      {"4:2:0 with restart markers", 640, 480, 3, false, {2, 2, 1}, 0},
      {"4:2:2 with restart markers every 3 rows", 700, 300, 3, true, {2, 1, 3}, 0},
      {"4:2:0 colourful, quality 95", 1203, 907, 3, true, {2, 2, 0, false, 95}, 64},
      {"one block", 8, 8, 3, true, {1, 1}, 0},
      {"narrower than a block", 5, 3, 1, false, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<unsigned char> file =
        encode(makePicture(c.width, c.height, c.channels, c.colourful, 7u + c.width), c.options);
    screen::EighthImage eighth;
    ASSERT_TRUE(screen::decodeJpegEighth(file.data(), file.size(), eighth));
    EXPECT_LE(largestDifference(eighth, libraryEighth(file)), c.tolerance);
  }
}

TEST(PhotoTileJpeg, HandsBackWhatItDoesNotTake) {
  const Picture picture = makePicture(320, 240, 3, true, 3);
  screen::EighthImage eighth;

  Options progressive;
  progressive.progressive = true;
  const std::vector<unsigned char> progressiveFile = encode(picture, progressive);
  EXPECT_FALSE(screen::decodeJpegEighth(progressiveFile.data(), progressiveFile.size(), eighth));

  const std::vector<unsigned char> file = encode(picture, {});
  ASSERT_TRUE(screen::decodeJpegEighth(file.data(), file.size(), eighth));
  // Cut inside the scan: the library would read the rest as zeros; the caller
  // decodes such a file the ordinary way.
  for (std::size_t cut : {std::size_t(2), std::size_t(200), file.size() / 2, file.size() - 40})
    EXPECT_FALSE(screen::decodeJpegEighth(file.data(), cut, eighth)) << "cut at " << cut;

  const std::vector<unsigned char> notJpeg = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
  EXPECT_FALSE(screen::decodeJpegEighth(notJpeg.data(), notJpeg.size(), eighth));

  // Damaged bytes anywhere may give any picture or none, but never read outside the data.
  unsigned seed = 1;
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<unsigned char> damaged = file;
    for (int n = 0; n < 4; ++n) {
      seed = seed * 1103515245u + 12345u;
      damaged[(seed >> 8) % damaged.size()] = static_cast<unsigned char>(seed >> 24);
    }
    screen::decodeJpegEighth(damaged.data(), damaged.size(), eighth);
  }
}

}  // namespace
