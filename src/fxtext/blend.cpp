#include "fxtext/blend.h"

#include "base/random.h"
#include "gfx/panel_back.h"
#include "gfx/placement.h"
#include "gfx/raster.h"
#include "gfx/stretch.h"

#include <algorithm>
#include <vector>

namespace orv::fx {
namespace {

// Blend factor b = c * k at or above this replaces the pixel.
constexpr uint32_t kReplace = 65280;

inline uint32_t Channel(uint32_t d, uint32_t fill, uint32_t t) {
    // d + ((fill - d) * t, shifted right by 8 with the sign kept).
    const int diff = static_cast<int>(fill) - static_cast<int>(d);
    return static_cast<uint32_t>(static_cast<int>(d) + ((diff * static_cast<int>(t)) >> 8));
}

inline uint32_t Mix(uint32_t dst, uint32_t fillRgb, uint32_t b) {
    if (b >= kReplace)
        return (dst & 0xFF000000u) | (fillRgb & 0xFFFFFFu);
    const uint32_t t = b >> 8;
    const uint32_t r = Channel((dst >> 16) & 0xFF, (fillRgb >> 16) & 0xFF, t);
    const uint32_t g = Channel((dst >> 8) & 0xFF, (fillRgb >> 8) & 0xFF, t);
    const uint32_t bl = Channel(dst & 0xFF, fillRgb & 0xFF, t);
    return (dst & 0xFF000000u) | r << 16 | g << 8 | bl;
}

// Runs over the pixels of the target under the map: fn(targetRow, maskRow,
// fillX, count) with fillX the map column of the first pixel.
template <typename RowFn>
void ForVisibleRows(gfx::Image& target, int x, int y, const TFxMask& mask, RowFn fn) {
    if (mask.Empty() || target.Empty())
        return;
    const gfx::Rect box = gfx::RectOfSize(x, y, mask.Width(), mask.Height());
    const gfx::Rect visible = gfx::Intersect(box, gfx::Bounds(target));
    if (visible.Empty())
        return;
    for (int ty = visible.top; ty < visible.bottom; ++ty) {
        const int my = ty - box.top;
        const int mx = visible.left - box.left;
        fn(target.Row(ty) + visible.left, mask.Line(my) + mx, mx, my, visible.Width());
    }
}

int BlendFactor(int percent) {
    return std::clamp(percent, 0, 100) * 256 / 100;
}

uint8_t ClampByte(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

} // namespace

void BlendMaskColor(gfx::Image& target, int x, int y, const TFxMask& mask, int percent,
                    gfx::ColorRef color) {
    const uint32_t k = static_cast<uint32_t>(BlendFactor(percent));
    if (k == 0)
        return;
    const uint32_t fill = gfx::ToArgb(color);
    ForVisibleRows(target, x, y, mask,
                   [&](uint32_t* dst, const uint8_t* cover, int, int, int count) {
                       for (int i = 0; i < count; ++i) {
                           const uint32_t b = cover[i] * k;
                           if (b >= 256)
                               dst[i] = Mix(dst[i], fill, b);
                       }
                   });
}

void BlendMaskImage(gfx::Image& target, int x, int y, const TFxMask& mask, int percent,
                    const gfx::Image& fill) {
    if (fill.width != mask.Width() || fill.height != mask.Height() ||
        fill.pixels.size() != static_cast<size_t>(fill.width) * static_cast<size_t>(fill.height))
        throw TFxError(kInvalidForegroundText);
    const uint32_t k = static_cast<uint32_t>(BlendFactor(percent));
    if (k == 0)
        return;
    ForVisibleRows(target, x, y, mask,
                   [&](uint32_t* dst, const uint8_t* cover, int mx, int my, int count) {
                       const uint32_t* src = fill.Row(my) + mx;
                       for (int i = 0; i < count; ++i) {
                           const uint32_t b = cover[i] * k;
                           if (b >= 256)
                               dst[i] = Mix(dst[i], src[i], b);
                       }
                   });
}

void GradientForeground(gfx::Image& out, int w, int h, int style, gfx::ColorRef start,
                        gfx::ColorRef end) {
    out = gfx::MakeImage(w, h);
    if (out.Empty())
        return;
    style = std::clamp(style, 0, 5);
    const bool horizontal = style == 0 || style == 1 || style == 4;
    const bool center = style == 4 || style == 5;
    const int length = horizontal ? w : h;
    const int steps = center ? (length + 1) / 2 : length;
    // The run goes from StartColor to EndColor for gsLeftToRight and
    // gsTopToBottom, the other way for the four others.
    const bool forward = style == 0 || style == 2;
    const gfx::ColorRef from = forward ? start : end;
    const gfx::ColorRef to = forward ? end : start;

    std::vector<uint32_t> line(static_cast<size_t>(length));
    auto step = [&](uint32_t a, uint32_t b, int i) {
        // Integer division truncating toward zero.
        return static_cast<uint32_t>(static_cast<int>(a) +
                                     i * (static_cast<int>(b) - static_cast<int>(a)) / steps);
    };
    for (int i = 0; i < steps; ++i) {
        const uint32_t r = step(gfx::RedOf(from), gfx::RedOf(to), i);
        const uint32_t g = step(gfx::GreenOf(from), gfx::GreenOf(to), i);
        const uint32_t b = step(gfx::BlueOf(from), gfx::BlueOf(to), i);
        line[static_cast<size_t>(i)] = 0xFF000000u | r << 16 | g << 8 | b;
    }
    if (center)
        for (int i = 0; i < steps; ++i)
            line[static_cast<size_t>(length - 1 - i)] = line[static_cast<size_t>(i)];

    for (int r = 0; r < h; ++r) {
        uint32_t* row = out.Row(r);
        if (horizontal)
            std::copy(line.begin(), line.end(), row);
        else
            std::fill(row, row + w, line[static_cast<size_t>(r)]);
    }
}

void TextureForeground(gfx::Image& out, int w, int h, const gfx::Image& picture, bool icon,
                       int mode, gfx::ColorRef fontColor, gfx::ColorRef iconBackground) {
    out = gfx::MakeImage(w, h, gfx::ToArgb(fontColor));
    if (out.Empty() || picture.Empty())
        return;
    gfx::ImageFill fill;
    if (!gfx::TextureImageFill(std::clamp(mode, 0, 3), fill))
        return;
    if (fill == gfx::ImageFill::Stretch && icon) {
        gfx::Image opaque =
            gfx::MakeImage(picture.width, picture.height, gfx::ToArgb(iconBackground));
        gfx::DrawImage(opaque, 0, 0, picture, true);
        gfx::StretchDraw(out, gfx::Bounds(out), opaque, gfx::Bounds(opaque),
                         gfx::StretchFilter::Nearest, false);
        return;
    }
    gfx::DrawPictureFill(out, gfx::Bounds(out), fill, picture);
}

void NoiseForeground(gfx::Image& out, int w, int h, gfx::ColorRef fontColor, int noise) {
    out = gfx::MakeImage(w, h, gfx::ToArgb(fontColor));
    if (noise <= 0)
        return;
    const int half = noise / 2;
    const int r = static_cast<int>(gfx::RedOf(fontColor));
    const int g = static_cast<int>(gfx::GreenOf(fontColor));
    const int b = static_cast<int>(gfx::BlueOf(fontColor));
    const auto n = static_cast<uint32_t>(noise);
    for (uint32_t& p : out.pixels) {
        const uint8_t nb = ClampByte(b + static_cast<int>(Random::Next(n)) - half);
        const uint8_t ng = ClampByte(g + static_cast<int>(Random::Next(n)) - half);
        const uint8_t nr = ClampByte(r + static_cast<int>(Random::Next(n)) - half);
        p = 0xFF000000u | uint32_t{nr} << 16 | uint32_t{ng} << 8 | nb;
    }
}

void AddNoise(gfx::Image& out, int noise) {
    if (noise <= 0)
        return;
    const int half = noise / 2;
    const auto n = static_cast<uint32_t>(noise);
    for (uint32_t& p : out.pixels) {
        const uint8_t nb =
            ClampByte(static_cast<int>(p & 0xFF) + static_cast<int>(Random::Next(n)) - half);
        const uint8_t ng =
            ClampByte(static_cast<int>((p >> 8) & 0xFF) + static_cast<int>(Random::Next(n)) - half);
        const uint8_t nr = ClampByte(static_cast<int>((p >> 16) & 0xFF) +
                                     static_cast<int>(Random::Next(n)) - half);
        p = (p & 0xFF000000u) | uint32_t{nr} << 16 | uint32_t{ng} << 8 | nb;
    }
}

} // namespace orv::fx
