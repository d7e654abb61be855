// The program's start: one instance, Chinese fonts, the background of the event.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QtTest>
#include <optional>

#include "app/TForm1.h"
#include "base/ini_file.h"
#include "platform/program_dir.h"
#include "platform/qt_gbk.h"
#include "platform/single_instance.h"
#include "screen/state/background_lookup.h"
#include "test_folder.h"
#include "window_test_setup.h"

using testing_support::gbk;

namespace {

// The text laid out as a label lays it out, with Qt's fallback faces: how many
// glyphs it takes and the face of the first box (glyph 0) among them, if any.
struct LaidOutGlyphs {
  int count = 0;
  std::optional<QString> boxedIn;
};

LaidOutGlyphs layOut(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  LaidOutGlyphs glyphs;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    for (quint32 index : run.glyphIndexes()) {
      if (index == 0 && !glyphs.boxedIn) glyphs.boxedIn = run.rawFont().familyName();
      ++glyphs.count;
    }
  }
  return glyphs;
}

}  // namespace

class AppTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  // The event is in the program folder, but an installed program's is in the
  // user's data folder, whoever runs it; writability plays no part, and an event
  // in the other place is reported, never taken.
  void eventFolderFollowsTheInstalledRule() {
    namespace fs = std::filesystem;
    testing_support::TestFolder dir;
    const fs::path home = dir / "home/.local/share";
    struct Case {
      const char* name;
      fs::path executable;
      bool owned;
      bool installed;
      bool otherEvent;  // an event waits in the place not chosen
    } cases[] = {
        {"a build folder of the user", dir / "build/Kelvara抽奖软件/Kelvara抽奖软件", true, false, false},
        {"a build folder owned by another user", dir / "build/Kelvara抽奖软件/Kelvara抽奖软件", false, true, false},
        {"a system prefix", "/usr/lib/kelvara-not-installed/Kelvara抽奖软件", true, true, false},
        {"a folder merely named usr", dir / "usr2/kelvara/Kelvara抽奖软件", true, false, false},
        {"a build folder with an old copy in the data folder", dir / "copy/Kelvara抽奖软件", true, false, true},
    };
    for (const Case& c : cases) {
      const fs::path data = home / c.executable.filename();
      if (c.otherEvent) {
        fs::create_directories(data);
        base::writeFileAtomically(data / "LuckName.txt", "1|a|a|x|1\r\n");
      }
      const platform::EventFolderChoice choice = platform::chooseEventFolder({c.executable, c.owned, home});
      QVERIFY2(choice.installed == c.installed, c.name);
      QCOMPARE(choice.folder, c.installed ? data : c.executable.parent_path());
      QVERIFY2(choice.otherEvent.has_value() == c.otherEvent, c.name);
      if (c.otherEvent) {
        QCOMPARE(*choice.otherEvent, data);
        QVERIFY(platform::otherEventMessage(choice).contains(platform::toQString(data)));
      }
      fs::remove_all(home);
    }
  }

  void installedEventIsLaidOutFromTheShippedFilesOnly() {
    namespace fs = std::filesystem;
    testing_support::TestFolder dir;
    const fs::path install = dir / "usr/lib/kelvara";
    const fs::path executable = install / "Kelvara抽奖软件";
    fs::create_directories(install / "music");
    dir.write("usr/lib/kelvara/Kelvara抽奖软件", "ELF");
    dir.write("usr/lib/kelvara/SysConfig.ini", "[a]\r\n");
    dir.write("usr/lib/kelvara/music/a.wav", "RIFF");
    dir.write("usr/lib/kelvara/libkv_sound.so", "ELF");
    // What a run as root left there once: never carried into a user's event.
    dir.write("usr/lib/kelvara/Config.ini", "[a]\r\n");
    dir.write("usr/lib/kelvara/LuckName.txt", "1|a|a|x|1\r\n");
    const fs::path event = dir / "home/.local/share/Kelvara抽奖软件";

    platform::layOutEventFolder(install, executable, event);
    QCOMPARE(base::readFile(event / "music/a.wav"), std::string("RIFF"));
    QVERIFY(!fs::exists(event / "Kelvara抽奖软件"));
    QVERIFY(!fs::exists(event / "libkv_sound.so"));
    QVERIFY(!fs::exists(event / "Config.ini"));
    QVERIFY(!fs::exists(event / "LuckName.txt"));
    for (const char* folder : {"backpic", "image", "photo", "prize", "music", "data", "manager"})
      QVERIFY2(fs::is_directory(event / folder), folder);

    // A second start never overwrites what the event has made its own.
    base::writeFileAtomically(event / "SysConfig.ini", "mine");
    platform::layOutEventFolder(install, executable, event);
    QCOMPARE(base::readFile(event / "SysConfig.ini"), std::string("mine"));
  }

  void secondInstanceIsRefused() {
    QTemporaryDir dir;
    platform::SingleInstanceGuard first(QStringLiteral("Kelvara抽奖软件"), dir.path());
    platform::SingleInstanceGuard second(QStringLiteral("Kelvara抽奖软件"), dir.path());
    QVERIFY(first.acquire());
    QVERIFY(!second.acquire());
    first.release();
    QVERIFY(second.acquire());
    QCOMPARE(platform::secondInstanceMessage(), QStringLiteral("您已经打开了Kelvara抽奖软件\n\n不可重复打开\n"));
    QCOMPARE(platform::secondInstanceCaption(), QStringLiteral("重复开启"));
  }

  // Every face the data files name must resolve to an installed font that draws
  // the program's Chinese captions, never boxes.
  void mappedFacesDrawChinese() {
    const QString sample = QStringLiteral("幸运大抽奖按空格开始抽奖一等奖");
    for (const auto& [face, families] : platform::windowsFaceMap()) {
      bool found = false;
      for (const QString& family : families) {
        if (!QFontDatabase::hasFamily(family)) continue;
        QRawFont raw = QRawFont::fromFont(QFont(family, 20));
        bool allGlyphs = true;
        for (QChar c : sample) allGlyphs = allGlyphs && raw.supportsCharacter(c);
        if (allGlyphs) {
          found = true;
          break;
        }
      }
      QVERIFY2(found, qPrintable(face + QStringLiteral(" has no installed face with Chinese glyphs")));
      // A font asked for by the Windows name lands on one of its mapped faces
      // and draws the captions: what a label with that stored face shows.
      const QFont asked(face, 20);
      const QString resolved = QFontInfo(asked).family();
      QVERIFY2(families.contains(resolved), qPrintable(face + QStringLiteral(" resolves to ") + resolved));
      // Laid out as a label lays it out: no glyph is a box.
      const LaidOutGlyphs glyphs = layOut(sample, asked);
      QVERIFY2(!glyphs.boxedIn,
               qPrintable(face + QStringLiteral(" draws a box in ") + glyphs.boxedIn.value_or(QString())));
      QCOMPARE(glyphs.count, sample.size());
    }
  }

  // Names with characters of the CJK extensions (𠀀 and 𪚥 are in no Noto or
  // AR PL face) fall back to HanaMin, whatever face a caption stores.
  void rareCharactersNeverDrawAsBoxes() {
    for (const QString& family : platform::rareCharacterFamilies())
      if (!QFontDatabase::hasFamily(family))
        QSKIP(qPrintable(family + QStringLiteral(" (fonts-hanazono) is not installed")));
    const QString sample = QStringLiteral("陈𠀀李𬌗赵𪚥王䶮");
    QStringList faces{QString(), QStringLiteral("Noto Sans CJK SC")};
    for (const auto& mapped : platform::windowsFaceMap()) faces << mapped.first;
    for (const QString& face : faces) {
      const LaidOutGlyphs glyphs = layOut(sample, QFont(face, 20));
      QVERIFY2(!glyphs.boxedIn,
               qPrintable(face + QStringLiteral(" draws a box in ") + glyphs.boxedIn.value_or(QString())));
      QCOMPARE(glyphs.count, static_cast<int>(sample.toUcs4().size()));
    }
  }

  void backgroundLookupFallsBackInOrder() {
    testing_support::TestFolder folder;
    std::filesystem::create_directories(folder / "backpic");
    folder.write("backpic/欢庆.jpg", "x");
    folder.write("backpic/own.jpg", "x");
    folder.write("elsewhere.jpg", "x");
    auto dir = folder.path();
    QCOMPARE(screen::findBackgroundPicture(dir, (dir / "elsewhere.jpg").string()), dir / "elsewhere.jpg");
    QCOMPARE(screen::findBackgroundPicture(dir, "own.jpg"), dir / "backpic" / "own.jpg");
    QCOMPARE(screen::findBackgroundPicture(dir, "OWN.JPG"), dir / "backpic" / "own.jpg");
    QCOMPARE(screen::findBackgroundPicture(dir, gbk("不存在.jpg")), dir / "backpic" / "欢庆.jpg");
    QCOMPARE(screen::findBackgroundPicture(dir, ""), dir / "backpic" / "欢庆.jpg");
  }

  void windowShowsTheStoredBackground() {
    testing_support::TestFolder folder;
    std::filesystem::create_directories(folder / "backpic");
    QImage red(64, 36, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(QString::fromStdString((folder / "backpic" / "红.png").string())));
    QImage blue(64, 36, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QVERIFY(blue.save(QString::fromStdString((folder / "backpic" / "欢庆.jpg").string()), "JPG"));

    {
      TForm1 shipped(folder.path(), nullptr, QSize(320, 180));
      QCOMPARE(shipped.backgroundFile(), folder / "backpic" / "欢庆.jpg");
    }
    base::IniFile(folder / "SysConfig.ini").writeString(gbk("背景"), "Picture", gbk("红.png"));
    TForm1 window(folder.path(), nullptr, QSize(320, 180));
    QCOMPARE(window.backgroundFile(), folder / "backpic" / "红.png");
    QImage shot = window.grab().toImage();
    QCOMPARE(QColor(shot.pixel(160, 90)), QColor(Qt::red));
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  }

  void missingPicturesLeaveABlackScreen() {
    testing_support::TestFolder folder;
    TForm1 window(folder.path(), nullptr, QSize(100, 100));
    QVERIFY(window.backgroundImage().isNull());
    QCOMPARE(QColor(window.grab().toImage().pixel(2, 2)), QColor(Qt::black));
  }
};

QTEST_MAIN(AppTest)
#include "app_test.moc"
