#include "draw/event_files.h"

#include <gtest/gtest.h>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "draw/draw_settings.h"
#include "draw/winners_record_check.h"
#include "event_fixture.h"

namespace {

using draw::DrawData;
using draw_testing::EventFixture;
using testing_support::gbk;
namespace item = draw::item;

TEST(DrawSettings, DefaultsWhenKeysAreMissingAndValuesWhenPresent) {
  EventFixture event;
  DrawData data;
  draw::loadDrawSettings(event.folder().configFiles().openWithFallback(), data);
  const draw::DrawSettings& d = data.settings;
  EXPECT_TRUE(d.textDraw && d.peopleRolling && d.awardGroupsOn && d.repeatWinning && d.privacyMaskOn);
  EXPECT_FALSE(d.predeterminedOn || d.blacklistOn || d.autoStop || d.autoStart);
  EXPECT_EQ(d.baseRollingInterval, 2120);
  EXPECT_EQ(d.drawOrder, 1);
  EXPECT_EQ(d.privacyBegin, 3);
  EXPECT_EQ(d.privacyEnd, 4);

  // Only SysConfig.ini: the fallback rule reads it.
  std::string text =
      gbk("[窗体样式]\r\n抽奖模式=0\r\n滚动模式=0\r\n[界面设置]\r\n滚动速度=5\r\n抽奖顺序=0\r\n重复中奖=0\r\n"
          "隐私_check=0\r\n自动开始=-1\r\n自动开始Sec=3\r\n[内定设置]\r\nOpen=1\r\nHide=1\r\n"
          "[内定设置B]\r\nOpen=1\r\n[奖项分组设定]\r\nOpenClassify=0\r\n");
  event.dir().write("SysConfig.ini", text);
  draw::loadDrawSettings(event.folder().configFiles().openWithFallback(), data);
  EXPECT_FALSE(d.textDraw || d.peopleRolling || d.repeatWinning || d.privacyMaskOn || d.awardGroupsOn);
  EXPECT_TRUE(d.predeterminedOn && d.blacklistOn && d.otherSettingsHidden && d.autoStart);
  EXPECT_EQ(d.baseRollingInterval, 220);
  EXPECT_EQ(d.drawOrder, 0);
  EXPECT_EQ(d.autoStartSeconds, 3);
  // Both tables hold their header and one empty row when the sections have no entry.
  EXPECT_EQ(data.LuckDetail.rowCount(), 2u);
  EXPECT_EQ(data.BlackDetail.cell(draw::entry::kAwardName, 0), gbk("拒绝奖项"));

  // Config.ini, once it exists, wins over the template.
  event.config({"[界面设置]", "滚动速度=0"});
  draw::loadDrawSettings(event.folder().configFiles().openWithFallback(), data);
  EXPECT_EQ(d.baseRollingInterval, 120);
}

TEST(DrawSettings, AwardTableFillReadsRowsCountsAndStopsAtTheFirstGap) {
  EventFixture event;
  event.config({"[奖项设置]", "1=1|一等奖|3|3|3|\"手机 一部\"||", "2=2|二等奖|5|2|2+2+1|手机 一部|g|p.jpg",
                "4=4|四等奖|1|1|1|x||", "[弃奖]", "1=2", "[补奖]", "1=1", "2=abc"});
  DrawData data;
  draw::loadDrawSettings(event.folder().configFiles().openWithFallback(), data);
  const auto& grid = data.ItemGrid;
  ASSERT_EQ(grid.rowCount(), 3u);  // key 3 missing: key 4 is never read
  EXPECT_EQ(grid.cell(item::kName, 0), gbk("奖项"));
  EXPECT_EQ(grid.cell(item::kPrize, 1), gbk("手机 一部"));  // quoted: one cell
  EXPECT_EQ(grid.cell(item::kGuest, 1), " ");               // empty cells read back as a blank
  EXPECT_EQ(grid.cell(item::kPicture, 1), " ");
  EXPECT_EQ(grid.cell(item::kPrize, 2), gbk("手机"));  // unquoted blank splits, later cells shift
  EXPECT_EQ(grid.cell(item::kGuest, 2), gbk("一部"));
  EXPECT_EQ(grid.cell(item::kGivenUp, 1), "2");
  EXPECT_EQ(grid.cell(item::kSupplementary, 1), "1");
  EXPECT_EQ(grid.cell(item::kDrawn, 1), "0");
  EXPECT_EQ(grid.cell(item::kPredetermined, 2), "0");
  EXPECT_EQ(data.remaining(1), 2);
  // A damaged count is kept as text and raises when it is used.
  EXPECT_THROW(data.remaining(2), base::ConversionError);

  // Awards removed from the settings are not kept from an earlier fill.
  event.config({"[界面设置]"});
  draw::loadDrawSettings(event.folder().configFiles().openWithFallback(), data);
  EXPECT_EQ(grid.rowCount(), 2u);
  EXPECT_EQ(grid.cell(item::kName, 1), "");
}

TEST(EventFiles, PredeterminedLoadMarksEveryEntryUndrawn) {
  EventFixture event;
  event.config({"[内定设置]", "Open=1", "1=1|5|王五|2|二等奖", "2=2|7|\"A B\"|1|一等奖", "[内定设置B]", "Open=1",
                "1=1|9|赵|0|全部"});
  DrawData data;
  draw::loadDrawSettings(event.folder().configFiles().openWithFallback(), data);
  ASSERT_EQ(data.LuckDetail.rowCount(), 3u);
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kPersonName, 2), "A B");
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kDrawn, 1), "N");
  EXPECT_EQ(data.BlackDetail.cell(draw::entry::kAward, 1), "0");
}

