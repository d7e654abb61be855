#include "scoring/TShowEvery.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPainter>

#include "base/config_files.h"
#include "base/gbk.h"
#include "platform/qt_gbk.h"
#include "scoring/core/photo_layout.h"
#include "screen/dialog_service.h"
#include "screen/element_menus.h"
#include "screen/picture_files.h"
#include "screen/picture_scaling.h"
#include "screen/qt_text_measurer.h"
#include "screen/sound_players.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/qt_rasteriser.h"
#include "ui_TShowEvery.h"

namespace scoring {

namespace {

using base::gbk;

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kPurple(128, 0, 128);

void setColours(QLabel* label, const QColor& text, const QColor& back) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Window, back);
  label->setPalette(palette);
}

}  // namespace

TShowEvery::TShowEvery(DisplayContext context, QWidget* parent)
    : DisplayStage(context, parent), ui(std::make_unique<Ui::TShowEvery>()), context_(std::move(context)) {
  setUpForm(*ui);
  setStandIn(builtInBackground(screenRect().size()));
  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &TShowEvery::Timer1Timer);
  for (styledtext::TSmoothLabel* label : {ui->EvMainTitle, ui->EvSecTitle, ui->ProNameTitel, ui->Result})
    prepareCaption(label);
  createJudgeWidgets();
  createMenus();
  for (styledtext::TSmoothLabel* label : {ui->EvSecTitle, ui->ProNameTitel, ui->Result})
    new screen::ElementDragFilter(
        label, [this] { return positionLocked(); }, [](QPoint) {});
  FormCreate();
}

TShowEvery::~TShowEvery() = default;

styledtext::TSmoothLabel* TShowEvery::resultLabel() const { return ui->Result; }
styledtext::TSmoothLabel* TShowEvery::programmeLabel() const { return ui->ProNameTitel; }
styledtext::TSmoothLabel* TShowEvery::subtitleLabel() const { return ui->EvSecTitle; }

void TShowEvery::createJudgeWidgets() {
  scoreFont_ = QFont(QStringLiteral("Arial Black"));
  scoreFont_.setPixelSize(20);
  scoreFont_.setBold(true);
  for (int k = 1; k <= kJudges; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("MP%1").arg(k));
    picture->setContextMenuPolicy(Qt::CustomContextMenu);
    picture->hide();
    auto* score = new QLabel(this);
    score->setObjectName(QStringLiteral("MT%1").arg(k));
    score->setAlignment(Qt::AlignCenter);
    score->setAutoFillBackground(true);
    score->setFont(scoreFont_);
    setColours(score, kBlue, Qt::white);
    score->setContextMenuPolicy(Qt::CustomContextMenu);
    score->hide();
    auto* flash = new QTimer(this);
    flash->setInterval(500);
    connect(flash, &QTimer::timeout, this, [this, k] { TMTimer(k); });
    MP_[i] = picture;
    MT_[i] = score;
    TM_[i] = flash;
  }
}

