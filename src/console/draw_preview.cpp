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
  sourcePainted_ = true;
  if (source_ != nullptr) {
    // A caption or a frame repaints itself alone when it is opaque: the window's
    // own paint event would not tell.
    source_->installEventFilter(this);
    for (QWidget* child : source_->findChildren<QWidget*>()) child->installEventFilter(this);
  }
  update();
}

bool DrawPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint) sourcePainted_ = true;
  return QWidget::eventFilter(watched, event);
}

void DrawPreview::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  sourcePainted_ = true;
  timer_.start();
}

void DrawPreview::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  timer_.stop();
}

void DrawPreview::takeFrame() {
  if (!sourcePainted_ || source_ == nullptr || !source_->isVisible()) return;
  sourcePainted_ = false;
  // The pixels the window last painted: the backing store of a raster window
  // is an image. Any other kind of surface is rendered once into a pixmap.
  QImage shown;
  QBackingStore* store = source_->backingStore();
  QPaintDevice* device = store != nullptr ? store->paintDevice() : nullptr;
  if (device != nullptr && device->devType() == QInternal::Image)
    shown = *static_cast<QImage*>(device);
  else
    shown = source_->grab().toImage();
  if (shown.isNull()) return;
  const QSize target = shown.size().scaled(size(), Qt::KeepAspectRatio);
  if (target.isEmpty()) return;
  frame_ = shown.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
