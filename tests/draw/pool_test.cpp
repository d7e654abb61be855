#include "draw/pool.h"

#include <gtest/gtest.h>

#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw_testing::EventFixture;
using testing_support::gbk;

std::vector<std::string> poolSerials(const DrawData& data) {
  std::vector<std::string> out;
  for (std::size_t r = 1; r < data.AllNameGrid.rowCount(); ++r) out.push_back(data.AllNameGrid.cell(0, r));
  return out;
}

std::vector<std::string> range(int first, int last) {
  std::vector<std::string> out;
  for (int i = first; i <= last; ++i) out.push_back(std::to_string(i));
  return out;
}

TEST(Pool, GroupRangesBoundThePool) {
  struct Case {
    std::vector<std::string> groupLines;
    int roster;
    std::vector<std::string> expected;
  } cases[] = {
      {{"2_B=11", "2_E=20"}, 15, range(11, 15)},
      {{}, 6, range(1, 6)},
      {{"2_B=0", "2_E=3"}, 6, range(1, 3)},
      {{"2_B=30"}, 20, {}},
      {{"2_B=5", "2_E=4"}, 20, {}},
  };
  for (const Case& c : cases) {
    EventFixture event;
    std::vector<std::string> config = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 1, 1}});
    config.push_back("[奖项分组]");
    config.insert(config.end(), c.groupLines.begin(), c.groupLines.end());
    event.config(config);
    event.roster(EventFixture::numberedNames(c.roster));
    DrawData data;
    event.start(data);
    if (c.roster >= 12) data.AllNameList.setCell(draw::person::kFlag, 12, "Y");  // not eligible
    data.state.currentAward = "2";
    auto message = draw::buildPool(data, event.folder().configFiles().openConfigOnly());
    std::vector<std::string> expected = c.expected;
    std::erase(expected, "12");
    EXPECT_EQ(poolSerials(data), expected);
    if (expected.empty()) {
      ASSERT_TRUE(message);
      EXPECT_EQ(*message, gbk("抽奖名单为空,请检查[参数设置]->[奖项分组]中(二等奖)的范围设置"));
    } else {
      EXPECT_FALSE(message);
    }
  }
}

TEST(Pool, EmptyPoolWithoutGroupsNamesTheRoster) {
  EventFixture event;
  std::vector<std::string> config = EventFixture::awardLines({{"一等奖", 1, 1}});
  config.insert(config.end(), {"[奖项分组设定]", "OpenClassify=0", "[奖项分组]", "1_B=30"});
  event.config(config);
  event.roster({"a"});
  DrawData data;
  event.start(data);
  data.AllNameList.setCell(draw::person::kFlag, 1, "Y");
  data.state.currentAward = "1";
  auto message = draw::buildPool(data, event.folder().configFiles().openConfigOnly());
  ASSERT_TRUE(message);
  EXPECT_EQ(*message, gbk("抽奖名单为空或全部人员已被抽完,请检查[参数设置]->[抽奖名单]!"));
}

