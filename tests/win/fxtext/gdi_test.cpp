// The renderer with real fonts through GDI: measuring and rendering follow
// the platform, rotation goes through the escapement and is undone, the
// DC path matches the pixel path, metafile textures decode. A showcase of
// every effect is written as PNG to ORVEXA_TEST_SHOTS (or the temporary
// folder) for a look.
#include "fxtext/blockfont.h"
#include "fxtext/font.h"
#include "fxtext/gdi.h"
#include "gfx/raster.h"
#include "gfx/stretch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace orv::fx {
namespace {

constexpr uint32_t kBack = 0xFFF0F0F0u;

model::TFont Arial(int points, uint8_t style = 0, int32_t color = 0) {
    model::TFont f;
    f.Name = "Arial";
    f.Size = points;
    f.Style = style;
    f.Color = color;
    return f;
}

// What GDI says about text in a font scaled by f, measured on the screen.
SIZE GdiExtent(const model::TFont& font, const std::wstring& text, int f) {
    LOGFONTW lf = LogFontOf(font);
    lf.lfHeight *= f;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    HFONT h = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, h);
    SIZE s{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(h);
    return s;
}

std::string ShotPath(const std::string& name) {
    const char* dir = std::getenv("ORVEXA_TEST_SHOTS");
    std::string folder;
    if (dir && *dir) {
        folder = dir;
    } else {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        folder = tmp;
    }
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder + name + ".png";
}

void KeepShot(const gfx::Image& image, const std::string& name) {
    std::vector<uint8_t> png;
    ASSERT_TRUE(gfx::EncodePng(image, png));
    const std::string path = ShotPath(name);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
        std::printf("shot: %s\n", path.c_str());
    }
}

struct Ink {
    int count = 0, full = 0, partial = 0, max = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

Ink InkOf(const TFxMask& m) {
    Ink ink;
    for (int r = 0; r < m.Height(); ++r)
        for (int k = 0; k < m.Width(); ++k) {
            const int c = m.Line(r)[k];
            if (!c)
                continue;
            ++ink.count;
            ink.max = std::max(ink.max, c);
            ink.full += c >= 254;
            ink.partial += c < 254;
            ink.left = std::min(ink.left, k);
            ink.right = std::max(ink.right, k);
            ink.top = std::min(ink.top, r);
            ink.bottom = std::max(ink.bottom, r);
        }
    return ink;
}

TEST(FxGdi, ExtentFollowsThePlatformAtEveryQuality) {
    const model::TFont font = Arial(24);
    TFxGdiFont source(font);
    TFxFont fx(&source);
    const std::wstring text = L"Hello, world";
    for (TFxQuality q :
         {TFxQuality::aqHigh, TFxQuality::aqNormal, TFxQuality::aqLow, TFxQuality::aqNone}) {
        fx.SetQuality(q);
        const int f = QualityFactor(q);
        const SIZE s = GdiExtent(font, text, f);
        ASSERT_GT(s.cx, 0);
        EXPECT_EQ(fx.TextExtent("Hello, world"), (TFxSize{(s.cx + f - 1) / f, (s.cy + f - 1) / f}))
            << "factor " << f;
    }
    EXPECT_EQ(fx.TextWidth(""), 0);
}

TEST(FxGdi, ItalicTextGetsRoomForItsOverhang) {
    const model::TFont font = Arial(20, model::fontstyle::kItalic);
    TFxGdiFont source(font);
    EXPECT_TRUE(source.Italic());
    TFxFont fx(&source);
    fx.SetQuality(TFxQuality::aqLow);
    const SIZE s = GdiExtent(font, L"Slanted", 2);
    const int w = (s.cx + 1) / 2;
    EXPECT_EQ(fx.TextWidth("Slanted"), w + static_cast<int>(RoundHalfEven(w / 7.0 * 0.3)));
}

TEST(FxGdi, RealGlyphsGiveSmoothCoverage) {
    TFxGdiFont source(Arial(28, model::fontstyle::kBold));
    TFxMask m;
    m.SetQuality(TFxQuality::aqHigh);
    m.Render(source, "Orvexa");
    TFxFont fx(&source);
    fx.SetQuality(TFxQuality::aqHigh);
    EXPECT_EQ((TFxSize{m.Width(), m.Height()}), fx.TextExtent("Orvexa"));
    const Ink hi = InkOf(m);
    EXPECT_EQ(hi.max, 255);
    EXPECT_GT(hi.full, 50);
    EXPECT_GT(hi.partial, 50); // the edges are anti-aliased
    EXPECT_LT(hi.count, m.Width() * m.Height());

    m.SetQuality(TFxQuality::aqNormal);
    m.Render(source, "Orvexa");
    EXPECT_EQ(InkOf(m).max, 254); // two samples of nine count half

    m.SetQuality(TFxQuality::aqNone);
    m.Render(source, "Orvexa");
    const Ink none = InkOf(m);
    EXPECT_EQ(none.max, 255);
    EXPECT_EQ(none.partial, 0); // no supersampling: no smoothing
}

TEST(FxGdi, RotationTurnsTheLineAndIsUndone) {
    TFxGdiFont source(Arial(20));
    TFxFontEx fx(&source);
    PrepareForGdi(fx);
    const TFxSize upright = fx.TextExtent("Rotated text");
    fx.Effect().SetAngle(90);
    const TFxSize turned = fx.TextExtent("Rotated text");
    EXPECT_EQ(turned.width, upright.height);
    EXPECT_EQ(turned.height, upright.width);
    EXPECT_EQ(source.Escapement(), 0);

    gfx::Image target = gfx::MakeImage(turned.width, turned.height, kBack);
    fx.TextOutput(target, 0, 0, "Rotated text");
    EXPECT_EQ(source.Escapement(), 0);
    EXPECT_EQ(source.LogFont().lfEscapement, 0);
    // The ink runs up the map, most of its height.
    const Ink ink = InkOf(fx.Mask());
    ASSERT_GT(ink.count, 0);
    EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
    EXPECT_GT(ink.bottom - ink.top, fx.Mask().Height() * 3 / 4);
}

TEST(FxGdi, FontOfADc) {
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTW lf = LogFontOf(Arial(15, model::fontstyle::kBold));
    HFONT h = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, h);
    SetTextColor(dc, RGB(10, 20, 30));
    TFxGdiFont source;
    source.AssignFromDc(dc);
    EXPECT_EQ(source.LogFont().lfHeight, lf.lfHeight);
    EXPECT_EQ(source.LogFont().lfWeight, FW_BOLD);
    EXPECT_EQ(source.Color(), gfx::MakeColorRef(10, 20, 30));
    SelectObject(dc, old);
    DeleteObject(h);
    DeleteDC(dc);
}

