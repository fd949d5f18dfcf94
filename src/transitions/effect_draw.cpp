#include "transitions/effect_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orv::transitions {

int MulDiv(int64_t a, int64_t b, int64_t c) {
    if (c == 0)
        return -1;
    const int64_t p = a * b;
    const bool negative = (p < 0) != (c < 0);
    const int64_t ap = p < 0 ? -p : p;
    const int64_t ac = c < 0 ? -c : c;
    const int64_t q = (2 * ap + ac) / (2 * ac);
    return gfx::SaturateToInt(negative ? -q : q);
}

namespace {

// For each destination index of [0, limit), the source index it samples,
// or -1 when it is outside the destination span or the sample falls
// outside the picture. from > to marks a mirrored span covering the
// indexes strictly between the two.
std::vector<int> SampleMap(int limit, int from, int to, int srcStart, int srcLength, int srcLimit) {
    std::vector<int> map(static_cast<size_t>(limit), -1);
    int64_t lo = from, hi = to;
    bool mirrored = false;
    if (from > to) {
        mirrored = true;
        lo = int64_t{to} + 1;
        hi = from;
    }
    const int64_t length = hi - lo;
    if (length <= 0 || srcLength <= 0)
        return map;
    const int64_t first = std::max<int64_t>(lo, 0);
    const int64_t last = std::min<int64_t>(hi, limit);
    for (int64_t d = first; d < last; ++d) {
        int64_t offset = d - lo;
        if (mirrored)
            offset = length - 1 - offset;
        const int64_t s = srcStart + (2 * offset + 1) * srcLength / (2 * length);
        if (s >= 0 && s < srcLimit)
            map[static_cast<size_t>(d)] = static_cast<int>(s);
    }
    return map;
}

} // namespace

void CopyScaled(gfx::Image& screen, const gfx::Rect& dst, const gfx::Image& picture,
                const gfx::Rect& src) {
    const gfx::Rect d = gfx::ClampRect(dst);
    const gfx::Rect s = gfx::ClampRect(src);
    if (s.Empty() || screen.Empty() || picture.Empty())
        return;
    const std::vector<int> cols =
        SampleMap(screen.width, d.left, d.right, s.left, s.Width(), picture.width);
    const std::vector<int> rows =
        SampleMap(screen.height, d.top, d.bottom, s.top, s.Height(), picture.height);
    int x0 = 0;
    while (x0 < screen.width && cols[static_cast<size_t>(x0)] < 0)
        ++x0;
    int x1 = screen.width;
    while (x1 > x0 && cols[static_cast<size_t>(x1 - 1)] < 0)
        --x1;
    if (x0 >= x1)
        return;
    for (int y = 0; y < screen.height; ++y) {
        const int sy = rows[static_cast<size_t>(y)];
        if (sy < 0)
            continue;
        uint32_t* out = screen.Row(y);
        const uint32_t* in = picture.Row(sy);
        for (int x = x0; x < x1; ++x) {
            const int sx = cols[static_cast<size_t>(x)];
            if (sx >= 0)
                out[x] = in[sx];
        }
    }
}

void CopyInPlace(gfx::Image& screen, const gfx::Image& picture, const gfx::Rect& r) {
    const gfx::Rect c = gfx::Intersect(gfx::Intersect(gfx::ClampRect(r), gfx::Bounds(screen)),
                                       gfx::Bounds(picture));
    if (c.Empty())
        return;
    for (int y = c.top; y < c.bottom; ++y)
        std::memcpy(screen.Row(y) + c.left, picture.Row(y) + c.left,
                    static_cast<size_t>(c.Width()) * sizeof(uint32_t));
}

Mask::Mask(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      cells_(static_cast<size_t>(width_) * height_, 0) {}

void Mask::FillSpan(int y, int x0, int x1) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_);
    if (y < 0 || y >= height_ || x0 >= x1)
        return;
    std::memset(&cells_[Index(x0, y)], 1, static_cast<size_t>(x1 - x0));
}

