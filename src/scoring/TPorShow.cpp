#include "scoring/TPorShow.h"

#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <cmath>

#include "base/config_files.h"
#include "base/gbk.h"
#include "platform/desktop_open.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "scoring/TComProSys.h"
#include "scoring/core/scoring_math.h"
#include "screen/element_menus.h"
#include "screen/qt_text_measurer.h"
#include "styledtext/TSmoothFontDlg.h"
#include "styledtext/TSmoothLabel.h"
#include "ui_TPorShow.h"

namespace scoring {

namespace {

std::string g(const char* utf8) { return base::utf8ToGbk(utf8); }

const std::string& showSection() {
  static const std::string name = g("评分展示");
  return name;
}
const std::string kSubtitleSection = "ProShowSecTitle";

QFont labelFont(const styledtext::FontRecord& font, const char* builtInFace, bool bold) {
  QFont qt = screen::qtFont(font.name.empty() ? std::string(builtInFace) : font.name, font.size > 0 ? font.size : 10);
  qt.setBold(bold);
  return qt;
}

void setTextColour(QLabel* label, int stored) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colourFromStored(stored));
  label->setPalette(palette);
}

}  // namespace

TPorShow::TPorShow(DisplayContext context, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TPorShow>()), context_(std::move(context)) {
  ui->setupUi(this);
  setWindowFlag(Qt::FramelessWindowHint);
  setAttribute(Qt::WA_DeleteOnClose, false);
  if (context_.screen.isEmpty()) context_.screen = QSize(1024, 768);
  resize(context_.screen);
  Timer1.setInterval(1000);
  Timer2.setInterval(10);
  connect(&Timer1, &QTimer::timeout, this, &TPorShow::Timer1Timer);
  connect(&Timer2, &QTimer::timeout, this, &TPorShow::Timer2Timer);
  for (styledtext::TSmoothLabel* label : {ui->MainTitle, ui->SecTitle}) {
    label->setTransparent(true);
    label->setAutoSize(true);
    label->setBackdropProvider([this](const styledtext::TSmoothLabel& l) {
      if (scaledBackground_.isNull()) return builtInBackground(l.size());
      return scaledBackground_.copy(l.geometry()).toImage();
    });
  }
  createBars();
  createMenus();
  new screen::ElementDragFilter(
      ui->SecTitle, [this] { return context_.look.positionLock; },
      [this](QPoint to) {
        subtitle_.left = to.x();
        subtitle_.top = to.y();
      });
  FormCreate();
}

TPorShow::~TPorShow() = default;

QWidget* TPorShow::subtitle() const { return ui->SecTitle; }

void TPorShow::createBars() {
  for (int k = 1; k <= kBars; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    auto* barPanel = new QFrame(this);
    barPanel->setObjectName(QStringLiteral("SP%1").arg(k));
    barPanel->setAutoFillBackground(true);
    barPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* rank = new QLabel(barPanel);
    rank->setObjectName(QStringLiteral("SM%1").arg(k));
    rank->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* score = new QLabel(this);
    score->setObjectName(QStringLiteral("ST%1").arg(k));
    score->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* name = new QLabel(this);
    name->setObjectName(QStringLiteral("SB%1").arg(k));
    name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    name->setWordWrap(true);
    name->setContextMenuPolicy(Qt::CustomContextMenu);
    SP_[i] = barPanel;
    SM_[i] = rank;
    ST_[i] = score;
    SB_[i] = name;
  }
}