TEST(Pool, PredeterminedAndBlacklistMarks) {
  EventFixture event;
  std::vector<std::string> config = EventFixture::awardLines({{"一等奖", 1, 1}, {"二等奖", 2, 1}, {"三等奖", 3, 1}});
  config.insert(config.end(), {"[内定设置]", "Open=1",
                               "1=1|6|f|2|x",  // award 2 and award 3: "Y" for award 2
                               "2=2|6|f|3|x",
                               "3=3|2|b|3|x",  // another award: "N"
                               "4=4|4|d|1|x",  // already drawn for award 1 below: ordinary
                               "5=5|5|e|2|x",  // this award but blacklisted: front, "N"
                               "[内定设置B]", "Open=1", "1=1|3|c|0|all", "2=2|5|e|2|x", "3=3|1|a|3|x"});
  event.config(config);
  event.roster(EventFixture::numberedNames(7));
  DrawData data;
  event.start(data);
  data.LuckDetail.setCell(draw::entry::kDrawn, 4, "Y");
  data.state.currentAward = "2";
  EXPECT_FALSE(draw::buildPool(data, event.folder().configFiles().openConfigOnly()));
  EXPECT_EQ(data.state.pendingPredetermined, 2);
  EXPECT_EQ(poolSerials(data), (std::vector<std::string>{"5", "6", "1", "2", "3", "4", "7"}));
  std::vector<std::string> marks;
  for (std::size_t r = 1; r < data.AllNameGrid.rowCount(); ++r) marks.push_back(data.AllNameGrid.cell(3, r));
  EXPECT_EQ(marks, (std::vector<std::string>{"N", "Y", "", "N", "N", "", ""}));

  // For award 3: 2 and 6 are its predetermined winners, 5 waits for award 2, 1 and 3 are barred.
  data.state.currentAward = "3";
  draw::buildPool(data, event.folder().configFiles().openConfigOnly());
  EXPECT_EQ(poolSerials(data), (std::vector<std::string>{"2", "6", "1", "3", "4", "5", "7"}));
  marks.clear();
  for (std::size_t r = 1; r < data.AllNameGrid.rowCount(); ++r) marks.push_back(data.AllNameGrid.cell(3, r));
  EXPECT_EQ(marks, (std::vector<std::string>{"Y", "Y", "N", "N", "", "N", ""}));
}

TEST(Pool, QueueTicketsAndRecount) {
  EventFixture event;
  std::vector<std::string> config = EventFixture::awardLines({{"一等奖", 3, 1}, {"二等奖", 2, 1}, {"三等奖", 0, 1}});
  config.insert(config.end(), {"[窗体样式]", "滚动模式=0", "[内定设置]", "Open=1", "1=1|3|c|2|x", "2=2|1|a|2|x"});
  event.config(config);
  event.roster({"a", "b", "c"});
  event.dir().write("LuckName.txt", "1|a|a|x|1\r\n");
  DrawData data;
  event.start(data);
  // Repeat winning is on: after a start the earlier winner is back in the queue.
  EXPECT_EQ(poolSerials(data), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(data.ItemGrid.cell(draw::item::kPredetermined, 2), "2");
  data.setCount(1, draw::item::kShortfall, 1);  // a shortfall keeps its tickets
  draw::buildTickets(data);
  std::vector<std::string> tickets;
  for (std::size_t r = 1; r < data.OderList.rowCount(); ++r) tickets.push_back(data.OderList.cell(0, r));
  EXPECT_EQ(tickets, (std::vector<std::string>{"1", "1", "2", "2"}));
  EXPECT_EQ(data.OderList.cell(0, 0), gbk("剩余奖项编号"));

  event.config([] {
    auto c = EventFixture::awardLines({{"一等奖", 3, 1}});
    c.insert(c.end(), {"[界面设置]", "重复中奖=0", "[窗体样式]", "滚动模式=0"});
    return c;
  }());
  DrawData again;
  event.start(again);
  EXPECT_EQ(poolSerials(again), (std::vector<std::string>{"2", "3"}));
}

}  // namespace

