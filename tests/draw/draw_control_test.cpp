// The draw control driven like the operator drives it: commands and timer ticks
// through Luck, the screen recorded by the headless view.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "base/gbk.h"
#include "draw/award_corrections.h"
#include "draw/headless_view.h"
#include "draw/startup.h"
#include "draw/luck.h"
#include "draw/rolling_feed.h"
#include "event_fixture.h"

namespace {

using draw::DrawTimer;
using draw::Field;
using draw::HeadlessView;
using draw_testing::Award;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

// An event with the engine running on it.
struct Session {
  EventFixture event;
  draw::DrawData data;
  HeadlessView view;
  std::unique_ptr<draw::Luck> luck;

  Session(const std::vector<Award>& awards, int people, const std::vector<std::string>& settings,
          const std::vector<std::string>& extraConfig = {}) {
    auto config = EventFixture::awardLines(awards);
    config.push_back("[界面设置]");
    config.push_back("隐私_check=0");
    config.insert(config.end(), settings.begin(), settings.end());
    config.insert(config.end(), extraConfig.begin(), extraConfig.end());
    // Sounds off unless the test sets them: an empty sound name is reported at every start.
    if (std::find(extraConfig.begin(), extraConfig.end(), "[音效设置]") == extraConfig.end())
      config.insert(config.end(), {"[音效设置]", "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
    event.config(config);
    event.roster(EventFixture::numberedNames(people));
    event.roster(EventFixture::numberedNames(people), "PicList.txt");
    start();
  }
  void start() {
    data = draw::DrawData();
    view = HeadlessView();
    luck = std::make_unique<draw::Luck>(data, event.folder(), view);
    ASSERT_EQ(draw::startUp(data, event.folder(), view, *luck), draw::StartupResult::Ready);
    data.random.seed(11);
  }
  // The event loop idle between commands: the pool of the next start is written ahead.
  void idle() {
    for (int slice = 0; slice < 1000 && view.timerOn(DrawTimer::PoolAhead); ++slice) luck->poolAheadTimer();
  }
  // One start/stop command after the idle time before it, with the countdown
  // ticks that fall due, and `ticks` rolling ticks after a start.
  void command(int ticks = 2) {
    idle();
    luck->startStopCommand();
    while (luck->countingDown()) luck->Timer4Timer();
    if (luck->rolling())
      for (int i = 0; i < ticks; ++i) luck->Timer1Timer();
  }
  std::string caption() const { return base::gbkToUtf8(view.startCaption); }
  std::string field(Field f) { return base::gbkToUtf8(view.fieldText[f]); }
  std::vector<std::string> records() const { return event.lines("LuckName.txt"); }
  std::vector<std::string> questions() const {
    std::vector<std::string> texts;
    for (const auto& e : view.transcript)
      if (e.kind == HeadlessView::Event::Kind::Question) texts.push_back(base::gbkToUtf8(e.text));
    return texts;
  }
  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& e : view.transcript)
      if (e.kind == HeadlessView::Event::Kind::Message) texts.push_back(base::gbkToUtf8(e.text));
    return texts;
  }
  // Display names of the winners recorded by the last batch, first pick first.
  std::vector<std::string> lastBatch(std::size_t n) const {
    std::vector<std::string> names;
    const auto& table = data.LuckNameGrid;
    for (std::size_t r = table.rowCount() - 1 - n; r < table.rowCount() - 1; ++r)
      names.push_back(table.cell(draw::winner::kDisplayName, r));
    return names;
  }
};

// Every invariant of the tables the draw must keep, whatever the operator does.
void expectInvariants(const draw::DrawData& data, bool repeatWinning) {
  std::map<std::string, int> perAward;
  std::set<std::string> people;
  for (std::size_t r = 1; r + 1 < data.LuckNameGrid.rowCount(); ++r) {
    ++perAward[data.LuckNameGrid.cell(draw::winner::kAwardSerial, r)];
    const std::string& person = data.LuckNameGrid.cell(draw::winner::kSerial, r);
    if (!repeatWinning) {
      EXPECT_TRUE(people.insert(person).second) << "won twice: " << person;
    }
  }
  for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
    EXPECT_EQ(data.count(r, item::kDrawn), perAward[std::to_string(r)]) << "award " << r;
    EXPECT_GE(data.remaining(r), 0) << "award " << r;
  }
  EXPECT_TRUE(data.LuckNameGrid.row(data.LuckNameGrid.rowCount() - 1) ==
              draw::Table::Row(draw::winner::kColumnCount, ""));
}

