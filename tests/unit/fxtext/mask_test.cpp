#include "fxtext/blockfont.h"
#include "fxtext/mask.h"

#include "reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace orv::fx {
namespace {

using ref::Grid;

constexpr TFxQuality kQualities[] = {TFxQuality::aqHigh, TFxQuality::aqNormal, TFxQuality::aqLow,
                                     TFxQuality::aqNone};

// ---- quality and rows ----------------------------------------------------

TEST(FxQuality, FactorsAndDefault) {
    EXPECT_EQ(QualityFactor(TFxQuality::aqHigh), 4);
    EXPECT_EQ(QualityFactor(TFxQuality::aqNormal), 3);
    EXPECT_EQ(QualityFactor(TFxQuality::aqLow), 2);
    EXPECT_EQ(QualityFactor(TFxQuality::aqNone), 1);
    EXPECT_EQ(TFxMask().Quality(), TFxQuality::aqNormal); // a new renderer starts at aqNormal
    EXPECT_EQ(QualityFromByte(0), TFxQuality::aqHigh);
    EXPECT_EQ(QualityFromByte(3), TFxQuality::aqNone);
    EXPECT_EQ(QualityFromByte(200), TFxQuality::aqNormal);
}

TEST(FxMask, RowsArePaddedToFourBytesAndStartBlack) {
    TFxMask m;
    for (int w : {1, 3, 4, 5, 8, 13}) {
        m.SetSize(w, 2);
        EXPECT_EQ(m.Stride() % 4, 0) << w;
        EXPECT_GE(m.Stride(), w);
        EXPECT_LT(m.Stride(), w + 4);
        EXPECT_EQ(m.Line(1)[w - 1], 0);
    }
    m.SetSize(-2, 5);
    EXPECT_TRUE(m.Empty());
}

TEST(FxMask, RowOutsideTheMapIsInvalidLine) {
    TFxMask m;
    m.SetSize(4, 3);
    EXPECT_NO_THROW(m.Line(0));
    EXPECT_NO_THROW(m.Line(2));
    for (int r : {-1, 3, 1000}) {
        try {
            m.Line(r);
            ADD_FAILURE() << "row " << r << " was accepted";
        } catch (const TFxError& e) {
            EXPECT_STREQ(e.what(), "Invalid line!");
        }
        const TFxMask& cm = m;
        EXPECT_THROW(cm.Line(r), TFxError);
    }
    TFxMask empty;
    EXPECT_THROW(empty.Line(0), TFxError);
}

// ---- reduction -----------------------------------------------------------

TEST(FxMaskReduce, FullyCoveredBlockPerQuality) {
    // aqNormal counts two of its nine samples half, so full ink is 254.
    const int want[] = {255, 254, 255, 255};
    for (int q = 0; q < 4; ++q) {
        TFxMask m;
        m.SetQuality(kQualities[q]);
        const int f = m.Factor();
        m.SetSize(3, 2);
        TFxGrayBitmap s;
        s.Reset(3 * f, 2 * f);
        std::fill(s.bits.begin(), s.bits.end(), uint8_t{255});
        m.Reduce(s);
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(m.Line(r)[k], want[q]) << "quality " << q;
    }
}

TEST(FxMaskReduce, NormalQualityWeightsEachSample) {
    // One white sample at a time: full weight 255 >> 3, half weight
    // (255 div 2) >> 3 for the top-right and bottom-left samples.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            TFxMask m;
            m.SetQuality(TFxQuality::aqNormal);
            m.SetSize(1, 1);
            TFxGrayBitmap s;
            s.Reset(3, 3);
            s.Row(r)[c] = 255;
            m.Reduce(s);
            const bool half = (r == 0 && c == 2) || (r == 2 && c == 0);
            EXPECT_EQ(m.Line(0)[0], half ? 127 >> 3 : 255 >> 3) << r << "," << c;
        }
}

