#include "fxtext/blend.h"

#include "gfx/raster.h"
#include "reference.h"

#include <gtest/gtest.h>

namespace orv::fx {
namespace {

using ref::Grid;

void ExpectSame(const gfx::Image& got, const gfx::Image& want, const std::string& what) {
    ASSERT_EQ(got.width, want.width) << what;
    ASSERT_EQ(got.height, want.height) << what;
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x)
            ASSERT_EQ(got.At(x, y), want.At(x, y))
                << what << " at (" << x << ", " << y << ")" << std::hex << " got " << got.At(x, y)
                << " want " << want.At(x, y);
}

// ---- compositing ---------------------------------------------------------

TEST(FxBlendColor, MatchesThePartForEveryOpacity) {
    for (int percent : {0, 1, 2, 37, 50, 99, 100, 150, -5})
        for (int x : {-3, 0, 2, 9}) {
            const Grid g = ref::RandomGrid(8, 5, static_cast<uint32_t>(percent + 1000 + x));
            gfx::Image target = ref::RandomImage(12, 7, static_cast<uint32_t>(percent + 7));
            gfx::Image want = target;
            const gfx::ColorRef color = gfx::MakeColorRef(0x12, 0xF0, 0x80);
            ref::Composite(want, x, 1, g, percent, [&](int, int) { return 0x12F080u; });
            BlendMaskColor(target, x, 1, ref::ToMask(g), percent, color);
            ExpectSame(target, want, "percent " + std::to_string(percent));
        }
}

TEST(FxBlendColor, FullInkReplacesAndNearlyFullMovesWithTheSignKept) {
    const TFxMask m = ref::ToMask({{255, 254, 1, 0}});
    gfx::Image target = gfx::MakeImage(4, 1, 0xFF00FF00u); // green
    BlendMaskColor(target, 0, 0, m, 100, gfx::MakeColorRef(255, 0, 0));
    EXPECT_EQ(target.At(0, 0), 0xFFFF0000u); // 255 * 256 = 65280 replaces
    // 254 * 256: t = 254; red 0 -> (255 * 254) >> 8 = 253; green 255 ->
    // 255 + ((-255 * 254) >> 8) = 255 - 254 = 1 (rounded toward minus infinity).
    EXPECT_EQ(target.At(1, 0), 0xFFFD0100u);
    // 1 * 256: t = 1; red (255 * 1) >> 8 = 0, green 255 + ((-255 * 1) >> 8) = 254.
    EXPECT_EQ(target.At(2, 0), 0xFF00FE00u);
    EXPECT_EQ(target.At(3, 0), 0xFF00FF00u);
}

TEST(FxBlendColor, OpacityZeroLeavesTheTarget) {
    const TFxMask m = ref::ToMask(ref::RandomGrid(6, 6, 3));
    gfx::Image target = ref::RandomImage(6, 6, 4);
    const gfx::Image before = target;
    BlendMaskColor(target, 0, 0, m, 0, 0xFFFFFF);
    ExpectSame(target, before, "alpha 0");
}

TEST(FxBlendColor, HalfOpacityAndTheTargetsAlpha) {
    // 50 % is k = 128: full ink gives t = 127.
    const TFxMask m = ref::ToMask({{255}});
    gfx::Image target = gfx::MakeImage(1, 1, 0x40000000u); // translucent black
    BlendMaskColor(target, 0, 0, m, 50, gfx::MakeColorRef(255, 255, 255));
    EXPECT_EQ(target.At(0, 0), 0x407E7E7Eu); // (255 * 127) >> 8 = 126; alpha kept
}

TEST(FxBlendColor, ClipsToTheTarget) {
    const Grid g = ref::RandomGrid(10, 10, 8);
    for (int x : {-12, -9, -1, 5, 9, 30})
        for (int y : {-10, -4, 0, 3, 9}) {
            gfx::Image target = ref::RandomImage(10, 10, 1);
            gfx::Image want = target;
            ref::Composite(want, x, y, g, 80, [](int, int) { return 0xABCDEFu; });
            BlendMaskColor(target, x, y, ref::ToMask(g), 80, gfx::MakeColorRef(0xAB, 0xCD, 0xEF));
            ExpectSame(target, want, "at " + std::to_string(x) + "," + std::to_string(y));
        }
    gfx::Image none;
    BlendMaskColor(none, 0, 0, ref::ToMask(g), 100, 0); // an empty target is fine
}

TEST(FxBlendForeground, TakesTheFillFromThePicture) {
    const Grid g = ref::RandomGrid(9, 4, 21);
    const gfx::Image fill = ref::RandomImage(9, 4, 22);
    for (int percent : {30, 100}) {
        gfx::Image target = ref::RandomImage(11, 6, 23);
        gfx::Image want = target;
        ref::Composite(want, 1, 2, g, percent,
                       [&](int k, int r) { return fill.At(k, r) & 0xFFFFFF; });
        TFxBlend blend;
        blend.Foreground() = fill;
        blend.BlendForeground(target, 1, 2, ref::ToMask(g), percent);
        ExpectSame(target, want, "foreground");
    }
}

TEST(FxBlendForeground, WrongSizeIsInvalidForegroundBitmap) {
    const TFxMask m = ref::ToMask(ref::RandomGrid(4, 3, 2));
    gfx::Image target = gfx::MakeImage(8, 8);
    TFxBlend blend;
    for (const gfx::Image& fg : {gfx::MakeImage(3, 3), gfx::MakeImage(4, 4), gfx::Image{}}) {
        blend.Foreground() = fg;
        try {
            blend.BlendForeground(target, 0, 0, m, 100);
            ADD_FAILURE() << "accepted " << fg.width << "x" << fg.height;
        } catch (const TFxError& e) {
            EXPECT_STREQ(e.what(), "Invalid foreground bitmap!");
        }
    }
    // Even at opacity 0 the check comes first.
    blend.Foreground() = gfx::MakeImage(1, 1);
    EXPECT_THROW(blend.BlendForeground(target, 0, 0, m, 0), TFxError);
}

// ---- gradient ------------------------------------------------------------

TEST(FxGradient, EveryStyleMatchesThePart) {
    const gfx::ColorRef start = gfx::MakeColorRef(250, 10, 128);
    const gfx::ColorRef end = gfx::MakeColorRef(3, 200, 129);
    for (int style = 0; style <= 5; ++style)
        for (int w : {1, 2, 5, 8})
            for (int h : {1, 3, 6}) {
                gfx::Image fg;
                GradientForeground(fg, w, h, style, start, end);
                ASSERT_EQ(fg.width, w);
                ASSERT_EQ(fg.height, h);
                const bool horizontal = style == 0 || style == 1 || style == 4;
                const auto line = ref::GradientLine(horizontal ? w : h, style, start, end);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        ASSERT_EQ(fg.At(x, y),
                                  0xFF000000u | line[static_cast<size_t>(horizontal ? x : y)])
                            << "style " << style << " " << w << "x" << h << " at " << x << "," << y;
            }
}

TEST(FxGradient, NeverReachesTheTargetColour) {
    gfx::Image fg;
    GradientForeground(fg, 4, 1, gradual::gsLeftToRight, 0xFFFFFF, 0x000000);
    // 255 + i * -255 div 4: 255, 192, 128, 64 (truncated toward zero).
    EXPECT_EQ(fg.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(fg.At(1, 0), 0xFFC0C0C0u);
    EXPECT_EQ(fg.At(2, 0), 0xFF808080u);
    EXPECT_EQ(fg.At(3, 0), 0xFF404040u);
    GradientForeground(fg, 4, 1, gradual::gsRightToLeft, 0xFFFFFF, 0x000000);
    EXPECT_EQ(fg.At(0, 0), 0xFF000000u); // from EndColor
    EXPECT_EQ(fg.At(3, 0), 0xFFBFBFBFu); // 0 + 3 * 255 div 4 = 191
}

TEST(FxGradient, CentreStylesMirrorTheLine) {
    gfx::Image fg;
    // L = 5, n = 3, from EndColor (the edges) to StartColor (the middle).
    GradientForeground(fg, 5, 2, gradual::gsCenterToLR, 0xFFFFFF, 0x000000);
    const uint32_t want[] = {0, 85, 170, 85, 0};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(fg.At(x, 1), 0xFF000000u | want[x] * 0x010101u) << x;
    // L = 4, n = 2: 0, 127, 127, 0.
    GradientForeground(fg, 3, 4, gradual::gsCenterToTB, 0xFFFFFF, 0x000000);
    const uint32_t rows[] = {0, 127, 127, 0};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(fg.At(2, y), 0xFF000000u | rows[y] * 0x010101u) << y;
}

// ---- texture -------------------------------------------------------------

gfx::Image Picture3x2() {
    gfx::Image p = gfx::MakeImage(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            p.At(x, y) = 0xFF000000u | static_cast<uint32_t>(0x10 * (y * 3 + x + 1));
    p.At(1, 1) = 0x00FFFFFFu; // transparent: the font colour shows
    return p;
}

TEST(FxTexture, ModesPlaceThePicture) {
    const gfx::Image pic = Picture3x2();
    const gfx::ColorRef font = gfx::MakeColorRef(0x11, 0x22, 0x33);
    const uint32_t fontPx = 0xFF112233u;
    auto picAt = [&](int x, int y) {
        const uint32_t p = pic.At(x, y);
        return (p >> 24) ? p : fontPx;
    };
    gfx::Image fg;
    // Tiled from (0, 0).
    TextureForeground(fg, 7, 5, pic, false, texture::tmTiled, font, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(fg.At(x, y), picAt(x % 3, y % 2)) << x << "," << y;
    // Normal: once at (0, 0).
    TextureForeground(fg, 7, 5, pic, false, texture::tmNormal, font, 0);
    EXPECT_EQ(fg.At(0, 0), picAt(0, 0));
    EXPECT_EQ(fg.At(1, 1), fontPx);
    EXPECT_EQ(fg.At(3, 0), fontPx);
    EXPECT_EQ(fg.At(0, 2), fontPx);
    // Centre: at ((7 - 3) div 2, (5 - 2) div 2) = (2, 1).
    TextureForeground(fg, 7, 5, pic, false, texture::tmCenter, font, 0);
    EXPECT_EQ(fg.At(2, 1), picAt(0, 0));
    EXPECT_EQ(fg.At(4, 2), picAt(2, 1));
    EXPECT_EQ(fg.At(1, 1), fontPx);
    // A picture larger than the map: the offset truncates toward zero,
    // (2 - 3) div 2 = 0 and (1 - 2) div 2 = 0.
    TextureForeground(fg, 2, 1, pic, false, texture::tmCenter, font, 0);
    EXPECT_EQ(fg.At(0, 0), picAt(0, 0));
    EXPECT_EQ(fg.At(1, 0), picAt(1, 0));
    // Stretched over the whole map (the platform's nearest-pixel stretch).
    TextureForeground(fg, 6, 4, pic, false, texture::tmStretched, font, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(fg.At(x, y), picAt(x / 2, y / 2)) << x << "," << y;
}

TEST(FxTexture, AStretchedIconShowsTheWindowTextColourWhereTransparent) {
    const gfx::Image pic = Picture3x2();
    const gfx::ColorRef font = gfx::MakeColorRef(0x11, 0x22, 0x33);
    const gfx::ColorRef windowText = gfx::MakeColorRef(0x01, 0x02, 0x03);
    gfx::Image fg;
    TextureForeground(fg, 6, 4, pic, true, texture::tmStretched, font, windowText);
    EXPECT_EQ(fg.At(2, 2), 0xFF010203u); // pic (1, 1) is transparent
    EXPECT_EQ(fg.At(0, 0), pic.At(0, 0));
    // Not stretched, an icon's transparent parts show the font colour.
    TextureForeground(fg, 6, 4, pic, true, texture::tmNormal, font, windowText);
    EXPECT_EQ(fg.At(1, 1), 0xFF112233u);
}

TEST(FxTexture, NoPictureGivesTheFontColour) {
    gfx::Image fg;
    TextureForeground(fg, 3, 3, gfx::Image{}, false, texture::tmTiled, 0x0000FF, 0);
    for (uint32_t p : fg.pixels)
        EXPECT_EQ(p, 0xFFFF0000u);
}

// ---- noise ---------------------------------------------------------------

TEST(FxNoise, AloneAroundTheFontColour) {
    for (int noise : {1, 2, 17, 255}) {
        const gfx::ColorRef font = gfx::MakeColorRef(250, 3, 128);
        Random::Seed(99);
        gfx::Image fg;
        NoiseForeground(fg, 5, 3, font, noise);
        Random::Seed(99);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const int b =
                    ref::Clamp(128 + static_cast<int>(Random::Next(noise)) - noise / 2, 0, 255);
                const int g =
                    ref::Clamp(3 + static_cast<int>(Random::Next(noise)) - noise / 2, 0, 255);
                const int r =
                    ref::Clamp(250 + static_cast<int>(Random::Next(noise)) - noise / 2, 0, 255);
                ASSERT_EQ(fg.At(x, y), 0xFF000000u | static_cast<uint32_t>(r << 16 | g << 8 | b))
                    << noise << " at " << x << "," << y;
            }
    }
}

TEST(FxNoise, AddedToEveryByteOfAFill) {
    gfx::Image fg = ref::RandomImage(4, 4, 5);
    fg.At(0, 0) = 0xFF00FFFFu; // clamps at both ends
    const gfx::Image before = fg;
    Random::Seed(3);
    AddNoise(fg, 100);
    Random::Seed(3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint32_t p = before.At(x, y);
            const int b = ref::Clamp(
                static_cast<int>(p & 0xFF) + static_cast<int>(Random::Next(100)) - 50, 0, 255);
            const int g = ref::Clamp(static_cast<int>((p >> 8) & 0xFF) +
                                         static_cast<int>(Random::Next(100)) - 50,
                                     0, 255);
            const int r = ref::Clamp(static_cast<int>((p >> 16) & 0xFF) +
                                         static_cast<int>(Random::Next(100)) - 50,
                                     0, 255);
            ASSERT_EQ(fg.At(x, y), 0xFF000000u | static_cast<uint32_t>(r << 16 | g << 8 | b));
        }
    // Zero noise changes nothing and draws nothing.
    Random::Seed(8);
    const gfx::Image same = fg;
    AddNoise(fg, 0);
    ExpectSame(fg, same, "no noise");
    EXPECT_EQ(Random::State(), 8u);
}

} // namespace
} // namespace orv::fx