TEST(DrawControl, AWholeEventRunsFromTheFirstAwardToItsEnd) {
  Session s({{"一等奖", 1, 1, "电脑"}, {"二等奖", 3, 2, "手机"}}, 20, {"抽奖顺序=1", "重复中奖=0", "分组显示名单=0"});
  s.view.answer = true;
  EXPECT_EQ(s.caption(), "开始");
  // Award 2 first (draw order 1), in batches of 2 and 1.
  s.command();
  EXPECT_EQ(s.caption(), "停止");
  EXPECT_EQ(s.field(Field::ItemName), "二等奖");
  EXPECT_EQ(s.field(Field::PrizeName), "手机");
  EXPECT_EQ(s.field(Field::RateProgress), "正在抽取二等奖,共3名已抽取0名");
  EXPECT_EQ(s.view.visibleFrameTexts().size(), 2u);
  s.command();
  EXPECT_EQ(s.caption(), "开始");
  EXPECT_EQ(s.view.visibleFrameTexts(), s.lastBatch(2));  // the frames show exactly the recorded winners
  EXPECT_EQ(s.field(Field::RateProgress), "正在抽取二等奖,共3名已抽取2名");
  s.command();
  s.command();
  EXPECT_EQ(s.view.visibleFrameTexts(), s.lastBatch(1));
  EXPECT_EQ(s.caption(), "下一奖项");
  // Award preparation: the next command only announces award 1.
  s.command();
  EXPECT_EQ(s.caption(), "开始");
  EXPECT_EQ(s.field(Field::ActionHint), "即将开始抽取 一等奖");
  EXPECT_FALSE(s.luck->rolling());
  EXPECT_EQ(s.records().size(), 3u);
  s.command();
  s.command();
  EXPECT_EQ(s.caption(), "下一奖项");
  s.command();  // preparation comes first, even with nothing left to draw
  EXPECT_TRUE(s.questions().empty());
  s.command();  // then the draw ends
  EXPECT_EQ(s.questions(), std::vector<std::string>{"抽奖结束,是否显示全部中奖名单?"});
  EXPECT_EQ(s.field(Field::ActionHint), "抽奖结束");
  ASSERT_FALSE(s.view.transcript.empty());
  EXPECT_EQ(s.view.transcript.back().kind, HeadlessView::Event::Kind::WinnersDisplay);
  EXPECT_EQ(s.view.transcript.back().text, "0");
  EXPECT_EQ(s.records().size(), 4u);
  expectInvariants(s.data, false);

  // The log holds one header block per award, then the names.
  auto log = s.event.lines("log.txt");
  EXPECT_EQ(std::count(log.begin(), log.end(), std::string(75, '-')), 2);

  // A program start on the same folder resumes: everything is drawn.
  s.start();
  EXPECT_EQ(s.data.state.currentAward, "");
  EXPECT_EQ(s.field(Field::ActionHint), "抽奖结束,需重新抽奖请按右键");
  expectInvariants(s.data, false);
}

TEST(DrawControl, BatchesFollowTheBatchSizeAndThePool) {
  {
    Session s({{"一等奖", 10, 3}}, 30, {"抽奖准备=0", "分组显示名单=0"});
    std::vector<std::size_t> batches;
    for (int i = 0; i < 4; ++i) {
      std::size_t before = s.records().size();
      s.command();
      s.command();
      batches.push_back(s.records().size() - before);
    }
    EXPECT_EQ(batches, (std::vector<std::size_t>{3, 3, 3, 1}));
  }
  {
    // Batch size 5 with two candidates left: a batch of 2.
    Session s({{"一等奖", 5, 5}}, 2, {"重复中奖=0"});
    s.command();
    EXPECT_EQ(s.data.state.batchSize, 2);
    s.command();
    EXPECT_EQ(s.records().size(), 2u);
  }
}

