// The draw screen beside a console on a real X server with two screens (one
// wide Xvfb screen split into a 1366×768 laptop, the primary, and a 1920×1080
// projector), and the same program on one screen. scripts/checks/two_screens_check.sh
// starts the servers and runs this program once per set-up with KV_SCREENS set
// to "two" or "one"; the test functions of the other set-up skip.
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "app/TForm1.h"
#include "console/TConsole.h"
#include "console/draw_preview.h"
#include "draw/event_fixture.h"
#include "preview_pace.h"
#include "screen/display_stage.h"
#include "screen/main_menu.h"
#include "window_event.h"
#include "window_test_setup.h"

using draw_testing::Award;
using draw_testing::EventFixture;

namespace {

const QRect kLaptop(0, 0, 1366, 768);
const QRect kProjector(1366, 0, 1920, 1080);

bool twoScreens() { return qgetenv("KV_SCREENS") == "two"; }

void writeEvent(EventFixture& event) {
  window_testing::WindowEvent({{"一等奖", 3, 3}, {"二等奖", 9, 3}})
      .set("界面设置", {"隐私_check=0", "滚动速度=0"})
      .people(40)
      .write(event.dir());
}

void xrandr(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral("xrandr"), arguments);
  QVERIFY(process.waitForFinished(10000));
  QCOMPARE(process.exitCode(), 0);
}

QPushButton* consoleButton(TForm1& window, const char* name) {
  return window.console()->findChild<QPushButton*>(QString::fromLatin1(name));
}

// The screen a top-level window shows on, told by where its centre lies.
QString screenOf(const QWidget* window) {
  const QScreen* s = QGuiApplication::screenAt(window->frameGeometry().center());
  return s != nullptr ? s->name() : QString();
}

}  // namespace

class TwoScreensTest : public QObject {
  Q_OBJECT
  testing_support::WindowTestSetup setup_;

  std::unique_ptr<TForm1> open(EventFixture& event) {
    writeEvent(event);
    auto window = std::make_unique<TForm1>(event.dir().path());
    window->showOnStage();
    if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
    return window;
  }

 private slots:
  void drawScreenOnTheProjectorConsoleOnTheLaptop() {
    if (!twoScreens()) QSKIP("two screens only");
    QCOMPARE(QGuiApplication::screens().size(), 2);
    EventFixture event;
    auto window = open(event);
    QVERIFY(window);
    QTRY_COMPARE(window->geometry(), kProjector);
    QCOMPARE(window->screen()->name(), QStringLiteral("PROJ"));
    QVERIFY(window->console() != nullptr);
    QTRY_VERIFY(window->console()->isVisible());
    QTRY_COMPARE(screenOf(window->console()), QStringLiteral("LAPTOP"));
    QVERIFY(kLaptop.contains(window->console()->geometry()));
    QCOMPARE(window->dialogs().parentWindow(), window->console());

    // A display opened from the console stands on the projector, and the
    // console's own button closes it (F11): the display is modal to the draw
    // screen only, so the console stays usable for that one button.
    QString displayScreen;
    QRect displayArea;
    bool closedFromConsole = false;
    window->dialogs().setNextDisplay([&](screen::DisplayStage& display) {
      QVERIFY(QTest::qWaitForWindowExposed(&display));
      displayScreen = screenOf(&display);
      displayArea = display.geometry();
      // Only closing the display may run while it is up.
      window->console()->refresh();
      QVERIFY(!consoleButton(*window, "startButton")->isEnabled());
      QTest::mouseClick(consoleButton(*window, "startButton"), Qt::LeftButton);
      QVERIFY(!window->luck().rolling());
      QTest::mouseClick(consoleButton(*window, "closeDisplayButton"), Qt::LeftButton);
      closedFromConsole = !display.isVisible();
    });
    QTest::mouseClick(consoleButton(*window, "prizeButton"), Qt::LeftButton);
    QCOMPARE(displayScreen, QStringLiteral("PROJ"));
    QCOMPARE(displayArea, kProjector);
    QVERIFY(closedFromConsole);

    // The menu entry moves the draw screen, and the event keeps the choice by name.
    QMenu* stageMenu = window->findChild<QMenu*>(QStringLiteral("StageScreenMenu"));
    QVERIFY(stageMenu != nullptr);
    emit stageMenu->aboutToShow();
    QAction* laptop = nullptr;
    for (QAction* item : stageMenu->actions())
      if (item->text().startsWith(QStringLiteral("LAPTOP"))) laptop = item;
    QVERIFY(laptop != nullptr);
    laptop->trigger();
    QTRY_COMPARE(window->geometry(), kLaptop);
    QTRY_COMPARE(screenOf(window->console()), QStringLiteral("PROJ"));
    QVERIFY(event.dir().read("Config.ini").find("LAPTOP") != std::string::npos);
    auto reopened = std::make_unique<TForm1>(event.dir().path());
    QCOMPARE(reopened->stageScreen(), nullptr);  // not shown yet
    reopened->showOnStage();
    QTRY_COMPARE(reopened->geometry(), kLaptop);
  }

