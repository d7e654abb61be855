// The console driven headless beside the draw screen (one offscreen screen, the
// console shown on it as the bench does): what it shows of the draw, its buttons
// running the draw screen's commands, only F11 while a display is up, the
// questions handed to it, and the preview's pace. The two-screen placement is
// checked on a real X server by two_screens_test.cpp.
#include <QGuiApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "app/TForm1.h"
#include "console/TConsole.h"
#include "console/draw_preview.h"
#include "draw/event_fixture.h"
#include "preview_pace.h"
#include "screen/display_stage.h"
#include "window_event.h"
#include "window_test_setup.h"

using draw_testing::EventFixture;

class ConsoleTest : public QObject {
  Q_OBJECT
  testing_support::WindowTestSetup setup_;
  EventFixture event_;
  std::unique_ptr<TForm1> window_;

  QPushButton* button(const char* name) const {
    return window_->console()->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

 private slots:
  void init() {
    // Drawn bottom row first (the default order): 三等奖 first, then 二等奖.
    window_testing::WindowEvent({{"一等奖", 1, 1}, {"二等奖", 2, 2}, {"三等奖", 4, 2}})
        .set("界面设置", {"隐私_check=0", "滚动速度=0", "滚动速度是否渐变=0"})
        .people(20)
        .write(event_.dir());
    window_ = std::make_unique<TForm1>(event_.dir().path(), nullptr, QSize(1920, 1080));
    window_->show();
    window_->showConsole(QGuiApplication::primaryScreen());
    QVERIFY(window_->console() != nullptr);
  }
  void cleanup() { window_.reset(); }

  void buttonsRunTheDrawScreensCommandsAndTheConsoleShowsTheBatch() {
    QCOMPARE(window_->dialogs().parentWindow(), window_->console());
    click("startButton");
    QVERIFY(window_->luck().rolling());
    window_->console()->refresh();
    QVERIFY(button("startButton")->text().startsWith(QStringLiteral("停止")));
    click("startButton");
    QVERIFY(!window_->luck().rolling());
    const auto records = event_.lines("LuckName.txt");
    QCOMPARE(records.size(), std::size_t(2));
    window_->console()->refresh();
    QCOMPARE(window_->console()->lastWinners(), window_->visibleFrameTexts());
    QCOMPARE(window_->console()->nextAwardText(), QStringLiteral("下一奖项: 二等奖"));
    auto* table = window_->console()->findChild<QTableWidget*>(QStringLiteral("awardTable"));
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(2, 3)->text(), QStringLiteral("2"));  // 三等奖: drawn
    QCOMPARE(table->item(2, 4)->text(), QStringLiteral("2"));  // and left

    // A key pressed on the console is the draw screen's key.
    QTest::keyClick(window_->console(), Qt::Key_Space);
    QVERIFY(window_->luck().rolling());
    QTest::keyClick(window_->console(), Qt::Key_Space);
    QCOMPARE(event_.lines("LuckName.txt").size(), std::size_t(4));
    window_->console()->refresh();
    QCOMPARE(window_->console()->nextAwardText(), QStringLiteral("下一奖项: 二等奖"));
  }

  void onlyClosingRunsWhileADisplayIsUp() {
    Qt::WindowModality modality = Qt::NonModal;
    bool startedInside = false;
    bool closedByF11 = false;
    window_->dialogs().setNextDisplay([&](screen::DisplayStage& display) {
      modality = display.windowModality();
      QTest::keyClick(window_->console(), Qt::Key_Space);
      click("startButton");
      click("giveUpButton");
      startedInside = window_->luck().rolling() || !window_->dialogs().log().filter(QStringLiteral("弃奖")).isEmpty();
      QTest::keyClick(window_->console(), Qt::Key_F11);
      closedByF11 = !display.isVisible();
    });
    click("prizeButton");
    QCOMPARE(modality, Qt::WindowModal);
    QVERIFY(!startedInside);
    QVERIFY(closedByF11);
    QVERIFY(window_->dialogs().runningDisplay() == nullptr);
  }

  void previewFollowsTheRollingNamesAtMostTenTimesASecond() {
    console::DrawPreview* preview = window_->console()->preview();
    QTRY_VERIFY(preview->updateCount() > 0);
    const int idle = preview->updateCount();
    // Nothing painted, nothing taken: five of the preview's intervals pass without a frame.
    QTest::qWait(5 * console::DrawPreview::kIntervalMs);
    QCOMPARE(preview->updateCount(), idle);
    click("startButton");
    const QString pace = console_testing::framesKeepThePreviewsPace(*preview, 6);
    QVERIFY2(pace.isEmpty(), qPrintable(pace));
    click("startButton");
  }
};

QTEST_MAIN(ConsoleTest)
#include "console_test.moc"
