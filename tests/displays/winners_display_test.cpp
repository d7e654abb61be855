// The winners display in the real windows: opened by F9, F10 and the delayed
// opening after an award, closed by F11, its settings saved in order and read
// back, dragging under the position lock, and its text menu.
#include <QAction>
#include <QtTest>

#include "app/TForm1.h"
#include "base/delimited_row.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "display_test_support.h"
#include "displays/TShowPanel.h"
#include "draw/draw_data.h"
#include "draw/winners_text.h"
#include "screen/dialog_service.h"
#include "screen/main_menu.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/TSmoothScrollText.h"
#include "window_event.h"
#include "window_test_setup.h"

using display_testing::keysInOrder;
using display_testing::storedValue;
using displays::TShowPanel;
using testing_support::gbk;

namespace {

// Two awards (3 and 2 places, one batch each), 12 people, sounds off.
window_testing::WindowEvent winnersEvent() {
  window_testing::WindowEvent event({{"一等奖", 3, 3, "电脑"}, {"二等奖", 2, 2, "手机"}});
  event.set("界面设置", {"隐私_check=0", "重复中奖=0", "抽奖顺序=0"})
      .set("音效设置", {"中奖结果展示_check=0"})
      .people(12);
  return event;
}

// A display over small tables: award 1 with the given winners.
struct Tables {
  draw::DrawData data;
  explicit Tables(const std::vector<std::string>& winners) {
    data.ItemGrid.setRowCount(2);
    data.ItemGrid.setCell(draw::item::kSerial, 1, "1");
    data.ItemGrid.setCell(draw::item::kName, 1, gbk("一等奖"));
    data.ItemGrid.setCell(draw::item::kDrawn, 1, std::to_string(winners.size()));
    data.LuckNameGrid.setRowCount(1);
    for (const auto& name : winners) data.LuckNameGrid.appendRow({"1", "", gbk(name), "", "1"});
  }
};

displays::WinnersDisplayContext contextFor(const testing_support::TestFolder& folder, const draw::DrawData& data,
                                           bool* locked, screen::DialogService& dialogs) {
  displays::WinnersDisplayContext c;
  c.programDir = folder.path();
  c.data = &data;
  c.shownAward = "1";
  c.mainTitle = QStringLiteral("年会抽奖");
  c.secTitle = QStringLiteral("副标题");
  c.area = QRect(0, 0, 1024, 768);
  c.positionLocked = [locked] { return *locked; };
  c.dialogs = &dialogs;
  return c;
}

void drag(QWidget* widget, QPoint from, QPoint to) {
  QTest::mousePress(widget, Qt::LeftButton, {}, from);
  QMouseEvent move(QEvent::MouseMove, QPointF(to), widget->mapToGlobal(QPointF(to)), Qt::LeftButton, Qt::LeftButton,
                   {});
  QApplication::sendEvent(widget, &move);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

}  // namespace

class WinnersDisplayTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void keysAndTheDelayedOpeningShowTheRealDisplay() {
    testing_support::TestFolder folder;
    winnersEvent().write(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    window.show();
    QTest::keyClick(&window, Qt::Key_Space);
    QTest::keyClick(&window, Qt::Key_Space);  // award 1 finished: three winners
    QVERIFY(window.timer(2).isActive());
    QCOMPARE(window.timer(2).interval(), 3000);

    std::string shown;
    window.dialogs().setNextDisplay([&](screen::DisplayStage& stage) {
      auto& panel = dynamic_cast<TShowPanel&>(stage);
      shown = panel.displayText();
      // Full screen on the draw screen's screen, laid out for its desktop.
      QVERIFY(panel.isFullScreen() && panel.isModal());
      QCOMPARE(panel.screen(), window.screen());
      QCOMPARE(panel.screenRect(), QRect(window.screen()->geometry().topLeft(), QSize(1280, 720)));
      // What the display asks is asked over it, not over the draw screen.
      QCOMPARE(window.dialogs().parentWindow(), &panel);
    });
    window.timer(2).start(1);  // the three seconds, shortened
    QTRY_VERIFY(!shown.empty());
    QVERIFY(shown.rfind(gbk("一等奖(3名)\n(奖品:电脑)\n"), 0) == 0);
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(window.dialogs().parentWindow(), &window);
    QVERIFY(!window.timer(2).isActive());
    // Closing saved the display's settings.
    QVERIFY(!keysInOrder(folder, "NameText").empty());

    std::string byF9;
    window.dialogs().setNextDisplay(
        [&](screen::DisplayStage& stage) { byF9 = dynamic_cast<TShowPanel&>(stage).displayText(); });
    QTest::keyClick(&window, Qt::Key_F9);  // the current award alone
    // Award 1 stays the current award until the next batch starts.
    QCOMPARE(QString::fromStdString(window.drawData().state.currentAward), QStringLiteral("1"));
    QCOMPARE(byF9.substr(0, byF9.find('\n')), gbk("一等奖(3名)"));
    QCOMPARE(window.drawData().state.shownAward, std::string("1"));

    std::string byMenu;
    window.dialogs().setNextDisplay(
        [&](screen::DisplayStage& stage) { byMenu = dynamic_cast<TShowPanel&>(stage).displayText(); });
    window.mainMenu().action(QStringLiteral("F101"))->trigger();
    QVERIFY(byMenu.rfind(gbk("一等奖(3名)"), 0) == 0);
    QCOMPARE(window.drawData().state.shownAward, std::string("0"));
  }

