// The predetermined winners and blacklist dialog driven through its widgets: the
// five buttons with their refusals, the switches, the save on close, rows that no
// longer match the roster, and a missing roster.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include "dialogs/TLuckPerson.h"
#include "draw/event_fixture.h"

using draw_testing::EventFixture;
using testing_support::gbk;

namespace {

QString cell(QTableWidget* grid, int row, int column) {
  auto* item = grid->item(row, column);
  return item ? item->text() : QString();
}

QStringList rowOf(QTableWidget* grid, int row) {
  QStringList cells;
  for (int c = 0; c < grid->columnCount(); ++c) cells << cell(grid, row, c);
  return cells;
}

}  // namespace

class PredeterminedTest : public QObject {
  Q_OBJECT

  EventFixture event;
  draw::DrawData data;
  screen::DialogService dialogs;
  int hideCalls = 0;

  void open(const std::vector<std::string>& extra = {}) {
    auto lines = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 2, 1}, {"三等奖", 3, 1}});
    lines.insert(lines.end(), extra.begin(), extra.end());
    event.config(lines);
    event.roster(EventFixture::numberedNames(20));
    data = draw::DrawData();
    event.start(data);
    dialogs.clearLog();
    hideCalls = 0;
  }
  std::unique_ptr<dialogs::TLuckPerson> dialog() {
    auto d = std::make_unique<dialogs::TLuckPerson>(data, event.folder(), dialogs, [this] { ++hideCalls; });
    d->show();
    return d;
  }
  static void choosePerson(dialogs::TLuckPerson& d, int serial) {
    QTableView* list = d.rosterList();
    list->selectionModel()->setCurrentIndex(list->model()->index(serial - 1, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  std::string stored(const char* section, const char* key) {
    return base::IniFile(event.dir() / "Config.ini").readString(gbk(section), key, "(none)");
  }

 private slots:
  void initTestCase() { dialogs.setHeadless(true); }

  void buttonsKeepTheListRules() {
    open();
    auto d = dialog();
    QCOMPARE(d->awardChooser()->count(), 3);
    QCOMPARE(rowOf(d->predeterminedGrid(), 0), QStringList(5, QString()));

    d->predetermine();
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 请选择人员"));
    QVERIFY(data.state.changed);
    choosePerson(*d, 12);
    d->predetermine();
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 请选择奖项"));

    d->awardChooser()->setCurrentIndex(0);
    d->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    QCOMPARE(rowOf(d->predeterminedGrid(), 0),
             (QStringList{"1", "12", QStringLiteral("人12"), "1", QStringLiteral("一等奖")}));
    QCOMPARE(d->rosterList()->selectionModel()->selectedRows().front().row(), 12);  // moved on to line 13

    choosePerson(*d, 12);
    d->awardChooser()->setCurrentIndex(1);
    d->predetermine();
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 人12已经内定过奖项"));
    d->barFromAll();
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 人12已经内定过奖项"));

    choosePerson(*d, 15);
    d->findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    choosePerson(*d, 15);
    d->barFromAward();
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 人15已设过黑名单"));
    d->awardChooser()->setCurrentIndex(2);
    d->barFromAward();
    choosePerson(*d, 15);
    d->findChild<QPushButton*>(QStringLiteral("Button4"))->click();
    QCOMPARE(d->blacklistGrid()->rowCount(), 3);
    QCOMPARE(rowOf(d->blacklistGrid(), 2),
             (QStringList{"3", "15", QStringLiteral("人15"), "0", QStringLiteral("全部")}));
    choosePerson(*d, 15);
    d->predetermine();
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 人15已设过黑名单"));

    // The only predetermined row removed: one empty row, no numbered key after closing.
    d->predeterminedGrid()->setCurrentCell(0, 0);
    d->removePredetermined();
    QCOMPARE(d->predeterminedGrid()->rowCount(), 1);
    QCOMPARE(cell(d->predeterminedGrid(), 0, 1), QString());
    d->blacklistGrid()->setCurrentCell(0, 0);
    d->removeBlacklisted();
    QCOMPARE(cell(d->blacklistGrid(), 0, 0), QStringLiteral("1"));
    QCOMPARE(cell(d->blacklistGrid(), 0, 3), QStringLiteral("3"));
    d->close();
    QCOMPARE(stored("内定设置", "1"), std::string("(none)"));
    QCOMPARE(stored("内定设置B", "1"), "1|15|" + gbk("人15") + "|3|" + gbk("三等奖"));
    QCOMPARE(stored("内定设置B", "2"), "2|15|" + gbk("人15") + "|0|" + gbk("全部"));
  }

  void switchesActAtOnceAndAreStored() {
    open();
    auto d = dialog();
    d->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->click();
    QVERIFY(data.settings.predeterminedOn);
    QVERIFY(data.state.changed);
    d->findChild<QCheckBox*>(QStringLiteral("CheckBox2"))->click();
    QVERIFY(data.settings.otherSettingsHidden);
    QCOMPARE(hideCalls, 1);
    choosePerson(*d, 12);
    d->awardChooser()->setCurrentIndex(0);
    d->predetermine();
    d->close();
    QCOMPARE(stored("内定设置", "Open"), std::string("1"));
    QCOMPARE(stored("内定设置", "Hide"), std::string("1"));
    QCOMPARE(stored("内定设置B", "Open"), std::string("0"));
    QCOMPARE(stored("内定设置", "1"), "1|12|" + gbk("人12") + "|1|" + gbk("一等奖"));
  }

  void rowsTheRosterNoLongerHoldsAreShownAndTold() {
    open({"[内定设置]", "1=1|3|人3|1|一等奖", "2=2|5|张三|2|二等奖", "[内定设置B]", "1=1|40|李四|0|全部"});
    auto d = dialog();
    QCOMPARE(d->staleRows(true), (std::vector<std::size_t>{1}));
    QCOMPARE(d->staleRows(false), (std::vector<std::size_t>{0}));
    QCOMPARE(d->predeterminedGrid()->item(1, 2)->foreground().color(), QColor(Qt::red));
    const QString told = dialogs.log().last();
    QVERIFY(told.contains(QStringLiteral("内定清单第2行: 序号5 张三")));
    QVERIFY(told.contains(QStringLiteral("黑名单第1行: 序号40 李四")));
  }

  void entriesOfAGoneAwardAreShownAndToldAndMovedOnesFollowTheirAward() {
    // Stored while 一等奖 stood at serial 2 and 四等奖 existed: now 一等奖 is award 1, 四等奖 is gone.
    open({"[内定设置]", "1=1|3|人3|2|一等奖", "2=2|4|人4|3|四等奖", "[内定设置B]", "1=1|6|人6|1|四等奖",
          "2=2|7|人7|0|全部"});
    auto d = dialog();
    QCOMPARE(d->goneAwardRows(true), (std::vector<std::size_t>{1}));
    QCOMPARE(d->goneAwardRows(false), (std::vector<std::size_t>{0}));
    QCOMPARE(d->predeterminedGrid()->item(1, 4)->foreground().color(), QColor(Qt::red));
    QVERIFY(d->predeterminedGrid()->item(0, 4)->foreground().color() != QColor(Qt::red));
    QCOMPARE(cell(d->predeterminedGrid(), 0, 3), QStringLiteral("1"));  // found by its name
    const QString told = dialogs.log().last();
    QVERIFY(told.contains(QStringLiteral("内定清单第2行: 序号4 人4 四等奖")));
    QVERIFY(told.contains(QStringLiteral("黑名单第1行: 序号6 人6 四等奖")));
    QVERIFY(!told.contains(QStringLiteral("人7")));
    d->close();
    QCOMPARE(stored("内定设置", "1"), "1|3|" + gbk("人3") + "|1|" + gbk("一等奖"));
  }

  void aMissingRosterLeavesTheStoredListsAlone() {
    open({"[内定设置]", "Open=1", "1=1|3|人3|1|一等奖"});
    std::filesystem::remove(event.dir() / "NameList.txt");
    auto d = dialog();
    QCOMPARE(dialogs.log().size(), 1);
    QVERIFY(dialogs.log().front().startsWith(QStringLiteral("message: ")));
    QCOMPARE(d->rosterList()->model()->rowCount(), 0);
    QVERIFY(!d->findChild<QPushButton*>(QStringLiteral("Button1"))->isEnabled());
    d->close();
    QCOMPARE(stored("内定设置", "1"), "1|3|" + gbk("人3") + "|1|" + gbk("一等奖"));
    QCOMPARE(stored("内定设置", "Open"), std::string("1"));
  }
};

QTEST_MAIN(PredeterminedTest)
#include "predetermined_test.moc"
