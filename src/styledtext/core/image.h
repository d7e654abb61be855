#pragma once
// The two pixel formats of the effect pipeline: 8-bit coverage masks and 24-bit
// RGB images, both packed row by row without padding. Plain values, no Qt, so
// the arithmetic can be tested to the pixel.
#include <cstdint>
#include <vector>

namespace styledtext {

class Mask8 {
 public:
  Mask8() = default;
  Mask8(int width, int height, std::uint8_t fill = 0) { reset(width, height, fill); }

  // Resizes to width × height filled with `fill`; the buffer's capacity is kept.
  void reset(int width, int height, std::uint8_t fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  std::uint8_t& at(int x, int y) { return data_[static_cast<std::size_t>(y) * width_ + x]; }
  std::uint8_t at(int x, int y) const { return data_[static_cast<std::size_t>(y) * width_ + x]; }
  std::uint8_t* row(int y) { return data_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint8_t* row(int y) const { return data_.data() + static_cast<std::size_t>(y) * width_; }

  bool operator==(const Mask8&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> data_;
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A colour of the files (red + 256 × green + 65536 × blue) as RGB. A value with
// the top bit set names a Windows system colour; the few the program can meet
// map to their usual look, any other to black.
Rgb rgbOf(int color);
int colorOf(Rgb rgb);

class Image24 {
 public:
  Image24() = default;
  Image24(int width, int height, Rgb fill = {}) { reset(width, height, fill); }

  void reset(int width, int height, Rgb fill = {});

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  std::uint8_t* row(int y) { return data_.data() + static_cast<std::size_t>(y) * width_ * 3; }
  const std::uint8_t* row(int y) const { return data_.data() + static_cast<std::size_t>(y) * width_ * 3; }
  Rgb pixel(int x, int y) const {
    const std::uint8_t* p = row(y) + x * 3;
    return {p[0], p[1], p[2]};
  }
  void setPixel(int x, int y, Rgb c) {
    std::uint8_t* p = row(y) + x * 3;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }

  bool operator==(const Image24&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> data_;
};

// How a picture covers an image: the texture modes and the background modes
// share these four (tmTiled/bmTiled … tmNormal/bmNormal, same order).
enum class PictureMode { Tiled = 0, Stretched = 1, Center = 2, Normal = 3 };

// Draws `picture` into `target`: tiled from (0, 0), stretched to the target's
// size (nearest sample), centred unscaled, or unscaled at (0, 0); clipped.
void drawPicture(Image24& target, const Image24& picture, PictureMode mode);

// Copies `source` into `target` at (x, y), clipped to the target.
void blit(Image24& target, int x, int y, const Image24& source);
// The part of `source` at (x, y) of size w × h, clipped; outside pixels black.
Image24 crop(const Image24& source, int x, int y, int w, int h);

}  // namespace styledtext
