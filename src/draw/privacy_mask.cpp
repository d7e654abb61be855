#include "draw/privacy_mask.h"

#include <algorithm>
#include <vector>

#include "base/gbk.h"

namespace draw {

std::string privacyMask(std::string_view name, int first, int last) {
  if (last < first) return std::string(name);
  const long long size = static_cast<long long>(name.size());

  // startsChar[i]: byte i (0-based) begins a character, reading from the start.
  std::vector<bool> startsChar(name.size(), false);
  std::vector<bool> leadsPair(name.size(), false);
  for (std::size_t pos = 0; pos < name.size();) {
    std::size_t length = base::charLengthAt(name, pos);
    startsChar[pos] = true;
    leadsPair[pos] = length == 2;
    pos += length;
  }

  long long prefixLength = std::clamp<long long>(static_cast<long long>(first) - 1, 0, size);
  if (prefixLength > 0 && leadsPair[static_cast<std::size_t>(prefixLength - 1)]) --prefixLength;

  long long suffixStart = std::max<long long>(static_cast<long long>(last), 0);  // 0-based index of byte last + 1
  if (suffixStart < size && !startsChar[static_cast<std::size_t>(suffixStart)]) ++suffixStart;

  std::string result(name.substr(0, static_cast<std::size_t>(prefixLength)));
  result.append(static_cast<std::size_t>(last - first + 1), '*');
  if (suffixStart < size) result.append(name.substr(static_cast<std::size_t>(suffixStart)));
  return result;
}

}  // namespace draw
