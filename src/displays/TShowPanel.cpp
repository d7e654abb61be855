#include "displays/TShowPanel.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <functional>

#include "base/config_files.h"
#include "base/text_file.h"
#include "draw/winners_text.h"
#include "platform/font_substitutions.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_service.h"
#include "screen/element_menus.h"
#include "screen/picture_files.h"
#include "screen/state/rolling_layout.h"
#include "screen/state/screen_settings.h"
#include "screen/state/winners_display_settings.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/TSmoothScrollText.h"
#include "styledtext/qt_rasteriser.h"
#include "ui_TShowPanel.h"

namespace displays {

namespace {

const char* const kPerRowCaptions[] = {"每行一个", "每行二个", "每行三个", "每行四个", "每行五个"};

QAction* findItem(QMenu* menu, const QString& caption) {
  for (QAction* item : menu->actions())
    if (item->text() == caption) return item;
  return nullptr;
}

screen::Point pointOf(const QWidget* widget) { return {widget->x(), widget->y()}; }

// The winners' text as it is drawn: its lines, the font they are drawn in and
// the widest line's width in it.
struct DrawnText {
  std::vector<std::string> lines;
  styledtext::FontRecord font;
  int widest = 0;
};

int widestLine(const std::vector<std::string>& lines, const styledtext::FontRecord& font) {
  const QFontMetrics metrics(styledtext::qtFont(font));
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, metrics.horizontalAdvance(platform::fromGbk(line)));
  return widest;
}

// Fits the composition `composeWith(perRow)` into `room` pixels: the stored size
// when it fits; else smaller, down to the readable size; else at that size with
// fewer names a line; else, with one name a line, smaller still (a name longer
// than the screen at the readable size).
DrawnText fitWinnersText(const std::function<std::string(int)>& composeWith, int perRow,
                         const styledtext::FontRecord& stored, int room) {
  DrawnText drawn;
  drawn.font = stored;
  drawn.font.name = platform::toGbk(platform::fixedPitchFace(platform::fromGbk(stored.name)));
  auto tryWith = [&](int size, int columns) {
    drawn.font.size = size;
    drawn.lines = base::splitLines(composeWith(columns));
    drawn.widest = widestLine(drawn.lines, drawn.font);
    return drawn.widest <= room;
  };
  const int floor = std::min(stored.size, screen::kReadableFontSize);
  for (int size = stored.size; size >= floor; --size)
    if (tryWith(size, perRow)) return drawn;
  // No screen holds a hundred names side by side; a missing count reads as 99999.
  for (int columns = std::min(perRow, 100); columns >= 1; --columns)
    if (tryWith(floor, columns)) return drawn;
  for (int size = floor - 1; size >= 6; --size)
    if (tryWith(size, 1)) return drawn;
  return drawn;
}
QPoint qtPoint(screen::Point point) { return {point.x, point.y}; }

}  // namespace

TShowPanel::TShowPanel(WinnersDisplayContext context, QWidget* parent)
    : DisplayStage(context, parent), ui(std::make_unique<Ui::TShowPanel>()), context_(std::move(context)) {
  setUpForm(*ui);
  prepareCaption(ui->ShowMainTitle);
  prepareCaption(ui->ShowSecTitle);
  ui->Image2->setScaledContents(true);

  auto locked = [this] { return positionLocked(); };
  for (QWidget* element : {static_cast<QWidget*>(ui->ShowMainTitle), static_cast<QWidget*>(ui->ShowSecTitle),
                           static_cast<QWidget*>(ui->Image2)})
    new screen::ElementDragFilter(element, locked, [](QPoint) {});
  ui->NameText->setMouseTracking(true);
  ui->NameText->installEventFilter(this);
  buildMenus();

  // The captions come first: a first opening lays the titles out by their sizes.
  ui->ShowMainTitle->setCaption(context_.mainTitle);
  ui->ShowSecTitle->setCaption(context_.secTitle);
  loadSettings();
  compose();
  centreText();
}

TShowPanel::~TShowPanel() = default;

styledtext::TSmoothLabel* TShowPanel::mainTitle() const { return ui->ShowMainTitle; }
styledtext::TSmoothLabel* TShowPanel::secTitle() const { return ui->ShowSecTitle; }
QWidget* TShowPanel::logo() const { return ui->Image2; }
styledtext::TSmoothScrollText* TShowPanel::nameText() const { return ui->NameText; }
QAction* TShowPanel::backgroundItem(const QString& caption) const { return findItem(backgroundMenu_, caption); }
QAction* TShowPanel::titleItem(const QString& caption) const { return findItem(titleMenu_, caption); }
QAction* TShowPanel::textItem(const QString& caption) const { return findItem(textMenu_, caption); }
QAction* TShowPanel::logoItem(const QString& caption) const { return findItem(logoMenu_, caption); }

