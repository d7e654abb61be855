#include "scoring/TJudgePhones.h"

#include <QHeaderView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalBlocker>
#include <QTimer>

#include "base/config_files.h"
#include "base/conversion_error.h"
#include "platform/qt_gbk.h"
#include "scoring/core/judge_access.h"
#include "scoring/core/programme_lists.h"
#include "scoring/web/phone_scoring.h"
#include "scoring/web/qr_code.h"
#include "screen/window_fit.h"
#include "ui_TJudgePhones.h"

namespace scoring {

using platform::fromGbk;
using platform::toGbk;

namespace {
enum JudgeColumn { kName, kLocked, kLastTime, kLastAddress, kCount, kLink, kJudgeColumns };
enum ProgrammeColumn { kOrder, kProgrammeName, kClosed, kProgrammeColumns };

QTableWidgetItem* readOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

QTableWidgetItem* tick(bool on) {
  auto* item = new QTableWidgetItem();
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
  item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  return item;
}
}  // namespace

TJudgePhones::TJudgePhones(web::PhoneScoring& phones, screen::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TJudgePhones>()), phones_(phones), dialogs_(dialogs) {
  ui->setupUi(this);
  ui->judgeTable->setColumnCount(kJudgeColumns);
  ui->judgeTable->setHorizontalHeaderLabels({QStringLiteral("评委"), QStringLiteral("锁定"), QStringLiteral("最后评分"),
                                             QStringLiteral("来自"), QStringLiteral("次数"), QStringLiteral("链接")});
  ui->programmeTable->setColumnCount(kProgrammeColumns);
  ui->programmeTable->setHorizontalHeaderLabels(
      {QStringLiteral("顺序"), QStringLiteral("节目名称"), QStringLiteral("停止评分")});
  for (QTableWidget* table : {ui->judgeTable, ui->programmeTable}) {
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setStretchLastSection(true);
  }
  ui->judgeTable->setColumnWidth(kName, 100);
  ui->judgeTable->setColumnWidth(kLocked, 50);
  ui->judgeTable->setColumnWidth(kLastTime, 80);
  ui->judgeTable->setColumnWidth(kLastAddress, 120);
  ui->judgeTable->setColumnWidth(kCount, 50);
  ui->programmeTable->setColumnWidth(kOrder, 50);
  ui->programmeTable->setColumnWidth(kProgrammeName, 240);
  screen::fitToScreen(*this);

  load();

  connect(ui->serveBox, &QCheckBox::toggled, this, [this](bool on) {
    if (!setServing(on)) {
      QSignalBlocker hold(ui->serveBox);
      ui->serveBox->setChecked(false);
    }
  });
  connect(ui->judgeTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == kLocked) setJudgeLock(item->row(), item->checkState() == Qt::Checked);
  });
  connect(ui->programmeTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == kClosed) setProgrammeClosedAt(item->row(), item->checkState() == Qt::Checked);
  });
  connect(ui->judgeTable, &QTableWidget::itemSelectionChanged, this, &TJudgePhones::showSelectedCode);
  connect(ui->renewButton, &QPushButton::clicked, this, &TJudgePhones::renewSelectedLink);
  connect(ui->fullScreenButton, &QPushButton::clicked, this, [this] {
    std::vector<JudgeLink> all = links();
    if (all.empty() || all.front().link.isEmpty()) {
      dialogs_.message(QStringLiteral("请先开启手机评分,评委的链接和二维码才会产生。"));
      return;
    }
    TQrFullScreen screen(all, std::max(0, ui->judgeTable->currentRow()), this);
    screen.setWindowState(Qt::WindowFullScreen);
    screen.exec();
  });
  connect(ui->printButton, &QPushButton::clicked, this, [this] {
    if (links().empty() || links().front().link.isEmpty()) {
      dialogs_.message(QStringLiteral("请先开启手机评分,评委的链接和二维码才会产生。"));
      return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) printLinks(printer);
  });
  connect(ui->closeButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(&phones_, &web::PhoneScoring::scoreStored, this, &TJudgePhones::refreshActivity);
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &TJudgePhones::refreshActivity);
  timer->start(1000);
}

