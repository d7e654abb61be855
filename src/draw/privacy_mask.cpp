#include "draw/privacy_mask.h"

#include <algorithm>

#include "base/gbk.h"

namespace draw {

std::string privacyMask(std::string_view name, int first, int last) {
  if (last < first) return std::string(name);
  const long long size = static_cast<long long>(name.size());
  const long long prefixWanted = std::clamp<long long>(static_cast<long long>(first) - 1, 0, size);
  long long suffixStart = std::clamp<long long>(static_cast<long long>(last), 0, size);  // 0-based: byte last + 1

  // Reading from the start in characters: a character that the prefix end or the
  // suffix start would cut is left out of both.
  long long prefixLength = 0;
  for (long long pos = 0; pos < size;) {
    const long long next = pos + static_cast<long long>(base::charLengthAt(name, static_cast<std::size_t>(pos)));
    if (next <= prefixWanted) prefixLength = next;
    if (pos < suffixStart && suffixStart < next) suffixStart = next;
    if (next > prefixWanted && next > suffixStart) break;
    pos = next;
  }

  std::string result(name.substr(0, static_cast<std::size_t>(prefixLength)));
  result.append(static_cast<std::size_t>(last - first + 1), '*');
  result.append(name.substr(static_cast<std::size_t>(suffixStart)));
  return result;
}

}  // namespace draw
