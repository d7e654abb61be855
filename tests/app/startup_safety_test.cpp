// The draw screen on event files that are not what the program wrote: it says
// so, draws nothing over a record it could not read, writes nothing over a
// settings file that is not its own, and survives any picture roster.
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <random>

#include "app/TForm1.h"
#include "draw/event_fixture.h"
#include "screen/main_menu.h"
#include "styledtext/TSmoothLabel.h"
#include "window_event.h"

using draw_testing::EventFixture;
using testing_support::gbk;

namespace {

const QSize kDesktop(1280, 720);

void writeEvent(EventFixture& event, bool pictureDraw) {
  window_testing::WindowEvent({{"一等奖", 3, 2}, {"二等奖", 5, 5}})
      .set("界面设置", {"分组显示名单=0"})
      .set("窗体样式", {pictureDraw ? "抽奖模式=0" : "抽奖模式=1"})
      .people(12, "人")
      .write(event.dir());
}

QStringList messages(TForm1& window) {
  QStringList found;
  for (const QString& entry : window.dialogs().log())
    if (entry.startsWith(QStringLiteral("message: "))) found << entry;
  return found;
}

}  // namespace

class StartupSafetyTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { screen::DialogService::setHeadlessByDefault(true); }

  // Two records run into one line: whatever the space bar, the start button or
  // the give-up tool is asked, nothing is drawn or rewritten, and the operator
  // reads why.
  void aRecordThatMayHideAWinnerBlocksTheDrawOnScreen() {
    EventFixture event;
    writeEvent(event, false);
    const std::string record = "1|a|a|x|2\r\n2|b|3|c|c|x|2\r\n";
    event.dir().write("LuckName.txt", record);
    TForm1 window(event.dir().path(), nullptr, kDesktop);
    window.show();
    QCOMPARE(window.label(screen::Label::ActionHint)->Caption(), QStringLiteral("现在不能抽奖,请按空格键查看原因"));
    QVERIFY(messages(window).join(QString()).contains(QStringLiteral("第2行")));

    window.dialogs().clearLog();
    QTest::keyClick(&window, Qt::Key_Space);
    window.startButton()->click();
    window.mainMenu().action(QStringLiteral("N18"))->trigger();
    QVERIFY(!window.luck().rolling());
    const QStringList told = messages(window);
    QCOMPARE(told.size(), 3);
    for (const QString& message : told) QVERIFY2(message.contains(QStringLiteral("LuckName.txt")), qPrintable(message));
    QCOMPARE(event.dir().read("LuckName.txt"), record);
  }

  // A Config.ini saved as UTF-8: the operator is asked first (the test answers
  // nothing, which is No), the file stays as it was and a copy is kept; the
  // window loads and writes nothing, not even at its end.
  void aSettingsFileNotOfThisProgramIsNotWrittenOver() {
    EventFixture event;
    writeEvent(event, false);
    const std::string utf8 = base::gbkToUtf8(event.dir().read("Config.ini"));
    event.dir().write("Config.ini", utf8);
    {
      TForm1 window(event.dir().path(), nullptr, kDesktop);
      QVERIFY(window.startupDeclined());
      QVERIFY(window.dialogs().log().first().contains(QStringLiteral("UTF-8")));
      window.close();
    }
    QCOMPARE(event.dir().read("Config.ini"), utf8);
    int copies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(event.dir().path()))
      copies += entry.path().filename().string().rfind("Config.ini.damaged-", 0) == 0;
    QCOMPARE(copies, 1);
  }

  // Picture draw on rosters another program made: names that are no file name,
  // random bytes, a line of megabytes. Loading the photos and drawing never ends
  // the program.
  void pictureDrawSurvivesAnyRoster_data() {
    QTest::addColumn<QByteArray>("roster");
    std::mt19937 random(29);
    QByteArray noise;
    for (int i = 0; i < 4000; ++i) noise.append(static_cast<char>(random() & 0xFF));
    QTest::newRow("random bytes") << noise;
    QTest::newRow("names that are paths") << QByteArray("../x\r\n/etc/passwd\r\na/b\r\n.\r\n\r\n\\\\srv\\x\r\n");
    QTest::newRow("NUL and control bytes") << QByteArray("a\0b\r\n\x1b[2J\r\n\x7f\r\n", 14);
    QTest::newRow("a line of megabytes") << QByteArray(3 * 1024 * 1024, 'x').append("\r\ny\r\n");
    QTest::newRow("cut GBK") << QByteArray("\xD5\r\n\xD5\xC5\xC8\r\n\x81\x30\r\n");
  }

  void pictureDrawSurvivesAnyRoster() {
    QFETCH(QByteArray, roster);
    EventFixture event;
    writeEvent(event, true);
    event.dir().write("PicList.txt", std::string(roster.constData(), static_cast<std::size_t>(roster.size())));
    TForm1 window(event.dir().path(), nullptr, kDesktop);
    window.show();
    for (int i = 0; i < 4; ++i) {
      QTest::keyClick(&window, Qt::Key_Space);
      if (window.luck().rolling()) window.luck().Timer1Timer();
    }
    QVERIFY(window.drawData().winnerCount() <= 8);
  }
};

QTEST_MAIN(StartupSafetyTest)
#include "startup_safety_test.moc"
