// Start-up on a winners record that is not all whole records: what counts is
// counted, nothing is drawn over a place a record holds, the operator is told
// which line and why, and the file changes only as the operator agreed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

std::string record(int person, const std::string& award = "幸运奖", int serial = 1) {
  return std::to_string(person) + "|" + gbk("人") + std::to_string(person) + "|" + gbk("人*") + std::to_string(person) +
         "|" + gbk(award) + "|" + std::to_string(serial) + "\r\n";
}

std::vector<std::filesystem::path> copiesOf(const EventFixture& event) {
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::directory_iterator(event.dir().path()))
    if (entry.path().filename().string().rfind("LuckName.txt.damaged-", 0) == 0) found.push_back(entry.path());
  return found;
}

enum class Outcome {
  Asks,    // the operator chooses: keep a copy and go on, or stop
  Blocks,  // a line may hide a record: the draw waits until it is mended
  Tells,   // set aside or kept with a notice, the draw goes on
};

struct Case {
  std::string name;
  std::string records;  // LuckName.txt as the disk holds it
  bool repeatWinning;
  Outcome outcome;
  std::size_t counted;   // records that count once the draw goes on
  std::string lineTold;  // UTF-8, e.g. "第2行"
};

std::vector<Case> cases() {
  const std::string utf8Line = base::gbkToUtf8(record(2));
  const std::string fiftyMegabytes = std::string(50 * 1024 * 1024, 'x') + "\r\n";
  return {
      {"a line of UTF-8 text", record(1) + utf8Line + record(3), false, Outcome::Asks, 3, "第2行"},
      {"a line of NUL bytes", record(1) + std::string(6, '\0') + "\r\n" + record(3), false, Outcome::Asks, 2, "第2行"},
      {"a record holding a NUL", record(1) + std::string("2|a\0b|a|x|1\r\n", 13) + record(3), false, Outcome::Asks, 3,
       "第2行"},
      // The next append starts on a line of its own, so the cut-off record stands alone.
      {"a torn line completed by the next append", record(1) + "2|" + gbk("人2") + "|\r\n" + record(3), false,
       Outcome::Asks, 2, "第2行"},
      // Written by a program that did not start on a fresh line: record 3 is inside line 2.
      {"a torn line run into the next record", record(1) + "2|" + gbk("人2") + "|" + record(3), false, Outcome::Blocks,
       0, "第2行"},
      {"three lines repeated, repeat winning off",
       record(1) + record(2) + record(3) + record(1) + record(2) + record(3), false, Outcome::Tells, 3, "第4行"},
      {"repeats beyond the places, repeat winning on",
       record(1) + record(2) + record(3) + record(4) + record(5) + record(4) + record(5), true, Outcome::Tells, 7,
       "第6行"},
      {"a 50 MB line", record(1) + fiftyMegabytes + record(3), false, Outcome::Asks, 2, "第2行"},
  };
}

// The event: 幸运奖 of 5 places drawn 2 at a time, 二等奖 of 3, twenty people.
void writeEvent(EventFixture& event, bool repeatWinning) {
  auto config = EventFixture::awardLines({{"幸运奖", 5, 2}, {"二等奖", 3, 3}});
  config.insert(config.end(), {"[界面设置]", std::string("重复中奖=") + (repeatWinning ? "1" : "0"), "抽奖顺序=0"});
  event.config(config);
  event.roster(EventFixture::numberedNames(20));
}

