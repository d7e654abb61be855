#include "draw/winners_export.h"

#include "base/gbk.h"
#include "base/text_file.h"
#include "draw/draw_texts.h"

namespace draw {

using base::gbk;

std::filesystem::path exportFileName(const std::filesystem::path& chosen) {
  const std::string name = chosen.filename().string();
  if (name.size() >= 4 && base::equalsIgnoreLatinCase(std::string_view(name).substr(name.size() - 4), ".txt")) {
    return chosen;
  }
  std::filesystem::path result = chosen;
  result += ".txt";
  return result;
}

std::string winnersExportText(const DrawData& data) {
  std::string text;
  const Table& grid = data.ItemGrid;
  const Table& winners = data.LuckNameGrid;
  for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
    if (data.count(r, item::kDrawn) <= 0) continue;
    const std::string serial = std::to_string(r);
    text += grid.cell(item::kName, r) + grid.cell(item::kDrawn, r) + gbk("名") + gbk("(奖品:") +
            grid.cell(item::kPrize, r) + ")\r\n";
    for (std::size_t w = 1; w <= data.winnerCount(); ++w) {
      if (winners.cell(winner::kAwardSerial, w) == serial) text += winners.cell(winner::kName, w) + "\r\n";
    }
    text += "\r\n";
  }
  return text;
}

std::filesystem::path exportWinners(const DrawData& data, const std::filesystem::path& chosen) {
  const std::filesystem::path path = exportFileName(chosen);
  base::writeFileAtomically(path, winnersExportText(data));
  return path;
}

}  // namespace draw
