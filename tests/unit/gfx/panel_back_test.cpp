#include "gfx/panel_back.h"

#include <gtest/gtest.h>

namespace orv::gfx {
namespace {

constexpr uint32_t kOutside = 0x12345678;

Image Numbered(int w, int h) {
    Image image = MakeImage(w, h);
    for (int i = 0; i < w * h; ++i)
        image.pixels[static_cast<size_t>(i)] = 0xFF000000u | static_cast<uint32_t>(i + 1);
    return image;
}

TEST(PaintPanelBackground, ColourOrGradientUnderThePicture) {
    const ColorRef panel = MakeColorRef(10, 20, 30), end = MakeColorRef(210, 20, 30);
    Image canvas = MakeImage(6, 4, kOutside);
    PaintPanelBackground(canvas, Rect{1, 1, 5, 3}, {panel, 0, end, 2}, nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(canvas.At(x, y), inside ? ToArgb(panel) : kOutside) << x << "," << y;
        }
    // Style 6 (MiddleLeftRight) is gradient code 7: the panel colour in the
    // two middle columns.
    PaintPanelBackground(canvas, Rect{1, 1, 5, 3}, {panel, 6, end, 2}, nullptr);
    const uint32_t mid = ToArgb(MakeColorRef(110, 20, 30));
    EXPECT_EQ(canvas.At(1, 1), mid);
    EXPECT_EQ(canvas.At(2, 2), ToArgb(panel));
    EXPECT_EQ(canvas.At(3, 1), ToArgb(panel));
    EXPECT_EQ(canvas.At(4, 2), mid);
    EXPECT_EQ(canvas.At(0, 1), kOutside);
}

TEST(PaintPanelBackground, PictureStyles) {
    const ColorRef panel = MakeColorRef(1, 2, 3);
    const uint32_t bg = ToArgb(panel);
    const Image picture = Numbered(6, 6);
    const Image small = Numbered(2, 2);

    // Center with a larger picture shows its middle.
    Image centre = MakeImage(4, 4, kOutside);
    PaintPanelBackground(centre, Bounds(centre), {panel, 0, 0, 1}, &picture);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(centre.At(x, y), picture.At(x + 1, y + 1)) << "centre " << x << "," << y;

    // Tile repeats from the origin, partial copies at the right and bottom.
    Image tiled = MakeImage(5, 3, kOutside);
    PaintPanelBackground(tiled, Bounds(tiled), {panel, 0, 0, 3}, &small);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(tiled.At(x, y), small.At(x % 2, y % 2)) << "tile " << x << "," << y;

    // Normal draws at the origin at its own size; the rest keeps the colour.
    Image normal = MakeImage(3, 3, kOutside);
    PaintPanelBackground(normal, Bounds(normal), {panel, 0, 0, 0}, &small);
    EXPECT_EQ(normal.At(1, 1), small.At(1, 1));
    EXPECT_EQ(normal.At(2, 0), bg);
    EXPECT_EQ(normal.At(0, 2), bg);

    // Stretch doubles a 2 x 1 picture onto 4 x 2; a transparent pixel lets
    // the background show.
    const Image pair{2, 1, {0xFF00FF00, 0x00FFFFFF}};
    Image stretched = MakeImage(4, 2, kOutside);
    PaintPanelBackground(stretched, Bounds(stretched), {panel, 0, 0, 2}, &pair);
    EXPECT_EQ(stretched.pixels, (std::vector<uint32_t>{0xFF00FF00, 0xFF00FF00, bg, bg, 0xFF00FF00,
                                                       0xFF00FF00, bg, bg}));

    // Tiles stay inside a client that does not start at the canvas origin;
    // an unknown style draws no picture.
    Image offset = MakeImage(5, 4, kOutside);
    PaintPanelBackground(offset, Rect{1, 1, 4, 3}, {panel, 0, 0, 3}, &small);
    EXPECT_EQ(offset.At(1, 1), small.At(0, 0));
    EXPECT_EQ(offset.At(3, 2), small.At(0, 1));
    EXPECT_EQ(offset.At(4, 1), kOutside);
    EXPECT_EQ(offset.At(1, 3), kOutside);
    Image unknown = MakeImage(2, 2, kOutside);
    PaintPanelBackground(unknown, Bounds(unknown), {panel, 0, 0, 9}, &small);
    EXPECT_EQ(unknown.pixels, std::vector<uint32_t>(4, bg));
}

} // namespace
} // namespace orv::gfx