TEST(DrawControl, GroupDisplayOpensTheWinnersThreeSecondsAfterTheAwardsPlacesAreDrawn) {
  // 3 places plus 1 supplementary: after the third winner 总名额 equals 已抽取人数.
  Session s({{"一等奖", 3, 3}}, 10, {"分组显示名单=1"}, {"[补奖]", "1=1"});
  s.command();
  s.command();
  EXPECT_TRUE(s.luck->winnersDisplayPending());
  EXPECT_TRUE(s.view.timerOn(DrawTimer::Timer2));
  EXPECT_EQ(s.view.timers[DrawTimer::Timer2].interval, 3000);
  EXPECT_EQ(s.data.remaining(1), 1);
  s.luck->Timer2Timer();
  EXPECT_EQ(s.view.transcript.back().kind, HeadlessView::Event::Kind::WinnersDisplay);
  EXPECT_EQ(s.view.transcript.back().text, "1");
  EXPECT_FALSE(s.view.timerOn(DrawTimer::Timer2));

  // A popup menu within the three seconds cancels the display.
  Session t({{"一等奖", 1, 1}, {"二等奖", 1, 1}}, 10, {"分组显示名单=1"});
  t.command();
  t.command();
  ASSERT_TRUE(t.luck->winnersDisplayPending());
  t.luck->popupMenuOpened();
  t.luck->Timer2Timer();
  EXPECT_TRUE(t.view.transcript.empty());
}

TEST(DrawControl, AutoStartCountsDownAndIgnoresCommandsMeanwhile) {
  Session s({{"一等奖", 5, 1}}, 10, {"自动开始=1", "自动开始Sec=3"});
  s.luck->startStopCommand();
  ASSERT_TRUE(s.luck->countingDown());
  std::vector<std::string> shown;
  for (int i = 0; i < 3; ++i) {
    s.luck->Timer4Timer();
    shown.push_back(s.field(Field::TimeShow));
    s.luck->startStopCommand();  // ignored
    EXPECT_FALSE(s.luck->rolling());
  }
  s.luck->Timer4Timer();
  shown.push_back(s.field(Field::TimeShow));
  EXPECT_EQ(shown, (std::vector<std::string>{"3", "2", "1", "0"}));
  EXPECT_TRUE(s.luck->rolling());
  EXPECT_FALSE(s.luck->countingDown());
  EXPECT_FALSE(s.view.fieldVisible[Field::TimeShow]);
}

// During a countdown only the rest of the command is ignored: a single-award
// item still makes its award the target of the batch the countdown starts.
TEST(DrawControl, ASingleAwardClickDuringTheCountdownSetsTheTarget) {
  Session s({{"一等奖", 2, 1}, {"二等奖", 2, 1}}, 10, {"抽奖顺序=0", "自动开始=1", "自动开始Sec=2"});
  s.luck->startStopCommand();
  ASSERT_TRUE(s.luck->countingDown());
  s.luck->singleAwardCommand(2);
  EXPECT_EQ(s.data.state.singleAwardTarget, 2);
  EXPECT_FALSE(s.luck->rolling());
  while (s.luck->countingDown()) s.luck->Timer4Timer();
  EXPECT_TRUE(s.luck->rolling());
  EXPECT_EQ(s.data.state.currentAward, "2");
}

