#include "fxtext/blockfont.h"
#include "fxtext/font.h"

#include "gfx/raster.h"
#include "reference.h"

#include <gtest/gtest.h>

#include <string>

namespace orv::fx {
namespace {

constexpr uint32_t kBack = 0xFF204060u;

void ExpectSame(const gfx::Image& got, const gfx::Image& want, const std::string& what) {
    ASSERT_EQ(got.width, want.width) << what;
    ASSERT_EQ(got.height, want.height) << what;
    int differ = 0;
    for (size_t i = 0; i < want.pixels.size(); ++i)
        differ += got.pixels[i] != want.pixels[i];
    EXPECT_EQ(differ, 0) << what;
}

bool Changed(const gfx::Image& img) {
    for (uint32_t p : img.pixels)
        if (p != kBack)
            return true;
    return false;
}

// A source that fails while rendering, to see the font put back.
class FailingSource : public TFxGlyphSource {
public:
    TFxBlockFont inner{12};
    TFxSize Extent(std::string_view t, int f) override { return inner.Extent(t, f); }
    void Render(std::string_view, int, int, int, TFxGrayBitmap&) override {
        throw std::runtime_error("no glyphs");
    }
    bool Italic() const override { return false; }
    int Escapement() const override { return inner.Escapement(); }
    void SetEscapement(int t) override { inner.SetEscapement(t); }
    gfx::ColorRef Color() const override { return 0; }
};

// The effect with everything off (the defaults have no shadow either).
TFxEffect Plain() {
    return TFxEffect{};
}

TEST(FxFont, ExtentOfBlockText) {
    TFxBlockFont font(16);
    TFxFont fx(&font);
    EXPECT_EQ(fx.Quality(), TFxQuality::aqNormal);
    // 2 characters at f = 3: W = 2 * 6 * 48 div 10 = 57, w = 19.
    EXPECT_EQ(fx.TextExtent("AB"), (TFxSize{19, 16}));
    EXPECT_EQ(fx.TextWidth("AB"), 19);
    EXPECT_EQ(fx.TextHeight("AB"), 16);
    EXPECT_EQ(fx.TextWidth(""), 0);
    fx.SetQuality(TFxQuality::aqHigh);
    EXPECT_EQ(fx.TextExtent("AB"), (TFxSize{19, 16})); // 2 * 6 * 64 div 10 = 76, w = 19
}

TEST(FxFont, NothingWithoutFontOrText) {
    gfx::Image target = gfx::MakeImage(40, 20, kBack);
    TFxFontEx none;
    none.TextOutput(target, 0, 0, "abc");
    EXPECT_EQ(none.TextExtent("abc"), (TFxSize{0, 0}));
    TFxBlockFont font(12);
    TFxFontEx fx(&font);
    fx.TextOutput(target, 0, 0, "");
    TFxFont plain(&font);
    plain.TextOutput(target, 0, 0, "");
    EXPECT_FALSE(Changed(target));
    EXPECT_EQ(font.Renderings(), 0);
}

TEST(FxFont, PlainTextIsTheMaskInTheFontColour) {
    TFxBlockFont font(13, gfx::MakeColorRef(255, 200, 0));
    for (TFxQuality q :
         {TFxQuality::aqHigh, TFxQuality::aqNormal, TFxQuality::aqLow, TFxQuality::aqNone}) {
        TFxFont fx(&font);
        fx.SetQuality(q);
        gfx::Image target = gfx::MakeImage(80, 20, kBack);
        fx.TextOutput(target, 3, 2, "Fx!");
        TFxMask m;
        m.SetQuality(q);
        m.Render(font, "Fx!");
        gfx::Image want = gfx::MakeImage(80, 20, kBack);
        BlendMaskColor(want, 3, 2, m, 100, font.Color());
        ExpectSame(target, want, "plain");
        EXPECT_TRUE(Changed(target));
    }
}

TEST(FxFontEx, WithoutEffectsItDrawsLikeThePlainFont) {
    TFxBlockFont font(11, 0xFFFFFF);
    TFxFontEx fx(&font);
    fx.Effect().Assign(Plain());
    TFxFont plain(&font);
    gfx::Image a = gfx::MakeImage(60, 15, kBack), b = a;
    fx.TextOutput(a, -2, 1, "clip");
    plain.TextOutput(b, -2, 1, "clip");
    ExpectSame(a, b, "no effect");
    EXPECT_EQ(fx.TextExtent("clip"), plain.TextExtent("clip"));
}

TEST(FxFontEx, ShadowOffsetsPlaceTextAndShadowInTheEnlargedBox) {
    TFxBlockFont font(10, gfx::MakeColorRef(255, 0, 0));
    TFxFontEx fx(&font);
    fx.SetQuality(TFxQuality::aqLow);
    TFxEffect e = Plain();
    e.Shadow.Enabled = true;
    e.Shadow.OffsetX = -3;
    e.Shadow.OffsetY = 2;
    e.Shadow.Blur = 0;
    e.Shadow.Alpha = 100;
    e.Shadow.Color = 0x00FF00;
    fx.Effect().Assign(e);

    TFxFont plain(&font);
    plain.SetQuality(TFxQuality::aqLow);
    const TFxSize bare = plain.TextExtent("Hi");
    EXPECT_EQ(fx.TextExtent("Hi"), (TFxSize{bare.width + 3, bare.height + 2}));

    gfx::Image target = gfx::MakeImage(40, 20, kBack);
    fx.TextOutput(target, 5, 4, "Hi");
    TFxMask m;
    m.SetQuality(TFxQuality::aqLow);
    m.Render(font, "Hi");
    gfx::Image want = gfx::MakeImage(40, 20, kBack);
    BlendMaskColor(want, 5, 6, m, 100, 0x00FF00);     // shadow at x, 2 lower than the text
    BlendMaskColor(want, 8, 4, m, 100, font.Color()); // text 3 right of x
    ExpectSame(target, want, "shadow -3, 2");

    // Positive offsets: the text at (x, y), the shadow at (x + 4, y + 1).
    e.Shadow.OffsetX = 4;
    e.Shadow.OffsetY = 1;
    fx.Effect().Assign(e);
    EXPECT_EQ(fx.TextExtent("Hi"), (TFxSize{bare.width + 4, bare.height + 1}));
    target = gfx::MakeImage(40, 20, kBack);
    fx.TextOutput(target, 5, 4, "Hi");
    want = gfx::MakeImage(40, 20, kBack);
    BlendMaskColor(want, 9, 5, m, 100, 0x00FF00);
    BlendMaskColor(want, 5, 4, m, 100, font.Color());
    ExpectSame(target, want, "shadow 4, 1");
}

TEST(FxFontEx, AlphaZeroLeavesTheCanvasShadowIncluded) {
    TFxBlockFont font(12, 0xFFFFFF);
    TFxFontEx fx(&font);
    fx.Effect().SetAlpha(0);
    fx.Effect().SetShadowEnabled(true);
    fx.Effect().SetGradualEnabled(true);
    gfx::Image target = gfx::MakeImage(50, 20, kBack);
    fx.TextOutput(target, 0, 0, "gone");
    EXPECT_FALSE(Changed(target));
    // Shadow opacity is the product: Alpha 50 and Shadow.Alpha 70 give 35.
    fx.Effect().SetAlpha(50);
    fx.Effect().SetGradualEnabled(false);
    fx.Effect().SetShadowBlur(0);
    fx.TextOutput(target, 0, 0, "half");
    TFxMask m;
    m.Render(font, "half");
    gfx::Image want = gfx::MakeImage(50, 20, kBack);
    BlendMaskColor(want, 2, 2, m, 35, 0x444444);
    BlendMaskColor(want, 0, 0, m, 50, 0xFFFFFF);
    ExpectSame(target, want, "alpha 50");
}

TEST(FxFontEx, NormalQualityBlendsFullInkAt254) {
    TFxBlockFont font(20, 0xFFFFFF);
    TFxFontEx fx(&font);
    ASSERT_EQ(fx.Quality(), TFxQuality::aqNormal);
    gfx::Image target = gfx::MakeImage(12, 20, 0xFF000000u);
    fx.TextOutput(target, 0, 0, "|");
    // Inside the stroke: 0 + (255 * 254 >> 8) = 253, not 255.
    EXPECT_EQ(target.At(4, 4), 0xFFFDFDFDu);
    fx.SetQuality(TFxQuality::aqHigh);
    fx.TextOutput(target, 0, 0, "|");
    EXPECT_EQ(target.At(4, 4), 0xFFFFFFFFu);
}

TEST(FxFontEx, AngleRotatesForTheCallOnly) {
    TFxBlockFont font(16);
    TFxFontEx fx(&font);
    const TFxSize upright = fx.TextExtent("Hello");
    fx.Effect().SetAngle(90);
    const TFxSize turned = fx.TextExtent("Hello");
    EXPECT_EQ(turned.width, upright.height);
    EXPECT_EQ(turned.height, upright.width);
    EXPECT_EQ(font.Escapement(), 0);
    gfx::Image target = gfx::MakeImage(40, 60, kBack);
    fx.TextOutput(target, 0, 0, "Hello");
    EXPECT_EQ(font.Escapement(), 0);
    EXPECT_EQ(fx.Mask().Width(), upright.height);
    EXPECT_EQ(fx.Mask().Height(), upright.width);
    // Angle 0 keeps whatever escapement the font has.
    font.SetEscapement(900);
    fx.Effect().SetAngle(0);
    EXPECT_EQ(fx.TextExtent("Hello"), turned);
    EXPECT_EQ(font.Escapement(), 900);
    // The effect's angle replaces it for the call.
    fx.Effect().SetAngle(180);
    EXPECT_EQ(fx.TextExtent("Hello"), upright);
    EXPECT_EQ(font.Escapement(), 900);
}

TEST(FxFontEx, TheFontIsRestoredWhenDrawingFails) {
    FailingSource font;
    font.SetEscapement(120);
    TFxFontEx fx(&font);
    fx.Effect().SetAngle(-45);
    gfx::Image target = gfx::MakeImage(40, 20, kBack);
    EXPECT_THROW(fx.TextOutput(target, 0, 0, "boom"), std::runtime_error);
    EXPECT_EQ(font.Escapement(), 120);
    EXPECT_FALSE(Changed(target));
}

TEST(FxFontEx, ItalicFontsMeasureTheOverhang) {
    TFxBlockFont font(10, 0, true);
    TFxFont fx(&font);
    fx.SetQuality(TFxQuality::aqNone);
    // W = 4 * 6 * 10 div 10 = 24; + Round(24 / 4 * 0.3) = 2.
    EXPECT_EQ(fx.TextWidth("abcd"), 26);
}

// Every step of the text output, in the order the renderer defines, from the pieces.
TEST(FxFontEx, EffectsRunInTheRenderersOrder) {
    TFxBlockFont font(18, gfx::MakeColorRef(10, 20, 30));
    gfx::ColorRef table[21] = {};
    table[16] = 0x303030;
    const gfx::SystemColorTable system{table, 21};
    TFxEffect e = Plain();
    e.Outline = true;
    e.Spray = 2;
    e.HorzMirror = true;
    e.VertMirror = true;
    e.Shadow.Enabled = true;
    e.Shadow.Color = gfx::SystemColor(gfx::kSysColorBtnShadow);
    e.Shadow.OffsetX = 2;
    e.Shadow.OffsetY = 3;
    e.Blur = 20;
    e.Alpha = 80;
    e.Noise = 30;
    e.Gradual.Enabled = true;
    e.Gradual.Style = gradual::gsCenterToLR;
    e.Gradual.StartColor = 0x0000FF;
    e.Gradual.EndColor = 0xFFFF00;

    TFxFontEx fx(&font);
    fx.SetSystemColors(system);
    fx.SetQuality(TFxQuality::aqHigh);
    fx.Effect().Assign(e);
    gfx::Image target = gfx::MakeImage(90, 30, kBack);
    Random::Seed(2024);
    fx.TextOutput(target, 4, 1, "Order");

    Random::Seed(2024);
    TFxMask m;
    m.SetQuality(TFxQuality::aqHigh);
    m.Render(font, "Order");
    m.Outline();
    m.Spray(2);
    m.MirrorLeftRight();
    m.MirrorTopBottom();
    TFxMask shadow = m;
    shadow.Blur(80);
    gfx::Image want = gfx::MakeImage(90, 30, kBack);
    BlendMaskColor(want, 6, 4, shadow, 80 * 70 / 100, 0x303030);
    m.Blur(20);
    gfx::Image fill;
    GradientForeground(fill, m.Width(), m.Height(), gradual::gsCenterToLR, 0x0000FF, 0xFFFF00);
    AddNoise(fill, 30);
    BlendMaskImage(want, 4, 1, m, 80, fill);
    ExpectSame(target, want, "all effects");
    EXPECT_EQ(ref::FromMask(fx.ShadowMask()), ref::FromMask(shadow));
}

gfx::Image TexturePixels() {
    gfx::Image p = gfx::MakeImage(4, 3);
    for (int i = 0; i < 12; ++i)
        p.pixels[static_cast<size_t>(i)] = 0xFF000000u | static_cast<uint32_t>(i * 0x151515);
    return p;
}

model::TPicture Png(const gfx::Image& image) {
    model::TPicture pic;
    pic.Class = model::PictureClass::Png;
    EXPECT_TRUE(gfx::EncodePng(image, pic.Bytes));
    return pic;
}

// The fill chosen for an effect, drawn at (0, 0) over kBack.
gfx::Image Draw(TFxFontEx& fx, const TFxEffect& e, uint32_t seed = 1) {
    fx.Effect().Assign(e);
    gfx::Image target = gfx::MakeImage(60, 16, kBack);
    Random::Seed(seed);
    fx.TextOutput(target, 0, 0, "Fill");
    return target;
}

TEST(FxFontEx, FillTextureThenGradientThenNoiseThenColour) {
    TFxBlockFont font(16, gfx::MakeColorRef(200, 100, 50));
    TFxFontEx fx(&font);
    fx.SetQuality(TFxQuality::aqHigh);
    TFxMask m;
    m.SetQuality(TFxQuality::aqHigh);
    m.Render(font, "Fill");
    const int w = m.Width(), h = m.Height();
    auto with = [&](const gfx::Image& fill) {
        gfx::Image want = gfx::MakeImage(60, 16, kBack);
        BlendMaskImage(want, 0, 0, m, 100, fill);
        return want;
    };

    TFxEffect e = Plain();
    e.Gradual.Enabled = true;
    e.Gradual.Style = gradual::gsTopToBottom;
    gfx::Image gradient;
    GradientForeground(gradient, w, h, gradual::gsTopToBottom, 0xFFFFFF, 0);
    // The texture is enabled, but without a picture the gradient fills.
    e.Texture.Enabled = true;
    ExpectSame(Draw(fx, e), with(gradient), "empty texture");
    // A picture that does not decode is no picture either.
    e.Texture.Picture.Class = model::PictureClass::Png;
    e.Texture.Picture.Bytes = {1, 2, 3};
    ExpectSame(Draw(fx, e), with(gradient), "damaged texture");
    // With a picture the texture wins, in its mode.
    e.Texture.Picture = Png(TexturePixels());
    e.Texture.Mode = texture::tmCenter;
    gfx::Image textured;
    TextureForeground(textured, w, h, TexturePixels(), false, texture::tmCenter, font.Color(), 0);
    ExpectSame(Draw(fx, e), with(textured), "texture");
    // Noise is added to the texture.
    e.Noise = 40;
    Random::Seed(5);
    AddNoise(textured, 40);
    ExpectSame(Draw(fx, e, 5), with(textured), "texture and noise");
    // Texture off: the gradient with noise.
    e.Texture.Enabled = false;
    Random::Seed(6);
    AddNoise(gradient, 40);
    ExpectSame(Draw(fx, e, 6), with(gradient), "gradient and noise");
    // Noise alone around the font colour.
    e.Gradual.Enabled = false;
    gfx::Image noise;
    Random::Seed(7);
    NoiseForeground(noise, w, h, font.Color(), 40);
    ExpectSame(Draw(fx, e, 7), with(noise), "noise");
    // Nothing: the font colour.
    e.Noise = 0;
    gfx::Image colour = gfx::MakeImage(60, 16, kBack);
    BlendMaskColor(colour, 0, 0, m, 100, font.Color());
    ExpectSame(Draw(fx, e), colour, "colour");
}

TEST(FxFontEx, TheTextsBlurLeavesTheShadow) {
    TFxBlockFont font(14, 0xFFFFFF);
    TFxFontEx fx(&font);
    TFxEffect e = Plain();
    e.Shadow.Enabled = true;
    e.Shadow.Blur = 0;
    e.Blur = 100;
    fx.Effect().Assign(e);
    gfx::Image target = gfx::MakeImage(60, 20, kBack);
    fx.TextOutput(target, 0, 0, "Soft");
    TFxMask m;
    m.Render(font, "Soft");
    EXPECT_EQ(ref::FromMask(fx.ShadowMask()), ref::FromMask(m));
    m.Blur(100);
    EXPECT_EQ(ref::FromMask(fx.Mask()), ref::FromMask(m));
}

TEST(FxFontEx, DecoderCanBeReplaced) {
    TFxBlockFont font(16, 0);
    TFxFontEx fx(&font);
    fx.SetQuality(TFxQuality::aqHigh);
    static int calls = 0;
    fx.SetPictureDecoder([](const model::TPicture&, gfx::Image& out) {
        ++calls;
        out = gfx::MakeImage(2, 2, 0xFFFF0000u);
        return true;
    });
    TFxEffect e = Plain();
    e.Texture.Enabled = true;
    e.Texture.Picture.Class = model::PictureClass::Metafile;
    e.Texture.Picture.Bytes = {1};
    gfx::Image target = Draw(fx, e);
    Draw(fx, e);
    EXPECT_EQ(calls, 1); // decoded once per picture
    // Red wherever the ink is full.
    bool red = false;
    for (uint32_t p : target.pixels)
        red |= p == 0xFFFF0000u;
    EXPECT_TRUE(red);
    // The portable decoder knows no metafiles.
    gfx::Image out;
    EXPECT_FALSE(DecodeTexturePicture(e.Texture.Picture, out));
}

} // namespace
} // namespace orv::fx
