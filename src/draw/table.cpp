#include "draw/table.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace draw {

namespace {
const std::string kEmpty;

[[noreturn]] void rowOutOfRange() { throw std::out_of_range("table row out of range"); }
}  // namespace

// Each thread takes revisions from the shared counter a range at a time, so a
// change to a table costs a plain increment rather than an atomic one, and no
// two threads are ever given the same revision.
std::uint64_t Table::nextRevision() {
  constexpr std::uint64_t kRange = 1 << 16;
  static std::atomic<std::uint64_t> taken{0};
  thread_local std::uint64_t next = 0;
  thread_local std::uint64_t end = 0;
  if (next == end) {
    next = taken.fetch_add(kRange, std::memory_order_relaxed) + 1;
    end = next + kRange;
  }
  return next++;
}

Table::Table(std::size_t columnCount, std::size_t rowCount) : columnCount_(columnCount) {
  for (std::size_t r = 0; r < rowCount; ++r) push(Row(columnCount_));
}

Table::Place Table::locateInUnevenBlocks(std::size_t row) const {
  std::size_t block = blockAt_[row / kBlockRows];
  while (starts_[block + 1] <= row) ++block;
  return {block, row - starts_[block]};
}

Table::Row& Table::at(std::size_t row) {
  if (row >= rowCount()) rowOutOfRange();
  const Place p = locate(row);
  return blocks_[p.block][p.index];
}

const Table::Row& Table::row(std::size_t row) const {
  if (row >= rowCount()) rowOutOfRange();
  const Place p = locate(row);
  return blocks_[p.block][p.index];
}

void Table::push(Row&& row) {
  if (blocks_.empty() || blocks_.back().size() >= kBlockRows) {
    // A table that outgrew its first block is a large one: its blocks are
    // allocated whole. Small tables keep small allocations.
    const bool large = !blocks_.empty();
    blocks_.emplace_back();
    if (large) blocks_.back().reserve(kBlockRows);
    starts_.push_back(starts_.back());
  }
  blocks_.back().push_back(std::move(row));
  const std::size_t added = starts_.back()++;
  if (!packed_ && added % kBlockRows == 0) blockAt_.push_back(blocks_.size() - 1);
}

void Table::popLast() {
  blocks_.back().pop_back();
  const std::size_t removed = --starts_.back();
  if (!packed_ && removed % kBlockRows == 0) blockAt_.pop_back();
  if (blocks_.back().empty()) {
    blocks_.pop_back();
    starts_.pop_back();
  }
}

void Table::reindex() {
  std::erase_if(blocks_, [](const std::vector<Row>& block) { return block.empty(); });
  starts_.resize(blocks_.size() + 1);
  std::size_t start = 0;
  packed_ = true;
  for (std::size_t b = 0; b < blocks_.size(); ++b) {
    starts_[b] = start;
    start += blocks_[b].size();
    if (b + 1 < blocks_.size() && blocks_[b].size() != kBlockRows) packed_ = false;
  }
  starts_.back() = start;
  blockAt_.clear();
  if (packed_) return;
  blockAt_.reserve(start / kBlockRows + 1);
  std::size_t block = 0;
  for (std::size_t row = 0; row < start; row += kBlockRows) {
    while (starts_[block + 1] <= row) ++block;
    blockAt_.push_back(block);
  }
}

void Table::insertAt(std::size_t row, Row&& cells) {
  if (row == rowCount()) {
    push(std::move(cells));
    return;
  }
  const Place p = locate(row);
  std::vector<Row>& block = blocks_[p.block];
  block.insert(block.begin() + static_cast<std::ptrdiff_t>(p.index), std::move(cells));
  if (block.size() > kBlockRows) {
    const auto half = block.begin() + static_cast<std::ptrdiff_t>(block.size() / 2);
    std::vector<Row> second(std::make_move_iterator(half), std::make_move_iterator(block.end()));
    block.erase(half, block.end());
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block) + 1, std::move(second));
  }
  reindex();
}

std::vector<Table::Row> Table::takeRows() {
  std::vector<Row> rows;
  rows.reserve(rowCount());
  for (auto& block : blocks_)
    for (auto& row : block) rows.push_back(std::move(row));
  blocks_.clear();
  starts_.assign(1, 0);
  packed_ = true;
  blockAt_.clear();
  return rows;
}

void Table::setRowCount(std::size_t count) {
  changed();
  while (rowCount() > count) popLast();
  while (rowCount() < count) push(Row(columnCount_));
}

const std::string& Table::cell(std::size_t column, std::size_t row) const {
  if (row >= rowCount() || column >= columnCount_) return kEmpty;
  const Place p = locate(row);
  return blocks_[p.block][p.index][column];
}

void Table::setCell(std::size_t column, std::size_t row, std::string&& text) {
  if (row >= rowCount() || column >= columnCount_) throw std::out_of_range("table cell out of range");
  changed();
  const Place p = locate(row);
  blocks_[p.block][p.index][column] = std::move(text);
}

void Table::setCell(std::size_t column, std::size_t row, const std::string& text) {
  if (row >= rowCount() || column >= columnCount_) throw std::out_of_range("table cell out of range");
  changed();
  const Place p = locate(row);
  blocks_[p.block][p.index][column] = text;
}

Table::Row Table::fitted(Row cells) const {
  cells.resize(columnCount_);
  return cells;
}

void Table::setRow(std::size_t row, Row cells) {
  Row& target = at(row);
  changed();
  target = fitted(std::move(cells));
}

void Table::appendRow(Row cells) {
  changed();
  push(fitted(std::move(cells)));
}

void Table::insertRow(std::size_t row, Row cells) {
  if (row > rowCount()) rowOutOfRange();
  changed();
  insertAt(row, fitted(std::move(cells)));
}

void Table::deleteRow(std::size_t row) {
  if (row >= rowCount()) rowOutOfRange();
  changed();
  if (row + 1 == rowCount()) {
    popLast();
    return;
  }
  const Place p = locate(row);
  blocks_[p.block].erase(blocks_[p.block].begin() + static_cast<std::ptrdiff_t>(p.index));
  reindex();
}

void Table::moveRow(std::size_t from, std::size_t to) {
  if (from >= rowCount() || to >= rowCount()) rowOutOfRange();
  changed();
  if (from == to) return;
  Row moving = std::move(at(from));
  deleteRow(from);
  insertAt(to, std::move(moving));
}

void Table::moveRowsToEnd(const std::vector<std::size_t>& rows) {
  if (rows.empty()) return;
  std::vector<std::size_t> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  if (sorted.front() == 0 || sorted.back() >= rowCount() ||
      std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
    throw std::out_of_range("table rows to move are not distinct data rows");
  changed();
  std::vector<Row> moved;
  moved.reserve(rows.size());
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) moved.push_back(std::move(at(*it)));
  // From the bottom up, so the places of the rows still to take out stay as found.
  std::vector<Place> places;
  places.reserve(sorted.size());
  for (std::size_t r : sorted) places.push_back(locate(r));
  for (auto p = places.rbegin(); p != places.rend(); ++p)
    blocks_[p->block].erase(blocks_[p->block].begin() + static_cast<std::ptrdiff_t>(p->index));
  reindex();
  for (auto& row : moved) push(std::move(row));
}

void Table::clearRow(std::size_t row) {
  Row& target = at(row);
  changed();
  target = Row(columnCount_);
}

}  // namespace draw
