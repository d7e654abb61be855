#include "styledtext/core/image.h"

#include <algorithm>
#include <cstring>

namespace styledtext {

void Mask8::reset(int width, int height, std::uint8_t fill) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  data_.assign(static_cast<std::size_t>(width_) * height_, fill);
}

void Image24::reset(int width, int height, Rgb fill) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  data_.resize(static_cast<std::size_t>(width_) * height_ * 3);
  for (std::size_t i = 0; i < data_.size(); i += 3) {
    data_[i] = fill.r;
    data_[i + 1] = fill.g;
    data_[i + 2] = fill.b;
  }
}

Rgb rgbOf(int color) {
  if (color < 0) {
    // Windows system colours: clWindow (5), clBtnFace (15), clWindowText (8) …
    switch (color & 0xFF) {
      case 5:
        return {255, 255, 255};
      case 15:
        return {240, 240, 240};
      default:
        return {0, 0, 0};
    }
  }
  return {static_cast<std::uint8_t>(color & 0xFF), static_cast<std::uint8_t>((color >> 8) & 0xFF),
          static_cast<std::uint8_t>((color >> 16) & 0xFF)};
}

int colorOf(Rgb rgb) { return rgb.r + 256 * rgb.g + 65536 * rgb.b; }

void blit(Image24& target, int x, int y, const Image24& source) {
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(target.width(), x + source.width());
  const int y1 = std::min(target.height(), y + source.height());
  if (x1 <= x0) return;
  for (int ty = y0; ty < y1; ++ty) {
    std::memcpy(target.row(ty) + x0 * 3, source.row(ty - y) + (x0 - x) * 3, static_cast<std::size_t>(x1 - x0) * 3);
  }
}

Image24 crop(const Image24& source, int x, int y, int w, int h) {
  Image24 out(w, h);
  blit(out, -x, -y, source);
  return out;
}

void drawPicture(Image24& target, const Image24& picture, PictureMode mode) {
  if (picture.empty() || target.empty()) return;
  switch (mode) {
    case PictureMode::Tiled:
      for (int y = 0; y < target.height(); y += picture.height()) {
        for (int x = 0; x < target.width(); x += picture.width()) blit(target, x, y, picture);
      }
      break;
    case PictureMode::Stretched:
      for (int y = 0; y < target.height(); ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * picture.height() / target.height());
        std::uint8_t* out = target.row(y);
        const std::uint8_t* in = picture.row(sy);
        for (int x = 0; x < target.width(); ++x) {
          const int sx = static_cast<int>(static_cast<long long>(x) * picture.width() / target.width());
          std::memcpy(out + x * 3, in + sx * 3, 3);
        }
      }
      break;
    case PictureMode::Center:
      blit(target, (target.width() - picture.width()) / 2, (target.height() - picture.height()) / 2, picture);
      break;
    case PictureMode::Normal:
      blit(target, 0, 0, picture);
      break;
  }
}

}  // namespace styledtext