TEST(FxGdi, SystemColoursOfAStoredFont) {
    model::TFont f = Arial(10);
    f.Color = gfx::SystemColor(gfx::kSysColorBtnShadow);
    TFxGdiFont source(f);
    EXPECT_EQ(source.Color(), GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF);
    EXPECT_EQ(GdiSystemColors().Lookup(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOWTEXT) & 0xFFFFFF);
}

TEST(FxGdi, DrawingStaysInTheBoxAndAlphaZeroDrawsNothing) {
    model::TFxEffect e;
    e.Shadow.Enabled = true;
    e.Shadow.OffsetX = -4;
    e.Shadow.OffsetY = 3;
    e.Outline = true;
    e.Gradual.Enabled = true;
    const model::TFont font = Arial(18, model::fontstyle::kBold, 0x0000C0);
    const TFxSize box = MeasureEffectText("Boxed in", font, e, TFxQuality::aqHigh);
    gfx::Image target = gfx::MakeImage(box.width + 20, box.height + 20, kBack);
    DrawEffectText(target, 10, 10, "Boxed in", font, e, TFxQuality::aqHigh);
    int inside = 0;
    for (int y = 0; y < target.height; ++y)
        for (int x = 0; x < target.width; ++x) {
            const bool in = x >= 10 && y >= 10 && x < 10 + box.width && y < 10 + box.height;
            if (!in) {
                ASSERT_EQ(target.At(x, y), kBack) << x << "," << y;
            }
            inside += in && target.At(x, y) != kBack;
        }
    EXPECT_GT(inside, 100);

    e.Alpha = 0;
    gfx::Image untouched = gfx::MakeImage(box.width + 20, box.height + 20, kBack);
    DrawEffectText(untouched, 10, 10, "Boxed in", font, e, TFxQuality::aqHigh);
    for (uint32_t p : untouched.pixels)
        ASSERT_EQ(p, kBack);
}

