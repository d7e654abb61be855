// The details display's photo grid.
#include "scoring/core/photo_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(PhotoLayout, AutomaticCountFitsNinetyPercentOfTheScreen) {
  // 200 × 250 on 1920 × 1080 with 12 judges: 8 × 210 = 1680 ≤ 1728 < 9 × 210.
  scoring::PhotoLayout layout = scoring::layoutPhotos(12, 200, 250, 0, 1920, 1080);
  EXPECT_EQ(layout.perRow, 8);
  EXPECT_EQ(layout.rows, 2);
  EXPECT_EQ(layout.pitch, 280);
  ASSERT_EQ(layout.tiles.size(), 12u);
  EXPECT_EQ(layout.tiles[0].left, 1920 / 2 - 210 * 8 / 2 - 5);
  EXPECT_EQ(layout.tiles[0].top, 540 - 280);
  EXPECT_EQ(layout.tiles[8].left, layout.tiles[0].left);  // judge 9 opens row 2
  EXPECT_EQ(layout.tiles[8].top, layout.tiles[0].top + 280);
  EXPECT_EQ(layout.tiles[7].left, layout.tiles[0].left + 7 * 210);
  EXPECT_EQ(layout.tiles[0].scoreTop, layout.tiles[0].top + 250);
  EXPECT_EQ(layout.tiles[0].scoreHeight, 38);  // 37.5 goes to the even neighbour
}

TEST(PhotoLayout, FixedCountsAndEdges) {
  EXPECT_EQ(scoring::layoutPhotos(5, 200, 250, 2, 1920, 1080).rows, 3);
  // Rows squeezed into 80 % of the height.
  EXPECT_EQ(scoring::layoutPhotos(20, 200, 250, 2, 1920, 1080).pitch, 86);
  // A cell wider than 90 % of the screen still leaves one per row.
  EXPECT_EQ(scoring::layoutPhotos(3, 2000, 250, 0, 1920, 1080).perRow, 1);
  EXPECT_TRUE(scoring::layoutPhotos(0, 200, 250, 0, 1920, 1080).tiles.empty());
}

}  // namespace
