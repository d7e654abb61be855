#pragma once
// What shows through a coverage mask (a solid colour, a gradient, a texture, with
// or without noise) and the composition of it over the pixels beneath.
#include <vector>

#include "styledtext/core/effect.h"
#include "styledtext/core/image.h"
#include "styledtext/core/rasteriser.h"

namespace styledtext {

// The ramp of a gradient over length L: L entries for styles 0 … 3, mirrored
// around the middle for styles 4 and 5. The far colour itself is never reached.
std::vector<Rgb> gradientRamp(const TSmoothGradual& gradual, int length);

// A width × height image of the gradient (columns for styles 0, 1, 4; rows for 2, 3, 5).
void fillGradient(Image24& image, const TSmoothGradual& gradual, int width, int height);

// Every byte v becomes v + rnd(amount) − amount div 2, clamped to 0 … 255.
void addNoise(Image24& image, int amount, RandomSource& random);

// The fill of the text: texture (picture drawn over the font colour), else
// gradient, else noise around the font colour, each with noise when set; false
// when none applies and the solid font colour is the fill.
bool makeFill(Image24& fill, const TSmoothEffect& effect, int fontColor, int width, int height, RandomSource& random);

// Composes `fill` (or the solid colour when fill is null) through `mask` at
// opacity `alpha` (0 … 100) onto `target`, the mask's top-left at (x, y),
// clipped to the target.
void compose(Image24& target, int x, int y, const Mask8& mask, Rgb solid, const Image24* fill, int alpha);

}  // namespace styledtext
