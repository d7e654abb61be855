// Questions answered from the keyboard on stage: Yes is the default button,
// except on a box put by a draw command, which the space bar cannot answer.
#include "screen/dialog_service.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class DialogServiceTest : public QObject {
  Q_OBJECT

 private slots:
  void enterAnswersYes_data() {
    QTest::addColumn<bool>("warning");
    QTest::newRow("question") << false;
    QTest::newRow("warning") << true;
  }

  void enterAnswersYes() {
    QFETCH(bool, warning);
    screen::DialogService dialogs;
    dialogs.setHeadless(false);
    bool yesIsDefault = false;
    QTimer::singleShot(0, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
      QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(dialogs.question(QStringLiteral("抽奖结束,是否显示全部中奖名单?"), warning));
    QVERIFY(yesIsDefault);
  }

  // The box a draw command puts up between two presses of the space bar: the
  // presses do nothing on it, wherever the focus is, and it takes the answer of
  // Enter (否), its Y/N keys, Escape or the mouse.
  void drawQuestionIgnoresTheSpaceBar_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Enter") << QStringLiteral("Enter") << false;
    QTest::newRow("Y") << QStringLiteral("Y") << true;
    QTest::newRow("N") << QStringLiteral("N") << false;
    QTest::newRow("Escape") << QStringLiteral("Escape") << false;
    QTest::newRow("click 是") << QStringLiteral("click") << true;
  }

  void drawQuestionIgnoresTheSpaceBar() {
    QFETCH(QString, answer);
    QFETCH(bool, yes);
    screen::DialogService dialogs;
    dialogs.setHeadless(false);
    bool openAfterSpaces = false;
    QString buttons;
    QTimer::singleShot(0, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      buttons = box->button(QMessageBox::Yes)->text() + box->button(QMessageBox::No)->text();
      QWidget* focus = box->focusWidget() ? box->focusWidget() : box;
      for (QWidget* target : {focus, static_cast<QWidget*>(box)}) {
        QTest::keyClick(target, Qt::Key_Space);
        QTest::keyPress(target, Qt::Key_Space);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(target, &repeat);  // held down
        QTest::keyRelease(target, Qt::Key_Space);
      }
      QTest::qWait(200);  // a click set off by a key lands 100 ms later
      openAfterSpaces = box->isVisible() && !box->clickedButton();
      if (answer == QLatin1String("click"))
        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
      else if (answer == QLatin1String("Enter"))
        QTest::keyClick(focus, Qt::Key_Return);
      else if (answer == QLatin1String("Escape"))
        QTest::keyClick(focus, Qt::Key_Escape);
      else
        QTest::keyClick(focus, answer == QLatin1String("Y") ? Qt::Key_Y : Qt::Key_N);
    });
    QCOMPARE(
        dialogs.drawQuestion(QStringLiteral("电脑声卡未安装,关闭音乐可解决,是否打开设置？"), QStringLiteral("提示")),
        yes);
    QVERIFY(openAfterSpaces);
    QCOMPARE(buttons, QStringLiteral("是(&Y)否(&N)"));
    QCOMPARE(dialogs.log(), QStringList{QStringLiteral("question: 电脑声卡未安装,关闭音乐可解决,是否打开设置？")});
  }
};

QTEST_MAIN(DialogServiceTest)
#include "dialog_service_test.moc"
