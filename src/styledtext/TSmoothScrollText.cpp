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
  image_ = Image24();
  wholeImage_ = false;
  if (text_.BackGround) {
    buildScrollImage(*renderer_, text_, width(), height(), image_);
    wholeImage_ = true;
  } else {
    window_.layout(*renderer_, text_, width(), height());
  }
  motion_.restart();
  rebuilding_ = false;
  syncTick();
  emit OnTextReady();
  update();
}

void TSmoothScrollText::scrollTick() {
  if (!active_ || pauseTimer_.isActive()) return;
  switch (motion_.tick(imageHeight(), scrollStep_, repeatCount_, repeatDelay_)) {
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
  motion_.moveAfterPause(imageHeight(), scrollStep_);
  update();
  syncTick();
}

int TSmoothScrollText::imageHeight() const { return wholeImage_ ? image_.height() : window_.imageHeight(); }

const Image24& TSmoothScrollText::textImage() {
  if (!wholeImage_) {
    buildScrollImage(*renderer_, text_, width(), height(), image_);
    wholeImage_ = true;
  }
  return image_;
}

QImage TSmoothScrollText::frameImage() {
  if (wholeImage_)
    paintScrollFrame(image_, motion_.offset(), height(), text_, frame_);
  else
    window_.paint(*renderer_, text_, motion_.offset(), height(), 0, width(), frame_);
  return toQImage(frame_);
}

void TSmoothScrollText::paintEvent(QPaintEvent* event) {
  // Only the columns asked for: a box far wider than the screen draws the part on it.
  const QRect columns = event->rect().intersected(rect());
  if (wholeImage_)
    paintScrollFrame(image_, motion_.offset(), height(), text_, frame_);
  else
    window_.paint(*renderer_, text_, motion_.offset(), height(), columns.left(), columns.width(), frame_);
  const QImage frame = toQImage(frame_);
  QPainter painter(this);
  const QRect source(wholeImage_ ? columns.left() : 0, columns.top(), columns.width(), columns.height());
  painter.drawImage(columns.topLeft(), frame, source);
  emit OnPainted();
}

void TSmoothScrollText::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (autoUpdate_) rebuild();
}

}  // namespace styledtext