void TShowPanel::loadSettings() {
  if (context_.playOpeningSound) context_.playOpeningSound();
  screen::WinnersDisplaySettings design = screen::winnersDisplayDesign();
  design.mainTitle.position = pointOf(ui->ShowMainTitle);
  design.secTitle.position = pointOf(ui->ShowSecTitle);
  design.logoPosition = pointOf(ui->Image2);
  design.textBox.top = ui->NameText->y();
  const screen::WinnersDisplaySettings s =
      screen::loadWinnersDisplay(base::ConfigFiles(programDir()).openWithFallback(), design);

  auto applyTitle = [](styledtext::TSmoothLabel* title, const screen::DisplayTitleSettings& stored, QAction* tick) {
    setCaptionLook(title, stored.font, stored.effect);
    title->setVisible(stored.shown);
    tick->setChecked(stored.shown);
  };
  applyTitle(ui->ShowMainTitle, s.mainTitle, mainTitleTick_);
  applyTitle(ui->ShowSecTitle, s.secTitle, secTitleTick_);
  ui->Image2->setVisible(s.logoShown);
  logoTick_->setChecked(s.logoShown);

  storedTextFont_ = s.textFont;
  styledtext::TScrollTextParam text = ui->NameText->Text();
  text.Font = s.textFont;
  text.BackColor = s.textBackColour;
  text.FontEffect = s.textEffect;
  ui->NameText->setAutoUpdate(false);
  ui->NameText->setText(text);
  ui->NameText->resize(ui->NameText->width(), s.textBox.height);
  ui->NameText->setScrollDelay(s.scrollDelay);
  ui->NameText->setScrollStep(s.scrollStep);

  ui->ShowMainTitle->move(qtPoint(s.mainTitle.position));
  ui->ShowSecTitle->move(qtPoint(s.secTitle.position));
  ui->Image2->move(qtPoint(s.logoPosition));
  // A file without the titles' places (a first opening) gets the default layout
  // rather than places off the screen.
  if (!s.titlesPlaced) defaultLayout();
  for (QWidget* element : {static_cast<QWidget*>(ui->ShowMainTitle), static_cast<QWidget*>(ui->ShowSecTitle)})
    keepOnScreen(element);
  centreText();
  if (s.textPlaced) ui->NameText->move(ui->NameText->x(), s.textBox.top);
  // A box stored on a taller screen would run past the bottom edge and lose its
  // lower fade; it is shortened to end 10 pixels above the edge.
  const int room = screenRect().height() - ui->NameText->y() - 10;
  if (ui->NameText->height() > room) ui->NameText->resize(ui->NameText->width(), std::max(20, room));
  perRow_ = s.perRow;

  showStoredBackground(s.background);
  logoName_ = s.logo;
  // The program's own logo stands in as the design-time picture, as on the draw screen.
  const QImage logo = screen::loadPicture(screen::findLogoPicture(programDir(), s.logo));
  if (!logo.isNull()) setLogoPicture(logo);
}

void TShowPanel::setLogoPicture(const QImage& picture) {
  ui->Image2->setPixmap(QPixmap::fromImage(picture));
  ui->Image2->resize(picture.size());
}

void TShowPanel::compose() {
  auto composeWith = [this](int perRow) {
    return draw::composeWinnersText(*context_.data, context_.shownAward, perRow, lastToFirst());
  };
  text_ = composeWith(perRow_);
  // The box is the widest line plus 20; the shadow and the box's margins take
  // some more, so the lines get the screen less 60 pixels.
  const DrawnText drawn = fitWinnersText(composeWith, perRow_, storedTextFont_, screenRect().width() - 60);
  styledtext::TScrollTextParam text = ui->NameText->Text();
  text.Lines = drawn.lines;
  text.Font = drawn.font;
  const long long height =
      static_cast<long long>(text.Lines.size()) * QFontMetrics(styledtext::qtFont(text.Font)).height();

  ui->NameText->setAutoUpdate(false);
  ui->NameText->setText(text);
  ui->NameText->resize(drawn.widest + 20, ui->NameText->height());
  ui->NameText->setAutoUpdate(true);
  ui->NameText->setActive(!(height + 10 < ui->NameText->height()));
}