void Mask::AddRect(const gfx::Rect& r) {
    const gfx::Rect c = gfx::Intersect(gfx::ClampRect(r), gfx::Rect{0, 0, width_, height_});
    for (int y = c.top; y < c.bottom; ++y)
        FillSpan(y, c.left, c.right);
}

void Mask::AddRoundRect(const gfx::Rect& rect, int ew, int eh) {
    const gfx::Rect r = gfx::ClampRect(rect);
    if (r.Empty())
        return;
    const double rx = std::min<double>(std::max(ew, 0), r.Width()) / 2.0;
    const double ry = std::min<double>(std::max(eh, 0), r.Height()) / 2.0;
    const int y0 = std::max(r.top, 0);
    const int y1 = std::min(r.bottom, height_);
    for (int y = y0; y < y1; ++y) {
        const double cy = y + 0.5;
        double inset = 0;
        if (rx > 0 && ry > 0) {
            // Distance of the row centre beyond the straight part of the
            // sides, into the top or bottom corner ellipses.
            double beyond = 0;
            if (cy < r.top + ry)
                beyond = r.top + ry - cy;
            else if (cy > r.bottom - ry)
                beyond = cy - (r.bottom - ry);
            if (beyond > 0) {
                const double t = beyond / ry;
                if (t >= 1)
                    continue;
                inset = rx - rx * std::sqrt(1 - t * t);
            }
        }
        // Pixels whose centres lie within [left + inset, right - inset].
        const double left = r.left + inset;
        const double right = r.right - inset;
        const auto x0 = static_cast<int64_t>(std::ceil(left - 0.5));
        const auto x1 = static_cast<int64_t>(std::floor(right - 0.5)) + 1;
        FillSpan(y, static_cast<int>(std::clamp<int64_t>(x0, -1, width_ + 1)),
                 static_cast<int>(std::clamp<int64_t>(x1, -1, width_ + 1)));
    }
}

void Mask::AddPolygon(const std::vector<Point>& points) {
    const size_t n = points.size();
    if (n < 3)
        return;
    int top = points[0].y, bottom = points[0].y;
    for (const Point& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, height_);
    struct Crossing {
        double x;
        int winding;
    };
    std::vector<Crossing> crossings;
    for (int y = top; y < bottom; ++y) {
        const double cy = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < n; ++i) {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % n];
            if (a.y == b.y)
                continue;
            const bool down = b.y > a.y;
            const double ylo = down ? a.y : b.y;
            const double yhi = down ? b.y : a.y;
            if (cy < ylo || cy >= yhi)
                continue;
            const double x =
                a.x + (cy - a.y) * static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y);
            crossings.push_back({x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        int winding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].winding;
            if (winding == 0)
                continue;
            // Pixels whose centres lie in [x_i, x_i+1).
            const double from = std::ceil(crossings[i].x - 0.5);
            const double to = std::ceil(crossings[i + 1].x - 0.5);
            FillSpan(y, static_cast<int>(std::clamp(from, -1.0, width_ + 1.0)),
                     static_cast<int>(std::clamp(to, -1.0, width_ + 1.0)));
        }
    }
}

void Mask::IntersectWith(const Mask& other) {
    if (other.width_ != width_ || other.height_ != height_)
        return;
    for (size_t i = 0; i < cells_.size(); ++i)
        cells_[i] = static_cast<uint8_t>(cells_[i] & other.cells_[i]);
}

void Mask::XorWith(const Mask& other) {
    if (other.width_ != width_ || other.height_ != height_)
        return;
    for (size_t i = 0; i < cells_.size(); ++i)
        cells_[i] = static_cast<uint8_t>(cells_[i] ^ other.cells_[i]);
}

void Mask::Apply(gfx::Image& screen, const gfx::Image& picture) const {
    const int w = std::min({width_, screen.width, picture.width});
    const int h = std::min({height_, screen.height, picture.height});
    for (int y = 0; y < h; ++y) {
        const uint8_t* m = &cells_[Index(0, y)];
        uint32_t* out = screen.Row(y);
        const uint32_t* in = picture.Row(y);
        for (int x = 0; x < w; ++x)
            if (m[x])
                out[x] = in[x];
    }
}

} // namespace orv::transitions
