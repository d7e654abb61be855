// The rules the award, grouping and predetermined dialogs apply, without a window:
// a row's places and batch size, the batch plan, the range checks of a group,
// the list rules, and how each lands in Config.ini.
#include "draw/award_setup.h"

#include <gtest/gtest.h>

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "base/ini_file.h"
#include "draw/draw_data.h"
#include "draw/draw_settings.h"
#include "draw/group_ranges.h"
#include "draw/predetermined_lists.h"
#include "test_folder.h"

using testing_support::gbk;
namespace awards = draw::awards;
namespace groups = draw::groups;
namespace lists = draw::lists;

namespace {

awards::Row row(const std::string& places, const std::string& batch) {
  return {"1", gbk("一等奖"), places, batch, "", "", "", ""};
}

}  // namespace

TEST(AwardRows, NormalisationTable) {
  using N = awards::Notice;
  struct Case {
    std::string places, batch;
    std::string wantPlaces, wantBatch, wantPlan;
    std::vector<N> notices;
  };
  const Case cases[] = {
      {"23", "5", "23", "5", "5+5+5+5+3", {}},
      {"10", "5", "10", "5", "5+5", {}},
      {"1", "1", "1", "1", "1", {}},
      {"7", "", "7", "3", "3+3+1", {}},
      {"0", "1", "1", "1", "1", {}},
      {"0", "5", "1", "1", "1", {N::BatchAbovePlaces}},
      {"", "", "1", "1", "1", {}},
      {"120000", "", "100000", "10", "", {N::MaxPlaces}},
      {"120000", "7", "100000", "7", "", {N::MaxPlaces}},
      {"4", "9", "4", "1", "1+1+1+1", {N::BatchAbovePlaces}},
      {"25", "0", "25", "5", "5+5+5+5+5", {}},
      // Cells of the row format come back as " " when they were empty.
      {" ", " ", "1", "1", "1", {}},
      // Digits beyond an int are above every limit, not a conversion error.
      {"99999999999", "3", "100000", "3", "", {N::MaxPlaces}},
      {"6", "99999999999", "6", "3", "3+3", {N::BatchAbovePlaces}},
      {"007", "02", "7", "2", "2+2+2+1", {}},
  };
  for (const Case& c : cases) {
    awards::Row r = row(c.places, c.batch);
    const auto notices = awards::normaliseRow(r);
    SCOPED_TRACE(c.places + "/" + c.batch);
    EXPECT_EQ(r[draw::item::kPlaces], c.wantPlaces);
    EXPECT_EQ(r[draw::item::kBatchSize], c.wantBatch);
    if (!c.wantPlan.empty()) {
      EXPECT_EQ(r[draw::item::kBatchPlan], c.wantPlan);
    }
    EXPECT_EQ(notices, c.notices);
  }
}

TEST(AwardRows, PlanOfTheLargestAwardAddsUp) {
  const std::string plan = awards::batchPlan(100000, 30);
  long long sum = 0;
  std::size_t terms = 0;
  std::size_t start = 0;
  while (start <= plan.size()) {
    const std::size_t plus = plan.find('+', start);
    sum += std::stoll(plan.substr(start, plus - start));
    ++terms;
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  EXPECT_EQ(sum, 100000);
  EXPECT_EQ(terms, 3334u);
  EXPECT_EQ(plan.substr(plan.size() - 3), "+10");
}

TEST(AwardRows, NotANumberStopsWithTheConversionError) {
  awards::Row r = row("abc", "5");
  EXPECT_THROW(awards::normaliseRow(r), base::ConversionError);
  std::vector<awards::Row> rows = {row("9", ""), row("x", "1"), row("300", "")};
  EXPECT_THROW(awards::applyDefaultBatches(rows), base::ConversionError);
  EXPECT_EQ(rows[0][draw::item::kBatchSize], "1");  // done before the failure
  EXPECT_EQ(rows[2][draw::item::kBatchSize], "");   // never reached
}

TEST(AwardRows, DefaultBatchesTable) {
  const std::pair<int, int> cases[] = {{9, 1}, {10, 5}, {49, 10}, {50, 20}, {199, 20}, {200, 30}, {1, 1}};
  std::vector<awards::Row> rows;
  for (auto [places, _] : cases) rows.push_back(row(std::to_string(places), "1"));
  EXPECT_TRUE(awards::applyDefaultBatches(rows).empty());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][draw::item::kBatchSize], std::to_string(cases[i].second)) << cases[i].first;
    EXPECT_EQ(rows[i][draw::item::kBatchPlan], awards::batchPlan(cases[i].first, cases[i].second));
  }
  // The fallback of a single row is another rule.
  EXPECT_EQ(awards::fallbackBatch(5), 1);
  EXPECT_EQ(awards::fallbackBatch(6), 3);
  EXPECT_EQ(awards::fallbackBatch(20), 5);
  EXPECT_EQ(awards::fallbackBatch(50), 10);
}

