#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/conversion_error.h"
#include "draw/draw_data.h"

namespace {

using draw::Table;

std::vector<std::string> column0(const Table& t) {
  std::vector<std::string> out;
  for (std::size_t r = 0; r < t.rowCount(); ++r) out.push_back(t.cell(0, r));
  return out;
}

TEST(Table, RowOperationsShiftRowsAndReadsBeyondAreEmpty) {
  Table t(2, 1);
  for (const char* v : {"a", "b", "c", "d"}) t.appendRow({v, "x", "dropped"});
  EXPECT_EQ(t.cell(2, 1), "");  // cells past the column count were dropped
  EXPECT_EQ(t.cell(0, 99), "");
  t.moveRow(1, 3);  // a moves down, b and c shift up
  EXPECT_EQ(column0(t), (std::vector<std::string>{"", "b", "c", "a", "d"}));
  t.moveRow(4, 1);
  EXPECT_EQ(column0(t), (std::vector<std::string>{"", "d", "b", "c", "a"}));
  t.deleteRow(2);
  EXPECT_EQ(column0(t), (std::vector<std::string>{"", "d", "c", "a"}));
  t.stableMoveToFront([](const Table::Row& row) { return row[0] != "c"; });
  EXPECT_EQ(column0(t), (std::vector<std::string>{"", "d", "a", "c"}));
  EXPECT_THROW(t.setCell(0, 9, "x"), std::out_of_range);
}

// Moving several rows at once must leave exactly the order that moving them one
// at a time leaves: the draw's outcome depends on it.
TEST(Table, MovingRowsToTheEndInOnePassMatchesMovingThemOneByOne) {
  const std::vector<std::vector<std::size_t>> cases{{3}, {1, 2, 3, 4, 5, 6}, {6, 1}, {2, 5, 3}, {4, 1, 6, 2}};
  for (const auto& rows : cases) {
    Table once(1, 1);
    for (const char* v : {"a", "b", "c", "d", "e", "f"}) once.appendRow({v});
    Table stepwise = once;
    once.moveRowsToEnd(rows);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      // Row rows[i] of the original table, where the earlier moves have shifted it.
      std::size_t at = rows[i];
      for (std::size_t j = 0; j < i; ++j) at -= rows[j] < rows[i];
      stepwise.moveRow(at, stepwise.rowCount() - 1 - i);
    }
    EXPECT_EQ(column0(once), column0(stepwise)) << rows.size() << " rows from " << rows.front();
  }
  Table t(1, 3);
  EXPECT_THROW(t.moveRowsToEnd({1, 1}), std::out_of_range);
  EXPECT_THROW(t.moveRowsToEnd({0}), std::out_of_range);
  EXPECT_THROW(t.moveRowsToEnd({3}), std::out_of_range);
}

