// The winners display's text, composed from small award and winners tables.
#include "draw/winners_text.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace {

using testing_support::gbk;

struct Award {
  std::string name;
  std::string drawn;
  std::string prize;
};

// Award rows 1 … n, and winners as (display name, award serial) in table order.
draw::DrawData tables(const std::vector<Award>& awards,
                      const std::vector<std::pair<std::string, std::string>>& winners) {
  draw::DrawData data;
  data.ItemGrid.setRowCount(awards.size() + 1);
  for (std::size_t r = 1; r <= awards.size(); ++r) {
    const Award& a = awards[r - 1];
    data.ItemGrid.setCell(draw::item::kSerial, r, std::to_string(r));
    data.ItemGrid.setCell(draw::item::kName, r, gbk(a.name));
    data.ItemGrid.setCell(draw::item::kPrize, r, gbk(a.prize));
    data.ItemGrid.setCell(draw::item::kDrawn, r, a.drawn);
  }
  data.LuckNameGrid.setRowCount(1);
  for (const auto& [name, serial] : winners) data.LuckNameGrid.appendRow({"1", "x", gbk(name), "", serial});
  data.LuckNameGrid.appendRow();  // the spare row the draw keeps
  return data;
}

struct Case {
  const char* what;
  std::vector<Award> awards;
  std::vector<std::pair<std::string, std::string>> winners;
  std::string shown;
  int perRow;
  bool lastToFirst;
  std::string expected;  // UTF-8, blanks spelled out
};

// A case is named by what it shows, so its test keeps its name from build to
// build (the default printer would show the raw bytes of the structure).
void PrintTo(const Case& c, std::ostream* out) { *out << c.what; }

class WinnersText : public testing::TestWithParam<Case> {};

TEST_P(WinnersText, ComposesTheBlocks) {
  const Case& c = GetParam();
  const draw::DrawData data = tables(c.awards, c.winners);
  EXPECT_EQ(draw::composeWinnersText(data, c.shown, c.perRow, c.lastToFirst), gbk(c.expected)) << c.what;
}

const std::vector<Award> kNoneDrawn = {{"一等奖", "0", "手机"}, {"二等奖", "0", "平板"}};
const std::vector<Award> kThree = {{"一等奖", "1", "手机"}, {"二等奖", "0", "平板"}, {"三等奖", "2", "耳机"}};

INSTANTIATE_TEST_SUITE_P(
    Cases, WinnersText,
    testing::Values(Case{"an award without winners yet",
                         {{"一等奖", "0", "手机"}},
                         {},
                         "1",
                         2,
                         false,
                         "一等奖(0名)\n(奖品:手机)\n \n\n"},
                    Case{"all awards when none has winners", kNoneDrawn, {}, "0", 2, false, ""},
                    Case{"an empty shown award means all", kNoneDrawn, {}, "", 2, false, ""},
                    // w = 6: "张三" and "李四" take 4 bytes, "欧阳明" 6; the open last line is
                    // padded to the full width plus one.
                    Case{"names of 4, 6 and 4 bytes, two per row",
                         {{"一等奖", "3", "手机"}},
                         {{"张三", "1"}, {"欧阳明", "1"}, {"李四", "1"}},
                         "1",
                         2,
                         false,
                         "一等奖(3名)\n(奖品:手机)\n 张三   欧阳明 \n 李四   " + std::string(7, ' ') + "\n\n"},
                    Case{"four winners at two per row end on a blank line",
                         {{"一等奖", "4", "手机"}},
                         {{"张三", "1"}, {"李四", "1"}, {"王五", "1"}, {"赵六", "1"}},
                         "1",
                         2,
                         false,
                         "一等奖(4名)\n(奖品:手机)\n 张三 李四 \n 王五 赵六 \n" + std::string(11, ' ') + "\n\n"},
                    Case{"one line per award when the per-row key is missing",
                         {{"一等奖", "3", "手机"}},
                         {{"张三", "1"}, {"欧阳明", "1"}, {"李四", "1"}},
                         "1",
                         draw::kAllOnOneLine,
                         false,
                         "一等奖(3名)\n(奖品:手机)\n 张三   欧阳明 李四   \n\n"},
                    Case{"only awards with winners, first to last, winners of other awards left out",
                         kThree,
                         {{"张三", "3"}, {"李四", "1"}, {"王五", "3"}},
                         "0",
                         5,
                         false,
                         "一等奖(1名)\n(奖品:手机)\n 李四 \n\n三等奖(2名)\n(奖品:耳机)\n 张三 王五 \n\n"},
                    Case{"the award order switched",
                         kThree,
                         {{"张三", "3"}, {"李四", "1"}, {"王五", "3"}},
                         "0",
                         5,
                         true,
                         "三等奖(2名)\n(奖品:耳机)\n 张三 王五 \n\n一等奖(1名)\n(奖品:手机)\n 李四 \n\n"},
                    // "陈𠀀" takes 6 bytes but 4 columns, like "张三"; "ئابدۇ" 20 bytes, 10
                    // columns: the padding counts columns, so the names line up.
                    Case{"names with four-byte characters",
                         {{"一等奖", "3", "手机"}},
                         {{"张三", "1"}, {"陈𠀀", "1"}, {"ئابدۇ", "1"}},
                         "1",
                         2,
                         false,
                         "一等奖(3名)\n(奖品:手机)\n 张三       陈𠀀       \n ئابدۇ" + std::string(12, ' ') + "\n\n"},
                    // 緗 and 縷 end in byte 0x7C, the field separator of the stored rows: they
                    // are two bytes each like any other character.
                    Case{"GBK characters whose second byte is 0x7C",
                         {{"一等奖", "2", "緗縷"}},
                         {{"王緗", "1"}, {"縷", "1"}},
                         "1",
                         1,
                         false,
                         "一等奖(2名)\n(奖品:緗縷)\n 王緗 \n 縷   \n      \n\n"}));

TEST(WinnersText, CountsTheCellsAsTheyStandAndSurvivesDamagedOnes) {
  draw::DrawData data = tables({{"一等奖", "abc", "手机"}, {"二等奖", "2", "平板"}}, {{"张三", "2"}});
  // A damaged drawn count leaves its award out of the all-awards text; a shown
  // award naming no row gives empty name and prize lines.
  EXPECT_EQ(draw::composeWinnersText(data, "0", 5, false), gbk("二等奖(2名)\n(奖品:平板)\n 张三 \n\n"));
  EXPECT_EQ(draw::composeWinnersText(data, "7", 5, false), gbk("(名)\n(奖品:)\n \n\n"));
}

}  // namespace
