// The draw screen with a projector beside the laptop: it stands full screen on
// the chosen screen (the stored one, else the largest that is not the laptop's),
// the console stands on the laptop's, every question opens on the console's
// screen, and screens may come and go during the evening. With one screen the
// window is maximised on it as it always was and there is no console.
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "app/TForm1.h"
#include "base/conversion_error.h"
#include "base/file_error.h"
#include "console/TConsole.h"
#include "console/draw_preview.h"
#include "screen/appearance_commands.h"
#include "screen/main_menu.h"
#include "screen/state/stage_screen.h"
#include "styledtext/TSmoothLabel.h"

namespace {

std::vector<screen::ConnectedScreen> connectedScreens() {
  std::vector<screen::ConnectedScreen> list;
  const QScreen* primary = QGuiApplication::primaryScreen();
  for (const QScreen* s : QGuiApplication::screens())
    list.push_back({s->name().toStdString(), s->geometry().width(), s->geometry().height(), s == primary});
  return list;
}

QString screenCaption(const QScreen* s) {
  return QStringLiteral("%1  (%2×%3)").arg(s->name()).arg(s->geometry().width()).arg(s->geometry().height());
}

}  // namespace

QScreen* TForm1::storedStageScreen() const {
  std::string stored;
  try {
    stored = screen::storedStageScreen(folder_.configFiles().openWithFallback());
  } catch (const base::FileError&) {
  } catch (const base::ConversionError&) {
  }
  const int chosen = screen::chooseStageScreen(connectedScreens(), stored);
  return chosen < 0 ? nullptr : QGuiApplication::screens().at(chosen);
}

console::TConsole* TForm1::console() const { return console_.get(); }

bool TForm1::consoleShown() const { return console_ != nullptr && console_->isVisible(); }

void TForm1::showOnStage() {
  if (QGuiApplication::screens().size() < 2) {
    placeOnOneScreen();
    return;
  }
  if (stageScreen_ == nullptr) stageScreen_ = storedStageScreen();
  placeOnTwoScreens(stageScreen_);
}

void TForm1::placeOnOneScreen() {
  if (console_ != nullptr) console_->hide();
  dialogs_.setConsole(nullptr);
  stageScreen_ = nullptr;
  QScreen* only = QGuiApplication::primaryScreen();
  if (only != nullptr) moveStage(only, false);
}

void TForm1::placeOnTwoScreens(QScreen* stage) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (stage == nullptr || screens.size() < 2) {
    placeOnOneScreen();
    return;
  }
  stageScreen_ = stage;
  moveStage(stage, true);
  std::vector<screen::ConnectedScreen> list = connectedScreens();
  const int consoleAt = screen::chooseConsoleScreen(list, static_cast<int>(screens.indexOf(stage)));
  showConsole(screens.at(consoleAt < 0 ? 0 : consoleAt));
}

void TForm1::moveStage(QScreen* target, bool fullScreen) {
  const QSize size = target->geometry().size();
  if (windowHandle() != nullptr) windowHandle()->setScreen(target);
  setScreen(target);
  if (size != desktop_) {
    // As a start on a screen of another size: the elements are kept on the
    // screen now, and a second later the resolution check offers the auto layout.
    desktop_ = size;
    appearance_->setDesktopWidth(desktop_.width());
    model_.resolutionChanged = model_.windowSize.width != size.width() || model_.windowSize.height != size.height();
    resize(desktop_);
    renderModel();
    Timer3.start(1000);
  }
  // Without a window manager (a projector machine in kiosk mode) "maximised" and
  // "full screen" mean nothing, so the window takes its screen's area itself.
  setGeometry(fullScreen ? target->geometry() : target->availableGeometry());
  if (fullScreen)
    showFullScreen();
  else
    showMaximized();
}

void TForm1::prepareConsole(QScreen* where) {
  if (console_ == nullptr) {
    console_ = std::make_unique<console::TConsole>(data_, *mainMenu_, *commands_, dialogs_,
                                                   [this] { return consoleStatus(); });
    console_->setWindowIcon(windowIcon());
    connect(console_.get(), &console::TConsole::keyPressed, this, [this](int key) { handleKey(key); });
    connect(console_.get(), &console::TConsole::closeRequested, this, [this] {
      if (dialogs_.question(QStringLiteral("确定要退出抽奖程序吗?")))
        mainMenu_->action(QStringLiteral("N5"))->trigger();
    });
  }
  console_->setStageScreenMenu(stageScreenMenu_);
  console_->setScreen(where);
  if (console_->windowHandle() != nullptr) console_->windowHandle()->setScreen(where);
  console_->setGeometry(where->availableGeometry());
  dialogs_.setConsole(console_.get());
}

