#pragma once
// The workbook libraries (libzip reads .xlsx archives, libxlsxwriter writes
// them; both bring OpenSSL; FreeXL reads old .xls workbooks) live in the
// kv_workbook module, loaded the first
// time a workbook is read or written (platform/optional_module.h). This header
// is all the program and the module share.
#include <QByteArray>
#include <QString>
#include <vector>

namespace sheets {

struct WorkbookCell {
  QString text;
  bool isNumber = false;  // written as the number `number`, else as `text`
  double number = 0;
};

struct WorkbookLibrary {
  enum class Member { Read, Absent, Failed };

  // A zip archive opened for reading; null when `path` is none.
  void* (*openArchive)(const QString& path);
  void (*closeArchive)(void* archive);
  // One member's bytes into `bytes`: Absent when there is no such member,
  // Failed when it is there but cannot be read.
  Member (*readMember)(void* archive, const QString& name, QByteArray& bytes);
  // Writes a workbook of one sheet, `sheetName`, to `file`: the first row bold,
  // column c `widths[c]` characters wide. False when it cannot be written.
  bool (*writeSheet)(const QString& file, const QString& sheetName, const std::vector<std::vector<WorkbookCell>>& rows,
                     const std::vector<double>& widths);
  // The first sheet of an old-format workbook (.xls, Excel 97-2003) into `rows`,
  // cell by cell (empty cells as empty text; dates and times as text). False
  // when it cannot be read, with the operator's reason (Chinese) in `error`.
  bool (*readOldSheet)(const QString& path, std::vector<std::vector<WorkbookCell>>& rows, QString& error);
};

// The module's entry point, by this name.
inline constexpr char kWorkbookLibraryEntry[] = "kv_workbookLibrary";
using GetWorkbookLibrary = const WorkbookLibrary* (*)();

// Loads the module at the first call. Raises SheetError, with the reason for
// the operator, when it cannot be loaded.
const WorkbookLibrary& workbookLibrary();

}  // namespace sheets
