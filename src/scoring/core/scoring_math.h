#pragma once
// The shared computations of both displays: a programme's average with the drop
// rules, its "0.00" text, the dense ranks of the three highest averages, and
// the shortest number form the result line and the marks use.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scoring/core/programme_lists.h"

namespace scoring {

// A score text as a number: optional blanks, optional sign, digits with "." and
// an optional exponent. Nothing for any other text (a Chinese numeral, "inf").
std::optional<double> parseScore(std::string_view text);

// Sum, count, highest and lowest of the non-empty score texts in order (the
// first score sets both ends; a later one replaces an end only when strictly
// beyond it). Raises base::ConversionError::floatingPoint for a text that is
// not a number.
struct ScoreTally {
  double sum = 0;
  int count = 0;
  double highest = 0;
  double lowest = 0;
};
ScoreTally tally(const std::vector<std::string>& scoreTexts);

// The average after the drops: with drop highest on and more than two scores the
// highest goes, then with drop lowest on and still more than two the lowest; 0
// without scores.
double average(const ScoreTally& scores, DropRules drops);

// "0.00": two decimals, halves away from zero (8.125 gives "8.13"). A value
// that lies within rounding noise of a half counts as the half.
std::string formatAverage(double value);

// The shortest general form of a number, as a result line writes it: 9.5, 10, 7.25.
std::string shortestNumber(double value);

// Dense ranks "1", "2", "3" of the three highest distinct averages above 0, in
// the programmes' order; every other programme gets "". Averages are the
// "0.00" texts, so ties are decided on two decimals.
std::vector<std::string> denseRanks(const std::vector<std::string>& averageTexts);

}  // namespace scoring
