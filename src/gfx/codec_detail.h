// Shared pieces of the picture decoders. Not part of the public interface.
#pragma once

#include "gfx/codecs.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace orv::gfx::detail {

// Where a decoder writes: the image when decoding, nothing when only
// validating. Decoders go through this so both paths run the same checks.
struct DecodeTarget {
    Image* image = nullptr; // nullptr: validate only
    const DecodeLimits* limits = nullptr;
    std::string* error = nullptr;

    bool Fail(const std::string& reason) const {
        if (error)
            *error = reason;
        return false;
    }
    // Checks width and height against the limits (and against zero).
    bool CheckSize(int64_t width, int64_t height, const char* what) const;
    // Checks the size and, when decoding, allocates the image filled with
    // the given pixel value.
    bool Allocate(int64_t width, int64_t height, uint32_t fill, const char* what) const;
};

inline uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t Le32s(const uint8_t* p) {
    return static_cast<int32_t>(Le32(p));
}

inline constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

inline constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
inline bool HasPngSignature(const uint8_t* data, size_t size) {
    return size >= 8 && std::memcmp(data, kPngSignature, 8) == 0;
}

// One decoder per format. Each writes into target.image when it is set.
bool DecodeBmp(const uint8_t* data, size_t size, const DecodeTarget& target);
bool DecodeIco(const uint8_t* data, size_t size, const DecodeTarget& target);
bool DecodePng(const uint8_t* data, size_t size, const DecodeTarget& target);
bool DecodeJpeg(const uint8_t* data, size_t size, const DecodeTarget& target);
bool DecodeGif(const uint8_t* data, size_t size, const DecodeTarget& target);
bool CheckMetafile(const uint8_t* data, size_t size, const DecodeTarget& target);

// A device-independent bitmap without file header: the BMP body and the
// image format inside icons. For icons the stored height covers the colour
// rows and the AND mask rows, and the mask is applied.
enum class DibKind { File, Icon };
bool DecodeDib(const uint8_t* data, size_t size, size_t pixelOffset, DibKind kind,
               const DecodeTarget& target);

// An image an encoder can write: not empty, with one pixel per position.
inline bool EncodableImage(const Image& image) {
    return !image.Empty() && image.pixels.size() == static_cast<size_t>(image.width) *
                                                        static_cast<size_t>(image.height);
}

// Whether every pixel is fully opaque.
inline bool AllOpaque(const Image& image) {
    for (uint32_t p : image.pixels)
        if ((p >> 24) != 0xFF)
            return false;
    return true;
}

} // namespace orv::gfx::detail
