#include <gtest/gtest.h>

#include <set>

#include "base/file_error.h"
#include "draw/award_corrections.h"
#include "draw/winners_export.h"
#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

const std::vector<draw_testing::Award> kAwards{{"一等奖", 1, 1}, {"二等奖", 2, 2}, {"三等奖", 3, 2}};

TEST(Startup, FindsTheAwardWhereTheDrawStandsAndTellsTheOperator) {
  struct Case {
    std::string name;
    std::vector<std::string> settings;
    std::string records;
    bool firstRun;
    std::string expectedAward;
    std::optional<std::string> expectedHint;  // UTF-8
  } cases[] = {
      {"every award finished",
       {},
       "1|a|a|x|1\n2|b|b|x|2\n3|c|c|x|2\n4|d|d|x|3\n5|e|e|x|3\n6|f|f|x|3\n",
       false,
       "",
       "抽奖结束,需重新抽奖请按右键"},
      {"draw order 1, only award 1 left",
       {},
       "2|b|b|x|2\n3|c|c|x|2\n4|d|d|x|3\n5|e|e|x|3\n6|f|f|x|3\n",
       false,
       "1",
       "继续抽取一等奖"},
      {"draw order 0, winners of award 2 only", {"抽奖顺序=0"}, "2|b|b|x|2\n", false, "1", "继续抽取一等奖"},
      {"no winner yet keeps the hint", {}, "", false, "3", std::nullopt},
      {"first run", {}, "", true, "3", "请在空白处点右键设置名单和奖项"},
  };
  for (const Case& c : cases) {
    EventFixture event;
    auto config = EventFixture::awardLines(kAwards);
    config.push_back("[界面设置]");
    config.insert(config.end(), c.settings.begin(), c.settings.end());
    event.config(config);
    event.roster(EventFixture::numberedNames(8));
    event.dir().write("LuckName.txt", c.records);
    DrawData data;
    auto outcome = event.start(data, 1, c.firstRun);
    EXPECT_EQ(data.state.currentAward, c.expectedAward) << c.name;
    EXPECT_EQ(outcome.hint, c.expectedHint ? std::optional(gbk(*c.expectedHint)) : std::nullopt) << c.name;
    EXPECT_FALSE(outcome.message) << c.name;
  }
}

TEST(Startup, AwardRollingHintNamesWhoseTurnItIs) {
  EventFixture event;
  auto config = EventFixture::awardLines(kAwards);
  config.insert(config.end(), {"[窗体样式]", "滚动模式=0", "[界面设置]", "重复中奖=0"});
  event.config(config);
  event.roster({"王小明", "李四", "张三丰"});
  event.dir().write("LuckName.txt", "1|a|a|x|1\r\n2|b|b|x|2\r\n");
  DrawData data;
  EXPECT_EQ(event.start(data).hint, gbk("请 张**丰 继续抽取"));
  event.dir().write("LuckName.txt", "1|a|a|x|1\r\n2|b|b|x|2\r\n3|c|c|x|2\r\n");
  EXPECT_EQ(event.start(data).hint, gbk("人员已经全部抽完"));
}

TEST(Startup, DamagedAwardCountOrMissingRosterStopsWithAMessage) {
  EventFixture event;
  event.config({"[奖项设置]", "1=1|一等奖|x|1", "[界面设置]"});
  event.roster({"a"});
  DrawData data;
  auto outcome = event.start(data);
  EXPECT_EQ(outcome.message, gbk("奖项设置为空,请检查[参数设置]->[奖项设置]!"));
  EXPECT_EQ(data.ItemGrid.rowCount(), 2u);
  EXPECT_EQ(data.ItemGrid.cell(item::kName, 1), "");

  std::filesystem::remove(event.dir() / "NameList.txt");
  DrawData other;
  EXPECT_THROW(draw::startupLoad(other, event.folder()), base::FileError);
}

std::size_t headerBlocks(const std::vector<std::string>& log) {
  return static_cast<std::size_t>(std::count(log.begin(), log.end(), std::string(75, '-')));
}

