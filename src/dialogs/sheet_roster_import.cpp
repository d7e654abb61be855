#include "dialogs/sheet_roster_import.h"

#include <QApplication>
#include <QGuiApplication>

#include "sheets/sheet_file.h"

namespace dialogs {

namespace {

// The message that lists the names GBK cannot spell; long lists are cut.
QString unspellableQuestion(const QStringList& lines, const std::vector<int>& positions) {
  constexpr std::size_t kListed = 15;
  QString text = QStringLiteral("以下 %1 个名字含有名单文件(GBK)无法保存的字符:\n").arg(positions.size());
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
  const std::vector<int> unspellable = sheets::unspellableLines(lines);
  if (!unspellable.empty()) {
    if (!dialogs.question(unspellableQuestion(lines, unspellable), true)) return std::nullopt;
    for (auto it = unspellable.rbegin(); it != unspellable.rend(); ++it) lines.removeAt(*it);
  }
  return lines;
}

}  // namespace dialogs
