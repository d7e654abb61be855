#pragma once
// A camera photo becomes a tile a twelfth of its width or less, so the JPEG
// decoder's one-eighth scaling is what the tiles use, and at one eighth a block
// of 8 × 8 pixels is its DC coefficient alone. This reader decodes just that:
// it still has to walk every Huffman code of the file (the AC codes only to
// skip them), but it does no inverse transform and stores no block, and its code
// tables take a code and its extra bits in one look. The result is the JPEG
// library's one-eighth decode, value for value (the 1 × 1 inverse transform,
// upsampling by repetition, the library's YCbCr tables).
//
// Only baseline (sequential Huffman, 8-bit) files of one grey or three YCbCr
// components with luma sampling 1 or 2 and chroma sampling 1 are taken; any
// other file, and any damaged one, returns false so that the caller decodes it
// the ordinary way. No Qt here.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace screen {

struct EighthImage {
  int width = 0;
  int height = 0;
  int channels = 0;  // 1: grey; 3: red, green, blue
  std::vector<std::uint8_t> pixels;  // rows of width × channels bytes, no padding
};

// Decodes `data` (a whole JPEG file) at one eighth of its size, rounded up as
// the library rounds it. False when the file is not one this reader takes or is
// damaged; `out` is then unspecified.
bool decodeJpegEighth(const std::uint8_t* data, std::size_t size, EighthImage& out);

}  // namespace screen
