#include "dialogs/TLuckPerson.h"

#include <QHeaderView>
#include <QTableWidget>

#include "dialogs/setup_grid.h"
#include "draw/award_setup.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_keys.h"
#include "screen/window_fit.h"
#include "ui_TLuckPerson.h"

namespace dialogs {

namespace lists = draw::lists;
using platform::fromGbk;
using platform::toGbk;

namespace {

const QColor kRed(255, 0, 0);

void setupListGrid(QTableWidget* grid, const QString& awardHeader) {
  setupColumns(grid, {{QStringLiteral("序号"), 35, true},
                      {QStringLiteral("人员序号"), 50},
                      {QStringLiteral("姓名"), 100},
                      {QStringLiteral("奖项序号"), 50},
                      {awardHeader, 100}});
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
}

void fillListGrid(QTableWidget* grid, const std::vector<lists::Entry>& entries, std::vector<std::size_t> stale,
                  const std::vector<std::size_t>& goneAward) {
  stale.insert(stale.end(), goneAward.begin(), goneAward.end());
  const int keep = grid->currentRow();
  grid->setRowCount(0);
  // An empty list shows one empty row, as it always has.
  grid->setRowCount(std::max<int>(1, static_cast<int>(entries.size())));
  for (int r = 0; r < grid->rowCount(); ++r) {
    std::vector<std::string> cells(5);
    if (r < static_cast<int>(entries.size()))
      cells = lists::cells(static_cast<std::size_t>(r) + 1, entries[static_cast<std::size_t>(r)]);
    const bool red = std::find(stale.begin(), stale.end(), static_cast<std::size_t>(r)) != stale.end();
    for (int c = 0; c < 5; ++c) {
      setCell(grid, r, c, fromGbk(cells[static_cast<std::size_t>(c)]));
      grid->item(r, c)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (red) grid->item(r, c)->setForeground(kRed);
    }
  }
  if (keep >= 0) grid->setCurrentCell(std::min(keep, grid->rowCount() - 1), 0);
}

void paintRed(QWidget* label, int pointSize = 0) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kRed);
  label->setPalette(palette);
  if (pointSize > 0) {
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(true);
    label->setFont(font);
  }
}

}  // namespace

TLuckPerson::TLuckPerson(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs,
                         std::function<void()> hideChanged, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TLuckPerson>()),
      data_(data),
      folder_(folder),
      dialogs_(dialogs),
      hideChanged_(std::move(hideChanged)) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  paintRed(ui->Label1, 16);
  paintRed(ui->Label6);
  paintRed(ui->Label11);
  roster_ = new RosterListModel(this);
  setupRosterList(ui->NameList, roster_);
  setupListGrid(ui->StringGrid1, QStringLiteral("奖项名称"));
  setupListGrid(ui->StringGrid2, QStringLiteral("不中奖项"));
  // No button of this window is Enter's: 内定>> by accident would name a winner.
  screen::setDefaultButton(*this, nullptr);
  load();

  connect(ui->Button1, &QPushButton::clicked, this, &TLuckPerson::predetermine);
  connect(ui->Button3, &QPushButton::clicked, this, &TLuckPerson::barFromAward);
  connect(ui->Button4, &QPushButton::clicked, this, &TLuckPerson::barFromAll);
  connect(ui->Button2, &QPushButton::clicked, this, &TLuckPerson::removePredetermined);
  connect(ui->Button5, &QPushButton::clicked, this, &TLuckPerson::removeBlacklisted);
  connect(ui->CheckBox1, &QCheckBox::clicked, this, [this](bool on) {
    data_.settings.predeterminedOn = on;
    data_.state.changed = true;
  });
  connect(ui->CheckBox3, &QCheckBox::clicked, this, [this](bool on) {
    data_.settings.blacklistOn = on;
    data_.state.changed = true;
  });
  connect(ui->CheckBox2, &QCheckBox::clicked, this, [this](bool on) {
    data_.settings.otherSettingsHidden = on;
    if (hideChanged_) hideChanged_();
  });
}

