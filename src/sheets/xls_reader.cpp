#include "sheets/xls_reader.h"

#include "sheets/workbook_library.h"
#include "sheets/xlsx_reader.h"

namespace sheets {

Sheet readXls(const QString& path) {
  std::vector<std::vector<WorkbookCell>> cells;
  QString error;
  if (!workbookLibrary().readOldSheet(path, cells, error)) throw SheetError(error.toStdString());
  Sheet sheet;
  sheet.rows.reserve(cells.size());
  for (const auto& row : cells) {
    std::vector<QString>& texts = sheet.rows.emplace_back();
    texts.reserve(row.size());
    for (const WorkbookCell& cell : row) texts.push_back(cell.isNumber ? numberText(cell.number) : cell.text);
    // Trailing empty cells are no columns: the sheet's width is its widest filled row.
    while (!texts.empty() && texts.back().isEmpty()) texts.pop_back();
  }
  return sheet;
}

}  // namespace sheets
