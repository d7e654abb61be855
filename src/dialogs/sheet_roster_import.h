#pragma once
// The roster editor's import from a spreadsheet (.xlsx, .csv): reads the first
// sheet, lets the operator choose the columns when there is more than one, and
// has the operator decide about names the roster file cannot hold (drop them or
// cancel).
// Nothing else of a cell is changed.
#include <QString>
#include <QStringList>
#include <optional>

#include "screen/dialog_service.h"

namespace dialogs {

// The roster lines to put into the editor; nothing when the file could not be
// read (the operator was told why) or the operator cancelled.
std::optional<QStringList> importSheetRoster(const QString& path, screen::DialogService& dialogs);

}  // namespace dialogs
