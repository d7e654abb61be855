// One reading of an event: averages and ranks of every programme, the current
// programme with its marks and result line, and where a bad text stops it.
#include "scoring/core/scoring_refresh.h"

#include <gtest/gtest.h>

#include "scoring_fixture.h"

namespace {

using scoring_testing::gbk;
using scoring_testing::ScoringEvent;

scoring::ScoringReading read(const ScoringEvent& event) {
  return scoring::readScores(scoring::readInputs(event.config(), event.dir()), event.dir(), true, true);
}

TEST(ScoringReading, AveragesRanksAndCurrentProgrammeFromOneFile) {
  ScoringEvent event;
  event.lists({{"舞蹈", "一部"}, {"合唱", "二部"}, {"相声", ""}}, {"甲", "乙", "丙", "丁"});
  event.scores({"[评分数据]", "数据格式=0", "[当前节目]", "编号=1", "[1.舞蹈]", "甲=9.5", "乙=8", "丙=6", "丁=6.5",
                "[2.合唱]", "甲=9", "乙=9", "[3.相声]", "甲=", "[1.舞蹈]", "甲=1"});
  scoring::ScoringReading reading = read(event);
  ASSERT_TRUE(reading.complete()) << reading.error;
  EXPECT_EQ(reading.averages, (std::vector<std::string>{"7.25", "9.00", "0.00"}));
  EXPECT_EQ(reading.ranks, (std::vector<std::string>{"2", "1", ""}));
  const scoring::CurrentProgramme& current = *reading.current;
  EXPECT_EQ(current.name, gbk("舞蹈"));
  EXPECT_EQ(current.performer, gbk("一部"));
  EXPECT_EQ(current.scoredCount, 4);
  EXPECT_EQ(current.resultLine, gbk("去除最高分9.5,去除最低分6,得分:7.25"));
  std::vector<std::string> marks;
  for (const auto& judge : current.judges) marks.push_back(judge.mark);
  EXPECT_EQ(marks, (std::vector<std::string>{"Max", "", "Min", ""}));
}

TEST(ScoringReading, ResultLineAndMarksFollowTheDropsAndTheTexts) {
  struct Case {
    std::vector<std::string> scores;
    bool dropHighest, dropLowest;
    const char* result;
    std::vector<std::string> marks;
  } cases[] = {
      // Three scores: the line names both ends though the average dropped only the highest.
      {{"9", "8", "7"}, true, true, "去除最高分9,去除最低分7,得分:7.50", {"Max", "", "Min"}},
      // Two scores: no dropped part, yet the higher one is marked.
      {{"8", "9"}, true, false, "得分:8.50", {"", "Max"}},
      // 9.50 is not written 9.5: the judge who typed 9.5 gets the mark.
      {{"9.50", "9.5", "7", "8"}, true, true, "去除最高分9.5,去除最低分7,得分:8.75", {"", "Max", "Min", ""}},
      {{"9.50", "7", "8"}, true, true, "去除最高分9.5,去除最低分7,得分:7.50", {"", "Min", ""}},
      // Tied ends: only the first judge with the score is marked.
      {{"9", "7", "7"}, true, true, "去除最高分9,去除最低分7,得分:7.00", {"Max", "Min", ""}},
      {{"9", "9", "7"}, true, true, "去除最高分9,去除最低分7,得分:8.00", {"Max", "", "Min"}},
      // One judge both lowest and highest: Max replaces Min.
      {{"8"}, true, true, "得分:8.00", {"Max"}},
      {{"", ""}, true, true, "得分:0.00", {"", ""}},
  };
  for (const Case& c : cases) {
    ScoringEvent event;
    std::vector<std::string> judges;
    std::vector<std::string> lines{"[当前节目]", "编号=1", "[1.舞蹈]"};
    for (std::size_t i = 0; i < c.scores.size(); ++i) {
      judges.push_back("J" + std::to_string(i));
      lines.push_back(judges.back() + "=" + c.scores[i]);
    }
    event.lists({{"舞蹈", ""}}, judges, c.dropHighest, c.dropLowest);
    event.scores(lines);
    scoring::ScoringReading reading = read(event);
    ASSERT_TRUE(reading.complete()) << reading.error;
    EXPECT_EQ(reading.current->resultLine, gbk(c.result)) << ::testing::PrintToString(c.scores);
    std::vector<std::string> marks;
    for (const auto& judge : reading.current->judges) marks.push_back(judge.mark);
    EXPECT_EQ(marks, c.marks) << ::testing::PrintToString(c.scores);
  }
}

TEST(ScoringReading, CurrentProgrammeNumber) {
  struct Case {
    const char* number;  // the 编号 line's value; nullptr: no line at all
    const char* layout;
    std::string error;  // expected conversion message, empty when none
    const char* name;
    int scored;
  } cases[] = {
      {"2", "0", "", "合唱", 1},
      {"2", "1", "", "合唱", 2},
      {"3", "0", "", "", 0},  // beyond the list: empty fields, no scores
      {"3", "1", "", "", 0},
      {"0", "0", "", "", 0},
      {"", "0", "'' is not a valid integer value", "", 0},
      {"abc", "0", "'abc' is not a valid integer value", "", 0},
      {nullptr, "0", "'' is not a valid integer value", "", 0},
  };
  for (const Case& c : cases) {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}, {"合唱", ""}}, {"甲", "乙"});
    std::vector<std::string> lines{"[评分数据]", std::string("数据格式=") + c.layout, "[当前节目]"};
    if (c.number) lines.push_back(std::string("编号=") + c.number);
    lines.insert(lines.end(), {"[2.合唱]", "甲=9", "[甲]", "2=8", "3=7", "[乙]", "2=6", "[3.]", "甲=5"});
    event.scores(lines);
    scoring::ScoringReading reading = read(event);
    EXPECT_EQ(reading.error, c.error) << c.number;
    EXPECT_EQ(reading.averages.size(), 2u);
    if (!c.error.empty()) {
      EXPECT_FALSE(reading.current);
      continue;
    }
    EXPECT_EQ(reading.current->name, gbk(c.name)) << c.number;
    EXPECT_EQ(reading.current->scoredCount, c.scored) << c.number << " layout " << c.layout;
  }
}

