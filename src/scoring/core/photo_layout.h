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
  int perRow = 0;  // the count used (the automatic one once computed)
  int rows = 0;
  int pitch = 0;  // row pitch D
  std::vector<TilePlace> tiles;
};

// n judges, photo width × height, judges per row (0 = automatic), screen size.
// The automatic count never goes below 1, even when one cell is wider than 90 %
// of the screen. Values taken to the nearest integer go to the even neighbour at a half.
PhotoLayout layoutPhotos(int judges, int width, int height, int perRow, int screenWidth, int screenHeight);

}  // namespace scoring