// While a command waits on a box the names keep rolling (a tick changes only
// what is shown), and no other command runs inside the waiting one.
TEST(DrawControl, NamesRollOnWhileACommandWaitsOnABox) {
  Session s({{"一等奖", 5, 3}}, 20, {"分组显示名单=0", "滚动速度=0"},
            {"[音效设置]", "背景音乐_check=0", "抽奖开始=gone.wav", "抽奖停止_check=0"});
  std::vector<std::string> shown;
  std::size_t recordsDuring = 99;
  bool rollingDuring = false;
  s.view.whileModal = [&] {
    for (int i = 0; i < 3; ++i) {
      s.luck->Timer1Timer();
      shown.push_back(s.field(Field::ItemName) + s.view.frameText[1]);
    }
    s.luck->startStopCommand();
    s.luck->singleAwardCommand(1);
    s.luck->Timer4Timer();
    rollingDuring = s.luck->rolling();
    recordsDuring = s.records().size();
  };
  s.luck->startStopCommand();  // the start sound is missing: its box opens while the names roll
  EXPECT_EQ(s.messages().back(), "找不到gone.wav");
  ASSERT_EQ(shown.size(), 3u);
  for (const auto& text : shown) EXPECT_NE(text, "一等奖");
  EXPECT_EQ(s.view.timers[DrawTimer::Timer1].interval, 844);  // the speed ramp ran: 1200, 1067, 949, 844
  EXPECT_TRUE(rollingDuring);
  EXPECT_EQ(recordsDuring, 0u);
  EXPECT_TRUE(s.luck->rolling());
  EXPECT_EQ(s.data.state.singleAwardTarget, 0);

  // The lock prompt of a mode command, asked while the names roll.
  shown.clear();
  s.view.lockPasses = false;
  s.luck->N97Click();  // the prompt, then the refusal: two boxes
  EXPECT_EQ(shown.size(), 6u);
  EXPECT_EQ(s.view.timers[DrawTimer::Timer1].interval, 418);
  EXPECT_EQ(s.messages().back(), "抱歉,密码不正确,不能修改");
  EXPECT_TRUE(s.luck->rolling());
  s.view.whileModal = nullptr;
  s.luck->startStopCommand();
  EXPECT_EQ(s.records().size(), 3u);
}

TEST(DrawControl, AutoStopLetsNamesRollOnWithoutChangingTheWinners) {
  auto winnersWith = [](const std::vector<std::string>& settings) {
    Session s({{"一等奖", 3, 3}}, 50, settings);
    s.luck->startStopCommand();
    s.luck->startStopCommand();
    while (s.luck->countingDown()) {
      EXPECT_TRUE(s.luck->rolling());
      s.luck->Timer1Timer();  // ticks during the countdown change what rolls, not who wins
      s.luck->Timer4Timer();
    }
    return s.lastBatch(3);
  };
  EXPECT_EQ(winnersWith({"自动抽奖=1", "自动抽奖Sec=2"}), winnersWith({}));
}

// Draw order 0 records a shortfall when the batch before took the last
// candidates; it must not when somebody may still win the award, and an award
// never takes more winners than it has places left.
TEST(DrawControl, AnAwardTakesNoMoreThanItsPlacesAndIsShortOnlyWhenNobodyMayWin) {
  struct Case {
    const char* name;
    bool repeatWinning;
    std::vector<Award> awards;
    bool giveUpAfterFirstBatch;  // the first winner gives up, back in the pool, the place lost
    std::vector<int> drawn;
    std::vector<int> shortfall;
  };
  const Case cases[] = {
      {"repeat winning, roster as large as an award",
       true,
       {{"一等奖", 3, 3}, {"二等奖", 3, 3}},
       false,
       {3, 3},
       {0, 0}},
      // The third press finds award 2 short and chooses award 3, whose empty pool
      // ends the draw; the fourth finds award 3 short as well.
      {"everybody drawn", false, {{"一等奖", 3, 3}, {"二等奖", 2, 2}, {"三等奖", 1, 1}}, false, {3, 0, 0}, {0, 2, 1}},
      {"one person back in the pool", false, {{"一等奖", 3, 3}, {"二等奖", 2, 2}}, true, {2, 1}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s(c.awards, 3,
              {"抽奖顺序=0", c.repeatWinning ? "重复中奖=1" : "重复中奖=0", "抽奖准备=0", "分组显示名单=0"});
    for (int press = 0; press < 4; ++press) {
      if (press == 2 && c.giveUpAfterFirstBatch) {
        ASSERT_TRUE(draw::giveUp(s.data, s.event.folder(), {1, true, false}));
      }
      s.command();
    }
    for (std::size_t r = 1; r <= c.awards.size(); ++r) {
      EXPECT_EQ(s.data.count(r, item::kDrawn), c.drawn[r - 1]) << "award " << r;
      EXPECT_EQ(s.data.count(r, item::kShortfall), c.shortfall[r - 1]) << "award " << r;
      EXPECT_GE(s.data.remaining(r), 0) << "award " << r;
    }
    expectInvariants(s.data, c.repeatWinning);
  }
}

TEST(DrawControl, ASingleAwardTargetDrawsOutOfOrderUntilFinished) {
  Session s({{"一等奖", 1, 1}, {"二等奖", 2, 2}}, 10, {"抽奖顺序=0", "抽奖准备=0", "分组显示名单=0"});
  ASSERT_EQ(s.view.singleAwardItems.size(), 2u);
  EXPECT_EQ(base::gbkToUtf8(s.view.singleAwardItems[1].caption), "二等奖  (0/2)");
  EXPECT_EQ(base::gbkToUtf8(s.view.singleAwardCaption), "单独抽取");
  s.luck->singleAwardCommand(2);
  s.command(0);
  EXPECT_EQ(s.data.count(2, item::kDrawn), 2);
  EXPECT_FALSE(s.view.singleAwardItems[1].enabled);
  // The target still names the finished award: one "已抽完", then the normal order.
  s.command();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"二等奖已抽完"});
  EXPECT_EQ(s.data.state.singleAwardTarget, 0);
  EXPECT_TRUE(s.questions().empty());
  s.command();
  EXPECT_EQ(s.data.state.currentAward, "1");
}

