#include "scoring/scoring_grid.h"

#include <QMouseEvent>
#include <QSignalBlocker>

namespace scoring {

ScoringGrid::ScoringGrid(QWidget* parent) : QTableWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // The cell in hand is painted sky blue (A6 CA F0) with the window text colour.
  setStyleSheet(
      QStringLiteral("QTableWidget::item:selected { background: #A6CAF0; color: palette(window-text); }"
                     "QTableWidget::item { padding-left: 2px; padding-top: 2px; }"));
}

QString ScoringGrid::cellText(int row, int column) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->text() : QString();
}

void ScoringGrid::setCellText(int row, int column, const QString& text) {
  QTableWidgetItem* cell = item(row, column);
  if (!cell) {
    cell = new QTableWidgetItem;
    setItem(row, column, cell);
  }
  cell->setText(text);
}

void ScoringGrid::moveRow(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= rowCount() || to >= rowCount()) return;
  // The owner hears of the move once it is done, not of the selection passing rows half moved.
  const QSignalBlocker quiet(this);
  const int column0 = std::max(0, currentColumn());
  QList<QTableWidgetItem*> cells;
  for (int column = 0; column < columnCount(); ++column) cells << takeItem(from, column);
  removeRow(from);
  insertRow(to);
  for (int column = 0; column < columnCount(); ++column)
    if (cells[column]) setItem(to, column, cells[column]);
  setCurrentCell(to, column0);
}

bool ScoringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  const bool started = QTableWidget::edit(index, trigger, event);
  if (started && index.isValid()) emit editingStarted(index.row());
  return started;
}

void ScoringGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex at = indexAt(event->position().toPoint());
  dragRow_ = rowDragging_ && at.isValid() && at.column() == 0 ? at.row() : -1;
  QTableWidget::mousePressEvent(event);
}

void ScoringGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableWidget::mouseReleaseEvent(event);
  const int from = dragRow_;
  dragRow_ = -1;
  if (from < 0) return;
  const QModelIndex at = indexAt(event->position().toPoint());
  if (at.isValid() && at.row() != from) {
    moveRow(from, at.row());
    emit rowDragged(from, at.row());
  }
}

}  // namespace scoring