  void settingsAreSavedInOrderAndReadBack() {
    testing_support::TestFolder folder;
    winnersEvent().write(folder);
    Tables tables({"张三", "李四", "王五"});
    bool locked = false;
    screen::DialogService dialogs;
    {
      TShowPanel panel(contextFor(folder, tables.data, &locked, dialogs));
      panel.show();
      QCOMPARE(panel.perRow(), 99999);  // the key is missing
      panel.mainTitle()->move(33, 44);
      panel.textItem(QStringLiteral("每行二个"))->trigger();
      panel.textItem(QStringLiteral("低速滚动"))->trigger();
      panel.textItem(QStringLiteral("切换滚动方向"))->trigger();
      panel.backgroundItem(QStringLiteral("副标题"))->trigger();  // hides it
      QVERIFY(!panel.secTitle()->isVisible());
      panel.backgroundItem(QStringLiteral("返回抽奖[F11]"))->trigger();
      QVERIFY(!panel.isVisible());
    }
    const std::vector<std::string> titleKeys = keysInOrder(folder, "ShowMainTitle");
    QCOMPARE(titleKeys.size(), std::size_t(4 + 19 + 3));
    QCOMPARE(titleKeys[0], std::string("Font.Charset"));
    QCOMPARE(titleKeys[3], std::string("Font.Name"));
    QCOMPARE(titleKeys[4], std::string("Effect.FontEffect.Alpha"));
    QCOMPARE(std::vector<std::string>(titleKeys.end() - 3, titleKeys.end()),
             (std::vector<std::string>{"X坐标", "Y坐标", "Show"}));
    const std::vector<std::string> textKeys = keysInOrder(folder, "NameText");
    QCOMPARE(textKeys.size(), std::size_t(5 + 19 + 5));
    QCOMPARE(std::vector<std::string>(textKeys.begin(), textKeys.begin() + 5),
             (std::vector<std::string>{"Text.Font.Charset", "Text.Font.Color", "Text.Font.Size", "Text.Font.Name",
                                       "Text.BackColor"}));
    QCOMPARE(std::vector<std::string>(textKeys.end() - 5, textKeys.end()),
             (std::vector<std::string>{"Left", "Top", "Height", "ScrollDelay", "ScrollStep"}));
    QCOMPARE(keysInOrder(folder, "NameList"), (std::vector<std::string>{"每行个数"}));

    TShowPanel again(contextFor(folder, tables.data, &locked, dialogs));
    QCOMPARE(again.perRow(), 2);
    QCOMPARE(again.mainTitle()->pos(), QPoint(33, 44));
    QCOMPARE(again.nameText()->ScrollDelay(), 300);
    QCOMPARE(again.nameText()->ScrollStep(), -1);
    QVERIFY(again.secTitle()->isHidden());
    QVERIFY(!again.backgroundItem(QStringLiteral("副标题"))->isChecked());
    // Two per row: one full line and the padded last one.
    QCOMPARE(again.displayText(), gbk("一等奖(3名)\n(奖品:)\n 张三 李四 \n 王五      \n\n"));
    again.close();
  }

  // Opening and closing the display without choosing a background keeps the stored one.
  void aStoredBackgroundSurvivesAnOpenAndAClose() {
    testing_support::TestFolder folder;
    winnersEvent().set("ShowTitlePic", {"Picture=舞台.jpg"}).write(folder);
    Tables tables({"张三"});
    bool locked = false;
    screen::DialogService dialogs;
    TShowPanel panel(contextFor(folder, tables.data, &locked, dialogs));
    panel.show();
    panel.backgroundItem(QStringLiteral("返回抽奖[F11]"))->trigger();
    QCOMPARE(storedValue(folder, "ShowTitlePic", "Picture"), std::string("舞台.jpg"));
  }

