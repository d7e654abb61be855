// Configuration export (N108) and import (N109) on a copy of the demo event, and
// the restart that follows an import.
#include <QCoreApplication>
#include <QFileInfo>
#include <QSignalSpy>
#include <map>

#include "dialog_testing.h"
#include "platform/single_instance.h"
#include "screen/main_menu.h"
#include "window_test_setup.h"

using testing_support::gbk;
using testing_support::TestFolder;
namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> contents(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = base::readFile(entry.path());
  return files;
}

QString qpath(const fs::path& path) { return QString::fromStdString(path.string()); }

std::string executableName() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString(); }

// The demo event in a program folder of its own, with a stand-in for the executable.
fs::path installDemo(const TestFolder& root, const std::string& name = "Kelvara抽奖软件") {
  const fs::path program = root / name;
  fs::copy(KV_DIST_DIR, program, fs::copy_options::recursive);
  base::writeFileAtomically(program / executableName(), "the program");
  return program;
}

}  // namespace

class ConfigurationTransferTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void exportCopiesTheEventWithoutTheExecutableAndImportBringsItBack() {
    TestFolder root;
    const fs::path program = installDemo(root);
    fs::create_directories(program / "photo");
    fs::create_directories(program / "data");
    base::writeFileAtomically(program / "photo" / "员工1.jpg", "photo");
    base::writeFileAtomically(program / "data" / "评分文件.txt", "scores");
    const fs::path chosen = root / "U盘";
    fs::create_directories(chosen);
    std::map<std::string, std::string> exported;
    {
      TForm1 window(program, nullptr, QSize(1280, 720));
      dialog_testing::drawBatch(window);
      window.saveState();
      window.dialogs().clearLog();
      window.dialogs().setNextFolder(qpath(chosen));
      window.mainMenu().action(QStringLiteral("N108"))->trigger();
      QCOMPARE(window.dialogs().log(),
               (QStringList{QStringLiteral("folder: 请选择保存路径"),
                            QStringLiteral("message: 导出完成,文件路径:") + qpath(chosen) + "/Kelvara抽奖软件"}));
      exported = contents(chosen / "Kelvara抽奖软件");
      auto expected = contents(program);
      QVERIFY(expected.erase(executableName()) == 1);
      QCOMPARE(exported, expected);
      QVERIFY(!exported.at("LuckName.txt").empty());

      // Again into the same folder: the question, and No copies nothing.
      base::writeFileAtomically(chosen / "Kelvara抽奖软件" / "Config.ini", "kept");
      window.dialogs().clearLog();
      window.dialogs().setNextFolder(qpath(chosen));
      window.dialogs().setNextAnswer(false);
      window.mainMenu().action(QStringLiteral("N108"))->trigger();
      QCOMPARE(window.dialogs().log().last(), QStringLiteral("question: 备份文件已存在,是否覆盖?"));
      QCOMPARE(base::readFile(chosen / "Kelvara抽奖软件" / "Config.ini"), std::string("kept"));
      base::writeFileAtomically(chosen / "Kelvara抽奖软件" / "Config.ini", exported.at("Config.ini"));
    }

    // Import into another installation of the demo that has not drawn anything.
    TestFolder otherRoot;
    const fs::path other = installDemo(otherRoot);
    {
      TForm1 window(other, nullptr, QSize(1280, 720));
      QSignalSpy restart(&window, &TForm1::restartRequested);
      // State of the old instance that its exit save would write over the imported files.
      window.model().label(screen::Label::MainTitle).caption = gbk("旧的标题");
      window.dialogs().setNextFolder(qpath(chosen / "Kelvara抽奖软件"));
      window.mainMenu().action(QStringLiteral("N109"))->trigger();
      QCOMPARE(window.dialogs().log().last(), QStringLiteral("message: 导入完成,系统将重新开启。"));
      QCOMPARE(restart.count(), 1);
      window.close();  // the old instance ends without its exit save
    }
    const auto imported = contents(other);
    for (const char* file : {"Config.ini", "LuckName.txt", "log.txt", "NameList.txt"})
      QCOMPARE(imported.at(file), exported.at(file));
    for (const auto& [name, bytes] : exported)
      if (name.rfind("music/", 0) == 0 || name.rfind("backpic/", 0) == 0) QCOMPARE(imported.at(name), bytes);

