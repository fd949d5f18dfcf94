// The GDI bridge: 32-bit DIB sections whose pixels are the same 0xAARRGGBB
// words as gfx::Image, back buffers for painting, and the canvas a control
// paints on.
#pragma once

#include "gfx/codecs.h"
#include "gfx/raster.h"

#include <windows.h>

#include <cstdint>
#include <functional>

namespace orv::win {

// Largest back buffer or bitmap side we create; larger requests are refused
// (the caller skips drawing) rather than asking GDI for gigabytes.
inline constexpr int kMaxSurfaceSide = 16384;

// A top-down 32-bit DIB section selected into its own memory DC.
class Surface {
public:
    Surface() = default;
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Makes the surface exactly width x height (contents undefined when it
    // had to be recreated). False, with an empty surface, when the size is
    // not positive, too large, or GDI has no memory for it.
    bool Resize(int width, int height);
    void Release();

    HDC Dc() const { return dc_; }
    HBITMAP Bitmap() const { return bitmap_; }
    uint32_t* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Valid() const { return bits_ != nullptr; }

    // Copies out or in a rectangle of pixels (clipped to the surface).
    // GDI is flushed first. CopyOut forces alpha to 255: a back buffer is
    // opaque, whatever GDI wrote into the alpha bytes.
    gfx::Image CopyOut(const gfx::Rect& rect) const;
    void CopyIn(int x, int y, const gfx::Image& image);

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

// A gfx::Image as a DIB section ready for BitBlt, StretchBlt and
// AlphaBlend. Pictures with any translucent pixel are kept premultiplied
// and drawn with per-pixel alpha; opaque ones are copied.
class ImageBitmap {
public:
    ImageBitmap() = default;
    ~ImageBitmap();
    ImageBitmap(const ImageBitmap&) = delete;
    ImageBitmap& operator=(const ImageBitmap&) = delete;

    bool Assign(const gfx::Image& image);
    void Release();
    bool Empty() const { return bitmap_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasAlpha() const { return alpha_; }
    HBITMAP Bitmap() const { return bitmap_; }

    // Draws the whole image scaled to dst (device-independent nearest
    // pixel scaling, as the platform's stretch copy with colour-on-colour).
    void Draw(HDC dc, const RECT& dst) const;
    // Fills area with copies of the image starting at (originX, originY) in
    // logical coordinates of dc.
    void Tile(HDC dc, const RECT& area, int originX, int originY) const;

private:
    HBITMAP bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
    bool alpha_ = false;
};

// What a control paints on: the back buffer's DC with its viewport origin
// at the control's client origin and the clip set to the control, plus the
// pixels behind it.
struct Canvas {
    HDC dc = nullptr;
    Surface* surface = nullptr;
    POINT origin{0, 0};    // the control's (0, 0) in surface pixels
    RECT clip{0, 0, 0, 0}; // what needs painting, in control coordinates
    bool designView = false;

    // Runs fn over a copy of the pixels of rect (control coordinates,
    // limited to the clip and the surface) and writes them back. fn gets
    // the image and rect in the image's coordinates (it may lie partly
    // outside the image; gfx drawing clips). False when nothing is visible.
    bool EditPixels(const RECT& rect,
                    const std::function<void(gfx::Image&, const gfx::Rect&)>& fn) const;
};

// Captures what a window shows on screen (BitBlt from its window DC, which
// includes child windows). Empty when the window is not visible.
gfx::Image CaptureWindow(HWND hwnd, bool clientOnly);

} // namespace orv::win
