// The award, grouping and predetermined dialogs opened from the draw screen as
// the operator opens them: the menu entries and F2, the lock, the questions, the
// restart offer, the hidden entry, and a whole event set up in the dialogs and
// drawn to its end by the engine.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <set>

#include "app/TForm1.h"
#include "dialogs/TClassifyForm.h"
#include "dialogs/TLuckPerson.h"
#include "dialogs/TSysItem.h"
#include "draw/event_fixture.h"
#include "platform/password_store.h"
#include "screen/main_menu.h"
#include "test_folder.h"
#include "window_event.h"
#include "window_test_setup.h"

using draw_testing::EventFixture;
using testing_support::gbk;
namespace winner = draw::winner;

namespace {

const QSize kDesktop(1280, 720);

// One award of two places drawn one at a time, 30 people.
window_testing::WindowEvent openerEvent() {
  window_testing::WindowEvent event({{"一等奖", 2, 1}});
  event.set("界面设置", {"隐私_check=0", "分组显示名单=0", "抽奖准备=0"}).people(30, "人");
  return event;
}

std::unique_ptr<TForm1> openWindow(const EventFixture& event) {
  auto window = std::make_unique<TForm1>(event.dir().path(), nullptr, kDesktop);
  window->show();
  return window;
}

// Runs `act` on the modal dialog of type D once it is open; `seen` tells whether it was.
template <typename D>
void whenOpen(std::function<void(D&)> act, bool* seen) {
  *seen = false;
  QTimer::singleShot(0, [act, seen] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    *seen = true;
    act(*dialog);
  });
}

void trigger(TForm1& window, const char* item) { window.mainMenu().action(QString::fromLatin1(item))->trigger(); }

void enterCell(QTableWidget* grid, int row, int column, const QString& text) {
  grid->setCurrentCell(row, column);
  grid->item(row, column)->setText(text);
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Return);
}

}  // namespace

class AwardOpenersTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void anEventSetUpInTheDialogsIsDrawnToItsEnd() {
    EventFixture event;
    openerEvent().write(event.dir());
    auto window = openWindow(event);
    screen::DialogService& asked = window->dialogs();

    // A second award of 4 places in batches of 2.
    bool seen = false;
    whenOpen<dialogs::TSysItem>(
        [&asked](dialogs::TSysItem& d) {
          asked.setNextText(QStringLiteral("二等奖"));
          d.addAward();
          QTableWidget* grid = d.grid();
          grid->item(1, 2)->setText(QStringLiteral("4"));
          grid->item(1, 3)->setText(QStringLiteral("2"));
          grid->setCurrentCell(1, 5);
          d.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        },
        &seen);
    asked.setNextAnswer(true);  // the restart offer: the draw takes the new table
    trigger(*window, "N8");
    QVERIFY(seen);
    QVERIFY(asked.log().contains(QStringLiteral("question: 奖项设置已修改,是否重新开始抽奖?")));
    QCOMPARE(window->drawData().awardRowCount(), std::size_t{2});

    // Award 2 only from serials 11 to 20.
    whenOpen<dialogs::TClassifyForm>(
        [](dialogs::TClassifyForm& d) {
          enterCell(d.grid(), 1, 2, QStringLiteral("11"));
          enterCell(d.grid(), 1, 3, QStringLiteral("20"));
          d.close();
        },
        &seen);
    trigger(*window, "N11");
    QVERIFY(seen);

