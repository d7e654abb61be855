#pragma once
// The columns of a spreadsheet that make a roster line: the operator ticks
// them, chooses the separator between them and whether the heading row (the
// row labelled 姓名 or name, the first row without one) is left out, and sees the resulting lines as they will be
// imported. Opened through screen::DialogService::sheetColumns.
#include <QDialog>
#include <memory>

#include "sheets/roster_columns.h"

namespace Ui {
class TSheetColumns;
}

class TSheetColumns : public QDialog {
  Q_OBJECT

 public:
  TSheetColumns(const sheets::Sheet& sheet, QWidget* parent = nullptr);
  ~TSheetColumns() override;

  sheets::ColumnChoice choice() const;

  // Rows shown in the table and lines in the preview.
  static constexpr int kPreviewRows = 20;

 private:
  void fillColumns();
  void fillTable();
  void updatePreview();

  std::unique_ptr<Ui::TSheetColumns> ui;
  const sheets::Sheet& sheet_;
  // The row that labels the columns; the table starts there (rows above are titles).
  std::size_t headingRow_ = 0;
};