TEST(DrawControl, AwardRollingGivesEachPersonInTurnOneAward) {
  Session s({{"一等奖", 1, 1, "电脑"}, {"二等奖", 1, 1, "手机"}}, 5, {}, {"[窗体样式]", "滚动模式=0"});
  EXPECT_EQ(s.field(Field::ActionHint), "请 人1 继续抽取");
  s.command();
  EXPECT_EQ(s.field(Field::HonorGuest), "人1 正在抽取 下一位:人2");
  s.command();
  s.command();
  s.command();
  auto records = s.records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].substr(0, 2), "1|");
  EXPECT_EQ(records[1].substr(0, 2), "2|");
  EXPECT_EQ(s.data.AllNameList.cell(draw::person::kFlag, 1), "Y");
  s.command();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"奖项已抽完,谢谢参与!"});
  EXPECT_FALSE(s.luck->rolling());
  expectInvariants(s.data, true);
}

TEST(DrawControl, TheSpeedRampRunsFrom1200DownToTheBase) {
  std::vector<int> ramp{1200};
  while (ramp.size() < 23) ramp.push_back(draw::nextRollingInterval(ramp.back(), 120));
  EXPECT_EQ(ramp, (std::vector<int>{1200, 1067, 949, 844, 751, 668, 594, 528, 470, 418, 372, 331,
                                    295,  263,  234, 208, 185, 165, 147, 131, 117, 120, 120}));
  EXPECT_EQ(draw::nextRollingInterval(1200, 2120), 2120);

  // Through the timer: the view is re-timed at every tick.
  Session s({{"一等奖", 5, 1}}, 10, {"滚动速度=0"});
  s.luck->startStopCommand();
  EXPECT_EQ(s.view.timers[DrawTimer::Timer1].interval, 1200);
  s.luck->Timer1Timer();
  EXPECT_EQ(s.view.timers[DrawTimer::Timer1].interval, 1067);
  Session flat({{"一等奖", 5, 1}}, 10, {"滚动速度=5", "滚动速度是否渐变=0"});
  flat.luck->startStopCommand();
  EXPECT_EQ(flat.view.timers[DrawTimer::Timer1].interval, 220);
}

TEST(DrawControl, ABatchAboveThirtyRollsAndStopsInTheBigFrame) {
  Session s({{"一等奖", 40, 40}}, 100, {});
  s.view.namesPerLine = 8;
  s.command(3);
  EXPECT_TRUE(s.view.frameVisible[draw::kBigFrame]);
  EXPECT_TRUE(s.view.visibleFrameTexts().empty());
  auto rolling = base::splitLines(s.view.frameText[draw::kBigFrame]);
  EXPECT_EQ(rolling.size(), 5u);  // 40 names, 8 a line
  s.command();
  std::string expected;
  auto winners = s.lastBatch(40);
  for (std::size_t i = 0; i < winners.size(); ++i) {
    expected += winners[i] + std::string(draw::widestName(winners) + 3 - winners[i].size(), ' ');
    if ((i + 1) % 8 == 0) expected += '\n';
  }
  EXPECT_EQ(s.view.frameText[draw::kBigFrame], expected);
}