TEST(EventFiles, RosterLoadKeepsEveryLineAndMasksDisplayNames) {
  EventFixture event;
  event.config({"[界面设置]", "隐私_begin=3", "隐私_end=4"});
  event.dir().write("NameList.txt", gbk("王小明\r\n\nA B\rlast"));
  DrawData data;
  data.appendWinner({"1", "x", "x", "x", "1"});
  draw::rosterLoad(event.folder(), data);
  ASSERT_EQ(data.rosterSize(), 4u);
  EXPECT_EQ(data.AllNameList.cell(draw::person::kName, 2), "");  // an empty line is a person
  EXPECT_EQ(data.AllNameList.cell(draw::person::kDisplayName, 1), gbk("王**明"));
  EXPECT_EQ(data.AllNameList.cell(draw::person::kName, 3), "A B");
  EXPECT_EQ(data.AllNameList.cell(draw::person::kFlag, 4), "N");
  EXPECT_EQ(data.AllNameGrid.cell(draw::person::kSerial, 4), "4");
  EXPECT_EQ(data.AllNameGrid.cell(draw::person::kFlag, 0), gbk("标记位"));
  EXPECT_FALSE(data.hasWinners());

  // Picture draw reads PicList.txt, which is missing here.
  event.config({"[窗体样式]", "抽奖模式=0"});
  EXPECT_THROW(draw::rosterLoad(event.folder(), data), base::FileError);
}

// The winners record load as start-up runs it on a record whose lines are all whole.
void loadRecord(const EventFixture& event, DrawData& data) {
  const draw::RecordReading reading = draw::readWinnersRecord(event.dir().read("LuckName.txt"), data);
  ASSERT_TRUE(reading.whole());
  draw::takeWinnerRecords(data, reading.records);
}

