#include <gtest/gtest.h>

#include "styledtext/core/text_layout.h"

namespace styledtext {
namespace {

TEST(LabelLayout, AutoSizeAlignmentAndLayout) {
  struct Case {
    bool autoSize;
    TAlign align;
    TAlignment alignment;
    TTextLayout layout;
    LabelGeometry expected;
  } cases[] = {
      {true, TAlign::alNone, TAlignment::taLeftJustify, TTextLayout::tlTop, {54, 24, 2, 2}},
      {true, TAlign::alTop, TAlignment::taCenter, TTextLayout::tlBottom, {100, 24, 25, 2}},
      {true, TAlign::alLeft, TAlignment::taRightJustify, TTextLayout::tlCenter, {54, 40, 2, 10}},
      {false, TAlign::alNone, TAlignment::taRightJustify, TTextLayout::tlBottom, {100, 40, 48, 18}},
      {false, TAlign::alClient, TAlignment::taCenter, TTextLayout::tlCenter, {100, 40, 25, 10}},
  };
  for (const Case& c : cases) {
    const LabelGeometry g = placeLabelText(100, 40, 50, 20, c.autoSize, c.align, 2, c.alignment, c.layout);
    EXPECT_EQ(g.clientWidth, c.expected.clientWidth);
    EXPECT_EQ(g.clientHeight, c.expected.clientHeight);
    EXPECT_EQ(g.textX, c.expected.textX);
    EXPECT_EQ(g.textY, c.expected.textY);
  }
}

}  // namespace
}  // namespace styledtext