void TPorShow::createMenus() {
  windowMenu_ = new QMenu(this);
  connect(windowMenu_->addAction(QStringLiteral("节目单设置")), &QAction::triggered, this, [this] {
    TComProSys setup(context_.programDir, *context_.dialogs, this);
    setup.exec();
  });
  connect(windowMenu_->addAction(QStringLiteral("更换背景")), &QAction::triggered, this, &TPorShow::changeBackground);
  animateItem_ = windowMenu_->addAction(QStringLiteral("开启时动画展示"));
  animateItem_->setCheckable(true);
  connect(animateItem_, &QAction::toggled, this, [this](bool on) { animate_ = on; });
  connect(windowMenu_->addAction(QStringLiteral("打开评分文件")), &QAction::triggered, this, [this] {
    std::filesystem::path file = readingScoringFile(context_.programDir, inputs_.scoringFile);
    if (file.empty()) file = inputs_.scoringFile;
    platform::openWithDesktop(platform::fileUrl(file));
  });
  connect(windowMenu_->addAction(QStringLiteral("关闭[F11]")), &QAction::triggered, this, &QWidget::close);

  barMenu_ = new QMenu(this);
  auto addStep = [this](const char* caption, std::function<void()> step) {
    connect(barMenu_->addAction(QString::fromUtf8(caption)), &QAction::triggered, this, std::move(step));
  };
  addStep("宽度增加", [this] { W_ += 10; });
  addStep("宽度减少", [this] {
    if (W_ > 20) W_ -= 10;
  });
  addStep("高度增加", [this] {
    H_ += 20;
    setBarsToTargets();
    layoutBars();
  });
  addStep("高度降低", [this] {
    if (H_ > 40) H_ -= 20;
    setBarsToTargets();
    layoutBars();
  });
  addStep("间隔增大", [this] { G_ += 5; });
  addStep("间隔减小", [this] {
    if (G_ > 5) G_ -= 5;
  });
  addStep("柱状颜色", [this] {
    const QColor current = colourFromStored(barColour_);
    std::optional<QColor> chosen;
    if (chooseColour) {
      chosen = chooseColour(current);
    } else {
      QColor picked = QColorDialog::getColor(current, this);
      if (picked.isValid()) chosen = picked;
    }
    if (!chosen) return;
    barColour_ = colourToStored(*chosen);
    for (QFrame* barPanel : SP_) {
      QPalette palette = barPanel->palette();
      palette.setColor(QPalette::Window, *chosen);
      barPanel->setPalette(palette);
    }
  });
  addStep("字体设置", [this] { chooseLabelFont(SM_, rankFont_); });

  scoreMenu_ = new QMenu(this);
  connect(scoreMenu_->addAction(QStringLiteral("字体设置")), &QAction::triggered, this,
          [this] { chooseLabelFont(ST_, scoreFont_); });
  nameMenu_ = new QMenu(this);
  connect(nameMenu_->addAction(QStringLiteral("字体设置")), &QAction::triggered, this,
          [this] { chooseLabelFont(SB_, nameFont_); });
  for (int k = 1; k <= kBars; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    connect(SP_[i], &QWidget::customContextMenuRequested, this,
            [this, i](QPoint at) { barMenu_->popup(SP_[i]->mapToGlobal(at)); });
    connect(ST_[i], &QWidget::customContextMenuRequested, this,
            [this, i](QPoint at) { scoreMenu_->popup(ST_[i]->mapToGlobal(at)); });
    connect(SB_[i], &QWidget::customContextMenuRequested, this,
            [this, i](QPoint at) { nameMenu_->popup(SB_[i]->mapToGlobal(at)); });
  }

  subtitleMenu_ = new QMenu(this);
  connect(subtitleMenu_->addAction(QStringLiteral("内容修改")), &QAction::triggered, this, [this] {
    if (auto answer = askTitle(*context_.dialogs, ui->SecTitle->Caption())) {
      subtitleText_ = platform::toGbk(*answer);
      ui->SecTitle->setCaption(*answer);
    }
  });
  connect(subtitleMenu_->addAction(QStringLiteral("字体修改")), &QAction::triggered, this, [this] {
    if (auto chosen = context_.dialogs->font(subtitle_.font)) {
      subtitle_.font = *chosen;
      ui->SecTitle->setSmoothFont(subtitle_.font);
    }
  });
  connect(subtitleMenu_->addAction(QStringLiteral("字体特效")), &QAction::triggered, this,
          &TPorShow::editSubtitleEffects);
  connect(subtitleMenu_->addAction(QStringLiteral("居中")), &QAction::triggered, this, [this] {
    subtitle_.left = context_.screen.width() / 2 - ui->SecTitle->width() / 2;
    ui->SecTitle->move(subtitle_.left, ui->SecTitle->y());
    subtitle_.top = ui->SecTitle->y();
  });
  ui->SecTitle->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui->SecTitle, &QWidget::customContextMenuRequested, this,
          [this](QPoint at) { subtitleMenu_->popup(ui->SecTitle->mapToGlobal(at)); });
  ui->MainTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TPorShow::FormCreate() {
  for (int k = 1; k <= kBars; ++k) {
    setBarHeight(k, 2);
    rankLabel(k)->clear();
  }
  readSettings();
  scaleBackground();
  applyCaption(ui->MainTitle, context_.look.mainTitleFont, context_.look.mainTitleEffect,
               platform::fromGbk(context_.look.mainTitle));
  ui->MainTitle->move(context_.screen.width() / 2 - ui->MainTitle->width() / 2, 8);
  applyCaption(ui->SecTitle, subtitle_.font, subtitle_.effect, platform::fromGbk(subtitleText_));
  ui->SecTitle->move(subtitle_.left, subtitle_.top);

  Timer2.start();
  loadAndCompute();
  putScores();
  if (!animating()) setBarsToTargets();
  layoutBars();
  if (!animate_) showRanks();
  playDisplaySound(context_, "节目排名展示", true);
}

