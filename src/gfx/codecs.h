// Picture codecs for the six stored picture classes. BMP and ICO are our own
// code; PNG, JPEG and GIF go through libpng, libjpeg and giflib; metafiles
// are kept as bytes (the Windows layer plays them) and only their header is
// checked here. Decoders refuse absurd dimensions before allocating, never
// print anything, and report damaged data with a short reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv::gfx {

// A 32-bit raster image, rows top-down, each pixel 0xAARRGGBB (straight,
// not premultiplied alpha). Opaque pictures have alpha 255 everywhere.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // width * height
    bool Empty() const { return width <= 0 || height <= 0; }
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

enum class PictureFormat { Bitmap, Icon, Metafile, Jpeg, Gif, Png };

// Largest width or height a decoder accepts, and largest pixel count.
inline constexpr int kMaxDimension = 16384;
inline constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

// The size limits a decode runs under. Tools and fuzzers may lower them.
struct DecodeLimits {
    int maxDimension = kMaxDimension;
    int64_t maxPixels = kMaxPixels;
};

// Decodes the first frame (GIF, composed onto its logical screen), or the
// best image (ICO: among the 32x32 entries, else the 48x48, else the 16x16,
// else all of them, the one with the most data bytes). With out == nullptr it
// only checks that the bytes decode and allocates no full-size image where
// it can avoid it. Metafiles: checks the EMF or placeable WMF header; out
// stays empty. Returns false with a short reason on damaged data or absurd
// dimensions; *out is then left empty.
bool DecodePicture(PictureFormat format, const uint8_t* data, size_t size, Image* out,
                   std::string* error = nullptr);
bool DecodePicture(PictureFormat format, const uint8_t* data, size_t size, Image* out,
                   std::string* error, const DecodeLimits& limits);

// Recognises a format by its leading bytes (for files picked by the user).
bool SniffPictureFormat(const uint8_t* data, size_t size, PictureFormat& format);

// Encoders used when the editor creates pictures. Both fail on an empty image.
// EncodePng writes RGB when every pixel is opaque, else RGBA.
// EncodeBmp writes a bottom-up 32-bit BMP: a plain one when every pixel is
// opaque, else one with an alpha mask (BITFIELDS with a version 4 header).
bool EncodePng(const Image& image, std::vector<uint8_t>& out);
bool EncodeBmp(const Image& image, std::vector<uint8_t>& out); // 32-bit BMP

} // namespace orv::gfx
