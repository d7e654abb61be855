#pragma once
// Pixel geometry of the draw screen: points, sizes, the desktop, and the two
// rounding rules every placement uses.
#include <cmath>

namespace screen {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  // Boxes that only touch do not overlap; an empty box overlaps nothing.
  bool overlaps(const Rect& o) const {
    return width > 0 && height > 0 && o.width > 0 && o.height > 0 && left < o.right() && o.left < right() &&
           top < o.bottom() && o.top < bottom();
  }
  bool operator==(const Rect&) const = default;
};

// The desktop is the whole desktop area (DW × DH); the screen is the primary
// display (SW × SH). On one monitor they are the same.
struct Display {
  Size desktop;
  Size screen;
  static Display single(int width, int height) { return {{width, height}, {width, height}}; }
};

// N(x): the nearest whole number, halves to the even neighbour.
inline int nearest(double x) { return static_cast<int>(std::nearbyint(x)); }
// half(v): v / 2 truncated toward zero.
constexpr int half(int v) { return v / 2; }

}  // namespace screen