void TPorShow::readSettings() {
  base::IniFile config = base::ConfigFiles(context_.programDir).openConfig();
  const std::string& s = showSection();
  H_ = config.readInt(s, g("柱状高度"), 500);
  W_ = config.readInt(s, g("柱状宽度"), 80);
  G_ = config.readInt(s, g("间隔宽度"), 10);
  animate_ = config.readBool(s, g("动画展示"), true);
  animateItem_->setChecked(animate_);
  fullScore_ = readFullScore(config);
  barColour_ = config.readInt(s, g("柱状颜色"), 999999);
  auto readLabelFont = [&](const char* prefix) {
    styledtext::FontRecord font;
    font.color = config.readInt(s, g(prefix) + g("颜色"), 999999);
    font.size = config.readInt(s, g(prefix) + g("大小"), 10);
    font.name = config.readString(s, g(prefix) + g("字体"), "");
    return font;
  };
  scoreFont_ = readLabelFont("得分");
  nameFont_ = readLabelFont("节目");
  rankFont_ = readLabelFont("排名");
  rankFont_.bold = true;
  applyLabelFont(ST_, scoreFont_);
  applyLabelFont(SB_, nameFont_);
  applyLabelFont(SM_, rankFont_);
  for (QFrame* barPanel : SP_) {
    QPalette palette = barPanel->palette();
    palette.setColor(QPalette::Window, colourFromStored(barColour_));
    barPanel->setPalette(palette);
  }
  backgroundName_ = config.readString(s, g("背景图片"), "");
  background_ = QImage();
  if (auto file = backgroundFile(context_.programDir, backgroundName_))
    background_ = platform::readImageFile(platform::toQString(*file));
  subtitleText_ = config.readString(s, g("副标题"), "");
  subtitle_ = readCaption(config, kSubtitleSection, context_.look.subTitleFont, context_.look.subTitleEffect, 0, 100);
}

