// The draw screen's commands: the popup menus of the window, its elements and
// its frames, dragging, and the commands that need the draw engine (restart,
// export, auto layout, modes).
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "app/TForm1.h"
#include "draw/lifecycle.h"
#include "draw/rolling_feed.h"
#include "platform/qt_gbk.h"
#include "screen/appearance_commands.h"
#include "screen/command_wiring.h"
#include "screen/element_menus.h"
#include "screen/main_menu.h"
#include "screen/state/auto_layout.h"
#include "screen/state/rolling_layout.h"
#include "screen/tool_commands.h"
#include "sheets/winners_sheet.h"
#include "styledtext/TSmoothLabel.h"

using screen::Element;
using screen::Label;

void TForm1::connectCommands() {
  appearance_ = std::make_unique<screen::AppearanceCommands>(model_, programDir_, dialogs_, passwords_, this);
  tools_ = std::make_unique<screen::ToolCommands>(programDir_, dialogs_, this);
  elementMenus_ = std::make_unique<screen::ElementMenus>(this);
  appearance_->setDesktopWidth(desktop_.width());
  appearance_->exitSave = [this] { saveState(); };
  appearance_->editEffects = [this](Label which) { editLabelEffects(which); };
  screen::connectCommands(*mainMenu_, *elementMenus_, *appearance_, *tools_, model_);
  connectTools();

  connect(appearance_.get(), &screen::AppearanceCommands::modelChanged, this, [this] {
    if (model_.backgroundFile != loadedBackground_) loadBackground();
    renderModel();
  });
  connect(elementMenus_.get(), &screen::ElementMenus::opening, this, [this] { luck_->popupMenuOpened(); });
  connect(tools_.get(), &screen::ToolCommands::minimiseRequested, this, [this] {
    sounds_->stop();
    showMinimized();
  });
  connect(tools_.get(), &screen::ToolCommands::exitRequested, this, [this] {
    close();
    QApplication::quit();
  });
  connect(mainMenu_->action(QStringLiteral("N17")), &QAction::triggered, this, &TForm1::N17Click);
  connect(mainMenu_->action(QStringLiteral("N7")), &QAction::triggered, this, &TForm1::N7Click);
  connectScoringCommands();
  connect(mainMenu_->action(QStringLiteral("N16")), &QAction::triggered, this, &TForm1::runAutoLayout);
  connect(mainMenu_->action(QStringLiteral("N20")), &QAction::triggered, this, [this] {
    tools_->exportWinners(
        [this](const std::filesystem::path& chosen) { return sheets::exportWinnersAs(data_, chosen); });
  });
  connect(sounds_, &screen::SoundPlayers::stopSoundFailed, this, [this] { luck_->stopSoundFailed(); });

  const std::pair<Element, QWidget*> elements[] = {{Element::MainTitle, label(Label::MainTitle)},
                                                   {Element::SecTitle, label(Label::SecTitle)},
                                                   {Element::ActionHint, label(Label::ActionHint)},
                                                   {Element::PrizeName, label(Label::PrizeName)},
                                                   {Element::ItemName, label(Label::ItemName)},
                                                   {Element::HonorGuest, label(Label::HonorGuest)},
                                                   {Element::RateProgress, label(Label::RateProgress)},
                                                   {Element::TimeShow, label(Label::TimeShow)},
                                                   {Element::Logo, Image2},
                                                   {Element::PrizePicture, PrizePic}};
  for (const auto& [element, widget] : elements)
    elementMenus_->attach(
        element, widget, [this] { return model_.positionLock; },
        [this](Element moved, QPoint to) { appearance_->elementMoved(moved, to); });

  attachFrameMenus();
  connectAwardCommands();
  connectDisplays();
}

void TForm1::editLabelEffects(Label which) {
  screen::LabelState& state = model_.label(which);
  const std::optional<screen::FontAndEffect> chosen = dialogs_.fontAndEffect(state.font, state.effect);
  if (!chosen) return;
  state.font = chosen->font;
  state.effect.assign(chosen->effect);
  renderLabel(which);
}

// ---- the rolling area's frames ----------------------------------------------------

