#pragma once
// The award settings dialog "奖项设置": the awards of the event in a grid (name,
// places, batch size, prize, draw guest, prize picture; the batch plan hidden)
// and the draw settings beside it. Rows go to "奖项设置", settings to "界面设置"
// of Config.ini. Some settings act on the main window at once; the window lends
// the dialog what it needs through ScreenLink and never shows itself here.
//
// The result is the changed mark in DrawData::state: cleared at opening, set by
// the edits the operator makes, cleared again by Cancel.
#include <QDialog>
#include <functional>
#include <memory>

#include "draw/award_setup.h"
#include "draw/draw_data.h"
#include "draw/event_folder.h"
#include "screen/dialog_service.h"
#include "screen/state/screen_model.h"

class QCheckBox;
class QTableWidget;

namespace Ui {
class TSysItem;
}

namespace dialogs {

class SetupGridDelegate;

class TSysItem : public QDialog {
  Q_OBJECT

 public:
  // The main window's parts the settings act on at once.
  struct ScreenLink {
    // The tick of a screen element's menu entry, read when the dialog opens.
    std::function<bool(screen::ShowTick)> tick;
    // Shows or hides the element and sets its menu entry's tick.
    std::function<void(screen::ShowTick, bool shown)> setTick;
    // The new base rolling interval (already in DrawData): a running rolling
    // timer takes it at once.
    std::function<void(int intervalMs)> rollingIntervalChanged;
    // The countdown label is hidden at every save.
    std::function<void()> hideCountdown;
  };

  TSysItem(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs, ScreenLink link,
           QWidget* parent = nullptr);
  ~TSysItem() override;

  QTableWidget* grid() const;
  // The commands of the buttons and of dragging a serial, reachable for tests.
  void addAward();
  void deleteAward();
  void defaultBatches();
  // Moves grid row `from` to `to` (0-based), renumbers, saves, sets the mark.
  void moveRow(int from, int to);
  // The picture of the current row from a chosen file (the double-click's work
  // after the file dialog).
  void changePicture();
  // The file the preview shows; empty when none.
  const QString& previewFile() const { return previewFile_; }

  void accept() override;  // 确定: save, then close unless the save failed
  void reject() override;  // 取消 and the close button: clear the mark, no save

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void loadAll();
  void connectControls();
  void fillGrid(const std::vector<draw::awards::EditedRow>& rows);
  std::vector<draw::awards::EditedRow> gridRows() const;
  // The row with what it was read as (kept on its serial cell, so it moves with the row).
  draw::awards::EditedRow editedRow(int row) const;
  void setEditedRow(int row, const draw::awards::EditedRow& edited);
  draw::awards::Row rowCells(int row) const;
  void setRowCells(int row, const draw::awards::Row& cells);
  void renumber();
  // Saves rows and settings; raises on a bad seconds field after writing all keys.
  // Rows the operator did not change are written back as they were read.
  void save();
  void normaliseRow(int row);
  void showNotices(const std::vector<draw::awards::Notice>& notices);
  void walkEnter();
  void showPreview(int row);
  void selectCell(int row, int column);
  void updateEnabledStates();
  void markChanged() { data_.state.changed = true; }
  QCheckBox* tickBox(screen::ShowTick tick) const;

  std::unique_ptr<Ui::TSysItem> ui;
  draw::DrawData& data_;
  const draw::EventFolder& folder_;
  screen::DialogService& dialogs_;
  ScreenLink link_;
  SetupGridDelegate* delegate_ = nullptr;
  QString previewFile_;
  int dragFrom_ = -1;
  bool loading_ = true;
};

}  // namespace dialogs
