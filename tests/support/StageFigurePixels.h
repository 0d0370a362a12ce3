#pragma once
// Pictures of the result scenes' stage: its black sky and its green floor (shadows
// included) are the ground; any other pixel belongs to a figure.
#include <algorithm>

#include "core/Color.h"

namespace stage_pixels {

inline bool IsFigure(Color pixel) {
    const int r = pixel.Red();
    const int g = pixel.Green();
    const int b = pixel.Blue();
    if (std::max({r, g, b}) < 40) return false;
    return !(g > r + 12 && g > b + 8);
}

}  // namespace stage_pixels
