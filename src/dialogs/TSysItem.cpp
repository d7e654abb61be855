#include "dialogs/TSysItem.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>

#include "base/conversion_error.h"
#include "dialogs/setup_grid.h"
#include "platform/program_dir.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_keys.h"
#include "screen/picture_files.h"
#include "screen/picture_scaling.h"
#include "screen/prize_pictures.h"
#include "screen/state/award_screen_settings.h"
#include "screen/window_fit.h"
#include "ui_TSysItem.h"

namespace dialogs {

namespace fs = std::filesystem;
namespace awards = draw::awards;
namespace item = draw::item;
using platform::fromGbk;
using platform::toGbk;
using screen::ShowTick;

namespace {

// Where a grid row keeps what it was read as: on its serial cell.
constexpr int kAsReadRole = Qt::UserRole;
constexpr int kOriginRole = Qt::UserRole + 1;

const QColor kGreyText(128, 128, 128);

void setGrey(QWidget* label, bool grey) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, grey ? kGreyText : QApplication::palette(label).color(QPalette::WindowText));
  label->setPalette(palette);
}

}  // namespace

TSysItem::TSysItem(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs,
                   ScreenLink link, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TSysItem>()),
      data_(data),
      folder_(folder),
      dialogs_(dialogs),
      link_(std::move(link)) {
  ui->setupUi(this);
  setupColumns(ui->StringGrid1, {{QStringLiteral("项次"), 35, true},
                                 {QStringLiteral("奖项名称"), 80},
                                 {QStringLiteral("名额"), 50},
                                 {QStringLiteral("每次抽取个数"), 90},
                                 {QStringLiteral("分批计划"), -1},
                                 {QStringLiteral("奖品名称"), 100},
                                 {QStringLiteral("抽奖嘉宾"), 80},
                                 {QStringLiteral("奖品图片"), 120}});
  // It opens showing every column and every setting where the screen has the
  // room; on a small screen the grid scrolls sideways and the settings scroll
  // down, so that 确定 and 取消 stay on the screen.
  const int wholeGrid = ui->StringGrid1->minimumWidth();
  ui->SettingsScroll->setMinimumSize(
      ui->SettingsPage->minimumSizeHint().width() + ui->SettingsScroll->verticalScrollBar()->sizeHint().width(),
      ui->SettingsPage->sizeHint().height());
  // A little more than the columns need, as the grid's frame and header may
  // come out wider once shown.
  const QSize whole = sizeHint() + QSize(40, 0);
  ui->SettingsScroll->setMinimumHeight(0);
  ui->StringGrid1->setMinimumWidth(std::min(wholeGrid, 360));
  layout()->activate();  // the window's minimum follows the smaller parts
  resize(whole);
  screen::fitToScreen(*this);
  delegate_ = new SetupGridDelegate(ui->StringGrid1, {item::kPlaces, item::kBatchSize}, dialogs_);
  delegate_->enterPressed = [this] { walkEnter(); };
  delegate_->typed = [this] { markChanged(); };
  ui->StringGrid1->viewport()->installEventFilter(this);
  ui->Image1->installEventFilter(this);
  screen::setDefaultButton(*this, ui->Button1);
  loadAll();
  connectControls();
  loading_ = false;
}

TSysItem::~TSysItem() = default;

QTableWidget* TSysItem::grid() const { return ui->StringGrid1; }

QCheckBox* TSysItem::tickBox(ShowTick tick) const {
  switch (tick) {
    case ShowTick::MainTitle:
      return ui->CheckBox3;
    case ShowTick::SecTitle:
      return ui->CheckBox4;
    case ShowTick::Logo:
      return ui->CheckBox14;
    case ShowTick::ItemName:
      return ui->CheckBox12;
    case ShowTick::HonorGuest:
      return ui->CheckBox10;
    case ShowTick::PrizePicture:
      return ui->CheckBox5;
    case ShowTick::PrizeName:
      return ui->CheckBox6;
    case ShowTick::ActionHint:
      return ui->CheckBox11;
    case ShowTick::RateProgress:
      return ui->CheckBox7;
    case ShowTick::StartButton:
      return ui->CheckBox8;
  }
  return ui->CheckBox3;
}

// ---- opening ------------------------------------------------------------------

