// The roster command of the draw screen (N7 "抽奖名单&"): the question while a
// draw is under way, the editor or the picture roster by draw mode, and the
// restart offer after a saved change.
#include <QAction>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include "app/TForm1.h"
#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "dialogs/TPicL.h"
#include "dialogs/TnameList.h"
#include "platform/password_store.h"
#include "screen/main_menu.h"
#include "test_folder.h"
#include "ui_TPicL.h"
#include "window_event.h"
#include "window_test_setup.h"

using testing_support::gbk;
using Choice = screen::DialogService::Choice;

namespace {

void writeEvent(const testing_support::TestFolder& folder) {
  window_testing::WindowEvent({{"一等奖", 3, 3, "电脑"}})
      .set("界面设置", {"隐私_check=0", "重复中奖=0", "抽奖顺序=0"})
      .set("窗体样式", {"窗体宽=1280", "窗体高=720"})
      .people(8)
      .write(folder);
}

// Runs `inside` on the roster window of type W once it is open (the command shows
// it modally), then closes it.
template <typename W>
void whenOpen(const std::function<void(W&)>& inside, bool* opened) {
  QTimer::singleShot(0, [inside, opened] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* window = qobject_cast<W*>(widget); window && window->isVisible()) {
        *opened = true;
        inside(*window);
        window->close();
        return;
      }
  });
}

void triggerN7(TForm1& window) { window.mainMenu().action(QStringLiteral("N7"))->trigger(); }

}  // namespace

class RosterOpenerTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void aSavedRosterIsOfferedARestartThatReloadsIt() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    window.dialogs().clearLog();
    window.dialogs().setNextChoice(Choice::Yes);  // save on close
    window.dialogs().setNextAnswer(true);         // restart
    bool opened = false;
    whenOpen<dialogs::TnameList>(
        [](dialogs::TnameList& editor) {
          editor.replaceLines({gbk("新人甲"), gbk("新人乙")});
        },
        &opened);
    triggerN7(window);
    QVERIFY(opened);
    QCOMPARE(window.dialogs().log(), (QStringList{QStringLiteral("question: 名单已被修改,是否保存?"),
                                                  QStringLiteral("question: 名单已修改,是否重新开始抽奖?")}));
    QCOMPARE(window.drawData().FirstName, (std::vector<std::string>{gbk("新人甲"), gbk("新人乙")}));
    QVERIFY(!window.drawData().state.changed);
  }

  void whileADrawIsUnderWayTheOperatorIsAskedFirst() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    QTest::keyClick(&window, Qt::Key_Space);
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(window.drawData().hasWinners());
    window.dialogs().clearLog();

    bool opened = false;
    window.dialogs().setNextAnswer(false);
    whenOpen<dialogs::TnameList>([](dialogs::TnameList&) {}, &opened);
    triggerN7(window);
    QCoreApplication::processEvents();
    QVERIFY(!opened);
    QCOMPARE(window.dialogs().log(),
             QStringList{QStringLiteral("question: 抽奖已开始,修改人员名单可能会导致重新抽奖，是否确定打开?")});

    // Saved, but the restart declined: the winners stay and the mark is cleared.
    window.dialogs().clearLog();
    window.dialogs().setNextAnswer(true);
    window.dialogs().setNextChoice(Choice::Yes);
    window.dialogs().setNextAnswer(false);
    whenOpen<dialogs::TnameList>([](dialogs::TnameList& editor) { editor.appendLines({gbk("新人")}); }, &opened);
    triggerN7(window);
    QVERIFY(opened);
    QCOMPARE(window.dialogs().log().size(), 3);
    QVERIFY(window.drawData().hasWinners());
    QVERIFY(!window.drawData().state.changed);
    QCOMPARE(base::readLines(folder / "NameList.txt").back(), gbk("新人"));
  }

  void aWrongPasswordOpensNothing() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    platform::PasswordStore store;
    store.setPassword("abc");
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    window.dialogs().clearLog();
    window.dialogs().setNextText(QStringLiteral("xyz"));
    bool opened = false;
    whenOpen<dialogs::TnameList>([](dialogs::TnameList&) {}, &opened);
    triggerN7(window);
    QCoreApplication::processEvents();
    store.setPassword("");
    QVERIFY(!opened);
    QCOMPARE(window.dialogs().log().last(), QStringLiteral("message: 抱歉,密码不正确,不能修改"));
  }

  void pictureDrawOpensThePictureRoster() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    folder.write("PicList.txt", gbk("员工1\r\n"));
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    window.drawData().settings.textDraw = false;
    window.dialogs().clearLog();
    window.dialogs().setNextAnswer(false);  // no restart
    bool opened = false;
    whenOpen<dialogs::TPicL>([](dialogs::TPicL& roster) { roster.form().Edit1->setText(QStringLiteral("180")); },
                             &opened);
    triggerN7(window);
    QVERIFY(opened);
    QCOMPARE(window.dialogs().log().last(), QStringLiteral("question: 名单已修改,是否重新开始抽奖?"));
  }
};

QTEST_MAIN(RosterOpenerTest)
#include "roster_opener_test.moc"