TEST(FxMaskReduce, MatchesThePartOnRandomSamples) {
    for (TFxQuality q : kQualities)
        for (int w : {1, 2, 3, 5, 7, 16}) {
            for (int h : {1, 2, 4}) {
                TFxMask m;
                m.SetQuality(q);
                const int f = m.Factor();
                m.SetSize(w, h);
                TFxGrayBitmap s;
                // A larger scratch than needed: only the top-left blocks count.
                s.Reset(w * f + 3, h * f + 1);
                const Grid noise =
                    ref::RandomGrid(s.stride, s.height, static_cast<uint32_t>(w * 31 + h));
                for (int y = 0; y < s.height; ++y)
                    for (int x = 0; x < s.stride; ++x)
                        s.Row(y)[x] = static_cast<uint8_t>(noise[y][x]);
                m.Reduce(s);
                for (int r = 0; r < h; ++r)
                    for (int k = 0; k < w; ++k)
                        ASSERT_EQ(m.Line(r)[k], ref::ReduceBlock(s, f, k, r))
                            << "f " << f << " size " << w << "x" << h << " at " << k << "," << r;
            }
        }
}

TEST(FxMaskReduce, RefusesATooSmallScratch) {
    TFxMask m;
    m.SetQuality(TFxQuality::aqHigh);
    m.SetSize(2, 2);
    TFxGrayBitmap s;
    s.Reset(7, 8);
    EXPECT_THROW(m.Reduce(s), TFxError);
}

// ---- measuring -----------------------------------------------------------

TEST(FxTextBox, RoundsUpToWholePixels) {
    EXPECT_EQ(TextBoxOf({10, 12}, 4, false, 3, 0), (TFxTextBox{3, 3, 0, 0}));
    EXPECT_EQ(TextBoxOf({12, 13}, 4, false, 3, 0), (TFxTextBox{3, 4, 0, 0}));
    EXPECT_EQ(TextBoxOf({7, 5}, 1, false, 3, 0), (TFxTextBox{7, 5, 0, 0}));
    EXPECT_EQ(TextBoxOf({0, 0}, 3, false, 0, 0), (TFxTextBox{0, 0, 0, 0}));
}

TEST(FxTextBox, ItalicAddsRoomForTheOverhang) {
    // w + Round(w / length * 0.3), halves to even.
    EXPECT_EQ(TextBoxOf({20, 8}, 1, true, 3, 0).width, 22); // 2.0
    EXPECT_EQ(TextBoxOf({5, 8}, 1, true, 1, 0).width, 7);   // 1.5 -> 2
    EXPECT_EQ(TextBoxOf({15, 8}, 1, true, 1, 0).width, 19); // 4.5 -> 4
    EXPECT_EQ(TextBoxOf({100, 8}, 1, true, 10, 0).width, 103);
    EXPECT_EQ(TextBoxOf({20, 8}, 1, false, 3, 0).width, 20); // not italic
    EXPECT_EQ(TextBoxOf({20, 8}, 1, true, 0, 0).width, 20);  // no characters
}

TEST(FxTextBox, RotatedBoxAndOrigin) {
    // 90 degrees counter-clockwise: the text reads upward, its reference
    // point at the bottom-left of the turned box.
    EXPECT_EQ(TextBoxOf({40, 10}, 1, false, 4, 900), (TFxTextBox{10, 40, 0, 40}));
    // 180 degrees: upside down, the reference point at the bottom-right.
    EXPECT_EQ(TextBoxOf({40, 10}, 1, false, 4, 1800), (TFxTextBox{40, 10, 40, 10}));
    // -90 degrees (clockwise): reading downward from the top-right.
    EXPECT_EQ(TextBoxOf({40, 10}, 1, false, 4, -900), (TFxTextBox{10, 40, 10, 0}));
    // The supersampled extent is reduced before rotating.
    EXPECT_EQ(TextBoxOf({160, 40}, 4, false, 4, 900), (TFxTextBox{10, 40, 0, 40}));
}

