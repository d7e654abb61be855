// The desktop's thumbnail cache: where a thumbnail lives, which ones are
// trusted, and how one is written.
#include "platform/thumbnail_cache.h"

#include <sys/stat.h>

#include <QImageReader>
#include <QImageWriter>
#include <QtTest>
#include <fstream>

#include "platform/qt_gbk.h"
#include "test_folder.h"

using platform::ThumbnailCache;
using platform::ThumbnailSource;
using testing_support::TestFolder;

namespace {

QImage gradient(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) image.setPixel(x, y, qRgb(x * 255 / size.width(), y % 256, (x + y) % 200));
  return image;
}

// A thumbnail as another program writes it: Qt's PNG writer, the text chunks
// given (a null value leaves the key out).
void writeForeign(const std::filesystem::path& file, const QImage& image, const char* uri, const char* mtime,
                  const char* size = nullptr) {
  std::filesystem::create_directories(file.parent_path());
  QImage tagged = image;
  if (uri) tagged.setText(QStringLiteral("Thumb::URI"), QString::fromUtf8(uri));
  if (mtime) tagged.setText(QStringLiteral("Thumb::MTime"), QString::fromUtf8(mtime));
  if (size) tagged.setText(QStringLiteral("Thumb::Size"), QString::fromUtf8(size));
  QImageWriter writer(platform::toQString(file), "png");
  QVERIFY(writer.write(tagged));
}

std::string bytesOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

unsigned modeOf(const std::filesystem::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 0777 : 0;
}

