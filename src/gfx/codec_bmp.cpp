// Windows BMP files and the DIBs inside icons: 1, 4, 8, 16, 24 and 32 bits
// per pixel, RLE4 and RLE8, bottom-up and top-down rows, colour masks
// (BITFIELDS), and the AND mask of icon images. Every size and offset read
// from the file is checked against the bytes present before it is used.
#include "gfx/codec_detail.h"

#include <algorithm>
#include <array>

namespace orv::gfx::detail {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

// One colour channel described by a mask: the bits are shifted down and
// scaled to 0..255 with rounding.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask == 0)
            return;
        while (((mask >> shift) & 1u) == 0)
            ++shift;
        max = mask >> shift;
    }
    uint32_t Get(uint32_t pixel) const {
        if (max == 0)
            return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>((v * 255 + max / 2) / max);
    }
};

// Writes one palette index at (x, row) of an RLE bitmap, ignoring pixels
// outside the picture, as the platform does.
struct RleWriter {
    Image* image;
    const std::array<uint32_t, 256>* palette;
    int64_t width;
    int64_t height;
    bool topDown;

    void Put(int64_t x, int64_t row, uint8_t index) const {
        if (!image || x < 0 || x >= width || row < 0 || row >= height)
            return;
        const int64_t y = topDown ? row : height - 1 - row;
        image->At(static_cast<int>(x), static_cast<int>(y)) = (*palette)[index];
    }
};

// RLE8 and RLE4: runs of one index (RLE4: two alternating nibbles), escape
// codes for end of line, end of bitmap and a jump, and absolute runs padded
// to 16 bits. A missing end-of-bitmap code simply ends the picture; an
// absolute run or a jump cut off by the end of the data is damage.
bool DecodeRle(const uint8_t* p, size_t n, bool rle4, const RleWriter& w, const DecodeTarget& t) {
    size_t pos = 0;
    int64_t x = 0;
    int64_t row = 0;
    while (pos + 2 <= n && row < w.height) {
        const uint8_t count = p[pos];
        const uint8_t value = p[pos + 1];
        pos += 2;
        if (count > 0) {
            const int64_t visible = std::min<int64_t>(count, std::max<int64_t>(0, w.width - x));
            for (int64_t i = 0; i < visible; ++i) {
                uint8_t index = value;
                if (rle4)
                    index = (i & 1) ? (value & 0x0F) : (value >> 4);
                w.Put(x + i, row, index);
            }
            x += count;
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // jump right and up
            if (pos + 2 > n)
                return t.Fail("BMP: compressed data is cut off");
            x += p[pos];
            row += p[pos + 1];
            pos += 2;
        } else { // absolute run of `value` indexes
            const size_t bytes = rle4 ? (value + 1u) / 2 : value;
            const size_t padded = bytes + (bytes & 1);
            if (pos + bytes > n)
                return t.Fail("BMP: compressed data is cut off");
            const int64_t visible = std::min<int64_t>(value, std::max<int64_t>(0, w.width - x));
            for (int64_t i = 0; i < visible; ++i) {
                uint8_t index;
                if (rle4) {
                    const uint8_t b = p[pos + static_cast<size_t>(i / 2)];
                    index = (i & 1) ? (b & 0x0F) : (b >> 4);
                } else {
                    index = p[pos + static_cast<size_t>(i)];
                }
                w.Put(x + i, row, index);
            }
            x += value;
            pos = std::min(n, pos + padded);
        }
    }
    return true;
}

} // namespace

