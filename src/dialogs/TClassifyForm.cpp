#include "dialogs/TClassifyForm.h"

#include <QTableWidget>

#include "dialogs/setup_grid.h"
#include "draw/group_ranges.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_keys.h"
#include "screen/window_fit.h"
#include "ui_TClassifyForm.h"

namespace dialogs {

namespace groups = draw::groups;
using platform::fromGbk;
using platform::toGbk;

namespace {
constexpr int kFirstColumn = 2;
constexpr int kLastColumn = 3;
}  // namespace

TClassifyForm::TClassifyForm(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs,
                             QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TClassifyForm>()), data_(data), folder_(folder), dialogs_(dialogs) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  roster_ = new RosterListModel(this);
  setupRosterList(ui->NameList, roster_);
  setupColumns(ui->ItemGrid, {{QStringLiteral("项号"), 35, true},
                              {QStringLiteral("奖项"), 80, true},
                              {QStringLiteral("起始序号"), 70},
                              {QStringLiteral("结束序号"), 70}});
  delegate_ = new SetupGridDelegate(ui->ItemGrid, {kFirstColumn, kLastColumn}, dialogs_);
  delegate_->enterPressed = [this] { enterPressed(); };
  load();
  connect(ui->OpenClassify, &QCheckBox::toggled, this, [this](bool on) { data_.settings.awardGroupsOn = on; });
}

TClassifyForm::~TClassifyForm() = default;

QTableWidget* TClassifyForm::grid() const { return ui->ItemGrid; }
QTableView* TClassifyForm::rosterList() const { return ui->NameList; }
QCheckBox* TClassifyForm::groupSwitch() const { return ui->OpenClassify; }

void TClassifyForm::load() {
  std::vector<std::string> lines;
  loaded_ = dialogs_.reportFailures([&] { lines = readRoster(folder_, data_.settings.textDraw); });
  roster_->setLines(std::move(lines));
  const base::IniFile config = folder_.configFiles().openConfig();
  ui->OpenClassify->setChecked(groups::loadSwitch(config));
  if (!loaded_) {
    ui->OpenClassify->setEnabled(false);
    return;
  }
  const std::vector<groups::AwardRange> ranges = groups::loadRanges(config);
  QTableWidget* grid = ui->ItemGrid;
  grid->setRowCount(static_cast<int>(ranges.size()));
  for (int r = 0; r < grid->rowCount(); ++r) {
    const groups::AwardRange& range = ranges[static_cast<std::size_t>(r)];
    setCell(grid, r, 0, fromGbk(range.serial), true);
    setCell(grid, r, 1, fromGbk(range.name), true);
    setCell(grid, r, kFirstColumn, fromGbk(range.first));
    setCell(grid, r, kLastColumn, fromGbk(range.last));
  }
  if (grid->rowCount() > 0) grid->setCurrentCell(0, kFirstColumn);
}

void TClassifyForm::enterPressed() {
  QTableWidget* grid = ui->ItemGrid;
  const int row = grid->currentRow();
  const int column = grid->currentColumn();
  if (row < 0 || (column != kFirstColumn && column != kLastColumn)) return;
  const bool first = column == kFirstColumn;
  groups::CellCheck check;
  const bool ok = dialogs_.reportFailures([&] {
    check =
        groups::checkCell(toGbk(cellText(grid, row, column)),
                          toGbk(cellText(grid, row, first ? kLastColumn : kFirstColumn)), first, roster_->rowCount());
  });
  if (!ok) return;
  if (!check.notices.empty()) {
    setCell(grid, row, column, fromGbk(check.value));
    for (groups::Notice notice : check.notices) dialogs_.message(QString::fromUtf8(groups::noticeText(notice)));
    return;
  }
  if (first)
    grid->setCurrentCell(row, kLastColumn);
  else
    grid->setCurrentCell(row + 1 < grid->rowCount() ? row + 1 : 0, kFirstColumn);
}

void TClassifyForm::save() {
  if (!loaded_) return;
  screen::commitOpenEditor(*ui->ItemGrid);
  dialogs_.reportFailures([this] {
    std::vector<groups::AwardRange> ranges;
    QTableWidget* grid = ui->ItemGrid;
    for (int r = 0; r < grid->rowCount(); ++r)
      ranges.push_back({toGbk(cellText(grid, r, 0)), toGbk(cellText(grid, r, 1)),
                        toGbk(cellText(grid, r, kFirstColumn)), toGbk(cellText(grid, r, kLastColumn))});
    base::IniFile config = folder_.configFiles().openConfig();
    groups::saveRanges(config, ui->OpenClassify->isChecked(), ranges);
  });
}

void TClassifyForm::done(int result) {
  save();
  QDialog::done(result);
}

}  // namespace dialogs
