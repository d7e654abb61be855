#include "scoring/core/scoring_math.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/conversion_error.h"

namespace scoring {

std::optional<double> parseScore(std::string_view text) {
  std::size_t start = 0;
  std::size_t end = text.size();
  while (start < end && (text[start] == ' ' || text[start] == '\t')) ++start;
  while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  std::string_view body = text.substr(start, end - start);
  if (!body.empty() && body[0] == '+') body.remove_prefix(1);
  if (body.empty()) return std::nullopt;
  // Only the plain decimal form: from_chars would also take "inf" and "nan".
  bool digit = false;
  for (char c : body) {
    if (c >= '0' && c <= '9')
      digit = true;
    else if (c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
      return std::nullopt;
  }
  if (!digit) return std::nullopt;
  double value = 0;
  auto [stop, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec != std::errc() || stop != body.data() + body.size()) return std::nullopt;
  return value;
}

ScoreTally tally(const std::vector<std::string>& scoreTexts) {
  ScoreTally result;
  for (const std::string& text : scoreTexts) {
    if (text.empty()) continue;
    std::optional<double> value = parseScore(text);
    if (!value) throw base::ConversionError::floatingPoint(text);
    if (result.count == 0) {
      result.highest = *value;
      result.lowest = *value;
    } else {
      if (*value > result.highest) result.highest = *value;
      if (*value < result.lowest) result.lowest = *value;
    }
    result.sum += *value;
    ++result.count;
  }
  return result;
}

double average(const ScoreTally& scores, DropRules drops) {
  if (scores.count == 0) return 0;
  double sum = scores.sum;
  int count = scores.count;
  if (drops.highest && count > 2) {
    sum -= scores.highest;
    --count;
  }
  if (drops.lowest && count > 2) {
    sum -= scores.lowest;
    --count;
  }
  return sum / count;
}

std::string formatAverage(double value) {
  if (!std::isfinite(value)) value = 0;
  const double scaled = value * 100;
  const double floor = std::floor(scaled);
  const double fraction = scaled - floor;
  double rounded;
  if (std::fabs(fraction - 0.5) <= 1e-9 * std::max(1.0, std::fabs(scaled)))
    rounded = scaled >= 0 ? floor + 1 : floor;  // a half goes away from zero
  else
    rounded = std::round(scaled);
  if (rounded == 0) rounded = 0;  // no "-0.00"
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", rounded / 100);
  return buffer;
}

std::string shortestNumber(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::vector<std::string> denseRanks(const std::vector<std::string>& averageTexts) {
  const std::size_t n = averageTexts.size();
  std::vector<double> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = parseScore(averageTexts[i]).value_or(0);
  std::vector<std::string> ranks(n);
  double thresholds[3] = {0, 0, 0};
  static const char* const kPlaces[3] = {"1", "2", "3"};

  // Place 1: the highest value; places 2 and 3: the highest value strictly below the previous place's.
  std::optional<std::size_t> candidate;
  for (std::size_t i = 0; i < n; ++i)
    if (v[i] > (candidate ? v[*candidate] : -1.0)) candidate = i;
  if (candidate) {
    thresholds[0] = v[*candidate];
    if (thresholds[0] > 0) ranks[*candidate] = "1";
  }
  for (int place = 1; place < 3 && n >= static_cast<std::size_t>(place + 1); ++place) {
    const double above = thresholds[place - 1];
    candidate.reset();
    for (std::size_t i = 0; i < n; ++i)
      if (v[i] < above) {
        candidate = i;
        break;
      }
    for (std::size_t i = 0; i < n; ++i)
      if (ranks[i].empty() && v[i] > (candidate ? v[*candidate] : -1.0) && v[i] < above) candidate = i;
    if (candidate) {
      thresholds[place] = v[*candidate];
      if (thresholds[place] > 0) ranks[*candidate] = kPlaces[place];
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!ranks[i].empty()) continue;
    for (int place = 0; place < 3; ++place)
      if (thresholds[place] > 0 && v[i] == thresholds[place]) {
        ranks[i] = kPlaces[place];
        break;
      }
  }
  return ranks;
}

}  // namespace scoring
