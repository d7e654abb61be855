// The draw is fair where it should be random and forced exactly where the
// predetermined winners need it: chi-square checks over many seeds (fixed
// seeds, so a result never flips between runs) and the forcing boundary.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <set>

#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw_testing::EventFixture;
namespace item = draw::item;

// Appends are synced; on a disk that is milliseconds each, so the many-seed
// tests keep their event folders in memory when they can.
class InMemoryFolders {
 public:
  InMemoryFolders() {
    const char* old = std::getenv("TMPDIR");
    if (old) old_ = old;
    had_ = old != nullptr;
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec)) ::setenv("TMPDIR", "/dev/shm", 1);
  }
  ~InMemoryFolders() {
    if (had_)
      ::setenv("TMPDIR", old_.c_str(), 1);
    else
      ::unsetenv("TMPDIR");
  }

 private:
  std::string old_;
  bool had_ = false;
};

double chiSquare(const std::map<std::string, int>& observed, const std::map<std::string, double>& expected) {
  double sum = 0;
  for (const auto& [key, e] : expected) {
    const auto it = observed.find(key);
    const double o = it == observed.end() ? 0 : it->second;
    sum += (o - e) * (o - e) / e;
  }
  return sum;
}

// Award rolling: the head of the queue draws one ticket of all tickets left, so
// an award with k of the n tickets comes up k/n of the time.
TEST(Fairness, AwardRollingTicketPickFollowsThePlaces) {
  InMemoryFolders memory;
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 3, 1}, {"三等奖", 6, 1}});
  config.insert(config.end(), {"[窗体样式]", "滚动模式=0"});
  event.config(config);
  event.roster(EventFixture::numberedNames(10));
  DrawData data;
  event.start(data);
  draw::buildTickets(data);
  ASSERT_EQ(data.OderList.rowCount(), 11u);

  constexpr int kPicks = 2000;
  std::map<std::string, int> won;
  for (int seed = 1; seed <= kPicks; ++seed) {
    DrawData copy = data;
    copy.random.seed(static_cast<std::uint64_t>(seed));
    ++won[std::to_string(draw::awardPickAndRecord(copy, event.folder()))];
  }
  // Two degrees of freedom; 13.8 is the 0.1% point.
  EXPECT_LT(chiSquare(won, {{"1", kPicks * 0.1}, {"2", kPicks * 0.3}, {"3", kPicks * 0.6}}), 13.8)
      << won["1"] << " " << won["2"] << " " << won["3"];
}

// A batch of two from five people: each of the ten pairs equally often, which a
// shuffle that is fair for single picks can still miss.
TEST(Fairness, EveryPairOfABatchIsEquallyLikely) {
  EventFixture event;
  event.config(EventFixture::awardLines({{"一等奖", 2, 2}}));
  event.roster(EventFixture::numberedNames(5));
  DrawData data;
  event.start(data);
  data.state.currentAward = "1";
  ASSERT_FALSE(draw::buildPool(data, event.folder().configFiles().openConfigOnly()));
  data.state.batchSize = 2;

  constexpr int kPicks = 10000;
  std::map<std::string, int> pairs;
  for (int seed = 1; seed <= kPicks; ++seed) {
    DrawData copy = data;
    copy.random.seed(static_cast<std::uint64_t>(seed));
    draw::batchPick(copy);
    const auto& pool = copy.AllNameGrid;
    std::string a = pool.cell(0, pool.rowCount() - 1);
    std::string b = pool.cell(0, pool.rowCount() - 2);
    ASSERT_NE(a, b);
    ++pairs[std::min(a, b) + "-" + std::max(a, b)];
  }
  std::map<std::string, double> expected;
  for (int i = 1; i <= 5; ++i)
    for (int j = i + 1; j <= 5; ++j) expected[std::to_string(i) + "-" + std::to_string(j)] = kPicks / 10.0;
  // Nine degrees of freedom; 27.9 is the 0.1% point.
  EXPECT_LT(chiSquare(pairs, expected), 27.9);
}

