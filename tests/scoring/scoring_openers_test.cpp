// The main window's scoring entries: N36 behind the lock check, and the two
// displays opened modally by their keys and closed again.
#include <QApplication>
#include <QMenu>
#include <QtTest>

#include "app/TForm1.h"
#include "platform/font_substitutions.h"
#include "platform/password_store.h"
#include "scoring/TComProSys.h"
#include "scoring/TPorShow.h"
#include "scoring/TShowEvery.h"
#include "scoring/core/scoring_fixture.h"
#include "screen/main_menu.h"

using scoring_testing::ScoringEvent;

namespace {

// Closes the first top-level window of type T once it shows; counts what it closed.
template <typename T>
void closeWhenShown(int& closed) {
  QTimer::singleShot(20, [&closed] {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* window = qobject_cast<T*>(top); window && window->isVisible()) {
        ++closed;
        window->close();
        return;
      }
    closeWhenShown<T>(closed);
  });
}

}  // namespace

class ScoringOpenersTest : public QObject {
  Q_OBJECT

  testing_support::TestFolder store_;

 private slots:
  void initTestCase() {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(store_.path().string()));
    platform::installFontSubstitutions();
    screen::DialogService::setHeadlessByDefault(true);
  }

  void setupAsksForThePasswordFirst() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {"甲"});
    platform::PasswordStore().setPassword("secret");
    TForm1 window(event.dir(), nullptr, QSize(1280, 720));
    window.dialogs().clearLog();
    window.dialogs().setNextText(QStringLiteral("wrong"));
    window.mainMenu().action("N36")->trigger();
    QCOMPARE(window.dialogs().log().last(), QStringLiteral("message: 抱歉,密码不正确,不能修改"));

    int closed = 0;
    closeWhenShown<scoring::TComProSys>(closed);
    window.dialogs().setNextText(QStringLiteral("secret"));
    window.mainMenu().action("N36")->trigger();
    QCOMPARE(closed, 1);
    platform::PasswordStore().setPassword("");
  }

  void keysAndEntriesOpenTheDisplaysModally() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {"甲"});
    event.scores({"[当前节目]", "编号=1", "[1.舞蹈]", "甲=9"});
    TForm1 window(event.dir(), nullptr, QSize(1280, 720));
    int closed = 0;
    closeWhenShown<scoring::TPorShow>(closed);
    QTest::keyClick(&window, Qt::Key_F8);
    QCOMPARE(closed, 1);
    closeWhenShown<scoring::TShowEvery>(closed);
    QTest::keyClick(&window, Qt::Key_F7);
    QCOMPARE(closed, 2);
    closeWhenShown<scoring::TPorShow>(closed);
    window.mainMenu().action("N65")->trigger();
    closeWhenShown<scoring::TShowEvery>(closed);
    window.mainMenu().action("N14")->trigger();
    QCOMPARE(closed, 4);
    // Both displays stored their settings on closing.
    QVERIFY(event.config().hasSection(testing_support::gbk("评分展示")));
    QVERIFY(event.config().hasSection(testing_support::gbk("评委照片")));
  }
};

QTEST_MAIN(ScoringOpenersTest)
#include "scoring_openers_test.moc"
