#include "base/random.h"
#include "gfx/raster.h"
#include "transitions/effects.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace orv::transitions {
namespace {

using gfx::Image;

// Every pixel says where it came from: the tag bit tells the new picture
// from the old frame, the low bits hold its position.
constexpr uint32_t kNewTag = 1u << 23;

uint32_t Code(bool isNew, int x, int y) {
    return 0xFF000000u | (isNew ? kNewTag : 0) | static_cast<uint32_t>(x) << 11 |
           static_cast<uint32_t>(y);
}

Image Coded(int w, int h, bool isNew) {
    Image img = gfx::MakeImage(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.At(x, y) = Code(isNew, x, y);
    return img;
}

bool IsNew(uint32_t v) {
    return (v & kNewTag) != 0;
}
int CodeX(uint32_t v) {
    return static_cast<int>((v >> 11) & 0x7FF);
}
int CodeY(uint32_t v) {
    return static_cast<int>(v & 0x7FF);
}

Image Frame(int style, const Image& old, const Image& pic, int step, int progress) {
    Image frame;
    ComposeFrame(style, old, pic, step, progress, frame);
    return frame;
}

// Effects whose every pixel is the old or the new pixel of the same place.
bool KeepsPlaces(int style) {
    static const std::set<int> inPlace = {5, 6, 11, 12, 22, 23, 28, 29, 43, 44, 45, 46, 53, 54, 55};
    return inPlace.count(style) || (style >= 58 && style <= 117) ||
           (style >= 123 && style <= 127) || (style >= 136 && style <= 150);
}

// ---- Invariants over the whole catalogue ---------------------------------

TEST(EffectCatalogue, EndsShowOldFrameAndNewPicture) {
    const Image old = Coded(37, 23, false), pic = Coded(37, 23, true);
    for (int style = 1; style <= kEffectCount; ++style) {
        SCOPED_TRACE(style);
        EXPECT_EQ(Frame(style, old, pic, 4, 0).pixels, old.pixels);
        EXPECT_EQ(Frame(style, old, pic, 4, 100).pixels, pic.pixels);
        EXPECT_EQ(Frame(style, old, pic, 4, 250).pixels, pic.pixels);
    }
}

TEST(EffectCatalogue, EveryFrameIsMadeOfOldAndNewPixels) {
    // Tiny, thin and odd sizes, the steps that make the grain 0, small and
    // coarse, and every progress value. Each pixel must come from one of the
    // two pictures (the fade blends, so only its alpha is checked), and the
    // effects that work in place must not move pixels.
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{1, 1}, {1, 300}, {300, 1}, {3, 2}, {2, 3}, {7, 5}, {41, 64}};
    Random::Seed(12345);
    for (const Size& s : sizes) {
        const Image old = Coded(s.w, s.h, false), pic = Coded(s.w, s.h, true);
        for (int style = 1; style <= kEffectCount; ++style)
            for (int step : {1, 4, 100})
                for (int p = 0; p <= 100; ++p) {
                    const Image f = Frame(style, old, pic, step, p);
                    ASSERT_EQ(f.width, s.w);
                    ASSERT_EQ(f.height, s.h);
                    for (int y = 0; y < s.h; ++y)
                        for (int x = 0; x < s.w; ++x) {
                            const uint32_t v = f.At(x, y);
                            if (style == 118) {
                                ASSERT_EQ(v >> 24, 0xFFu);
                                continue;
                            }
                            ASSERT_LT(CodeX(v), s.w) << style << " " << s.w << "x" << s.h;
                            ASSERT_LT(CodeY(v), s.h) << style << " " << s.w << "x" << s.h;
                            ASSERT_EQ(v >> 24, 0xFFu);
                            if (KeepsPlaces(style)) {
                                ASSERT_TRUE(CodeX(v) == x && CodeY(v) == y)
                                    << "effect " << style << " moved a pixel at P " << p;
                            }
                        }
                }
    }
}

TEST(EffectCatalogue, EveryEffectDrawsSomethingHalfWay) {
    const Image old = Coded(64, 48, false), pic = Coded(64, 48, true);
    Random::Seed(7);
    for (int style = 1; style <= kEffectCount; ++style) {
        const Image f = Frame(style, old, pic, 4, 50);
        EXPECT_NE(f.pixels, old.pixels) << "effect " << style << " drew nothing";
        EXPECT_NE(f.pixels, pic.pixels) << "effect " << style << " jumped to the end";
    }
}

TEST(EffectCatalogue, RefusesWrongStylesAndSizes) {
    Image screen = Coded(8, 8, false);
    const Image pic = Coded(8, 8, true), small = Coded(4, 8, true);
    EXPECT_FALSE(DrawEffect(0, screen, pic, 4, 50));
    EXPECT_FALSE(DrawEffect(151, screen, pic, 4, 50));
    EXPECT_FALSE(DrawEffect(5, screen, small, 4, 50));
    EXPECT_EQ(screen.pixels, Coded(8, 8, false).pixels);
    // Pictures of different sizes: the frame is the new picture at once.
    EXPECT_EQ(Frame(5, screen, small, 4, 50).pixels, small.pixels);
    // Custom drawing leaves the old frame for the application to draw on.
    EXPECT_EQ(Frame(0, screen, pic, 4, 50).pixels, screen.pixels);
}

// ---- Names ---------------------------------------------------------------

TEST(EffectNames, TableAndLookUp) {
    EXPECT_EQ(EffectName(0), "Custom");
    EXPECT_EQ(EffectName(1), "Expand from right");
    EXPECT_EQ(EffectName(51), "Appear and Contract to middle");
    EXPECT_EQ(EffectName(76), "Unven shred from bottom");
    EXPECT_EQ(EffectName(150), "Rotational star");
    EXPECT_EQ(EffectName(33), EffectName(18));
    EXPECT_EQ(EffectName(34), EffectName(25));
    EXPECT_EQ(EffectName(151), "");
    EXPECT_EQ(FindStyleByName("Expand from bottom"), 18);
    EXPECT_EQ(FindStyleByName("Expand in from top"), 25);
    EXPECT_EQ(FindStyleByName("aPPEAR AND contract TO MIDDLE"), 51);
    EXPECT_EQ(FindStyleByName("CUSTOM"), 0);
    EXPECT_EQ(FindStyleByName("Rotational star "), -1);
    EXPECT_EQ(FindStyleByName(""), -1);
    // Every other name finds its own number.
    for (int style = 1; style <= kEffectCount; ++style)
        if (style != 33 && style != 34) {
            EXPECT_EQ(FindStyleByName(EffectName(style)), style);
        }
}

// ---- Exact frames of chosen effects --------------------------------------

// Which columns of row y show the new picture.
std::string NewColumns(const Image& f, int y) {
    std::string s;
    for (int x = 0; x < f.width; ++x)
        s += IsNew(f.At(x, y)) ? 'n' : 'o';
    return s;
}

TEST(EffectFrames, ExtentsFollowTheLongerSide) {
    // Reveal from left shows columns [0, X): X = 200 on 400 x 300 and, on a
    // 300 x 400 picture, Y = 200 and X = 200 * 300 / 400 = 150.
    for (auto [w, h, x] : {std::tuple{400, 300, 200}, std::tuple{300, 400, 150}}) {
        const Image f = Frame(5, Coded(w, h, false), Coded(w, h, true), 4, 50);
        EXPECT_EQ(NewColumns(f, h - 1), std::string(x, 'n') + std::string(w - x, 'o'));
    }
    // Reveal from top on 300 x 400: rows [0, 200).
    const Image f = Frame(22, Coded(300, 400, false), Coded(300, 400, true), 4, 50);
    EXPECT_TRUE(IsNew(f.At(299, 199)));
    EXPECT_FALSE(IsNew(f.At(0, 200)));
}

TEST(EffectFrames, ExpandFromRightSqueezesTheWholePicture) {
    const Image f = Frame(1, Coded(400, 300, false), Coded(400, 300, true), 4, 25);
    for (int y : {0, 150, 299}) {
        for (int x = 0; x < 300; ++x)
            ASSERT_EQ(f.At(x, y), Code(false, x, y));
        int last = -1;
        for (int x = 300; x < 400; ++x) {
            const uint32_t v = f.At(x, y);
            ASSERT_TRUE(IsNew(v));
            ASSERT_EQ(CodeY(v), y);
            // Four picture columns to one frame column, in order.
            ASSERT_GE(CodeX(v), (x - 300) * 4);
            ASSERT_LT(CodeX(v), (x - 300) * 4 + 4);
            ASSERT_GT(CodeX(v), last);
            last = CodeX(v);
        }
    }
}

TEST(EffectFrames, SlideMovesThePictureUnscaled) {
    // Slide in from right at P 25 on 400 x 300: picture column c at 300 + c.
    const Image f = Frame(3, Coded(400, 300, false), Coded(400, 300, true), 4, 25);
    for (int x = 300; x < 400; ++x)
        ASSERT_EQ(f.At(x, 10), Code(true, x - 300, 10));
    EXPECT_EQ(f.At(299, 10), Code(false, 299, 10));
}

TEST(EffectFrames, PushRightMovesTheOldFrameOut) {
    const Image f = Frame(128, Coded(400, 300, false), Coded(400, 300, true), 4, 50);
    for (int y : {0, 299})
        for (int x = 0; x < 400; ++x)
            ASSERT_EQ(f.At(x, y), x < 200 ? Code(true, x + 200, y) : Code(false, x - 200, y));
    // Push up at P 25 on 300 rows (X = 100, Y = 75): old rows 75.. move to 0.
    const Image g = Frame(133, Coded(400, 300, false), Coded(400, 300, true), 4, 25);
    EXPECT_EQ(g.At(5, 0), Code(false, 5, 75));
    EXPECT_EQ(g.At(5, 224), Code(false, 5, 299));
    EXPECT_EQ(g.At(5, 225), Code(true, 5, 0));
    EXPECT_EQ(g.At(5, 299), Code(true, 5, 74));
}

TEST(EffectFrames, FadeMixesEachChannel) {
    Image old = gfx::MakeImage(2, 1, 0x7FC86400); // alpha 7F, red 200, green 100, blue 0
    Image pic = gfx::MakeImage(2, 1, 0xFF320064); // red 50, green 0, blue 100
    const Image f = Frame(118, old, pic, 4, 30);
    // (blue, green, red) = (30, 70, 155); the fourth byte is the old one.
    EXPECT_EQ(f.At(0, 0), 0x7F9B461Eu);
    EXPECT_EQ(f.At(1, 0), 0x7F9B461Eu);
}

TEST(EffectFrames, BarsFromRightFillFirstSetThenSecond) {
    // 100 x 100 with step 4: K = 4. P 25: E = 50; P 75: E = 150.
    const Image old = Coded(100, 100, false), pic = Coded(100, 100, true);
    const std::string half = std::string(50, 'o') + std::string(50, 'n');
    const std::string full(100, 'n');
    const Image quarter = Frame(60, old, pic, 4, 25);
    const Image most = Frame(60, old, pic, 4, 75);
    for (int y = 0; y < 100; ++y) {
        const bool first = (y / 5) % 2 == 0;
        EXPECT_EQ(NewColumns(quarter, y), first ? half : std::string(100, 'o')) << y;
        EXPECT_EQ(NewColumns(most, y), first ? full : half) << y;
    }
}

TEST(EffectFrames, RandomSquaresStayOnceShown) {
    const Image old = Coded(120, 90, false), pic = Coded(120, 90, true);
    Image previous = Frame(127, old, pic, 4, 1);
    for (int p = 5; p < 100; p += 7) {
        const Image f = Frame(127, old, pic, 4, p);
        for (size_t i = 0; i < f.pixels.size(); ++i)
            if (IsNew(previous.pixels[i])) {
                ASSERT_TRUE(IsNew(f.pixels[i])) << "square lost at P " << p;
            }
        previous = f;
    }
    // The reseeding makes every frame for one progress the same.
    EXPECT_EQ(Frame(127, old, pic, 4, 40).pixels, Frame(127, old, pic, 4, 40).pixels);
}

TEST(EffectFrames, SweepsTurnFromTheTop) {
    // Half way a sweep covers almost half a turn: clockwise the right side,
    // anticlockwise the left side.
    const Image old = Coded(200, 100, false), pic = Coded(200, 100, true);
    const Image cw = Frame(143, old, pic, 4, 50), acw = Frame(144, old, pic, 4, 50);
    EXPECT_TRUE(IsNew(cw.At(150, 20)));
    EXPECT_TRUE(IsNew(cw.At(150, 80)));
    EXPECT_FALSE(IsNew(cw.At(50, 20)));
    EXPECT_FALSE(IsNew(cw.At(50, 80)));
    EXPECT_TRUE(IsNew(acw.At(50, 20)));
    EXPECT_FALSE(IsNew(acw.At(150, 80)));
}

TEST(EffectFrames, CircleRevealGrowsFromTheCentre) {
    const Image old = Coded(200, 100, false), pic = Coded(200, 100, true);
    const Image f = Frame(84, old, pic, 4, 30); // X = 60, Y = 30
    EXPECT_TRUE(IsNew(f.At(100, 50)));
    EXPECT_TRUE(IsNew(f.At(155, 50)));  // inside the right end of the ellipse
    EXPECT_FALSE(IsNew(f.At(165, 50))); // beyond it
    EXPECT_FALSE(IsNew(f.At(41, 21)));  // a corner rounded away
    EXPECT_FALSE(IsNew(f.At(0, 0)));
    // Its counterpart closes in: the corners first, the centre last.
    const Image g = Frame(85, old, pic, 4, 70);
    EXPECT_TRUE(IsNew(g.At(0, 0)));
    EXPECT_FALSE(IsNew(g.At(100, 50)));
}

TEST(EffectFrames, DiagonalRevealIsATriangle) {
    const Image old = Coded(100, 100, false), pic = Coded(100, 100, true);
    const Image f = Frame(110, old, pic, 4, 25); // corners (0,0), (50,0), (0,50)
    EXPECT_TRUE(IsNew(f.At(0, 0)));
    EXPECT_TRUE(IsNew(f.At(24, 24)));
    EXPECT_FALSE(IsNew(f.At(25, 25)));
    EXPECT_TRUE(IsNew(f.At(48, 0)));
    EXPECT_FALSE(IsNew(f.At(50, 0)));
}

TEST(EffectFrames, PivotSwingsInAboutItsCorner) {
    const Image old = Coded(80, 60, false), pic = Coded(80, 60, true);
    auto covered = [](const Image& f) {
        int n = 0;
        for (uint32_t v : f.pixels)
            n += IsNew(v);
        return n;
    };
    for (int style = 119; style <= 122; ++style) {
        SCOPED_TRACE(style);
        // Near the end the picture lies almost in place: turned by less
        // than a degree, no pixel is more than two pixels from home.
        const Image late = Frame(style, old, pic, 4, 99);
        int near = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                const uint32_t v = late.At(x, y);
                near += IsNew(v) && std::abs(CodeX(v) - x) <= 2 && std::abs(CodeY(v) - y) <= 2;
            }
        EXPECT_GT(near, 80 * 60 * 95 / 100);
        // It turns in steadily.
        const int early = covered(Frame(style, old, pic, 4, 10));
        const int half = covered(Frame(style, old, pic, 4, 50));
        EXPECT_LT(early, half);
        EXPECT_GT(half, 80 * 60 / 5);
        EXPECT_LT(half, 80 * 60 * 4 / 5);
    }
    // Half way (a turn of 45 degrees) about the top-right corner, the
    // picture's top-right pixel is next to the pivot and the far side is empty.
    const Image half = Frame(122, old, pic, 4, 50);
    EXPECT_EQ(half.At(79, 1), Code(true, 79, 0));
    EXPECT_FALSE(IsNew(half.At(0, 59)));
}

