// The award grouping dialog driven through its widgets: the Enter checks of the
// range cells, the walk, the switch and the save on close.
#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include "dialogs/TClassifyForm.h"
#include "draw/event_fixture.h"

using draw_testing::EventFixture;
using testing_support::gbk;

class AwardGroupingTest : public QObject {
  Q_OBJECT

  EventFixture event;
  draw::DrawData data;
  screen::DialogService dialogs;

  void open(const std::vector<std::string>& extra = {}) {
    auto lines = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 2, 1}, {"三等奖", 3, 1}});
    lines.insert(lines.end(), extra.begin(), extra.end());
    event.config(lines);
    event.roster(EventFixture::numberedNames(50));
    data = draw::DrawData();
    event.start(data);
    dialogs.clearLog();
  }
  std::unique_ptr<dialogs::TClassifyForm> dialog() {
    auto d = std::make_unique<dialogs::TClassifyForm>(data, event.folder(), dialogs);
    d->show();
    return d;
  }
  // Types a value into a range cell and presses Enter on the grid.
  void enter(dialogs::TClassifyForm& d, int row, int column, const QString& text) {
    QTableWidget* grid = d.grid();
    grid->setCurrentCell(row, column);
    grid->item(row, column)->setText(text);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
  }
  std::string stored(const char* key) {
    return base::IniFile(event.dir() / "Config.ini").readString(gbk("奖项分组"), key, "(none)");
  }

 private slots:
  void initTestCase() { dialogs.setHeadless(true); }

  void enterChecksEachRangeCell() {
    open({"[奖项分组]", "3_B=5"});
    auto d = dialog();
    QTableWidget* grid = d->grid();
    QCOMPARE(d->rosterList()->model()->rowCount(), 50);
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("二等奖"));
    QCOMPARE(grid->item(2, 2)->text(), QStringLiteral("5"));

    struct Case {
      int column;
      QString typed, other, want, message;
    };
    const Case cases[] = {
        {2, "60", "", "50", "不能超过总人数"},
        {2, "0", "", "1", "不能小于1"},
        {3, "20", "30", "30", "序号不能倒挂"},  // first 30 set, last 20 typed
        {2, "30", "20", "20", "序号不能倒挂"},  // last 20 set, first 30 typed
    };
    for (const Case& c : cases) {
      grid->item(0, c.column == 2 ? 3 : 2)->setText(c.other);
      dialogs.clearLog();
      enter(*d, 0, c.column, c.typed);
      QCOMPARE(grid->item(0, c.column)->text(), c.want);
      QCOMPARE(dialogs.log(), QStringList{QStringLiteral("message: ") + c.message});
      QCOMPARE(grid->currentColumn(), c.column);  // the cursor stays
    }

    // Accepted values walk on: first → last → the next row's first, the last row back to row 1.
    grid->item(0, 3)->setText(QString());
    dialogs.clearLog();
    enter(*d, 0, 2, "10");
    QCOMPARE(grid->currentColumn(), 3);
    enter(*d, 0, 3, "20");
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(grid->currentColumn(), 2);
    enter(*d, 2, 3, "40");
    QCOMPARE(grid->currentRow(), 0);
    QVERIFY(dialogs.log().isEmpty());

    enter(*d, 1, 2, "");
    QVERIFY(dialogs.log().last().contains(QStringLiteral("is not a valid integer value")));
    grid->setCurrentCell(1, 2);
    QTest::keyClicks(grid, "x");
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 必须输入数字"));
  }

  void closeStoresRangesAndTheSwitch() {
    open({"[奖项分组]", "1_B=3", "1_E=9", "150_E=7"});
    auto d = dialog();
    d->grid()->item(0, 2)->setText(QString());  // cleared and left with the mouse: no bound
    d->grid()->item(1, 2)->setText(QStringLiteral("11"));
    d->groupSwitch()->click();
    QVERIFY(!data.settings.awardGroupsOn);
    d->close();
    QCOMPARE(stored("1_B"), std::string("(none)"));
    QCOMPARE(stored("1_E"), std::string("9"));
    QCOMPARE(stored("2_B"), std::string("11"));
    QCOMPARE(stored("2_E"), std::string("(none)"));
    QCOMPARE(stored("150_E"), std::string("(none)"));
    QCOMPARE(base::IniFile(event.dir() / "Config.ini").readString(gbk("奖项分组设定"), "OpenClassify", ""),
             std::string("0"));
  }

  void aRangeTypedWithoutEnterIsStoredOnClose() {
    open();
    auto d = dialog();
    QTableWidget* grid = d->grid();
    grid->setCurrentCell(2, 2);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = grid->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, "17");  // shown in the cell, no Enter
    d->close();
    QCOMPARE(stored("3_B"), std::string("17"));
  }

  void aMissingRosterLeavesTheRangesAlone() {
    open({"[奖项分组]", "1_B=3"});
    std::filesystem::remove(event.dir() / "NameList.txt");
    auto d = dialog();
    QCOMPARE(dialogs.log().size(), 1);
    QCOMPARE(d->grid()->rowCount(), 0);
    d->close();
    QCOMPARE(stored("1_B"), std::string("3"));
  }
};

QTEST_MAIN(AwardGroupingTest)
#include "award_grouping_test.moc"
