// The picture roster in the real window: importing and scaling photos, the
// overwrite question, names that cannot be file names, the preview as a rolling
// frame shows it, the list commands and what sets the changed mark.
#include "dialogs/TPicL.h"

#include <QCheckBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include "base/config_files.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_service.h"
#include "test_folder.h"
#include "ui_TPicL.h"
#include "window_event.h"
#include "window_test_setup.h"

using dialogs::TPicL;
using testing_support::gbk;
namespace fs = std::filesystem;

namespace {

void writeJpeg(const fs::path& file, const QImage& image) {
  fs::create_directories(file.parent_path());
  QVERIFY(image.save(platform::toQString(file), "JPG", 100));
}

QImage plain(int w, int h, QColor colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// An event folder with the system photo and the frame settings ("key=value").
void writeEvent(const testing_support::TestFolder& folder, const std::vector<std::string>& pictureSection) {
  fs::create_directories(folder / "image");
  fs::copy_file(fs::path(KV_DIST_DIR) / "image" / "sample.jpg", folder / "image" / "sample.jpg");
  window_testing::WindowEvent().set("图片抽奖", pictureSection).write(folder);
}

QString fileName(const testing_support::TestFolder& folder, const std::string& utf8) {
  return platform::toQString(folder.path() / fs::path(utf8));
}

bool near(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 && std::abs(a.blue() - b.blue()) < 40;
}

}  // namespace

class TPicLTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void importScalesToTheCompressionHeightAndAsksBeforeOverwriting() {
    testing_support::TestFolder folder;
    writeEvent(folder, {"Width=250", "Height=300", "ShowName=1"});
    folder.write("PicList.txt", "");
    writeJpeg(folder / "in" / "张三.jpg", plain(1200, 1600, Qt::red));
    writeJpeg(folder / "in" / "李四.JPG", plain(400, 300, Qt::blue));
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    TPicL roster(folder.path(), dialogs);
    QVERIFY(!roster.changedMark());

    dialogs.setNextFileNames({fileName(folder, "in/张三.jpg"), fileName(folder, "in/李四.JPG")});
    roster.Button1Click();
    QCOMPARE(roster.names(), (draw::Lines{gbk("张三"), gbk("李四")}));
    QVERIFY(roster.changedMark());
    QCOMPARE(QImageReader(fileName(folder, "photo/张三.jpg")).size(), QSize(225, 300));
    QCOMPARE(QImageReader(fileName(folder, "photo/李四.jpg")).size(), QSize(400, 300));  // always ".jpg"
    QCOMPARE(folder.read("PicList.txt"), gbk("张三\r\n李四\r\n"));
    QCOMPARE(roster.form().Label_Count->text(), QStringLiteral("2"));
    QCOMPARE(roster.form().ListBox1->currentRow(), 1);  // the last imported is shown

    // Again: No keeps the old photo, Yes replaces it; the name is listed once.
    writeJpeg(folder / "in2" / "张三.jpg", plain(600, 600, Qt::green));
    dialogs.setNextFileNames({fileName(folder, "in2/张三.jpg")});
    dialogs.setNextAnswer(false);
    roster.Button1Click();
    QCOMPARE(dialogs.log().last(), QStringLiteral("question: 张三已存在,是否覆盖原有图片?"));
    QCOMPARE(QImageReader(fileName(folder, "photo/张三.jpg")).size(), QSize(225, 300));
    dialogs.setNextFileNames({fileName(folder, "in2/张三.jpg")});
    dialogs.setNextAnswer(true);
    roster.Button1Click();
    QCOMPARE(QImageReader(fileName(folder, "photo/张三.jpg")).size(), QSize(300, 300));
    QCOMPARE(roster.names().size(), std::size_t{2});
  }

  void namesThatCannotBeFileNamesAreRefusedAndNothingIsWritten() {
    testing_support::TestFolder folder;
    writeEvent(folder, {});
    folder.write("PicList.txt", "");
    writeJpeg(folder / "in" / "a..b.jpg", plain(100, 100, Qt::red));
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    TPicL roster(folder.path(), dialogs);

    dialogs.setNextFileNames({fileName(folder, "in/a..b.jpg")});
    roster.Button1Click();
    QVERIFY(roster.names().empty());
    QVERIFY(!fs::exists(folder / "photo" / "a..b.jpg"));
    QVERIFY(dialogs.log().last().contains(QStringLiteral("..")));

    for (const QString& typed : {QStringLiteral("x/y"), QStringLiteral("a\tb"), QStringLiteral("王") + QChar(0xD800)}) {
      dialogs.setNextText(typed);
      roster.Button5Click();
      QVERIFY(roster.names().empty());
    }
    QVERIFY(!roster.changedMark());
    QCOMPARE(folder.read("PicList.txt"), std::string());

    // A bad compression height stops the import with the conversion message.
    roster.form().Edit2->setText(QString());
    dialogs.setNextFileNames({fileName(folder, "in/a..b.jpg")});
    roster.Button1Click();
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: '' is not a valid integer value"));
  }

