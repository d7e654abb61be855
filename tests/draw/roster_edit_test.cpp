#include "draw/roster_edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "base/conversion_error.h"
#include "test_folder.h"

namespace {

using draw::Lines;
using testing_support::gbk;

Lines gbkLines(std::initializer_list<const char*> utf8) {
  Lines lines;
  for (const char* line : utf8) lines.push_back(gbk(line));
  return lines;
}

TEST(RosterText, UndecodableBytesSurviveTheEditorRoundTrip) {
  const std::string cases[] = {
      gbk("张三"),
      "abc",
      "\x81",                         // a lone lead byte at the end
      "\xFF" + gbk("李四") + "\x80",  // bytes that never start a character
      "\xA1"
      "A" +
          gbk("王五"),  // a lead byte whose trail is plain ASCII
      "",
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes);
    const std::string utf8 = draw::gbkToEditor(bytes);
    EXPECT_EQ(draw::editorToGbk(utf8), bytes);
  }
  EXPECT_EQ(draw::gbkToEditor(gbk("张三")), "张三");
  EXPECT_FALSE(draw::hasUndecodableBytes(gbk("张三 abc")));
  EXPECT_EQ(draw::countLinesWithUndecodableBytes({gbk("张三"), "\x81", "ok", "x\xFFy"}), 2u);
}

