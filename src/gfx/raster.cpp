#include "gfx/raster.h"

#include "gfx/color.h"

#include <algorithm>

namespace orv::gfx {

ColorRef InterpolateColor(ColorRef a, ColorRef b, int64_t i, int64_t n) {
    const int64_t steps = std::max<int64_t>(n, 1);
    auto channel = [&](uint32_t ca, uint32_t cb) -> uint32_t {
        // Round((cb - ca) * i / steps), halves to even, in exact integers.
        const int64_t p = (static_cast<int64_t>(cb) - static_cast<int64_t>(ca)) * i;
        int64_t q = p / steps;
        int64_t r = p % steps;
        if (r < 0) { // floor division
            --q;
            r += steps;
        }
        if (2 * r > steps || (2 * r == steps && (q & 1) != 0))
            ++q;
        return static_cast<uint32_t>(std::clamp<int64_t>(ca + q, 0, 255));
    };
    return MakeColorRef(channel(RedOf(a), RedOf(b)), channel(GreenOf(a), GreenOf(b)),
                        channel(BlueOf(a), BlueOf(b)));
}

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.Empty())
        return Rect{};
    return r;
}

Rect Offset(const Rect& r, int dx, int dy) {
    return Rect{SaturateToInt(int64_t{r.left} + dx), SaturateToInt(int64_t{r.top} + dy),
                SaturateToInt(int64_t{r.right} + dx), SaturateToInt(int64_t{r.bottom} + dy)};
}

int SaturateToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

Rect ClampRect(const Rect& r) {
    auto c = [](int v) { return std::clamp(v, -kCoordLimit, kCoordLimit); };
    return Rect{c(r.left), c(r.top), c(r.right), c(r.bottom)};
}

Rect RectOfSize(int x, int y, int width, int height) {
    return Rect{x, y, SaturateToInt(int64_t{x} + width), SaturateToInt(int64_t{y} + height)};
}

Image MakeImage(int width, int height, uint32_t fill) {
    Image image;
    if (width <= 0 || height <= 0)
        return image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    return image;
}

void SetPixel(Image& image, int x, int y, uint32_t argb) {
    if (x >= 0 && y >= 0 && x < image.width && y < image.height)
        image.At(x, y) = argb;
}

void FillRect(Image& image, const Rect& rect, uint32_t argb) {
    const Rect r = Intersect(rect, Bounds(image));
    for (int y = r.top; y < r.bottom; ++y)
        std::fill_n(&image.At(r.left, y), r.Width(), argb);
}

Rect LineCoverage(int x0, int y0, int x1, int y1) {
    const Rect c = ClampRect(Rect{x0, y0, x1, y1});
    if (c.top == c.bottom) {
        // Covers x0 and every pixel up to, not including, x1.
        if (c.right >= c.left)
            return Rect{c.left, c.top, c.right, c.top + 1};
        return Rect{c.right + 1, c.top, c.left + 1, c.top + 1};
    }
    if (c.left == c.right) {
        if (c.bottom >= c.top)
            return Rect{c.left, c.top, c.left + 1, c.bottom};
        return Rect{c.left, c.bottom + 1, c.left + 1, c.top + 1};
    }
    return Rect{};
}

void DrawLine(Image& image, int x0, int y0, int x1, int y1, uint32_t argb) {
    FillRect(image, LineCoverage(x0, y0, x1, y1), argb);
}

void DrawOutline(Image& image, const Rect& unclamped, uint32_t argb) {
    const Rect rect = ClampRect(unclamped);
    if (rect.Empty())
        return;
    FillRect(image, Rect{rect.left, rect.top, rect.right, rect.top + 1}, argb);
    FillRect(image, Rect{rect.left, rect.bottom - 1, rect.right, rect.bottom}, argb);
    FillRect(image, Rect{rect.left, rect.top, rect.left + 1, rect.bottom}, argb);
    FillRect(image, Rect{rect.right - 1, rect.top, rect.right, rect.bottom}, argb);
}

void ScaleAlpha(const Image& source, int percent, Image& shown) {
    const uint32_t a = static_cast<uint32_t>(std::clamp(percent, 0, 100));
    if (shown.width != source.width || shown.height != source.height ||
        shown.pixels.size() != source.pixels.size())
        shown = source;
    for (size_t i = 0; i < source.pixels.size(); ++i) {
        const uint32_t p = source.pixels[i];
        shown.pixels[i] = (a * (p >> 24) / 100) << 24 | (p & 0x00FFFFFFu);
    }
}

uint32_t BlendPixel(uint32_t dst, uint32_t src) {
    const uint32_t sa = src >> 24;
    if (sa == 255)
        return src;
    if (sa == 0)
        return dst;
    const uint32_t da = dst >> 24;
    if (da == 255) {
        // The common case of an opaque canvas: each channel is
        // round((s * sa + d * (255 - sa)) / 255), no tie possible.
        auto over = [&](int shift) {
            const uint32_t x = ((src >> shift) & 0xFF) * sa + ((dst >> shift) & 0xFF) * (255 - sa);
            return (x + 128 + ((x + 128) >> 8)) >> 8;
        };
        return 0xFF000000u | over(16) << 16 | over(8) << 8 | over(0);
    }
    // out alpha = sa + da * (1 - sa); colours weighted by their share of it.
    const uint32_t dw = da * (255 - sa); // 0..255*255
    const uint32_t outA255 = sa * 255 + dw;
    auto mix = [&](int shift) {
        const uint32_t s = (src >> shift) & 0xFF;
        const uint32_t d = (dst >> shift) & 0xFF;
        return (s * sa * 255 + d * dw + outA255 / 2) / outA255;
    };
    const uint32_t outA = (outA255 + 127) / 255;
    return outA << 24 | mix(16) << 16 | mix(8) << 8 | mix(0);
}

void DrawImage(Image& target, int x, int y, const Image& source, bool blend) {
    const Rect dst = Intersect(RectOfSize(x, y, source.width, source.height), Bounds(target));
    for (int ty = dst.top; ty < dst.bottom; ++ty) {
        const uint32_t* s = source.Row(ty - y) + (dst.left - x);
        uint32_t* d = &target.At(dst.left, ty);
        if (!blend) {
            std::copy_n(s, dst.Width(), d);
            continue;
        }
        for (int i = 0; i < dst.Width(); ++i)
            d[i] = BlendPixel(d[i], s[i]);
    }
}

} // namespace orv::gfx
