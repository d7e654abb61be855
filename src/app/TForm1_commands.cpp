// The draw screen's commands: the one table of every command (its menu item,
// key, console button and handler), the popup menus of the elements and the
// frames, dragging, and the commands that need the draw engine (restart,
// export, auto layout, modes).
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "app/TForm1.h"
#include "draw/lifecycle.h"
#include "draw/rolling_feed.h"
#include "platform/qt_gbk.h"
#include "scoring/web/phone_scoring.h"
#include "screen/appearance_commands.h"
#include "screen/command_table.h"
#include "screen/display_stage.h"
#include "screen/element_menus.h"
#include "screen/lock_check.h"
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
  commands_ = std::make_unique<screen::CommandTable>(*mainMenu_, this);
  phoneScoring_ = new scoring::web::PhoneScoring(programDir_, this);
  appearance_->setDesktopWidth(desktop_.width());
  appearance_->exitSave = [this] { saveState(); };
  appearance_->editEffects = [this](Label which) { editLabelEffects(which); };
  buildCommandTable();
  connectElementMenus();

  connect(mainMenu_.get(), &screen::MainMenu::opening, this, [this] { luck_->popupMenuOpened(); });
  connect(mainMenu_.get(), &screen::MainMenu::singleAwardChosen, this,
          [this](int award) { luck_->singleAwardCommand(award); });
  connect(appearance_.get(), &screen::AppearanceCommands::modelChanged, this, [this] {
    // Qt flips a checkable item's tick on a click; the model decides what it shows.
    mainMenu_->syncTicks(model_);
    if (model_.backgroundFile != loadedBackground_) loadBackground();
    renderModel();
  });
  connect(sounds_, &screen::SoundPlayers::stopSoundFailed, this, [this] { luck_->stopSoundFailed(); });
}

