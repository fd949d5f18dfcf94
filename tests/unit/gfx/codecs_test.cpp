#include "gfx/codecs.h"

#include "picture_builders.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <iterator>

#include <string>

namespace orv::gfx {
namespace {

using test::Bytes;

constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF, K = 0xFF000000,
                   Y = 0xFFFFFF00;

// The reference picture of the BMP cases: 3 x 2, an odd width so that rows
// need padding.
const std::vector<uint32_t> kPicture = {R, G, B, W, K, Y};

struct Decoded {
    bool ok = false;
    bool validated = false;
    Image image;
    std::string error;
};

// Decodes and, separately, validates: both paths must agree.
Decoded Decode(PictureFormat format, const Bytes& bytes, const DecodeLimits& limits = {}) {
    Decoded d;
    d.ok = DecodePicture(format, bytes.data(), bytes.size(), &d.image, &d.error, limits);
    std::string validateError;
    d.validated =
        DecodePicture(format, bytes.data(), bytes.size(), nullptr, &validateError, limits);
    return d;
}

void ExpectPixels(const Decoded& d, int width, int height, const std::vector<uint32_t>& want,
                  const std::string& name) {
    ASSERT_TRUE(d.ok) << name << ": " << d.error;
    EXPECT_TRUE(d.validated) << name;
    ASSERT_EQ(d.image.width, width) << name;
    ASSERT_EQ(d.image.height, height) << name;
    ASSERT_EQ(d.image.pixels.size(), want.size()) << name;
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(d.image.pixels[i], want[i]) << name << " pixel " << i;
}

void ExpectFailure(const Decoded& d, const std::string& name, const std::string& reason = "") {
    EXPECT_FALSE(d.ok) << name;
    EXPECT_FALSE(d.validated) << name;
    EXPECT_TRUE(d.image.Empty() && d.image.pixels.empty()) << name;
    EXPECT_FALSE(d.error.empty()) << name;
    if (!reason.empty()) {
        EXPECT_NE(d.error.find(reason), std::string::npos) << name << ": " << d.error;
    }
}

// Rows bottom-up for the default BMP layout.
Bytes BottomUp(const Bytes& topDownRows, size_t rowBytes) {
    Bytes out;
    for (size_t start = topDownRows.size(); start >= rowBytes; start -= rowBytes)
        out.insert(out.end(), topDownRows.begin() + static_cast<long>(start - rowBytes),
                   topDownRows.begin() + static_cast<long>(start));
    return out;
}

Bytes Bgr24(const std::vector<uint32_t>& argb) {
    Bytes out;
    for (uint32_t p : argb) {
        out.push_back(static_cast<uint8_t>(p));
        out.push_back(static_cast<uint8_t>(p >> 8));
        out.push_back(static_cast<uint8_t>(p >> 16));
    }
    return out;
}

// ---- BMP ----------------------------------------------------------------

TEST(DecodeBmp, EveryPixelLayoutGivesTheSamePicture) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00,
                                           0x0000FF, 0xFFFFFF, 0xFFFF00};
    // Palette indexes of kPicture, top row first: R G B / W K Y.
    const Bytes index8 = {1, 2, 3, 4, 0, 5};
    const Bytes index4 = {0x12, 0x30, 0x40, 0x50};
    // 16-bit 5-5-5 and 5-6-5 values of the six colours.
    auto rgb555 = [](uint32_t p) {
        return static_cast<uint16_t>(((p >> 19) & 0x1F) << 10 | ((p >> 11) & 0x1F) << 5 |
                                     ((p >> 3) & 0x1F));
    };
    auto rgb565 = [](uint32_t p) {
        return static_cast<uint16_t>(((p >> 19) & 0x1F) << 11 | ((p >> 10) & 0x3F) << 5 |
                                     ((p >> 3) & 0x1F));
    };
    Bytes p555, p565, p32, p32alpha;
    for (uint32_t p : kPicture) {
        test::Put16(p555, rgb555(p));
        test::Put16(p565, rgb565(p));
        test::Put32(p32, p & 0x00FFFFFF);
        test::Put32(p32alpha, p);
    }

