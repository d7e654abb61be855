#include "dialogs/TGiveUp.h"

#include <QTableWidgetItem>

#include "draw/award_corrections.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_keys.h"
#include "screen/window_fit.h"
#include "ui_TGiveUp.h"

using platform::fromGbk;

namespace {
const QString kAll = QStringLiteral("全部");
}

TGiveUp::TGiveUp(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TGiveUp>()), data_(data), folder_(folder), dialogs_(dialogs) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  screen::setDefaultButton(*this, nullptr);
  ui->StringGrid1->setColumnHidden(0, true);
  ui->StringGrid1->setColumnHidden(2, true);
  ui->StringGrid1->setColumnWidth(1, 120);
  ui->StringGrid1->horizontalHeader()->setStretchLastSection(true);
  ui->StringGrid1->verticalHeader()->hide();

  ui->ComboBox1->addItem(kAll);
  for (std::size_t r = 1; r <= data_.awardRowCount(); ++r)
    if (data_.count(r, draw::item::kDrawn) > 0)
      ui->ComboBox1->addItem(fromGbk(data_.ItemGrid.cell(draw::item::kName, r)));
  ui->ComboBox1->setCurrentIndex(0);
  ComboBox1Change();
  connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TGiveUp::ComboBox1Change);
  connect(ui->Button1, &QPushButton::clicked, this, &TGiveUp::Button1Click);
}

TGiveUp::~TGiveUp() = default;

void TGiveUp::ComboBox1Change() {
  const bool all = ui->ComboBox1->currentIndex() <= 0;
  const std::string award = platform::toGbk(ui->ComboBox1->currentText());
  const draw::Table& winners = data_.LuckNameGrid;
  recordRows_.clear();
  for (std::size_t r = 1; r <= data_.winnerCount(); ++r)
    if (all || winners.cell(draw::winner::kAwardName, r) == award) recordRows_.push_back(r);

  QTableWidget* grid = ui->StringGrid1;
  grid->setRowCount(static_cast<int>(recordRows_.size()));
  const std::size_t columns[] = {draw::winner::kSerial, draw::winner::kName, draw::winner::kAwardSerial,
                                 draw::winner::kAwardName};
  for (std::size_t i = 0; i < recordRows_.size(); ++i)
    for (int c = 0; c < 4; ++c)
      grid->setItem(static_cast<int>(i), c, new QTableWidgetItem(fromGbk(winners.cell(columns[c], recordRows_[i]))));
  if (!recordRows_.empty()) grid->selectRow(0);
}

void TGiveUp::Button1Click() {
  QTableWidget* grid = ui->StringGrid1;
  const int listRow = grid->currentRow();
  if (listRow < 0 || static_cast<std::size_t>(listRow) >= recordRows_.size()) return;
  const QString name = grid->item(listRow, 1)->text();
  if (!dialogs_.question(name + QStringLiteral("确定要弃奖吗?"), false, QStringLiteral("提示"))) return;
  const draw::GiveUpChoice choice{recordRows_[static_cast<std::size_t>(listRow)], ui->CheckBox1->isChecked(),
                                  ui->CheckBox2->isChecked()};
  dialogs_.reportFailures([&] { draw::giveUp(data_, folder_, choice); });
  ComboBox1Change();
  if (grid->rowCount() > 0) grid->selectRow(qMin(listRow, grid->rowCount() - 1));
}
