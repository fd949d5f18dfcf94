#include "gfx/placement.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace orv::gfx {
namespace {

// Truncates toward zero, saturating at the int range (a tiny picture
// fitted to a huge area must not overflow).
int TruncToInt(long double v) {
    if (!(v > static_cast<long double>(INT32_MIN)))
        return INT32_MIN;
    if (!(v < static_cast<long double>(INT32_MAX)))
        return INT32_MAX;
    return static_cast<int>(std::trunc(v));
}

} // namespace

bool PanelImageFill(int backImageStyle, ImageFill& fill) {
    static constexpr ImageFill kFills[] = {ImageFill::Normal, ImageFill::Center, ImageFill::Stretch,
                                           ImageFill::Tile};
    if (backImageStyle < 0 || backImageStyle > 3)
        return false;
    fill = kFills[backImageStyle];
    return true;
}

bool TextureImageFill(int mode, ImageFill& fill) {
    static constexpr ImageFill kFills[] = {ImageFill::Tile, ImageFill::Stretch, ImageFill::Center,
                                           ImageFill::Normal};
    if (mode < 0 || mode > 3)
        return false;
    fill = kFills[mode];
    return true;
}

ImageTiles PlaceImage(ImageFill fill, const Rect& unclamped, int imageWidth, int imageHeight) {
    const Rect area = ClampRect(unclamped);
    ImageTiles tiles;
    if (imageWidth <= 0 || imageHeight <= 0 || area.Empty())
        return tiles;
    tiles.columns = tiles.rows = 1;
    switch (fill) {
    case ImageFill::Normal:
        tiles.first = RectOfSize(area.left, area.top, imageWidth, imageHeight);
        break;
    case ImageFill::Center: {
        const int64_t x = (int64_t{area.left} + area.right - imageWidth) / 2;
        const int64_t y = (int64_t{area.top} + area.bottom - imageHeight) / 2;
        tiles.first = RectOfSize(static_cast<int>(x), static_cast<int>(y), imageWidth, imageHeight);
        break;
    }
    case ImageFill::Stretch:
        tiles.first = area;
        break;
    case ImageFill::Tile:
        tiles.first = RectOfSize(area.left, area.top, imageWidth, imageHeight);
        tiles.columns = area.Width() / imageWidth + 1;
        tiles.rows = area.Height() / imageHeight + 1;
        break;
    }
    return tiles;
}

Rect PlacePicture(bool stretch, bool center, bool proportional, int cw, int ch, int w, int h) {
    if (stretch || (proportional && (w > cw || h > ch))) {
        if (proportional && w > 0 && h > 0) {
            // Aspect ratio r = w / h, kept while the larger side meets the
            // client and the other one is cut back when it still overflows.
            // The ratio is kept as a double; the divisions run in the
            // platform's extended precision where it has one.
            const double r = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = TruncToInt(cw / static_cast<long double>(r));
                if (h > ch) {
                    h = ch;
                    w = TruncToInt(ch * static_cast<long double>(r));
                }
            } else {
                h = ch;
                w = TruncToInt(ch * static_cast<long double>(r));
                if (w > cw) {
                    w = cw;
                    h = TruncToInt(cw / static_cast<long double>(r));
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    if (!center)
        return Rect{0, 0, w, h};
    return RectOfSize(SaturateToInt((int64_t{cw} - w) / 2), SaturateToInt((int64_t{ch} - h) / 2), w,
                      h);
}

Rect PlaceSlide(int imageStyle, int aw, int ah, int pw, int ph) {
    auto centred = [&](int w, int h) {
        return RectOfSize(static_cast<int>((int64_t{aw} - w) / 2),
                          static_cast<int>((int64_t{ah} - h) / 2), w, h);
    };
    switch (imageStyle) {
    case 1:
        return centred(pw, ph);
    case 2:
        return Rect{0, 0, aw, ah};
    case 3:
    case 4: {
        // All four sizes count as at least 1; the quotient is taken first,
        // in floating point.
        const int cw = std::max(aw, 1), ch = std::max(ah, 1);
        const int w0 = std::max(pw, 1), h0 = std::max(ph, 1);
        const bool tooWide = w0 > cw;
        const bool tooHigh = h0 > ch;
        auto byHeight = [&] {
            return std::pair{TruncToInt(static_cast<long double>(ch) / h0 * w0), ch};
        };
        auto byWidth = [&] {
            return std::pair{cw, TruncToInt(static_cast<long double>(cw) / w0 * h0)};
        };
        std::pair<int, int> size{w0, h0};
        if (imageStyle == 3 && !tooWide && !tooHigh) {
            size = {w0, h0};
        } else if (imageStyle == 3 && tooHigh != tooWide) {
            size = tooHigh ? byHeight() : byWidth();
        } else {
            size = byHeight();
            if (size.first > cw)
                size = byWidth();
        }
        return centred(size.first, size.second);
    }
    default:
        return RectOfSize(0, 0, pw, ph);
    }
}

} // namespace orv::gfx