    struct Case {
        const char* name;
        test::BmpParts parts;
    } cases[] = {
        {"8-bit", {40, 3, 2, 8, 0, 0, palette, {}, BottomUp(test::PadRows(index8, 3), 4)}},
        {"8-bit top-down", {40, 3, -2, 8, 0, 0, palette, {}, test::PadRows(index8, 3)}},
        {"4-bit", {40, 3, 2, 4, 0, 6, palette, {}, BottomUp(test::PadRows(index4, 2), 4)}},
        {"24-bit", {40, 3, 2, 24, 0, 0, {}, {}, BottomUp(test::PadRows(Bgr24(kPicture), 9), 12)}},
        {"24-bit core header",
         {12, 3, 2, 24, 0, 0, {}, {}, BottomUp(test::PadRows(Bgr24(kPicture), 9), 12)}},
        {"8-bit core header",
         {12, 3, 2, 8, 0, 0, palette, {}, BottomUp(test::PadRows(index8, 3), 4)}},
        {"16-bit 555", {40, 3, 2, 16, 0, 0, {}, {}, BottomUp(test::PadRows(p555, 6), 8)}},
        {"16-bit 565 masks",
         {40, 3, 2, 16, 3, 0, {}, {0xF800, 0x07E0, 0x001F}, BottomUp(test::PadRows(p565, 6), 8)}},
        {"16-bit 565 in v4 header",
         {108,
          3,
          2,
          16,
          3,
          0,
          {},
          {0xF800, 0x07E0, 0x001F, 0},
          BottomUp(test::PadRows(p565, 6), 8)}},
        {"32-bit", {40, 3, 2, 32, 0, 0, {}, {}, BottomUp(p32, 12)}},
        {"32-bit ignores the top byte", {40, 3, 2, 32, 0, 0, {}, {}, BottomUp(p32alpha, 12)}},
        {"32-bit masks swapped to BGR",
         {40, 3, 2, 32, 3, 0, {}, {0x000000FF, 0x0000FF00, 0x00FF0000}, {}}},
    };
    // The swapped-mask case stores each pixel as 0x00BBGGRR.
    for (uint32_t p : kPicture)
        test::Put32(cases[11].parts.pixels, ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
    cases[11].parts.pixels = BottomUp(cases[11].parts.pixels, 12);

    for (const Case& c : cases)
        ExpectPixels(Decode(PictureFormat::Bitmap, test::MakeBmp(c.parts)), 3, 2, kPicture, c.name);
}

TEST(DecodeBmp, OneBitAndAlphaMasks) {
    // 1-bit, 9 pixels wide so that a row spans two bytes.
    const Bytes bits = {0xAA, 0x80, 0x55, 0x00}; // rows top-down: 101010101 / 010101010
    test::BmpParts one{40, 9, 2, 1, 0, 0, {0x000000, 0xFFFFFF}, {}, {}};
    one.pixels = BottomUp(test::PadRows(bits, 2), 4);
    std::vector<uint32_t> want;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x)
            want.push_back(((x + y) % 2 == 0) ? W : K);
    ExpectPixels(Decode(PictureFormat::Bitmap, test::MakeBmp(one)), 9, 2, want, "1-bit");

    // An alpha mask in a version 4 header is honoured; all-zero alpha
    // means a writer that left the byte empty, so the picture is opaque.
    Bytes translucent, zeroAlpha;
    test::Put32(translucent, 0x80FF0000);
    test::Put32(translucent, 0x00000000);
    test::Put32(zeroAlpha, 0x00FF0000);
    test::Put32(zeroAlpha, 0x0000FF00);
    const std::vector<uint32_t> masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    ExpectPixels(
        Decode(PictureFormat::Bitmap, test::MakeBmp({108, 2, 1, 32, 3, 0, {}, masks, translucent})),
        2, 1, {0x80FF0000, 0x00000000}, "alpha mask");
    ExpectPixels(
        Decode(PictureFormat::Bitmap, test::MakeBmp({108, 2, 1, 32, 3, 0, {}, masks, zeroAlpha})),
        2, 1, {R, G}, "all-zero alpha");
}

TEST(DecodeBmp, RunLengthEncoded) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // 4 x 3, bottom-up. Row 0 (bottom): run of 3 reds then a run of 5 greens
    // cut at the edge. Row 1: absolute run 3,2,1 (padded). Then an end of
    // line and a jump of (1, 0) land on row 2 at x 1: one blue. The rest
    // stays colour 0.
    const Bytes rle8 = {3, 1, 5, 2, 0, 0, 0, 3, 3, 2, 1, 0, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1};
    ExpectPixels(
        Decode(PictureFormat::Bitmap, test::MakeBmp({40, 4, 3, 8, 1, 0, palette, {}, rle8})), 4, 3,
        {K, B, K, K, //
         B, G, R, K, //
         R, R, R, G},
        "RLE8");

    // RLE4: a run alternates the two nibbles; an absolute run of 3 takes
    // two bytes plus padding to 16 bits.
    const Bytes rle4 = {4, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 1};
    ExpectPixels(
        Decode(PictureFormat::Bitmap, test::MakeBmp({40, 4, 2, 4, 2, 0, palette, {}, rle4})), 4, 2,
        {B, G, R, K, //
         R, G, R, G},
        "RLE4");

    // Top-down RLE and a stream without end-of-bitmap code are accepted.
    const Bytes noEnd = {2, 3};
    ExpectPixels(
        Decode(PictureFormat::Bitmap, test::MakeBmp({40, 2, -2, 8, 1, 0, palette, {}, noEnd})), 2,
        2, {B, B, K, K}, "top-down RLE8 without end code");
}

