#pragma once
// The columns of a spreadsheet that make a roster line: the operator ticks
// them, chooses the separator between them and whether the first row is
// headings, and sees the resulting lines as they will be imported.
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

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

  // Asks the operator; nothing when cancelled. Tests replace it.
  static std::function<std::optional<sheets::ColumnChoice>(const sheets::Sheet&, QWidget*)> ask;

  // Rows shown in the table and lines in the preview.
  static constexpr int kPreviewRows = 20;

 private:
  void fillColumns();
  void fillTable();
  void updatePreview();

  std::unique_ptr<Ui::TSheetColumns> ui;
  const sheets::Sheet& sheet_;
};
