#include "gfx/panel_back.h"

#include "gfx/stretch.h"

#include <algorithm>

namespace orv::gfx {

void DrawPictureFill(Image& canvas, const Rect& area, ImageFill fill, const Image& picture) {
    if (picture.Empty() || area.Empty())
        return;
    const ImageTiles tiles = PlaceImage(fill, area, picture.width, picture.height);
    if (fill == ImageFill::Stretch) {
        StretchDraw(canvas, tiles.first, picture, Bounds(picture), StretchFilter::Nearest, true);
        return;
    }
    // Draw into a view clipped to the area, so tiles and a centred picture
    // larger than the area stay inside it.
    const Rect clip = Intersect(area, Bounds(canvas));
    if (clip.Empty())
        return;
    // Only the copies that reach the visible part are visited.
    auto firstIndex = [](int64_t from, int64_t origin, int64_t step) {
        return std::max<int64_t>(0, (from - origin) / step);
    };
    const int64_t column0 = firstIndex(clip.left, tiles.first.left, picture.width);
    const int64_t row0 = firstIndex(clip.top, tiles.first.top, picture.height);
    for (int64_t row = row0; row < tiles.rows; ++row) {
        const int64_t y = int64_t{tiles.first.top} + row * picture.height;
        if (y >= clip.bottom)
            break;
        for (int64_t column = column0; column < tiles.columns; ++column) {
            const int64_t x = int64_t{tiles.first.left} + column * picture.width;
            if (x >= clip.right)
                break;
            const Rect copy =
                RectOfSize(static_cast<int>(x), static_cast<int>(y), picture.width, picture.height);
            const Rect visible = Intersect(copy, clip);
            for (int ty = visible.top; ty < visible.bottom; ++ty) {
                const uint32_t* src = picture.Row(ty - copy.top) + (visible.left - copy.left);
                uint32_t* dst = canvas.Row(ty) + visible.left;
                for (int i = 0; i < visible.Width(); ++i)
                    dst[i] = BlendPixel(dst[i], src[i]);
            }
        }
    }
}

void PaintPanelBackground(Image& canvas, const Rect& client, const PanelBackground& back,
                          const Image* picture) {
    const int code = PanelGradientCode(back.gradientStyle);
    if (code == 0)
        FillRect(canvas, client, ToArgb(back.panelColor));
    else
        FillGradient(canvas, code, back.panelColor, client, back.gradientColor);
    ImageFill fill;
    if (picture && PanelImageFill(back.backImageStyle, fill))
        DrawPictureFill(canvas, client, fill, *picture);
}

} // namespace orv::gfx
