#include "styledtext/qt_rasteriser.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/gbk.h"

namespace styledtext {
namespace {

// A size read as the missing marker 99999 must not ask the font engine for
// glyphs larger than any screen.
constexpr int kMaxPixelSize = 2000;

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

QString fromGbk(std::string_view text) { return QString::fromStdString(base::gbkToUtf8(text)); }
std::string toGbk(const QString& text) { return base::utf8ToGbk(text.toStdString()); }

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
  QImage target(image.row(0), image.width(), image.height(), image.width(), QImage::Format_Grayscale8);
  QPainter painter(&target);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const QFont qfont = qtFont(font, scale);
  painter.setFont(qfont);
  painter.setPen(Qt::white);
  painter.translate(x, y);
  if (angle != 0) painter.rotate(-angle);
  painter.drawText(0, QFontMetrics(qfont).ascent(), fromGbk(text));
}

}  // namespace styledtext
