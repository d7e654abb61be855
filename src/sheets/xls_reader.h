#pragma once
// The first sheet of an old-format workbook (.xls, Excel 97-2003, which many HR
// systems still export), read by FreeXL in the workbook module, shown as the
// .xlsx reader shows its cells: numbers in full (numberText), text as written,
// dates and times as text.
#include <QString>

#include "sheets/sheet.h"

namespace sheets {

// Raises SheetError when the file is not such a workbook, is locked by a
// password, or the workbook module cannot be loaded.
Sheet readXls(const QString& path);

}  // namespace sheets
