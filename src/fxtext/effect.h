// The settings of the anti-aliased text renderer: the quality
// (supersampling factor), the text effect as a property object with change
// notification, and the effect's values as the renderer draws them.
//
// The effect itself is the model's record (model::TFxEffect with its parts
// TFxShadow, TFxGradual and TFxTexture), which keeps every value exactly as
// stored so that a project round-trips byte for byte. TFxEffectParam wraps
// one such record for the controls that own it: its setters call the change
// callback when a value really changes, so a control redraws only on a real
// change. Ranges are applied when drawing (TFxEffectValues).
#pragma once

#include "gfx/color.h"
#include "model/values.h"

#include <cstdint>
#include <functional>

namespace orv::fx {

using model::TFxEffect;
using model::TFxGradual;
using model::TFxShadow;
using model::TFxTexture;

// Supersampling quality: the line is rendered at f times its size.
enum class TFxQuality : uint8_t { aqHigh = 0, aqNormal = 1, aqLow = 2, aqNone = 3 };

// A new renderer starts with this quality.
inline constexpr TFxQuality kDefaultQuality = TFxQuality::aqNormal;

// 4, 3, 2, 1 for aqHigh .. aqNone.
int QualityFactor(TFxQuality q);
// A stored quality byte: 0..3 as above; any other value (never written by
// the editor) gives the renderer's default, aqNormal.
TFxQuality QualityFromByte(uint8_t stored);

// TFxGradual.Style and TFxTexture.Mode values.
namespace gradual {
inline constexpr int gsLeftToRight = 0;
inline constexpr int gsRightToLeft = 1;
inline constexpr int gsTopToBottom = 2;
inline constexpr int gsBottomToTop = 3;
inline constexpr int gsCenterToLR = 4;
inline constexpr int gsCenterToTB = 5;
} // namespace gradual
namespace texture {
inline constexpr int tmTiled = 0;
inline constexpr int tmStretched = 1;
inline constexpr int tmCenter = 2;
inline constexpr int tmNormal = 3;
} // namespace texture

// The ranges of the effect's properties.
inline constexpr int kMaxAlpha = 100;
inline constexpr int kMaxBlur = 100;
inline constexpr int kMaxNoise = 255;
inline constexpr int kMaxSpray = 100;
inline constexpr int kMaxAngle = 360;
inline constexpr int kMaxShadowOffset = 20;

// An effect's values as the renderer uses them: the narrow readings of the
// stored fields (Angle as int16, shadow offsets as int8) clamped into their
// ranges, enumerations limited to their last member, colours resolved to
// RGB.
struct TFxEffectValues {
    int alpha = 100;
    int angle = 0;
    int blur = 0;
    int noise = 0;
    int spray = 0;
    bool outline = false;
    bool horzMirror = false;
    bool vertMirror = false;

    bool shadow = false;
    int shadowAlpha = 70;
    int shadowBlur = 80;
    gfx::ColorRef shadowColor = 0x444444;
    int shadowOffsetX = 2;
    int shadowOffsetY = 2;

    bool gradual = false;
    int gradualStyle = 0;
    gfx::ColorRef startColor = 0xFFFFFF;
    gfx::ColorRef endColor = 0;

    bool texture = false;
    int textureMode = 0;
};

TFxEffectValues EffectValues(const TFxEffect& effect, const gfx::SystemColorTable& system);

// A text effect as a property object (TFxEffect with its parts TFxShadow,
// TFxGradual and TFxTexture): every setter that changes a value calls
// the change callback once, and so do the setters of the three parts, which
// report through the effect's callback. Values are stored as given; the
// renderer applies the ranges.
class TFxEffectParam {
public:
    using ChangeFn = std::function<void()>;

    TFxEffectParam() = default;
    explicit TFxEffectParam(const TFxEffect& value) : value_(value) {}
    // Copies the settings only; the callback stays with its owner.
    TFxEffectParam(const TFxEffectParam& other) : value_(other.value_) {}
    TFxEffectParam& operator=(const TFxEffectParam& other) {
        Assign(other.value_);
        return *this;
    }

    const TFxEffect& Value() const { return value_; }
    operator const TFxEffect&() const { return value_; }

    void SetOnChange(ChangeFn fn) { onChange_ = std::move(fn); }
    // Copies every value, the three parts and the texture picture included;
    // one change call when anything differed.
    void Assign(const TFxEffect& value);

    void SetAlpha(int32_t v) { Set(value_.Alpha, v); }
    void SetAngle(int32_t v) { Set(value_.Angle, v); }
    void SetBlur(int32_t v) { Set(value_.Blur, v); }
    void SetNoise(int32_t v) { Set(value_.Noise, v); }
    void SetSpray(int32_t v) { Set(value_.Spray, v); }
    void SetOutline(bool v) { Set(value_.Outline, v); }
    void SetHorzMirror(bool v) { Set(value_.HorzMirror, v); }
    void SetVertMirror(bool v) { Set(value_.VertMirror, v); }

    void SetShadowEnabled(bool v) { Set(value_.Shadow.Enabled, v); }
    void SetShadowAlpha(int32_t v) { Set(value_.Shadow.Alpha, v); }
    void SetShadowBlur(int32_t v) { Set(value_.Shadow.Blur, v); }
    void SetShadowColor(int32_t v) { Set(value_.Shadow.Color, v); }
    void SetShadowOffsetX(int32_t v) { Set(value_.Shadow.OffsetX, v); }
    void SetShadowOffsetY(int32_t v) { Set(value_.Shadow.OffsetY, v); }

    void SetGradualEnabled(bool v) { Set(value_.Gradual.Enabled, v); }
    void SetGradualStyle(uint8_t v) { Set(value_.Gradual.Style, v); }
    void SetStartColor(int32_t v) { Set(value_.Gradual.StartColor, v); }
    void SetEndColor(int32_t v) { Set(value_.Gradual.EndColor, v); }

    void SetTextureEnabled(bool v) { Set(value_.Texture.Enabled, v); }
    void SetTextureMode(uint8_t v) { Set(value_.Texture.Mode, v); }
    // A change of the picture calls the callback as well.
    void SetTexturePicture(const model::TPicture& v) { Set(value_.Texture.Picture, v); }

private:
    template <typename T> void Set(T& field, const T& v) {
        if (field == v)
            return;
        field = v;
        Changed();
    }
    void Changed() {
        if (onChange_)
            onChange_();
    }

    TFxEffect value_;
    ChangeFn onChange_;
};

} // namespace orv::fx
