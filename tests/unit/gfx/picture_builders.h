// Small picture files built in code for the codec tests: every variant a
// decoder must handle, without binary fixtures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::gfx::test {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint32_t v);
void Put32(Bytes& out, uint32_t v);

// A BMP file: file header, info header, optional masks and palette (each
// palette entry 0x00RRGGBB), then `pixels` exactly as stored.
struct BmpParts {
    uint32_t headerSize = 40; // 12, 40, 108 ...
    int32_t width = 0;
    int32_t height = 0; // negative: top-down
    uint16_t bpp = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette{};
    std::vector<uint32_t> masks{}; // after a 40-byte header, or inside a larger one
    Bytes pixels{};
    int64_t offBits = -1; // -1: right after the palette
};
Bytes MakeBmp(const BmpParts& parts);
// The DIB of an icon image: 40-byte header with doubled height, palette,
// colour rows, mask rows.
Bytes MakeIconDib(int width, int height, uint16_t bpp, const std::vector<uint32_t>& palette,
                  const Bytes& colorRows, const Bytes& maskRows);

// Pads each row of `rows` (each `rowBytes` long) to a multiple of 4 bytes.
Bytes PadRows(const Bytes& rows, size_t rowBytes);

// A PNG written with libpng's full writer: any colour type, bit depth and
// interlacing. `rows` holds the rows packed as PNG stores them.
struct PngParts {
    int width = 0;
    int height = 0;
    int colorType = 2; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    Bytes rows{};
    std::vector<uint32_t> palette{}; // 0x00RRGGBB
    Bytes trnsAlpha{};               // palette alphas
    bool trnsGray = false;
    uint16_t trnsGrayValue = 0;
    bool trnsRgb = false;
    uint16_t trnsRgbValue[3] = {0, 0, 0};
};
Bytes MakePng(const PngParts& parts);

// A JPEG from interleaved samples (1, 3 or 4 components).
struct JpegParts {
    int width = 0;
    int height = 0;
    int components = 3;
    bool progressive = false;
    bool adobeMarker = true; // only meaningful for 4 components
    int quality = 100;
    Bytes samples{};
};
Bytes MakeJpeg(const JpegParts& parts);

// A GIF with one or more frames; palettes are 0x00RRGGBB.
struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<uint32_t> localPalette{};
    int transparent = -1;
    Bytes indices{}; // width * height, rows in display order
};
struct GifParts {
    int screenWidth = 0, screenHeight = 0;
    std::vector<uint32_t> globalPalette{};
    std::vector<GifFrame> frames;
};
Bytes MakeGif(const GifParts& parts);

// An ICO file; each entry's directory width/height bytes and its image bytes.
struct IcoEntry {
    int width = 0; // stored as a byte; 256 stores 0
    int height = 0;
    uint16_t bpp = 32;
    Bytes data{};
};
Bytes MakeIco(const std::vector<IcoEntry>& entries);

} // namespace orv::gfx::test
