#include "dialogs/TOtherItem.h"

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "draw/award_corrections.h"
#include "draw/draw_texts.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_keys.h"
#include "screen/digit_field.h"
#include "screen/window_fit.h"
#include "ui_TOtherItem.h"

using platform::fromGbk;

TOtherItem::TOtherItem(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs,
                       QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TOtherItem>()), data_(data), folder_(folder), dialogs_(dialogs) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  screen::setDefaultButton(*this, ui->Button1);
  (new screen::DigitFieldFilter(dialogs_, this))->attach(ui->Edit1);
  for (std::size_t r = 1; r <= data_.awardRowCount(); ++r)
    ui->ComboBox1->addItem(fromGbk(data_.ItemGrid.cell(draw::item::kName, r)));
  const auto current = base::parseInt(data_.state.currentAward);
  ui->ComboBox1->setCurrentIndex(current && data_.isAwardRow(*current) ? *current - 1 : 0);
  ComboBox1Change();
  connect(ui->ComboBox1, &QComboBox::editTextChanged, this, &TOtherItem::ComboBox1Change);
  connect(ui->Button1, &QPushButton::clicked, this, &TOtherItem::Button1Click);
}

TOtherItem::~TOtherItem() = default;

bool TOtherItem::namesAnAward(const QString& text) const {
  const std::string name = platform::toGbk(text);
  for (std::size_t r = 1; r <= data_.awardRowCount(); ++r)
    if (data_.ItemGrid.cell(draw::item::kName, r) == name) return true;
  return false;
}

void TOtherItem::ComboBox1Change() {
  ui->Edit1->clear();
  ui->Edit2->clear();
  const bool newAward = !namesAnAward(ui->ComboBox1->currentText());
  ui->Label3->setVisible(newAward);
  ui->Edit2->setVisible(newAward);
}

void TOtherItem::Button1Click() {
  const QString award = ui->ComboBox1->currentText();
  const QString prize = !ui->Edit2->isHidden() ? ui->Edit2->text() : QString();
  if (!platform::isStorable(award) || !platform::isStorable(prize) || !platform::isStorable(ui->Edit1->text())) {
    dialogs_.message(QStringLiteral("奖项名称、名额或奖品名称含有无法保存的字符"));
    return;
  }
  const int index = ui->ComboBox1->currentIndex();
  const draw::SupplementaryRequest request{platform::toGbk(award), index >= 0 ? static_cast<std::size_t>(index) + 1 : 0,
                                           platform::toGbk(ui->Edit1->text()), platform::toGbk(prize)};
  std::string outcome;
  if (!dialogs_.reportFailures([&] { outcome = draw::supplementary(data_, folder_, request); })) return;
  dialogs_.message(fromGbk(outcome));
  if (outcome == base::gbk("补奖完成")) accept();
}
