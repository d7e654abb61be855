#pragma once
// A grid of GBK text cells, the form every draw table takes: row 0 is the header
// row, data rows are 1 … rowCount() − 1. Reading a cell beyond the last row or
// column gives empty text, so callers may probe freely; writing one is a
// programming error and raises std::out_of_range.
//
// The rows are kept in blocks of at most kBlockRows, so taking a row out of the
// middle of a large table (a winner out of a pool of a million) shifts the rest
// of its block only, not every row after it. A table that only grows and shrinks
// at its end keeps its blocks full and finds a row by division; after a row left
// the middle, by a binary search over the blocks' first rows.
#include <algorithm>
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
  std::size_t rowCount() const { return starts_.back(); }
  // Growing adds empty rows; shrinking drops the last rows.
  void setRowCount(std::size_t count);

  const std::string& cell(std::size_t column, std::size_t row) const;
  void setCell(std::size_t column, std::size_t row, std::string&& text);
  // Copies into the cell's own storage, which a short text fits without allocating.
  void setCell(std::size_t column, std::size_t row, const std::string& text);
  void setCell(std::size_t column, std::size_t row, const char* text) { setCell(column, row, std::string(text)); }
  void clearCell(std::size_t column, std::size_t row) { setCell(column, row, std::string()); }
  const Row& row(std::size_t row) const;

  // Cells past the column count are dropped, missing ones are empty.
  void setRow(std::size_t row, Row cells);
  void appendRow(Row cells = {});
  // Inserts a row before data row `row` (rowCount() appends); the rows from there shift down.
  void insertRow(std::size_t row, Row cells);
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
  // Calls edit(cells) on the row's own cells, which must keep their count: one
  // lookup and one revision for a row written whole, as a pool build writes
  // hundreds of thousands of them.
  template <typename Edit>
  void editRow(std::size_t row, Edit edit);
  // Moves every data row for which keep(row) is true to the front, both groups
  // keeping their order.
  template <typename Predicate>
  void stableMoveToFront(Predicate keep);

  void reserve(std::size_t rowCount) { blocks_.reserve(rowCount / kBlockRows + 1); }

  // Changes with every change of the cells or rows and is never given to two
  // different contents, in this table or another: equal revisions mean equal
  // tables. A copy shares its source's revision until either changes. Lets a
  // table built from others tell that none of them has changed since.
  std::uint64_t revision() const { return revision_; }

 private:
  void changed() { revision_ = nextRevision(); }
  static std::uint64_t nextRevision();

  static constexpr std::size_t kBlockRows = 256;
  struct Place {
    std::size_t block;
    std::size_t index;
  };

  Row fitted(Row cells) const;
  Place locate(std::size_t row) const {
    if (packed_) return {row / kBlockRows, row % kBlockRows};
    return locateInUnevenBlocks(row);
  }
  Place locateInUnevenBlocks(std::size_t row) const;
  Row& at(std::size_t row);
  void push(Row&& row);
  void popLast();
  void insertAt(std::size_t row, Row&& cells);
  // Drops empty blocks and recounts where each block starts; after any change
  // that is not at the end of the table.
  void reindex();
  // Every row in order, leaving the table without rows.
  std::vector<Row> takeRows();

  std::size_t columnCount_;
  std::vector<std::vector<Row>> blocks_;
  // starts_[b] is the table row of block b's first row; the last entry is the row count.
  std::vector<std::size_t> starts_{0};
  // Every block but the last holds kBlockRows rows, so row r is in block r / kBlockRows.
  bool packed_ = true;
  // While not packed: blockAt_[c] is the block holding row c × kBlockRows, where
  // the search for any of the next kBlockRows rows starts.
  std::vector<std::size_t> blockAt_;
  std::uint64_t revision_ = nextRevision();
};

template <typename Edit>
void Table::editRow(std::size_t row, Edit edit) {
  Row& cells = at(row);
  changed();
  edit(cells);
}

template <typename Predicate>
void Table::stableMoveToFront(Predicate keep) {
  changed();
  std::vector<Row> rows = takeRows();
  std::vector<Row> back;
  std::size_t kept = std::min<std::size_t>(1, rows.size());  // the header row stays first
  for (std::size_t r = 1; r < rows.size(); ++r) {
    if (keep(rows[r])) {
      if (kept != r) rows[kept] = std::move(rows[r]);
      ++kept;
    } else {
      back.push_back(std::move(rows[r]));
    }
  }
  rows.resize(kept);
  for (auto& row : rows) push(std::move(row));
  for (auto& row : back) push(std::move(row));
}

}  // namespace draw
