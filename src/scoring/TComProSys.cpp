#include "scoring/TComProSys.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <QImageWriter>
#include <QMenu>
#include <QSignalBlocker>

#include "base/config_files.h"
#include "base/file_error.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "platform/desktop_open.h"
#include "platform/qt_gbk.h"
#include "scoring/core/scoring_file.h"
#include "scoring/scoring_grid.h"
#include "screen/digit_field.h"
#include "screen/window_fit.h"
#include "ui_TComProSys.h"

namespace scoring {

namespace fs = std::filesystem;
using platform::fromGbk;
using platform::toGbk;

namespace {

// The scoring file's open and save dialogs.
const QString kScoringFileFilter = QStringLiteral("txt 文件(*.txt)");

}  // namespace

TComProSys::TComProSys(fs::path programDir, screen::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TComProSys>()), programDir_(std::move(programDir)), dialogs_(dialogs) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  ui->StringGrid1->setRowDragging(true);
  ui->StringGrid2->verticalHeader()->setDefaultSectionSize(24);
  for (ScoringGrid* grid : {ui->StringGrid1, ui->StringGrid2}) {
    grid->verticalHeader()->hide();
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
  }
  (new screen::DigitFieldFilter(dialogs_, this))->attach(ui->Edit2);
  ui->Image1->installEventFilter(this);
  ui->Image1->setContextMenuPolicy(Qt::CustomContextMenu);

  auto* programmeMenu = new QMenu(this);
  connect(programmeMenu->addAction(QStringLiteral("删除节目")), &QAction::triggered, this,
          &TComProSys::deleteProgramme);
  auto* judgeMenu = new QMenu(this);
  connect(judgeMenu->addAction(QStringLiteral("删除评委")), &QAction::triggered, this, &TComProSys::deleteJudge);
  auto* photoMenu = new QMenu(this);
  connect(photoMenu->addAction(QStringLiteral("清除照片")), &QAction::triggered, this, &TComProSys::clearPhoto);
  connect(ui->StringGrid1, &QWidget::customContextMenuRequested, this,
          [this, programmeMenu](QPoint at) { programmeMenu->popup(ui->StringGrid1->viewport()->mapToGlobal(at)); });
  connect(ui->StringGrid2, &QWidget::customContextMenuRequested, this,
          [this, judgeMenu](QPoint at) { judgeMenu->popup(ui->StringGrid2->viewport()->mapToGlobal(at)); });
  connect(ui->Image1, &QWidget::customContextMenuRequested, this,
          [this, photoMenu](QPoint at) { photoMenu->popup(ui->Image1->mapToGlobal(at)); });

  connect(ui->StringGrid1, &ScoringGrid::editingStarted, this, &TComProSys::programmeEditingStarted);
  connect(ui->StringGrid1, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int, int) { programmeCellSelected(row); });
  connect(ui->StringGrid1, &ScoringGrid::rowDragged, this, [this] { renumberProgrammes(); });
  connect(ui->StringGrid2, &ScoringGrid::editingStarted, this, &TComProSys::judgeEditingStarted);
  connect(ui->StringGrid2, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int, int) { judgeCellSelected(row); });

  connect(ui->choosePath, &QPushButton::clicked, this, [this] {
    const QString chosen =
        dialogs_.openFileName(QString(), platform::toQString(programDir_ / "data"), kScoringFileFilter);
    if (!chosen.isEmpty()) ui->Edit1->setText(chosen);
  });
  connect(ui->openFile, &QPushButton::clicked, this, [this] { openInEditor(ui->Edit1->text()); });
  connect(ui->generateFile, &QPushButton::clicked, this, &TComProSys::generateBlankFile);
  ui->phoneScoring->hide();
  connect(ui->Button1, &QPushButton::clicked, this, [this] {
    if (store()) accept();
  });
  connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
  FormCreate();
}

TComProSys::~TComProSys() = default;

ScoringGrid* TComProSys::programmeGrid() const { return ui->StringGrid1; }
ScoringGrid* TComProSys::judgeGrid() const { return ui->StringGrid2; }