TEST(EventFiles, WinnersRecordLoadCountsMarksAndKeepsRecordsNamingNoRow) {
  EventFixture event;
  std::vector<std::string> config = EventFixture::awardLines({{"一等奖", 2, 1}, {"二等奖", 3, 3}});
  config.insert(config.end(), {"[界面设置]", "重复中奖=0", "[内定设置]", "Open=1", "1=1|2|b|1|x", "2=2|2|b|2|x"});
  event.config(config);
  event.roster({"a", "b", "c"});
  // The second byte of 琜 is "|": it must not split the name field.
  const std::string odd = "\xAC\x7C";
  event.dir().write("LuckName.txt", "2|b|b|" + gbk("一等奖") + "|1\r\n1|A B|" + odd +
                                        "|x|2\r\n"
                                        "3|c|c|x|7\r\n9|z|z|x|2\r\n");
  DrawData data;
  draw::rosterLoad(event.folder(), data);
  loadRecord(event, data);
  ASSERT_EQ(data.winnerCount(), 4u);
  EXPECT_EQ(data.LuckNameGrid.cell(draw::winner::kName, 2), "A B");
  EXPECT_EQ(data.LuckNameGrid.cell(draw::winner::kDisplayName, 2), odd);
  EXPECT_EQ(data.count(1, item::kDrawn), 1);
  EXPECT_EQ(data.count(2, item::kDrawn), 2);  // award 7 counts nowhere; person 9 still counts for award 2
  EXPECT_EQ(data.LuckNameGrid.cell(draw::winner::kAwardSerial, 3), "7");
  EXPECT_EQ(data.AllNameList.cell(draw::person::kFlag, 2), "Y");
  EXPECT_EQ(data.AllNameList.cell(draw::person::kFlag, 3), "Y");
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kDrawn, 1), "Y");
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kDrawn, 2), "N");
  EXPECT_EQ(data.LuckNameGrid.cell(0, data.LuckNameGrid.rowCount() - 1), "");

  // A rewrite gives the same lines back.
  draw::rewriteWinnersRecord(event.folder(), data);
  EXPECT_EQ(event.lines("LuckName.txt")[1], "1|A B|" + odd + "|x|2");
}

TEST(EventFiles, WinnersRecordLoadWithRepeatWinningLeavesPeopleEligible) {
  EventFixture event;
  event.config(EventFixture::awardLines({{"一等奖", 2, 1}}));
  event.roster({"a", "b"});
  event.dir().write("LuckName.txt", "1|a|a|x|1\n1|a|a|x|1\n");
  DrawData data;
  draw::rosterLoad(event.folder(), data);
  loadRecord(event, data);
  EXPECT_EQ(data.count(1, item::kDrawn), 2);
  EXPECT_EQ(data.AllNameList.cell(draw::person::kFlag, 1), "N");
}

// A line whose serial is damaged may be a winner's record: the records after it
// are not dropped behind it (their places would be drawn again), nothing is
// loaded, and the draw waits until the line is mended.
TEST(EventFiles, DamagedWinnersLineStopsTheDrawAndLoadsNothing) {
  EventFixture event;
  event.config(EventFixture::awardLines({{"一等奖", 5, 1}}));
  event.roster({"a", "b"});
  const std::string record = "1|a|a|x|1\r\nb|b|b|x|1\r\n2|b|b|x|1\r\n";
  event.dir().write("LuckName.txt", record);
  DrawData data;
  const draw::LifecycleOutcome outcome = event.start(data);
  EXPECT_EQ(data.winnerCount(), 0u);
  EXPECT_FALSE(data.state.drawBlocked.empty());
  ASSERT_TRUE(outcome.message);
  EXPECT_NE(base::gbkToUtf8(*outcome.message).find("第2行"), std::string::npos) << base::gbkToUtf8(*outcome.message);
  EXPECT_EQ(event.dir().read("LuckName.txt"), record);
}

TEST(EventFiles, LogHeaderAndAppendedLines) {
  EventFixture event;
  event.config(EventFixture::awardLines({{"一等奖", 3, 1, "手机一部"}}));
  event.roster({"a"});
  DrawData data;
  draw::rosterLoad(event.folder(), data);
  draw::appendAwardHeader(event.folder(), data, 1);
  draw::appendLogLine(event.folder(), gbk("张三"));
  EXPECT_EQ(event.dir().read("log.txt"), std::string(75, '-') + "\r\n" +
                                             gbk("[2026-12-08 20:15:03] 一等奖3名 (奖品:手机一部)") + "\r\n\r\n" +
                                             gbk("张三") + "\r\n");
  draw::appendWinnerRecord(event.folder(), "1|a|a|x|1");
  draw::truncateWinnersRecord(event.folder());
  EXPECT_EQ(event.dir().read("LuckName.txt"), "");
}

}  // namespace
