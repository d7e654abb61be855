// The prize display's sequence of awards and its caption.
#include "draw/prize_show.h"

#include <gtest/gtest.h>

#include "base/delimited_row.h"
#include "test_folder.h"

namespace {

using testing_support::gbk;

// Follows the display's ticks from its opening: wrap, show, advance.
std::vector<int> shownRows(int rowCount, int drawOrder, int ticks) {
  std::vector<int> rows;
  int position = draw::firstPrizeRow(rowCount, drawOrder);
  for (int t = 0; t < ticks; ++t) {
    position = draw::wrapPrizeRow(position, rowCount, drawOrder);
    rows.push_back(position);
    position = draw::nextPrizeRow(position, drawOrder);
  }
  return rows;
}

TEST(PrizeShow, WalksTheAwardsInTheDrawOrderAndStartsAgain) {
  EXPECT_EQ(shownRows(3, 0, 5), (std::vector<int>{1, 2, 3, 1, 2}));
  EXPECT_EQ(shownRows(3, 1, 5), (std::vector<int>{3, 2, 1, 3, 2}));
  EXPECT_EQ(shownRows(1, 1, 3), (std::vector<int>{1, 1, 1}));
}

TEST(PrizeShow, ReadsTheAwardSettingsUpToTheFirstGapAndComposesTheCaption) {
  testing_support::TestFolder folder;
  const std::string row1 =
      base::writeDelimitedRow({"1", gbk("一等奖"), "3", "1", "", gbk("手机一部"), gbk("总经理"), "p1.png"});
  // 緗 ends in byte 0x7C, the separator: the row must not split inside it.
  const std::string row2 = base::writeDelimitedRow({"2", gbk("二等奖"), "5", "1", "", gbk("緗绣"), "", ""});
  folder.write("Config.ini", gbk("[奖项设置]\r\n1=") + row1 + "\r\n2=" + row2 + "\r\n4=x\r\n");
  const draw::Table table = draw::prizeTable(base::IniFile(folder.path() / "Config.ini"));
  ASSERT_EQ(table.rowCount(), 3u);
  EXPECT_EQ(table.cell(7, 1), "p1.png");
  EXPECT_EQ(table.cell(1, 0), gbk("奖项"));

  struct Case {
    int row;
    draw::CaptionParts parts;
    const char* expected;
  };
  const Case cases[] = {
      {1, {}, "一等奖共3名,奖品:手机一部,抽奖嘉宾:总经理"},
      {1, {false, true, false}, "一等奖,奖品:手机一部"},
      {2, {true, true, false}, "二等奖共5名,奖品:緗绣"},
      {0, {false, false, false}, ""},  // never the header row
  };
  for (const Case& c : cases) EXPECT_EQ(draw::prizeCaption(table, c.row, c.parts), gbk(c.expected)) << c.row;
}

}  // namespace
