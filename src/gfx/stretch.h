// Scaled copies of a picture: the platform's colour-on-colour stretch
// (rows and columns dropped or repeated) and an area-averaging one for
// smoother reductions.
#pragma once

#include "gfx/raster.h"

namespace orv::gfx {

enum class StretchFilter {
    // Destination pixel (x, y) of a w x h target takes the source pixel under
    // its centre: source x = left + ((2x + 1) * source width) div (2w).
    Nearest,
    // Each destination pixel averages the source area it covers, weighted
    // by coverage and alpha (transparent pixels lend no colour).
    Smooth,
};

// Draws `srcRect` of `source` scaled onto `dstRect` of `target`, clipped to
// the target. `srcRect` must lie inside the source image, or nothing is
// drawn. With `blend` the result is alpha-blended over the target,
// otherwise it replaces the target's pixels. Empty rectangles draw nothing.
void StretchDraw(Image& target, const Rect& dstRect, const Image& source, const Rect& srcRect,
                 StretchFilter filter, bool blend);

// The whole source scaled to width x height.
Image Resize(const Image& source, int width, int height, StretchFilter filter);

} // namespace orv::gfx
