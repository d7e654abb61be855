// The draw screen driven as the operator drives it: keys on the real window,
// ticks of its timers, on events written into a temporary folder. What is
// checked is what the audience and the files see: the frames, the start button,
// the hint, the winners record.
#include "app/TForm1.h"

#include <QImage>
#include <QPushButton>
#include <QtTest>
#include <map>
#include <random>
#include <set>

#include "base/delimited_row.h"
#include "draw/event_fixture.h"
#include "platform/qt_gbk.h"
#include "styledtext/TSmoothLabel.h"
#include "window_event.h"
#include "window_test_setup.h"

using draw_testing::Award;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;
namespace winner = draw::winner;

namespace {

const QSize kDesktop(1920, 1080);
const QString kEndQuestion = QStringLiteral("question: 抽奖结束,是否显示全部中奖名单?");

// A draw without the privacy mask, so the names shown are the roster's, and a
// picture roster of the same people.
window_testing::WindowEvent drawEvent(std::vector<Award> awards, int people, const std::vector<std::string>& settings) {
  window_testing::WindowEvent event(std::move(awards));
  event.set("界面设置", {"隐私_check=0"}).set("界面设置", settings).people(people, "人", true);
  return event;
}

std::unique_ptr<TForm1> openWindow(const EventFixture& event) {
  auto window = std::make_unique<TForm1>(event.dir().path(), nullptr, kDesktop);
  window->show();
  return window;
}

void press(TForm1& window, Qt::Key key = Qt::Key_Space) { QTest::keyClick(&window, key); }

// A start/stop press, with a few rolling ticks when it started the names rolling.
void command(TForm1& window, int ticks = 3) {
  press(window);
  if (window.luck().rolling())
    for (int i = 0; i < ticks; ++i) window.luck().Timer1Timer();
}

QString caption(TForm1& window) { return window.startButton()->text(); }

QString shown(const std::string& gbkText) { return platform::fromGbk(gbkText); }

// Display names of the last n winner records, first pick first.
QStringList lastWinners(TForm1& window, std::size_t n) {
  const draw::DrawData& data = window.drawData();
  QStringList names;
  for (std::size_t r = data.winnerCount() + 1 - n; r <= data.winnerCount(); ++r)
    names << shown(data.LuckNameGrid.cell(winner::kDisplayName, r));
  return names;
}

QStringList lastRecordedNames(const EventFixture& event, std::size_t n) {
  const auto lines = event.lines("LuckName.txt");
  QStringList names;
  for (std::size_t i = lines.size() - n; i < lines.size(); ++i)
    names << shown(base::readDelimitedRow(lines[i], winner::kColumnCount)[winner::kDisplayName]);
  return names;
}

// The table invariants of the draw: every award's drawn count is its number of
// records, nobody wins twice when repeat winning is off, the winners record on
// disk is the table, and the spare row stays empty.
void verifyInvariants(TForm1& window, const EventFixture& event) {
  const draw::DrawData& data = window.drawData();
  std::map<std::string, int> perAward;
  std::set<std::string> people;
  for (std::size_t r = 1; r <= data.winnerCount(); ++r) {
    ++perAward[data.LuckNameGrid.cell(winner::kAwardSerial, r)];
    const std::string& person = data.LuckNameGrid.cell(winner::kSerial, r);
    QVERIFY2(people.insert(person).second, ("won twice: " + person).c_str());
  }
  for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
    QCOMPARE(data.count(r, item::kDrawn), perAward[std::to_string(r)]);
    QVERIFY(data.remaining(r) >= 0);
  }
  const auto lines = event.lines("LuckName.txt");
  QCOMPARE(lines.size(), data.winnerCount());
  for (std::size_t r = 1; r <= data.winnerCount(); ++r)
    QCOMPARE(lines[r - 1], draw::winnerRecordLine(data.LuckNameGrid, r));
  QVERIFY(data.LuckNameGrid.row(data.LuckNameGrid.rowCount() - 1) == draw::Table::Row(winner::kColumnCount, ""));
}

