#include "dialogs/setup_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>

#include "base/text_file.h"
#include "platform/qt_gbk.h"
#include "screen/digit_field.h"

namespace dialogs {

namespace {

const QColor kFixedColour(0xF0, 0xF0, 0xF0);

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Wide enough for every shown column and a vertical scroll bar, so no
// horizontal one is needed.
void fitWidthToColumns(QTableView* view) {
  int width = 2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < view->model()->columnCount(); ++c)
    if (!view->isColumnHidden(c)) width += view->columnWidth(c);
  view->setMinimumWidth(width);
}

}  // namespace

SetupGridDelegate::SetupGridDelegate(QTableWidget* grid, std::set<int> digitColumns, screen::DialogService& dialogs)
    : QStyledItemDelegate(grid), grid_(grid), digitColumns_(std::move(digitColumns)), dialogs_(dialogs) {
  grid_->setItemDelegate(this);
  grid_->installEventFilter(this);
  // The current cell is what the operator works on; no other highlight.
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(grid_, &QTableWidget::currentCellChanged, grid_->viewport(), [this] { grid_->viewport()->update(); });
}

void SetupGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QModelIndex current = grid_->currentIndex();
  if (!current.isValid() || current != index) {
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_Selected;
    if (index.data(Qt::BackgroundRole).isValid())
      painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
    QStyledItemDelegate::paint(painter, plain, index);
    return;
  }
  painter->save();
  painter->fillRect(option.rect, kCurrentCellColour);
  painter->setPen(option.palette.color(QPalette::WindowText));
  painter->setFont(option.font);
  const QRect text = option.rect.adjusted(2, 2, -1, -1);
  painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
  painter->restore();
}

QWidget* SetupGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  editor->setProperty("gridColumn", index.column());
  if (auto* field = qobject_cast<QLineEdit*>(editor); field && digitColumns_.count(index.column()))
    screen::holdToDigits(field);
  editor->installEventFilter(const_cast<SetupGridDelegate*>(this));
  return editor;
}

bool SetupGridDelegate::refuseKey(int column, const QKeyEvent& key) {
  if (!digitColumns_.count(column) || !screen::typesNonDigit(key)) return false;
  dialogs_.message(QString::fromUtf8(screen::kDigitsOnlyMessage));
  return true;
}

bool SetupGridDelegate::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    // The grid is no editor: its losing the focus must not be taken for an editor's.
    if (watched == grid_) return false;
    return QStyledItemDelegate::eventFilter(watched, event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  auto* editor = qobject_cast<QWidget*>(watched);
  const bool inEditor = editor != nullptr && watched != grid_;
  const int column = inEditor ? editor->property("gridColumn").toInt() : grid_->currentColumn();
  if (isEnter(key->key())) {
    if (inEditor) {
      emit commitData(editor);
      emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (enterPressed) enterPressed();
    return true;
  }
  if (refuseKey(column, *key)) return true;
  if (!key->text().isEmpty() && !key->text().front().isNull() &&
      key->text().front().category() != QChar::Other_Control && typed)
    typed();
  if (inEditor) return QStyledItemDelegate::eventFilter(watched, event);
  return false;
}

void setupColumns(QTableWidget* grid, const std::vector<GridColumn>& columns) {
  grid->setColumnCount(static_cast<int>(columns.size()));
  QStringList headers;
  for (const GridColumn& c : columns) headers << c.header;
  grid->setHorizontalHeaderLabels(headers);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setDefaultSectionSize(22);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    if (columns[static_cast<std::size_t>(i)].width < 0)
      grid->setColumnHidden(i, true);
    else  // the stored width, widened where the header would be cut
      grid->setColumnWidth(i, std::max(columns[static_cast<std::size_t>(i)].width,
                                       grid->horizontalHeader()->fontMetrics().horizontalAdvance(
                                           columns[static_cast<std::size_t>(i)].header) +
                                           12));
  }
  fitWidthToColumns(grid);
  grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                        QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
}

void setCell(QTableWidget* grid, int row, int column, const QString& text, bool fixed) {
  QTableWidgetItem* item = grid->item(row, column);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    grid->setItem(row, column, item);
  }
  item->setText(text);
  if (fixed) {
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(kFixedColour);
  }
}

QString cellText(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item ? item->text() : QString();
}

void RosterListModel::setLines(std::vector<std::string> gbkLines) {
  beginResetModel();
  lines_ = std::move(gbkLines);
  endResetModel();
}

int RosterListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int RosterListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant RosterListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  if (index.column() == 0) return index.row() + 1;
  return platform::fromGbk(lines_[static_cast<std::size_t>(index.row())]);
}

QVariant RosterListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return section == 0 ? QStringLiteral("序号") : QStringLiteral("抽奖名单");
}

void setupRosterList(QTableView* view, RosterListModel* model) {
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->verticalHeader()->hide();
  // A roster of 100,000 lines: fixed row heights keep the view from measuring every row.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(20);
  view->setColumnWidth(0, 35);
  view->setColumnWidth(1, 150);
  fitWidthToColumns(view);
  view->setMaximumWidth(view->minimumWidth());
}

std::vector<std::string> readRoster(const draw::EventFolder& folder, bool textDraw) {
  return base::readLines(folder.rosterPath(textDraw));
}

}  // namespace dialogs
