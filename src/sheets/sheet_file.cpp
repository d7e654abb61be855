#include "sheets/sheet_file.h"

#include <QFile>
#include <filesystem>

#include "base/file_error.h"
#include "base/text_file.h"
#include "sheets/csv_reader.h"
#include "sheets/xls_reader.h"
#include "sheets/xlsx_reader.h"

namespace sheets {

namespace {

// Old workbooks (and password-locked new ones) are compound files, whatever
// their name says; new workbooks are zip archives.
bool isCompoundFile(const QString& path) {
  QFile probe(path);
  return probe.open(QIODevice::ReadOnly) && probe.read(8) == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}

Sheet readWorkbook(const QString& path) {
  if (!isCompoundFile(path)) return readXlsx(path);
  try {
    return readXls(path);
  } catch (const SheetError&) {
    if (path.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)) throw;
    // A .xlsx in a compound file is one locked by a password.
    throw SheetError("此工作簿设有密码,无法导入。请在电子表格程序中取消密码或另存为 .csv 后再导入");
  }
}

}  // namespace

SheetKind sheetKindOf(const QString& fileName) {
  if (fileName.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) return SheetKind::Xlsx;
  if (fileName.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)) return SheetKind::Xls;
  if (fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) return SheetKind::Csv;
  return SheetKind::None;
}

Sheet readSheetFile(const QString& path) {
  switch (sheetKindOf(path)) {
    case SheetKind::Xlsx:
    case SheetKind::Xls:
      return readWorkbook(path);
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
  throw SheetError("只能导入 .xlsx、.xls 或 .csv 表格");
}

}  // namespace sheets
