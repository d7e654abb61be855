// The lock password's stored form and the lock check of the protected commands.
#include "screen/lock_check.h"

#include <QtTest>
#include <filesystem>

#include "base/conversion_error.h"
#include "base/ini_file.h"
#include "platform/password_store.h"
#include "test_folder.h"

using testing_support::gbk;
using testing_support::TestFolder;

class LockCheckTest : public QObject {
  Q_OBJECT

 private slots:
  void storedFormScramblesBytePairs() {
    QCOMPARE(platform::scramblePassword("abcd").size(), std::size_t(8));
    QCOMPARE(platform::scramblePassword(gbk("密码")).size(), std::size_t(8));
    const std::string longer = gbk("一二三四五六七八九十") + "xyz";  // beyond the key's 8 bytes
    const std::string stored = platform::scramblePassword(longer);
    QVERIFY(stored.find_first_not_of("0123456789ABCDEF") == std::string::npos);
    QCOMPARE(platform::unscramblePassword(stored), longer);
    QCOMPARE(platform::unscramblePassword(stored + "7"), longer);  // an odd last character is ignored
    QVERIFY_THROWS_EXCEPTION(base::ConversionError, platform::unscramblePassword("4G"));
  }

  void storeIsPrivateAndEmptyMeansNoLock() {
    TestFolder folder;
    platform::PasswordStore store(folder / "Kelvalot" / "registry.ini");
    QCOMPARE(store.password(), std::string());
    store.setPassword("Abcd");
    QCOMPARE(store.password(), std::string("Abcd"));
    namespace fs = std::filesystem;
    QCOMPARE(fs::status(store.file()).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    QCOMPARE(fs::status(store.file().parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
    QCOMPARE(base::IniFile(store.file()).readString("Software\\Kelvalot", "nomle", ""),
             platform::scramblePassword("Abcd"));
    store.setPassword("");
    QCOMPARE(store.password(), std::string());
  }

  void lockCheckPromptsOnlyWhenAPasswordIsStored() {
    TestFolder folder;
    platform::PasswordStore store(folder / "registry.ini");
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    QVERIFY(screen::passLock(store, dialogs));
    QVERIFY(dialogs.log().isEmpty());

    store.setPassword(gbk("密码"));
    struct Case {
      std::optional<QString> typed;
      bool passes;
    };
    const Case cases[] = {{QStringLiteral("密码"), true},
                          {QStringLiteral("密"), false},
                          {std::nullopt, false},
                          {QStringLiteral(""), false}};
    for (const Case& c : cases) {
      dialogs.clearLog();
      dialogs.setNextText(c.typed);
      QCOMPARE(screen::passLock(store, dialogs), c.passes);
      QStringList expected = {"text: 系统已作管制,请输入密码"};
      if (!c.passes) expected << "message: 抱歉,密码不正确,不能修改";
      QCOMPARE(dialogs.log(), expected);
    }
    store.setPassword("Abcd");
    dialogs.setNextText(QStringLiteral("abcd"));
    QVERIFY(!screen::lockCheck(store, dialogs));
  }

  void damagedStoreStopsTheCommandWithTheConversionMessage() {
    TestFolder folder;
    base::IniFile(folder / "registry.ini").writeString("Software\\Kelvalot", "nomle", "ZZ");
    platform::PasswordStore store(folder / "registry.ini");
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    QVERIFY(!screen::passLock(store, dialogs));
    QCOMPARE(dialogs.log(), QStringList({"message: '$ZZ' is not a valid integer value"}));
  }
};

QTEST_MAIN(LockCheckTest)
#include "lock_check_test.moc"
