#pragma once
// Printing a roster: one entry per line in the editor's font, a new page where
// the page is full.
#include <QFont>
#include <QStringList>

class QPagedPaintDevice;

namespace dialogs {

// Prints the lines on the device (a printer or a PDF writer); returns the
// number of pages used (0 when the device cannot be painted on).
int printRoster(QPagedPaintDevice& device, const QStringList& lines, const QFont& font);

}  // namespace dialogs
