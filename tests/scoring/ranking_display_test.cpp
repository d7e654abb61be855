// The ranking display: the opening animation up to the targets, the refresh
// after it, the bar menu's limits, a repeated reading error shown once, the
// subtitle under the position lock and the settings written on closing.
#include <QAction>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "scoring/TPorShow.h"
#include "scoring/core/scoring_fixture.h"
#include "window_test_setup.h"

using scoring_testing::gbk;
using scoring_testing::ScoringEvent;

// Receives what the display hands to the desktop ("打开评分文件").
class OpenedUrls : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls << url; }
};

class RankingDisplayTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;
  screen::DialogService dialogs_;
  OpenedUrls opened_;

  scoring::DisplayContext context(const ScoringEvent& event, bool locked = false) {
    scoring::DisplayContext c;
    c.programDir = event.dir();
    c.dialogs = &dialogs_;
    c.look.mainTitle = gbk("年会");
    c.positionLocked = [locked] { return locked; };
    c.area = QRect(0, 0, 1280, 800);
    return c;
  }
  static void trigger(QMenu* menu, const QString& caption) {
    for (QAction* item : menu->actions())
      if (item->text() == caption) return item->trigger();
    QFAIL(qPrintable("no menu item " + caption));
  }
  static void finishAnimation(scoring::TPorShow& display) {
    for (int tick = 0; tick < 5000 && display.animationTimer().isActive(); ++tick) display.Timer2Timer();
  }
  static void twoProgrammes(ScoringEvent& event, const char* second) {
    event.lists({{"舞蹈", ""}, {"合唱", ""}}, {"甲"});
    event.scores({"[1.舞蹈]", "甲=8", "[2.合唱]", std::string("甲=") + second});
  }

 private slots:
  void initTestCase() {
    dialogs_.setHeadless(true);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened_, "open");
  }
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
  void init() { dialogs_.clearLog(); }

  void animationGrowsOneBarAtATimeThenRefreshes() {
    ScoringEvent event;
    twoProgrammes(event, "9");
    event.config().writeString(gbk("评分展示"), gbk("柱状高度"), "50");
    scoring::TPorShow display(context(event));
    QVERIFY(display.animationTimer().isActive());
    QCOMPARE(display.targetHeight(1), 40);
    QCOMPARE(display.targetHeight(2), 45);
    QCOMPARE(display.barHeightFor(1), 2);
    QCOMPARE(display.scoreLabel(1)->text(), QString());

    for (int tick = 0; tick < 10; ++tick) display.Timer2Timer();
    QCOMPARE(display.barHeightFor(1), 12);
    QCOMPARE(display.barHeightFor(2), 2);
    QCOMPARE(display.scoreLabel(1)->text(), QStringLiteral("2.40"));  // 8 × 12 ÷ 40
    QCOMPARE(display.bar(1)->geometry().bottom() + 1, 800 - 200);
    QCOMPARE(display.scoreLabel(1)->geometry().bottom() + 1, display.bar(1)->y());
    QCOMPARE(display.rankLabel(1)->text(), QString());

    finishAnimation(display);
    QCOMPARE(display.barHeightFor(1), 40);
    QCOMPARE(display.barHeightFor(2), 45);
    QCOMPARE(display.scoreLabel(2)->text(), QStringLiteral("9.00"));
    QCOMPARE(display.rankLabel(1)->text(), QStringLiteral("2"));
    QCOMPARE(display.rankLabel(2)->text(), QStringLiteral("1"));
    QVERIFY(display.refreshTimer().isActive());
    QVERIFY(!display.bar(3)->isVisibleTo(&display));

    // A score saved in the editor shows at the next refresh, bars and ranks at once.
    event.scores({"[1.舞蹈]", "甲=10", "[2.合唱]", "甲=9"});
    display.Timer1Timer();
    QCOMPARE(display.barHeightFor(1), 50);
    QCOMPARE(display.scoreLabel(1)->text(), QStringLiteral("10.00"));
    QCOMPARE(display.rankLabel(1)->text(), QStringLiteral("1"));
    QCOMPARE(display.rankLabel(2)->text(), QStringLiteral("2"));
  }

  void withoutAnimationTheBarsStandAtOnce() {
    ScoringEvent event;
    twoProgrammes(event, "");
    event.config().writeString(gbk("评分展示"), gbk("动画展示"), "0");
    // A full score of 0 reads as 10 instead of dividing by zero.
    event.config().writeString(gbk("节目设置"), gbk("满分"), "0");
    scoring::TPorShow display(context(event));
    QCOMPARE(display.barHeightFor(1), 400);
    QCOMPARE(display.barHeightFor(2), 0);
    QCOMPARE(display.rankLabel(1)->text(), QStringLiteral("1"));
    display.Timer2Timer();
    QVERIFY(!display.animationTimer().isActive());
    QVERIFY(display.refreshTimer().isActive());
    QCOMPARE(display.scoreLabel(2)->text(), QStringLiteral("0.00"));
    QCOMPARE(display.rankLabel(2)->text(), QString());
  }

  void barMenuStepsStopAtTheirLimits() {
    ScoringEvent event;
    twoProgrammes(event, "9");
    base::IniFile config = event.config();
    config.writeString(gbk("评分展示"), gbk("柱状宽度"), "30");
    config.writeString(gbk("评分展示"), gbk("柱状高度"), "60");
    config.writeString(gbk("评分展示"), gbk("间隔宽度"), "10");
    config.writeString(gbk("评分展示"), gbk("动画展示"), "0");
    scoring::TPorShow display(context(event));
    for (int i = 0; i < 3; ++i) {
      trigger(display.barMenu(), "宽度减少");
      trigger(display.barMenu(), "高度降低");
      trigger(display.barMenu(), "间隔减小");
    }
    QCOMPARE(display.barWidthSetting(), 20);
    QCOMPARE(display.barHeightSetting(), 40);
    QCOMPARE(display.gapSetting(), 5);
    QCOMPARE(display.barHeightFor(1), 32);  // heights follow the height at once
    trigger(display.barMenu(), "宽度增加");
    trigger(display.barMenu(), "间隔增大");
    display.Timer1Timer();  // width and gap show at the next refresh
    QCOMPARE(display.bar(1)->width(), 30);
    QCOMPARE(display.bar(2)->x() - display.bar(1)->geometry().right() - 1, 10);

    trigger(display.windowMenu(), "打开评分文件");
    QCOMPARE(opened_.urls.size(), 1);
    QCOMPARE(opened_.urls[0].toLocalFile().toStdString(), (event.dir() / "data" / "评分文件.txt").string());

    dialogs_.setNextColour(255);
    trigger(display.barMenu(), "柱状颜色");
    for (int k = 1; k <= scoring::TPorShow::kBars; ++k)
      QCOMPARE(display.bar(k)->palette().color(QPalette::Window), QColor(255, 0, 0));
    display.close();
    QCOMPARE(event.config().readInt(gbk("评分展示"), gbk("柱状颜色"), 0), 255);
    QCOMPARE(event.config().readInt(gbk("评分展示"), gbk("柱状宽度"), 0), 30);
  }

  void aRepeatedReadingErrorIsShownOnceUntilTheFileChanges() {
    ScoringEvent event;
    twoProgrammes(event, "九");
    scoring::TPorShow display(context(event));
    finishAnimation(display);
    for (int i = 0; i < 3; ++i) display.Timer1Timer();
    QCOMPARE(dialogs_.log(), QStringList{"message: '九' is not a valid floating point value"});
    QCOMPARE(display.scoreLabel(1)->text(), QString());  // the display kept what it showed
    event.scores({"[1.舞蹈]", "甲=8", "[2.合唱]", "甲=九十"});
    display.Timer1Timer();
    display.Timer1Timer();
    QCOMPARE(dialogs_.log().size(), 2);
    event.scores({"[1.舞蹈]", "甲=8", "[2.合唱]", "甲=7"});
    display.Timer1Timer();
    QCOMPARE(display.scoreLabel(2)->text(), QStringLiteral("7.00"));
  }

  void subtitleEditingCentringAndTheLock() {
    ScoringEvent event;
    twoProgrammes(event, "9");
    event.config().writeString(gbk("评分展示"), gbk("副标题"), gbk("节目排名"));
    {
      scoring::TPorShow display(context(event, true));
      display.show();
      QWidget* subtitle = display.subtitle();
      QCOMPARE(subtitle->pos(), QPoint(50, 100));
      QTest::mousePress(subtitle, Qt::LeftButton, {}, QPoint(5, 5));
      QTest::mouseMove(subtitle, QPoint(60, 45));
      QTest::mouseRelease(subtitle, Qt::LeftButton, {}, QPoint(60, 45));
      QCOMPARE(subtitle->pos(), QPoint(50, 100));

      dialogs_.setNextText(QStringLiteral("   "));
      trigger(display.subtitleMenu(), "内容修改");
      QCOMPARE(dialogs_.log().last(), QStringLiteral("message: 标题内容不可为空"));
      dialogs_.setNextText(QStringLiteral(" 决赛 "));
      trigger(display.subtitleMenu(), "内容修改");
      trigger(display.subtitleMenu(), "居中");
      QCOMPARE(subtitle->x(), 640 - subtitle->width() / 2);
      display.close();
    }
    // INI values read trimmed.
    QCOMPARE(event.config().readString(gbk("评分展示"), gbk("副标题"), ""), gbk("决赛"));
    const int left = event.config().readInt("ProShowSecTitle", "Left", -1);
    {
      scoring::TPorShow display(context(event, false));
      display.show();
      QWidget* subtitle = display.subtitle();
      QCOMPARE(subtitle->x(), left);
      const QPoint start = subtitle->pos();
      QTest::mousePress(subtitle, Qt::LeftButton, {}, QPoint(5, 5));
      QTest::mouseMove(subtitle, QPoint(25, 15));
      QTest::mouseRelease(subtitle, Qt::LeftButton, {}, QPoint(25, 15));
      QCOMPARE(subtitle->pos(), start + QPoint(20, 10));
    }
  }
};

QTEST_MAIN(RankingDisplayTest)
#include "ranking_display_test.moc"
