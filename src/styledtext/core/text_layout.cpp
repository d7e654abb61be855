#include "styledtext/core/text_layout.h"

namespace styledtext {

LabelGeometry placeLabelText(int clientWidth, int clientHeight, int textWidth, int textHeight, bool autoSize,
                             TAlign align, int border, TAlignment alignment, TTextLayout layout) {
  LabelGeometry g{clientWidth, clientHeight, 0, 0};
  if (autoSize) {
    if (align == TAlign::alNone || align == TAlign::alLeft || align == TAlign::alRight) {
      g.clientWidth = textWidth + 2 * border;
    }
    if (align == TAlign::alNone || align == TAlign::alTop || align == TAlign::alBottom) {
      g.clientHeight = textHeight + 2 * border;
    }
  }
  switch (alignment) {
    case TAlignment::taLeftJustify:
      g.textX = border;
      break;
    case TAlignment::taRightJustify:
      g.textX = g.clientWidth - border - textWidth;
      break;
    case TAlignment::taCenter:
      g.textX = (g.clientWidth - textWidth) / 2;
      break;
  }
  switch (layout) {
    case TTextLayout::tlTop:
      g.textY = border;
      break;
    case TTextLayout::tlCenter:
      g.textY = (g.clientHeight - textHeight) / 2;
      break;
    case TTextLayout::tlBottom:
      g.textY = g.clientHeight - border - textHeight;
      break;
  }
  return g;
}

}  // namespace styledtext
