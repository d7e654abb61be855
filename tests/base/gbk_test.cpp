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
  EXPECT_EQ(base::gbkToUtf8("\xB0\"|a"), "\xEF\xBF\xBD\"|a");
  // Four bytes of the four-byte form that name no character are one damaged character.
  EXPECT_EQ(base::gbkToUtf8("\x84\x31\xA5\x30x"), "\xEF\xBF\xBDx");
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

// Names a roster really holds, beyond GBK too: each keeps its characters
// through the files, takes two columns per full-width character, and a cut
// never falls inside a character.
TEST(Gb18030, NamesOutsideGbkKeepEveryCharacter) {
  struct Case {
    const char* utf8;
    std::size_t bytes;
    std::size_t columns;
  } cases[] = {
      {"张三", 4, 4},        // GBK
      {"王䶮", 4, 4},        // a GB18030 two-byte character
      {"李𬌗", 6, 4},     // four-byte (CJK extension E)
      {"陈𠀀", 6, 4},        // four-byte (CJK extension B)
      {"José Zoë", 12, 10},  // é is GBK pinyin, ë takes four bytes
      {"ئابدۇ", 20, 10},     // Uyghur: every letter four bytes
      {"김민수", 12, 6},
  };
  for (const Case& c : cases) {
    const std::string bytes = base::utf8ToGbk(c.utf8);
    EXPECT_EQ(bytes.size(), c.bytes) << c.utf8;
    EXPECT_EQ(bytes.find('?'), std::string::npos) << c.utf8;
    EXPECT_EQ(base::gbkToUtf8(bytes), c.utf8);
    EXPECT_EQ(base::displayColumns(bytes), c.columns) << c.utf8;
    EXPECT_TRUE(base::isValidGb18030(bytes)) << c.utf8;
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut)
      EXPECT_TRUE(base::isValidGb18030(base::prefixAtCharBoundary(bytes, cut))) << c.utf8 << " cut at " << cut;
  }
  // A very long name of four-byte characters: whole, and cut only between them.
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += "𠀀";
  const std::string longBytes = base::utf8ToGbk(longName);
  EXPECT_EQ(longBytes.size(), 1200u);
  EXPECT_EQ(base::gbkToUtf8(longBytes), longName);
  EXPECT_EQ(base::prefixAtCharBoundary(longBytes, 7).size(), 4u);
  EXPECT_EQ(base::charLengthAt(longBytes, 4), 4u);
}

// Files the program wrote as GBK read and write back byte for byte.
TEST(Gb18030, EveryGbkCharacterReadsAndWritesUnchanged) {
  std::size_t checked = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      if (!base::isValidGb18030(bytes)) continue;  // an unassigned code
      ++checked;
      ASSERT_EQ(base::utf8ToGbk(base::gbkToUtf8(bytes)), bytes) << std::hex << lead << " " << trail;
    }
  }
  EXPECT_GT(checked, 21000u);  // GBK's characters, all of them
}

TEST(Gb18030, TextThatIsNotUtf8IsRefusedNeverMadeQuestionMarks) {
  for (const std::string& bad : {std::string("\xC0\xAF"), std::string("\xE4\xB8"),
                                std::string("a\xFF"
                                            "b"),
                                std::string("\xED\xA0\x80")}) {
    EXPECT_FALSE(base::tryUtf8ToGbk("王" + bad).has_value());
    try {
      base::utf8ToGbk("王" + bad);
      ADD_FAILURE() << "converted text that is not UTF-8";
    } catch (const base::UnstorableText& error) {
      // The message names the text, with the bad bytes shown as such.
      EXPECT_NE(std::string(error.what()).find("王"), std::string::npos);
    }
  }
}
