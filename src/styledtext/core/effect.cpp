#include "styledtext/core/effect.h"

#include <algorithm>

namespace styledtext {
namespace {

template <typename T>
bool storeValue(T& field, T value, const ChangeHandler& changed) {
  if (field == value) return false;
  field = value;
  if (changed) changed();
  return true;
}

}  // namespace

template <typename T>
void TSmoothShadow::store(T& field, T value) {
  storeValue(field, value, changed_);
}
void TSmoothShadow::setEnabled(bool value) { store(enabled_, value); }
void TSmoothShadow::setBlur(int value) { store(blur_, std::clamp(value, 0, 100)); }
void TSmoothShadow::setAlpha(int value) { store(alpha_, std::clamp(value, 0, 100)); }
void TSmoothShadow::setColor(int value) { store(color_, value); }
void TSmoothShadow::setOffsetX(int value) { store(offsetX_, std::clamp(value, -20, 20)); }
void TSmoothShadow::setOffsetY(int value) { store(offsetY_, std::clamp(value, -20, 20)); }
bool TSmoothShadow::sameValues(const TSmoothShadow& o) const {
  return enabled_ == o.enabled_ && blur_ == o.blur_ && alpha_ == o.alpha_ && color_ == o.color_ &&
         offsetX_ == o.offsetX_ && offsetY_ == o.offsetY_;
}

template <typename T>
void TSmoothGradual::store(T& field, T value) {
  storeValue(field, value, changed_);
}
void TSmoothGradual::setEnabled(bool value) { store(enabled_, value); }
void TSmoothGradual::setStyle(TGradualStyle value) { store(style_, value); }
void TSmoothGradual::setStyleIndex(int index) { setStyle(static_cast<TGradualStyle>(std::clamp(index, 0, 5))); }
void TSmoothGradual::setStartColor(int value) { store(startColor_, value); }
void TSmoothGradual::setEndColor(int value) { store(endColor_, value); }
bool TSmoothGradual::sameValues(const TSmoothGradual& o) const {
  return enabled_ == o.enabled_ && style_ == o.style_ && startColor_ == o.startColor_ && endColor_ == o.endColor_;
}

template <typename T>
void TSmoothTexture::store(T& field, T value) {
  storeValue(field, value, changed_);
}
void TSmoothTexture::setEnabled(bool value) { store(enabled_, value); }
void TSmoothTexture::setMode(PictureMode value) { store(mode_, value); }
void TSmoothTexture::setPicture(std::shared_ptr<const Image24> picture) { store(picture_, std::move(picture)); }
bool TSmoothTexture::sameValues(const TSmoothTexture& o) const {
  return enabled_ == o.enabled_ && mode_ == o.mode_ && picture_ == o.picture_;
}

TSmoothEffect::TSmoothEffect() { bindChildren(); }

TSmoothEffect::TSmoothEffect(const TSmoothEffect& other)
    : alpha_(other.alpha_),
      blur_(other.blur_),
      angle_(other.angle_),
      noise_(other.noise_),
      spray_(other.spray_),
      outline_(other.outline_),
      horzMirror_(other.horzMirror_),
      vertMirror_(other.vertMirror_),
      shadow_(other.shadow_),
      gradual_(other.gradual_),
      texture_(other.texture_) {
  bindChildren();
}

TSmoothEffect& TSmoothEffect::operator=(const TSmoothEffect& other) {
  assign(other);
  return *this;
}

void TSmoothEffect::bindChildren() {
  shadow_.changed_ = [this] { notify(); };
  gradual_.changed_ = [this] { notify(); };
  texture_.changed_ = [this] { notify(); };
}

void TSmoothEffect::notify() {
  if (!assigning_ && onChange_) onChange_();
}

template <typename T>
void TSmoothEffect::store(T& field, T value) {
  if (field == value) return;
  field = value;
  notify();
}

void TSmoothEffect::assign(const TSmoothEffect& other) {
  if (this == &other || *this == other) return;
  assigning_ = true;
  alpha_ = other.alpha_;
  blur_ = other.blur_;
  angle_ = other.angle_;
  noise_ = other.noise_;
  spray_ = other.spray_;
  outline_ = other.outline_;
  horzMirror_ = other.horzMirror_;
  vertMirror_ = other.vertMirror_;
  shadow_.setEnabled(other.shadow_.Enabled());
  shadow_.setBlur(other.shadow_.Blur());
  shadow_.setAlpha(other.shadow_.Alpha());
  shadow_.setColor(other.shadow_.Color());
  shadow_.setOffsetX(other.shadow_.OffsetX());
  shadow_.setOffsetY(other.shadow_.OffsetY());
  gradual_.setEnabled(other.gradual_.Enabled());
  gradual_.setStyle(other.gradual_.Style());
  gradual_.setStartColor(other.gradual_.StartColor());
  gradual_.setEndColor(other.gradual_.EndColor());
  texture_.setEnabled(other.texture_.Enabled());
  texture_.setMode(other.texture_.Mode());
  texture_.setPicture(other.texture_.Picture());
  assigning_ = false;
  notify();
}

void TSmoothEffect::setAlpha(int value) { store(alpha_, std::clamp(value, 0, 100)); }
void TSmoothEffect::setBlur(int value) { store(blur_, std::clamp(value, 0, 100)); }
void TSmoothEffect::setAngle(int value) { store(angle_, std::clamp(value, -360, 360)); }
void TSmoothEffect::setNoise(int value) { store(noise_, std::clamp(value, 0, 255)); }
void TSmoothEffect::setSpray(int value) { store(spray_, std::clamp(value, 0, 255)); }
void TSmoothEffect::setOutline(bool value) { store(outline_, value); }
void TSmoothEffect::setHorzMirror(bool value) { store(horzMirror_, value); }
void TSmoothEffect::setVertMirror(bool value) { store(vertMirror_, value); }

bool TSmoothEffect::operator==(const TSmoothEffect& o) const {
  return alpha_ == o.alpha_ && blur_ == o.blur_ && angle_ == o.angle_ && noise_ == o.noise_ && spray_ == o.spray_ &&
         outline_ == o.outline_ && horzMirror_ == o.horzMirror_ && vertMirror_ == o.vertMirror_ &&
         shadow_.sameValues(o.shadow_) && gradual_.sameValues(o.gradual_) && texture_.sameValues(o.texture_);
}

}  // namespace styledtext