  void questionsOpenOnTheConsolesScreen() {
    if (!twoScreens()) QSKIP("two screens only");
    EventFixture event;
    auto window = open(event);
    QVERIFY(window);
    QTRY_VERIFY(window->console()->isVisible());
    window->dialogs().setHeadless(false);
    struct Case {
      const char* what;
      std::function<void()> open;
    } cases[] = {
        {"the give-up dialog from the console's button",
         [&] { QTest::mouseClick(consoleButton(*window, "giveUpButton"), Qt::LeftButton); }},
        {"a message of the draw", [&] { window->showMessage("message"); }},
        {"the sound settings from the main menu", [&] { window->mainMenu().action(QStringLiteral("N12"))->trigger(); }},
    };
    for (const Case& c : cases) {
      QString shownOn;
      QPointer<QWidget> modal;
      QTimer poll;
      connect(&poll, &QTimer::timeout, [&] {
        QWidget* now = QApplication::activeModalWidget();
        if (now == nullptr || !now->isVisible() || now == modal) return;
        modal = now;
        QTimer::singleShot(200, now, [&, now] {
          shownOn = screenOf(now);
          now->close();
        });
      });
      poll.start(20);
      c.open();
      poll.stop();
      QCOMPARE(shownOn, QStringLiteral("LAPTOP"));
      QVERIFY2(!shownOn.isEmpty(), c.what);
    }
    window->dialogs().setHeadless(true);
  }

  void batchFromTheConsolesButtonIsRecordedAndPreviewed() {
    if (!twoScreens()) QSKIP("two screens only");
    EventFixture event;
    auto window = open(event);
    QVERIFY(window);
    QTRY_VERIFY(window->console()->isVisible());
    console::DrawPreview* preview = window->console()->preview();
    QPushButton* start = consoleButton(*window, "startButton");
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(window->luck().rolling());
    window->luck().applyBaseRollingInterval();  // past the slow first steps of the speed ramp

    // The preview follows the rolling names: the rolling area changes between two
    // of its frames while the titles above it stay; at most ten frames a second.
    QTRY_VERIFY(preview->updateCount() > 0);
    const QImage first = preview->frame();
    const QString pace = console_testing::framesKeepThePreviewsPace(*preview, 4);
    const QImage second = preview->frame();
    QVERIFY2(pace.isEmpty(), qPrintable(QStringLiteral("%1 (names rolling: %2, every %3 ms; preview shown: %4)")
                                            .arg(pace)
                                            .arg(window->timer(1).isActive())
                                            .arg(window->timer(1).interval())
                                            .arg(preview->isVisible())));
    QCOMPARE(first.size(), second.size());
    const double scale = double(first.width()) / window->width();
    const QRect names(QPoint(int(window->frame(1)->x() * scale), int(window->frame(1)->y() * scale)),
                      QSize(int(window->frame(1)->width() * scale) + 1, int(window->frame(1)->height() * scale) + 1));
    QVERIFY(first.copy(names) != second.copy(names));

    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(!window->luck().rolling());
    const auto recorded = event.lines("LuckName.txt");
    QCOMPARE(recorded.size(), std::size_t(3));
    window->console()->refresh();
    QCOMPARE(window->console()->lastWinners().size(), 3);
    QCOMPARE(window->console()->lastWinners(), window->visibleFrameTexts());
  }

  void projectorUnpluggedAndPluggedInDuringADraw() {
    if (!twoScreens()) QSKIP("two screens only");
    EventFixture event;
    auto window = open(event);
    QVERIFY(window);
    QTRY_VERIFY(window->console()->isVisible());
    QTest::mouseClick(consoleButton(*window, "startButton"), Qt::LeftButton);
    QVERIFY(window->luck().rolling());

    xrandr({"--delmonitor", "PROJ"});
    QTRY_COMPARE(QGuiApplication::screens().size(), 1);
    QTRY_VERIFY(!window->console()->isVisible());
    QTRY_VERIFY(kLaptop.contains(window->geometry()));
    QVERIFY(window->luck().rolling());
    QCOMPARE(window->dialogs().parentWindow(), window.get());

    window->dialogs().setNextAnswer(true);
    xrandr({"--setmonitor", "PROJ", "1920/508x1080/286+1366+0", "none"});
    QTRY_VERIFY(window->console()->isVisible());
    QTRY_COMPARE(window->geometry(), kProjector);
    QVERIFY(window->dialogs().log().filter(QStringLiteral("检测到新的显示器")).size() == 1);
    QVERIFY(window->luck().rolling());
    QTest::mouseClick(consoleButton(*window, "startButton"), Qt::LeftButton);
    QCOMPARE(event.lines("LuckName.txt").size(), std::size_t(3));
  }

  void oneScreenAsBefore() {
    if (twoScreens()) QSKIP("one screen only");
    QCOMPARE(QGuiApplication::screens().size(), 1);
    EventFixture event;
    auto window = open(event);
    QVERIFY(window);
    QTRY_COMPARE(window->geometry(), QGuiApplication::primaryScreen()->availableGeometry());
    QVERIFY(window->console() == nullptr);
    QCOMPARE(window->dialogs().parentWindow(), window.get());
    const QMenu* stageMenu = window->findChild<QMenu*>(QStringLiteral("StageScreenMenu"));
    QVERIFY(stageMenu != nullptr);
    QVERIFY(!stageMenu->menuAction()->isVisible());
    Qt::WindowModality modality = Qt::NonModal;
    window->dialogs().setNextDisplay([&](screen::DisplayStage& display) { modality = display.windowModality(); });
    QTest::keyClick(window.get(), Qt::Key_F3);
    QCOMPARE(modality, Qt::ApplicationModal);
    QTest::keyClick(window.get(), Qt::Key_Space);
    QVERIFY(window->luck().rolling());
    QTest::keyClick(window.get(), Qt::Key_Space);
    QCOMPARE(event.lines("LuckName.txt").size(), std::size_t(3));
  }
};

QTEST_MAIN(TwoScreensTest)
#include "two_screens_test.moc"
