#include <gtest/gtest.h>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "draw/award_corrections.h"
#include "draw/lifecycle.h"
#include "draw/paired_writes.h"
#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

struct DrawnEvent {
  EventFixture event;
  DrawData data;
  explicit DrawnEvent(const std::string& records, bool repeatWinning = false) {
    auto config = EventFixture::awardLines({{"一等奖", 2, 1}, {"二等奖", 3, 1}});
    config.insert(config.end(), {"[界面设置]", std::string("重复中奖=") + (repeatWinning ? "1" : "0"), "抽奖顺序=0"});
    event.config(config);
    event.roster({"a", "b", "c", "d"});
    event.dir().write("LuckName.txt", records);
    event.start(data);
  }
  base::IniFile config() const { return event.folder().configFiles().openConfigOnly(); }
};

TEST(GiveUp, PlaceDrawnAgainAndPersonBackInThePool) {
  DrawnEvent e("1|a|a|x|1\r\n2|b|b|x|1\r\n3|c|c|x|2\r\n");
  EXPECT_EQ(e.data.state.currentAward, "2");
  ASSERT_TRUE(draw::giveUp(e.data, e.event.folder(), {1, true, true}));
  EXPECT_EQ(e.data.count(1, item::kDrawn), 1);
  EXPECT_EQ(e.data.count(1, item::kGivenUp), 0);
  EXPECT_EQ(e.data.AllNameList.cell(draw::person::kFlag, 1), "N");
  EXPECT_EQ(e.event.lines("LuckName.txt"), (std::vector<std::string>{"2|b|b|x|1", "3|c|c|x|2"}));
  EXPECT_FALSE(e.config().hasKey(gbk("弃奖"), "1"));
  // With draw order 0 the next batch goes back to award 1.
  EXPECT_EQ(draw::findCurrentAward(e.data), "1");
}

TEST(GiveUp, LostPlaceIsCountedAndPersisted) {
  DrawnEvent e("1|a|a|x|1\r\n2|b|b|x|1\r\n");
  ASSERT_TRUE(draw::giveUp(e.data, e.event.folder(), {2, false, false}));
  EXPECT_EQ(e.data.count(1, item::kDrawn), 1);
  EXPECT_EQ(e.data.count(1, item::kGivenUp), 1);
  EXPECT_EQ(e.data.remaining(1), 0);
  EXPECT_EQ(e.data.AllNameList.cell(draw::person::kFlag, 2), "Y");
  EXPECT_EQ(e.config().readString(gbk("弃奖"), "1", ""), "1");
  // The count survives a program start.
  DrawData again;
  e.event.start(again);
  EXPECT_EQ(again.count(1, item::kGivenUp), 1);
  EXPECT_EQ(again.count(1, item::kDrawn), 1);
}

TEST(GiveUp, RemovesExactlyTheSelectedRecordOfAPersonWhoWonTwice) {
  DrawnEvent e("1|a|a|x|1\r\n2|b|b|x|2\r\n1|a|a|x|2\r\n3|c|c|x|9\r\n", true);
  ASSERT_TRUE(draw::giveUp(e.data, e.event.folder(), {3, true, true}));
  EXPECT_EQ(e.data.count(1, item::kDrawn), 1);
  EXPECT_EQ(e.data.count(2, item::kDrawn), 1);
  EXPECT_EQ(e.event.lines("LuckName.txt"), (std::vector<std::string>{"1|a|a|x|1", "2|b|b|x|2", "3|c|c|x|9"}));
  // A record of an award that no longer exists can still be given up.
  ASSERT_TRUE(draw::giveUp(e.data, e.event.folder(), {3, true, false}));
  EXPECT_EQ(e.data.winnerCount(), 2u);
  EXPECT_FALSE(draw::giveUp(e.data, e.event.folder(), {3, true, true}));  // the spare row is no record
  EXPECT_FALSE(draw::giveUp(e.data, e.event.folder(), {0, true, true}));
}

TEST(Supplementary, ReplacesTheCountOrMakesANewAward) {
  DrawnEvent e("");
  auto request = [&](const char* award, std::size_t chosen, const char* count, const char* prize = "") {
    return draw::supplementary(e.data, e.event.folder(), {gbk(award), chosen, count, gbk(prize)});
  };
  EXPECT_EQ(request("一等奖", 1, ""), gbk("补奖个数必须大于零"));
  EXPECT_EQ(request("一等奖", 1, "0"), gbk("补奖个数必须大于零"));
  EXPECT_EQ(request("", 1, "2"), gbk("请选择或输入补奖奖项"));
  EXPECT_THROW(request("一等奖", 1, "99999999999"), base::ConversionError);
  EXPECT_EQ(e.data.count(1, item::kSupplementary), 0);

  EXPECT_EQ(request("一等奖", 1, "2"), gbk("补奖完成"));
  EXPECT_EQ(request("一等奖", 1, "3"), gbk("补奖完成"));
  EXPECT_EQ(e.data.count(1, item::kSupplementary), 3);  // replaced, not added
  EXPECT_EQ(e.data.places(1), 5);
  // The typed name decides over a stale selection.
  EXPECT_EQ(request("二等奖", 1, "1"), gbk("补奖完成"));
  EXPECT_EQ(e.data.count(1, item::kSupplementary), 3);
  EXPECT_EQ(e.data.count(2, item::kSupplementary), 1);

  EXPECT_EQ(request("特别奖", 1, "4", "电脑 一台"), gbk("补奖完成"));
  ASSERT_EQ(e.data.awardRowCount(), 3u);
  EXPECT_EQ(e.data.places(3), 4);
  EXPECT_EQ(e.data.count(3, item::kBatchSize), 4);
  EXPECT_EQ(e.data.remaining(3), 4);

  // Everything survives a program start.
  DrawData again;
  e.event.start(again);
  ASSERT_EQ(again.awardRowCount(), 3u);
  EXPECT_EQ(again.ItemGrid.cell(item::kName, 3), gbk("特别奖"));
  EXPECT_EQ(again.ItemGrid.cell(item::kPrize, 3), gbk("电脑 一台"));
  EXPECT_EQ(again.count(3, item::kPlaces), 0);
  EXPECT_EQ(again.count(3, item::kSupplementary), 4);
  EXPECT_EQ(again.count(1, item::kSupplementary), 3);
}

