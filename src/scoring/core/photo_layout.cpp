#include "scoring/core/photo_layout.h"

#include <algorithm>
#include <cmath>

namespace scoring {

namespace {
int nearest(double value) { return static_cast<int>(std::nearbyint(value)); }
}  // namespace

PhotoLayout layoutPhotos(int judges, int width, int height, int perRow, int screenWidth, int screenHeight) {
  PhotoLayout layout;
  layout.perRow = perRow;
  if (judges <= 0) return layout;
  const int cell = width + 10;
  if (layout.perRow <= 0) {
    layout.perRow = judges;
    while (layout.perRow > 1 && layout.perRow * cell > nearest(0.9 * screenWidth)) --layout.perRow;
  }
  const int p = layout.perRow;
  layout.rows = (judges + p - 1) / p;
  layout.pitch = std::min(height + 30, nearest(0.8 * screenHeight / layout.rows));
  const int top = nearest(screenHeight / 2.0 - layout.rows * layout.pitch / 2.0);
  const int left = nearest(screenWidth / 2.0 - cell * p / 2.0 - 5);
  for (int k = 1; k <= judges; ++k) {
    const int row = (k + p - 1) / p;
    const int column = (k - 1) % p;
    TilePlace place;
    place.left = left + cell * column;
    place.top = top + layout.pitch * (row - 1);
    place.scoreTop = place.top + height;
    place.scoreHeight = nearest(0.15 * height);
    layout.tiles.push_back(place);
  }
  return layout;
}

}  // namespace scoring
