#pragma once
// What the grids of the setup dialogs share: the light-blue current cell, the
// columns that take digits only ("必须输入数字" for anything else), Enter as the
// walk to the next cell, fixed (grey, read-only) columns, and the read-only
// roster list shown beside the award and predetermined grids.
#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QStyledItemDelegate>
#include <functional>
#include <set>

#include "draw/event_folder.h"
#include "screen/dialog_service.h"

class QKeyEvent;
class QTableWidget;
class QTableView;

namespace dialogs {

// The current cell's background: red 166, green 202, blue 240.
inline const QColor kCurrentCellColour(166, 202, 240);

// Attached to a grid: paints the current cell, filters typing in the digit
// columns (in the cell editor and on the grid itself) and reports Enter.
class SetupGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  SetupGridDelegate(QTableWidget* grid, std::set<int> digitColumns, screen::DialogService& dialogs);

  // Enter on the grid or in the cell editor (the edit is committed first).
  std::function<void()> enterPressed;
  // A character was accepted into a cell.
  std::function<void()> typed;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // True when the key press is to be dropped.
  bool refuseKey(int column, const QKeyEvent& key);

  QTableWidget* grid_;
  std::set<int> digitColumns_;
  screen::DialogService& dialogs_;
};

// Header texts and widths; a width below 0 hides the column.
struct GridColumn {
  QString header;
  int width;
  bool fixed = false;  // grey and read-only, as the serial columns
};
void setupColumns(QTableWidget* grid, const std::vector<GridColumn>& columns);
// Sets a cell's text, creating the item; fixed cells are grey and not editable.
void setCell(QTableWidget* grid, int row, int column, const QString& text, bool fixed = false);
QString cellText(const QTableWidget* grid, int row, int column);

// The roster of the current draw mode: serial and whole line per row.
class RosterListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;
  void setLines(std::vector<std::string> gbkLines);
  const std::vector<std::string>& lines() const { return lines_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<std::string> lines_;
};

// Sets the roster list's look: whole-row selection, read-only, widths 35 and 150.
void setupRosterList(QTableView* view, RosterListModel* model);

// The roster lines of the draw mode; raises base::FileError when the file is missing.
std::vector<std::string> readRoster(const draw::EventFolder& folder, bool textDraw);

}  // namespace dialogs
