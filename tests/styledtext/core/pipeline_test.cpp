#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "block_rasteriser.h"
#include "styledtext/core/fill.h"
#include "styledtext/core/mask_effects.h"
#include "styledtext/core/smooth_renderer.h"

namespace styledtext {
namespace {

class FixedRandom : public RandomSource {
 public:
  int below(int n) override { return n > 0 ? n - 1 : 0; }
};

Mask8 maskOf(int width, const std::vector<int>& values) {
  Mask8 m(width, static_cast<int>(values.size()) / width);
  for (std::size_t i = 0; i < values.size(); ++i)
    m.at(static_cast<int>(i) % width, static_cast<int>(i) / width) = values[i];
  return m;
}

TEST(Composition, FollowsTheThresholdsAndShiftsOfTheFormula) {
  struct Case {
    int mask, alpha, dest, fill, expected;
  } cases[] = {
      {0, 100, 40, 200, 40},     // t = 0 < 256: unchanged
      {255, 0, 40, 200, 40},     // alpha 0 draws nothing
      {255, 100, 40, 200, 200},  // t = 65280: exactly the fill
      {128, 100, 0, 255, 127},   // w = 128
      {255, 50, 0, 255, 126},    // A' = 128, t = 32640, w = 127
      {128, 100, 255, 0, 127},   // negative difference shifts arithmetically
      {1, 100, 0, 255, 0},       // t = 256: w = 1, (255 × 1) >> 8 = 0
      {254, 100, 0, 255, 253},   // k = 3's full coverage is not exactly the fill
  };
  for (const Case& c : cases) {
    Image24 target(1, 1, Rgb{static_cast<std::uint8_t>(c.dest), 0, 0});
    const Mask8 mask(1, 1, static_cast<std::uint8_t>(c.mask));
    compose(target, 0, 0, mask, Rgb{static_cast<std::uint8_t>(c.fill), 0, 0}, nullptr, c.alpha);
    EXPECT_EQ(target.pixel(0, 0).r, c.expected) << "mask " << c.mask << " alpha " << c.alpha;
  }
}

TEST(Blur, FullStrengthSpreadsOneWhitePixelOverItsNeighbourhood) {
  Mask8 mask(9, 9);
  mask.at(4, 4) = 255;
  Mask8 scratch;
  Mask8 full = mask;
  blur(full, 100, scratch);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool inside = x >= 2 && x <= 6 && y >= 2 && y <= 6;
      EXPECT_EQ(full.at(x, y), inside ? 10 : 0) << x << "," << y;
    }

  // Strength 50: w = 128 (127.5 to even); the centre 255 + ((10 − 255) × 128 >> 8) = 132.
  Mask8 half = mask;
  blur(half, 50, scratch);
  EXPECT_EQ(half.at(4, 4), 132);
  EXPECT_EQ(half.at(2, 2), 5);
  EXPECT_EQ(half.at(1, 1), 0);

  // Edge pixels are clamped: a white corner counts nine times in its own sum.
  Mask8 corner(5, 5);
  corner.at(0, 0) = 255;
  blur(corner, 100, scratch);
  EXPECT_EQ(corner.at(0, 0), 92);  // 9 × 255 ÷ 25 = 91.8
}

// The blur as its formula reads: every pixel's 5 × 5 sum taken afresh with
// clamped coordinates. The pipeline's blur keeps running sums and padded edges;
// both must agree on masks narrower and shorter than the window, at every strength
// that takes a different branch.
TEST(Blur, AgreesWithTheFormulaOnEveryShapeAndStrength) {
  auto reference = [](const Mask8& source, int strength) {
    Mask8 out = source;
    const int w = roundHalfEven(static_cast<long long>(strength) * 255, 100);
    for (int y = 0; y < source.height(); ++y)
      for (int x = 0; x < source.width(); ++x) {
        int sum = 0;
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx)
            sum += source.at(std::clamp(x + dx, 0, source.width() - 1), std::clamp(y + dy, 0, source.height() - 1));
        const int m = (sum + 12) / 25;
        const int v = source.at(x, y);
        out.at(x, y) = static_cast<std::uint8_t>(w == 255 ? m : v + (((m - v) * w) >> 8));
      }
    return out;
  };
  unsigned seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  Mask8 scratch;
  for (const auto& [width, height] : {std::pair{1, 1}, {1, 7}, {7, 1}, {2, 3}, {4, 4}, {5, 5}, {33, 9}, {130, 17}}) {
    Mask8 source(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) source.at(x, y) = static_cast<std::uint8_t>(next() % 3 == 0 ? 255 : next() & 0xFF);
    for (int strength : {1, 37, 50, 99, 100}) {
      Mask8 blurred = source;
      blur(blurred, strength, scratch);
      EXPECT_EQ(blurred, reference(source, strength)) << width << " x " << height << " strength " << strength;
    }
  }
}