TEST(FxTextBox, RotationFollowsThePartsArithmetic) {
    for (int esc : {1, 150, 300, 450, 1234, -450, -2700, 3599}) {
        for (int w : {1, 7, 40, 101})
            for (int h : {1, 10, 13}) {
                const double a = esc * std::numbers::pi / 1800, t = -a;
                const double cs[4][2] = {{-w / 2.0, -h / 2.0},
                                         {w / 2.0, -h / 2.0},
                                         {w / 2.0, h / 2.0},
                                         {-w / 2.0, h / 2.0}};
                long xs[4], ys[4];
                for (int i = 0; i < 4; ++i) {
                    xs[i] = ref::RoundEven(cs[i][0] * std::cos(t) - cs[i][1] * std::sin(t));
                    ys[i] = ref::RoundEven(cs[i][0] * std::sin(t) + cs[i][1] * std::cos(t));
                }
                const long bw = *std::max_element(xs, xs + 4) - *std::min_element(xs, xs + 4);
                const long bh = *std::max_element(ys, ys + 4) - *std::min_element(ys, ys + 4);
                const TFxTextBox box = TextBoxOf({w, h}, 1, false, 1, esc);
                EXPECT_EQ(box.width, bw) << esc << " " << w << "x" << h;
                EXPECT_EQ(box.height, bh);
                EXPECT_EQ(box.originX, bw / 2 + xs[0]);
                EXPECT_EQ(box.originY, bh / 2 + ys[0]);
            }
    }
}

TEST(FxMaskMeasure, UsesTheSourceAtTheMasksFactor) {
    TFxBlockFont font(16);
    TFxMask m;
    for (TFxQuality q : kQualities) {
        m.SetQuality(q);
        const int f = m.Factor();
        const TFxSize e = font.Extent("AB", f);
        EXPECT_EQ(e.width, 2 * 6 * 16 * f / 10);
        const TFxTextBox box = m.Measure(font, "AB");
        EXPECT_EQ(box.width, (e.width + f - 1) / f);
        EXPECT_EQ(box.height, 16);
    }
    const TFxTextBox empty = m.Measure(font, "");
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 16);
}

// ---- rendering -----------------------------------------------------------

TEST(FxMaskRender, SizeAndInkOfABlockGlyph) {
    TFxBlockFont font(20); // units of 2 pixels
    TFxMask m;
    m.SetQuality(TFxQuality::aqHigh);
    m.Render(font, "|");
    ASSERT_EQ(m.Width(), 12);
    ASSERT_EQ(m.Height(), 20);
    // '|' is the middle column (4..6 px), rows 1..3 and 5..7 of the glyph.
    for (int r = 0; r < 20; ++r)
        for (int k = 0; k < 12; ++k) {
            const int unitRow = r / 2 - 1;
            const bool ink =
                k >= 4 && k < 6 && unitRow >= 0 && unitRow < 8 && ((0x77 >> unitRow) & 1);
            EXPECT_EQ(m.Line(r)[k], ink ? 255 : 0) << k << "," << r;
        }
    EXPECT_EQ(font.Renderings(), 1);

    m.SetQuality(TFxQuality::aqNormal);
    m.Render(font, "|");
    EXPECT_EQ(m.Line(4)[4], 254);
}

TEST(FxMaskRender, EdgesBetweenSamplesGivePartialCoverage) {
    TFxBlockFont font(15); // units of 1.5 pixels
    TFxMask m;
    m.SetQuality(TFxQuality::aqHigh);
    m.Render(font, "H");
    bool partial = false;
    for (int r = 0; r < m.Height(); ++r)
        for (int k = 0; k < m.Width(); ++k)
            partial |= m.Line(r)[k] > 0 && m.Line(r)[k] < 255;
    EXPECT_TRUE(partial);
}

TEST(FxMaskRender, EmptyTextGivesAnEmptyMapWithoutRendering) {
    TFxBlockFont font(16);
    TFxMask m;
    m.SetSize(5, 5);
    m.Render(font, "");
    EXPECT_TRUE(m.Empty());
    EXPECT_EQ(font.Renderings(), 0);
}

TEST(FxMaskRender, AbsurdSizesAreNotRendered) {
    TFxBlockFont font(20000);
    TFxMask m;
    m.Render(font, "x");
    EXPECT_TRUE(m.Empty());
    EXPECT_EQ(font.Renderings(), 0);
}

