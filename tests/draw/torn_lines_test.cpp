// Start-up after an append was cut short: the file is kept aside, the partial
// line goes, the operator is told once and the draw goes on from the whole lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

const std::vector<draw_testing::Award> kAwards{{"一等奖", 2, 1}, {"二等奖", 3, 3}};

std::vector<std::filesystem::path> keptAside(const EventFixture& event, const std::string& file) {
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::directory_iterator(event.dir().path()))
    if (entry.path().filename().string().rfind(file + ".damaged-", 0) == 0) found.push_back(entry.path());
  return found;
}

TEST(TornLastLine, IsKeptAsideDroppedAndReportedOnce) {
  const std::string whole = "2|b|b|A|2\r\n";
  struct Case {
    std::string name;
    std::string records;  // LuckName.txt as the disk holds it
    std::string log;
    int drawnOfAward2;  // after the repair
    bool repaired;
  } cases[] = {
      {"torn record that cannot parse", whole + "3|c|c|A|", "", 1, true},
      // Parses as a record of award 1 ("1" cut from "12" would look the same).
      {"torn record that still parses", whole + "3|c|c|A|1", "", 1, true},
      {"only a torn line", "3|c", "", 0, true},
      {"torn draw log", whole, "----\r\n[2026-12-08] A\r\n\r\nb\r\nc", 1, true},
      {"whole files", whole, "b\r\n", 1, false},
      {"a last CR is a whole line end", "2|b|b|A|2\r", "b\r", 1, false},
  };
  for (const Case& c : cases) {
    EventFixture event;
    event.config(EventFixture::awardLines(kAwards));
    event.roster(EventFixture::numberedNames(6));
    event.dir().write("LuckName.txt", c.records);
    event.dir().write("log.txt", c.log);

    DrawData data;
    draw::LifecycleOutcome outcome = event.start(data);
    EXPECT_EQ(data.count(2, item::kDrawn), c.drawnOfAward2) << c.name;
    EXPECT_EQ(data.count(1, item::kDrawn), 0) << c.name;
    EXPECT_EQ(outcome.message.has_value(), c.repaired) << c.name;
    const bool recordTorn = c.records.back() != '\n' && c.records.back() != '\r';
    const bool logTorn = !c.log.empty() && c.log.back() != '\n' && c.log.back() != '\r';
    ASSERT_EQ(keptAside(event, "LuckName.txt").size(), recordTorn ? 1u : 0u) << c.name;
    ASSERT_EQ(keptAside(event, "log.txt").size(), logTorn ? 1u : 0u) << c.name;
    if (recordTorn) {
      EXPECT_EQ(base::readFile(keptAside(event, "LuckName.txt")[0]), c.records) << c.name;
      EXPECT_NE(outcome.message->find("LuckName.txt"), std::string::npos) << c.name;
      const std::string kept = c.records.substr(0, c.records.find_last_of('\n') + 1);
      EXPECT_EQ(event.dir().read("LuckName.txt"), c.records.find('\n') == std::string::npos ? "" : kept) << c.name;
    }
    if (logTorn) {
      std::vector<std::string> whole = base::splitLines(c.log);
      whole.pop_back();
      EXPECT_EQ(event.lines("log.txt"), whole) << c.name;
    }

    // The draw goes on: the next batch's lines are whole lines of their own.
    ASSERT_TRUE(draw_testing::drawBatch(data, event.folder())) << c.name;
    const auto records = event.lines("LuckName.txt");
    EXPECT_EQ(records.size(), data.winnerCount()) << c.name;
    for (const auto& line : records) EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 4) << c.name << line;

    // A second start-up finds nothing to repair and says nothing.
    DrawData again;
    EXPECT_FALSE(event.start(again).message) << c.name;
    EXPECT_EQ(again.winnerCount(), data.winnerCount()) << c.name;
  }
}

// The repair's notice comes first; a damaged whole line after it still stops the
// draw with its own message, and the notice is not lost.
TEST(TornLastLine, NoticeSurvivesADamagedLineElsewhere) {
  EventFixture event;
  event.config(EventFixture::awardLines(kAwards));
  event.roster(EventFixture::numberedNames(6));
  event.dir().write("LuckName.txt", "x|b|b|A|2\r\n3|c|c|A|");
  DrawData data;
  const draw::LifecycleOutcome outcome = event.start(data);
  ASSERT_TRUE(outcome.message);
  const std::string text = base::gbkToUtf8(*outcome.message);
  EXPECT_NE(text.find("没有写完整"), std::string::npos) << text;
  EXPECT_NE(text.find("第1行"), std::string::npos) << text;
  EXPECT_LT(text.find("没有写完整"), text.find("第1行")) << text;
  EXPECT_FALSE(data.state.drawBlocked.empty());
}

}  // namespace