TEST(ScoringReading, ABadScoreStopsWithWhatWasComputedBefore) {
  ScoringEvent event;
  event.lists({{"舞蹈", ""}, {"合唱", ""}, {"相声", ""}}, {"甲"});
  event.scores({"[1.舞蹈]", "甲=9", "[2.合唱]", "甲=九", "[3.相声]", "甲=7"});
  scoring::ScoringReading reading = read(event);
  EXPECT_EQ(reading.error, "'九' is not a valid floating point value");
  EXPECT_EQ(reading.averages, std::vector<std::string>{"9.00"});
  EXPECT_TRUE(reading.ranks.empty());
  EXPECT_FALSE(reading.current);
}

// A scoring file saved as UTF-8 or overwritten with binary bytes would read as
// 0.00 for every programme: the reading stops with a message naming the file.
TEST(ScoringReading, AFileThatIsNotGbkTextIsNamedNotReadAsZero) {
  const std::string utf8 = "[1.舞蹈]\r\n甲=9\r\n[当前节目]\r\n编号=1\r\n";
  for (const std::string& bytes : {utf8, std::string("\0\x17\x8F\xFF", 4)}) {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {"甲"});
    base::writeFileAtomically(event.dir() / "data" / "评分文件.txt", bytes);
    const scoring::ScoringReading reading = read(event);
    EXPECT_NE(reading.error.find("评分文件.txt"), std::string::npos) << reading.error;
    EXPECT_TRUE(reading.averages.empty());
  }
}

TEST(ScoringReading, NoFileOrNoListsReadAsUnscored) {
  ScoringEvent event;
  event.lists({{"舞蹈", ""}}, {"甲"});
  scoring::ScoringReading reading =
      scoring::readScores(scoring::readInputs(event.config(), event.dir()), event.dir(), true, false);
  EXPECT_EQ(reading.averages, std::vector<std::string>{"0.00"});
  EXPECT_EQ(reading.ranks, std::vector<std::string>{""});

  ScoringEvent empty;
  scoring::ScoringReading none = read(empty);
  EXPECT_TRUE(none.averages.empty());
  EXPECT_EQ(none.error, "'' is not a valid integer value");  // no file: 编号 reads empty
}

}  // namespace
