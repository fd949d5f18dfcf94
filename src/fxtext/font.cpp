#include "fxtext/font.h"

#include <algorithm>
#include <cstdlib>

namespace orv::fx {
namespace {

// Gives the font the effect's rotation for one call and puts the old
// escapement back when the call ends, also by an exception.
class EscapementGuard {
public:
    EscapementGuard(TFxGlyphSource& font, int angle) : font_(font) {
        if (angle == 0)
            return;
        old_ = font.Escapement();
        active_ = true;
        font.SetEscapement(angle * 10);
    }
    ~EscapementGuard() {
        if (active_)
            font_.SetEscapement(old_);
    }
    EscapementGuard(const EscapementGuard&) = delete;
    EscapementGuard& operator=(const EscapementGuard&) = delete;

private:
    TFxGlyphSource& font_;
    int old_ = 0;
    bool active_ = false;
};

} // namespace

bool DecodeTexturePicture(const model::TPicture& picture, gfx::Image& out) {
    out = gfx::Image{};
    if (picture.Empty() || picture.Class == model::PictureClass::Metafile)
        return false;
    return gfx::DecodePicture(model::PictureFormatOf(picture.Class), picture.Bytes.data(),
                              picture.Bytes.size(), &out) &&
           !out.Empty();
}

// ------------------------------------------------------------------ TFxFont

TFxSize TFxFont::TextExtent(std::string_view text) {
    if (!font_)
        return {};
    const TFxTextBox box = mask_.Measure(*font_, text);
    return {box.width, box.height};
}

void TFxFont::TextOutput(gfx::Image& target, int x, int y, std::string_view text) {
    if (!font_ || text.empty())
        return;
    mask_.Render(*font_, text);
    blend_.BlendColor(target, x, y, mask_, 100, font_->Color());
}

// ---------------------------------------------------------------- TFxFontEx

TFxSize TFxFontEx::TextExtent(std::string_view text) {
    if (!font_)
        return {};
    const TFxEffectValues v = EffectValues(effect_.Value(), system_);
    EscapementGuard rotated(*font_, v.angle);
    TFxSize size = TFxFont::TextExtent(text);
    if (v.shadow) {
        size.width += std::abs(v.shadowOffsetX);
        size.height += std::abs(v.shadowOffsetY);
    }
    return size;
}

const gfx::Image* TFxFontEx::Texture() {
    const model::TPicture& picture = effect_.Value().Texture.Picture;
    if (picture.Empty())
        return nullptr;
    if (!(picture == textureKey_)) {
        textureKey_ = picture;
        textureOk_ = decoder_(picture, texture_);
    }
    return textureOk_ ? &texture_ : nullptr;
}

void TFxFontEx::TextOutput(gfx::Image& target, int x, int y, std::string_view text) {
    if (!font_ || text.empty())
        return;
    const TFxEffectValues v = EffectValues(effect_.Value(), system_);
    // Fully transparent text leaves the canvas as it is, shadow included
    // (its opacity is the product of both): skip the work.
    if (v.alpha == 0)
        return;
    EscapementGuard rotated(*font_, v.angle);

    // The shadow lies at its offset from the text; both fit into the box
    // enlarged by the offsets.
    int textX = x, textY = y, shadowX = x, shadowY = y;
    if (v.shadow) {
        textX = x + std::max(-v.shadowOffsetX, 0);
        textY = y + std::max(-v.shadowOffsetY, 0);
        shadowX = x + std::max(v.shadowOffsetX, 0);
        shadowY = y + std::max(v.shadowOffsetY, 0);
    }

    mask_.Render(*font_, text);
    if (mask_.Empty())
        return;
    if (v.outline)
        mask_.Outline();
    if (v.spray > 0)
        mask_.Spray(v.spray);
    if (v.horzMirror)
        mask_.MirrorLeftRight();
    if (v.vertMirror)
        mask_.MirrorTopBottom();

    if (v.shadow) {
        shadowMask_.Assign(mask_);
        if (v.shadowBlur > 0)
            shadowMask_.Blur(v.shadowBlur);
        blend_.BlendColor(target, shadowX, shadowY, shadowMask_, v.alpha * v.shadowAlpha / 100,
                          v.shadowColor);
    }
    // The text's own blur leaves the shadow as it is.
    if (v.blur > 0)
        mask_.Blur(v.blur);

    // The fill: texture, gradient, noise or the font colour, first match.
    const int w = mask_.Width(), h = mask_.Height();
    const gfx::ColorRef fontColor = font_->Color();
    gfx::Image& fg = blend_.Foreground();
    const gfx::Image* picture = v.texture ? Texture() : nullptr;
    if (picture) {
        const bool icon = effect_.Value().Texture.Picture.Class == model::PictureClass::Icon;
        TextureForeground(fg, w, h, *picture, icon, v.textureMode, fontColor,
                          system_.Lookup(gfx::kSysColorWindowText));
        AddNoise(fg, v.noise);
        blend_.BlendForeground(target, textX, textY, mask_, v.alpha);
    } else if (v.gradual) {
        GradientForeground(fg, w, h, v.gradualStyle, v.startColor, v.endColor);
        AddNoise(fg, v.noise);
        blend_.BlendForeground(target, textX, textY, mask_, v.alpha);
    } else if (v.noise > 0) {
        NoiseForeground(fg, w, h, fontColor, v.noise);
        blend_.BlendForeground(target, textX, textY, mask_, v.alpha);
    } else {
        blend_.BlendColor(target, textX, textY, mask_, v.alpha, fontColor);
    }
}

} // namespace orv::fx
