#pragma once
// The first sheet of an Office Open XML workbook (.xlsx), as the spreadsheet
// program shows it: shared and inline strings as written; numbers in full,
// never in exponent form (a staff number 100023 stays "100023"); cells
// formatted as dates as yyyy-MM-dd (with hh:mm when there is a time);
// formulas by their last computed value; TRUE and FALSE; a merged area holds
// its value in its first cell only. Rows keep their places: an empty row in the
// sheet is an empty row here.
#include <QString>

#include "sheets/sheet.h"

namespace sheets {

// Raises SheetError when the file is not a workbook (a renamed text file, a
// damaged archive, an encrypted or old-format workbook) or has no sheet.
Sheet readXlsx(const QString& path);

// The text a number cell shows: whole numbers below 10^15 in plain digits,
// others with up to 15 significant digits, no exponent below 10^15.
QString numberText(double value);

}  // namespace sheets
