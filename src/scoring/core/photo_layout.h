#pragma once
// Where the score details display puts the judges' photo tiles: a grid of
// cells W + 10 wide, centred on the screen, as many per row as fit in 90 % of
// its width unless the operator fixed the count.
#include <vector>

namespace scoring {

struct TilePlace {
  int left = 0;
  int top = 0;
  int scoreTop = 0;     // the score label right under the photo
  int scoreHeight = 0;  // 15 % of the photo height
};

struct PhotoLayout {
  int photoWidth = 0;  // the size the photos are shown at
  int photoHeight = 0;
  int perRow = 0;  // the count used (the automatic one once computed)
  int rows = 0;
  int pitch = 0;  // row pitch D
  std::vector<TilePlace> tiles;
};

// n judges, photo width × height, judges per row (0 = automatic), screen size.
// The automatic count never goes below 1, even when one cell is wider than 90 %
// of the screen. Values taken to the nearest integer go to the even neighbour at a half.
PhotoLayout layoutPhotos(int judges, int width, int height, int perRow, int screenWidth, int screenHeight);

// The rows of screen between the captions above the photos and those below them.
struct Band {
  int top = 0;
  int bottom = 0;  // exclusive
};

// The least height of a score label once the photos are shrunk to fit: a score
// the hall can still read.
inline constexpr int kReadableScoreHeight = 16;

// The layout above when every photo and score label lies in `band` and on the
// screen, and no score label reaches into the photo of the row under it.
// Otherwise, for this showing, the rows get a pitch that holds a photo and its
// score label, and the photos shrink (keeping their proportions) until the grid
// fits across the screen and into the band, where it is centred; an automatic
// count (perRow 0) becomes the one that gives the largest photos. Twenty judges
// five to a row stay readable this way; the stored size and an operator's count stay.
PhotoLayout fitPhotos(int judges, int width, int height, int perRow, int screenWidth, int screenHeight, Band band);

// The bar width and gap a showing of the ranking display uses: the stored ones
// when `bars` bars fit in `room` pixels, else both narrowed in proportion (the
// bars at least 4 pixels wide, the gaps at least 1 pixel) so that they do.
struct BarSpacing {
  int width = 0;
  int gap = 0;
};
BarSpacing fitBars(int bars, int width, int gap, int room);

}  // namespace scoring
