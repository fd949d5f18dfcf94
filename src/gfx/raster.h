// Rectangles and the basic pixel operations on an Image: clipped fills,
// one-pixel lines and outlines with the platform's pen rules, opacity
// scaling and alpha blending. Pixels are 0xAARRGGBB, straight alpha.
#pragma once

#include "gfx/codecs.h"

#include <cstdint>

namespace orv::gfx {

// Left and top inside, right and bottom outside, as on the platform.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

inline Rect Bounds(const Image& image) {
    return Rect{0, 0, image.width, image.height};
}

// Coordinates far beyond any picture are pulled into +-kCoordLimit before
// the drawing functions do arithmetic on them, so that widths and edges
// plus or minus one cannot overflow. Rectangles come from stored object
// bounds, which a damaged file can set to anything.
inline constexpr int kCoordLimit = 1 << 28;
Rect ClampRect(const Rect& r);
int SaturateToInt(int64_t v);
Rect Intersect(const Rect& a, const Rect& b);
Rect Offset(const Rect& r, int dx, int dy);
// The rectangle of the given size at (x, y); far edges saturate instead of
// overflowing.
Rect RectOfSize(int x, int y, int width, int height);

// A new image of the given size, every pixel `fill`. Negative sizes give an
// empty image.
Image MakeImage(int width, int height, uint32_t fill = 0);

// All drawing below is clipped to the image.
void SetPixel(Image& image, int x, int y, uint32_t argb);
void FillRect(Image& image, const Rect& rect, uint32_t argb);

// A line from p to q covers p but not q, like the platform's one-pixel
// pen. Only horizontal and vertical lines are needed (and supported:
// other lines draw nothing).
void DrawLine(Image& image, int x0, int y0, int x1, int y1, uint32_t argb);
// The pixels such a line covers, as a rectangle (empty for other lines).
Rect LineCoverage(int x0, int y0, int x1, int y1);

// The outline of the platform's rectangle call with a clear brush: columns
// left and right - 1, rows top and bottom - 1.
void DrawOutline(Image& image, const Rect& rect, uint32_t argb);

// shown = source with every alpha scaled to percent * alpha div 100
// (percent clamped to 0..100); colour channels are copied unchanged.
void ScaleAlpha(const Image& source, int percent, Image& shown);

// Blends one straight-alpha pixel over another.
uint32_t BlendPixel(uint32_t dst, uint32_t src);

// Draws `source` with its top-left at (x, y), blending its alpha over what
// the image holds (blend) or replacing the pixels (copy).
void DrawImage(Image& target, int x, int y, const Image& source, bool blend);

} // namespace orv::gfx