  // The background is the one the settings file holds: a choice is stored when
  // the display closes, and a later opening shows and stores back what the file
  // holds by then, not an earlier choice of the run.
  void theBackgroundIsTheOneItsSettingsFileHolds() {
    testing_support::TestFolder folder;
    winnersEvent().set("ShowTitlePic", {"Picture=舞台.jpg"}).write(folder);
    Tables tables({"张三"});
    bool locked = false;
    screen::DialogService dialogs;
    {
      TShowPanel panel(contextFor(folder, tables.data, &locked, dialogs));
      dialogs.setNextFileName(display_testing::writePicture(folder, "elsewhere/新.png"));
      panel.backgroundItem(QStringLiteral("更换背景图"))->trigger();
      QVERIFY(!panel.background().isNull());
      panel.close();
    }
    QCOMPARE(storedValue(folder, "ShowTitlePic", "Picture"), std::string("新.png"));
    base::IniFile(folder / "Config.ini").writeString("ShowTitlePic", "Picture", gbk("舞台.jpg"));  // a restored file
    {
      TShowPanel again(contextFor(folder, tables.data, &locked, dialogs));
      QVERIFY(again.background().isNull());  // no such picture in "backpic"
      again.close();
    }
    QCOMPARE(storedValue(folder, "ShowTitlePic", "Picture"), std::string("舞台.jpg"));
  }

