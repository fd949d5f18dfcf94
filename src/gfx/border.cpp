#include "gfx/border.h"

namespace orv::gfx {
namespace {

// A polyline of the platform's pen: each segment covers its start and not
// its end, so the last point stays undrawn.
void Polyline(Image& canvas, std::initializer_list<std::pair<int, int>> points, ColorRef color) {
    const uint32_t argb = ToArgb(color);
    const std::pair<int, int>* previous = nullptr;
    for (const auto& p : points) {
        if (previous)
            DrawLine(canvas, previous->first, previous->second, p.first, p.second, argb);
        previous = &p;
    }
}

// The bevel's frame on a rectangle whose right and bottom edges are
// inclusive: left and top in the first colour, right and bottom in the
// second.
void BevelRect(Image& canvas, int l, int t, int r, int b, ColorRef first, ColorRef second) {
    Polyline(canvas, {{l, b}, {l, t}, {r, t}}, first);
    Polyline(canvas, {{r, t}, {r, b}, {l, b}}, second);
}

} // namespace

BorderColors PanelBorderColors(int borderStyle, ColorRef borderColor, ColorRef shadowColor) {
    BorderColors c{};
    switch (static_cast<PanelBorderStyle>(borderStyle)) {
    case PanelBorderStyle::Flat:
        c.first = c.second = borderColor;
        break;
    case PanelBorderStyle::Lowered:
        c.first = shadowColor;
        c.second = borderColor;
        break;
    default:
        c.first = borderColor;
        c.second = shadowColor;
        break;
    }
    c.mid = MidColor(c.first, c.second);
    return c;
}

void DrawPanelBorder(Image& canvas, const Rect& client, int border, int borderStyle,
                     ColorRef borderColor, ColorRef shadowColor) {
    const BorderColors c = PanelBorderColors(borderStyle, borderColor, shadowColor);
    const bool flat = borderStyle == static_cast<int>(PanelBorderStyle::Flat);
    const uint32_t f = ToArgb(c.first);
    const uint32_t s = ToArgb(c.second);
    const uint32_t m = ToArgb(c.mid);
    const int l = client.left, t = client.top, r = client.right, b = client.bottom;
    switch (static_cast<PanelBorder>(border)) {
    case PanelBorder::Box:
        Polyline(canvas, {{l, b - 1}, {l, t}, {r - 1, t}}, c.first);
        Polyline(canvas, {{r - 1, t}, {r - 1, b - 1}, {l, b - 1}}, c.second);
        SetPixel(canvas, l, b - 1, m);
        SetPixel(canvas, r - 1, t, m);
        break;
    case PanelBorder::Frame:
        DrawOutline(canvas, Rect{l + 1, t + 1, r, b}, s);
        if (!flat)
            DrawOutline(canvas, Rect{l, t, r - 1, b - 1}, f);
        break;
    case PanelBorder::LeftLine:
        DrawLine(canvas, l, t, l, b, f);
        if (!flat) {
            DrawLine(canvas, l + 1, t, l + 1, b, s);
            SetPixel(canvas, l + 1, t, m);
            SetPixel(canvas, l, b - 1, m);
        }
        break;
    case PanelBorder::TopLine:
        DrawLine(canvas, l, t, r, t, f);
        if (!flat) {
            DrawLine(canvas, l, t + 1, r, t + 1, s);
            SetPixel(canvas, l, t + 1, m);
            SetPixel(canvas, r - 1, t, m);
        }
        break;
    case PanelBorder::RightLine:
        DrawLine(canvas, r - 2, t, r - 2, b, f);
        if (!flat) {
            DrawLine(canvas, r - 1, t, r - 1, b, s);
            SetPixel(canvas, r - 1, t, m);
            SetPixel(canvas, r - 2, b - 1, m);
        }
        break;
    case PanelBorder::BottomLine:
        DrawLine(canvas, l, b - 2, r, b - 2, f);
        if (!flat) {
            DrawLine(canvas, l, b - 1, r, b - 1, s);
            SetPixel(canvas, l, b - 1, m);
            SetPixel(canvas, r - 1, b - 2, m);
        }
        break;
    default:
        break;
    }
}

void DrawBevel(Image& canvas, const Rect& bounds, int shape, int style, ColorRef light,
               ColorRef dark) {
    const bool lowered = style == static_cast<int>(BevelStyle::Lowered);
    const ColorRef first = lowered ? dark : light;
    const ColorRef second = lowered ? light : dark;
    const int l = bounds.left, t = bounds.top, w = bounds.Width(), h = bounds.Height();
    switch (static_cast<BevelShape>(shape)) {
    case BevelShape::Box:
        BevelRect(canvas, l, t, l + w - 1, t + h - 1, first, second);
        break;
    case BevelShape::Frame:
        BevelRect(canvas, l + 1, t + 1, l + w - 1, t + h - 1, second, second);
        BevelRect(canvas, l, t, l + w - 2, t + h - 2, first, first);
        break;
    case BevelShape::TopLine:
        DrawLine(canvas, l, t, l + w, t, ToArgb(first));
        DrawLine(canvas, l, t + 1, l + w, t + 1, ToArgb(second));
        break;
    case BevelShape::BottomLine:
        DrawLine(canvas, l, t + h - 2, l + w, t + h - 2, ToArgb(first));
        DrawLine(canvas, l, t + h - 1, l + w, t + h - 1, ToArgb(second));
        break;
    case BevelShape::LeftLine:
        DrawLine(canvas, l, t, l, t + h, ToArgb(first));
        DrawLine(canvas, l + 1, t, l + 1, t + h, ToArgb(second));
        break;
    case BevelShape::RightLine:
        DrawLine(canvas, l + w - 2, t, l + w - 2, t + h, ToArgb(first));
        DrawLine(canvas, l + w - 1, t, l + w - 1, t + h, ToArgb(second));
        break;
    default:
        break;
    }
}

void DrawGrid(Image& canvas, const Rect& client, int gx, int gy) {
    if (gx < 1 || gy < 1 || client.Empty())
        return;
    const Rect visible = Intersect(client, Bounds(canvas));
    if (visible.Empty())
        return;
    // Only the dots inside the visible part are visited.
    const int64_t lastI = client.Width() / gx;
    const int64_t lastJ = client.Height() / gy;
    const int64_t firstI = (int64_t{visible.left} - client.left + gx - 1) / gx;
    const int64_t firstJ = (int64_t{visible.top} - client.top + gy - 1) / gy;
    for (int64_t j = firstJ; j <= lastJ; ++j) {
        const int64_t y = client.top + j * gy;
        if (y >= visible.bottom)
            break;
        for (int64_t i = firstI; i <= lastI; ++i) {
            const int64_t x = client.left + i * gx;
            if (x >= visible.right)
                break;
            canvas.At(static_cast<int>(x), static_cast<int>(y)) = 0xFF000000u;
        }
    }
}

} // namespace orv::gfx
