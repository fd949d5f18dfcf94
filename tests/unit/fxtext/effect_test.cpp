#include "fxtext/effect.h"

#include <gtest/gtest.h>

namespace orv::fx {
namespace {

TEST(FxEffectParam, SettersReportRealChangesOnly) {
    TFxEffectParam e;
    int changes = 0;
    e.SetOnChange([&] { ++changes; });
    e.SetAlpha(100); // the default: no change
    EXPECT_EQ(changes, 0);
    e.SetAlpha(40);
    e.SetAlpha(40);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(e.Value().Alpha, 40);

    // The parts report through the effect's callback.
    e.SetShadowEnabled(true);
    e.SetShadowOffsetX(-3);
    e.SetGradualStyle(gradual::gsCenterToTB);
    e.SetStartColor(0x123456);
    e.SetTextureEnabled(true);
    e.SetTextureMode(texture::tmCenter);
    EXPECT_EQ(changes, 7);
    e.SetShadowEnabled(true);
    e.SetTextureMode(texture::tmCenter);
    EXPECT_EQ(changes, 7);

    model::TPicture pic;
    pic.Class = model::PictureClass::Png;
    pic.Bytes = {1, 2, 3};
    e.SetTexturePicture(pic);
    EXPECT_EQ(changes, 8);
    e.SetTexturePicture(pic);
    EXPECT_EQ(changes, 8);
    pic.Bytes.push_back(4); // another picture of the same class
    e.SetTexturePicture(pic);
    EXPECT_EQ(changes, 9);

    for (auto set :
         {+[](TFxEffectParam& p) { p.SetAngle(45); }, +[](TFxEffectParam& p) { p.SetBlur(5); },
          +[](TFxEffectParam& p) { p.SetNoise(5); }, +[](TFxEffectParam& p) { p.SetSpray(5); },
          +[](TFxEffectParam& p) { p.SetOutline(true); },
          +[](TFxEffectParam& p) { p.SetHorzMirror(true); },
          +[](TFxEffectParam& p) { p.SetVertMirror(true); },
          +[](TFxEffectParam& p) { p.SetShadowAlpha(5); },
          +[](TFxEffectParam& p) { p.SetShadowBlur(5); },
          +[](TFxEffectParam& p) { p.SetShadowColor(5); },
          +[](TFxEffectParam& p) { p.SetShadowOffsetY(5); },
          +[](TFxEffectParam& p) { p.SetGradualEnabled(true); },
          +[](TFxEffectParam& p) { p.SetEndColor(5); }}) {
        const int before = changes;
        set(e);
        EXPECT_EQ(changes, before + 1);
        set(e);
        EXPECT_EQ(changes, before + 1);
    }
}

TEST(FxEffectParam, AssignCopiesEverythingWithOneChange) {
    TFxEffect source;
    source.Alpha = 33;
    source.Angle = -45;
    source.Shadow.Enabled = true;
    source.Shadow.Color = 0x0000FF;
    source.Gradual.Enabled = true;
    source.Texture.Mode = texture::tmStretched;
    source.Texture.Picture.Class = model::PictureClass::Bitmap;
    source.Texture.Picture.Bytes = {'B', 'M'};
    TFxEffectParam e;
    int changes = 0;
    e.SetOnChange([&] { ++changes; });
    e.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(e.Value(), source);
    e.Assign(source);
    EXPECT_EQ(changes, 1);

    // Copying a parameter object copies the settings, not the owner's callback.
    TFxEffectParam copy(e);
    EXPECT_EQ(copy.Value(), source);
    copy.SetAlpha(1);
    EXPECT_EQ(changes, 1);
    e = copy; // assignment is Assign: the owner hears of it
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(e.Value().Alpha, 1);
}

TEST(FxEffectValues, NarrowReadingsAndRanges) {
    TFxEffect e;
    e.Alpha = 150;
    e.Angle = 0x0000FFFF; // read as a 16-bit signed value: -1
    e.Blur = -4;
    e.Noise = 300;
    e.Spray = 101;
    e.Shadow.Alpha = 1000;
    e.Shadow.Blur = 101;
    e.Shadow.OffsetX = 0x000000FD; // 8-bit signed: -3
    e.Shadow.OffsetY = 30;
    e.Gradual.Style = 9;
    e.Texture.Mode = 7;
    TFxEffectValues v = EffectValues(e, {});
    EXPECT_EQ(v.alpha, 100);
    EXPECT_EQ(v.angle, -1);
    EXPECT_EQ(v.blur, 0);
    EXPECT_EQ(v.noise, 255);
    EXPECT_EQ(v.spray, 100);
    EXPECT_EQ(v.shadowAlpha, 100);
    EXPECT_EQ(v.shadowBlur, 100);
    EXPECT_EQ(v.shadowOffsetX, -3);
    EXPECT_EQ(v.shadowOffsetY, 20);
    EXPECT_EQ(v.gradualStyle, gradual::gsCenterToTB);
    EXPECT_EQ(v.textureMode, texture::tmNormal);

    e.Angle = 400;
    EXPECT_EQ(EffectValues(e, {}).angle, 360);
    e.Angle = 0x00010000 - 400; // -400 as 16 bits
    EXPECT_EQ(EffectValues(e, {}).angle, -360);
    e.Shadow.OffsetX = -21;
    EXPECT_EQ(EffectValues(e, {}).shadowOffsetX, -20);
}

TEST(FxEffectValues, DefaultsAndColours) {
    const TFxEffectValues d = EffectValues(TFxEffect{}, {});
    EXPECT_EQ(d.alpha, 100);
    EXPECT_EQ(d.shadowAlpha, 70);
    EXPECT_EQ(d.shadowBlur, 80);
    EXPECT_EQ(d.shadowColor, 0x444444u);
    EXPECT_EQ(d.shadowOffsetX, 2);
    EXPECT_EQ(d.shadowOffsetY, 2);
    EXPECT_EQ(d.startColor, 0xFFFFFFu);
    EXPECT_EQ(d.endColor, 0u);

    gfx::ColorRef table[21] = {};
    table[8] = 0x0A0B0C;
    table[16] = 0x808080;
    TFxEffect e;
    e.Gradual.StartColor = gfx::SystemColor(gfx::kSysColorWindowText);
    e.Shadow.Color = gfx::SystemColor(gfx::kSysColorBtnShadow);
    e.Gradual.EndColor = 0x7F123456; // the top byte of a plain colour is dropped
    const TFxEffectValues v = EffectValues(e, gfx::SystemColorTable{table, 21});
    EXPECT_EQ(v.startColor, 0x0A0B0Cu);
    EXPECT_EQ(v.shadowColor, 0x808080u);
    EXPECT_EQ(v.endColor, 0x123456u);
}

} // namespace
} // namespace orv::fx
