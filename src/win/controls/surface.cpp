#include "win/controls/surface.h"

#include <algorithm>
#include <cstring>

namespace orv::win {

namespace {

BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

bool SizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
           static_cast<int64_t>(width) * height <= gfx::kMaxPixels;
}

HBITMAP CreateDib(int width, int height, uint32_t** bits) {
    BITMAPINFO bmi = TopDownInfo(width, height);
    void* p = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
    *bits = bmp ? static_cast<uint32_t*>(p) : nullptr;
    return bmp;
}

// One memory DC for drawing bitmaps from; selected in and out per call.
class SourceDc {
public:
    explicit SourceDc(HBITMAP bmp) : dc_(CreateCompatibleDC(nullptr)) {
        if (dc_)
            old_ = SelectObject(dc_, bmp);
    }
    ~SourceDc() {
        if (dc_) {
            SelectObject(dc_, old_);
            DeleteDC(dc_);
        }
    }
    SourceDc(const SourceDc&) = delete;
    SourceDc& operator=(const SourceDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

} // namespace

// ------------------------------------------------------------------ Surface

Surface::~Surface() {
    Release();
}

void Surface::Release() {
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_)
        DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

bool Surface::Resize(int width, int height) {
    if (bits_ && width == width_ && height == height_)
        return true;
    Release();
    if (!SizeAllowed(width, height))
        return false;
    uint32_t* bits = nullptr;
    HBITMAP bmp = CreateDib(width, height, &bits);
    if (!bmp)
        return false;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(bmp);
        return false;
    }
    oldBitmap_ = SelectObject(dc, bmp);
    dc_ = dc;
    bitmap_ = bmp;
    bits_ = bits;
    width_ = width;
    height_ = height;
    return true;
}

gfx::Image Surface::CopyOut(const gfx::Rect& rect) const {
    gfx::Image out;
    if (!bits_)
        return out;
    gfx::Rect r = gfx::Intersect(rect, gfx::Rect{0, 0, width_, height_});
    if (r.Empty())
        return out;
    GdiFlush();
    out = gfx::MakeImage(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y) {
        const uint32_t* src = bits_ + static_cast<size_t>(r.top + y) * width_ + r.left;
        uint32_t* dst = &out.pixels[static_cast<size_t>(y) * out.width];
        for (int x = 0; x < r.Width(); ++x)
            dst[x] = src[x] | 0xFF000000u;
    }
    return out;
}

void Surface::CopyIn(int x, int y, const gfx::Image& image) {
    if (!bits_ || image.Empty())
        return;
    gfx::Rect r = gfx::Intersect(gfx::RectOfSize(x, y, image.width, image.height),
                                 gfx::Rect{0, 0, width_, height_});
    if (r.Empty())
        return;
    GdiFlush();
    for (int row = r.top; row < r.bottom; ++row) {
        const uint32_t* src =
            &image.pixels[static_cast<size_t>(row - y) * image.width + (r.left - x)];
        std::memcpy(bits_ + static_cast<size_t>(row) * width_ + r.left, src,
                    static_cast<size_t>(r.Width()) * 4);
    }
}

// -------------------------------------------------------------- ImageBitmap

ImageBitmap::~ImageBitmap() {
    Release();
}

void ImageBitmap::Release() {
    if (bitmap_)
        DeleteObject(bitmap_);
    bitmap_ = nullptr;
    width_ = height_ = 0;
    alpha_ = false;
}

bool ImageBitmap::Assign(const gfx::Image& image) {
    Release();
    if (image.Empty() || !SizeAllowed(image.width, image.height) ||
        image.pixels.size() < static_cast<size_t>(image.width) * image.height)
        return false;
    uint32_t* bits = nullptr;
    HBITMAP bmp = CreateDib(image.width, image.height, &bits);
    if (!bmp)
        return false;
    const size_t n = static_cast<size_t>(image.width) * image.height;
    bool alpha = false;
    for (size_t i = 0; i < n && !alpha; ++i)
        alpha = (image.pixels[i] >> 24) != 0xFF;
    if (!alpha) {
        std::memcpy(bits, image.pixels.data(), n * 4);
    } else {
        // AlphaBlend wants premultiplied colour.
        for (size_t i = 0; i < n; ++i) {
            uint32_t p = image.pixels[i];
            uint32_t a = p >> 24;
            uint32_t r = ((p >> 16) & 0xFF) * a / 255;
            uint32_t g = ((p >> 8) & 0xFF) * a / 255;
            uint32_t b = (p & 0xFF) * a / 255;
            bits[i] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    bitmap_ = bmp;
    width_ = image.width;
    height_ = image.height;
    alpha_ = alpha;
    return true;
}

void ImageBitmap::Draw(HDC dc, const RECT& dst) const {
    const int w = dst.right - dst.left, h = dst.bottom - dst.top;
    if (!bitmap_ || w <= 0 || h <= 0)
        return;
    SourceDc src(bitmap_);
    if (!src.Get())
        return;
    if (alpha_) {
        BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, dst.left, dst.top, w, h, src.Get(), 0, 0, width_, height_, bf);
    } else if (w == width_ && h == height_) {
        BitBlt(dc, dst.left, dst.top, w, h, src.Get(), 0, 0, SRCCOPY);
    } else {
        int old = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, dst.left, dst.top, w, h, src.Get(), 0, 0, width_, height_, SRCCOPY);
        SetStretchBltMode(dc, old);
    }
}

void ImageBitmap::Tile(HDC dc, const RECT& area, int originX, int originY) const {
    if (!bitmap_ || area.right <= area.left || area.bottom <= area.top)
        return;
    // Only the copies that meet the area (and the clip) are drawn.
    RECT clip;
    RECT visible = area;
    int clipKind = GetClipBox(dc, &clip);
    if (clipKind == NULLREGION)
        return;
    if (clipKind != ERROR)
        IntersectRect(&visible, &area, &clip);
    if (IsRectEmpty(&visible))
        return;
    auto firstIndex = [](int from, int origin, int step) {
        int64_t d = static_cast<int64_t>(from) - origin;
        return d <= 0 ? 0 : static_cast<int>(d / step);
    };
    int c0 = firstIndex(visible.left, originX, width_);
    int r0 = firstIndex(visible.top, originY, height_);
    SourceDc src(bitmap_);
    if (!src.Get())
        return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (int64_t y = originY + static_cast<int64_t>(r0) * height_; y < visible.bottom;
         y += height_) {
        for (int64_t x = originX + static_cast<int64_t>(c0) * width_; x < visible.right;
             x += width_) {
            if (alpha_)
                AlphaBlend(dc, static_cast<int>(x), static_cast<int>(y), width_, height_, src.Get(),
                           0, 0, width_, height_, bf);
            else
                BitBlt(dc, static_cast<int>(x), static_cast<int>(y), width_, height_, src.Get(), 0,
                       0, SRCCOPY);
        }
    }
    RestoreDC(dc, saved);
}

// ------------------------------------------------------------------- Canvas

bool Canvas::EditPixels(const RECT& rect,
                        const std::function<void(gfx::Image&, const gfx::Rect&)>& fn) const {
    if (!surface || !surface->Valid())
        return false;
    RECT area;
    if (!IntersectRect(&area, &rect, &clip))
        return false;
    gfx::Rect onSurface{area.left + origin.x, area.top + origin.y, area.right + origin.x,
                        area.bottom + origin.y};
    onSurface = gfx::Intersect(onSurface, gfx::Rect{0, 0, surface->Width(), surface->Height()});
    if (onSurface.Empty())
        return false;
    gfx::Image pixels = surface->CopyOut(onSurface);
    // rect in the copy's coordinates.
    const int dx = onSurface.left - origin.x, dy = onSurface.top - origin.y;
    gfx::Rect inImage{rect.left - dx, rect.top - dy, rect.right - dx, rect.bottom - dy};
    fn(pixels, inImage);
    surface->CopyIn(onSurface.left, onSurface.top, pixels);
    return true;
}

gfx::Image CaptureWindow(HWND hwnd, bool clientOnly) {
    gfx::Image out;
    if (!hwnd || !IsWindowVisible(hwnd))
        return out;
    RECT r;
    if (clientOnly)
        GetClientRect(hwnd, &r);
    else {
        GetWindowRect(hwnd, &r);
        OffsetRect(&r, -r.left, -r.top);
    }
    Surface s;
    if (!s.Resize(r.right, r.bottom))
        return out;
    HDC dc = clientOnly ? GetDC(hwnd) : GetWindowDC(hwnd);
    if (!dc)
        return out;
    BitBlt(s.Dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
    return s.CopyOut(gfx::Rect{0, 0, r.right, r.bottom});
}

} // namespace orv::win