TEST(DecodeBmp, RefusesDamagedFiles) {
    const std::vector<uint32_t> palette = {0x000000, 0xFFFFFF};
    auto good = [] { return test::BmpParts{40, 3, 2, 24, 0, 0, {}, {}, Bytes(24, 0x7F)}; };
    struct Case {
        const char* name;
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {"not a bitmap", Bytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "not a bitmap"},
        {"file header only", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "not a bitmap"},
        {"unknown header size",
         [&] {
             auto s = good();
             s.headerSize = 20;
             return test::MakeBmp(s);
         }(),
         "unknown header"},
        {"zero height",
         [&] {
             auto s = good();
             s.height = 0;
             return test::MakeBmp(s);
         }(),
         "empty"},
        {"negative width",
         [&] {
             auto s = good();
             s.width = -3;
             return test::MakeBmp(s);
         }(),
         "empty"},
        {"most negative height",
         [&] {
             auto s = good();
             s.height = INT32_MIN;
             return test::MakeBmp(s);
         }(),
         "too large"},
        {"huge width",
         [&] {
             auto s = good();
             s.width = 0x7FFFFFFF;
             return test::MakeBmp(s);
         }(),
         "too large"},
        {"one row more than the pixel limit",
         [&] {
             auto s = good();
             s.width = 16384;
             s.height = 4097;
             return test::MakeBmp(s);
         }(),
         "too large"},
        {"at the pixel limit, but no pixel data",
         [&] {
             auto s = good();
             s.width = 16384;
             s.height = -4096;
             return test::MakeBmp(s);
         }(),
         "cut off"},
        {"2 bits per pixel",
         [&] {
             auto s = good();
             s.bpp = 2;
             return test::MakeBmp(s);
         }(),
         "bits per pixel"},
        {"RLE8 on 24 bits",
         [&] {
             auto s = good();
             s.compression = 1;
             return test::MakeBmp(s);
         }(),
         "compression"},
        {"embedded JPEG",
         [&] {
             auto s = good();
             s.compression = 4;
             return test::MakeBmp(s);
         }(),
         "compression"},
        {"masks all zero",
         [&] {
             auto s = good();
             s.bpp = 32;
             s.compression = 3;
             s.masks = {0, 0, 0};
             return test::MakeBmp(s);
         }(),
         "masks"},
        {"pixel data one byte short",
         [&] {
             auto b = test::MakeBmp(good());
             b.pop_back();
             return b;
         }(),
         "cut off"},
        {"pixel offset past the end",
         [&] {
             auto s = good();
             s.offBits = 100000;
             return test::MakeBmp(s);
         }(),
         "offset"},
        {"pixel offset inside the header",
         [&] {
             auto s = good();
             s.offBits = 20;
             return test::MakeBmp(s);
         }(),
         "offset"},
        {"palette cut off", test::MakeBmp({40, 3, 2, 8, 0, 200, palette, {}, {}, 0}), "palette"},
        {"masks cut off",
         [&] {
             auto s = good();
             s.bpp = 16;
             s.compression = 3;
             s.pixels.clear();
             auto b = test::MakeBmp(s);
             return b;
         }(),
         "masks"},
        {"RLE absolute run cut off",
         test::MakeBmp({40, 4, 1, 8, 1, 0, palette, {}, Bytes{0, 4, 1, 1}}), "cut off"},
    };
    for (const Case& c : cases)
        ExpectFailure(Decode(PictureFormat::Bitmap, c.bytes), c.name, c.reason);
}

TEST(EncodeBmp, RoundTripsOpaqueAndTranslucentPictures) {
    Image opaque{3, 2, kPicture};
    Image translucent{2, 2, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x010203FF}};
    for (const Image* image : {&opaque, &translucent}) {
        Bytes bytes;
        ASSERT_TRUE(EncodeBmp(*image, bytes));
        PictureFormat format{};
        ASSERT_TRUE(SniffPictureFormat(bytes.data(), bytes.size(), format));
        EXPECT_EQ(format, PictureFormat::Bitmap);
        ExpectPixels(Decode(PictureFormat::Bitmap, bytes), image->width, image->height,
                     image->pixels, "round trip");
    }
    // Opaque pictures get the plain 40-byte header with no compression.
    Bytes bytes;
    ASSERT_TRUE(EncodeBmp(opaque, bytes));
    EXPECT_EQ(bytes.size(), 14u + 40 + 3 * 2 * 4);
    EXPECT_EQ(bytes[14], 40);
    EXPECT_EQ(bytes[30], 0);
    EXPECT_FALSE(EncodeBmp(Image{}, bytes));
    EXPECT_FALSE(EncodeBmp(Image{2, 2, {K}}, bytes)) << "pixel count does not match the size";
}

// ---- ICO ----------------------------------------------------------------

// A 24-bit icon image of one colour, `extra` unused bytes making its data
// larger, so that the choice by data size can be seen.
test::IcoEntry SolidIcon(int side, uint32_t color, size_t extra = 0) {
    Bytes rows;
    for (int i = 0; i < side * side; ++i) {
        rows.push_back(static_cast<uint8_t>(color));
        rows.push_back(static_cast<uint8_t>(color >> 8));
        rows.push_back(static_cast<uint8_t>(color >> 16));
    }
    const size_t maskStride = static_cast<size_t>((side + 31) / 32 * 4);
    Bytes mask(maskStride * side, 0);
    Bytes dib = test::MakeIconDib(side, side, 24, {}, test::PadRows(rows, side * 3u), mask);
    dib.resize(dib.size() + extra, 0);
    return {side, side, 24, dib};
}

