#include "sheets/roster_columns.h"

#include "base/gbk.h"

namespace sheets {

namespace {

bool isNumber(const QString& text) {
  bool ok = false;
  text.trimmed().toDouble(&ok);
  return ok;
}

bool namesAHeading(const QString& cell) {
  static const QStringList headings = {
      QStringLiteral("姓名"),      QStringLiteral("名字"),     QStringLiteral("工号"), QStringLiteral("编号"),
      QStringLiteral("序号"),      QStringLiteral("部门"),     QStringLiteral("名单"), QStringLiteral("员工"),
      QStringLiteral("员工姓名"),  QStringLiteral("员工编号"), QStringLiteral("手机"), QStringLiteral("电话"),
      QStringLiteral("name"),      QStringLiteral("id"),       QStringLiteral("no"),   QStringLiteral("no."),
      QStringLiteral("department")};
  const QString text = cell.trimmed();
  for (const QString& heading : headings) {
    if (text.compare(heading, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

}  // namespace

bool looksLikeHeadings(const Sheet& sheet) {
  if (sheet.rows.empty()) return false;
  const std::vector<QString>& first = sheet.rows[0];
  if (first.empty()) return false;
  bool named = false;
  for (const QString& cell : first) {
    if (cell.trimmed().isEmpty() || isNumber(cell)) return false;
    named = named || namesAHeading(cell);
  }
  if (named) return true;
  if (sheet.rows.size() < 2) return false;
  for (std::size_t c = 0; c < first.size(); ++c) {
    if (isNumber(sheet.cell(1, static_cast<int>(c)))) return true;
  }
  return false;
}

ColumnChoice defaultChoice(const Sheet& sheet) {
  ColumnChoice choice;
  choice.skipFirstRow = looksLikeHeadings(sheet);
  // Under headings, the column headed as the name is the roster's first guess.
  static const QStringList nameHeadings = {QStringLiteral("姓名"), QStringLiteral("名字"),
                                           QStringLiteral("员工姓名"), QStringLiteral("name")};
  if (choice.skipFirstRow) {
    for (int c = 0; c < sheet.columnCount(); ++c) {
      if (nameHeadings.contains(sheet.cell(0, c).trimmed(), Qt::CaseInsensitive)) {
        choice.columns.push_back(c);
        return choice;
      }
    }
  }
  if (sheet.columnCount() > 0) choice.columns.push_back(0);
  return choice;
}

QStringList rosterLines(const Sheet& sheet, const ColumnChoice& choice, int limit) {
  QStringList lines;
  for (std::size_t r = choice.skipFirstRow ? 1 : 0; r < sheet.rows.size(); ++r) {
    QStringList cells;
    bool any = false;
    for (int column : choice.columns) {
      QString cell = sheet.cell(r, column);
      cell.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
      cell.replace(u'\r', u' ');
      cell.replace(u'\n', u' ');
      any = any || !cell.isEmpty();
      cells << cell;
    }
    if (!any) continue;
    lines << cells.join(choice.separator);
    if (limit > 0 && lines.size() >= limit) break;
  }
  return lines;
}

std::vector<int> unspellableLines(const QStringList& lines) {
  std::vector<int> found;
  for (int i = 0; i < lines.size(); ++i) {
    // A character without a GBK form comes back as "?": the round trip shows it.
    const std::string utf8 = lines[i].toStdString();
    if (base::gbkToUtf8(base::utf8ToGbk(utf8)) != utf8) found.push_back(i);
  }
  return found;
}

}  // namespace sheets