void TPorShow::saveSettings() {
  base::IniFile config = base::ConfigFiles(context_.programDir).openConfig();
  base::IniBatch batch(config);
  const std::string& s = showSection();
  config.writeInt(s, g("柱状高度"), H_);
  config.writeInt(s, g("柱状宽度"), W_);
  config.writeInt(s, g("间隔宽度"), G_);
  config.writeBool(s, g("动画展示"), animate_);
  config.writeString(s, g("背景图片"), backgroundName_);
  config.writeInt(s, g("柱状颜色"), barColour_);
  auto writeLabelFont = [&](const char* prefix, const styledtext::FontRecord& font) {
    config.writeInt(s, g(prefix) + g("颜色"), font.color);
    config.writeInt(s, g(prefix) + g("大小"), font.size);
    config.writeString(s, g(prefix) + g("字体"), font.name);
  };
  writeLabelFont("得分", scoreFont_);
  writeLabelFont("节目", nameFont_);
  writeLabelFont("排名", rankFont_);
  config.writeString(s, g("副标题"), subtitleText_);
  subtitle_.left = ui->SecTitle->x();
  subtitle_.top = ui->SecTitle->y();
  writeCaption(config, kSubtitleSection, subtitle_);
}

bool TPorShow::loadAndCompute() {
  base::IniFile config = base::ConfigFiles(context_.programDir).openConfig();
  inputs_ = readInputs(config, context_.programDir);
  if (inputs_.programmes.size() > static_cast<std::size_t>(kBars)) inputs_.programmes.resize(kBars);
  const std::filesystem::path file = readingScoringFile(context_.programDir, inputs_.scoringFile);
  ScoringReading reading = readScores(inputs_, ScoreSheet::load(file), true, false);
  if (!reading.complete()) {
    if (context_.dialogs) errors_.report(*context_.dialogs, reading.error, file);
    return false;
  }
  errors_.clear();
  averages_ = std::move(reading.averages);
  ranks_ = std::move(reading.ranks);
  return true;
}

int TPorShow::targetHeight(int k) const {
  const auto i = static_cast<std::size_t>(k - 1);
  if (i >= averages_.size() || averages_[i].empty()) return 0;
  const double average = parseScore(averages_[i]).value_or(0);
  // Halves go to the even neighbour (the default rounding mode).
  return static_cast<int>(std::nearbyint(average / fullScore_ * H_));
}

void TPorShow::putScores() {
  for (int k = 1; k <= kBars; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    scoreLabel(k)->setText(i < averages_.size() ? QString::fromStdString(averages_[i]) : QString());
    scoreLabel(k)->adjustSize();
  }
}

void TPorShow::setBarsToTargets() {
  for (int k = 1; k <= kBars; ++k) setBarHeight(k, targetHeight(k));
}

void TPorShow::setBarHeight(int k, int height) {
  barHeights_[static_cast<std::size_t>(k - 1)] = height;
  QFrame* barPanel = bar(k);
  const int baseline = context_.screen.height() - 200;
  barPanel->setGeometry(barPanel->x(), baseline - height, W_, height);
}

void TPorShow::placeScoreLabel(int k) {
  QLabel* score = scoreLabel(k);
  QFrame* barPanel = bar(k);
  score->adjustSize();
  score->move(barPanel->x() + barPanel->width() / 2 - score->width() / 2,
              context_.screen.height() - 200 - barHeightFor(k) - score->height());
}

void TPorShow::layoutBars() {
  const int n = static_cast<int>(inputs_.programmes.size());
  const int baseline = context_.screen.height() - 200;
  const int total = n * W_ + (n - 1) * G_;
  int left = context_.screen.width() / 2 - total / 2;
  for (int k = 1; k <= kBars; ++k) {
    const bool shown = k <= n;
    bar(k)->setVisible(shown);
    scoreLabel(k)->setVisible(shown);
    nameLabel(k)->setVisible(shown);
    const int height = barHeightFor(k);
    bar(k)->setGeometry(left, baseline - height, W_, height);
    QLabel* name = nameLabel(k);
    if (shown) {
      const Programme& programme = inputs_.programmes[static_cast<std::size_t>(k - 1)];
      name->setText(platform::fromGbk(programme.order + g("、") + programme.name));
    }
    name->setFixedWidth(W_);
    name->setFixedHeight(std::max(name->heightForWidth(W_), name->fontMetrics().height()));
    name->move(left + W_ / 2 - name->width() / 2, baseline);
    placeScoreLabel(k);
    if (shown) left += W_ + G_;
  }
  if (animating())
    for (QLabel* score : ST_) score->clear();
}

