// GB18030 text from files (names, captions) and the number cells read from them.
// Promises checked: conversions never fail on invalid bytes; text converted to
// UTF-8 and back is unchanged when it was valid; scanning never stops inside a
// two- or four-byte character; number parsing never fails.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string utf8 = base::gbkToUtf8(bytes);
  const std::string again = base::utf8ToGbk(utf8);
  if (utf8.find("\xEF\xBF\xBD") == std::string::npos && again != bytes)
    fuzzing::broken("valid GBK does not survive a round trip through UTF-8");
  // The input taken as UTF-8: every character has a GB18030 form and comes back;
  // what is not UTF-8 is refused, never stored as something else.
  if (const std::optional<std::string> stored = base::tryUtf8ToGbk(bytes)) {
    if (base::gbkToUtf8(*stored) != bytes) fuzzing::broken("UTF-8 does not survive a round trip through GB18030");
  }

  const bool valid = base::isValidGb18030(bytes);
  for (std::size_t max : {std::size_t{0}, std::size_t{1}, size / 2, size}) {
    std::string_view prefix = base::prefixAtCharBoundary(bytes, max);
    if (prefix.size() > max) fuzzing::broken("prefix longer than asked");
    if (valid && !base::isValidGb18030(prefix)) fuzzing::broken("a prefix cuts a character apart");
  }
  std::size_t from = 0;
  while (true) {
    std::size_t bar = base::findSingleByte(bytes, '|', from);
    if (bar == std::string_view::npos) break;
    if (bar < from || bytes[bar] != '|') fuzzing::broken("findSingleByte points elsewhere");
    from = bar + 1;
  }
  if (base::foldLatinCase(bytes).size() != size) fuzzing::broken("case folding changed the length");
  if (!base::equalsIgnoreLatinCase(bytes, base::foldLatinCase(bytes))) fuzzing::broken("folded text compares unequal");

  base::parseInt(bytes);
  base::parseDouble(bytes);
  try {
    base::toInt(bytes);
  } catch (const base::ConversionError&) {
  }
  return 0;
}