void TComProSys::FormCreate() {
  ScoringGrid* programmes = ui->StringGrid1;
  programmes->setColumnCount(3);
  programmes->setHorizontalHeaderLabels({QStringLiteral("顺序"), QStringLiteral("节目名称"), QStringLiteral("表演者")});
  programmes->setColumnWidth(0, 50);
  programmes->setColumnWidth(1, 140);
  programmes->setColumnWidth(2, 80);
  ScoringGrid* judges = ui->StringGrid2;
  judges->setColumnCount(1);
  judges->setHorizontalHeaderLabels({QStringLiteral("评委姓名")});
  judges->setColumnWidth(0, 100);

  base::IniFile config = base::ConfigFiles(programDir_).openConfig();
  const ScoringSetup stored = readSetup(config);
  std::vector<std::vector<std::string>> rows;
  for (const Programme& programme : stored.programmes)
    rows.push_back({programme.order, programme.name, programme.performer});
  fillGrid(programmes, rows);
  rows.clear();
  for (const std::string& judge : stored.judges) rows.push_back({judge});
  fillGrid(judges, rows);

  ui->CheckBox1->setChecked(stored.dropHighest);
  ui->CheckBox2->setChecked(stored.dropLowest);
  (stored.layout == FileLayout::ByJudge ? ui->byJudge : ui->byProgramme)->setChecked(true);
  ui->Edit2->setText(fromGbk(stored.fullScore));
  const fs::path configured = storedPathToFs(programDir_, stored.filePath);
  ui->Edit1->setText(base::isFile(configured) ? fromGbk(stored.filePath)
                                              : platform::toQString(defaultScoringFile(programDir_)));
  judges->setCurrentCell(0, 0);
  showPhoto(0);
  showProgrammeCount();
  showJudgeCount();
}

