// The draw screen's one table of commands: every command is reached by its menu
// item, its key on the draw screen and on the console, and its console button,
// and each of these reaches that command's handler and no other.
#include "screen/command_table.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "app/TForm1.h"
#include "console/TConsole.h"
#include "draw/event_fixture.h"
#include "screen/main_menu.h"
#include "screen/tool_commands.h"
#include "window_test_setup.h"

using draw_testing::EventFixture;

namespace {

void writeEvent(EventFixture& event) {
  auto config = EventFixture::awardLines({{"一等奖", 3, 3}});
  config.insert(config.end(), {"[音效设置]", "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
  event.config(config);
  event.roster(EventFixture::numberedNames(12));
}

}  // namespace

class CommandTableTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void everyWayToACommandReachesItsHandler() {
    EventFixture event;
    writeEvent(event);
    TForm1 window(event.dir().path(), nullptr, QSize(1280, 720));
    window.prepareConsole(QGuiApplication::primaryScreen());
    console::TConsole* console = window.console();
    QVERIFY(console != nullptr);
    screen::CommandTable& table = window.commands();

    // Every handler records its command's name instead of running.
    QStringList reached;
    for (const screen::CommandTable::Command& command : table.commands()) {
      screen::CommandTable::Command* entry = table.find(command.name);
      entry->handler = [&reached, name = command.name] { reached << name; };
      if (entry->beforeFromMenu) entry->beforeFromMenu = [&reached, name = command.name] { reached << name + "+menu"; };
    }

    QSet<int> keys;
    for (const screen::CommandTable::Command& command : table.commands()) {
      QAction* action = table.action(command.name);
      QVERIFY2(action != nullptr, qPrintable(command.name));
      // Some way reaches it: a menu, a key or a console button.
      QVERIFY2(!action->associatedObjects().isEmpty() || command.key != 0 || !command.consoleButton.isEmpty(),
               qPrintable(command.name));
      if (QAction* item = window.mainMenu().action(command.name)) {
        QCOMPARE(item, action);
        reached.clear();
        item->trigger();
        QCOMPARE(reached, command.beforeFromMenu ? QStringList({command.name + "+menu", command.name})
                                                 : QStringList({command.name}));
      }
      for (int key : {command.key, command.otherKey}) {
        if (key == 0) continue;
        QVERIFY2(!keys.contains(key), qPrintable(command.name));  // one command a key
        keys.insert(key);
        QVERIFY(action->shortcuts().contains(QKeySequence(key)));
        reached.clear();
        QTest::keyClick(&window, static_cast<Qt::Key>(key));
        QCOMPARE(reached, QStringList({command.name}));
        reached.clear();
        QTest::keyClick(console, static_cast<Qt::Key>(key));
        QCOMPARE(reached, QStringList({command.name}));
      }
      if (!command.consoleButton.isEmpty()) {
        auto* button = console->findChild<QPushButton*>(command.consoleButton);
        QVERIFY2(button != nullptr, qPrintable(command.consoleButton));
        button->setEnabled(true);
        reached.clear();
        button->click();
        QCOMPARE(reached, QStringList({command.name}));
      }
    }
    // Every key the draw screen answers is in the table.
    for (int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4,
                    Qt::Key_F5, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11})
      QVERIFY2(keys.contains(key), qPrintable(QKeySequence(key).toString()));
    // A held key is one command.
    reached.clear();
    QTest::keyEvent(QTest::Press, &window, Qt::Key_F3, Qt::NoModifier, -1);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&window, &repeat);
    QCOMPARE(reached, QStringList({"F31"}));
  }

  void theMenuItemsDoWhatTheyName() {
    EventFixture event;
    writeEvent(event);
    TForm1 window(event.dir().path(), nullptr, QSize(1280, 720));
    QList<QUrl> opened;
    window.tools().openUrl = [&opened](const QUrl& url) {
      opened << url;
      return true;
    };
    for (const char* item : {"N76", "N53", "N77", "N21"}) window.mainMenu().action(item)->trigger();
    auto url = [&](const char* file) {
      return QUrl::fromLocalFile(QString::fromStdString((event.dir() / file).string()));
    };
    QCOMPARE(opened,
             QList<QUrl>({url("web/index.html"), url("web/explain.html"), url("web/question.html"), url("log.txt")}));

    // Qt flips a show tick's item on a click; the tick shows what the model holds.
    window.mainMenu().action("N32")->trigger();
    QVERIFY(!window.model().label(screen::Label::MainTitle).visible);
    QVERIFY(!window.mainMenu().action("N32")->isChecked());
    window.mainMenu().action("N32")->trigger();
    QVERIFY(window.model().label(screen::Label::MainTitle).visible);
    QVERIFY(window.mainMenu().action("N32")->isChecked());
    window.mainMenu().action("N15")->trigger();
    QVERIFY(window.model().positionLock);
    QVERIFY(window.mainMenu().action("N15")->isChecked());

    window.show();
    QTest::keyClick(&window, Qt::Key_F4);
    QVERIFY(window.isMinimized());
  }
};

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
