#include "transitions/effects.h"

#include "base/random.h"
#include "gfx/raster.h"
#include "transitions/effect_draw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

namespace orv::transitions {
namespace {

// The display names, in effect-number order, letter for letter as users
// know them (misspellings included). 33 and 34 repeat the names of 18 and
// 25 although they draw differently.
constexpr std::array<const char*, kEffectCount> kNames = {
    "Expand from right",                                       // 1
    "Expand from left",                                        // 2
    "Slide in from right",                                     // 3
    "Slide in from left",                                      // 4
    "Reveal from left",                                        // 5
    "Reveal from right",                                       // 6
    "Expand in from right",                                    // 7
    "Expand in from left",                                     // 8
    "Expand in to middle",                                     // 9
    "Expand out from middle",                                  // 10
    "Reveal out from middle",                                  // 11
    "Reveal in from sides",                                    // 12
    "Expand in from sides",                                    // 13
    "Unroll from left",                                        // 14
    "Unroll from right",                                       // 15
    "Build up from right",                                     // 16
    "Build up from left",                                      // 17
    "Expand from bottom",                                      // 18
    "Expand from top",                                         // 19
    "Slide in from bottom",                                    // 20
    "Slide in from top",                                       // 21
    "Reveal from top",                                         // 22
    "Reveal from bottom",                                      // 23
    "Expand in from bottom",                                   // 24
    "Expand in from top",                                      // 25
    "Expand in to middle (horiz)",                             // 26
    "Expand out from middle (horiz)",                          // 27
    "Reveal from middle (horiz)",                              // 28
    "Slide in from top / bottom",                              // 29
    "Expand in from top / bottom",                             // 30
    "Unroll from top",                                         // 31
    "Unroll from bottom",                                      // 32
    "Expand from bottom",                                      // 33
    "Expand in from top",                                      // 34
    "Expand from bottom right",                                // 35
    "Expand from top right",                                   // 36
    "Expand from top left",                                    // 37
    "Expand from bottom left",                                 // 38
    "Slide in from bottom right",                              // 39
    "Slide in from top right",                                 // 40
    "Slide in from top left",                                  // 41
    "Slide in from bottom left",                               // 42
    "Reveal from top left",                                    // 43
    "Reveal from bottom left",                                 // 44
    "Reveal from bottom right",                                // 45
    "Reveal from top right",                                   // 46
    "Appear and Contract to top left",                         // 47
    "Appear and Contract to bottom left",                      // 48
    "Appear and Contract to bottom right",                     // 49
    "Appear and Contract to top right",                        // 50
    "Appear and Contract to middle",                           // 51
    "Expand out from centre",                                  // 52
    "Reveal out from centre",                                  // 53
    "Reveal in to centre",                                     // 54
    "Quarters Reveal in to middle",                            // 55
    "Quarters Expand to middle",                               // 56
    "Quarters Slide in to middle",                             // 57
    "Curved Reveal from left",                                 // 58
    "Curved Reveal from right",                                // 59
    "Bars in from right",                                      // 60
    "Bars in from left",                                       // 61
    "Bars left then right",                                    // 62
    "Bars right then left",                                    // 63
    "Bars from both sides",                                    // 64
    "Uneven shred from right",                                 // 65
    "Uneven shred from left",                                  // 66
    "Uneven shred out from middle (horiz)",                    // 67
    "Uneven shred in to middle (horiz)",                       // 68
    "Curved Reveal from top",                                  // 69
    "Curved Reveal from bottom",                               // 70
    "Bars from bottom",                                        // 71
    "Bars from top",                                           // 72
    "Bars top then bottom",                                    // 73
    "Bars bottom then top",                                    // 74
    "Bars from top and bottom",                                // 75
    "Unven shred from bottom",                                 // 76
    "Uneven shred from top",                                   // 77
    "Uneven shred from horizon",                               // 78
    "Uneven shred in to horizon",                              // 79
    "Curved reveal from top left",                             // 80
    "Curved reveal from top right",                            // 81
    "Curved reveal from bottom left",                          // 82
    "Curved reveal from bottom right",                         // 83
    "Circular reveal from centre",                             // 84
    "Circular reveal to centre",                               // 85
    "Criss Cross reveal from bottom right",                    // 86
    "Criss Cross reveal from top right",                       // 87
    "Criss Cross reveal from bottom left",                     // 88
    "Criss Cross reveal from top left",                        // 89
    "Criss Cross reveal bounce from top left",                 // 90
    "Criss Cross reveal bounce from bottom left",              // 91
    "Criss Cross reveal bounce from top right",                // 92
    "Criss Cross reveal bounce from bottom right",             // 93
    "Criss Cross reveal from right top and bottom",            // 94
    "Criss Cross reveal from left top and bottom",             // 95
    "Criss Cross reveal from left right and bottom",           // 96
    "Criss Cross reveal from left right and top",              // 97
    "Criss Cross reveal from top left right and bottom",       // 98
    "Criss Cross reveal from bottom left top right",           // 99
    "Uneven shred from bottom and right",                      // 100
    "Uneven shred from top and right",                         // 101
    "Uneven shred from bottom and left",                       // 102
    "Uneven shred from top and left",                          // 103
    "Uneven shred from horiz and right",                       // 104
    "Uneven shred from horiz and left",                        // 105
    "Uneven shred from bottom and vert middle",                // 106
    "Uneven shred from top and vert middle",                   // 107
    "Uneven shred from centre",                                // 108
    "Uneven shred to centre",                                  // 109
    "Reveal diagonal from top left",                           // 110
    "Reveal diagonal from top right",                          // 111
    "Reveal diagonal from bottom left",                        // 112
    "Reveal diagonal from bottom right",                       // 113
    "Diagonal sweep from top left bottom right anticlockwise", // 114
    "Diagonal sweep from top left bottom right clockwise",     // 115
    "Starburst clockwise from center",                         // 116
    "Triangular shred to top left",                            // 117
    "Fade",                                                    // 118
    "Pivot from top left",                                     // 119
    "Pivot from bottom left",                                  // 120
    "Pivot from top right",                                    // 121
    "Pivot from bottom right",                                 // 122
    "Speckle appear from right",                               // 123
    "Speckle appear from left",                                // 124
    "Speckle appear from bottom",                              // 125
    "Speckle appear from top",                                 // 126
    "Random squares appear",                                   // 127
    "Push right",                                              // 128
    "Push left",                                               // 129
    "Push and squeeze right",                                  // 130
    "Push and squeeze left",                                   // 131
    "Push down",                                               // 132
    "Push up",                                                 // 133
    "Push and sqeeze down",                                    // 134
    "Push and sqeeze up",                                      // 135
    "Blind vertically",                                        // 136
    "Blind horizontally",                                      // 137
    "Uneven blind from left",                                  // 138
    "Uneven blind from right",                                 // 139
    "Uneven blind from top",                                   // 140
    "Uneven blind from bottom",                                // 141
    "Rectangular shred",                                       // 142
    "Sweep clockwise",                                         // 143
    "Sweep anticlockwise",                                     // 144
    "Rectangles apear from left and disapear to right",        // 145
    "Rectangles apear from right and disapear to left",        // 146
    "Rectangles apear from up and disapear to bottom",         // 147
    "Rectangles apear from bottom and disapear to up",         // 148
    "Rotational rectangle",                                    // 149
    "Rotational star",                                         // 150
};

using gfx::Image;
using gfx::Rect;

// What every effect derives first: the extents X and Y, proportional to the
// progress and taken from the longer side, and the grain K.
struct Frame {
    Image& screen;
    const Image& picture;
    int W, H, X, Y, K, P;