const std::vector<std::string>& TShowPanel::drawnLines() const { return ui->NameText->Text().Lines; }

void TShowPanel::centreText() { ui->NameText->move(centredLeft(ui->NameText->width()), ui->NameText->y()); }

void TShowPanel::defaultLayout() {
  styledtext::TSmoothLabel* main = ui->ShowMainTitle;
  styledtext::TSmoothLabel* sub = ui->ShowSecTitle;
  main->move(centredLeft(main->width()), screen::nearest(screenRect().height() * 0.05));
  sub->move(centredLeft(sub->width()), screen::nearest(main->y() + main->height() + sub->height() * 0.3));
  ui->Image2->move(screen::nearest(screenRect().width() * 0.05), main->y());
  ui->NameText->move(ui->NameText->x(), sub->y() + sub->height() + 20);
}

void TShowPanel::setPerRow(int perRow) {
  perRow_ = perRow;
  ui->NameText->hide();
  compose();
  centreText();
  ui->NameText->show();
}

void TShowPanel::buildMenus() {
  auto add = [](QMenu* menu, const char* caption, auto&& command, bool checkable = false) {
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    item->setCheckable(checkable);
    QObject::connect(item, &QAction::triggered, menu, command);
    return item;
  };

  backgroundMenu_ = new QMenu(this);
  setWindowMenu(backgroundMenu_);
  add(backgroundMenu_, "更换背景图", [this] { changeBackground(); });
  add(backgroundMenu_, "更改字幕区背景色", [this] { chooseTextBackColour(); });
  mainTitleTick_ = add(
      backgroundMenu_, "主标题", [this](bool on) { ui->ShowMainTitle->setVisible(on); }, true);
  secTitleTick_ = add(
      backgroundMenu_, "副标题", [this](bool on) { ui->ShowSecTitle->setVisible(on); }, true);
  logoTick_ = add(
      backgroundMenu_, "Logo图标", [this](bool on) { ui->Image2->setVisible(on); }, true);
  add(backgroundMenu_, "默认布局", [this] { defaultLayout(); });
  add(backgroundMenu_, "返回抽奖[F11]", [this] { close(); });

  titleMenu_ = new QMenu(this);
  add(titleMenu_, "字体设置", [this] { chooseCaptionFont(menuTitle_); });
  add(titleMenu_, "字体特效", [this] { editCaptionLook(menuTitle_); });
  add(titleMenu_, "居中", [this] { menuTitle_->move(centredLeft(menuTitle_->width()), menuTitle_->y()); });

  textMenu_ = new QMenu(this);
  add(textMenu_, "字体设置", [this] { chooseTextFont(); });
  add(textMenu_, "字体特效", [this] { editTextEffects(); });
  add(textMenu_, "修改底色", [this] { chooseTextBackColour(); });
  for (int n = 1; n <= 5; ++n) add(textMenu_, kPerRowCaptions[n - 1], [this, n] { setPerRow(n); });
  styledtext::TSmoothScrollText* scroll = ui->NameText;
  add(textMenu_, "开始滚动", [scroll] { scroll->setActive(true); });
  add(textMenu_, "停止滚动", [scroll] { scroll->setActive(false); });
  add(textMenu_, "加速滚动", [scroll] {
    if (scroll->ScrollDelay() > 30) scroll->setScrollDelay(scroll->ScrollDelay() - 30);
  });
  add(textMenu_, "减速滚动", [scroll] { scroll->setScrollDelay(scroll->ScrollDelay() + 30); });
  add(textMenu_, "低速滚动", [scroll] { scroll->setScrollDelay(300); });
  add(textMenu_, "高速滚动", [scroll] { scroll->setScrollDelay(1); });
  add(textMenu_, "切换滚动方向", [scroll] { scroll->setScrollStep(scroll->ScrollStep() <= 0 ? 1 : -1); });
  add(textMenu_, "切换奖项顺序", [this] {
    lastToFirst() = !lastToFirst();
    compose();
  });
  add(textMenu_, "返回抽奖", [this] { close(); });

  logoMenu_ = new QMenu(this);
  add(logoMenu_, "更换图片", [this] { changeLogo(); });
  add(logoMenu_, "居中", [this] { ui->Image2->move(centredLeft(ui->Image2->width()), ui->Image2->y()); });

  auto attach = [this](QWidget* element, QMenu* menu, styledtext::TSmoothLabel* title) {
    element->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(element, &QWidget::customContextMenuRequested, this, [this, element, menu, title](const QPoint& at) {
      menuTitle_ = title;
      menu->popup(element->mapToGlobal(at));
    });
  };
  attach(ui->ShowMainTitle, titleMenu_, ui->ShowMainTitle);
  attach(ui->ShowSecTitle, titleMenu_, ui->ShowSecTitle);
  attach(ui->NameText, textMenu_, nullptr);
  attach(ui->Image2, logoMenu_, nullptr);
}

