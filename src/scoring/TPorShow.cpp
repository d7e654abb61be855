#include "scoring/TPorShow.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <functional>

#include "base/config_files.h"
#include "base/gbk.h"
#include "platform/desktop_open.h"
#include "platform/qt_gbk.h"
#include "scoring/TComProSys.h"
#include "scoring/core/scoring_math.h"
#include "screen/dialog_service.h"
#include "screen/element_menus.h"
#include "screen/picture_files.h"
#include "screen/qt_text_measurer.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/qt_rasteriser.h"
#include "ui_TPorShow.h"

namespace scoring {

namespace {

using base::gbk;

QFont labelFont(const styledtext::FontRecord& font, const char* builtInFace, bool bold) {
  QFont qt = screen::qtFont(font.name.empty() ? std::string(builtInFace) : font.name, font.size > 0 ? font.size : 10);
  qt.setBold(bold);
  return qt;
}

void setTextColour(QLabel* label, int stored) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, styledtext::qtColour(stored));
  label->setPalette(palette);
}

}  // namespace

TPorShow::TPorShow(DisplayContext context, QWidget* parent)
    : DisplayStage(context, parent), ui(std::make_unique<Ui::TPorShow>()), context_(std::move(context)) {
  setUpForm(*ui);
  setStandIn(builtInBackground(screenRect().size()));
  Timer1.setInterval(1000);
  Timer2.setInterval(10);
  connect(&Timer1, &QTimer::timeout, this, &TPorShow::Timer1Timer);
  connect(&Timer2, &QTimer::timeout, this, &TPorShow::Timer2Timer);
  prepareCaption(ui->MainTitle);
  prepareCaption(ui->SecTitle);
  createBars();
  createMenus();
  new screen::ElementDragFilter(
      ui->SecTitle, [this] { return positionLocked(); }, [](QPoint) {});
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
  setWindowMenu(windowMenu_);
  connect(windowMenu_->addAction(QStringLiteral("节目单设置")), &QAction::triggered, this, [this] {
    TComProSys setup(programDir(), dialogs(), dialogs().parentWindow());
    setup.exec();
  });
  connect(windowMenu_->addAction(QStringLiteral("更换背景")), &QAction::triggered, this,
          [this] { changeBackground(); });
  animateItem_ = windowMenu_->addAction(QStringLiteral("开启时动画展示"));
  animateItem_->setCheckable(true);
  connect(animateItem_, &QAction::toggled, this, [this](bool on) { settings_.animate = on; });
  connect(windowMenu_->addAction(QStringLiteral("打开评分文件")), &QAction::triggered, this, [this] {
    std::filesystem::path file = readingScoringFile(programDir(), inputs_.scoringFile);
    if (file.empty()) file = inputs_.scoringFile;
    platform::openWithDesktop(platform::fileUrl(file));
  });
  connect(windowMenu_->addAction(QStringLiteral("关闭[F11]")), &QAction::triggered, this, &QWidget::close);

  barMenu_ = new QMenu(this);
  auto addStep = [this](const char* caption, std::function<void()> step) {
    connect(barMenu_->addAction(QString::fromUtf8(caption)), &QAction::triggered, this, std::move(step));
  };
  screen::RankingDisplaySettings& s = settings_;
  addStep("宽度增加", [&s] { s.barWidth += 10; });
  addStep("宽度减少", [&s] {
    if (s.barWidth > 20) s.barWidth -= 10;
  });
  addStep("高度增加", [this, &s] {
    s.barHeight += 20;
    fitBarHeight();
    setBarsToTargets();
    layoutBars();
  });
  addStep("高度降低", [this, &s] {
    if (s.barHeight > 40) s.barHeight -= 20;
    fitBarHeight();
    setBarsToTargets();
    layoutBars();
  });
  addStep("间隔增大", [&s] { s.gap += 5; });
  addStep("间隔减小", [&s] {
    if (s.gap > 5) s.gap -= 5;
  });
  addStep("柱状颜色", [this] {
    const std::optional<int> chosen = dialogs().colour(settings_.barColour);
    if (!chosen) return;
    settings_.barColour = *chosen;
    paintBars();
  });
  addStep("字体设置", [this] { chooseLabelFont(SM_, settings_.rankFont); });

  scoreMenu_ = new QMenu(this);
  connect(scoreMenu_->addAction(QStringLiteral("字体设置")), &QAction::triggered, this,
          [this] { chooseLabelFont(ST_, settings_.scoreFont); });
  nameMenu_ = new QMenu(this);
  connect(nameMenu_->addAction(QStringLiteral("字体设置")), &QAction::triggered, this,
          [this] { chooseLabelFont(SB_, settings_.nameFont); });
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
    if (auto answer = askTitle(dialogs(), ui->SecTitle->Caption())) {
      settings_.subtitleText = platform::toGbk(*answer);
      ui->SecTitle->setCaption(*answer);
    }
  });
  connect(subtitleMenu_->addAction(QStringLiteral("字体修改")), &QAction::triggered, this,
          [this] { chooseCaptionFont(ui->SecTitle); });
  connect(subtitleMenu_->addAction(QStringLiteral("字体特效")), &QAction::triggered, this,
          [this] { editCaptionLook(ui->SecTitle); });
  connect(subtitleMenu_->addAction(QStringLiteral("居中")), &QAction::triggered, this,
          [this] { ui->SecTitle->move(centredLeft(ui->SecTitle->width()), ui->SecTitle->y()); });
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
  setCaptionLook(ui->MainTitle, context_.look.mainTitleFont, context_.look.mainTitleEffect,
                 platform::fromGbk(context_.look.mainTitle));
  ui->MainTitle->move(centredLeft(ui->MainTitle->width()), 8);
  const screen::CaptionSettings& sub = settings_.subtitle;
  setCaptionLook(ui->SecTitle, sub.font, sub.effect, platform::fromGbk(settings_.subtitleText));
  ui->SecTitle->move(sub.position.x, sub.position.y);
  keepOnScreen(ui->SecTitle);

  Timer2.start();
  loadAndCompute();
  fitBarHeight();
  putScores();
  if (!animating()) setBarsToTargets();
  layoutBars();
  if (!settings_.animate) showRanks();
  playDisplaySound(context_, "节目排名展示", true);
}

