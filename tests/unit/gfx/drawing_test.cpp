#include "gfx/border.h"
#include "gfx/color.h"
#include "gfx/gradient.h"
#include "gfx/placement.h"
#include "gfx/raster.h"
#include "gfx/stretch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace orv::gfx {
namespace {

constexpr uint32_t kBackground = 0x12345678; // never produced by the drawing code

// A picture written as rows of characters, each mapped to a pixel value;
// '.' is the untouched background.
Image Art(const std::vector<std::string>& rows, const std::map<char, uint32_t>& colors) {
    Image image = MakeImage(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            image.At(x, y) = c == '.' ? kBackground : colors.at(c);
        }
    return image;
}

void ExpectSameImage(const Image& got, const Image& want, const std::string& name) {
    ASSERT_EQ(got.width, want.width) << name;
    ASSERT_EQ(got.height, want.height) << name;
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x)
            ASSERT_EQ(got.At(x, y), want.At(x, y)) << name << " at (" << x << ", " << y << ")";
}

// ---- Colours ------------------------------------------------------------

TEST(Color, ResolvesSystemColoursThroughTheTable) {
    ColorRef table[21] = {};
    table[15] = 0xF0F0F0;
    table[20] = 0xFFFFFF;
    const SystemColorTable system{table, 21};
    struct Case {
        int32_t stored;
        ColorRef want;
    } cases[] = {
        {SystemColor(kSysColorBtnFace), 0xF0F0F0},
        {static_cast<int32_t>(0xFF000014u), 0xFFFFFF},
        {static_cast<int32_t>(0x80000014u), 0xFFFFFF}, // only the top bit marks it
        {static_cast<int32_t>(0xFF000030u), 0},        // beyond the table
        {0x00123456, 0x123456},
        {0x7F123456, 0x123456}, // the top byte of a plain colour is dropped
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveColor(c.stored, system), c.want) << std::hex << c.stored;
    EXPECT_EQ(ToArgb(MakeColorRef(0x11, 0x22, 0x33)), 0xFF112233u);
    EXPECT_EQ(ToArgb(0x0000FF, 0x80), 0x80FF0000u);
    EXPECT_EQ(FromArgb(0x80112233), MakeColorRef(0x11, 0x22, 0x33));
    EXPECT_EQ(MidColor(MakeColorRef(255, 0, 3), MakeColorRef(0, 0, 0)), MakeColorRef(127, 0, 1));
}

TEST(Color, InterpolationRoundsHalvesToEven) {
    struct Case {
        uint32_t a, b;
        int64_t i, n;
        uint32_t want; // red channel
    } cases[] = {
        {0, 1, 1, 2, 0},     {0, 3, 1, 2, 2},     {0, 5, 1, 2, 2},    {0, 7, 1, 2, 4},
        {5, 0, 1, 2, 3},     {255, 0, 1, 2, 127}, {0, 255, 1, 3, 85}, {0, 255, 2, 3, 170},
        {0, 255, 1, 0, 255}, {0, 255, 0, 5, 0},   {10, 20, 5, 5, 20}, {0, 255, 3, 2, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RedOf(InterpolateColor(c.a, c.b, c.i, c.n)), c.want)
            << c.a << " -> " << c.b << " at " << c.i << "/" << c.n;
    // Channels are independent.
    EXPECT_EQ(InterpolateColor(MakeColorRef(0, 100, 200), MakeColorRef(100, 0, 200), 1, 4),
              MakeColorRef(25, 75, 200));
}

// ---- Gradients ----------------------------------------------------------

// The colour of one channel, straight from the definition, in floating
// point with the platform's rounding (halves to even).
ColorRef ReferenceColor(ColorRef a, ColorRef b, int64_t i, int64_t n) {
    auto ch = [&](uint32_t ca, uint32_t cb) {
        const double v = ca + std::nearbyint((double(cb) - double(ca)) * double(i) /
                                             double(std::max<int64_t>(n, 1)));
        return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0));
    };
    return MakeColorRef(ch(RedOf(a), RedOf(b)), ch(GreenOf(a), GreenOf(b)),
                        ch(BlueOf(a), BlueOf(b)));
}

