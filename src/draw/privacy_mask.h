#pragma once
// The privacy mask that turns a name into the display name shown on screen and
// kept in the winners record.
#include <string>
#include <string_view>

namespace draw {

// Replaces columns first … last (1-based; a single byte takes one column, a two-
// or four-byte character two: base::displayColumns) of name by last − first + 1
// asterisks. A character cut by either end is hidden whole, so a mask never
// leaves part of a character behind; the number of asterisks stays the same.
// With last < first the name is returned unchanged (no byte is hidden, so none
// may be lost or repeated either).
std::string privacyMask(std::string_view name, int first, int last);

}  // namespace draw
