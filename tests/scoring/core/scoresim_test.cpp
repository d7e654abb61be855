// scoresim on fixture folders: the lines of one refresh, the stop at a bad
// text, the blank file it generates, and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "base/text_file.h"
#include "scoring/core/scoring_file.h"
#include "scoring_fixture.h"

namespace {

using scoring_testing::gbk;
using scoring_testing::ScoringEvent;

struct SimRun {
  int exitCode;
  std::vector<std::string> lines;
};

SimRun scoresim(const std::string& arguments) {
  std::string command = std::string(SCORESIM_PATH) + " " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
  int status = pclose(pipe);
  return {WEXITSTATUS(status), base::splitLines(output)};
}

TEST(Scoresim, PrintsOneRefreshOfTheEvent) {
  ScoringEvent event;
  event.lists({{"舞蹈", "一部"}, {"合唱", "二部"}}, {"甲", "乙", "丙"});
  event.scores({"[评分数据]", "数据格式=1", "[当前节目]", "编号=2", "[甲]", "1=9", "2=8", "[乙]", "1=7", "2=9.5",
                "[丙]", "1=8", "2=7"});
  SimRun run = scoresim(event.dir().string());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.lines, (std::vector<std::string>{"PROGRAM 1|舞蹈|7.50|1", "PROGRAM 2|合唱|7.50|1",
                                                 "CURRENT 2|合唱|二部|3", "JUDGE 甲|8|", "JUDGE 乙|9.5|Max",
                                                 "JUDGE 丙|7|Min", "RESULT 去除最高分9.5,去除最低分7,得分:7.50"}));
}

TEST(Scoresim, StopsAtATextThatIsNoNumber) {
  ScoringEvent event;
  event.lists({{"舞蹈", ""}, {"合唱", ""}}, {"甲"});
  event.scores({"[当前节目]", "编号=1", "[1.舞蹈]", "甲=8", "[2.合唱]", "甲=八"});
  SimRun run = scoresim(event.dir().string());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{"PROGRAM 1|舞蹈|8.00|", "ERROR '八' is not a valid floating point value"}));
}

TEST(Scoresim, GeneratesTheBlankFileAndStoresItsPath) {
  ScoringEvent event;
  event.lists({{"舞蹈", ""}, {"合唱", ""}}, {"甲", "乙"});
  const std::string target = (event.dir() / "结果.TXT").string();
  SimRun run = scoresim(event.dir().string() + " --generate '" + target + "' --layout 1");
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.lines, std::vector<std::string>{"FILE " + target + ".txt"});
  EXPECT_EQ(base::readFile(target + ".txt"),
            scoring::blankScoringFile({{"1", gbk("舞蹈"), ""}, {"2", gbk("合唱"), ""}}, {gbk("甲"), gbk("乙")},
                                      scoring::FileLayout::ByJudge));
  EXPECT_EQ(event.config().readString(gbk("节目设置"), gbk("文件地址"), ""), gbk(target + ".txt"));

  // The stored path is the one the next refresh reads.
  std::string bytes = base::readFile(target + ".txt");
  bytes.replace(bytes.find("1=\r\n"), 4, "1=6\r\n");
  base::writeFileAtomically(target + ".txt", bytes);
  SimRun next = scoresim(event.dir().string());
  ASSERT_FALSE(next.lines.empty());
  EXPECT_EQ(next.lines[0], "PROGRAM 1|舞蹈|6.00|1");
}

TEST(Scoresim, ExitCodes) {
  ScoringEvent event;
  EXPECT_EQ(scoresim(event.dir().string()).exitCode, 0);
  EXPECT_EQ(scoresim("/no/such/folder").exitCode, 2);
  EXPECT_EQ(scoresim("").exitCode, 2);
  EXPECT_EQ(scoresim(event.dir().string() + " --layout 2").exitCode, 2);
  EXPECT_EQ(scoresim(event.dir().string() + " --generate /no/such/dir/x.txt").exitCode, 2);
}

}  // namespace
