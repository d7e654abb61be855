#pragma once
// The winners for the finance department: a spreadsheet (.xlsx) or a table
// (.csv, UTF-8 with a byte-order mark so that spreadsheet programs show the
// Chinese right) beside the text export of the draw.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <vector>

#include "draw/draw_data.h"

namespace sheets {

enum class ExportFormat { Text, Xlsx, Csv };

// The format a chosen name asks for: .xlsx and .csv (any case) give those;
// every other name is the text export.
ExportFormat exportFormatOf(const QString& chosen);

// The heading and one row per winner record in winners-table order: award
// serial, award name, prize, roster serial, name, display name. The award name
// is the one the record was drawn under; the prize is the award row's.
QStringList winnersHeading();
std::vector<QStringList> winnersRows(const draw::DrawData& data);

// Write the rows, replacing the file atomically (a temporary file beside it,
// renamed over it). Raise base::FileError when the file cannot be written.
void writeWinnersXlsx(const std::filesystem::path& path, const draw::DrawData& data);
void writeWinnersCsv(const std::filesystem::path& path, const draw::DrawData& data);

// One CSV field: quoted when it holds a comma, a quote or a line break.
QString csvField(const QString& text);

}  // namespace sheets

namespace sheets {

// The export of N20 in the format the chosen name asks for; returns the path
// written (the text export appends ".txt" to a name without a known ending).
std::filesystem::path exportWinnersAs(const draw::DrawData& data, const std::filesystem::path& chosen);

}  // namespace sheets
