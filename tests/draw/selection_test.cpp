#include "draw/selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "base/file_error.h"
#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw_testing::EventFixture;
using testing_support::gbk;

std::vector<std::string> winnersOfPick(const DrawData& data) {
  std::vector<std::string> out;
  const auto& pool = data.AllNameGrid;
  for (int i = 0; i < data.state.batchSize; ++i) out.push_back(pool.cell(0, pool.rowCount() - 1 - i));
  return out;
}

struct PickEvent {
  EventFixture event;
  DrawData data;
  PickEvent(const std::vector<std::string>& extraConfig, int rosterSize, int places, int batch) {
    auto config = EventFixture::awardLines({{"一等奖", places, batch}});
    config.insert(config.end(), extraConfig.begin(), extraConfig.end());
    event.config(config);
    event.roster(EventFixture::numberedNames(rosterSize));
    event.start(data);
  }
  void pick(std::uint64_t seed, int n) {
    data.random.seed(seed);
    data.state.currentAward = "1";
    ASSERT_FALSE(draw::buildPool(data, event.folder().configFiles().openConfigOnly()));
    data.state.batchSize = n;
    draw::batchPick(data);
  }
};

TEST(BatchPick, ABatchAsLargeAsThePoolTakesEveryone) {
  PickEvent e({}, 3, 3, 3);
  e.pick(1, 3);
  auto winners = winnersOfPick(e.data);
  std::sort(winners.begin(), winners.end());
  EXPECT_EQ(winners, (std::vector<std::string>{"1", "2", "3"}));
}

TEST(BatchPick, PredeterminedWinnerIsForcedOnlyWhenThePlacesRunOut) {
  int earlyWins = 0;
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    PickEvent e({"[内定设置]", "Open=1", "1=1|20|x|1|x"}, 20, 3, 1);
    bool won = false;
    for (int batch = 1; batch <= 3; ++batch) {
      e.pick(seed * 10 + static_cast<std::uint64_t>(batch), 1);
      const bool now = winnersOfPick(e.data)[0] == "20";
      if (now && batch == 1) ++earlyWins;
      won = won || now;
      draw::batchRecord(e.data, e.event.folder());
    }
    EXPECT_TRUE(won) << seed;
  }
  // Before the last place the pick stays random: about 1 in 20.
  EXPECT_LT(earlyWins, 30);
}

TEST(BatchPick, TwoPendingPredeterminedFillTheLastTwoPlaces) {
  for (std::uint64_t seed = 1; seed <= 50; ++seed) {
    PickEvent e({"[内定设置]", "Open=1", "1=1|3|x|1|x", "2=2|9|x|1|x"}, 12, 2, 2);
    e.pick(seed, 2);
    auto winners = winnersOfPick(e.data);
    std::sort(winners.begin(), winners.end());
    EXPECT_EQ(winners, (std::vector<std::string>{"3", "9"}));
  }
}

TEST(BatchPick, BarredPeopleWinOnlyWhenNoUnmarkedCandidateIsLeft) {
  for (std::uint64_t seed = 1; seed <= 50; ++seed) {
    PickEvent e({"[内定设置B]", "Open=1", "1=1|1|x|0|x", "2=2|2|x|1|x", "3=3|5|x|1|x", "4=4|7|x|0|x", "5=5|8|x|0|x"},
                10, 3, 3);
    e.pick(seed, 3);
    for (const auto& w : winnersOfPick(e.data)) {
      EXPECT_TRUE(w == "3" || w == "4" || w == "6" || w == "9" || w == "10") << w;
    }
  }
  // Only person 3 is unmarked: the batch of 2 holds 3 and one barred person.
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    PickEvent e({"[内定设置B]", "Open=1", "1=1|1|x|0|x", "2=2|2|x|0|x"}, 3, 2, 2);
    e.pick(seed, 2);
    auto winners = winnersOfPick(e.data);
    std::sort(winners.begin(), winners.end());
    EXPECT_EQ(winners.size(), 2u);
    EXPECT_EQ(winners[1], "3");
  }
}