// A big frame too wide for the screen is shown with fewer names a line: the
// names come back out of the composed text whole, blanks inside a name
// included, and regrouped they keep their columns.
TEST(DrawControl, TheBigFrameTextRegroupsAtNameBoundaries) {
  const std::vector<std::string> names = {"John Smith",
                                          base::utf8ToGbk("买买提·艾力"),
                                          "Li",
                                          "A  B",
                                          base::utf8ToGbk("欧阳纳兰爱新觉罗慕容端木皇甫尉迟令狐上官"),
                                          "Zhao"};
  const std::size_t width = draw::widestName(names);
  for (const int perLine : {1, 4, 5, 6, 8}) {
    const std::string composed = draw::bigFrameText(perLine, names, width);
    const std::vector<std::string> cells = draw::bigFrameCells(composed);
    ASSERT_EQ(cells.size(), names.size()) << perLine;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      EXPECT_EQ(base::displayColumns(cells[i]), width + 3) << i;
      EXPECT_EQ(cells[i].substr(0, names[i].size()), names[i]) << i;
    }
    EXPECT_EQ(draw::regroupBigFrameText(cells, perLine), composed) << perLine;
  }
  const std::vector<std::string> cells = draw::bigFrameCells(draw::bigFrameText(6, names, width));
  for (const std::string& line : base::splitLines(draw::regroupBigFrameText(cells, 4)))
    EXPECT_TRUE(base::displayColumns(line) == 4 * (width + 3) || base::displayColumns(line) == 2 * (width + 3)) << line;
  EXPECT_EQ(draw::regroupBigFrameText(cells, 0), draw::regroupBigFrameText(cells, 1));
}

TEST(DrawControl, SoundsFollowTheDraw) {
  EventFixture probe;
  Session s({{"一等奖", 2, 1}}, 10, {"分组显示名单=0"},
            {"[音效设置]", "背景音乐=bg.wav", "抽奖开始=start.wav", "抽奖停止=stop.wav"});
  for (const char* name : {"bg.wav", "start.wav", "stop.wav"}) {
    std::filesystem::create_directories(s.event.dir() / "music");
    s.event.dir().write(std::string("music/") + name, "RIFF");
  }
  s.start();
  s.view.sounds.clear();
  s.command();
  s.command();
  EXPECT_EQ(s.view.sounds,
            (std::vector<std::string>{"prepare stop.wav", "stop", "loop start.wav", "stop", "stop-sound"}));
  // A missing file is named to the operator when its sound is due.
  Session m({{"一等奖", 2, 1}}, 10, {}, {"[音效设置]", "抽奖开始=gone.wav"});
  m.command();
  EXPECT_EQ(m.messages().back(), "找不到gone.wav");
}

// Without an audio output the award-rolling draw goes on silently: the stop
// sound is prepared whatever its switch, and its failure is told once a run.
TEST(DrawControl, AMissingSoundDeviceNeverStopsTheAwardRollingDraw) {
  Session s({{"一等奖", 2, 1}, {"二等奖", 2, 1}}, 5, {},
            {"[窗体样式]", "滚动模式=0", "[音效设置]", "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止=stop.wav",
             "抽奖停止_check=0"});
  std::filesystem::create_directories(s.event.dir() / "music");
  s.event.dir().write("music/stop.wav", "RIFF");
  s.view.soundSystemFails = true;
  for (int i = 0; i < 6; ++i) s.command();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"声音设备打开失败"});
  EXPECT_EQ(s.records().size(), 3u);
}

