// drawsim on event folders: its output lines, its exit codes and the files it leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>

#include "base/text_file.h"
#include "event_fixture.h"

namespace {

using draw_testing::EventFixture;
using testing_support::gbk;

struct SimRun {
  int exitCode;
  std::vector<std::string> lines;
};

// The lines without the winners display's text ("TEXT " lines and "END").
std::vector<std::string> withoutTexts(const std::vector<std::string>& lines) {
  std::vector<std::string> kept;
  for (const auto& line : lines)
    if (line.rfind("TEXT ", 0) != 0 && line != "END") kept.push_back(line);
  return kept;
}

SimRun drawsim(const std::string& arguments) {
  std::string command = std::string(DRAWSIM_PATH) + " " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
  int status = pclose(pipe);
  return {WEXITSTATUS(status), base::splitLines(output)};
}

TEST(Drawsim, DrawsAWholeEventToItsEndAndResumesWhereItStopped) {
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 2, 2}, {"三等奖", 4, 2}});
  config.insert(config.end(), {"[界面设置]", "隐私_check=0", "重复中奖=0", "[音效设置]", "背景音乐_check=0",
                               "抽奖开始_check=0", "抽奖停止_check=0", "[NameList]", "每行个数=2"});
  event.config(config);
  event.roster(EventFixture::numberedNames(12));
  const std::string dir = event.dir().path().string();

  // Award 3 in two batches; its winners show before the fifth command, which
  // only announces award 2.
  SimRun first = drawsim(dir + " --commands 5 --seed 3");
  ASSERT_EQ(first.exitCode, 0);
  EXPECT_EQ(withoutTexts(first.lines),
            (std::vector<std::string>{"SHOW 3", "STATE award=2 caption=开始 hint=即将开始抽取 二等奖"}));
  // The display's text follows its SHOW line: four winners at two per row make
  // two full lines and a padded blank one, all of the same width.
  ASSERT_EQ(first.lines.size(), 9u);
  EXPECT_EQ(first.lines[1], "TEXT 三等奖(4名)");
  EXPECT_EQ(first.lines[2], "TEXT (奖品:奖品)");
  EXPECT_EQ(first.lines[3].substr(0, 9), "TEXT  人");
  EXPECT_EQ(first.lines[4].size(), first.lines[3].size());
  EXPECT_EQ(first.lines[5], "TEXT " + std::string(first.lines[3].size() - 7, ' '));
  EXPECT_EQ(first.lines[6], "TEXT ");
  EXPECT_EQ(first.lines[7], "END");
  EXPECT_EQ(event.lines("LuckName.txt").size(), 4u);

  SimRun all = drawsim(dir + " --commands 30 --answer yes");
  ASSERT_EQ(all.exitCode, 0);
  // All awards at the end, first row to last, each block ended by an empty line.
  const auto shownAll = std::find(all.lines.begin(), all.lines.end(), "SHOW 0");
  ASSERT_NE(shownAll, all.lines.end());
  std::vector<std::string> names;
  for (auto line = shownAll; line != all.lines.end() && *line != "END"; ++line)
    if (line->find("名)") != std::string::npos) names.push_back(*line);
  EXPECT_EQ(names, (std::vector<std::string>{"TEXT 一等奖(1名)", "TEXT 二等奖(2名)", "TEXT 三等奖(4名)"}));
  const SimRun rest{all.exitCode, withoutTexts(all.lines)};
  ASSERT_GE(rest.lines.size(), 5u);
  // A new run resumes at award 2, then award 1, then the end of the draw.
  EXPECT_EQ(rest.lines[0], "SHOW 2");
  EXPECT_EQ(rest.lines[1], "SHOW 1");
  EXPECT_EQ(rest.lines[2], "ASK 抽奖结束,是否显示全部中奖名单?");
  EXPECT_EQ(rest.lines[3], "SHOW 0");
  EXPECT_EQ(rest.lines.back().substr(0, 13), "STATE award=1");

  auto records = event.lines("LuckName.txt");
  ASSERT_EQ(records.size(), 7u);
  std::set<std::string> people;
  for (const auto& line : records) people.insert(line.substr(0, line.find('|')));
  EXPECT_EQ(people.size(), 7u);  // no one twice with repeat winning off
  auto log = event.lines("log.txt");
  EXPECT_EQ(std::count(log.begin(), log.end(), std::string(75, '-')), 3);
  // The draw-state keys of the exit save are written.
  base::IniFile saved(event.dir() / "Config.ini");
  EXPECT_TRUE(saved.readBool(gbk("窗体样式"), gbk("抽奖模式"), false));

  // Started again on a finished event: the hint says so.
  SimRun again = drawsim(dir);
  EXPECT_EQ(withoutTexts(again.lines),
            (std::vector<std::string>{"STATE award= caption=开始 hint=抽奖结束,需重新抽奖请按右键"}));
}

