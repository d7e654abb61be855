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

namespace {

// Every photo and score label inside the band and the screen; no score label
// reaching into the photo of the row under it.
void expectFits(const scoring::PhotoLayout& layout, int screenWidth, scoring::Band band) {
  for (std::size_t i = 0; i < layout.tiles.size(); ++i) {
    const scoring::TilePlace& t = layout.tiles[i];
    EXPECT_GE(t.top, band.top) << "judge " << i + 1;
    EXPECT_LE(t.scoreTop + t.scoreHeight, band.bottom) << "judge " << i + 1;
    EXPECT_GE(t.left, 0) << "judge " << i + 1;
    EXPECT_LE(t.left + layout.photoWidth, screenWidth) << "judge " << i + 1;
    EXPECT_EQ(t.scoreTop, t.top + layout.photoHeight);
  }
  EXPECT_GE(layout.pitch, layout.photoHeight + layout.tiles[0].scoreHeight);
}

TEST(PhotoFit, KeepsTheStoredLayoutWhereItFitsAndShrinksWhereItDoesNot) {
  struct Case {
    int judges, perRow, screenWidth, screenHeight, bandTop, bandBottom;
    bool shrinks;
  };
  const Case cases[] = {
      {3, 0, 1920, 1080, 200, 960, false},   // one row: the layout as it always was
      {12, 0, 1920, 1080, 200, 960, false},  // two rows: the pitch grows to hold the score labels
      {20, 5, 1920, 1080, 280, 960, true},   // five a row stored earlier: four rows of smaller photos
      {20, 8, 1280, 720, 200, 600, true},    // 8 × 210 is wider than the screen
      {20, 0, 1024, 600, 260, 520, true},    // the band of a low screen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.judges << " judges, " << c.perRow << " a row, " << c.screenWidth << "x"
                                    << c.screenHeight);
    const scoring::Band band{c.bandTop, c.bandBottom};
    const scoring::PhotoLayout layout =
        scoring::fitPhotos(c.judges, 200, 250, c.perRow, c.screenWidth, c.screenHeight, band);
    ASSERT_EQ(layout.tiles.size(), static_cast<std::size_t>(c.judges));
    expectFits(layout, c.screenWidth, band);
    EXPECT_EQ(layout.photoWidth < 200, c.shrinks);
    EXPECT_NEAR(layout.photoWidth / 200.0, layout.photoHeight / 250.0, 0.01);  // proportions kept
    if (c.perRow > 0) {
      EXPECT_EQ(layout.perRow, c.perRow);  // the operator's count stays
    }
    EXPECT_GE(layout.tiles[0].scoreHeight, scoring::kReadableScoreHeight);
  }
}

// Twenty judges between the captions of a low screen: the automatic count is
// the one with the largest photos, not the one the width alone allows.
TEST(PhotoFit, AnAutomaticCountGivesTheLargestPhotosThatFit) {
  struct Case {
    int screenWidth, screenHeight;
    scoring::Band band;
  };
  for (const Case& c : {Case{1024, 600, {271, 524}}, Case{1280, 720, {271, 644}}}) {
    SCOPED_TRACE(c.screenWidth);
    const scoring::PhotoLayout automatic = scoring::fitPhotos(20, 200, 250, 0, c.screenWidth, c.screenHeight, c.band);
    expectFits(automatic, c.screenWidth, c.band);
    for (int perRow = 1; perRow <= 20; ++perRow)
      EXPECT_LE(scoring::fitPhotos(20, 200, 250, perRow, c.screenWidth, c.screenHeight, c.band).photoWidth,
                automatic.photoWidth)
          << perRow;
    EXPECT_GT(automatic.perRow, scoring::layoutPhotos(20, 200, 250, 0, c.screenWidth, c.screenHeight).perRow);
    EXPECT_GE(automatic.photoWidth, 60);
  }
}

TEST(BarFit, NarrowsBarsAndGapsOnlyWhenTheyDoNotFit) {
  EXPECT_EQ(scoring::fitBars(10, 80, 10, 1880).width, 80);
  EXPECT_EQ(scoring::fitBars(10, 80, 10, 1880).gap, 10);
  for (const int room : {984, 1240, 1880, 3800}) {
    const scoring::BarSpacing s = scoring::fitBars(30, 80, 10, room);
    EXPECT_LE(30 * s.width + 29 * s.gap, room) << room;
    EXPECT_GE(s.width, 4);
    EXPECT_GE(s.gap, 1);
  }
  // A room too small for 30 bars of 4 pixels keeps 4-pixel bars and 1-pixel gaps.
  EXPECT_EQ(scoring::fitBars(30, 80, 10, 100).width, 4);
}

}  // namespace
