// The draw screen after the first start at the projector sizes met in practice,
// in text and picture draw, for small and large batches: nothing the audience
// sees covers anything else, nothing leaves the screen, and on the desktop the
// template was laid out for the auto layout gives the template's own layout.
#include <QtTest>
#include <map>

#include "base/ini_file.h"
#include "platform/font_substitutions.h"
#include "screen/TForm1.h"
#include "screen/audience_view.h"
#include "screen/main_menu.h"
#include "test_folder.h"

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

}  // namespace

class ScreenSizesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    platform::installFontSubstitutions();
    screen::DialogService::setHeadlessByDefault(true);
  }

  void nothingOverlapsOrLeavesTheScreen_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("textDraw");
    for (const QSize size : {QSize(1024, 768), QSize(1280, 720), QSize(1366, 768), QSize(1920, 1080), QSize(3840, 2160)})
      for (const bool textDraw : {true, false})
        QTest::addRow("%dx%d %s", size.width(), size.height(), textDraw ? "text" : "picture") << size << textDraw;
  }

  void nothingOverlapsOrLeavesTheScreen() {
    QFETCH(QSize, size);
    QFETCH(bool, textDraw);
    testing_support::TestFolder folder;
    fs::copy(KV_DIST_DIR, folder.path(), fs::copy_options::recursive);
    audience_view::quietenEvent(folder.path());
    audience_view::setModes(folder.path(), textDraw, true);

    // Not shown: the layout is what is checked, painting would only cost time.
    TForm1 window(folder.path(), nullptr, size);
    window.timer(3).start(0);
    QTRY_VERIFY_WITH_TIMEOUT(!window.timer(3).isActive(), 5000);
    QVERIFY(window.dialogs().log().filter(QStringLiteral("question:")).isEmpty());
    audience_view::drawFirstBatch(window);

    const QRect screenArea(QPoint(0, 0), size);
    for (const int n : {1, 5, 10, 30, 31}) {
      audience_view::showBatch(window, n);
      const std::vector<Element> shown = audience_view::visibleElements(window);
      QVERIFY(shown.size() >= 6);
      int frames = 0;
      for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].name.startsWith(QStringLiteral("frameName")) || shown[i].name.startsWith(QStringLiteral("NameImage")))
          ++frames;
        QVERIFY2(screenArea.contains(shown[i].box), qPrintable(QStringLiteral("batch %1: %2 leaves the screen")
                                                                   .arg(n)
                                                                   .arg(describe(shown[i]))));
        for (std::size_t j = i + 1; j < shown.size(); ++j)
          QVERIFY2(!shown[i].box.intersects(shown[j].box),
                   qPrintable(QStringLiteral("batch %1: %2 overlaps %3").arg(n).arg(describe(shown[i]), describe(shown[j]))));
      }
      QCOMPARE(frames, textDraw && n > 30 ? 1 : std::min(n, 30));
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
  }
};

QTEST_MAIN(ScreenSizesTest)
#include "screen_sizes_test.moc"
