#include "styledtext/TSmoothLabel.h"

#include <QPaintEvent>
#include <QPainter>

namespace styledtext {

template <typename T>
void TSmoothLabel::store(T& field, T value) {
  if (field == value) return;
  field = value;
  changed();
}

TSmoothLabel::TSmoothLabel(QWidget* parent)
    : QWidget(parent), renderer_(std::make_unique<SmoothRenderer>(rasteriser_)) {
  resize(46, 12);
  effect_.setOnChange([this] { changed(); });
  setAttribute(Qt::WA_OpaquePaintEvent, true);
}

TSmoothLabel::~TSmoothLabel() = default;

void TSmoothLabel::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  changed();
}

void TSmoothLabel::setSmoothFont(const FontRecord& font) {
  if (font_ == font) return;
  font_ = font;
  changed();
}

void TSmoothLabel::setAutoSize(bool on) { store(autoSize_, on); }
void TSmoothLabel::setBorder(int pixels) { store(border_, pixels); }
void TSmoothLabel::setAlign(TAlign align) { store(align_, align); }
void TSmoothLabel::setLayout(TTextLayout layout) { store(layout_, layout); }
void TSmoothLabel::setAlignment(TAlignment alignment) { store(alignment_, alignment); }
void TSmoothLabel::setQuality(TSmoothQuality quality) { store(quality_, quality); }
void TSmoothLabel::setBackColor(int color) { store(backColor_, color); }

void TSmoothLabel::setTransparent(bool on) {
  if (transparent_ == on) return;
  transparent_ = on;
  setAttribute(Qt::WA_OpaquePaintEvent, !on);
  changed();
}

void TSmoothLabel::setBackGround(std::shared_ptr<const Image24> picture, PictureMode mode) {
  if (backGround_ == picture && backGroundMode_ == mode) return;
  backGround_ = std::move(picture);
  backGroundMode_ = mode;
  changed();
}

void TSmoothLabel::beginUpdate() { ++updateDepth_; }

void TSmoothLabel::endUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0 && pending_) changed();
}

void TSmoothLabel::setAutoUpdate(bool on) {
  autoUpdate_ = on;
  if (on && pending_) changed();
}

void TSmoothLabel::setBackdropProvider(BackdropProvider provider, BackdropKey key) {
  backdropProvider_ = std::move(provider);
  backdropKey_ = std::move(key);
  layerValid_ = false;
  update();
}

void TSmoothLabel::changed() {
  if (updateDepth_ > 0 || !autoUpdate_) {
    pending_ = true;
    return;
  }
  pending_ = false;
  render();
  update();
}

void TSmoothLabel::render() {
  const std::string text = toGbk(caption_);
  textBox_ = renderer_->measure(text, font_, effect_, quality_);
  geometry_ = placeLabelText(width(), height(), textBox_.width, textBox_.height, autoSize_, align_, border_, alignment_,
                             layout_);
  if (geometry_.clientWidth != width() || geometry_.clientHeight != height()) {
    resizing_ = true;
    resize(std::max(0, geometry_.clientWidth), std::max(0, geometry_.clientHeight));
    resizing_ = false;
  }
  layerValid_ = false;
  if (transparent_) return;
  Image24 work(width(), height(), rgbOf(backColor_));
  if (backGround_) drawPicture(work, *backGround_, backGroundMode_);
  renderer_->draw(Canvas{work, true}, geometry_.textX, geometry_.textY, text, font_, effect_, quality_);
  ++renderCount_;
  opaqueImage_ = toQImage(work);
}

QImage TSmoothLabel::backdrop() const {
  if (backdropProvider_) return backdropProvider_(*this).convertToFormat(QImage::Format_RGB888);
  QImage image(size(), QImage::Format_RGB888);
  image.fill(palette().color(QPalette::Window));
  if (QWidget* parent = parentWidget()) {
    parent->render(&image, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
  }
  return image;
}

QImage TSmoothLabel::composedImage() {
  if (pending_ && updateDepth_ == 0 && autoUpdate_) changed();
  if (!transparent_) return opaqueImage_;
  const qint64 key = backdropKey_ ? backdropKey_(*this) : 0;
  if (layerValid_ && backdropKey_ && key == cachedKey_ && geometry() == cachedGeometry_) return cachedLayer_;
  QImage beneath = backdrop();
  if (layerValid_ && !backdropKey_ && beneath == cachedBackdrop_) return cachedLayer_;
  Image24 work = toImage24(beneath);
  renderer_->draw(Canvas{work, true}, geometry_.textX, geometry_.textY, toGbk(caption_), font_, effect_, quality_);
  ++renderCount_;
  // With a key the key tells when the backdrop changes; the copy is not needed.
  cachedBackdrop_ = backdropKey_ ? QImage() : std::move(beneath);
  cachedLayer_ = toQImage(work);
  cachedKey_ = key;
  cachedGeometry_ = geometry();
  layerValid_ = true;
  return cachedLayer_;
}

void TSmoothLabel::paintEvent(QPaintEvent* event) {
  const QImage image = composedImage();
  QPainter painter(this);
  // Rectangle by rectangle: the bounding rectangle of a region torn by the
  // rolling frames above would be blended through the whole clip.
  for (const QRect& rect : event->region()) painter.drawImage(rect, image, rect);
}

void TSmoothLabel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!resizing_) changed();
}

}  // namespace styledtext
