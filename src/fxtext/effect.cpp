#include "fxtext/effect.h"

#include <algorithm>

namespace orv::fx {

int QualityFactor(TFxQuality q) {
    switch (q) {
    case TFxQuality::aqHigh:
        return 4;
    case TFxQuality::aqNormal:
        return 3;
    case TFxQuality::aqLow:
        return 2;
    default:
        return 1;
    }
}

TFxQuality QualityFromByte(uint8_t stored) {
    return stored <= 3 ? static_cast<TFxQuality>(stored) : kDefaultQuality;
}

TFxEffectValues EffectValues(const TFxEffect& e, const gfx::SystemColorTable& system) {
    TFxEffectValues v;
    v.alpha = std::clamp<int>(e.Alpha, 0, kMaxAlpha);
    v.angle = std::clamp<int>(e.AngleValue(), -kMaxAngle, kMaxAngle);
    v.blur = std::clamp<int>(e.Blur, 0, kMaxBlur);
    v.noise = std::clamp<int>(e.Noise, 0, kMaxNoise);
    v.spray = std::clamp<int>(e.Spray, 0, kMaxSpray);
    v.outline = e.Outline;
    v.horzMirror = e.HorzMirror;
    v.vertMirror = e.VertMirror;

    v.shadow = e.Shadow.Enabled;
    v.shadowAlpha = std::clamp<int>(e.Shadow.Alpha, 0, kMaxAlpha);
    v.shadowBlur = std::clamp<int>(e.Shadow.Blur, 0, kMaxBlur);
    v.shadowColor = gfx::ResolveColor(e.Shadow.Color, system);
    v.shadowOffsetX = std::clamp<int>(e.Shadow.OffsetXValue(), -kMaxShadowOffset, kMaxShadowOffset);
    v.shadowOffsetY = std::clamp<int>(e.Shadow.OffsetYValue(), -kMaxShadowOffset, kMaxShadowOffset);

    v.gradual = e.Gradual.Enabled;
    v.gradualStyle = std::min<int>(e.Gradual.Style, gradual::gsCenterToTB);
    v.startColor = gfx::ResolveColor(e.Gradual.StartColor, system);
    v.endColor = gfx::ResolveColor(e.Gradual.EndColor, system);

    v.texture = e.Texture.Enabled;
    v.textureMode = std::min<int>(e.Texture.Mode, texture::tmNormal);
    return v;
}

void TFxEffectParam::Assign(const TFxEffect& value) {
    if (value_ == value)
        return;
    value_ = value;
    Changed();
}

} // namespace orv::fx