TEST(Supplementary, NewAwardWithoutAnyAwardTakesTheFirstKey) {
  EventFixture event;
  event.roster({"a"});
  DrawData data;
  event.start(data);
  EXPECT_EQ(draw::supplementary(data, event.folder(), {gbk("特别奖"), 0, "2", ""}), gbk("补奖完成"));
  DrawData again;
  event.start(again);
  ASSERT_EQ(again.awardRowCount(), 1u);
  EXPECT_EQ(again.remaining(1), 2);
}

// A crash between the two writes of a give-up or a restart: the winners record
// cannot be replaced while a folder stands in its place; afterwards the old file
// is put back, as a crash before the rename would have left it.
class CrashedRecordWrite {
 public:
  explicit CrashedRecordWrite(std::filesystem::path file) : file_(std::move(file)), old_(base::readFile(file_)) {
    std::filesystem::remove(file_);
    std::filesystem::create_directories(file_ / "blocked");
  }
  ~CrashedRecordWrite() {
    std::filesystem::remove_all(file_);
    base::writeFileAtomically(file_, old_);
  }

 private:
  std::filesystem::path file_;
  std::string old_;
};

TEST(PairedWrites, AGiveUpCutShortIsFinishedAtStartUp) {
  DrawnEvent e("1|a|a|x|1\r\n2|b|b|x|1\r\n3|c|c|x|2\r\n");
  {
    CrashedRecordWrite crash(e.event.folder().winnersRecordPath());
    EXPECT_THROW(draw::giveUp(e.data, e.event.folder(), {2, true, false}), base::FileError);
  }
  EXPECT_EQ(e.data.winnerCount(), 3u);  // the tables follow the files, not the intent
  DrawData again;
  e.event.start(again);
  EXPECT_EQ(e.event.lines("LuckName.txt"), (std::vector<std::string>{"1|a|a|x|1", "3|c|c|x|2"}));
  EXPECT_EQ(again.count(1, item::kDrawn), 1);
  EXPECT_EQ(again.count(1, item::kGivenUp), 1);
  EXPECT_EQ(again.remaining(1), 0);  // neither lost twice nor drawn again
  EXPECT_FALSE(e.config().hasSection(draw::unfinishedSection()));
}

TEST(PairedWrites, ANoteLeftAfterTheRecordWasRewrittenRemovesNothingMore) {
  // The same person twice in a row with repeat winning: only the record count
  // tells whether the removal happened.
  DrawnEvent e("1|a|a|x|2\r\n1|a|a|x|2\r\n", true);
  ASSERT_TRUE(draw::giveUp(e.data, e.event.folder(), {1, true, false}));
  base::IniFile config = e.config();
  draw::noteWinnerRemoval(config, 1, "1|a|a|x|2", 1);  // as if the crash came before the note was dropped
  DrawData again;
  e.event.start(again);
  EXPECT_EQ(e.event.lines("LuckName.txt"), (std::vector<std::string>{"1|a|a|x|2"}));
  EXPECT_EQ(again.count(2, item::kDrawn), 1);
  EXPECT_EQ(again.count(2, item::kGivenUp), 1);
  EXPECT_FALSE(e.config().hasSection(draw::unfinishedSection()));
}

TEST(PairedWrites, ARestartCutShortIsFinishedAtStartUp) {
  DrawnEvent e("1|a|a|x|1\r\n2|b|b|x|1\r\n");
  ASSERT_TRUE(draw::giveUp(e.data, e.event.folder(), {1, true, false}));
  ASSERT_EQ(draw::supplementary(e.data, e.event.folder(), {gbk("二等奖"), 2, "2", ""}), gbk("补奖完成"));
  {
    CrashedRecordWrite crash(e.event.folder().winnersRecordPath());
    EXPECT_THROW(draw::restartDraw(e.data, e.event.folder()), base::FileError);
  }
  DrawData again;
  e.event.start(again);
  EXPECT_TRUE(e.event.lines("LuckName.txt").empty());
  EXPECT_EQ(again.winnerCount(), 0u);
  EXPECT_EQ(again.remaining(1), 2);
  EXPECT_EQ(again.remaining(2), 3);
  EXPECT_FALSE(e.config().hasSection(gbk("弃奖")) && e.config().hasKey(gbk("弃奖"), "1"));
  EXPECT_FALSE(e.config().hasSection(draw::unfinishedSection()));
}

}  // namespace
