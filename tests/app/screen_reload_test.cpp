// The draw screen as a new user meets it: the first start and a start afresh
// from the shipped files, in every draw and rolling mode; a restart and a mode
// change putting the screen back as the settings say; Enter and the start
// button; the auto layout's names and progress bar.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "app/TForm1.h"
#include "base/ini_file.h"
#include "draw/event_fixture.h"
#include "screen/main_menu.h"
#include "screen/rolling_frame.h"
#include "styledtext/TSmoothLabel.h"
#include "window_event.h"
#include "window_test_setup.h"

using draw_testing::EventFixture;
using screen::Label;
using testing_support::gbk;
namespace fs = std::filesystem;

namespace {

const QSize kDesktop(1920, 1080);

// The shipped files an operator copies into a new event folder.
void copyShippedFiles(const fs::path& to) {
  const fs::path dist(KV_DIST_DIR);
  for (const char* file : {"SysConfig.ini", "NameList.txt", "PicList.txt"})
    if (fs::exists(dist / file)) fs::copy_file(dist / file, to / file);
  for (const char* folder : {"backpic", "image", "prize", "music"})
    fs::copy(dist / folder, to / folder, fs::copy_options::recursive);
}

// Lets the one-second check after start-up (resolution, auto layout) run now.
void settle(TForm1& window) {
  window.timer(3).start(1);
  QTRY_VERIFY_WITH_TIMEOUT(!window.timer(3).isActive(), 5000);
}

struct Element {
  QString name;
  QRect box;
};

// The elements the audience sees: captions with text, logo, prize picture, buttons.
std::vector<Element> shownElements(TForm1& window) {
  std::vector<Element> shown;
  for (Label which : screen::kAllLabels) {
    styledtext::TSmoothLabel* l = window.label(which);
    if (l->isVisibleTo(&window) && !l->Caption().isEmpty()) shown.push_back({l->objectName(), l->geometry()});
  }
  for (const char* name : {"Image2", "PrizePic", "startRun", "Button1"}) {
    auto* w = window.findChild<QWidget*>(QString::fromLatin1(name));
    if (w && w->isVisibleTo(&window) && !w->size().isEmpty()) shown.push_back({w->objectName(), w->geometry()});
  }
  return shown;
}

QString describe(const QRect& r) {
  return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

void verifyNoOverlap(const std::vector<Element>& shown) {
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const QRect screenArea(QPoint(0, 0), kDesktop);
    QVERIFY2(screenArea.contains(shown[i].box), qPrintable(shown[i].name + " leaves the screen"));
    for (std::size_t j = i + 1; j < shown.size(); ++j)
      QVERIFY2(!shown[i].box.intersects(shown[j].box),
               qPrintable(QStringLiteral("%1 %2 overlaps %3 %4")
                              .arg(shown[i].name, describe(shown[i].box), shown[j].name, describe(shown[j].box))));
  }
}

bool askedAnything(TForm1& window) {
  for (const QString& line : window.dialogs().log())
    if (line.startsWith(QStringLiteral("question:"))) return true;
  return false;
}

// Two awards, ten people, laid out for the desktop; `settings` go to "界面设置".
window_testing::WindowEvent reloadEvent(const std::vector<std::string>& settings) {
  window_testing::WindowEvent event({{"一等奖", 2, 1}, {"二等奖", 4, 2}});
  event.set("界面设置", {"重复中奖=0"}).set("界面设置", settings).set("窗体样式", {"窗体宽=1920", "窗体高=1080"});
  event.people(10, "人");
  return event;
}

}  // namespace

class ScreenReloadTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void startsAndStartsAfreshFromTheShippedFilesCleanly_data() {
    QTest::addColumn<bool>("textDraw");
    QTest::addColumn<bool>("peopleRolling");
    QTest::addColumn<bool>("photoRoster");
    QTest::newRow("text draw, people rolling") << true << true << true;
    QTest::newRow("picture draw, people rolling") << false << true << true;
    QTest::newRow("text draw, award rolling") << true << false << true;
    QTest::newRow("picture draw, award rolling") << false << false << true;
    // The roster cannot be read: the operator is told, and still gets a clean screen.
    QTest::newRow("picture draw, no PicList.txt") << false << true << false;
  }

  void startsAndStartsAfreshFromTheShippedFilesCleanly() {
    QFETCH(bool, textDraw);
    QFETCH(bool, peopleRolling);
    QFETCH(bool, photoRoster);
    testing_support::TestFolder folder;
    copyShippedFiles(folder.path());
    if (!photoRoster) fs::remove(folder / "PicList.txt");
    {
      base::IniFile template_(folder / "SysConfig.ini");
      template_.writeBool(gbk("窗体样式"), gbk("抽奖模式"), textDraw);
      template_.writeBool(gbk("窗体样式"), gbk("滚动模式"), peopleRolling);
    }

    std::vector<Element> first;
    for (const char* start : {"first start", "afresh"}) {
      auto window = std::make_unique<TForm1>(folder.path(), nullptr, kDesktop);
      window->show();
      settle(*window);
      QVERIFY2(!askedAnything(*window), start);
      QVERIFY2(window->label(Label::ActionHint)->isVisibleTo(window.get()), start);
      const std::vector<Element> shown = shownElements(*window);
      QVERIFY(shown.size() >= 5);  // titles, hint, logo, start button at least
      verifyNoOverlap(shown);
      if (first.empty()) {
        first = shown;
      } else {
        QCOMPARE(shown.size(), first.size());
        for (std::size_t i = 0; i < shown.size(); ++i) QCOMPARE(shown[i].box.topLeft(), first[i].box.topLeft());
        // The template's layout is the auto layout's own on this desktop: running it changes
        // nothing (in award rolling the hint names the next person, and without a roster it
        // says that nothing can be drawn, so it is centred anew).
        if (peopleRolling && photoRoster) {
          window->mainMenu().action(QStringLiteral("N16"))->trigger();
          const std::vector<Element> relaid = shownElements(*window);
          QCOMPARE(relaid.size(), shown.size());
          for (std::size_t i = 0; i < shown.size(); ++i)
            QVERIFY2(relaid[i].box.topLeft() == shown[i].box.topLeft(), qPrintable(shown[i].name));
        }
      }
      window->close();
      window.reset();
      // What the README says to delete to start an event afresh.
      for (const char* file : {"Config.ini", "LuckName.txt", "log.txt"}) fs::remove(folder / file);
    }
  }

  void restartAndModeChangesPutTheScreenBackAsTheSettingsSay() {
    EventFixture event;
    // Award rolling with the award name and the draw guest unticked: a draw shows them anyway.
    reloadEvent({"奖项名称=0", "隐藏抽奖嘉宾=0"}).set("窗体样式", {"滚动模式=0"}).write(event.dir());
    TForm1 window(event.dir().path(), nullptr, kDesktop);
    window.show();
    auto visible = [&](Label which) { return window.label(which)->isVisibleTo(&window); };
    QVERIFY(!visible(Label::ItemName) && !visible(Label::HonorGuest));

    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(visible(Label::ItemName) && visible(Label::HonorGuest));
    window.dialogs().setNextAnswer(true);
    window.mainMenu().action(QStringLiteral("N17"))->trigger();
    QVERIFY(!visible(Label::ItemName) && !visible(Label::HonorGuest));

    // The mode changes reset the draw the same way.
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(visible(Label::ItemName));
    window.mainMenu().action(QStringLiteral("N96"))->trigger();
    QVERIFY(window.drawData().settings.peopleRolling);
    QVERIFY(!visible(Label::ItemName) && !visible(Label::HonorGuest));
    QVERIFY(!visible(Label::TimeShow));
    QCOMPARE(window.label(Label::MainTitle)->smoothFont().color, window.model().label(Label::MainTitle).font.color);
  }

  void enterPressesTheStartButtonOnlyWhileItIsShown_data() {
    QTest::addColumn<bool>("buttonShown");
    QTest::newRow("shown") << true;
    QTest::newRow("hidden") << false;
  }

  void enterPressesTheStartButtonOnlyWhileItIsShown() {
    QFETCH(bool, buttonShown);
    EventFixture event;
    reloadEvent({buttonShown ? "隐藏按钮=1" : "隐藏按钮=0"}).write(event.dir());
    TForm1 window(event.dir().path(), nullptr, kDesktop);
    window.show();
    QCOMPARE(window.startButton()->isVisible(), buttonShown);
    QTest::keyClick(&window, Qt::Key_Return);
    QCOMPARE(window.luck().rolling(), buttonShown);
    if (!buttonShown) {
      QTest::keyClick(&window, Qt::Key_Space);  // the space bar works either way
      QVERIFY(window.luck().rolling());
    }
  }

  void autoLayoutMeasuresThePlainNamesAndCountsOneToThirtyOne() {
    EventFixture event;
    reloadEvent({"隐私_check=1", "隐私_begin=3", "隐私_end=6"}).write(event.dir());
    event.roster({"甲", "欧阳长名字", "乙"});
    TForm1 window(event.dir().path(), nullptr, kDesktop);
    window.show();
    auto* bar = window.findChild<QProgressBar*>();
    QVERIFY(bar);
    QList<int> steps;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) { steps << value; });
    window.mainMenu().action(QStringLiteral("N16"))->trigger();
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 31);
    QCOMPARE(steps.first(), 1);
    QCOMPARE(steps.last(), 31);
    QCOMPARE(window.model().rolling.textCaptions[0], gbk("欧阳长名字"));
  }
};

QTEST_MAIN(ScreenReloadTest)
#include "screen_reload_test.moc"