TEST(FxMaskRender, RightAngleSwapsTheBox) {
    TFxBlockFont font(16);
    TFxMask m;
    m.SetQuality(TFxQuality::aqLow);
    // Only the first character has ink.
    m.Render(font, "H    ");
    const int w = m.Width(), h = m.Height();
    for (int r = 0; r < h; ++r)
        for (int k = w / 5 + 1; k < w; ++k) {
            ASSERT_EQ(m.Line(r)[k], 0);
        }
    font.SetEscapement(900);
    m.Render(font, "H    ");
    EXPECT_EQ(m.Width(), h);
    EXPECT_EQ(m.Height(), w);
    // Turned counter-clockwise the line reads upward: the 'H' lies at the
    // bottom.
    int ink = 0;
    for (int r = 0; r < m.Height(); ++r)
        for (int k = 0; k < m.Width(); ++k) {
            ink += m.Line(r)[k];
            if (r < m.Height() - m.Height() / 5 - 1) {
                ASSERT_EQ(m.Line(r)[k], 0) << k << "," << r;
            }
        }
    EXPECT_GT(ink, 0);
}

// ---- outline -------------------------------------------------------------

TEST(FxMaskOutline, MatchesThePart) {
    for (int w : {1, 2, 3, 4, 9, 23})
        for (int h : {3, 4, 7, 12}) {
            const Grid g = ref::RandomGrid(w, h, static_cast<uint32_t>(w * 100 + h), 1);
            TFxMask m = ref::ToMask(g);
            m.Outline();
            ASSERT_EQ(ref::FromMask(m), ref::Outline(g)) << w << "x" << h;
        }
}

TEST(FxMaskOutline, InkBecomesItsEdgesAndTheBorderStays) {
    Grid g(7, std::vector<int>(7, 0));
    for (int r = 1; r < 6; ++r)
        for (int k = 1; k < 6; ++k)
            g[r][k] = 255;
    g[0][0] = 77; // border values are kept
    TFxMask m = ref::ToMask(g);
    m.Outline();
    EXPECT_EQ(m.Line(3)[3], 0);   // inside a solid area there is no edge
    EXPECT_GT(m.Line(1)[3], 100); // the edge lights up
    EXPECT_EQ(m.Line(0)[0], 77);
    EXPECT_EQ(m.Line(0)[3], 0);
}

TEST(FxMaskOutline, FewerThanThreeRowsChangeNothing) {
    for (int h : {1, 2}) {
        const Grid g = ref::RandomGrid(9, h, 5);
        TFxMask m = ref::ToMask(g);
        m.Outline();
        EXPECT_EQ(ref::FromMask(m), g);
    }
}

// ---- blur ----------------------------------------------------------------

TEST(FxMaskBlur, MatchesThePartForEveryAmountAndSize) {
    for (int amount : {1, 2, 10, 30, 33, 50, 70, 90, 99, 100})
        for (int w : {1, 2, 4, 5, 6, 17})
            for (int h : {1, 3, 5, 9}) {
                const Grid g =
                    ref::RandomGrid(w, h, static_cast<uint32_t>(amount * 7 + w * 3 + h), 1);
                TFxMask m = ref::ToMask(g);
                m.Blur(amount);
                ASSERT_EQ(ref::FromMask(m), ref::Blur(g, amount))
                    << "amount " << amount << " size " << w << "x" << h;
            }
}

TEST(FxMaskBlur, SmallMapsRepeatTheirEdges) {
    // One pixel: every one of the 25 samples is that pixel.
    TFxMask one = ref::ToMask({{200}});
    one.Blur(100);
    EXPECT_EQ(one.Line(0)[0], 200);
    // A 2 x 1 map: the left pixel sees itself three times and the right one
    // twice in every row: (3 * 250 + 2 * 0) * 5 / 25 = 150.
    TFxMask two = ref::ToMask({{250, 0}});
    two.Blur(100);
    EXPECT_EQ(two.Line(0)[0], 150);
    EXPECT_EQ(two.Line(0)[1], 100);
}