TLuckPerson::~TLuckPerson() = default;

QTableView* TLuckPerson::rosterList() const { return ui->NameList; }
QComboBox* TLuckPerson::awardChooser() const { return ui->ComboBox1; }
QTableWidget* TLuckPerson::predeterminedGrid() const { return ui->StringGrid1; }
QTableWidget* TLuckPerson::blacklistGrid() const { return ui->StringGrid2; }

void TLuckPerson::load() {
  std::vector<std::string> lines;
  loaded_ = dialogs_.reportFailures([&] { lines = readRoster(folder_, data_.settings.textDraw); });
  roster_->setLines(std::move(lines));
  for (std::size_t r = 1; r <= data_.awardRowCount(); ++r)
    ui->ComboBox1->addItem(fromGbk(data_.ItemGrid.cell(draw::item::kName, r)));
  ui->ComboBox1->setCurrentIndex(-1);
  if (!loaded_) {
    // Without the roster nobody can be chosen, and the stored lists are left as they are.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->Button1, ui->Button2, ui->Button3, ui->Button4, ui->Button5,
                                                      ui->CheckBox1, ui->CheckBox2, ui->CheckBox3})
      w->setEnabled(false);
    showLists();
    return;
  }
  const base::IniFile config = folder_.configFiles().openConfig();
  const lists::Switches switches = lists::loadSwitches(config);
  ui->CheckBox1->setChecked(switches.predeterminedOn);
  ui->CheckBox2->setChecked(switches.hidden);
  ui->CheckBox3->setChecked(switches.blacklistOn);
  lists_.predetermined = lists::loadPredetermined(config);
  lists_.blacklist = lists::loadBlacklist(config);
  for (const draw::awards::Row& row : draw::awards::loadRows(config)) awardNames_.push_back(row[draw::item::kName]);
  resolveAwards();
  showLists();
  tellFlaggedRows(&TLuckPerson::staleRows, false,
                  QStringLiteral("抽奖名单已修改,以下红色行的人员与名单中该序号的人员不一致,请删除后重新设置:\n"));
  tellFlaggedRows(
      &TLuckPerson::goneAwardRows, true,
      QStringLiteral("奖项设置中已没有以下红色行的奖项(已删除或改名),这些行抽奖时不起作用,请删除后重新设置:\n"));
}

std::vector<std::size_t> TLuckPerson::staleRows(bool predetermined) const {
  if (!loaded_) return {};
  return lists::staleRows(predetermined ? lists_.predetermined : lists_.blacklist, roster_->lines());
}

std::vector<std::size_t> TLuckPerson::goneAwardRows(bool predetermined) const {
  if (!loaded_) return {};
  return lists::goneAwardRows(predetermined ? lists_.predetermined : lists_.blacklist, awardNames_);
}

void TLuckPerson::resolveAwards() {
  for (auto* entries : {&lists_.predetermined, &lists_.blacklist})
    for (lists::Entry& entry : *entries)
      if (std::string award = lists::resolveAward(entry, awardNames_); !award.empty()) entry.award = std::move(award);
}

namespace {

// "内定清单第2行: 序号12 张三 一等奖" lines, at most ten, then how many in all.
QString listedRows(const QStringList& rows) {
  constexpr int kListed = 10;
  if (rows.size() <= kListed) return rows.join(QLatin1Char('\n'));
  return (rows.mid(0, kListed) << QStringLiteral("……共%1行").arg(rows.size())).join(QLatin1Char('\n'));
}

}  // namespace

