// Averages with the drop rules, the "0.00" text, dense ranks and score parsing.
#include "scoring/core/scoring_math.h"

#include <gtest/gtest.h>

#include "base/conversion_error.h"

namespace {

using scoring::DropRules;

TEST(ScoringMath, AverageWithDropRules) {
  struct Case {
    std::vector<std::string> scores;
    DropRules drops;
    const char* expected;
  } cases[] = {
      {{"9", "8", "7"}, {true, true}, "7.50"},        // three scores: only the highest goes
      {{"9", "8", "7", "6"}, {true, true}, "7.50"},   // both ends go
      {{"9", "8"}, {true, true}, "8.50"},             // two scores stay
      {{"9", "9", "8", "8"}, {true, false}, "8.33"},  // one 9 goes, not both
      {{"9", "9", "8", "8"}, {false, true}, "8.67"},
      {{"9", "", "8", "", "7"}, {false, false}, "8.00"},  // empty means not scored
      {{"", ""}, {true, true}, "0.00"},
      {{}, {true, true}, "0.00"},
      {{"8.125"}, {false, false}, "8.13"},  // a half goes away from zero
      {{"-8.125"}, {false, false}, "-8.13"},
      // Decimal halves that the double holds just below the half (1.005 × 100 is
      // 100.49999999999999): plain rounding would give 1.00.
      {{"1.005"}, {false, false}, "1.01"},
      {{"-1.005"}, {false, false}, "-1.01"},
      {{" 8.5 "}, {false, false}, "8.50"},
      {{"+9", "1e1"}, {false, false}, "9.50"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(scoring::formatAverage(scoring::average(scoring::tally(c.scores), c.drops)), c.expected)
        << ::testing::PrintToString(c.scores);
}

TEST(ScoringMath, ATextThatIsNoNumberStopsWithTheConversionMessage) {
  for (const char* text : {"\xBE\xC5" /* 九 in GBK */, "nine", "inf", "nan", "8,5", "."}) {
    try {
      scoring::tally({"9", text});
      ADD_FAILURE() << text;
    } catch (const base::ConversionError& error) {
      EXPECT_NE(std::string(error.what()).find("is not a valid floating point value"), std::string::npos);
    }
  }
}

TEST(ScoringMath, DenseRanksOfTheThreeHighestPositiveAverages) {
  struct Case {
    std::vector<std::string> averages;
    std::vector<std::string> ranks;
  } cases[] = {
      {{"9.00", "9.00", "8.50", "8.00", "7.00"}, {"1", "1", "2", "3", ""}},
      {{"8.00", "9.00", "9.00"}, {"2", "1", "1"}},
      {{"0.00", "5.00"}, {"", "1"}},
      {{"0.00", "0.00"}, {"", ""}},
      {{"7.00"}, {"1"}},
      {{"5.00", "6.00", "5.00", "4.00", "6.00", "3.00"}, {"2", "1", "2", "3", "1", ""}},
      {{"2.00", "0.00", "1.00", "-1.00"}, {"1", "", "2", ""}},
      {{}, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(scoring::denseRanks(c.averages), c.ranks) << ::testing::PrintToString(c.averages);
}

TEST(ScoringMath, ShortestNumberForm) {
  EXPECT_EQ(scoring::shortestNumber(9.5), "9.5");
  EXPECT_EQ(scoring::shortestNumber(10), "10");
  EXPECT_EQ(scoring::shortestNumber(7.25), "7.25");
  EXPECT_EQ(scoring::shortestNumber(9.50), "9.5");
}

}  // namespace
