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

void RollingFrame::fitToText() {
  QFontMetrics metrics(font_);
  QSize size = metrics.size(0, text_.isEmpty() ? QStringLiteral(" ") : text_);
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
