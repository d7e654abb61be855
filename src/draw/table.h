#pragma once
// A grid of GBK text cells, the form every draw table takes: row 0 is the header
// row, data rows are 1 … rowCount() − 1. Reading a cell beyond the last row or
// column gives empty text, so callers may probe freely; writing one is a
// programming error and raises std::out_of_range.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace draw {

class Table {
 public:
  using Row = std::vector<std::string>;

  explicit Table(std::size_t columnCount, std::size_t rowCount = 1);

  std::size_t columnCount() const { return columnCount_; }
  std::size_t rowCount() const { return rows_.size(); }
  // Growing adds empty rows; shrinking drops the last rows.
  void setRowCount(std::size_t count);

  const std::string& cell(std::size_t column, std::size_t row) const;
  void setCell(std::size_t column, std::size_t row, std::string&& text);
  // Copies into the cell's own storage, which a short text fits without allocating.
  void setCell(std::size_t column, std::size_t row, const std::string& text);
  void setCell(std::size_t column, std::size_t row, const char* text) { setCell(column, row, std::string(text)); }
  void clearCell(std::size_t column, std::size_t row) { setCell(column, row, std::string()); }
  const Row& row(std::size_t row) const { return rows_.at(row); }

  // Cells past the column count are dropped, missing ones are empty.
  void setRow(std::size_t row, Row cells);
  void appendRow(Row cells = {});
  void deleteRow(std::size_t row);
  // Removes the row at `from` and inserts it at `to`; the rows between shift by one.
  void moveRow(std::size_t from, std::size_t to);
  // Moves the listed data rows to the end, the first listed to the last row, the
  // second listed before it, and so on; the other rows keep their order. The
  // same as moving each in turn with moveRow(rows[i], rowCount() - 1 - i), in
  // one pass instead of one shift of the rows per listed row. Rows must be
  // distinct data rows.
  void moveRowsToEnd(const std::vector<std::size_t>& rows);
  void clearRow(std::size_t row);
  // Moves every data row for which keep(row) is true to the front, both groups
  // keeping their order.
  template <typename Predicate>
  void stableMoveToFront(Predicate keep);

  void reserve(std::size_t rowCount) { rows_.reserve(rowCount); }

  // Changes with every change of the cells or rows and is never given to two
  // different contents, in this table or another: equal revisions mean equal
  // tables. A copy shares its source's revision until either changes. Lets a
  // table built from others tell that none of them has changed since.
  std::uint64_t revision() const { return revision_; }

 private:
  void changed() { revision_ = nextRevision(); }
  static std::uint64_t nextRevision();

  Row fitted(Row cells) const;

  std::size_t columnCount_;
  std::vector<Row> rows_;
  std::uint64_t revision_ = nextRevision();
};

template <typename Predicate>
void Table::stableMoveToFront(Predicate keep) {
  changed();
  std::vector<Row> front;
  std::vector<Row> back;
  for (std::size_t r = 1; r < rows_.size(); ++r) (keep(rows_[r]) ? front : back).push_back(std::move(rows_[r]));
  std::size_t r = 1;
  for (auto& row : front) rows_[r++] = std::move(row);
  for (auto& row : back) rows_[r++] = std::move(row);
}

}  // namespace draw