void TSysItem::loadAll() {
  const base::IniFile config = folder_.configFiles().openConfig();
  fillGrid(awards::loadEditedRows(config));
  // The grid starts on the first name, so that its taking the focus is no
  // selection by the operator: a row is checked when the operator goes to it.
  ui->StringGrid1->setCurrentCell(0, static_cast<int>(item::kName));
  for (std::size_t i = 0; i < screen::kShowTickCount; ++i) {
    const auto tick = static_cast<ShowTick>(i);
    tickBox(tick)->setChecked(link_.tick ? link_.tick(tick) : true);
  }
  screen::AwardScreenSettings s;
  screen::loadAwardScreenSettings(config, s);
  ui->TrackBar1->setValue(s.rollingSpeed);
  (s.drawOrder == 1 ? ui->RadioButton2 : ui->RadioButton1)->setChecked(true);
  ui->CheckBox2->setChecked(s.privacyOn);
  ui->CheckBox1->setChecked(s.repeatWinning);
  ui->CheckBox9->setChecked(s.groupDisplay);
  ui->CheckBox15->setChecked(s.awardPreparation);
  ui->CheckBox13->setChecked(s.speedRamp);
  ui->CheckBox16->setChecked(s.autoStop);
  ui->CheckBox17->setChecked(s.autoStart);
  ui->Edit1->setText(fromGbk(s.privacyBegin));
  ui->Edit2->setText(fromGbk(s.privacyEnd));
  ui->Edit3->setText(fromGbk(s.autoStopSeconds));
  ui->Edit4->setText(fromGbk(s.autoStartSeconds));
  showPreview(0);
  updateEnabledStates();
  data_.state.changed = false;
}

void TSysItem::connectControls() {
  QTableWidget* grid = ui->StringGrid1;
  connect(grid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
    if (loading_ || row < 0) return;
    markChanged();
    ui->StringGrid1->setEditTriggers(column == static_cast<int>(item::kBatchPlan)
                                         ? QAbstractItemView::NoEditTriggers
                                         : QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                                               QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    normaliseRow(row);
    showPreview(row);
  });
  for (std::size_t i = 0; i < screen::kShowTickCount; ++i) {
    const auto tick = static_cast<ShowTick>(i);
    connect(tickBox(tick), &QCheckBox::toggled, this, [this, tick](bool shown) {
      if (link_.setTick) link_.setTick(tick, shown);
    });
  }
  connect(ui->TrackBar1, &QSlider::valueChanged, this, [this](int position) {
    data_.settings.baseRollingInterval = screen::rollingIntervalOf(position);
    if (link_.rollingIntervalChanged) link_.rollingIntervalChanged(data_.settings.baseRollingInterval);
  });
  connect(ui->CheckBox13, &QCheckBox::toggled, this, [this](bool on) {
    data_.settings.speedRamp = on;
    markChanged();
  });
  connect(ui->CheckBox9, &QCheckBox::toggled, this, [this](bool on) { data_.settings.groupDisplay = on; });
  connect(ui->CheckBox15, &QCheckBox::toggled, this, [this](bool on) { data_.settings.awardPreparation = on; });
  connect(ui->CheckBox1, &QCheckBox::toggled, this, [this] { markChanged(); });
  connect(ui->CheckBox2, &QCheckBox::toggled, this, [this] {
    markChanged();
    updateEnabledStates();
  });
  connect(ui->CheckBox16, &QCheckBox::toggled, this, &TSysItem::updateEnabledStates);
  connect(ui->CheckBox17, &QCheckBox::toggled, this, &TSysItem::updateEnabledStates);
  connect(ui->RadioButton1, &QRadioButton::clicked, this, [this] { markChanged(); });
  connect(ui->RadioButton2, &QRadioButton::clicked, this, [this] { markChanged(); });
  connect(ui->Edit1, &QLineEdit::textEdited, this, [this] { markChanged(); });
  connect(ui->Edit2, &QLineEdit::textEdited, this, [this] { markChanged(); });
  connect(ui->Button1, &QPushButton::clicked, this, &TSysItem::accept);
  connect(ui->Button5, &QPushButton::clicked, this, &TSysItem::reject);
  connect(ui->Button2, &QPushButton::clicked, this, &TSysItem::addAward);
  connect(ui->Button3, &QPushButton::clicked, this, &TSysItem::deleteAward);
  connect(ui->Button4, &QPushButton::clicked, this, &TSysItem::defaultBatches);
}

