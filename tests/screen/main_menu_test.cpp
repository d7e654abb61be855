// The main popup menu against the command tables: items, captions, order,
// separators and ticks; element menus; the signal that stops the winners display.
#include "screen/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include "screen/element_menus.h"
#include "window_test_setup.h"

using screen::Element;

namespace {

// One line per item: "—N90" for a separator, "N2>画面设定&" for a submenu,
// "N15[ ]位置锁定&" for a checkable item (ticked: "[x]"), "V481(off)版本号V6.0" for a
// disabled one, else "N17 重新开始抽奖".
QStringList describe(const QMenu* menu) {
  QStringList lines;
  for (const QAction* item : menu->actions()) {
    QString line = item->objectName();
    if (item->isSeparator()) {
      line = QStringLiteral("—") + line;
    } else if (item->menu() != nullptr) {
      line += QStringLiteral(">") + item->text();
    } else if (item->isCheckable()) {
      line += (item->isChecked() ? QStringLiteral("[x]") : QStringLiteral("[ ]")) + item->text();
    } else if (!item->isEnabled()) {
      line += QStringLiteral("(off)") + item->text();
    } else {
      line += QStringLiteral(" ") + item->text();
    }
    lines << line;
  }
  return lines;
}

QStringList captions(const QMenu* menu) {
  QStringList texts;
  for (const QAction* item : menu->actions()) texts << item->text();
  return texts;
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint global, Qt::MouseButton button) {
  const QPointF local = widget->mapFromGlobal(global);
  QMouseEvent event(type, local, local, global, button, type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

class MainMenuTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void treeFollowsTheCommandTables() {
    QWidget window;
    screen::MainMenu menu(&window);
    screen::ScreenModel model;
    model.showTicks.fill(true);
    model.showTicks[static_cast<std::size_t>(screen::ShowTick::Logo)] = false;
    model.textDraw = false;
    model.positionLock = true;
    menu.syncTicks(model);

    QCOMPARE(describe(menu.menu()), QStringList({
                                        "N17 重新开始抽奖",
                                        "—N90",
                                        "N89>单独抽取",
                                        "—N60",
                                        "N6>抽奖模式&",
                                        "N95>滚动模式",
                                        "—N94",
                                        "N1>参数设定&",
                                        "N2>画面设定&",
                                        "N3>工具操作&",
                                        "N12 音效设置&",
                                        "—N41",
                                        "N106 设定密码",
                                        "—N105",
                                        "F31 奖品展示[F3]",
                                        "N19 本奖项中奖结果展示[F9]",
                                        "F101 全部中奖结果展示[F10]",
                                        "—N25",
                                        "N36 节目及评委设置",
                                        "N65 节目排名展示[F8]",
                                        "N14 节目打分细节[F7]",
                                        "N110 手机评分",
                                        "—N64",
                                        "N108 配置文件导出",
                                        "N109 配置文件导入",
                                        "—N107",
                                        "N4>帮助&",
                                        "N93 最小化窗口[F4]",
                                        "N5 退出&",
                                    }));
    QCOMPARE(describe(menu.submenu("N6")), QStringList({"N9[ ]文字抽奖模式&", "N10[x]图片抽奖模式&"}));
    QCOMPARE(describe(menu.submenu("N95")), QStringList({"N96[x]人员滚动", "N97[ ]奖项滚动"}));
    QCOMPARE(describe(menu.submenu("N2")),
             QStringList({"N103 主标题",     "N104 副标题",    "—N102",          "N78>版面风格",   "N13 更换背景&",
                          "N15[x]位置锁定&", "N16 自动布局&",  "—N27",           "N32[x]主标题",   "N33[x]副标题",
                          "N35[ ]LOGO图片",  "N67[x]奖项名称", "N68[x]抽奖嘉宾", "N69[x]奖品图片", "N70[x]奖品名称",
                          "N72[x]抽奖提示",  "N73[x]抽奖进度", "N74[x]开始按钮", "—N75",           "N76 更多背景"}));
    QCOMPARE(describe(menu.submenu("N78")), QStringList({"N79 欢度春节", "N80 节日欢庆", "N82 婚礼", "N83 宇宙梦幻",
                                                         "N84 浩瀚星空", "N85 舞台", "N86 淡雅蓝调", "N87 圣诞"}));
    QCOMPARE(describe(menu.submenu("N1")),
             QStringList({"N7 抽奖名单&", "N8 奖项设置&", "N11 奖项分组&", "N92 其它设定"}));
    QCOMPARE(describe(menu.submenu("N3")),
             QStringList({"N18 弃奖&", "N58 补奖&", "N20 导出中奖名单&", "N21 查看抽奖日志&"}));
    QCOMPARE(describe(menu.submenu("N4")),
             QStringList({"N22 常用快捷键", "N53 视频操作说明", "N77 常见问题", "V481(off)版本号V6.0"}));
  }

  void modeTicksAndSingleAwardSubmenuFollowTheEngine() {
    QWidget window;
    screen::MainMenu menu(&window);
    menu.setPeopleRolling(false);
    QCOMPARE(menu.action("N89")->text(), QStringLiteral("抽取状况"));
    QVERIFY(menu.action("N97")->isChecked() && !menu.action("N96")->isChecked());
    menu.setPeopleRolling(true);
    QCOMPARE(menu.action("N89")->text(), QStringLiteral("单独抽取"));
    menu.setTextDraw(true);
    QVERIFY(menu.action("N9")->isChecked() && !menu.action("N10")->isChecked());

    QSignalSpy chosen(&menu, &screen::MainMenu::singleAwardChosen);
    menu.setSingleAwardItems({{"一等奖  (3/3)", false}, {"二等奖  (1/5)", true}, {"三等奖  (0/10)", true}});
    menu.setSingleAwardItems({{"一等奖  (3/3)", false}, {"二等奖  (2/5)", true}});
    const QMenu* awards = menu.submenu("N89");
    QCOMPARE(captions(awards), QStringList({"一等奖  (3/3)", "二等奖  (2/5)"}));
    QVERIFY(!awards->actions()[0]->isEnabled());
    awards->actions()[1]->trigger();
    QCOMPARE(chosen.count(), 1);  // the items of the first build are gone with their connections
    QCOMPARE(chosen.at(0).at(0).toInt(), 2);
  }

  // Opening the main menu or a text element's menu must stop a pending winners
  // display; the clock, logo and prize picture menus are not in that list.
  void openingMenusIsReported() {
    QWidget window;
    screen::MainMenu menu(&window);
    screen::ElementMenus elements(&window);
    QSignalSpy mainOpening(&menu, &screen::MainMenu::opening);
    QSignalSpy elementOpening(&elements, &screen::ElementMenus::opening);

    menu.menu()->popup(QPoint(10, 10));
    QCOMPARE(mainOpening.count(), 1);
    menu.menu()->hide();

    const std::pair<Element, bool> cases[] = {{Element::MainTitle, true},    {Element::SecTitle, true},
                                              {Element::ActionHint, true},   {Element::PrizeName, true},
                                              {Element::ItemName, true},     {Element::HonorGuest, true},
                                              {Element::RateProgress, true}, {Element::TimeShow, false},
                                              {Element::Logo, false},        {Element::PrizePicture, false}};
    for (auto [element, stops] : cases) {
      const int before = elementOpening.count();
      elements.menu(element)->popup(QPoint(10, 10));
      elements.menu(element)->hide();
      QCOMPARE(elementOpening.count() - before, stops ? 1 : 0);
    }
  }

  void elementMenusHoldTheirItems() {
    QWidget window;
    screen::ElementMenus elements(&window);
    const QStringList titleItems = {"设置内容", "字体设置", "字体特效", "居中"};
    const QStringList labelCentred = {"字体设置", "字体特效", "居中"};
    const QStringList labelOnly = {"字体设置", "字体特效"};
    const std::pair<Element, QStringList> cases[] = {
        {Element::MainTitle, titleItems},      {Element::SecTitle, titleItems},
        {Element::ActionHint, labelCentred},   {Element::PrizeName, labelOnly},
        {Element::ItemName, labelCentred},     {Element::HonorGuest, labelOnly},
        {Element::RateProgress, labelCentred}, {Element::TimeShow, labelOnly},
        {Element::Logo, {"更换图片", "居中"}}, {Element::PrizePicture, {"高度+", "高度-", "宽度+", "宽度-"}}};
    for (const auto& [element, expected] : cases) {
      QCOMPARE(captions(elements.menu(element)), expected);
    }
    QWidget logo(&window);
    elements.attach(
        Element::Logo, &logo, [] { return false; }, [](Element, QPoint) {});
    QCOMPARE(logo.toolTip(), QStringLiteral("右键更改图标"));
  }

  void elementsDragUnlessThePositionIsLocked() {
    QWidget window;
    window.setGeometry(0, 0, 800, 600);
    QWidget* title = new QWidget(&window);
    title->setGeometry(100, 50, 200, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    screen::ElementMenus elements(&window);
    bool locked = false;
    QList<QPoint> reported;
    elements.attach(
        Element::MainTitle, title, [&] { return locked; },
        [&](Element element, QPoint to) {
          QCOMPARE(element, Element::MainTitle);
          reported << to;
        });

    const QPoint grab = title->mapToGlobal(QPoint(20, 10));
    sendMouse(title, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    sendMouse(title, QEvent::MouseMove, grab + QPoint(30, 40), Qt::LeftButton);
    sendMouse(title, QEvent::MouseButtonRelease, grab + QPoint(30, 40), Qt::LeftButton);
    QCOMPARE(title->pos(), QPoint(130, 90));
    QCOMPARE(reported, QList<QPoint>({QPoint(130, 90)}));
    // Released: moving no longer drags.
    sendMouse(title, QEvent::MouseMove, grab + QPoint(90, 90), Qt::NoButton);
    QCOMPARE(title->pos(), QPoint(130, 90));

    locked = true;
    const QPoint grabAgain = title->mapToGlobal(QPoint(5, 5));
    sendMouse(title, QEvent::MouseButtonPress, grabAgain, Qt::RightButton);
    sendMouse(title, QEvent::MouseMove, grabAgain + QPoint(-50, 60), Qt::RightButton);
    QCOMPARE(title->pos(), QPoint(130, 90));
    QCOMPARE(reported.size(), 1);

    // A right click whose release went to the element's menu: the next move
    // without a button does not drag, even with the lock off again.
    locked = false;
    sendMouse(title, QEvent::MouseMove, grabAgain + QPoint(10, 10), Qt::NoButton);
    QCOMPARE(title->pos(), QPoint(130, 90));
  }
};

QTEST_MAIN(MainMenuTest)
#include "main_menu_test.moc"
