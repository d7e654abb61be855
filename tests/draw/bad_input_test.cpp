// Every file the draw reads, replaced by what another machine, an editor or a
// damaged disk may leave: start-up and two batches either run on a documented
// reading or stop with a message, never crash or hang, and no other file changes
// behind the operator's back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "draw/headless_view.h"
#include "draw/startup.h"
#include "event_fixture.h"

namespace {

using draw_testing::EventFixture;
using testing_support::gbk;

struct Variant {
  std::string name;
  std::string bytes;  // the file's content; "<folder>" makes a folder of that name
  bool unreadable = false;
};

std::vector<Variant> variants() {
  return {
      {"invalid GBK", "\x81\r\n\x80\xFF|1|\xB0\r\n"},
      {"NUL bytes", std::string("1|a\0b|a|A|1\r\n\0\0\r\n", 17)},
      {"10 MB line", std::string(10 * 1024 * 1024, 'x') + "\r\n"},
      {"CR alone", "1|a|a|A|1\r2|b|b|A|1\r"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + base::gbkToUtf8(gbk("[奖项设置]\r\n1=1|一等奖|2|1||x||\r\n"))},
      {"empty", ""},
      {"a folder", "<folder>"},
      {"unreadable", "1|a|a|A|1\r\n", true},
  };
}

TEST(BadInput, EveryReaderGivesAMessageOrADocumentedReading) {
  for (const std::string file : {"NameList.txt", "LuckName.txt", "Config.ini", "log.txt"}) {
    for (const Variant& v : variants()) {
      const std::string label = file + ": " + v.name;
      EventFixture event;
      auto config = EventFixture::awardLines({{"一等奖", 4, 2}});
      config.insert(config.end(), {"[音效设置]", "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
      event.config(config);
      event.roster(EventFixture::numberedNames(6));
      event.dir().write("LuckName.txt", gbk("1|人1|人1|一等奖|1\r\n"));
      event.dir().write("log.txt", "x\r\n");
      if (v.bytes == "<folder>") {
        std::filesystem::remove(event.dir() / file);
        std::filesystem::create_directory(event.dir() / file);
      } else {
        event.dir().write(file, v.bytes);
      }
      if (v.unreadable) ::chmod((event.dir() / file).c_str(), 0);
      std::map<std::string, std::string> before;
      for (const std::string other : {"NameList.txt", "LuckName.txt", "Config.ini", "log.txt"})
        if (std::filesystem::is_regular_file(event.dir() / other) && !v.unreadable)
          before[other] = event.dir().read(other);

      draw::DrawData data;
      draw::HeadlessView view;
      draw::Luck luck(data, event.folder(), view);
      const bool started = draw::startUp(data, event.folder(), view, luck) == draw::StartupResult::Ready;
      if (!started) {
        EXPECT_FALSE(view.transcript.empty()) << label << ": stopped without a word";
      }
      if (started) {
        for (int i = 0; i < 4; ++i) {
          luck.startStopCommand();
          luck.Timer1Timer();
        }
      }
      if (v.unreadable) ::chmod((event.dir() / file).c_str(), 0644);

      // The roster is only read; the winners record and the log only grow, unless
      // start-up kept a damaged one aside and said so.
      bool keptAside = false;
      for (const auto& entry : std::filesystem::directory_iterator(event.dir().path()))
        keptAside = keptAside || entry.path().filename().string().find(".damaged-") != std::string::npos;
      for (const auto& [name, bytes] : before) {
        if (!std::filesystem::is_regular_file(event.dir() / name)) continue;
        const std::string now = event.dir().read(name);
        if (name == "NameList.txt") {
          EXPECT_EQ(now, bytes) << label;
        }
        if ((name == "LuckName.txt" || name == "log.txt") && !keptAside) {
          EXPECT_EQ(now.substr(0, bytes.size()), bytes) << label << ": " << name << " was changed, not appended to";
        }
      }
      if (keptAside) {
        EXPECT_FALSE(view.transcript.empty()) << label << ": a repair nobody was told of";
      }
    }
  }
}

}  // namespace
