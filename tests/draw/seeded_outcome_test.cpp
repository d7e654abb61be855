// The draw's outcome is pinned: the same seed gives the same winners in the same
// order. Whole events run through the draw control (starts, rolling ticks,
// stops, a give-up and a supplementary place between batches); a change to how
// the pool is built or the winners are picked must leave these lists as they are.
#include <gtest/gtest.h>

#include <algorithm>

#include "draw/award_corrections.h"
#include "draw/headless_view.h"
#include "draw/startup.h"
#include "draw/luck.h"
#include "event_fixture.h"

namespace {

using draw_testing::Award;
using draw_testing::EventFixture;
using testing_support::gbk;

struct Case {
  const char* what;
  std::vector<Award> awards;
  int people;
  std::vector<std::string> config;  // after the award lines
  std::uint64_t seed;
  const char* winners;  // "award:person" of every record, in record order
};

// With `idle`, the event loop is idle between the commands: the pool of the
// next start is written ahead, as the window's timer writes it.
std::string runEvent(const Case& c, bool idle) {
  EventFixture event;
  auto config = EventFixture::awardLines(c.awards);
  config.insert(config.end(), c.config.begin(), c.config.end());
  config.insert(config.end(), {"[音效设置]", "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
  event.config(config);
  event.roster(EventFixture::numberedNames(c.people));
  event.roster(EventFixture::numberedNames(c.people), "PicList.txt");
  draw::DrawData data;
  draw::HeadlessView view;
  view.answer = false;
  draw::Luck luck(data, event.folder(), view);
  EXPECT_EQ(draw::startUp(data, event.folder(), view, luck), draw::StartupResult::Ready);
  data.random.seed(c.seed);
  for (int step = 0; step < 80; ++step) {
    for (int slice = 0; idle && slice < 1000 && view.timerOn(draw::DrawTimer::PoolAhead); ++slice)
      luck.poolAheadTimer();
    luck.startStopCommand();
    while (luck.countingDown()) luck.Timer4Timer();
    for (int t = 0; t < 3 && luck.rolling(); ++t) luck.Timer1Timer();
    if (step == 6 && !luck.rolling() && data.winnerCount() >= 3)
      draw::giveUp(data, event.folder(), {2, true, true});  // back into the pool, place drawn again
    if (step == 9 && !luck.rolling()) {
      draw::supplementary(data, event.folder(), {data.ItemGrid.cell(draw::item::kName, 1), 1, "2", "p"});
      luck.buildSingleAwardMenu();
    }
  }
  std::string winners;
  for (std::size_t r = 1; r + 1 < data.LuckNameGrid.rowCount(); ++r)
    winners += data.LuckNameGrid.cell(draw::winner::kAwardSerial, r) + ":" +
               data.LuckNameGrid.cell(draw::winner::kSerial, r) + " ";
  return winners;
}

const std::vector<std::string> kPlain{"[界面设置]", "隐私_check=0",   "重复中奖=0",     "抽奖顺序=0",
                                      "抽奖准备=0", "分组显示名单=0", "[奖项分组设定]", "OpenClassify=0"};

TEST(SeededOutcome, SameSeedSameWinnersInTheSameOrder) {
  const std::vector<Award> three{{"一等奖", 2, 1}, {"二等奖", 6, 3}, {"三等奖", 15, 7}};
  std::vector<std::string> mixed{"[界面设置]",     "隐私_check=0",   "重复中奖=1",     "抽奖顺序=1", "抽奖准备=0",
                                 "分组显示名单=0", "[奖项分组设定]", "OpenClassify=1", "[奖项分组]", "2_B=10",
                                 "2_E=60",         "3_E=50",         "[内定设置]",     "Open=1",     "1=1|7|x|1|x",
                                 "2=2|40|x|3|x",   "3=3|41|x|3|x",   "[内定设置B]",    "Open=1",     "1=1|12|x|2|x",
                                 "2=2|13|x|0|x",   "3=3|30|x|3|x"};
  std::vector<std::string> awardRolling = kPlain;
  awardRolling.insert(awardRolling.end(), {"[窗体样式]", "滚动模式=0", "[内定设置]", "Open=1", "1=1|9|x|2|x"});
  const std::vector<Case> cases{
      {"people rolling, no repeat winning", three, 120, kPlain, 5,
       "1:81 1:11 2:96 2:27 2:7 2:52 2:95 2:12 3:8 3:39 3:16 3:37 3:100 3:13 3:92 1:42 1:38 3:55 3:29 3:53 3:89 3:9 "
       "3:10 "
       "3:69 3:63 "},
      {"repeat winning, groups, predetermined and barred people", three, 70, mixed, 17,
       "3:33 3:41 3:34 3:31 3:18 3:36 3:1 3:44 3:19 3:21 3:33 3:37 3:22 3:15 3:40 2:49 2:36 2:22 2:58 2:53 2:42 1:37 "
       "1:19 "
       "1:65 1:7 "},
      {"award rolling with a predetermined winner", three, 40, awardRolling, 3,
       "2:1 3:2 3:3 1:4 3:5 1:6 2:7 3:8 2:9 3:10 3:11 3:12 3:13 1:14 3:15 2:16 3:17 2:18 3:19 3:20 3:21 3:22 3:23 2:24 "
       "1:25 "},
  };
  for (const Case& c : cases) {
    for (const bool idle : {false, true}) EXPECT_EQ(runEvent(c, idle), c.winners) << c.what << (idle ? ", idle" : "");
  }
}

}  // namespace