void TShowEvery::createMenus() {
  windowMenu_ = new QMenu(this);
  setWindowMenu(windowMenu_);
  connect(windowMenu_->addAction(QStringLiteral("更换背景")), &QAction::triggered, this,
          [this] { changeBackground(); });
  connect(windowMenu_->addAction(QStringLiteral("默认布局")), &QAction::triggered, this, &TShowEvery::defaultLayout);
  connect(windowMenu_->addAction(QStringLiteral("返回[F11]")), &QAction::triggered, this, &QWidget::close);

  photoMenu_ = new QMenu(this);
  screen::DetailsDisplaySettings& s = settings_;
  connect(photoMenu_->addAction(QStringLiteral("增加每行人数&")), &QAction::triggered, this, [this, &s] {
    if (s.perRow < static_cast<int>(judgeTable_.size())) ++s.perRow;
    layoutPhotos();
  });
  connect(photoMenu_->addAction(QStringLiteral("减少每行人数&")), &QAction::triggered, this, [this, &s] {
    if (s.perRow > 1) --s.perRow;
    layoutPhotos();
  });
  QMenu* widthMenu = photoMenu_->addMenu(QStringLiteral("图片宽度&"));
  connect(widthMenu->addAction(QStringLiteral("增加&")), &QAction::triggered, this, [this, &s] {
    s.photoWidth += 10;
    rebuild();
  });
  connect(widthMenu->addAction(QStringLiteral("减少&")), &QAction::triggered, this, [this, &s] {
    if (s.photoWidth > 20) s.photoWidth -= 10;
    rebuild();
  });
  QMenu* heightMenu = photoMenu_->addMenu(QStringLiteral("图片高度&"));
  connect(heightMenu->addAction(QStringLiteral("增加&")), &QAction::triggered, this, [this, &s] {
    s.photoHeight += 10;
    rebuild();
  });
  connect(heightMenu->addAction(QStringLiteral("减少&")), &QAction::triggered, this, [this, &s] {
    if (s.photoHeight > 30) s.photoHeight -= 10;
    rebuild();
  });
  showNamesItem_ = photoMenu_->addAction(QStringLiteral("显示评委姓名"));
  showNamesItem_->setCheckable(true);
  connect(showNamesItem_, &QAction::toggled, this, [&s](bool on) { s.showNames = on; });
  connect(photoMenu_->addAction(QStringLiteral("字体设置(姓名)")), &QAction::triggered, this, [this, &s] {
    if (auto chosen = dialogs().font(s.nameFont)) {
      s.nameFont.name = chosen->name;
      s.nameFont.size = chosen->size > 0 ? chosen->size : s.nameFont.size;
      s.nameFont.color = chosen->color;
      rebuild();
    }
  });
  connect(photoMenu_->addAction(QStringLiteral("字体设置(打分)")), &QAction::triggered, this, [this] {
    styledtext::FontRecord current;
    const QFont& font = scoreFont_;
    current.name = platform::toGbk(font.family());
    current.size = font.pointSize() > 0 ? font.pointSize() : 15;
    current.color = styledtext::storedColour(kBlue);
    current.bold = true;
    auto chosen = dialogs().font(current);
    if (!chosen) return;
    QFont picked = screen::qtFont(chosen->name, chosen->size > 0 ? chosen->size : current.size);
    picked.setBold(true);
    scoreFont_ = picked;
    fitScoreFont();
  });
  connect(photoMenu_->addAction(QStringLiteral("返回[F11]")), &QAction::triggered, this, &QWidget::close);
  for (int k = 1; k <= kJudges; ++k)
    for (QLabel* widget : {MP_[static_cast<std::size_t>(k - 1)], MT_[static_cast<std::size_t>(k - 1)]})
      connect(widget, &QWidget::customContextMenuRequested, this,
              [this, widget](QPoint at) { photoMenu_->popup(widget->mapToGlobal(at)); });

  addCaptionMenu(ui->EvSecTitle, true);
  addCaptionMenu(ui->ProNameTitel, false);
  addCaptionMenu(ui->Result, false);
  ui->EvMainTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShowEvery::addCaptionMenu(styledtext::TSmoothLabel* label, bool withText) {
  auto* menu = new QMenu(label);
  menu->setObjectName(label->objectName() + QStringLiteral("Menu"));
  if (withText)
    connect(menu->addAction(QStringLiteral("设置内容&")), &QAction::triggered, this, [this, label] {
      if (auto answer = askTitle(dialogs(), label->Caption())) {
        settings_.subtitleText = platform::toGbk(*answer);
        label->setCaption(*answer);
      }
    });
  connect(menu->addAction(QStringLiteral("字体设置")), &QAction::triggered, this,
          [this, label] { chooseCaptionFont(label); });
  connect(menu->addAction(QStringLiteral("字体特效")), &QAction::triggered, this,
          [this, label] { editCaptionLook(label); });
  connect(menu->addAction(QStringLiteral("居中")), &QAction::triggered, this, [this, label] { centre(label); });
  label->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(label, &QWidget::customContextMenuRequested, this,
          [label, menu](QPoint at) { menu->popup(label->mapToGlobal(at)); });
}

void TShowEvery::FormCreate() {
  for (QLabel* score : MT_) score->clear();
  setCaptionLook(ui->EvMainTitle, context_.look.mainTitleFont, context_.look.mainTitleEffect,
                 platform::fromGbk(context_.look.mainTitle));
  readSettings();
  const std::pair<styledtext::TSmoothLabel*, const screen::CaptionSettings*> captions[] = {
      {ui->EvSecTitle, &settings_.subtitle},
      {ui->ProNameTitel, &settings_.programmeLine},
      {ui->Result, &settings_.resultLine}};
  for (auto [label, stored] : captions) {
    setCaptionLook(label, stored->font, stored->effect,
                   label == ui->EvSecTitle ? platform::fromGbk(settings_.subtitleText) : QString());
    label->move(stored->position.x, stored->position.y);
  }

  inputs_ = readInputs(base::ConfigFiles(programDir()).openConfig(), programDir());
  if (inputs_.judges.size() > static_cast<std::size_t>(kJudges)) inputs_.judges.resize(kJudges);
  judgeTable_.clear();
  for (const std::string& judge : inputs_.judges) judgeTable_.push_back({judge, {}, {}});
  ScoringReading reading;
  const bool read = readCurrent(reading);
  // The lines hold their text before the photos are laid out between them.
  if (read) {
    const CurrentProgramme& current = *reading.current;
    ui->ProNameTitel->setCaption(
        platform::fromGbk(gbk("节目名称:") + current.name + gbk(" 表演者:") + current.performer));
    ui->Result->setCaption(platform::fromGbk(gbk("得分:") + current.average));
  }
  ui->EvMainTitle->move(centredLeft(ui->EvMainTitle->width()), 8);
  // Lines placed for a larger screen (or, as the stored values allow, above or
  // left of it) are moved in so that they stay whole on this one.
  for (styledtext::TSmoothLabel* label : {ui->EvSecTitle, ui->ProNameTitel, ui->Result}) keepOnScreen(label);
  for (int k = 1; k <= kJudges; ++k) {
    const bool shown = k <= static_cast<int>(judgeTable_.size());
    photo(k)->setVisible(shown);
    scoreLabel(k)->setVisible(shown);
  }
  layoutPhotos();
  if (read)
    for (std::size_t i = 0; i < judgeTable_.size(); ++i) MT_[i]->setText(platform::fromGbk(judgeTable_[i].score));
  // The programme and result lines stay readable over photos dragged under them.
  for (styledtext::TSmoothLabel* label : {ui->EvMainTitle, ui->EvSecTitle, ui->ProNameTitel, ui->Result})
    label->raise();
  playDisplaySound(context_, "节目评分明细", true, &reportedSounds_);
  Timer1.start();
}

void TShowEvery::readSettings() {
  const base::IniFile config = base::ConfigFiles(programDir()).openConfig();
  settings_ = screen::loadDetailsDisplay(config, context_.look.subTitleFont, context_.look.subTitleEffect);
  showNamesItem_->setChecked(settings_.showNames);
  showStoredBackground(settings_.background);
}

void TShowEvery::saveSettings() {
  Timer1.stop();
  for (QTimer* flash : TM_) flash->stop();
  auto stored = [](const styledtext::TSmoothLabel* label) {
    return screen::CaptionSettings{label->smoothFont(), label->FontEffect(), {label->x(), label->y()}};
  };
  settings_.subtitle = stored(ui->EvSecTitle);
  settings_.programmeLine = stored(ui->ProNameTitel);
  settings_.resultLine = stored(ui->Result);
  settings_.background = backgroundName();
  base::IniFile config = base::ConfigFiles(programDir()).openConfig();
  screen::saveDetailsDisplay(config, settings_);
}

bool TShowEvery::readCurrent(ScoringReading& reading) {
  const std::filesystem::path file = readingScoringFile(programDir(), inputs_.scoringFile);
  reading = readScores(inputs_, ScoreSheet::load(file), false, true);
  if (!reading.complete()) {
    errors_.report(dialogs(), reading.error, file);
    return false;
  }
  errors_.clear();
  judgeTable_ = reading.current->judges;
  return true;
}

void TShowEvery::buildTiles() {
  if (!tiles_.empty()) return;
  const QSize size = tileSize_;
  const styledtext::FontRecord& names = settings_.nameFont;
  QFont nameFont = screen::qtFont(names.name, names.size > 0 ? names.size : 20);
  nameFont.setBold(true);
  std::vector<std::string> missing;
  for (const JudgeLine& judge : judgeTable_) {
    QImage tile;
    if (auto file = judgePhotoOrSample(programDir(), judge.name)) tile = screen::readCovering(*file, size);
    if (tile.isNull()) {
      missing.push_back(judge.name);
      tile = QImage(size, QImage::Format_RGB32);
      tile.fill(Qt::lightGray);
    }
    if (settings_.showNames) {
      QPainter painter(&tile);
      // A name wider than a photo shrunk to fit the screen is written smaller,
      // down to 9 points, and only then cut short.
      const QString name = platform::fromGbk(judge.name);
      QFont font = nameFont;
      while (font.pointSize() > 9 && QFontMetrics(font).horizontalAdvance(name) > size.width())
        font.setPointSize(font.pointSize() - 1);
      painter.setFont(font);
      painter.setPen(styledtext::qtColour(names.color));
      painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignHCenter | Qt::AlignBottom,
                       QFontMetrics(font).elidedText(name, Qt::ElideRight, size.width()));
    }
    tiles_.push_back(QPixmap::fromImage(tile));
  }
  for (std::size_t i = 0; i < tiles_.size(); ++i) MP_[i]->setPixmap(tiles_[i]);
  // Without the photo and without image\sample.jpg the tile stays grey; the operator is told once.
  if (!missing.empty()) {
    QStringList list;
    for (const std::string& name : missing) list << platform::fromGbk(name);
    dialogs().message(QStringLiteral("找不到评委照片: %1").arg(list.join(QStringLiteral("、"))));
  }
}

