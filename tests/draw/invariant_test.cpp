// Many random events driven through the engine operations, checking after
// every step the invariants of the draw tables and that a program start from
// the files written so far rebuilds the same tables.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "draw/award_corrections.h"
#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw::Table;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

struct RandomEvent {
  std::mt19937 rng;
  EventFixture event;
  DrawData data;
  bool peopleRolling = true;
  bool repeatWinning = true;
  std::set<std::string> keptOutAfterGiveUp;  // gave up without returning to the pool
  std::string trace;

  int uniform(int lowest, int highest) { return std::uniform_int_distribution<int>(lowest, highest)(rng); }
  bool chance(int percent) { return uniform(1, 100) <= percent; }

  explicit RandomEvent(unsigned seed) : rng(seed) {
    const int people = uniform(3, 40);
    const int awards = uniform(1, 5);
    std::vector<draw_testing::Award> list;
    for (int a = 1; a <= awards; ++a) list.push_back({"奖" + std::to_string(a), uniform(1, 6), uniform(1, 4)});
    auto config = EventFixture::awardLines(list);
    peopleRolling = chance(70);
    repeatWinning = chance(50);
    const bool predetermined = chance(60);
    const bool blacklist = chance(50);
    const bool groups = chance(40);
    config.insert(config.end(),
                  {"[窗体样式]", std::string("滚动模式=") + (peopleRolling ? "1" : "0"), "[界面设置]",
                   std::string("重复中奖=") + (repeatWinning ? "1" : "0"), "抽奖顺序=" + std::to_string(uniform(0, 1)),
                   "[奖项分组设定]", std::string("OpenClassify=") + (groups ? "1" : "0"), "[奖项分组]"});
    for (int a = 1; a <= awards; ++a) {
      if (chance(50)) continue;
      config.push_back(std::to_string(a) + "_B=" + std::to_string(uniform(0, people)));
      config.push_back(std::to_string(a) + "_E=" + std::to_string(uniform(0, people + 3)));
    }
    config.insert(config.end(), {"[内定设置]", std::string("Open=") + (predetermined ? "1" : "0")});
    for (int e = 1, n = uniform(0, 4); e <= n; ++e) {
      config.push_back(std::to_string(e) + "=" + std::to_string(e) + "|" + std::to_string(uniform(1, people)) + "|x|" +
                       std::to_string(uniform(1, awards)) + "|x");
    }
    config.insert(config.end(), {"[内定设置B]", std::string("Open=") + (blacklist ? "1" : "0")});
    for (int e = 1, n = uniform(0, 3); e <= n; ++e) {
      config.push_back(std::to_string(e) + "=" + std::to_string(e) + "|" + std::to_string(uniform(1, people)) + "|x|" +
                       std::to_string(uniform(0, awards)) + "|x");
    }
    event.config(config);
    event.roster(EventFixture::numberedNames(people));
    event.start(data, seed);
  }

  std::size_t winnerRowsMarked(const std::string& mark, int n) const {
    const Table& pool = data.AllNameGrid;
    std::size_t count = 0;
    for (std::size_t r = pool.rowCount() - static_cast<std::size_t>(n); r < pool.rowCount(); ++r) {
      count += pool.cell(draw::person::kFlag, r) == mark;
    }
    return count;
  }

  // Returns false when nothing could be drawn.
  bool peopleBatch() {
    data.state.currentAward = draw::findCurrentAward(data);
    if (data.state.currentAward.empty()) return false;
    const auto award = static_cast<std::size_t>(std::stoi(data.state.currentAward));
    int n = std::min(data.count(award, item::kBatchSize), data.remaining(award));
    if (draw::buildPool(data, event.folder().configFiles().openConfigOnly())) return false;
    const Table& pool = data.AllNameGrid;
    n = std::min<int>(n, static_cast<int>(pool.rowCount()) - 1);
    data.state.batchSize = n;
    std::size_t yInPool = 0;
    for (std::size_t r = 1; r < pool.rowCount(); ++r) yInPool += pool.cell(draw::person::kFlag, r) == "Y";
    const int pending = data.state.pendingPredetermined;
    const bool forcing = data.settings.predeterminedOn && data.remaining(award) - n < pending;
    draw::batchPick(data);

    if (forcing) {
      const auto expected =
          std::min<std::size_t>({static_cast<std::size_t>(n), static_cast<std::size_t>(pending), yInPool});
      EXPECT_GE(winnerRowsMarked("Y", n), expected) << trace;
    }
    if (winnerRowsMarked("N", n) > 0) {
      for (std::size_t r = 1; r + static_cast<std::size_t>(n) < pool.rowCount(); ++r) {
        EXPECT_NE(pool.cell(draw::person::kFlag, r), "") << "a barred person won while " << r << " was free; " << trace;
      }
    }
    draw::logHeaderIfNewAward(data, event.folder());
    draw::batchRecord(data, event.folder());
    return true;
  }

