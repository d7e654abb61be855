#include "sheets/winners_sheet.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "base/file_error.h"
#include "base/text_file.h"
#include "platform/qt_gbk.h"
#include "sheets/sheet.h"
#include "sheets/workbook_library.h"

namespace sheets {

namespace {

// Width in spreadsheet character units: a Chinese character takes two.
double displayWidth(const QString& text) {
  double width = 0;
  for (const QChar c : text) width += c.unicode() < 0x80 ? 1.0 : 2.0;
  return width;
}

}  // namespace

ExportFormat exportFormatOf(const QString& chosen) {
  if (chosen.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) return ExportFormat::Xlsx;
  if (chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) return ExportFormat::Csv;
  return ExportFormat::Text;
}

QStringList winnersHeading() {
  return {QStringLiteral("奖项序号"), QStringLiteral("奖项名称"), QStringLiteral("奖品"),
          QStringLiteral("人员序号"), QStringLiteral("姓名"),     QStringLiteral("显示姓名")};
}

std::vector<QStringList> winnersRows(const draw::DrawData& data) {
  std::vector<QStringList> rows;
  const draw::Table& winners = data.LuckNameGrid;
  for (std::size_t w = 1; w <= data.winnerCount(); ++w) {
    const std::string serial = winners.cell(draw::winner::kAwardSerial, w);
    std::string prize;
    try {
      const long long award = std::stoll(serial);
      if (data.isAwardRow(award)) prize = data.ItemGrid.cell(draw::item::kPrize, static_cast<std::size_t>(award));
    } catch (const std::exception&) {
      // A record naming no award keeps its cells; it simply has no prize.
    }
    rows.push_back({platform::fromGbk(serial), platform::fromGbk(winners.cell(draw::winner::kAwardName, w)),
                    platform::fromGbk(prize), platform::fromGbk(winners.cell(draw::winner::kSerial, w)),
                    platform::fromGbk(winners.cell(draw::winner::kName, w)),
                    platform::fromGbk(winners.cell(draw::winner::kDisplayName, w))});
  }
  return rows;
}

void writeWinnersXlsx(const std::filesystem::path& path, const draw::DrawData& data) {
  std::vector<QStringList> rows = winnersRows(data);
  rows.insert(rows.begin(), winnersHeading());
  std::vector<std::vector<WorkbookCell>> cells;
  std::vector<double> widths(static_cast<std::size_t>(rows.front().size()), 0.0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::vector<WorkbookCell>& line = cells.emplace_back();
    for (int c = 0; c < rows[r].size(); ++c) {
      WorkbookCell cell{rows[r][c]};
      // Serials are numbers in the sheet, so that finance can sort by them.
      bool number = false;
      const double value = cell.text.toDouble(&number);
      if (r > 0 && number && (c == 0 || c == 3)) cell = {QString(), true, value};
      widths[static_cast<std::size_t>(c)] = std::max(widths[static_cast<std::size_t>(c)], displayWidth(rows[r][c]));
      line.push_back(std::move(cell));
    }
  }
  for (double& width : widths) width += 2;

  QTemporaryDir scratch;
  if (!scratch.isValid())
    throw base::FileError(base::FileError::Kind::CannotWrite, path, "无法建立临时文件夹,临时文件夹所在的磁盘可能已满");
  const QString scratchFile = scratch.filePath(QStringLiteral("winners.xlsx"));
  try {
    if (!workbookLibrary().writeSheet(scratchFile, QStringLiteral("中奖名单"), cells, widths))
      throw base::FileError(base::FileError::Kind::CannotWrite, path, "表格没有写成,临时文件夹可能已满");
  } catch (const SheetError& error) {
    throw base::FileError(base::FileError::Kind::CannotWrite, path, error.what());
  }

  QFile written(scratchFile);
  if (!written.open(QIODevice::ReadOnly))
    throw base::FileError(base::FileError::Kind::CannotWrite, path, "写成的表格无法读出");
  const QByteArray bytes = written.readAll();
  base::writeFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString csvField(const QString& text) {
  if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')) return text;
  QString quoted = text;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

void writeWinnersCsv(const std::filesystem::path& path, const draw::DrawData& data) {
  QString text;
  auto line = [&](const QStringList& cells) {
    QStringList fields;
    for (const QString& cell : cells) fields << csvField(cell);
    text += fields.join(u',') + QStringLiteral("\r\n");
  };
  line(winnersHeading());
  for (const QStringList& row : winnersRows(data)) line(row);
  const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
  base::writeFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace sheets

#include "draw/winners_export.h"

namespace sheets {

std::filesystem::path exportWinnersAs(const draw::DrawData& data, const std::filesystem::path& chosen) {
  switch (exportFormatOf(platform::toQString(chosen))) {
    case ExportFormat::Xlsx:
      writeWinnersXlsx(chosen, data);
      return chosen;
    case ExportFormat::Csv:
      writeWinnersCsv(chosen, data);
      return chosen;
    case ExportFormat::Text:
      break;
  }
  return draw::exportWinners(data, chosen);
}

}  // namespace sheets
