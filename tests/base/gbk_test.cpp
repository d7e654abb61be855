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
