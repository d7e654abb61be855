#include "styledtext/qt_rasteriser.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/qt_gbk.h"

namespace styledtext {
namespace {

// A size read as the missing marker 99999 must not ask the font engine for
// glyphs larger than any screen.
constexpr int kMaxPixelSize = 2000;

// The size from which the font engine draws glyphs as filled outlines instead of
// from its glyph cache (Qt's default; QT_MAX_CACHED_GLYPH_SIZE changes it).
int outlineThreshold() {
  static const int size = [] {
    const int fromEnvironment = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
    return fromEnvironment > 0 ? fromEnvironment : 64;
  }();
  return size;
}

// Whether drawText would fill this text's outlines, and filling them one by one
// gives its pixels: one line, no decorations.
bool fillsOutlines(const QFont& font, const QString& text) {
  if (font.pixelSize() < outlineThreshold() || font.underline() || font.strikeOut() || font.overline()) return false;
  for (const QChar c : text)
    if (c.unicode() < 0x20 || c.direction() == QChar::DirR || c.direction() == QChar::DirAL) return false;
  return true;
}

// The glyphs of `text` laid out as drawText lays them out, with its baseline at
// `baseline` and `toImage` taking them into the image, each filled on its own
// (winding rule, antialiased) into a small RGB32 tile and taken into the mask by
// the larger value. The tile is not an 8-bit image: the paint engine spreads each
// fill into an 8-bit image over its thread pool, which for one glyph costs more
// than the fill; into RGB32 it does not, and every channel carries the coverage.
void fillGlyphByGlyph(Mask8& image, const QTransform& toImage, const QFont& font, const QString& text,
                      qreal baseline) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid()) return;
  const bool antialiased = !(font.styleStrategy() & QFont::NoAntialias);
  const qreal dy = baseline - line.ascent();
  const QRect bounds(0, 0, image.width(), image.height());
  QImage tile;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QRawFont raw = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype g = 0; g < glyphs.size(); ++g) {
      QPainterPath path = raw.pathForGlyph(glyphs[g]);
      if (path.isEmpty()) continue;
      path.setFillRule(Qt::WindingFill);
      path.translate(positions[g].x(), positions[g].y() + dy);
      const QRect box = toImage.map(path).boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1) & bounds;
      if (box.isEmpty()) continue;
      if (tile.width() < box.width() || tile.height() < box.height())
        tile = QImage(std::max(tile.width(), box.width()), std::max(tile.height(), box.height()), QImage::Format_RGB32);
      for (int y = 0; y < box.height(); ++y) std::memset(tile.scanLine(y), 0, static_cast<std::size_t>(box.width()) * 4);
      {
        QPainter painter(&tile);
        painter.setClipRect(0, 0, box.width(), box.height());
        painter.setRenderHint(QPainter::Antialiasing, antialiased);
        painter.setTransform(toImage * QTransform::fromTranslate(-box.x(), -box.y()));
        painter.fillPath(path, Qt::white);
      }
      for (int y = 0; y < box.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(tile.constScanLine(y));
        std::uint8_t* to = image.row(box.y() + y) + box.x();
        for (int x = 0; x < box.width(); ++x) to[x] = std::max(to[x], static_cast<std::uint8_t>(qBlue(from[x])));
      }
    }
  }
}

}  // namespace

QFont qtFont(const FontRecord& record, int scale) {
  QFont font;
  if (!record.name.empty()) font.setFamily(fromGbk(record.name));
  const int pixels = std::clamp(static_cast<int>(std::lround(std::abs(record.size) * 96.0 / 72.0)), 1, kMaxPixelSize);
  font.setPixelSize(pixels * std::max(1, scale));
  font.setBold(record.bold);
  font.setItalic(record.italic);
  font.setUnderline(record.underline);
  font.setStrikeOut(record.strikeOut);
  return font;
}

FontRecord fontRecordOf(const QFont& font, int color) {
  FontRecord r;
  r.name = toGbk(font.family());
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
  r.size = static_cast<int>(std::lround(points));
  r.color = color;
  r.bold = font.bold();
  r.italic = font.italic();
  r.underline = font.underline();
  r.strikeOut = font.strikeOut();
  return r;
}

QColor qtColour(int stored) {
  const Rgb rgb = rgbOf(stored);
  return QColor(rgb.r, rgb.g, rgb.b);
}

int storedColour(const QColor& colour) {
  return colorOf({static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                  static_cast<std::uint8_t>(colour.blue())});
}

QString fromGbk(std::string_view text) { return platform::fromGbk(std::string(text)); }
std::string toGbk(const QString& text) { return platform::toGbk(text); }

Image24 toImage24(const QImage& source) {
  const QImage image =
      source.format() == QImage::Format_RGB888 ? source : source.convertToFormat(QImage::Format_RGB888);
  Image24 out(image.width(), image.height());
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(out.row(y), image.constScanLine(y), static_cast<std::size_t>(image.width()) * 3);
  }
  return out;
}

QImage toQImage(const Image24& image) {
  QImage out(image.width(), image.height(), QImage::Format_RGB888);
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(out.scanLine(y), image.row(y), static_cast<std::size_t>(image.width()) * 3);
  }
  return out;
}

TextExtent QtTextRasteriser::extent(std::string_view text, const FontRecord& font, int scale) {
  const QFontMetrics metrics(qtFont(font, scale));
  return {metrics.horizontalAdvance(fromGbk(text)), metrics.height()};
}

void QtTextRasteriser::draw(Mask8& image, std::string_view text, const FontRecord& font, int scale, int angle, int x,
                            int y) {
  if (image.empty()) return;
  const QFont qfont = qtFont(font, scale);
  QTransform toImage;
  toImage.translate(x, y);
  if (angle != 0) toImage.rotate(-angle);
  const QString qtext = fromGbk(text);
  const int baseline = QFontMetrics(qfont).ascent();
  if (fill_ == OutlineFill::GlyphByGlyph && fillsOutlines(qfont, qtext)) {
    fillGlyphByGlyph(image, toImage, qfont, qtext, baseline);
    return;
  }
  QImage target(image.row(0), image.width(), image.height(), image.width(), QImage::Format_Grayscale8);
  QPainter painter(&target);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setFont(qfont);
  painter.setPen(Qt::white);
  painter.setTransform(toImage);
  painter.drawText(0, baseline, qtext);
}

}  // namespace styledtext
