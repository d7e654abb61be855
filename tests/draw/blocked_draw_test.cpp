// A start-up that cannot load the winners record whole, for whatever reason,
// draws nothing until a start-up can: the screen says why and what to do, and
// every command that would draw is refused with that message. And a batch cut
// short by a kill is shown again at the next start.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "base/text_file.h"
#include "draw/startup.h"
#include "draw_run.h"
#include "event_fixture.h"
#include "file_size_limit.h"
#include "immutable_file.h"
#include "ordinary_user.h"

namespace {

using draw_testing::DrawRun;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

// 幸运奖 of 20 places drawn 5 at a time, everybody eligible once.
void writeEvent(EventFixture& event) {
  auto config = EventFixture::awardLines({{"幸运奖", 20, 5}, {"二等奖", 40, 5}});
  config.insert(config.end(), {"[界面设置]", "重复中奖=0", "抽奖顺序=0", "抽奖准备=0", "分组显示名单=0", "[音效设置]",
                               "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
  event.config(config);
  event.roster(EventFixture::numberedNames(120));
}

std::string records(int from, int to, int award) {
  std::string text;
  for (int person = from; person <= to; ++person)
    text += std::to_string(person) + "|" + gbk("人") + std::to_string(person) + "|x|" + gbk("奖") + "|" +
            std::to_string(award) + "\r\n";
  return text;
}

// The draw is refused, says why, and the winners record is as it was.
void expectRefused(DrawRun& run, const EventFixture& event, const std::string& recordBefore, const std::string& why) {
  EXPECT_FALSE(run.data.state.drawBlocked.empty());
  EXPECT_EQ(base::gbkToUtf8(run.view.fieldText[draw::Field::ActionHint]), "现在不能抽奖,请按空格键查看原因");
  const std::size_t told = run.view.transcript.size();
  run.batch();
  run.luck.singleAwardCommand(1);
  EXPECT_FALSE(run.luck.rolling());
  ASSERT_EQ(run.view.transcript.size(), told + 3);
  for (std::size_t i = told; i < run.view.transcript.size(); ++i) {
    const std::string text = base::gbkToUtf8(run.view.transcript[i].text);
    EXPECT_NE(text.find(why), std::string::npos) << text;
    EXPECT_NE(text.find("重新启动程序"), std::string::npos) << text;
  }
  EXPECT_EQ(run.data.state.singleAwardTarget, 0);
  EXPECT_EQ(event.dir().read("LuckName.txt"), recordBefore);
}

// A finished 幸运奖 and a torn last line on a full disk: the repair cannot keep its
// copy, so the record is not loaded, and drawing would give 幸运奖 again from zero.
TEST(BlockedDraw, ATornRecordOnAFullDiskDrawsNothingUntilAStartUpLoadsIt) {
  EventFixture event;
  writeEvent(event);
  const std::string record = records(1, 20, 1) + records(21, 39, 2) + "40|" + gbk("人40") + "|x|";
  event.dir().write("LuckName.txt", record);
  EXPECT_TRUE(testing_support::passesUnderFileSizeLimit(record.size() - 100, [&] {
    DrawRun run(event.folder());
    EXPECT_NE(draw::startUp(run.data, event.folder(), run.view, run.luck), draw::StartupResult::Ready);
    ASSERT_FALSE(run.messages().empty());
    EXPECT_NE(run.messages().back().find("LuckName.txt"), std::string::npos) << run.messages().back();
    EXPECT_NE(run.messages().back().find("最大长度"), std::string::npos) << run.messages().back();
    expectRefused(run, event, record, "LuckName.txt");
  }));
  // Space freed, the next start-up repairs and loads it: 幸运奖 is finished.
  DrawRun run(event.folder());
  EXPECT_EQ(draw::startUp(run.data, event.folder(), run.view, run.luck), draw::StartupResult::Ready);
  EXPECT_EQ(run.data.count(1, item::kDrawn), 20);
  EXPECT_EQ(run.data.count(2, item::kDrawn), 19);
}

// An event whose folder cannot be written: start-up names the file and the cause
// and nothing is drawn; the event is never taken elsewhere.
TEST(BlockedDraw, AnEventFolderThatCannotBeWrittenIsToldAndNotDrawn) {
  struct Case {
    std::string name;
    std::string told;  // what the message names
  } cases[] = {{"read-only folder", "没有读写权限"}, {"immutable winners record", "LuckName.txt"}};
  for (const Case& c : cases) {
    EventFixture event;
    writeEvent(event);
    const std::string record = records(1, 7, 1);
    event.dir().write("LuckName.txt", record);
    const std::string config = event.dir().read("Config.ini");
    auto body = [&] {
      DrawRun run(event.folder());
      EXPECT_NE(draw::startUp(run.data, event.folder(), run.view, run.luck), draw::StartupResult::Ready) << c.name;
      ASSERT_FALSE(run.messages().empty()) << c.name;
      EXPECT_NE(run.messages().back().find(c.told), std::string::npos) << c.name << ": " << run.messages().back();
      expectRefused(run, event, record, c.told);
    };
    if (c.name == "read-only folder") {
      EXPECT_TRUE(testing_support::passesAsOrdinaryUser(event.dir().path(), [&] {
        ASSERT_EQ(::chmod(event.dir().path().c_str(), 0555), 0);
        body();
      })) << c.name;
      ::chmod(event.dir().path().c_str(), 0755);
    } else {
      if (!testing_support::setImmutable(event.dir() / "LuckName.txt", true)) {
        std::cout << "[  SKIPPED ] " << c.name << ": this file system cannot make a file immutable\n";
        continue;
      }
      body();
      testing_support::setImmutable(event.dir() / "LuckName.txt", false);
    }
    // Where the folder can be written the position load clears the first-run flag,
    // as at every start; nothing else of the settings changes.
    EXPECT_EQ(event.dir().read("Config.ini"),
              c.name == "read-only folder" ? config : config + gbk("[程序运行情况]\r\n首次运行=0\r\n"))
        << c.name;
    EXPECT_EQ(event.dir().read("LuckName.txt"), record) << c.name;
  }
}

// A reset of the draw empties the record: the draw may go on from there. The
// record it could not read is kept aside whole first and the operator is told,
// by a restart and by a mode switch alike.
TEST(BlockedDraw, ARestartOfTheDrawLiftsTheBlockAndKeepsTheUnreadRecord) {
  for (const bool modeSwitch : {false, true}) {
    EventFixture event;
    writeEvent(event);
    const std::string record = records(1, 3, 1) + "x|y|z|w|v\r\n";
    event.dir().write("LuckName.txt", record);
    DrawRun run(event.folder());
    EXPECT_NE(draw::startUp(run.data, event.folder(), run.view, run.luck), draw::StartupResult::Ready);
    std::string told;
    if (modeSwitch) {
      if (run.data.settings.peopleRolling)
        run.luck.N97Click();
      else
        run.luck.N96Click();
      told = run.messages().back();
    } else {
      told = base::gbkToUtf8(draw::restartDraw(run.data, event.folder()).message.value_or(""));
    }
    EXPECT_TRUE(run.data.state.drawBlocked.empty()) << modeSwitch;
    std::vector<std::filesystem::path> aside;
    for (const auto& entry : std::filesystem::directory_iterator(event.dir().path()))
      if (entry.path().filename().string().starts_with("LuckName.txt.damaged-")) aside.push_back(entry.path());
    ASSERT_EQ(aside.size(), 1u) << modeSwitch;
    EXPECT_EQ(base::readFile(aside.front()), record) << modeSwitch;
    EXPECT_NE(told.find(aside.front().filename().string()), std::string::npos) << modeSwitch << ": " << told;
    run.batch();
    // A batch of 5, or one winner a stop in award rolling.
    EXPECT_EQ(event.lines("LuckName.txt").size(), run.data.settings.peopleRolling ? 5u : 1u) << modeSwitch;
  }
}

// A kill in the middle of a batch's records (here the system's own, when the
// winners record grows past a size limit): the next start shows the batch's
// recorded winners as after a stop, and says the batch was interrupted.
TEST(InterruptedBatch, TheNextStartShowsItsRecordedWinners) {
  for (const bool textDraw : {true, false}) {
    EventFixture event;
    writeEvent(event);
    if (!textDraw) {
      base::IniFile config = event.folder().configFiles().openConfig();
      config.writeBool(gbk("窗体样式"), gbk("抽奖模式"), false);
      event.roster(EventFixture::numberedNames(120), "PicList.txt");
    }
    // Longer than Config.ini, whose start-up write must still fit under the limit.
    const std::string before = records(101, 140, 2);
    event.dir().write("LuckName.txt", before);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      struct rlimit none {};
      ::setrlimit(RLIMIT_CORE, &none);
      // Room for the batch's first record, not its second.
      struct rlimit limit {};
      ::getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = before.size() + 30;
      ::setrlimit(RLIMIT_FSIZE, &limit);
      std::signal(SIGXFSZ, SIG_DFL);
      DrawRun run(event.folder());
      draw::startUp(run.data, event.folder(), run.view, run.luck);
      run.batch();
      ::_exit(0);  // not reached: the second record kills the process
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    // The second record was cut where it crossed the limit: start-up drops that torn line.
    auto lines = event.lines("LuckName.txt");
    ASSERT_EQ(lines.size(), 42u);
    lines.pop_back();
    const std::vector<std::string> winner = base::splitLines([&] {
      std::string fields = lines.back();
      for (char& c : fields)
        if (c == '|') c = '\n';
      return fields;
    }());

    DrawRun run(event.folder());
    EXPECT_EQ(draw::startUp(run.data, event.folder(), run.view, run.luck), draw::StartupResult::Ready);
    ASSERT_EQ(run.messages().size(), 1u);
    EXPECT_NE(run.messages()[0].find("没有写完整"), std::string::npos) << run.messages()[0];
    EXPECT_NE(run.messages()[0].find("中断"), std::string::npos) << run.messages()[0];
    EXPECT_NE(run.messages()[0].find("其余 4 名没有记录"), std::string::npos) << run.messages()[0];
    EXPECT_EQ(base::gbkToUtf8(run.view.fieldText[draw::Field::ItemName]), "幸运奖");
    if (textDraw) {
      EXPECT_EQ(run.view.visibleFrameTexts(), std::vector<std::string>{winner[2]});
    } else {
      EXPECT_TRUE(run.view.pictureVisible[1]);
      EXPECT_FALSE(run.view.pictureVisible[2]);
      EXPECT_EQ(run.view.pictureTile[1], std::stoi(winner[0]) - 1);
    }
    // Once shown it is not shown again, and the draw goes on with the places left.
    DrawRun again(event.folder());
    EXPECT_EQ(draw::startUp(again.data, event.folder(), again.view, again.luck), draw::StartupResult::Ready);
    EXPECT_TRUE(again.messages().empty());
    EXPECT_EQ(again.data.count(1, item::kDrawn), 1);
  }
}

}  // namespace

namespace {
// Kills the process right after the winners record's n-th synced line: those
// records are on disk, the batch's note still stands beside them, and nothing
// after that sync happened (the log's last name, the note's removal).
class KillAfterRecords : public base::DurabilityCalls {
 public:
  explicit KillAfterRecords(int records) : records_(records) { base::setDurabilityCalls(this); }
  int fdatasync(int fd) override {
    const int result = DurabilityCalls::fdatasync(fd);
    if (std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)).filename() == "LuckName.txt" &&
        ++synced_ == records_)
      ::raise(SIGKILL);
    return result;
  }

 private:
  int records_;
  int synced_ = 0;
};
}  // namespace

