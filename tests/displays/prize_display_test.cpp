// The prize display in the real window: the awards in the draw order on its
// ticks, the caption parts, the picture box's presets and unbounded steps, the
// speed entries, F11 and the save in order.
#include <QAction>
#include <QLabel>
#include <QtTest>

#include "app/TForm1.h"
#include "base/delimited_row.h"
#include "base/ini_file.h"
#include "display_test_support.h"
#include "displays/TPrize.h"
#include "screen/dialog_service.h"
#include "styledtext/TSmoothLabel.h"
#include "window_event.h"
#include "window_test_setup.h"

using display_testing::keysInOrder;
using display_testing::storedValue;
using displays::TPrize;
using testing_support::gbk;

namespace {

// Three awards; the first has a prize picture in "prize", the second names a missing one.
window_testing::WindowEvent prizeEvent() {
  return window_testing::WindowEvent({{"一等奖", 3, 1, "手机一部", "总经理", "p1.png"},
                                      {"二等奖", 5, 1, "平板", "主任", "gone.png"},
                                      {"三等奖", 9, 1, "耳机", "经理"}});
}
void writeEvent(const testing_support::TestFolder& folder, const window_testing::WindowEvent& event = prizeEvent()) {
  event.write(folder);
  std::filesystem::create_directories(folder / "prize");
  QImage red(40, 30, QImage::Format_RGB32);
  red.fill(Qt::red);
  red.save(QString::fromStdString((folder / "prize" / "p1.png").string()));
}

displays::PrizeDisplayContext contextFor(const testing_support::TestFolder& folder, int drawOrder) {
  static screen::DialogService dialogs;  // headless: nothing in these tests asks
  displays::PrizeDisplayContext c;
  c.programDir = folder.path();
  c.dialogs = &dialogs;
  c.mainTitle.caption = QStringLiteral("年会");
  c.drawOrder = drawOrder;
  c.area = QRect(0, 0, 1024, 768);
  return c;
}

QString caption(TPrize& prize) { return prize.prizeName()->Caption(); }

}  // namespace

class PrizeDisplayTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void ticksWalkTheAwardsInTheDrawOrderWithTheirPictures() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    for (int order : {0, 1}) {
      TPrize prize(contextFor(folder, order));
      QVERIFY(prize.timer().isActive());
      QCOMPARE(prize.timer().interval(), 1000);  // "speed" missing
      QVERIFY(caption(prize).isEmpty());
      QStringList captions;
      QList<bool> pictures;
      for (int t = 0; t < 4; ++t) {
        prize.Timer1Timer();
        captions << caption(prize).left(3);
        pictures << !prize.picture()->pixmap().isNull();
      }
      if (order == 0) {
        QCOMPARE(captions, (QStringList{"一等奖", "二等奖", "三等奖", "一等奖"}));
        QCOMPARE(pictures, (QList<bool>{true, false, false, true}));
      } else {
        QCOMPARE(captions, (QStringList{"三等奖", "二等奖", "一等奖", "三等奖"}));
      }
      prize.close();
    }
  }

  void captionPartsFollowTheirTicksAtOnce() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TPrize prize(contextFor(folder, 0));
    prize.Timer1Timer();
    QCOMPARE(caption(prize), QStringLiteral("一等奖共3名,奖品:手机一部,抽奖嘉宾:总经理"));
    prize.captionItem(QStringLiteral("显示奖项人数"))->trigger();
    prize.captionItem(QStringLiteral("显示抽奖嘉宾"))->trigger();
    // Still the award whose picture is shown.
    QCOMPARE(caption(prize), QStringLiteral("一等奖,奖品:手机一部"));
    prize.close();
  }

  void pictureBoxPresetsAndStepsAndSpeedsAreSavedInOrder() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    {
      TPrize prize(contextFor(folder, 0));
      QCOMPARE(prize.pictureBox(), QRect(500, 500, 500, 500));
      prize.windowItem(QStringLiteral("800x800"))->trigger();
      QCOMPARE(prize.pictureBox(), QRect(112, -16, 800, 800));
      // Stored as the preset puts it; shown whole on the 768-pixel screen.
      QCOMPARE(prize.picture()->geometry(), QRect(112, 0, 768, 768));
      prize.windowItem(QStringLiteral("300x200"))->trigger();
      for (int k = 0; k < 21; ++k) prize.windowItem(QStringLiteral("高度-"))->trigger();
      QCOMPARE(prize.pictureBox().height(), -10);
      QVERIFY(prize.picture()->isHidden());  // a box below 1 pixel draws nothing
      prize.windowItem(QStringLiteral("宽度+"))->trigger();
      QCOMPARE(prize.pictureBox().width(), 310);
      prize.windowItem(QStringLiteral("慢&"))->trigger();
      QCOMPARE(prize.timer().interval(), 2500);
      prize.windowItem(QStringLiteral("快&"))->trigger();
      QCOMPARE(prize.timer().interval(), 100);
      prize.show();
      QTest::keyClick(&prize, Qt::Key_F11);
      QVERIFY(!prize.isVisible());
      QVERIFY(!prize.timer().isActive());
    }
    const std::vector<std::string> keys = keysInOrder(folder, "ShowPrizeName");
    QCOMPARE(keys.size(), std::size_t(4 + 19 + 2 + 3 + 5));
    QCOMPARE(keys[0], std::string("Font.Charset"));
    QCOMPARE(std::vector<std::string>(keys.end() - 10, keys.end()),
             (std::vector<std::string>{"X坐标", "Y坐标", "Show1", "Show2", "Show3", "speed", "img_left", "img_top",
                                       "img_w", "img_h"}));
    TPrize again(contextFor(folder, 0));
    QCOMPARE(again.pictureBox(), QRect(362, 284, 310, -10));
    QCOMPARE(again.timer().interval(), 100);
    QVERIFY(again.picture()->isHidden());
    again.close();
  }

  // Opening and closing the display without choosing a background keeps the stored one.
  void aStoredBackgroundSurvivesAnOpenAndAClose() {
    testing_support::TestFolder folder;
    writeEvent(folder, prizeEvent().set("ShowPrizeName", {"Picture=舞台.jpg"}));
    {
      TPrize prize(contextFor(folder, 0));
      prize.show();
      QTest::keyClick(&prize, Qt::Key_F11);
    }
    QCOMPARE(storedValue(folder, "ShowPrizeName", "Picture"), std::string("舞台.jpg"));
  }

  // The background is the one the settings file holds: a choice is stored when
  // the display closes, and a later opening stores back what the file holds by
  // then, not an earlier choice of the run.
  void theBackgroundIsTheOneItsSettingsFileHolds() {
    testing_support::TestFolder folder;
    writeEvent(folder, prizeEvent().set("ShowPrizeName", {"Picture=舞台.jpg"}));
    screen::DialogService dialogs;
    displays::PrizeDisplayContext context = contextFor(folder, 0);
    context.dialogs = &dialogs;
    {
      TPrize prize(context);
      dialogs.setNextFileName(display_testing::writePicture(folder, "elsewhere/新.png"));
      prize.windowItem(QStringLiteral("更换背景"))->trigger();
      QVERIFY(!prize.background().isNull());
      prize.close();
    }
    QCOMPARE(storedValue(folder, "ShowPrizeName", "Picture"), std::string("新.png"));
    base::IniFile(folder / "Config.ini").writeString("ShowPrizeName", "Picture", gbk("舞台.jpg"));  // a restored file
    {
      TPrize again(context);
      again.close();
    }
    QCOMPARE(storedValue(folder, "ShowPrizeName", "Picture"), std::string("舞台.jpg"));
  }

  void f3OpensItFromTheDrawScreen() {
    testing_support::TestFolder folder;
    writeEvent(folder, prizeEvent().set("界面设置", {"抽奖顺序=1"}));
    std::vector<std::string> names{gbk("员工1"), gbk("员工2")};
    base::rewriteLines(folder / "NameList.txt", names);
    TForm1 window(folder.path(), nullptr, QSize(1024, 768));
    window.show();
    int firstRow = 0;
    window.dialogs().setNextDisplay([&](screen::DisplayStage& stage) {
      auto& prize = dynamic_cast<TPrize&>(stage);
      firstRow = prize.position();
      QCOMPARE(prize.mainTitle()->Caption(), window.label(screen::Label::MainTitle)->Caption());
    });
    QTest::keyClick(&window, Qt::Key_F3);
    QCOMPARE(firstRow, 3);  // draw order 1 starts at the last award
  }

  // An event without Config.ini yet shows the template's awards and look, and
  // closing keeps the template's values rather than writing built-in ones.
  // Placed for 1920 pixels, the caption and picture stay whole on 1024.
  void aFreshEventShowsTheTemplateAndStaysOnASmallerScreen() {
    testing_support::TestFolder folder;
    writeEvent(folder, prizeEvent().set("ShowPrizeName",
                                        {"Font.Size=40", "Font.Name=黑体", "speed=2000", "X坐标=900", "Y坐标=700",
                                         "img_left=1400", "img_top=200", "img_w=409", "img_h=265"}));
    std::filesystem::rename(folder / "Config.ini", folder / "SysConfig.ini");
    TPrize prize(contextFor(folder, 0));
    prize.Timer1Timer();
    QCOMPARE(caption(prize), QStringLiteral("一等奖共3名,奖品:手机一部,抽奖嘉宾:总经理"));
    QVERIFY(QRect(0, 0, 1024, 768).contains(prize.prizeName()->geometry()));
    QVERIFY(QRect(0, 0, 1024, 768).contains(prize.picture()->geometry()));
    QCOMPARE(prize.timer().interval(), 2000);
    prize.close();
    const base::IniFile config(folder / "Config.ini");
    for (const auto& [key, value] : {std::pair{"Font.Size", 40},
                                     {"speed", 2000},
                                     {"img_left", 1400},
                                     {"img_w", 409},
                                     {"X坐标", 900},
                                     {"Y坐标", 700}})
      QCOMPARE(config.readInt("ShowPrizeName", gbk(key), 0), value);
  }

  void defaultLayoutAndCentringPlaceTheCaptionUnderThePicture() {
    testing_support::TestFolder folder;
    writeEvent(folder, prizeEvent().set("ShowPrizeName", {"X坐标=5000", "img_w=1600", "img_h=1200"}));
    TPrize prize(contextFor(folder, 0));
    prize.Timer1Timer();
    prize.windowItem(QStringLiteral("默认布局"))->trigger();
    const QRect picture = prize.picture()->geometry();
    const QRect caption = prize.prizeName()->geometry();
    QVERIFY(picture.width() <= 512 && picture.height() <= 384);
    QCOMPARE(picture.x(), 512 - picture.width() / 2);
    QVERIFY(caption.top() > picture.bottom());
    QVERIFY(QRect(0, 0, 1024, 768).contains(caption));
    prize.captionItem(QStringLiteral("居中"))->trigger();
    QCOMPARE(prize.prizeName()->x(), 512 - caption.width() / 2);
    prize.close();
  }
};

QTEST_MAIN(PrizeDisplayTest)
#include "prize_display_test.moc"
