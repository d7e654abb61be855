#pragma once
// The award grouping dialog "分组抽奖设定": for each award the range of roster
// serials its winners are drawn from, and the switch of award grouping as a
// whole. Every close stores both in Config.ini, where the pool reads them at each
// batch; the switch acts on the draw at once.
#include <QDialog>
#include <memory>

#include "draw/draw_data.h"
#include "draw/event_folder.h"
#include "screen/dialog_service.h"

class QCheckBox;
class QTableView;
class QTableWidget;

namespace Ui {
class TClassifyForm;
}

namespace dialogs {

class RosterListModel;
class SetupGridDelegate;

class TClassifyForm : public QDialog {
  Q_OBJECT

 public:
  TClassifyForm(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs,
                QWidget* parent = nullptr);
  ~TClassifyForm() override;

  QTableWidget* grid() const;
  QTableView* rosterList() const;
  QCheckBox* groupSwitch() const;
  // Enter on the current range cell: the checks, then the walk on.
  void enterPressed();

  void done(int result) override;  // every close saves

 private:
  void load();
  void save();

  std::unique_ptr<Ui::TClassifyForm> ui;
  draw::DrawData& data_;
  const draw::EventFolder& folder_;
  screen::DialogService& dialogs_;
  RosterListModel* roster_ = nullptr;
  SetupGridDelegate* delegate_ = nullptr;
  // False when the roster could not be read: the awards were not shown, so nothing is stored.
  bool loaded_ = false;
};

}  // namespace dialogs