// The same image with another height in its directory entry.
test::IcoEntry WithHeightByte(test::IcoEntry entry, int height) {
    entry.height = height;
    return entry;
}

TEST(DecodeIco, ChoosesThe32PixelImageWithMostData) {
    struct Case {
        const char* name;
        std::vector<test::IcoEntry> entries;
        int side;
        uint32_t color;
    } cases[] = {
        {"largest 32x32 wins over bigger sizes",
         {SolidIcon(16, 0x0000FF, 9000), SolidIcon(32, 0xFF0000), SolidIcon(32, 0x00FF00, 100),
          SolidIcon(48, 0x0000FF, 9000)},
         32,
         G},
        {"48x48 when there is no 32x32",
         {SolidIcon(16, 0x0000FF, 9000), SolidIcon(48, 0xFF0000), SolidIcon(64, 0x0000FF)},
         48,
         R},
        {"16x16 when there is neither",
         {SolidIcon(24, 0x0000FF, 9000), SolidIcon(16, 0xFF0000)},
         16,
         R},
        {"otherwise the most data",
         {SolidIcon(24, 0x0000FF), SolidIcon(20, 0xFFFF00, 5000)},
         20,
         Y},
        {"first of equals", {SolidIcon(32, 0xFF0000), SolidIcon(32, 0x00FF00)}, 32, R},
        {"a 16 x 160 image counts as 16 X 16 by its name",
         {SolidIcon(20, 0x0000FF, 9000), SolidIcon(16, 0xFF0000),
          WithHeightByte(SolidIcon(16, 0x00FF00, 500), 160)},
         16,
         G},
    };
    for (const Case& c : cases) {
        const Decoded d = Decode(PictureFormat::Icon, test::MakeIco(c.entries));
        ExpectPixels(d, c.side, c.side,
                     std::vector<uint32_t>(static_cast<size_t>(c.side) * c.side, c.color), c.name);
    }
}

TEST(DecodeIco, MaskAlphaAndPngImages) {
    // 2 x 2, 24-bit; the mask makes the top-right pixel transparent.
    const Bytes rows = test::PadRows(Bgr24({B, W, R, G}), 6); // bottom row first
    const Bytes mask = {0x00, 0, 0, 0, 0x40, 0, 0, 0};        // bottom row, then top row
    ExpectPixels(Decode(PictureFormat::Icon,
                        test::MakeIco({{2, 2, 24, test::MakeIconDib(2, 2, 24, {}, rows, mask)}})),
                 2, 2, {R, 0, B, W}, "24-bit with mask");

    // Without a mask after the colour rows the icon is opaque.
    ExpectPixels(Decode(PictureFormat::Icon,
                        test::MakeIco({{2, 2, 24, test::MakeIconDib(2, 2, 24, {}, rows, {})}})),
                 2, 2, {R, G, B, W}, "24-bit without mask");

    // 4-bit with a palette.
    const Bytes nibbles = {0x10, 0, 0, 0, 0x01, 0, 0, 0};
    ExpectPixels(
        Decode(PictureFormat::Icon, test::MakeIco({{2, 2, 4,
                                                    test::MakeIconDib(2, 2, 4, {0xFF0000, 0x0000FF},
                                                                      nibbles, Bytes(8, 0))}})),
        2, 2, {R, B, B, R}, "4-bit");

    // 32-bit: the alpha channel wins over the mask; all-zero alpha falls
    // back to the mask.
    Bytes alpha, noAlpha;
    for (uint32_t p : {0x80FF0000u, 0x00000000u}) // one row
        test::Put32(alpha, p);
    for (uint32_t p : {0x00FF0000u, 0x0000FF00u})
        test::Put32(noAlpha, p);
    const Bytes maskRight = {0x40, 0, 0, 0};
    ExpectPixels(
        Decode(PictureFormat::Icon,
               test::MakeIco({{2, 1, 32, test::MakeIconDib(2, 1, 32, {}, alpha, maskRight)}})),
        2, 1, {0x80FF0000, 0}, "32-bit alpha");
    ExpectPixels(
        Decode(PictureFormat::Icon,
               test::MakeIco({{2, 1, 32, test::MakeIconDib(2, 1, 32, {}, noAlpha, maskRight)}})),
        2, 1, {R, 0}, "32-bit without alpha");

    // A PNG image inside the icon.
    Bytes png;
    ASSERT_TRUE(EncodePng(Image{2, 1, {0x80112233, Y}}, png));
    ExpectPixels(Decode(PictureFormat::Icon, test::MakeIco({{2, 1, 32, png}})), 2, 1,
                 {0x80112233, Y}, "PNG in icon");
}

