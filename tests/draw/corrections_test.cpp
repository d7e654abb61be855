#include <gtest/gtest.h>

#include <iostream>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "draw/award_corrections.h"
#include "draw/lifecycle.h"
#include "draw/paired_writes.h"
#include "event_fixture.h"
#include "immutable_file.h"

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

// The winners record cannot be replaced while it is made immutable (where the
// file system lets root do that) or while a folder stands in its place (which
// holds for root everywhere); afterwards the old file is put back.
class BlockedRecord {
 public:
  enum class Way { FolderInItsPlace, Immutable };
  BlockedRecord(std::filesystem::path file, Way way) : file_(std::move(file)), old_(base::readFile(file_)), way_(way) {
    if (way_ == Way::Immutable) {
      applied_ = testing_support::setImmutable(file_, true);
      return;
    }
    std::filesystem::remove(file_);
    std::filesystem::create_directories(file_ / "blocked");
    applied_ = true;
  }
  ~BlockedRecord() {
    if (way_ == Way::Immutable) {
      if (applied_) testing_support::setImmutable(file_, false);
      return;
    }
    std::filesystem::remove_all(file_);
    base::writeFileAtomically(file_, old_);
  }
  bool applied() const { return applied_; }

 private:
  std::filesystem::path file_;
  std::string old_;
  Way way_;
  bool applied_ = false;
};

// A give-up or a restart whose winners record cannot be written has not
// happened: Config.ini is as before (no count, no note), the tables too, and no
// later start-up completes it behind the operator's back.
TEST(PairedWrites, AnOperationWhoseRecordCannotBeWrittenChangesNothing) {
  for (const auto way : {BlockedRecord::Way::FolderInItsPlace, BlockedRecord::Way::Immutable}) {
    for (const bool restart : {false, true}) {
      const std::string label = std::string(restart ? "restart" : "give-up") +
                                (way == BlockedRecord::Way::Immutable ? ", immutable" : ", folder in its place");
      DrawnEvent e("1|a|a|x|1\r\n2|b|b|x|1\r\n3|c|c|x|2\r\n");
      ASSERT_EQ(draw::supplementary(e.data, e.event.folder(), {gbk("二等奖"), 2, "2", ""}), gbk("补奖完成"));
      const std::string configBefore = e.event.dir().read("Config.ini");
      {
        BlockedRecord blocked(e.event.folder().winnersRecordPath(), way);
        if (!blocked.applied()) {
          std::cout << "[  SKIPPED ] " << label << ": this file system cannot make a file immutable\n";
          continue;
        }
        try {
          if (restart)
            draw::restartDraw(e.data, e.event.folder());
          else
            draw::giveUp(e.data, e.event.folder(), {2, true, false});
          ADD_FAILURE() << label << ": the operation went through";
        } catch (const base::FileError& error) {
          EXPECT_NE(std::string(error.what()).find("LuckName.txt"), std::string::npos) << label << error.what();
          EXPECT_NE(std::string(error.what()).find("保持原样"), std::string::npos) << label << error.what();
        }
      }
      EXPECT_EQ(e.event.dir().read("Config.ini"), configBefore) << label;
      EXPECT_EQ(e.data.winnerCount(), 3u) << label;
      EXPECT_EQ(e.data.count(1, item::kGivenUp), 0) << label;
      EXPECT_EQ(e.data.count(2, item::kSupplementary), 2) << label;

      DrawData again;
      const draw::LifecycleOutcome outcome = e.event.start(again);
      EXPECT_FALSE(outcome.message) << label;
      EXPECT_EQ(again.winnerCount(), 3u) << label;
      EXPECT_EQ(again.count(1, item::kGivenUp), 0) << label;
      EXPECT_EQ(again.count(2, item::kSupplementary), 2) << label;
      // The draw goes on where it stood (award 2 has places left).
      EXPECT_TRUE(again.state.drawBlocked.empty()) << label;
      EXPECT_EQ(again.state.currentAward, "2") << label;
    }
  }
}

// When even Config.ini cannot be put back, the note stays: the operator hears at
// once that the next start-up finishes the operation, and hears it again then.
TEST(PairedWrites, ANoteThatCannotBeTakenBackIsToldNowAndFinishedAtTheNextStart) {
  DrawnEvent e("1|a|a|x|1\r\n2|b|b|x|1\r\n3|c|c|x|2\r\n");
  const std::filesystem::path configPath = e.event.dir() / "Config.ini";
  std::string noted;
  try {
    draw::pairedWrite(
        e.event.folder(),
        [](base::IniFile& config) {
          base::IniBatch batch(config);
          config.writeString(gbk("弃奖"), "1", "1");
          draw::noteWinnerRemoval(config, 2, "2|b|b|x|1", 2);
        },
        [&] {
          // The record cannot be written, and Config.ini cannot be replaced either.
          noted = base::readFile(configPath);
          std::filesystem::remove(configPath);
          std::filesystem::create_directories(configPath / "blocked");
          throw base::FileError(base::FileError::Kind::CannotWrite, e.event.folder().winnersRecordPath(),
                                "磁盘是只读的");
        },
        "弃奖");
    ADD_FAILURE() << "the failure was not raised";
  } catch (const base::FileError& error) {
    EXPECT_NE(std::string(error.what()).find("下次启动程序时会自动完成这次弃奖"), std::string::npos) << error.what();
  }
  std::filesystem::remove_all(configPath);
  base::writeFileAtomically(configPath, noted);

  DrawData again;
  const draw::LifecycleOutcome outcome = e.event.start(again);
  ASSERT_TRUE(outcome.message);
  EXPECT_NE(base::gbkToUtf8(*outcome.message).find("上次的弃奖没有完成,现已完成"), std::string::npos);
  EXPECT_EQ(e.event.lines("LuckName.txt"), (std::vector<std::string>{"1|a|a|x|1", "3|c|c|x|2"}));
  EXPECT_EQ(again.count(1, item::kDrawn), 1);
  EXPECT_EQ(again.count(1, item::kGivenUp), 1);
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

// A crash between the two writes of a restart leaves Config.ini cleared with its
// note and the winners record as it was: start-up empties the record and says so.
TEST(PairedWrites, ARestartCutShortIsFinishedAtStartUp) {
  DrawnEvent e("1|a|a|x|1\r\n2|b|b|x|1\r\n");
  {
    base::IniFile config = e.config();
    base::IniBatch batch(config);
    config.deleteKey(gbk("弃奖"), "1");
    draw::noteWinnersRecordCleared(config);
  }
  DrawData again;
  const draw::LifecycleOutcome outcome = e.event.start(again);
  ASSERT_TRUE(outcome.message);
  EXPECT_NE(base::gbkToUtf8(*outcome.message).find("现已清空"), std::string::npos);
  EXPECT_TRUE(e.event.lines("LuckName.txt").empty());
  EXPECT_EQ(again.winnerCount(), 0u);
  EXPECT_EQ(again.remaining(1), 2);
  EXPECT_FALSE(e.config().hasSection(draw::unfinishedSection()));
}

}  // namespace
