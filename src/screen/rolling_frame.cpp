#include "screen/rolling_frame.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QStaticText>

namespace screen {

namespace {

// A caption laid out in a font: its size, and for one line its glyphs, ready
// to draw (the same pixels as drawText at the top-left corner). Every tick gives
// thirty frames new names from the same roster, and laying a name out (twice:
// to size the frame and to paint it) cost more than the rest of the frame's
// work; the layouts are kept, a bounded number of them.
struct LaidOutText {
  QSize size;
  QStaticText glyphs;  // empty for text of several lines or with tabs
};

const LaidOutText& laidOut(const QFont& font, const QString& fontKey, const QString& text) {
  static QHash<QString, LaidOutText> kept;
  constexpr qsizetype kMostKept = 4096;
  QString key = fontKey;
  key += QChar(0);
  key += text;
  if (const auto found = kept.constFind(key); found != kept.constEnd()) return *found;
  LaidOutText layout{QFontMetrics(font).size(0, text), {}};
  if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\t'))) {
    layout.glyphs.setText(text);
    layout.glyphs.setTextFormat(Qt::PlainText);
    layout.glyphs.prepare(QTransform(), font);
  }
  if (kept.size() >= kMostKept) kept.clear();
  return *kept.insert(key, std::move(layout));
}

}  // namespace

RollingFrame::RollingFrame(QWidget* parent) : QWidget(parent), fontKey_(font_.key()) {
  setAttribute(Qt::WA_NoSystemBackground);
  fitToText();
}

void RollingFrame::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  fitToText();
  update();
}

void RollingFrame::setFrameFont(const QFont& font, const QColor& color) {
  font_ = font;
  fontKey_ = font_.key();
  color_ = color;
  fitToText();
  update();
}

void RollingFrame::fitToText() {
  const QSize size = laidOut(font_, fontKey_, text_.isEmpty() ? QStringLiteral(" ") : text_).size;
  if (size != this->size()) resize(size);
}

void RollingFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font_);
  painter.setPen(color_);
  const QStaticText& glyphs = laidOut(font_, fontKey_, text_).glyphs;
  if (!glyphs.text().isEmpty())
    painter.drawStaticText(QPointF(0, 0), glyphs);
  else
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, text_);
}

PictureFrame::PictureFrame(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PictureFrame::setTile(const QImage* tile) {
  if (tile == tile_) return;
  tile_ = tile;
  update();
}

void PictureFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (tile_ && tile_->size() == size())
    painter.drawImage(0, 0, *tile_);
  else if (tile_)
    painter.drawImage(rect(), *tile_);
  else
    painter.fillRect(rect(), Qt::black);
}

}  // namespace screen