TEST(AwardRows, SaveKeepsKeysConsecutiveAndTheEngineReadsThemBack) {
  testing_support::TestFolder dir;
  dir.write("Config.ini", gbk("[奖项设置]\r\n1=old\r\n7=old\r\n150=old\r\nnote=kept\r\n[弃奖]\r\n1=2\r\n"));
  base::IniFile config(dir / "Config.ini");
  std::vector<awards::Row> rows = {awards::newRow(1, gbk("一等奖")), awards::newRow(2, ""),
                                   awards::newRow(3, gbk("三 等奖")), awards::newRow(4, " ")};
  rows[2][draw::item::kPrize] = gbk("手机 一部");
  const auto stored = awards::saveRows(config, rows);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1][draw::item::kSerial], "2");

  base::IniFile reread(dir / "Config.ini");
  EXPECT_EQ(reread.keys(gbk("奖项设置")), (std::vector<std::string>{"note", "1", "2"}));
  EXPECT_EQ(reread.readString(gbk("弃奖"), "1", ""), "2");
  const auto loaded = awards::loadRows(reread);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1][draw::item::kName], gbk("三 等奖"));
  EXPECT_EQ(loaded[1][draw::item::kPrize], gbk("手机 一部"));

  draw::DrawData data;
  draw::fillAwardTable(reread, data);
  EXPECT_EQ(data.awardRowCount(), 2u);
  EXPECT_EQ(data.ItemGrid.cell(draw::item::kName, 2), gbk("三 等奖"));

  // Nothing named: the section keeps no award.
  awards::saveRows(config, {awards::newRow(1, "")});
  EXPECT_TRUE(awards::loadRows(base::IniFile(dir / "Config.ini")).empty());
}

TEST(GroupRanges, EnterChecksTable) {
  using N = groups::Notice;
  struct Case {
    std::string cell, other;
    bool first;
    std::string want;
    std::vector<N> notices;
  };
  const Case cases[] = {
      {"60", "", true, "50", {N::AboveRoster}},
      {"0", "", true, "1", {N::BelowOne}},
      {"20", "30", false, "30", {N::Inverted}},  // first 30 set, last 20 typed
      {"30", "20", true, "20", {N::Inverted}},   // last 20 set, first 30 typed
      {"60", "10", false, "50", {N::AboveRoster}},
      {"60", "45", true, "45", {N::AboveRoster, N::Inverted}},
      {"10", "20", true, "10", {}},
      {"20", "20", false, "20", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell + "/" + c.other);
    const auto check = groups::checkCell(c.cell, c.other, c.first, 50);
    EXPECT_EQ(check.value, c.want);
    EXPECT_EQ(check.notices, c.notices);
  }
  EXPECT_THROW(groups::checkCell("", "", true, 50), base::ConversionError);
}

TEST(GroupRanges, SaveClearsEveryRangeKeyAndWritesOnlyBoundsSet) {
  testing_support::TestFolder dir;
  dir.write("Config.ini", gbk("[奖项设置]\r\n1=1|甲\r\n2=2|乙\r\n[奖项分组]\r\n1_B=3\r\n2_E=9\r\n150_B=4\r\nx=1\r\n"));
  base::IniFile config(dir / "Config.ini");
  auto ranges = groups::loadRanges(config);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[0].first, "3");
  EXPECT_EQ(ranges[1].last, "9");
  EXPECT_TRUE(groups::loadSwitch(config));
  ranges[0].first = "";
  ranges[1].first = "11";
  groups::saveRanges(config, false, ranges);
  base::IniFile reread(dir / "Config.ini");
  EXPECT_EQ(reread.keys(gbk("奖项分组")), (std::vector<std::string>{"x", "2_B", "2_E"}));
  EXPECT_EQ(reread.readString(gbk("奖项分组"), "2_B", ""), "11");
  EXPECT_FALSE(groups::loadSwitch(reread));
}

