#include "draw/table.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace draw {

namespace {
const std::string kEmpty;
}

std::uint64_t Table::nextRevision() {
  static std::atomic<std::uint64_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

Table::Table(std::size_t columnCount, std::size_t rowCount)
    : columnCount_(columnCount), rows_(rowCount, Row(columnCount)) {}

void Table::setRowCount(std::size_t count) {
  changed();
  rows_.resize(count, Row(columnCount_));
}

const std::string& Table::cell(std::size_t column, std::size_t row) const {
  if (row >= rows_.size() || column >= columnCount_) return kEmpty;
  return rows_[row][column];
}

void Table::setCell(std::size_t column, std::size_t row, std::string&& text) {
  if (row >= rows_.size() || column >= columnCount_) throw std::out_of_range("table cell out of range");
  changed();
  rows_[row][column] = std::move(text);
}

void Table::setCell(std::size_t column, std::size_t row, const std::string& text) {
  if (row >= rows_.size() || column >= columnCount_) throw std::out_of_range("table cell out of range");
  changed();
  rows_[row][column] = text;
}

Table::Row Table::fitted(Row cells) const {
  cells.resize(columnCount_);
  return cells;
}

void Table::setRow(std::size_t row, Row cells) {
  changed();
  rows_.at(row) = fitted(std::move(cells));
}

void Table::appendRow(Row cells) {
  changed();
  rows_.push_back(fitted(std::move(cells)));
}

void Table::deleteRow(std::size_t row) {
  if (row >= rows_.size()) throw std::out_of_range("table row out of range");
  changed();
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void Table::moveRow(std::size_t from, std::size_t to) {
  if (from >= rows_.size() || to >= rows_.size()) throw std::out_of_range("table row out of range");
  changed();
  auto first = rows_.begin();
  if (from < to) {
    std::rotate(first + static_cast<std::ptrdiff_t>(from), first + static_cast<std::ptrdiff_t>(from) + 1,
                first + static_cast<std::ptrdiff_t>(to) + 1);
  } else if (from > to) {
    std::rotate(first + static_cast<std::ptrdiff_t>(to), first + static_cast<std::ptrdiff_t>(from),
                first + static_cast<std::ptrdiff_t>(from) + 1);
  }
}

void Table::moveRowsToEnd(const std::vector<std::size_t>& rows) {
  if (rows.empty()) return;
  std::vector<bool> listed(rows_.size(), false);
  std::size_t first = rows_.size();
  for (std::size_t r : rows) {
    if (r == 0 || r >= rows_.size() || listed[r])
      throw std::out_of_range("table rows to move are not distinct data rows");
    listed[r] = true;
    first = std::min(first, r);
  }
  changed();
  std::vector<Row> moved;
  moved.reserve(rows.size());
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) moved.push_back(std::move(rows_[*it]));
  std::size_t to = first;
  for (std::size_t from = first; from < rows_.size(); ++from)
    if (!listed[from]) rows_[to++] = std::move(rows_[from]);
  for (auto& row : moved) rows_[to++] = std::move(row);
}

void Table::clearRow(std::size_t row) {
  changed();
  rows_.at(row) = Row(columnCount_);
}

}  // namespace draw
