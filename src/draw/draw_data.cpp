#include "draw/draw_data.h"

#include "base/conversion_error.h"

namespace draw {

DrawData::DrawData() = default;

int DrawData::count(std::size_t row, std::size_t column) const { return base::toInt(ItemGrid.cell(column, row)); }

void DrawData::setCount(std::size_t row, std::size_t column, int value) {
  ItemGrid.setCell(column, row, std::to_string(value));
}

void DrawData::addToCount(std::size_t row, std::size_t column, int delta) {
  setCount(row, column, count(row, column) + delta);
}

int DrawData::places(std::size_t row) const { return count(row, item::kPlaces) + count(row, item::kSupplementary); }

int DrawData::remaining(std::size_t row) const {
  return places(row) - count(row, item::kDrawn) - count(row, item::kShortfall) - count(row, item::kGivenUp);
}

int DrawData::ticketCount(std::size_t row) const {
  return count(row, item::kPlaces) - count(row, item::kDrawn) - count(row, item::kGivenUp) +
         count(row, item::kSupplementary);
}

void DrawData::appendWinner(Table::Row record) {
  LuckNameGrid.setRow(LuckNameGrid.rowCount() - 1, std::move(record));
  LuckNameGrid.appendRow();
}

void DrawData::clearWinners() {
  LuckNameGrid.setRowCount(0);
  LuckNameGrid.setRowCount(2);
}

std::string winnerRecordLine(const Table::Row& record) {
  std::string line;
  for (std::size_t c = 0; c < winner::kColumnCount; ++c) {
    if (c > 0) line += '|';
    if (c < record.size()) line += record[c];
  }
  return line;
}

std::string winnerRecordLine(const Table& winners, std::size_t row) { return winnerRecordLine(winners.row(row)); }

}  // namespace draw
