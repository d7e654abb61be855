#pragma once
// From a sheet to roster lines: the ticked columns of each row joined by a
// separator. The roster is GBK, so a line GBK cannot spell is found before
// anything is written, and the operator decides.
#include <QString>
#include <QStringList>
#include <vector>

#include "sheets/sheet.h"

namespace sheets {

struct ColumnChoice {
  std::vector<int> columns;  // zero-based, in the order they join
  QString separator = QStringLiteral("  ");
  bool skipFirstRow = false;
};

// True when the first row reads like headings: every cell of it is filled,
// none is a number, and the second row has a number where the first has text
// or a cell of the first row is a heading rosters use (姓名, 工号, 部门, name …).
bool looksLikeHeadings(const Sheet& sheet);

// The default choice: the column headed as the name (姓名, name …) when the
// first row is headings, else the first column.
ColumnChoice defaultChoice(const Sheet& sheet);

// One line for every row that has something in a ticked column; rows whose
// ticked cells are all empty give no line. A line break inside a cell becomes a
// space, since a roster line cannot hold one. `limit` stops after that many
// lines (the preview); 0 means all.
QStringList rosterLines(const Sheet& sheet, const ColumnChoice& choice, int limit = 0);

// The positions in `lines` of the lines that GBK cannot spell.
std::vector<int> unspellableLines(const QStringList& lines);

}  // namespace sheets
