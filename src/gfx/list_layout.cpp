#include "gfx/list_layout.h"

#include <algorithm>

namespace orv::gfx {

namespace {

int Side(int v) {
    return std::clamp(v, 0, kMaxListSide);
}

} // namespace

ListEntryLayout LayoutListEntry(const Rect& entryIn, int itemHeight, int iconWidth, int iconHeight,
                                int textHeight) {
    const Rect entry = ClampRect(entryIn);
    const int ih = Side(itemHeight), iw = Side(iconWidth), icH = Side(iconHeight);
    const int th = Side(textHeight);
    ListEntryLayout out;
    int c = 0;
    int iconRight = entry.left + iw;
    if (iw > 0 && icH > 0) {
        c = (ih - icH) / 2; // truncates toward zero, also when the icon is taller
        out.hasIcon = true;
        out.icon = Rect{entry.left + c, entry.top + c, entry.left + c + iw, entry.top + c + icH};
        iconRight = entry.left + c + iw;
    }
    out.textX = entry.left + iw + 2 * c + 1;
    out.textY = entry.top + ih / 2 - th / 2;
    out.textClip = Rect{iconRight + 1, out.textY, entry.right, entry.bottom};
    return out;
}

Image KeyOutBottomLeft(Image image) {
    if (image.Empty())
        return image;
    for (uint32_t p : image.pixels)
        if ((p >> 24) != 0xFF)
            return image;
    const uint32_t key = image.At(0, image.height - 1);
    for (uint32_t& p : image.pixels)
        if (p == key)
            p = 0;
    return image;
}

} // namespace orv::gfx