TJudgePhones::~TJudgePhones() = default;

void TJudgePhones::load() {
  base::IniFile config = base::ConfigFiles(phones_.programDir()).openConfig();
  const PhoneSettings settings = readPhoneSettings(config);
  {
    QSignalBlocker hold(ui->serveBox);
    ui->serveBox->setChecked(phones_.isRunning());
  }
  ui->portBox->setValue(phones_.isRunning() ? phones_.port() : settings.port);
  ui->stepEdit->setText(QString::fromStdString(settings.stepText));
  ui->portBox->setEnabled(!phones_.isRunning());
  ui->stepEdit->setEnabled(!phones_.isRunning());
  ui->stateLabel->setText(phones_.isRunning()
                              ? QStringLiteral("正在运行:http://%1:%2").arg(phones_.address()).arg(phones_.port())
                              : QStringLiteral("手机评分未开启"));

  const std::vector<PhoneJudge> judges = readPhoneJudges(config);
  QSignalBlocker holdJudges(ui->judgeTable);
  const int selected = std::max(0, ui->judgeTable->currentRow());
  ui->judgeTable->setRowCount(static_cast<int>(judges.size()));
  for (int row = 0; row < static_cast<int>(judges.size()); ++row) {
    const PhoneJudge& judge = judges[static_cast<std::size_t>(row)];
    ui->judgeTable->setItem(row, kName, readOnly(fromGbk(judge.name)));
    ui->judgeTable->setItem(row, kLocked, tick(judge.locked));
    const QString link = phones_.link(judge.token);
    ui->judgeTable->setItem(row, kLink, readOnly(link.isEmpty() ? QStringLiteral("开启手机评分后产生") : link));
  }
  const std::vector<Programme> programmes = readProgrammes(config);
  QSignalBlocker holdProgrammes(ui->programmeTable);
  ui->programmeTable->setRowCount(static_cast<int>(programmes.size()));
  for (int row = 0; row < static_cast<int>(programmes.size()); ++row) {
    const Programme& programme = programmes[static_cast<std::size_t>(row)];
    ui->programmeTable->setItem(row, kOrder, readOnly(QString::fromStdString(programme.order)));
    ui->programmeTable->setItem(row, kProgrammeName, readOnly(fromGbk(programme.name)));
    ui->programmeTable->setItem(row, kClosed, tick(isProgrammeClosed(config, programme.order)));
  }
  refreshActivity();
  if (!judges.empty()) ui->judgeTable->selectRow(std::min(selected, static_cast<int>(judges.size()) - 1));
  showSelectedCode();
}

bool TJudgePhones::setServing(bool on) {
  if (!on) {
    phones_.stop();
    load();
    return true;
  }
  const QString step = ui->stepEdit->text().trimmed();
  const std::optional<double> stepValue = base::parseDouble(step.toStdString());
  if (!stepValue || *stepValue <= 0 || *stepValue > 100) {
    dialogs_.message(QStringLiteral("分数步长必须是大于0的数字,例如 0.1 或 0.5。"));
    return false;
  }
  bool started = false;
  dialogs_.reportFailures([&] {
    base::IniFile config = base::ConfigFiles(phones_.programDir()).openConfig();
    storePhoneSettings(config, ui->portBox->value(), step.toStdString());
    const QString problem = phones_.start(static_cast<quint16>(ui->portBox->value()));
    if (!problem.isEmpty())
      dialogs_.message(problem);
    else
      started = true;
  });
  load();
  return started;
}

void TJudgePhones::renewSelectedLink() {
  const int row = ui->judgeTable->currentRow();
  if (row < 0) return;
  const QString name = ui->judgeTable->item(row, kName)->text();
  if (!dialogs_.question(QStringLiteral("更换 %1 的链接后,旧链接和旧二维码立即失效。确定更换吗?").arg(name))) return;
  dialogs_.reportFailures([&] {
    base::IniFile config = base::ConfigFiles(phones_.programDir()).openConfig();
    renewJudgeToken(config, toGbk(name));
  });
  load();
}

