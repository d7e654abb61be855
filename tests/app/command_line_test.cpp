// What the program answers on the command line, and how the desktop knows its
// windows.
#include "app/command_line.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QtTest>

#include "app/desktop_identity.h"

class CommandLineTest : public QObject {
  Q_OBJECT

  const app::ProgramPlaces installed{QStringLiteral("/home/ann/.local/share/Kelvara抽奖软件"),
                                     QStringLiteral("/usr/lib/kelvara"), QStringLiteral("/usr/share/doc/kelvara")};

 private slots:
  void answers_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("usage");
    QTest::newRow("help") << QStringList{"--help"} << 0 << true;
    QTest::newRow("short help") << QStringList{"-h"} << 0 << true;
    QTest::newRow("version") << QStringList{"--version"} << 0 << false;
    QTest::newRow("a file") << QStringList{"NameList.txt"} << 2 << true;
    QTest::newRow("an unknown option") << QStringList{"--fullscreen"} << 2 << true;
    QTest::newRow("a toolkit option") << QStringList{"-platform"} << 2 << true;
    QTest::newRow("help and more") << QStringList{"--help", "x"} << 2 << true;
  }

  void answers() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(bool, usage);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    QCOMPARE(app::answerArguments(arguments, installed, out, err), exitCode);
    out.flush();
    err.flush();
    // An answer goes to standard output, a refusal to standard error, never both.
    const QString& answer = exitCode == 0 ? outText : errText;
    QVERIFY((exitCode == 0 ? errText : outText).isEmpty());
    QVERIFY2(answer.startsWith(exitCode == 0 ? QStringLiteral("Kelvara抽奖软件 ") : QStringLiteral("kelvara: ")),
             qPrintable(answer));
    QCOMPARE(answer.contains(installed.eventFolder), usage);
    if (exitCode == 2) QVERIFY(answer.contains(arguments.join(QLatin1Char(' '))));
  }

  void usageNamesTheEventKeysAndDocuments() {
    const QString text = app::usageText(installed);
    for (const char* part :
         {"/home/ann/.local/share/Kelvara抽奖软件", "/usr/share/doc/kelvara/guide.md",
          "/usr/share/doc/kelvara/README.md", "man kelvara", "/usr/lib/kelvara/help.html", "空格", "F10", "F11"})
      QVERIFY2(text.contains(QString::fromUtf8(part)), part);
    // Run from a build, the documents are those of the source, and no manual page is installed.
    app::ProgramPlaces built = installed;
    built.documentFolder.clear();
    const QString fromBuild = app::usageText(built);
    QVERIFY(fromBuild.contains(QStringLiteral("docs/guide.md")));
    QVERIFY(!fromBuild.contains(QStringLiteral("man kelvara")));
  }

  void keysLineUpInTheTerminal() {
    // A Chinese key name takes two columns: the actions start in one column.
    const QStringList lines = app::usageText(installed).split(QLatin1Char('\n'));
    auto actionColumn = [&](const QString& key) {
      for (const QString& line : lines)
        if (line.startsWith(QStringLiteral("  ") + key + QLatin1Char(' '))) {
          int columns = 0, k = 0;
          for (; k < line.size() && (k < 2 + key.size() || line[k] == QLatin1Char(' ')); ++k)
            columns += line[k].unicode() >= 0x2E80 ? 2 : 1;
          return columns;
        }
      return -1;
    };
    QVERIFY(actionColumn(QStringLiteral("F1")) > 0);
    QCOMPARE(actionColumn(QStringLiteral("空格")), actionColumn(QStringLiteral("F1")));
    QCOMPARE(actionColumn(QStringLiteral("F10")), actionColumn(QStringLiteral("F1")));
  }

  void windowsCarryTheIconAndTheMenuEntrysName() {
    app::setDesktopIdentity();
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    QVERIFY2(sizes.contains(QSize(48, 48)) && sizes.contains(QSize(256, 256)), "icon pictures missing");
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("kelvara"));
    QFile entry(QStringLiteral(KV_DESKTOP_ENTRY));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    QVERIFY2(text.contains(QStringLiteral("\nStartupWMClass=%1\n").arg(QString::fromLatin1(app::kDesktopName))),
             "the menu entry's StartupWMClass is not the windows' class");
  }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
