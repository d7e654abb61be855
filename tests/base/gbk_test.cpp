#include <gtest/gtest.h>

#include "base/gbk.h"
#include "test_folder.h"

using testing_support::gbk;

TEST(Gbk, RoundTripsChineseAndKeepsAscii) {
  const std::string text = "幸运大抽奖 Lucky 2026";
  std::string bytes = base::utf8ToGbk(text);
  EXPECT_EQ(bytes.size(), 5 * 2 + std::string(" Lucky 2026").size());
  EXPECT_EQ(base::gbkToUtf8(bytes), text);
}

TEST(Gbk, InvalidBytesNeverCrashAndShowAsReplacement) {
  // 0xFF is never GBK; a lone lead byte at the end; NUL inside.
  std::string bad = std::string("a\xFF") + "b" + std::string("\0c", 2) + "\xB0";
  std::string utf8 = base::gbkToUtf8(bad);
  EXPECT_EQ(utf8, std::string("a\xEF\xBF\xBD" "b") + std::string("\0c", 2) + "\xEF\xBF\xBD");
  // A lead byte before an ASCII byte keeps the ASCII byte.
  EXPECT_EQ(base::gbkToUtf8("\x81" "0"), "\xEF\xBF\xBD" "0");
}

TEST(Gbk, ScanningStepsOverTwoByteCharacters) {
  // 乗 is not GBK; use a character whose second byte is 0x7C ("|"): 0x81 0x7C.
  std::string name = std::string("\x81\x7C") + "|x";
  EXPECT_EQ(base::findSingleByte(name, '|'), 2u);
  EXPECT_EQ(base::charLengthAt(name, 0), 2u);
  EXPECT_EQ(base::charLengthAt("\xB0", 0), 1u);  // lone lead byte at the end
  // A lead byte before a byte that cannot end a character stands alone, so a
  // name cut inside a character does not swallow the quote or bar after it.
  for (const char* text : {"\xB0\"", "\xB0 ", "\xB0\x7F", "\xB0\x39", "\xB0\xFF"})
    EXPECT_EQ(base::charLengthAt(text, 0), 1u) << text;
  EXPECT_EQ(base::findSingleByte("\xB0\"x", '"'), 1u);

  std::string zhang = gbk("张三丰");
  EXPECT_EQ(base::prefixAtCharBoundary(zhang, 3), zhang.substr(0, 2));
  EXPECT_EQ(base::prefixAtCharBoundary(zhang, 4), zhang.substr(0, 4));
  EXPECT_EQ(base::prefixAtCharBoundary(zhang, 100), zhang);
}

TEST(Gbk, LatinCaseFoldingLeavesSecondBytesAlone) {
  EXPECT_TRUE(base::equalsIgnoreLatinCase("Config.INI", "config.ini"));
  // 0x81 0x41 and 0x81 0x61 are two different characters ("A" and "a" as second bytes).
  EXPECT_FALSE(base::equalsIgnoreLatinCase("\x81\x41", "\x81\x61"));
  EXPECT_EQ(base::foldLatinCase("\x81\x41Z"), "\x81\x41z");
}

TEST(Gbk, ExcerptsKeepCharactersWholeAndMarkWhatIsLeftOut) {
  using testing_support::gbk;
  const std::string fourByte = "\x95\x32\x82\x36";  // one GB18030 character
  struct Case {
    std::string text;
    std::size_t maxChars;
    std::string excerpt;
  } cases[] = {
      {gbk("张三"), 80, gbk("张三")},
      {gbk("张三李四"), 2, gbk("张三…")},
      {std::string(100, 'x'), 80, std::string(80, 'x') + gbk("…")},
      {"a" + fourByte + "b", 2, "a" + fourByte + gbk("…")},
      {std::string("a\0\x1B", 3), 80, "a\\x00\\x1B"},
  };
  for (const Case& c : cases) EXPECT_EQ(base::excerptForMessage(c.text, c.maxChars), c.excerpt) << c.text;
}

TEST(Gbk, Gb18030ValidityAcceptsFourByteCharacters) {
  EXPECT_TRUE(base::isValidGb18030(testing_support::gbk("中奖名单") + "\x95\x32\x82\x36"));
  EXPECT_TRUE(base::isValidGb18030(""));
  EXPECT_FALSE(base::isValidGb18030("\x81"));
  EXPECT_FALSE(base::isValidGb18030("a\xFF"));
}