// A kill after the batch's last record reached the disk and before its note was
// taken away: every winner of the batch is recorded, so the next start shows all
// of them, says the batch was interrupted and that all of them count.
TEST(InterruptedBatch, AKillAfterItsLastRecordShowsTheWholeBatch) {
  EventFixture event;
  writeEvent(event);
  event.dir().write("LuckName.txt", records(101, 140, 2));
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    struct rlimit none {};
    ::setrlimit(RLIMIT_CORE, &none);
    DrawRun run(event.folder());
    draw::startUp(run.data, event.folder(), run.view, run.luck);
    KillAfterRecords kill(5);
    run.batch();
    ::_exit(0);  // not reached: the fifth record kills the process
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  ASSERT_TRUE(std::filesystem::exists(event.dir() / "LuckName.txt.pending"));
  const std::vector<std::string> lines = event.lines("LuckName.txt");
  ASSERT_EQ(lines.size(), 45u);
  std::vector<std::string> shown;
  for (std::size_t i = 40; i < lines.size(); ++i) shown.push_back(base::readDelimitedRow(lines[i], 5)[2]);

  DrawRun run(event.folder());
  EXPECT_EQ(draw::startUp(run.data, event.folder(), run.view, run.luck), draw::StartupResult::Ready);
  ASSERT_EQ(run.messages().size(), 1u);
  const std::string told = run.messages()[0];
  EXPECT_NE(told.find("中断"), std::string::npos) << told;
  EXPECT_NE(told.find("已记录的 5 名中奖者有效"), std::string::npos) << told;
  EXPECT_EQ(told.find("没有记录"), std::string::npos) << told;
  EXPECT_EQ(base::gbkToUtf8(run.view.fieldText[draw::Field::ItemName]), "幸运奖");
  EXPECT_EQ(run.view.visibleFrameTexts(), shown);
  EXPECT_EQ(run.data.count(1, item::kDrawn), 5);
  EXPECT_FALSE(std::filesystem::exists(event.dir() / "LuckName.txt.pending"));
}
