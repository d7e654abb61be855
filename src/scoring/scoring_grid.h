#pragma once
// The setup dialog's two tables. They tell the dialog when editing of a cell
// starts (the dialog grows the table then) and, for the programme table, when a
// row was dragged by its order-number cell to another place.
#include <QTableWidget>

namespace scoring {

class ScoringGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit ScoringGrid(QWidget* parent = nullptr);
  using QTableWidget::edit;

  // Rows may be dragged by their cell in column 0 (the fixed order column).
  void setRowDragging(bool on) { rowDragging_ = on; }
  // The cell's text; empty for a cell without an item.
  QString cellText(int row, int column) const;
  void setCellText(int row, int column, const QString& text);
  // Moves row `from` to position `to`, the rows between shifting by one.
  void moveRow(int from, int to);

 signals:
  void editingStarted(int row);
  void rowDragged(int from, int to);

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool rowDragging_ = false;
  int dragRow_ = -1;
};

}  // namespace scoring
