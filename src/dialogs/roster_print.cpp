#include "dialogs/roster_print.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace dialogs {

int printRoster(QPagedPaintDevice& device, const QStringList& lines, const QFont& font) {
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  // The editor's font keeps its size on paper: its pixel size is screen pixels
  // at 96 dots per inch, turned into device pixels here.
  QFont paperFont(font);
  if (font.pixelSize() > 0) paperFont.setPixelSize(std::max(1, font.pixelSize() * device.logicalDpiY() / 96));
  painter.setFont(paperFont);
  const QFontMetrics metrics(paperFont, &device);
  const int lineHeight = metrics.lineSpacing();
  const int pageHeight = device.height();
  int pages = 1;
  int y = 0;
  for (const QString& line : lines) {
    if (y + lineHeight > pageHeight && y > 0) {
      device.newPage();
      ++pages;
      y = 0;
    }
    painter.drawText(0, y + metrics.ascent(), line);
    y += lineHeight;
  }
  painter.end();
  return pages;
}

}  // namespace dialogs
