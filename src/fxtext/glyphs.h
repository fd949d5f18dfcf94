// The one platform step of the text renderer: measuring a line in the
// canvas's current font and rendering it white on black at f times its
// size. The Windows program does both with GDI (fxtext/gdi.h); native tests,
// benchmarks and tools use the built-in block font (fxtext/blockfont.h).
#pragma once

#include "gfx/color.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orv::fx {

struct TFxSize {
    int width = 0;
    int height = 0;
    bool operator==(const TFxSize&) const = default;
};

// An 8-bit gray bitmap (the scratch bitmap of a rendering): value i is the
// gray (i, i, i) of the shared 256-gray palette. Rows top-down, each padded
// to a multiple of 4 bytes.
struct TFxGrayBitmap {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<uint8_t> bits; // stride * height

    // Makes the bitmap width x height, all black (0). Negative sizes give
    // an empty bitmap.
    void Reset(int w, int h);
    bool Empty() const { return width <= 0 || height <= 0; }
    uint8_t* Row(int y) { return bits.data() + static_cast<size_t>(y) * stride; }
    const uint8_t* Row(int y) const { return bits.data() + static_cast<size_t>(y) * stride; }
};

// Rows padded to a multiple of 4 bytes, as the platform's bitmaps keep them.
inline int PaddedStride(int width) {
    return width <= 0 ? 0 : ((width + 3) / 4) * 4;
}

// The target canvas's current font, as the renderer uses it. The scale
// factor multiplies the font's height and width; the escapement rotates the
// rendered text counter-clockwise about its reference point.
class TFxGlyphSource {
public:
    virtual ~TFxGlyphSource() = default;

    // The extent of text in the font scaled by factor, along the baseline
    // (the escapement does not change it), as the platform measures text on
    // a screen context.
    virtual TFxSize Extent(std::string_view text, int factor) = 0;
    // Renders text in white (255) with the font scaled by factor and rotated
    // by the escapement, its unrotated top-left corner (the reference point)
    // at (x, y) of the bitmap. The bitmap is black and sized by the caller;
    // what falls outside it is clipped.
    virtual void Render(std::string_view text, int factor, int x, int y,
                        TFxGrayBitmap& scratch) = 0;

    virtual bool Italic() const = 0;
    // Rotation in tenths of a degree, counter-clockwise.
    virtual int Escapement() const = 0;
    virtual void SetEscapement(int tenths) = 0;
    // The font colour, resolved to RGB.
    virtual gfx::ColorRef Color() const = 0;
};

} // namespace orv::fx
