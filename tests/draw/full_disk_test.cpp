// A batch stopped while the disk is full: the operator is told, only what is on
// disk counts as won, and after space is freed the draw goes on consistently.
#include <gtest/gtest.h>

#include <algorithm>

#include "draw/startup.h"
#include "draw_run.h"
#include "event_fixture.h"
#include "file_size_limit.h"

namespace {

using draw_testing::DrawRun;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

// The winners table, the count of award 1 and the file hold the same records;
// `before` records of another award came first.
void expectRecordAgrees(const EventFixture& event, const draw::DrawData& data, std::size_t before,
                        std::size_t records) {
  const auto lines = event.lines("LuckName.txt");
  ASSERT_EQ(lines.size(), before + records);
  EXPECT_EQ(data.winnerCount(), before + records);
  EXPECT_EQ(data.count(1, item::kDrawn), static_cast<int>(records));
  for (std::size_t r = 1; r <= before + records; ++r)
    EXPECT_EQ(draw::winnerRecordLine(data.LuckNameGrid, r), lines[r - 1]);
}

TEST(FullDisk, ABatchRecordsOnlyWhatReachedTheDiskAndTheDrawGoesOn) {
  struct Case {
    std::string name;
    rlim_t limit;                // largest file size
    std::size_t logBytesBefore;  // log.txt already this long
    std::size_t recordedFirst;   // records of the first batch of 3
    std::string messageNames;    // the file the message names
  } cases[] = {
      {"winners record full", 4096, 0, 1, "LuckName.txt"},
      {"draw log full", 4096, 4096, 3, "log.txt"},
  };
  for (const Case& c : cases) {
    EventFixture event;
    auto config = EventFixture::awardLines({{"一等奖", 6, 3}, {"二等奖", 1000, 1}});
    config.insert(config.end(), {"[界面设置]", "抽奖准备=0", "分组显示名单=0", "抽奖顺序=0", "重复中奖=0", "[音效设置]",
                                 "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
    event.config(config);
    event.roster(EventFixture::numberedNames(9));
    event.dir().write("log.txt", std::string(c.logBytesBefore, '-'));
    // Earlier records of a second award bring the winners record up to the
    // limit, as a long event would; start-up's own writes still fit.
    // (People of an earlier roster, off the present one: nobody is counted twice.)
    std::string earlier;
    for (int person = 100; earlier.size() + 40 < c.limit; ++person)
      earlier += std::to_string(person) + "|" + gbk("人9") + "|" + gbk("人9") + "|" + gbk("二等奖") + "|2\r\n";
    if (c.recordedFirst == 3) earlier.clear();
    event.dir().write("LuckName.txt", earlier);
    const std::size_t before = base::splitLines(earlier).size();
    EXPECT_TRUE(testing_support::passesUnderFileSizeLimit(earlier.empty() ? c.limit : earlier.size() + 30, [&] {
      DrawRun run(event.folder());
      ASSERT_EQ(draw::startUp(run.data, event.folder(), run.view, run.luck), draw::StartupResult::Ready);
      run.batch();
      ASSERT_EQ(run.messages().size(), 1u) << c.name << ": " << ::testing::PrintToString(run.messages());
      EXPECT_NE(run.messages()[0].find(c.messageNames), std::string::npos) << run.messages()[0];
      expectRecordAgrees(event, run.data, before, c.recordedFirst);
      EXPECT_FALSE(run.luck.rolling());

      testing_support::freeDiskSpace();
      for (int i = 0; i < 4 && run.data.remaining(1) > 0; ++i) run.batch();
      EXPECT_EQ(run.messages().size(), 1u) << c.name;
      expectRecordAgrees(event, run.data, before, 6);
      // With repeat winning off nobody wins twice: a recorded winner left the
      // pool even though the batch failed.
      std::vector<std::string> people;
      for (std::size_t r = before + 1; r <= run.data.winnerCount(); ++r)
        people.push_back(run.data.LuckNameGrid.cell(0, r));
      std::sort(people.begin(), people.end());
      EXPECT_EQ(std::adjacent_find(people.begin(), people.end()), people.end()) << c.name;
    })) << c.name;
    // A start-up afterwards reads the same six records.
    draw::DrawData after;
    event.start(after);
    EXPECT_EQ(after.count(1, item::kDrawn), 6) << c.name;
  }
}

// A batch whose records stopped after the first: only the recorded winner stays
// on screen, the progress line counts what is on disk, and the record's message
// comes before anything else of the stop is written (the layout store).
TEST(FullDisk, ABatchCutShortShowsOnlyItsRecordedWinnersAndReportsThemFirst) {
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 6, 3}});
  config.insert(config.end(), {"[界面设置]", "抽奖准备=0", "分组显示名单=0", "重复中奖=0", "[音效设置]",
                               "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
  event.config(config);
  event.roster(EventFixture::numberedNames(9));
  std::string earlier;
  for (int person = 100; earlier.size() < 400; ++person) earlier += std::to_string(person) + "|a|a|x|7\r\n";
  event.dir().write("LuckName.txt", earlier);
  EXPECT_TRUE(testing_support::passesUnderFileSizeLimit(earlier.size() + 30, [&] {
    DrawRun run(event.folder());
    ASSERT_EQ(draw::startUp(run.data, event.folder(), run.view, run.luck), draw::StartupResult::Ready);
    std::vector<std::size_t> storesAtMessage;
    run.view.whileModal = [&] { storesAtMessage.push_back(run.view.layoutStores.size()); };
    const std::size_t storesBefore = run.view.layoutStores.size();
    run.batch();
    ASSERT_EQ(run.messages().size(), 1u) << ::testing::PrintToString(run.messages());
    EXPECT_NE(run.messages()[0].find("这2名没有记录"), std::string::npos) << run.messages()[0];
    EXPECT_EQ(storesAtMessage, std::vector<std::size_t>{storesBefore});
    EXPECT_EQ(run.view.layoutStores.size(), storesBefore + 1);
    EXPECT_EQ(run.view.visibleFrameTexts().size(), 1u);
    ASSERT_EQ(run.data.winnerCount(), base::splitLines(earlier).size() + 1);
    EXPECT_EQ(run.view.visibleFrameTexts()[0],
              run.data.LuckNameGrid.cell(draw::winner::kDisplayName, run.data.winnerCount()));
    EXPECT_NE(base::gbkToUtf8(run.view.fieldText[draw::Field::RateProgress]).find("已抽取1名"), std::string::npos);
  }));
}

}  // namespace
