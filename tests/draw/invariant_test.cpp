// Random events driven through the draw control the way an operator drives it:
// the space bar, timer ticks, single-award clicks, give-ups, supplementary
// places and restarts in random order, with boxes during which the names roll
// on. After every step the draw tables must keep their invariants; after every
// step that changed the files, a program start from them must rebuild the tables.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>

#include "draw/award_corrections.h"
#include "draw/headless_view.h"
#include "draw/startup.h"
#include "draw/luck.h"
#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw::DrawTimer;
using draw::Field;
using draw::HeadlessView;
using draw::Table;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

// Every winner is a durable append; in memory a walk of thousands of them stays fast.
std::filesystem::path scratchParent() {
  if (::access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

// How often the walks stood in each state, summed over all events.
struct Coverage {
  int steps = 0;
  int rolling = 0;
  int countingDown = 0;
  int prepared = 0;
  int ticksInBoxes = 0;
  int shortfalls = 0;
  int finishedTargets = 0;
  int ends = 0;
  int restarts = 0;
};

struct Walk {
  std::mt19937 rng;
  Coverage& coverage;
  EventFixture event{scratchParent()};
  DrawData data;
  HeadlessView view;
  std::unique_ptr<draw::Luck> luck;
  bool peopleRolling = true;
  bool repeatWinning = true;
  std::set<std::string> keptOut;  // gave up without returning to the pool
  std::string trace;
  int endedAt = -1;   // step at which the draw was last found over, −1 after a restart
  int firstEnd = -1;  // step at which the draw was first over
  std::size_t transcriptSeen = 0;

  int uniform(int lowest, int highest) { return std::uniform_int_distribution<int>(lowest, highest)(rng); }
  bool chance(int percent) { return uniform(1, 100) <= percent; }

  // An event large enough to last a few hundred steps: every group range but
  // the narrow one below holds more people than all awards have places, so no
  // other pool runs dry before the end.
  Walk(unsigned seed, Coverage& cov) : rng(seed), coverage(cov) {
    peopleRolling = chance(75);
    repeatWinning = chance(50);
    const int awards = peopleRolling ? uniform(3, 6) : uniform(4, 6);
    std::vector<draw_testing::Award> list;
    int places = 0;
    // The first award is a grand prize of one to three places, which most of
    // the predetermined winners below aim at: some find it full.
    for (int a = 1; a <= awards; ++a) {
      const int awardPlaces = a == 1 ? uniform(1, 3) : peopleRolling ? uniform(20, 50) : uniform(20, 40);
      list.push_back({"奖" + std::to_string(a), awardPlaces, uniform(1, 3)});
      places += awardPlaces;
    }
    const int slack = places + 40;  // supplementary places and people kept out by give-ups
    const int people = slack + uniform(0, 20);
    auto config = EventFixture::awardLines(list);
    const int order = uniform(0, 1);
    // With draw order 0 and no repeat winning one award draws from a range
    // smaller than its places: its pool runs dry and its shortfall is recorded.
    const int narrow = order == 0 && !repeatWinning ? uniform(1, awards) : 0;
    const bool groups = narrow > 0 || chance(40);
    config.insert(
        config.end(),
        {"[窗体样式]", std::string("滚动模式=") + (peopleRolling ? "1" : "0"),
         std::string("抽奖模式=") + (chance(85) ? "1" : "0"), "[界面设置]",
         std::string("重复中奖=") + (repeatWinning ? "1" : "0"), "抽奖顺序=" + std::to_string(order),
         std::string("抽奖准备=") + (chance(50) ? "1" : "0"), std::string("分组显示名单=") + (chance(30) ? "1" : "0"),
         std::string("自动开始=") + (chance(25) ? "1" : "0"), "自动开始Sec=" + std::to_string(uniform(1, 3)),
         std::string("自动抽奖=") + (chance(25) ? "1" : "0"), "自动抽奖Sec=" + std::to_string(uniform(1, 3)),
         "滚动速度=0", std::string("滚动速度是否渐变=") + (chance(50) ? "1" : "0"),
         std::string("隐私_check=") + (chance(50) ? "1" : "0"), "[奖项分组设定]",
         std::string("OpenClassify=") + (groups ? "1" : "0"), "[奖项分组]"});
    for (int a = 1; a <= awards; ++a) {
      if (a != narrow && chance(50)) continue;
      const int first = uniform(1, people - slack + 1);
      const int last = a == narrow ? first + list[static_cast<std::size_t>(a - 1)].places / 3
                                   : uniform(first + slack - 1, people + 3);
      config.push_back(std::to_string(a) + "_B=" + std::to_string(first));
      config.push_back(std::to_string(a) + "_E=" + std::to_string(last));
    }
    config.insert(config.end(), {"[内定设置]", std::string("Open=") + (chance(50) ? "1" : "0")});
    for (int e = 1, n = uniform(0, 6); e <= n; ++e)
      config.push_back(std::to_string(e) + "=" + std::to_string(e) + "|" + std::to_string(uniform(1, places)) + "|x|" +
                       std::to_string(chance(60) ? 1 : uniform(1, awards)) + "|x");
    config.insert(config.end(), {"[内定设置B]", std::string("Open=") + (chance(40) ? "1" : "0")});
    for (int e = 1, n = uniform(0, 4); e <= n; ++e)
      config.push_back(std::to_string(e) + "=" + std::to_string(e) + "|" + std::to_string(uniform(1, people)) + "|x|" +
                       std::to_string(uniform(0, awards)) + "|x");
    // A missing start sound opens a box at every start, while the names roll.
    config.insert(config.end(), {"[音效设置]", "背景音乐_check=0", "抽奖停止_check=0"});
    config.push_back(chance(30) ? "抽奖开始=gone.wav" : "抽奖开始_check=0");
    event.config(config);
    event.roster(EventFixture::numberedNames(people));
    event.roster(EventFixture::numberedNames(people), "PicList.txt");
    view.soundSystemFails = chance(20);

    luck = std::make_unique<draw::Luck>(data, event.folder(), view);
    EXPECT_EQ(draw::startUp(data, event.folder(), view, *luck), draw::StartupResult::Ready);
    data.random.seed(seed);
    view.whileModal = [this] { inBox(); };
  }

  int awardRow() { return uniform(1, static_cast<int>(data.awardRowCount())); }

  // What a box's message loop delivers: rolling ticks, which run, and commands
  // and other ticks, which must change nothing while a command waits.
  void inBox() {
    for (int i = uniform(0, 3); i > 0; --i) {
      if (luck->rolling()) ++coverage.ticksInBoxes;
      luck->Timer1Timer();
    }
    if (!chance(50)) return;
    const auto records = data.winnerCount();
    const bool rolling = luck->rolling();
    const bool counting = luck->countingDown();
    const std::string caption = luck->startCaption();
    const int target = data.state.singleAwardTarget;
    luck->startStopCommand();
    luck->singleAwardCommand(awardRow());
    luck->Timer4Timer();
    luck->Timer2Timer();
    EXPECT_EQ(data.winnerCount(), records) << "a command ran inside another; " << trace;
    EXPECT_EQ(luck->rolling(), rolling) << trace;
    EXPECT_EQ(luck->countingDown(), counting) << trace;
    EXPECT_EQ(luck->startCaption(), caption) << trace;
    EXPECT_EQ(data.state.singleAwardTarget, target) << trace;
  }

  void giveUp() {
    if (!data.hasWinners()) return;
    draw::GiveUpChoice choice{static_cast<std::size_t>(uniform(1, static_cast<int>(data.winnerCount()))), chance(70),
                              chance(60)};
    const std::string person = data.LuckNameGrid.cell(draw::winner::kSerial, choice.recordRow);
    if (choice.returnToPool)
      keptOut.erase(person);
    else
      keptOut.insert(person);
    ASSERT_TRUE(draw::giveUp(data, event.folder(), choice)) << trace;
    luck->buildSingleAwardMenu();
  }

  void supplementary() {
    const auto row = static_cast<std::size_t>(awardRow());
    const std::string name = chance(70) ? data.ItemGrid.cell(item::kName, row) : gbk("特别奖") + std::to_string(row);
    draw::supplementary(data, event.folder(), {name, row, std::to_string(uniform(1, 3)), "p"});
    luck->buildSingleAwardMenu();
  }

  // The engine's part of the restart command.
  void restart() {
    ++coverage.restarts;
    luck->abandonBatch();
    data.state.singleAwardTarget = 0;
    draw::restartDraw(data, event.folder());
    luck->buildSingleAwardMenu();
    keptOut.clear();
    endedAt = -1;
  }

  enum class Action {
    Command,
    SingleAward,
    RollingTick,
    CountdownTick,
    DisplayTick,
    Popup,
    GiveUp,
    Supplementary,
    Restart
  };

  // One operator action or tick, with weights that follow the state of the draw.
  // Give-ups and supplementary places come only between batches, as their
  // dialogs are used; once the draw is over a restart comes soon.
  Action choose() {
    const int roll = uniform(1, 1000);
    if (luck->countingDown()) {
      if (roll <= 700) return Action::CountdownTick;
      if (roll <= 800) return Action::RollingTick;
      if (roll <= 900) return Action::Command;
      if (roll <= 950) return Action::SingleAward;
    } else if (luck->rolling()) {
      if (roll <= 400) return Action::Command;
      if (roll <= 800) return Action::RollingTick;
      if (roll <= 900) return Action::SingleAward;
    } else {
      if (roll <= (endedAt >= 0 ? 100 : 2)) return Action::Restart;
      if (roll <= 500) return Action::Command;
      if (roll <= 580) return Action::SingleAward;
      if (roll <= 680) return Action::GiveUp;
      if (roll <= 750) return Action::Supplementary;
      if (roll <= 850) return Action::RollingTick;
    }
    return roll % 2 ? Action::DisplayTick : Action::Popup;
  }

  Action act(int step) {
    static const char* const names[] = {"command",    "single award", "rolling tick",  "countdown tick", "display tick",
                                        "popup menu", "give-up",      "supplementary", "restart"};
    view.answer = chance(50);
    // The event loop between two actions runs a slice of the pool written ahead
    // when one is due, as the window's idle timer does.
    if (view.timerOn(DrawTimer::PoolAhead)) luck->poolAheadTimer();
    const Action action = choose();
    trace = "step " + std::to_string(step) + " " + names[static_cast<int>(action)];
    switch (action) {
      case Action::Command:
        luck->startStopCommand();
        break;
      case Action::SingleAward:
        luck->singleAwardCommand(awardRow());
        break;
      case Action::RollingTick:
        luck->Timer1Timer();
        break;
      case Action::CountdownTick:
        luck->Timer4Timer();
        break;
      case Action::DisplayTick:
        luck->Timer2Timer();
        break;
      case Action::Popup:
        luck->popupMenuOpened();
        break;
      case Action::GiveUp:
        giveUp();
        break;
      case Action::Supplementary:
        supplementary();
        break;
      case Action::Restart:
        restart();
        break;
    }
    return action;
  }

  struct Before {
    std::vector<int> drawn, limit, shortfall;
    std::size_t records = 0;
    bool poolEmpty = false;
    bool startsBatch = false;
    std::optional<std::size_t> forcedAward;  // award rolling: the award the head is predetermined for
  };

  Before snapshot() const {
    Before b;
    for (std::size_t a = 1; a <= data.awardRowCount(); ++a) {
      b.drawn.push_back(data.count(a, item::kDrawn));
      b.limit.push_back(std::max(0, peopleRolling ? data.remaining(a) : data.ticketCount(a)));
      b.shortfall.push_back(data.count(a, item::kShortfall));
    }
    b.records = data.winnerCount();
    b.poolEmpty = draw::lastPoolEmpty(data);
    b.startsBatch = !luck->rolling();
    if (!peopleRolling && luck->rolling() && data.settings.predeterminedOn && data.AllNameGrid.rowCount() > 1) {
      const std::string& head = data.AllNameGrid.cell(draw::person::kSerial, 1);
      for (std::size_t r = 1; r < data.LuckDetail.rowCount(); ++r) {
        if (data.LuckDetail.cell(draw::entry::kPerson, r) != head) continue;
        const auto award = std::stoul(data.LuckDetail.cell(draw::entry::kAward, r));
        if (data.isAwardRow(static_cast<long long>(award)) && data.ticketCount(award) > 0) b.forcedAward = award;
        break;
      }
    }
    return b;
  }

  std::size_t winnersMarked(const std::string& mark) const {
    const Table& pool = data.AllNameGrid;
    std::size_t count = 0;
    for (std::size_t r = pool.rowCount() - static_cast<std::size_t>(data.state.batchSize); r < pool.rowCount(); ++r)
      count += pool.cell(draw::person::kFlag, r) == mark;
    return count;
  }

  // A batch just picked: predetermined winners forced in when the places run
  // out, and a barred person among the winners only when nobody free is left.
  void checkPick() {
    const Table& pool = data.AllNameGrid;
    const int n = data.state.batchSize;
    const auto award = static_cast<std::size_t>(std::stoul(data.state.currentAward));
    ASSERT_GT(n, 0) << trace;
    ASSERT_LE(n, static_cast<int>(pool.rowCount()) - 1) << trace;
    EXPECT_LE(n, data.remaining(award)) << "a batch larger than the places left; " << trace;
    const int pending = data.state.pendingPredetermined;
    if (data.settings.predeterminedOn && data.remaining(award) - n < pending) {
      std::size_t marked = 0;
      for (std::size_t r = 1; r < pool.rowCount(); ++r) marked += pool.cell(draw::person::kFlag, r) == "Y";
      const auto expected =
          std::min<std::size_t>({static_cast<std::size_t>(n), static_cast<std::size_t>(pending), marked});
      EXPECT_GE(winnersMarked("Y"), expected) << trace;
    }
    if (winnersMarked("N") > 0) {
      for (std::size_t r = 1; r + static_cast<std::size_t>(n) < pool.rowCount(); ++r)
        EXPECT_NE(pool.cell(draw::person::kFlag, r), "") << "a barred person won while " << r << " was free; " << trace;
    }
  }

  // Whether the step may have changed the draw tables: ticks and menus do not.
  bool tablesChanged(const Before& b, Action action) const {
    if (action == Action::GiveUp || action == Action::Supplementary || action == Action::Restart) return true;
    if (data.winnerCount() != b.records || data.awardRowCount() != b.drawn.size()) return true;
    for (std::size_t a = 1; a <= data.awardRowCount(); ++a)
      if (data.count(a, item::kDrawn) != b.drawn[a - 1]) return true;
    return false;
  }

  // The checks of the records run when the tables changed; between such steps
  // they hold by the previous check.
  void checkRecords() {
    std::map<std::string, int> perAward;
    std::multiset<std::string> winners;
    for (std::size_t r = 1; r <= data.winnerCount(); ++r) {
      ++perAward[data.LuckNameGrid.cell(draw::winner::kAwardSerial, r)];
      winners.insert(data.LuckNameGrid.cell(draw::winner::kSerial, r));
    }
    EXPECT_EQ(data.LuckNameGrid.row(data.LuckNameGrid.rowCount() - 1), Table::Row(draw::winner::kColumnCount));
    EXPECT_EQ(event.lines("LuckName.txt").size(), data.winnerCount()) << trace;
    for (std::size_t a = 1; a <= data.awardRowCount(); ++a)
      EXPECT_EQ(data.count(a, item::kDrawn), perAward[std::to_string(a)]) << "award " << a << "; " << trace;
    if (peopleRolling && !repeatWinning) {
      for (const auto& w : winners) {
        EXPECT_EQ(winners.count(w), 1u) << "won twice: " << w << "; " << trace;
        EXPECT_EQ(data.AllNameList.cell(draw::person::kFlag, std::stoul(w)), "Y") << trace;
      }
    }
  }

  void check(const Before& b) {
    for (std::size_t a = 1; a <= std::min(data.awardRowCount(), b.drawn.size()); ++a) {
      const int drawn = data.count(a, item::kDrawn);
      EXPECT_LE(drawn - b.drawn[a - 1], b.limit[a - 1]) << "award " << a << " drawn past its places; " << trace;
      if (data.count(a, item::kShortfall) > b.shortfall[a - 1]) {
        ++coverage.shortfalls;
        EXPECT_TRUE(b.poolEmpty) << trace;
        EXPECT_EQ(draw::peopleWhoMayWin(data, event.folder().configFiles().openConfigOnly(), std::to_string(a)), 0)
            << "award " << a << " counted short while somebody may win it; " << trace;
      }
    }
    if (b.forcedAward && data.winnerCount() == b.records + 1) {
      EXPECT_EQ(data.LuckNameGrid.cell(draw::winner::kAwardSerial, data.winnerCount()), std::to_string(*b.forcedAward))
          << "the predetermined head did not take its award; " << trace;
    }

    // The screen follows the state.
    EXPECT_EQ(view.timerOn(DrawTimer::Timer1), luck->rolling()) << trace;
    EXPECT_EQ(view.timerOn(DrawTimer::Timer4), luck->countingDown()) << trace;
    if (luck->countingDown()) {
      EXPECT_TRUE(view.fieldVisible[Field::TimeShow]) << trace;
    }
    const std::string caption = base::gbkToUtf8(luck->startCaption());
    if (luck->rolling())
      EXPECT_EQ(caption, "停止") << trace;
    else
      EXPECT_TRUE(caption == "开始" || caption == "下一奖项") << caption << "; " << trace;
    if (peopleRolling && luck->rolling() && b.startsBatch) checkPick();

    coverage.steps += 1;
    coverage.rolling += luck->rolling() && !luck->countingDown();
    coverage.countingDown += luck->countingDown();
    coverage.prepared += caption == "下一奖项";
  }

  // The draw is over when no award has places left (people rolling), or when its
  // end was announced (award rolling: no ticket or nobody left).
  bool drawOver() {
    bool announced = false;
    for (; transcriptSeen < view.transcript.size(); ++transcriptSeen) {
      const std::string text = base::gbkToUtf8(view.transcript[transcriptSeen].text);
      coverage.ends += text == "抽奖结束,是否显示全部中奖名单?";
      announced |= text == "奖项已抽完,谢谢参与!" || text == "全部人员已抽完,谢谢参与!";
      coverage.finishedTargets += text.size() > 9 && text.compare(text.size() - 9, 9, "已抽完") == 0;
    }
    return peopleRolling ? draw::findCurrentAward(data).empty() : announced;
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
        if (c == item::kShortfall && r > 0) continue;  // a shortfall lasts until the program ends
        EXPECT_EQ(cell(again, c, r), cell(data, c, r)) << r << "," << c << "; " << trace;
      }
    }
    ASSERT_EQ(again.LuckNameGrid.rowCount(), data.LuckNameGrid.rowCount()) << trace;
    for (std::size_t r = 0; r < data.LuckNameGrid.rowCount(); ++r)
      EXPECT_EQ(again.LuckNameGrid.row(r), data.LuckNameGrid.row(r)) << trace;
    // Award rolling marks every winner whatever repeat winning says; after a
    // start the marks follow repeat winning alone, so only people rolling compares.
    if (!peopleRolling) return;
    for (std::size_t r = 1; r < data.AllNameList.rowCount(); ++r) {
      if (keptOut.count(std::to_string(r))) continue;
      EXPECT_EQ(again.AllNameList.row(r), data.AllNameList.row(r)) << trace;
    }
  }
};