TEST(RosterOperations, TransformEveryLineAsTheMenuSays) {
  struct Case {
    const char* name;
    std::function<void(Lines&)> operation;
    Lines input;
    Lines expected;
  } cases[] = {
      {"empty lines go, including blank-only ones",
       draw::removeEmptyLines,
       {"a", "", " \t", "b", "\x01", ""},
       {"a", "b"}},
      {"trim keeps inner spaces", draw::trimLines, gbkLines({" 张 三 ", "\t x\r", "   ", ""}),
       gbkLines({"张 三", "x", "", ""})},
      {"middle spaces go, the ideographic space and tabs stay", draw::removeSpaces,
       gbkLines({" 张 三 ", "a\tb", "李　四"}), gbkLines({"张三", "a\tb", "李　四"})},
      {"names four columns wide widen, other widths stay", draw::equalizeLengths,
       gbkLines({"张三", "欧阳明远", "李小明", "ABCD", "A张B", "ABC", "", "陈𠀀", "𠀀", "李𬌗明"}),
       gbkLines({"张  三", "欧阳明远", "李小明", "A  D", "A  B", "ABC", "", "陈  𠀀", "𠀀", "李𬌗明"})},
      {"prefix on every line, empty ones too", [](Lines& l) { draw::addPrefix(l, gbk("部")); }, gbkLines({"a", ""}),
       gbkLines({"部a", "部"})},
      {"suffix", [](Lines& l) { draw::addSuffix(l, "-1"); }, {"a", ""}, {"a-1", "-1"}},
      {"no operation on no lines", draw::trimLines, {}, {}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lines lines = c.input;
    c.operation(lines);
    EXPECT_EQ(lines, c.expected);
  }
}

TEST(RosterOperations, EqualLengthNeverSplitsACharacter) {
  // Four bytes that are a two-byte character between two lone bytes, and a
  // lone lead byte at the end that counts as one character.
  Lines lines{
      "\x81\x40"
      "ab",
      "ab\x81\x40", "abc\x81"};
  draw::equalizeLengths(lines);
  EXPECT_EQ(lines, (Lines{"\x81\x40  b", "a  \x81\x40", "a  \x81"}));
}

TEST(RosterOperations, RemovingDuplicatesKeepsTheFirstAndReportsFromTheEnd) {
  Lines lines = gbkLines({"张三", "李四", "张三", "王五", "李四"});
  const Lines removed = draw::removeDuplicates(lines);
  EXPECT_EQ(lines, gbkLines({"张三", "李四", "王五"}));
  EXPECT_EQ(draw::duplicatesMessage(removed), gbk("重复人员已删除：李四张三"));

  Lines caseAndBlanks{"a", "A", "", "a", "", "A"};
  EXPECT_EQ(draw::removeDuplicates(caseAndBlanks), (Lines{"A", "", "a"}));
  EXPECT_EQ(caseAndBlanks, (Lines{"a", "A", ""}));

  Lines none{"x"};
  EXPECT_EQ(draw::duplicatesMessage(draw::removeDuplicates(none)), gbk("重复人员已删除："));
}

TEST(RosterOperations, ShuffleMovesEveryLineOfTwoOrMore) {
  draw::RandomSource random(7);
  Lines two{"a", "b"};
  draw::shuffleLines(two, random);
  EXPECT_EQ(two, (Lines{"b", "a"}));
  Lines one{"a"};
  draw::shuffleLines(one, random);
  EXPECT_EQ(one, Lines{"a"});
  Lines empty;
  draw::shuffleLines(empty, random);
  EXPECT_TRUE(empty.empty());

  Lines many;
  for (int i = 0; i < 200; ++i) many.push_back(std::to_string(i));
  for (int round = 0; round < 20; ++round) {
    Lines shuffled = many;
    draw::shuffleLines(shuffled, random);
    EXPECT_TRUE(std::is_permutation(shuffled.begin(), shuffled.end(), many.begin()));
    for (std::size_t i = 0; i < many.size(); ++i) ASSERT_NE(shuffled[i], many[i]) << "line " << i << " stayed";
  }
}

TEST(RosterOperations, ClosingDropsTrailingEmptyLinesButNeverTheFirst) {
  struct Case {
    Lines input;
    Lines expected;
    bool dropped;
  } cases[] = {
      {{"a", "", "", ""}, {"a"}, true},
      {{"a", "", " "}, {"a", "", " "}, false},  // a space is not empty here
      {{"", ""}, {""}, true},
      {{""}, {""}, false},
      {{}, {}, false},
  };
  for (auto& c : cases) {
    Lines lines = c.input;
    EXPECT_EQ(draw::dropTrailingEmptyLines(lines), c.dropped);
    EXPECT_EQ(lines, c.expected);
  }
}

TEST(Generator, NumbersWithZeroFillSkipDigitsAndRefusals) {
  using R = draw::NumberedRefusal;
  struct Case {
    const char* name;
    draw::NumberedRequest request;
    R refusal;
    Lines expected;  // empty: checked by count below
    std::size_t count;
  } cases[] = {
      {"zero fill to the typed width", {"", "", "8", "12", "", true}, R::None, {"08", "09", "10", "11", "12"}, 5},
      {"skip digits 0 and 9", {"", "", "8", "12", "09", true}, R::None, {"08", "11", "12"}, 3},
      {"no fill", {"A", "x", "8", "12", "", false}, R::None, {"A8x", "A9x", "A10x", "A11x", "A12x"}, 5},
      {"0100 fills to four digits", {"", "", "99", "0100", "", true}, R::None, {"0099", "0100"}, 2},
      {"first equals last", {"", "", "5", "5", "", true}, R::None, {"5"}, 1},
      {"every digit skipped", {"", "", "1", "2000000000", "0123456789", true}, R::None, {}, 0},
      {"empty first", {"", "", "", "5", "", true}, R::FirstEmpty, {}, 0},
      {"empty last", {"", "", "1", "", "", true}, R::LastEmpty, {}, 0},
      {"last before first", {"", "", "10", "9", "", true}, R::LastBeforeFirst, {}, 0},
      {"more than the limit", {"", "", "0", "2000000000", "", true}, R::TooMany, {}, 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    const draw::NumberedResult result = draw::generateNumbered(c.request);
    EXPECT_EQ(result.refusal, c.refusal);
    EXPECT_EQ(result.lines.size(), c.count);
    if (!c.expected.empty()) {
      EXPECT_EQ(result.lines, c.expected);
    }
  }

  const draw::NumberedResult example = draw::generateNumbered({"A", "", "1", "100", "4", true});
  ASSERT_EQ(example.lines.size(), 90u);
  EXPECT_EQ(example.lines[3], "A005");
  EXPECT_EQ(example.lines.back(), "A100");
  EXPECT_EQ(
      std::count_if(example.lines.begin(), example.lines.end(), [](const std::string& l) { return l.back() == '4'; }),
      0);

  EXPECT_EQ(draw::generateNumbered({"", "", "1", "3", "", true}, 3).lines.size(), 3u);
  EXPECT_EQ(draw::generateNumbered({"", "", "1", "4", "", true}, 3).refusal, R::TooMany);
  EXPECT_THROW(draw::generateNumbered({"", "", "1", "99999999999", "", true}), base::ConversionError);
}

TEST(PictureRosterArithmetic, ScalingCoverAndFrameSides) {
  EXPECT_EQ(draw::scaledPhotoWidth(1200, 1600, 300), 225);
  EXPECT_EQ(draw::scaledPhotoWidth(4000, 3000, 300), 400);
  EXPECT_EQ(draw::scaledPhotoWidth(101, 200, 100), 51);  // 50.5 rounds up

  struct Case {
    int pw, ph, w, h;
    draw::CoverRect expected;
  } cases[] = {
      {300, 300, 250, 300, {-25, 0, 300, 300}},  // cut at the sides
      {300, 200, 250, 300, {-100, 0, 450, 300}},
      {200, 400, 250, 300, {0, -100, 250, 500}},  // cut at top and bottom
      {250, 300, 250, 300, {0, 0, 250, 300}},
  };
  for (const auto& c : cases) {
    const draw::CoverRect r = draw::coverRect(c.pw, c.ph, c.w, c.h);
    EXPECT_EQ(std::tie(r.x, r.y, r.width, r.height),
              std::tie(c.expected.x, c.expected.y, c.expected.width, c.expected.height))
        << c.pw << "x" << c.ph;
  }

  EXPECT_EQ(draw::effectiveSide("20", 30), 30);
  EXPECT_EQ(draw::effectiveSide("", 50), 50);
  EXPECT_EQ(draw::effectiveSide("51", 50), 51);
  EXPECT_EQ(draw::effectiveSide("50", 50), 50);
  EXPECT_EQ(draw::effectiveSide("250", 30), 250);
}

TEST(PictureRosterArithmetic, NamesThatCannotNameAPhotoAreRefused) {
  // Every character has a GB18030 form (the emoji too); bytes that are no
  // UTF-8 (a file name from another system) have none.
  for (const char* good : {"张三", "Li Si", "O'Neil", "陈𠀀", "\xF0\x9F\x98\x80"})
    EXPECT_EQ(draw::photoNameProblem(good), "") << good;
  for (const char* bad : {"", "a/b", "a\\b", "..", "x..y", ".", "a\tb", "\xC0\xAF", "王\xE4\xB8"})
    EXPECT_NE(draw::photoNameProblem(bad), "") << bad;
}

}  // namespace
