// The award rows saved from the award settings: rows nobody changed come back as
// they were stored, and what other sections keep by award serial follows its
// award when awards are reordered or deleted; the draw finds a predetermined or
// barred person's award by its name.
#include "draw/award_moves.h"

#include <gtest/gtest.h>

#include "base/delimited_row.h"
#include "base/ini_file.h"
#include "draw/award_setup.h"
#include "draw/draw_data.h"
#include "draw/draw_settings.h"
#include "draw/predetermined_lists.h"
#include "test_folder.h"

using testing_support::gbk;
namespace awards = draw::awards;
namespace lists = draw::lists;

namespace {

std::vector<awards::EditedRow> reordered(const std::vector<awards::EditedRow>& rows, const std::vector<int>& order) {
  std::vector<awards::EditedRow> result;
  for (int i : order) result.push_back(rows[static_cast<std::size_t>(i)]);
  return result;
}

}  // namespace

TEST(AwardSave, RowsNobodyChangedAreWrittenBackAsRead) {
  testing_support::TestFolder dir;
  // Row 2 was made by the supplementary places: 0 places of its own, four extra, 13 cells.
  const std::string extra = gbk("|加场奖|0|4|4|红包|||0|0|0|4|");
  dir.write("Config.ini", gbk("[奖项设置]\r\n1=1|一等奖|3|1|1|手机|||\r\n2=2") + extra + "\r\n");
  base::IniFile config(dir / "Config.ini");
  std::vector<awards::EditedRow> rows = awards::loadEditedRows(config);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_FALSE(awards::changedSinceRead(rows[1]));

  awards::saveEditedRows(config, rows);
  EXPECT_EQ(base::IniFile(dir / "Config.ini").readString(gbk("奖项设置"), "2", ""), "2" + extra);

  // Moved to the front, still untouched: only the serial changes. The row edited
  // by the operator is written from its cells.
  rows[0].cells[draw::item::kPrize] = gbk("电脑");
  EXPECT_TRUE(awards::changedSinceRead(rows[0]));
  const auto stored = awards::saveEditedRows(config, reordered(rows, {1, 0}));
  base::IniFile reread(dir / "Config.ini");
  EXPECT_EQ(reread.readString(gbk("奖项设置"), "1", ""), "1" + extra);
  EXPECT_EQ(base::readDelimitedRow(reread.readString(gbk("奖项设置"), "2", ""), 8)[draw::item::kPrize], gbk("电脑"));
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].origin, 1u);  // the next save starts from the rows as stored now
  EXPECT_FALSE(awards::changedSinceRead(stored[1]));
}

TEST(AwardSave, EntriesKeptBySerialFollowTheirAward) {
  testing_support::TestFolder dir;
  dir.write("Config.ini",
            gbk("[奖项设置]\r\n1=1|特等奖|1|1|1|||\r\n2=2|一等奖|2|1|1+1|||\r\n3=3|二等奖|3|1|1+1+1|||\r\n"
                "4=4|三等奖|4|1|1+1+1+1|||\r\n"
                "[奖项分组]\r\n2_B=5\r\n2_E=9\r\n3_B=1\r\n4_E=20\r\n"
                "[弃奖]\r\n2=1\r\n[补奖]\r\n3=2\r\n4=1\r\n"
                "[内定设置]\r\nOpen=1\r\n1=1|12|范仪梅|2|一等奖\r\n2=2|13|李四|3|二等奖\r\n3=3|14|王五|1|特等奖\r\n"
                "[内定设置B]\r\nOpen=1\r\n1=1|5|赵六|0|全部\r\n2=2|6|钱七|2|一等奖\r\n"));
  base::IniFile config(dir / "Config.ini");
  // 一等奖 dragged to the end, 二等奖 deleted: 特等奖, 三等奖, 一等奖.
  awards::saveEditedRows(config, reordered(awards::loadEditedRows(config), {0, 3, 1}));

  base::IniFile after(dir / "Config.ini");
  const std::pair<const char*, const char*> expected[] = {
      {"奖项分组/3_B", "5"},
      {"奖项分组/3_E", "9"},
      {"奖项分组/2_E", "20"},
      {"奖项分组/2_B", ""},
      {"弃奖/3", "1"},
      {"弃奖/2", ""},
      {"补奖/2", "1"},
      {"补奖/3", ""},
      {"内定设置/1", "1|12|范仪梅|3|一等奖"},
      {"内定设置/3", "3|14|王五|1|特等奖"},
      {"内定设置B/1", "1|5|赵六|0|全部"},
      {"内定设置B/2", "2|6|钱七|3|一等奖"},
      // 二等奖 is gone: its entry keeps its name and loses its serial.
      {"内定设置/2", "2|13|李四||二等奖"}};
  for (const auto& [where, value] : expected) {
    const std::string path = where;
    const std::size_t slash = path.find('/');
    EXPECT_EQ(after.readString(gbk(path.substr(0, slash)), path.substr(slash + 1), ""), gbk(value)) << where;
  }

  // The draw finds each entry's award by its name: the one of the deleted award applies to none.
  draw::DrawData data;
  draw::loadDrawSettings(after, data);
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kAward, 1), "3");
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kAward, 2), " ");  // an empty cell reads back as a blank
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kAward, 3), "1");
  EXPECT_EQ(data.BlackDetail.cell(draw::entry::kAward, 1), "0");
  EXPECT_EQ(data.BlackDetail.cell(draw::entry::kAward, 2), "3");
}

