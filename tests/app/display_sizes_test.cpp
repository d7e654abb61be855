// The four full-screen displays and the draw screen at the projector sizes met
// in practice, on the shipped demo and on a crowded event (long names, 60
// winners, 20 judges, 30 programmes): nothing the audience sees covers anything
// else, nothing leaves the screen, and every winner, programme and judge is shown.
#include <QFontDatabase>
#include <QFontInfo>
#include <QtTest>
#include <cmath>

#include "app/TForm1.h"
#include "app/audience_view.h"
#include "app/display_fixtures.h"
#include "app/display_view.h"
#include "base/gbk.h"
#include "displays/TShowPanel.h"
#include "draw/rolling_feed.h"
#include "scoring/TShowEvery.h"
#include "screen/rolling_frame.h"
#include "screen/state/rolling_layout.h"
#include "test_folder.h"
#include "window_test_setup.h"

namespace fs = std::filesystem;
using audience_view::Element;

namespace {

QString describe(const Element& e) {
  return QStringLiteral("%1 (%2,%3 %4x%5)")
      .arg(e.name)
      .arg(e.box.x())
      .arg(e.box.y())
      .arg(e.box.width())
      .arg(e.box.height());
}

void verifyFits(const std::vector<Element>& shown, QSize size, const QString& when) {
  const QRect screenArea(QPoint(0, 0), size);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    QVERIFY2(screenArea.contains(shown[i].box),
             qPrintable(QStringLiteral("%1: %2 leaves the screen").arg(when, describe(shown[i]))));
    for (std::size_t j = i + 1; j < shown.size(); ++j)
      QVERIFY2(!shown[i].box.intersects(shown[j].box),
               qPrintable(QStringLiteral("%1: %2 overlaps %3").arg(when, describe(shown[i]), describe(shown[j]))));
  }
}

int countNamed(const std::vector<Element>& shown, const QString& prefix) {
  int count = 0;
  for (const Element& e : shown)
    if (e.name.startsWith(prefix) && e.name.mid(prefix.size()).toInt() > 0) ++count;
  return count;
}

// The names of the big frame stand in columns: the k-th name of every line
// starts at the same place, as padding by columns promises in a face whose
// Latin letters are half a Chinese character wide.
void verifyColumnsLineUp(const screen::RollingFrame& big) {
  if (!QFontDatabase::hasFamily(QStringLiteral("Noto Sans Mono CJK SC")))
    QSKIP("Noto Sans Mono CJK SC (fonts-noto-cjk) is not installed");
  const QFontMetricsF metrics(big.frameFont());
  std::vector<qreal> starts;  // of the names of the first line
  for (const QString& line : big.text().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const std::vector<std::string> cells = draw::bigFrameCells(base::utf8ToGbk(line.toStdString()));
    std::string before;
    for (std::size_t k = 0; k < cells.size(); before += cells[k++]) {
      const qreal x = metrics.horizontalAdvance(QString::fromStdString(base::gbkToUtf8(before)));
      if (starts.size() == k) starts.push_back(x);
      QVERIFY2(std::abs(x - starts[k]) < 1.0, qPrintable(line));
    }
  }
}

// Every judge's score is written whole in its label, at a height the hall can
// read; on the crowded event every judge has given one.
void verifyScoresReadable(const scoring::TShowEvery& details, bool everyScored) {
  for (int k = 1; k <= 20; ++k) {
    const QLabel* score = details.scoreLabel(k);
    if (!score->isVisibleTo(&details)) continue;
    const QFontMetrics metrics(score->font());
    const QString when =
        QStringLiteral("score %1 '%2' in %3x%4").arg(k).arg(score->text()).arg(score->width()).arg(score->height());
    QVERIFY2(!everyScored || !score->text().isEmpty(), qPrintable(when));
    QVERIFY2(metrics.height() <= score->height() && metrics.horizontalAdvance(score->text()) <= score->width(),
             qPrintable(when));
    QVERIFY2(score->height() >= scoring::kReadableScoreHeight, qPrintable(when));
  }
}

}  // namespace

class DisplaySizesTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void everyDisplayFits_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("crowded");
    for (const QSize size : {QSize(1024, 600), QSize(1280, 720), QSize(1920, 1080), QSize(3840, 2160)})
      for (const bool crowded : {false, true})
        QTest::addRow("%dx%d %s", size.width(), size.height(), crowded ? "crowded" : "demo") << size << crowded;
  }

  void everyDisplayFits() {
    QFETCH(QSize, size);
    QFETCH(bool, crowded);
    testing_support::TestFolder folder;
    fs::copy(KV_DIST_DIR, folder.path(), fs::copy_options::recursive);
    if (crowded) display_fixtures::makeCrowded(folder.path());
    audience_view::quietenEvent(folder.path());
    audience_view::setModes(folder.path(), true, true);

    TForm1 window(folder.path(), nullptr, size);
    window.timer(3).start(0);
    QTRY_VERIFY_WITH_TIMEOUT(!window.timer(3).isActive(), 5000);
    audience_view::drawFirstBatch(window);
    const draw::Table& won = window.drawData().LuckNameGrid;
    int winners = 0;
    for (std::size_t r = 1; r < won.rowCount(); ++r) winners += won.cell(draw::winner::kDisplayName, r).empty() ? 0 : 1;
    QCOMPARE(winners, crowded ? 60 : 10);

    // The draw screen as the batch left it: sixty long names in the big frame,
    // every one of them whole on the screen, and readable where the screen has room.
    if (crowded) {
      verifyFits(audience_view::visibleElements(window), size, QStringLiteral("draw screen, 60 drawn"));
      if (QTest::currentTestFailed()) return;
      const screen::RollingFrame* big = window.frame(draw::kBigFrame);
      QVERIFY(big->isVisibleTo(&window));
      for (std::size_t r = 1; r < won.rowCount(); ++r) {
        const QString name = QString::fromStdString(base::gbkToUtf8(won.cell(draw::winner::kDisplayName, r)));
        QVERIFY2(big->text().contains(name), qPrintable(name));
      }
      QCOMPARE(big->size(), screen::RollingFrame::textSize(big->frameFont(), big->text(), big->linePitch()));
      if (size.width() >= 1920) QVERIFY(big->frameFont().pointSize() >= screen::kReadableFontSize);
      verifyColumnsLineUp(*big);
      if (QTest::currentTestFailed()) return;
    }

    // The winners display: its lines on the screen, and all winners in them.
    std::vector<std::string> drawnLines;
    window.dialogs().setNextDisplay([&](screen::DisplayStage& stage) {
      auto& panel = dynamic_cast<displays::TShowPanel&>(stage);
      drawnLines = panel.drawnLines();
      const QRect box = panel.nameText()->geometry();
      QVERIFY2(box.left() >= 0 && box.right() < size.width(), "the winners' box leaves the screen");
      verifyFits(display_view::visibleElements(stage), size, QStringLiteral("winners"));
    });
    window.mainMenu().action(QStringLiteral("F101"))->trigger();
    if (QTest::currentTestFailed()) return;
    std::string all;
    for (const std::string& line : drawnLines) all += line + "\n";
    for (std::size_t r = 1; r < won.rowCount(); ++r)
      QVERIFY2(all.find(won.cell(draw::winner::kDisplayName, r)) != std::string::npos,
               base::gbkToUtf8(won.cell(draw::winner::kDisplayName, r)).c_str());

    for (const display_view::Display which :
         {display_view::Display::Prize, display_view::Display::Ranking, display_view::Display::Details}) {
      const std::vector<Element> shown = display_view::openAndCollect(window, which, [&](screen::DisplayStage& stage) {
        if (which == display_view::Display::Details)
          verifyScoresReadable(dynamic_cast<scoring::TShowEvery&>(stage), crowded);
      });
      if (QTest::currentTestFailed()) return;
      const QString when = QString::fromLatin1(display_view::displayName(which));
      verifyFits(shown, size, when);
      if (QTest::currentTestFailed()) return;
      if (which == display_view::Display::Prize) QVERIFY(countNamed(shown, QStringLiteral("Image")) >= 1);
      if (which == display_view::Display::Ranking) {
        QCOMPARE(countNamed(shown, QStringLiteral("SP")), crowded ? 30 : 5);
        QCOMPARE(countNamed(shown, QStringLiteral("SB")), crowded ? 30 : 5);
      }
      if (which == display_view::Display::Details) QCOMPARE(countNamed(shown, QStringLiteral("MP")), crowded ? 20 : 5);
    }
    QVERIFY2(!window.dialogs().log().join(" ").contains(QStringLiteral("message:")),
             qPrintable(window.dialogs().log().join(" / ")));

    // The draw screen with the long names of the crowded roster, ten to a batch.
    if (!crowded) return;
    audience_view::showBatch(window, 10);
    verifyFits(audience_view::visibleElements(window), size, QStringLiteral("draw screen, batch 10"));
  }
};

QTEST_MAIN(DisplaySizesTest)
#include "display_sizes_test.moc"
