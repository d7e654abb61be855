#include "displays/TShowPanel.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

#include "base/config_files.h"
#include "base/gbk.h"
#include "draw/winners_text.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_service.h"
#include "screen/element_menus.h"
#include "screen/state/screen_settings.h"
#include "styledtext/TSmoothFontDlg.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/TSmoothScrollText.h"
#include "styledtext/core/effect_ini.h"
#include "styledtext/qt_rasteriser.h"
#include "ui_TShowPanel.h"

namespace displays {

namespace {

using styledtext::EffectDefaults;
using styledtext::FontRecord;

std::string gbk(const char* utf8) { return base::utf8ToGbk(utf8); }

constexpr int kWhite = 0xFFFFFF;
constexpr int kYellow = 0x00FFFF;  // red + 256 × green
constexpr int kSkyBlue = 0xF0CAA6;
constexpr int kTextWidth = 529;
constexpr int kTextHeight = 177;

// The window's design: used where Config.ini lacks a key.
EffectDefaults titleDesign(styledtext::TGradualStyle style) {
  EffectDefaults d;
  d.gradualEnabled = true;
  d.gradualStyle = static_cast<int>(style);
  d.gradualStartColor = kWhite;
  d.gradualEndColor = kYellow;
  return d;
}

EffectDefaults textDesign() {
  EffectDefaults d = titleDesign(styledtext::TGradualStyle::gsTopToBottom);
  d.shadowEnabled = true;
  return d;
}

// Sizes are points at 96 dpi: 31, 27 and 19 pixels high.
FontRecord titleFontDesign(int points) {
  FontRecord f;
  f.size = points;
  f.color = kWhite;
  return f;
}

FontRecord textFontDesign() {
  FontRecord f;
  f.name = gbk("黑体");
  f.size = 14;
  f.color = kWhite;
  f.charset = 134;  // GB2312
  f.bold = true;
  return f;
}

const char* const kPerRowCaptions[] = {"每行一个", "每行二个", "每行三个", "每行四个", "每行五个"};

QAction* findItem(QMenu* menu, const QString& caption) {
  for (QAction* item : menu->actions())
    if (item->text() == caption) return item;
  return nullptr;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

TShowPanel::RunMemory& TShowPanel::runMemory() {
  static RunMemory memory;
  return memory;
}

TShowPanel::TShowPanel(WinnersDisplayContext context, QWidget* parent)
    : DisplayStage(context.screen, parent), ui(std::make_unique<Ui::TShowPanel>()), context_(std::move(context)) {
  ui->setupUi(this);
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setGeometry(screenRect());
  prepareCaption(ui->ShowMainTitle);
  prepareCaption(ui->ShowSecTitle);
  ui->Image2->setScaledContents(true);

  auto locked = [this] { return context_.positionLocked && context_.positionLocked(); };
  for (QWidget* element : {static_cast<QWidget*>(ui->ShowMainTitle), static_cast<QWidget*>(ui->ShowSecTitle),
                           static_cast<QWidget*>(ui->Image2)})
    new screen::ElementDragFilter(element, locked, [](QPoint) {});
  ui->NameText->setMouseTracking(true);
  ui->NameText->installEventFilter(this);
  buildMenus();

  loadSettings();
  ui->ShowMainTitle->setCaption(context_.mainTitle);
  ui->ShowSecTitle->setCaption(context_.secTitle);
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
  const base::ConfigFiles files(context_.programDir);
  const base::IniFile ini = files.openWithFallback();
  const std::string showKey = "Show";

  auto loadTitle = [&](styledtext::TSmoothLabel* title, const char* section, int points,
                       styledtext::TGradualStyle style, QAction*& tick) {
    const EffectDefaults design = titleDesign(style);
    FontRecord font = styledtext::readFont(ini, section, "", titleFontDesign(points));
    title->beginUpdate();
    title->setSmoothFont(font);
    title->FontEffect().assign(
        styledtext::readEffect(ini, section, styledtext::kLabelEffectPrefix, design, design.effect()));
    title->endUpdate();
    const bool shown = ini.readBool(section, showKey, true);
    title->setVisible(shown);
    tick->setChecked(shown);
  };
  loadTitle(ui->ShowMainTitle, "ShowMainTitle", 23, styledtext::TGradualStyle::gsBottomToTop, mainTitleTick_);
  loadTitle(ui->ShowSecTitle, "ShowSecTitle", 20, styledtext::TGradualStyle::gsTopToBottom, secTitleTick_);
  const bool logoShown = ini.readBool("ShowLogoTitle", showKey, true);
  ui->Image2->setVisible(logoShown);
  logoTick_->setChecked(logoShown);

  styledtext::TScrollTextParam text = ui->NameText->Text();
  text.Font = styledtext::readFont(ini, "NameText", "Text.", textFontDesign());
  text.BackColor = ini.readInt("NameText", "Text.BackColor", kSkyBlue);
  const EffectDefaults design = textDesign();
  text.FontEffect =
      styledtext::readEffect(ini, "NameText", styledtext::kScrollTextEffectPrefix, design, design.effect());
  // Alpha and Angle of the text are stored but never read back.
  text.FontEffect.setAlpha(design.alpha);
  text.FontEffect.setAngle(design.angle);
  ui->NameText->setAutoUpdate(false);
  ui->NameText->setText(text);
  ui->NameText->resize(ui->NameText->width(), std::max(20, ini.readInt("NameText", "Height", kTextHeight)));
  ui->NameText->setScrollDelay(ini.readInt("NameText", "ScrollDelay", 60));
  ui->NameText->setScrollStep(ini.readInt("NameText", "ScrollStep", 1));

  auto place = [&](QWidget* element, const char* section) {
    element->move(ini.readInt(section, gbk("X坐标"), element->x()), ini.readInt(section, gbk("Y坐标"), element->y()));
  };
  place(ui->ShowMainTitle, "ShowMainTitle");
  place(ui->ShowSecTitle, "ShowSecTitle");
  place(ui->Image2, "ShowLogoTitle");
  // A file without the titles' places (a first opening) gets the default layout
  // rather than places off the screen.
  if (!ini.hasKey("ShowMainTitle", gbk("X坐标"))) defaultLayout();
  centreText();
  ui->NameText->move(ui->NameText->x(), ini.readInt("NameText", "Top", ui->NameText->y()));
  // A box stored on a taller screen would run past the bottom edge and lose its
  // lower fade; it is shortened to end 10 pixels above the edge.
  const int room = screenRect().height() - ui->NameText->y() - 10;
  if (ui->NameText->height() > room) ui->NameText->resize(ui->NameText->width(), std::max(20, room));
  perRow_ = ini.readInt("NameList", gbk("每行个数"), draw::kAllOnOneLine);

  const QImage background =
      loadPictureIfPresent(context_.programDir, "backpic", ini.readString("ShowTitlePic", "Picture", ""));
  if (!background.isNull()) setBackground(background);
  // The program's own logo stands in as the design-time picture, as on the draw screen.
  const QImage logo =
      loadPicture(screen::findLogoPicture(context_.programDir, ini.readString("ShowTitlePic", "TitlePicture", "")));
  if (!logo.isNull()) setLogoPicture(logo);
}

void TShowPanel::setLogoPicture(const QImage& picture) {
  ui->Image2->setPixmap(QPixmap::fromImage(picture));
  ui->Image2->resize(picture.size());
}

void TShowPanel::compose() {
  text_ = draw::composeWinnersText(*context_.data, context_.shownAward, perRow_, runMemory().lastToFirst);
  styledtext::TScrollTextParam text = ui->NameText->Text();
  text.Lines = splitLines(text_);

  const QFontMetrics metrics(styledtext::qtFont(text.Font));
  int widest = 0;
  for (const std::string& line : text.Lines)
    widest = std::max(widest, metrics.horizontalAdvance(platform::fromGbk(line)));
  const long long height = static_cast<long long>(text.Lines.size()) * metrics.height();

  ui->NameText->setAutoUpdate(false);
  ui->NameText->setText(text);
  ui->NameText->resize(widest + 20, ui->NameText->height());
  ui->NameText->setAutoUpdate(true);
  ui->NameText->setActive(!(height + 10 < ui->NameText->height()));
}

void TShowPanel::centreText() { ui->NameText->move(centredLeft(ui->NameText->width()), ui->NameText->y()); }

void TShowPanel::defaultLayout() {
  const int screenWidth = screenRect().width();
  const int screenHeight = screenRect().height();
  // Nearest whole number, halves to the even neighbour.
  auto nearest = [](double x) { return static_cast<int>(std::nearbyint(x)); };
  styledtext::TSmoothLabel* main = ui->ShowMainTitle;
  styledtext::TSmoothLabel* sub = ui->ShowSecTitle;
  main->move(centredLeft(main->width()), nearest(screenHeight * 0.05));
  sub->move(centredLeft(sub->width()), nearest(main->y() + main->height() + sub->height() * 0.3));
  ui->Image2->move(nearest(screenWidth * 0.05), main->y());
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
  add(titleMenu_, "字体设置", [this] { chooseTitleFont(menuTitle_); });
  add(titleMenu_, "字体特效", [this] { editTitleEffects(menuTitle_); });
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
    runMemory().lastToFirst = !runMemory().lastToFirst;
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

void TShowPanel::contextMenuEvent(QContextMenuEvent* event) { backgroundMenu_->popup(event->globalPos()); }

void TShowPanel::chooseTitleFont(styledtext::TSmoothLabel* title) {
  if (title == nullptr || context_.dialogs == nullptr) return;
  if (std::optional<FontRecord> chosen = context_.dialogs->font(title->smoothFont())) title->setSmoothFont(*chosen);
}

void TShowPanel::editTitleEffects(styledtext::TSmoothLabel* title) {
  if (title == nullptr) return;
  styledtext::TSmoothFontDialog dialog;
  dialog.setAllowChangeFont(true);
  dialog.Font() = title->smoothFont();
  dialog.Effect().assign(title->FontEffect());
  if (!dialog.Execute(this)) return;
  title->beginUpdate();
  title->setSmoothFont(dialog.Font());
  title->FontEffect().assign(dialog.Effect());
  title->endUpdate();
}

void TShowPanel::chooseTextFont() {
  if (context_.dialogs == nullptr) return;
  if (std::optional<FontRecord> chosen = context_.dialogs->font(ui->NameText->Text().Font)) {
    ui->NameText->hide();
    styledtext::TScrollTextParam text = ui->NameText->Text();
    text.Font = *chosen;
    ui->NameText->setAutoUpdate(false);
    ui->NameText->setText(text);
  }
  compose();
  centreText();
  ui->NameText->show();
}

void TShowPanel::editTextEffects() {
  styledtext::TSmoothFontDialog dialog;
  dialog.setAllowChangeFont(true);
  dialog.Font() = ui->NameText->Text().Font;
  dialog.Effect().assign(ui->NameText->Text().FontEffect);
  if (dialog.Execute(this)) {
    styledtext::TScrollTextParam text = ui->NameText->Text();
    text.Font = dialog.Font();
    text.FontEffect.assign(dialog.Effect());
    ui->NameText->setAutoUpdate(false);
    ui->NameText->setText(text);
  }
  compose();
}

void TShowPanel::chooseTextBackColour() {
  styledtext::TScrollTextParam text = ui->NameText->Text();
  const std::optional<int> chosen = colourQuestion()(text.BackColor);
  if (!chosen) return;
  text.BackColor = *chosen;
  ui->NameText->setText(text);
}

void TShowPanel::changeBackground() {
  if (context_.dialogs == nullptr) return;
  std::string name;
  const QImage picture = choosePicture(*context_.dialogs, context_.programDir, "backpic", name);
  if (picture.isNull()) return;
  setBackground(picture);
  runMemory().background = name;
}

void TShowPanel::changeLogo() {
  if (context_.dialogs == nullptr) return;
  std::string name;
  const QImage picture = choosePicture(*context_.dialogs, context_.programDir, "image", name);
  if (picture.isNull()) return;
  setLogoPicture(picture);
  runMemory().logo = name;
}

bool TShowPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->NameText && textMouse(event)) return true;
  return DisplayStage::eventFilter(watched, event);
}

bool TShowPanel::textMouse(QEvent* event) {
  QWidget* box = ui->NameText;
  const bool locked = context_.positionLocked && context_.positionLocked();
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
  const base::ConfigFiles files(context_.programDir);
  base::IniFile ini = files.openConfig();
  const auto write = [&] {
    base::IniBatch batch(ini);
    auto saveTitle = [&](styledtext::TSmoothLabel* title, const char* section, QAction* tick) {
      styledtext::writeFont(ini, section, "", title->smoothFont());
      styledtext::writeEffect(ini, section, styledtext::kLabelEffectPrefix, title->FontEffect());
      ini.writeInt(section, gbk("X坐标"), title->x());
      ini.writeInt(section, gbk("Y坐标"), title->y());
      ini.writeBool(section, "Show", tick->isChecked());
    };
    saveTitle(ui->ShowMainTitle, "ShowMainTitle", mainTitleTick_);
    saveTitle(ui->ShowSecTitle, "ShowSecTitle", secTitleTick_);
    ini.writeInt("ShowLogoTitle", gbk("X坐标"), ui->Image2->x());
    ini.writeInt("ShowLogoTitle", gbk("Y坐标"), ui->Image2->y());
    ini.writeBool("ShowLogoTitle", "Show", logoTick_->isChecked());
    const styledtext::TScrollTextParam& text = ui->NameText->Text();
    styledtext::writeFont(ini, "NameText", "Text.", text.Font);
    ini.writeInt("NameText", "Text.BackColor", text.BackColor);
    styledtext::writeEffect(ini, "NameText", styledtext::kScrollTextEffectPrefix, text.FontEffect);
    ini.writeInt("NameText", "Left", ui->NameText->x());
    ini.writeInt("NameText", "Top", ui->NameText->y());
    ini.writeInt("NameText", "Height", ui->NameText->height());
    ini.writeInt("NameText", "ScrollDelay", ui->NameText->ScrollDelay());
    ini.writeInt("NameText", "ScrollStep", ui->NameText->ScrollStep());
    const RunMemory& memory = runMemory();
    if (memory.background.size() > 2) ini.writeString("ShowTitlePic", "Picture", memory.background);
    if (memory.logo.size() > 2) ini.writeString("ShowTitlePic", "TitlePicture", memory.logo);
    ini.writeInt("NameList", gbk("每行个数"), perRow_);
  };
  if (context_.dialogs != nullptr)
    context_.dialogs->reportFailures(write);
  else
    write();
}

}  // namespace displays
