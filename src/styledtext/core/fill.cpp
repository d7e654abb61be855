#include "styledtext/core/fill.h"

#include <algorithm>

namespace styledtext {

std::vector<Rgb> gradientRamp(const TSmoothGradual& gradual, int length) {
  const int style = static_cast<int>(gradual.Style());
  const bool mirrored = style >= 4;
  const int n = mirrored ? (length + 1) / 2 : length;
  const bool startFirst = style == 0 || style == 2;
  const Rgb first = rgbOf(startFirst ? gradual.StartColor() : gradual.EndColor());
  const Rgb last = rgbOf(startFirst ? gradual.EndColor() : gradual.StartColor());
  std::vector<Rgb> ramp(static_cast<std::size_t>(std::max(0, length)));
  auto step = [n](int a, int b, int i) { return static_cast<std::uint8_t>(a + i * (b - a) / n); };
  for (int i = 0; i < n; ++i) {
    const Rgb entry{step(first.r, last.r, i), step(first.g, last.g, i), step(first.b, last.b, i)};
    ramp[static_cast<std::size_t>(i)] = entry;
    if (mirrored) ramp[static_cast<std::size_t>(length - 1 - i)] = entry;
  }
  return ramp;
}

void fillGradient(Image24& image, const TSmoothGradual& gradual, int width, int height) {
  image.reset(width, height);
  const int style = static_cast<int>(gradual.Style());
  const bool byColumn = style == 0 || style == 1 || style == 4;
  const std::vector<Rgb> ramp = gradientRamp(gradual, byColumn ? width : height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = image.row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      const Rgb c = ramp[static_cast<std::size_t>(byColumn ? x : y)];
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
    }
  }
}

void addNoise(Image24& image, int amount, RandomSource& random) {
  if (amount <= 0) return;
  const int half = amount / 2;
  for (int y = 0; y < image.height(); ++y) {
    std::uint8_t* p = image.row(y);
    for (int i = 0; i < image.width() * 3; ++i)
      p[i] = static_cast<std::uint8_t>(std::clamp(p[i] + random.below(amount) - half, 0, 255));
  }
}

bool makeFill(Image24& fill, const TSmoothEffect& effect, int fontColor, int width, int height, RandomSource& random) {
  if (effect.Texture().Enabled() && effect.Texture().hasPicture()) {
    fill.reset(width, height, rgbOf(fontColor));
    drawPicture(fill, *effect.Texture().Picture(), effect.Texture().Mode());
  } else if (effect.Gradual().Enabled()) {
    fillGradient(fill, effect.Gradual(), width, height);
  } else if (effect.Noise() != 0) {
    fill.reset(width, height, rgbOf(fontColor));
  } else {
    return false;
  }
  addNoise(fill, effect.Noise(), random);
  return true;
}

void compose(Image24& target, int x, int y, const Mask8& mask, Rgb solid, const Image24* fill, int alpha) {
  const int scaledAlpha = std::clamp(alpha, 0, 100) * 256 / 100;
  if (scaledAlpha == 0) return;
  const int x0 = std::max(0, -x), y0 = std::max(0, -y);
  const int x1 = std::min(mask.width(), target.width() - x);
  const int y1 = std::min(mask.height(), target.height() - y);
  const std::uint8_t solidBytes[3] = {solid.r, solid.g, solid.b};
  for (int my = y0; my < y1; ++my) {
    const std::uint8_t* m = mask.row(my);
    std::uint8_t* d = target.row(y + my) + (x + x0) * 3;
    const std::uint8_t* f = fill ? fill->row(my) + x0 * 3 : nullptr;
    for (int mx = x0; mx < x1; ++mx, d += 3) {
      const std::uint8_t* src = f ? f + (mx - x0) * 3 : solidBytes;
      const int t = m[mx] * scaledAlpha;
      if (t < 256) continue;
      if (t >= 65280) {
        d[0] = src[0];
        d[1] = src[1];
        d[2] = src[2];
        continue;
      }
      const int w = t >> 8;
      for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>(d[c] + (((src[c] - d[c]) * w) >> 8));
    }
  }
}

}  // namespace styledtext
