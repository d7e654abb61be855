#include <gtest/gtest.h>

#include "base/conversion_error.h"
#include "test_folder.h"

TEST(Conversion, ParsesTheIntegerFormsOfCellsAndIniValues) {
  struct Case {
    const char* text;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"0", 0},         {"12", 12},         {"-7", -7},       {" 42 ", 42},      {"$FF", 255},
      {"0x10", 16},     {"$FFFFFFFF", -1},  {"2147483647", 2147483647},          {"2147483648", std::nullopt},
      {"-2147483648", -2147483647 - 1},     {"", std::nullopt}, {" ", std::nullopt}, {"1.5", std::nullopt},
      {"abc", std::nullopt}, {"12a", std::nullopt}, {"$", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(base::parseInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Conversion, ErrorsCarryThePlatformMessage) {
  try {
    base::toInt(testing_support::gbk("三"));
    FAIL();
  } catch (const base::ConversionError& error) {
    EXPECT_STREQ(error.what(), "'三' is not a valid integer value");
  }
  try {
    base::toDouble("x1");
    FAIL();
  } catch (const base::ConversionError& error) {
    EXPECT_STREQ(error.what(), "'x1' is not a valid floating point value");
  }
  EXPECT_DOUBLE_EQ(base::toDouble("8.25"), 8.25);
}

// A message box lays out all it is given: a damaged line of megabytes is quoted
// by an excerpt, and a NUL does not cut the message short.
TEST(Conversion, ErrorsQuoteAShortExcerptOfTheText) {
  const std::string cases[] = {std::string(50 * 1024 * 1024, 'x'), testing_support::gbk(std::string(200, 'a') + "三"),
                               std::string("1\0"
                                           "2",
                                           3)};
  for (const std::string& text : cases) {
    try {
      base::toInt(text);
      FAIL();
    } catch (const base::ConversionError& error) {
      const std::string message = error.what();
      EXPECT_LT(message.size(), 200u);
      EXPECT_NE(message.find("' is not a valid integer value"), std::string::npos) << message;
    }
  }
  try {
    base::toInt(
        std::string("1\0"
                    "2",
                    3));
  } catch (const base::ConversionError& error) {
    EXPECT_STREQ(error.what(), "'1\\x002' is not a valid integer value");
  }
}
