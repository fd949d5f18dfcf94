#include "gfx/stretch.h"

#include <algorithm>
#include <vector>

namespace orv::gfx {
namespace {

// Tap weights are fixed point: the taps of one destination pixel add up to
// exactly kOne, so sums stay in 32 bits and need no division.
constexpr uint32_t kShift = 14;
constexpr uint32_t kOne = 1u << kShift;

struct Tap {
    int source;      // source index, clamped into the image
    uint32_t weight; // share of the destination pixel, in units of 1 / kOne
};

// For every destination index d of dn, the source indexes of the span
// [start, start + sn) it covers and how much of each: destination pixel d
// covers [d * sn, (d + 1) * sn) and source pixel s covers
// [s * dn, (s + 1) * dn) in units of 1 / (sn * dn).
// Only the destination indexes first .. first + count - 1 are computed.
std::vector<std::vector<Tap>> BoxTaps(int start, int sn, int dn, int limit, int first, int count) {
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(count));
    for (int d = first; d < first + count; ++d) {
        auto& list = taps[static_cast<size_t>(d - first)];
        const int64_t lo = int64_t{d} * sn;
        const int64_t hi = lo + sn;
        uint32_t given = 0;
        size_t largest = 0;
        for (int64_t s = lo / dn; s * dn < hi; ++s) {
            const int64_t overlap = std::min((s + 1) * dn, hi) - std::max(s * dn, lo);
            if (overlap <= 0)
                continue;
            const int index = static_cast<int>(std::clamp<int64_t>(start + s, 0, limit - 1));
            const auto weight = static_cast<uint32_t>(overlap * kOne / sn);
            if (list.empty() || weight > list[largest].weight)
                largest = list.size();
            list.push_back({index, weight});
            given += weight;
        }
        // The rounding remainder goes to the tap that covers most.
        list[largest].weight += kOne - given;
    }
    return taps;
}

// Premultiplied pixel in units of 1/65025: channels c * a, alpha a * 255.
struct Premul {
    uint32_t a, r, g, b;
};

uint32_t Unpremultiply(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    if (a == 0)
        return 0;
    const uint32_t alpha = std::min((a + 127) / 255, 255u);
    auto channel = [&](uint32_t c) { return std::min((c * 255 + a / 2) / a, 255u); };
    return alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
}

void Store(uint32_t& dst, uint32_t value, bool blend) {
    dst = blend ? BlendPixel(dst, value) : value;
}

} // namespace

void StretchDraw(Image& target, const Rect& unclampedDst, const Image& source, const Rect& srcRect,
                 StretchFilter filter, bool blend) {
    const Rect dstRect = ClampRect(unclampedDst);
    if (dstRect.Empty() || srcRect.Empty() || source.Empty() ||
        Intersect(srcRect, Bounds(source)) != srcRect)
        return;
    const Rect visible = Intersect(dstRect, Bounds(target));
    if (visible.Empty())
        return;
    const int dw = dstRect.Width(), dh = dstRect.Height();
    const int sw = srcRect.Width(), sh = srcRect.Height();

    // At the same size both filters are a plain copy (which also keeps the
    // colour of fully transparent pixels).
    if (filter == StretchFilter::Nearest || (sw == dw && sh == dh)) {
        std::vector<int> columns(static_cast<size_t>(visible.Width()));
        for (int x = visible.left; x < visible.right; ++x) {
            const int64_t dx = x - dstRect.left;
            const int64_t sx = srcRect.left + (2 * dx + 1) * sw / (2 * int64_t{dw});
            columns[static_cast<size_t>(x - visible.left)] =
                static_cast<int>(std::clamp<int64_t>(sx, 0, source.width - 1));
        }
        for (int y = visible.top; y < visible.bottom; ++y) {
            const int64_t dy = y - dstRect.top;
            const int64_t sy = srcRect.top + (2 * dy + 1) * sh / (2 * int64_t{dh});
            const uint32_t* row =
                source.Row(static_cast<int>(std::clamp<int64_t>(sy, 0, source.height - 1)));
            uint32_t* out = &target.At(visible.left, y);
            for (size_t i = 0; i < columns.size(); ++i)
                Store(out[i], row[columns[i]], blend);
        }
        return;
    }

    // Area averaging, separable: the horizontal pass runs over the source
    // rows that the visible destination rows need, then the vertical pass.
    const int firstX = visible.left - dstRect.left;
    const int firstY = visible.top - dstRect.top;
    const int columns = visible.Width();
    const auto xTaps = BoxTaps(srcRect.left, sw, dw, source.width, firstX, columns);
    const auto yTaps = BoxTaps(srcRect.top, sh, dh, source.height, firstY, visible.Height());
    int rowLo = source.height, rowHi = -1;
    for (const auto& taps : yTaps)
        for (const Tap& t : taps) {
            rowLo = std::min(rowLo, t.source);
            rowHi = std::max(rowHi, t.source);
        }
    // Horizontal results per needed source row, premultiplied, each
    // channel rounded back to units of 1/65025.
    std::vector<Premul> pass(static_cast<size_t>(rowHi - rowLo + 1) * columns);
    for (int sy = rowLo; sy <= rowHi; ++sy) {
        const uint32_t* row = source.Row(sy);
        Premul* out = &pass[static_cast<size_t>(sy - rowLo) * columns];
        for (int i = 0; i < columns; ++i) {
            uint32_t a = 0, r = 0, g = 0, b = 0;
            for (const Tap& t : xTaps[static_cast<size_t>(i)]) {
                const uint32_t p = row[t.source];
                const uint32_t pa = (p >> 24) * t.weight;
                a += pa * 255;
                r += ((p >> 16) & 0xFF) * pa;
                g += ((p >> 8) & 0xFF) * pa;
                b += (p & 0xFF) * pa;
            }
            constexpr uint32_t half = kOne / 2;
            out[i] = {(a + half) >> kShift, (r + half) >> kShift, (g + half) >> kShift,
                      (b + half) >> kShift};
        }
    }
    for (int y = visible.top; y < visible.bottom; ++y) {
        const auto& taps = yTaps[static_cast<size_t>(y - visible.top)];
        uint32_t* out = target.Row(y) + visible.left;
        for (int i = 0; i < columns; ++i) {
            uint32_t a = 0, r = 0, g = 0, b = 0;
            for (const Tap& t : taps) {
                const Premul& p = pass[static_cast<size_t>(t.source - rowLo) * columns + i];
                a += p.a * t.weight;
                r += p.r * t.weight;
                g += p.g * t.weight;
                b += p.b * t.weight;
            }
            constexpr uint32_t half = kOne / 2;
            Store(out[i],
                  Unpremultiply((a + half) >> kShift, (r + half) >> kShift, (g + half) >> kShift,
                                (b + half) >> kShift),
                  blend);
        }
    }
}

Image Resize(const Image& source, int width, int height, StretchFilter filter) {
    Image out = MakeImage(width, height, 0);
    StretchDraw(out, Bounds(out), source, Bounds(source), filter, false);
    return out;
}

} // namespace orv::gfx
