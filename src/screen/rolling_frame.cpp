#include "screen/rolling_frame.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>

namespace screen {

namespace {

// The size of a caption in a font. Every tick gives thirty frames new names
// from the same roster, and laying a name out costs more than the rest of the
// frame's work; the sizes are kept, a bounded number of them.
QSize textSize(const QFont& font, const QString& fontKey, const QString& text) {
  static QHash<QString, QSize> sizes;
  constexpr qsizetype kMostKept = 8192;
  QString key = fontKey;
  key += QChar(0);
  key += text;
  if (const auto found = sizes.constFind(key); found != sizes.constEnd()) return *found;
  const QSize size = QFontMetrics(font).size(0, text);
  if (sizes.size() >= kMostKept) sizes.clear();
  sizes.insert(key, size);
  return size;
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
  const QSize size = textSize(font_, fontKey_, text_.isEmpty() ? QStringLiteral(" ") : text_);
  if (size != this->size()) resize(size);
}

void RollingFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font_);
  painter.setPen(color_);
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