// The rows live in blocks; whatever mix of changes a draw makes, a table reads
// the same as a plain list of rows given the same changes. Enough rows for
// several blocks, and changes at the ends, in the middle and across blocks.
TEST(Table, ReadsLikeAPlainListOfRowsThroughAnyMixOfChanges) {
  std::mt19937 random(7);
  auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  Table table(2, 1);
  std::vector<Table::Row> model(1, Table::Row(2));
  int next = 0;
  auto fresh = [&] { return Table::Row{std::to_string(next++), "x"}; };
  for (int i = 0; i < 2500; ++i) {
    const Table::Row row = fresh();
    table.appendRow(row);
    model.push_back(row);
  }
  for (int step = 0; step < 3000; ++step) {
    const std::size_t n = model.size();
    switch (below(8)) {
      case 0: {
        const Table::Row row = fresh();
        table.appendRow(row);
        model.push_back(row);
        break;
      }
      case 1: {
        const std::size_t r = 1 + below(n - 1);
        table.deleteRow(r);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(r));
        break;
      }
      case 2: {
        const std::size_t from = below(n), to = below(n);
        table.moveRow(from, to);
        Table::Row row = model[from];
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(from));
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(to), row);
        break;
      }
      case 3: {
        std::vector<std::size_t> rows;
        for (std::size_t k = 0, count = 1 + below(40); k < count; ++k) {
          const std::size_t r = 1 + below(n - 1);
          if (std::find(rows.begin(), rows.end(), r) == rows.end()) rows.push_back(r);
        }
        table.moveRowsToEnd(rows);
        std::vector<Table::Row> moved;
        for (auto r = rows.rbegin(); r != rows.rend(); ++r) moved.push_back(model[*r]);
        std::vector<std::size_t> sorted = rows;
        std::sort(sorted.rbegin(), sorted.rend());
        for (std::size_t r : sorted) model.erase(model.begin() + static_cast<std::ptrdiff_t>(r));
        model.insert(model.end(), moved.begin(), moved.end());
        break;
      }
      case 4: {
        const std::size_t count = std::clamp<std::size_t>(n + below(600), 1300, 4300) - 300;
        table.setRowCount(count);
        model.resize(count, Table::Row(2));
        break;
      }
      case 5: {
        const std::size_t r = below(n);
        table.setCell(1, r, "y" + std::to_string(step));
        model[r][1] = "y" + std::to_string(step);
        break;
      }
      case 6:
        if (step % 50 == 0) {
          auto keep = [](const Table::Row& row) { return row[0].size() % 2 == 0; };
          table.stableMoveToFront(keep);
          std::stable_partition(model.begin() + 1, model.end(), keep);
        }
        break;
      default: {
        const std::size_t r = below(n);
        const Table::Row row = fresh();
        table.setRow(r, row);
        model[r] = row;
        break;
      }
    }
    ASSERT_EQ(table.rowCount(), model.size()) << "step " << step;
    for (std::size_t r = 0; r < model.size(); r += 1 + below(7)) ASSERT_EQ(table.row(r), model[r]) << "step " << step;
  }
  for (std::size_t r = 0; r < model.size(); ++r) ASSERT_EQ(table.row(r), model[r]);
  const Table copy = table;
  for (std::size_t r = 0; r < model.size(); ++r) ASSERT_EQ(copy.cell(0, r), model[r][0]);
}

TEST(DrawData, DerivedCountsFollowTheCellsAndRaiseOnDamagedText) {
  draw::DrawData data;
  auto& grid = data.ItemGrid;
  grid.setRowCount(4);
  // 总名额, 已抽取, 不足, 弃奖, 补奖
  auto set = [&](std::size_t r, int places, int drawn, int shortfall, int givenUp, int extra) {
    grid.setCell(draw::item::kSerial, r, std::to_string(r));
    data.setCount(r, draw::item::kPlaces, places);
    data.setCount(r, draw::item::kDrawn, drawn);
    data.setCount(r, draw::item::kShortfall, shortfall);
    data.setCount(r, draw::item::kGivenUp, givenUp);
    data.setCount(r, draw::item::kSupplementary, extra);
  };
  set(1, 5, 2, 0, 1, 3);  // supplementary above given-up: more left than 5 − 2
  set(2, 0, 1, 0, 0, 4);  // an award made only of supplementary places
  set(3, 4, 1, 2, 0, 0);  // a shortfall keeps its tickets
  EXPECT_EQ(data.places(1), 8);
  EXPECT_EQ(data.remaining(1), 5);
  EXPECT_EQ(data.remaining(2), 3);
  EXPECT_EQ(data.remaining(3), 1);
  EXPECT_EQ(data.ticketCount(3), 3);

  grid.setCell(draw::item::kDrawn, 2, "2a");
  EXPECT_THROW(data.remaining(2), base::ConversionError);
}

TEST(DrawData, WinnersTableKeepsAnEmptySpareRow) {
  draw::DrawData data;
  EXPECT_EQ(data.LuckNameGrid.rowCount(), 2u);
  EXPECT_FALSE(data.hasWinners());
  for (int i = 1; i <= 3; ++i) data.appendWinner({std::to_string(i), "n", "n", "a", "1"});
  EXPECT_EQ(data.LuckNameGrid.rowCount(), 5u);
  EXPECT_EQ(data.winnerCount(), 3u);
  EXPECT_EQ(draw::winnerRecordLine(data.LuckNameGrid, 3), "3|n|n|a|1");
  EXPECT_EQ(draw::winnerRecordLine(data.LuckNameGrid, 4), "||||");
}

}  // namespace