// Slow reference: draws the lines one by one exactly as the styles are
// described, each line pixel by pixel.
void ReferenceGradient(Image& canvas, int code, ColorRef a, Rect r, ColorRef b) {
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const int W = R - L, H = B - T;
    if (W <= 0 || H <= 0)
        return;
    auto row = [&](int y, ColorRef c) {
        for (int x = L; x < R; ++x)
            SetPixel(canvas, x, y, ToArgb(c));
    };
    auto column = [&](int x, ColorRef c) {
        for (int y = T; y < B; ++y)
            SetPixel(canvas, x, y, ToArgb(c));
    };
    if (code == 2 || code == 4 || code == 6 || code == 8)
        std::swap(a, b);
    if (code == 1 || code == 2)
        for (int y = T; y < B; ++y)
            row(y, ReferenceColor(a, b, y - T, H));
    if (code == 3 || code == 4)
        for (int x = L; x < R; ++x)
            column(x, ReferenceColor(a, b, x - L, W));
    if (code == 5 || code == 6) {
        const int h = H / 2, m = (T + B) / 2;
        for (int y = T; y < m; ++y)
            row(y, ReferenceColor(b, a, y - T, h));
        for (int y = m; y < B; ++y)
            row(y, ReferenceColor(a, b, y - m, h));
    }
    if (code == 7 || code == 8) {
        const int w = W / 2, c = (L + R) / 2;
        for (int k = 0; k <= c - 1 - L; ++k)
            column(c - 1 - k, ReferenceColor(a, b, k, w));
        for (int x = c; x < R; ++x)
            column(x, ReferenceColor(a, b, x - c, w));
    }
}

