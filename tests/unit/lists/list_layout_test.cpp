#include "gfx/list_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace orv::gfx {
namespace {

struct EntryCase {
    const char* name;
    Rect entry;
    int itemHeight, iconWidth, iconHeight, textHeight;
    bool hasIcon;
    Rect icon;
    int textX, textY;
    Rect clip;
};

TEST(LayoutListEntry, IconCaptionAndClip) {
    const EntryCase cases[] = {
        // The defaults: a 16 x 16 icon in a 16 high entry, caption at 17.
        {"defaults",
         {0, 0, 193, 16},
         16,
         16,
         16,
         13,
         true,
         {0, 0, 16, 16},
         17,
         2,
         {17, 2, 193, 16}},
        // A taller entry centres the icon and moves the caption by 2c.
        {"inset",
         {3, 40, 100, 64},
         24,
         16,
         16,
         13,
         true,
         {7, 44, 23, 60},
         28,
         46,
         {24, 46, 100, 64}},
        // No icon width: caption one pixel from the left edge.
        {"no width", {0, 16, 193, 32}, 16, 0, 16, 13, false, {}, 1, 18, {1, 18, 193, 32}},
        // No icon height: no icon, but the caption still leaves its width.
        {"no height", {0, 0, 193, 16}, 16, 16, 0, 13, false, {}, 17, 2, {17, 2, 193, 16}},
        // An icon taller than the entry: c is negative and truncates toward
        // zero ((16 - 21) / 2 = -2).
        {"tall icon",
         {0, 0, 50, 16},
         16,
         20,
         21,
         12,
         true,
         {-2, -2, 18, 19},
         17,
         2,
         {19, 2, 50, 16}},
        // Odd heights: 15 / 2 - 13 / 2 = 7 - 6.
        {"odd", {0, 0, 50, 15}, 15, 10, 10, 13, true, {2, 2, 12, 12}, 15, 1, {13, 1, 50, 15}},
        // Negative stored sizes count as 0.
        {"negative", {0, 0, 50, 16}, 16, -5, 16, 13, false, {}, 1, 2, {1, 2, 50, 16}},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ListEntryLayout l =
            LayoutListEntry(c.entry, c.itemHeight, c.iconWidth, c.iconHeight, c.textHeight);
        EXPECT_EQ(l.hasIcon, c.hasIcon);
        if (c.hasIcon) {
            EXPECT_EQ(l.icon, c.icon);
        }
        EXPECT_EQ(l.textX, c.textX);
        EXPECT_EQ(l.textY, c.textY);
        EXPECT_EQ(l.textClip, c.clip);
    }
}

TEST(LayoutListEntry, HugeStoredSizesStayInRange) {
    const ListEntryLayout l = LayoutListEntry(Rect{0, 0, 100, 16}, INT_MAX, INT_MAX, INT_MAX, 13);
    EXPECT_TRUE(l.hasIcon);
    EXPECT_EQ(l.icon.Width(), kMaxListSide);
    EXPECT_EQ(l.textX, kMaxListSide + 1); // c = 0
    EXPECT_GT(l.textY, 0);
}

TEST(KeyOutBottomLeft, OpaqueBitmapLosesItsBottomLeftColour) {
    Image img = MakeImage(3, 2, 0xFF00FF00);
    img.At(1, 0) = 0xFFFF0000;
    img.At(2, 1) = 0xFF0000FF;
    const Image out = KeyOutBottomLeft(img);
    EXPECT_EQ(out.At(0, 0), 0u);
    EXPECT_EQ(out.At(0, 1), 0u);
    EXPECT_EQ(out.At(1, 0), 0xFFFF0000u);
    EXPECT_EQ(out.At(2, 1), 0xFF0000FFu);
    // A picture with transparency of its own is left as it is.
    img.At(2, 0) = 0x80123456;
    EXPECT_EQ(KeyOutBottomLeft(img).pixels, img.pixels);
    EXPECT_TRUE(KeyOutBottomLeft(Image{}).Empty());
}

} // namespace
} // namespace orv::gfx
