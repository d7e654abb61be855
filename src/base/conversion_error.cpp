#include "base/conversion_error.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "base/gbk.h"

namespace base {

ConversionError ConversionError::integer(std::string_view text) {
  return ConversionError("'" + gbkToUtf8(excerptForMessage(text)) + "' is not a valid integer value");
}

ConversionError ConversionError::floatingPoint(std::string_view text) {
  return ConversionError("'" + gbkToUtf8(excerptForMessage(text)) + "' is not a valid floating point value");
}

namespace {
std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}
}  // namespace

std::optional<int> parseInt(std::string_view text) {
  text = trimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int radix = 10;
  if (!text.empty() && text.front() == '$') {
    radix = 16;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    radix = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, radix);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (radix == 16) {
    // Hexadecimal texts name a 32-bit pattern: $FFFFFFFF is -1.
    if (value > 0xFFFFFFFFull) return std::nullopt;
    auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return negative ? -bits : bits;
  }
  if (negative) {
    if (value > 2147483648ull) return std::nullopt;
    return static_cast<int>(-static_cast<std::int64_t>(value));
  }
  if (value > 2147483647ull) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<double> parseDouble(std::string_view text) {
  std::string_view trimmed = trimBlanks(text);
  if (trimmed.empty()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (ec != std::errc() || end != trimmed.data() + trimmed.size()) return std::nullopt;
  return value;
}

int toInt(std::string_view text) {
  if (auto value = parseInt(text)) return *value;
  throw ConversionError::integer(text);
}

double toDouble(std::string_view text) {
  if (auto value = parseDouble(text)) return *value;
  throw ConversionError::floatingPoint(text);
}

}  // namespace base