void TForm1::attachFrameMenus() {
  textFrameMenu_ = new QMenu(this);
  QAction* font = textFrameMenu_->addAction(QStringLiteral("字体设置"));
  QAction* layout = textFrameMenu_->addAction(QStringLiteral("默认排版"));
  connect(font, &QAction::triggered, this, &TForm1::chooseFrameFont);
  connect(layout, &QAction::triggered, this, &TForm1::defaultLayout);

  bigFrameMenu_ = new QMenu(this);
  QAction* bigFont = bigFrameMenu_->addAction(QStringLiteral("字体设置"));
  connect(bigFont, &QAction::triggered, this, &TForm1::chooseFrameFont);
  for (int perLine = 1; perLine <= 10; ++perLine) {
    QAction* item = bigFrameMenu_->addAction(QStringLiteral("每行%1个").arg(perLine));
    connect(item, &QAction::triggered, this, [this, perLine] { setNamesPerLine(perLine); });
  }
  for (QMenu* menu : {textFrameMenu_, bigFrameMenu_})
    connect(menu, &QMenu::aboutToShow, this, [this] { luck_->popupMenuOpened(); });

  auto isLocked = [this] { return model_.positionLock; };
  for (int k = 1; k <= 31; ++k) {
    screen::RollingFrame* f = frame(k);
    f->setContextMenuPolicy(Qt::CustomContextMenu);
    QMenu* menu = k == 31 ? bigFrameMenu_ : textFrameMenu_;
    connect(f, &QWidget::customContextMenuRequested, this,
            [menu, f](const QPoint& at) { menu->popup(f->mapToGlobal(at)); });
    auto* drag = new screen::ElementDragFilter(f, isLocked, [this, k](QPoint to) {
      screen::Point& stored =
          k == 31 ? model_.rolling.bigFrame : model_.rolling.textFrames[static_cast<std::size_t>(k - 1)];
      stored = {to.x(), to.y()};
    });
    drag->setOnRelease([this, k] { layoutStore(k == 31 ? 31 : currentBatchSize_); });
  }
  for (int k = 1; k <= 30; ++k) {
    auto* drag = new screen::ElementDragFilter(pictureFrame(k), isLocked, [this, k](QPoint to) {
      model_.rolling.pictureFrames[static_cast<std::size_t>(k - 1)] = {to.x(), to.y()};
    });
    drag->setOnRelease([this] { layoutStore(currentBatchSize_); });
  }
}

void TForm1::chooseFrameFont() {
  screen::FrameFont& current = model_.rolling.textFont;
  styledtext::FontRecord initial;
  initial.name = current.name;
  initial.size = current.size;
  initial.color = current.color;
  initial.bold = current.bold;
  initial.italic = current.italic;
  initial.underline = current.underline;
  initial.strikeOut = current.strikeOut;
  std::optional<styledtext::FontRecord> chosen = dialogs_.font(initial);
  if (!chosen) return;
  current.name = chosen->name;
  current.size = chosen->size > 0 ? chosen->size : current.size;
  current.color = chosen->color;
  current.bold = chosen->bold;
  current.italic = chosen->italic;
  current.underline = chosen->underline;
  current.strikeOut = chosen->strikeOut;
  model_.rolling.giveFontToAllFrames(current);
  renderFrames();
  layoutStore(currentBatchSize_);
}

void TForm1::defaultLayout() {
  runGuarded([this] {
    const int n = currentBatchSize_ > 0 ? currentBatchSize_ : 1;
    base::IniFile config = folder_.configFiles().openConfig();
    const screen::RollingRoom room = rollingRoom();
    if (data_.settings.textDraw)
      screen::defaultTextLayout(config, n, display(), measurer_, model_.rolling, room);
    else
      screen::defaultPictureLayout(config, n, display(), model_.rolling, room);
    renderFrames();
  });
}

void TForm1::setNamesPerLine(int perLine) {
  model_.rolling.namesPerLine = perLine;
  // The result variant: the winners of the batch shown, bottom row of the pool first.
  const draw::Table& pool = data_.AllNameGrid;
  std::vector<std::string> names;
  for (std::size_t k = 1; k <= static_cast<std::size_t>(currentBatchSize_) && k < pool.rowCount(); ++k)
    names.push_back(pool.cell(draw::person::kDisplayName, pool.rowCount() - k));
  setFrameText(draw::kBigFrame, draw::bigFrameText(perLine, names, draw::widestName(names)));
}

// ---- restart of the draw (N17) ------------------------------------------------------

void TForm1::N17Click() {
  // A blocked draw's table is empty while its record on disk may hold winners.
  if (!tools_->confirmRestart(data_.hasWinners() || !data_.state.drawBlocked.empty())) return;
  luck_->abandonBatch();
  runGuarded([this] {
    data_.state.singleAwardTarget = 0;
    saveState();
    clearPhotoTiles();
    draw::LifecycleOutcome outcome = draw::restartDraw(data_, folder_);
    if (outcome.hint) setFieldText(draw::Field::ActionHint, *outcome.hint);
    positionLoad();
    if (outcome.message) showMessage(*outcome.message);
    setPictureLoadButtonVisible(!data_.settings.textDraw && !photoTiles_.loaded() &&
                                model_.tick(screen::ShowTick::StartButton));
    luck_->buildSingleAwardMenu();
    clearPrizePictures();
    luck_->playBackgroundMusic();
  });
}
