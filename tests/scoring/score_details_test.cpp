// The score details display: a saved score shows and flashes at the next
// refresh, the marks and colours, the result line, the current programme
// number, the photo tiles and their layout, and the settings on closing.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "scoring/TShowEvery.h"
#include "scoring/core/scoring_fixture.h"
#include "screen/sound_players.h"
#include "styledtext/TSmoothLabel.h"
#include "window_test_setup.h"

using scoring_testing::gbk;
using scoring_testing::ScoringEvent;

class ScoreDetailsTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

  screen::DialogService dialogs_;

  scoring::DisplayContext context(const ScoringEvent& event, QSize screen = {1280, 800}) {
    scoring::DisplayContext c;
    c.programDir = event.dir();
    c.dialogs = &dialogs_;
    c.area = QRect(QPoint(0, 0), screen);
    return c;
  }
  static void samplePicture(const ScoringEvent& event, QSize size = {40, 50}) {
    std::filesystem::create_directories(event.dir() / "image");
    QImage sample(size, QImage::Format_RGB32);
    sample.fill(Qt::green);
    QVERIFY(sample.save(QString::fromStdString((event.dir() / "image" / "sample.jpg").string())));
  }
  static QColor text(QLabel* label) { return label->palette().color(QPalette::WindowText); }
  static QColor back(QLabel* label) { return label->palette().color(QPalette::Window); }

 private slots:
  void initTestCase() { dialogs_.setHeadless(true); }
  void init() { dialogs_.clearLog(); }

  void aSavedScoreShowsAndFlashesAtTheNextRefresh() {
    ScoringEvent event;
    samplePicture(event);
    event.lists({{"舞蹈", "一部"}, {"合唱", "二部"}}, {"甲", "乙", "丙", "丁"});
    event.scores({"[当前节目]", "编号=1", "[1.舞蹈]", "甲=9.5", "乙=8", "丙=6"});
    scoring::TShowEvery display(context(event));
    QVERIFY(display.refreshTimer().isActive());
    QCOMPARE(display.scoreLabel(1)->text(), QStringLiteral("9.5"));
    QCOMPARE(display.programmeLabel()->Caption(), QStringLiteral("节目名称:舞蹈 表演者:一部"));
    QCOMPARE(display.resultLabel()->Caption(), QStringLiteral("得分:7.00"));
    QVERIFY(!display.flashTimer(1).isActive());

    event.scores({"[当前节目]", "编号=1", "[1.舞蹈]", "甲=9.5", "乙=8", "丙=6", "丁=6.5"});
    display.Timer1Timer();
    QCOMPARE(display.scoreLabel(4)->text(), QStringLiteral("6.5"));
    QVERIFY(display.flashTimer(4).isActive());
    QVERIFY(!display.flashTimer(1).isActive());
    QCOMPARE(display.resultLabel()->Caption(), QStringLiteral("去除最高分9.5,去除最低分6,得分:7.25"));
    QCOMPARE(text(display.scoreLabel(1)), QColor(255, 0, 0));
    QCOMPARE(text(display.scoreLabel(3)), QColor(0, 128, 0));
    QCOMPARE(text(display.scoreLabel(2)), QColor(0, 0, 255));
    QCOMPARE(display.judgeTable()[0].mark, std::string("Max"));
    QCOMPARE(display.judgeTable()[2].mark, std::string("Min"));

    int toggles = 0;
    QColor previous = back(display.scoreLabel(4));
    while (display.flashTimer(4).isActive() && toggles < 50) {
      display.TMTimer(4);
      if (back(display.scoreLabel(4)) != previous || !display.flashTimer(4).isActive()) ++toggles;
      previous = back(display.scoreLabel(4));
    }
    QCOMPARE(toggles, 11);
    QCOMPARE(back(display.scoreLabel(4)), QColor(Qt::white));

    // Another programme: the line changes and every differing score flashes.
    event.scores({"[当前节目]", "编号=2", "[1.舞蹈]", "甲=9.5", "[2.合唱]", "甲=9.5", "乙=7"});
    display.Timer1Timer();
    QCOMPARE(display.programmeLabel()->Caption(), QStringLiteral("节目名称:合唱 表演者:二部"));
    QVERIFY(!display.flashTimer(1).isActive());
    QVERIFY(display.flashTimer(2).isActive());
    QVERIFY(display.flashTimer(3).isActive());
    QCOMPARE(display.scoreLabel(3)->text(), QString());
  }

  void readingErrorsAndNumbersThatNameNoProgramme() {
    ScoringEvent event;
    samplePicture(event);
    event.lists({{"舞蹈", ""}}, {"甲"});
    event.scores({"[当前节目]", "编号=abc", "[1.舞蹈]", "甲=9"});
    scoring::TShowEvery display(context(event));
    display.Timer1Timer();
    display.Timer1Timer();
    QCOMPARE(dialogs_.log(), QStringList{"message: 'abc' is not a valid integer value"});
    event.scores({"[当前节目]", "编号=5", "[1.舞蹈]", "甲=9"});
    display.Timer1Timer();
    QCOMPARE(display.programmeLabel()->Caption(), QStringLiteral("节目名称: 表演者:"));
    QCOMPARE(display.scoreLabel(1)->text(), QString());
    QCOMPARE(display.resultLabel()->Caption(), QStringLiteral("得分:"));
  }

  void tilesCoverTheirBoxAndFollowTheLayout() {
    ScoringEvent event;
    samplePicture(event);
    std::vector<std::string> judges;
    for (int k = 1; k <= 12; ++k) judges.push_back("J" + std::to_string(k));
    event.lists({{"舞蹈", ""}}, judges);
    std::filesystem::create_directories(event.dir() / "manager");
    QImage photo(400, 400, QImage::Format_RGB32);
    photo.fill(Qt::red);
    for (int x = 0; x < 100; ++x)
      for (int y = 0; y < 400; ++y) photo.setPixelColor(x, y, Qt::blue);  // the left quarter is cut off
    QVERIFY(photo.save(QString::fromStdString((event.dir() / "manager" / "J1.jpg").string()), "JPG", 95));
    event.config().writeString(gbk("评委姓名"), "Show", "0");
    scoring::TShowEvery display(context(event, {1920, 1080}));
    QCOMPARE(display.perRow(), 8);
    QCOMPARE(display.tile(1).size(), QSize(200, 250));
    const QImage tile = display.tile(1).toImage();
    QVERIFY(qBlue(tile.pixel(5, 125)) > 200);  // 25 pixels cut each side: x 5 is still blue (100 × 0.625 − 25 = 37.5)
    QVERIFY(qRed(tile.pixel(100, 125)) > 200);
    QVERIFY(qGreen(display.tile(2).toImage().pixel(100, 125)) > 200);  // the sample picture
    // The second row leaves room for the first row's score labels (the pitch of
    // 250 + 30 would put the photos over the lower 8 pixels of them).
    QCOMPARE(display.scoreLabel(1)->geometry(), QRect(display.photo(1)->x(), display.photo(1)->y() + 250, 200, 38));
    QCOMPARE(display.photo(9)->pos(), QPoint(display.photo(1)->x(), display.photo(1)->y() + 250 + 38 + 6));
    QVERIFY(!display.photo(13)->isVisibleTo(&display));

    for (QAction* item : display.photoMenu()->actions())
      if (item->text() == QStringLiteral("减少每行人数&")) item->trigger();
    QCOMPARE(display.perRow(), 7);
    display.close();
    QCOMPARE(event.config().readInt(gbk("评委显示设置"), gbk("每行个数"), 0), 7);
    QCOMPARE(event.config().readInt(gbk("评委照片"), "Width", 0), 200);
  }

  void aMissingChangeSoundIsNamedOnceNotEverySecond() {
    ScoringEvent event;
    samplePicture(event);
    event.lists({{"舞蹈", ""}}, {"甲"});
    event.scores({"[当前节目]", "编号=1", "[1.舞蹈]"});
    base::IniFile config = event.config();
    config.writeString(gbk("音效设置"), gbk("节目评分明细_check"), "0");
    config.writeString(gbk("音效设置"), gbk("评委打分变动"), gbk("变动.mp3"));
    screen::SoundPlayers sounds;
    scoring::DisplayContext c = context(event);
    c.sounds = &sounds;
    scoring::TShowEvery display(c);
    event.scores({"[当前节目]", "编号=1", "[1.舞蹈]", "甲=9"});
    for (int i = 0; i < 3; ++i) display.Timer1Timer();  // the label flashes through all three
    QVERIFY(display.flashTimer(1).isActive());
    QCOMPARE(dialogs_.log(), QStringList{"message: 找不到变动.mp3"});
  }

  void noJudgesShowNoPhotos() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {});
    event.scores({"[当前节目]", "编号=1"});
    scoring::TShowEvery display(context(event));
    for (int k = 1; k <= scoring::TShowEvery::kJudges; ++k) QVERIFY(!display.photo(k)->isVisibleTo(&display));
    display.Timer1Timer();
    QCOMPARE(display.resultLabel()->Caption(), QStringLiteral("得分:0.00"));
  }
};

QTEST_MAIN(ScoreDetailsTest)
#include "score_details_test.moc"
