// Give-up (N18) and supplementary places (N58) in the real window, each followed
// by the next batch through the engine.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include "base/ini_file.h"
#include "dialog_testing.h"
#include "dialogs/TGiveUp.h"
#include "dialogs/TOtherItem.h"
#include "screen/main_menu.h"
#include "window_test_setup.h"

using dialog_testing::drawBatch;
using dialog_testing::recordAwards;
using dialog_testing::whenOpened;
using testing_support::gbk;
namespace item = draw::item;

namespace {

struct GiveUpStep {
  QString filter;  // the award chosen in ComboBox1
  int listRow;
  bool returnToPool;
  bool drawAgain;
};

void giveUp(TForm1& window, const GiveUpStep& step) {
  window.dialogs().setNextAnswer(true);
  whenOpened<TGiveUp>([step](TGiveUp& dialog) {
    auto* filter = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    QCOMPARE(filter->itemText(0), QStringLiteral("全部"));
    filter->setCurrentText(step.filter);
    auto* list = dialog.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
    QVERIFY(list->isColumnHidden(0) && list->isColumnHidden(2));
    for (int r = 0; r < list->rowCount(); ++r)
      if (step.filter != QStringLiteral("全部")) QCOMPARE(list->item(r, 3)->text(), step.filter);
    list->selectRow(step.listRow);
    dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(step.returnToPool);
    dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox2"))->setChecked(step.drawAgain);
    dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
  });
  window.mainMenu().action(QStringLiteral("N18"))->trigger();
}

// Types into the supplementary dialog and confirms.
void supplementary(TForm1& window, const QString& award, const QString& count, const QString& prize = {}) {
  whenOpened<TOtherItem>([=](TOtherItem& dialog) {
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    combo->setEditText(award);
    auto* prizeField = dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"));
    QCOMPARE(prizeField->isHidden(), combo->findText(award) >= 0);
    dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(count);
    prizeField->setText(prize);
    dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
  });
  window.mainMenu().action(QStringLiteral("N58"))->trigger();
}

}  // namespace

class AwardToolsTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void giveUpWithBothBoxesDrawsThePlaceAgainAndThePersonMayWinIt() {
    testing_support::TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 3, 3}, {"二等奖", 2, 2}});
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    drawBatch(window);
    draw::DrawData& data = window.drawData();
    const std::string person = data.LuckNameGrid.cell(draw::winner::kSerial, 2);
    giveUp(window, {QStringLiteral("一等奖"), 1, true, true});
    QVERIFY(window.dialogs().log().last().endsWith(QStringLiteral("确定要弃奖吗?")));
    QCOMPARE(data.count(1, item::kDrawn), 2);
    QCOMPARE(data.count(1, item::kGivenUp), 0);
    QCOMPARE(data.AllNameList.cell(draw::person::kFlag, std::stoul(person)), std::string("N"));
    QCOMPARE(base::readLines(folder / "LuckName.txt").size(), std::size_t(2));
    drawBatch(window);
    QCOMPARE(recordAwards(data), (std::vector<int>{1, 1, 1}));
    QCOMPARE(data.remaining(1), 0);
  }

  void giveUpWithoutAutoSupplementaryLosesThePlace() {
    testing_support::TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 3, 3}, {"二等奖", 2, 2}});
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    drawBatch(window);
    giveUp(window, {QStringLiteral("全部"), 0, false, false});
    draw::DrawData& data = window.drawData();
    QCOMPARE(data.count(1, item::kDrawn), 2);
    QCOMPARE(data.count(1, item::kGivenUp), 1);
    QCOMPARE(base::IniFile(folder / "Config.ini").readString(gbk("弃奖"), "1", ""), std::string("1"));
    drawBatch(window);  // award 1 is complete: the batch is award 2's
    QCOMPARE(recordAwards(data), (std::vector<int>{1, 1, 2, 2}));
  }

  void giveUpOfAnEarlierAwardIsDrawnBeforeTheAwardInHand() {
    testing_support::TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 2, 2}, {"二等奖", 4, 2}});
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    drawBatch(window);
    drawBatch(window);  // award 2 half drawn
    giveUp(window, {QStringLiteral("一等奖"), 0, true, true});
    drawBatch(window);
    QCOMPARE(recordAwards(window.drawData()), (std::vector<int>{1, 2, 2, 1}));
    drawBatch(window);
    QCOMPARE(recordAwards(window.drawData()), (std::vector<int>{1, 2, 2, 1, 2, 2}));
  }

  void giveUpRemovesExactlyTheChosenRecordOfAPersonWhoWonTwice() {
    testing_support::TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 1, 1}, {"二等奖", 2, 1}}, 3, true);
    folder.write("LuckName.txt", gbk("1|员工1|员工1|一等奖|1\r\n1|员工1|员工1|二等奖|2\r\n"));
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    giveUp(window, {QStringLiteral("二等奖"), 0, true, true});
    draw::DrawData& data = window.drawData();
    QCOMPARE(base::readLines(folder / "LuckName.txt"), std::vector<std::string>{gbk("1|员工1|员工1|一等奖|1")});
    QCOMPARE(data.count(1, item::kDrawn), 1);
    QCOMPARE(data.count(2, item::kDrawn), 0);
    drawBatch(window);
    drawBatch(window);
    QCOMPARE(recordAwards(data), (std::vector<int>{1, 2, 2}));
  }

  void neitherToolOpensWhileABatchRolls() {
    testing_support::TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 3, 3}});
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(window.timer(1).isActive());
    window.mainMenu().action(QStringLiteral("N18"))->trigger();  // a dialog would block here
    window.mainMenu().action(QStringLiteral("N58"))->trigger();
    QCOMPARE(window.dialogs().log().size(), 2);
    QTest::keyClick(&window, Qt::Key_Space);
    QCOMPARE(window.drawData().winnerCount(), std::size_t(3));
  }

  void giveUpWithAnEmptyListChangesNothing() {
    testing_support::TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 1, 1}});
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    whenOpened<TGiveUp>([](TGiveUp& dialog) { dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click(); });
    window.mainMenu().action(QStringLiteral("N18"))->trigger();
    QVERIFY(window.dialogs().log().isEmpty());
    QCOMPARE(window.drawData().winnerCount(), std::size_t(0));
  }

  void supplementaryReplacesTheCountAndANewAwardIsDrawnToItsEnd() {
    testing_support::TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 1, 1}, {"二等奖", 1, 1}}, 20);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    draw::DrawData& data = window.drawData();
    supplementary(window, QStringLiteral("一等奖"), QStringLiteral("2"));
    supplementary(window, QStringLiteral("一等奖"), QStringLiteral("3"));
    QCOMPARE(data.count(1, item::kSupplementary), 3);
    QCOMPARE(window.dialogs().log().last(), QStringLiteral("message: 补奖完成"));
    supplementary(window, QStringLiteral("特别奖"), QStringLiteral("4"), QStringLiteral("平板电脑"));
    QCOMPARE(data.awardRowCount(), std::size_t(3));
    const std::vector<std::string> row = base::readDelimitedRow(
        base::IniFile(folder / "Config.ini").readString(gbk("奖项设置"), "3", ""), item::kColumnCount);
    QCOMPARE(row.size(), std::size_t(13));
    QCOMPARE(row[1], gbk("特别奖"));
    QCOMPARE(base::IniFile(folder / "Config.ini").readString(gbk("补奖"), "3", ""), std::string("4"));
    // The single-award menu was rebuilt with the new award.
    QCOMPARE(window.mainMenu().submenu(QStringLiteral("N89"))->actions().size(), 3);

    for (int press = 0; press < 20 && data.remaining(3) > 0; ++press) drawBatch(window);
    QCOMPARE(recordAwards(data), (std::vector<int>{1, 1, 1, 1, 2, 3, 3, 3, 3}));
  }

  void supplementaryRefusesBadCountsAndWritesNothing() {
    testing_support::TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 1, 1}});
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    const std::string before = folder.read("Config.ini");
    const struct {
      QString count;
      QString message;
    } cases[] = {{QString(), QStringLiteral("message: 补奖个数必须大于零")},
                 {QStringLiteral("0"), QStringLiteral("message: 补奖个数必须大于零")},
                 {QStringLiteral("9999999999"), QStringLiteral("message: '9999999999' is not a valid integer value")}};
    for (const auto& c : cases) {
      window.dialogs().clearLog();
      whenOpened<TOtherItem>([&c](TOtherItem& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(c.count);
        dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QVERIFY(dialog.isVisible());  // stays open for a correction
      });
      window.mainMenu().action(QStringLiteral("N58"))->trigger();
      QCOMPARE(window.dialogs().log(), QStringList{c.message});
    }
    QCOMPARE(folder.read("Config.ini"), before);

    // Letters are refused as they are typed.
    window.dialogs().clearLog();
    whenOpened<TOtherItem>([](TOtherItem& dialog) {
      auto* count = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
      QTest::keyClicks(count, QStringLiteral("1a2"));
      QCOMPARE(count->text(), QStringLiteral("12"));
    });
    window.mainMenu().action(QStringLiteral("N58"))->trigger();
    QCOMPARE(window.dialogs().log(), QStringList{QStringLiteral("message: 必须输入数字")});
  }
};

QTEST_MAIN(AwardToolsTest)
#include "award_tools_test.moc"
