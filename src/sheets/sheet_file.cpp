#include "sheets/sheet_file.h"

#include <QFile>

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
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) throw SheetError("无法打开文件: " + path.toStdString());
      return readCsv(file.readAll());
    }
    case SheetKind::None:
      break;
  }
  throw SheetError("只能导入 .xlsx 或 .csv 表格");
}

}  // namespace sheets
