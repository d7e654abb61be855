#pragma once
// The supplementary draw dialog ("补奖"): places added to an existing award,
// replacing an earlier supplementary count, or a new award made only of
// supplementary places. The engine's supplementary() checks the count and writes
// Config.ini.
#include <QDialog>
#include <memory>

#include "draw/draw_data.h"
#include "draw/event_folder.h"
#include "screen/dialog_service.h"

namespace Ui {
class TOtherItem;
}

class TOtherItem : public QDialog {
  Q_OBJECT

 public:
  TOtherItem(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs,
             QWidget* parent = nullptr);
  ~TOtherItem() override;

 private:
  // The prize field is shown only while the combo text names no award.
  void ComboBox1Change();
  void Button1Click();
  bool namesAnAward(const QString& text) const;

  std::unique_ptr<Ui::TOtherItem> ui;
  draw::DrawData& data_;
  const draw::EventFolder& folder_;
  screen::DialogService& dialogs_;
};