TEST(FillGradient, MatchesTheLineByLineReference) {
    const std::pair<ColorRef, ColorRef> pairs[] = {
        {MakeColorRef(0, 0, 0), MakeColorRef(255, 255, 255)},
        {MakeColorRef(10, 200, 3), MakeColorRef(13, 20, 250)},
        {MakeColorRef(0, 1, 2), MakeColorRef(1, 2, 5)}, // many exact halves
    };
    const Rect rects[] = {{0, 0, 1, 1},   {0, 0, 7, 5},   {2, 1, 9, 12}, {-3, -2, 4, 6},
                          {-7, -5, 0, 0}, {5, 6, 20, 20}, {3, 3, 3, 9},  {1, 0, 8, 1},
                          {0, 2, 1, 15},  {-4, 1, 11, 2}, {6, 6, 2, 2}};
    for (int code = 0; code <= 9; ++code)
        for (const auto& [a, b] : pairs)
            for (const Rect& r : rects) {
                Image got = MakeImage(12, 10, kBackground);
                Image want = got;
                FillGradient(got, code, a, r, b);
                if (code >= 1 && code <= 8)
                    ReferenceGradient(want, code, a, r, b);
                ExpectSameImage(got, want,
                                "code " + std::to_string(code) + " rect " + std::to_string(r.left) +
                                    "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                                    "," + std::to_string(r.bottom));
            }
}

// Red channel of one column (vertical codes) or one row (horizontal codes).
std::vector<uint32_t> Profile(int code, int length) {
    const bool vertical = code == 1 || code == 2 || code == 5 || code == 6;
    Image image = MakeImage(vertical ? 1 : length, vertical ? length : 1, kBackground);
    FillGradient(image, code, MakeColorRef(0, 0, 0), Bounds(image), MakeColorRef(200, 0, 0));
    std::vector<uint32_t> out;
    for (uint32_t p : image.pixels)
        out.push_back((p >> 16) & 0xFF);
    return out;
}

TEST(FillGradient, HandCheckedProfiles) {
    // A = 0 and B = 200 in the red channel.
    struct Case {
        int code, length;
        std::vector<uint32_t> want;
    } cases[] = {
        {1, 1, {0}},                     // one pixel high: only A
        {1, 4, {0, 50, 100, 150}},       // B itself is never reached
        {2, 4, {200, 150, 100, 50}},     // B at the top
        {3, 3, {0, 67, 133}},            // 66.67 and 133.33
        {4, 2, {200, 100}},              //
        {5, 5, {200, 100, 0, 100, 200}}, // odd height: the extra row is in the lower half
        {5, 4, {200, 100, 0, 100}},      //
        {6, 5, {0, 100, 200, 100, 0}},   //
        {7, 4, {100, 0, 0, 100}},        // A in the two middle columns
        {7, 5, {100, 0, 0, 100, 200}},   //
        {8, 4, {100, 200, 200, 100}},    // B in the middle
        {5, 1, {0}},                     // h = 0 counts as one step
    };
    for (const Case& c : cases)
        EXPECT_EQ(Profile(c.code, c.length), c.want) << "code " << c.code << " length " << c.length;
}

TEST(FillGradient, PanelStylesMapToCodes) {
    const int want[] = {0, 1, 2, 3, 4, 5, 7, 6, 8, 1, 1};
    for (int style = 0; style <= 10; ++style)
        EXPECT_EQ(PanelGradientCode(style), want[style]) << style;
    // LeftRightMiddle puts GradientColor (B) in the middle and the panel
    // colour (A) toward the sides; MiddleLeftRight the reverse.
    EXPECT_EQ(Profile(PanelGradientCode(8), 6),
              (std::vector<uint32_t>{67, 133, 200, 200, 133, 67}));
    EXPECT_EQ(Profile(PanelGradientCode(6), 6), (std::vector<uint32_t>{133, 67, 0, 0, 67, 133}));
}

// ---- Lines, borders, bevels, grid ----------------------------------------

TEST(Raster, LinesCoverTheirStartButNotTheirEnd) {
    Image image = MakeImage(5, 4, kBackground);
    const uint32_t a = 0xFFAA0000, b = 0xFF00BB00;
    DrawLine(image, 3, 0, 0, 0, a); // leftward: 3, 2, 1
    DrawLine(image, 1, 1, 4, 1, b); // rightward: 1, 2, 3
    DrawLine(image, 4, 3, 4, 0, a); // upward: 3, 2, 1
    DrawLine(image, 0, 1, 0, 4, b); // downward: 1, 2, 3
    DrawLine(image, 0, 0, 2, 2, b); // diagonal: not supported, nothing drawn
    ExpectSameImage(image,
                    Art({".aaa.", //
                         "bbbba", //
                         "b...a", //
                         "b...a"},
                        {{'a', a}, {'b', b}}),
                    "lines");
    Image outline = MakeImage(5, 4, kBackground);
    DrawOutline(outline, Rect{1, 1, 4, 4}, a);
    DrawOutline(outline, Rect{-2, -2, 1, 1}, b); // clipped
    ExpectSameImage(outline,
                    Art({"b....", //
                         ".aaa.", //
                         ".a.a.", //
                         ".aaa."},
                        {{'a', a}, {'b', b}}),
                    "outline");
}

TEST(DrawPanelBorder, EveryBorderAndStyle) {
    const ColorRef light = MakeColorRef(200, 200, 200), shadow = MakeColorRef(100, 100, 100);
    struct Case {
        int border, style;
        std::vector<std::string> art; // F first colour, S second, M mid
    } cases[] = {
        {1, 2, {"FFFFM", "F...S", "F...S", "MSSSS"}},
        {1, 0, {"FFFFF", "F...F", "F...F", "FFFFF"}},
        {2, 2, {"FFFF.", "FSSFS", "FFFFS", ".SSSS"}},
        {2, 0, {".....", ".SSSS", ".S..S", ".SSSS"}}, // flat: one outline, shifted
        {3, 1, {"FM...", "FS...", "FS...", "MS..."}},
        {3, 0, {"F....", "F....", "F....", "F...."}},
        {4, 2, {"FFFFM", "MSSSS", ".....", "....."}},
        {5, 2, {"...FM", "...FS", "...FS", "...MS"}},
        {6, 1, {".....", ".....", "FFFFM", "MSSSS"}},
        {0, 2, {".....", ".....", ".....", "....."}},
        {7, 2, {".....", ".....", ".....", "....."}},
    };
    for (const Case& c : cases) {
        const BorderColors colors = PanelBorderColors(c.style, light, shadow);
        Image image = MakeImage(5, 4, kBackground);
        DrawPanelBorder(image, Bounds(image), c.border, c.style, light, shadow);
        ExpectSameImage(image,
                        Art(c.art, {{'F', ToArgb(colors.first)},
                                    {'S', ToArgb(colors.second)},
                                    {'M', ToArgb(colors.mid)}}),
                        "border " + std::to_string(c.border) + " style " + std::to_string(c.style));
    }
    // Drawing stays inside the client, also on a panel one pixel wide whose
    // RightLine would start left of it.
    Image narrow = MakeImage(4, 3, kBackground);
    DrawPanelBorder(narrow, Rect{2, 0, 3, 3}, 5, 2, light, shadow);
    const BorderColors raised = PanelBorderColors(2, light, shadow);
    ExpectSameImage(
        narrow,
        Art({"..M.", "..S.", "..S."}, {{'S', ToArgb(raised.second)}, {'M', ToArgb(raised.mid)}}),
        "narrow panel");
    Image flatBevel = MakeImage(3, 3, kBackground);
    DrawBevel(flatBevel, Rect{0, 1, 3, 2}, 3, 0, light, shadow); // BottomLine, one pixel high
    ExpectSameImage(flatBevel, Art({"...", "LLL", "..."}, {{'L', ToArgb(light)}}),
                    "bevel one pixel high");

    // Lowered puts the shadow first: LeftLine shows the shadow at x = 0 and
    // the border colour at x = 1.
    const BorderColors lowered = PanelBorderColors(1, light, shadow);
    EXPECT_EQ(lowered.first, shadow);
    EXPECT_EQ(lowered.second, light);
    EXPECT_EQ(lowered.mid, MakeColorRef(150, 150, 150));
    EXPECT_EQ(PanelBorderColors(2, light, shadow).first, light);
    EXPECT_EQ(PanelBorderColors(0, light, shadow).second, light);
}

TEST(DrawBevel, EveryShape) {
    const ColorRef light = MakeColorRef(250, 250, 250), dark = MakeColorRef(50, 50, 50);
    struct Case {
        int shape;
        std::vector<std::string> art; // lowered: D first, L second
    } cases[] = {
        {0, {"DDDL", "D..L", "DLLL"}},
        {1, {"DDD.", "DDDL", ".LLL"}}, // shadow outline, highlight
                                       // one pixel right and below
        {2, {"DDDD", "LLLL", "...."}},
        {3, {"....", "DDDD", "LLLL"}},
        {4, {"DL..", "DL..", "DL.."}},
        {5, {"..DL", "..DL", "..DL"}},
        {6, {"....", "....", "...."}},
    };
    for (const Case& c : cases) {
        for (int style : {0, 1}) {
            Image image = MakeImage(4, 3, kBackground);
            DrawBevel(image, Bounds(image), c.shape, style, light, dark);
            // Raised swaps the two colours.
            const uint32_t first = ToArgb(style == 0 ? dark : light);
            const uint32_t second = ToArgb(style == 0 ? light : dark);
            ExpectSameImage(image, Art(c.art, {{'D', first}, {'L', second}}),
                            "shape " + std::to_string(c.shape) + " style " + std::to_string(style));
        }
    }
    // Drawn at an offset inside a larger canvas.
    Image image = MakeImage(6, 5, kBackground);
    DrawBevel(image, Rect{1, 1, 5, 4}, 0, 1, light, dark);
    ExpectSameImage(image,
                    Art({"......", ".LLLD.", ".L..D.", ".LDDD.", "......"},
                        {{'L', ToArgb(light)}, {'D', ToArgb(dark)}}),
                    "offset box");
}

TEST(DrawGrid, DotsAtEverySpacingInsideTheClient) {
    const std::map<char, uint32_t> black = {{'#', 0xFF000000}};
    Image image = MakeImage(7, 5, kBackground);
    DrawGrid(image, Bounds(image), 3, 2);
    ExpectSameImage(image, Art({"#..#..#", ".......", "#..#..#", ".......", "#..#..#"}, black),
                    "7 x 5");
    // A client of 6 x 4 reaches i = 2 (x = 6), which lies outside.
    Image clipped = MakeImage(7, 5, kBackground);
    DrawGrid(clipped, Rect{0, 0, 6, 4}, 3, 2);
    ExpectSameImage(clipped, Art({"#..#...", ".......", "#..#...", ".......", "......."}, black),
                    "6 x 4");
    Image none = MakeImage(3, 3, kBackground);
    DrawGrid(none, Bounds(none), 0, 2);
    ExpectSameImage(none, Art({"...", "...", "..."}, black), "zero spacing");
}

// ---- Placement ----------------------------------------------------------

TEST(PlaceImage, FillModes) {
    struct Case {
        ImageFill fill;
        Rect area;
        int w, h;
        Rect first;
        int columns, rows;
    } cases[] = {
        {ImageFill::Normal, {0, 0, 10, 10}, 4, 3, {0, 0, 4, 3}, 1, 1},
        {ImageFill::Center, {0, 0, 10, 10}, 4, 3, {3, 3, 7, 6}, 1, 1},
        {ImageFill::Center, {0, 0, 10, 10}, 14, 12, {-2, -1, 12, 11}, 1, 1}, // larger: middle shows
        {ImageFill::Center, {0, 0, 10, 10}, 15, 15, {-2, -2, 13, 13}, 1, 1}, // -2.5 truncates to -2
        {ImageFill::Center, {4, 2, 10, 10}, 2, 2, {6, 5, 8, 7}, 1, 1},
        {ImageFill::Stretch, {0, 0, 10, 10}, 4, 3, {0, 0, 10, 10}, 1, 1},
        {ImageFill::Tile, {0, 0, 10, 7}, 4, 3, {0, 0, 4, 3}, 3, 3},
        {ImageFill::Tile, {0, 0, 8, 6}, 4, 3, {0, 0, 4, 3}, 3, 3}, // one more even when it fits
        {ImageFill::Tile, {0, 0, 3, 2}, 4, 3, {0, 0, 4, 3}, 1, 1},
        {ImageFill::Normal, {0, 0, 10, 10}, 0, 3, {}, 0, 0}, // empty picture
        {ImageFill::Tile, {0, 0, 0, 10}, 4, 3, {}, 0, 0},    // empty area
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const ImageTiles t = PlaceImage(c.fill, c.area, c.w, c.h);
        EXPECT_EQ(t.first, c.first) << "case " << i;
        EXPECT_EQ(t.columns, c.columns) << "case " << i;
        EXPECT_EQ(t.rows, c.rows) << "case " << i;
    }
    ImageFill fill{};
    const ImageFill panel[] = {ImageFill::Normal, ImageFill::Center, ImageFill::Stretch,
                               ImageFill::Tile};
    const ImageFill texture[] = {ImageFill::Tile, ImageFill::Stretch, ImageFill::Center,
                                 ImageFill::Normal};
    for (int v = 0; v < 4; ++v) {
        ASSERT_TRUE(PanelImageFill(v, fill));
        EXPECT_EQ(fill, panel[v]);
        ASSERT_TRUE(TextureImageFill(v, fill));
        EXPECT_EQ(fill, texture[v]);
    }
    EXPECT_FALSE(PanelImageFill(4, fill));
    EXPECT_FALSE(TextureImageFill(-1, fill));
}

TEST(PlacePicture, StretchCenterProportional) {
    struct Case {
        bool stretch, center, proportional;
        int cw, ch, w, h;
        Rect want;
    } cases[] = {
        {false, false, false, 100, 50, 30, 20, {0, 0, 30, 20}},
        {false, true, false, 100, 50, 30, 20, {35, 15, 65, 35}},
        {false, true, false, 100, 50, 130, 70, {-15, -10, 115, 60}},
        {true, false, false, 100, 50, 30, 20, {0, 0, 100, 50}},
        {true, true, false, 100, 50, 30, 20, {0, 0, 100, 50}},  // centring offset 0
        {false, false, true, 100, 100, 30, 20, {0, 0, 30, 20}}, // fits: natural size
        {false, false, true, 100, 100, 200, 100, {0, 0, 100, 50}},
        {false, true, true, 100, 100, 200, 100, {0, 25, 100, 75}},
        {false, false, true, 100, 100, 100, 300, {0, 0, 33, 100}},
        {false, false, true, 100, 50, 300, 200, {0, 0, 75, 50}}, // wide, then height-bound
        {false, false, true, 50, 100, 200, 300, {0, 0, 50, 75}}, // tall, then width-bound
        {true, false, true, 100, 100, 10, 5, {0, 0, 100, 50}},   // stretch enlarges, keeping shape
        {true, false, true, 100, 100, 0, 0, {0, 0, 100, 100}},   // empty picture
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(PlacePicture(c.stretch, c.center, c.proportional, c.cw, c.ch, c.w, c.h), c.want)
            << "case " << i;
    }
}

TEST(PlaceSlide, FitStyles) {
    struct Case {
        int style, aw, ah, pw, ph;
        Rect want;
    } cases[] = {
        {0, 289, 172, 100, 50, {0, 0, 100, 50}},
        {1, 289, 172, 100, 50, {94, 61, 194, 111}},
        {1, 100, 100, 151, 100, {-25, 0, 126, 100}},
        {2, 289, 172, 100, 50, {0, 0, 289, 172}},
        {3, 289, 172, 100, 50, {94, 61, 194, 111}},  // fits: keeps its size
        {4, 289, 172, 100, 50, {0, 14, 289, 158}},   // 289 x 144 at top 14
        {3, 289, 172, 100, 400, {123, 0, 166, 172}}, // too high only
        {3, 289, 172, 600, 100, {0, 62, 289, 110}},  // too wide only
        {3, 289, 172, 1000, 1000, {58, 0, 230, 172}},
        {4, 0, 0, 0, 0, {0, 0, 1, 1}}, // every size raised to 1
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(PlaceSlide(c.style, c.aw, c.ah, c.pw, c.ph), c.want) << "case " << i;
    }
}

// ---- Stretch copy, blending, opacity -----------------------------------

Image Numbered(int w, int h) {
    Image image = MakeImage(w, h);
    for (int i = 0; i < w * h; ++i)
        image.pixels[static_cast<size_t>(i)] =
            0xFF000000u | static_cast<uint32_t>(i * 0x010307 + 0x102030);
    return image;
}

TEST(StretchDraw, NearestMatchesCentreSampling) {
    const Image source = Numbered(5, 3);
    const Rect srcRects[] = {{0, 0, 5, 3}, {1, 1, 4, 3}, {2, 0, 3, 1}};
    for (const Rect& src : srcRects)
        for (int dw = 1; dw <= 11; ++dw)
            for (int dh = 1; dh <= 7; ++dh)
                for (const auto& [ox, oy] : {std::pair{0, 0}, std::pair{-2, 1}, std::pair{3, -1}}) {
                    const Rect dst{ox, oy, ox + dw, oy + dh};
                    Image got = MakeImage(9, 6, kBackground);
                    Image want = got;
                    StretchDraw(got, dst, source, src, StretchFilter::Nearest, false);
                    for (int y = dst.top; y < dst.bottom; ++y)
                        for (int x = dst.left; x < dst.right; ++x) {
                            const int sx = src.left + static_cast<int>(std::floor(
                                                          (x - dst.left + 0.5) * src.Width() / dw));
                            const int sy = src.top + static_cast<int>(std::floor(
                                                         (y - dst.top + 0.5) * src.Height() / dh));
                            SetPixel(want, x, y, source.At(sx, sy));
                        }
                    ExpectSameImage(got, want,
                                    std::to_string(dw) + "x" + std::to_string(dh) + " at " +
                                        std::to_string(ox) + "," + std::to_string(oy));
                }
    // Doubling repeats every pixel.
    const Image doubled = Resize(source, 10, 6, StretchFilter::Nearest);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(doubled.At(x, y), source.At(x / 2, y / 2));
}

// Straight from the definition: every destination pixel averages the
// source area under it, weighting colours by alpha.
uint32_t ReferenceBoxPixel(const Image& s, const Rect& src, int dw, int dh, int dx, int dy) {
    const double x0 = src.left + double(dx) * src.Width() / dw;
    const double x1 = src.left + double(dx + 1) * src.Width() / dw;
    const double y0 = src.top + double(dy) * src.Height() / dh;
    const double y1 = src.top + double(dy + 1) * src.Height() / dh;
    double a = 0, r = 0, g = 0, b = 0, area = 0;
    for (int y = src.top; y < src.bottom; ++y)
        for (int x = src.left; x < src.right; ++x) {
            const double cover = std::max(0.0, std::min(x1, x + 1.0) - std::max(x0, double(x))) *
                                 std::max(0.0, std::min(y1, y + 1.0) - std::max(y0, double(y)));
            const uint32_t p = s.At(x, y);
            const double pa = (p >> 24) / 255.0;
            a += cover * pa;
            r += cover * pa * ((p >> 16) & 0xFF);
            g += cover * pa * ((p >> 8) & 0xFF);
            b += cover * pa * (p & 0xFF);
            area += cover;
        }
    if (a == 0)
        return 0;
    auto q = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return q(a / area * 255) << 24 | q(r / a) << 16 | q(g / a) << 8 | q(b / a);
}

TEST(StretchDraw, SmoothAveragesTheCoveredArea) {
    Image source = Numbered(7, 5);
    for (size_t i = 0; i < source.pixels.size(); i += 3)
        source.pixels[i] = (source.pixels[i] & 0x00FFFFFF) | static_cast<uint32_t>(i * 40 % 256)
                                                                 << 24;
    for (int dw : {1, 2, 3, 7, 10, 15})
        for (int dh : {1, 2, 4, 5, 9}) {
            if (dw == source.width && dh == source.height)
                continue; // a plain copy, checked below
            Image got = MakeImage(dw, dh, kBackground);
            StretchDraw(got, Bounds(got), source, Bounds(source), StretchFilter::Smooth, false);
            for (int y = 0; y < dh; ++y)
                for (int x = 0; x < dw; ++x) {
                    const uint32_t want = ReferenceBoxPixel(source, Bounds(source), dw, dh, x, y);
                    const uint32_t p = got.At(x, y);
                    for (int shift : {0, 8, 16, 24})
                        ASSERT_NEAR(static_cast<int>((p >> shift) & 0xFF),
                                    static_cast<int>((want >> shift) & 0xFF), 1)
                            << dw << "x" << dh << " at " << x << "," << y << " shift " << shift;
                }
        }
    // Same size copies exactly; a transparent neighbour lends no colour.
    ExpectSameImage(Resize(source, 7, 5, StretchFilter::Smooth), source, "identity");
    const Image pair{2, 1, {0xFFFF0000, 0x000000FF}};
    EXPECT_EQ(Resize(pair, 1, 1, StretchFilter::Smooth).pixels[0], 0x80FF0000u);
}

TEST(StretchDraw, BlendsAndRefusesSourceRectsOutsideTheSource) {
    const Image source{1, 1, {0x80FF0000}};
    Image target = MakeImage(2, 1, 0xFF0000FF);
    StretchDraw(target, Rect{0, 0, 2, 1}, source, Bounds(source), StretchFilter::Nearest, true);
    EXPECT_EQ(target.pixels, (std::vector<uint32_t>{0xFF80007F, 0xFF80007F}));
    Image untouched = MakeImage(2, 2, kBackground);
    StretchDraw(untouched, Bounds(untouched), source, Rect{0, 0, 2, 1}, StretchFilter::Smooth,
                false);
    StretchDraw(untouched, Bounds(untouched), source, Rect{-1, 0, 1, 1}, StretchFilter::Nearest,
                false);
    StretchDraw(untouched, Rect{}, source, Bounds(source), StretchFilter::Nearest, false);
    EXPECT_EQ(untouched.pixels, std::vector<uint32_t>(4, kBackground));
}

TEST(Raster, BlendPixelAndDrawImage) {
    struct Case {
        uint32_t dst, src, want;
    } cases[] = {
        {0xFF0000FF, 0x80FF0000, 0xFF80007F}, // half red over blue
        {0x00000000, 0x80FF0000, 0x80FF0000}, // over nothing keeps the source
        {0xFF123456, 0x00FFFFFF, 0xFF123456}, // invisible source
        {0xFF123456, 0xFFABCDEF, 0xFFABCDEF}, // opaque source
        {0x80FF0000, 0x800000FF, 0xC05500AA}, // two halves: alpha 0.75, blue weighs 2:1
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendPixel(c.dst, c.src), c.want) << std::hex << c.dst << " + " << c.src;

    const Image source{2, 2, {0xFF111111, 0x00222222, 0xFF333333, 0xFF444444}};
    Image target = MakeImage(3, 2, kBackground);
    DrawImage(target, 1, -1, source, true);
    EXPECT_EQ(target.pixels, (std::vector<uint32_t>{kBackground, 0xFF333333, 0xFF444444,
                                                    kBackground, kBackground, kBackground}));
    DrawImage(target, -1, 0, source, false);
    EXPECT_EQ(target.At(0, 0), 0x00222222u);
    EXPECT_EQ(target.At(0, 1), 0xFF444444u);
}

TEST(Raster, ScaleAlphaKeepsColours) {
    const Image source{3, 1, {0xFF102030, 0x80405060, 0x00708090}};
    struct Case {
        int percent;
        std::vector<uint32_t> want;
    } cases[] = {
        {100, {0xFF102030, 0x80405060, 0x00708090}},
        {150, {0xFF102030, 0x80405060, 0x00708090}}, // above 100 counts as 100
        {50, {0x7F102030, 0x40405060, 0x00708090}},
        {0, {0x00102030, 0x00405060, 0x00708090}},
        {-5, {0x00102030, 0x00405060, 0x00708090}},
    };
    for (const Case& c : cases) {
        Image shown;
        ScaleAlpha(source, c.percent, shown);
        EXPECT_EQ(shown.pixels, c.want) << c.percent;
        EXPECT_EQ(shown.width, 3);
    }
}

} // namespace
} // namespace orv::gfx
