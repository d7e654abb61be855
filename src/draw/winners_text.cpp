#include "draw/winners_text.h"

#include <algorithm>
#include <cstdint>

#include "base/conversion_error.h"
#include "base/gbk.h"

namespace draw {

int winnersPerRow(const base::ConfigFiles& files) {
  return files.openWithFallback().readInt(base::utf8ToGbk("NameList"), base::utf8ToGbk("每行个数"), kAllOnOneLine);
}

std::string winnersBlock(const DrawData& data, const std::string& awardSerial, int perRow) {
  const Table& awards = data.ItemGrid;
  const Table& winners = data.LuckNameGrid;
  const std::optional<int> parsed = base::parseInt(awardSerial);
  // A serial that names no row reads as empty cells, as an empty table cell would.
  const std::size_t row = parsed && *parsed >= 0 ? static_cast<std::size_t>(*parsed) : awards.rowCount();

  std::string text;
  text += awards.cell(item::kName, row) + "(" + awards.cell(item::kDrawn, row) + base::utf8ToGbk("名)") + "\n";
  text += base::utf8ToGbk("(奖品:") + awards.cell(item::kPrize, row) + ")\n";

  // Widths count columns (base::displayColumns): a four-byte character is as
  // wide as a two-byte one, so its name lines up with the others.
  std::size_t widest = 0;
  for (std::size_t r = 1; r < winners.rowCount(); ++r)
    if (winners.cell(winner::kAwardSerial, r) == awardSerial)
      widest = std::max(widest, base::displayColumns(winners.cell(winner::kDisplayName, r)));

  // 64-bit: a hand-edited per-row count must not overflow the padding width.
  const std::int64_t fullWidth = static_cast<std::int64_t>(widest + 1) * perRow;
  std::string line = " ";
  std::int64_t lineColumns = 1;
  int count = 0;
  int fullLines = 0;
  for (std::size_t r = 1; r < winners.rowCount(); ++r) {
    if (winners.cell(winner::kAwardSerial, r) != awardSerial) continue;
    const std::string& name = winners.cell(winner::kDisplayName, r);
    const std::size_t padding = widest - base::displayColumns(name) + 1;
    line += name;
    line.append(padding, ' ');
    lineColumns += static_cast<std::int64_t>(base::displayColumns(name) + padding);
    if (++count == perRow) {
      text += line + "\n";
      line = " ";
      lineColumns = 1;
      count = 0;
      ++fullLines;
    }
  }
  if (fullLines > 0) {
    // The last line keeps the width of the full ones above it. With names all
    // empty it can already be as wide; it then holds only blanks and is left out.
    if (lineColumns < fullWidth) {
      line.append(static_cast<std::size_t>(fullWidth - lineColumns + 1), ' ');
      text += line + "\n";
    }
  } else {
    text += line + "\n";
  }
  text += "\n";
  return text;
}

std::string composeWinnersText(const DrawData& data, const std::string& shownAward, int perRow, bool lastToFirst) {
  const std::string shown = shownAward.empty() ? "0" : shownAward;
  if (shown != "0") return winnersBlock(data, shown, perRow);

  std::string text;
  const std::size_t rows = data.awardRowCount();
  for (std::size_t k = 1; k <= rows; ++k) {
    const std::size_t row = lastToFirst ? rows + 1 - k : k;
    const std::optional<int> drawn = base::parseInt(data.ItemGrid.cell(item::kDrawn, row));
    if (drawn && *drawn > 0) text += winnersBlock(data, data.ItemGrid.cell(item::kSerial, row), perRow);
  }
  return text;
}

}  // namespace draw