// The pool of the next award is written ahead while the draw is idle, and the
// start then draws from it as it is. It changes nothing the operator sees: the
// award choice still finds an award short when the last batch took the last
// candidates of its range, although the working roster holds the next pool.
TEST(DrawControl, ThePoolWrittenAheadIsTheOneTheStartDrawsFrom) {
  Session s({{"一等奖", 3, 3}, {"二等奖", 2, 2}, {"三等奖", 2, 1}}, 9,
            {"抽奖顺序=0", "重复中奖=0", "抽奖准备=0", "分组显示名单=0"},
            {"[奖项分组设定]", "OpenClassify=1", "[奖项分组]", "1_B=1", "1_E=3", "2_B=1", "2_E=3", "3_B=4", "3_E=9"});
  s.command();  // award 1 takes everybody of 1 … 3
  s.command();
  EXPECT_TRUE(s.view.timerOn(DrawTimer::PoolAhead));
  s.idle();
  EXPECT_FALSE(s.view.timerOn(DrawTimer::PoolAhead));
  // Written ahead: award 3's range, as a fresh build gives it.
  std::vector<std::string> serials;
  for (std::size_t r = 1; r < s.data.AllNameGrid.rowCount(); ++r) serials.push_back(s.data.AllNameGrid.cell(0, r));
  EXPECT_EQ(serials, (std::vector<std::string>{"4", "5", "6", "7", "8", "9"}));
  const std::uint64_t written = s.data.AllNameGrid.revision();
  EXPECT_EQ(s.data.state.poolBuild.pool, written);

  s.luck->startStopCommand();  // award 2 is short (nobody of 1 … 3 is left); award 3 starts
  EXPECT_EQ(s.data.state.poolBuild.pool, written) << "the start built the pool again";
  EXPECT_EQ(s.data.count(2, item::kShortfall), 2);
  EXPECT_EQ(s.data.state.currentAward, "3");
  EXPECT_TRUE(s.luck->rolling());
  s.luck->startStopCommand();
  for (int press = 0; press < 2; ++press) s.command();
  EXPECT_EQ(s.data.count(3, item::kDrawn), 2);
  expectInvariants(s.data, false);
  EXPECT_TRUE(s.messages().empty());
}

// A laptop without audio output fails the stop sound at every batch of the
// evening. The question comes once a run, whatever the answer and whether the
// first failure comes at a start or from the player while the names roll; the
// batch it interrupted goes on, every batch is recorded, and the next run, with
// the switches as they were, asks again.
TEST(DrawControl, AMissingSoundDeviceAsksOnceARun) {
  struct Case {
    bool answer;
    bool firstFailureWhileRolling;
  };
  for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}}) {
    SCOPED_TRACE(testing::Message() << "answer " << c.answer << ", late " << c.firstFailureWhileRolling);
    Session s({{"一等奖", 12, 2}, {"二等奖", 10, 2}}, 50, {"分组显示名单=0", "抽奖准备=0"},
              {"[音效设置]", "背景音乐=bg.wav", "抽奖开始=start.wav", "抽奖停止=stop.wav", "背景音乐_check=1",
               "抽奖开始_check=1", "抽奖停止_check=1"});
    std::filesystem::create_directories(s.event.dir() / "music");
    for (const char* name : {"bg.wav", "start.wav", "stop.wav"})
      s.event.dir().write(std::string("music/") + name, "RIFF");
    s.start();
    s.view.answer = c.answer;
    s.view.soundSystemFails = !c.firstFailureWhileRolling;
    for (std::size_t batch = 1; batch <= 10; ++batch) {
      s.command();
      ASSERT_TRUE(s.luck->rolling());
      if (batch == 1 && c.firstFailureWhileRolling) {
        s.luck->stopSoundFailed();  // as the window reports the player's failure
        s.view.soundSystemFails = true;
      }
      if (batch == 5) s.luck->stopSoundFailed();
      s.command();
      ASSERT_FALSE(s.luck->rolling());
      EXPECT_EQ(s.records().size(), 2 * batch);
    }
    EXPECT_EQ(s.questions(), std::vector<std::string>{"电脑声卡未安装,关闭音乐可解决,是否打开设置？"});
    EXPECT_TRUE(s.messages().empty());

    s.start();
    EXPECT_TRUE(s.luck->sounds().setting(draw::SoundEvent::DrawStop).on);
    EXPECT_TRUE(s.luck->sounds().setting(draw::SoundEvent::DrawStart).on);
    s.view.soundSystemFails = true;
    s.command();
    EXPECT_EQ(s.questions().size(), 1u);
    EXPECT_TRUE(s.luck->rolling());
  }
}