bool sameImage(const QImage& a, const QImage& b) {
  return a.size() == b.size() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class ThumbnailCacheTest : public QObject {
  Q_OBJECT

 private slots:
  // The URI escapes what a URI path may not hold; the file is named by its MD5
  // (the example of the standard: file:///home/jens/photos/me.png).
  void namesFollowTheUri() {
    const ThumbnailCache cache("/cache/x-large");
    QCOMPARE(cache.pathFor("file:///home/jens/photos/me.png"),
             std::filesystem::path("/cache/x-large/c6ee772d9e49320e97ec29a7eb5b1697.png"));
    struct Case {
      const char* path;
      const char* uri;
    } cases[] = {
        {"/home/jens/photos/me.png", "file:///home/jens/photos/me.png"},
        {"/tmp/员工 1.jpg", "file:///tmp/%E5%91%98%E5%B7%A5%201.jpg"},
        {"/a/#%?;[]\"<>{}|\\^`.jpg", "file:///a/%23%25%3F%3B%5B%5D%22%3C%3E%7B%7D%7C%5C%5E%60.jpg"},
        {"/a/-_.!~*'()@&=+$,:.jpg", "file:///a/-_.!~*'()@&=+$,:.jpg"},
    };
    for (const Case& c : cases) QCOMPARE(platform::fileUri(c.path), std::string(c.uri));
  }

  void folderFollowsXdgCacheHome_data() {
    QTest::addColumn<QByteArray>("xdg");
    QTest::addColumn<QString>("expected");
    const QString home = QString::fromLocal8Bit(qgetenv("HOME"));
    QTest::newRow("set") << QByteArray("/somewhere/cache") << QStringLiteral("/somewhere/cache/thumbnails/x-large");
    QTest::newRow("empty") << QByteArray("") << home + QStringLiteral("/.cache/thumbnails/x-large");
    QTest::newRow("relative") << QByteArray("cache") << home + QStringLiteral("/.cache/thumbnails/x-large");
  }
  void folderFollowsXdgCacheHome() {
    QFETCH(QByteArray, xdg);
    QFETCH(QString, expected);
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", xdg);
    const std::filesystem::path folder = ThumbnailCache::defaultFolder();
    qputenv("XDG_CACHE_HOME", saved);
    QCOMPARE(QString::fromStdString(folder.string()), expected);
  }

  void sizeKeepsTheProportionsAndNeverEnlarges() {
    QCOMPARE(ThumbnailCache::sizeFor(QSize(4000, 3000)), QSize(512, 384));
    QCOMPARE(ThumbnailCache::sizeFor(QSize(1800, 2400)), QSize(384, 512));
    QCOMPARE(ThumbnailCache::sizeFor(QSize(300, 200)), QSize(300, 200));
  }

  // A stored thumbnail is found again pixel for pixel, any PNG reader sees its
  // keys, the file is the user's alone (its new folders too), and it is written
  // to a temporary file renamed over the old one: a reader holding the old file
  // keeps it whole, and nothing is left beside it.
  void storesPrivatelyAndAtomically() {
    TestFolder folder;
    const ThumbnailCache cache(folder / "cache" / "thumbnails" / "x-large");
    const ThumbnailSource source{"file:///event/photo/a.jpg", 1765000000, 123456};
    const QImage first = gradient(QSize(500, 375));
    QVERIFY(cache.store(source, first, QSize(4000, 3000)));
    const std::filesystem::path file = cache.pathFor(source.uri);
    QCOMPARE(modeOf(file), 0600u);
    QCOMPARE(modeOf(folder / "cache"), 0700u);
    QCOMPARE(modeOf(cache.folder()), 0700u);
    QVERIFY(sameImage(cache.find(source), first));
    const QImage read = QImageReader(platform::toQString(file)).read();
    QVERIFY(sameImage(read, first));
    QCOMPARE(read.text(QStringLiteral("Thumb::URI")), QStringLiteral("file:///event/photo/a.jpg"));
    QCOMPARE(read.text(QStringLiteral("Thumb::MTime")), QStringLiteral("1765000000"));
    QCOMPARE(read.text(QStringLiteral("Thumb::Size")), QStringLiteral("123456"));
    QCOMPARE(read.text(QStringLiteral("Thumb::Image::Width")), QStringLiteral("4000"));

    const std::string before = bytesOf(file);
    std::ifstream held(file, std::ios::binary);
    QVERIFY(cache.store(source, gradient(QSize(384, 512)), QSize(1800, 2400)));
    const std::string stillHeld{std::istreambuf_iterator<char>(held), {}};
    QCOMPARE(stillHeld.size(), before.size());
    QVERIFY(stillHeld == before);
    QCOMPARE(cache.find(source).size(), QSize(384, 512));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(cache.folder()), {}), 1);

    // A write that cannot end in its place (a folder stands there) leaves nothing.
    const ThumbnailSource other{"file:///event/photo/b.jpg", 1, 1};
    std::filesystem::create_directories(cache.pathFor(other.uri));
    QVERIFY(!cache.store(other, first, QSize(4000, 3000)));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(cache.folder()), {}), 2);
  }

  // A thumbnail another program wrote is used when its keys match the file;
  // one made for another file, an older one, a damaged one or one larger than
  // the size allows is never trusted.
  void trustsOnlyValidThumbnails_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("trusted");
    QTest::newRow("written by another program") << QStringLiteral("foreign writer") << true;
    QTest::newRow("with its size recorded") << QStringLiteral("size") << true;
    QTest::newRow("of another file") << QStringLiteral("other uri") << false;
    QTest::newRow("older than the file") << QStringLiteral("stale") << false;
    QTest::newRow("of a file of another size") << QStringLiteral("other size") << false;
    QTest::newRow("without its time") << QStringLiteral("no mtime") << false;
    QTest::newRow("cut short") << QStringLiteral("truncated") << false;
    QTest::newRow("a damaged pixel block") << QStringLiteral("crc") << false;
    QTest::newRow("not a picture") << QStringLiteral("garbage") << false;
    QTest::newRow("larger than x-large") << QStringLiteral("too large") << false;
  }
  void trustsOnlyValidThumbnails() {
    QFETCH(QString, kind);
    QFETCH(bool, trusted);
    TestFolder folder;
    const ThumbnailCache cache(folder / "x-large");
    const ThumbnailSource source{"file:///event/photo/%E5%91%98%E5%B7%A5.jpg", 1765000000, 4321};
    const std::filesystem::path file = cache.pathFor(source.uri);
    const QImage picture = gradient(QSize(512, 384));
    const char* uri = source.uri.c_str();
    if (kind == "foreign writer") writeForeign(file, picture, uri, "1765000000");
    if (kind == "size") writeForeign(file, picture, uri, "1765000000", "4321");
    if (kind == "other uri") writeForeign(file, picture, "file:///event/photo/other.jpg", "1765000000");
    if (kind == "stale") writeForeign(file, picture, uri, "1764999999");
    if (kind == "other size") writeForeign(file, picture, uri, "1765000000", "4322");
    if (kind == "no mtime") writeForeign(file, picture, uri, nullptr);
    if (kind == "too large") writeForeign(file, gradient(QSize(600, 400)), uri, "1765000000");
    if (kind == "truncated" || kind == "crc" || kind == "garbage") {
      QVERIFY(cache.store(source, picture, QSize(4000, 3000)));
      std::string bytes = bytesOf(file);
      if (kind == "truncated") bytes.resize(bytes.size() / 2);
      if (kind == "crc") bytes[bytes.find("IDAT") + 200] ^= 0x55;
      if (kind == "garbage") bytes = "not a picture at all";
      writeBytes(file, bytes);
    }
    const QImage found = cache.find(source);
    QCOMPARE(!found.isNull(), trusted);
    if (trusted) QVERIFY(sameImage(found, picture));
  }
};

QTEST_MAIN(ThumbnailCacheTest)
#include "thumbnail_cache_test.moc"
