// The main window's scoring entries: N36 behind the lock check, the two
// displays opened modally by their keys and closed again, and an error box of a
// display that is up belonging to the display.
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

#include "app/TForm1.h"
#include "platform/password_store.h"
#include "scoring/TComProSys.h"
#include "scoring/TPorShow.h"
#include "scoring/TShowEvery.h"
#include "scoring/core/scoring_fixture.h"
#include "screen/main_menu.h"
#include "window_test_setup.h"

using scoring_testing::ScoringEvent;

namespace {

// While it lives, closes each window of type T as it shows, and counts them. It
// acts on the show event itself: nothing polls, and nothing is left running
// after the test when the window never opens.
template <typename T>
class CloseWhenShown : public QObject {
 public:
  CloseWhenShown() { QCoreApplication::instance()->installEventFilter(this); }
  ~CloseWhenShown() override { QCoreApplication::instance()->removeEventFilter(this); }

  int closed = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show)
      if (auto* window = qobject_cast<T*>(watched); window && window->isWindow()) {
        ++closed;
        QTimer::singleShot(0, window, &QWidget::close);
      }
    return false;
  }
};

}  // namespace

class ScoringOpenersTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void setupAsksForThePasswordFirst() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {"甲"});
    platform::PasswordStore().setPassword("secret");
    TForm1 window(event.dir(), nullptr, QSize(1280, 720));
    window.dialogs().clearLog();
    window.dialogs().setNextText(QStringLiteral("wrong"));
    window.mainMenu().action("N36")->trigger();
    QCOMPARE(window.dialogs().log().last(), QStringLiteral("message: 抱歉,密码不正确,不能修改"));

    CloseWhenShown<scoring::TComProSys> closer;
    window.dialogs().setNextText(QStringLiteral("secret"));
    window.mainMenu().action("N36")->trigger();
    QCOMPARE(closer.closed, 1);
    platform::PasswordStore().setPassword("");
  }

  void keysAndEntriesOpenTheDisplaysModally() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {"甲"});
    event.scores({"[当前节目]", "编号=1", "[1.舞蹈]", "甲=9"});
    TForm1 window(event.dir(), nullptr, QSize(1280, 720));
    QStringList shown;
    for (int i = 0; i < 4; ++i)
      window.dialogs().setNextDisplay([&shown](screen::DisplayStage& display) {
        QVERIFY(display.isModal() && display.isFullScreen());
        shown << display.windowTitle();
      });
    QTest::keyClick(&window, Qt::Key_F8);
    QTest::keyClick(&window, Qt::Key_F7);
    window.mainMenu().action("N65")->trigger();
    window.mainMenu().action("N14")->trigger();
    QCOMPARE(shown, (QStringList{"节目评分展示", "节目评分明细", "节目评分展示", "节目评分明细"}));
    // Both displays stored their settings on closing.
    QVERIFY(event.config().hasSection(testing_support::gbk("评分展示")));
    QVERIFY(event.config().hasSection(testing_support::gbk("评委照片")));
  }

  void anErrorBoxOfADisplayBelongsToTheDisplay() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {"甲"});
    event.scores({"[当前节目]", "编号=1", "[1.舞蹈]", "甲=9"});
    TForm1 window(event.dir(), nullptr, QSize(1280, 720));
    QWidget* boxParent = nullptr;
    QString boxText;
    window.dialogs().setNextDisplay([&](screen::DisplayStage& display) {
      // A real box this time: a score typed wrong is saved while the display is up.
      window.dialogs().setHeadless(false);
      event.scores({"[当前节目]", "编号=1", "[1.舞蹈]", "甲=九"});
      QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          boxParent = box->parentWidget();
          boxText = box->text();
          box->accept();
        }
      });
      dynamic_cast<scoring::TShowEvery&>(display).Timer1Timer();
      window.dialogs().setHeadless(true);
      // Parented to the draw screen, the box would bring it to the front over the display.
      QCOMPARE(boxParent, &display);
    });
    QTest::keyClick(&window, Qt::Key_F7);
    QCOMPARE(boxText, QStringLiteral("'九' is not a valid floating point value"));
  }
};

QTEST_MAIN(ScoringOpenersTest)
#include "scoring_openers_test.moc"
