// Photo tiles of picture draw mode: which picture each person gets, the cover
// scaling, the caption, and the order and progress of the parallel load.
#include "screen/photo_tiles.h"

#include <QFontInfo>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtTest>
#include <chrono>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "base/ini_file.h"
#include "platform/qt_gbk.h"
#include "platform/thumbnail_cache.h"
#include "screen/photo_tiles_jpeg.h"
#include "screen/picture_scaling.h"
#include "screen/rolling_frame.h"
#include "test_folder.h"
#include "window_test_setup.h"

using screen::PhotoEntry;
using screen::PhotoTiles;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

// Vertical bands of colour, left to right, each given by its right edge.
struct Band {
  int end;
  QColor colour;
};

void saveBands(const std::filesystem::path& file, QSize size, const std::vector<Band>& bands, bool vertical = true) {
  std::filesystem::create_directories(file.parent_path());
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  int start = 0;
  for (const Band& band : bands) {
    if (vertical)
      painter.fillRect(QRect(start, 0, band.end - start, size.height()), band.colour);
    else
      painter.fillRect(QRect(0, start, size.width(), band.end - start), band.colour);
    start = band.end;
  }
  painter.end();
  QVERIFY(image.save(platform::toQString(file), "JPG", 95));
}

void savePlain(const std::filesystem::path& file, QColor colour, QSize size = {64, 48}) {
  saveBands(file, size, {{size.width(), colour}});
}

bool near(QColor actual, QColor expected) {
  return std::abs(actual.red() - expected.red()) < 24 && std::abs(actual.green() - expected.green()) < 24 &&
         std::abs(actual.blue() - expected.blue()) < 24;
}

QString describe(QColor c) { return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue()); }

void writeTileSettings(const TestFolder& folder, int width, int height, bool showName, int colour = 0) {
  base::IniFile ini(folder / "Config.ini");
  const std::string section = gbk("图片抽奖");
  ini.writeInt(section, "Width", width);
  ini.writeInt(section, "Height", height);
  ini.writeBool(section, "ShowName", showName);
  ini.writeInt(section, "Font.Color", colour);
  ini.writeInt(section, "Font.Size", 20);
}

// The bounding box of pixels that differ clearly from white.
QRect inkBox(const QImage& tile) {
  QRect box;
  for (int y = 0; y < tile.height(); ++y)
    for (int x = 0; x < tile.width(); ++x)
      if (qGray(tile.pixel(x, y)) < 128) box = box.united(QRect(x, y, 1, 1));
  return box;
}

// What a picture frame of the given size shows of tile `index` with its caption.
QImage shownOnFrame(const PhotoTiles& tiles, int index, QSize frameSize) {
  screen::PictureFrame frame;
  frame.resize(frameSize);
  frame.setCaptionStyle(tiles.captionFont(), tiles.captionColour());
  frame.setTile(&tiles.tile(index), &tiles.caption(index));
  QImage image(frameSize, QImage::Format_RGB32);
  frame.render(&image);
  return image;
}

// Where the desktop's cache keeps the thumbnail of `photo`.
std::filesystem::path thumbnailOf(const std::filesystem::path& photo) {
  return platform::ThumbnailCache().pathFor(platform::ThumbnailCache::describe(photo)->uri);
}

// A thumbnail as another program writes it: Qt's PNG writer with the two keys.
void writeForeignThumbnail(const std::filesystem::path& file, QImage image, const std::string& uri,
                           const std::string& mtime) {
  std::filesystem::create_directories(file.parent_path());
  image.setText(QStringLiteral("Thumb::URI"), QString::fromStdString(uri));
  image.setText(QStringLiteral("Thumb::MTime"), QString::fromStdString(mtime));
  QVERIFY(QImageWriter(platform::toQString(file), "png").write(image));
}

const QColor kSample(250, 160, 0);
const QColor kIntruder(255, 0, 255);

}  // namespace

class PhotoTilesTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  // Every test has an empty thumbnail cache of its own.
  void init() {
    cacheHome_ = std::make_unique<TestFolder>();
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(cacheHome_->path().string()));
  }
  void cleanup() { cacheHome_.reset(); }
  // Every person gets the tile of their own photo in roster order, whatever order
  // the workers finish in; missing photos and names that would leave the photo
  // folder get the sample; progress counts up one by one to the total.
  void tilesFollowTheRoster() {
    TestFolder folder;
    writeTileSettings(folder, 40, 50, false);
    savePlain(folder / "image" / "sample.jpg", kSample);
    // Files that unsafe names would reach if they were joined to the folder.
    savePlain(folder / "evil.jpg", kIntruder);
    savePlain(folder / "photo" / "a" / "b.jpg", kIntruder);

    std::vector<PhotoEntry> roster;
    std::vector<QColor> expected;
    for (int k = 0; k < 40; ++k) {
      const std::string name = gbk("员工") + std::to_string(k);
      roster.push_back({name, name});
      if (k % 7 == 3) {
        expected.push_back(kSample);
        continue;
      }
      const QColor colour = QColor::fromHsv((k * 37) % 360, 255, 230);
      savePlain(folder / "photo" / ("员工" + std::to_string(k) + ".jpg"), colour);
      expected.push_back(colour);
    }
    savePlain(folder / "photo" / "Ann.JPG", Qt::darkGreen);
    roster.push_back({"ann", "ann"});
    expected.push_back(Qt::darkGreen);
    for (const char* unsafe : {"..\\evil", "../evil", "a/b", "a\\b", ".", ""}) {
      roster.push_back({unsafe, unsafe});
      expected.push_back(kSample);
    }

    std::vector<std::pair<int, int>> progress;
    PhotoTiles tiles;
    tiles.load(folder.path(), roster, [&](int done, int total) { progress.emplace_back(done, total); });

    QCOMPARE(tiles.count(), int(roster.size()));
    QCOMPARE(tiles.tileSize(), QSize(40, 50));
    for (int k = 0; k < tiles.count(); ++k) {
      QCOMPARE(tiles.tile(k).size(), QSize(40, 50));
      const QColor centre = tiles.tile(k).pixelColor(20, 25);
      QVERIFY2(
          near(centre, expected[k]),
          qPrintable(QStringLiteral("tile %1: %2 instead of %3").arg(k).arg(describe(centre), describe(expected[k]))));
    }
    QCOMPARE(progress.size(), roster.size() + 1);
    for (std::size_t i = 0; i < progress.size(); ++i) QCOMPARE(progress[i], std::make_pair(int(i), int(roster.size())));
    QVERIFY(tiles.unreadableFiles().empty());
  }

  void coverScalingCutsTheOverflowEqually_data() {
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<bool>("vertical");
    // Bands at 30 % and 70 %: scaled to cover 100 × 100 and centred, the outer
    // bands keep 10 pixels at each edge of the tile.
    QTest::newRow("landscape") << QSize(400, 200) << true;
    QTest::newRow("landscape, decoded at 1/8") << QSize(2000, 1000) << true;
    QTest::newRow("portrait") << QSize(200, 400) << false;
    QTest::newRow("portrait, decoded at 1/8") << QSize(900, 1800) << false;
  }
  void coverScalingCutsTheOverflowEqually() {
    QFETCH(QSize, photo);
    QFETCH(bool, vertical);
    TestFolder folder;
    writeTileSettings(folder, 100, 100, false);
    const int length = vertical ? photo.width() : photo.height();
    saveBands(folder / "photo" / "p.jpg", photo,
              {{length * 3 / 10, Qt::red}, {length * 7 / 10, Qt::green}, {length, Qt::blue}}, vertical);
    PhotoTiles tiles;
    tiles.load(folder.path(), {{"p", "p"}});
    const QImage& tile = tiles.tile(0);
    auto at = [&](int along) { return vertical ? tile.pixelColor(along, 50) : tile.pixelColor(50, along); };
    QVERIFY2(near(at(3), Qt::red), qPrintable(describe(at(3))));
    QVERIFY2(near(at(16), Qt::green), qPrintable(describe(at(16))));
    QVERIFY2(near(at(83), Qt::green), qPrintable(describe(at(83))));
    QVERIFY2(near(at(96), Qt::blue), qPrintable(describe(at(96))));
  }

  // A camera-sized photo, grey or colourful, gives the tile readCovering (Qt's
  // reader) gives but for the scaling's rounding, through the thumbnail the
  // first run writes to the desktop's cache (its longest side 512, the user's
  // alone); a later run makes the same tile from that thumbnail, pixel for pixel.
  void cameraPhotoTileComesThroughItsThumbnail() {
    for (const bool colourful : {false, true}) {
      TestFolder folder;
      writeTileSettings(folder, 200, 250, false);
      QImage photo(1800, 2400, QImage::Format_RGB32);
      quint32 seed = 5;
      for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) {
          seed = seed * 1103515245u + 12345u;
          const int grey = (x * 200 / photo.width() + y * 40 / photo.height() + int(seed >> 16) % 32) & 0xFF;
          photo.setPixel(x, y, colourful ? qRgb(grey, (grey + x / 9) & 0xFF, (y / 7) & 0xFF) : qRgb(grey, grey, grey));
        }
      const std::filesystem::path file = folder / "photo" / "p.jpg";
      std::filesystem::create_directories(file.parent_path());
      QVERIFY(photo.save(platform::toQString(file), "JPG", 85));
      PhotoTiles tiles;
      tiles.load(folder.path(), {{"p", "p"}});
      const QImage expected = screen::readCovering(file, QSize(200, 250));
      const QImage& tile = tiles.tile(0);
      QCOMPARE(tile.size(), expected.size());
      long long total = 0;
      for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x) {
          const QRgb a = tile.pixel(x, y), b = expected.pixel(x, y);
          total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
      const double mean = double(total) / (3.0 * tile.width() * tile.height());
      QVERIFY2(mean < 2.0, qPrintable(QStringLiteral("mean difference %1").arg(mean)));

      const std::filesystem::path thumbnail = thumbnailOf(file);
      QCOMPARE(QImageReader(platform::toQString(thumbnail)).size(), QSize(384, 512));
      QCOMPARE(std::filesystem::status(thumbnail).permissions() & std::filesystem::perms::all,
               std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
      PhotoTiles later;
      later.load(folder.path(), {{"p", "p"}});
      QVERIFY(later.tile(0) == tile);
    }
  }

  // A later run takes a valid thumbnail (its own or another program's) instead
  // of the photo, and decodes the photo again, writing a new thumbnail, when the
  // one found is older than the photo, damaged or made for another file.
  void laterRunsTrustOnlyValidThumbnails_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("used");
    QTest::newRow("written by another program") << QStringLiteral("foreign writer") << true;
    QTest::newRow("older than the photo") << QStringLiteral("stale") << false;
    QTest::newRow("damaged") << QStringLiteral("damaged") << false;
    QTest::newRow("of another file") << QStringLiteral("other uri") << false;
    QTest::newRow("turned upright by a file manager") << QStringLiteral("turned") << false;
  }
  void laterRunsTrustOnlyValidThumbnails() {
    QFETCH(QString, kind);
    QFETCH(bool, used);
    TestFolder folder;
    writeTileSettings(folder, 40, 50, false);
    const std::filesystem::path file = folder / "photo" / "p.jpg";
    savePlain(file, Qt::red, QSize(640, 480));
    PhotoTiles first;
    first.load(folder.path(), {{"p", "p"}});
    QVERIFY(near(first.tile(0).pixelColor(20, 25), Qt::red));

    const std::filesystem::path thumbnail = thumbnailOf(file);
    const std::optional<platform::ThumbnailSource> source = platform::ThumbnailCache::describe(file);
    QVERIFY(source.has_value());
    const std::string mtime = std::to_string(source->mtime);
    QImage blue(512, 384, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    if (kind == "foreign writer" || kind == "stale") writeForeignThumbnail(thumbnail, blue, source->uri, mtime);
    if (kind == "turned") writeForeignThumbnail(thumbnail, blue.copy(0, 0, 384, 512), source->uri, mtime);
    if (kind == "other uri") writeForeignThumbnail(thumbnail, blue, "file:///elsewhere/p.jpg", mtime);
    if (kind == "damaged") std::ofstream(thumbnail, std::ios::binary | std::ios::trunc) << "\x89PNG broken";
    if (kind == "stale") {
      const auto time = std::filesystem::last_write_time(file);
      std::filesystem::last_write_time(file, time + std::chrono::seconds(5));
    }

    PhotoTiles later;
    later.load(folder.path(), {{"p", "p"}});
    const QColor shown = later.tile(0).pixelColor(20, 25);
    QVERIFY2(near(shown, used ? QColor(Qt::blue) : QColor(Qt::red)), qPrintable(describe(shown)));
    // What is in the cache afterwards is valid for the photo as it is now.
    const QImage kept = platform::ThumbnailCache().find(*platform::ThumbnailCache::describe(file));
    QVERIFY(!kept.isNull());
    QVERIFY(near(kept.pixelColor(10, 10), used ? QColor(Qt::blue) : QColor(Qt::red)));
  }

  // A camera photo stored turned (an EXIF orientation) shows its stored pixels,
  // as readCovering (Qt's reader) does, pixel for pixel, and gets no thumbnail:
  // the desktop shows thumbnails upright.
  void aPhotoStoredTurnedStaysOutOfTheCache() {
    TestFolder folder;
    writeTileSettings(folder, 200, 250, false);
    QImage photo(1800, 2400, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
      for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(x * 255 / 1800, y * 255 / 2400, (x ^ y) & 0xFF));
    QByteArray jpeg;
    {
      QBuffer buffer(&jpeg);
      buffer.open(QIODevice::WriteOnly);
      QVERIFY(photo.save(&buffer, "JPG", 85));
    }
    // An APP1 marker with the orientation "turned right" (6), just after SOI.
    const unsigned char app1[] = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8,
                                  0,    1,    0x01, 0x12, 0,   3,   0,   0,   0, 1, 0,   6,   0, 0,  0, 0, 0, 0};
    jpeg.insert(2, reinterpret_cast<const char*>(app1), sizeof app1);
    const std::filesystem::path file = folder / "photo" / "p.jpg";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(jpeg.constData(), jpeg.size());
    QCOMPARE(screen::JpegFile(file).orientation(), 6);

    PhotoTiles tiles;
    tiles.load(folder.path(), {{"p", "p"}});
    QVERIFY(tiles.tile(0) == screen::readCovering(file, QSize(200, 250)));
    QVERIFY(!std::filesystem::exists(thumbnailOf(file)));
  }

  // The display name sits on the bottom edge, centred by the width of the roster
  // name (so a masked name stays where the full one would stand).
  void captionAtTheBottomCentredOnTheName() {
    struct Case {
      const char* label;
      bool showName;
      std::string name;
      std::string displayName;
      int colour;
    };
    const std::vector<Case> cases = {
        {"centred", true, "WWWWWWWW", "WWWWWWWW", 0},
        {"measured on the name", true, "WWWWWWWW", "W", 0},
        {"coloured", true, gbk("张三丰"), gbk("张*丰"), 255},
        {"hidden", false, "WWWWWWWW", "WWWWWWWW", 0},
    };
    for (const Case& c : cases) {
      TestFolder folder;
      writeTileSettings(folder, 240, 120, c.showName, c.colour);
      savePlain(folder / "image" / "sample.jpg", Qt::white);
      PhotoTiles tiles;
      tiles.load(folder.path(), {{c.name, c.displayName}});
      QVERIFY2(inkBox(tiles.tile(0)).isNull(), c.label);  // the frame writes it
      const QImage tile = shownOnFrame(tiles, 0, tiles.tileSize());
      const QRect ink = inkBox(tile);
      if (!c.showName) {
        QVERIFY2(ink.isNull(), c.label);
        continue;
      }
      QVERIFY2(!ink.isNull(), c.label);
      QVERIFY2(ink.top() > 120 / 2 && ink.bottom() >= 120 - 12, c.label);
      if (c.displayName == c.name)
        QVERIFY2(std::abs(ink.center().x() - 120) <= 3, c.label);
      else if (c.name == "WWWWWWWW")
        QVERIFY2(ink.right() < 120 - 40, c.label);
      // Red ink keeps its red at every pixel, black ink at none.
      for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x)
          if (qGray(tile.pixel(x, y)) < 128)
            QVERIFY2((tile.pixelColor(x, y).red() > 200) == (c.colour == 255), c.label);
    }
  }

  // On a frame made smaller than the tile (30 pictures on a small screen) the
  // caption shrinks with the picture but stays readable: never below 12 pixels,
  // centred, on the bottom edge, inside the frame; a name too wide for the frame
  // at that size is cut short, never written past its edges.
  void captionStaysReadableOnASmallerFrame() {
    struct Case {
      const char* label;
      QSize frame;
      std::string name;
      int smallestInk;  // height of the caption's ink, at least
    };
    const std::vector<Case> cases = {
        {"30 %", {60, 75}, gbk("张三丰"), 10},
        {"half", {100, 125}, gbk("张三丰"), 13},
        {"too wide", {60, 75}, "WWWWWWWWWWWW", 8},
    };
    for (const Case& c : cases) {
      TestFolder folder;
      writeTileSettings(folder, 200, 250, true);  // 20 points: 27 pixels at the tile's size
      savePlain(folder / "image" / "sample.jpg", Qt::white);
      PhotoTiles tiles;
      tiles.load(folder.path(), {{c.name, c.name}});
      const QImage shown = shownOnFrame(tiles, 0, c.frame);
      const QRect ink = inkBox(shown);
      QVERIFY2(!ink.isNull(), c.label);
      QVERIFY2(ink.height() >= c.smallestInk, qPrintable(QStringLiteral("%1: %2").arg(c.label).arg(ink.height())));
      QVERIFY2(ink.bottom() >= c.frame.height() - 6 && ink.top() > c.frame.height() / 2, c.label);
      QVERIFY2(ink.left() > 0 && ink.right() < c.frame.width() - 1, c.label);  // not cut by its edges
      QVERIFY2(std::abs(ink.center().x() - c.frame.width() / 2) <= 4, c.label);
      // Scaled with the picture (27 × 0.3 = 8 pixels would be unreadable).
      screen::PictureFrame frame;
      frame.resize(c.frame);
      frame.setCaptionStyle(tiles.captionFont(), tiles.captionColour());
      frame.setTile(&tiles.tile(0), &tiles.caption(0));
      const int pixels = QFontInfo(frame.captionFontShown()).pixelSize();
      QVERIFY2(pixels >= screen::kReadableCaptionPixels && pixels <= 27, c.label);
    }
  }

  // A photo that is no picture must not stop the load: the person gets the
  // sample and the file is named, as is a sample that cannot be read either.
  void unreadablePicturesFallBackAndAreReported() {
    TestFolder folder;
    writeTileSettings(folder, 40, 50, false);
    std::filesystem::create_directories(folder / "photo");
    folder.write("photo/bad.jpg", "not a picture");
    savePlain(folder / "image" / "sample.jpg", kSample);
    {
      PhotoTiles tiles;
      tiles.load(folder.path(), {{"bad", "bad"}, {"none", "none"}});
      QCOMPARE(tiles.count(), 2);
      QVERIFY(near(tiles.tile(0).pixelColor(20, 25), kSample));
      QCOMPARE(tiles.unreadableFiles(), std::vector<std::filesystem::path>{folder / "photo" / "bad.jpg"});
    }
    folder.write("image/sample.jpg", "not a picture either");
    PhotoTiles tiles;
    tiles.load(folder.path(), {{"bad", "bad"}, {"none", "none"}});
    QCOMPARE(tiles.count(), 2);
    QCOMPARE(tiles.tile(1).pixelColor(20, 25), QColor(Qt::white));
    QCOMPARE(tiles.unreadableFiles().size(), std::size_t(2));
  }

  // Tiles are made once; only clear() lets new settings take effect. A failing
  // progress display leaves no half list behind.
  void loadsOnceUntilCleared() {
    TestFolder folder;
    savePlain(folder / "image" / "sample.jpg", kSample);
    PhotoTiles tiles;
    tiles.load(folder.path(), {{"x", "x"}});
    QCOMPARE(tiles.tile(0).size(), QSize(200, 250));
    writeTileSettings(folder, 30, 30, false);
    tiles.load(folder.path(), {{"x", "x"}, {"y", "y"}});
    QCOMPARE(tiles.count(), 1);
    tiles.clear();
    QVERIFY(!tiles.loaded());
    std::vector<PhotoEntry> roster(50, PhotoEntry{"x", "x"});
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, tiles.load(folder.path(), roster, [](int done, int) {
      if (done == 3) throw std::runtime_error("display gone");
    }));
    QVERIFY(!tiles.loaded());
    tiles.load(folder.path(), roster);
    QCOMPARE(tiles.count(), 50);
    QCOMPARE(tiles.tile(49).size(), QSize(30, 30));
  }

 private:
  std::unique_ptr<TestFolder> cacheHome_;
};

QTEST_MAIN(PhotoTilesTest)
#include "photo_tiles_test.moc"
