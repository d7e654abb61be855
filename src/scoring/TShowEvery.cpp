#include "scoring/TShowEvery.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>

#include "base/config_files.h"
#include "base/gbk.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "scoring/core/photo_layout.h"
#include "screen/element_menus.h"
#include "screen/picture_scaling.h"
#include "screen/qt_text_measurer.h"
#include "screen/sound_players.h"
#include "styledtext/TSmoothFontDlg.h"
#include "styledtext/TSmoothLabel.h"
#include "ui_TShowEvery.h"

namespace scoring {

namespace {

std::string g(const char* utf8) { return base::utf8ToGbk(utf8); }

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
    : QWidget(parent), ui(std::make_unique<Ui::TShowEvery>()), context_(std::move(context)) {
  ui->setupUi(this);
  setWindowFlag(Qt::FramelessWindowHint);
  if (context_.screen.isEmpty()) context_.screen = QSize(1024, 768);
  resize(context_.screen);
  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &TShowEvery::Timer1Timer);
  for (styledtext::TSmoothLabel* label : {ui->EvMainTitle, ui->EvSecTitle, ui->ProNameTitel, ui->Result}) {
    label->setTransparent(true);
    label->setAutoSize(true);
    label->setBackdropProvider([this](const styledtext::TSmoothLabel& l) {
      if (scaledBackground_.isNull()) return builtInBackground(l.size());
      return scaledBackground_.copy(l.geometry()).toImage();
    });
  }
  createJudgeWidgets();
  createMenus();
  const std::pair<styledtext::TSmoothLabel*, CaptionState*> movable[] = {
      {ui->EvSecTitle, &subtitle_}, {ui->ProNameTitel, &programmeLine_}, {ui->Result, &result_}};
  for (auto [label, state] : movable)
    new screen::ElementDragFilter(
        label, [this] { return context_.look.positionLock; },
        [state](QPoint to) {
          state->left = to.x();
          state->top = to.y();
        });
  FormCreate();
}

TShowEvery::~TShowEvery() = default;

styledtext::TSmoothLabel* TShowEvery::resultLabel() const { return ui->Result; }
styledtext::TSmoothLabel* TShowEvery::programmeLabel() const { return ui->ProNameTitel; }
styledtext::TSmoothLabel* TShowEvery::subtitleLabel() const { return ui->EvSecTitle; }

void TShowEvery::createJudgeWidgets() {
  QFont scoreFont(QStringLiteral("Arial Black"));
  scoreFont.setPixelSize(20);
  scoreFont.setBold(true);
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
    score->setFont(scoreFont);
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
  connect(windowMenu_->addAction(QStringLiteral("更换背景")), &QAction::triggered, this, &TShowEvery::changeBackground);
  connect(windowMenu_->addAction(QStringLiteral("默认布局")), &QAction::triggered, this, &TShowEvery::defaultLayout);
  connect(windowMenu_->addAction(QStringLiteral("返回[F11]")), &QAction::triggered, this, &QWidget::close);

  photoMenu_ = new QMenu(this);
  connect(photoMenu_->addAction(QStringLiteral("增加每行人数&")), &QAction::triggered, this, [this] {
    if (perRow_ < static_cast<int>(judgeTable_.size())) ++perRow_;
    layoutPhotos();
  });
  connect(photoMenu_->addAction(QStringLiteral("减少每行人数&")), &QAction::triggered, this, [this] {
    if (perRow_ > 1) --perRow_;
    layoutPhotos();
  });
  QMenu* widthMenu = photoMenu_->addMenu(QStringLiteral("图片宽度&"));
  connect(widthMenu->addAction(QStringLiteral("增加&")), &QAction::triggered, this, [this] {
    photoWidth_ += 10;
    rebuild();
  });
  connect(widthMenu->addAction(QStringLiteral("减少&")), &QAction::triggered, this, [this] {
    if (photoWidth_ > 20) photoWidth_ -= 10;
    rebuild();
  });
  QMenu* heightMenu = photoMenu_->addMenu(QStringLiteral("图片高度&"));
  connect(heightMenu->addAction(QStringLiteral("增加&")), &QAction::triggered, this, [this] {
    photoHeight_ += 10;
    rebuild();
  });
  connect(heightMenu->addAction(QStringLiteral("减少&")), &QAction::triggered, this, [this] {
    if (photoHeight_ > 30) photoHeight_ -= 10;
    rebuild();
  });
  showNamesItem_ = photoMenu_->addAction(QStringLiteral("显示评委姓名"));
  showNamesItem_->setCheckable(true);
  connect(showNamesItem_, &QAction::toggled, this, [this](bool on) { showNames_ = on; });
  connect(photoMenu_->addAction(QStringLiteral("字体设置(姓名)")), &QAction::triggered, this, [this] {
    if (auto chosen = context_.dialogs->font(nameFont_)) {
      nameFont_.name = chosen->name;
      nameFont_.size = chosen->size > 0 ? chosen->size : nameFont_.size;
      nameFont_.color = chosen->color;
      rebuild();
    }
  });
  connect(photoMenu_->addAction(QStringLiteral("字体设置(打分)")), &QAction::triggered, this, [this] {
    styledtext::FontRecord current;
    const QFont font = MT_[0]->font();
    current.name = platform::toGbk(font.family());
    current.size = font.pointSize() > 0 ? font.pointSize() : 15;
    current.color = colourToStored(kBlue);
    current.bold = true;
    auto chosen = context_.dialogs->font(current);
    if (!chosen) return;
    QFont picked = screen::qtFont(chosen->name, chosen->size > 0 ? chosen->size : current.size);
    picked.setBold(true);
    for (QLabel* score : MT_) score->setFont(picked);
  });
  connect(photoMenu_->addAction(QStringLiteral("返回[F11]")), &QAction::triggered, this, &QWidget::close);
  for (int k = 1; k <= kJudges; ++k)
    for (QLabel* widget : {MP_[static_cast<std::size_t>(k - 1)], MT_[static_cast<std::size_t>(k - 1)]})
      connect(widget, &QWidget::customContextMenuRequested, this,
              [this, widget](QPoint at) { photoMenu_->popup(widget->mapToGlobal(at)); });

  addCaptionMenu(ui->EvSecTitle, subtitle_, true);
  addCaptionMenu(ui->ProNameTitel, programmeLine_, false);
  addCaptionMenu(ui->Result, result_, false);
  ui->EvMainTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShowEvery::addCaptionMenu(styledtext::TSmoothLabel* label, CaptionState& state, bool withText) {
  auto* menu = new QMenu(label);
  menu->setObjectName(label->objectName() + QStringLiteral("Menu"));
  if (withText)
    connect(menu->addAction(QStringLiteral("设置内容&")), &QAction::triggered, this, [this, label] {
      if (auto answer = askTitle(*context_.dialogs, label->Caption())) {
        subtitleText_ = platform::toGbk(*answer);
        label->setCaption(*answer);
      }
    });
  connect(menu->addAction(QStringLiteral("字体设置")), &QAction::triggered, this, [this, label, &state] {
    if (auto chosen = context_.dialogs->font(state.font)) {
      state.font = *chosen;
      label->setSmoothFont(state.font);
    }
  });
  connect(menu->addAction(QStringLiteral("字体特效")), &QAction::triggered, this, [this, label, &state] {
    styledtext::TSmoothFontDialog dialog;
    dialog.setAllowChangeFont(true);
    dialog.Font() = state.font;
    dialog.Effect().assign(state.effect);
    if (!dialog.Execute(this)) return;
    state.font = dialog.Font();
    state.effect.assign(dialog.Effect());
    applyCaption(label, state.font, state.effect, label->Caption());
  });
  connect(menu->addAction(QStringLiteral("居中")), &QAction::triggered, this,
          [this, label, &state] { centre(label, state); });
  label->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(label, &QWidget::customContextMenuRequested, this,
          [label, menu](QPoint at) { menu->popup(label->mapToGlobal(at)); });
}

void TShowEvery::FormCreate() {
  for (QLabel* score : MT_) score->clear();
  applyCaption(ui->EvMainTitle, context_.look.mainTitleFont, context_.look.mainTitleEffect,
               platform::fromGbk(context_.look.mainTitle));
  readSettings();
  scaleBackground();
  applyCaption(ui->EvSecTitle, subtitle_.font, subtitle_.effect, platform::fromGbk(subtitleText_));
  placeCaption(ui->EvSecTitle, subtitle_);
  applyCaption(ui->ProNameTitel, programmeLine_.font, programmeLine_.effect, QString());
  placeCaption(ui->ProNameTitel, programmeLine_);
  applyCaption(ui->Result, result_.font, result_.effect, QString());
  placeCaption(ui->Result, result_);

  inputs_ = readInputs(base::ConfigFiles(context_.programDir).openConfig(), context_.programDir);
  if (inputs_.judges.size() > static_cast<std::size_t>(kJudges)) inputs_.judges.resize(kJudges);
  judgeTable_.clear();
  for (const std::string& judge : inputs_.judges) judgeTable_.push_back({judge, {}, {}});
  ScoringReading reading;
  const bool read = readCurrent(reading);
  buildTiles();
  for (int k = 1; k <= kJudges; ++k) {
    const bool shown = k <= static_cast<int>(judgeTable_.size());
    photo(k)->setVisible(shown);
    scoreLabel(k)->setVisible(shown);
  }
  layoutPhotos();
  if (read) {
    const CurrentProgramme& current = *reading.current;
    ui->ProNameTitel->setCaption(platform::fromGbk(g("节目名称:") + current.name + g(" 表演者:") + current.performer));
    ui->Result->setCaption(platform::fromGbk(g("得分:") + current.average));
    for (std::size_t i = 0; i < judgeTable_.size(); ++i) MT_[i]->setText(platform::fromGbk(judgeTable_[i].score));
  }
  ui->EvMainTitle->move(context_.screen.width() / 2 - ui->EvMainTitle->width() / 2, 8);
  playDisplaySound(context_, "节目评分明细", true, &reportedSounds_);
  Timer1.start();
}

void TShowEvery::readSettings() {
  base::IniFile config = base::ConfigFiles(context_.programDir).openConfig();
  perRow_ = std::max(0, config.readInt(g("评委显示设置"), g("每行个数"), 0));
  photoWidth_ = config.readInt(g("评委照片"), "Width", 200);
  photoHeight_ = config.readInt(g("评委照片"), "Height", 250);
  if (photoWidth_ < 10) photoWidth_ = 200;
  if (photoHeight_ < 10) photoHeight_ = 250;
  const std::string names = g("评委姓名");
  nameFont_ = styledtext::FontRecord{};
  nameFont_.color = config.readInt(names, "Font.Color", 0);
  nameFont_.size = config.readInt(names, "Font.Size", 20);
  nameFont_.name = config.readString(names, "Font.Name", g("黑体"));
  nameFont_.bold = true;
  showNames_ = config.readBool(names, "Show", true);
  showNamesItem_->setChecked(showNames_);
  const std::string details = g("评分细节");
  subtitleText_ = config.readString(details, g("副标题"), g("评分明细"));
  backgroundName_ = config.readString(details, g("背景图片"), "");
  background_ = QImage();
  if (auto file = backgroundFile(context_.programDir, backgroundName_))
    background_ = platform::readImageFile(platform::toQString(*file));

  styledtext::FontRecord heiti;
  heiti.name = g("黑体");
  subtitle_ = readCaption(config, "ScoreEvSecTitle", context_.look.subTitleFont, context_.look.subTitleEffect, 0, 100);
  if (subtitle_.font.name.empty()) subtitle_.font.name = heiti.name;
  programmeLine_ = readCaption(config, "ScoreProNameTitel", heiti, styledtext::TSmoothEffect(), 0, 200);
  result_ = readCaption(config, "ScoreResult", heiti, styledtext::TSmoothEffect(), 99999, 300);
  for (CaptionState* state : {&subtitle_, &programmeLine_, &result_}) {
    state->left = std::max(0, state->left);
    state->top = std::max(0, state->top);
  }
}

void TShowEvery::saveSettings() {
  base::IniFile config = base::ConfigFiles(context_.programDir).openConfig();
  base::IniBatch batch(config);
  config.writeInt(g("评委显示设置"), g("每行个数"), perRow_);
  config.writeInt(g("评委照片"), "Width", photoWidth_);
  config.writeInt(g("评委照片"), "Height", photoHeight_);
  const std::string names = g("评委姓名");
  config.writeInt(names, "Font.Color", nameFont_.color);
  config.writeInt(names, "Font.Size", nameFont_.size);
  config.writeString(names, "Font.Name", nameFont_.name);
  config.writeBool(names, "Show", showNames_);
  const std::string details = g("评分细节");
  config.writeString(details, g("副标题"), subtitleText_);
  config.writeString(details, g("背景图片"), backgroundName_);
  const std::pair<const char*, std::pair<styledtext::TSmoothLabel*, CaptionState*>> captions[] = {
      {"ScoreResult", {ui->Result, &result_}},
      {"ScoreProNameTitel", {ui->ProNameTitel, &programmeLine_}},
      {"ScoreEvSecTitle", {ui->EvSecTitle, &subtitle_}}};
  for (const auto& [section, pair] : captions) {
    pair.second->left = pair.first->x();
    pair.second->top = pair.first->y();
    writeCaption(config, section, *pair.second);
  }
}

bool TShowEvery::readCurrent(ScoringReading& reading) {
  const std::filesystem::path file = readingScoringFile(context_.programDir, inputs_.scoringFile);
  reading = readScores(inputs_, ScoreSheet::load(file), false, true);
  if (!reading.complete()) {
    if (context_.dialogs) errors_.report(*context_.dialogs, reading.error, file);
    return false;
  }
  errors_.clear();
  judgeTable_ = reading.current->judges;
  return true;
}

void TShowEvery::buildTiles() {
  if (!tiles_.empty()) return;
  const QSize size(photoWidth_, photoHeight_);
  QFont nameFont = screen::qtFont(nameFont_.name, nameFont_.size > 0 ? nameFont_.size : 20);
  nameFont.setBold(true);
  std::vector<std::string> missing;
  for (const JudgeLine& judge : judgeTable_) {
    QImage tile;
    if (auto file = judgePhotoOrSample(context_.programDir, judge.name)) tile = screen::readCovering(*file, size);
    if (tile.isNull()) {
      missing.push_back(judge.name);
      tile = QImage(size, QImage::Format_RGB32);
      tile.fill(Qt::lightGray);
    }
    if (showNames_) {
      QPainter painter(&tile);
      painter.setFont(nameFont);
      painter.setPen(colourFromStored(nameFont_.color));
      painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignHCenter | Qt::AlignBottom, platform::fromGbk(judge.name));
    }
    tiles_.push_back(QPixmap::fromImage(tile));
  }
  for (std::size_t i = 0; i < tiles_.size(); ++i) MP_[i]->setPixmap(tiles_[i]);
  // Without the photo and without image\sample.jpg the tile stays grey; the operator is told once.
  if (!missing.empty() && context_.dialogs) {
    QStringList names;
    for (const std::string& name : missing) names << platform::fromGbk(name);
    context_.dialogs->message(QStringLiteral("找不到评委照片: %1").arg(names.join(QStringLiteral("、"))));
  }
}

void TShowEvery::rebuild() {
  tiles_.clear();
  buildTiles();
  layoutPhotos();
}

void TShowEvery::layoutPhotos() {
  const int n = static_cast<int>(judgeTable_.size());
  PhotoLayout layout =
      scoring::layoutPhotos(n, photoWidth_, photoHeight_, perRow_, context_.screen.width(), context_.screen.height());
  if (n > 0) perRow_ = layout.perRow;
  for (int k = 1; k <= n; ++k) {
    const TilePlace& place = layout.tiles[static_cast<std::size_t>(k - 1)];
    photo(k)->setGeometry(place.left, place.top, photoWidth_, photoHeight_);
    scoreLabel(k)->setGeometry(place.left, place.scoreTop, photoWidth_, place.scoreHeight);
  }
}

void TShowEvery::Timer1Timer() {
  if (errors_.busy()) return;
  ScoringReading reading;
  if (!readCurrent(reading)) return;
  const CurrentProgramme& current = *reading.current;
  ui->ProNameTitel->setCaption(platform::fromGbk(g("节目名称:") + current.name + g(" 表演者:") + current.performer));
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

void TShowEvery::placeCaption(styledtext::TSmoothLabel* label, const CaptionState& state) {
  label->move(state.left, state.top);
}

void TShowEvery::centre(styledtext::TSmoothLabel* label, CaptionState& state) {
  state.left = context_.screen.width() / 2 - label->width() / 2;
  state.top = label->y();
  placeCaption(label, state);
}

void TShowEvery::defaultLayout() {
  centre(ui->EvSecTitle, subtitle_);
  subtitle_.top = ui->EvMainTitle->y() + ui->EvMainTitle->height() + 20;
  placeCaption(ui->EvSecTitle, subtitle_);
  centre(ui->Result, result_);
  result_.top = context_.screen.height() - 100;
  placeCaption(ui->Result, result_);
  centre(ui->ProNameTitel, programmeLine_);
  programmeLine_.top = subtitle_.top + 150;
  placeCaption(ui->ProNameTitel, programmeLine_);
}

void TShowEvery::changeBackground() {
  std::optional<std::string> chosen = chooseBackground(context_.programDir, *context_.dialogs);
  if (!chosen) return;
  backgroundName_ = *chosen;
  if (auto file = backgroundFile(context_.programDir, backgroundName_))
    background_ = platform::readImageFile(platform::toQString(*file));
  scaleBackground();
  update();
}

void TShowEvery::scaleBackground() {
  const QImage source = background_.isNull() ? builtInBackground(size()) : background_;
  scaledBackground_ = QPixmap::fromImage(source.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  for (styledtext::TSmoothLabel* label : {ui->EvMainTitle, ui->EvSecTitle, ui->ProNameTitel, ui->Result})
    label->update();
}

void TShowEvery::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, scaledBackground_);
}

void TShowEvery::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  scaleBackground();
}

void TShowEvery::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F11) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TShowEvery::contextMenuEvent(QContextMenuEvent* event) { windowMenu_->popup(event->globalPos()); }

void TShowEvery::closeEvent(QCloseEvent* event) {
  Timer1.stop();
  for (QTimer* flash : TM_) flash->stop();
  if (context_.dialogs)
    context_.dialogs->reportFailures([this] { saveSettings(); });
  else
    saveSettings();
  event->accept();
  emit closed();
}

}  // namespace scoring
