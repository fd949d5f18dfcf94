#include "win/controls/drawing.h"

#include "gfx/gradient.h"
#include "win/interact.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <map>
#include <utility>

namespace orv::win {

// ------------------------------------------------------------------ colours

COLORREF ResolveColor(int32_t stored) {
    const uint32_t v = static_cast<uint32_t>(stored);
    if (gfx::IsSystemColor(stored))
        return GetSysColor(static_cast<int>(v & 0xFF)) & 0xFFFFFF;
    return v & 0xFFFFFF;
}

gfx::SystemColorTable SystemColors() {
    // COLOR_MENUBAR (30) is the last index the platform defines.
    static gfx::ColorRef table[31];
    for (int i = 0; i < 31; ++i)
        table[i] = GetSysColor(i) & 0xFFFFFF;
    return gfx::SystemColorTable{table, 31};
}

// -------------------------------------------------------------------- fonts

namespace {

// Points beyond this are refused by GDI or make absurd glyph bitmaps.
constexpr int32_t kMaxFontPoints = 1000;
// Fonts kept alive; the least recently used one goes beyond this.
constexpr size_t kFontCacheSize = 256;

int ScreenDpi() {
    static int dpi = [] {
        HDC dc = GetDC(nullptr);
        int v = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc)
            ReleaseDC(nullptr, dc);
        return v > 0 ? v : 96;
    }();
    return dpi;
}

struct FontCache {
    using Key = std::string;
    std::list<std::pair<Key, HFONT>> order; // most recent first
    std::map<Key, std::list<std::pair<Key, HFONT>>::iterator> index;
    ~FontCache() {
        for (auto& e : order)
            DeleteObject(e.second);
    }
};

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

HFONT MakeFont(const model::TFont& f) {
    LOGFONTW lf{};
    const int32_t points = std::clamp(f.Size, -kMaxFontPoints, kMaxFontPoints);
    lf.lfHeight = -MulDiv(points, ScreenDpi(), 72);
    lf.lfWeight = (f.Style & model::fontstyle::kBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (f.Style & model::fontstyle::kItalic) ? TRUE : FALSE;
    lf.lfUnderline = (f.Style & model::fontstyle::kUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (f.Style & model::fontstyle::kStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = f.Charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::wstring face = Widen(f.Name);
    if (face.size() >= LF_FACESIZE)
        face.resize(LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
    return CreateFontIndirectW(&lf);
}

} // namespace

HFONT FontHandle(const model::TFont& font) {
    FontCache& cache = Fonts();
    std::string key = font.Name;
    key.push_back('\0');
    key += std::to_string(font.Size) + "/" + std::to_string(font.Charset) + "/" +
           std::to_string(font.Style);
    auto it = cache.index.find(key);
    if (it != cache.index.end()) {
        cache.order.splice(cache.order.begin(), cache.order, it->second);
        return it->second->second;
    }
    HFONT h = MakeFont(font);
    if (!h)
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    cache.order.emplace_front(key, h);
    cache.index[key] = cache.order.begin();
    if (cache.order.size() > kFontCacheSize) {
        DeleteObject(cache.order.back().second);
        cache.index.erase(cache.order.back().first);
        cache.order.pop_back();
    }
    return h;
}

// ----------------------------------------------------------------- gradient

namespace {

bool RowGradient(int code) {
    return code == gfx::gradient::kTopBottom || code == gfx::gradient::kBottomTop ||
           code == gfx::gradient::kMiddleTopBottom || code == gfx::gradient::kTopBottomMiddle;
}

// Largest even number not above v (two's complement: also for negatives).
int64_t EvenFloor(int64_t v) {
    return v - (v & 1);
}

} // namespace

void FillGradient(HDC dc, int code, COLORREF a, const RECT& rect, COLORREF b) {
    if (code < 1 || code > 8 || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    RECT visible = rect;
    RECT clip;
    int clipKind = GetClipBox(dc, &clip);
    if (clipKind == NULLREGION)
        return;
    if (clipKind != ERROR && !IntersectRect(&visible, &rect, &clip))
        return;
    // Every row (or column) has one colour: compute the visible ones with
    // the gfx arithmetic on a one-pixel strip and stretch it across. The
    // strip is shifted by an even amount, which keeps the middle line of
    // the mirrored codes in place for every rectangle whose centre is not
    // above (or left of) the origin; painting always uses such rectangles.
    const bool rows = RowGradient(code);
    const int64_t v0 = rows ? visible.top : visible.left;
    const int64_t v1 = rows ? visible.bottom : visible.right;
    const int64_t shift = EvenFloor(v0);
    const int64_t length = v1 - shift;
    if (length <= 0 || length > kMaxSurfaceSide + 1)
        return;
    const int64_t start = (rows ? rect.top : rect.left) - shift;
    const int64_t end = (rows ? rect.bottom : rect.right) - shift;
    gfx::Image strip = rows ? gfx::MakeImage(1, static_cast<int>(length))
                            : gfx::MakeImage(static_cast<int>(length), 1);
    gfx::Rect r = rows ? gfx::Rect{0, static_cast<int>(std::max<int64_t>(start, INT32_MIN)), 1,
                                   static_cast<int>(std::min<int64_t>(end, INT32_MAX))}
                       : gfx::Rect{static_cast<int>(std::max<int64_t>(start, INT32_MIN)), 0,
                                   static_cast<int>(std::min<int64_t>(end, INT32_MAX)), 1};
    gfx::FillGradient(strip, code, a & 0xFFFFFF, r, b & 0xFFFFFF);
    const int skip = static_cast<int>(v0 - shift);
    const int count = static_cast<int>(v1 - v0);
    const uint32_t* first = strip.pixels.data() + skip;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = rows ? 1 : count;
    bmi.bmiHeader.biHeight = rows ? -count : -1;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    const int w = visible.right - visible.left, h = visible.bottom - visible.top;
    int old = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, visible.left, visible.top, w, h, 0, 0, rows ? 1 : count, rows ? count : 1,
                  first, &bmi, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, old);
}

// ----------------------------------------------------------------- captions

namespace {

UINT TextFlags(bool wordWrap, int alignment) {
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
    if (wordWrap)
        flags |= DT_WORDBREAK;
    if (alignment == 1)
        flags |= DT_RIGHT;
    else if (alignment == 2)
        flags |= DT_CENTER;
    else
        flags |= DT_LEFT;
    return flags;
}

} // namespace

int MeasureTextHeight(HDC dc, const std::string& text, int width, bool wordWrap, HFONT font) {
    if (text.empty())
        return 0;
    std::wstring w = Widen(text);
    HGDIOBJ old = SelectObject(dc, font);
    RECT calc{0, 0, std::max(width, 1), 0};
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &calc,
              TextFlags(wordWrap, 0) | DT_CALCRECT);
    SelectObject(dc, old);
    return calc.bottom - calc.top;
}

void DrawAlignedText(HDC dc, const std::string& text, const RECT& rect, bool wordWrap, int layout,
                     int alignment, HFONT font, COLORREF color) {
    if (text.empty())
        return;
    std::wstring w = Widen(text);
    const UINT flags = TextFlags(wordWrap, alignment);
    HGDIOBJ oldFont = SelectObject(dc, font);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, color);
    RECT r = rect;
    if (layout == 1 || layout == 2) {
        RECT calc = rect;
        DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &calc, flags | DT_CALCRECT);
        const int textHeight = calc.bottom - calc.top;
        const int free = (rect.bottom - rect.top) - textHeight;
        r.top = rect.top + (layout == 1 ? free / 2 : free);
        r.bottom = r.top + textHeight;
    }
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, flags);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void DrawAlignedText(HDC dc, const std::string& text, const RECT& rect, bool wordWrap, int layout,
                     int alignment, const model::TFont& font) {
    DrawAlignedText(dc, text, rect, wordWrap, layout, alignment, FontHandle(font), FontColor(font));
}

// ------------------------------------------------------------- design view

void DrawDesignOutline(HDC dc, const RECT& rect) {
    HPEN pen = CreatePen(PS_DOT, 1, RGB(128, 128, 128));
    if (!pen)
        return;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// ----------------------------------------------------------------- pictures

uint64_t PictureFingerprint(const std::vector<uint8_t>& bytes) {
    uint64_t h = 1469598103934665603ull ^ bytes.size();
    const size_t n = bytes.size();
    const size_t step = n > 4096 ? n / 4096 : 1;
    for (size_t i = 0; i < n; i += step) {
        h ^= bytes[i];
        h *= 1099511628211ull;
    }
    return h;
}

namespace {

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
int16_t S16(const uint8_t* p) {
    return static_cast<int16_t>(U16(p));
}
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

HENHMETAFILE LoadMetafile(const std::vector<uint8_t>& b, int& width, int& height) {
    width = height = 0;
    const int dpi = ScreenDpi();
    if (b.size() >= 88 && U32(b.data()) == 1 && U32(b.data() + 40) == 0x464D4520) {
        HENHMETAFILE h = SetEnhMetaFileBits(static_cast<UINT>(b.size()), b.data());
        if (!h)
            return nullptr;
        ENHMETAHEADER hdr{};
        GetEnhMetaFileHeader(h, sizeof hdr, &hdr);
        // The frame is in hundredths of a millimetre.
        width = MulDiv(hdr.rclFrame.right - hdr.rclFrame.left, dpi, 2540);
        height = MulDiv(hdr.rclFrame.bottom - hdr.rclFrame.top, dpi, 2540);
        return h;
    }
    if (b.size() > 22 && U32(b.data()) == 0x9AC6CDD7u) {
        const int w = S16(b.data() + 10) - S16(b.data() + 6);
        const int h = S16(b.data() + 12) - S16(b.data() + 8);
        const int inch = U16(b.data() + 14);
        if (w <= 0 || h <= 0 || inch == 0)
            return nullptr;
        METAFILEPICT mfp{};
        mfp.mm = MM_ANISOTROPIC;
        mfp.xExt = MulDiv(w, 2540, inch);
        mfp.yExt = MulDiv(h, 2540, inch);
        HENHMETAFILE emf =
            SetWinMetaFileBits(static_cast<UINT>(b.size() - 22), b.data() + 22, nullptr, &mfp);
        if (!emf)
            return nullptr;
        width = MulDiv(w, dpi, inch);
        height = MulDiv(h, dpi, inch);
        return emf;
    }
    return nullptr;
}

Picture::~Picture() {
    Clear();
}

void Picture::Clear() {
    bitmap_.Release();
    image_ = gfx::Image{};
    if (metafile_)
        DeleteEnhMetaFile(metafile_);
    metafile_ = nullptr;
    width_ = height_ = 0;
    sourceData_ = nullptr;
    sourceSize_ = 0;
    sourceHash_ = 0;
    sourceClass_ = -1;
}

bool Picture::Assign(const model::TPicture& source) {
    const int cls = static_cast<int>(source.Class);
    if (sourceClass_ >= 0 && cls == sourceClass_ && source.Bytes.data() == sourceData_ &&
        source.Bytes.size() == sourceSize_ && PictureFingerprint(source.Bytes) == sourceHash_)
        return !Empty();
    Clear();
    sourceClass_ = cls;
    sourceData_ = source.Bytes.data();
    sourceSize_ = source.Bytes.size();
    sourceHash_ = PictureFingerprint(source.Bytes);
    if (source.Empty())
        return false;
    if (source.Class == model::PictureClass::Metafile) {
        int w = 0, h = 0;
        metafile_ = LoadMetafile(source.Bytes, w, h);
        if (metafile_ && w > 0 && h > 0 && w <= kMaxSurfaceSide && h <= kMaxSurfaceSide) {
            width_ = w;
            height_ = h;
        } else if (metafile_) {
            DeleteEnhMetaFile(metafile_);
            metafile_ = nullptr;
        }
        return !Empty();
    }
    gfx::Image img;
    if (!gfx::DecodePicture(model::PictureFormatOf(source.Class), source.Bytes.data(),
                            source.Bytes.size(), &img) ||
        img.Empty())
        return false;
    image_ = std::move(img);
    if (!bitmap_.Assign(image_)) {
        image_ = gfx::Image{};
        return false;
    }
    width_ = image_.width;
    height_ = image_.height;
    return true;
}

bool Picture::AssignImage(const gfx::Image& image) {
    Clear();
    if (image.Empty() || !bitmap_.Assign(image))
        return false;
    image_ = image;
    width_ = image.width;
    height_ = image.height;
    return true;
}

void Picture::Draw(HDC dc, const RECT& dst) const {
    if (Empty() || dst.right <= dst.left || dst.bottom <= dst.top)
        return;
    if (metafile_)
        PlayEnhMetaFile(dc, metafile_, &dst);
    else
        bitmap_.Draw(dc, dst);
}

void Picture::DrawPlaced(HDC dc, gfx::ImageFill fill, const RECT& area) const {
    if (Empty())
        return;
    const gfx::Rect a{area.left, area.top, area.right, area.bottom};
    const gfx::ImageTiles tiles = gfx::PlaceImage(fill, a, width_, height_);
    if (tiles.columns <= 0 || tiles.rows <= 0 || tiles.first.Empty())
        return;
    const RECT first{tiles.first.left, tiles.first.top, tiles.first.right, tiles.first.bottom};
    if (fill != gfx::ImageFill::Tile) {
        Draw(dc, first);
        return;
    }
    // Tiles are clipped to the area; the copies beyond it would be anyway.
    if (!metafile_) {
        int saved = SaveDC(dc);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        bitmap_.Tile(dc, area, first.left, first.top);
        RestoreDC(dc, saved);
        return;
    }
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION)
        return;
    for (int r = 0; r < tiles.rows; ++r)
        for (int c = 0; c < tiles.columns; ++c) {
            RECT d = first;
            OffsetRect(&d, c * width_, r * height_);
            RECT seen;
            if (IntersectRect(&seen, &d, &clip) && IntersectRect(&seen, &seen, &area))
                Draw(dc, d);
        }
}

} // namespace orv::win
