#pragma once
// Reading a roster source by its file name: .xlsx, .xls and .csv (any case).
#include <QString>

#include "sheets/sheet.h"

namespace sheets {

enum class SheetKind { None, Xlsx, Xls, Csv };

// The kind a file name asks for; None for every other name (a text roster).
SheetKind sheetKindOf(const QString& fileName);

// Reads the first sheet. A workbook is read by what it holds: an old-format
// workbook named .xlsx, or a new one named .xls, reads all the same. Raises
// SheetError with the operator's message.
Sheet readSheetFile(const QString& path);

}  // namespace sheets
