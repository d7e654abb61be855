#include "base/delimited_row.h"

#include "base/gbk.h"

namespace base {

namespace {
bool isControlOrBlank(unsigned char byte) { return byte >= 1 && byte <= 32; }

// A cell that ends in a lone lead byte (a name cut inside a character) is
// quoted too: unquoted, the "|" after it would read as the second byte of a
// character and the row would lose a cell.
bool needsQuotes(std::string_view cell) {
  for (std::size_t pos = 0; pos < cell.size(); pos += charLengthAt(cell, pos)) {
    unsigned char byte = static_cast<unsigned char>(cell[pos]);
    if (charLengthAt(cell, pos) > 1) continue;
    if (isControlOrBlank(byte) || byte == '"' || byte == '|') return true;
    if (pos + 1 == cell.size() && isLeadByte(byte)) return true;
  }
  return false;
}
}  // namespace

std::string writeDelimitedRow(const std::vector<std::string>& cells) {
  if (cells.size() == 1 && cells[0].empty()) return "\"\"";
  std::string out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out += '|';
    const std::string& cell = cells[i];
    if (!needsQuotes(cell)) {
      out += cell;
      continue;
    }
    out += '"';
    for (std::size_t pos = 0; pos < cell.size();) {
      std::size_t len = charLengthAt(cell, pos);
      if (len == 1 && cell[pos] == '"') out += '"';
      out.append(cell, pos, len);
      pos += len;
    }
    out += '"';
  }
  return out;
}

std::vector<std::string> readDelimitedRow(std::string_view line, std::size_t columnCount) {
  std::vector<std::string> row;
  auto store = [&](std::string field) {
    if (row.size() >= columnCount) return;
    row.push_back(field.empty() ? std::string(" ") : std::move(field));
  };
  auto skipBlanks = [&](std::size_t pos) {
    while (pos < line.size() && isControlOrBlank(static_cast<unsigned char>(line[pos]))) ++pos;
    return pos;
  };

  std::size_t pos = skipBlanks(0);
  while (pos < line.size()) {
    std::string field;
    if (line[pos] == '"') {
      ++pos;
      while (pos < line.size()) {
        std::size_t len = charLengthAt(line, pos);
        if (len == 1 && line[pos] == '"') {
          if (pos + 1 < line.size() && line[pos + 1] == '"') {
            field += '"';
            pos += 2;
            continue;
          }
          ++pos;  // the closing quote
          break;
        }
        field.append(line, pos, len);
        pos += len;
      }
    } else {
      while (pos < line.size()) {
        std::size_t len = charLengthAt(line, pos);
        if (len == 1 && (line[pos] == '|' || isControlOrBlank(static_cast<unsigned char>(line[pos])))) break;
        field.append(line, pos, len);
        pos += len;
      }
    }
    store(std::move(field));
    pos = skipBlanks(pos);
    if (pos < line.size() && line[pos] == '|') {
      ++pos;
      pos = skipBlanks(pos);
      if (pos >= line.size()) store({});
    }
    // Otherwise the next byte starts the next field (text after a closing quote or a blank).
  }
  return row;
}

}  // namespace base