void savePlain(const std::filesystem::path& file, QColor colour) {
  std::filesystem::create_directories(file.parent_path());
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(colour);
  QVERIFY(image.save(platform::toQString(file), "JPG", 95));
}

bool near(QColor actual, QColor expected) {
  return std::abs(actual.red() - expected.red()) < 24 && std::abs(actual.green() - expected.green()) < 24 &&
         std::abs(actual.blue() - expected.blue()) < 24;
}

}  // namespace

class TForm1Test : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void spaceBarDrawsAWholeEventAndAStartResumesIt() {
    EventFixture event;
    drawEvent({{"一等奖", 1, 1, "电脑"}, {"二等奖", 3, 2, "手机"}}, 12, {"抽奖顺序=1", "重复中奖=0", "分组显示名单=0"})
        .write(event.dir());
    auto window = openWindow(event);
    QCOMPARE(caption(*window), QStringLiteral("开始"));

    // Award 2 first: one batch of 2, then the last place of award 2.
    command(*window);
    QCOMPARE(caption(*window), QStringLiteral("停止"));
    QCOMPARE(window->visibleFrameTexts().size(), 2);
    command(*window);
    QCOMPARE(caption(*window), QStringLiteral("开始"));
    QCOMPARE(window->visibleFrameTexts(), lastWinners(*window, 2));
    QCOMPARE(window->visibleFrameTexts(), lastRecordedNames(event, 2));

    // A restart on the same folder resumes the award in progress.
    window.reset();
    window = openWindow(event);
    QCOMPARE(window->label(screen::Label::ActionHint)->Caption(), QStringLiteral("继续抽取二等奖"));
    QCOMPARE(window->drawData().winnerCount(), std::size_t{2});

    const QStringList expected{"停止", "下一奖项", "开始", "停止", "下一奖项"};
    QStringList captions;
    std::vector<std::size_t> batches;
    for (int i = 0; i < expected.size(); ++i) {
      const std::size_t before = window->drawData().winnerCount();
      command(*window);
      captions << caption(*window);
      if (i == 2) QCOMPARE(window->label(screen::Label::ActionHint)->Caption(), QStringLiteral("即将开始抽取 一等奖"));
      if (const std::size_t drawn = window->drawData().winnerCount() - before) {
        batches.push_back(drawn);
        QCOMPARE(window->visibleFrameTexts(), lastWinners(*window, drawn));
        QCOMPARE(window->visibleFrameTexts(), lastRecordedNames(event, drawn));
      }
    }
    QCOMPARE(captions, expected);
    QCOMPARE(batches, (std::vector<std::size_t>{1, 1}));