bool DecodeDib(const uint8_t* data, size_t size, size_t pixelOffset, DibKind kind,
               const DecodeTarget& t) {
    const char* what = kind == DibKind::Icon ? "Icon" : "BMP";
    auto fail = [&](const char* reason) { return t.Fail(std::string(what) + ": " + reason); };
    if (size < 4)
        return fail("header is cut off");
    const uint32_t headerSize = Le32(data);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bpp = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    size_t paletteEntrySize = 4;
    uint32_t masks[4] = {0, 0, 0, 0};
    size_t maskBytes = 0;
    if (headerSize == 12) {
        if (size < 12)
            return fail("header is cut off");
        width = Le16(data + 4);
        height = Le16(data + 6);
        bpp = Le16(data + 10);
        paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= size) {
        width = Le32s(data + 4);
        height = Le32s(data + 8);
        bpp = Le16(data + 14);
        compression = Le32(data + 16);
        colorsUsed = Le32(data + 32);
        if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
            if (headerSize >= 52) {
                masks[0] = Le32(data + 40);
                masks[1] = Le32(data + 44);
                masks[2] = Le32(data + 48);
                if (headerSize >= 56)
                    masks[3] = Le32(data + 52);
            } else {
                // The plain 40-byte header keeps its masks right after it.
                maskBytes = compression == kBiAlphaBitfields ? 16 : 12;
                if (size < headerSize + maskBytes)
                    return fail("colour masks are cut off");
                for (size_t i = 0; i < maskBytes / 4; ++i)
                    masks[i] = Le32(data + headerSize + 4 * i);
            }
        }
    } else {
        return fail("unknown header");
    }

    bool topDown = false;
    if (height < 0) {
        topDown = true;
        height = -height; // from int32, so no overflow in 64 bits
    }
    if (kind == DibKind::Icon) {
        if (topDown)
            return fail("icon image stored top-down");
        height /= 2; // colour rows and mask rows
    }
    if (!t.CheckSize(width, height, what))
        return false;

    switch (bpp) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return fail("unsupported number of bits per pixel");
    }
    const bool rle = compression == kBiRle8 || compression == kBiRle4;
    const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
    if ((compression == kBiRle8 && bpp != 8) || (compression == kBiRle4 && bpp != 4) ||
        (bitfields && bpp != 16 && bpp != 32) || (compression != kBiRgb && !rle && !bitfields))
        return fail("unsupported compression");
    if (rle && kind == DibKind::Icon)
        return fail("unsupported compression");
    if (bitfields && masks[0] == 0 && masks[1] == 0 && masks[2] == 0)
        return fail("colour masks are missing");

    // Palette: up to 256 entries are read; indexes beyond the stored ones
    // show black.
    std::array<uint32_t, 256> palette;
    palette.fill(kOpaqueBlack);
    const size_t paletteStart = headerSize + maskBytes;
    size_t paletteCount = 0;
    if (bpp <= 8) {
        const uint32_t full = 1u << bpp;
        paletteCount = colorsUsed == 0 ? full : std::min<uint32_t>(colorsUsed, 256);
    } else if (colorsUsed > 0 && colorsUsed <= 256 && kind == DibKind::Icon) {
        // High-colour icons may still carry an unused palette before the pixels.
        paletteCount = colorsUsed;
    }
    if (bpp <= 8 && kind == DibKind::File && pixelOffset >= paletteStart) {
        // Writers that leave the colour count at zero often store fewer
        // entries than the bit depth allows: the pixel offset tells.
        paletteCount = std::min(paletteCount, (pixelOffset - paletteStart) / paletteEntrySize);
    }
    const size_t paletteBytes = paletteCount * paletteEntrySize;
    if (paletteStart > size || size - paletteStart < paletteBytes)
        return fail("palette is cut off");
    if (bpp <= 8) {
        for (size_t i = 0; i < paletteCount; ++i) {
            const uint8_t* e = data + paletteStart + i * paletteEntrySize;
            palette[i] = Argb(255, e[2], e[1], e[0]);
        }
    }

    if (kind == DibKind::Icon || pixelOffset == 0)
        pixelOffset = paletteStart + paletteBytes;
    if (pixelOffset < paletteStart || pixelOffset > size)
        return fail("pixel data offset is wrong");
    const uint8_t* pixels = data + pixelOffset;
    const size_t available = size - pixelOffset;

    if (!t.Allocate(width, height, palette[0], what))
        return false;
    Image* image = t.image;

    if (rle) {
        const RleWriter writer{image, &palette, width, height, topDown};
        return DecodeRle(pixels, available, compression == kBiRle4, writer, t);
    }

    const uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    const uint64_t needed = stride * static_cast<uint64_t>(height);
    if (needed > available)
        return fail("pixel data is cut off");

    // Colour masks of the high-colour formats.
    if (!bitfields) {
        if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else if (bpp == 32) {
            masks[0] = 0x00FF0000;
            masks[1] = 0x0000FF00;
            masks[2] = 0x000000FF;
            // Plain 32-bit bitmaps ignore the top byte; icons use it as
            // alpha when any pixel has a non-zero value there.
            masks[3] = kind == DibKind::Icon ? 0xFF000000u : 0;
        }
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);

    if (!image) {
        // Validation only: the sizes are all that can be wrong in
        // uncompressed pixel data.
        return true;
    }

    bool anyAlpha = false;
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = pixels + static_cast<size_t>(stride) * static_cast<size_t>(row);
        const int y = static_cast<int>(topDown ? row : height - 1 - row);
        uint32_t* dst = &image->At(0, y);
        for (int64_t x = 0; x < width; ++x) {
            uint32_t color;
            switch (bpp) {
            case 1:
                color = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                color = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
                break;
            case 8:
                color = palette[src[x]];
                break;
            case 24: {
                const uint8_t* s = src + 3 * x;
                color = Argb(255, s[2], s[1], s[0]);
                break;
            }
            default: {
                const uint32_t v = bpp == 16 ? Le16(src + 2 * x) : Le32(src + 4 * x);
                const uint32_t a = alpha.max ? alpha.Get(v) : 255;
                if (alpha.max && a != 0)
                    anyAlpha = true;
                color = Argb(a, red.Get(v), green.Get(v), blue.Get(v));
                break;
            }
            }
            dst[x] = color;
        }
    }

    if (alpha.max && !anyAlpha && kind == DibKind::File) {
        // An alpha mask whose values are all zero is a writer that filled
        // the byte with nothing: the picture is meant to be opaque.
        for (uint32_t& p : image->pixels)
            p |= 0xFF000000u;
    }
    if (kind == DibKind::Icon) {
        if (alpha.max && anyAlpha)
            return true; // the alpha channel wins over the mask
        // Without alpha the AND mask decides: set bits are transparent.
        // Icons whose mask is missing are shown opaque.
        const uint64_t maskStride = ((static_cast<uint64_t>(width) + 31) / 32) * 4;
        const uint64_t maskBytesNeeded = maskStride * static_cast<uint64_t>(height);
        const bool haveMask = available - needed >= maskBytesNeeded;
        for (int64_t row = 0; row < height; ++row) {
            const uint8_t* m = pixels + static_cast<size_t>(needed) +
                               static_cast<size_t>(maskStride) * static_cast<size_t>(row);
            uint32_t* dst = &image->At(0, static_cast<int>(height - 1 - row));
            for (int64_t x = 0; x < width; ++x) {
                if (haveMask && ((m[x >> 3] >> (7 - (x & 7))) & 1))
                    dst[x] = 0;
                else
                    dst[x] |= 0xFF000000u;
            }
        }
    }
    return true;
}

