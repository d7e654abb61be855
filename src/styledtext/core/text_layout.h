#pragma once
// Where a caption's measured box sits in a label's client area, and how a label
// sizes itself to it.
namespace styledtext {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
// The label's Align: only none, left and right let AutoSize set the width;
// only none, top and bottom let it set the height.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct LabelGeometry {
  int clientWidth = 0;
  int clientHeight = 0;
  int textX = 0;
  int textY = 0;
};

// Applies AutoSize (when on) to the client size and places a text box of
// textWidth × textHeight by alignment, layout and border.
LabelGeometry placeLabelText(int clientWidth, int clientHeight, int textWidth, int textHeight, bool autoSize,
                             TAlign align, int border, TAlignment alignment, TTextLayout layout);

}  // namespace styledtext
