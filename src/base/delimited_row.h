#pragma once
// The delimited row format: a table row kept in one INI value as its cells
// separated by "|". A cell holding a blank, a control byte, a double quote or "|"
// is enclosed in double quotes with inner quotes doubled; an empty cell is
// written as nothing. Reading splits at "|" and at unquoted blanks, stores an
// empty field as " ", and never splits a two-byte character whose second byte is
// 0x7C.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace base {

std::string writeDelimitedRow(const std::vector<std::string>& cells);

// Parses `line` into at most columnCount fields (later ones are dropped). The
// returned row holds exactly the fields found, first field first.
std::vector<std::string> readDelimitedRow(std::string_view line, std::size_t columnCount);

}  // namespace base