TEST(BatchRecord, RecordsFirstPickFirstInTablesAndFiles) {
  PickEvent e(
      {"[界面设置]", "重复中奖=0", "隐私_check=1", "隐私_begin=1", "隐私_end=1", "[内定设置]", "Open=1", "1=1|2|x|1|x"},
      4, 4, 4);
  e.pick(3, 4);
  const auto picked = winnersOfPick(e.data);
  draw::logHeaderIfNewAward(e.data, e.event.folder());
  draw::batchRecord(e.data, e.event.folder());
  EXPECT_EQ(e.data.count(1, draw::item::kDrawn), 4);
  EXPECT_EQ(e.data.AllNameGrid.rowCount(), 1u);
  auto lines = e.event.lines("LuckName.txt");
  ASSERT_EQ(lines.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string& s = picked[i];
    EXPECT_EQ(lines[i], s + "|" + gbk("人") + s + "|*" + s + "|" + gbk("一等奖") + "|1");
    EXPECT_EQ(draw::winnerRecordLine(e.data.LuckNameGrid, i + 1), lines[i]);
    EXPECT_EQ(e.data.AllNameList.cell(draw::person::kFlag, std::stoul(s)), "Y");
  }
  auto log = e.event.lines("log.txt");
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(log[1], gbk("[2026-12-08 20:15:03] 一等奖4名 (奖品:奖品)"));
  EXPECT_EQ(log[3], gbk("人") + picked[0]);
  EXPECT_EQ(e.data.LuckDetail.cell(draw::entry::kDrawn, 1), "Y");

  // The same award again writes no second header block.
  draw::logHeaderIfNewAward(e.data, e.event.folder());
  EXPECT_EQ(e.event.lines("log.txt").size(), 7u);
}

// The winners record is the only record of who won: a draw log that cannot be
// written ends the batch, but never before the winner's record line is on disk.
TEST(BatchRecord, WinnerReachesTheRecordEvenWhenTheLogCannotBeWritten) {
  PickEvent e({}, 5, 5, 2);
  e.pick(1, 2);
  std::filesystem::create_directory(e.event.dir() / "log.txt");
  // The whole batch is recorded; the log's failure is raised after the records.
  EXPECT_THROW(draw::batchRecord(e.data, e.event.folder()), base::FileError);
  EXPECT_EQ(e.event.lines("LuckName.txt").size(), 2u);
  EXPECT_EQ(e.data.winnerCount(), 2u);
  EXPECT_EQ(e.data.count(1, draw::item::kDrawn), 2);

  // A record that cannot be written is not taken by the tables either.
  PickEvent f({}, 5, 5, 2);
  f.pick(1, 2);
  std::filesystem::create_directory(f.event.dir() / "LuckName.txt");
  EXPECT_THROW(draw::batchRecord(f.data, f.event.folder()), base::FileError);
  EXPECT_FALSE(f.data.hasWinners());
  EXPECT_EQ(f.data.count(1, draw::item::kDrawn), 0);
  EXPECT_EQ(f.data.AllNameGrid.rowCount(), 6u);
}

TEST(AwardPick, PredeterminedHeadTakesItsAwardAndOrdinaryTicketsStay) {
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 1, 1}});
  config.insert(config.end(), {"[窗体样式]", "滚动模式=0", "[内定设置]", "Open=1", "1=1|1|a|2|x"});
  event.config(config);
  event.roster({"a", "b", "c", "d", "e"});
  DrawData data;
  event.start(data);
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    DrawData copy = data;
    copy.random.seed(seed);
    draw::buildTickets(copy);
    EXPECT_EQ(draw::awardPickAndRecord(copy, event.folder()), 2u);
    EXPECT_EQ(copy.OderList.rowCount(), 3u);  // tickets 1 and 2 unchanged
    EXPECT_EQ(copy.ItemGrid.cell(draw::item::kPredetermined, 2), "0");
    EXPECT_EQ(copy.AllNameList.cell(draw::person::kFlag, 1), "Y");  // even with repeat winning on
  }
}

// A second person predetermined for a one-place award finds no ticket of it
// left: the award is not drawn past its places, the person takes a ticket left.
TEST(AwardPick, PredeterminedHeadOfAFinishedAwardTakesATicketLeft) {
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 1, 1}});
  config.insert(config.end(), {"[窗体样式]", "滚动模式=0", "[内定设置]", "Open=1", "1=1|1|a|2|x", "2=2|2|b|2|x"});
  event.config(config);
  event.roster({"a", "b", "c"});
  DrawData data;
  event.start(data);
  for (std::uint64_t seed = 1; seed <= 10; ++seed) {
    DrawData copy = data;
    copy.random.seed(seed);
    draw::buildTickets(copy);
    EXPECT_EQ(draw::awardPickAndRecord(copy, event.folder()), 2u);
    draw::buildTickets(copy);
    EXPECT_EQ(draw::awardPickAndRecord(copy, event.folder()), 1u);
    EXPECT_EQ(copy.count(2, draw::item::kDrawn), 1);
  }
}

