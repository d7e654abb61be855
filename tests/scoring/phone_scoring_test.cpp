// Phone scoring in the program: the window starts and stops the server, shows
// links and QR codes, locks judges, closes programmes and renews links; a score
// sent from a phone reaches the details display at its next one-second reading.
// Every request goes to 127.0.0.1.
#include "scoring/web/phone_scoring.h"

#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
#include <future>

#include "base/text_file.h"
#include "judge_client.h"
#include "scoring/TJudgePhones.h"
#include "scoring/TQrFullScreen.h"
#include "scoring/TShowEvery.h"
#include "scoring/core/judge_access.h"
#include "scoring/core/scoring_file.h"
#include "scoring/core/scoring_fixture.h"
#include "scoring/web/qr_code.h"
#include "window_test_setup.h"

using scoring_testing::gbk;
using scoring_testing::ScoringEvent;

namespace {
// A request from another thread while this one keeps serving.
judge_client::Reply sendFromPhone(int port, const std::string& method, const std::string& path,
                                  const std::string& body = {}) {
  auto reply = std::async(std::launch::async, [=] { return judge_client::request(port, method, path, body); });
  while (reply.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) QCoreApplication::processEvents();
  return reply.get();
}

int freePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

void prepare(const ScoringEvent& event) {
  event.lists({{"舞蹈", "一部"}, {"合唱", "二部"}}, {"甲", "乙"});
  base::IniFile config = event.config();
  base::writeFileAtomically(scoring::defaultScoringFile(event.dir()),
                            scoring::blankScoringFile(scoring::readProgrammes(config), scoring::readJudges(config),
                                                      scoring::FileLayout::ByProgramme));
  std::filesystem::create_directories(event.dir() / "web");
  std::filesystem::copy_file(KV_DIST_DIR "/web/judge.html", event.dir() / "web" / "judge.html");
}

std::string pathOf(const QString& link) { return QUrl(link).path().toStdString(); }
}  // namespace

class PhoneScoringTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;
  screen::DialogService dialogs_;

 private slots:
  void initTestCase() { dialogs_.setHeadless(true); }
  void init() { dialogs_.clearLog(); }

  void theWindowServesLocksClosesAndRenews() {
    ScoringEvent event;
    prepare(event);
    scoring::web::PhoneScoring phones(event.dir(), nullptr, {QHostAddress(QHostAddress::LocalHost)});
    scoring::TJudgePhones window(phones, dialogs_);
    QVERIFY(window.links()[0].link.isEmpty());

    const int port = freePort();
    window.findChild<QSpinBox*>("portBox")->setValue(port);
    QVERIFY(window.setServing(true));
    QVERIFY(phones.isRunning());
    const auto links = window.links();
    QCOMPARE(links.size(), std::size_t(2));
    QCOMPARE(links[1].name, QStringLiteral("乙"));
    QVERIFY(links[0].link.startsWith(QStringLiteral("http://127.0.0.1:%1/j/").arg(port)));
    QVERIFY(!scoring::web::qrCodeImage(links[0].link, 4).isNull());
    QCOMPARE(event.config().readInt(scoring::kPhoneSection, scoring::kPortKey, 0), port);

    const std::string first = pathOf(links[0].link);
    QCOMPARE(sendFromPhone(port, "POST", first + "/score", "programme=1&score=8").status, 200);
    window.refreshActivity();
    QCOMPARE(phones.activity().at(gbk("甲")).address, std::string("127.0.0.1"));

    window.setJudgeLock(0, true);
    QCOMPARE(sendFromPhone(port, "POST", first + "/score", "programme=1&score=9").status, 403);
    window.setJudgeLock(0, false);
    window.setProgrammeClosedAt(1, true);
    QCOMPARE(sendFromPhone(port, "POST", first + "/score", "programme=2&score=9").status, 409);
    QCOMPARE(sendFromPhone(port, "POST", first + "/score", "programme=1&score=9").status, 200);

    dialogs_.setNextAnswer(true);
    window.renewSelectedLink();  // the first judge is selected on opening
    QVERIFY(window.links()[0].link != links[0].link);
    QCOMPARE(sendFromPhone(port, "GET", first + "/state").status, 403);
    QCOMPARE(sendFromPhone(port, "GET", pathOf(window.links()[0].link) + "/state").status, 200);

    QVERIFY(window.setServing(false));
    QVERIFY(!phones.isRunning());
    QCOMPARE(sendFromPhone(port, "GET", pathOf(window.links()[1].link) + "/state").status, 0);
    QVERIFY(window.links()[0].link.isEmpty());
  }

  // What the judges scan: the printout has one page per judge, the full-screen
  // view steps through the judges with the arrow keys, and every code reads back
  // as its judge's link.
  void codesArePrintedOnePerJudgeShownInTurnAndReadBack() {
    ScoringEvent event;
    prepare(event);
    scoring::web::PhoneScoring phones(event.dir(), nullptr, {QHostAddress(QHostAddress::LocalHost)});
    scoring::TJudgePhones window(phones, dialogs_);
    window.findChild<QSpinBox*>("portBox")->setValue(freePort());
    QVERIFY(window.setServing(true));
    const auto links = window.links();

    QTemporaryDir out;
    {
      QPrinter printer;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(out.filePath("codes.pdf"));
      window.printLinks(printer);
    }
    QFile pdf(out.filePath("codes.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QString objects = QString::fromLatin1(pdf.readAll());
    QCOMPARE(objects.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), int(links.size()));

    scoring::TQrFullScreen screen(links, 1);
    screen.resize(800, 600);
    QCOMPARE(screen.shown(), 1);
    QTest::keyClick(&screen, Qt::Key_Right);
    QCOMPARE(screen.shown(), 0);  // past the last judge comes the first
    QVERIFY(screen.findChild<QLabel*>("nameLabel")->text().contains(QStringLiteral("甲")));
    QCOMPARE(screen.findChild<QLabel*>("linkLabel")->text(), links[0].link);
    QTest::keyClick(&screen, Qt::Key_Left);
    QCOMPARE(screen.shown(), 1);
    QVERIFY(!screen.findChild<QLabel*>("codeLabel")->pixmap().isNull());

    const QString reader = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (reader.isEmpty()) QSKIP("zbarimg (zbar-tools) is not installed: the codes were not read back");
    for (const auto& judge : links) {
      const QString picture = out.filePath(QStringLiteral("code.png"));
      QVERIFY(scoring::web::qrCodeImage(judge.link, 4).save(picture));
      QProcess read;
      read.start(reader, {QStringLiteral("--raw"), QStringLiteral("-q"), picture});
      QVERIFY(read.waitForFinished(10000));
      QCOMPARE(QString::fromUtf8(read.readAllStandardOutput()).trimmed(), judge.link);
    }
  }

  void aBusyPortIsRefusedWithAMessage() {
    ScoringEvent event;
    prepare(event);
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
    scoring::web::PhoneScoring phones(event.dir(), nullptr, {QHostAddress(QHostAddress::LocalHost)});
    scoring::TJudgePhones window(phones, dialogs_);
    window.findChild<QSpinBox*>("portBox")->setValue(taken.serverPort());
    QVERIFY(!window.setServing(true));
    QVERIFY(!phones.isRunning());
    QVERIFY(dialogs_.log().last().contains(QStringLiteral("请换一个端口")));
  }

  void aPhoneScoreReachesTheDetailsDisplayWithinASecond() {
    ScoringEvent event;
    prepare(event);
    scoring::web::PhoneScoring phones(event.dir(), nullptr, {QHostAddress(QHostAddress::LocalHost)});
    QCOMPARE(phones.start(0), QString());
    scoring::DisplayContext context;
    context.programDir = event.dir();
    context.dialogs = &dialogs_;
    context.area = QRect(0, 0, 1280, 800);
    scoring::TShowEvery display(context);
    QCOMPARE(display.scoreLabel(2)->text(), QString());

    // The display reads the file every second, from the moment it is set up.
    QVERIFY(display.refreshTimer().isActive());
    QCOMPARE(display.refreshTimer().interval(), 1000);
    const std::string token = scoring::readPhoneJudges(event.config())[1].token;
    QCOMPARE(sendFromPhone(phones.port(), "POST", "/j/" + token + "/score", "programme=1&score=9.5").status, 200);
    // The score is in the file when the phone hears back: the next reading shows it.
    display.refreshTimer().stop();
    display.Timer1Timer();
    QCOMPARE(display.scoreLabel(2)->text(), QStringLiteral("9.5"));
  }
};

QTEST_MAIN(PhoneScoringTest)
#include "phone_scoring_test.moc"
