// Format dispatch, format sniffing, the metafile header check and the size
// checks that every decoder shares.
#include "gfx/codec_detail.h"

#include <new>

namespace orv::gfx {
namespace detail {

bool DecodeTarget::CheckSize(int64_t width, int64_t height, const char* what) const {
    if (width <= 0 || height <= 0)
        return Fail(std::string(what) + ": empty picture");
    const int64_t maxDim = limits ? limits->maxDimension : kMaxDimension;
    const int64_t maxPixels = limits ? limits->maxPixels : kMaxPixels;
    // Both factors are at most maxDimension here, so the product cannot
    // overflow 64 bits.
    if (width > maxDim || height > maxDim || width * height > maxPixels)
        return Fail(std::string(what) + ": picture too large (" + std::to_string(width) + " x " +
                    std::to_string(height) + ")");
    return true;
}

bool DecodeTarget::Allocate(int64_t width, int64_t height, uint32_t fill, const char* what) const {
    if (!CheckSize(width, height, what))
        return false;
    if (!image)
        return true;
    try {
        image->pixels.assign(static_cast<size_t>(width * height), fill);
    } catch (const std::bad_alloc&) {
        image->pixels.clear();
        return Fail(std::string(what) + ": out of memory");
    }
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    return true;
}

// Enhanced metafile: the first record is the header (type 1) and carries the
// signature " EMF" at offset 40. Placeable metafile: the 22-byte header with
// its key and checksum, followed by the standard metafile header.
bool CheckMetafile(const uint8_t* data, size_t size, const DecodeTarget& target) {
    if (size >= 4 && Le32(data) == 0x9AC6CDD7u) {
        if (size < 22 + 18)
            return target.Fail("Metafile: file too short");
        uint16_t sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= Le16(data + 2 * i);
        if (sum != Le16(data + 20))
            return target.Fail("Metafile: header checksum is wrong");
        const uint8_t* wmf = data + 22;
        const uint16_t type = Le16(wmf);
        const uint16_t headerWords = Le16(wmf + 2);
        if ((type != 1 && type != 2) || headerWords != 9)
            return target.Fail("Metafile: damaged metafile header");
        return true;
    }
    if (size >= 44 && Le32(data) == 1 && Le32(data + 40) == 0x464D4520u) {
        const uint32_t headerSize = Le32(data + 4);
        if (headerSize < 88 || headerSize > size)
            return target.Fail("Metafile: damaged header record");
        const uint32_t totalSize = Le32(data + 48);
        if (totalSize < headerSize || totalSize > size)
            return target.Fail("Metafile: file is shorter than its header says");
        return true;
    }
    return target.Fail("Metafile: neither an enhanced nor a placeable metafile");
}

} // namespace detail

bool DecodePicture(PictureFormat format, const uint8_t* data, size_t size, Image* out,
                   std::string* error) {
    return DecodePicture(format, data, size, out, error, DecodeLimits{});
}

bool DecodePicture(PictureFormat format, const uint8_t* data, size_t size, Image* out,
                   std::string* error, const DecodeLimits& limits) {
    Image decoded;
    detail::DecodeTarget target;
    target.image = out ? &decoded : nullptr;
    target.limits = &limits;
    target.error = error;
    if (out)
        *out = Image{};
    if (!data && size > 0)
        return target.Fail("no data");
    if (size == 0)
        return target.Fail("empty picture data");
    bool ok = false;
    switch (format) {
    case PictureFormat::Bitmap:
        ok = detail::DecodeBmp(data, size, target);
        break;
    case PictureFormat::Icon:
        ok = detail::DecodeIco(data, size, target);
        break;
    case PictureFormat::Metafile:
        ok = detail::CheckMetafile(data, size, target);
        decoded = Image{};
        break;
    case PictureFormat::Jpeg:
        ok = detail::DecodeJpeg(data, size, target);
        break;
    case PictureFormat::Gif:
        ok = detail::DecodeGif(data, size, target);
        break;
    case PictureFormat::Png:
        ok = detail::DecodePng(data, size, target);
        break;
    default:
        return target.Fail("unknown picture format");
    }
    if (ok && out)
        *out = std::move(decoded);
    return ok;
}

bool SniffPictureFormat(const uint8_t* data, size_t size, PictureFormat& format) {
    if (!data)
        return false;
    if (detail::HasPngSignature(data, size)) {
        format = PictureFormat::Png;
    } else if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        format = PictureFormat::Jpeg;
    } else if (size >= 6 &&
               (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) {
        format = PictureFormat::Gif;
    } else if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        format = PictureFormat::Bitmap;
    } else if (size >= 6 && detail::Le16(data) == 0 && detail::Le16(data + 2) == 1 &&
               detail::Le16(data + 4) > 0) {
        format = PictureFormat::Icon;
    } else if (size >= 4 && detail::Le32(data) == 0x9AC6CDD7u) {
        format = PictureFormat::Metafile;
    } else if (size >= 44 && detail::Le32(data) == 1 && detail::Le32(data + 40) == 0x464D4520u) {
        format = PictureFormat::Metafile;
    } else {
        return false;
    }
    return true;
}

} // namespace orv::gfx
