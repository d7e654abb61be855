#pragma once
// The steps of the pipeline that work on coverage masks alone. Each follows the
// fixed integer arithmetic of the effect model, so a caption looks the same on
// every machine and tests can check it to the pixel.
#include "styledtext/core/image.h"
#include "styledtext/core/rasteriser.h"

namespace styledtext {

// Reduces a k-times supersampled image (k = 1 … 4) to `out`, whose size the
// caller sets; each k × k block becomes one value. At k = 3 the block's
// top-right and bottom-left samples count half, so full coverage gives 254.
void reduceSupersampled(const Mask8& source, int k, Mask8& out);

// Keeps only the edges: the mean of four opposite-neighbour differences; the
// outer rows and columns keep their values.
void outline(Mask8& mask);

// Scatters pixels by up to `radius`, in place, top to bottom, left to right.
void spray(Mask8& mask, int radius, RandomSource& random);

void mirrorHorizontally(Mask8& mask);
void mirrorVertically(Mask8& mask);

// The 5 × 5 box blur mixed into the old value by strength 1 … 100; 0 leaves the
// mask unchanged. `scratch` is reused between calls.
void blur(Mask8& mask, int strength, Mask8& scratch);

// The integer nearest to value ÷ divisor, halves to the even neighbour (both ≥ 0).
int roundHalfEven(long long value, long long divisor);

}  // namespace styledtext
