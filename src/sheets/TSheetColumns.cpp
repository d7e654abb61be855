#include "sheets/TSheetColumns.h"

#include <QPushButton>

#include "ui_TSheetColumns.h"

namespace {

// "A", "B", … "Z", "AA": the column names spreadsheet programs show.
QString columnLetters(int column) {
  QString letters;
  for (int n = column + 1; n > 0; n = (n - 1) / 26) letters.prepend(QChar(u'A' + (n - 1) % 26));
  return letters;
}

}  // namespace

TSheetColumns::TSheetColumns(const sheets::Sheet& sheet, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TSheetColumns>()), sheet_(sheet) {
  ui->setupUi(this);
  const sheets::ColumnChoice initial = sheets::defaultChoice(sheet);
  headingRow_ = initial.headingRow;
  ui->Separator->setText(initial.separator);
  ui->SkipHeadings->setChecked(initial.skipFirstRow);
  if (headingRow_ > 0) {
    // The table starts at the heading row; the operator is told what lies above.
    ui->RowsLabel->setText(
        QStringLiteral("表格从第 %1 行起(上方 %2 行是表格的标题,不导入):").arg(headingRow_ + 1).arg(headingRow_));
    ui->SkipHeadings->setText(QStringLiteral("第 %1 行是标题,不导入").arg(headingRow_ + 1));
  }
  fillColumns();
  fillTable();
  connect(ui->Columns, &QListWidget::itemChanged, this, &TSheetColumns::updatePreview);
  connect(ui->Separator, &QLineEdit::textChanged, this, &TSheetColumns::updatePreview);
  connect(ui->SkipHeadings, &QCheckBox::toggled, this, &TSheetColumns::updatePreview);
  updatePreview();
}

TSheetColumns::~TSheetColumns() = default;

void TSheetColumns::fillColumns() {
  const sheets::ColumnChoice initial = sheets::defaultChoice(sheet_);
  for (int c = 0; c < sheet_.columnCount(); ++c) {
    const QString first = sheet_.cell(headingRow_, c);
    auto* item = new QListWidgetItem(
        first.isEmpty() ? columnLetters(c) + QStringLiteral(" 列") : columnLetters(c) + QStringLiteral(" 列: ") + first,
        ui->Columns);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    const bool ticked = std::find(initial.columns.begin(), initial.columns.end(), c) != initial.columns.end();
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  }
}

void TSheetColumns::fillTable() {
  const int rows =
      std::min<int>(kPreviewRows, static_cast<int>(sheet_.rows.size() - std::min(headingRow_, sheet_.rows.size())));
  const int columns = sheet_.columnCount();
  ui->Rows->setRowCount(rows);
  ui->Rows->setColumnCount(columns);
  QStringList headers;
  for (int c = 0; c < columns; ++c) headers << columnLetters(c);
  ui->Rows->setHorizontalHeaderLabels(headers);
  QStringList rowNumbers;
  for (int r = 0; r < rows; ++r) {
    rowNumbers << QString::number(headingRow_ + static_cast<std::size_t>(r) + 1);
    for (int c = 0; c < columns; ++c) {
      ui->Rows->setItem(r, c, new QTableWidgetItem(sheet_.cell(headingRow_ + static_cast<std::size_t>(r), c)));
    }
  }
  ui->Rows->setVerticalHeaderLabels(rowNumbers);
  ui->Rows->resizeColumnsToContents();
}

sheets::ColumnChoice TSheetColumns::choice() const {
  sheets::ColumnChoice choice;
  for (int c = 0; c < ui->Columns->count(); ++c) {
    if (ui->Columns->item(c)->checkState() == Qt::Checked) choice.columns.push_back(c);
  }
  choice.separator = ui->Separator->text();
  choice.headingRow = headingRow_;
  choice.skipFirstRow = ui->SkipHeadings->isChecked();
  return choice;
}

void TSheetColumns::updatePreview() {
  const sheets::ColumnChoice current = choice();
  ui->Preview->setPlainText(sheets::rosterLines(sheet_, current, kPreviewRows).join(u'\n'));
  ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!current.columns.empty());
}
