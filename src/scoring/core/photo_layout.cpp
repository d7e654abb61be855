#include "scoring/core/photo_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace scoring {

namespace {
int nearest(double value) { return static_cast<int>(std::nearbyint(value)); }

// Between a score label and the photo of the row under it.
constexpr int kRowGap = 6;

int rowsFor(int judges, int perRow) { return (judges + perRow - 1) / perRow; }

// The scale, at most 1, at which photos of width × height with perRow a row fit
// across the screen and, each with its score label, into the band.
double fittedScale(int judges, int width, int height, int perRow, int screenWidth, Band band) {
  const double across = ((screenWidth - 20.0) / perRow - 10.0) / width;  // a cell is the photo and 10 pixels
  const double row = static_cast<double>(band.bottom - band.top) / rowsFor(judges, perRow) - kRowGap;
  const double tallest = std::min(row / 1.15, row - kReadableScoreHeight);
  return std::max(0.05, std::min({1.0, across, tallest / height}));
}
}  // namespace

PhotoLayout layoutPhotos(int judges, int width, int height, int perRow, int screenWidth, int screenHeight) {
  PhotoLayout layout;
  layout.photoWidth = width;
  layout.photoHeight = height;
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

PhotoLayout fitPhotos(int judges, int width, int height, int perRow, int screenWidth, int screenHeight, Band band) {
  PhotoLayout layout = layoutPhotos(judges, width, height, perRow, screenWidth, screenHeight);
  if (judges <= 0) return layout;
  bool fits = layout.pitch >= height + nearest(0.15 * height);
  for (const TilePlace& place : layout.tiles)
    fits = fits && place.top >= band.top && place.scoreTop + place.scoreHeight <= band.bottom && place.left >= 0 &&
           place.left + width <= screenWidth;
  if (fits) return layout;

  // A row holds the photo, its score label (15 % of the photo, at least
  // kReadableScoreHeight) and kRowGap. An automatic count becomes, for this
  // showing, the one that gives the largest photos (the nearest to the count
  // above among equals); an operator's count stays.
  int p = layout.perRow;
  if (perRow <= 0) {
    double best = fittedScale(judges, width, height, p, screenWidth, band);
    for (int count = 1; count <= judges; ++count) {
      const double scale = fittedScale(judges, width, height, count, screenWidth, band);
      if (scale > best + 1e-9 ||
          (scale > best - 1e-9 && std::abs(count - layout.perRow) < std::abs(p - layout.perRow))) {
        best = scale;
        p = count;
      }
    }
    layout.perRow = p;
  }
  const int rows = rowsFor(judges, p);
  layout.rows = rows;
  const double scale = fittedScale(judges, width, height, p, screenWidth, band);
  const int w = std::max(8, static_cast<int>(width * scale));
  const int h = std::max(10, static_cast<int>(height * scale));
  layout.photoWidth = w;
  layout.photoHeight = h;
  const int scoreHeight = std::max(nearest(0.15 * h), kReadableScoreHeight);
  layout.pitch = h + scoreHeight + kRowGap;
  const int cell = w + 10;
  const int top = band.top + std::max(0, (band.bottom - band.top - rows * layout.pitch + kRowGap) / 2);
  const int left = std::max(0, nearest(screenWidth / 2.0 - cell * p / 2.0 + 5));
  layout.tiles.clear();
  for (int k = 1; k <= judges; ++k) {
    TilePlace place;
    place.left = left + cell * ((k - 1) % p);
    place.top = top + layout.pitch * ((k + p - 1) / p - 1);
    place.scoreTop = place.top + h;
    place.scoreHeight = scoreHeight;
    layout.tiles.push_back(place);
  }
  return layout;
}

BarSpacing fitBars(int bars, int width, int gap, int room) {
  if (bars <= 0 || static_cast<long long>(bars) * width + static_cast<long long>(bars - 1) * gap <= room)
    return {width, gap};
  const double scale = static_cast<double>(room) / (static_cast<double>(bars) * width + (bars - 1.0) * gap);
  BarSpacing spacing;
  spacing.gap = std::max(1, static_cast<int>(gap * scale));
  if (bars > 1) spacing.gap = std::min(spacing.gap, std::max(1, (room - 4 * bars) / (bars - 1)));
  spacing.width = std::max(4, (room - (bars - 1) * spacing.gap) / bars);
  return spacing;
}

}  // namespace scoring