namespace {

std::vector<draw::Table::Row> poolRows(const DrawData& d) {
  std::vector<draw::Table::Row> out;
  for (std::size_t r = 1; r < d.AllNameGrid.rowCount(); ++r) out.push_back(d.AllNameGrid.row(r));
  return out;
}

std::vector<draw::Table::Row> freshBuild(const DrawData& data, const base::IniFile& ini) {
  DrawData fresh = data;
  fresh.state.poolBuild = {};
  draw::buildPool(fresh, ini);
  return poolRows(fresh);
}

// A start keeps the pool the last stop left when a fresh build would give the
// same rows, with repeat winning off (the winners leave) and on (they go back
// to their places), also after picks that forced predetermined winners in and
// pushed barred people out; whatever changes between the batches (or while the
// names roll), the pool must be exactly the fresh build's, rows and marks in
// order. With nothing changed no start builds the pool again.
TEST(Pool, AKeptPoolIsAlwaysWhatAFreshBuildGives) {
  using Change = void (*)(DrawData&);
  const std::vector<std::pair<const char*, Change>> changes{
      {"nothing", [](DrawData&) {}},
      {"a winner back in the pool", [](DrawData& d) { d.AllNameList.setCell(draw::person::kFlag, 3, "N"); }},
      {"somebody made ineligible", [](DrawData& d) { d.AllNameList.setCell(draw::person::kFlag, 40, "Y"); }},
      {"a predetermined entry",
       [](DrawData& d) {
         d.LuckDetail.appendRow({"9", "25", "x", "1", "x", "N"});
       }},
      {"a barred person",
       [](DrawData& d) {
         d.BlackDetail.appendRow({"9", "26", "x", "1", "x", ""});
       }},
      {"repeat winning switched", [](DrawData& d) { d.settings.repeatWinning = !d.settings.repeatWinning; }},
      {"the blacklist switched off", [](DrawData& d) { d.settings.blacklistOn = false; }},
  };
  for (const bool repeatWinning : {false, true}) {
    for (const auto& [what, change] : changes) {
      for (const bool whileRolling : {false, true}) {
        SCOPED_TRACE(std::string(what) + (repeatWinning ? ", repeat winning" : "") +
                     (whileRolling ? ", while rolling" : ""));
        EventFixture event;
        auto config = EventFixture::awardLines({{"一等奖", 16, 4}, {"二等奖", 5, 1}});
        config.insert(config.end(),
                      {"[界面设置]", repeatWinning ? "重复中奖=1" : "重复中奖=0", "[内定设置]", "Open=1", "1=1|7|x|1|x",
                       "2=2|9|x|1|x", "3=3|11|x|2|x", "[内定设置B]", "Open=1", "1=1|8|x|1|x"});
        for (int k = 12; k <= 21; ++k)
          config.push_back(std::to_string(k - 10) + "=" + std::to_string(k - 10) + "|" + std::to_string(k) + "|x|0|x");
        event.config(config);
        event.roster(EventFixture::numberedNames(60));
        DrawData data;
        event.start(data);
        const auto ini = event.folder().configFiles().openConfigOnly();
        for (int batch = 0; batch < 6; ++batch) {
          const bool kept = data.state.poolBuild.pool == data.AllNameGrid.revision();
          if (batch > 0 && std::string(what) == "nothing") {
            EXPECT_TRUE(kept) << "batch " << batch;
          }
          data.state.currentAward = "1";
          data.state.batchSize = 4;
          draw::buildPool(data, ini);
          ASSERT_EQ(poolRows(data), freshBuild(data, ini)) << "batch " << batch;
          draw::batchPick(data);
          if (batch == 1 && whileRolling) change(data);
          draw::logHeaderIfNewAward(data, event.folder());
          draw::batchRecord(data, event.folder());
          if (batch == 1 && !whileRolling) change(data);
        }
      }
    }
  }
}

// The pool of the next award written ahead in slices is the fresh build's; a
// change of the roster or of the working roster between two slices drops it,
// and a start whose pool differs from the one written ahead builds its own.
TEST(Pool, APoolWrittenAheadIsWhatAFreshBuildGives) {
  using Between = void (*)(DrawData&);
  const std::vector<std::pair<const char*, Between>> cases{
      {"nothing", [](DrawData&) {}},
      {"somebody made ineligible", [](DrawData& d) { d.AllNameList.setCell(draw::person::kFlag, 30, "Y"); }},
      {"the working roster touched", [](DrawData& d) { d.AllNameGrid.setCell(draw::person::kFlag, 1, "N"); }},
      {"a predetermined entry for award 2",
       [](DrawData& d) {
         d.LuckDetail.appendRow({"9", "33", "x", "2", "x", "N"});
       }},
  };
  for (const auto& [what, between] : cases) {
    SCOPED_TRACE(what);
    EventFixture event;
    auto config = EventFixture::awardLines({{"一等奖", 4, 4}, {"二等奖", 4, 4}});
    config.insert(config.end(), {"[界面设置]", "重复中奖=0", "[奖项分组设定]", "OpenClassify=1", "[奖项分组]", "1_E=20",
                                 "2_B=11", "[内定设置]", "Open=1", "1=1|40|x|2|x", "2=2|15|x|1|x"});
    event.config(config);
    event.roster(EventFixture::numberedNames(50));
    DrawData data;
    event.start(data);
    const auto ini = event.folder().configFiles().openConfigOnly();
    data.state.currentAward = "1";
    data.state.batchSize = 4;
    draw::buildPool(data, ini);
    draw::batchPick(data);
    draw::batchRecord(data, event.folder());

    draw::PoolAhead ahead;
    ASSERT_TRUE(ahead.plan(data, ini, "2"));
    ASSERT_TRUE(ahead.step(data, 7));
    between(data);
    while (ahead.step(data, 7)) {
    }
    data.state.currentAward = "2";
    draw::buildPool(data, ini, &ahead);
    EXPECT_FALSE(ahead.pending());
    EXPECT_EQ(poolRows(data), freshBuild(data, ini));
    EXPECT_EQ(data.AllNameGrid.cell(draw::person::kFlag, 1), "Y");  // award 2's predetermined winners first
    EXPECT_FALSE(ahead.plan(data, ini, "2")) << "the pool is written already";
  }
}

}  // namespace