void TForm1::showConsole(QScreen* where) {
  prepareConsole(where);
  console_->showMaximized();
  console_->preview()->setSource(this);
  console_->refresh();
  dialogs_.setConsole(console_.get());
  console_->raise();
  console_->activateWindow();
}

console::ConsoleStatus TForm1::consoleStatus() const {
  console::ConsoleStatus status;
  status.event = label(screen::Label::MainTitle)->Caption() + QStringLiteral("    活动文件夹: ") +
                 QString::fromStdString(programDir_.string());
  status.startCaption = startRun_->text();
  if (Timer4.isActive()) status.countdown = label(screen::Label::TimeShow)->Caption();
  status.winnersDisplayPending = Timer2.isActive();
  status.prizePicture = PrizePic->pixmap();
  status.rolling = Timer1.isActive();
  return status;
}

// ---- choosing the screen ------------------------------------------------------------

void TForm1::createStageScreenMenu() {
  stageScreenMenu_ = new QMenu(QStringLiteral("抽奖画面所在屏幕"), this);
  stageScreenMenu_->setObjectName(QStringLiteral("StageScreenMenu"));
  QMenu* main = mainMenu_->menu();
  main->insertMenu(mainMenu_->action(QStringLiteral("N93")), stageScreenMenu_);
  stageScreenMenu_->menuAction()->setVisible(QGuiApplication::screens().size() > 1);
  connect(stageScreenMenu_, &QMenu::aboutToShow, this, &TForm1::fillStageScreenMenu);
  connect(main, &QMenu::aboutToShow, this,
          [this] { stageScreenMenu_->menuAction()->setVisible(QGuiApplication::screens().size() > 1); });
  connect(qApp, &QGuiApplication::screenRemoved, this,
          [this] { QTimer::singleShot(0, this, &TForm1::screensChanged); });
  connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* added) {
    const QString name = added->name();
    QTimer::singleShot(0, this, [this, name] { offerNewScreen(name); });
  });
}

void TForm1::fillStageScreenMenu() {
  stageScreenMenu_->clear();
  for (QScreen* s : QGuiApplication::screens()) {
    QAction* item = stageScreenMenu_->addAction(screenCaption(s));
    item->setCheckable(true);
    item->setChecked(consoleShown() && s == stageScreen_);
    connect(item, &QAction::triggered, this, [this, target = QPointer<QScreen>(s)] {
      if (target != nullptr) operatorChoseStage(target);
    });
  }
}

void TForm1::operatorChoseStage(QScreen* target) {
  // Kept by the screen's name, so that the same projector is found at the next start.
  runGuarded([&] {
    base::IniFile config = folder_.configFiles().openConfig();
    screen::storeStageScreen(config, target->name().toStdString());
  });
  placeOnTwoScreens(target);
}

void TForm1::screensChanged() {
  // A projector unplugged: the draw screen goes back to the laptop as with one
  // screen; the timers run on, so a draw goes on where it was.
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.size() < 2) {
    if (consoleShown() || screen() != QGuiApplication::primaryScreen()) placeOnOneScreen();
    return;
  }
  if (consoleShown() && (stageScreen_ == nullptr || !screens.contains(stageScreen_.data())))
    placeOnTwoScreens(storedStageScreen());
}

void TForm1::offerNewScreen(const QString& name) {
  QScreen* added = nullptr;
  for (QScreen* s : QGuiApplication::screens())
    if (s->name() == name) added = s;
  if (added == nullptr || (consoleShown() && added == stageScreen_)) return;
  // A question must not open inside another window's loop: it waits until the
  // operator has closed what is open.
  if (QApplication::activeModalWidget() != nullptr || dialogs_.runningDisplay() != nullptr) {
    QTimer::singleShot(1000, this, [this, name] { offerNewScreen(name); });
    return;
  }
  const QString question =
      QStringLiteral("检测到新的显示器 %1,是否把抽奖画面移到该显示器上?\n(本电脑的屏幕将显示控制台)")
          .arg(screenCaption(added));
  if (!dialogs_.drawQuestion(question, QStringLiteral("提示"))) return;
  operatorChoseStage(added);
}