void TPorShow::showRanks() {
  for (int k = 1; k <= kBars; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    QLabel* rank = rankLabel(k);
    rank->setText(i < ranks_.size() ? QString::fromStdString(ranks_[i]) : QString());
    rank->adjustSize();
    rank->move(W_ / 2 - rank->width() / 2, 8);
  }
}

void TPorShow::Timer2Timer() {
  for (int k = 1; k <= kBars; ++k) {
    const int target = targetHeight(k);
    const int current = barHeightFor(k);
    if (current >= target) continue;
    setBarHeight(k, current + 1);
    const double average = parseScore(averages_[static_cast<std::size_t>(k - 1)]).value_or(0);
    scoreLabel(k)->setText(QString::fromStdString(formatAverage(average * (current + 1) / target)));
    placeScoreLabel(k);
    return;
  }
  showRanks();
  Timer2.stop();
  Timer1.start();
}

void TPorShow::Timer1Timer() {
  if (errors_.busy()) return;
  if (!loadAndCompute()) return;
  putScores();
  setBarsToTargets();
  layoutBars();
  showRanks();
}

void TPorShow::applyLabelFont(std::array<QLabel*, kBars>& labels, const styledtext::FontRecord& font) {
  const char* face = &labels == &ST_ ? "MS Sans Serif" : &labels == &SB_ ? "\xBA\xDA\xCC\xE5" /* 黑体 */ : "Verdana";
  const QFont qt = labelFont(font, face, &labels == &SM_);
  for (QLabel* label : labels) {
    label->setFont(qt);
    setTextColour(label, font.color);
  }
}

void TPorShow::chooseLabelFont(std::array<QLabel*, kBars>& labels, styledtext::FontRecord& font) {
  std::optional<styledtext::FontRecord> chosen = context_.dialogs->font(font);
  if (!chosen) return;
  font.name = chosen->name;
  font.size = chosen->size > 0 ? chosen->size : font.size;
  font.color = chosen->color;
  applyLabelFont(labels, font);
  layoutBars();
  if (!animating()) showRanks();
}

void TPorShow::editSubtitleEffects() {
  styledtext::TSmoothFontDialog dialog;
  dialog.setAllowChangeFont(true);
  dialog.Font() = subtitle_.font;
  dialog.Effect().assign(subtitle_.effect);
  if (!dialog.Execute(this)) return;
  subtitle_.font = dialog.Font();
  subtitle_.effect.assign(dialog.Effect());
  applyCaption(ui->SecTitle, subtitle_.font, subtitle_.effect, ui->SecTitle->Caption());
}

void TPorShow::changeBackground() {
  std::optional<std::string> chosen = chooseBackground(context_.programDir, *context_.dialogs);
  if (!chosen) return;
  backgroundName_ = *chosen;
  if (auto file = backgroundFile(context_.programDir, backgroundName_))
    background_ = platform::readImageFile(platform::toQString(*file));
  scaleBackground();
  update();
}

void TPorShow::scaleBackground() {
  const QImage source = background_.isNull() ? builtInBackground(size()) : background_;
  scaledBackground_ = QPixmap::fromImage(source.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  ui->MainTitle->update();
  ui->SecTitle->update();
}

void TPorShow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, scaledBackground_);
}

void TPorShow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  scaleBackground();
}

void TPorShow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F11) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TPorShow::contextMenuEvent(QContextMenuEvent* event) { windowMenu_->popup(event->globalPos()); }

void TPorShow::closeEvent(QCloseEvent* event) {
  Timer1.stop();
  Timer2.stop();
  if (context_.dialogs)
    context_.dialogs->reportFailures([this] { saveSettings(); });
  else
    saveSettings();
  event->accept();
  emit closed();
}

}  // namespace scoring
