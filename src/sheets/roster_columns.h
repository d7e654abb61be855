#pragma once
// From a sheet to roster lines: the ticked columns of each row joined by a
// separator. A line the roster file cannot hold is found before anything is
// written, and the operator decides.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "sheets/sheet.h"

namespace sheets {

struct ColumnChoice {
  std::vector<int> columns;  // zero-based, in the order they join
  QString separator = QStringLiteral("  ");
  // The row that labels the columns (zero-based); the rows above it are titles
  // (a merged caption, a date line) and never become people.
  std::size_t headingRow = 0;
  // Whether the heading row itself is left out (it holds headings, not a person).
  bool skipFirstRow = false;
};

// How far down a heading row is looked for: HR exports put a title, a date and
// a blank line or two above it, never a page.
inline constexpr std::size_t kHeadingSearchRows = 20;

// The first of the first kHeadingSearchRows rows that has a cell headed as the
// name (姓名, 名字, 员工姓名 or name, any case); nothing when none has.
std::optional<std::size_t> findNameHeadingRow(const Sheet& sheet);

// True when row `row` reads like headings: every cell of it is filled, none is
// a number, and the next row has a number where this one has text or a cell of
// the row is a heading rosters use (姓名, 工号, 部门, name …).
bool looksLikeHeadings(const Sheet& sheet, std::size_t row = 0);

// The default choice: under a name heading found by findNameHeadingRow, that
// row as headings (skipped, and everything above it) and its name column;
// else the first row as headings when it looks like them, and the first column.
ColumnChoice defaultChoice(const Sheet& sheet);

// One line for every row that has something in a ticked column; rows whose
// ticked cells are all empty give no line. A line break inside a cell becomes a
// space, since a roster line cannot hold one. `limit` stops after that many
// lines (the preview); 0 means all.
QStringList rosterLines(const Sheet& sheet, const ColumnChoice& choice, int limit = 0);

// The positions in `lines` of the lines the roster file cannot hold: every
// character has a GB18030 form, but half a character (a lone surrogate from a
// damaged cell) has none.
std::vector<int> unstorableLines(const QStringList& lines);

}  // namespace sheets
