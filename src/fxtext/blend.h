// Compositing a coverage map onto the target (TFxBlend) and the
// fill pictures of the text: gradient, texture and noise.
#pragma once

#include "fxtext/mask.h"
#include "gfx/codecs.h"
#include "gfx/color.h"

namespace orv::fx {

// Composites mask onto target at (x, y) with opacity `percent` (clamped to
// 0..100): k = percent * 256 div 100; for coverage c, b = c * k; b >= 65280
// replaces the pixel's colour by the fill, 256 <= b < 65280 moves each
// channel d to d + ((fill - d) * (b shr 8), shifted right by 8 with the sign
// kept), smaller b leaves it. Only the colour channels change; the target's
// alpha stays. Everything outside the target is clipped.
void BlendMaskColor(gfx::Image& target, int x, int y, const TFxMask& mask, int percent,
                    gfx::ColorRef color);
// The same with the fill taken from `fill` at the same place of the map
// (its alpha is ignored). `fill` must be exactly the mask's size, or
// TFxError "Invalid foreground bitmap!" is raised.
void BlendMaskImage(gfx::Image& target, int x, int y, const TFxMask& mask, int percent,
                    const gfx::Image& fill);

// The fill pictures, opaque, w x h.
// Gradient in style 0..5 (gsLeftToRight .. gsCenterToTB): a line of L
// colours (L = w for the horizontal styles, else h), n = L steps, or
// (L + 1) div 2 mirrored for the centre styles; entry i is
// from + i * (to - from) div n per channel, so the target colour is never
// reached.
void GradientForeground(gfx::Image& out, int w, int h, int style, gfx::ColorRef start,
                        gfx::ColorRef end);
// The font colour with the picture over it by mode (0 tiled, 1 stretched,
// 2 centre, 3 normal), blended by the picture's alpha. A stretched icon is
// first drawn onto an opaque copy of its own size filled with
// `iconBackground` (the system window-text colour), which is then scaled.
void TextureForeground(gfx::Image& out, int w, int h, const gfx::Image& picture, bool icon,
                       int mode, gfx::ColorRef fontColor, gfx::ColorRef iconBackground);
// Every channel of every pixel: clamp(font colour channel + R - noise div 2)
// with R = Random(noise), drawn blue, green, red per pixel.
void NoiseForeground(gfx::Image& out, int w, int h, gfx::ColorRef fontColor, int noise);
// Every channel of every pixel of out: clamp(value + R - noise div 2),
// R = Random(noise) drawn blue, green, red per pixel.
void AddNoise(gfx::Image& out, int noise);

// The compositor of one renderer: its foreground (fill picture) and the two
// blend operations.
class TFxBlend {
public:
    gfx::Image& Foreground() { return foreground_; }
    const gfx::Image& Foreground() const { return foreground_; }

    void BlendColor(gfx::Image& target, int x, int y, const TFxMask& mask, int percent,
                    gfx::ColorRef color) const {
        BlendMaskColor(target, x, y, mask, percent, color);
    }
    // Raises "Invalid foreground bitmap!" when the foreground is not the
    // mask's size.
    void BlendForeground(gfx::Image& target, int x, int y, const TFxMask& mask, int percent) const {
        BlendMaskImage(target, x, y, mask, percent, foreground_);
    }

private:
    gfx::Image foreground_;
};

} // namespace orv::fx
