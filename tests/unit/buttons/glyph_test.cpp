// The image button's arithmetic: faces, frames, picture and caption
// placement, and the transparent colour of bitmaps.
#include "gfx/btn_glyph.h"

#include <gtest/gtest.h>

#include <climits>

namespace orv::gfx {
namespace {

using F = ButtonFace;
using St = ButtonState;

TEST(ImageButtonFace, StateAndPointerPickTheFace) {
    EXPECT_EQ(FaceOf(St::Disabled, true), F::Disabled);
    EXPECT_EQ(FaceOf(St::Down, false), F::MouseDown);
    EXPECT_EQ(FaceOf(St::Latched, true), F::MouseDown);
    EXPECT_EQ(FaceOf(St::Up, true), F::MouseOver);
    EXPECT_EQ(FaceOf(St::Up, false), F::Normal);
    // A face without a picture of its own shows the Normal picture: a
    // button with a MouseOverImage but no MouseDownImage shows NormalImage
    // while pressed.
    EXPECT_EQ(PictureFaceOf(FaceOf(St::Down, true), false), F::Normal);
    EXPECT_EQ(PictureFaceOf(FaceOf(St::Up, true), true), F::MouseOver);
    EXPECT_EQ(PictureFaceOf(F::Disabled, false), F::Normal);
}

TEST(ImageButtonFrame, EveryStyleAndState) {
    using K = ImageButtonFrame::Kind;
    struct Case {
        int style;
        bool themes;
        St state;
        bool inside;
        K kind;
        bool pushed;
        bool dither;
        int themeState;
    };
    const Case cases[] = {
        // Normal: the push-button frame, pushed while pressed or latched;
        // latched is dithered whether or not the pointer is inside.
        {0, false, St::Up, false, K::PushButton, false, false, 1},
        {0, false, St::Up, true, K::PushButton, false, false, 1},
        {0, false, St::Down, true, K::PushButton, true, false, 1},
        {0, false, St::Latched, true, K::PushButton, true, true, 1},
        {0, true, St::Latched, false, K::PushButton, true, true, 1}, // themes do not matter
        // NormalFlat: raised edge under the pointer, sunken pressed, face
        // otherwise; the latched pattern only while the pointer is outside.
        {1, false, St::Up, false, K::FaceFill, false, false, 1},
        {1, false, St::Up, true, K::FlatEdge, false, false, 1},
        {1, false, St::Down, true, K::FlatEdge, true, false, 1},
        {1, false, St::Latched, false, K::FlatEdge, true, true, 1},
        {1, false, St::Latched, true, K::FlatEdge, true, false, 1},
        {1, false, St::Disabled, true, K::FaceFill, false, false, 1},
        // Themes without active themes: as Normal; ThemesFlat: as NormalFlat.
        {2, false, St::Down, false, K::PushButton, true, false, 1},
        {3, false, St::Up, true, K::FlatEdge, false, false, 1},
        // With themes: the element's state.
        {2, true, St::Up, false, K::Themed, false, false, 1},
        {2, true, St::Up, true, K::Themed, false, false, 2},
        {3, true, St::Latched, false, K::Themed, false, false, 3},
        {3, true, St::Disabled, true, K::Themed, false, false, 4},
        // Transparent: nothing, not even for a latched button.
        {4, true, St::Latched, false, K::None, false, false, 1},
        {4, false, St::Down, true, K::None, false, false, 1},
        // Beyond the table: Normal.
        {9, false, St::Latched, false, K::PushButton, true, true, 1},
    };
    for (const Case& c : cases) {
        const ImageButtonFrame f = PlanImageButtonFrame(c.style, c.themes, c.state, c.inside);
        SCOPED_TRACE(testing::Message() << "style " << c.style << " state " << int(c.state)
                                        << " inside " << c.inside << " themes " << c.themes);
        EXPECT_EQ(f.kind, c.kind);
        EXPECT_EQ(f.pushed, c.pushed);
        EXPECT_EQ(f.dither, c.dither);
        if (f.kind == K::Themed) {
            EXPECT_EQ(f.themeState, c.themeState);
            EXPECT_EQ(f.toolbar, c.style == 3);
        }
        if (f.dither) {
            EXPECT_EQ(f.ditherInset, c.kind == K::PushButton ? 2 : 1);
        }
    }
    EXPECT_EQ(SlideOffset(true, St::Down), 2);
    EXPECT_EQ(SlideOffset(true, St::Latched), 2);
    EXPECT_EQ(SlideOffset(true, St::Up), 0);
    EXPECT_EQ(SlideOffset(false, St::Latched), 0);
}

TEST(PlaceGlyph, EveryLayoutWithAndWithoutPicture) {
    // A 97 x 25 button, margin 2, spacing 3, caption 40 x 13, picture 16 x 10.
    const Rect area{0, 0, 97, 25};
    struct Case {
        int layout;
        bool pic;
        Rect picture;
        int x, y;
    };
    const Case cases[] = {
        // Left: picture at (M, (H - ih) div 2); caption after two margins.
        {0, true, {2, 7, 18, 17}, 2 * 2 + 16 + 3, 6},
        {0, false, {}, 2 + 3, 6},
        // Top: caption below the picture, pulled up to end at H - M.
        {1, true, {40, 2, 56, 12}, 28, 25 - 2 - 13},
        {1, false, {}, 28, 5},
        // Right: caption left of the picture.
        {2, true, {79, 7, 95, 17}, 79 - 40 - 3, 6},
        {2, false, {}, 97 - 2 - 3 - 40, 6},
        // Bottom: caption above the picture, at least M; without a picture
        // it ends the spacing above the bottom margin.
        {3, true, {40, 13, 56, 23}, 28, 2},
        {3, false, {}, 28, 25 - 2 - 3 - 13},
        // Center and Stretch: the caption is lowered by the spacing.
        {4, true, {40, 7, 56, 17}, 28, 6 + 3},
        {4, false, {}, 28, 9},
        {5, true, {2, 2, 95, 23}, 28, 9},
        // Beyond the table: Left.
        {17, true, {2, 7, 18, 17}, 23, 6},
    };
    for (const Case& c : cases) {
        const GlyphPlacement g =
            PlaceGlyph(c.layout, area, c.pic ? 16 : 0, c.pic ? 10 : 0, 40, 13, 2, 3, 0);
        SCOPED_TRACE(testing::Message() << "layout " << c.layout << " picture " << c.pic);
        EXPECT_EQ(g.picture, c.picture);
        EXPECT_EQ(g.textX, c.x);
        EXPECT_EQ(g.textY, c.y);
        EXPECT_EQ(g.textClip, (Rect{2, 2, 95, 23}));
    }
}

TEST(PlaceGlyph, CaptionsThatDoNotFitAndTheSlide) {
    const Rect area{0, 0, 60, 30};
    // Layout Left, caption wider than the room right of the picture: it is
    // pulled left to end at W - M, over the picture.
    GlyphPlacement g = PlaceGlyph(0, area, 20, 20, 50, 13, 2, 2, 0);
    EXPECT_EQ(g.textX, 60 - 2 - 50);
    EXPECT_LT(g.textX, g.picture.right);
    // Right: never left of the margin.
    g = PlaceGlyph(2, area, 20, 20, 50, 13, 2, 2, 0);
    EXPECT_EQ(g.textX, 2);
    // Bottom: never above the margin.
    g = PlaceGlyph(3, area, 20, 20, 10, 13, 2, 2, 0);
    EXPECT_EQ(g.textY, 2);
    // The slide moves picture and caption, not the clip; odd sizes divide
    // toward zero, also when the picture is larger than the area.
    g = PlaceGlyph(4, area, 81, 41, 11, 13, 2, 2, 2);
    EXPECT_EQ(g.picture, (Rect{2 + (60 - 81) / 2, 2 + (30 - 41) / 2, 2 + (60 - 81) / 2 + 81,
                               2 + (30 - 41) / 2 + 41}));
    EXPECT_EQ(g.picture.left, -8);
    EXPECT_EQ(g.textX, 2 + 24);
    EXPECT_EQ(g.textY, 2 + 8 + 2);
    EXPECT_EQ(g.textClip, (Rect{2, 2, 58, 28}));
    // A themed content rectangle moves everything with it.
    g = PlaceGlyph(0, Rect{3, 4, 63, 34}, 20, 20, 10, 13, 2, 2, 0);
    EXPECT_EQ(g.picture, (Rect{5, 9, 25, 29}));
    EXPECT_EQ(g.textX, 3 + 26);
    EXPECT_EQ(g.textClip, (Rect{5, 6, 61, 32}));
    // A picture with one side 0 counts as none.
    g = PlaceGlyph(0, area, 20, 0, 10, 13, 2, 2, 0);
    EXPECT_TRUE(g.picture.Empty());
    EXPECT_EQ(g.textX, 4);
}

TEST(PlaceGlyph, DamagedMarginsDoNotOverflow) {
    for (int layout = 0; layout <= 5; ++layout)
        for (int m : {INT_MAX, INT_MIN, -5})
            for (int s : {INT_MAX, INT_MIN}) {
                const GlyphPlacement g =
                    PlaceGlyph(layout, Rect{INT_MIN, 0, INT_MAX, 25}, 16, 16, 40, 13, m, s, 2);
                (void)g; // the sanitizers judge
            }
    const GlyphPlacement g = PlaceGlyph(1, Rect{0, 0, 97, 25}, 16, 16, 40, 13, INT_MAX, 0, 0);
    EXPECT_EQ(g.picture.top, INT_MAX);
}

TEST(KeyOutBottomLeft, TheBottomLeftColourBecomesTransparent) {
    Image img = MakeImage(3, 2, 0xFF102030u);
    img.At(1, 0) = 0xFFAABBCCu;
    img.At(2, 1) = 0x80102030u; // same colour, other alpha: keyed too
    KeyOutBottomLeft(img);
    EXPECT_EQ(img.At(0, 0), 0x00102030u);
    EXPECT_EQ(img.At(0, 1), 0x00102030u);
    EXPECT_EQ(img.At(2, 1), 0x00102030u);
    EXPECT_EQ(img.At(1, 0), 0xFFAABBCCu);
    Image empty;
    KeyOutBottomLeft(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST(FillChecker, AlternatesFromTheOriginAndClips) {
    Image img = MakeImage(6, 4, 0xFF000000u);
    const ColorRef face = MakeColorRef(10, 20, 30), light = MakeColorRef(250, 250, 250);
    FillChecker(img, Rect{1, 1, 9, 3}, 1, 1, face, light);
    EXPECT_EQ(img.At(0, 0), 0xFF000000u);
    EXPECT_EQ(img.At(1, 1), ToArgb(light));
    EXPECT_EQ(img.At(2, 1), ToArgb(face));
    EXPECT_EQ(img.At(2, 2), ToArgb(light));
    EXPECT_EQ(img.At(5, 2), ToArgb(face));
    EXPECT_EQ(img.At(1, 3), 0xFF000000u);
}

} // namespace
} // namespace orv::gfx
