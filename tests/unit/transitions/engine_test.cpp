#include "gfx/raster.h"
#include "transitions/engine.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv::transitions {
namespace {

std::vector<int> ProgressRun(int step, bool reverse) {
    std::vector<int> seq;
    int p = reverse ? 100 : 0;
    while (!ProgressAtEnd(p, reverse)) {
        p = NextProgress(p, step, reverse);
        seq.push_back(p);
    }
    return seq;
}

TEST(TransitionProgress, Sequences) {
    const std::vector<int> four = ProgressRun(4, false);
    ASSERT_EQ(four.size(), 25u);
    EXPECT_EQ(four.front(), 4);
    EXPECT_EQ(four[23], 96);
    EXPECT_EQ(four.back(), 100);
    EXPECT_EQ(ProgressRun(30, false), (std::vector<int>{30, 60, 90, 100}));
    EXPECT_EQ(ProgressRun(30, true), (std::vector<int>{70, 40, 10, 0}));
    EXPECT_EQ(ProgressRun(0, false).size(), 100u);
    EXPECT_EQ(ProgressRun(250, false), (std::vector<int>{100}));
    EXPECT_EQ(ClampStep(0), 1);
    EXPECT_EQ(ClampStep(250), 100);
    EXPECT_EQ(ClampStep(7), 7);
}

TEST(TransitionLayout, PlacementFitAndWindowMapping) {
    EXPECT_EQ(AspectFit(200, 100, gfx::Rect{0, 0, 300, 300}), (gfx::Rect{0, 75, 300, 225}));
    EXPECT_EQ(AspectFit(100, 200, gfx::Rect{0, 0, 300, 300}), (gfx::Rect{75, 0, 225, 300}));

    Layout centred{300, 200, 100, 50, true, false, false};
    EXPECT_EQ(centred.Placement(), (gfx::Rect{100, 75, 200, 125}));
    // Invalidation is clipped to the placement rectangle.
    EXPECT_EQ(centred.MapToWindow(gfx::Rect{0, 0, 100, 50}), (gfx::Rect{100, 75, 200, 125}));
    EXPECT_EQ(centred.MapToWindow(gfx::Rect{-20, 10, 500, 20}), (gfx::Rect{100, 85, 200, 95}));

    Layout fine{300, 300, 200, 100, false, true, true};
    EXPECT_EQ(fine.FrameArea(), (gfx::Rect{0, 75, 300, 225}));
    EXPECT_EQ(fine.MapToWindow(gfx::Rect{0, 0, 200, 100}), (gfx::Rect{0, 75, 300, 225}));
    EXPECT_EQ(fine.MapToWindow(gfx::Rect{100, 50, 200, 100}), (gfx::Rect{150, 150, 300, 225}));

    Layout stretched{300, 300, 200, 100, false, true, false};
    EXPECT_EQ(stretched.FrameArea(), (gfx::Rect{0, 0, 300, 300}));
    EXPECT_EQ(stretched.MapToWindow(gfx::Rect{0, 0, 100, 50}), (gfx::Rect{0, 0, 150, 150}));
}

TEST(TransitionBackground, Modes) {
    gfx::Image tile = gfx::MakeImage(64, 64, 0xFF0000FF);
    tile.At(0, 0) = 0xFFFF0000;
    gfx::Image target = gfx::MakeImage(100, 100);
    DrawBackground(target, gfx::Rect{0, 0, 100, 100}, 0xFF00FF00, tile, BackgroundMode::Tiled);
    // 2 x 2 tiles, at 0 and 64.
    for (int y : {0, 64})
        for (int x : {0, 64})
            EXPECT_EQ(target.At(x, y), 0xFFFF0000u) << x << "," << y;
    EXPECT_EQ(target.At(99, 99), 0xFF0000FFu);

    DrawBackground(target, gfx::Rect{0, 0, 100, 100}, 0xFF00FF00, tile, BackgroundMode::Centered);
    EXPECT_EQ(target.At(18, 18), 0xFFFF0000u);
    EXPECT_EQ(target.At(17, 17), 0xFF00FF00u);
    EXPECT_EQ(target.At(81, 81), 0xFF0000FFu);
    EXPECT_EQ(target.At(82, 82), 0xFF00FF00u);

    DrawBackground(target, gfx::Rect{0, 0, 100, 100}, 0xFF00FF00, tile, BackgroundMode::None);
    EXPECT_EQ(target.At(0, 0), 0xFF00FF00u);

    DrawBackground(target, gfx::Rect{0, 0, 100, 100}, 0xFF00FF00, tile, BackgroundMode::Stretched);
    EXPECT_EQ(target.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(target.At(2, 2), 0xFF0000FFu);
    EXPECT_EQ(target.At(99, 99), 0xFF0000FFu);
}

TEST(TransitionDisplay, FrameOverBackgroundAndOldFrameFromIt) {
    gfx::Image frame = gfx::MakeImage(100, 50, 0xFF112233);
    frame.At(0, 0) = 0xFFABCDEF;
    gfx::Image display;
    const Layout centred{300, 200, 100, 50, true, false, false};
    RenderDisplay(display, centred, 0xFF000000, gfx::Image{}, BackgroundMode::Tiled, frame);
    ASSERT_EQ(display.width, 300);
    EXPECT_EQ(display.At(100, 75), 0xFFABCDEFu);
    EXPECT_EQ(display.At(199, 124), 0xFF112233u);
    EXPECT_EQ(display.At(99, 75), 0xFF000000u);
    EXPECT_EQ(display.At(200, 124), 0xFF000000u);

    // The old frame of the next transition is what the placement showed.
    const gfx::Image old = TakeOldFrame(display, centred.Placement(), 100, 50, 0xFF444444);
    EXPECT_EQ(old.pixels, frame.pixels);
    // Areas beyond the display keep the brush colour.
    const gfx::Image edge = TakeOldFrame(display, gfx::Rect{250, 0, 350, 50}, 100, 50, 0xFF444444);
    EXPECT_EQ(edge.At(0, 0), 0xFF000000u);
    EXPECT_EQ(edge.At(99, 0), 0xFF444444u);

    // Stretched with the aspect kept: 100 x 50 in 300 x 300 fills rows 75..225.
    const Layout fine{300, 300, 100, 50, false, true, true};
    RenderDisplay(display, fine, 0xFF000000, gfx::Image{}, BackgroundMode::Tiled, frame);
    EXPECT_EQ(display.At(0, 75), 0xFFABCDEFu);
    EXPECT_EQ(display.At(2, 77), 0xFFABCDEFu);
    EXPECT_EQ(display.At(3, 78), 0xFF112233u);
    EXPECT_EQ(display.At(299, 224), 0xFF112233u);
    EXPECT_EQ(display.At(0, 74), 0xFF000000u);
    EXPECT_EQ(display.At(0, 225), 0xFF000000u);
}

} // namespace
} // namespace orv::transitions