  void elementsMoveOnlyWithoutTheLockAndTheTextBoxResizesByItsBottomEdge() {
    testing_support::TestFolder folder;
    winnersEvent().set("NameText", {"Height=150", "Top=200"}).write(folder);
    Tables tables({"张三"});
    bool locked = true;
    screen::DialogService dialogs;
    TShowPanel panel(contextFor(folder, tables.data, &locked, dialogs));
    panel.show();
    styledtext::TSmoothLabel* title = panel.mainTitle();
    const QPoint start = title->pos();
    drag(title, QPoint(5, 5), QPoint(45, 35));
    QCOMPARE(title->pos(), start);
    locked = false;
    drag(title, QPoint(5, 5), QPoint(45, 35));
    QCOMPARE(title->pos(), start + QPoint(40, 30));

    QWidget* box = panel.nameText();
    QCOMPARE(box->geometry().top(), 200);
    const int left = box->x();
    drag(box, QPoint(10, 20), QPoint(60, 50));  // follows the pointer vertically only
    QCOMPARE(box->pos(), QPoint(left, 230));

    // Over the bottom 10 pixels the next press resizes instead of moving.
    QMouseEvent hover(QEvent::MouseMove, QPointF(10, 145), box->mapToGlobal(QPointF(10, 145)), Qt::NoButton,
                      Qt::NoButton, {});
    QApplication::sendEvent(box, &hover);
    QCOMPARE(box->cursor().shape(), Qt::SizeVerCursor);
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 145));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, 185));
    QCOMPARE(box->height(), 190);
    QCOMPARE(box->y(), 230);
    panel.close();

    // A box stored for a taller screen is shortened to fit this one.
    winnersEvent().set("NameText", {"Height=600", "Top=700"}).write(folder);
    TShowPanel shorter(contextFor(folder, tables.data, &locked, dialogs));
    QCOMPARE(shorter.nameText()->height(), 768 - 700 - 10);
    shorter.close();
  }

  void theTextMenuChangesSpeedDirectionAndAwardOrder() {
    testing_support::TestFolder folder;
    winnersEvent().write(folder);
    Tables tables({"张三"});
    draw::DrawData& data = tables.data;
    data.ItemGrid.setRowCount(3);
    data.ItemGrid.setCell(draw::item::kSerial, 2, "2");
    data.ItemGrid.setCell(draw::item::kName, 2, gbk("二等奖"));
    data.ItemGrid.setCell(draw::item::kDrawn, 2, "1");
    data.LuckNameGrid.appendRow({"2", "", gbk("李四"), "", "2"});
    bool locked = false;
    screen::DialogService dialogs;
    auto context = contextFor(folder, data, &locked, dialogs);
    context.shownAward = "0";
    TShowPanel panel(context);
    styledtext::TSmoothScrollText* text = panel.nameText();

    struct Step {
      const char* item;
      int delayBefore;
      int delayAfter;
    };
    const Step steps[] = {{"加速滚动", 20, 20}, {"加速滚动", 31, 1}, {"减速滚动", 1, 31}, {"高速滚动", 300, 1}};
    for (const Step& s : steps) {
      text->setScrollDelay(s.delayBefore);
      panel.textItem(QString::fromUtf8(s.item))->trigger();
      QCOMPARE(text->ScrollDelay(), s.delayAfter);
    }
    text->setScrollStep(0);
    panel.textItem(QStringLiteral("切换滚动方向"))->trigger();
    QCOMPARE(text->ScrollStep(), 1);
    panel.textItem(QStringLiteral("停止滚动"))->trigger();
    QVERIFY(!text->Active());

    QVERIFY(panel.displayText().rfind(gbk("一等奖"), 0) == 0);
    panel.textItem(QStringLiteral("切换奖项顺序"))->trigger();
    QVERIFY(panel.displayText().rfind(gbk("二等奖"), 0) == 0);
    panel.textItem(QStringLiteral("切换奖项顺序"))->trigger();
    QVERIFY(panel.displayText().rfind(gbk("一等奖"), 0) == 0);
    // The box is as wide as the widest line plus 20, centred on the screen.
    QCOMPARE(text->x(), 512 - text->width() / 2);
    panel.close();

    // The order is a choice for the run that no file keeps: an opening with the
    // opener's switch takes it up, one without starts first to last.
    bool runOrder = false;
    context.lastToFirst = &runOrder;
    {
      TShowPanel first(context);
      first.textItem(QStringLiteral("切换奖项顺序"))->trigger();
      first.close();
    }
    QVERIFY(runOrder);
    const std::string closed = base::readFile(folder / "Config.ini");
    TShowPanel second(context);
    QVERIFY(second.displayText().rfind(gbk("二等奖"), 0) == 0);
    second.close();
    context.lastToFirst = nullptr;
    TShowPanel own(context);
    QVERIFY(own.displayText().rfind(gbk("一等奖"), 0) == 0);
    own.close();
    QCOMPARE(base::readFile(folder / "Config.ini"), closed);
  }

  // Rows wider than the screen: drawn smaller, then wrapped between names, in
  // the fixed-pitch face that keeps the columns; the composition, the stored
  // font and the per-row count stay as they are.
  void rowsWiderThanTheScreenAreDrawnSmallerThenWrappedBetweenNames() {
    testing_support::TestFolder folder;
    winnersEvent()
        .set("NameText", {"Text.Font.Name=黑体", "Text.Font.Size=28"})
        .set("NameList", {"每行个数=5"})
        .write(folder);
    std::vector<std::string> names;
    for (int k = 1; k <= 12; ++k)
      names.push_back(k % 3 == 0 ? "Muhammad Abdullah bin Ahmad Al-Rashid Hussain"
                                 : "欧阳纳兰爱新觉罗" + std::to_string(k));
    Tables tables(names);
    bool locked = false;
    screen::DialogService dialogs;
    int previous = 5;
    for (const int width : {3840, 1920, 1280, 1024}) {
      auto context = contextFor(folder, tables.data, &locked, dialogs);
      context.area = QRect(0, 0, width, 768);
      TShowPanel panel(context);
      const QString when = QStringLiteral("%1 wide").arg(width);
      QCOMPARE(panel.displayText(), draw::composeWinnersText(tables.data, "1", 5, false));
      // The drawn lines are the same winners composed with fewer names a line.
      int perLine = 0;
      for (int p = 1; p <= 5 && perLine == 0; ++p)
        if (panel.drawnLines() == base::splitLines(draw::composeWinnersText(tables.data, "1", p, false))) perLine = p;
      QVERIFY2(perLine > 0 && perLine <= previous, qPrintable(when));
      previous = perLine;
      if (width == 3840) QCOMPARE(perLine, 5);
      if (width == 1024) QVERIFY(perLine < 5);
      // Smaller before wrapped: a wrapped text stands at the readable size.
      const int size = panel.nameText()->Text().Font.size;
      QVERIFY2(size <= 28 && (perLine == 5 || size == 14), qPrintable(when));
      QCOMPARE(panel.nameText()->Text().Font.name, gbk("Noto Sans Mono CJK SC"));
      QVERIFY2(panel.nameText()->x() >= 0 && panel.nameText()->geometry().right() < width, qPrintable(when));
      panel.close();
      const base::IniFile config(folder / "Config.ini");
      QCOMPARE(config.readString("NameText", "Text.Font.Name", ""), gbk("黑体"));
      QCOMPARE(config.readInt("NameText", "Text.Font.Size", 0), 28);
      QCOMPARE(config.readInt("NameList", gbk("每行个数"), 0), 5);
    }
  }

  // Without stored places (a first opening) the titles are laid out with their
  // captions: one under the other, not both at the corner of an empty caption.
  void aFirstOpeningLaysTheTitlesOutWithTheirCaptions() {
    testing_support::TestFolder folder;
    winnersEvent().write(folder);
    Tables tables({"张三"});
    bool locked = false;
    screen::DialogService dialogs;
    TShowPanel panel(contextFor(folder, tables.data, &locked, dialogs));
    const QRect main = panel.mainTitle()->geometry();
    const QRect sub = panel.secTitle()->geometry();
    QVERIFY(!main.intersects(sub));
    QCOMPARE(main.x(), 512 - main.width() / 2);
    QCOMPARE(sub.x(), 512 - sub.width() / 2);
    QVERIFY(sub.bottom() < panel.nameText()->y());
    panel.close();
  }
};

QTEST_MAIN(WinnersDisplayTest)
#include "winners_display_test.moc"