TEST(DecodeIco, RefusesDamagedFiles) {
    Bytes outside = test::MakeIco({SolidIcon(16, 0xFF0000), SolidIcon(32, 0xFF0000)});
    outside[6 + 15] = 0x7F; // first entry's offset far past the end
    Bytes cut = test::MakeIco({SolidIcon(16, 0xFF0000)});
    cut.resize(cut.size() - 1);
    Bytes cursor = test::MakeIco({SolidIcon(16, 0xFF0000)});
    cursor[2] = 2;
    const Bytes empty = test::MakeIco({});
    Bytes dirCut = test::MakeIco({SolidIcon(16, 0xFF0000)});
    dirCut.resize(12);
    Bytes damagedPng =
        test::MakeIco({{2, 1, 32, Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0}}});
    struct Case {
        const char* name;
        const Bytes& bytes;
        const char* reason;
    } cases[] = {
        {"entry outside the file", outside, "outside"},
        {"last image one byte short", cut, "outside"},
        {"cursor file", cursor, "not an icon"},
        {"no images", empty, "no images"},
        {"directory cut off", dirCut, "directory"},
        {"damaged PNG image", damagedPng, "PNG"},
    };
    for (const Case& c : cases)
        ExpectFailure(Decode(PictureFormat::Icon, c.bytes), c.name, c.reason);
}

// ---- PNG ----------------------------------------------------------------

TEST(DecodePng, ExpandsEveryColourTypeToRgba) {
    struct Case {
        const char* name;
        test::PngParts parts;
        std::vector<uint32_t> want;
    } cases[] = {
        {"gray 1-bit", {3, 1, PNG_COLOR_TYPE_GRAY, 1, false, {0xA0}}, {W, K, W}},
        {"gray 2-bit", {2, 1, PNG_COLOR_TYPE_GRAY, 2, false, {0x60}}, {0xFF555555, 0xFFAAAAAA}},
        {"gray 8-bit with tRNS",
         {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0x10, 0x20}, {}, {}, true, 0x20},
         {0xFF101010, 0x00202020}},
        {"gray 16-bit reduced",
         {2, 1, PNG_COLOR_TYPE_GRAY, 16, false, {0xFF, 0xFF, 0x80, 0x80}},
         {W, 0xFF808080}},
        {"gray+alpha", {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {0x40, 0x80}}, {0x80404040}},
        {"RGB", {2, 1, PNG_COLOR_TYPE_RGB, 8, false, {1, 2, 3, 4, 5, 6}}, {0xFF010203, 0xFF040506}},
        {"RGB with tRNS",
         {2,
          1,
          PNG_COLOR_TYPE_RGB,
          8,
          false,
          {1, 2, 3, 4, 5, 6},
          {},
          {},
          false,
          0,
          true,
          {4, 5, 6}},
         {0xFF010203, 0x00040506}},
        {"RGBA 16-bit reduced",
         {1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, false, {0xFF, 0xFF, 0, 0, 0x12, 0x34, 0x80, 0x00}},
         {0x80FF0012}},
        {"palette with alpha",
         {4,
          1,
          PNG_COLOR_TYPE_PALETTE,
          2,
          false,
          {0x1B},
          {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
          {0x00, 0x80}},
         {0x00FF0000, 0x8000FF00, B, W}},
        {"palette 8-bit",
         {2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {1, 0}, {0x112233, 0x445566}},
         {0xFF445566, 0xFF112233}},
    };
    for (const Case& c : cases)
        ExpectPixels(Decode(PictureFormat::Png, test::MakePng(c.parts)), c.parts.width,
                     c.parts.height, c.want, c.name);
}

TEST(DecodePng, InterlacedMatchesPlain) {
    test::PngParts parts{13, 11, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {}};
    std::vector<uint32_t> want;
    for (int y = 0; y < parts.height; ++y)
        for (int x = 0; x < parts.width; ++x) {
            const uint8_t px[4] = {static_cast<uint8_t>(x * 19), static_cast<uint8_t>(y * 23),
                                   static_cast<uint8_t>(x * y), static_cast<uint8_t>(255 - x - y)};
            parts.rows.insert(parts.rows.end(), px, px + 4);
            want.push_back(static_cast<uint32_t>(px[3]) << 24 | px[0] << 16 | px[1] << 8 | px[2]);
        }
    ExpectPixels(Decode(PictureFormat::Png, test::MakePng(parts)), 13, 11, want, "plain");
    parts.interlaced = true;
    ExpectPixels(Decode(PictureFormat::Png, test::MakePng(parts)), 13, 11, want, "interlaced");
}

// Recomputes the IHDR checksum after a test changed the header fields.
void FixHeaderCrc(Bytes& png) {
    const uLong crc = crc32(0, png.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
}

TEST(DecodePng, RefusesDamagedFiles) {
    const Bytes good = test::MakePng({4, 4, PNG_COLOR_TYPE_RGB, 8, false, Bytes(48, 0x55)});
    Bytes cut = good;
    cut.resize(good.size() - 20); // inside the image data
    Bytes badCrc = good;
    badCrc[29] ^= 0xFF; // IHDR checksum
    Bytes badDepth = good;
    badDepth[24] = 7;
    FixHeaderCrc(badDepth);
    Bytes zeroWidth = good;
    zeroWidth[16 + 3] = 0;
    FixHeaderCrc(zeroWidth);
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"cut inside the image data", cut},
        {"damaged header checksum", badCrc},
        {"invalid bit depth", badDepth},
        {"zero width", zeroWidth},
        {"signature only", Bytes(good.begin(), good.begin() + 8)},
        {"not a PNG", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}},
    };
    for (const Case& c : cases)
        ExpectFailure(Decode(PictureFormat::Png, c.bytes), c.name);
}