void TJudgePhones::setJudgeLock(int row, bool locked) {
  const QString name = ui->judgeTable->item(row, kName)->text();
  dialogs_.reportFailures([&] {
    base::IniFile config = base::ConfigFiles(phones_.programDir()).openConfig();
    setJudgeLocked(config, toGbk(name), locked);
  });
}

void TJudgePhones::setProgrammeClosedAt(int row, bool closed) {
  const std::string order = ui->programmeTable->item(row, kOrder)->text().toStdString();
  dialogs_.reportFailures([&] {
    base::IniFile config = base::ConfigFiles(phones_.programDir()).openConfig();
    setProgrammeClosed(config, order, closed);
  });
}

std::vector<JudgeLink> TJudgePhones::links() const {
  base::IniFile config = base::ConfigFiles(phones_.programDir()).openConfig();
  std::vector<JudgeLink> all;
  for (const PhoneJudge& judge : readPhoneJudges(config))
    all.push_back({fromGbk(judge.name), phones_.link(judge.token)});
  return all;
}

void TJudgePhones::printLinks(QPrinter& printer) const {
  QPainter painter(&printer);
  const QRect page = painter.viewport();
  bool first = true;
  for (const JudgeLink& judge : links()) {
    if (!first) printer.newPage();
    first = false;
    QFont title = painter.font();
    title.setPixelSize(std::max(12, page.height() / 20));
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, page.height() / 12, page.width(), page.height() / 10), Qt::AlignCenter,
                     QStringLiteral("评委:%1").arg(judge.name));
    const int side = std::min(page.width(), page.height()) * 2 / 3;
    QImage code = web::qrCodeImage(judge.link, 1);
    painter.drawImage(QRect((page.width() - side) / 2, page.height() / 4, side, side), code);
    QFont small = painter.font();
    small.setPixelSize(std::max(8, page.height() / 50));
    small.setBold(false);
    painter.setFont(small);
    painter.drawText(QRect(0, page.height() / 4 + side + page.height() / 40, page.width(), page.height() / 10),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere,
                     judge.link + QStringLiteral("\n用手机扫描二维码,在打开的页面上为节目打分"));
  }
}

void TJudgePhones::refreshActivity() {
  const auto activity = phones_.activity();
  QSignalBlocker hold(ui->judgeTable);
  for (int row = 0; row < ui->judgeTable->rowCount(); ++row) {
    auto found = activity.find(toGbk(ui->judgeTable->item(row, kName)->text()));
    const bool seen = found != activity.end();
    ui->judgeTable->setItem(row, kLastTime, readOnly(seen ? QString::fromStdString(found->second.time) : QString()));
    ui->judgeTable->setItem(row, kLastAddress,
                            readOnly(seen ? QString::fromStdString(found->second.address) : QString()));
    ui->judgeTable->setItem(row, kCount, readOnly(seen ? QString::number(found->second.scores) : QString()));
  }
}

void TJudgePhones::showSelectedCode() {
  const int row = ui->judgeTable->currentRow();
  if (row < 0 || !ui->judgeTable->item(row, kName)) {
    ui->qrName->clear();
    ui->qrImage->clear();
    ui->qrLink->clear();
    return;
  }
  const QString name = ui->judgeTable->item(row, kName)->text();
  ui->qrName->setText(QStringLiteral("评委:%1").arg(name));
  const std::vector<JudgeLink> all = links();
  const QString link = row < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(row)].link : QString();
  if (link.isEmpty()) {
    ui->qrImage->setText(QStringLiteral("开启手机评分后\n这里显示二维码"));
    ui->qrLink->clear();
    return;
  }
  QImage code = web::qrCodeImage(link, 1);
  ui->qrImage->setPixmap(QPixmap::fromImage(code.scaled(250, 250, Qt::KeepAspectRatio, Qt::FastTransformation)));
  ui->qrLink->setText(link);
}

}  // namespace scoring
