#include "draw/rolling_feed.h"

#include <algorithm>
#include <unordered_set>

#include "base/conversion_error.h"
#include "base/gbk.h"

namespace draw {

int nextRollingInterval(int current, int base) {
  if (base >= current) return base;
  return current - current / 9;
}

std::size_t widestName(const std::vector<std::string>& names) {
  std::size_t widest = 0;
  for (const auto& name : names) widest = std::max(widest, base::displayColumns(name));
  return widest;
}

std::string bigFrameText(int namesPerLine, const std::vector<std::string>& names, std::size_t width) {
  if (namesPerLine < 1) namesPerLine = 5;
  std::string text;
  text.reserve(names.size() * (width + 4));
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    text += name;
    const std::size_t columns = base::displayColumns(name);
    if (width + 3 > columns) text.append(width + 3 - columns, ' ');
    if ((i + 1) % static_cast<std::size_t>(namesPerLine) == 0) text += '\n';
  }
  return text;
}

std::vector<std::string> bigFrameCells(const std::string& text) {
  std::vector<std::string> cells;
  std::string cell;
  std::size_t blanks = 0;  // the blanks that end `cell` so far
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      if (!cell.empty()) cells.push_back(cell);
      cell.clear();
      blanks = 0;
      continue;
    }
    if (c != ' ' && blanks >= 3) {
      cells.push_back(cell);
      cell.clear();
    }
    blanks = c == ' ' ? blanks + 1 : 0;
    cell += c;
  }
  if (!cell.empty()) cells.push_back(cell);
  return cells;
}

std::string regroupBigFrameText(const std::vector<std::string>& cells, int namesPerLine) {
  const std::size_t perLine = static_cast<std::size_t>(std::max(namesPerLine, 1));
  std::string text;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    text += cells[i];
    if ((i + 1) % perLine == 0) text += '\n';
  }
  return text;
}

void showFramesForBatch(const DrawData& data, DrawView& view, int n) {
  view.setFieldVisible(Field::ActionHint, false);
  for (int k = 1; k <= kFrameCount; ++k) {
    view.setFrameVisible(k, false);
    view.setPictureFrameVisible(k, false);
  }
  view.setFrameVisible(kBigFrame, false);
  if (!data.settings.textDraw) {
    for (int k = 1; k <= std::min(n, kFrameCount); ++k) view.setPictureFrameVisible(k, true);
  } else if (n > kFrameCount) {
    view.setFrameVisible(kBigFrame, true);
  } else {
    for (int k = 1; k <= n; ++k) view.setFrameVisible(k, true);
  }
}

void peopleRollingStep(DrawData& data, DrawView& view) {
  const int rosterSize = static_cast<int>(data.rosterSize());
  // Distinct numbers cannot outnumber the roster; the pool (and so n) never does.
  const int n = std::min(data.state.batchSize, rosterSize);
  auto& numbers = data.state.rollingNumbers;
  numbers.clear();
  if (n <= 0) return;
  std::unordered_set<int> drawn;
  std::vector<int> serials;
  serials.reserve(static_cast<std::size_t>(n));
  while (static_cast<int>(serials.size()) < n) {
    int serial = data.random.between(1, rosterSize);
    if (drawn.insert(serial).second) serials.push_back(serial);
  }
  for (int serial : serials) numbers.push_back(std::to_string(serial));

  const Table& roster = data.AllNameList;
  if (data.settings.textDraw) {
    for (int k = 1; k <= std::min(n, kFrameCount); ++k)
      if (rosterSize >= k)
        view.setFrameText(k, roster.cell(person::kDisplayName, static_cast<std::size_t>(serials[k - 1])));
    if (data.state.batchSize > kFrameCount) {
      std::vector<std::string> names;
      names.reserve(serials.size());
      for (int serial : serials) names.push_back(roster.cell(person::kDisplayName, static_cast<std::size_t>(serial)));
      // The column width follows the last n roster lines, so it holds still while names change.
      std::vector<std::string> widthNames;
      for (int row = rosterSize; row > rosterSize - n && row >= 1; --row)
        widthNames.push_back(roster.cell(person::kDisplayName, static_cast<std::size_t>(row)));
      view.setFrameText(kBigFrame, bigFrameText(view.bigFrameNamesPerLine(), names, widestName(widthNames)));
      for (int k = 1; k <= kFrameCount; ++k) view.setFrameVisible(k, false);
    }
  } else {
    for (int k = 1; k <= std::min(n, kFrameCount); ++k)
      if (rosterSize > k) view.setPictureFrameTile(k, serials[k - 1] - 1);
  }
}