TEST(FxGdi, TheDcPathMatchesThePixelPath) {
    TFxGdiFont source(Arial(16, 0, 0x8000FF));
    TFxFontEx fx(&source);
    PrepareForGdi(fx);
    fx.SetQuality(TFxQuality::aqHigh);
    fx.Effect().SetShadowEnabled(true);
    fx.Effect().SetBlur(10);
    fx.Effect().SetGradualEnabled(true);
    fx.Effect().SetGradualStyle(gradual::gsCenterToTB);
    fx.Effect().SetStartColor(0x00FFFF);

    // The canvas: a 32-bit DIB with a pattern.
    const int w = 200, h = 40;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    gfx::Image want = gfx::MakeImage(w, h);
    auto* px = static_cast<uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i)
        want.pixels[static_cast<size_t>(i)] = px[i] =
            0xFF000000u | static_cast<uint32_t>((i * 2654435761u) >> 8);

    ASSERT_TRUE(TextOutputDc(fx, dc, 7, 5, "Through a DC"));
    GdiFlush();
    fx.TextOutput(want, 7, 5, "Through a DC");
    int differ = 0;
    for (int i = 0; i < w * h; ++i)
        differ += (px[i] & 0xFFFFFF) != (want.pixels[static_cast<size_t>(i)] & 0xFFFFFF);
    EXPECT_EQ(differ, 0);
    EXPECT_FALSE(TextOutputDc(fx, dc, 0, 0, ""));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST(FxGdi, MetafileTexturesDecodeWithTransparency) {
    // An EMF of 2 x 1 cm with a red rectangle over its left half.
    RECT frame{0, 0, 2000, 1000}; // hundredths of a millimetre
    HDC ref = GetDC(nullptr);
    HDC mf = CreateEnhMetaFileW(ref, nullptr, &frame, nullptr);
    ReleaseDC(nullptr, ref);
    ASSERT_NE(mf, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const int dpi = 96;
    RECT half{0, 0, MulDiv(1000, dpi, 2540), MulDiv(1000, dpi, 2540)};
    FillRect(mf, &half, red);
    DeleteObject(red);
    HENHMETAFILE emf = CloseEnhMetaFile(mf);
    ASSERT_NE(emf, nullptr);
    model::TPicture pic;
    pic.Class = model::PictureClass::Metafile;
    pic.Bytes.resize(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(pic.Bytes.size()), pic.Bytes.data());
    DeleteEnhMetaFile(emf);

    gfx::Image out;
    ASSERT_TRUE(DecodePictureGdi(pic, out));
    ASSERT_GT(out.width, 10);
    ASSERT_GT(out.height, 5);
    EXPECT_EQ(out.At(1, out.height / 2), 0xFFFF0000u);          // painted: opaque red
    EXPECT_EQ(out.At(out.width - 2, out.height / 2) >> 24, 0u); // not painted: transparent
    // Raster pictures go through the portable decoder.
    model::TPicture png;
    png.Class = model::PictureClass::Png;
    ASSERT_TRUE(gfx::EncodePng(gfx::MakeImage(3, 2, 0xFF00FF00u), png.Bytes));
    ASSERT_TRUE(DecodePictureGdi(png, out));
    EXPECT_EQ(out.width, 3);
    model::TPicture junk;
    junk.Class = model::PictureClass::Metafile;
    junk.Bytes = {1, 2, 3};
    EXPECT_FALSE(DecodePictureGdi(junk, out));
}

// A texture for the showcase: diagonal stripes.
model::TPicture Stripes() {
    gfx::Image img = gfx::MakeImage(12, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            img.At(x, y) = ((x + y) / 3) % 2 ? 0xFFE0A000u : 0xFF2050C0u;
    model::TPicture p;
    p.Class = model::PictureClass::Png;
    gfx::EncodePng(img, p.Bytes);
    return p;
}

TEST(FxGdi, ShowcaseOfTheEffects) {
    struct Line {
        const char* text;
        void (*set)(model::TFxEffect&);
        TFxQuality quality;
        uint8_t style;
    };
    const Line lines[] = {
        {"Plain, quality None", [](model::TFxEffect&) {}, TFxQuality::aqNone, 0},
        {"Plain, quality High", [](model::TFxEffect&) {}, TFxQuality::aqHigh, 0},
        {"Drop shadow",
         [](model::TFxEffect& e) {
             e.Shadow.Enabled = true;
             e.Shadow.OffsetX = 3;
             e.Shadow.OffsetY = 3;
         },
         TFxQuality::aqHigh, model::fontstyle::kBold},
        {"Outline", [](model::TFxEffect& e) { e.Outline = true; }, TFxQuality::aqHigh,
         model::fontstyle::kBold},
        {"Gradient left to right",
         [](model::TFxEffect& e) {
             e.Gradual.Enabled = true;
             e.Gradual.StartColor = 0x0000FF;
             e.Gradual.EndColor = 0xFF0000;
         },
         TFxQuality::aqHigh, model::fontstyle::kBold},
        {"Gradient centre to top/bottom",
         [](model::TFxEffect& e) {
             e.Gradual.Enabled = true;
             e.Gradual.Style = 5;
             e.Gradual.StartColor = 0x00FFFF;
             e.Gradual.EndColor = 0x004080;
         },
         TFxQuality::aqHigh, model::fontstyle::kBold},
        {"Texture, tiled",
         [](model::TFxEffect& e) {
             e.Texture.Enabled = true;
             e.Texture.Picture = Stripes();
         },
         TFxQuality::aqHigh, model::fontstyle::kBold},
        {"Noise 120", [](model::TFxEffect& e) { e.Noise = 120; }, TFxQuality::aqHigh,
         model::fontstyle::kBold},
        {"Spray 3", [](model::TFxEffect& e) { e.Spray = 3; }, TFxQuality::aqHigh,
         model::fontstyle::kBold},
        {"Blur 60", [](model::TFxEffect& e) { e.Blur = 60; }, TFxQuality::aqHigh,
         model::fontstyle::kBold},
        {"Mirrored both ways",
         [](model::TFxEffect& e) {
             e.HorzMirror = true;
             e.VertMirror = true;
         },
         TFxQuality::aqHigh, 0},
        {"Alpha 40 with shadow",
         [](model::TFxEffect& e) {
             e.Alpha = 40;
             e.Shadow.Enabled = true;
         },
         TFxQuality::aqHigh, model::fontstyle::kBold},
        {"Italic, angle 10", [](model::TFxEffect& e) { e.Angle = 10; }, TFxQuality::aqHigh,
         model::fontstyle::kItalic},
        {"All: shadow, outline, gradient",
         [](model::TFxEffect& e) {
             e.Shadow.Enabled = true;
             e.Outline = true;
             e.Gradual.Enabled = true;
             e.Gradual.StartColor = 0x00C0FF;
             e.Gradual.EndColor = 0x800000;
         },
         TFxQuality::aqHigh, model::fontstyle::kBold},
    };
    const int width = 560;
    gfx::Image sheet =
        gfx::MakeImage(width, 24 + 38 * static_cast<int>(std::size(lines)) + 120, 0xFFFFFFFFu);
    // A checker band behind the right half shows the compositing.
    for (int y = 0; y < sheet.height; ++y)
        for (int x = width / 2; x < width; ++x)
            sheet.At(x, y) = ((x / 8 + y / 8) % 2) ? 0xFFD8E4F0u : 0xFFFFFFFFu;
    int y = 8;
    for (const Line& line : lines) {
        model::TFxEffect e;
        line.set(e);
        const model::TFont font = Arial(18, line.style, 0x202020);
        const TFxSize box = MeasureEffectText(line.text, font, e, line.quality);
        EXPECT_GT(box.width, 0) << line.text;
        DrawEffectText(sheet, 12, y, line.text, font, e, line.quality);
        y += std::max(box.height, 30) + 8;
    }
    // Rotations.
    int x = 20;
    for (int angle : {90, 45, -30, 180}) {
        model::TFxEffect e;
        e.Angle = angle;
        e.Shadow.Enabled = true;
        const model::TFont font = Arial(14, model::fontstyle::kBold, 0x800000);
        const TFxSize box =
            MeasureEffectText("Angle " + std::to_string(angle), font, e, TFxQuality::aqHigh);
        DrawEffectText(sheet, x, y, "Angle " + std::to_string(angle), font, e, TFxQuality::aqHigh);
        x += box.width + 16;
    }
    KeepShot(sheet, "fxtext-showcase");

    // The first four lines' beginnings four times larger: the edges of
    // quality None against High, the soft shadow, the outline.
    gfx::Image crop = gfx::MakeImage(140, 160);
    for (int cy = 0; cy < crop.height; ++cy)
        for (int cx = 0; cx < crop.width; ++cx)
            crop.At(cx, cy) = sheet.At(8 + cx, 6 + cy);
    KeepShot(gfx::Resize(crop, crop.width * 4, crop.height * 4, gfx::StretchFilter::Nearest),
             "fxtext-zoom");
}

} // namespace
} // namespace orv::fx
