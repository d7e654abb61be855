#include "sheets/roster_columns.h"

#include "platform/qt_gbk.h"

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

bool looksLikeHeadings(const Sheet& sheet, std::size_t row) {
  if (row >= sheet.rows.size()) return false;
  const std::vector<QString>& first = sheet.rows[row];
  if (first.empty()) return false;
  bool named = false;
  for (const QString& cell : first) {
    if (cell.trimmed().isEmpty() || isNumber(cell)) return false;
    named = named || namesAHeading(cell);
  }
  if (named) return true;
  if (sheet.rows.size() < row + 2) return false;
  for (std::size_t c = 0; c < first.size(); ++c) {
    if (isNumber(sheet.cell(row + 1, static_cast<int>(c)))) return true;
  }
  return false;
}

namespace {

// The column of row `row` headed as the name; -1 when there is none.
int nameColumn(const Sheet& sheet, std::size_t row) {
  static const QStringList nameHeadings = {QStringLiteral("姓名"), QStringLiteral("名字"),
                                           QStringLiteral("员工姓名"), QStringLiteral("name")};
  for (int c = 0; c < sheet.columnCount(); ++c)
    if (nameHeadings.contains(sheet.cell(row, c).trimmed(), Qt::CaseInsensitive)) return c;
  return -1;
}

}  // namespace

std::optional<std::size_t> findNameHeadingRow(const Sheet& sheet) {
  for (std::size_t r = 0; r < sheet.rows.size() && r < kHeadingSearchRows; ++r)
    if (nameColumn(sheet, r) >= 0) return r;
  return std::nullopt;
}

ColumnChoice defaultChoice(const Sheet& sheet) {
  ColumnChoice choice;
  // Under a name heading, the column so headed is the roster's first guess.
  if (const std::optional<std::size_t> heading = findNameHeadingRow(sheet)) {
    choice.headingRow = *heading;
    choice.skipFirstRow = true;
    choice.columns.push_back(nameColumn(sheet, *heading));
    return choice;
  }
  choice.skipFirstRow = looksLikeHeadings(sheet);
  if (sheet.columnCount() > 0) choice.columns.push_back(0);
  return choice;
}

QStringList rosterLines(const Sheet& sheet, const ColumnChoice& choice, int limit) {
  QStringList lines;
  for (std::size_t r = choice.headingRow + (choice.skipFirstRow ? 1 : 0); r < sheet.rows.size(); ++r) {
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

std::vector<int> unstorableLines(const QStringList& lines) {
  std::vector<int> found;
  for (int i = 0; i < lines.size(); ++i)
    if (!platform::isStorable(lines[i])) found.push_back(i);
  return found;
}

}  // namespace sheets
