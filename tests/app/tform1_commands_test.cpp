// The draw screen's commands in the real window: menus that cancel the delayed
// winners display, dragging a frame with and without the position lock, the
// restart and the export.
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "app/TForm1.h"
#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "screen/main_menu.h"
#include "test_folder.h"
#include "window_event.h"
#include "window_test_setup.h"

using testing_support::gbk;

namespace {

// An event of two awards (3 and 2 places, one batch each) and 12 people, sounds off.
void writeEvent(const testing_support::TestFolder& folder) {
  window_testing::WindowEvent({{"一等奖", 3, 3, "电脑"}, {"二等奖", 2, 2, "手机"}})
      .set("界面设置", {"隐私_check=0", "重复中奖=0", "抽奖顺序=0"})
      .set("窗体样式", {"窗体宽=1280", "窗体高=720"})
      .people(12)
      .write(folder);
}

void press(TForm1& window, int key) { QTest::keyClick(&window, static_cast<Qt::Key>(key)); }

}  // namespace

class TForm1CommandsTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void openingAMenuCancelsTheDelayedWinnersDisplay() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    press(window, Qt::Key_Space);
    press(window, Qt::Key_Space);  // award 1 finished: its winners would show 3 seconds later
    QVERIFY(window.timer(2).isActive());
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), window.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window, &rightClick);
    QVERIFY(!window.timer(2).isActive());
    window.mainMenu().menu()->close();
  }

  void aFrameMovesOnlyWithoutThePositionLockAndIsStoredOnRelease() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    window.show();
    press(window, Qt::Key_Space);
    press(window, Qt::Key_Space);
    screen::RollingFrame* first = window.frame(1);
    QVERIFY(first->isVisible());
    const QPoint start = first->pos();

    window.model().positionLock = true;
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseMove(first, QPoint(40, 30));
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(40, 30));
    QCOMPARE(first->pos(), start);

    window.model().positionLock = false;
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(2, 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(42, 32), first->mapToGlobal(QPointF(42, 32)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(first, &move);
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(42, 32));
    QCOMPARE(first->pos(), start + QPoint(40, 30));
    // Stored under the batch size shown (3): the next start of a batch of 3 places it there.
    base::IniFile config(folder / "Config.ini");
    QCOMPARE(config.readInt("3_L1", gbk("X坐标"), 0), start.x() + 40);
    QCOMPARE(config.readInt("3_L1", gbk("Y坐标"), 0), start.y() + 30);
  }

  void restartAsksEmptiesTheRecordAndResumesFromTheFirstAward() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    press(window, Qt::Key_Space);
    press(window, Qt::Key_Space);
    QCOMPARE(window.drawData().winnerCount(), 3u);
    window.dialogs().setNextAnswer(false);
    window.mainMenu().action(QStringLiteral("N17"))->trigger();
    QCOMPARE(window.drawData().winnerCount(), 3u);
    window.dialogs().setNextAnswer(true);
    press(window, Qt::Key_Space);  // a batch rolls when the restart comes: it is dropped
    window.mainMenu().action(QStringLiteral("N17"))->trigger();
    QVERIFY(!window.timer(1).isActive());
    QCOMPARE(window.drawData().winnerCount(), 0u);
    QCOMPARE(base::readFile(folder / "LuckName.txt"), std::string());
    QCOMPARE(window.startButton()->text(), QStringLiteral("开始"));
    // The draw log keeps what happened before.
    QVERIFY(base::readFile(folder / "log.txt").find(gbk("一等奖")) != std::string::npos);
  }

  void exportWritesTheWinnersFileWithTxtAppended() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    press(window, Qt::Key_Space);
    press(window, Qt::Key_Space);
    window.dialogs().setNextFileName(QString::fromStdString((folder / "中奖名单").string()));
    window.mainMenu().action(QStringLiteral("N20"))->trigger();
    const auto lines = base::readLines(folder / "中奖名单.txt");
    QCOMPARE(lines.size(), std::size_t(5));
    QCOMPARE(lines[0], gbk("一等奖3名(奖品:电脑)"));
  }
};

QTEST_MAIN(TForm1CommandsTest)
#include "tform1_commands_test.moc"