void TLuckPerson::tellFlaggedRows(RowsFlagged flagged, bool withAward, const QString& header) {
  QStringList rows;
  for (bool predetermined : {true, false}) {
    const auto& entries = predetermined ? lists_.predetermined : lists_.blacklist;
    for (std::size_t i : (this->*flagged)(predetermined)) {
      QString row = QStringLiteral("%1第%2行: 序号%3 %4")
                        .arg(predetermined ? QStringLiteral("内定清单") : QStringLiteral("黑名单"))
                        .arg(i + 1)
                        .arg(fromGbk(entries[i].person), fromGbk(entries[i].personName));
      if (withAward) row += QLatin1Char(' ') + fromGbk(entries[i].awardName);
      rows << row;
    }
  }
  if (!rows.isEmpty()) dialogs_.message(header + listedRows(rows));
}

void TLuckPerson::showLists() {
  fillListGrid(ui->StringGrid1, lists_.predetermined, staleRows(true), goneAwardRows(true));
  fillListGrid(ui->StringGrid2, lists_.blacklist, staleRows(false), goneAwardRows(false));
}

int TLuckPerson::selectedPerson() const {
  const QModelIndexList rows = ui->NameList->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void TLuckPerson::selectNextPerson(int row) {
  if (row + 1 >= roster_->rowCount()) return;
  const QModelIndex next = roster_->index(row + 1, 0);
  ui->NameList->selectionModel()->setCurrentIndex(next,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  ui->NameList->scrollTo(next);
}

void TLuckPerson::add(bool predetermined, bool allAwards) {
  data_.state.changed = true;
  const int person = selectedPerson();
  if (person < 0) {
    dialogs_.message(QStringLiteral("请选择人员"));
    return;
  }
  const int award = ui->ComboBox1->currentIndex();
  if (!allAwards && award < 0) {
    dialogs_.message(QStringLiteral("请选择奖项"));
    return;
  }
  const std::string serial = std::to_string(person + 1);
  const std::string& line = roster_->lines()[static_cast<std::size_t>(person)];
  lists::Outcome outcome;
  if (allAwards) {
    outcome = lists_.barAll(serial, line);
  } else {
    const lists::Entry entry{serial, line, std::to_string(award + 1),
                             data_.ItemGrid.cell(draw::item::kName, static_cast<std::size_t>(award) + 1)};
    outcome = predetermined ? lists_.predetermine(entry) : lists_.bar(entry);
  }
  if (outcome != lists::Outcome::Added) {
    dialogs_.message(fromGbk(line) + QString::fromUtf8(lists::outcomeText(outcome)));
    return;
  }
  showLists();
  QTableWidget* grid = predetermined ? ui->StringGrid1 : ui->StringGrid2;
  grid->setCurrentCell(grid->rowCount() - 1, 0);
  selectNextPerson(person);
}

void TLuckPerson::predetermine() { add(true, false); }
void TLuckPerson::barFromAward() { add(false, false); }
void TLuckPerson::barFromAll() { add(false, true); }

void TLuckPerson::remove(bool predetermined) {
  data_.state.changed = true;
  auto& entries = predetermined ? lists_.predetermined : lists_.blacklist;
  QTableWidget* grid = predetermined ? ui->StringGrid1 : ui->StringGrid2;
  const int row = grid->currentRow();
  if (row < 0 || row >= static_cast<int>(entries.size())) return;
  entries.erase(entries.begin() + row);
  showLists();
  grid->setCurrentCell(std::min(row, grid->rowCount() - 1), 0);
}

void TLuckPerson::removePredetermined() { remove(true); }
void TLuckPerson::removeBlacklisted() { remove(false); }

void TLuckPerson::save() {
  if (!loaded_) return;
  dialogs_.reportFailures([this] {
    base::IniFile config = folder_.configFiles().openConfig();
    lists::save(config, lists_, {ui->CheckBox1->isChecked(), ui->CheckBox2->isChecked(), ui->CheckBox3->isChecked()});
  });
}

void TLuckPerson::done(int result) {
  save();
  QDialog::done(result);
}

}  // namespace dialogs
