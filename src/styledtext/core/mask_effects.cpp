#include "styledtext/core/mask_effects.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace styledtext {

int roundHalfEven(long long value, long long divisor) {
  long long q = value / divisor;
  const long long twice = 2 * (value % divisor);
  if (twice > divisor || (twice == divisor && (q & 1))) ++q;
  return static_cast<int>(q);
}

void reduceSupersampled(const Mask8& source, int k, Mask8& out) {
  for (int y = 0; y < out.height(); ++y) {
    std::uint8_t* dst = out.row(y);
    for (int x = 0; x < out.width(); ++x) {
      const int sx = x * k, sy = y * k;
      int value = 0;
      if (k == 1) {
        value = source.at(sx, sy);
      } else if (k == 3) {
        const std::uint8_t* r0 = source.row(sy) + sx;
        const std::uint8_t* r1 = source.row(sy + 1) + sx;
        const std::uint8_t* r2 = source.row(sy + 2) + sx;
        value = (r0[0] + r0[1] + r0[2] / 2 + r1[0] + r1[1] + r1[2] + r2[0] / 2 + r2[1] + r2[2]) >> 3;
      } else {
        int sum = 0;
        for (int j = 0; j < k; ++j) {
          const std::uint8_t* r = source.row(sy + j) + sx;
          for (int i = 0; i < k; ++i) sum += r[i];
        }
        value = k == 4 ? sum >> 4 : sum >> 2;
      }
      dst[x] = static_cast<std::uint8_t>(value);
    }
  }
}

void outline(Mask8& mask) {
  if (mask.width() < 3 || mask.height() < 3) return;
  const Mask8 copy = mask;
  for (int y = 1; y < mask.height() - 1; ++y) {
    for (int x = 1; x < mask.width() - 1; ++x) {
      const int sum =
          std::abs(copy.at(x + 1, y + 1) - copy.at(x - 1, y - 1)) + std::abs(copy.at(x, y + 1) - copy.at(x, y - 1)) +
          std::abs(copy.at(x + 1, y) - copy.at(x - 1, y)) + std::abs(copy.at(x - 1, y + 1) - copy.at(x + 1, y - 1));
      mask.at(x, y) = static_cast<std::uint8_t>(sum >= 1024 ? 255 : sum / 4);
    }
  }
}

void spray(Mask8& mask, int radius, RandomSource& random) {
  if (radius <= 0 || mask.empty()) return;
  for (int y = 0; y < mask.height(); ++y) {
    for (int x = 0; x < mask.width(); ++x) {
      const int r = random.below(radius + 1);
      const int dx = r - random.below(2 * r);
      const int dy = r - random.below(2 * r);
      mask.at(x, y) = mask.at(std::clamp(x + dx, 0, mask.width() - 1), std::clamp(y + dy, 0, mask.height() - 1));
    }
  }
}

void mirrorHorizontally(Mask8& mask) {
  for (int y = 0; y < mask.height(); ++y) std::reverse(mask.row(y), mask.row(y) + mask.width());
}

void mirrorVertically(Mask8& mask) {
  for (int top = 0, bottom = mask.height() - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(mask.row(top), mask.row(top) + mask.width(), mask.row(bottom));
  }
}

void blur(Mask8& mask, int strength, Mask8& scratch) {
  if (strength <= 0 || mask.empty()) return;
  const int w = roundHalfEven(static_cast<long long>(std::min(strength, 100)) * 255, 100);
  const int width = mask.width(), height = mask.height();
  // Column sums of five clamped rows, then sums of five clamped columns. The
  // column sums carry two copies of the edge columns on each side, so the inner
  // loops run without clamping and the compiler can vectorise them.
  scratch = mask;
  std::vector<int> columns(static_cast<std::size_t>(width) + 4);
  int* const c = columns.data() + 2;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* r0 = scratch.row(std::max(y - 2, 0));
    const std::uint8_t* r1 = scratch.row(std::max(y - 1, 0));
    const std::uint8_t* r2 = scratch.row(y);
    const std::uint8_t* r3 = scratch.row(std::min(y + 1, height - 1));
    const std::uint8_t* r4 = scratch.row(std::min(y + 2, height - 1));
    for (int x = 0; x < width; ++x) c[x] = r0[x] + r1[x] + r2[x] + r3[x] + r4[x];
    c[-2] = c[-1] = c[0];
    c[width] = c[width + 1] = c[width - 1];
    std::uint8_t* out = mask.row(y);
    if (w == 255) {
      for (int x = 0; x < width; ++x)
        out[x] = static_cast<std::uint8_t>((c[x - 2] + c[x - 1] + c[x] + c[x + 1] + c[x + 2] + 12) / 25);
    } else {
      for (int x = 0; x < width; ++x) {
        const int m = (c[x - 2] + c[x - 1] + c[x] + c[x + 1] + c[x + 2] + 12) / 25;
        const int v = r2[x];
        out[x] = static_cast<std::uint8_t>(v + (((m - v) * w) >> 8));
      }
    }
  }
}

}  // namespace styledtext