TEST(DamagedRecord, StartUpCountsWhatItCanNeverDrawsOverAHeldPlaceAndAsksBeforeChangingTheFile) {
  for (const Case& c : cases()) {
    for (const bool answer : {true, false}) {
      if (c.outcome != Outcome::Asks && !answer) continue;
      const std::string label = c.name + (answer ? ", answered Yes" : ", answered No");
      EventFixture event;
      writeEvent(event, c.repeatWinning);
      event.dir().write("LuckName.txt", c.records);
      event.answer = answer;

      DrawData data;
      const draw::LifecycleOutcome outcome = event.start(data);
      EXPECT_EQ(event.questions.size(), c.outcome == Outcome::Asks ? 1u : 0u) << label;
      const std::string told =
          base::gbkToUtf8(c.outcome == Outcome::Asks ? event.questions.at(0) : outcome.message.value_or(""));
      EXPECT_NE(told.find(c.lineTold), std::string::npos) << label << ": " << told;
      EXPECT_NE(told.find("LuckName.txt"), std::string::npos) << label << ": " << told;
      // A line is quoted by an excerpt: the box stays readable and quick.
      EXPECT_LT(told.size(), 2000u) << label;

      const bool goesOn = c.outcome == Outcome::Tells || (c.outcome == Outcome::Asks && answer);
      EXPECT_EQ(data.state.drawBlocked.empty(), goesOn) << label;
      if (!goesOn) {
        // Nothing is changed and nothing is counted; a later start-up asks again.
        EXPECT_EQ(event.dir().read("LuckName.txt"), c.records) << label;
        EXPECT_TRUE(copiesOf(event).empty()) << label;
        EXPECT_EQ(data.winnerCount(), 0u) << label;
        continue;
      }
      EXPECT_EQ(data.winnerCount(), c.counted) << label;
      const bool fileChanged = c.outcome == Outcome::Asks || !c.repeatWinning;
      ASSERT_EQ(copiesOf(event).size(), fileChanged ? 1u : 0u) << label;
      if (fileChanged) {
        EXPECT_EQ(base::readFile(copiesOf(event)[0]), c.records) << label;
      }
      EXPECT_EQ(event.lines("LuckName.txt").size(), c.counted) << label;

      // A second start finds the record whole (only places exceeded are told again).
      DrawData again;
      event.questions.clear();
      const draw::LifecycleOutcome second = event.start(again);
      EXPECT_TRUE(event.questions.empty()) << label;
      EXPECT_EQ(second.message.has_value(), c.counted > 5) << label;
      EXPECT_EQ(again.winnerCount(), c.counted) << label;

      // Drawing the event to its end: no award past its places, nobody twice.
      while (draw_testing::drawBatch(data, event.folder())) {
      }
      std::map<std::string, int> perAward;
      std::set<std::string> people;
      bool someoneTwice = false;
      for (const std::string& line : event.lines("LuckName.txt")) {
        const std::string person = line.substr(0, line.find('|'));
        ++perAward[line.substr(line.rfind('|') + 1)];
        someoneTwice = someoneTwice || !people.insert(person).second;
      }
      EXPECT_LE(perAward["1"], std::max<int>(5, static_cast<int>(c.counted))) << label;
      EXPECT_LE(perAward["2"], 3) << label;
      if (!c.repeatWinning) {
        EXPECT_FALSE(someoneTwice) << label;
      }
      EXPECT_EQ(data.remaining(1), std::min(0, 5 - static_cast<int>(c.counted))) << label;
    }
  }
}

// A damaged record is written back clean when the operator goes on: UTF-8 text in
// GBK, control bytes out; its serials were what counted all along.
TEST(DamagedRecord, ARecordWithDamagedTextIsWrittenBackClean) {
  EventFixture event;
  writeEvent(event, false);
  event.dir().write("LuckName.txt", record(1) + base::gbkToUtf8(record(2)) + std::string("3|a\0b|a|x|1\r\n", 13));
  event.answer = true;
  DrawData data;
  event.start(data);
  EXPECT_EQ(event.lines("LuckName.txt"),
            (std::vector<std::string>{gbk("1|人1|人*1|幸运奖|1"), gbk("2|人2|人*2|幸运奖|1"), "3|ab|a|x|1"}));
  EXPECT_EQ(data.LuckNameGrid.cell(draw::winner::kName, 2), gbk("人2"));
}

}  // namespace