    Rect Whole() const { return Rect{0, 0, W, H}; }
    Rect Cols(int a, int b) const { return Rect{a, 0, b, H}; }
    Rect Rows(int a, int b) const { return Rect{0, a, W, b}; }
    void Copy(const Rect& dst, const Rect& src) const { CopyScaled(screen, dst, picture, src); }
    void CopyWhole(const Rect& dst) const { CopyScaled(screen, dst, picture, Whole()); }
    void InPlace(const Rect& r) const { CopyInPlace(screen, picture, r); }
    Mask NewMask() const { return Mask(W, H); }
    void Clip(const Mask& m) const { m.Apply(screen, picture); }
};

// Integer division that also survives a zero divisor (the grain K is 0 on
// tiny pictures with a small step): dividing by 0 then gives `fallback`.
int DivOr(int a, int b, int fallback) {
    return b == 0 ? fallback : a / b;
}

// The grid size of the grids and random squares: half the grain, at least 1.
int GridStep(int k) {
    const int g = k > 1 ? k / 2 : k;
    return std::max(g, 1);
}

int RoundEven(double v) {
    return gfx::SaturateToInt(static_cast<int64_t>(std::nearbyint(v)));
}

// ---- Roll: the picture unrolls with a mirrored roll at its edge.

void RollFromStart(const Frame& f, bool horizontal) {
    const int len = horizontal ? f.W : f.H;
    const int x = horizontal ? f.X : f.Y;
    int r;
    if (x < len / 5)
        r = x / 2;
    else if (len < x + len / 5)
        r = (len - x) / 2;
    else
        r = len / 10;
    // The strip beyond the roll, mirrored onto the roll.
    const int s0 = std::min(x + r, len), s1 = std::min(x + 2 * r, len);
    if (horizontal) {
        f.Copy(f.Cols(x + r + 1, x - 1), f.Cols(s0, s1));
        f.InPlace(f.Cols(0, x));
    } else {
        f.Copy(f.Rows(x + r + 1, x - 1), f.Rows(s0, s1));
        f.InPlace(f.Rows(0, x));
    }
}

void RollFromEnd(const Frame& f, bool horizontal) {
    const int len = horizontal ? f.W : f.H;
    const int x = horizontal ? f.X : f.Y;
    const int edge = len - x; // where the revealed part begins
    int l;
    if (x < len / 5)
        l = edge - x / 2;
    else if (edge < len / 5)
        l = edge - edge / 2;
    else
        l = edge - len / 10;
    const int s0 = std::max(2 * l - edge, 0), s1 = std::max(l, 0);
    if (horizontal) {
        f.Copy(f.Cols(edge + 1, l - 1), f.Cols(s0, s1));
        f.InPlace(f.Cols(edge, len));
    } else {
        f.Copy(f.Rows(edge + 1, l - 1), f.Rows(s0, s1));
        f.InPlace(f.Rows(edge, len));
    }
}

// ---- Bars: bands 5 pixels thick, in two interleaved sets.

enum class Bars { FromEnd, FromStart, StartThenEnd, EndThenStart, BothSides };

// Horizontal bars are bands of rows over a span of columns; vertical bars
// bands of columns over a span of rows. "End" is the right (or bottom)
// edge, "start" the left (or top) one.
void AddBars(Mask& m, const Frame& f, bool horizontal, Bars kind, int e, int gap) {
    const int len = horizontal ? f.W : f.H;
    const int across = horizontal ? f.H : f.W;
    auto band = [&](int i, int a, int b) {
        if (horizontal)
            m.AddRect(Rect{a, i, b, i + 5});
        else
            m.AddRect(Rect{i, a, i + 5, b});
    };
    int firstA = 0, firstB = 0, secondA = 0, secondB = 0;
    if (e <= len) {
        if (len < e + gap)
            e = len;
        switch (kind) {
        case Bars::FromEnd:
        case Bars::EndThenStart:
            firstA = len - e, firstB = len;
            break;
        case Bars::FromStart:
        case Bars::StartThenEnd:
            firstA = 0, firstB = e;
            break;
        case Bars::BothSides:
            firstA = len - e, firstB = len;
            secondA = 0, secondB = e;
            break;
        }
    } else {
        firstA = 0, firstB = len;
        switch (kind) {
        case Bars::FromEnd:
        case Bars::StartThenEnd:
            secondA = 2 * len - e, secondB = len;
            break;
        case Bars::FromStart:
        case Bars::EndThenStart:
            secondA = 0, secondB = e - len;
            break;
        case Bars::BothSides:
            secondA = 0, secondB = len;
            break;
        }
    }
    for (int i = 0; i < across + 5; i += 10) {
        band(i, firstA, firstB);
        band(i + 5, secondA, secondB);
    }
}

// ---- Shreds: ragged bars whose edge jitters afresh in every frame.

enum class Shred { FromEnd, FromStart, OutFromMiddle, InToMiddle };

int Jitter(int c) {
    const auto a = static_cast<int>(Random::Next(static_cast<uint32_t>(c)));
    const auto b = static_cast<int>(Random::Next(static_cast<uint32_t>(c)));
    return a - b;
}

void AddShred(Mask& m, const Frame& f, bool horizontal, Shred kind) {
    const int len = horizontal ? f.W : f.H;
    const int across = horizontal ? f.H : f.W;
    const int x = horizontal ? f.X : f.Y;
    const int c = x < len ? len / 7 : 0;
    const int thick = 5 + across % 5;
    auto span = [&](int t, int a, int b) {
        if (horizontal)
            m.AddRect(Rect{a, t, b, t + thick});
        else
            m.AddRect(Rect{t, a, t + thick, b});
    };
    for (int t = 0; t < across; t += 5) {
        switch (kind) {
        case Shred::FromEnd:
            span(t, len - x + Jitter(c), len);
            break;
        case Shred::FromStart:
            span(t, 0, x + Jitter(c));
            break;
        case Shred::OutFromMiddle: {
            const int j1 = Jitter(c);
            span(t, (len - x + j1) / 2, len / 2);
            const int j2 = Jitter(c);
            span(t, len / 2, (len + x + j2) / 2);
            break;
        }
        case Shred::InToMiddle: {
            const int j1 = Jitter(c);
            span(t, len - (x + j1) / 2, len);
            const int j2 = Jitter(c);
            span(t, 0, (x + j2) / 2);
            break;
        }
        }
    }
}

// ---- Speckles: a solid strip with scattered squares ahead of its edge.

void AddSpeckle(Mask& m, const Frame& f, bool horizontal, bool fromEnd) {
    const int len = horizontal ? f.W : f.H;
    const int across = horizontal ? f.H : f.W;
    const int x = horizontal ? f.X : f.Y;
    const int e = x < len ? len / 10 : 0;
    const int sq = std::max(2, e / 20);
    const int n = e / sq;
    const int dense = ((3 * e) / sq) / 4;
    auto span = [&](int t, int a, int b) {
        if (horizontal)
            m.AddRect(Rect{a, t, b, t + sq});
        else
            m.AddRect(Rect{t, a, t + sq, b});
    };
    for (int t = 0; t < across; t += sq / 2) {
        if (fromEnd)
            span(t, len - x, len);
        else
            span(t, 0, x);
        for (int i = n; i >= 1; --i) {
            const uint32_t draw = Random::Next(static_cast<uint32_t>(i));
            const bool shown = i <= dense ? draw <= 1 : draw == 0;
            if (!shown)
                continue;
            if (fromEnd)
                span(t, len - x - i * sq, len - x - i * sq + sq);
            else
                span(t, x + (i - 1) * sq, x + i * sq);
        }
    }
}

// ---- Blinds and growing bands.

// Strips of thickness s, one at the start of each period. Periods begin at
// the near edge (or end at the far one, fromFar) and go on until the strip
// has passed the opposite edge.
void AddBlinds(Mask& m, const Frame& f, bool columns, bool fromFar, int period, int s) {
    if (period <= 0 || s <= 0)
        return;
    const int len = columns ? f.W : f.H;
    auto span = [&](int a, int b) { m.AddRect(columns ? f.Cols(a, b) : f.Rows(a, b)); };
    if (fromFar) {
        for (int end = len; end > 0; end -= period)
            span(end - s, end);
    } else {
        for (int start = 0; start < len; start += period)
            span(start, start + s);
    }
}

// A period that counts in whole pixels: a grain coarser than the picture
// gives a period of 0, which then covers the whole side (a plain wipe).
int BlindPeriod(int len, int k) {
    const int period = DivOr(len, k, len);
    return period > 0 ? period : len;
}

void AddGrowingBands(Mask& m, const Frame& f, bool rows, int period) {
    if (period <= 0)
        return;
    const int len = rows ? f.H : f.W;
    const int half = f.P * period / 200;
    for (int64_t c = period / 2; c - half < len; c += period) {
        const int a = static_cast<int>(c - half), b = static_cast<int>(c + half);
        m.AddRect(rows ? f.Rows(a, b) : f.Cols(a, b));
    }
}

// ---- Pixel effects.

void Fade(const Frame& f) {
    const uint32_t keep = static_cast<uint32_t>(100 - f.P);
    const uint32_t take = static_cast<uint32_t>(f.P);
    for (int y = 0; y < f.H; ++y) {
        uint32_t* out = f.screen.Row(y);
        const uint32_t* in = f.picture.Row(y);
        for (int x = 0; x < f.W; ++x) {
            const uint32_t o = out[x], n = in[x];
            uint32_t v = o & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t c =
                    (keep * ((o >> shift) & 0xFF) + take * ((n >> shift) & 0xFF)) / 100;
                v |= c << shift;
            }
            out[x] = v;
        }
    }
}

// The new picture swings into place about a corner just outside it. Rows
// are counted from the bottom of the picture, as the angle's sense needs.
void Pivot(const Frame& f, int style) {
    const double pi = std::numbers::pi;
    int px = -1, py = -1;
    double angle = 0;
    switch (style) {
    case 119:
        px = -1, py = -1, angle = (100 - f.P) * pi / 200;
        break;
    case 120:
        px = -1, py = f.H, angle = (f.P - 100) * pi / 200;
        break;
    case 121:
        px = f.W, py = -1, angle = (f.P - 100) * pi / 200;
        break;
    default:
        px = f.W, py = f.H, angle = (100 - f.P) * pi / 200;
        break;
    }
    const auto s = static_cast<int64_t>(std::trunc(std::sin(-angle) * 65536));
    const auto c = static_cast<int64_t>(std::trunc(std::cos(-angle) * 65536));
    for (int y = 0; y < f.H; ++y) {
        const int yb = f.H - 1 - y;
        const int64_t dy = yb + 1 - py;
        uint32_t* out = f.screen.Row(y);
        for (int x = 0; x < f.W; ++x) {
            // The one pixel added here makes up for the truncation of
            // cos, which is just below 1 near the end.
            const int64_t dx = x + 1 - px;
            const int sx = static_cast<int16_t>((dx * c - dy * s) >> 16) + px;
            const int sy = static_cast<int16_t>((dx * s + dy * c) >> 16) + py;
            if (sx >= 0 && sx < f.W && sy >= 0 && sy < f.H)
                out[x] = f.picture.At(sx, f.H - 1 - sy);
        }
    }
}

// ---- Push: the old frame moves out while the new picture moves in.

void Push(const Frame& f, bool horizontal, bool towardEnd, bool squeeze) {
    const Image old = f.screen; // the self copy reads the frame as it was on entry
    const int len = horizontal ? f.W : f.H;
    const int x = horizontal ? f.X : f.Y;
    auto area = [&](int a, int b) { return horizontal ? f.Cols(a, b) : f.Rows(a, b); };
    const Rect oldDst = towardEnd ? area(x, len) : area(0, len - x);
    const Rect oldSrc = squeeze ? f.Whole() : (towardEnd ? area(0, len - x) : area(x, len));
    CopyScaled(f.screen, oldDst, old, oldSrc);
    if (towardEnd)
        f.Copy(area(0, x), area(len - x, len));
    else
        f.Copy(area(len - x, len), area(0, x));
}

// ---- Grids.

void TriangleGrid(Mask& m, const Frame& f) {
    const int g = GridStep(f.K);
    const int xs = f.X / g, ys = f.Y / g, ws = f.W / g, hs = f.H / g;
    for (int r = g; r >= 0; --r)
        for (int c = g; c >= 0; --c) {
            const int cx = c * ws, cy = r * hs;
            m.AddPolygon({{cx - xs, cy - ys}, {cx + xs, cy - ys}, {cx - xs, cy + ys}});
        }
}

void RectangleGrid(Mask& m, const Frame& f) {
    const int xs = DivOr(f.X, f.K, f.X), ys = DivOr(f.Y, f.K, f.Y);
    const int g = GridStep(f.K);
    const int ws = f.W / g, hs = f.H / g;
    for (int r = g; r >= 0; --r)
        for (int c = g; c >= 0; --c)
            m.AddRect(Rect{c * ws - xs, r * hs - ys, c * ws + xs, r * hs + ys});
}

void RandomSquares(Mask& m, const Frame& f) {
    // The same sequence in every frame, so a square once shown stays.
    Random::Seed(static_cast<uint32_t>(f.W) * static_cast<uint32_t>(f.H));
    const int g = GridStep(f.K);
    for (int x = 0; x < f.W; x += g)
        for (int y = 0; y < f.H; y += g)
            if (Random::Next(100) < static_cast<uint32_t>(f.P))
                m.AddRect(Rect{x - g, y - g, x + g, y + g});
}

// ---- Sweeps and rotating polygons.

void Sweep(Mask& m, const Frame& f, bool clockwise) {
    const Point mid{f.W / 2, f.H / 2};
    const double radius = std::ceil(std::sqrt(double(mid.x) * mid.x + double(mid.y) * mid.y));
    const double pi = std::numbers::pi;
    std::vector<Point> fan{mid};
    for (int k = 0; k < f.P; ++k) {
        const double a = -pi / 2 + k * (clockwise ? pi / 50 : -pi / 50);
        fan.push_back(
            {mid.x + RoundEven(radius * std::cos(a)), mid.y + RoundEven(radius * std::sin(a))});
    }
    m.AddPolygon(fan);
}

void RotatingPolygon(Mask& m, const Frame& f, bool star) {
    const Point mid{f.W / 2, f.H / 2};
    const int hx = f.X / 2, hy = f.Y / 2;
    std::vector<Point> offsets;
    if (star)
        offsets = {{-2 * f.X, 0}, {-hx, -hy}, {0, -2 * f.Y}, {hx, -hy},
                   {2 * f.X, 0},  {hx, hy},   {0, 2 * f.Y},  {-hx, hy}};
    else
        offsets = {{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}};
    const double a = f.P * std::numbers::pi / 50;
    const double c = std::cos(a), s = std::sin(a);
    std::vector<Point> poly;
    for (const Point& d : offsets)
        poly.push_back({mid.x + RoundEven(c * d.x) - RoundEven(s * d.y),
                        mid.y + RoundEven(s * d.x) + RoundEven(c * d.y)});
    m.AddPolygon(poly);
}

// ---- The effects by number.

void Draw(int style, const Frame& f) {
    const int W = f.W, H = f.H, X = f.X, Y = f.Y, K = f.K, P = f.P;
    const Rect C{(W - X) / 2, (H - Y) / 2, (W + X) / 2, (H + Y) / 2};
    Mask m = f.NewMask();
    auto tri = [&](Point a, Point b, Point c) { m.AddPolygon({a, b, c}); };
    switch (style) {
    // Copies along the width.
    case 1:
        f.CopyWhole(f.Cols(W - X, W));
        return;
    case 2:
        f.CopyWhole(f.Cols(0, X));
        return;
    case 3:
        f.CopyWhole(f.Cols(W - X, 2 * W - X));
        return;
    case 4:
        f.CopyWhole(f.Cols(X - W, X));
        return;
    case 5:
        f.InPlace(f.Cols(0, X));
        return;
    case 6:
        f.InPlace(f.Cols(W - X, W));
        return;
    case 7:
        f.Copy(f.Cols(0, 2 * W - X), f.Cols(0, X));
        return;
    case 8:
        f.Copy(f.Cols(X - W, W), f.Cols(W - X, W));
        return;
    case 9:
        f.Copy(f.Cols(X - W, 2 * W - X), f.Cols((W - X) / 2, (W + X) / 2));
        return;
    case 10:
        f.CopyWhole(f.Cols((W - X) / 2, (W + X) / 2));
        return;
    case 11:
        f.InPlace(f.Cols((W - X) / 2, (W + X) / 2));
        return;
    case 12:
        f.InPlace(f.Cols(0, X / 2 + 1));
        f.InPlace(f.Cols(W - X / 2 - 1, W));
        return;
    case 13:
        f.Copy(f.Cols(0, X / 2 + 1), f.Cols(0, W / 2 + 1));
        f.Copy(f.Cols(W - X / 2 - 1, W), f.Cols(W / 2, W));
        return;
    case 14:
        RollFromStart(f, true);
        return;
    case 15:
        RollFromEnd(f, true);
        return;
    case 16: {
        f.InPlace(f.Cols(0, X));
        const int strip = std::max(DivOr(W, K, W), 1);
        f.Copy(f.Cols(X, W), f.Cols(X, std::min(X + strip, W)));
        return;
    }
    case 17: {
        f.InPlace(f.Cols(W - X, W));
        const int strip = std::max(DivOr(W, K, W), 1);
        f.Copy(f.Cols(0, W - X), f.Cols(std::max(W - X - strip, 0), W - X));
        return;
    }
    // Copies along the height.
    case 18:
        f.CopyWhole(f.Rows(H - Y, H));
        return;
    case 19:
        f.CopyWhole(f.Rows(0, Y));
        return;
    case 20:
        f.CopyWhole(f.Rows(H - Y, 2 * H - Y));
        return;
    case 21:
        f.CopyWhole(f.Rows(Y - H, Y));
        return;
    case 22:
        f.InPlace(f.Rows(0, Y));
        return;
    case 23:
        f.InPlace(f.Rows(H - Y, H));
        return;
    case 24:
        f.Copy(f.Rows(0, 2 * H - Y), f.Rows(0, Y));
        return;
    case 25:
        f.Copy(f.Rows(Y - H, H), f.Rows(H - Y, H));
        return;
    case 26:
        f.Copy(f.Rows(Y - H, 2 * H - Y), f.Rows((H - Y) / 2, (H + Y) / 2));
        return;
    case 27:
        f.CopyWhole(f.Rows((H - Y) / 2, (H + Y) / 2));
        return;
    case 28:
        f.InPlace(f.Rows((H - Y) / 2, (H + Y) / 2));
        return;
    case 29:
        f.InPlace(f.Rows(0, Y / 2 + 1));
        f.InPlace(f.Rows(H - Y / 2 - 1, H));
        return;
    case 30:
        f.Copy(f.Rows(0, Y / 2 + 1), f.Rows(0, H / 2 + 1));
        f.Copy(f.Rows(H - Y / 2 - 1, H), f.Rows(H / 2, H));
        return;
    case 31:
        RollFromStart(f, false);
        return;
    case 32:
        RollFromEnd(f, false);
        return;
    case 33: {
        f.InPlace(f.Rows(0, Y));
        const int strip = std::max(DivOr(H, K, H), 1);
        f.Copy(f.Rows(Y, H), f.Rows(Y, std::min(Y + strip, H)));
        return;
    }
    case 34: {
        f.InPlace(f.Rows(H - Y, H));
        const int strip = std::max(DivOr(H, K, H), 1);
        f.Copy(f.Rows(0, H - Y), f.Rows(std::max(H - Y - strip, 0), H - Y));
        return;
    }
    // Copies from and to the corners and the centre.
    case 35:
        f.CopyWhole(Rect{W - X, H - Y, W, H});
        return;
    case 36:
        f.CopyWhole(Rect{W - X, 0, W, Y});
        return;
    case 37:
        f.CopyWhole(Rect{0, 0, X, Y});
        return;
    case 38:
        f.CopyWhole(Rect{0, H - Y, X, H});
        return;
    case 39:
        f.CopyWhole(Rect{W - X, H - Y, 2 * W - X, 2 * H - Y});
        return;
    case 40:
        f.CopyWhole(Rect{W - X, Y - H, 2 * W - X, Y});
        return;
    case 41:
        f.CopyWhole(Rect{X - W, Y - H, X, Y});
        return;
    case 42:
        f.CopyWhole(Rect{X - W, H - Y, X, 2 * H - Y});
        return;
    case 43:
        f.InPlace(Rect{0, 0, X, Y});
        return;
    case 44:
        f.InPlace(Rect{0, H - Y, X, H});
        return;
    case 45:
        f.InPlace(Rect{W - X, H - Y, W, H});
        return;
    case 46:
        f.InPlace(Rect{W - X, 0, W, Y});
        return;
    case 47:
        f.Copy(Rect{0, 0, 2 * W - X, 2 * H - Y}, Rect{0, 0, X, Y});
        return;
    case 48:
        f.Copy(Rect{0, Y - H, 2 * W - X, H}, Rect{0, H - Y, X, H});
        return;
    case 49:
        f.Copy(Rect{X - W, Y - H, W, H}, Rect{W - X, H - Y, W, H});
        return;
    case 50:
        f.Copy(Rect{X - W, 0, W, 2 * H - Y}, Rect{W - X, 0, W, Y});
        return;
    case 51:
        f.Copy(Rect{X - W, Y - H, 2 * W - X, 2 * H - Y}, C);
        return;
    case 52:
        f.CopyWhole(C);
        return;
    case 53:
        f.InPlace(C);
        return;
    case 54:
        f.InPlace(f.Rows(0, Y / 2));
        f.InPlace(f.Rows(H - Y / 2, H));
        f.InPlace(f.Cols(0, X / 2));
        f.InPlace(f.Cols(W - X / 2, W));
        return;
    case 55:
        f.InPlace(Rect{0, 0, X / 2 + 1, Y / 2 + 1});
        f.InPlace(Rect{0, H - Y / 2 - 1, X / 2 + 1, H});
        f.InPlace(Rect{W - X / 2 - 1, H - Y / 2 - 1, W, H});
        f.InPlace(Rect{W - X / 2 - 1, 0, W, Y / 2 + 1});
        return;
    case 56:
        f.Copy(Rect{0, 0, X / 2 + 1, Y / 2 + 1}, Rect{0, 0, W / 2 + 1, H / 2 + 1});
        f.Copy(Rect{0, H - Y / 2, X / 2 + 1, H}, Rect{0, H / 2 + 1, W / 2 + 1, H});
        f.Copy(Rect{W - X / 2, H - Y / 2, W, H}, Rect{W / 2 + 1, H / 2 + 1, W, H});
        f.Copy(Rect{W - X / 2, 0, W, Y / 2 + 1}, Rect{W / 2 + 1, 0, W, H / 2 + 1});
        return;
    case 57:
        f.Copy(Rect{(X - W) / 2, 0, X / 2 + 1, H / 2 + 1}, Rect{0, 0, W / 2 + 1, H / 2 + 1});
        f.Copy(Rect{W / 2 - 1, (Y - H) / 2, W, Y / 2 + 1}, Rect{W / 2 - 1, 0, W, H / 2 + 1});
        f.Copy(Rect{W - X / 2, H / 2 - 1, W + (W - X) / 2, H}, Rect{W / 2 + 1, H / 2 - 1, W, H});
        f.Copy(Rect{0, H - Y / 2, W / 2 + 1, H + (H - Y) / 2}, Rect{0, H / 2 + 1, W / 2 + 1, H});
        return;
    // Rounded rectangles.
    case 58:
        m.AddRoundRect(Rect{-2 * W, -5, 2 * X, H + 5}, 2 * W, 2 * W);
        break;
    case 59:
        m.AddRoundRect(Rect{W - 2 * X, -5, 3 * W, H + 5}, 2 * W, 2 * W);
        break;
    case 69:
        m.AddRoundRect(Rect{-5, -2 * H, W + 5, 2 * Y}, 2 * H, 2 * H);
        break;
    case 70:
        m.AddRoundRect(Rect{-5, H - 2 * Y, W + 5, 3 * H}, 2 * H, 2 * H);
        break;
    case 80:
        m.AddRoundRect(Rect{-2 * W, -2 * H, 2 * X, 2 * Y}, 2 * W, 2 * H);
        break;
    case 81:
        m.AddRoundRect(Rect{W - 2 * X, -2 * H, 3 * W, 2 * Y}, 2 * W, 2 * H);
        break;
    case 82:
        m.AddRoundRect(Rect{-2 * W, H - 2 * Y, 2 * X, 3 * H}, 2 * W, 2 * H);
        break;
    case 83:
        m.AddRoundRect(Rect{W - 2 * X, H - 2 * Y, 3 * W, 3 * H}, 2 * H, 2 * H);
        break;
    case 84:
        m.AddRoundRect(Rect{W / 2 - X, H / 2 - Y, W / 2 + X, H / 2 + Y}, 9 * X / 5, 9 * Y / 5);
        break;
    case 85: {
        m.AddRect(f.Whole());
        Mask hole = f.NewMask();
        hole.AddRoundRect(Rect{X - W / 2, Y - H / 2, 3 * W / 2 - X, 3 * H / 2 - Y}, 9 * (W - X) / 5,
                          9 * (H - Y) / 5);
        m.XorWith(hole);
        break;
    }
    // Bars.
    case 60:
        AddBars(m, f, true, Bars::FromEnd, 2 * X, K);
        break;
    case 61:
        AddBars(m, f, true, Bars::FromStart, 2 * X, K);
        break;
    case 62:
        AddBars(m, f, true, Bars::StartThenEnd, 2 * X, K);
        break;
    case 63:
        AddBars(m, f, true, Bars::EndThenStart, 2 * X, K);
        break;
    case 64:
        AddBars(m, f, true, Bars::BothSides, X, 0);
        break;
    case 71:
        AddBars(m, f, false, Bars::FromEnd, 2 * Y, K);
        break;
    case 72:
        AddBars(m, f, false, Bars::FromStart, 2 * Y, K);
        break;
    case 73:
        AddBars(m, f, false, Bars::StartThenEnd, 2 * Y, K);
        break;
    case 74:
        AddBars(m, f, false, Bars::EndThenStart, 2 * Y, K);
        break;
    case 75:
        AddBars(m, f, false, Bars::BothSides, Y, 0);
        break;
    // Criss-cross: horizontal and vertical bars together.
    case 86:
    case 87:
    case 88:
    case 89:
    case 90:
    case 91:
    case 92:
    case 93: {
        static constexpr Bars kH[] = {Bars::FromEnd,      Bars::FromEnd,      Bars::FromStart,
                                      Bars::FromStart,    Bars::StartThenEnd, Bars::StartThenEnd,
                                      Bars::EndThenStart, Bars::EndThenStart};
        static constexpr Bars kV[] = {Bars::FromEnd,      Bars::FromStart,    Bars::FromEnd,
                                      Bars::FromStart,    Bars::StartThenEnd, Bars::EndThenStart,
                                      Bars::StartThenEnd, Bars::EndThenStart};
        AddBars(m, f, true, kH[style - 86], 2 * X, K);
        AddBars(m, f, false, kV[style - 86], 2 * Y, K);
        break;
    }
    case 94:
        AddBars(m, f, true, Bars::FromEnd, X, K);
        AddBars(m, f, false, Bars::BothSides, Y, K);
        break;
    case 95:
        AddBars(m, f, true, Bars::FromStart, X, K);
        AddBars(m, f, false, Bars::BothSides, Y, K);
        break;
    case 96:
        AddBars(m, f, true, Bars::BothSides, X, K);
        AddBars(m, f, false, Bars::FromEnd, Y, K);
        break;
    case 97:
        AddBars(m, f, true, Bars::BothSides, X, K);
        AddBars(m, f, false, Bars::FromStart, Y, K);
        break;
    case 98:
        AddBars(m, f, true, Bars::BothSides, X, 0);
        AddBars(m, f, false, Bars::BothSides, Y, 0);
        break;
    case 99: {
        AddBars(m, f, true, Bars::FromEnd, 2 * X, K);
        AddBars(m, f, false, Bars::FromEnd, 2 * Y, K);
        Mask other = f.NewMask();
        AddBars(other, f, true, Bars::FromStart, 2 * X, K);
        AddBars(other, f, false, Bars::FromStart, 2 * Y, K);
        m.IntersectWith(other);
        break;
    }
    // Shreds.
    case 65:
        AddShred(m, f, true, Shred::FromEnd);
        break;
    case 66:
        AddShred(m, f, true, Shred::FromStart);
        break;
    case 67:
        AddShred(m, f, true, Shred::OutFromMiddle);
        break;
    case 68:
        AddShred(m, f, true, Shred::InToMiddle);
        break;
    case 76:
        AddShred(m, f, false, Shred::FromEnd);
        break;
    case 77:
        AddShred(m, f, false, Shred::FromStart);
        break;
    case 78:
        AddShred(m, f, false, Shred::OutFromMiddle);
        break;
    case 79:
        AddShred(m, f, false, Shred::InToMiddle);
        break;
    case 100:
    case 101:
    case 102:
    case 103:
    case 104:
    case 105:
    case 106:
    case 107:
    case 108:
    case 109: {
        // Vertical part first, then the horizontal one.
        static constexpr Shred kV[] = {Shred::FromEnd,   Shred::FromStart,     Shred::FromEnd,
                                       Shred::FromStart, Shred::OutFromMiddle, Shred::OutFromMiddle,
                                       Shred::FromEnd,   Shred::FromStart,     Shred::OutFromMiddle,
                                       Shred::InToMiddle};
        static constexpr Shred kH[] = {
            Shred::FromEnd,       Shred::FromEnd,   Shred::FromStart,     Shred::FromStart,
            Shred::FromEnd,       Shred::FromStart, Shred::OutFromMiddle, Shred::OutFromMiddle,
            Shred::OutFromMiddle, Shred::InToMiddle};
        AddShred(m, f, false, kV[style - 100]);
        AddShred(m, f, true, kH[style - 100]);
        break;
    }
    // Triangles and fans.
    case 110:
        tri({0, 0}, {2 * X, 0}, {0, 2 * Y});
        break;
    case 111:
        tri({W, 0}, {W - 2 * X, 0}, {W, 2 * Y});
        break;
    case 112:
        tri({0, H}, {2 * X, H}, {0, H - 2 * Y});
        break;
    case 113:
        tri({W, H}, {W - 2 * X, H}, {W, H - 2 * Y});
        break;
    case 114:
        tri({0, H}, {0, 0}, {X, H});
        tri({W, H}, {W, 0}, {W - X, 0});
        break;
    case 115:
        tri({W, 0}, {0, 0}, {W, Y});
        tri({W, H}, {0, H}, {0, H - Y});
        break;
    case 116: {
        const Point M{W / 2, H / 2};
        tri(M, {0, H}, {0, H - Y});
        tri({0, 0}, {X, 0}, M);
        tri({W - X, H}, M, {W, H});
        tri(M, {W, 0}, {W, Y});
        break;
    }
    case 117:
        TriangleGrid(m, f);
        break;
    // Pixel effects.
    case 118:
        Fade(f);
        return;
    case 119:
    case 120:
    case 121:
    case 122:
        Pivot(f, style);
        return;
    // Speckles.
    case 123:
        AddSpeckle(m, f, true, true);
        break;
    case 124:
        AddSpeckle(m, f, true, false);
        break;
    case 125:
        AddSpeckle(m, f, false, true);
        break;
    case 126:
        AddSpeckle(m, f, false, false);
        break;
    case 127:
        RandomSquares(m, f);
        break;
    // Push.
    case 128:
        Push(f, true, true, false);
        return;
    case 129:
        Push(f, true, false, false);
        return;
    case 130:
        Push(f, true, true, true);
        return;
    case 131:
        Push(f, true, false, true);
        return;
    case 132:
        Push(f, false, true, false);
        return;
    case 133:
        Push(f, false, false, false);
        return;
    case 134:
        Push(f, false, true, true);
        return;
    case 135:
        Push(f, false, false, true);
        return;
    // Blinds.
    case 136: {
        const int period = BlindPeriod(W, K);
        AddBlinds(m, f, true, false, period, P * period / 100);
        break;
    }
    case 137: {
        const int period = BlindPeriod(H, K);
        AddBlinds(m, f, false, false, period, P * period / 100);
        break;
    }
    case 138:
        AddBlinds(m, f, true, false, X, P * X / 100);
        break;
    case 139:
        AddBlinds(m, f, true, true, X, P * X / 100);
        break;
    case 140:
        AddBlinds(m, f, false, false, Y, P * Y / 100);
        break;
    case 141:
        AddBlinds(m, f, false, true, Y, P * Y / 100);
        break;
    case 142:
        RectangleGrid(m, f);
        break;
    case 143:
        Sweep(m, f, true);
        break;
    case 144:
        Sweep(m, f, false);
        break;
    case 145:
        AddGrowingBands(m, f, true, BlindPeriod(H, K));
        AddBlinds(m, f, true, false, X, P * X / 100);
        break;
    case 146:
        AddGrowingBands(m, f, true, BlindPeriod(H, K));
        AddBlinds(m, f, true, true, X, P * X / 100);
        break;
    case 147:
        AddGrowingBands(m, f, false, BlindPeriod(W, K));
        AddBlinds(m, f, false, false, Y, P * Y / 100);
        break;
    case 148:
        AddGrowingBands(m, f, false, BlindPeriod(W, K));
        AddBlinds(m, f, false, true, Y, P * Y / 100);
        break;
    case 149:
        RotatingPolygon(m, f, false);
        break;
    case 150:
        RotatingPolygon(m, f, true);
        break;
    default:
        return;
    }
    f.Clip(m);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::string_view EffectName(int style) {
    if (style == kCustomStyle)
        return kCustomStyleName;
    if (style < 1 || style > kEffectCount)
        return {};
    return kNames[static_cast<size_t>(style - 1)];
}

int FindStyleByName(std::string_view name) {
    for (int style = 0; style <= kEffectCount; ++style)
        if (EqualNoCase(name, EffectName(style)))
            return style;
    return -1;
}

bool IsPixelEffect(int style) {
    return style >= 118 && style <= 122;
}

bool DrawEffect(int style, Image& screen, const Image& picture, int step, int progress) {
    if (style < 1 || style > kEffectCount || screen.Empty() || screen.width != picture.width ||
        screen.height != picture.height)
        return false;
    const int W = screen.width, H = screen.height;
    const int P = std::clamp(progress, 0, 100);
    int X, Y;
    if (W >= H) {
        X = MulDiv(W, P, 100);
        Y = MulDiv(X, H, W);
    } else {
        Y = MulDiv(H, P, 100);
        X = MulDiv(Y, W, H);
    }
    const int K = MulDiv(std::max(W, H), std::clamp(step, 1, 100), 90);
    Draw(style, Frame{screen, picture, W, H, X, Y, K, P});
    return true;
}

void ComposeFrame(int style, const Image& oldFrame, const Image& picture, int step, int progress,
                  Image& frame) {
    if (oldFrame.width != picture.width || oldFrame.height != picture.height || progress >= 100) {
        frame = picture;
        return;
    }
    frame = oldFrame;
    if (progress > 0)
        DrawEffect(style, frame, picture, step, progress);
}

} // namespace orv::transitions
