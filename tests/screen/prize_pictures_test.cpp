// Prize pictures: which file an award's cell leads to in each rolling mode, and
// how the picture is fitted or stretched into the PrizePic box.
#include "screen/prize_pictures.h"

#include <QImage>
#include <QtTest>

#include "platform/qt_gbk.h"
#include "test_folder.h"

using screen::PrizePictures;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

void savePicture(const std::filesystem::path& file, QColor colour, QSize size = {40, 20}, const char* format = "JPG") {
  std::filesystem::create_directories(file.parent_path());
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  QVERIFY(image.save(platform::toQString(file), format));
}

bool near(QColor actual, QColor expected) {
  return std::abs(actual.red() - expected.red()) < 24 && std::abs(actual.green() - expected.green()) < 24 &&
         std::abs(actual.blue() - expected.blue()) < 24;
}

}  // namespace

class PrizePicturesTest : public QObject {
  Q_OBJECT

 private slots:
  // The exp.jpg fallbacks of the award rolling list, exactly as the rule runs:
  // a name not ending in ".jpg" goes to exp.jpg first, and only when that is
  // missing to the prize folder.
  void rollingPictureFile_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("withExp");
    QTest::addColumn<QString>("expected");  // relative to the program folder
    QTest::newRow("name in prize") << "car.jpg" << true << "prize/car.jpg";
    QTest::newRow("upper-case extension") << "Boat.JPG" << true << "prize/boat.jpg";
    QTest::newRow("path in program folder") << "gifts\\tv.jpg" << true << "gifts/tv.jpg";
    QTest::newRow("png goes to exp") << "ring.png" << true << "prize/exp.jpg";
    QTest::newRow("png without exp") << "ring.png" << false << "prize/ring.png";
    QTest::newRow("missing jpg") << "gone.jpg" << true << "prize/exp.jpg";
    QTest::newRow("empty") << "" << true << "prize/exp.jpg";
    QTest::newRow("Chinese name") << "手机.jpg" << true << "prize/手机.jpg";
  }
  void rollingPictureFile() {
    QFETCH(QString, cell);
    QFETCH(bool, withExp);
    QFETCH(QString, expected);
    TestFolder folder;
    for (const char* name : {"prize/car.jpg", "prize/boat.jpg", "gifts/tv.jpg", "prize/ring.png", "prize/手机.jpg"})
      savePicture(folder / name, Qt::red);
    if (withExp) savePicture(folder / "prize" / "exp.jpg", Qt::gray);
    QCOMPARE(PrizePictures::rollingPictureFile(folder.path(), gbk(cell.toStdString())),
             folder.path() / expected.toStdString());
  }

  void awardPictureFile_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("expected");  // relative to the program folder; empty: none
    QTest::newRow("name in prize") << "car.jpg"
                                   << "prize/car.jpg";
    QTest::newRow("any format") << "ring.png"
                                << "prize/ring.png";
    QTest::newRow("path in program folder") << "gifts\\tv.jpg"
                                            << "gifts/tv.jpg";
    QTest::newRow("missing") << "gone.jpg"
                             << "";
    QTest::newRow("empty: folders are no pictures") << ""
                                                    << "";
    QTest::newRow("folder name") << "prize"
                                 << "";
  }
  void awardPictureFile() {
    QFETCH(QString, cell);
    QFETCH(QString, expected);
    TestFolder folder;
    for (const char* name : {"prize/car.jpg", "gifts/tv.jpg", "prize/ring.png"}) savePicture(folder / name, Qt::red);
    const auto found = PrizePictures::awardPictureFile(folder.path(), gbk(cell.toStdString()));
    if (expected.isEmpty())
      QVERIFY(!found);
    else
      QCOMPARE(found.value_or(""), folder.path() / expected.toStdString());
  }

  void absolutePathsAreTakenAsTheyStand() {
    TestFolder program;
    TestFolder elsewhere;
    savePicture(elsewhere / "far.jpg", Qt::blue);
    const std::string cell = gbk((elsewhere / "far.jpg").string());
    QCOMPARE(PrizePictures::rollingPictureFile(program.path(), cell), elsewhere / "far.jpg");
    QCOMPARE(PrizePictures::awardPictureFile(program.path(), cell).value_or(""), elsewhere / "far.jpg");
  }

  // The list keeps one picture per row in row order, each fitted and centred
  // with transparent borders; a row with nothing readable stays transparent.
  void rollingListFitsEachRow() {
    TestFolder folder;
    savePicture(folder / "prize" / "wide.jpg", Qt::red, {200, 100});
    savePicture(folder / "prize" / "tall.jpg", Qt::blue, {50, 100});
    PrizePictures pictures;
    pictures.load(folder.path(), {"wide.jpg", "tall.jpg", "gone.jpg"}, QSize(80, 80));
    QCOMPARE(pictures.count(), 3);
    // 200 × 100 fits as 80 × 40 at y 20; 50 × 100 as 40 × 80 at x 20.
    const QImage& wide = pictures.picture(0);
    QCOMPARE(wide.size(), QSize(80, 80));
    QCOMPARE(qAlpha(wide.pixel(40, 10)), 0);
    QVERIFY(near(wide.pixelColor(40, 22), Qt::red));
    QVERIFY(near(wide.pixelColor(40, 57), Qt::red));
    QCOMPARE(qAlpha(wide.pixel(40, 70)), 0);
    const QImage& tall = pictures.picture(1);
    QCOMPARE(qAlpha(tall.pixel(10, 40)), 0);
    QVERIFY(near(tall.pixelColor(22, 40), Qt::blue));
    QVERIFY(near(tall.pixelColor(57, 40), Qt::blue));
    QCOMPARE(qAlpha(tall.pixel(70, 40)), 0);
    QCOMPARE(pictures.picture(2).size(), QSize(80, 80));
    QCOMPARE(qAlpha(pictures.picture(2).pixel(40, 40)), 0);
    pictures.clear();
    QVERIFY(!pictures.loaded());
  }

  void awardPictureIsStretchedToTheBox() {
    TestFolder folder;
    savePicture(folder / "prize" / "car.png", Qt::green, {300, 50}, "PNG");
    const QImage picture = PrizePictures::awardPicture(folder.path(), "car.png", QSize(120, 90));
    QCOMPARE(picture.size(), QSize(120, 90));
    QVERIFY(near(picture.pixelColor(1, 1), Qt::green));
    QVERIFY(near(picture.pixelColor(118, 88), Qt::green));
    folder.write("prize/broken.jpg", "no picture");
    QVERIFY(PrizePictures::awardPicture(folder.path(), "broken.jpg", QSize(120, 90)).isNull());
    QVERIFY(PrizePictures::awardPicture(folder.path(), "gone.jpg", QSize(120, 90)).isNull());
  }
};

QTEST_MAIN(PrizePicturesTest)
#include "prize_pictures_test.moc"
