#include "displays/TPrize.h"

#include <QContextMenuEvent>
#include <QImageReader>
#include <QLabel>
#include <QMenu>

#include "base/config_files.h"
#include "base/gbk.h"
#include "base/paths.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_service.h"
#include "screen/element_menus.h"
#include "screen/state/screen_settings.h"
#include "styledtext/TSmoothFontDlg.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/core/effect_ini.h"
#include "ui_TPrize.h"

namespace displays {

namespace {

std::string gbk(const char* utf8) { return base::utf8ToGbk(utf8); }

constexpr const char* kSection = "ShowPrizeName";
constexpr const char* kPartKeys[3] = {"Show1", "Show2", "Show3"};
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

QAction* findItem(const QMenu* menu, const QString& caption) {
  for (QAction* item : menu->actions()) {
    if (item->text() == caption) return item;
    if (item->menu() != nullptr)
      if (QAction* inner = findItem(item->menu(), caption)) return inner;
  }
  return nullptr;
}

// The caption's design: 31 pixels high, a gradient bottom to top ending in yellow.
styledtext::EffectDefaults captionDesign() {
  styledtext::EffectDefaults d;
  d.gradualEnabled = true;
  d.gradualStyle = static_cast<int>(styledtext::TGradualStyle::gsBottomToTop);
  d.gradualStartColor = 0xFFFFFF;
  d.gradualEndColor = 0x00FFFF;
  return d;
}

}  // namespace

std::string& TPrize::rememberedBackground() {
  static std::string name;
  return name;
}

TPrize::TPrize(PrizeDisplayContext context, QWidget* parent)
    : DisplayStage(context.screen, parent),
      ui(std::make_unique<Ui::TPrize>()),
      context_(std::move(context)),
      ItemGrid(8) {
  ui->setupUi(this);
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setGeometry(screenRect());
  for (styledtext::TSmoothLabel* label : {ui->ShowMainTitle, ui->ShowSecTitle, ui->PrizeName}) prepareCaption(label);
  ui->Image2->setScaledContents(true);
  ui->Image3->setScaledContents(true);
  ui->Image3->setAttribute(Qt::WA_TranslucentBackground);

  auto locked = [this] { return context_.positionLocked && context_.positionLocked(); };
  new screen::ElementDragFilter(ui->PrizeName, locked, [](QPoint) {});
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
QAction* TPrize::windowItem(const QString& caption) const { return findItem(windowMenu_, caption); }
QAction* TPrize::captionItem(const QString& caption) const { return findItem(captionMenu_, caption); }

void TPrize::loadSettings() {
  auto copyTitle = [](styledtext::TSmoothLabel* title, const CaptionCopy& from) {
    title->beginUpdate();
    title->setCaption(from.caption);
    title->setSmoothFont(from.font);
    title->FontEffect().assign(from.effect);
    title->endUpdate();
    title->move(from.position);
    title->setVisible(from.visible);
  };
  copyTitle(ui->ShowMainTitle, context_.mainTitle);
  copyTitle(ui->ShowSecTitle, context_.secTitle);
  ui->Image2->move(context_.logoPosition);
  ui->Image2->setVisible(context_.logoVisible);

  const base::ConfigFiles files(context_.programDir);
  const base::IniFile ini = files.openConfigOnly();
  const QImage background =
      loadPictureIfPresent(context_.programDir, "backpic", ini.readString(kSection, "Picture", ""));
  if (!background.isNull()) setBackground(background);
  for (int k = 0; k < 3; ++k) partTicks_[k]->setChecked(ini.readBool(kSection, kPartKeys[k], true));
  parts_ = {partTicks_[0]->isChecked(), partTicks_[1]->isChecked(), partTicks_[2]->isChecked()};
  const QImage logo =
      loadPicture(screen::findLogoPicture(context_.programDir, ini.readString("TitlePic", "TitlePicture", "")));
  if (!logo.isNull()) {
    ui->Image2->setPixmap(QPixmap::fromImage(logo));
    ui->Image2->resize(logo.size());
  }

  styledtext::FontRecord design;
  design.size = 23;
  design.color = 0xFFFFFF;
  const styledtext::EffectDefaults effects = captionDesign();
  ui->PrizeName->beginUpdate();
  ui->PrizeName->setSmoothFont(styledtext::readFont(ini, kSection, "", design));
  ui->PrizeName->FontEffect().assign(
      styledtext::readEffect(ini, kSection, styledtext::kLabelEffectPrefix, effects, effects.effect()));
  ui->PrizeName->endUpdate();
  ui->PrizeName->move(ini.readInt(kSection, gbk("X坐标"), 500), ini.readInt(kSection, gbk("Y坐标"), 500));

  Timer1.setInterval(ini.readInt(kSection, "speed", 1000));
  setPictureBox(QRect(ini.readInt(kSection, "img_left", 500), ini.readInt(kSection, "img_top", 500),
                      ini.readInt(kSection, "img_w", 500), ini.readInt(kSection, "img_h", 500)));

  ItemGrid = draw::prizeTable(ini);
  position_ = draw::firstPrizeRow(static_cast<int>(ItemGrid.rowCount()) - 1, context_.drawOrder);

  const std::filesystem::path first = context_.programDir / "prize" / "prize1.png";
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
  ui->Image3->setGeometry(box);
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
    const std::filesystem::path path = base::joinGbk(context_.programDir / "prize", file);
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
}

void TPrize::buildMenus() {
  windowMenu_ = new QMenu(this);
  QAction* background = windowMenu_->addAction(QStringLiteral("更换背景"));
  background->setObjectName(QStringLiteral("N7"));
  connect(background, &QAction::triggered, this, &TPrize::changeBackground);

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
  QAction* back = windowMenu_->addAction(QStringLiteral("返回"));
  back->setObjectName(QStringLiteral("N1"));
  connect(back, &QAction::triggered, this, &QWidget::close);

  captionMenu_ = new QMenu(this);
  connect(captionMenu_->addAction(QStringLiteral("字体设置")), &QAction::triggered, this, &TPrize::chooseCaptionFont);
  connect(captionMenu_->addAction(QStringLiteral("字体特效")), &QAction::triggered, this, &TPrize::editCaptionEffects);
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

void TPrize::contextMenuEvent(QContextMenuEvent* event) { windowMenu_->popup(event->globalPos()); }

void TPrize::chooseCaptionFont() {
  if (context_.dialogs == nullptr) return;
  if (std::optional<styledtext::FontRecord> chosen = context_.dialogs->font(ui->PrizeName->smoothFont()))
    ui->PrizeName->setSmoothFont(*chosen);
}

void TPrize::editCaptionEffects() {
  styledtext::TSmoothFontDialog dialog;
  dialog.setAllowChangeFont(true);
  dialog.Font() = ui->PrizeName->smoothFont();
  dialog.Effect().assign(ui->PrizeName->FontEffect());
  if (!dialog.Execute(this)) return;
  ui->PrizeName->beginUpdate();
  ui->PrizeName->setSmoothFont(dialog.Font());
  ui->PrizeName->FontEffect().assign(dialog.Effect());
  ui->PrizeName->endUpdate();
}

void TPrize::changeBackground() {
  if (context_.dialogs == nullptr) return;
  std::string name;
  const QImage picture = choosePicture(*context_.dialogs, context_.programDir, "backpic", name);
  if (picture.isNull()) return;
  setBackground(picture);
  rememberedBackground() = name;
}

void TPrize::saveSettings() {
  Timer1.stop();
  const base::ConfigFiles files(context_.programDir);
  base::IniFile ini = files.openConfig();
  const auto write = [&] {
    base::IniBatch batch(ini);
    styledtext::writeFont(ini, kSection, "", ui->PrizeName->smoothFont());
    styledtext::writeEffect(ini, kSection, styledtext::kLabelEffectPrefix, ui->PrizeName->FontEffect());
    ini.writeInt(kSection, gbk("X坐标"), ui->PrizeName->x());
    ini.writeInt(kSection, gbk("Y坐标"), ui->PrizeName->y());
    for (int k = 0; k < 3; ++k) ini.writeBool(kSection, kPartKeys[k], partTicks_[k]->isChecked());
    ini.writeInt(kSection, "speed", Timer1.interval());
    ini.writeInt(kSection, "img_left", box_.left());
    ini.writeInt(kSection, "img_top", box_.top());
    ini.writeInt(kSection, "img_w", box_.width());
    ini.writeInt(kSection, "img_h", box_.height());
    if (rememberedBackground().size() > 2) ini.writeString(kSection, "Picture", rememberedBackground());
  };
  if (context_.dialogs != nullptr)
    context_.dialogs->reportFailures(write);
  else
    write();
}

}  // namespace displays
