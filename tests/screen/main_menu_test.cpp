// The main popup menu against what ships with it: the guide's menu paths and key
// table, the theme backgrounds; its ticks, its shape; element menus; the signal
// that stops the winners display.
#include "screen/main_menu.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include "screen/element_menus.h"
#include "screen/state/element_commands.h"
#include "window_test_setup.h"

using screen::Element;

namespace {

QStringList captions(const QMenu* menu) {
  QStringList texts;
  for (const QAction* item : menu->actions()) texts << item->text();
  return texts;
}

// A caption as the guide writes it: without its accelerator mark and shortcut.
QString plainCaption(QString caption) {
  caption.remove(QLatin1Char('&'));
  return caption.remove(QRegularExpression(QStringLiteral("\\[F\\d+\\]$")));
}

// Every item of the menu and of its submenus.
QList<const QAction*> allItems(const QMenu* menu) {
  QList<const QAction*> items;
  for (const QAction* item : menu->actions()) {
    items << item;
    if (item->menu() != nullptr) items << allItems(item->menu());
  }
  return items;
}

QList<QRegularExpressionMatch> matches(const QRegularExpression& pattern, const QString& text) {
  QList<QRegularExpressionMatch> found;
  for (auto it = pattern.globalMatch(text); it.hasNext();) found << it.next();
  return found;
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
  // Every path the guide gives from the right click ("右键 → 画面设定 → 自动布局")
  // leads through the menu to an item of that caption, and every shortcut a
  // caption shows ("奖品展示[F3]") is a key of the guide's table.
  void theGuidesPathsAndKeysAreTheMenus() {
    QFile guide(QStringLiteral(KV_SOURCE_DIR "/docs/guide.md"));
    QVERIFY(guide.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(guide.readAll());
    QWidget window;
    screen::MainMenu menu(&window);

    const QRegularExpression path(
        QStringLiteral("右键 → (\\**%1\\**(?: → \\**%1\\**)*)").arg(QStringLiteral("[^,，。:：;；、()（）\"“”\\s*]+")));
    int paths = 0;
    for (const QRegularExpressionMatch& found : matches(path, text)) {
      const QStringList steps = found.captured(1).remove(QStringLiteral("**")).split(QStringLiteral(" → "));
      const QMenu* at = menu.menu();
      const QAction* item = nullptr;
      for (const QString& step : steps) {
        if (at == nullptr) QFAIL(qPrintable(found.captured(0) + ": " + item->text() + " opens no submenu"));
        item = nullptr;
        for (const QAction* candidate : at->actions())
          if (plainCaption(candidate->text()) == step) item = candidate;
        QVERIFY2(item != nullptr,
                 qPrintable(found.captured(0) + ": no item " + step + " in " + captions(at).join('|')));
        at = item->menu();
      }
      ++paths;
    }
    QVERIFY2(paths >= 10, qPrintable(QString::number(paths)));  // the guide's paths were found

    const QRegularExpression keyRow(QStringLiteral("^\\| \\*\\*(F\\d+)\\*\\* \\| ([^|]+) \\|$"),
                                    QRegularExpression::MultilineOption);
    QMap<QString, QString> documented;
    // The Chinese half comes first; the English half's table gives the same keys.
    for (const QRegularExpressionMatch& row : matches(keyRow, text))
      if (!documented.contains(row.captured(1))) documented[row.captured(1)] = row.captured(2);
    const QRegularExpression shortcut(QStringLiteral("^(.*)\\[(F\\d+)\\]$"));
    int shortcuts = 0;
    for (const QAction* item : allItems(menu.menu())) {
      const QRegularExpressionMatch key = shortcut.match(item->text());
      if (!key.hasMatch()) continue;
      QVERIFY2(documented.contains(key.captured(2)), qPrintable(item->text() + " is not in the guide's key table"));
      ++shortcuts;
    }
    QVERIFY(shortcuts > 0);
    QCOMPARE(plainCaption(menu.action(QStringLiteral("F31"))->text()), documented.value(QStringLiteral("F3")));
  }

  // The themes of "版面风格" are the shipped backgrounds, in the order of the table.
  void themeItemsAreTheShippedBackgrounds() {
    QWidget window;
    screen::MainMenu menu(&window);
    const QMenu* themes = menu.submenu(QStringLiteral("N78"));
    QVERIFY(themes != nullptr);
    QCOMPARE(themes->actions().size(), qsizetype(screen::kThemes.size()));
    for (std::size_t i = 0; i < screen::kThemes.size(); ++i) {
      const QAction* item = themes->actions()[qsizetype(i)];
      QCOMPARE(item->objectName(), QString::fromUtf8(screen::kThemes[i].item));
      QCOMPARE(item->text(), QString::fromUtf8(screen::kThemes[i].caption));
      QVERIFY2(QFile::exists(QStringLiteral(KV_DIST_DIR "/backpic/") + QString::fromUtf8(screen::kThemes[i].file)),
               screen::kThemes[i].file);
    }
  }

  // Each tick of the menu shows its own part of the model: one part turned over
  // at a time, exactly its item changes.
  void eachTickFollowsItsPartOfTheModel() {
    QWidget window;
    screen::MainMenu menu(&window);
    screen::ScreenModel model;
    model.showTicks.fill(true);
    model.textDraw = true;
    model.peopleRolling = true;
    model.positionLock = false;
    QStringList tickItems;
    for (const char* item : screen::kShowTickItems) tickItems << QString::fromLatin1(item);
    tickItems << "N9"
              << "N10"
              << "N96"
              << "N97"
              << "N15";
    auto ticked = [&] {
      QStringList on;
      for (const QString& item : tickItems)
        if (menu.action(item)->isChecked()) on << item;
      return on;
    };
    menu.syncTicks(model);
    const QStringList all = ticked();
    QCOMPARE(all, QStringList(tickItems.mid(0, screen::kShowTickCount)) << "N9"
                                                                        << "N96");

    struct Case {
      const char* what;
      std::function<void(screen::ScreenModel&)> turn;
      QStringList on, off;
    };
    std::vector<Case> cases;
    for (std::size_t i = 0; i < screen::kShowTickCount; ++i)
      cases.push_back({screen::kShowTickItems[i],
                       [i](screen::ScreenModel& m) { m.showTicks[i] = false; },
                       {},
                       {QString::fromLatin1(screen::kShowTickItems[i])}});
    cases.push_back({"picture draw", [](screen::ScreenModel& m) { m.textDraw = false; }, {"N10"}, {"N9"}});
    cases.push_back({"award rolling", [](screen::ScreenModel& m) { m.peopleRolling = false; }, {"N97"}, {"N96"}});
    cases.push_back({"position lock", [](screen::ScreenModel& m) { m.positionLock = true; }, {"N15"}, {}});
    for (const Case& c : cases) {
      screen::ScreenModel turned = model;
      c.turn(turned);
      menu.syncTicks(turned);
      QStringList expected = all;
      for (const QString& item : c.off) expected.removeAll(item);
      expected << c.on;
      QStringList shown = ticked();
      shown.sort();
      expected.sort();
      QVERIFY2(shown == expected, c.what);
    }
  }

  // Every item has a name of its own, every submenu holds items, and separators
  // stand only between items.
  void theTreeIsWellFormed() {
    QWidget window;
    screen::MainMenu menu(&window);
    QSet<QString> names;
    std::function<void(const QMenu*)> walk = [&](const QMenu* at) {
      const QList<QAction*> items = at->actions();
      for (qsizetype i = 0; i < items.size(); ++i) {
        const QAction* item = items[i];
        QVERIFY2(!item->objectName().isEmpty() && !names.contains(item->objectName()),
                 qPrintable(item->objectName() + " " + item->text()));
        names.insert(item->objectName());
        if (item->isSeparator()) {
          QVERIFY2(i > 0 && i + 1 < items.size() && !items[i + 1]->isSeparator(), qPrintable(item->objectName()));
        } else if (item->menu() != nullptr && item->objectName() != QStringLiteral("N89")) {
          QVERIFY2(!item->menu()->actions().isEmpty(), qPrintable(item->objectName()));
          walk(item->menu());
        }
      }
    };
    walk(menu.menu());
    QVERIFY(names.size() > 40);
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
