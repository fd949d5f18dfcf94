// Slow, literal versions of the renderer's arithmetic, written straight
// from its description, against which the fast renderer is compared over many
// sizes and random inputs.
#pragma once

#include "base/random.h"
#include "fxtext/mask.h"
#include "gfx/codecs.h"
#include "gfx/color.h"
#include "gfx/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace orv::fx::ref {

// A coverage map as rows of numbers, map[r][k].
using Grid = std::vector<std::vector<int>>;

inline Grid FromMask(const TFxMask& m) {
    Grid g(static_cast<size_t>(m.Height()), std::vector<int>(static_cast<size_t>(m.Width())));
    for (int r = 0; r < m.Height(); ++r)
        for (int k = 0; k < m.Width(); ++k)
            g[r][k] = m.Line(r)[k];
    return g;
}

inline TFxMask ToMask(const Grid& g, TFxQuality q = TFxQuality::aqNormal) {
    TFxMask m;
    m.SetQuality(q);
    const int h = static_cast<int>(g.size());
    const int w = h ? static_cast<int>(g[0].size()) : 0;
    m.SetSize(w, h);
    for (int r = 0; r < h; ++r)
        for (int k = 0; k < w; ++k)
            m.Line(r)[k] = static_cast<uint8_t>(g[r][k]);
    return m;
}

// A reproducible pseudo-random grid (its own generator, so tests do not
// disturb the process's one).
inline Grid RandomGrid(int w, int h, uint32_t seed, int sparse = 0) {
    Grid g(static_cast<size_t>(h), std::vector<int>(static_cast<size_t>(w)));
    uint32_t s = seed;
    for (auto& row : g)
        for (int& v : row) {
            s = s * 1103515245u + 12345u;
            v = static_cast<int>((s >> 16) & 0xFF);
            if (sparse && ((s >> 8) & 3) != 0)
                v = (v & 1) ? 255 : 0; // mostly solid ink or none, like glyphs
        }
    return g;
}

// Round with halves to even, on reals.
inline long RoundEven(double v) {
    return std::lrint(v); // the default rounding mode is to nearest, ties to even
}

inline int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

// Reduction of an f x f block, as the renderer defines it.
inline int ReduceBlock(const TFxGrayBitmap& s, int f, int bx, int by) {
    auto at = [&](int r, int c) { return int{s.Row(by * f + r)[bx * f + c]}; };
    switch (f) {
    case 4: {
        int sum = 0;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                sum += at(r, c);
        return sum >> 4;
    }
    case 3:
        return (at(0, 0) + at(0, 1) + at(0, 2) / 2 + at(1, 0) + at(1, 1) + at(1, 2) + at(2, 0) / 2 +
                at(2, 1) + at(2, 2)) >>
               3;
    case 2:
        return (at(0, 0) + at(0, 1) + at(1, 0) + at(1, 1)) >> 2;
    default:
        return at(0, 0);
    }
}

inline Grid Outline(const Grid& c) {
    Grid out = c;
    const int h = static_cast<int>(c.size());
    if (h < 3)
        return out;
    const int w = static_cast<int>(c[0].size());
    for (int r = 1; r < h - 1; ++r)
        for (int k = 1; k < w - 1; ++k) {
            const int s =
                std::abs(c[r + 1][k + 1] - c[r - 1][k - 1]) + std::abs(c[r + 1][k] - c[r - 1][k]) +
                std::abs(c[r][k + 1] - c[r][k - 1]) + std::abs(c[r + 1][k - 1] - c[r - 1][k + 1]);
            out[r][k] = s < 1024 ? s >> 2 : 255;
        }
    return out;
}

inline Grid Blur(const Grid& c, int amount) {
    const int h = static_cast<int>(c.size());
    const int w = h ? static_cast<int>(c[0].size()) : 0;
    const long f = RoundEven(amount * 255.0 / 100.0);
    Grid out = c;
    for (int r = 0; r < h; ++r)
        for (int k = 0; k < w; ++k) {
            int s = 0;
            for (int i = -2; i <= 2; ++i)
                for (int j = -2; j <= 2; ++j)
                    s += c[Clamp(r + i, 0, h - 1)][Clamp(k + j, 0, w - 1)];
            const int v = static_cast<int>(RoundEven(s / 25.0));
            const int old = c[r][k];
            if (f == 255)
                out[r][k] = v;
            else
                out[r][k] =
                    old + static_cast<int>(std::floor((v - old) * static_cast<double>(f) / 256.0));
        }
    return out;
}

