// The delimited row format of award, predetermined and blacklist rows.
// Promises checked: any line parses into at most the asked number of fields;
// cells written by the program read back as they were (an empty cell as " "),
// so a row survives a save and a load.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/delimited_row.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (std::size_t columns : {std::size_t{1}, std::size_t{5}, std::size_t{13}}) {
    if (base::readDelimitedRow(bytes, columns).size() > columns) fuzzing::broken("more fields than columns");
  }

  // The input cut at every NUL into cells: the program writes such rows from
  // names and prizes an operator typed. A NUL cannot reach a cell through a
  // window, and the INI line cannot hold CR or LF, so those bytes are left out.
  std::vector<std::string> cells(1);
  for (char c : bytes) {
    if (c == '\0') {
      cells.emplace_back();
    } else if (c != '\r' && c != '\n') {
      cells.back() += c;
    }
  }
  if (cells.size() > 13) cells.resize(13);
  const std::string line = base::writeDelimitedRow(cells);
  const std::vector<std::string> back = base::readDelimitedRow(line, 13);
  // A single empty cell is written as "" and reads as one " ".
  if (back.size() != cells.size()) fuzzing::broken("a written row reads back with another number of cells");
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::string expected = cells[i].empty() ? " " : cells[i];
    if (back[i] != expected) fuzzing::broken("a written cell reads back changed");
  }
  return 0;
}
