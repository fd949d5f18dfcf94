// The Windows side of the text renderer (gdi_win32.cpp, built only for
// Windows): the canvas font through GDI, pictures GDI alone can decode, and
// entry points that draw a line of effect text into a control's pixels.
//
// A windowless effect-text control keeps a TFxGdiFont for its font and a
// TFxFontEx bound to it, and at every paint composites its caption into
// the part of the back buffer it owns:
//
//   canvas.EditPixels(rect, [&](gfx::Image& pixels, const gfx::Rect& r) {
//       text.TextOutput(pixels, r.left + x, r.top + y, caption);
//   });
//
// or, for any HDC (a window, a printer, a plain memory bitmap), through
// TextOutputDc, which copies the pixels under the text box out of the DC,
// composites and copies them back.
#pragma once

#include "fxtext/font.h"
#include "fxtext/glyphs.h"
#include "model/values.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace orv::fx {

// The current system colours, for the stored colours with the top bit set.
gfx::SystemColorTable GdiSystemColors();

// The platform font of a stored font: its size in points at the screen's
// resolution (clamped to +-1000 points), style, character set and face.
LOGFONTW LogFontOf(const model::TFont& font);

// A canvas font drawn by GDI. Measuring uses a screen context; rendering
// draws the text non-anti-aliased in white into an 8-bit DIB section with
// the shared 256-gray palette (the supersampling does the smoothing). The
// scaled and rotated font is created on demand and kept for the next call.
class TFxGdiFont final : public TFxGlyphSource {
public:
    // The default GUI font, black.
    TFxGdiFont();
    TFxGdiFont(const LOGFONTW& font, COLORREF color);
    // A stored font; its colour resolved (system colours through GDI).
    explicit TFxGdiFont(const model::TFont& font);
    ~TFxGdiFont() override;
    TFxGdiFont(const TFxGdiFont&) = delete;
    TFxGdiFont& operator=(const TFxGdiFont&) = delete;

    // Takes the font selected into dc and its text colour, as the canvas's
    // current font.
    void AssignFromDc(HDC dc);
    void SetFont(const LOGFONTW& font);
    void SetFont(const model::TFont& font);
    void SetColor(COLORREF color) { color_ = color & 0xFFFFFF; }
    const LOGFONTW& LogFont() const { return font_; }

    TFxSize Extent(std::string_view text, int factor) override;
    void Render(std::string_view text, int factor, int x, int y, TFxGrayBitmap& scratch) override;
    bool Italic() const override { return font_.lfItalic != 0; }
    int Escapement() const override { return font_.lfEscapement; }
    void SetEscapement(int tenths) override;
    gfx::ColorRef Color() const override { return color_; }

private:
    // The font with height and width times factor and the escapement, or
    // nullptr when GDI refuses it.
    HFONT Scaled(int factor);
    void DropScaled();

    LOGFONTW font_{};
    COLORREF color_ = 0;
    HFONT scaled_ = nullptr;
    int scaledFactor_ = 0;
};

// The portable decoder plus metafiles (EMF, placeable WMF), played at their
// size in screen pixels; what the metafile does not paint is transparent.
bool DecodePictureGdi(const model::TPicture& picture, gfx::Image& out);

// A TFxFontEx ready for the program: system colours and the decoder above.
void PrepareForGdi(TFxFontEx& renderer);

// Draws text through an HDC: the pixels under the text box (TextExtent at
// (x, y), in the DC's logical coordinates without scaling) are copied out,
// composited by fx.TextOutput and copied back. Returns false when nothing was
// drawn (empty text, no font, or GDI failed).
bool TextOutputDc(TFxFont& fx, HDC dc, int x, int y, std::string_view text);

// One-shot helpers for callers without a renderer of their own: the line
// with a stored font, effect and quality.
TFxSize MeasureEffectText(std::string_view text, const model::TFont& font,
                          const model::TFxEffect& effect, TFxQuality quality);
void DrawEffectText(gfx::Image& target, int x, int y, std::string_view text,
                    const model::TFont& font, const model::TFxEffect& effect, TFxQuality quality);

// ANSI (the stored code page) to UTF-16, at the GDI boundary.
std::wstring WidenAnsi(std::string_view text);

} // namespace orv::fx