// Predetermined winners are forced in only when the places left after this
// batch would not hold them all (remaining − batch < pending); then every one
// of them that fits the batch wins it.
TEST(Fairness, PredeterminedWinnersAreForcedExactlyAtTheBoundary) {
  struct Case {
    int places;
    int batch;
    int pending;
    int batchIndex;  // batches drawn before this one
    bool forced;
  } cases[] = {
      {6, 2, 1, 0, false},                       // 6 − 2 = 4 places after it for 1
      {6, 2, 1, 1, false},                       // 4 − 2 = 2
      {6, 2, 1, 2, true},                        // 2 − 2 = 0 < 1: the last batch
      {6, 2, 2, 1, false},                       // 4 − 2 = 2, not below 2
      {6, 2, 2, 2, true},  {6, 3, 2, 0, false},  // 6 − 3 = 3
      {6, 3, 2, 1, true},                        // 3 − 3 = 0
      {5, 2, 2, 1, true},                        // 3 − 2 = 1 < 2
      {5, 2, 3, 0, false},                       // 5 − 2 = 3, not below 3
      {5, 2, 3, 1, true},                        // 3 − 2 = 1 < 3: both places of this batch go to them
      {4, 4, 1, 0, true},                        // one batch for everything
      {3, 1, 1, 2, true},  {3, 1, 1, 1, false},
  };
  for (const Case& c : cases) {
    const int remaining = c.places - c.batch * c.batchIndex;
    std::vector<std::string> config = EventFixture::awardLines({{"一等奖", c.places, c.batch}});
    config.insert(config.end(), {"[内定设置]", "Open=1"});
    for (int k = 1; k <= c.pending; ++k)  // predetermined people 31, 32, … of a roster of 40
      config.push_back(std::to_string(k) + "=" + std::to_string(k) + "|" + std::to_string(30 + k) + "|x|1|x");
    EventFixture event;
    event.config(config);
    event.roster(EventFixture::numberedNames(40));
    DrawData data;
    event.start(data);
    data.setCount(1, item::kDrawn, c.places - remaining);
    data.state.currentAward = "1";
    ASSERT_FALSE(draw::buildPool(data, event.folder().configFiles().openConfigOnly()));
    ASSERT_EQ(data.state.pendingPredetermined, c.pending);
    data.state.batchSize = c.batch;

    const int fit = std::min(c.pending, c.batch);
    int allIn = 0;
    constexpr int kSeeds = 40;
    for (int seed = 1; seed <= kSeeds; ++seed) {
      DrawData copy = data;
      copy.random.seed(static_cast<std::uint64_t>(seed));
      draw::batchPick(copy);
      int predetermined = 0;
      const auto& pool = copy.AllNameGrid;
      for (int i = 0; i < c.batch; ++i) {
        const int serial = std::stoi(pool.cell(0, pool.rowCount() - 1 - i));
        predetermined += serial > 30 && serial <= 30 + c.pending;
      }
      allIn += predetermined == fit;
    }
    // Unforced, a pool of 40 rarely hands every predetermined person a place.
    if (c.forced)
      EXPECT_EQ(allIn, kSeeds) << c.places << "/" << c.batch << "/" << c.pending << "/" << c.batchIndex;
    else
      EXPECT_LT(allIn, kSeeds / 2) << c.places << "/" << c.batch << "/" << c.pending << "/" << c.batchIndex;
  }
}

// With repeat winning on a person may win again later, but never twice in one
// batch, also when barred and predetermined people are moved in and out.
TEST(Fairness, NobodyWinsTwiceInOneBatchWithRepeatWinningOn) {
  InMemoryFolders memory;
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    EventFixture event;
    auto config = EventFixture::awardLines({{"一等奖", 3, 3}, {"二等奖", 6, 4}, {"三等奖", 12, 5}});
    config.insert(config.end(), {"[界面设置]", "重复中奖=1", "抽奖顺序=0", "[内定设置]", "Open=1", "1=1|2|x|2|x",
                                 "2=2|3|x|3|x", "[内定设置B]", "Open=1", "1=1|4|x|0|x", "2=2|5|x|1|x"});
    event.config(config);
    event.roster(EventFixture::numberedNames(8));
    DrawData data;
    event.start(data, seed);
    std::size_t before = 0;
    int batches = 0;
    while (draw_testing::drawBatch(data, event.folder()) && batches < 20) {
      ++batches;
      std::set<std::string> people;
      for (std::size_t r = before + 1; r <= data.winnerCount(); ++r)
        EXPECT_TRUE(people.insert(data.LuckNameGrid.cell(0, r)).second) << "seed " << seed << " batch " << batches;
      before = data.winnerCount();
    }
    EXPECT_EQ(data.winnerCount(), 21u) << seed;  // every place drawn: the same people win again
  }
}

}  // namespace
