#include "styledtext/TSmoothScrollText.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "styledtext/SmoothTimer.h"

namespace styledtext {

TSmoothScrollText::TSmoothScrollText(QWidget* parent)
    : QWidget(parent), renderer_(std::make_unique<SmoothRenderer>(rasteriser_)) {
  setMinimumSize(20, 20);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  pauseTimer_.setSingleShot(true);
  connect(&pauseTimer_, &QTimer::timeout, this, &TSmoothScrollText::endPause);
  tickId_ = SmoothTimer::instance().add(this, scrollDelay_, [this] { scrollTick(); });
  syncTick();
}

TSmoothScrollText::~TSmoothScrollText() { SmoothTimer::instance().remove(tickId_); }

void TSmoothScrollText::syncTick() {
  SmoothTimer::instance().setEnabled(tickId_, active_ && !rebuilding_ && !pauseTimer_.isActive());
}

void TSmoothScrollText::setActive(bool on) {
  if (active_ == on) return;
  active_ = on;
  if (!on) pauseTimer_.stop();
  syncTick();
}

void TSmoothScrollText::setScrollDelay(int ms) {
  scrollDelay_ = std::clamp(ms, 0, 65535);
  SmoothTimer::instance().setInterval(tickId_, scrollDelay_);
}

void TSmoothScrollText::setScrollStep(int pixels) { scrollStep_ = pixels; }
void TSmoothScrollText::setRepeatCount(int passes) { repeatCount_ = passes; }
void TSmoothScrollText::setRepeatDelay(int ms) { repeatDelay_ = std::clamp(ms, 0, 65535); }

void TSmoothScrollText::setAutoUpdate(bool on) {
  autoUpdate_ = on;
  if (on) rebuild();
}

void TSmoothScrollText::setText(const TScrollTextParam& text) {
  text_ = text;
  if (autoUpdate_) rebuild();
}

void TSmoothScrollText::rebuild() {
  rebuilding_ = true;
  syncTick();
  pauseTimer_.stop();
  buildScrollImage(*renderer_, text_, width(), height(), image_);
  motion_.restart();
  rebuilding_ = false;
  syncTick();
  emit OnTextReady();
  update();
}

void TSmoothScrollText::scrollTick() {
  if (!active_ || pauseTimer_.isActive()) return;
  switch (motion_.tick(image_.height(), scrollStep_, repeatCount_, repeatDelay_)) {
    case ScrollMotion::Outcome::Unchanged:
      break;
    case ScrollMotion::Outcome::Moved:
      update();
      break;
    case ScrollMotion::Outcome::Pause:
      pauseTimer_.start(repeatDelay_);
      syncTick();
      break;
    case ScrollMotion::Outcome::Completed:
      active_ = false;
      syncTick();
      emit OnComplete();
      break;
  }
}

void TSmoothScrollText::endPause() {
  motion_.moveAfterPause(image_.height(), scrollStep_);
  update();
  syncTick();
}

QImage TSmoothScrollText::frameImage() {
  paintScrollFrame(image_, motion_.offset(), height(), text_, frame_);
  return toQImage(frame_);
}

void TSmoothScrollText::paintEvent(QPaintEvent* event) {
  const QImage frame = frameImage();
  QPainter painter(this);
  painter.drawImage(event->rect(), frame, event->rect());
  emit OnPainted();
}

void TSmoothScrollText::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (autoUpdate_) rebuild();
}

}  // namespace styledtext
