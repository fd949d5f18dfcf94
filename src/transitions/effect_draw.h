// Drawing primitives of the transition effects: scaled copies from the new
// picture into the frame (mirrored destinations included) and coverage
// masks built from rectangles, rounded rectangles and polygons, through
// which the whole new picture is drawn. Everything clips to the frame, and
// every coordinate is clamped before arithmetic, so rectangles that reach
// far outside the picture are harmless.
#pragma once

#include "gfx/codecs.h"
#include "gfx/raster.h"

#include <cstdint>
#include <vector>

namespace orv::transitions {

// a * b / c in 64 bits, rounded to the nearest integer with halves away
// from zero. A zero divisor gives -1, as on the platform.
int MulDiv(int64_t a, int64_t b, int64_t c);

// Scales the area src of picture onto the area dst of screen, each
// destination pixel taking the source pixel under its centre. A
// destination whose left is greater than its right (or top greater than
// bottom) is mirrored: it covers the pixels strictly between the two
// edges, as the platform's stretching copy does with exchanged edges.
// Source samples outside the picture leave the frame pixel as it was; an
// empty source draws nothing.
void CopyScaled(gfx::Image& screen, const gfx::Rect& dst, const gfx::Image& picture,
                const gfx::Rect& src);
// The area r of picture copied unscaled into the same place of screen.
void CopyInPlace(gfx::Image& screen, const gfx::Image& picture, const gfx::Rect& r);

struct Point {
    int x = 0;
    int y = 0;
};

// Which pixels of the frame take the new picture. A pixel is covered by a
// shape when its centre lies inside the shape.
class Mask {
public:
    Mask(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Covered(int x, int y) const { return cells_[Index(x, y)] != 0; }

    void AddRect(const gfx::Rect& r);
    // The platform's rounded rectangle: corners are quarter ellipses of the
    // full width ew and height eh, each limited to the rectangle's size.
    void AddRoundRect(const gfx::Rect& r, int ew, int eh);
    // A polygon filled with the non-zero winding rule.
    void AddPolygon(const std::vector<Point>& points);

    void IntersectWith(const Mask& other);
    void XorWith(const Mask& other);

    // Draws the new picture into screen wherever the mask is covered.
    void Apply(gfx::Image& screen, const gfx::Image& picture) const;

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
    void FillSpan(int y, int x0, int x1);

    int width_;
    int height_;
    std::vector<uint8_t> cells_;
};

} // namespace orv::transitions