    // Nothing is left: the next presses end the draw with its question, once.
    for (int i = 0; i < 3 && !window->dialogs().log().contains(kEndQuestion); ++i) command(*window);
    QCOMPARE(window->dialogs().log().count(kEndQuestion), 1);
    QCOMPARE(window->label(screen::Label::ActionHint)->Caption(), QStringLiteral("抽奖结束"));
    QCOMPARE(window->drawData().winnerCount(), std::size_t{4});
    verifyInvariants(*window, event);
  }

  void pictureDrawShowsTheSampleForAMissingPhoto() {
    EventFixture event;
    drawEvent({{"一等奖", 6, 6}}, 6, {"分组显示名单=0"}).set("窗体样式", {"抽奖模式=0"}).write(event.dir());
    const QColor photo(200, 30, 30), sample(30, 170, 60);
    for (int k = 1; k <= 3; ++k) savePlain(event.dir() / "photo" / ("人" + std::to_string(k) + ".jpg"), photo);
    savePlain(event.dir() / "image" / "sample.jpg", sample);
    auto window = openWindow(event);

    command(*window);
    QCOMPARE(window->photoTiles().count(), 6);
    command(*window);
    QCOMPARE(window->drawData().winnerCount(), std::size_t{6});
    QVERIFY(window->visibleFrameTexts().isEmpty());
    for (int k = 1; k <= 6; ++k) {
      const screen::PictureFrame* frame = window->pictureFrame(k);
      QVERIFY(frame->isVisibleTo(window.get()));
      const int serial = std::stoi(window->drawData().LuckNameGrid.cell(winner::kSerial, static_cast<std::size_t>(k)));
      QCOMPARE(frame->tile(), &window->photoTiles().tile(serial - 1));
      const QImage& tile = *frame->tile();
      const QColor centre = tile.pixelColor(tile.width() / 2, tile.height() / 3);
      QVERIFY2(near(centre, serial <= 3 ? photo : sample), qPrintable(QStringLiteral("frame %1").arg(k)));
    }
  }

  void aBatchOfFortyRollsAndStopsInTheBigFrame() {
    EventFixture event;
    drawEvent({{"一等奖", 40, 40}}, 100, {"重复中奖=0"}).write(event.dir());
    auto window = openWindow(event);
    command(*window);
    QVERIFY(window->frame(31)->isVisibleTo(window.get()));
    QVERIFY(window->visibleFrameTexts().isEmpty());
    command(*window);
    QVERIFY(window->frame(31)->isVisibleTo(window.get()));
    QVERIFY(window->visibleFrameTexts().isEmpty());
    const QString text = window->frame(31)->text();
    const int perLine = window->model().rolling.namesPerLine;
    QVERIFY(perLine > 0);
    QCOMPARE(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), (40 + perLine - 1) / perLine);
    QStringList names = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QStringList winners = lastWinners(*window, 40);
    names.sort();
    winners.sort();
    QCOMPARE(names, winners);

    // F5 clears the rolling area off the screen.
    press(*window, Qt::Key_F5);
    QVERIFY(!window->frame(31)->isVisibleTo(window.get()));
    QVERIFY(window->visibleFrameTexts().isEmpty());
  }

  void rapidKeysNeverBreakTheTables_data() {
    QTest::addColumn<QString>("autoStop");
    QTest::addColumn<QString>("order");
    QTest::newRow("manual stop, last award first") << "自动抽奖=0"
                                                   << "抽奖顺序=1";
    QTest::newRow("auto stop, first award first") << "自动抽奖=1"
                                                  << "抽奖顺序=0";
  }
  void rapidKeysNeverBreakTheTables() {
    QFETCH(QString, autoStop);
    QFETCH(QString, order);
    EventFixture event;
    drawEvent({{"一等奖", 3, 2}, {"二等奖", 10, 4}, {"三等奖", 20, 7}}, 40,
              {"重复中奖=0", "滚动速度=0", "自动抽奖Sec=1", autoStop.toStdString(), order.toStdString()})
        .write(event.dir());
    auto window = openWindow(event);
    std::mt19937 random(5);
    const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_F5, Qt::Key_F4};
    for (int step = 0; step < 3000; ++step) {
      switch (random() % 8) {
        case 0:
        case 1:
        case 2:
          press(*window, keys[random() % 3]);
          break;
        case 3:
        case 4:
          window->luck().Timer1Timer();
          break;
        case 5:
          window->luck().Timer4Timer();
          break;
        case 6:
          window->luck().Timer2Timer();
          break;
        default:
          if (random() % 2) window->dialogs().setNextAnswer(true);
          QCoreApplication::processEvents();
      }
      if (step % 500 == 0) verifyInvariants(*window, event);
    }
    // The real timers get their turn too: after each key, the event loop runs
    // until a running timer has ticked (a second at most).
    int ticks = 0;
    for (int number = 1; number <= 4; ++number)
      connect(&window->timer(number), &QTimer::timeout, this, [&ticks] { ++ticks; });
    for (int i = 0; i < 20; ++i) {
      press(*window);
      const int before = ticks;
      const bool running = window->timer(1).isActive() || window->timer(2).isActive() || window->timer(3).isActive() ||
                           window->timer(4).isActive();
      // Only a pace: a timer that another one stops in between never ticks.
      if (running) static_cast<void>(QTest::qWaitFor([&] { return ticks > before; }, 1000));
    }
    verifyInvariants(*window, event);
    QVERIFY(window->drawData().winnerCount() > 10);
  }
};

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
