#include "sheets/sheet_file.h"

#include <filesystem>

#include "base/file_error.h"
#include "base/text_file.h"
#include "sheets/csv_reader.h"
#include "sheets/xlsx_reader.h"

namespace sheets {

SheetKind sheetKindOf(const QString& fileName) {
  if (fileName.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) return SheetKind::Xlsx;
  if (fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) return SheetKind::Csv;
  return SheetKind::None;
}

Sheet readSheetFile(const QString& path) {
  switch (sheetKindOf(path)) {
    case SheetKind::Xlsx:
      return readXlsx(path);
    case SheetKind::Csv: {
      try {
        const std::string bytes = base::readFile(std::filesystem::path(path.toStdString()));
        return readCsv(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
      } catch (const base::FileError& error) {
        throw SheetError(error.what());
      }
    }
    case SheetKind::None:
      break;
  }
  throw SheetError("只能导入 .xlsx 或 .csv 表格");
}

}  // namespace sheets
