#include "draw/privacy_mask.h"

#include <algorithm>

#include "base/gbk.h"

namespace draw {

std::string privacyMask(std::string_view name, int first, int last) {
  if (last < first) return std::string(name);
  const long long prefixColumns = std::max<long long>(static_cast<long long>(first) - 1, 0);
  const long long suffixColumn = std::max<long long>(last, 0);  // 0-based: column last + 1

  // Reading from the start in characters: a character that the prefix end or the
  // suffix start would cut is left out of both.
  std::size_t prefixEnd = 0;
  std::size_t suffixStart = name.size();
  long long column = 0;
  for (std::size_t pos = 0; pos < name.size();) {
    if (column >= suffixColumn) {
      suffixStart = pos;
      break;
    }
    const std::size_t length = base::charLengthAt(name, pos);
    column += static_cast<long long>(base::columnsOf(length));
    pos += length;
    if (column <= prefixColumns) prefixEnd = pos;
  }

  std::string result(name.substr(0, prefixEnd));
  result.append(static_cast<std::size_t>(static_cast<long long>(last) - first + 1), '*');
  result.append(name.substr(suffixStart));
  return result;
}

}  // namespace draw
