#pragma once
// The give-up dialog ("弃奖处理"): the operator picks a winner record, optionally
// after filtering by award, and gives the prize up. The place is drawn again or
// counted as lost, and the person may return to the pool; the engine's giveUp
// does the counting and writes the files.
#include <QDialog>
#include <memory>
#include <vector>

#include "draw/draw_data.h"
#include "draw/event_folder.h"
#include "screen/dialog_service.h"

namespace Ui {
class TGiveUp;
}

class TGiveUp : public QDialog {
  Q_OBJECT

 public:
  TGiveUp(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs,
          QWidget* parent = nullptr);
  ~TGiveUp() override;

 private:
  // Lists the winner records of the award chosen in ComboBox1, or all of them for "全部".
  void ComboBox1Change();
  void Button1Click();

  std::unique_ptr<Ui::TGiveUp> ui;
  draw::DrawData& data_;
  const draw::EventFolder& folder_;
  screen::DialogService& dialogs_;
  // The winners-table row of each list row: the filter hides records, so list
  // rows and records are not the same rows.
  std::vector<std::size_t> recordRows_;
};
