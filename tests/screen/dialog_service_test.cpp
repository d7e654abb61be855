// Questions answered from the keyboard on stage: Yes is the default button.
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
};

QTEST_MAIN(DialogServiceTest)
#include "dialog_service_test.moc"