void TPorShow::readSettings() {
  const base::IniFile config = base::ConfigFiles(programDir()).openConfig();
  settings_ = screen::loadRankingDisplay(config, context_.look.subTitleFont, context_.look.subTitleEffect);
  fullScore_ = readFullScore(config);
  animateItem_->setChecked(settings_.animate);
  applyLabelFont(ST_, settings_.scoreFont);
  applyLabelFont(SB_, settings_.nameFont);
  applyLabelFont(SM_, settings_.rankFont);
  paintBars();
  showStoredBackground(settings_.background);
}

void TPorShow::paintBars() {
  for (QFrame* barPanel : SP_) {
    QPalette palette = barPanel->palette();
    palette.setColor(QPalette::Window, styledtext::qtColour(settings_.barColour));
    barPanel->setPalette(palette);
  }
}

void TPorShow::saveSettings() {
  Timer1.stop();
  Timer2.stop();
  const styledtext::TSmoothLabel* sub = ui->SecTitle;
  settings_.subtitle = {sub->smoothFont(), sub->FontEffect(), {sub->x(), sub->y()}};
  settings_.background = backgroundName();
  base::IniFile config = base::ConfigFiles(programDir()).openConfig();
  screen::saveRankingDisplay(config, settings_);
}

bool TPorShow::loadAndCompute() {
  base::IniFile config = base::ConfigFiles(programDir()).openConfig();
  inputs_ = readInputs(config, programDir());
  if (inputs_.programmes.size() > static_cast<std::size_t>(kBars)) inputs_.programmes.resize(kBars);
  const std::filesystem::path file = readingScoringFile(programDir(), inputs_.scoringFile);
  ScoringReading reading = readScores(inputs_, ScoreSheet::load(file), true, false);
  if (!reading.complete()) {
    errors_.report(dialogs(), reading.error, file);
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
  return screen::barHeight(parseScore(averages_[i]).value_or(0), fullScore_, shownBarHeight_);
}

void TPorShow::fitBarHeight() {
  shownBarHeight_ = settings_.barHeight;
  // The room between the titles (and the score label over the bar) and the baseline.
  const int baseline = screenRect().height() - 200;
  int titlesBottom = 0;
  for (const QWidget* title : {static_cast<QWidget*>(ui->MainTitle), static_cast<QWidget*>(ui->SecTitle)})
    if (title->isVisibleTo(this) && title->y() < baseline / 2)
      titlesBottom = std::max(titlesBottom, title->geometry().bottom());
  const int room = baseline - titlesBottom - scoreLabel(1)->fontMetrics().height() - 8;
  int tallest = 0;
  for (int k = 1; k <= kBars; ++k) tallest = std::max(tallest, targetHeight(k));
  if (tallest > room && tallest > 0)
    shownBarHeight_ = std::max(1, static_cast<int>(1.0 * settings_.barHeight * room / tallest));
}

void TPorShow::fitLabelFonts() {
  // Score labels as wide as a bar and its gap, name labels no taller than the
  // room under the baseline: where the stored fonts are too large for this
  // showing they are drawn smaller.
  auto fitted = [](QFont font, const std::function<bool(const QFont&)>& fits) {
    while (!fits(font) && font.pointSize() > 6) font.setPointSize(font.pointSize() - 1);
    return font;
  };
  const int n = static_cast<int>(inputs_.programmes.size());
  QString widestScore = QStringLiteral("10.00");
  for (const std::string& average : averages_)
    if (average.size() > static_cast<std::size_t>(widestScore.size())) widestScore = QString::fromStdString(average);
  const QFont score = fitted(ST_[0]->property("storedFont").value<QFont>(), [&](const QFont& f) {
    return QFontMetrics(f).horizontalAdvance(widestScore) <= spacing_.width + spacing_.gap - 2;
  });
  QLabel probe;
  probe.setWordWrap(true);
  const QFont name = fitted(SB_[0]->property("storedFont").value<QFont>(), [&](const QFont& f) {
    probe.setFont(f);
    for (int k = 1; k <= n; ++k) {
      const Programme& programme = inputs_.programmes[static_cast<std::size_t>(k - 1)];
      const QString text = platform::fromGbk(programme.order + gbk("、") + programme.name);
      probe.setText(text);
      if (probe.heightForWidth(spacing_.width) > 196) return false;
      const QFontMetrics metrics(f);
      for (const QChar c : text)
        if (metrics.horizontalAdvance(c) > spacing_.width) return false;
    }
    return true;
  });
  for (QLabel* label : ST_) label->setFont(score);
  for (QLabel* label : SB_) label->setFont(name);
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
  const int baseline = screenRect().height() - 200;
  barPanel->setGeometry(barPanel->x(), baseline - height, spacing_.width, height);
}

void TPorShow::placeScoreLabel(int k) {
  QLabel* score = scoreLabel(k);
  QFrame* barPanel = bar(k);
  score->adjustSize();
  score->move(barPanel->x() + barPanel->width() / 2 - score->width() / 2,
              screenRect().height() - 200 - barHeightFor(k) - score->height());
}

void TPorShow::layoutBars() {
  const int n = static_cast<int>(inputs_.programmes.size());
  // Thirty programmes at the stored 80 + 10 pixels are 2,690 wide: narrower for this showing.
  spacing_ = fitBars(n, settings_.barWidth, settings_.gap, screenRect().width() - 40);
  fitLabelFonts();
  const int W = spacing_.width;
  const int baseline = screenRect().height() - 200;
  const int total = n * W + (n - 1) * spacing_.gap;
  int left = screenRect().width() / 2 - total / 2;
  for (int k = 1; k <= kBars; ++k) {
    const bool shown = k <= n;
    bar(k)->setVisible(shown);
    scoreLabel(k)->setVisible(shown);
    nameLabel(k)->setVisible(shown);
    const int height = barHeightFor(k);
    bar(k)->setGeometry(left, baseline - height, W, height);
    QLabel* name = nameLabel(k);
    if (shown) {
      const Programme& programme = inputs_.programmes[static_cast<std::size_t>(k - 1)];
      name->setText(platform::fromGbk(programme.order + gbk("、") + programme.name));
    }
    name->setFixedWidth(W);
    name->setFixedHeight(std::max(name->heightForWidth(W), name->fontMetrics().height()));
    name->move(left + W / 2 - name->width() / 2, baseline);
    placeScoreLabel(k);
    if (shown) left += W + spacing_.gap;
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
    rank->move(spacing_.width / 2 - rank->width() / 2, 8);
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
  fitBarHeight();
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
    label->setProperty("storedFont", qt);
    setTextColour(label, font.color);
  }
}

void TPorShow::chooseLabelFont(std::array<QLabel*, kBars>& labels, styledtext::FontRecord& font) {
  std::optional<styledtext::FontRecord> chosen = dialogs().font(font);
  if (!chosen) return;
  font.name = chosen->name;
  font.size = chosen->size > 0 ? chosen->size : font.size;
  font.color = chosen->color;
  applyLabelFont(labels, font);
  layoutBars();
  if (!animating()) showRanks();
}

}  // namespace scoring
