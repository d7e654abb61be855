#include "app/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <algorithm>
#include <string>

#include "base/config_files.h"
#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "console/TConsole.h"
#include "draw/lifecycle.h"
#include "draw/rolling_feed.h"
#include "draw/startup.h"
#include "platform/font_substitutions.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/appearance_commands.h"
#include "screen/command_table.h"
#include "screen/display_stage.h"
#include "screen/element_menus.h"
#include "screen/main_menu.h"
#include "screen/state/auto_layout.h"
#include "screen/state/frame_fit.h"
#include "screen/state/rolling_layout.h"
#include "screen/state/screen_settings.h"
#include "screen/tool_commands.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/qt_rasteriser.h"
#include "ui_TForm1.h"

using platform::fromGbk;
using screen::Label;
using screen::ShowTick;

namespace {

bool intersectsAny(const std::vector<QRect>& boxes, const QRect& box) {
  return std::any_of(boxes.begin(), boxes.end(), [&](const QRect& b) { return b.intersects(box); });
}

const char* const kLabelNames[screen::kLabelCount] = {"MainTitle",  "SecTitle",     "ActionHint", "PrizeName",
                                                      "HonorGuest", "RateProgress", "ItemName",   "TimeShow"};
}  // namespace

TForm1::TForm1(std::filesystem::path programDir, QWidget* parent, QSize desktop)
    : QWidget(parent),
      ui(std::make_unique<Ui::TForm1>()),
      programDir_(std::move(programDir)),
      desktop_(desktop),
      folder_(programDir_),
      dialogs_(this) {
  ui->setupUi(this);
  setWindowFlag(Qt::FramelessWindowHint);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  if (!desktop_.isValid()) {
    // Laid out from the start for the screen it will stand on (the projector).
    stageScreen_ = storedStageScreen();
    if (stageScreen_ != nullptr) setScreen(stageScreen_);
    desktop_ = screen() ? screen()->geometry().size() : QSize(1920, 1080);
  }
  resize(desktop_);
  luck_ = std::make_unique<draw::Luck>(data_, folder_, *this);
  sounds_ = new screen::SoundPlayers(this);
  mainMenu_ = std::make_unique<screen::MainMenu>(this);
  createElements();
  connectCommands();

  connect(&Timer1, &QTimer::timeout, this, [this] { luck_->Timer1Timer(); });
  connect(&Timer2, &QTimer::timeout, this, [this] { luck_->Timer2Timer(); });
  connect(&Timer4, &QTimer::timeout, this, [this] { luck_->Timer4Timer(); });
  connect(&poolAheadTimer_, &QTimer::timeout, this, [this] { luck_->poolAheadTimer(); });
  Timer1.setTimerType(Qt::PreciseTimer);
  Timer3.setSingleShot(true);
  connect(&Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);

  // With a projector connected the start-up's questions open on the laptop screen already.
  if (stageScreen_ != nullptr && QGuiApplication::screens().size() > 1) {
    std::vector<QScreen*> others;
    for (QScreen* s : QGuiApplication::screens())
      if (s != stageScreen_) others.push_back(s);
    prepareConsole(std::find(others.begin(), others.end(), QGuiApplication::primaryScreen()) != others.end()
                       ? QGuiApplication::primaryScreen()
                       : others.front());
  }
  FormCreate();
  createStageScreenMenu();
  memoryReturn_.schedule();
}

TForm1::~TForm1() = default;

QTimer& TForm1::timer(int number) {
  switch (number) {
    case 1:
      return Timer1;
    case 2:
      return Timer2;
    case 3:
      return Timer3;
    default:
      return Timer4;
  }
}

screen::Display TForm1::display() const { return screen::Display::single(desktop_.width(), desktop_.height()); }

base::IniFile TForm1::configForRead() const { return folder_.configFiles().openWithFallback(); }

