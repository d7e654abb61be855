#pragma once
// Comma-separated tables as spreadsheet programs write them: quoted fields may
// hold commas, doubled quotes and line breaks; lines end in CR LF, LF or CR.
// The text is UTF-8 (with or without a byte-order mark) or, when it is not
// valid UTF-8, GBK. Spaces around fields are kept: nothing of a name is lost.
#include <QByteArray>

#include "sheets/sheet.h"

namespace sheets {

// Raises SheetError for a quoted field that never ends or a quote standing
// inside a field that is not quoted, as spreadsheet programs never write them.
Sheet readCsv(const QByteArray& bytes);

}  // namespace sheets