namespace {

// The operator starts award 1 (with the single-award choice) while the pool of
// award 2, the next in the draw order, is being written ahead over the working
// roster: half written, or written whole. The two awards draw from different
// group ranges; the start must draw from award 1's own pool, never from the
// rows written for award 2.
TEST(Pool, AStartOfAnotherAwardNeverTakesThePoolWrittenAheadForTheNext) {
  for (const int aheadSteps : {1, 100}) {  // half written, written whole
    SCOPED_TRACE("steps written ahead: " + std::to_string(aheadSteps));
    EventFixture event;
    auto config = EventFixture::awardLines({{"一等奖", 8, 4}, {"二等奖", 4, 4}});
    config.insert(config.end(), {"[界面设置]", "重复中奖=0", "[奖项分组设定]", "OpenClassify=1", "[奖项分组]", "1_E=20",
                                 "2_B=21", "[内定设置]", "Open=1", "1=1|30|x|2|x", "2=2|5|x|1|x"});
    event.config(config);
    event.roster(EventFixture::numberedNames(40));
    DrawData data;
    event.start(data);
    const auto ini = event.folder().configFiles().openConfigOnly();
    data.state.currentAward = "1";
    data.state.batchSize = 4;
    draw::buildPool(data, ini);
    draw::batchPick(data);
    draw::batchRecord(data, event.folder());
    const std::vector<draw::Table::Row> award1 = freshBuild(data, ini);

    draw::PoolAhead ahead;
    ASSERT_TRUE(ahead.plan(data, ini, "2"));
    for (int step = 0; step < aheadSteps && ahead.step(data, 7); ++step) {
    }
    data.state.currentAward = "1";
    EXPECT_FALSE(draw::buildPool(data, ini, &ahead));
    EXPECT_FALSE(ahead.pending());
    EXPECT_EQ(data.state.groupFirst, 1);
    EXPECT_EQ(data.state.groupLast, 20);
    EXPECT_EQ(poolRows(data), award1);
    for (const auto& row : poolRows(data)) EXPECT_LE(std::stoi(row[draw::person::kSerial]), 20);
  }
}

}  // namespace