  bool awardDraw() {
    draw::buildTickets(data);
    if (data.OderList.rowCount() < 2 || data.AllNameGrid.rowCount() < 2) return false;
    std::optional<std::size_t> forced;
    if (data.settings.predeterminedOn) {
      const std::string head = data.AllNameGrid.cell(0, 1);
      for (std::size_t r = 1; r < data.LuckDetail.rowCount(); ++r) {
        if (data.LuckDetail.cell(draw::entry::kPerson, r) == head) {
          const auto award = std::stoul(data.LuckDetail.cell(draw::entry::kAward, r));
          if (data.ticketCount(award) > 0) forced = award;
          break;
        }
      }
    }
    const std::size_t won = draw::awardPickAndRecord(data, event.folder());
    if (forced) {
      EXPECT_EQ(won, *forced) << trace;
    }
    return true;
  }

  void giveUp() {
    if (!data.hasWinners()) return;
    draw::GiveUpChoice choice{static_cast<std::size_t>(uniform(1, static_cast<int>(data.winnerCount()))), chance(70),
                              chance(60)};
    const std::string person = data.LuckNameGrid.cell(0, choice.recordRow);
    if (!choice.returnToPool)
      keptOutAfterGiveUp.insert(person);
    else
      keptOutAfterGiveUp.erase(person);
    ASSERT_TRUE(draw::giveUp(data, event.folder(), choice));
  }

  void supplementary() {
    const bool existing = chance(60);
    const auto row = static_cast<std::size_t>(uniform(1, static_cast<int>(data.awardRowCount())));
    const std::string name = existing ? data.ItemGrid.cell(item::kName, row) : gbk("特别奖") + std::to_string(row);
    draw::supplementary(data, event.folder(), {name, row, std::to_string(uniform(1, 3)), "p"});
  }

  void checkInvariants() {
    std::map<std::string, int> perAward;
    std::multiset<std::string> winners;
    for (std::size_t r = 1; r <= data.winnerCount(); ++r) {
      ++perAward[data.LuckNameGrid.cell(draw::winner::kAwardSerial, r)];
      winners.insert(data.LuckNameGrid.cell(draw::winner::kSerial, r));
    }
    for (std::size_t a = 1; a <= data.awardRowCount(); ++a) {
      EXPECT_EQ(data.count(a, item::kDrawn), perAward[std::to_string(a)]) << "award " << a << "; " << trace;
    }
    EXPECT_EQ(data.LuckNameGrid.row(data.LuckNameGrid.rowCount() - 1), Table::Row(5));
    if (!repeatWinning) {
      for (const auto& w : winners) {
        EXPECT_EQ(winners.count(w), 1u) << "duplicate winner " << w << "; " << trace;
        EXPECT_EQ(data.AllNameList.cell(draw::person::kFlag, std::stoul(w)), "Y") << trace;
      }
    }
  }

  void checkRestartReproduces() {
    DrawData again;
    event.start(again);
    ASSERT_EQ(again.ItemGrid.rowCount(), data.ItemGrid.rowCount()) << trace;
    // An empty cell is stored as nothing and reads back as a blank.
    auto cell = [](const DrawData& d, std::size_t c, std::size_t r) {
      const std::string& text = d.ItemGrid.cell(c, r);
      return text == " " ? std::string() : text;
    };
    for (std::size_t r = 0; r < data.ItemGrid.rowCount(); ++r) {
      for (std::size_t c = 0; c < item::kPredetermined; ++c) {
        EXPECT_EQ(cell(again, c, r), cell(data, c, r)) << r << "," << c << "; " << trace;
      }
    }
    ASSERT_EQ(again.LuckNameGrid.rowCount(), data.LuckNameGrid.rowCount()) << trace;
    for (std::size_t r = 0; r < data.LuckNameGrid.rowCount(); ++r) {
      EXPECT_EQ(again.LuckNameGrid.row(r), data.LuckNameGrid.row(r)) << trace;
    }
    // Award rolling marks every winner whatever repeat winning says; after a
    // start the marks follow repeat winning alone, so only people rolling compares.
    if (!peopleRolling) return;
    for (std::size_t r = 1; r < data.AllNameList.rowCount(); ++r) {
      if (keptOutAfterGiveUp.count(std::to_string(r))) continue;
      EXPECT_EQ(again.AllNameList.row(r), data.AllNameList.row(r)) << trace;
    }
  }
};

TEST(DrawInvariants, HoldAfterEveryStepOfRandomEvents) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    RandomEvent e(seed);
    for (int step = 0; step < 40; ++step) {
      const int action = e.uniform(1, 100);
      e.trace = "event " + std::to_string(seed) + " step " + std::to_string(step);
      if (action <= 10) {
        e.trace += " give-up";
        e.giveUp();
      } else if (action <= 18) {
        e.trace += " supplementary";
        e.supplementary();
      } else {
        e.trace += " draw";
        const bool drew = e.peopleRolling ? e.peopleBatch() : e.awardDraw();
        if (!drew && e.chance(50)) break;
      }
      e.checkInvariants();
      e.checkRestartReproduces();
      if (::testing::Test::HasFailure()) return;
    }
  }
}

}  // namespace