TEST(PersonLists, InvariantsOfTheButtons) {
  using O = lists::Outcome;
  lists::PersonLists l;
  const lists::Entry zhang{"12", gbk("张三"), "1", gbk("一等奖")};
  EXPECT_EQ(l.predetermine(zhang), O::Added);
  EXPECT_EQ(l.predetermine({"12", gbk("张三"), "2", gbk("二等奖")}), O::AlreadyPredetermined);
  EXPECT_EQ(l.bar({"12", gbk("张三"), "2", gbk("二等奖")}), O::AlreadyPredetermined);
  EXPECT_EQ(l.barAll("12", gbk("张三")), O::AlreadyPredetermined);

  const lists::Entry li2{"30", gbk("李四"), "2", gbk("二等奖")};
  EXPECT_EQ(l.bar(li2), O::Added);
  EXPECT_EQ(l.bar(li2), O::AlreadyBlacklisted);
  EXPECT_EQ(l.bar({"30", gbk("李四"), "3", gbk("三等奖")}), O::Added);
  EXPECT_EQ(l.barAll("30", gbk("李四")), O::Added);
  EXPECT_EQ(l.barAll("30", gbk("李四")), O::AlreadyBlacklisted);
  EXPECT_EQ(l.predetermine({"30", gbk("李四"), "1", gbk("一等奖")}), O::AlreadyBlacklisted);
  EXPECT_EQ(l.predetermined.size(), 1u);
  EXPECT_EQ(l.blacklist.size(), 3u);
  EXPECT_EQ(l.blacklist[2].award, "0");
  EXPECT_EQ(l.blacklist[2].awardName, gbk("全部"));
}

TEST(PersonLists, SaveRenumbersAndTheEngineLoadsTheRows) {
  testing_support::TestFolder dir;
  dir.write("Config.ini", gbk("[内定设置]\r\n1=1|5|x|1|a\r\n600=1|6|y|1|a\r\n[内定设置B]\r\nOpen=1\r\n"));
  base::IniFile config(dir / "Config.ini");
  lists::PersonLists l;
  l.predetermined = {
      {"12", gbk("张 三"), "1", gbk("一等奖")}, {" ", "", "", ""}, {"14", gbk("王五"), "2", gbk("二等奖")}};
  l.blacklist = {{"30", gbk("李四"), "0", gbk("全部")}};
  lists::save(config, l, {true, true, false});

  base::IniFile reread(dir / "Config.ini");
  EXPECT_EQ(reread.readString(gbk("内定设置"), "1", ""),
            base::writeDelimitedRow({"1", "12", gbk("张 三"), "1", gbk("一等奖")}));
  EXPECT_EQ(reread.readString(gbk("内定设置"), "2", ""), "2|14|" + gbk("王五") + "|2|" + gbk("二等奖"));
  EXPECT_FALSE(reread.hasKey(gbk("内定设置"), "600"));
  EXPECT_EQ(reread.readString(gbk("内定设置B"), "1", ""), "1|30|" + gbk("李四") + "|0|" + gbk("全部"));
  const lists::Switches s = lists::loadSwitches(reread);
  EXPECT_TRUE(s.predeterminedOn);
  EXPECT_TRUE(s.hidden);
  EXPECT_FALSE(s.blacklistOn);

  draw::DrawData data;
  draw::loadPredetermined(reread, data.LuckDetail);
  ASSERT_EQ(data.LuckDetail.rowCount(), 3u);
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kPersonName, 1), gbk("张 三"));
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kPerson, 2), "14");

  // Both lists emptied: no numbered key is left.
  lists::save(config, {}, {});
  base::IniFile emptied(dir / "Config.ini");
  EXPECT_EQ(emptied.keys(gbk("内定设置")), (std::vector<std::string>{"Open", "Hide"}));
  EXPECT_EQ(emptied.keys(gbk("内定设置B")), (std::vector<std::string>{"Open"}));
}

TEST(PersonLists, StaleRowsNameTheRowsTheRosterNoLongerHolds) {
  const std::vector<std::string> roster = {gbk("甲"), gbk("乙"), "", gbk("丁")};
  const std::vector<lists::Entry> entries = {
      {"1", gbk("甲"), "1", "a"},  // still line 1
      {"2", gbk("丙"), "1", "a"},  // line 2 is now someone else
      {"3", " ", "1", "a"},        // an empty line stored as " "
      {"9", gbk("戊"), "1", "a"},  // beyond the roster
      {"x", gbk("甲"), "1", "a"},  // not a serial
  };
  EXPECT_EQ(lists::staleRows(entries, roster), (std::vector<std::size_t>{1, 3, 4}));
}