bool DecodeBmp(const uint8_t* data, size_t size, const DecodeTarget& t) {
    constexpr size_t kFileHeader = 14;
    if (size < kFileHeader + 4 || data[0] != 'B' || data[1] != 'M')
        return t.Fail("BMP: not a bitmap file");
    const uint32_t offBits = Le32(data + 10);
    size_t pixelOffset = 0;
    if (offBits != 0) {
        if (offBits < kFileHeader)
            return t.Fail("BMP: pixel data offset is wrong");
        pixelOffset = offBits - kFileHeader;
    }
    return DecodeDib(data + kFileHeader, size - kFileHeader, pixelOffset, DibKind::File, t);
}

} // namespace orv::gfx::detail

namespace orv::gfx {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

bool EncodeBmp(const Image& image, std::vector<uint8_t>& out) {
    out.clear();
    if (!detail::EncodableImage(image))
        return false;
    const bool opaque = detail::AllOpaque(image);
    // Opaque pictures get the plain header every reader knows; pictures with
    // transparency get a version 4 header whose alpha mask says so.
    const uint32_t headerSize = opaque ? 40 : 108;
    const uint64_t pixelBytes = static_cast<uint64_t>(image.pixels.size()) * 4;
    const uint64_t fileSize = 14 + headerSize + pixelBytes;
    if (fileSize > 0xFFFFFFFFu)
        return false;
    try {
        out.reserve(static_cast<size_t>(fileSize));
    } catch (const std::bad_alloc&) {
        return false;
    }
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(fileSize));
    Put32(out, 0);
    Put32(out, 14 + headerSize);

    Put32(out, headerSize);
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height)); // positive: bottom-up
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, opaque ? 0 : 3); // BI_RGB or BI_BITFIELDS
    Put32(out, static_cast<uint32_t>(pixelBytes));
    Put32(out, 2835); // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    if (!opaque) {
        Put32(out, 0x00FF0000);
        Put32(out, 0x0000FF00);
        Put32(out, 0x000000FF);
        Put32(out, 0xFF000000);
        Put32(out, 0x73524742); // colour space 'sRGB'
        for (int i = 0; i < 12; ++i)
            Put32(out, 0); // end points and gamma, unused with sRGB
    }
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.At(x, y);
            Put32(out, opaque ? (p & 0x00FFFFFFu) : p);
        }
    }
    return true;
}

} // namespace orv::gfx
