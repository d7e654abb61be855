#include "console/TConsole.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "base/conversion_error.h"
#include "console/draw_preview.h"
#include "platform/qt_gbk.h"
#include "screen/command_table.h"
#include "screen/dialog_service.h"
#include "screen/main_menu.h"
#include "ui_TConsole.h"

using platform::fromGbk;

namespace console {

namespace {

// The most winners the list shows: a batch has at most 31.
constexpr std::size_t kMaxListed = 31;

QString countText(const draw::DrawData& data, std::size_t row, std::size_t column) {
  try {
    return QString::number(data.count(row, column));
  } catch (const base::ConversionError&) {
    return fromGbk(data.ItemGrid.cell(column, row));  // shown as stored; the draw reports it
  }
}

}  // namespace

TConsole::TConsole(const draw::DrawData& data, screen::MainMenu& menu, screen::CommandTable& commands,
                   screen::DialogService& dialogs, std::function<ConsoleStatus()> status, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui(std::make_unique<Ui::TConsole>()),
      data_(data),
      menu_(menu),
      commands_(commands),
      dialogs_(dialogs),
      status_(std::move(status)) {
  ui->setupUi(this);
  QHeaderView* header = ui->awardTable->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(1, QHeaderView::Stretch);  // the prize names take the room left
  ui->awardTable->verticalHeader()->hide();
  ui->awardTable->verticalHeader()->setDefaultSectionSize(ui->awardTable->fontMetrics().height() + 6);
  ui->singleAwardButton->setMenu(menu_.submenu(QStringLiteral("N89")));
  ui->menuButton->setMenu(menu_.menu());
  ui->stageScreenButton->hide();
  refreshTimer_.setSingleShot(true);
  connect(&refreshTimer_, &QTimer::timeout, this, &TConsole::refresh);
  pollTimer_.setInterval(250);
  connect(&pollTimer_, &QTimer::timeout, this, &TConsole::refresh);
  pollTimer_.start();
  connectButtons();
  refresh();
}

TConsole::~TConsole() = default;

DrawPreview* TConsole::preview() const { return ui->preview; }

void TConsole::setStageScreenMenu(QMenu* menu) {
  ui->stageScreenButton->setMenu(menu);
  ui->stageScreenButton->setVisible(menu != nullptr);
}

void TConsole::connectButtons() {
  for (const screen::CommandTable::Command& command : commands_.commands()) {
    auto* button = findChild<QPushButton*>(command.consoleButton);
    if (command.consoleButton.isEmpty() || button == nullptr) continue;
    const QString name = command.consoleButton;
    // While a display is up only its closing is taken: nothing else may run inside the display's command.
    const bool closesDisplay = command.key == Qt::Key_F11;
    connect(button, &QPushButton::clicked, this, [this, name, closesDisplay] {
      if (displayUp() && !closesDisplay) return;
      commands_.triggerButton(name);
      scheduleRefresh();
    });
  }
}

bool TConsole::displayUp() const { return dialogs_.runningDisplay() != nullptr; }

void TConsole::press(int key) {
  if (displayUp() && key != Qt::Key_F11) return;
  emit keyPressed(key);
  scheduleRefresh();
}

void TConsole::keyPressEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  const int key = event->key();
  const bool drawKey = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter ||
                       (key >= Qt::Key_F1 && key <= Qt::Key_F11);
  if (!drawKey) {
    QWidget::keyPressEvent(event);
    return;
  }
  press(key);
}

void TConsole::contextMenuEvent(QContextMenuEvent* event) {
  if (displayUp()) return;
  menu_.menu()->popup(event->globalPos());
}

void TConsole::closeWithProgram() {
  programEnding_ = true;
  close();
}

void TConsole::closeEvent(QCloseEvent* event) {
  if (programEnding_) {
    event->accept();
    return;
  }
  // The operator closed the console's window: the program ends from the draw
  // screen's exit, after a question, never by the console alone.
  event->ignore();
  if (!displayUp()) emit closeRequested();
}

void TConsole::scheduleRefresh() {
  if (!refreshTimer_.isActive()) refreshTimer_.start(0);
}

void TConsole::refresh() {
  const ConsoleStatus status = status_ ? status_() : ConsoleStatus{};
  ui->eventLabel->setText(status.event);
  ui->startButton->setText(status.startCaption + QStringLiteral(" [空格]"));
  QString countdown;
  if (!status.countdown.isEmpty()) countdown = QStringLiteral("倒计时: ") + status.countdown;
  if (status.winnersDisplayPending)
    countdown += (countdown.isEmpty() ? QString() : QStringLiteral("  ")) + QStringLiteral("中奖名单即将展示");
  ui->countdownLabel->setText(countdown);
  const bool up = displayUp();
  for (QWidget* w : std::initializer_list<QWidget*>{ui->startButton, ui->singleAwardButton, ui->giveUpButton,
                                                    ui->supplementaryButton, ui->menuButton, ui->stageScreenButton,
                                                    ui->prizeButton, ui->detailsButton, ui->rankingButton,
                                                    ui->currentWinnersButton, ui->allWinnersButton})
    if (w->isEnabled() == up) w->setEnabled(!up);
  if (ui->closeDisplayButton->isEnabled() != up) ui->closeDisplayButton->setEnabled(up);

  const std::string& current = data_.state.currentAward;
  std::size_t row = 0;
  try {
    const long long serial = current.empty() ? 0 : std::stoll(current);
    if (data_.isAwardRow(serial)) row = static_cast<std::size_t>(serial);
  } catch (const std::exception&) {
  }
  if (row > 0) {
    ui->awardLabel->setText(fromGbk(data_.ItemGrid.cell(draw::item::kName, row)));
    ui->prizeLabel->setText(QStringLiteral("奖品: ") + fromGbk(data_.ItemGrid.cell(draw::item::kPrize, row)));
    ui->progressLabel->setText(QStringLiteral("已抽取 %1 / %2")
                                   .arg(countText(data_, row, draw::item::kDrawn))
                                   .arg(countText(data_, row, draw::item::kPlaces)));
  } else {
    ui->awardLabel->setText(QStringLiteral("尚未开始抽奖"));
    ui->prizeLabel->clear();
    ui->progressLabel->clear();
  }
  const qint64 pictureKey = status.prizePicture.isNull() ? 0 : status.prizePicture.cacheKey();
  if (pictureKey != shownPictureKey_) {
    shownPictureKey_ = pictureKey;
    if (pictureKey == 0)
      ui->prizePicture->clear();
    else
      ui->prizePicture->setPixmap(
          status.prizePicture.scaled(ui->prizePicture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }
  ui->nextAwardLabel->setText(nextAwardText());
  refreshAwards();
  refreshLastBatch(status.rolling);
}

std::size_t TConsole::nextAwardRow() const {
  // The draw order walks the award rows down (0) or up (1); the next award is
  // the first after the current one that has places left.
  const std::size_t count = data_.awardRowCount();
  std::vector<std::size_t> order;
  for (std::size_t k = 1; k <= count; ++k) order.push_back(data_.settings.drawOrder == 0 ? k : count + 1 - k);
  std::size_t from = 0;
  try {
    const long long current = data_.state.currentAward.empty() ? 0 : std::stoll(data_.state.currentAward);
    for (std::size_t i = 0; i < order.size(); ++i)
      if (static_cast<long long>(order[i]) == current) from = i + 1;
  } catch (const std::exception&) {
  }
  for (std::size_t i = from; i < order.size(); ++i) {
    try {
      if (data_.remaining(order[i]) > 0) return order[i];
    } catch (const base::ConversionError&) {
    }
  }
  return 0;
}

QString TConsole::nextAwardText() const {
  const std::size_t next = nextAwardRow();
  if (next == 0) return QStringLiteral("下一奖项: 无");
  return QStringLiteral("下一奖项: ") + fromGbk(data_.ItemGrid.cell(draw::item::kName, next));
}

void TConsole::refreshAwards() {
  // Rebuilt only when a cell changed: the console refreshes while names roll.
  std::vector<std::string> cells;
  const std::size_t count = data_.awardRowCount();
  for (std::size_t row = 1; row <= count; ++row) {
    cells.push_back(data_.ItemGrid.cell(draw::item::kName, row));
    cells.push_back(data_.ItemGrid.cell(draw::item::kPrize, row));
    for (std::size_t column : {draw::item::kPlaces, draw::item::kDrawn, draw::item::kShortfall, draw::item::kGivenUp,
                               draw::item::kSupplementary})
      cells.push_back(data_.ItemGrid.cell(column, row));
  }
  cells.push_back(data_.state.currentAward);
  if (cells == shownTable_) return;
  shownTable_ = std::move(cells);
  QTableWidget* table = ui->awardTable;
  table->setRowCount(static_cast<int>(count));
  for (std::size_t row = 1; row <= count; ++row) {
    QString left;
    try {
      left = QString::number(std::max(0, data_.remaining(row)));
    } catch (const base::ConversionError&) {
      left = QStringLiteral("?");
    }
    int placesShown = 0;
    QString places;
    try {
      placesShown = data_.places(row);
      places = QString::number(placesShown);
    } catch (const base::ConversionError&) {
      places = QStringLiteral("?");
    }
    const QString texts[] = {fromGbk(data_.ItemGrid.cell(draw::item::kName, row)),
                             fromGbk(data_.ItemGrid.cell(draw::item::kPrize, row)), places,
                             countText(data_, row, draw::item::kDrawn), left};
    const bool current = data_.state.currentAward == std::to_string(row);
    for (int column = 0; column < 5; ++column) {
      auto* item = new QTableWidgetItem(texts[column]);
      QFont font = item->font();
      font.setBold(current);
      item->setFont(font);
      table->setItem(static_cast<int>(row - 1), column, item);
    }
  }
}

void TConsole::refreshLastBatch(bool rolling) {
  // The winners recorded since the last batch started; before the first batch
  // of this run, the last records of the award recorded last.
  const std::size_t winners = data_.winnerCount();
  if (rolling && !wasRolling_) {
    winnersAtStart_ = winners;
    batchSeen_ = true;
  }
  wasRolling_ = rolling;
  if (rolling) return;
  std::size_t first = winnersAtStart_ + 1;
  if (!batchSeen_ && winners > 0) {
    const std::string& award = data_.LuckNameGrid.cell(draw::winner::kAwardSerial, winners);
    first = winners;
    while (first > 1 && winners - first + 1 < kMaxListed &&
           data_.LuckNameGrid.cell(draw::winner::kAwardSerial, first - 1) == award)
      --first;
  }
  if (winners < winnersAtStart_) first = 1;  // a give-up or restart shortened the record
  QStringList names;
  for (std::size_t r = first; r <= winners && names.size() < static_cast<int>(kMaxListed); ++r)
    names << fromGbk(data_.LuckNameGrid.cell(draw::winner::kDisplayName, r));
  if (names == lastWinners()) return;
  ui->lastWinners->clear();
  ui->lastWinners->addItems(names);
}

QStringList TConsole::lastWinners() const {
  QStringList names;
  for (int i = 0; i < ui->lastWinners->count(); ++i) names << ui->lastWinners->item(i)->text();
  return names;
}

}  // namespace console