void TForm1::buildCommandTable() {
  using Command = screen::CommandTable::Command;
  auto add = [this](Command command, const QString& caption = {}) {
    return commands_->add(std::move(command), caption);
  };
  auto stopSound = [this] {
    if (sounds_->isPlaying()) sounds_->stop();
  };
  auto drawMode = [this](void (draw::Luck::*command)()) {
    return [this, command] {
      (luck_.get()->*command)();
      mainMenu_->setTextDraw(data_.settings.textDraw);
      mainMenu_->setPeopleRolling(data_.settings.peopleRolling);
    };
  };

  // The draw.
  add({"keySpace", Qt::Key_Space, "startButton", [this] { luck_->startStopCommand(); }}, QStringLiteral("开始/停止"));
  // Enter presses the start button, the window's default button, so only while it is shown.
  add({"keyEnter",
       Qt::Key_Return,
       {},
       [this] {
         if (startRun_->isVisibleTo(this)) luck_->startStopCommand();
       },
       {},
       Qt::Key_Enter},
      QStringLiteral("回车"));
  add({"N17", 0, {}, [this] { N17Click(); }});
  add({"N9", 0, {}, drawMode(&draw::Luck::N9Click)});
  add({"N10", 0, {}, drawMode(&draw::Luck::N10Click)});
  add({"N96", 0, {}, drawMode(&draw::Luck::N96Click)});
  add({"N97", 0, {}, drawMode(&draw::Luck::N97Click)});
  add({"keyF5", Qt::Key_F5, {}, [this] { hideRollingArea(); }}, QStringLiteral("清空滚动区"));

  // The event's set-up.
  add({"N7", 0, {}, [this] { N7Click(); }});
  add({"N8", 0, {}, [this] { N8Click(); }});
  add({"N11", 0, {}, [this] { N11Click(); }});
  add({"N92", Qt::Key_F2, {}, [this] { N92Click(); }});
  add({"N18", 0, "giveUpButton", [this] { N18Click(); }});
  add({"N58", 0, "supplementaryButton", [this] { N58Click(); }});
  add({"N20", 0, {}, [this] {
         tools_->exportWinners(
             [this](const std::filesystem::path& chosen) { return sheets::exportWinnersAs(data_, chosen); });
       }});
  add({"N21", 0, {}, [this] { tools_->viewLog(); }});
  add({"N12", 0, {}, [this] { N12Click(); }});
  add({"N106", 0, {}, [this] { N106Click(); }});
  add({"N108", 0, {}, [this] { N108Click(); }});
  add({"N109", 0, {}, [this] { N109Click(); }});

  // The screen.
  add({"N103", 0, {}, [this] { appearance_->editTitle(Label::MainTitle); }});
  add({"N104", 0, {}, [this] { appearance_->editTitle(Label::SecTitle); }});
  for (std::size_t i = 0; i < screen::kThemes.size(); ++i)
    add({screen::kThemes[i].item, 0, {}, [this, i] { appearance_->applyTheme(static_cast<int>(i)); }});
  add({"N13", 0, {}, [this] { appearance_->changeBackground(); }});
  add({"N15", 0, {}, [this] { appearance_->togglePositionLock(); }});
  add({"N16", 0, {}, [this] { runAutoLayout(); }});
  for (std::size_t i = 0; i < screen::kShowTickCount; ++i)
    add({screen::kShowTickItems[i], 0, {}, [this, i] {
           appearance_->toggleShowTick(static_cast<screen::ShowTick>(i));
         }});
  add({"N76", 0, {}, [this] { tools_->openWebPage(screen::WebPage::Home); }});

  // The displays. The menu entry of the current award's winners also stops the
  // sound player first, as do those of the scoring displays; their keys do not.
  add({"F31", Qt::Key_F3, "prizeButton", [this] { showPrizes(); }});
  add({"N19", Qt::Key_F9, "currentWinnersButton", [this] { showWinnersAfterCommand(data_.state.currentAward); },
       [this] { sounds_->stop(); }});
  add({"F101", Qt::Key_F10, "allWinnersButton", [this] { showWinnersAfterCommand("0"); }});
  add({"keyF11", Qt::Key_F11, "closeDisplayButton",
       [this] {
         if (screen::DisplayStage* shown = dialogs_.runningDisplay()) shown->close();
       }},
      QStringLiteral("关闭展示"));

  // Programme scoring.
  add({"N36", 0, {}, [this] { openScoringSetup(); }});
  add({"N65", Qt::Key_F8, "rankingButton", [this] { openRankingDisplay(); }, stopSound});
  add({"N14", Qt::Key_F7, "detailsButton", [this] { openScoreDetails(); }, stopSound});
  add({"N110", 0, {}, [this] {
         if (screen::passLock(passwords_, dialogs_)) openPhoneScoring();
       }});

  // Help and the program.
  add({"keyF1", Qt::Key_F1, {}, [this] { tools_->openHelp(); }}, QStringLiteral("帮助"));
  add({"N22", 0, {}, [this] { tools_->showShortcutHelp(); }});
  add({"N53", 0, {}, [this] { tools_->openWebPage(screen::WebPage::VideoGuide); }});
  add({"N77", 0, {}, [this] { tools_->openWebPage(screen::WebPage::CommonQuestions); }});
  add({"N93", Qt::Key_F4, {}, [this] {
         sounds_->stop();
         showMinimized();
       }});
  add({"N5", 0, {}, [this] {
         close();
         QApplication::quit();
       }});

  // The rolling area's own menus.
  textFrameMenu_ = new QMenu(this);
  bigFrameMenu_ = new QMenu(this);
  QAction* frameFont = add({"frameFont", 0, {}, [this] { chooseFrameFont(); }}, QStringLiteral("字体设置"));
  textFrameMenu_->addAction(frameFont);
  textFrameMenu_->addAction(
      add({"frameDefaultLayout", 0, {}, [this] { defaultLayout(); }}, QStringLiteral("默认排版")));
  bigFrameMenu_->addAction(frameFont);
  for (int perLine = 1; perLine <= 10; ++perLine)
    bigFrameMenu_->addAction(
        add({QStringLiteral("framePerLine%1").arg(perLine), 0, {}, [this, perLine] { setNamesPerLine(perLine); }},
            QStringLiteral("每行%1个").arg(perLine)));
}

bool TForm1::handleKey(int key) {
  if (dialogs_.runningDisplay() != nullptr) {
    // Only the console reaches here while a display is up: F11 closes it, and
    // nothing else may run inside the display's command.
    if (key == Qt::Key_F11) commands_->triggerKey(key);
    return true;
  }
  return commands_->triggerKey(key);
}

void TForm1::connectElementMenus() {
  connect(elementMenus_.get(), &screen::ElementMenus::opening, this, [this] { luck_->popupMenuOpened(); });
  screen::connectElementMenus(*elementMenus_, *appearance_);

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
