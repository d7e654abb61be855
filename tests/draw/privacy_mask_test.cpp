#include "draw/privacy_mask.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace {

using testing_support::gbk;

TEST(PrivacyMask, KeepsWholeCharactersAndTheAsteriskCount) {
  struct Case {
    const char* name;
    int first, last;
    const char* expected;
  } cases[] = {
      {"13900001234", 4, 7, "139****1234"},
      {"王小明", 3, 4, "王**明"},
      {"王小明", 2, 3, "**明"},  // both cut characters hidden
      {"王小明", 4, 5, "王**"},  // 小 and 明 are both cut
      {"张三", 3, 4, "张**"},
      {"李", 3, 4, "李**"},
      {"王小明", 5, 4, "王小明"},
      {"王小明", 2, 1, "王小明"},    // an empty range never drops the cut character
      {"abcdefg", 6, 2, "abcdefg"},  // nor repeats bytes
      {"a王b", 1, 2, "**b"},
      {"", 3, 4, "**"},
      {"ab", 0, 1, "**b"},
      // A four-byte character is one full-width character: two columns.
      {"王𠀀明", 3, 4, "王**明"},
      {"𠀀小明", 2, 3, "**明"},
      {"陈𬌗", 3, 4, "陈**"},
      {"a𠀀b", 2, 3, "a**b"},
      {"a𠀀b", 3, 3, "a*b"},  // cut in its middle: hidden whole
  };
  for (const Case& c : cases) {
    EXPECT_EQ(draw::privacyMask(gbk(c.name), c.first, c.last), gbk(c.expected))
        << c.name << " " << c.first << "-" << c.last;
  }
}

TEST(PrivacyMask, CharacterWithSecondByteBarIsNotSplit) {
  // 琜 is 0xAC 0x7C in GBK: its second byte is "|", not a character of its own.
  const std::string name =
      "\xAC\x7C"
      "ab";
  EXPECT_EQ(draw::privacyMask(name, 2, 2), "*ab");
  EXPECT_EQ(draw::privacyMask(name, 3, 3), "\xAC\x7C*b");
}

}  // namespace