void TForm1::createElements() {
  Image2 = new QLabel(this);
  Image2->setObjectName(QStringLiteral("Image2"));
  PrizePic = new QLabel(this);
  PrizePic->setObjectName(QStringLiteral("PrizePic"));
  PrizePic->setScaledContents(true);
  for (std::size_t i = 0; i < screen::kLabelCount; ++i) {
    auto* label = new styledtext::TSmoothLabel(this);
    label->setObjectName(QString::fromLatin1(kLabelNames[i]));
    label->setTransparent(true);
    label->setAutoSize(true);
    // What lies beneath a label is the background picture, already scaled.
    label->setBackdropProvider(
        [this](const styledtext::TSmoothLabel& l) {
          if (scaledBackground_.isNull()) {
            QImage black(l.size(), QImage::Format_RGB888);
            black.fill(Qt::black);
            return black;
          }
          return scaledBackground_.copy(l.geometry());
        },
        [this](const styledtext::TSmoothLabel&) { return scaledBackground_.cacheKey(); });
    labels_[i] = label;
  }

  // The rolling area stands above the captions: a label paints the background
  // behind its text and would hide a frame beneath it. The buttons stay on top.
  for (int k = 1; k <= 30; ++k) {
    auto* picture = new screen::PictureFrame(this);
    picture->setObjectName(QStringLiteral("NameImage%1").arg(k));
    picture->hide();
    pictureFrames_[static_cast<std::size_t>(k - 1)] = picture;
  }
  for (int k = 1; k <= 31; ++k) {
    auto* frame = new screen::RollingFrame(this);
    frame->setObjectName(QStringLiteral("frameName%1").arg(k));
    frame->hide();
    frames_[static_cast<std::size_t>(k - 1)] = frame;
  }
  QFont buttonFont(QStringLiteral("黑体"));
  buttonFont.setPixelSize(14);
  startRun_ = new QPushButton(QStringLiteral("开始"), this);
  startRun_->setObjectName(QStringLiteral("startRun"));
  startRun_->setFont(buttonFont);
  startRun_->setFocusPolicy(Qt::NoFocus);
  startRun_->setDefault(true);
  startRun_->resize(90, 32);
  connect(startRun_, &QPushButton::clicked, this, [this] { luck_->startStopCommand(); });
  Button1 = new QPushButton(QStringLiteral("载入图片"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setFont(buttonFont);
  Button1->setFocusPolicy(Qt::NoFocus);
  Button1->resize(startRun_->size());
  Button1->hide();
  connect(Button1, &QPushButton::clicked, this, [this] { loadPhotoTiles(); });

  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
  progressBar_->resize(qMin(600, desktop_.width() - 40), 24);
  progressBar_->hide();
}

// ---- start-up -------------------------------------------------------------------

void TForm1::runGuarded(const std::function<void()>& command) { dialogs_.reportFailures(command); }

void TForm1::FormCreate() {
  for (auto* frame : frames_) frame->setText({});
  progressBar_->move(desktop_.width() / 2 - progressBar_->width() / 2,
                     desktop_.height() / 2 - progressBar_->height() / 2);
  const base::ConfigFiles& files = folder_.configFiles();
  draw::StartupHooks hooks;
  hooks.loadScreenSettings = [&] { screen::loadMainSettings(files, display(), model_); };
  hooks.positionLoad = [&](bool& firstRun) {
    // The flag is read before the write that clears it: a failed write still tells it.
    const auto tellFlag = qScopeGuard([&] { firstRun = model_.firstRun; });
    screen::loadPositions(files, display(), model_);
  };
  hooks.showScreen = [this] { showLoadedSettings(); };
  if (draw::startUp(data_, folder_, *this, *luck_, hooks) == draw::StartupResult::Declined) {
    startupDeclined_ = true;
    skipExitSave_ = true;
    return;
  }
  started_ = true;
  Timer3.start(1000);
}

void TForm1::Timer3Timer() {
  switch (screen::resolutionCheck(model_)) {
    case screen::ResolutionAction::Nothing:
      return;
    case screen::ResolutionAction::AskOperator:
      if (!dialogs_.question(QString::fromUtf8(screen::kResolutionQuestion.data(),
                                               static_cast<int>(screen::kResolutionQuestion.size()))))
        return;
      [[fallthrough]];
    case screen::ResolutionAction::RunAutoLayout:
      runAutoLayout();
      return;
  }
}

void TForm1::runAutoLayout() {
  runGuarded([this] {
    std::vector<std::string> names;
    for (std::size_t r = 1; r < data_.AllNameGrid.rowCount(); ++r)
      names.push_back(data_.AllNameGrid.cell(draw::person::kName, r));
    progressBar_->setRange(1, 31);
    progressBar_->show();
    screen::AutoLayoutInput input{display(),
                                  measurer_,
                                  &names,
                                  currentBatchSize_ > 0 ? currentBatchSize_ : 1,
                                  [this](int done) {
                                    progressBar_->setValue(done);
                                    progressBar_->repaint();
                                  },
                                  logoSize(),
                                  {startRun_->width(), startRun_->height()},
                                  longestCountdown()};
    base::IniFile config = folder_.configFiles().openConfig();
    screen::autoLayout(config, input, model_);
    progressBar_->hide();
    renderModel();
  });
  progressBar_->hide();
}

// ---- showing the model ----------------------------------------------------------

void TForm1::loadBackground() {
  // When neither the stored picture nor the shipped one can be read, the screen
  // stays black and the rest of the start-up goes on.
  background_ = QImage();  // the old picture is let go before the new one is read
  background_ =
      model_.backgroundFile.empty() ? QImage() : platform::readImageFile(platform::toQString(model_.backgroundFile));
  if (background_.isNull()) model_.backgroundFile.clear();
  // Three bytes a pixel: the background is opaque, and the screen's largest
  // image stays a quarter smaller (painting converts only the rectangles shown).
  if (!background_.isNull()) background_ = background_.convertToFormat(QImage::Format_RGB888);
  loadedBackground_ = model_.backgroundFile;
  scaleBackground();
}

void TForm1::scaleBackground() {
  if (background_.isNull() || size().isEmpty()) {
    scaledBackground_ = QImage();
  } else {
    scaledBackground_ = background_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB888);
  }
  for (auto* label : labels_)
    if (label) label->update();
  update();
}

void TForm1::renderLabel(Label which) {
  styledtext::TSmoothLabel* l = label(which);
  const screen::LabelState& state = model_.label(which);
  l->beginUpdate();
  l->setSmoothFont(state.font);
  l->FontEffect().assign(state.effect);
  l->setCaption(fromGbk(state.caption));
  l->endUpdate();
  placeCaption(which);
  l->setVisible(state.visible);
}

QRect TForm1::onScreenBox(QPoint stored, QSize size) const {
  // A caption written by the draw (a long guest title, the progress line on a
  // narrow screen) may be wider than the place it was given leaves: it moves in
  // from the edge, and stops short of the prize picture it would run into from
  // the left. Its stored place stays.
  int left = qMax(0, qMin(stored.x(), desktop_.width() - size.width()));
  const int top = qMax(0, qMin(stored.y(), desktop_.height() - size.height()));
  const screen::Box& prize = model_.prizePicture;
  const QRect picture(prize.position.x, prize.position.y, prize.size.width, prize.size.height);
  if (model_.prizePictureVisible && left < picture.left() && QRect(QPoint(left, top), size).intersects(picture))
    left = qMax(0, picture.left() - size.width());
  return {QPoint(left, top), size};
}

void TForm1::keepOnScreen(QWidget* element) const {
  const QRect box = onScreenBox(element->pos(), element->size());
  if (box.topLeft() != element->pos()) element->move(box.topLeft());
}

std::vector<QRect> TForm1::elementBoxes(const QWidget* self) const {
  // The captions, pictures and buttons the audience sees; the rolling area
  // keeps clear of them by its own layout.
  std::vector<QRect> boxes;
  auto add = [&](const QWidget* w) {
    if (w && w != self && w->isVisibleTo(this) && !w->size().isEmpty()) boxes.push_back(w->geometry());
  };
  for (Label which : screen::kAllLabels)
    if (!label(which)->Caption().isEmpty()) add(label(which));
  for (const QWidget* w : {static_cast<QWidget*>(Image2), static_cast<QWidget*>(PrizePic),
                           static_cast<QWidget*>(startRun_), static_cast<QWidget*>(Button1)})
    add(w);
  return boxes;
}

void TForm1::placeCaption(Label which) {
  styledtext::TSmoothLabel* l = label(which);
  const screen::LabelState& state = model_.label(which);
  if (l->smoothFont() != state.font) l->setSmoothFont(state.font);
  l->move(state.position.x, state.position.y);
  keepOnScreen(l);
  // The titles are the operator's own; a caption the draw writes that would
  // still cover another element (two names of award rolling beside the subtitle
  // on a narrow screen) is shown smaller, down to the names' readable size, and
  // keeps its stored font. Where no size helps it stays as it is.
  const bool writtenByDraw = which != Label::MainTitle && which != Label::SecTitle;
  if (!writtenByDraw || state.caption.empty()) return;
  const std::vector<QRect> others = elementBoxes(l);
  if (!intersectsAny(others, l->geometry())) return;
  screen::LabelFont font = state.font;
  const QPoint stored(state.position.x, state.position.y);
  for (font.size = state.font.size - 1; font.size >= std::min(state.font.size, screen::kReadableFontSize);
       --font.size) {
    const screen::Size size = measurer_.measureLabel(state.caption, font, state.effect);
    if (intersectsAny(others, onScreenBox(stored, QSize(size.width, size.height)))) continue;
    l->setSmoothFont(font);
    l->move(stored);
    keepOnScreen(l);
    return;
  }
}

QSize TForm1::pictureFrameSize() const {
  const screen::Size& laid = model_.rolling.pictureFrameSize;
  return laid.width > 0 && laid.height > 0 ? QSize(laid.width, laid.height) : photoTiles_.tileSize();
}

std::string TForm1::longestCountdown() const {
  const draw::DrawSettings& s = data_.settings;
  return std::to_string(std::max({10, s.autoStopSeconds, s.autoStartSeconds}));
}

screen::RollingRoom TForm1::rollingRoom() const {
  return screen::rollingRoom(model_, display(), measurer_, logoSize(), {startRun_->width(), startRun_->height()},
                             longestCountdown());
}

screen::Size TForm1::logoSize() const {
  const QPixmap logo = Image2->pixmap();
  return logo.isNull() ? screen::Size{} : screen::Size{logo.width(), logo.height()};
}

void TForm1::renderFrames() {
  const screen::RollingArea& area = model_.rolling;
  const QColor colour = styledtext::qtColour(area.textFont.color);
  QFont font = screen::qtFont(area.textFont.name, area.textFont.size);
  font.setBold(area.textFont.bold);
  font.setItalic(area.textFont.italic);
  font.setUnderline(area.textFont.underline);
  font.setStrikeOut(area.textFont.strikeOut);
  for (int k = 1; k <= 30; ++k) {
    auto* f = frame(k);
    f->setFrameFont(font, colour);
    const screen::Point& p = area.textFrames[static_cast<std::size_t>(k - 1)];
    f->move(p.x, p.y);
    f->setVisible(area.textVisible[static_cast<std::size_t>(k - 1)]);
    auto* picture = pictureFrame(k);
    const screen::Point& q = area.pictureFrames[static_cast<std::size_t>(k - 1)];
    picture->setGeometry(QRect(QPoint(q.x, q.y), pictureFrameSize()));
    picture->setVisible(area.pictureVisible[static_cast<std::size_t>(k - 1)]);
  }
  for (int k = 1; k <= 30; ++k) fitFrame(k);
  auto* big = frame(31);
  // Its names are padded with blanks to columns, a Chinese character two: they
  // line up in a face whose Latin letters are half a Chinese character wide, as
  // 黑体 and 宋体 were.
  font.setFamily(platform::fixedPitchFace(font.family()));
  font.setPointSize(screen::qtFont(area.textFont.name, area.bigFrameFontSize).pointSize());
  big->setFrameFont(font, colour);
  big->move(area.bigFrame.x, area.bigFrame.y);
  fitBigFrame();
  big->setVisible(area.textVisible[30]);
}

std::vector<screen::Rect> TForm1::obstacles(const QWidget* self) const {
  std::vector<screen::Rect> boxes;
  for (const QRect& box : elementBoxes(self)) boxes.push_back({box.x(), box.y(), box.width(), box.height()});
  return boxes;
}

void TForm1::fitBigFrame() {
  screen::RollingFrame* big = frame(31);
  const screen::RollingArea& area = model_.rolling;
  QFont font = big->frameFont();
  screen::BigFrameFit fit;
  fit.stored = area.bigFrame;
  fit.desktop = {desktop_.width(), desktop_.height()};
  fit.others = obstacles(big);
  fit.font = {platform::toGbk(font.family()), screen::qtFont(area.textFont.name, area.bigFrameFontSize).pointSize(),
              font.bold(), font.italic()};
  fit.composed = area.textCaptions[static_cast<std::size_t>(draw::kBigFrame - 1)];

  // What it shows now, for the rolling ticks that change the names, rarely the room they need.
  const QString shownText = big->text();
  int shownPerLine = 0;  // as composed
  if (shownText != fromGbk(fit.composed))
    shownPerLine = int(draw::bigFrameCells(platform::toGbk(shownText.section(QLatin1Char('\n'), 0, 0))).size());
  const screen::BigFrameStep shown{font.pointSize(), shownPerLine, big->linePitch(),
                                   big->pos() != QPoint(area.bigFrame.x, area.bigFrame.y)};

  const screen::BigFrameShow chosen = screen::fitBigFrame(fit, measurer_, shown);
  if (font.pointSize() != chosen.step.size) {
    font.setPointSize(chosen.step.size);
    big->setFrameFont(font, big->frameColour());
  }
  const QString text = fromGbk(chosen.text);
  if (big->text() != text) big->setText(text);
  big->setLinePitch(chosen.step.pitch);
  big->move(chosen.position.x, chosen.position.y);
}

void TForm1::renderPictures() {
  QPixmap logo;
  if (!model_.logoFile.empty())
    logo = QPixmap::fromImage(platform::readImageFile(platform::toQString(model_.logoFile)));
  if (!model_.logoFile.empty() && logo.isNull() && !started_)
    dialogs_.message(QString::fromUtf8(screen::kLogoUnreadableMessage.data(),
                                       static_cast<int>(screen::kLogoUnreadableMessage.size())));
  Image2->setPixmap(logo);
  Image2->adjustSize();
  Image2->move(model_.logo.x, model_.logo.y);
  Image2->setVisible(model_.logoVisible && !logo.isNull());
  const screen::Box& box = model_.prizePicture;
  PrizePic->setGeometry(box.position.x, box.position.y, box.size.width, box.size.height);
  PrizePic->setVisible(model_.prizePictureVisible);
}

void TForm1::placeStartButtons() {
  const screen::Point p = screen::startButtonPosition(display(), {startRun_->width(), startRun_->height()});
  startRun_->move(p.x, p.y);
  startRun_->setVisible(model_.startButtonVisible);
  Button1->move(p.x - startRun_->width() - 10, p.y);
  Button1->setVisible(model_.pictureLoadButtonVisible);
}

void TForm1::renderModel() {
  renderPictures();  // first: a caption keeps clear of the prize picture where it now stands
  for (Label which : screen::kAllLabels) renderLabel(which);
  renderFrames();
  placeStartButtons();
}

QStringList TForm1::visibleFrameTexts() const {
  QStringList texts;
  for (int k = 1; k <= 30; ++k)
    if (frame(k)->isVisibleTo(this)) texts << frame(k)->text();
  return texts;
}

void TForm1::saveState() {
  model_.windowPosition = {x(), y()};
  model_.windowSize = {desktop_.width(), desktop_.height()};
  const draw::DrawSettings& s = data_.settings;
  runGuarded([&] {
    screen::saveOnExit(folder_.configFiles(), model_, {s.textDraw, s.peopleRolling, s.predeterminedOn, s.blacklistOn},
                       base::currentDateTimeText());
  });
}

void TForm1::positionLoad() {
  // A restart or a mode change has reloaded the draw's half of the settings; the
  // screen's half (fonts, effects, titles, show ticks, pictures) runs again too,
  // then the position load, as at start-up.
  runGuarded([this] {
    screen::loadMainSettings(folder_.configFiles(), display(), model_);
    screen::loadPositions(folder_.configFiles(), display(), model_);
  });
  showLoadedSettings();
}

void TForm1::showLoadedSettings() {
  model_.textDraw = data_.settings.textDraw;
  model_.peopleRolling = data_.settings.peopleRolling;
  model_.pictureLoadButtonVisible =
      !data_.settings.textDraw && !photoTiles_.loaded() && model_.tick(ShowTick::StartButton);
  mainMenu_->syncTicks(model_);
  if (model_.backgroundFile != loadedBackground_) loadBackground();
  syncOtherSettingsEntry();
  renderModel();
}

// ---- events ---------------------------------------------------------------------

void TForm1::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (scaledBackground_.isNull()) {
    painter.fillRect(event->rect(), Qt::black);
    return;
  }
  // Rectangle by rectangle: a tick's region is thirty frames spread over the
  // screen, and its bounding rectangle would be blended through the whole clip.
  for (const QRect& rect : event->region()) painter.drawImage(rect, scaledBackground_, rect);
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  scaleBackground();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  // A key held down repeats; the draw takes one command per press.
  if (event->isAutoRepeat()) return;
  if (!handleKey(event->key())) QWidget::keyPressEvent(event);
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
  luck_->popupMenuOpened();
  mainMenu_->menu()->popup(event->globalPos());
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!skipExitSave_) saveState();
  sounds_->stop();
  // The console lives as long as the draw screen: the program ends with it.
  if (console_ != nullptr) console_->closeWithProgram();
  event->accept();
}
