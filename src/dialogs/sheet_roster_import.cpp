#include "dialogs/sheet_roster_import.h"

#include <QApplication>
#include <QGuiApplication>

#include "sheets/sheet_file.h"

namespace dialogs {

namespace {

// The message that lists the names the roster file cannot hold; long lists are cut.
QString unstorableQuestion(const QStringList& lines, const std::vector<int>& positions) {
  constexpr std::size_t kListed = 15;
  QString text = QStringLiteral("以下 %1 个名字含有名单文件无法保存的字符(不完整的文字):\n").arg(positions.size());
  for (std::size_t i = 0; i < positions.size() && i < kListed; ++i) text += lines[positions[i]] + u'\n';
  if (positions.size() > kListed) text += QStringLiteral("……\n");
  text += QStringLiteral("\n是否去掉这些名字后导入其余名单?(选“否”则不导入)");
  return text;
}

struct WaitCursor {
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

}  // namespace

std::optional<QStringList> importSheetRoster(const QString& path, screen::DialogService& dialogs) {
  sheets::Sheet sheet;
  try {
    WaitCursor wait;
    sheet = sheets::readSheetFile(path);
  } catch (const sheets::SheetError& error) {
    dialogs.message(error.message());
    return std::nullopt;
  }

  sheets::ColumnChoice choice;
  if (sheet.columnCount() > 1) {
    std::optional<sheets::ColumnChoice> chosen = dialogs.sheetColumns(sheet);
    if (!chosen) return std::nullopt;
    choice = *chosen;
  } else {
    choice.columns = {0};
  }

  QStringList lines = sheets::rosterLines(sheet, choice);
  const std::vector<int> unstorable = sheets::unstorableLines(lines);
  if (!unstorable.empty()) {
    if (!dialogs.question(unstorableQuestion(lines, unstorable), true)) return std::nullopt;
    for (auto it = unstorable.rbegin(); it != unstorable.rend(); ++it) lines.removeAt(*it);
  }
  return lines;
}

}  // namespace dialogs