inline Grid Spray(Grid m, int amount) {
    const int h = static_cast<int>(m.size());
    const int w = h ? static_cast<int>(m[0].size()) : 0;
    for (int r = 0; r < h; ++r)
        for (int k = 0; k < w; ++k) {
            const int n = static_cast<int>(Random::Next(static_cast<uint32_t>(amount + 1)));
            const int r1 = static_cast<int>(Random::Next(static_cast<uint32_t>(2 * n)));
            const int r2 = static_cast<int>(Random::Next(static_cast<uint32_t>(2 * n)));
            m[r][k] = m[Clamp(r + n - r2, 0, h - 1)][Clamp(k + n - r1, 0, w - 1)];
        }
    return m;
}

// One channel moved toward the fill by t/256, shifted with the sign kept.
inline int Toward(int d, int fill, int t) {
    return d + static_cast<int>(std::floor((fill - d) * t / 256.0));
}

// Composites a grid onto an image at (x, y) with the fill from fillAt(k, r)
// (0x00RRGGBB), skipping what lies outside the image.
template <typename FillAt>
void Composite(gfx::Image& target, int x, int y, const Grid& g, int percent, FillAt fillAt) {
    const int k = Clamp(percent, 0, 100) * 256 / 100;
    for (int r = 0; r < static_cast<int>(g.size()); ++r)
        for (int c = 0; c < static_cast<int>(g[r].size()); ++c) {
            const int tx = x + c, ty = y + r;
            if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height)
                continue;
            const int b = g[r][c] * k;
            uint32_t& p = target.At(tx, ty);
            const uint32_t fill = fillAt(c, r);
            if (b >= 65280) {
                p = (p & 0xFF000000u) | (fill & 0xFFFFFF);
            } else if (b >= 256) {
                const int t = b >> 8;
                const int rr = Toward(static_cast<int>((p >> 16) & 0xFF),
                                      static_cast<int>((fill >> 16) & 0xFF), t);
                const int gg = Toward(static_cast<int>((p >> 8) & 0xFF),
                                      static_cast<int>((fill >> 8) & 0xFF), t);
                const int bb = Toward(static_cast<int>(p & 0xFF), static_cast<int>(fill & 0xFF), t);
                p = (p & 0xFF000000u) | static_cast<uint32_t>(rr) << 16 |
                    static_cast<uint32_t>(gg) << 8 | static_cast<uint32_t>(bb);
            }
        }
}

// The gradient line as RGB triples.
inline std::vector<uint32_t> GradientLine(int length, int style, gfx::ColorRef start,
                                          gfx::ColorRef end) {
    const bool center = style == 4 || style == 5;
    const int n = center ? (length + 1) / 2 : length;
    const bool forward = style == 0 || style == 2;
    const gfx::ColorRef from = forward ? start : end;
    const gfx::ColorRef to = forward ? end : start;
    std::vector<uint32_t> line(static_cast<size_t>(length));
    auto ch = [&](int a, int b, int i) {
        // "div" truncates toward zero.
        return a + static_cast<int>(std::trunc(static_cast<double>(i) * (b - a) / n));
    };
    for (int i = 0; i < n; ++i) {
        const int r = ch(static_cast<int>(gfx::RedOf(from)), static_cast<int>(gfx::RedOf(to)), i);
        const int g =
            ch(static_cast<int>(gfx::GreenOf(from)), static_cast<int>(gfx::GreenOf(to)), i);
        const int b = ch(static_cast<int>(gfx::BlueOf(from)), static_cast<int>(gfx::BlueOf(to)), i);
        line[static_cast<size_t>(i)] = static_cast<uint32_t>(r << 16 | g << 8 | b);
    }
    if (center)
        for (int i = 0; i < n; ++i)
            line[static_cast<size_t>(length - 1 - i)] = line[static_cast<size_t>(i)];
    return line;
}

inline gfx::Image RandomImage(int w, int h, uint32_t seed) {
    gfx::Image img = gfx::MakeImage(w, h);
    uint32_t s = seed;
    for (uint32_t& p : img.pixels) {
        s = s * 1664525u + 1013904223u;
        p = 0xFF000000u | (s >> 8);
    }
    return img;
}

} // namespace orv::fx::ref
