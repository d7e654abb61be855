#include "screen/qt_text_measurer.h"

#include <QFontMetrics>

#include "base/gbk.h"

namespace screen {

QFont qtFont(const std::string& gbkFaceName, int pointSize) {
  QFont font;
  if (!gbkFaceName.empty()) font.setFamily(QString::fromStdString(base::gbkToUtf8(gbkFaceName)));
  // A stored size of 0 or less (or the missing marker) must not make a font nobody can read.
  font.setPointSize(pointSize >= 1 && pointSize <= 500 ? pointSize : 20);
  return font;
}

Size QtTextMeasurer::measure(std::string_view gbkText, const TextFont& font) const {
  QFont qfont = qtFont(font.name, font.size);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  QFontMetrics metrics(qfont);
  QSize size = metrics.size(0, QString::fromStdString(base::gbkToUtf8(gbkText)));
  return {size.width(), size.height()};
}

}  // namespace screen
