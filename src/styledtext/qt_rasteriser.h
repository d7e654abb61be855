#pragma once
// The pipeline's text rasteriser on Qt's font engine: white antialiased text on
// black into the caller's 8-bit image, and text extents. Face names are the
// Windows names of the data files; the platform's font substitutions map them.
#include <QFont>
#include <QImage>
#include <QString>

#include "styledtext/core/rasteriser.h"

namespace styledtext {

// The QFont of a font record at `scale` times its size (points at 96 dpi, as
// the files' sizes were chosen on Windows).
QFont qtFont(const FontRecord& font, int scale = 1);
FontRecord fontRecordOf(const QFont& font, int color);
// The GBK bytes of the pipeline and the UI's text.
QString fromGbk(std::string_view text);
std::string toGbk(const QString& text);

// QImage ⇄ Image24 (Format_RGB888 rows, copied).
Image24 toImage24(const QImage& image);
QImage toQImage(const Image24& image);

class QtTextRasteriser : public TextRasteriser {
 public:
  TextExtent extent(std::string_view text, const FontRecord& font, int scale) override;
  void draw(Mask8& image, std::string_view text, const FontRecord& font, int scale, int angle, int x, int y) override;
};

}  // namespace styledtext