// Names GBK cannot spell are drawn, recorded and shown with their very bytes.
TEST(Drawsim, DrawsAndRecordsNamesOutsideGbkByteForByte) {
  const std::vector<std::string> names = {"陈𠀀", "李𬌗", "王䶮", "ئابدۇ", "Zoë Øyen", "김민수", "张三"};
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", static_cast<int>(names.size()), static_cast<int>(names.size())}});
  config.insert(config.end(), {"[界面设置]", "隐私_check=0", "重复中奖=0", "[音效设置]", "背景音乐_check=0",
                               "抽奖开始_check=0", "抽奖停止_check=0"});
  event.config(config);
  event.roster(names);
  const std::string dir = event.dir().path().string();

  // Start, stop, and the end of the draw: the award's winners show before it.
  const SimRun run = drawsim(dir + " --commands 3 --seed 5");
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_NE(std::find(run.lines.begin(), run.lines.end(), "SHOW 1"), run.lines.end());
  std::string shown;
  for (const auto& line : run.lines)
    if (line.rfind("TEXT ", 0) == 0) shown += line + "\n";
  for (const auto& name : names) EXPECT_NE(shown.find(name), std::string::npos) << name;
  EXPECT_EQ(shown.find('?'), std::string::npos);

  // Every winner record holds the roster line's bytes as name and display name,
  // and the log holds them too.
  std::set<std::string> recorded;
  for (const auto& line : event.lines("LuckName.txt")) {
    const auto first = line.find('|');
    const auto second = line.find('|', first + 1);
    const auto third = line.find('|', second + 1);
    const std::string name = line.substr(first + 1, second - first - 1);
    EXPECT_EQ(line.substr(second + 1, third - second - 1), name);
    recorded.insert(name);
  }
  std::set<std::string> expected;
  for (const auto& name : names) expected.insert(gbk(name));
  EXPECT_EQ(recorded, expected);
  const auto log = event.lines("log.txt");
  for (const auto& name : expected) EXPECT_NE(std::find(log.begin(), log.end(), name), log.end());
  // The roster file itself is left as it was.
  std::vector<std::string> roster;
  for (const auto& name : names) roster.push_back(gbk(name));
  EXPECT_EQ(event.lines("NameList.txt"), roster);
}

TEST(Drawsim, ReportsMessagesAsOutputAndRefusesWhatItCannotRun) {
  EventFixture event;
  event.config(EventFixture::awardLines({{"一等奖", 1, 1}}));
  SimRun missingRoster = drawsim(event.dir().path().string() + " --commands 2");
  EXPECT_EQ(missingRoster.exitCode, 0);
  ASSERT_FALSE(missingRoster.lines.empty());
  EXPECT_EQ(missingRoster.lines[0].substr(0, 4), "MSG ");

  EXPECT_EQ(drawsim("/no/such/folder").exitCode, 2);
  EXPECT_EQ(drawsim(event.dir().path().string() + " --commands x").exitCode, 2);
  EXPECT_EQ(drawsim(event.dir().path().string() + " --answer maybe").exitCode, 2);
  EXPECT_EQ(drawsim("").exitCode, 2);
}

}  // namespace
