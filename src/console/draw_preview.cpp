#include "console/draw_preview.h"

#include <QBackingStore>
#include <QPaintEvent>
#include <QPainter>

namespace console {

DrawPreview::DrawPreview(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(160, 90);
  timer_.setInterval(kIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &DrawPreview::takeFrame);
}

void DrawPreview::setSource(QWidget* window) {
  if (source_ != nullptr) {
    source_->removeEventFilter(this);
    for (QWidget* child : source_->findChildren<QWidget*>()) child->removeEventFilter(this);
  }
  source_ = window;
  frame_ = QImage();
  updates_ = 0;
  wholeFrame_ = true;
  painted_ = QRegion();
  if (source_ != nullptr) {
    // A caption or a frame repaints itself alone when it is opaque: the window's
    // own paint event would not tell.
    source_->installEventFilter(this);
    for (QWidget* child : source_->findChildren<QWidget*>()) child->installEventFilter(this);
  }
  update();
}

bool DrawPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && source_ != nullptr) {
    auto* widget = static_cast<QWidget*>(watched);
    QRect rect = static_cast<QPaintEvent*>(event)->rect();
    if (widget != source_.data()) rect.moveTopLeft(widget->mapTo(source_.data(), rect.topLeft()));
    painted_ += rect;
  }
  return QWidget::eventFilter(watched, event);
}

void DrawPreview::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  wholeFrame_ = true;
  timer_.start();
}

void DrawPreview::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  timer_.stop();
}

void DrawPreview::takeFrame() {
  if (source_ == nullptr || !source_->isVisible() || (!wholeFrame_ && painted_.isEmpty())) return;
  // The pixels the window last painted: the backing store of a raster window
  // is an image. Any other kind of surface is rendered once into a pixmap.
  QImage shown;
  QBackingStore* store = source_->backingStore();
  QPaintDevice* device = store != nullptr ? store->paintDevice() : nullptr;
  if (device != nullptr && device->devType() == QInternal::Image)
    shown = *static_cast<QImage*>(device);
  else
    shown = source_->grab().toImage();
  if (shown.isNull() || source_->width() <= 0) return;
  const QSize target = source_->size().scaled(size(), Qt::KeepAspectRatio);
  if (target.isEmpty()) return;
  if (frame_.size() != target) {
    frame_ = QImage(target, QImage::Format_RGB32);
    wholeFrame_ = true;
  }
  const double toFrame = double(target.width()) / source_->width();
  const double toPixels = double(shown.width()) / source_->width();  // the device pixel ratio
  const QRegion region = wholeFrame_ ? QRegion(source_->rect()) : painted_;
  painted_ = QRegion();
  wholeFrame_ = false;
  QPainter painter(&frame_);
  // Bilinear sampling reads four pixels for each pixel of the preview: a quarter
  // of a megapixel for the whole frame, far less for the rolling area alone.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (QRect rect : region) {
    const QRect onFrame(
        QPoint(int(rect.left() * toFrame), int(rect.top() * toFrame)),
        QPoint(int((rect.right() + 1) * toFrame + 0.999) - 1, int((rect.bottom() + 1) * toFrame + 0.999) - 1));
    const QRectF fromPixels(onFrame.left() / toFrame * toPixels, onFrame.top() / toFrame * toPixels,
                            onFrame.width() / toFrame * toPixels, onFrame.height() / toFrame * toPixels);
    painter.drawImage(QRectF(onFrame), shown, fromPixels);
  }
  painter.end();
  ++updates_;
  update();
}

void DrawPreview::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), Qt::black);
  if (frame_.isNull()) return;
  const QPoint corner((width() - frame_.width()) / 2, (height() - frame_.height()) / 2);
  painter.drawImage(corner, frame_);
}

}  // namespace console
