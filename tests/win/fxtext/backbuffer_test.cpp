// The way the effect-text controls will draw: a windowless control
// composites its line into its own part of the page's back buffer through
// win::Canvas::EditPixels, clipped to the control.
#include "fxtext/font.h"
#include "fxtext/gdi.h"
#include "gfx/raster.h"
#include "win/controls/surface.h"

#include <gtest/gtest.h>

namespace orv::fx {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

TEST(FxBackBuffer, AControlDrawsItsCaptionIntoItsPartOfTheBuffer) {
    win::Surface surface;
    ASSERT_TRUE(surface.Resize(240, 80));
    surface.CopyIn(0, 0, gfx::MakeImage(240, 80, kWhite));

    // A control at (30, 20), 110 x 30, that needs all of itself painted.
    win::Canvas canvas;
    canvas.dc = surface.Dc();
    canvas.surface = &surface;
    canvas.origin = POINT{30, 20};
    canvas.clip = RECT{0, 0, 110, 30};

    model::TFont font;
    font.Name = "Arial";
    font.Size = 14;
    font.Style = model::fontstyle::kBold;
    font.Color = 0x0000C0;
    TFxGdiFont source(font);
    TFxFontEx text(&source);
    PrepareForGdi(text);
    text.SetQuality(TFxQuality::aqHigh);
    text.Effect().SetShadowEnabled(true);
    const char* caption = "A label caption too long";
    const TFxSize size = text.TextExtent(caption);
    ASSERT_GT(size.width, 110); // it will be cut at the control's edge
    const int x = 4, y = (30 - size.height) / 2;

    ASSERT_TRUE(canvas.EditPixels(RECT{0, 0, 110, 30}, [&](gfx::Image& pixels, const gfx::Rect& r) {
        text.TextOutput(pixels, r.left + x, r.top + y, caption);
    }));

    // The same line drawn straight onto a whole white picture, then cut to
    // the control: what the buffer must show.
    gfx::Image want = gfx::MakeImage(240, 80, kWhite);
    text.TextOutput(want, 30 + x, 20 + y, caption);
    const gfx::Image got = surface.CopyOut(gfx::Rect{0, 0, 240, 80});
    int inked = 0;
    for (int py = 0; py < 80; ++py)
        for (int px = 0; px < 240; ++px) {
            const bool inside = px >= 30 && px < 140 && py >= 20 && py < 50;
            const uint32_t expected = inside ? want.At(px, py) : kWhite;
            ASSERT_EQ(got.At(px, py) & 0xFFFFFF, expected & 0xFFFFFF) << px << "," << py;
            inked += inside && got.At(px, py) != kWhite;
        }
    EXPECT_GT(inked, 200);
}

} // namespace
} // namespace orv::fx