TEST(EncodePng, RoundTripsAndWritesRgbWhenOpaque) {
    Image opaque{3, 2, kPicture};
    Image translucent{2, 2, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x010203FF}};
    for (const Image* image : {&opaque, &translucent}) {
        Bytes bytes;
        ASSERT_TRUE(EncodePng(*image, bytes));
        ExpectPixels(Decode(PictureFormat::Png, bytes), image->width, image->height, image->pixels,
                     "round trip");
        // Colour type byte of IHDR: 2 RGB, 6 RGBA.
        EXPECT_EQ(bytes[25], image == &opaque ? 2 : 6);
    }
    Bytes bytes;
    EXPECT_FALSE(EncodePng(Image{}, bytes));
    EXPECT_TRUE(bytes.empty());
}

// ---- JPEG ---------------------------------------------------------------

// A 16 x 16 picture in four flat quadrants, so that lossy coding stays
// close to the input.
test::JpegParts Quadrants(int components, const uint8_t (*colors)[4]) {
    test::JpegParts parts{16, 16, components};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint8_t* c = colors[(y / 8) * 2 + x / 8];
            parts.samples.insert(parts.samples.end(), c, c + components);
        }
    return parts;
}

void ExpectNear(const Decoded& d, const std::vector<uint32_t>& quadrantColors,
                const std::string& name) {
    ASSERT_TRUE(d.ok) << name << ": " << d.error;
    EXPECT_TRUE(d.validated) << name;
    ASSERT_EQ(d.image.width, 16) << name;
    ASSERT_EQ(d.image.height, 16) << name;
    for (int q = 0; q < 4; ++q) {
        const uint32_t got = d.image.At((q % 2) * 8 + 4, (q / 2) * 8 + 4);
        const uint32_t want = quadrantColors[static_cast<size_t>(q)];
        EXPECT_EQ(got >> 24, 0xFFu) << name;
        for (int shift : {0, 8, 16}) {
            const int a = static_cast<int>((got >> shift) & 0xFF);
            const int b = static_cast<int>((want >> shift) & 0xFF);
            EXPECT_NEAR(a, b, 6) << name << " quadrant " << q << " shift " << shift;
        }
    }
}