TEST(FxMaskBlur, StrengthIsRoundedHalvesToEvenAndMixedTowardMinusInfinity) {
    // A = 10: F = Round(25.5) = 26. A single 255 pixel in a 5x5 map of 0 at
    // the centre: v = Round(255 / 25) = 10 everywhere (the centre sees all),
    // old 255 -> 255 + ((10 - 255) * 26 >> 8) = 255 - 25 = 230 (floor of -24.9).
    Grid g(5, std::vector<int>(5, 0));
    g[2][2] = 255;
    TFxMask m = ref::ToMask(g);
    m.Blur(10);
    EXPECT_EQ(m.Line(2)[2], 230);
    // A = 30: F = Round(76.5) = 76: 255 + floor(-245 * 76 / 256) = 255 - 73.
    m = ref::ToMask(g);
    m.Blur(30);
    EXPECT_EQ(m.Line(2)[2], 182);
    // Amount 0 or less changes nothing; more than 100 counts as 100.
    m = ref::ToMask(g);
    m.Blur(0);
    EXPECT_EQ(ref::FromMask(m), g);
    m.Blur(250);
    EXPECT_EQ(ref::FromMask(m), ref::Blur(g, 100));
}

// ---- spray ---------------------------------------------------------------

TEST(FxMaskSpray, MatchesThePartWithTheSameRandomSequence) {
    for (int amount : {1, 3, 20, 100})
        for (int w : {1, 6, 31})
            for (int h : {1, 4, 9}) {
                const Grid g = ref::RandomGrid(w, h, static_cast<uint32_t>(w + h + amount), 1);
                Random::Seed(12345u + static_cast<uint32_t>(amount));
                const Grid want = ref::Spray(g, amount);
                const uint32_t after = Random::State();
                Random::Seed(12345u + static_cast<uint32_t>(amount));
                TFxMask m = ref::ToMask(g);
                m.Spray(amount);
                ASSERT_EQ(ref::FromMask(m), want) << amount << " " << w << "x" << h;
                EXPECT_EQ(Random::State(), after);
            }
}

TEST(FxMaskSpray, NothingForZero) {
    const Grid g = ref::RandomGrid(8, 8, 9);
    Random::Seed(77);
    TFxMask m = ref::ToMask(g);
    m.Spray(0);
    EXPECT_EQ(ref::FromMask(m), g);
    EXPECT_EQ(Random::State(), 77u);
}

TEST(FxMaskSpray, UniformMapStaysUniform) {
    Grid g(6, std::vector<int>(9, 123));
    TFxMask m = ref::ToMask(g);
    m.Spray(50);
    EXPECT_EQ(ref::FromMask(m), g);
}

// ---- mirrors and copies --------------------------------------------------

TEST(FxMaskMirror, ReversesRowsAndSwapsThem) {
    for (int w : {1, 2, 5})
        for (int h : {1, 2, 3, 6}) {
            const Grid g = ref::RandomGrid(w, h, static_cast<uint32_t>(w * h + 1));
            TFxMask m = ref::ToMask(g);
            m.MirrorLeftRight();
            Grid lr = g;
            for (auto& row : lr)
                std::reverse(row.begin(), row.end());
            EXPECT_EQ(ref::FromMask(m), lr);
            m = ref::ToMask(g);
            m.MirrorTopBottom();
            Grid tb(g.rbegin(), g.rend());
            EXPECT_EQ(ref::FromMask(m), tb);
        }
}

TEST(FxMaskCopy, AssignCopiesTheMapAndQuality) {
    TFxMask a = ref::ToMask(ref::RandomGrid(7, 3, 4), TFxQuality::aqLow);
    TFxMask b;
    b.Assign(a);
    EXPECT_EQ(b.Quality(), TFxQuality::aqLow);
    EXPECT_EQ(ref::FromMask(b), ref::FromMask(a));
    b.Line(0)[0] = static_cast<uint8_t>(a.Line(0)[0] ^ 1);
    EXPECT_NE(ref::FromMask(b), ref::FromMask(a)); // a copy, not a view
}

} // namespace
} // namespace orv::fx
