#include "screen/qt_text_measurer.h"

#include <QFontInfo>
#include <QFontMetrics>

#include "base/gbk.h"
#include "styledtext/core/smooth_renderer.h"
#include "styledtext/core/text_layout.h"
#include "styledtext/qt_rasteriser.h"

namespace screen {

QFont qtFont(const std::string& gbkFaceName, int pointSize) {
  QFont font;
  if (!gbkFaceName.empty()) font.setFamily(QString::fromStdString(base::gbkToUtf8(gbkFaceName)));
  // A stored size of 0 or less (or the missing marker) must not make a font nobody can read.
  font.setPointSize(pointSize >= 1 && pointSize <= 500 ? pointSize : 20);
  return font;
}

struct QtTextMeasurer::Styled {
  styledtext::QtTextRasteriser rasteriser;
  styledtext::SmoothRenderer renderer{rasteriser};
};

QtTextMeasurer::QtTextMeasurer() : styled_(std::make_unique<Styled>()) {}
QtTextMeasurer::~QtTextMeasurer() = default;

Size QtTextMeasurer::measureLabel(std::string_view gbkText, const LabelFont& font,
                                  const styledtext::TSmoothEffect& effect) const {
  const styledtext::TextExtent box = styled_->renderer.measure(gbkText, font, effect);
  const styledtext::LabelGeometry g =
      styledtext::placeLabelText(0, 0, box.width, box.height, true, styledtext::TAlign::alNone, 0,
                                 styledtext::TAlignment::taLeftJustify, styledtext::TTextLayout::tlTop);
  return {g.clientWidth, g.clientHeight};
}

namespace {
QFont qtTextFont(const TextFont& font) {
  QFont qfont = qtFont(font.name, font.size);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  return qfont;
}
}  // namespace

LineMetrics QtTextMeasurer::lineMetrics(const TextFont& font) const {
  const QFont qfont = qtTextFont(font);
  const QFontMetrics metrics(qfont);
  return {metrics.height(), metrics.lineSpacing(), QFontInfo(qfont).pixelSize()};
}

Size QtTextMeasurer::measure(std::string_view gbkText, const TextFont& font) const {
  QFontMetrics metrics(qtTextFont(font));
  QSize size = metrics.size(0, QString::fromStdString(base::gbkToUtf8(gbkText)));
  return {size.width(), size.height()};
}

}  // namespace screen
