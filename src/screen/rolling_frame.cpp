#include "screen/rolling_frame.h"

#include <QFontMetrics>
#include <QPainter>

namespace screen {

RollingFrame::RollingFrame(QWidget* parent) : QWidget(parent) {
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
  color_ = color;
  fitToText();
  update();
}

void RollingFrame::setLinePitch(int pitch) {
  if (pitch == linePitch_) return;
  linePitch_ = pitch;
  fitToText();
  update();
}

QSize RollingFrame::textSize(const QFont& font, const QString& text, int linePitch) {
  const QFontMetrics metrics(font);
  QSize size = metrics.size(0, text.isEmpty() ? QStringLiteral(" ") : text);
  if (linePitch > 0) {
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    size.setHeight(static_cast<int>(lines - 1) * linePitch + metrics.height());
  }
  return size;
}

void RollingFrame::fitToText() {
  const QSize size = textSize(font_, text_, linePitch_);
  if (size != this->size()) resize(size);
}

void RollingFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font_);
  painter.setPen(color_);
  if (linePitch_ <= 0) {
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, text_);
    return;
  }
  const int lineHeight = QFontMetrics(font_).height();
  int top = 0;
  for (const QString& line : text_.split(QLatin1Char('\n'))) {
    painter.drawText(QRect(0, top, width(), lineHeight), Qt::AlignLeft | Qt::AlignTop, line);
    top += linePitch_;
  }
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