void TShowEvery::rebuild() {
  tiles_.clear();
  layoutPhotos();
}

scoring::Band TShowEvery::photoBand() const {
  // A caption whose middle lies in the upper half of the screen stands above
  // the photos, one in the lower half below them.
  const int half = screenRect().height() / 2;
  scoring::Band band{0, screenRect().height()};
  for (const styledtext::TSmoothLabel* label : {ui->EvMainTitle, ui->EvSecTitle, ui->ProNameTitel, ui->Result}) {
    if (!label->isVisibleTo(this) || label->Caption().isEmpty()) continue;
    const QRect box = label->geometry();
    if (box.center().y() < half)
      band.top = std::max(band.top, box.bottom() + 11);
    else
      band.bottom = std::min(band.bottom, box.top() - 10);
  }
  return band;
}

void TShowEvery::layoutPhotos() {
  const int n = static_cast<int>(judgeTable_.size());
  PhotoLayout layout = scoring::fitPhotos(n, settings_.photoWidth, settings_.photoHeight, settings_.perRow,
                                          screenRect().width(), screenRect().height(), photoBand());
  if (n > 0) settings_.perRow = layout.perRow;
  const QSize shown(layout.photoWidth, layout.photoHeight);
  if (shown != tileSize_ || tiles_.empty()) {
    tiles_.clear();
    tileSize_ = shown;
    buildTiles();
  }
  for (int k = 1; k <= n; ++k) {
    const TilePlace& place = layout.tiles[static_cast<std::size_t>(k - 1)];
    photo(k)->setGeometry(place.left, place.top, shown.width(), shown.height());
    scoreLabel(k)->setGeometry(place.left, place.scoreTop, shown.width(), place.scoreHeight);
  }
  fitScoreFont();
}