    // A backup without "music": the rest is taken over, no completion message, and
    // the program still restarts.
    fs::remove_all(chosen / "Kelvara抽奖软件" / "music");
    TestFolder thirdRoot;
    TForm1 third(installDemo(thirdRoot), nullptr, QSize(1280, 720));
    QSignalSpy thirdRestart(&third, &TForm1::restartRequested);
    third.dialogs().clearLog();
    third.dialogs().setNextFolder(qpath(chosen / "Kelvara抽奖软件"));
    third.mainMenu().action(QStringLiteral("N109"))->trigger();
    QCOMPARE(third.dialogs().log(), QStringList{QStringLiteral("folder: 请选择备份文件路径")});
    QCOMPARE(thirdRestart.count(), 1);
    QCOMPARE(base::readFile(thirdRoot / "Kelvara抽奖软件" / "LuckName.txt"), exported.at("LuckName.txt"));

    // The new instance runs on the imported files.
    TForm1 again(other, nullptr, QSize(1280, 720));
    const auto records = base::splitLines(exported.at("LuckName.txt"));
    QCOMPARE(again.drawData().winnerCount(), records.size());
    QCOMPARE(draw::winnerRecordLine(again.drawData().LuckNameGrid, 1), records.front());
  }

  void refusedDestinationsAndBackupsCopyNothing() {
    TestFolder root;
    const fs::path program = installDemo(root);
    TForm1 window(program, nullptr, QSize(1280, 720));
    QSignalSpy restart(&window, &TForm1::restartRequested);
    const auto before = contents(root.path());
    fs::create_directories(root / "备份");
    base::writeFileAtomically(root / "备份" / "Config.ini", "not to be taken");
    fs::create_directories(root / "empty" / "Kelvara抽奖软件");
    const struct {
      const char* item;
      fs::path chosen;
      QString message;
    } cases[] = {
        {"N108", program / "backpic", QStringLiteral("message: 不能导出到本软件所在的文件夹之内,请选择其它文件夹")},
        {"N108", root.path(), QStringLiteral("message: 不能导出到本软件所在的文件夹之内,请选择其它文件夹")},
        {"N109", root / "备份", QStringLiteral("message: 备份文件名称不正确,备份文件夹名称应为 Kelvara抽奖软件")},
        {"N109", root / "empty" / "Kelvara抽奖软件",
         QStringLiteral("message: 所选文件夹中没有配置备份文件,未导入任何文件")},
    };
    for (const auto& c : cases) {
      window.dialogs().clearLog();
      window.dialogs().setNextFolder(qpath(c.chosen));
      window.mainMenu().action(QString::fromLatin1(c.item))->trigger();
      QCOMPARE(window.dialogs().log().last(), c.message);
    }
    // Cancelled choosers do nothing either.
    window.mainMenu().action(QStringLiteral("N108"))->trigger();
    window.mainMenu().action(QStringLiteral("N109"))->trigger();
    QCOMPARE(restart.count(), 0);
    auto after = contents(root.path());
    after.erase("备份/Config.ini");
    QCOMPARE(after, before);
  }

  void theRestartLetsGoOfTheInstanceLockBeforeTheNewInstanceStarts() {
    TestFolder locks;
    platform::SingleInstanceGuard running(QStringLiteral("Kelvara抽奖软件"), qpath(locks.path()));
    QVERIFY(running.acquire());
    QString started;
    bool newInstanceGotTheLock = false;
    QVERIFY(platform::restartProgram(running, QStringLiteral("/opt/draw/Kelvara抽奖软件"), [&](const QString& exe) {
      started = exe;
      platform::SingleInstanceGuard next(QStringLiteral("Kelvara抽奖软件"), qpath(locks.path()));
      newInstanceGotTheLock = next.acquire();
      return true;
    }));
    QCOMPARE(started, QStringLiteral("/opt/draw/Kelvara抽奖软件"));
    QVERIFY(newInstanceGotTheLock);
  }
};

QTEST_MAIN(ConfigurationTransferTest)
#include "configuration_transfer_test.moc"