TEST(AwardSave, AnEntryIsFoundByTheNameItStores) {
  const std::vector<std::string> names = {gbk("特等奖"), gbk("一等奖"), gbk("纪念奖"), gbk("纪念奖")};
  struct Case {
    const char* award;
    const char* name;
    const char* found;
  } cases[] = {
      {"2", "一等奖", "2"},  // where it was stored
      {"4", "一等奖", "2"},  // an entry written before its award moved (files of earlier versions)
      {"4", "纪念奖", "4"},  // of two awards with one name, the stored serial decides
      {"1", "纪念奖", "3"}, {"2", "二等奖", "2"}, {"", "二等奖", ""},  // unknown name: serial as stored; deleted: none
      {"0", "全部", "0"},                                              // every award
      {"3", "", "3"},                                                  // no name stored: the serial as it stands
  };
  for (const Case& c : cases) {
    const lists::Entry entry{"1", gbk("张三"), c.award, gbk(c.name)};
    EXPECT_EQ(lists::resolveAward(entry, names), c.found) << c.award << " " << c.name;
  }
}

// The last award deleted (no award after it takes its serial): its range, its
// give-up and supplementary counts and its people go with it, and an award
// added later under the same serial starts with none of them.
TEST(AwardSave, DeletingTheLastAwardLeavesNothingForTheNextAwardOfItsSerial) {
  testing_support::TestFolder dir;
  dir.write("Config.ini",
            gbk("[奖项设置]\r\n1=1|一等奖|2|1|1+1|||\r\n2=2|二等奖|3|1|1+1+1|||\r\n3=3|三等奖|4|1|1+1+1+1|||\r\n"
                "[奖项分组设定]\r\nOpenClassify=1\r\n"
                "[奖项分组]\r\n2_B=5\r\n3_B=11\r\n3_E=20\r\n"
                "[弃奖]\r\n2=1\r\n3=2\r\n[补奖]\r\n3=1\r\n"
                "[内定设置]\r\nOpen=1\r\n1=1|12|范仪梅|2|二等奖\r\n2=2|13|李四|3|三等奖\r\n"
                "[内定设置B]\r\nOpen=1\r\n1=1|5|赵六|3|三等奖\r\n"));
  base::IniFile config(dir / "Config.ini");
  const std::vector<awards::EditedRow> kept =
      awards::saveEditedRows(config, reordered(awards::loadEditedRows(config), {0, 1}));
  std::vector<awards::EditedRow> added = kept;
  added.push_back({awards::newRow(3, gbk("纪念奖")), "", 0});
  awards::saveEditedRows(config, added);

  base::IniFile after(dir / "Config.ini");
  const std::pair<const char*, const char*> expected[] = {{"奖项分组/2_B", "5"},
                                                          {"奖项分组/3_B", ""},
                                                          {"奖项分组/3_E", ""},
                                                          {"弃奖/2", "1"},
                                                          {"弃奖/3", ""},
                                                          {"补奖/3", ""},
                                                          {"内定设置/1", "1|12|范仪梅|2|二等奖"}};
  for (const auto& [where, value] : expected) {
    const std::string path = where;
    const std::size_t slash = path.find('/');
    EXPECT_EQ(after.readString(gbk(path.substr(0, slash)), path.substr(slash + 1), ""), gbk(value)) << where;
  }

  // The draw gives 纪念奖 the whole roster, no give-up or extra place, and nobody predetermined or barred.
  draw::DrawData data;
  draw::loadDrawSettings(after, data);
  ASSERT_EQ(data.awardRowCount(), 3u);
  EXPECT_EQ(data.ItemGrid.cell(draw::item::kName, 3), gbk("纪念奖"));
  EXPECT_EQ(data.ItemGrid.cell(draw::item::kGivenUp, 3), "0");
  EXPECT_EQ(data.ItemGrid.cell(draw::item::kSupplementary, 3), "0");
  EXPECT_EQ(data.LuckDetail.cell(draw::entry::kAward, 1), "2");
  EXPECT_NE(data.LuckDetail.cell(draw::entry::kAward, 2), "3");
  EXPECT_NE(data.BlackDetail.cell(draw::entry::kAward, 1), "3");
}