void TSysItem::updateEnabledStates() {
  const bool privacy = ui->CheckBox2->isChecked();
  ui->Edit1->setEnabled(privacy);
  ui->Edit2->setEnabled(privacy);
  for (QWidget* label : {ui->Label2, ui->Label3, ui->Label4, ui->Label5, ui->Label7}) setGrey(label, !privacy);
  const bool autoStop = ui->CheckBox16->isChecked();
  ui->Edit3->setEnabled(autoStop);
  setGrey(ui->Label12, !autoStop);
  setGrey(ui->Label13, !autoStop);
  const bool autoStart = ui->CheckBox17->isChecked();
  ui->Edit4->setEnabled(autoStart);
  setGrey(ui->Label10, !autoStart);
  setGrey(ui->Label11, !autoStart);
}

// ---- the grid -----------------------------------------------------------------

void TSysItem::fillGrid(const std::vector<awards::EditedRow>& rows) {
  const bool wasLoading = loading_;
  loading_ = true;
  QTableWidget* grid = ui->StringGrid1;
  grid->setRowCount(0);
  // An event without awards shows one empty row to type the first award into.
  const std::vector<awards::EditedRow> shown =
      rows.empty() ? std::vector<awards::EditedRow>{{awards::Row(awards::kColumnCount), {}, 0}} : rows;
  grid->setRowCount(static_cast<int>(shown.size()));
  for (int r = 0; r < static_cast<int>(shown.size()); ++r) setEditedRow(r, shown[static_cast<std::size_t>(r)]);
  renumber();
  loading_ = wasLoading;
}

awards::EditedRow TSysItem::editedRow(int row) const {
  awards::EditedRow edited;
  edited.cells = rowCells(row);
  if (const QTableWidgetItem* serial = ui->StringGrid1->item(row, static_cast<int>(item::kSerial))) {
    edited.asRead = serial->data(kAsReadRole).toByteArray().toStdString();
    edited.origin = serial->data(kOriginRole).value<qulonglong>();
  }
  return edited;
}

void TSysItem::setEditedRow(int row, const awards::EditedRow& edited) {
  setRowCells(row, edited.cells);
  QTableWidgetItem* serial = ui->StringGrid1->item(row, static_cast<int>(item::kSerial));
  serial->setData(kAsReadRole, QByteArray::fromStdString(edited.asRead));
  serial->setData(kOriginRole, static_cast<qulonglong>(edited.origin));
}

awards::Row TSysItem::rowCells(int row) const {
  awards::Row cells(awards::kColumnCount);
  for (std::size_t c = 0; c < awards::kColumnCount; ++c)
    cells[c] = toGbk(cellText(ui->StringGrid1, row, static_cast<int>(c)));
  return cells;
}