void awardRollingStep(DrawData& data, DrawView& view) {
  const int awards = static_cast<int>(data.awardRowCount());
  if (awards <= 0) return;
  const int x = data.random.between(0, awards - 1);
  const auto row = static_cast<std::size_t>(x + 1);
  view.showPrizePicture(x);
  view.setFieldText(Field::PrizeName, data.ItemGrid.cell(item::kPrize, row));
  view.setFieldText(Field::ItemName, data.ItemGrid.cell(item::kName, row));
}

std::vector<ShownWinner> batchWinners(const DrawData& data, int n) {
  const Table& pool = data.AllNameGrid;
  const std::size_t rows = pool.rowCount();
  std::vector<ShownWinner> winners;
  for (std::size_t k = 1; k <= static_cast<std::size_t>(std::max(n, 0)) && k < rows; ++k)
    winners.push_back(
        {pool.cell(person::kDisplayName, rows - k), base::parseInt(pool.cell(person::kSerial, rows - k)).value_or(0)});
  return winners;
}

void showWinners(const DrawData& data, DrawView& view, const std::vector<ShownWinner>& winners) {
  const std::size_t n = winners.size();
  if (data.settings.textDraw) {
    for (std::size_t k = 1; k <= std::min<std::size_t>(n, kFrameCount); ++k)
      view.setFrameText(static_cast<int>(k), winners[k - 1].displayName);
    if (n > static_cast<std::size_t>(kFrameCount)) {
      std::vector<std::string> names;
      for (const ShownWinner& winner : winners) names.push_back(winner.displayName);
      view.setFrameText(kBigFrame, bigFrameText(view.bigFrameNamesPerLine(), names, widestName(names)));
      for (int k = 1; k <= kFrameCount; ++k) view.setFrameVisible(k, false);
    }
  } else {
    for (std::size_t k = 1; k <= std::min<std::size_t>(n, kFrameCount); ++k) {
      view.setPictureFrameTile(static_cast<int>(k), -1);
      view.setPictureFrameTile(static_cast<int>(k), winners[k - 1].serial - 1);
    }
  }
}

void showBatchResult(const DrawData& data, DrawView& view, int n) { showWinners(data, view, batchWinners(data, n)); }

void hideUnrecordedWinners(const DrawData& data, DrawView& view, const std::vector<ShownWinner>& shown,
                           std::size_t recorded) {
  const std::size_t n = shown.size();
  if (recorded >= n) return;
  if (data.settings.textDraw && n > static_cast<std::size_t>(kFrameCount)) {
    std::vector<std::string> all;
    for (const ShownWinner& winner : shown) all.push_back(winner.displayName);
    const std::vector<std::string> kept(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(recorded));
    view.setFrameText(kBigFrame, bigFrameText(view.bigFrameNamesPerLine(), kept, widestName(all)));
    return;
  }
  for (std::size_t k = recorded + 1; k <= std::min<std::size_t>(n, kFrameCount); ++k) {
    if (data.settings.textDraw)
      view.setFrameVisible(static_cast<int>(k), false);
    else
      view.setPictureFrameVisible(static_cast<int>(k), false);
  }
}

}  // namespace draw
