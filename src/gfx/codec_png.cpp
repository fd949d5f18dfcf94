// PNG through libpng. Every format (palette, tRNS, gray, gray+alpha, 16-bit
// channels) is expanded to 8-bit RGBA. libpng reports errors by longjmp, so
// each libpng call sequence runs inside a small function that sets the jump
// point and holds nothing with a destructor: a jump leaves that function and
// nothing else, and the caller cleans up normally.
#include "gfx/codec_detail.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

namespace orv::gfx::detail {
namespace {

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
    char message[160];
};

void PngErrorHandler(png_structp png, png_const_charp text) {
    auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
    if (source)
        std::snprintf(source->message, sizeof source->message, "%s", text ? text : "error");
    png_longjmp(png, 1);
}

// Warnings (damaged ancillary chunks and the like) are not the user's
// business and must not reach the console.
void PngWarningHandler(png_structp, png_const_charp) {}

void PngReadFromMemory(png_structp png, png_bytep out, size_t count) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->size - source->pos < count)
        png_error(png, "file is cut off");
    std::memcpy(out, source->data + source->pos, count);
    source->pos += count;
}

struct PngHeader {
    png_uint_32 width;
    png_uint_32 height;
    int passes;
};

// Reads the chunks before the image data and sets up the expansion to RGBA.
bool PngReadHeader(png_structp png, png_infop info, PngHeader* header) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (hasTrns)
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTrns)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    header->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(header->width) * 4)
        png_error(png, "unexpected row layout");
    return true;
}

// Reads every row of every pass. With rowStride 0 all rows go into one
// scratch row (validation only).
bool PngReadRows(png_structp png, uint8_t* base, size_t rowStride, png_uint_32 height, int passes) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, base + rowStride * y, nullptr);
    return true;
}

struct PngReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

} // namespace

bool DecodePng(const uint8_t* data, size_t size, const DecodeTarget& t) {
    if (!HasPngSignature(data, size))
        return t.Fail("PNG: not a PNG file");
    PngSource source{data, size, 0, {0}};
    PngReadGuard guard;
    guard.png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, PngErrorHandler, PngWarningHandler);
    if (!guard.png)
        return t.Fail("PNG: out of memory");
    guard.info = png_create_info_struct(guard.png);
    if (!guard.info)
        return t.Fail("PNG: out of memory");
    png_set_read_fn(guard.png, &source, PngReadFromMemory);

    PngHeader header{};
    if (!PngReadHeader(guard.png, guard.info, &header))
        return t.Fail(std::string("PNG: ") + source.message);
    if (!t.Allocate(header.width, header.height, 0, "PNG"))
        return false;

    bool ok;
    if (t.image) {
        auto* bytes = reinterpret_cast<uint8_t*>(t.image->pixels.data());
        ok = PngReadRows(guard.png, bytes, static_cast<size_t>(header.width) * 4, header.height,
                         header.passes);
        if (ok) {
            // RGBA bytes to 0xAARRGGBB, in place.
            for (uint32_t& pixel : t.image->pixels) {
                uint8_t c[4];
                std::memcpy(c, &pixel, 4);
                pixel = Argb(c[3], c[0], c[1], c[2]);
            }
        }
    } else {
        std::vector<uint8_t> row;
        try {
            row.resize(static_cast<size_t>(header.width) * 4);
        } catch (const std::bad_alloc&) {
            return t.Fail("PNG: out of memory");
        }
        ok = PngReadRows(guard.png, row.data(), 0, header.height, header.passes);
    }
    if (!ok) {
        if (t.image)
            *t.image = Image{};
        return t.Fail(std::string("PNG: ") + source.message);
    }
    return true;
}

} // namespace orv::gfx::detail

namespace orv::gfx {

bool EncodePng(const Image& image, std::vector<uint8_t>& out) {
    out.clear();
    if (!detail::EncodableImage(image))
        return false;
    const bool opaque = detail::AllOpaque(image);
    const size_t channels = opaque ? 3 : 4;
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(image.pixels.size() * channels);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint8_t* b = bytes.data();
    for (uint32_t p : image.pixels) {
        *b++ = static_cast<uint8_t>(p >> 16);
        *b++ = static_cast<uint8_t>(p >> 8);
        *b++ = static_cast<uint8_t>(p);
        if (!opaque)
            *b++ = static_cast<uint8_t>(p >> 24);
    }

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    // The simplified writer contains libpng's error handling itself.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    try {
        out.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int ok = png_image_write_to_memory(&png, out.data(), &size, 0, bytes.data(), 0, nullptr);
    png_image_free(&png);
    if (!ok) {
        out.clear();
        return false;
    }
    out.resize(size);
    return true;
}

} // namespace orv::gfx
