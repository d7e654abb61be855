#pragma once
// The look of a styled caption (opacity, rotation, blur, outline, noise, spray,
// mirrors, drop shadow, gradient or picture fill). A setter stores a value only
// when it differs, clamped to the property's range, and then tells the owner, so
// a label re-renders once per real change. Values read from files are clamped
// too: a missing key reads as the marker 99999, which must not reach the
// pixel arithmetic.
#include <functional>
#include <memory>

#include "styledtext/core/image.h"

namespace styledtext {

using ChangeHandler = std::function<void()>;

class TSmoothShadow {
 public:
  bool Enabled() const { return enabled_; }
  int Blur() const { return blur_; }
  int Alpha() const { return alpha_; }
  int Color() const { return color_; }
  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }

  void setEnabled(bool value);
  void setBlur(int value);   // 0 … 100
  void setAlpha(int value);  // 0 … 100
  void setColor(int value);
  void setOffsetX(int value);  // −20 … 20, positive is right
  void setOffsetY(int value);  // −20 … 20, positive is down

  bool sameValues(const TSmoothShadow& other) const;

 private:
  friend class TSmoothEffect;
  template <typename T>
  void store(T& field, T value);

  bool enabled_ = false;
  int blur_ = 80;
  int alpha_ = 70;
  int color_ = 4473924;
  int offsetX_ = 2;
  int offsetY_ = 2;
  ChangeHandler changed_;
};

enum class TGradualStyle { gsLeftToRight = 0, gsRightToLeft, gsTopToBottom, gsBottomToTop, gsCenterToLR, gsCenterToTB };

class TSmoothGradual {
 public:
  bool Enabled() const { return enabled_; }
  TGradualStyle Style() const { return style_; }
  int StartColor() const { return startColor_; }
  int EndColor() const { return endColor_; }

  void setEnabled(bool value);
  void setStyle(TGradualStyle value);
  // The stored index; out of 0 … 5 clamps to the nearest style.
  void setStyleIndex(int index);
  void setStartColor(int value);
  void setEndColor(int value);

  bool sameValues(const TSmoothGradual& other) const;

 private:
  friend class TSmoothEffect;
  template <typename T>
  void store(T& field, T value);

  bool enabled_ = false;
  TGradualStyle style_ = TGradualStyle::gsLeftToRight;
  int startColor_ = 0xFFFFFF;
  int endColor_ = 0;
  ChangeHandler changed_;
};

class TSmoothTexture {
 public:
  bool Enabled() const { return enabled_; }
  PictureMode Mode() const { return mode_; }
  // Empty when no picture is set. Shared read-only between copies.
  const std::shared_ptr<const Image24>& Picture() const { return picture_; }
  bool hasPicture() const { return picture_ && !picture_->empty(); }

  void setEnabled(bool value);
  void setMode(PictureMode value);
  void setPicture(std::shared_ptr<const Image24> picture);
  void clearPicture() { setPicture(nullptr); }

  bool sameValues(const TSmoothTexture& other) const;

 private:
  friend class TSmoothEffect;
  template <typename T>
  void store(T& field, T value);

  bool enabled_ = false;
  PictureMode mode_ = PictureMode::Tiled;
  std::shared_ptr<const Image24> picture_;
  ChangeHandler changed_;
};

class TSmoothEffect {
 public:
  TSmoothEffect();
  // Copies every property, the three sub-objects and the texture picture, but
  // not the owner's change handler: a copy belongs to no one yet.
  TSmoothEffect(const TSmoothEffect& other);
  TSmoothEffect& operator=(const TSmoothEffect& other);

  // Copies every property of `other` and notifies once when anything changed.
  void assign(const TSmoothEffect& other);
  void setOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

  int Alpha() const { return alpha_; }
  int Blur() const { return blur_; }
  int Angle() const { return angle_; }
  int Noise() const { return noise_; }
  int Spray() const { return spray_; }
  bool Outline() const { return outline_; }
  bool HorzMirror() const { return horzMirror_; }
  bool VertMirror() const { return vertMirror_; }

  void setAlpha(int value);  // 0 … 100
  void setBlur(int value);   // 0 … 100
  void setAngle(int value);  // −360 … 360, counter-clockwise
  void setNoise(int value);  // 0 … 255
  void setSpray(int value);  // 0 … 255 (the dialog's limit)
  void setOutline(bool value);
  void setHorzMirror(bool value);
  void setVertMirror(bool value);

  TSmoothShadow& Shadow() { return shadow_; }
  const TSmoothShadow& Shadow() const { return shadow_; }
  TSmoothGradual& Gradual() { return gradual_; }
  const TSmoothGradual& Gradual() const { return gradual_; }
  TSmoothTexture& Texture() { return texture_; }
  const TSmoothTexture& Texture() const { return texture_; }

  bool operator==(const TSmoothEffect& other) const;

 private:
  template <typename T>
  void store(T& field, T value);
  void bindChildren();
  void notify();

  int alpha_ = 100;
  int blur_ = 0;
  int angle_ = 0;
  int noise_ = 0;
  int spray_ = 0;
  bool outline_ = false;
  bool horzMirror_ = false;
  bool vertMirror_ = false;
  TSmoothShadow shadow_;
  TSmoothGradual gradual_;
  TSmoothTexture texture_;
  ChangeHandler onChange_;
  // While assign() copies, the children's notifications are held back.
  bool assigning_ = false;
};

}  // namespace styledtext
