#include "fxtext/gdi.h"

#include "gfx/raster.h"
#include "win/controls/drawing.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orv::fx {
namespace {

// Points beyond this are refused by GDI or make absurd glyph bitmaps.
constexpr int32_t kMaxFontPoints = 1000;

int ScreenDpi() {
    static const int dpi = [] {
        HDC dc = GetDC(nullptr);
        const int v = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc)
            ReleaseDC(nullptr, dc);
        return v > 0 ? v : 96;
    }();
    return dpi;
}

// BITMAPINFO with room for a 256-entry palette.
struct GrayInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

// The 256 grays (entry i is i, i, i), built once for the program; every
// rendering copies it into its own bitmap header.
const GrayInfo& GrayPalette() {
    static const GrayInfo info = [] {
        GrayInfo g{};
        g.header.biSize = sizeof(BITMAPINFOHEADER);
        g.header.biPlanes = 1;
        g.header.biBitCount = 8;
        g.header.biCompression = BI_RGB;
        g.header.biClrUsed = 256;
        g.header.biClrImportant = 256;
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<BYTE>(i);
            g.colors[i] = RGBQUAD{v, v, v, 0};
        }
        return g;
    }();
    return info;
}

// A top-down 32-bit DIB section in its own memory DC.
class Dib32 {
public:
    Dib32(int w, int h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        if (!dc_)
            return;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap_)
            return;
        old_ = SelectObject(dc_, bitmap_);
        bits_ = static_cast<uint32_t*>(bits);
        w_ = w;
        h_ = h;
    }
    ~Dib32() {
        if (dc_ && old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    Dib32(const Dib32&) = delete;
    Dib32& operator=(const Dib32&) = delete;

    bool Valid() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    uint32_t* Bits() const { return bits_; }
    size_t Count() const { return static_cast<size_t>(w_) * static_cast<size_t>(h_); }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
    int w_ = 0, h_ = 0;
};

// Plays a metafile over a w x h background of one colour.
bool PlayOver(HENHMETAFILE emf, int w, int h, COLORREF back, std::vector<uint32_t>& out) {
    Dib32 dib(w, h);
    if (!dib.Valid())
        return false;
    const uint32_t px = (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
    std::fill(dib.Bits(), dib.Bits() + dib.Count(), px);
    RECT r{0, 0, w, h};
    PlayEnhMetaFile(dib.Dc(), emf, &r);
    GdiFlush();
    out.assign(dib.Bits(), dib.Bits() + dib.Count());
    return true;
}

} // namespace

std::wstring WidenAnsi(std::string_view text) {
    if (text.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), w.data(), n);
    return w;
}

gfx::SystemColorTable GdiSystemColors() {
    // COLOR_MENUBAR (30) is the last index the platform defines.
    static gfx::ColorRef table[31];
    for (int i = 0; i < 31; ++i)
        table[i] = GetSysColor(i) & 0xFFFFFF;
    return gfx::SystemColorTable{table, 31};
}

LOGFONTW LogFontOf(const model::TFont& f) {
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
    std::wstring face = WidenAnsi(f.Name);
    if (face.size() >= LF_FACESIZE)
        face.resize(LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
    return lf;
}

// --------------------------------------------------------------- TFxGdiFont

TFxGdiFont::TFxGdiFont() {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font_, &font_);
}

TFxGdiFont::TFxGdiFont(const LOGFONTW& font, COLORREF color) : font_(font) {
    SetColor(color);
}

TFxGdiFont::TFxGdiFont(const model::TFont& font) {
    SetFont(font);
}

TFxGdiFont::~TFxGdiFont() {
    DropScaled();
}

void TFxGdiFont::DropScaled() {
    if (scaled_)
        DeleteObject(scaled_);
    scaled_ = nullptr;
    scaledFactor_ = 0;
}

void TFxGdiFont::AssignFromDc(HDC dc) {
    LOGFONTW lf{};
    HGDIOBJ current = GetCurrentObject(dc, OBJ_FONT);
    if (!current || GetObjectW(current, sizeof lf, &lf) == 0)
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    SetFont(lf);
    const COLORREF c = GetTextColor(dc);
    SetColor(c == CLR_INVALID ? 0 : c);
}

void TFxGdiFont::SetFont(const LOGFONTW& font) {
    font_ = font;
    DropScaled();
}

void TFxGdiFont::SetFont(const model::TFont& font) {
    SetFont(LogFontOf(font));
    const uint32_t v = static_cast<uint32_t>(font.Color);
    SetColor(gfx::IsSystemColor(font.Color) ? GetSysColor(static_cast<int>(v & 0xFF)) : v);
}

void TFxGdiFont::SetEscapement(int tenths) {
    if (font_.lfEscapement == tenths)
        return;
    font_.lfEscapement = tenths;
    DropScaled();
}

HFONT TFxGdiFont::Scaled(int factor) {
    factor = std::max(factor, 1);
    if (scaled_ && scaledFactor_ == factor)
        return scaled_;
    DropScaled();
    LOGFONTW lf = font_;
    lf.lfHeight = font_.lfHeight * factor;
    lf.lfWidth = font_.lfWidth * factor;
    lf.lfOrientation = font_.lfEscapement;
    // Plain black-and-white glyphs: the supersampling does the smoothing,
    // the same on every system and under Wine.
    lf.lfQuality = NONANTIALIASED_QUALITY;
    // A font that has to be rotated must be an outline font.
    if (lf.lfEscapement != 0)
        lf.lfOutPrecision = OUT_TT_PRECIS;
    scaled_ = CreateFontIndirectW(&lf);
    scaledFactor_ = scaled_ ? factor : 0;
    return scaled_;
}

