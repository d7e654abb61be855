// The installed program run as root (a kiosk, "sudo kelvara"): root could write
// anywhere, so only the rule keeps it out of the program folder. The real
// program is run on a copy of the built program folder that belongs to another
// user, the way a package's folder belongs to root when a user runs it; it
// starts, lays out its event in the data folder, and ends as a kiosk ends it
// (SIGTERM), with its exit save.
#include <unistd.h>

#include <QProcess>
#include <QtTest>
#include <filesystem>
#include <map>
#include <thread>

#include "base/text_file.h"
#include "test_folder.h"

namespace fs = std::filesystem;

namespace {

// Every file below the folder with its bytes: what "unchanged" means here.
std::map<fs::path, std::string> snapshot(const fs::path& folder) {
  std::map<fs::path, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const fs::path relative = fs::relative(entry.path(), folder);
    files[relative] = entry.is_regular_file() ? base::readFile(entry.path()) : std::string("<folder>");
  }
  return files;
}

bool waitFor(const std::function<bool()>& condition, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

}  // namespace

class InstalledProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void runAsRootWritesOnlyUnderTheUsersDataFolder() {
    if (::geteuid() != 0) QSKIP("needs root: the rule matters where every permission check passes");
    const fs::path built(KV_PROGRAM_DIR);
    const fs::path executableName(KV_APP_TITLE);
    if (!fs::exists(built / executableName)) QSKIP("the program is not built");

    testing_support::TestFolder dir;
    const fs::path program = dir / "lib/kelvara";
    fs::create_directories(program.parent_path());
    fs::copy(built, program, fs::copy_options::recursive);
    // A fresh install holds no event of its own.
    for (const char* made : {"Config.ini", "LuckName.txt", "log.txt", ".kelvara-event.lock"})
      fs::remove(program / made);
    for (const auto& entry : fs::recursive_directory_iterator(program))
      QVERIFY(::lchown(entry.path().c_str(), 65534, 65534) == 0);
    QVERIFY(::chown(program.c_str(), 65534, 65534) == 0);
    const auto before = snapshot(program);

    const fs::path runtime = dir / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QString::fromStdString((dir / "home").string()));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString((dir / "data").string()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((dir / "config").string()));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime.string()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    run.setProcessEnvironment(env);
    run.setProgram(QString::fromStdString((program / executableName).string()));
    run.start();
    QVERIFY(run.waitForStarted(10000));

    const fs::path event = dir / "data" / executableName;
    QVERIFY2(waitFor([&] { return fs::exists(event / ".kelvara-event.lock"); }, 30), "the event was not laid out");
    std::this_thread::sleep_for(std::chrono::seconds(3));  // start-up and the resolution check run
    run.terminate();
    const bool ended = run.waitForFinished(15000);
    if (!ended) {
      run.kill();
      run.waitForFinished(5000);
    }
    QVERIFY2(ended, "SIGTERM did not end the program");
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);

    QVERIFY(snapshot(program) == before);
    QVERIFY(fs::exists(event / "SysConfig.ini"));
    QVERIFY(fs::is_directory(event / "photo"));
    QVERIFY2(fs::exists(event / "Config.ini"), "the exit save did not run");
  }
};

QTEST_MAIN(InstalledProgramTest)
#include "installed_program_test.moc"