    // Person 15 predetermined for award 2, by F2; then the restart is accepted.
    whenOpen<dialogs::TLuckPerson>(
        [](dialogs::TLuckPerson& d) {
          QTableView* list = d.rosterList();
          list->selectionModel()->setCurrentIndex(list->model()->index(14, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
          d.awardChooser()->setCurrentIndex(1);
          d.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
          d.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->click();
          d.close();
        },
        &seen);
    asked.setNextAnswer(true);  // 确定要打开此设置吗?
    asked.setNextAnswer(true);  // 设置已修改,是否重新开始抽奖?
    QTest::keyClick(window.get(), Qt::Key_F2);
    QVERIFY(seen);
    QVERIFY(asked.log().contains(QStringLiteral("question: 设置已修改,是否重新开始抽奖?")));
    QCOMPARE(window->drawData().LuckDetail.cell(draw::entry::kPerson, 1), "15");

    // A program restart on the same folder, then the whole event by space bar.
    window.reset();
    window = openWindow(event);
    for (int i = 0;
         i < 20 && !window->dialogs().log().contains(QStringLiteral("question: 抽奖结束,是否显示全部中奖名单?")); ++i) {
      QTest::keyClick(window.get(), Qt::Key_Space);
      if (window->luck().rolling())
        for (int t = 0; t < 3; ++t) window->luck().Timer1Timer();
    }
    const draw::DrawData& data = window->drawData();
    QCOMPARE(data.winnerCount(), std::size_t{6});
    std::set<int> second;
    for (std::size_t r = 1; r <= data.winnerCount(); ++r) {
      const int serial = std::stoi(data.LuckNameGrid.cell(winner::kSerial, r));
      const std::string award = data.LuckNameGrid.cell(winner::kAwardSerial, r);
      if (award == "2") {
        second.insert(serial);
        QVERIFY2(serial >= 11 && serial <= 20, qPrintable(QString::number(serial)));
      } else {
        QVERIFY(serial != 15);
      }
    }
    QCOMPARE(second.size(), std::size_t{4});
    QVERIFY(second.count(15));
    QCOMPARE(data.count(2, draw::item::kBatchSize), 2);
  }

  void questionsLockAndTheHiddenEntry() {
    EventFixture event;
    openerEvent().set("内定设置", {"Hide=1"}).write(event.dir());
    event.dir().write("LuckName.txt", "1|" + gbk("人1") + "|" + gbk("人1") + "|" + gbk("一等奖") + "|1\r\n");
    auto window = openWindow(event);
    screen::DialogService& asked = window->dialogs();
    QVERIFY(!window->mainMenu().action(QStringLiteral("N92"))->isVisible());

    // Winners exist: the award settings ask first; No opens nothing.
    bool seen = false;
    whenOpen<dialogs::TSysItem>([](dialogs::TSysItem& d) { d.reject(); }, &seen);
    asked.setNextAnswer(false);
    trigger(*window, "N8");
    QVERIFY(!seen);
    QVERIFY(asked.log().contains(QStringLiteral("question: 抽奖已开始,修改奖项设置可能会导致重新抽奖，是否确定打开?")));
    QTest::qWait(1);  // the check for a dialog that never opened runs now, not inside the next one

    // F2 still opens the hidden dialog; unhiding shows the entry at once.
    whenOpen<dialogs::TLuckPerson>(
        [](dialogs::TLuckPerson& d) {
          d.findChild<QCheckBox*>(QStringLiteral("CheckBox2"))->click();
          d.close();
        },
        &seen);
    asked.setNextAnswer(true);
    QTest::keyClick(window.get(), Qt::Key_F2);
    QVERIFY(seen);
    QVERIFY(window->mainMenu().action(QStringLiteral("N92"))->isVisible());
    QVERIFY(!asked.log().contains(QStringLiteral("question: 设置已修改,是否重新开始抽奖?")));

    // With a lock password, a wrong answer opens nothing.
    platform::PasswordStore(setup_.userSettings().path() / "Kelvalot" / "registry.ini").setPassword("secret");
    asked.setNextText(QStringLiteral("wrong"));
    whenOpen<dialogs::TClassifyForm>([](dialogs::TClassifyForm& d) { d.close(); }, &seen);
    trigger(*window, "N11");
    QVERIFY(!seen);
    QCOMPARE(asked.log().last(), QStringLiteral("message: 抱歉,密码不正确,不能修改"));
    QTest::qWait(1);
    platform::PasswordStore(setup_.userSettings().path() / "Kelvalot" / "registry.ini").setPassword("");
  }
};

QTEST_MAIN(AwardOpenersTest)
#include "award_openers_test.moc"
