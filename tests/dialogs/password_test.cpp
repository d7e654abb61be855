// The password dialog and the old-password check of menu N106.
#include <QLineEdit>
#include <QPushButton>

#include "dialog_testing.h"
#include "dialogs/TPasswdSet.h"
#include "platform/password_store.h"
#include "screen/lock_check.h"
#include "screen/main_menu.h"
#include "window_test_setup.h"

using dialog_testing::whenOpened;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

struct Typed {
  QString first;
  QString second;
};

// Types both fields and presses "确定"; true when the dialog closed as accepted.
bool confirm(TPasswdSet& dialog, const Typed& typed) {
  dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(typed.first);
  dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(typed.second);
  dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
  return dialog.result() == QDialog::Accepted;
}

}  // namespace

class PasswordTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void theDialogStoresOnlyMatchingPasswordsOfFourBytesOrMore() {
    TestFolder folder;
    platform::PasswordStore store(folder / "registry.ini");
    const struct {
      Typed typed;
      QString message;  // empty: accepted
      std::string stored;
    } cases[] = {
        {{QStringLiteral("abcd"), QStringLiteral("abcd")}, {}, "abcd"},
        {{QStringLiteral("密码"), QStringLiteral("密码")}, {}, gbk("密码")},
        {{QStringLiteral("abc"), QStringLiteral("abc")}, QStringLiteral("密码长度不能小于4位"), ""},
        {{QStringLiteral("abcd"), QStringLiteral("abce")}, QStringLiteral("两次输入的密码不一次"), ""},
        {{QStringLiteral("ab\U0001F600c"), QStringLiteral("ab\U0001F600c")}, {}, gbk("ab\U0001F600c")},
        {{QStringLiteral("ab") + QChar(0xD800) + QStringLiteral("cd"),
          QStringLiteral("ab") + QChar(0xD800) + QStringLiteral("cd")},
         QStringLiteral("密码含有无法保存的字符,请换用其它字符"),
         ""},
    };
    for (const auto& c : cases) {
      store.setPassword("");
      screen::DialogService dialogs;
      TPasswdSet dialog(store, dialogs);
      const bool accepted = confirm(dialog, c.typed);
      QCOMPARE(accepted, c.message.isEmpty());
      QCOMPARE(dialogs.log(),
               c.message.isEmpty() ? QStringList() : QStringList{QStringLiteral("message: ") + c.message});
      QCOMPARE(store.password(), c.stored);
    }
    store.setPassword("abcd");
    const std::string stored = base::IniFile(store.file()).readString("Software\\Kelvalot", "nomle", "");
    QCOMPARE(stored.size(), std::size_t(8));
    QVERIFY(stored.find_first_not_of("0123456789ABCDEF") == std::string::npos);
  }

  void itOpensWithTheCurrentPasswordMaskedAndRemovesTheLock() {
    TestFolder folder;
    platform::PasswordStore store(folder / "registry.ini");
    store.setPassword(gbk("密码ab"));
    screen::DialogService dialogs;
    {
      TPasswdSet dialog(store, dialogs);
      auto* first = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
      QCOMPARE(first->echoMode(), QLineEdit::Password);
      QCOMPARE(first->text(), QStringLiteral("密码ab"));
      QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"))->text(), QStringLiteral("密码ab"));
      dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();  // "确定" at once keeps it
      QCOMPARE(store.password(), gbk("密码ab"));
    }
    TPasswdSet dialog(store, dialogs);
    dialog.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(store.password(), std::string());
    QVERIFY(screen::passLock(store, dialogs));
    QVERIFY(dialogs.log().isEmpty());  // no prompt without a password
  }

  void aStoreThatCannotBeWrittenIsReportedAndTheDialogStaysOpen() {
    TestFolder folder;
    folder.write("blocked", "a file where the store's folder should be");
    platform::PasswordStore store(folder / "blocked" / "registry.ini");
    screen::DialogService dialogs;
    TPasswdSet dialog(store, dialogs);
    QVERIFY(!confirm(dialog, {QStringLiteral("abcd"), QStringLiteral("abcd")}));
    QCOMPARE(dialogs.log().size(), 1);
    QVERIFY(dialogs.log().first().startsWith(QStringLiteral("message: 密码无法保存")));
    dialog.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialogs.log().size(), 2);
  }

  void menuN106AsksForTheOldPasswordCaseSensitively() {
    TestFolder config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string()));
    platform::PasswordStore store;
    QCOMPARE(store.file(), config / "Kelvalot" / "registry.ini");
    store.setPassword("Abcd");
    TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 1, 1}});
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));

    window.dialogs().setNextText(QStringLiteral("abcd"));
    window.mainMenu().action(QStringLiteral("N106"))->trigger();  // no dialog opens
    QCOMPARE(window.dialogs().log(),
             (QStringList{QStringLiteral("text: 请输入原密码"),
                          QStringLiteral("message: 抱歉,原密码不正确,不能修改新密码。如需帮助请联系软件作者")}));

    window.dialogs().setNextText(QStringLiteral("Abcd"));
    whenOpened<TPasswdSet>([](TPasswdSet& dialog) {
      QVERIFY(confirm(dialog, {QStringLiteral("新密码12"), QStringLiteral("新密码12")}));
    });
    window.mainMenu().action(QStringLiteral("N106"))->trigger();
    QCOMPARE(store.password(), gbk("新密码12"));
    qunsetenv("XDG_CONFIG_HOME");
  }
};

QTEST_MAIN(PasswordTest)
#include "password_test.moc"