  void previewCoversTheFrameAsTheRollingFrameDoes() {
    testing_support::TestFolder folder;
    writeEvent(folder, {"Width=250", "Height=300", "ShowName=0"});
    folder.write("PicList.txt", gbk("王五\r\n"));
    // Red and blue stripes at the sides (on JPEG block edges, so they do not
    // bleed): a 250 × 300 frame cuts 25 columns on each side and shows neither.
    QImage photo = plain(300, 300, Qt::green);
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 16; ++x) photo.setPixelColor(x, y, Qt::red);
      for (int x = 288; x < 300; ++x) photo.setPixelColor(x, y, Qt::blue);
    }
    writeJpeg(folder / "photo" / "王五.jpg", photo);
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    TPicL roster(folder.path(), dialogs);
    QCOMPARE(roster.previewImage().size(), QSize(250, 300));
    for (int x : {0, 2, 125, 247, 249})
      QVERIFY2(near(roster.previewImage().pixelColor(x, 150), Qt::green), qPrintable(QString::number(x)));

    struct Case {
      QString width, height;
      QSize expected;
    } sides[] = {{"20", "300", {30, 300}}, {"250", "", {250, 50}}, {"31", "51", {31, 51}}};
    for (const auto& c : sides) {
      roster.form().Edit1->setText(c.width);
      roster.form().Edit3->setText(c.height);
      QCOMPARE(roster.previewImage().size(), c.expected);
    }

    // The caption changes the bottom of the picture only.
    roster.form().Edit1->setText(QStringLiteral("250"));
    roster.form().Edit3->setText(QStringLiteral("300"));
    const QImage bare = roster.previewImage();
    roster.form().CheckBox1->setChecked(true);
    QVERIFY(roster.previewImage() != bare);
    QCOMPARE(roster.previewImage().copy(0, 0, 250, 200), bare.copy(0, 0, 250, 200));

    // The compression-height preview: the photo in proportion at the typed height.
    roster.form().Edit2->setText(QStringLiteral("150"));
    roster.Edit2Change();
    QCOMPARE(roster.previewImage().size(), QSize(150, 150));
  }

  void listCommandsAndTheChangedMark() {
    testing_support::TestFolder folder;
    writeEvent(folder, {"Width=250", "Height=300", "ShowName=1"});
    folder.write("PicList.txt", gbk("甲\r\n乙\r\n丙\r\n"));
    for (const char* name : {"甲", "乙", "丙"})
      writeJpeg(folder / "photo" / (std::string(name) + ".jpg"), plain(60, 80, Qt::gray));
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    {
      TPicL roster(folder.path(), dialogs);
      QCOMPARE(roster.form().Label_Count->text(), QStringLiteral("3"));
      // Only the frame width changed: the mark comes on close, with the six keys.
      roster.form().Edit1->setText(QStringLiteral("260"));
      QVERIFY(!roster.changedMark());
      roster.close();
      QVERIFY(roster.changedMark());
      const base::IniFile ini = base::ConfigFiles(folder.path()).openConfig();
      QCOMPARE(ini.readString(gbk("图片抽奖"), "Width", ""), std::string("260"));
      QCOMPARE(ini.readInt(gbk("图片抽奖"), "Font.Color", 0), 999999);
      QCOMPARE(ini.readString(gbk("图片抽奖"), "Font.Name", ""), gbk("黑体"));
      QCOMPARE(ini.readString(gbk("图片抽奖"), "ShowName", ""), std::string("1"));
    }
    {
      TPicL roster(folder.path(), dialogs);
      styledtext::FontRecord font;
      font.name = gbk("宋体");
      font.size = 30;
      font.color = 255;
      dialogs.setNextFont(font);
      roster.Button4Click();
      QVERIFY(roster.changedMark());  // at once
      QCOMPARE(roster.captionFont().size, 30);

      // Delete the selected people with their photos; the row after them is shown.
      roster.form().ListBox1->setCurrentRow(0);
      roster.form().ListBox1->item(1)->setSelected(true);
      roster.Button2Click();
      QCOMPARE(roster.names(), draw::Lines{gbk("丙")});
      QVERIFY(!fs::exists(folder / "photo" / "甲.jpg"));
      QVERIFY(!fs::exists(folder / "photo" / "乙.jpg"));
      QCOMPARE(folder.read("PicList.txt"), gbk("丙\r\n"));

      // Deleting the photo keeps the person; the preview falls back to the system photo.
      roster.N1Click();
      QVERIFY(!fs::exists(folder / "photo" / "丙.jpg"));
      QCOMPARE(roster.names(), draw::Lines{gbk("丙")});
      QCOMPARE(roster.previewImage().size(), QSize(260, 300));

      dialogs.setNextText(QStringLiteral("李四"));
      roster.Button5Click();
      QCOMPARE(roster.names(), (draw::Lines{gbk("丙"), gbk("李四")}));
      dialogs.setNextText(QStringLiteral("李四"));
      roster.Button5Click();  // names are unique
      QCOMPARE(roster.names().size(), std::size_t{2});

      roster.Button3Click();
      QVERIFY(roster.names().empty());
      QCOMPARE(roster.form().Label_Count->text(), QStringLiteral("0"));
      QCOMPARE(folder.read("PicList.txt"), std::string());
      roster.close();
    }
    const base::IniFile ini = base::ConfigFiles(folder.path()).openConfig();
    QCOMPARE(ini.readInt(gbk("图片抽奖"), "Font.Size", 0), 30);
    QCOMPARE(ini.readInt(gbk("图片抽奖"), "Font.Color", 0), 255);
  }

  void aMissingListIsReportedAndWrittenOnClose() {
    testing_support::TestFolder folder;
    writeEvent(folder, {});
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    TPicL roster(folder.path(), dialogs);
    QCOMPARE(dialogs.log().size(), 1);
    QVERIFY(roster.names().empty());
    QCOMPARE(roster.form().Edit1->text(), QString());  // no key: the field stays empty
    QCOMPARE(roster.previewImage().size(), QSize(30, 50));
    roster.close();
    QVERIFY(fs::exists(folder / "PicList.txt"));
  }
};

QTEST_MAIN(TPicLTest)
#include "tpicl_test.moc"
