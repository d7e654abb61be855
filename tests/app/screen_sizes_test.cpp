// The draw screen after the first start at the projector sizes met in practice,
// in text and picture draw, for small and large batches: nothing the audience
// sees covers anything else, nothing leaves the screen, and on the desktop the
// template was laid out for the auto layout gives the template's own layout.
#include <QMenu>
#include <QtTest>
#include <map>

#include "app/TForm1.h"
#include "app/audience_view.h"
#include "base/ini_file.h"
#include "draw/run_record.h"
#include "screen/main_menu.h"
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

// Every key of the layout sets of one draw mode, as the file holds it.
std::map<std::string, std::string> layoutKeys(const base::IniFile& ini, bool textDraw) {
  std::vector<std::string> sections;
  for (int n = 1; n <= 30; ++n) {
    const std::string batch = std::to_string(n);
    if (textDraw) sections.push_back(batch + "_S1");
    // A batch of six or fewer places frames 1 to 6; the others keep what they held.
    const int placed = textDraw && n <= 6 ? 6 : 30;
    for (int k = 1; k <= placed; ++k) sections.push_back(batch + (textDraw ? "_L" : "_P") + std::to_string(k));
  }
  if (textDraw) sections.insert(sections.end(), {"L31", "31_S1"});
  for (int k = 1; !textDraw && k <= 30; ++k) sections.push_back("31_P" + std::to_string(k));
  std::map<std::string, std::string> keys;
  for (const std::string& section : sections)
    for (const std::string& key : ini.keys(section)) keys[section + "/" + key] = ini.readString(section, key, "");
  return keys;
}

// Every element the window shows lies on the screen and covers no other; the
// number of rolling frames among them.
int verifyScreenFits(TForm1& window, QSize size, const QString& when) {
  const std::vector<Element> shown = audience_view::visibleElements(window);
  [&] { QVERIFY2(shown.size() >= 6, qPrintable(when)); }();
  int frames = 0;
  const QRect screenArea(QPoint(0, 0), size);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i].name.startsWith(QStringLiteral("frameName")) || shown[i].name.startsWith(QStringLiteral("NameImage")))
      ++frames;
    [&] {
      QVERIFY2(screenArea.contains(shown[i].box),
               qPrintable(QStringLiteral("%1: %2 leaves the screen").arg(when, describe(shown[i]))));
      for (std::size_t j = i + 1; j < shown.size(); ++j)
        QVERIFY2(!shown[i].box.intersects(shown[j].box),
                 qPrintable(QStringLiteral("%1: %2 overlaps %3").arg(when, describe(shown[i]), describe(shown[j]))));
    }();
    if (QTest::currentTestFailed()) break;
  }
  return frames;
}

// Every element of batch n shown by the window lies on the screen and covers no
// other, also while an auto stop counts down over the names.
void verifyBatchFits(TForm1& window, QSize size, int n) {
  audience_view::showBatch(window, n);
  audience_view::showCountdown(window, window.drawData().settings.autoStopSeconds);
  const int frames = verifyScreenFits(window, size, QStringLiteral("batch %1").arg(n));
  if (QTest::currentTestFailed()) return;
  const bool textDraw = window.drawData().settings.textDraw;
  QCOMPARE(frames, textDraw && n > 30 ? 1 : std::min(n, 30));
}

// A copy of the shipped files in a test folder, drawing quietly in the given modes.
void copyShippedEvent(const fs::path& to, bool textDraw, bool peopleRolling = true) {
  fs::copy(KV_DIST_DIR, to, fs::copy_options::recursive);
  audience_view::quietenEvent(to);
  audience_view::setModes(to, textDraw, peopleRolling);
}

// The first start's resolution check has run its auto layout without a question.
void startAtSize(TForm1& window) {
  window.timer(3).start(0);
  QTRY_VERIFY_WITH_TIMEOUT(!window.timer(3).isActive(), 5000);
  QVERIFY2(window.dialogs().log().filter(QStringLiteral("question:")).isEmpty(),
           qPrintable(window.dialogs().log().join(" / ")));
}

void addSizeRows() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("textDraw");
  for (const QSize size : {QSize(1024, 768), QSize(1280, 720), QSize(1366, 768), QSize(1920, 1080), QSize(3840, 2160)})
    for (const bool textDraw : {true, false})
      QTest::addRow("%dx%d %s", size.width(), size.height(), textDraw ? "text" : "picture") << size << textDraw;
}

}  // namespace

class ScreenSizesTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void nothingOverlapsOrLeavesTheScreen_data() { addSizeRows(); }

  void nothingOverlapsOrLeavesTheScreen() {
    QFETCH(QSize, size);
    QFETCH(bool, textDraw);
    testing_support::TestFolder folder;
    copyShippedEvent(folder.path(), textDraw);

    // Not shown: the layout is what is checked, painting would only cost time.
    TForm1 window(folder.path(), nullptr, size);
    startAtSize(window);
    if (QTest::currentTestFailed()) return;
    audience_view::drawFirstBatch(window);

    for (const int n : {1, 5, 10, 30, 31}) {
      verifyBatchFits(window, size, n);
      if (QTest::currentTestFailed()) return;
    }

    // On the template's own desktop the first start ran no auto layout; running
    // it changes not one stored key: 1920 × 1080 keeps the geometry it always had.
    if (size == QSize(1920, 1080)) {
      const auto before = layoutKeys(base::IniFile(folder / "SysConfig.ini"), textDraw);
      window.mainMenu().action(QStringLiteral("N16"))->trigger();
      const auto after = layoutKeys(base::IniFile(folder / "Config.ini"), textDraw);
      for (const auto& [key, value] : after) QVERIFY2(before.count(key) && before.at(key) == value, key.c_str());
      QCOMPARE(after.size(), before.size());
    }
    if (!textDraw) return;

    // The big frame shows more than it was placed for (ten lines of six): ten
    // names a line from its menu, or more lines. It still fits.
    QAction* tenALine = nullptr;
    for (const QMenu* menu : window.findChildren<QMenu*>())
      for (QAction* action : menu->actions())
        if (action->text() == QStringLiteral("每行10个")) tenALine = action;
    QVERIFY(tenALine);
    audience_view::showBatch(window, 31);
    tenALine->trigger();
    QCOMPARE(window.bigFrameNamesPerLine(), 10);
    const std::string name = audience_view::longestName(window);
    for (const auto& [n, perLine] : {std::pair{31, 10}, {60, 10}, {60, 5}}) {
      window.setFrameText(31, draw::bigFrameText(perLine, std::vector<std::string>(std::size_t(n), name), name.size()));
      const QString when = QStringLiteral("%1 names, %2 a line").arg(n).arg(perLine);
      verifyScreenFits(window, size, when);
      if (QTest::currentTestFailed()) return;
      QVERIFY2(window.frame(31)->frameFont().pointSize() >= screen::kReadableFontSize, qPrintable(when));
    }
  }

  // Award rolling: each start writes whose turn it is and who is next into the
  // guest line, the award and prize names roll, a stop shows the award won. In
  // picture draw the turn's photo stands in picture frame 1.
  void awardRollingFits_data() { addSizeRows(); }

  void awardRollingFits() {
    QFETCH(QSize, size);
    QFETCH(bool, textDraw);
    testing_support::TestFolder folder;
    copyShippedEvent(folder.path(), textDraw, false);
    TForm1 window(folder.path(), nullptr, size);
    startAtSize(window);
    if (QTest::currentTestFailed()) return;
    // A guest line shown smaller to fit keeps the font the exit save stores.
    const screen::LabelFont guestFont = window.model().label(screen::Label::HonorGuest).font;
    for (int turn = 1; turn <= 2; ++turn) {
      window.luck().startStopCommand();
      QVERIFY(window.label(screen::Label::HonorGuest)->Caption().contains(QStringLiteral("下一位")));
      for (int tick = 0; tick < 5; ++tick) {
        window.luck().Timer1Timer();
        verifyScreenFits(window, size, QStringLiteral("turn %1, rolling").arg(turn));
        if (QTest::currentTestFailed()) return;
      }
      window.luck().startStopCommand();
      verifyScreenFits(window, size, QStringLiteral("turn %1, stopped").arg(turn));
      if (QTest::currentTestFailed()) return;
    }
    QVERIFY(window.model().label(screen::Label::HonorGuest).font == guestFont);
  }

  // An event last run on 1920 × 1080 opens on a 1280 × 720 projector: the
  // operator is asked; No keeps the stored layout untouched, Yes lays it out anew to fit.
  void aChangedScreenAsksAndYesGivesALayoutThatFits_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
  }

  void aChangedScreenAsksAndYesGivesALayoutThatFits() {
    QFETCH(bool, yes);
    const QSize size(1280, 720);
    testing_support::TestFolder folder;
    copyShippedEvent(folder.path(), true);
    fs::copy_file(folder / "SysConfig.ini", folder / "Config.ini");
    {
      base::IniFile config(folder / "Config.ini");
      draw::clearFirstRunFlag(config);
    }
    const auto stored = layoutKeys(base::IniFile(folder / "Config.ini"), true);

    TForm1 window(folder.path(), nullptr, size);
    window.dialogs().setNextAnswer(yes);
    window.timer(3).start(0);
    QTRY_VERIFY_WITH_TIMEOUT(!window.timer(3).isActive(), 5000);
    const QStringList asked = window.dialogs().log().filter(QStringLiteral("question:"));
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().contains(QStringLiteral("屏幕分辨率")));
    if (!yes) {
      QCOMPARE(layoutKeys(base::IniFile(folder / "Config.ini"), true), stored);
      return;
    }
    audience_view::drawFirstBatch(window);
    verifyBatchFits(window, size, 10);
  }
};

QTEST_MAIN(ScreenSizesTest)
#include "screen_sizes_test.moc"