void TComProSys::fillGrid(ScoringGrid* grid, const std::vector<std::vector<std::string>>& rows) {
  grid->setRowCount(std::max<int>(1, static_cast<int>(rows.size())));
  for (int row = 0; row < grid->rowCount(); ++row)
    for (int column = 0; column < grid->columnCount(); ++column) {
      const bool stored = row < static_cast<int>(rows.size()) && column < static_cast<int>(rows[row].size());
      grid->setCellText(row, column, stored ? fromGbk(rows[row][column]) : QString());
    }
  if (grid == ui->StringGrid1)
    for (int row = 0; row < grid->rowCount(); ++row)
      grid->item(row, 0)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

void TComProSys::renumberProgrammes() {
  ScoringGrid* grid = ui->StringGrid1;
  for (int row = 0; row < grid->rowCount(); ++row) {
    grid->setCellText(row, 0, QString::number(row + 1));
    grid->item(row, 0)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  }
}

void TComProSys::showProgrammeCount() {
  ui->programmeCount->setText(QStringLiteral("(共%1个)").arg(ui->StringGrid1->rowCount()));
}

void TComProSys::showJudgeCount() {
  ui->judgeCount->setText(QStringLiteral("(共%1位)").arg(ui->StringGrid2->rowCount()));
}

void TComProSys::programmeEditingStarted(int row) {
  ScoringGrid* grid = ui->StringGrid1;
  if (row == grid->rowCount() - 1 && grid->rowCount() < kMaxProgrammes) {
    grid->insertRow(grid->rowCount());
    for (int column = 0; column < 3; ++column) grid->setCellText(grid->rowCount() - 1, column, QString());
    grid->item(grid->rowCount() - 1, 0)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  }
  grid->setCellText(row, 0, QString::number(row + 1));
}

void TComProSys::dropEmptyLastRow(ScoringGrid* grid, int nameColumn, int selectedRow) {
  const int last = grid->rowCount() - 1;
  if (selectedRow >= 0 && selectedRow < last && grid->cellText(last, nameColumn).trimmed().isEmpty()) {
    // Removing a row moves the selection, which must not remove another one.
    const QSignalBlocker quiet(grid);
    grid->removeRow(last);
  }
}

void TComProSys::programmeCellSelected(int row) {
  dropEmptyLastRow(ui->StringGrid1, 1, row);
  showProgrammeCount();
}

void TComProSys::judgeEditingStarted(int row) {
  ScoringGrid* grid = ui->StringGrid2;
  if (row == grid->rowCount() - 1 && grid->rowCount() < kMaxJudges) {
    grid->insertRow(grid->rowCount());
    grid->setCellText(grid->rowCount() - 1, 0, QString());
  }
  showJudgeCount();
}

void TComProSys::judgeCellSelected(int row) {
  dropEmptyLastRow(ui->StringGrid2, 0, row);
  showPhoto(row);
}

void TComProSys::showPhoto(int row) {
  ui->Image1->clear();
  shownPhoto_.clear();
  const std::string name = toGbk(ui->StringGrid2->cellText(row, 0).trimmed());
  std::optional<fs::path> file = judgePhotoOrSample(programDir_, name);
  if (!file) return;
  QImage picture(platform::toQString(*file));
  if (picture.isNull()) return;
  ui->Image1->setPixmap(QPixmap::fromImage(picture));
  shownPhoto_ = *file;
}

void TComProSys::choosePhoto() {
  const int row = ui->StringGrid2->currentRow();
  const QString name = ui->StringGrid2->cellText(row, 0).trimmed();
  if (name.isEmpty()) return;
  std::optional<fs::path> target = judgePhotoPath(programDir_, toGbk(name));
  if (!target) {
    dialogs_.message(QStringLiteral("评委姓名\"%1\"不能用作照片文件名,请修改").arg(name));
    return;
  }
  const QString chosen =
      dialogs_.openFileName(QString(), platform::toQString(programDir_ / "manager"), QStringLiteral("jpg图片 (*.jpg)"));
  if (chosen.isEmpty()) return;
  QImage picture(chosen);
  if (picture.isNull()) {
    dialogs_.message(QStringLiteral("无法读取图片 %1").arg(chosen));
    return;
  }
  std::error_code ec;
  fs::create_directories(target->parent_path(), ec);
  QImageWriter writer(platform::toQString(*target), "jpg");
  writer.setQuality(90);
  if (!writer.write(picture)) {
    dialogs_.message(QStringLiteral("无法保存照片 %1").arg(platform::toQString(*target)));
    return;
  }
  showPhoto(row);
}

void TComProSys::clearPhoto() {
  const int row = ui->StringGrid2->currentRow();
  if (auto photo = judgePhotoPath(programDir_, toGbk(ui->StringGrid2->cellText(row, 0).trimmed()))) {
    std::error_code ec;
    fs::remove(*photo, ec);
  }
  showPhoto(row);
}

void TComProSys::deleteProgramme() {
  ScoringGrid* grid = ui->StringGrid1;
  int row = std::max(0, grid->currentRow());
  if (dialogs_.question(QStringLiteral("确定要删除%1吗?").arg(grid->cellText(row, 1)), false, QStringLiteral("提示"))) {
    const QSignalBlocker quiet(grid);
    grid->removeRow(row);
    // The table always keeps one row below its header.
    if (grid->rowCount() == 0) fillGrid(grid, {});
  }
  renumberProgrammes();
  grid->setCurrentCell(std::clamp(row, 0, grid->rowCount() - 1), 1);
  showProgrammeCount();
}

void TComProSys::deleteJudge() {
  ScoringGrid* grid = ui->StringGrid2;
  int row = std::max(0, grid->currentRow());
  if (dialogs_.question(QStringLiteral("确定要删除%1吗?").arg(grid->cellText(row, 0)), false, QStringLiteral("提示"))) {
    const QSignalBlocker quiet(grid);
    grid->removeRow(row);
    if (grid->rowCount() == 0) fillGrid(grid, {});
  }
  grid->setCurrentCell(std::clamp(row, 0, grid->rowCount() - 1), 0);
  showPhoto(grid->currentRow());
  showJudgeCount();
}

ScoringSetup TComProSys::setup() const {
  ScoringSetup result;
  ScoringGrid* programmes = ui->StringGrid1;
  for (int row = 0; row < programmes->rowCount(); ++row)
    result.programmes.push_back({toGbk(programmes->cellText(row, 0)), toGbk(programmes->cellText(row, 1).trimmed()),
                                 toGbk(programmes->cellText(row, 2).trimmed())});
  ScoringGrid* judges = ui->StringGrid2;
  for (int row = 0; row < judges->rowCount(); ++row) result.judges.push_back(toGbk(judges->cellText(row, 0).trimmed()));
  result.dropHighest = ui->CheckBox1->isChecked();
  result.dropLowest = ui->CheckBox2->isChecked();
  result.layout = ui->byJudge->isChecked() ? FileLayout::ByJudge : FileLayout::ByProgramme;
  result.filePath = toGbk(ui->Edit1->text());
  result.fullScore = toGbk(ui->Edit2->text());
  return result;
}

bool TComProSys::refuseBadValues() {
  bool ok = false;
  const int fullScore = ui->Edit2->text().toInt(&ok);
  if (!ok || fullScore <= 0) {
    dialogs_.message(QStringLiteral("满分必须大于0"));
    ui->Edit2->setFocus();
    return true;
  }
  // Names are checked before anything is written: one that the scoring file
  // cannot hold would lose scores or move them to another entry.
  auto refuseName = [this](ScoringGrid* grid, int row, int column, const QString& what) {
    const QString name = grid->cellText(row, column).trimmed();
    if (name.isEmpty()) return false;
    const std::optional<std::string> gbk = platform::tryToGbk(name);
    const std::string problem = gbk ? scoringNameProblem(*gbk) : "含有无法保存的字符(不完整的文字)";
    if (problem.empty()) return false;
    dialogs_.message(
        QStringLiteral("%1\"%2\"%3,否则评分文件会读错,请修改").arg(what, name, QString::fromStdString(problem)));
    grid->setCurrentCell(row, column);
    return true;
  };
  ScoringGrid* programmes = ui->StringGrid1;
  for (int row = 0; row < programmes->rowCount(); ++row)
    if (refuseName(programmes, row, 1, QStringLiteral("节目名称"))) return true;
  ScoringGrid* judges = ui->StringGrid2;
  for (int row = 0; row < judges->rowCount(); ++row) {
    if (refuseName(judges, row, 0, QStringLiteral("评委姓名"))) return true;
    const QString name = judges->cellText(row, 0).trimmed();
    if (!name.isEmpty() && !isSafeJudgeName(toGbk(name))) {
      dialogs_.message(QStringLiteral("评委姓名\"%1\"不能用作照片文件名,请修改").arg(name));
      judges->setCurrentCell(row, 0);
      return true;
    }
  }
  return false;
}

bool TComProSys::store() {
  if (refuseBadValues()) return false;
  return dialogs_.reportFailures([this] {
    base::IniFile config = base::ConfigFiles(programDir_).openConfig();
    storeSetup(config, setup());
  });
}

void TComProSys::generateBlankFile() {
  if (refuseBadValues()) return;
  // The save dialog starts in "data", where the displays look for the file.
  std::error_code ec;
  fs::create_directories(programDir_ / "data", ec);
  const QString chosen =
      dialogs_.saveFileName(QString(), platform::toQString(programDir_ / "data" / "评分文件"), kScoringFileFilter);
  if (!chosen.isEmpty()) {
    const QString path = fromGbk(withTxtSuffix(toGbk(chosen)));
    const ScoringSetup current = setup();
    const bool written = dialogs_.reportFailures([&] {
      base::writeFileAtomically(
          fs::path(path.toStdString()),
          blankScoringFile(storedProgrammes(current.programmes), storedJudges(current.judges), current.layout));
    });
    if (written) {
      ui->Edit1->setText(path);
      openInEditor(path);
    }
  }
  store();
}

void TComProSys::openInEditor(const QString& path) {
  if (!platform::openWithDesktop(platform::fileUrl(storedPathToFs(programDir_, toGbk(path)))))
    dialogs_.message(QStringLiteral("无法打开 %1").arg(path));
}

bool TComProSys::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->Image1 && event->type() == QEvent::MouseButtonDblClick) {
    choosePhoto();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TComProSys::setPhoneScoringOpener(std::function<void()> open) {
  connect(ui->phoneScoring, &QPushButton::clicked, this, std::move(open));
  ui->phoneScoring->show();
}

}  // namespace scoring
