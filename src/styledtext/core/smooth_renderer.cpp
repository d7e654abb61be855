#include "styledtext/core/smooth_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "styledtext/core/fill.h"
#include "styledtext/core/mask_effects.h"

namespace styledtext {
namespace {

// A supersampled image larger than this renders at k = 1: a missing font size
// read as 99999 must not take the machine's memory.
constexpr long long kMaxSupersampledPixels = 64LL * 1024 * 1024;

int nearest(double value) { return static_cast<int>(std::nearbyint(value)); }

// The buffers of one render, shared by the thread's renderers.
struct SharedBuffers {
  Mask8 supersampled;
  Mask8 shadowMask;
  Mask8 scratch;
};
SharedBuffers& sharedBuffers() {
  static thread_local SharedBuffers buffers;
  return buffers;
}

}  // namespace

int StdRandomSource::below(int n) {
  if (n <= 0) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(engine_);
}

int supersampling(TSmoothQuality quality) {
  switch (quality) {
    case TSmoothQuality::sqHigh:
      return 4;
    case TSmoothQuality::sqNormal:
      return 3;
    case TSmoothQuality::sqLow:
      return 2;
    case TSmoothQuality::sqNone:
      return 1;
  }
  return 3;
}

RotatedBox rotateBox(int width, int height, int angle) {
  const double theta = angle * std::numbers::pi / 180.0;
  const double s = std::sin(-theta), c = std::cos(-theta);
  const double hw = width / 2.0, hh = height / 2.0;
  const int xs[4] = {nearest(hh * s - hw * c), nearest(hw * c + hh * s), nearest(-hw * c - hh * s),
                     nearest(hw * c - hh * s)};
  const int ys[4] = {nearest(-hw * s - hh * c), nearest(hw * s - hh * c), nearest(hh * c - hw * s),
                     nearest(hw * s + hh * c)};
  RotatedBox box;
  box.width = *std::max_element(xs, xs + 4) - *std::min_element(xs, xs + 4);
  box.height = *std::max_element(ys, ys + 4) - *std::min_element(ys, ys + 4);
  box.originX = box.width / 2 + xs[0];
  box.originY = box.height / 2 + ys[0];
  return box;
}

SmoothRenderer::SmoothRenderer(TextRasteriser& rasteriser, RandomSource* random)
    : rasteriser_(rasteriser), random_(random ? *random : ownRandom_) {}

TextExtent SmoothRenderer::textBox(std::string_view text, const FontRecord& font, int k) {
  if (text.empty()) return {};
  const TextExtent e = rasteriser_.extent(text, font, k);
  TextExtent box{(e.width + k - 1) / k, (e.height + k - 1) / k};
  if (font.italic) box.width += nearest(0.3 * box.width / static_cast<double>(text.size()));
  return box;
}

TextExtent SmoothRenderer::measure(std::string_view text, const FontRecord& font, const TSmoothEffect& effect,
                                   TSmoothQuality quality) {
  TextExtent box = textBox(text, font, supersampling(quality));
  if (effect.Angle() != 0 && !text.empty()) {
    const RotatedBox r = rotateBox(box.width, box.height, effect.Angle());
    box = {r.width, r.height};
  }
  if (effect.Shadow().Enabled()) {
    box.width += std::abs(effect.Shadow().OffsetX());
    box.height += std::abs(effect.Shadow().OffsetY());
  }
  return box;
}

const Mask8& SmoothRenderer::coverage(std::string_view text, const FontRecord& font, const TSmoothEffect& effect,
                                      int k) {
  TextExtent box = textBox(text, font, k);
  int originX = 0, originY = 0;
  if (effect.Angle() != 0 && !text.empty()) {
    const RotatedBox r = rotateBox(box.width, box.height, effect.Angle());
    box = {r.width, r.height};
    originX = r.originX;
    originY = r.originY;
  }
  if (static_cast<long long>(box.width) * box.height * k * k > kMaxSupersampledPixels && k > 1) {
    return coverage(text, font, effect, 1);
  }
  mask_.reset(box.width, box.height);
  if (mask_.empty()) return mask_;
  Mask8& supersampled = sharedBuffers().supersampled;
  supersampled.reset(box.width * k, box.height * k);
  rasteriser_.draw(supersampled, text, font, k, effect.Angle(), originX * k, originY * k);
  reduceSupersampled(supersampled, k, mask_);

  if (effect.Outline()) outline(mask_);
  if (effect.Spray() != 0) spray(mask_, effect.Spray(), random_);
  if (effect.HorzMirror()) mirrorHorizontally(mask_);
  if (effect.VertMirror()) mirrorVertically(mask_);
  return mask_;
}

void SmoothRenderer::draw(Canvas canvas, int x, int y, std::string_view text, const FontRecord& font,
                          const TSmoothEffect& effect, TSmoothQuality quality) {
  if (text.empty()) return;
  const TextExtent box = measure(text, font, effect, quality);
  if (box.width <= 0 || box.height <= 0) return;

  if (canvas.transparent) {
    work_.reset(box.width, box.height);
    blit(work_, -x, -y, canvas.image);
  } else {
    work_.reset(box.width, box.height, canvas.brush);
  }

  const Mask8& mask = coverage(text, font, effect, supersampling(quality));
  int textX = 0, textY = 0;
  const TSmoothShadow& shadow = effect.Shadow();
  if (shadow.Enabled()) {
    textX = std::max(0, -shadow.OffsetX());
    textY = std::max(0, -shadow.OffsetY());
    Mask8& shadowMask = sharedBuffers().shadowMask;
    shadowMask = mask;
    blur(shadowMask, shadow.Blur(), sharedBuffers().scratch);
    compose(work_, std::max(0, shadow.OffsetX()), std::max(0, shadow.OffsetY()), shadowMask, rgbOf(shadow.Color()),
            nullptr, effect.Alpha() * shadow.Alpha() / 100);
  }
  blur(mask_, effect.Blur(), sharedBuffers().scratch);
  const bool hasFill = makeFill(fill_, effect, font.color, mask_.width(), mask_.height(), random_);
  compose(work_, textX, textY, mask_, rgbOf(font.color), hasFill ? &fill_ : nullptr, effect.Alpha());
  blit(canvas.image, x, y, work_);
  releaseBuffers();
}

void SmoothRenderer::releaseBuffers() {
  // A caption renders when its text or look changes, seldom next to the hours
  // the screen shows it; every caption kept buffers the size of its box. The
  // thread's shared buffers stay: there is one set of them, and making the
  // supersampled one afresh would cost each render more than it saves.
  mask_ = Mask8();
  work_ = Image24();
  fill_ = Image24();
}

}  // namespace styledtext