void TSysItem::setRowCells(int row, const awards::Row& cells) {
  for (std::size_t c = 0; c < awards::kColumnCount; ++c) {
    const QString text = c < cells.size() ? fromGbk(cells[c]) : QString();
    setCell(ui->StringGrid1, row, static_cast<int>(c), text, c == item::kSerial);
  }
  if (QTableWidgetItem* plan = ui->StringGrid1->item(row, static_cast<int>(item::kBatchPlan)))
    plan->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

std::vector<awards::EditedRow> TSysItem::gridRows() const {
  std::vector<awards::EditedRow> rows;
  for (int r = 0; r < ui->StringGrid1->rowCount(); ++r) rows.push_back(editedRow(r));
  return rows;
}

void TSysItem::renumber() {
  for (int r = 0; r < ui->StringGrid1->rowCount(); ++r)
    setCell(ui->StringGrid1, r, static_cast<int>(item::kSerial), QString::number(r + 1), true);
}

void TSysItem::showNotices(const std::vector<awards::Notice>& notices) {
  for (awards::Notice notice : notices) dialogs_.message(QString::fromUtf8(awards::noticeText(notice)));
}

void TSysItem::normaliseRow(int row) {
  dialogs_.reportFailures([&] {
    awards::Row cells = rowCells(row);
    std::vector<awards::Notice> notices;
    try {
      notices = awards::normaliseRow(cells);
    } catch (const base::ConversionError&) {
      setRowCells(row, cells);  // what was set before the bad cell stays
      throw;
    }
    setRowCells(row, cells);
    showNotices(notices);
  });
}

void TSysItem::selectCell(int row, int column) {
  QTableWidget* grid = ui->StringGrid1;
  if (grid->rowCount() == 0) return;
  row = std::clamp(row, 0, grid->rowCount() - 1);
  grid->setCurrentCell(row, column);
  grid->setFocus();
}

void TSysItem::walkEnter() {
  QTableWidget* grid = ui->StringGrid1;
  int row = grid->currentRow();
  int column = grid->currentColumn();
  if (row < 0) return;
  if (column >= static_cast<int>(item::kPicture)) {
    row = row + 1 < grid->rowCount() ? row + 1 : 0;
    column = static_cast<int>(item::kName);
  } else if (column == static_cast<int>(item::kBatchSize)) {
    column = static_cast<int>(item::kPrize);
  } else {
    column = std::max(column + 1, static_cast<int>(item::kName));
  }
  grid->setCurrentCell(row, column);
}

bool TSysItem::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->Image1 && event->type() == QEvent::MouseButtonDblClick) {
    changePicture();
    return true;
  }
  if (watched == ui->StringGrid1->viewport()) {
    QTableWidget* grid = ui->StringGrid1;
    if (event->type() == QEvent::MouseButtonPress) {
      const QModelIndex at = grid->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
      if (at.isValid() && at.column() == static_cast<int>(item::kSerial)) {
        dragFrom_ = at.row();
        grid->viewport()->setCursor(Qt::SizeVerCursor);
        return true;
      }
    } else if (event->type() == QEvent::MouseButtonRelease && dragFrom_ >= 0) {
      const QModelIndex at = grid->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
      const int from = dragFrom_;
      dragFrom_ = -1;
      grid->viewport()->unsetCursor();
      if (at.isValid() && at.row() != from) moveRow(from, at.row());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

// ---- commands -----------------------------------------------------------------

void TSysItem::save() {
  screen::commitOpenEditor(*ui->StringGrid1);
  renumber();
  const base::ConfigFiles& files = folder_.configFiles();
  base::IniFile config = files.openConfig();
  // A row the operator changed and has not left yet was never checked; rows
  // nobody changed are not the operator's business here (a row the
  // supplementary places made has 0 places of its own, and must keep them).
  for (int r = 0; r < ui->StringGrid1->rowCount(); ++r) {
    awards::EditedRow edited = editedRow(r);
    if (!awards::hasName(edited.cells) || !awards::changedSinceRead(edited)) continue;
    const auto notices = awards::normaliseRow(edited.cells);
    setRowCells(r, edited.cells);
    showNotices(notices);
  }
  const int row = ui->StringGrid1->currentRow();
  const int column = ui->StringGrid1->currentColumn();
  fillGrid(awards::saveEditedRows(config, gridRows()));
  if (row >= 0) {
    const bool wasLoading = loading_;
    loading_ = true;
    ui->StringGrid1->setCurrentCell(std::min(row, ui->StringGrid1->rowCount() - 1), std::max(column, 1));
    loading_ = wasLoading;
  }

  screen::AwardScreenSettings s;
  s.rollingSpeed = ui->TrackBar1->value();
  s.speedRamp = ui->CheckBox13->isChecked();
  s.drawOrder = ui->RadioButton2->isChecked() ? 1 : 0;
  s.privacyOn = ui->CheckBox2->isChecked();
  s.privacyBegin = toGbk(ui->Edit1->text());
  s.privacyEnd = toGbk(ui->Edit2->text());
  s.repeatWinning = ui->CheckBox1->isChecked();
  s.groupDisplay = ui->CheckBox9->isChecked();
  s.awardPreparation = ui->CheckBox15->isChecked();
  for (std::size_t i = 0; i < screen::kShowTickCount; ++i)
    s.showTicks[i] = tickBox(static_cast<ShowTick>(i))->isChecked();
  s.autoStop = ui->CheckBox16->isChecked();
  s.autoStopSeconds = toGbk(ui->Edit3->text());
  s.autoStart = ui->CheckBox17->isChecked();
  s.autoStartSeconds = toGbk(ui->Edit4->text());
  screen::saveAwardScreenSettings(config, s);
  screen::applyAwardScreenSettings(s, data_.settings);
  if (link_.hideCountdown) link_.hideCountdown();
}

void TSysItem::accept() {
  if (dialogs_.reportFailures([this] { save(); })) QDialog::accept();
}

void TSysItem::reject() {
  data_.state.changed = false;
  QDialog::reject();
}

void TSysItem::addAward() {
  if (!dialogs_.reportFailures([this] { save(); })) return;
  QTableWidget* grid = ui->StringGrid1;
  loading_ = true;
  if (grid->rowCount() == 1 && !awards::hasName(rowCells(0))) grid->setRowCount(0);
  const int row = grid->rowCount();
  grid->insertRow(row);
  setEditedRow(row, {awards::newRow(static_cast<std::size_t>(row) + 1, ""), {}, 0});
  loading_ = false;
  const std::optional<QString> name =
      dialogs_.text(QStringLiteral("增加奖项"), QStringLiteral("请输入奖项名称"), QString());
  if (!name || name->isEmpty()) {
    loading_ = true;
    grid->removeRow(row);
    if (grid->rowCount() == 0) fillGrid({});
    loading_ = false;
  } else {
    setCell(grid, row, static_cast<int>(item::kName), *name);
  }
  selectCell(grid->rowCount() - 1, static_cast<int>(item::kName));
}

void TSysItem::deleteAward() {
  QTableWidget* grid = ui->StringGrid1;
  const int row = std::max(grid->currentRow(), 0);
  const QString name = cellText(grid, row, static_cast<int>(item::kName));
  if (dialogs_.question(QStringLiteral("确定要删除") + name + QStringLiteral("吗?"), false, QStringLiteral("提示"))) {
    loading_ = true;
    grid->removeRow(row);
    loading_ = false;
  }
  dialogs_.reportFailures([this] { save(); });
  selectCell(row, std::max(grid->currentColumn(), static_cast<int>(item::kName)));
}

void TSysItem::moveRow(int from, int to) {
  QTableWidget* grid = ui->StringGrid1;
  if (from < 0 || to < 0 || from >= grid->rowCount() || to >= grid->rowCount() || from == to) return;
  loading_ = true;
  const awards::EditedRow moved = editedRow(from);
  grid->removeRow(from);
  grid->insertRow(to);
  setEditedRow(to, moved);
  renumber();
  grid->setCurrentCell(to, static_cast<int>(item::kName));
  loading_ = false;
  dialogs_.reportFailures([this] { save(); });
  markChanged();
}

void TSysItem::defaultBatches() {
  dialogs_.reportFailures([this] {
    std::vector<awards::Row> rows;
    std::vector<int> at;
    for (int r = 0; r < ui->StringGrid1->rowCount(); ++r) {
      awards::Row cells = rowCells(r);
      if (!awards::hasName(cells)) continue;  // the empty row of an event without awards
      rows.push_back(std::move(cells));
      at.push_back(r);
    }
    auto writeBack = [&] {
      for (std::size_t i = 0; i < rows.size(); ++i) setRowCells(at[i], rows[i]);
    };
    std::vector<awards::Notice> notices;
    try {
      notices = awards::applyDefaultBatches(rows);
    } catch (const base::ConversionError&) {
      writeBack();
      throw;
    }
    writeBack();
    showNotices(notices);
  });
}

// ---- the prize picture --------------------------------------------------------

void TSysItem::showPreview(int row) {
  previewFile_.clear();
  ui->Image1->clear();
  if (row < 0 || row >= ui->StringGrid1->rowCount()) return;
  const std::string cell = toGbk(cellText(ui->StringGrid1, row, static_cast<int>(item::kPicture)));
  if (cell.empty()) return;
  const std::optional<fs::path> file = screen::PrizePictures::awardPictureFile(folder_.programDir(), cell);
  if (!file) return;
  const QImage picture = screen::readFitting(*file, ui->Image1->size());
  if (picture.isNull()) return;
  previewFile_ = platform::toQString(*file);
  ui->Image1->setPixmap(QPixmap::fromImage(picture));
}

void TSysItem::changePicture() {
  const std::optional<screen::ChosenPicture> chosen =
      screen::chooseAndAdoptPicture(dialogs_, folder_.programDir() / "prize");
  if (!chosen) return;
  QTableWidget* grid = ui->StringGrid1;
  const int row = std::max(grid->currentRow(), 0);
  setCell(grid, row, static_cast<int>(item::kPicture), fromGbk(chosen->kept.gbkName));
  showPreview(row);
  markChanged();
}

}  // namespace dialogs