TEST(Supersampling, ReducesBlocksWithTheWeightsOfEachFactor) {
  struct Case {
    int k;
    std::vector<std::pair<int, int>> lit;  // samples set to 255 in the block
    int expected;
  } cases[] = {
      {1, {{0, 0}}, 255},
      {2, {{0, 0}, {1, 1}}, 127},
      {4, {{0, 0}, {3, 3}, {1, 2}}, 47},  // 765 >> 4
      {3, {{2, 0}}, 15},                  // top-right counts half: 127 >> 3
      {3, {{0, 2}}, 15},                  // bottom-left counts half
      {3, {{0, 0}}, 31},                  // others count whole: 255 >> 3
      {3, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}, 254},
  };
  for (const Case& c : cases) {
    Mask8 source(c.k * 2, c.k);
    for (auto [x, y] : c.lit) source.at(x, y) = 255;
    Mask8 out(2, 1);
    reduceSupersampled(source, c.k, out);
    EXPECT_EQ(out.at(0, 0), c.expected) << "k " << c.k;
    EXPECT_EQ(out.at(1, 0), 0);
  }
}

TEST(MaskEffects, OutlineKeepsTheEdgeAndMirrorsReverse) {
  Mask8 edge = maskOf(6, {0, 0, 0, 255, 255, 255,  //
                          0, 0, 0, 255, 255, 255,  //
                          0, 0, 0, 255, 255, 255});
  outline(edge);
  EXPECT_EQ(edge, maskOf(6, {0, 0, 0, 255, 255, 255,  //
                             0, 0, 191, 191, 0, 255,  //
                             0, 0, 0, 255, 255, 255}));

  Mask8 m = maskOf(3, {1, 2, 3, 4, 5, 6});
  mirrorHorizontally(m);
  EXPECT_EQ(m, maskOf(3, {3, 2, 1, 6, 5, 4}));
  mirrorVertically(m);
  EXPECT_EQ(m, maskOf(3, {6, 5, 4, 3, 2, 1}));
}

TEST(MaskEffects, SprayTakesValuesFromWithinTheRadius) {
  // With rnd(n) = n − 1: r = radius, offsets r − (2r − 1) = −r + 1 … so each
  // pixel copies the one one row up and one column left of radius 2 (−1, −1).
  Mask8 m = maskOf(3, {10, 20, 30, 40, 50, 60, 70, 80, 90});
  FixedRandom random;
  spray(m, 2, random);
  EXPECT_EQ(m, maskOf(3, {10, 10, 10, 10, 10, 10, 10, 10, 10}));
}

