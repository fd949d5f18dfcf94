#include "gfx/gradient.h"

#include <algorithm>
#include <vector>

namespace orv::gfx {
namespace {

// The colour of one row (vertical codes, coordinate y) or one column
// (horizontal codes, coordinate x). `start` and `end` are the rectangle's
// edges along the gradient.
ColorRef LineColor(int code, ColorRef a, ColorRef b, int64_t start, int64_t end, int64_t v) {
    const int64_t size = end - start;
    switch (code) {
    case gradient::kTopBottom:
    case gradient::kLeftRight:
        return InterpolateColor(a, b, v - start, size);
    case gradient::kBottomTop:
    case gradient::kRightLeft:
        return InterpolateColor(b, a, v - start, size);
    case gradient::kTopBottomMiddle:
        std::swap(a, b);
        [[fallthrough]];
    case gradient::kMiddleTopBottom: {
        // The upper half runs from B at the edge to A; the lower half from
        // A at the middle row to B. Divisions truncate toward zero, so an
        // odd height puts the extra row in the lower half.
        const int64_t half = size / 2;
        const int64_t middle = (start + end) / 2;
        if (v < middle)
            return InterpolateColor(b, a, v - start, half);
        return InterpolateColor(a, b, v - middle, half);
    }
    case gradient::kLeftRightMiddle:
        std::swap(a, b);
        [[fallthrough]];
    case gradient::kMiddleLeftRight: {
        // Mirrored around the middle column c: column c - 1 - k and column
        // c + k take the same colour.
        const int64_t half = size / 2;
        const int64_t middle = (start + end) / 2;
        if (v < middle)
            return InterpolateColor(a, b, middle - 1 - v, half);
        return InterpolateColor(a, b, v - middle, half);
    }
    default:
        return 0;
    }
}

} // namespace

void FillGradient(Image& canvas, int code, ColorRef a, const Rect& rect, ColorRef b) {
    if (rect.Empty() || code < 1 || code > 8)
        return;
    const Rect visible = Intersect(rect, Bounds(canvas));
    if (visible.Empty())
        return;
    const bool vertical = code == gradient::kTopBottom || code == gradient::kBottomTop ||
                          code == gradient::kMiddleTopBottom || code == gradient::kTopBottomMiddle;
    if (vertical) {
        for (int y = visible.top; y < visible.bottom; ++y) {
            const uint32_t argb = ToArgb(LineColor(code, a, b, rect.top, rect.bottom, y));
            std::fill_n(&canvas.At(visible.left, y), visible.Width(), argb);
        }
        return;
    }
    std::vector<uint32_t> row(static_cast<size_t>(visible.Width()));
    for (int x = visible.left; x < visible.right; ++x)
        row[static_cast<size_t>(x - visible.left)] =
            ToArgb(LineColor(code, a, b, rect.left, rect.right, x));
    for (int y = visible.top; y < visible.bottom; ++y)
        std::copy(row.begin(), row.end(), &canvas.At(visible.left, y));
}

int PanelGradientCode(int gradientStyle) {
    switch (gradientStyle) {
    case 0:
        return 0;
    case 1:
        return gradient::kTopBottom;
    case 2:
        return gradient::kBottomTop;
    case 3:
        return gradient::kLeftRight;
    case 4:
        return gradient::kRightLeft;
    case 5:
        return gradient::kMiddleTopBottom;
    case 6:
        return gradient::kMiddleLeftRight;
    case 7:
        return gradient::kTopBottomMiddle;
    case 8:
        return gradient::kLeftRightMiddle;
    default:
        return gradient::kTopBottom;
    }
}

} // namespace orv::gfx