TEST(DrawInvariants, HoldAfterEveryStepOfRandomEventsDrivenLikeTheOperator) {
  constexpr int kSteps = 1200;
  Coverage coverage;
  int eventsOver = 0;
  for (unsigned seed = 1; seed <= 16; ++seed) {
    Walk walk(seed, coverage);
    int changes = 0;
    for (int step = 0; step < kSteps; ++step) {
      const Walk::Before before = walk.snapshot();
      const Walk::Action action = walk.act(step);
      walk.trace = "event " + std::to_string(seed) + " " + walk.trace;
      walk.check(before);
      if (walk.drawOver() && walk.endedAt < 0) {
        walk.endedAt = step;
        if (walk.firstEnd < 0) walk.firstEnd = step;
      }
      if (walk.tablesChanged(before, action)) {
        walk.checkRecords();
        // A program start reads every file back: after every restart and every
        // eighth other change, which keeps the walk fast under the sanitizers.
        if (action == Walk::Action::Restart || ++changes % 8 == 0) walk.checkRestartReproduces();
      }
      if (::testing::Test::HasFailure()) return;
    }
    // A walk that is over early spends its steps on a finished draw.
    EXPECT_TRUE(walk.firstEnd < 0 || walk.firstEnd >= 300) << "event " << seed << " over at step " << walk.firstEnd;
    eventsOver += walk.firstEnd >= 0;
  }
  // The walks reach every state of the draw often, and half of them its end.
  EXPECT_GE(eventsOver, 8);
  EXPECT_GE(coverage.rolling, coverage.steps / 5);
  EXPECT_GE(coverage.countingDown, coverage.steps / 20);
  EXPECT_GE(coverage.prepared, 50);
  EXPECT_GE(coverage.ticksInBoxes, 500);
  EXPECT_GT(coverage.shortfalls, 0);
  EXPECT_GT(coverage.finishedTargets, 0);
  EXPECT_GE(coverage.ends, 10);
  EXPECT_GE(coverage.restarts, 10);
}

}  // namespace