TFxSize TFxGdiFont::Extent(std::string_view text, int factor) {
    HFONT font = Scaled(factor);
    HDC dc = GetDC(nullptr);
    if (!dc)
        return {};
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TFxSize size;
    if (text.empty()) {
        TEXTMETRICW tm{};
        if (GetTextMetricsW(dc, &tm))
            size.height = tm.tmHeight;
    } else {
        const std::wstring wide = WidenAnsi(text);
        SIZE s{};
        if (GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &s)) {
            size.width = s.cx;
            size.height = s.cy;
        }
    }
    if (old)
        SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

void TFxGdiFont::Render(std::string_view text, int factor, int x, int y, TFxGrayBitmap& scratch) {
    if (scratch.Empty() || text.empty())
        return;
    HFONT font = Scaled(factor);
    if (!font)
        return;
    // The scratch bitmap of this rendering, with its own copy of the gray
    // palette.
    GrayInfo info = GrayPalette();
    info.header.biWidth = scratch.width;
    info.header.biHeight = -scratch.height; // top-down, like the scratch
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        std::memset(bits, 0, static_cast<size_t>(scratch.stride) * scratch.height);
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        const std::wstring wide = WidenAnsi(text);
        ExtTextOutW(dc, x, y, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
        GdiFlush();
        // Both keep rows padded to 4 bytes, top-down.
        std::memcpy(scratch.bits.data(), bits, scratch.bits.size());
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
}

// ------------------------------------------------------------------ helpers

bool DecodePictureGdi(const model::TPicture& picture, gfx::Image& out) {
    if (picture.Class != model::PictureClass::Metafile)
        return DecodeTexturePicture(picture, out);
    out = gfx::Image{};
    int w = 0, h = 0;
    HENHMETAFILE emf = win::LoadMetafile(picture.Bytes, w, h);
    if (!emf)
        return false;
    bool ok = false;
    if (w > 0 && h > 0 && w <= kMaxMaskSide && h <= kMaxMaskSide) {
        // Played over black and over white: where the two differ the
        // metafile painted nothing, and the pixel is transparent.
        std::vector<uint32_t> onBlack, onWhite;
        if (PlayOver(emf, w, h, RGB(0, 0, 0), onBlack) &&
            PlayOver(emf, w, h, RGB(255, 255, 255), onWhite)) {
            out = gfx::MakeImage(w, h);
            for (size_t i = 0; i < out.pixels.size(); ++i) {
                const uint32_t rgb = onBlack[i] & 0xFFFFFF;
                out.pixels[i] = rgb == (onWhite[i] & 0xFFFFFF) ? 0xFF000000u | rgb : 0;
            }
            ok = true;
        }
    }
    DeleteEnhMetaFile(emf);
    return ok;
}

void PrepareForGdi(TFxFontEx& renderer) {
    renderer.SetSystemColors(GdiSystemColors());
    renderer.SetPictureDecoder(DecodePictureGdi);
}

bool TextOutputDc(TFxFont& fx, HDC dc, int x, int y, std::string_view text) {
    if (!dc || !fx.Font() || text.empty())
        return false;
    const TFxSize box = fx.TextExtent(text);
    if (box.width <= 0 || box.height <= 0 || box.width > kMaxMaskSide || box.height > kMaxMaskSide)
        return false;
    // The work bitmap: a copy of the canvas under the box.
    Dib32 work(box.width, box.height);
    if (!work.Valid())
        return false;
    if (!BitBlt(work.Dc(), 0, 0, box.width, box.height, dc, x, y, SRCCOPY))
        return false;
    GdiFlush();
    gfx::Image pixels = gfx::MakeImage(box.width, box.height);
    for (size_t i = 0; i < pixels.pixels.size(); ++i)
        pixels.pixels[i] = work.Bits()[i] | 0xFF000000u;
    fx.TextOutput(pixels, 0, 0, text);
    std::memcpy(work.Bits(), pixels.pixels.data(), pixels.pixels.size() * sizeof(uint32_t));
    return BitBlt(dc, x, y, box.width, box.height, work.Dc(), 0, 0, SRCCOPY) != FALSE;
}

TFxSize MeasureEffectText(std::string_view text, const model::TFont& font,
                          const model::TFxEffect& effect, TFxQuality quality) {
    TFxGdiFont source(font);
    TFxFontEx fx(&source);
    PrepareForGdi(fx);
    fx.SetQuality(quality);
    fx.Effect().Assign(effect);
    return fx.TextExtent(text);
}

void DrawEffectText(gfx::Image& target, int x, int y, std::string_view text,
                    const model::TFont& font, const model::TFxEffect& effect, TFxQuality quality) {
    TFxGdiFont source(font);
    TFxFontEx fx(&source);
    PrepareForGdi(fx);
    fx.SetQuality(quality);
    fx.Effect().Assign(effect);
    fx.TextOutput(target, x, y, text);
}

} // namespace orv::fx