TEST(WholeEvent, BatchesGiveUpRestartAndExport) {
  EventFixture event;
  auto config = EventFixture::awardLines(kAwards);
  config.insert(config.end(), {"[界面设置]", "重复中奖=0", "抽奖顺序=0", "[内定设置]", "Open=1", "1=1|7|x|3|x",
                               "[内定设置B]", "Open=1", "1=1|8|x|0|x"});
  event.config(config);
  event.roster(EventFixture::numberedNames(12, "员工"));
  DrawData data;
  event.start(data, 42);

  int batches = 0;
  while (draw_testing::drawBatch(data, event.folder())) ++batches;
  EXPECT_EQ(batches, 1 + 1 + 2);
  auto records = event.lines("LuckName.txt");
  ASSERT_EQ(records.size(), 6u);
  std::set<std::string> people;
  for (std::size_t r = 1; r <= data.winnerCount(); ++r) people.insert(data.LuckNameGrid.cell(0, r));
  EXPECT_EQ(people.size(), 6u);
  EXPECT_TRUE(people.count("7"));   // predetermined for award 3
  EXPECT_FALSE(people.count("8"));  // barred
  for (std::size_t a = 1; a <= 3; ++a) EXPECT_EQ(data.remaining(a), 0);
  auto log = event.lines("log.txt");
  EXPECT_EQ(headerBlocks(log), 3u);
  EXPECT_EQ(log.size(), 3u * 3 + 6);

  // A program start rebuilds the same tables from the files.
  DrawData restarted;
  auto outcome = event.start(restarted);
  EXPECT_EQ(outcome.hint, gbk("抽奖结束,需重新抽奖请按右键"));
  for (std::size_t r = 0; r < data.ItemGrid.rowCount(); ++r) {
    EXPECT_EQ(restarted.ItemGrid.row(r), data.ItemGrid.row(r)) << r;
  }
  for (std::size_t r = 0; r < data.LuckNameGrid.rowCount(); ++r) {
    EXPECT_EQ(restarted.LuckNameGrid.row(r), data.LuckNameGrid.row(r));
  }
  for (std::size_t r = 0; r < data.AllNameList.rowCount(); ++r) {
    EXPECT_EQ(restarted.AllNameList.row(r), data.AllNameList.row(r));
  }

  // The winners of award 1 all give up their place (lost): award 1 leaves the export.
  ASSERT_EQ(data.LuckNameGrid.cell(item::kSerial + 4, 1), "1");
  ASSERT_TRUE(draw::giveUp(data, event.folder(), {1, true, false}));
  const std::string text = draw::winnersExportText(data);
  EXPECT_EQ(text.find(gbk("一等奖")), std::string::npos);
  std::string expected;
  for (std::size_t a : {2u, 3u}) {
    expected += data.ItemGrid.cell(item::kName, a) + std::to_string(data.count(a, item::kDrawn)) +
                gbk("名(奖品:奖品)") + "\r\n";
    for (std::size_t r = 1; r <= data.winnerCount(); ++r) {
      if (data.LuckNameGrid.cell(4, r) == std::to_string(a)) expected += data.LuckNameGrid.cell(1, r) + "\r\n";
    }
    expected += "\r\n";
  }
  EXPECT_EQ(text, expected);
  const auto written = draw::exportWinners(data, event.dir() / "winners");
  EXPECT_EQ(written, event.dir() / "winners.txt");
  EXPECT_EQ(event.dir().read("winners.txt"), expected);
  EXPECT_EQ(draw::exportWinners(data, event.dir() / "winners.txt"), event.dir() / "winners.txt");
  EXPECT_EQ(draw::exportFileName("a/B.TXT"), std::filesystem::path("a/B.TXT"));
  EXPECT_EQ(draw::exportFileName("a/b.txt.bak"), std::filesystem::path("a/b.txt.bak.txt"));

  // Restart of the draw: empty record, counts back to 0, log kept, no new header
  // for the award logged last.
  draw::supplementary(data, event.folder(), {gbk("二等奖"), 2, "2", ""});
  const std::string lastLogged = data.state.lastLoggedAward;
  auto restart = draw::restartDraw(data, event.folder());
  EXPECT_EQ(restart.hint, gbk("按空格键开始抽奖"));
  EXPECT_EQ(event.dir().read("LuckName.txt"), "");
  EXPECT_FALSE(data.hasWinners());
  EXPECT_EQ(data.count(1, item::kGivenUp), 0);
  EXPECT_EQ(data.count(2, item::kSupplementary), 0);
  const auto configAfter = event.folder().configFiles().openConfigOnly();
  EXPECT_FALSE(configAfter.hasKey(gbk("弃奖"), "1"));
  EXPECT_FALSE(configAfter.hasKey(gbk("补奖"), "2"));
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kDrawn, 1), "N");
  EXPECT_EQ(data.AllNameList.cell(draw::person::kFlag, 7), "N");
  EXPECT_EQ(event.lines("log.txt").size(), log.size());
  EXPECT_EQ(data.state.lastLoggedAward, lastLogged);
  ASSERT_TRUE(draw_testing::drawBatch(data, event.folder()));
  EXPECT_EQ(data.state.currentAward, "1");
  EXPECT_EQ(headerBlocks(event.lines("log.txt")), lastLogged == "1" ? 3u : 4u);

  // The restart is finished: the next start keeps the batch drawn after it and
  // has nothing to complete or show again.
  const std::string recordAfterRestart = event.dir().read("LuckName.txt");
  ASSERT_FALSE(recordAfterRestart.empty());
  DrawData next;
  auto nextStart = event.start(next);
  EXPECT_FALSE(nextStart.message) << nextStart.message.value_or("");
  EXPECT_TRUE(nextStart.interruptedBatch.empty());
  EXPECT_EQ(next.winnerCount(), data.winnerCount());
  EXPECT_EQ(event.dir().read("LuckName.txt"), recordAfterRestart);
}

TEST(WholeEvent, AwardRollingRestartRebuildsQueueAndTickets) {
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 2, 1}});
  config.insert(config.end(), {"[窗体样式]", "滚动模式=0"});
  event.config(config);
  event.roster({"a", "b", "c", "d"});
  DrawData data;
  event.start(data);
  for (int i = 0; i < 3; ++i) {
    draw::buildTickets(data);
    draw::awardPickAndRecord(data, event.folder());
  }
  EXPECT_EQ(data.AllNameGrid.rowCount(), 2u);
  draw::buildTickets(data);
  EXPECT_EQ(data.OderList.rowCount(), 1u);
  draw::restartDraw(data, event.folder());
  EXPECT_EQ(data.AllNameGrid.rowCount(), 5u);
  EXPECT_EQ(data.OderList.rowCount(), 4u);
}

}  // namespace
