// The text renderer (TFxFont, TFxFontEx): measuring a line and
// drawing it anti-aliased, plain or with a TFxEffect, onto target pixels.
//
// Drawing is split in two: the font (a TFxGlyphSource,
// bound at creation and not owned: GDI in the program, the block font in
// tests) and the pixels drawn on (a gfx::Image passed to each TextOutput, such
// as the region of a back buffer a windowless control paints). The text is
// composited over what the pixels already hold; a caller that wants a
// background paints it first. (The output function is named TextOutput:
// <windows.h> defines TextOut as a macro.)
//
//   fx::TFxGdiFont font(record.Font);            // fxtext/gdi.h, Windows
//   fx::TFxFontEx text(&font);
//   text.SetQuality(fx::TFxQuality::aqHigh);
//   text.Effect().Assign(record.Effect);
//   const fx::TFxSize size = text.TextExtent(caption);
//   text.TextOutput(backBuffer, x, y, caption);
#pragma once

#include "fxtext/blend.h"
#include "fxtext/effect.h"
#include "fxtext/glyphs.h"
#include "fxtext/mask.h"
#include "gfx/codecs.h"
#include "gfx/color.h"
#include "model/values.h"

#include <string_view>

namespace orv::fx {

// Turns a stored picture into pixels for the texture fill. The portable
// decoder handles the five raster classes; metafiles need the platform
// (fxtext/gdi.h has a decoder that plays them). False leaves the texture
// out, as if it had no picture.
using TFxPictureDecoder = bool (*)(const model::TPicture& picture, gfx::Image& out);
bool DecodeTexturePicture(const model::TPicture& picture, gfx::Image& out);

class TFxFont {
public:
    explicit TFxFont(TFxGlyphSource* font = nullptr) : font_(font) {}
    virtual ~TFxFont() = default;
    TFxFont(const TFxFont&) = delete;
    TFxFont& operator=(const TFxFont&) = delete;

    TFxGlyphSource* Font() const { return font_; }
    void SetFont(TFxGlyphSource* font) { font_ = font; }

    TFxQuality Quality() const { return mask_.Quality(); }
    // Changes the factor for the next rendering.
    void SetQuality(TFxQuality q) { mask_.SetQuality(q); }

    // Stored system colours (top bit set) in effects resolve through this
    // table; without one they resolve to black.
    void SetSystemColors(const gfx::SystemColorTable& table) { system_ = table; }
    const gfx::SystemColorTable& SystemColors() const { return system_; }

    // Width and height of the text box in final pixels; (0, 0) without a
    // font. An empty text measures zero wide.
    virtual TFxSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).width; }
    int TextHeight(std::string_view text) { return TextExtent(text).height; }

    // Plain anti-aliased text in the font colour with its box's top-left at
    // (x, y). Nothing happens for an empty text or without a font.
    virtual void TextOutput(gfx::Image& target, int x, int y, std::string_view text);

    // The last rendered coverage map and the compositor.
    const TFxMask& Mask() const { return mask_; }
    TFxMask& Mask() { return mask_; }
    TFxBlend& Blend() { return blend_; }

protected:
    TFxGlyphSource* font_ = nullptr;
    TFxMask mask_;
    TFxBlend blend_;
    gfx::SystemColorTable system_;
};

class TFxFontEx : public TFxFont {
public:
    explicit TFxFontEx(TFxGlyphSource* font = nullptr) : TFxFont(font) {}

    // The renderer's own effect. Its owner sets the change callback.
    TFxEffectParam& Effect() { return effect_; }
    const TFxEffectParam& Effect() const { return effect_; }

    void SetPictureDecoder(TFxPictureDecoder decoder) {
        decoder_ = decoder ? decoder : DecodeTexturePicture;
        textureKey_.Clear();
        texture_ = gfx::Image{};
    }

    // The text's box, measured with the effect's rotation, enlarged by
    // |OffsetX| and |OffsetY| when the shadow is enabled.
    TFxSize TextExtent(std::string_view text) override;

    // Draws text with the effect so that its box, enlarged by the shadow,
    // has its top-left corner at (x, y). A rotation applies to the font only
    // for the call: the font's escapement is restored afterwards, also when
    // an error propagates.
    void TextOutput(gfx::Image& target, int x, int y, std::string_view text) override;

    // The shadow's coverage map of the last drawing with a shadow.
    const TFxMask& ShadowMask() const { return shadowMask_; }

private:
    // The texture picture decoded, or nullptr when it is empty or does not
    // decode. Decoded once per picture.
    const gfx::Image* Texture();

    TFxEffectParam effect_;
    TFxMask shadowMask_;
    TFxPictureDecoder decoder_ = DecodeTexturePicture;
    model::TPicture textureKey_;
    gfx::Image texture_;
    bool textureOk_ = false;
};

} // namespace orv::fx