TEST(EffectFrames, RollMirrorsTheStripBeyondItsEdge) {
    // Unroll from left on 100 x 10 at P 50: X = 50, roll width W div 10 = 10.
    // Columns [0, 50) are in place; the roll shows columns 60..69 mirrored.
    const Image f = Frame(14, Coded(100, 10, false), Coded(100, 10, true), 4, 50);
    for (int x = 0; x < 50; ++x)
        ASSERT_EQ(f.At(x, 3), Code(true, x, 3));
    EXPECT_TRUE(IsNew(f.At(50, 3)));
    EXPECT_GT(CodeX(f.At(50, 3)), CodeX(f.At(59, 3)));
    EXPECT_GE(CodeX(f.At(59, 3)), 60);
    EXPECT_LE(CodeX(f.At(50, 3)), 69);
    EXPECT_FALSE(IsNew(f.At(61, 3)));
}

TEST(EffectFrames, BlindsOpenInEveryPeriod) {
    // Blind vertically on 90 x 30 with step 4: K = 4, period 22, P 50 shows
    // 11 columns at the start of every period.
    const Image f = Frame(136, Coded(90, 30, false), Coded(90, 30, true), 4, 50);
    std::string want;
    for (int x = 0; x < 90; ++x)
        want += x % 22 < 11 ? 'n' : 'o';
    EXPECT_EQ(NewColumns(f, 7), want);
}

} // namespace
} // namespace orv::transitions