void TShowPanel::chooseTextFont() {
  if (std::optional<styledtext::FontRecord> chosen = dialogs().font(storedTextFont_)) {
    ui->NameText->hide();
    storedTextFont_ = *chosen;
  }
  compose();
  centreText();
  ui->NameText->show();
}

void TShowPanel::editTextEffects() {
  const styledtext::TScrollTextParam& current = ui->NameText->Text();
  if (std::optional<screen::FontAndEffect> chosen = dialogs().fontAndEffect(storedTextFont_, current.FontEffect)) {
    storedTextFont_ = chosen->font;
    styledtext::TScrollTextParam text = current;
    text.FontEffect.assign(chosen->effect);
    ui->NameText->setAutoUpdate(false);
    ui->NameText->setText(text);
  }
  compose();
}

void TShowPanel::chooseTextBackColour() {
  styledtext::TScrollTextParam text = ui->NameText->Text();
  const std::optional<int> chosen = dialogs().colour(text.BackColor);
  if (!chosen) return;
  text.BackColor = *chosen;
  ui->NameText->setText(text);
}

void TShowPanel::changeLogo() {
  std::string name;
  const QImage picture = choosePicture("image", name);
  if (picture.isNull()) return;
  setLogoPicture(picture);
  logoName_ = name;
}

bool TShowPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->NameText && textMouse(event)) return true;
  return DisplayStage::eventFilter(watched, event);
}

bool TShowPanel::textMouse(QEvent* event) {
  QWidget* box = ui->NameText;
  const bool locked = positionLocked();
  switch (event->type()) {
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint at = mouse->position().toPoint();
      if (at.x() > 0 && at.x() < box->width() && at.y() > box->height() - 10 && at.y() < box->height()) {
        box->setCursor(Qt::SizeVerCursor);
        resizeArmed_ = true;
      } else {
        box->setCursor(Qt::ArrowCursor);
      }
      if (textDragging_ && !locked) box->move(box->x(), mouse->globalPosition().toPoint().y() - dragOffsetY_);
      return false;
    }
    case QEvent::MouseButtonPress: {
      const int y = static_cast<QMouseEvent*>(event)->globalPosition().toPoint().y();
      if (resizeArmed_) {
        pressY_ = y;
      } else {
        textDragging_ = true;
        dragOffsetY_ = y - box->y();
      }
      return false;
    }
    case QEvent::MouseButtonRelease: {
      const int y = static_cast<QMouseEvent*>(event)->globalPosition().toPoint().y();
      if (resizeArmed_) box->resize(box->width(), std::max(20, box->height() + (y - pressY_)));
      textDragging_ = false;
      resizeArmed_ = false;
      return false;
    }
    default:
      return false;
  }
}

void TShowPanel::saveSettings() {
  screen::WinnersDisplaySettings s;
  auto title = [](const styledtext::TSmoothLabel* label, const QAction* tick) {
    return screen::DisplayTitleSettings{label->smoothFont(), label->FontEffect(), pointOf(label), tick->isChecked()};
  };
  s.mainTitle = title(ui->ShowMainTitle, mainTitleTick_);
  s.secTitle = title(ui->ShowSecTitle, secTitleTick_);
  s.logoPosition = pointOf(ui->Image2);
  s.logoShown = logoTick_->isChecked();
  const styledtext::TScrollTextParam& text = ui->NameText->Text();
  s.textFont = storedTextFont_;
  s.textBackColour = text.BackColor;
  s.textEffect = text.FontEffect;
  s.textBox = {ui->NameText->x(), ui->NameText->y(), ui->NameText->width(), ui->NameText->height()};
  s.scrollDelay = ui->NameText->ScrollDelay();
  s.scrollStep = ui->NameText->ScrollStep();
  s.perRow = perRow_;
  s.background = backgroundName();
  s.logo = logoName_;
  base::IniFile config = base::ConfigFiles(programDir()).openConfig();
  screen::saveWinnersDisplay(config, s);
}

}  // namespace displays