TEST(DecodeJpeg, ColourGrayAndCmyk) {
    static const uint8_t rgb[4][4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    static const uint8_t gray[4][4] = {{0}, {80}, {160}, {255}};
    // Plain CMYK: 0 = no ink. Adobe's files store it inverted (255 = no ink).
    static const uint8_t cmyk[4][4] = {
        {0, 255, 255, 0}, {0, 0, 0, 0}, {0, 0, 0, 255}, {255, 255, 0, 0}};
    static const uint8_t adobe[4][4] = {
        {255, 0, 0, 255}, {255, 255, 255, 255}, {255, 255, 255, 0}, {0, 0, 255, 255}};
    const std::vector<uint32_t> rgbWant = {R, G, B, W};
    const std::vector<uint32_t> grayWant = {K, 0xFF505050, 0xFFA0A0A0, W};
    const std::vector<uint32_t> cmykWant = {R, W, K, B};

    ExpectNear(Decode(PictureFormat::Jpeg, test::MakeJpeg(Quadrants(3, rgb))), rgbWant, "RGB");
    auto progressive = Quadrants(3, rgb);
    progressive.progressive = true;
    ExpectNear(Decode(PictureFormat::Jpeg, test::MakeJpeg(progressive)), rgbWant, "progressive");
    ExpectNear(Decode(PictureFormat::Jpeg, test::MakeJpeg(Quadrants(1, gray))), grayWant, "gray");
    auto plainCmyk = Quadrants(4, cmyk);
    plainCmyk.adobeMarker = false;
    ExpectNear(Decode(PictureFormat::Jpeg, test::MakeJpeg(plainCmyk)), cmykWant, "CMYK");
    ExpectNear(Decode(PictureFormat::Jpeg, test::MakeJpeg(Quadrants(4, adobe))), cmykWant,
               "Adobe CMYK");
}

TEST(DecodeJpeg, RefusesDamagedHeadersAndAcceptsCutImageData) {
    static const uint8_t rgb[4][4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    const Bytes good = test::MakeJpeg(Quadrants(3, rgb));
    // A file cut inside the entropy-coded data still shows what it has
    // (the rest gray), as the platform's viewers do.
    Bytes cutData = good;
    cutData.resize(good.size() - 40);
    const Decoded partial = Decode(PictureFormat::Jpeg, cutData);
    EXPECT_TRUE(partial.ok) << partial.error;
    EXPECT_TRUE(partial.validated);
    EXPECT_EQ(partial.image.width, 16);

    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"start marker only", Bytes{0xFF, 0xD8, 0xFF}},
        {"cut in the header", Bytes(good.begin(), good.begin() + 100)},
        {"not a JPEG", Bytes{'B', 'M', 0, 0}},
        {"garbage after the start marker", Bytes{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const Case& c : cases)
        ExpectFailure(Decode(PictureFormat::Jpeg, c.bytes), c.name, "JPEG");
}

// ---- GIF ----------------------------------------------------------------

TEST(DecodeGif, FirstFrameOnTheLogicalScreen) {
    test::GifParts parts;
    parts.screenWidth = 4;
    parts.screenHeight = 3;
    parts.globalPalette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    test::GifFrame frame;
    frame.left = 1;
    frame.top = 1;
    frame.width = 2;
    frame.height = 2;
    frame.transparent = 3;
    frame.indices = {0, 1, 3, 2};
    parts.frames = {frame};
    // A second frame that covers everything must not show.
    test::GifFrame second{0, 0, 4, 3, false, {}, -1, Bytes(12, 2)};
    parts.frames.push_back(second);
    ExpectPixels(Decode(PictureFormat::Gif, test::MakeGif(parts)), 4, 3,
                 {0, 0, 0, 0, //
                  0, R, G, 0, //
                  0, 0, B, 0},
                 "frame with offset and transparency");

    // A local palette wins over the global one.
    parts.frames = {{0, 0, 2, 1, false, {0x112233, 0x445566}, -1, {1, 0}}};
    parts.screenWidth = 2;
    parts.screenHeight = 1;
    ExpectPixels(Decode(PictureFormat::Gif, test::MakeGif(parts)), 2, 1, {0xFF445566, 0xFF112233},
                 "local palette");

    // Interlaced rows land where they belong; a frame reaching past the
    // screen is clipped.
    test::GifFrame tall{0, 0, 1, 10, true, {}, -1, {}};
    std::vector<uint32_t> want;
    for (int y = 0; y < 10; ++y) {
        tall.indices.push_back(static_cast<uint8_t>(y % 4));
        want.push_back(std::vector<uint32_t>{R, G, B, W}[static_cast<size_t>(y % 4)]);
    }
    parts.frames = {tall};
    parts.screenWidth = 1;
    parts.screenHeight = 10;
    ExpectPixels(Decode(PictureFormat::Gif, test::MakeGif(parts)), 1, 10, want, "interlaced");
    parts.screenHeight = 6;
    want.resize(6);
    ExpectPixels(Decode(PictureFormat::Gif, test::MakeGif(parts)), 1, 6, want, "clipped");
}

TEST(DecodeGif, RefusesDamagedFiles) {
    test::GifParts parts{2, 2, {0, 0xFFFFFF}, {{0, 0, 2, 2, false, {}, -1, {0, 1, 1, 0}}}};
    const Bytes good = test::MakeGif(parts);
    test::GifParts noFrames{2, 2, {0, 0xFFFFFF}, {}};
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"cut in the image data", Bytes(good.begin(), good.end() - 4)},
        {"header only", Bytes(good.begin(), good.begin() + 6)},
        {"no image", test::MakeGif(noFrames)},
        {"not a GIF", Bytes{'G', 'I', 'F', '9', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        ExpectFailure(Decode(PictureFormat::Gif, c.bytes), c.name, "GIF");
}

// ---- Metafiles ----------------------------------------------------------

Bytes PlaceableWmf() {
    Bytes b;
    test::Put32(b, 0x9AC6CDD7);
    test::Put16(b, 0);
    for (uint32_t v : {0u, 0u, 100u, 50u, 1440u})
        test::Put16(b, v);
    test::Put32(b, 0);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<uint16_t>(b[i] | b[i + 1] << 8);
    test::Put16(b, sum);
    // Standard header: type 1, 9 words, version 0x300, size, objects, max record, 0.
    for (uint32_t v : {1u, 9u, 0x300u, 12u, 0u, 0u, 3u, 0u, 0u})
        test::Put16(b, v);
    for (uint32_t v : {3u, 0u, 0u}) // end-of-file record
        test::Put16(b, v);
    return b;
}

Bytes Emf() {
    Bytes b;
    test::Put32(b, 1);  // header record
    test::Put32(b, 88); // its size
    while (b.size() < 40)
        test::Put32(b, 0);
    test::Put32(b, 0x464D4520); // " EMF"
    test::Put32(b, 0x10000);    // version
    test::Put32(b, 108);        // file size
    while (b.size() < 108)
        test::Put32(b, 0);
    return b;
}

TEST(CheckMetafile, HeadersOnly) {
    for (const Bytes& good : {PlaceableWmf(), Emf()}) {
        Image image{1, 1, {K}};
        std::string error;
        EXPECT_TRUE(
            DecodePicture(PictureFormat::Metafile, good.data(), good.size(), &image, &error))
            << error;
        EXPECT_TRUE(image.Empty());
        EXPECT_TRUE(DecodePicture(PictureFormat::Metafile, good.data(), good.size(), nullptr));
    }
    Bytes badSum = PlaceableWmf();
    badSum[20] ^= 1;
    Bytes badType = PlaceableWmf();
    badType[22] = 5;
    Bytes shortEmf = Emf();
    shortEmf.resize(100); // header says 108 bytes
    Bytes badSignature = Emf();
    badSignature[41] = 'X';
    Bytes bigRecord = Emf();
    bigRecord[4] = 0xFF;
    bigRecord[5] = 0xFF;
    const Bytes placeable = PlaceableWmf();
    const Bytes plainWmf(placeable.begin() + 22, placeable.end());
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"placeable checksum", badSum},
        {"metafile type", badType},
        {"EMF shorter than it says", shortEmf},
        {"EMF signature", badSignature},
        {"EMF header record too big", bigRecord},
        {"WMF without placeable header", plainWmf},
        {"a bitmap", test::MakeBmp({40, 1, 1, 24, 0, 0, {}, {}, Bytes(4, 0)})},
    };
    for (const Case& c : cases)
        ExpectFailure(Decode(PictureFormat::Metafile, c.bytes), c.name, "Metafile");
}

// ---- Shared behaviour ---------------------------------------------------

TEST(DecodePicture, LimitsAreCheckedBeforeDecoding) {
    // A 5 x 3 picture in every raster format.
    const Image picture{5, 3, std::vector<uint32_t>(15, R)};
    Bytes png, bmp;
    ASSERT_TRUE(EncodePng(picture, png));
    ASSERT_TRUE(EncodeBmp(picture, bmp));
    test::JpegParts jpegParts{5, 3, 1};
    jpegParts.samples.assign(15, 0);
    test::GifParts gifParts{5, 3, {0xFF0000, 0}, {{0, 0, 5, 3, false, {}, -1, Bytes(15, 0)}}};
    const Bytes icon = test::MakeIco({{5, 3, 32, png}});
    struct Input {
        PictureFormat format;
        Bytes bytes;
    } inputs[] = {
        {PictureFormat::Png, png},
        {PictureFormat::Bitmap, bmp},
        {PictureFormat::Jpeg, test::MakeJpeg(jpegParts)},
        {PictureFormat::Gif, test::MakeGif(gifParts)},
        {PictureFormat::Icon, icon},
    };
    for (const Input& in : inputs) {
        const std::string name = "format " + std::to_string(static_cast<int>(in.format));
        EXPECT_TRUE(Decode(in.format, in.bytes, DecodeLimits{5, 15}).ok) << name;
        ExpectFailure(Decode(in.format, in.bytes, DecodeLimits{4, 15}), name + " width",
                      "too large");
        ExpectFailure(Decode(in.format, in.bytes, DecodeLimits{5, 14}), name + " pixels",
                      "too large");
    }
    // The default limits refuse a GIF screen of 65535 x 65535 from a tiny file.
    Bytes huge = test::MakeGif(gifParts);
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF;
    ExpectFailure(Decode(PictureFormat::Gif, huge), "huge GIF screen", "too large");
}

TEST(DecodePicture, EmptyAndMissingData) {
    std::string error;
    Image image;
    EXPECT_FALSE(DecodePicture(PictureFormat::Png, nullptr, 0, &image, &error));
    EXPECT_FALSE(error.empty());
    const uint8_t one = 0x89;
    EXPECT_FALSE(DecodePicture(PictureFormat::Png, &one, 1, &image));
    EXPECT_FALSE(DecodePicture(PictureFormat::Icon, &one, 1, &image));
}

TEST(SniffPictureFormat, RecognisesLeadingBytes) {
    const Image picture{1, 1, {R}};
    Bytes png, bmp;
    ASSERT_TRUE(EncodePng(picture, png));
    ASSERT_TRUE(EncodeBmp(picture, bmp));
    test::JpegParts jpegParts{1, 1, 1};
    jpegParts.samples = {0};
    struct Case {
        Bytes bytes;
        bool known;
        PictureFormat want;
    } cases[] = {
        {png, true, PictureFormat::Png},
        {bmp, true, PictureFormat::Bitmap},
        {test::MakeJpeg(jpegParts), true, PictureFormat::Jpeg},
        {test::MakeGif({1, 1, {0, 0}, {{0, 0, 1, 1, false, {}, -1, {0}}}}), true,
         PictureFormat::Gif},
        {Bytes{'G', 'I', 'F', '8', '7', 'a'}, true, PictureFormat::Gif},
        {test::MakeIco({SolidIcon(16, 0)}), true, PictureFormat::Icon},
        {PlaceableWmf(), true, PictureFormat::Metafile},
        {Emf(), true, PictureFormat::Metafile},
        {Bytes{0, 0, 2, 0, 1, 0}, false, {}}, // cursor
        {Bytes{0, 0, 1, 0, 0, 0}, false, {}}, // icon without images
        {Bytes{'B'}, false, {}},
        {Bytes{}, false, {}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        PictureFormat got = PictureFormat::Metafile;
        EXPECT_EQ(SniffPictureFormat(cases[i].bytes.data(), cases[i].bytes.size(), got),
                  cases[i].known)
            << "case " << i;
        if (cases[i].known) {
            EXPECT_EQ(got, cases[i].want) << "case " << i;
        }
    }
}

} // namespace
} // namespace orv::gfx
