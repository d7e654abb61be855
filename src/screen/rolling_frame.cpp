#include "screen/rolling_frame.h"

#include <algorithm>
#include <cmath>

#include <QFontInfo>
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
  const QSize size = linePitch_ > 0
                         ? textSize(font_, text_, linePitch_)
                         : laidOut(font_, fontKey_, text_.isEmpty() ? QStringLiteral(" ") : text_).size;
  if (size != this->size()) resize(size);
}

void RollingFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font_);
  painter.setPen(color_);
  if (linePitch_ > 0) {  // lines closed up: each line at its pitch
    const int lineHeight = QFontMetrics(font_).height();
    int top = 0;
    for (const QString& line : text_.split(QLatin1Char('\n'))) {
      painter.drawText(QRect(0, top, width(), lineHeight), Qt::AlignLeft | Qt::AlignTop, line);
      top += linePitch_;
    }
    return;
  }
  const QStaticText& glyphs = laidOut(font_, fontKey_, text_).glyphs;
  if (!glyphs.text().isEmpty())
    painter.drawStaticText(QPointF(0, 0), glyphs);
  else
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, text_);
}

PictureFrame::PictureFrame(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PictureFrame::setTile(const QImage* tile, const TileCaption* caption) {
  if (tile == tile_ && caption == caption_) return;
  tile_ = tile;
  caption_ = caption;
  update();
}

void PictureFrame::setCaptionStyle(const QFont& font, const QColor& colour) {
  captionFont_ = font;
  captionColour_ = colour;
  update();
}

QFont PictureFrame::captionFontShown() const {
  QFont font = captionFont_;
  if (!tile_ || tile_->size() == size() || tile_->isNull()) return font;
  const int full = QFontInfo(captionFont_).pixelSize();
  const double scale = std::min(double(width()) / tile_->width(), double(height()) / tile_->height());
  const int smallest = std::min(full, kReadableCaptionPixels);
  int pixels = std::clamp(static_cast<int>(std::lround(full * scale)), smallest, full);
  font.setPixelSize(pixels);
  // A name the scaled size would write wider than the frame is written smaller, as far as is readable.
  const QString& measured = caption_ ? caption_->measured : QString();
  while (pixels > smallest && QFontMetrics(font).horizontalAdvance(measured) > width()) font.setPixelSize(--pixels);
  return font;
}

void PictureFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!tile_) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const bool asTiled = tile_->size() == size();
  if (asTiled)
    painter.drawImage(0, 0, *tile_);
  else
    painter.drawImage(rect(), *tile_);
  if (!caption_ || caption_->shown.isEmpty()) return;
  const QFont font = captionFontShown();
  if (asTiled) {
    drawTileCaption(painter, size(), caption_->measured, caption_->shown, font, captionColour_);
    return;
  }
  // Small letters on a photo need an edge to stand out: a one-pixel shadow in
  // the opposite shade goes under them.
  const QFontMetrics metrics(font);
  const bool fits = metrics.horizontalAdvance(caption_->measured) <= width();
  const QString cut = fits ? QString() : metrics.elidedText(caption_->shown, Qt::ElideRight, width());
  const QString& measured = fits ? caption_->measured : cut;
  const QString& shown = fits ? caption_->shown : cut;
  const QColor shadow = qGray(captionColour_.rgb()) >= 128 ? QColor(0, 0, 0, 200) : QColor(255, 255, 255, 200);
  painter.translate(1, 1);
  drawTileCaption(painter, size(), measured, shown, font, shadow);
  painter.translate(-1, -1);
  drawTileCaption(painter, size(), measured, shown, font, captionColour_);
}

}  // namespace screen