TEST(Gradient, RampsAndMirroredRamps) {
  TSmoothGradual g;
  g.setStartColor(0xFFFFFF);
  g.setEndColor(0);
  g.setStyle(TGradualStyle::gsCenterToLR);
  auto reds = [&](int length) {
    std::vector<int> r;
    for (Rgb c : gradientRamp(g, length)) r.push_back(c.r);
    return r;
  };
  EXPECT_EQ(reds(5), (std::vector<int>{0, 85, 170, 85, 0}));
  EXPECT_EQ(reds(4), (std::vector<int>{0, 127, 127, 0}));
  g.setStyle(TGradualStyle::gsLeftToRight);
  EXPECT_EQ(reds(4), (std::vector<int>{255, 192, 128, 64}));  // the end colour is never reached
  g.setStyle(TGradualStyle::gsBottomToTop);
  EXPECT_EQ(reds(2), (std::vector<int>{0, 127}));

  Image24 image;
  g.setStyle(TGradualStyle::gsCenterToTB);
  fillGradient(image, g, 2, 3);
  EXPECT_EQ(image.pixel(1, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(image.pixel(0, 1), (Rgb{127, 127, 127}));
  EXPECT_EQ(image.pixel(1, 2), (Rgb{0, 0, 0}));
}

TEST(Fill, NoiseIsClampedAndTheTextureWinsOverTheGradient) {
  TSmoothEffect effect;
  FixedRandom random;  // rnd(11) = 10: each byte + 10 − 5
  effect.setNoise(11);
  Image24 fill;
  ASSERT_TRUE(makeFill(fill, effect, colorOf({252, 0, 100}), 2, 1, random));
  EXPECT_EQ(fill.pixel(1, 0), (Rgb{255, 5, 105}));

  effect.setNoise(0);
  effect.Gradual().setEnabled(true);
  auto picture = std::make_shared<Image24>(1, 1, Rgb{9, 8, 7});
  effect.Texture().setPicture(picture);
  effect.Texture().setMode(PictureMode::Normal);
  effect.Texture().setEnabled(true);
  ASSERT_TRUE(makeFill(fill, effect, colorOf({1, 2, 3}), 2, 1, random));
  EXPECT_EQ(fill.pixel(0, 0), (Rgb{9, 8, 7}));
  EXPECT_EQ(fill.pixel(1, 0), (Rgb{1, 2, 3}));  // the font colour around the picture

  effect.Texture().clearPicture();
  ASSERT_TRUE(makeFill(fill, effect, 0, 2, 1, random));
  EXPECT_EQ(fill.pixel(0, 0), (Rgb{255, 255, 255}));  // gradient from white
  effect.Gradual().setEnabled(false);
  EXPECT_FALSE(makeFill(fill, effect, 0, 2, 1, random));
}

TEST(Geometry, RotationSwapsOrTurnsTheBox) {
  struct Case {
    int angle, width, height;
    RotatedBox expected;
  } cases[] = {
      {90, 100, 20, {20, 100, 0, 100}},    // text runs upward from the bottom-left
      {180, 100, 20, {100, 20, 100, 20}},  // upside down from the bottom-right
      {-90, 100, 20, {20, 100, 20, 0}},
      {45, 10, 10, {14, 14, 0, 7}},
  };
  for (const Case& c : cases) {
    const RotatedBox r = rotateBox(c.width, c.height, c.angle);
    EXPECT_EQ(r.width, c.expected.width) << c.angle;
    EXPECT_EQ(r.height, c.expected.height) << c.angle;
    EXPECT_EQ(r.originX, c.expected.originX) << c.angle;
    EXPECT_EQ(r.originY, c.expected.originY) << c.angle;
  }
}

TEST(Renderer, MeasuresWithScaleItalicRotationAndShadow) {
  BlockRasteriser rasteriser;
  SmoothRenderer renderer(rasteriser);
  FontRecord font;
  TSmoothEffect effect;
  EXPECT_EQ(renderer.measure("abc", font, effect), (TextExtent{6, 3}));
  EXPECT_EQ(renderer.measure("", font, effect), (TextExtent{0, 0}));
  font.italic = true;
  EXPECT_EQ(renderer.measure("abc", font, effect), (TextExtent{7, 3}));  // + round(0.3 × 6 ÷ 3)
  font.italic = false;
  effect.Shadow().setEnabled(true);
  effect.Shadow().setOffsetX(3);
  effect.Shadow().setOffsetY(-2);
  EXPECT_EQ(renderer.measure("abc", font, effect), (TextExtent{9, 5}));
  EXPECT_EQ(renderer.measure("", font, effect), (TextExtent{3, 2}));
  effect.Shadow().setEnabled(false);
  effect.setAngle(90);
  // The half height 1.5 rounds outward on one side: the rotated box is 4 wide.
  EXPECT_EQ(renderer.measure("abc", font, effect), (TextExtent{4, 6}));
}

TEST(Renderer, PlacesTextAndShadowInTheBoxAndKeepsWhatIsBeneath) {
  BlockRasteriser rasteriser;
  SmoothRenderer renderer(rasteriser);
  FontRecord font;
  font.color = colorOf({255, 0, 0});
  TSmoothEffect effect;
  effect.Shadow().setEnabled(true);
  effect.Shadow().setOffsetX(3);
  effect.Shadow().setOffsetY(-2);
  effect.Shadow().setAlpha(100);
  effect.Shadow().setBlur(0);
  effect.Shadow().setColor(colorOf({0, 0, 255}));
  const Rgb white{255, 255, 255}, red{255, 0, 0}, blue{0, 0, 255};

  Image24 image(12, 8, white);
  renderer.draw(Canvas{image, true}, 1, 1, "ab", font, effect, TSmoothQuality::sqNone);
  // Box 7 × 5 at (1, 1): text 4 × 3 at (0, 2), shadow at (3, 0).
  EXPECT_EQ(image.pixel(1, 1), white);
  EXPECT_EQ(image.pixel(1, 3), red);
  EXPECT_EQ(image.pixel(4, 3), red);  // text over its shadow
  EXPECT_EQ(image.pixel(5, 3), blue);
  EXPECT_EQ(image.pixel(7, 1), blue);
  EXPECT_EQ(image.pixel(7, 4), white);
  EXPECT_EQ(image.pixel(8, 1), white);

  // An opaque canvas paints the whole box in its brush first.
  Image24 opaque(12, 8, white);
  effect.Shadow().setEnabled(false);
  effect.setAlpha(0);
  renderer.draw(Canvas{opaque, false, Rgb{1, 2, 3}}, 0, 0, "ab", font, effect, TSmoothQuality::sqNone);
  EXPECT_EQ(opaque.pixel(0, 0), (Rgb{1, 2, 3}));
  EXPECT_EQ(opaque.pixel(4, 0), white);

  // Alpha 0 over a transparent canvas draws nothing; drawing off the edge is clipped.
  Image24 clear(4, 4, white);
  renderer.draw(Canvas{clear, true}, -1, -1, "ab", font, effect, TSmoothQuality::sqNone);
  EXPECT_EQ(clear, Image24(4, 4, white));
  effect.setAlpha(100);
  renderer.draw(Canvas{clear, true}, -1, 2, "abcdef", font, effect, TSmoothQuality::sqNone);
  EXPECT_EQ(clear.pixel(0, 3), red);
  EXPECT_EQ(clear.pixel(0, 1), white);
}

}  // namespace
}  // namespace styledtext
