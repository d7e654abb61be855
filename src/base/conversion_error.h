#pragma once
// The conversion error of a command that met text where a number belongs. Its
// message is the one operators know from the platform, and the command's
// top-level handler shows it in a message box; what the command did before stays.
// what() is UTF-8 (the offending GBK text is converted), like FileError's; it
// quotes at most an excerpt of the text (base::excerptForMessage).
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace base {

class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // "'text' is not a valid integer value"
  static ConversionError integer(std::string_view text);
  // "'text' is not a valid floating point value"
  static ConversionError floatingPoint(std::string_view text);
};

// Parses an integer the way the platform does for cells and INI values: optional
// blanks, an optional sign, then decimal digits or hexadecimal after "$" or "0x".
// Returns nothing for any other text or a value outside 32 bits.
std::optional<int> parseInt(std::string_view text);
std::optional<double> parseDouble(std::string_view text);

// Like parseInt, but raises ConversionError::integer for text that is not a number.
int toInt(std::string_view text);
double toDouble(std::string_view text);

}  // namespace base
