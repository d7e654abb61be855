#include <gtest/gtest.h>

#include "base/delimited_row.h"
#include "test_folder.h"

using testing_support::gbk;
using Row = std::vector<std::string>;

TEST(DelimitedRow, WritesCellsQuotingOnlyWhatNeedsIt) {
  Row award = {"1", gbk("一等奖"), "3", "3", "3", gbk("手机 一部"), "", ""};
  EXPECT_EQ(base::writeDelimitedRow(award), gbk("1|一等奖|3|3|3|\"手机 一部\"||"));
  EXPECT_EQ(base::writeDelimitedRow({"a\"b", "c|d", "\t"}), "\"a\"\"b\"|\"c|d\"|\"\t\"");
  EXPECT_EQ(base::writeDelimitedRow({""}), "\"\"");
  // The second byte 0x7C of a two-byte character needs no quotes.
  EXPECT_EQ(base::writeDelimitedRow({"\x81\x7C"}), "\x81\x7C");
}

TEST(DelimitedRow, ReadsTheWayTheFilesWereAlwaysRead) {
  struct Case {
    std::string line;
    Row cells;
  };
  const Case cases[] = {
      {gbk("1|一等奖|3|3|3|\"手机 一部\"||"), {"1", gbk("一等奖"), "3", "3", "3", gbk("手机 一部"), " ", " "}},
      // The same prize unquoted: the blank separates, shifting later cells.
      {gbk("1|一等奖|3|3|3|手机 一部||"), {"1", gbk("一等奖"), "3", "3", "3", gbk("手机"), gbk("一部"), " ", " "}},
      {"a|", {"a", " "}},
      {"|a", {" ", "a"}},
      {"  a  |  b  ", {"a", "b"}},
      {"\"x\"\"y\"|z", {"x\"y", "z"}},
      {"\"\"", {" "}},
      {"", {}},
      {"\x81\x7C|b", {"\x81\x7C", "b"}},  // never split inside a character
  };
  for (const auto& c : cases) EXPECT_EQ(base::readDelimitedRow(c.line, 13), c.cells) << c.line;
  // Fields beyond the row's columns are dropped.
  EXPECT_EQ(base::readDelimitedRow("1|2|3|4", 2), (Row{"1", "2"}));
}

TEST(DelimitedRow, WrittenRowsReadBackWithEmptyCellsAsBlank) {
  // The last cells end inside a character (a name cut short by another program).
  // Guests with four-byte characters ("陈𠀀", a Uyghur name with a blank) stay whole.
  Row cells = {"5",         gbk("五等奖"),       "",       "a b", "q\"uote", "\x81\x7C|",
               gbk("陈𠀀"), gbk("ئابدۇ ئەخمەت"), "x|\xB5", "\xB5"};
  Row back = base::readDelimitedRow(base::writeDelimitedRow(cells), 13);
  Row expected = cells;
  expected[2] = " ";
  EXPECT_EQ(back, expected);
}