void TShowEvery::fitScoreFont() {
  // The widest score shown, and at least a two-digit score with a decimal, so
  // that the size does not jump with every score that comes in.
  QStringList texts{QStringLiteral("10.0")};
  for (std::size_t i = 0; i < judgeTable_.size(); ++i) texts << MT_[i]->text();
  const QSize box = MT_[0]->size();
  QFont font = scoreFont_;
  auto fits = [&] {
    const QFontMetrics metrics(font);
    if (metrics.height() > box.height()) return false;
    for (const QString& text : texts)
      if (metrics.horizontalAdvance(text) > box.width()) return false;
    return true;
  };
  for (int pixels = QFontInfo(scoreFont_).pixelSize() - 1; pixels >= 6 && !fits(); --pixels) font.setPixelSize(pixels);
  for (QLabel* score : MT_)
    if (score->font() != font) score->setFont(font);
}

void TShowEvery::Timer1Timer() {
  if (errors_.busy()) return;
  ScoringReading reading;
  if (!readCurrent(reading)) return;
  const CurrentProgramme& current = *reading.current;
  ui->ProNameTitel->setCaption(
      platform::fromGbk(gbk("节目名称:") + current.name + gbk(" 表演者:") + current.performer));
  if (current.resultLine != shownResult_) {
    shownResult_ = current.resultLine;
    ui->Result->setCaption(platform::fromGbk(shownResult_));
  }
  for (std::size_t i = 0; i < judgeTable_.size(); ++i) {
    const QString text = platform::fromGbk(judgeTable_[i].score);
    if (MT_[i]->text() == text) continue;
    MT_[i]->setText(text);
    flashCounters_[i] = 10;
    TM_[i]->start();
  }
  fitScoreFont();
  setScoreColours();
  bool flashing = false;
  for (QTimer* flash : TM_) flashing = flashing || flash->isActive();
  if (flashing) playDisplaySound(context_, "评委打分变动", false, &reportedSounds_);
  if (context_.sounds && !context_.sounds->isPlaying())
    playDisplaySound(context_, "节目评分明细", true, &reportedSounds_);
}

