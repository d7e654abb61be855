#pragma once
// The pipeline's text rasteriser on Qt's font engine: white antialiased text on
// black into the caller's 8-bit image, and text extents. Face names are the
// Windows names of the data files; the platform's font substitutions map them.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include "styledtext/core/rasteriser.h"

namespace styledtext {

// The QFont of a font record at `scale` times its size (points at 96 dpi, as
// the files' sizes were chosen on Windows).
QFont qtFont(const FontRecord& font, int scale = 1);
FontRecord fontRecordOf(const QFont& font, int color);
// A stored colour (red + 256 × green + 65536 × blue; a value with the top bit set
// names a system colour) as Qt's, and back.
QColor qtColour(int stored);
int storedColour(const QColor& colour);
// The GB18030 bytes of the pipeline and the UI's text (platform/qt_gbk.h).
QString fromGbk(std::string_view text);
std::string toGbk(const QString& text);

// QImage ⇄ Image24 (Format_RGB888 rows, copied).
Image24 toImage24(const QImage& image);
QImage toQImage(const Image24& image);

// Large glyphs (the font engine's cache stops at 64 pixels, and k = 3 takes a
// 22-pixel caption past it) are filled as outlines. Filled as one path, a long
// caption costs far more than the sum of its glyphs (the scanline converter
// starts over with a larger pool whenever a path outgrows it), so those texts
// are filled glyph by glyph, which gives the same pixels where glyphs do not
// overlap. WholeText keeps the single path, for comparison.
enum class OutlineFill { GlyphByGlyph, WholeText };

class QtTextRasteriser : public TextRasteriser {
 public:
  explicit QtTextRasteriser(OutlineFill fill = OutlineFill::GlyphByGlyph) : fill_(fill) {}
  TextExtent extent(std::string_view text, const FontRecord& font, int scale) override;
  void draw(Mask8& image, std::string_view text, const FontRecord& font, int scale, int angle, int x, int y) override;

 private:
  OutlineFill fill_;
};

}  // namespace styledtext
