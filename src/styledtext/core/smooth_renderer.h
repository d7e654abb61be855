#pragma once
// Turns a text, a font and an effect into pixels: measuring, the supersampled
// coverage mask, rotation, mask effects, shadow, blur, fill and composition.
// One renderer belongs to one caption, so its buffers (coverage mask, work and
// fill images) live between renders; they only grow. The buffers used only
// within one render (the rasteriser's supersampled image, the shadow's mask and
// the blur's scratch mask) are shared by the renderers of a thread, which render
// one at a time, and only grow as well: a screen of captions holds them once.
#include <random>
#include <string_view>

#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"
#include "styledtext/core/image.h"
#include "styledtext/core/rasteriser.h"

namespace styledtext {

// Supersampling: sqHigh 4, sqNormal 3, sqLow 2, sqNone 1.
enum class TSmoothQuality { sqHigh, sqNormal, sqLow, sqNone };
int supersampling(TSmoothQuality quality);

// The bounding box of a w × h box rotated `angle` degrees, and where the
// unrotated box's top-left corner lands in it, so the text is centred.
struct RotatedBox {
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
};
RotatedBox rotateBox(int width, int height, int angle);

// Where the text is drawn: an image and either its own pixels (transparent: the
// text composes over what is there) or a solid brush colour under the box.
struct Canvas {
  Image24& image;
  bool transparent = true;
  Rgb brush{};
};

class StdRandomSource : public RandomSource {
 public:
  int below(int n) override;

 private:
  std::minstd_rand engine_{std::random_device{}()};
};

class SmoothRenderer {
 public:
  // The rasteriser and random source must outlive the renderer; a null random
  // source means an internal one.
  explicit SmoothRenderer(TextRasteriser& rasteriser, RandomSource* random = nullptr);

  // Width and height of the drawn box, including rotation and the shadow's
  // room; 0 × 0 (plus the shadow's room) for an empty text.
  TextExtent measure(std::string_view text, const FontRecord& font, const TSmoothEffect& effect,
                     TSmoothQuality quality = TSmoothQuality::sqNormal);

  // Draws so that the measured box's top-left corner is at (x, y); clipped to
  // the canvas.
  void draw(Canvas canvas, int x, int y, std::string_view text, const FontRecord& font, const TSmoothEffect& effect,
            TSmoothQuality quality = TSmoothQuality::sqNormal);

  // The coverage mask after rotation, mirrors, outline and spray (steps before
  // shadow and blur), sized as the measured box without the shadow's room.
  const Mask8& coverage(std::string_view text, const FontRecord& font, const TSmoothEffect& effect, int k);

 private:
  TextExtent textBox(std::string_view text, const FontRecord& font, int k);
  void releaseBuffers();

  TextRasteriser& rasteriser_;
  StdRandomSource ownRandom_;
  RandomSource& random_;
  Mask8 mask_;
  Image24 work_;
  Image24 fill_;
};

}  // namespace styledtext
