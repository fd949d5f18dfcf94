#include "gfx/border.h"

#include <initializer_list>
#include <utility>

namespace orv::gfx {
namespace {

// One-pixel drawing clipped to the control's rectangle, as the platform
// clips painting to a control: a border must never spill onto a
// neighbour, even on a control narrower than the border.
class Pen {
public:
    Pen(Image& canvas, const Rect& clip) : canvas_(canvas), clip_(clip) {}

    void Line(int x0, int y0, int x1, int y1, uint32_t argb) {
        FillRect(canvas_, Intersect(LineCoverage(x0, y0, x1, y1), clip_), argb);
    }
    void Pixel(int x, int y, uint32_t argb) { Line(x, y, x + 1, y, argb); }
    void Outline(const Rect& r, uint32_t argb) {
        if (r.Empty())
            return;
        Line(r.left, r.top, r.right, r.top, argb);
        Line(r.left, r.bottom - 1, r.right, r.bottom - 1, argb);
        Line(r.left, r.top, r.left, r.bottom, argb);
        Line(r.right - 1, r.top, r.right - 1, r.bottom, argb);
    }
    // A polyline of the platform's pen: each segment covers its start and
    // not its end, so the last point stays undrawn.
    void Polyline(std::initializer_list<std::pair<int, int>> points, ColorRef color) {
        const uint32_t argb = ToArgb(color);
        const std::pair<int, int>* previous = nullptr;
        for (const auto& p : points) {
            if (previous)
                Line(previous->first, previous->second, p.first, p.second, argb);
            previous = &p;
        }
    }

private:
    Image& canvas_;
    Rect clip_;
};

// The bevel's frame on a rectangle whose right and bottom edges are
// inclusive: left and top in the first colour, right and bottom in the
// second.
void BevelRect(Pen& pen, int l, int t, int r, int b, ColorRef first, ColorRef second) {
    pen.Polyline({{l, b}, {l, t}, {r, t}}, first);
    pen.Polyline({{r, t}, {r, b}, {l, b}}, second);
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

void DrawPanelBorder(Image& canvas, const Rect& unclamped, int border, int borderStyle,
                     ColorRef borderColor, ColorRef shadowColor) {
    const Rect client = ClampRect(unclamped);
    Pen pen(canvas, client);
    const BorderColors c = PanelBorderColors(borderStyle, borderColor, shadowColor);
    const bool flat = borderStyle == static_cast<int>(PanelBorderStyle::Flat);
    const uint32_t f = ToArgb(c.first);
    const uint32_t s = ToArgb(c.second);
    const uint32_t m = ToArgb(c.mid);
    const int l = client.left, t = client.top, r = client.right, b = client.bottom;
    switch (static_cast<PanelBorder>(border)) {
    case PanelBorder::Box:
        pen.Polyline({{l, b - 1}, {l, t}, {r - 1, t}}, c.first);
        pen.Polyline({{r - 1, t}, {r - 1, b - 1}, {l, b - 1}}, c.second);
        pen.Pixel(l, b - 1, m);
        pen.Pixel(r - 1, t, m);
        break;
    case PanelBorder::Frame:
        pen.Outline(Rect{l + 1, t + 1, r, b}, s);
        if (!flat)
            pen.Outline(Rect{l, t, r - 1, b - 1}, f);
        break;
    case PanelBorder::LeftLine:
        pen.Line(l, t, l, b, f);
        if (!flat) {
            pen.Line(l + 1, t, l + 1, b, s);
            pen.Pixel(l + 1, t, m);
            pen.Pixel(l, b - 1, m);
        }
        break;
    case PanelBorder::TopLine:
        pen.Line(l, t, r, t, f);
        if (!flat) {
            pen.Line(l, t + 1, r, t + 1, s);
            pen.Pixel(l, t + 1, m);
            pen.Pixel(r - 1, t, m);
        }
        break;
    case PanelBorder::RightLine:
        pen.Line(r - 2, t, r - 2, b, f);
        if (!flat) {
            pen.Line(r - 1, t, r - 1, b, s);
            pen.Pixel(r - 1, t, m);
            pen.Pixel(r - 2, b - 1, m);
        }
        break;
    case PanelBorder::BottomLine:
        pen.Line(l, b - 2, r, b - 2, f);
        if (!flat) {
            pen.Line(l, b - 1, r, b - 1, s);
            pen.Pixel(l, b - 1, m);
            pen.Pixel(r - 1, b - 2, m);
        }
        break;
    default:
        break;
    }
}

void DrawBevel(Image& canvas, const Rect& unclamped, int shape, int style, ColorRef light,
               ColorRef dark) {
    const Rect bounds = ClampRect(unclamped);
    Pen pen(canvas, bounds);
    const bool lowered = style == static_cast<int>(BevelStyle::Lowered);
    const ColorRef first = lowered ? dark : light;
    const ColorRef second = lowered ? light : dark;
    const int l = bounds.left, t = bounds.top, w = bounds.Width(), h = bounds.Height();
    switch (static_cast<BevelShape>(shape)) {
    case BevelShape::Box:
        BevelRect(pen, l, t, l + w - 1, t + h - 1, first, second);
        break;
    case BevelShape::Frame:
        BevelRect(pen, l + 1, t + 1, l + w - 1, t + h - 1, second, second);
        BevelRect(pen, l, t, l + w - 2, t + h - 2, first, first);
        break;
    case BevelShape::TopLine:
        pen.Line(l, t, l + w, t, ToArgb(first));
        pen.Line(l, t + 1, l + w, t + 1, ToArgb(second));
        break;
    case BevelShape::BottomLine:
        pen.Line(l, t + h - 2, l + w, t + h - 2, ToArgb(first));
        pen.Line(l, t + h - 1, l + w, t + h - 1, ToArgb(second));
        break;
    case BevelShape::LeftLine:
        pen.Line(l, t, l, t + h, ToArgb(first));
        pen.Line(l + 1, t, l + 1, t + h, ToArgb(second));
        break;
    case BevelShape::RightLine:
        pen.Line(l + w - 2, t, l + w - 2, t + h, ToArgb(first));
        pen.Line(l + w - 1, t, l + w - 1, t + h, ToArgb(second));
        break;
    default:
        break;
    }
}

void DrawGrid(Image& canvas, const Rect& unclamped, int gx, int gy) {
    const Rect client = ClampRect(unclamped);
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