// Group ranges are read from Config.ini alone: before the event has one, the
// template's ranges do not narrow the pool.
TEST(DrawControl, GroupRangesComeFromConfigIniOnly) {
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 10, 10}});
  config.insert(config.end(), {"[界面设置]", "隐私_check=0", "[音效设置]", "背景音乐_check=0", "抽奖开始_check=0",
                               "抽奖停止_check=0", "[奖项分组设定]", "OpenClassify=1", "[奖项分组]", "1_B=4", "1_E=5"});
  event.config(config);
  std::filesystem::rename(event.dir() / "Config.ini", event.dir() / "SysConfig.ini");
  event.roster(EventFixture::numberedNames(10));
  draw::DrawData data;
  HeadlessView view;
  draw::Luck luck(data, event.folder(), view);
  ASSERT_EQ(draw::startUp(data, event.folder(), view, luck), draw::StartupResult::Ready);
  ASSERT_EQ(data.count(1, item::kPlaces), 10);
  luck.startStopCommand();
  luck.startStopCommand();
  EXPECT_EQ(data.count(1, item::kDrawn), 10);
}

TEST(DrawControl, FailuresTellTheOperatorAndStartNothing) {
  {
    Session s({}, 5, {});
    s.command();
    EXPECT_EQ(s.messages().back(), "奖项设置为空,无法开始抽奖,请检查[参数设置]->[奖项设置]!");
    EXPECT_FALSE(s.luck->rolling());
  }
  {
    Session s({{"一等奖", 40, 31}}, 50, {}, {"[窗体样式]", "抽奖模式=0"});
    s.command();
    EXPECT_EQ(s.messages().back(), "图片抽奖单次不能超过30名,请修改一等奖的[每次抽取个数].");
    EXPECT_TRUE(s.view.photoTiles);
  }
  {
    Session s({{"一等奖", 2, 1}}, 5, {}, {"[音效设置]", "抽奖停止=stop.wav"});
    std::filesystem::create_directories(s.event.dir() / "music");
    s.event.dir().write("music/stop.wav", "x");
    s.view.soundSystemFails = true;
    s.command();
    EXPECT_EQ(s.questions().back(), "电脑声卡未安装,关闭音乐可解决,是否打开设置？");
    EXPECT_TRUE(s.luck->rolling());  // the start goes on
  }
  {
    // A damaged count ends the command with the conversion message; nothing rolls.
    Session s({{"一等奖", 2, 1}}, 5, {});
    s.data.ItemGrid.setCell(item::kBatchSize, 1, gbk("两"));
    s.command();
    EXPECT_EQ(s.messages().back(), "'两' is not a valid integer value");
    EXPECT_FALSE(s.luck->rolling());
  }
}

TEST(DrawControl, ChangingTheRollingModeRestartsTheDraw) {
  Session s({{"一等奖", 3, 1}}, 10, {"分组显示名单=0"});
  s.command();
  s.command();
  ASSERT_EQ(s.records().size(), 1u);
  s.luck->startStopCommand();  // a batch rolls when the mode changes: it is dropped, never recorded
  ASSERT_TRUE(s.luck->rolling());
  s.luck->N97Click();
  EXPECT_FALSE(s.luck->rolling());
  EXPECT_EQ(s.messages().back(), "滚动模式已修改,将重新开始抽奖");
  EXPECT_TRUE(s.records().empty());
  s.luck->startStopCommand();
  s.luck->startStopCommand();
  EXPECT_EQ(s.records().size(), 1u);  // award rolling: the head of the queue, once
  EXPECT_FALSE(s.data.settings.peopleRolling);
  EXPECT_EQ(base::gbkToUtf8(s.view.singleAwardCaption), "抽取状况");
  EXPECT_EQ(s.view.exitSaves, 1);
  base::IniFile config = s.event.folder().configFiles().openConfigOnly();
  EXPECT_FALSE(config.readBool(gbk("窗体样式"), gbk("滚动模式"), true));
  s.luck->N97Click();  // already ticked: nothing
  EXPECT_EQ(s.view.exitSaves, 1);
  s.view.lockPasses = false;
  s.luck->N9Click();  // already text draw: nothing, not even the lock check
  s.luck->N10Click();
  EXPECT_EQ(s.messages().back(), "抱歉,密码不正确不能修改");
  EXPECT_TRUE(s.data.settings.textDraw);
}

}  // namespace