TEST(AwardPick, EachPersonInTurnUntilTheTicketsRunOut) {
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 1, 1, "手机"}, {"二等奖", 1, 1}});
  config.insert(config.end(), {"[窗体样式]", "滚动模式=0"});
  event.config(config);
  event.roster({"a", "b", "c", "d", "e"});
  DrawData data;
  event.start(data);
  std::set<std::size_t> awards;
  for (const char* head : {"a", "b"}) {
    draw::buildTickets(data);
    EXPECT_EQ(data.AllNameGrid.cell(draw::person::kName, 1), head);
    awards.insert(draw::awardPickAndRecord(data, event.folder()));
  }
  EXPECT_EQ(awards, (std::set<std::size_t>{1, 2}));
  draw::buildTickets(data);
  EXPECT_EQ(data.OderList.rowCount(), 1u);
  EXPECT_THROW(draw::awardPickAndRecord(data, event.folder()), std::logic_error);
  auto log = event.lines("log.txt");
  ASSERT_EQ(log.size(), 8u);
  EXPECT_EQ(log[0], std::string(75, '-'));
  EXPECT_EQ(log[2], "a");
  EXPECT_EQ(log[3], "");
  EXPECT_TRUE(log[1] == gbk("[2026-12-08 20:15:03] 一等奖一名 (奖品:手机)") ||
              log[1] == gbk("[2026-12-08 20:15:03] 二等奖一名 (奖品:奖品)"));
  EXPECT_EQ(event.lines("LuckName.txt").size(), 2u);
}

// Every person of a pool without marks is equally likely to win: a chi-square
// test over many batches at a strict threshold (fixed seed, so deterministic).
TEST(BatchPick, WinsAreUniformOverThePool) {
  PickEvent e({"[奖项分组设定]", "OpenClassify=0"}, 20, 3, 3);
  constexpr int kPicks = 20000;
  constexpr int kBatch = 3;
  std::map<std::string, int> wins;
  std::map<std::string, int> firstPicks;
  e.data.state.currentAward = "1";
  e.data.random.seed(20261208);
  const base::IniFile config = e.event.folder().configFiles().openConfigOnly();
  for (int i = 0; i < kPicks; ++i) {
    draw::buildPool(e.data, config);
    e.data.state.batchSize = kBatch;
    draw::batchPick(e.data);
    auto winners = winnersOfPick(e.data);
    for (const auto& w : winners) ++wins[w];
    ++firstPicks[winners[0]];
  }
  auto chiSquare = [](const std::map<std::string, int>& counts, double expected) {
    double sum = 0;
    for (const auto& [person, n] : counts) sum += (n - expected) * (n - expected) / expected;
    return sum;
  };
  ASSERT_EQ(wins.size(), 20u);
  // 19 degrees of freedom: 43.82 is the 0.999 quantile.
  EXPECT_LT(chiSquare(wins, kPicks * kBatch / 20.0), 43.82);
  EXPECT_LT(chiSquare(firstPicks, kPicks / 20.0), 43.82);
}

// A barred person picked by the shuffle is replaced by a random unmarked
// candidate, so the others stay equally likely (not the lowest serials first).
TEST(BatchPick, ReplacementsForBarredWinnersAreUniform) {
  PickEvent e({"[奖项分组设定]", "OpenClassify=0", "[内定设置B]", "Open=1", "1=1|1|x|0|x", "2=2|2|x|0|x", "3=3|3|x|0|x",
               "4=4|4|x|0|x"},
              14, 5, 5);
  constexpr int kPicks = 20000;
  std::map<std::string, int> wins;
  e.data.state.currentAward = "1";
  e.data.random.seed(8);
  const base::IniFile config = e.event.folder().configFiles().openConfigOnly();
  for (int i = 0; i < kPicks; ++i) {
    draw::buildPool(e.data, config);
    e.data.state.batchSize = 5;
    draw::batchPick(e.data);
    for (const auto& w : winnersOfPick(e.data)) ++wins[w];
  }
  ASSERT_EQ(wins.size(), 10u);  // persons 5 … 14, never a barred one
  double sum = 0;
  const double expected = kPicks * 5 / 10.0;
  for (const auto& [person, n] : wins) sum += (n - expected) * (n - expected) / expected;
  EXPECT_LT(sum, 27.88);  // 9 degrees of freedom, 0.999 quantile
}

}  // namespace