void TShowEvery::setScoreColours() {
  for (std::size_t i = 0; i < MT_.size(); ++i) {
    QColor text = kBlue;
    if (i < judgeTable_.size()) {
      if (inputs_.drops.highest && judgeTable_[i].mark == "Max") text = kRed;
      if (inputs_.drops.lowest && judgeTable_[i].mark == "Min") text = kGreen;
    }
    setColours(MT_[i], text, MT_[i]->palette().color(QPalette::Window));
  }
}

void TShowEvery::TMTimer(int k) {
  const auto i = static_cast<std::size_t>(k - 1);
  QLabel* score = MT_[i];
  flashPurple_[i] = !flashPurple_[i];
  if (flashCounters_[i] <= 0) {
    TM_[i]->stop();
    flashPurple_[i] = false;
  } else {
    --flashCounters_[i];
  }
  setColours(score, score->palette().color(QPalette::WindowText), flashPurple_[i] ? kPurple : QColor(Qt::white));
}

void TShowEvery::centre(styledtext::TSmoothLabel* label) { label->move(centredLeft(label->width()), label->y()); }

void TShowEvery::defaultLayout() {
  styledtext::TSmoothLabel* sub = ui->EvSecTitle;
  sub->move(centredLeft(sub->width()), ui->EvMainTitle->y() + ui->EvMainTitle->height() + 20);
  ui->Result->move(centredLeft(ui->Result->width()), screenRect().height() - 100);
  ui->ProNameTitel->move(centredLeft(ui->ProNameTitel->width()), sub->y() + 150);
}

}  // namespace scoring
