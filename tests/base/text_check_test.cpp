#include "base/text_check.h"

#include <gtest/gtest.h>

#include "base/file_error.h"
#include "test_folder.h"

namespace {

using base::TextProblem;
using testing_support::gbk;

TEST(TextCheck, TellsGbkAndGb18030FromUtf8AndBinaryBytes) {
  struct Case {
    std::string name;
    std::string bytes;
    TextProblem problem;
  } cases[] = {
      {"GBK roster", gbk("张三\r\n李四\r\n王五\r\n"), TextProblem::None},
      {"GB18030 four-byte character", gbk("张三") + "\x95\x32\x82\x36\r\n", TextProblem::None},
      // 平 in GBK (C6 BD) is also valid UTF-8: one such name is no evidence.
      {"a GBK name that happens to be UTF-8", gbk("平") + "\r\n", TextProblem::None},
      {"UTF-8 roster", "张三\r\n李四\r\n", TextProblem::Utf8},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBF张\r\n", TextProblem::Utf8},
      {"a byte order mark before GBK", "\xEF\xBB\xBF" + gbk("[奖项设置]"), TextProblem::None},
      {"NUL bytes", std::string("a\0b", 3), TextProblem::ControlBytes},
      {"a lone lead byte", "a\x81", TextProblem::NotGb18030},
      {"ASCII with tabs", "a\tb\r\n", TextProblem::None},
  };
  for (const Case& c : cases) EXPECT_EQ(base::findTextProblem(c.bytes), c.problem) << c.name;
}

TEST(TextCheck, ImportedTextIsReadAsUtf8OnlyWhereItIsUtf8) {
  using base::ImportEncoding;
  struct Case {
    std::string name;
    std::string bytes;
    ImportEncoding encoding;
  } cases[] = {
      {"GBK roster", gbk("张三\r\n李四\r\n"), ImportEncoding::Gb18030},
      {"GB18030 four-byte name", gbk("陈𠀀\r\n"), ImportEncoding::Gb18030},
      {"ASCII only", "Tom\r\nAnn\r\n", ImportEncoding::Gb18030},
      {"UTF-8 roster (the editor's default)", "周八\n王五\n", ImportEncoding::Utf8},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBFTom\n", ImportEncoding::Utf8},
      {"a byte order mark before GBK", "\xEF\xBB\xBF" + gbk("张三"), ImportEncoding::Gb18030},
      {"UTF-8 that GB18030 cannot read", "Tom€\n", ImportEncoding::Utf8},
      // 平 in GBK (C6 BD) is also the UTF-8 of "ƽ": either reading is possible.
      {"one character that reads both ways", gbk("平") + "\r\n", ImportEncoding::Either},
  };
  for (const Case& c : cases) EXPECT_EQ(base::importEncoding(c.bytes), c.encoding) << c.name;
  EXPECT_EQ(base::utf8FileToGbk("\xEF\xBB\xBF周八\n陈𠀀"), gbk("周八\n陈𠀀"));
}

// UTF-8 at the edges of what tells it from GBK. The Latin names pair up as valid
// GBK byte for byte (é is C3 A9, ñ C3 B1, ë C3 AB), so only the count of
// characters beyond ASCII decides: two may be either, three are UTF-8. A last
// character without a line end after it counts like any other.
TEST(TextCheck, Utf8AtTheThresholdAndAtTheEndOfTheText) {
  using base::ImportEncoding;
  struct Case {
    std::string name;
    std::string bytes;
    ImportEncoding encoding;
    TextProblem problem;
  } cases[] = {
      {"two characters beyond ASCII", "José\nMuñoz\n", ImportEncoding::Either, TextProblem::None},
      {"three characters beyond ASCII", "José\nMuñoz\nZoë\n", ImportEncoding::Utf8, TextProblem::Utf8},
      {"two, the last at the very end", "Zoë\nJosé", ImportEncoding::Either, TextProblem::None},
      {"Chinese, the last at the very end", "周八\n王五", ImportEncoding::Utf8, TextProblem::Utf8},
      {"three, a four-byte one at the very end", "Zoë\nJosé\n𠀀", ImportEncoding::Utf8, TextProblem::Utf8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(base::importEncoding(c.bytes), c.encoding) << c.name;
    EXPECT_EQ(base::findTextProblem(c.bytes), c.problem) << c.name;
  }
}

// The operator never reads the system's English: every cause has Chinese words
// or, for a rare one, its number.
TEST(FileErrors, EveryCauseIsInChinese) {
  for (int error = 1; error < 134; ++error) {
    const std::string text = base::describeErrno(error);
    bool chinese = false;
    for (char c : text) chinese = chinese || static_cast<unsigned char>(c) >= 0x80;
    EXPECT_TRUE(chinese) << error << ": " << text;
  }
  EXPECT_EQ(base::describeError(std::make_error_code(std::errc::no_space_on_device)),
            "磁盘空间已满,请清理磁盘后再继续");
}

}  // namespace
