// Shows one of the event's tool dialogs over the draw screen for a screenshot:
//   tool_dialogs_shots PROGRAM_DIR SCENE
// SCENE: giveup (after two batches), supplementary (a new award typed), sound,
// password, lock (the password prompt before the award settings). PROGRAM_DIR
// is a copy of an event (it is drawn in and written to). Quits by itself after
// seven seconds (a shot, Enter, a second shot).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/TForm1.h"
#include "platform/font_substitutions.h"
#include "platform/password_store.h"
#include "screen/main_menu.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  if (argc < 3) return 2;
  const std::filesystem::path programDir = argv[1];
  const QString scene = QString::fromLocal8Bit(argv[2]);

  TForm1 window(programDir);
  window.setGeometry(window.screen()->availableGeometry());
  window.show();
  if (scene == "giveup") {
    // Without a sound device the draw asks about the sound card; the shot is of the dialog.
    window.dialogs().setHeadless(true);
    for (int press = 0; press < 6 || window.timer(1).isActive(); ++press) QTest::keyClick(&window, Qt::Key_Space);
    window.dialogs().setHeadless(false);
  }
  // The lock prompt asks before the award settings open once a password is set.
  if (scene == "lock") platform::PasswordStore().setPassword("abcd");
  const char* item = scene == "giveup"          ? "N18"
                     : scene == "supplementary" ? "N58"
                     : scene == "sound"         ? "N12"
                     : scene == "lock"          ? "N8"
                                                : "N106";
  QTimer::singleShot(800, &window, [&window, item, scene] {
    if (scene == "supplementary")
      QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) return;
        dialog->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setEditText(QStringLiteral("特别奖"));
        dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("4"));
        dialog->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("平板电脑一台"));
      });
    window.mainMenu().action(QString::fromLatin1(item))->trigger();
  });
  QTimer::singleShot(7000, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
    QApplication::quit();
  });
  return app.exec();
}
