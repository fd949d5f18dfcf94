// Where the parts of an owner-drawn list entry go (ListBox and
// DropDownList), and the colour-key transparency their icons get.
#pragma once

#include "gfx/codecs.h"
#include "gfx/raster.h"

namespace orv::gfx {

struct ListEntryLayout {
    bool hasIcon = false; // draw the icon into `icon`
    Rect icon;            // the icon's cell (meaningful when hasIcon)
    int textX = 0, textY = 0;
    Rect textClip; // the caption is clipped to this
};

// The layout of one entry drawn into `entry`. Sizes come from stored
// properties: negative sizes count as 0 and sizes beyond kMaxListSide as
// kMaxListSide, so a damaged file cannot push the arithmetic out of range.
// textHeight is the height of the caption in the entry's font.
//
// With both icon sizes positive, the icon is inset by
// c = (itemHeight - iconHeight) / 2 from the entry's left and top edges and
// the caption starts at left + iconWidth + 2c + 1; otherwise no icon is
// drawn and the caption still starts at left + iconWidth + 1. The caption
// is centred on the item height and clipped from one pixel right of the
// icon's right edge to the entry's right and bottom edges.
inline constexpr int kMaxListSide = 32767;
ListEntryLayout LayoutListEntry(const Rect& entry, int itemHeight, int iconWidth, int iconHeight,
                                int textHeight);

// A list icon made transparent: every pixel of the bottom-left pixel's
// colour becomes fully transparent. Pictures that already carry
// transparency (any pixel not fully opaque) are returned unchanged.
Image KeyOutBottomLeft(Image image);

} // namespace orv::gfx
