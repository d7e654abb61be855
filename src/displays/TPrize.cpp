#include "displays/TPrize.h"

#include <QLabel>
#include <QMenu>

#include "base/config_files.h"
#include "base/paths.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/element_menus.h"
#include "screen/picture_files.h"
#include "screen/state/prize_display_settings.h"
#include "screen/state/rolling_layout.h"
#include "screen/state/screen_settings.h"
#include "styledtext/TSmoothLabel.h"
#include "ui_TPrize.h"

namespace displays {

namespace {

constexpr const char* kPartCaptions[3] = {"显示奖项人数", "显示奖品名称", "显示抽奖嘉宾"};

struct Preset {
  const char* name;
  int width;
  int height;
};
constexpr Preset kPresets[] = {{"N300x2001", 300, 200}, {"N600x4001", 600, 400}, {"N900x6001", 900, 600},
                               {"N200x3001", 200, 300}, {"N400x6001", 400, 600}, {"N600x9001", 600, 900},
                               {"N500x5001", 500, 500}, {"N800x8001", 800, 800}};

struct Speed {
  const char* name;
  const char* caption;
  int interval;
};
constexpr Speed kSpeeds[] = {{"N12", "快&", 100}, {"N21", "2&", 200},   {"N31", "3&", 300},  {"N41", "4&", 400},
                             {"N51", "5&", 600},  {"N61", "6&", 900},   {"N71", "7&", 1200}, {"N81", "8&", 1500},
                             {"N91", "9&", 2000}, {"N101", "慢&", 2500}};

// The item with this caption in the menu or any of its submenus.
QAction* findNestedItem(const QMenu* menu, const QString& caption) {
  for (QAction* item : menu->actions()) {
    if (item->text() == caption) return item;
    if (item->menu() != nullptr)
      if (QAction* inner = findNestedItem(item->menu(), caption)) return inner;
  }
  return nullptr;
}

}  // namespace

TPrize::TPrize(PrizeDisplayContext context, QWidget* parent)
    : DisplayStage(context, parent), ui(std::make_unique<Ui::TPrize>()), context_(std::move(context)), ItemGrid(8) {
  setUpForm(*ui);
  for (styledtext::TSmoothLabel* label : {ui->ShowMainTitle, ui->ShowSecTitle, ui->PrizeName}) prepareCaption(label);
  ui->Image2->setScaledContents(true);
  ui->Image3->setScaledContents(true);
  ui->Image3->setAttribute(Qt::WA_TranslucentBackground);

  auto locked = [this] { return positionLocked(); };
  new screen::ElementDragFilter(ui->PrizeName, locked, [this](QPoint to) { captionPlace_ = to; });
  new screen::ElementDragFilter(ui->Image3, locked, [this](QPoint to) { box_.moveTopLeft(to); });
  buildMenus();
  connect(&Timer1, &QTimer::timeout, this, &TPrize::Timer1Timer);
  loadSettings();
  Timer1.start();
}

TPrize::~TPrize() = default;

styledtext::TSmoothLabel* TPrize::prizeName() const { return ui->PrizeName; }
styledtext::TSmoothLabel* TPrize::mainTitle() const { return ui->ShowMainTitle; }
QLabel* TPrize::picture() const { return ui->Image3; }
QAction* TPrize::windowItem(const QString& caption) const { return findNestedItem(windowMenu_, caption); }
QAction* TPrize::captionItem(const QString& caption) const { return findNestedItem(captionMenu_, caption); }

void TPrize::loadSettings() {
  auto copyTitle = [](styledtext::TSmoothLabel* title, const CaptionCopy& from) {
    setCaptionLook(title, from.font, from.effect, from.caption);
    title->move(from.position);
    title->setVisible(from.visible);
  };
  copyTitle(ui->ShowMainTitle, context_.mainTitle);
  copyTitle(ui->ShowSecTitle, context_.secTitle);
  ui->Image2->move(context_.logoPosition);
  ui->Image2->setVisible(context_.logoVisible);

  // The event's settings as every reader takes them: the template while the
  // event has no Config.ini yet (its awards, its look).
  const base::IniFile ini = base::ConfigFiles(programDir()).openConfig();
  const screen::PrizeDisplaySettings s = screen::loadPrizeDisplay(ini);
  showStoredBackground(s.background);
  for (std::size_t k = 0; k < 3; ++k) partTicks_[k]->setChecked(s.captionParts[k]);
  parts_ = {s.captionParts[0], s.captionParts[1], s.captionParts[2]};
  const QImage logo = screen::loadPicture(screen::findLogoPicture(programDir(), s.logo));
  if (!logo.isNull()) {
    ui->Image2->setPixmap(QPixmap::fromImage(logo));
    ui->Image2->resize(logo.size());
  }
  captionFont_ = s.captionFont;
  captionPlace_ = QPoint(s.captionPosition.x, s.captionPosition.y);
  setCaptionLook(ui->PrizeName, s.captionFont, s.captionEffect);
  ui->PrizeName->move(captionPlace_);
  Timer1.setInterval(s.interval);
  setPictureBox(QRect(s.pictureBox.left, s.pictureBox.top, s.pictureBox.width, s.pictureBox.height));

  ItemGrid = draw::prizeTable(ini);
  position_ = draw::firstPrizeRow(static_cast<int>(ItemGrid.rowCount()) - 1, context_.drawOrder);

  const std::filesystem::path first = programDir() / "prize" / "prize1.png";
  if (base::isFile(first))
    ui->Image3->setPixmap(QPixmap::fromImage(platform::readImageFile(platform::toQString(first))));
  ui->PrizeName->setCaption(QString());
}

void TPrize::setPictureBox(const QRect& box) {
  box_ = box;
  // QRect keeps width and height as given, also when they are 0 or negative.
  if (box.width() < 1 || box.height() < 1) {
    ui->Image3->hide();
    ui->Image3->move(box.topLeft());
    return;
  }
  // A box laid out for a larger screen is shown smaller (in proportion) and
  // moved in so that the picture stays whole on this one; the stored box stays.
  QRect shown = box;
  shown.setSize(box.size().boundedTo(screenRect().size()) == box.size()
                    ? box.size()
                    : box.size().scaled(screenRect().size(), Qt::KeepAspectRatio));
  ui->Image3->setGeometry(shown);
  keepOnScreen(ui->Image3);
  ui->Image3->show();
}

void TPrize::presetBox(int width, int height) {
  setPictureBox(QRect(centredLeft(width), screenRect().height() / 2 - height / 2, width, height));
}

void TPrize::Timer1Timer() {
  const int rows = static_cast<int>(ItemGrid.rowCount()) - 1;
  position_ = draw::wrapPrizeRow(position_, rows, context_.drawOrder);
  const std::string& file = ItemGrid.cell(7, static_cast<std::size_t>(std::max(position_, 0)));
  QImage picture;
  if (!file.empty() && position_ >= 1) {
    const std::filesystem::path path = base::joinGbk(programDir() / "prize", file);
    if (base::isFile(path)) picture = platform::readImageFile(platform::toQString(path));
  }
  if (picture.isNull())
    ui->Image3->clear();
  else
    ui->Image3->setPixmap(QPixmap::fromImage(picture));
  showCaption(position_);
  shownRow_ = position_;
  position_ = draw::nextPrizeRow(position_, context_.drawOrder);
}

void TPrize::showCaption(int row) {
  ui->PrizeName->setCaption(platform::fromGbk(draw::prizeCaption(ItemGrid, row, parts_)));
  fitCaption();
}

void TPrize::fitCaption() {
  styledtext::TSmoothLabel* caption = ui->PrizeName;
  const QSize screen = screenRect().size();
  // A caption wider than the screen is shown smaller, down to a readable size.
  styledtext::FontRecord font = captionFont_;
  const int floor = std::min(font.size, screen::kReadableFontSize);
  if (caption->smoothFont() != font) caption->setSmoothFont(font);
  while (caption->width() > screen.width() - 20 && font.size > floor) {
    --font.size;
    caption->setSmoothFont(font);
  }
  // Placed for a wider screen, it moves in so that it stays whole on this one.
  caption->move(captionPlace_);
  keepOnScreen(caption);
}

void TPrize::defaultLayout() {
  const QSize screen = screenRect().size();
  const int titleBottom = ui->ShowSecTitle->isVisible() ? ui->ShowSecTitle->geometry().bottom()
                          : ui->ShowMainTitle->isVisible() ? ui->ShowMainTitle->geometry().bottom()
                                                            : 0;
  QSize box = box_.size().isValid() && !box_.size().isEmpty() ? box_.size() : QSize(409, 265);
  box.scale(box.boundedTo(QSize(screen.width() / 2, screen.height() / 2)), Qt::KeepAspectRatio);
  const int top = titleBottom + 30;
  setPictureBox(QRect(centredLeft(box.width()), top, box.width(), box.height()));
  captionPlace_ = QPoint(centredLeft(ui->PrizeName->width()), top + box.height() + 20);
  fitCaption();
  captionPlace_ = ui->PrizeName->pos();
}

void TPrize::buildMenus() {
  windowMenu_ = new QMenu(this);
  setWindowMenu(windowMenu_);
  QAction* background = windowMenu_->addAction(QStringLiteral("更换背景"));
  background->setObjectName(QStringLiteral("N7"));
  connect(background, &QAction::triggered, this, [this] { changeBackground(); });

  QMenu* pictureMenu = windowMenu_->addMenu(QStringLiteral("图片调整"));
  pictureMenu->menuAction()->setObjectName(QStringLiteral("N9"));
  auto step = [this, pictureMenu](const char* caption, int dw, int dh) {
    connect(pictureMenu->addAction(QString::fromUtf8(caption)), &QAction::triggered, this,
            [this, dw, dh] { setPictureBox(QRect(box_.topLeft(), QSize(box_.width() + dw, box_.height() + dh))); });
  };
  step("高度+", 0, 10);
  step("高度-", 0, -10);
  step("宽度+", 10, 0);
  step("宽度-", -10, 0);
  for (const Preset& preset : kPresets) {
    QAction* item = pictureMenu->addAction(QStringLiteral("%1x%2").arg(preset.width).arg(preset.height));
    item->setObjectName(QString::fromLatin1(preset.name));
    connect(item, &QAction::triggered, this, [this, preset] { presetBox(preset.width, preset.height); });
  }

  QMenu* speedMenu = windowMenu_->addMenu(QStringLiteral("滚动速度"));
  speedMenu->menuAction()->setObjectName(QStringLiteral("N8"));
  for (const Speed& speed : kSpeeds) {
    QAction* item = speedMenu->addAction(QString::fromUtf8(speed.caption));
    item->setObjectName(QString::fromLatin1(speed.name));
    connect(item, &QAction::triggered, this, [this, speed] { Timer1.setInterval(speed.interval); });
  }
  connect(windowMenu_->addAction(QStringLiteral("默认布局")), &QAction::triggered, this, &TPrize::defaultLayout);
  QAction* back = windowMenu_->addAction(QStringLiteral("返回"));
  back->setObjectName(QStringLiteral("N1"));
  connect(back, &QAction::triggered, this, &QWidget::close);

  captionMenu_ = new QMenu(this);
  // The dialogs start from the stored font, not the one shown smaller to fit.
  connect(captionMenu_->addAction(QStringLiteral("字体设置")), &QAction::triggered, this, [this] {
    ui->PrizeName->setSmoothFont(captionFont_);
    if (chooseCaptionFont(ui->PrizeName)) captionFont_ = ui->PrizeName->smoothFont();
    fitCaption();
  });
  connect(captionMenu_->addAction(QStringLiteral("字体特效")), &QAction::triggered, this, [this] {
    ui->PrizeName->setSmoothFont(captionFont_);
    if (editCaptionLook(ui->PrizeName)) captionFont_ = ui->PrizeName->smoothFont();
    fitCaption();
  });
  connect(captionMenu_->addAction(QStringLiteral("居中")), &QAction::triggered, this, [this] {
    captionPlace_.setX(centredLeft(ui->PrizeName->width()));
    fitCaption();
  });
  for (int k = 0; k < 3; ++k) {
    partTicks_[k] = captionMenu_->addAction(QString::fromUtf8(kPartCaptions[k]));
    partTicks_[k]->setCheckable(true);
    connect(partTicks_[k], &QAction::triggered, this, [this] {
      parts_ = {partTicks_[0]->isChecked(), partTicks_[1]->isChecked(), partTicks_[2]->isChecked()};
      // The award on the screen, so the caption keeps matching its picture;
      // before the first tick the award the first tick will show.
      const int rows = static_cast<int>(ItemGrid.rowCount()) - 1;
      showCaption(shownRow_ > 0 ? shownRow_ : draw::wrapPrizeRow(position_, rows, context_.drawOrder));
    });
  }
  ui->PrizeName->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui->PrizeName, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { captionMenu_->popup(ui->PrizeName->mapToGlobal(at)); });
}

void TPrize::saveSettings() {
  Timer1.stop();
  screen::PrizeDisplaySettings s;
  s.captionFont = captionFont_;
  s.captionEffect = ui->PrizeName->FontEffect();
  s.captionPosition = {captionPlace_.x(), captionPlace_.y()};
  for (std::size_t k = 0; k < 3; ++k) s.captionParts[k] = partTicks_[k]->isChecked();
  s.interval = Timer1.interval();
  s.pictureBox = {box_.left(), box_.top(), box_.width(), box_.height()};
  s.background = backgroundName();
  base::IniFile config = base::ConfigFiles(programDir()).openConfig();
  screen::savePrizeDisplay(config, s);
}

}  // namespace displays
