#include "picture_builders.h"

#include <cstdio>
#include <jpeglib.h>

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace orv::gfx::test {

void Put16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

Bytes PadRows(const Bytes& rows, size_t rowBytes) {
    Bytes out;
    const size_t stride = (rowBytes + 3) / 4 * 4;
    for (size_t start = 0; start + rowBytes <= rows.size(); start += rowBytes) {
        out.insert(out.end(), rows.begin() + static_cast<long>(start),
                   rows.begin() + static_cast<long>(start + rowBytes));
        out.resize(out.size() + stride - rowBytes, 0);
    }
    return out;
}

static void PutPalette(Bytes& out, const std::vector<uint32_t>& palette, bool core) {
    for (uint32_t c : palette) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c >> 16));
        if (!core)
            out.push_back(0);
    }
}

Bytes MakeBmp(const BmpParts& parts) {
    Bytes dib;
    const bool core = parts.headerSize == 12;
    Put32(dib, parts.headerSize);
    if (core) {
        Put16(dib, static_cast<uint32_t>(parts.width));
        Put16(dib, static_cast<uint32_t>(parts.height));
        Put16(dib, 1);
        Put16(dib, parts.bpp);
    } else {
        Put32(dib, static_cast<uint32_t>(parts.width));
        Put32(dib, static_cast<uint32_t>(parts.height));
        Put16(dib, 1);
        Put16(dib, parts.bpp);
        Put32(dib, parts.compression);
        Put32(dib, static_cast<uint32_t>(parts.pixels.size()));
        Put32(dib, 2835);
        Put32(dib, 2835);
        Put32(dib, parts.colorsUsed);
        Put32(dib, 0);
        // Larger headers carry the masks inside; the rest is zero.
        for (size_t i = 0; dib.size() < parts.headerSize; ++i)
            Put32(dib, parts.headerSize > 40 && i < parts.masks.size() ? parts.masks[i] : 0);
        if (parts.headerSize == 40)
            for (uint32_t m : parts.masks)
                Put32(dib, m);
    }
    PutPalette(dib, parts.palette, core);

    Bytes file;
    file.push_back('B');
    file.push_back('M');
    Put32(file, static_cast<uint32_t>(14 + dib.size() + parts.pixels.size()));
    Put32(file, 0);
    Put32(file, parts.offBits >= 0 ? static_cast<uint32_t>(parts.offBits)
                                   : static_cast<uint32_t>(14 + dib.size()));
    file.insert(file.end(), dib.begin(), dib.end());
    file.insert(file.end(), parts.pixels.begin(), parts.pixels.end());
    return file;
}

Bytes MakeIconDib(int width, int height, uint16_t bpp, const std::vector<uint32_t>& palette,
                  const Bytes& colorRows, const Bytes& maskRows) {
    Bytes dib;
    Put32(dib, 40);
    Put32(dib, static_cast<uint32_t>(width));
    Put32(dib, static_cast<uint32_t>(height * 2));
    Put16(dib, 1);
    Put16(dib, bpp);
    Put32(dib, 0);
    Put32(dib, static_cast<uint32_t>(colorRows.size() + maskRows.size()));
    Put32(dib, 0);
    Put32(dib, 0);
    Put32(dib, static_cast<uint32_t>(palette.size()));
    Put32(dib, 0);
    PutPalette(dib, palette, false);
    dib.insert(dib.end(), colorRows.begin(), colorRows.end());
    dib.insert(dib.end(), maskRows.begin(), maskRows.end());
    return dib;
}

// ---- PNG ----------------------------------------------------------------

static void PngWrite(png_structp png, png_bytep data, size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
static void PngFlush(png_structp) {}

// Plain data only between setjmp and the libpng calls.
static bool PngWriteAll(png_structp png, png_infop info, const PngParts* s, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(s->width), static_cast<png_uint_32>(s->height),
                 s->bitDepth, s->colorType,
                 s->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    if (!s->palette.empty()) {
        for (size_t i = 0; i < s->palette.size(); ++i) {
            palette[i].red = static_cast<png_byte>(s->palette[i] >> 16);
            palette[i].green = static_cast<png_byte>(s->palette[i] >> 8);
            palette[i].blue = static_cast<png_byte>(s->palette[i]);
        }
        png_set_PLTE(png, info, palette, static_cast<int>(s->palette.size()));
    }
    png_color_16 trnsColor{};
    if (!s->trnsAlpha.empty())
        png_set_tRNS(png, info, s->trnsAlpha.data(), static_cast<int>(s->trnsAlpha.size()),
                     nullptr);
    if (s->trnsGray) {
        trnsColor.gray = s->trnsGrayValue;
        png_set_tRNS(png, info, nullptr, 0, &trnsColor);
    }
    if (s->trnsRgb) {
        trnsColor.red = s->trnsRgbValue[0];
        trnsColor.green = s->trnsRgbValue[1];
        trnsColor.blue = s->trnsRgbValue[2];
        png_set_tRNS(png, info, nullptr, 0, &trnsColor);
    }
    png_write_info(png, info);
    // Rows are given as stored: 16-bit samples big-endian, as libpng expects.
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

Bytes MakePng(const PngParts& parts) {
    int channels = 1;
    switch (parts.colorType) {
    case PNG_COLOR_TYPE_RGB:
        channels = 3;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        channels = 2;
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        channels = 4;
        break;
    default:
        break;
    }
    const size_t rowBytes = (static_cast<size_t>(parts.width) * channels * parts.bitDepth + 7) / 8;
    if (parts.rows.size() != rowBytes * static_cast<size_t>(parts.height))
        throw std::logic_error("MakePng: rows do not match the size");
    Bytes rowsCopy = parts.rows;
    std::vector<png_bytep> rows(static_cast<size_t>(parts.height));
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = rowsCopy.data() + y * rowBytes;

    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, PngWrite, PngFlush);
    const bool ok = PngWriteAll(png, info, &parts, rows.data());
    png_destroy_write_struct(&png, &info);
    if (!ok)
        throw std::logic_error("MakePng: libpng refused the picture");
    return out;
}

// ---- JPEG ---------------------------------------------------------------

struct JpegWriteContext {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    std::jmp_buf jump;
};

static void JpegWriteError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegWriteContext*>(info)->jump, 1);
}

static bool JpegWriteAll(JpegWriteContext* c, const JpegParts* s, unsigned char** buffer,
                         unsigned long* size) {
    if (setjmp(c->jump))
        return false;
    jpeg_create_compress(&c->info);
    jpeg_mem_dest(&c->info, buffer, size);
    c->info.image_width = static_cast<JDIMENSION>(s->width);
    c->info.image_height = static_cast<JDIMENSION>(s->height);
    c->info.input_components = s->components;
    c->info.in_color_space = s->components == 1   ? JCS_GRAYSCALE
                             : s->components == 4 ? JCS_CMYK
                                                  : JCS_RGB;
    jpeg_set_defaults(&c->info);
    jpeg_set_quality(&c->info, s->quality, TRUE);
    if (s->components == 4)
        c->info.write_Adobe_marker = s->adobeMarker ? TRUE : FALSE;
    if (s->progressive)
        jpeg_simple_progression(&c->info);
    jpeg_start_compress(&c->info, TRUE);
    const size_t stride = static_cast<size_t>(s->width) * s->components;
    while (c->info.next_scanline < c->info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(s->samples.data() + stride * c->info.next_scanline);
        jpeg_write_scanlines(&c->info, &row, 1);
    }
    jpeg_finish_compress(&c->info);
    return true;
}

Bytes MakeJpeg(const JpegParts& parts) {
    JpegWriteContext context{};
    context.info.err = jpeg_std_error(&context.errors);
    context.errors.error_exit = JpegWriteError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = JpegWriteAll(&context, &parts, &buffer, &size);
    jpeg_destroy_compress(&context.info);
    Bytes out;
    if (ok && buffer)
        out.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok)
        throw std::logic_error("MakeJpeg: libjpeg refused the picture");
    return out;
}

// ---- GIF ----------------------------------------------------------------

static int GifWrite(GifFileType* gif, const GifByteType* data, int n) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

static ColorMapObject* MakeMap(const std::vector<uint32_t>& palette) {
    if (palette.empty())
        return nullptr;
    int count = 2;
    while (count < static_cast<int>(palette.size()))
        count *= 2;
    std::vector<GifColorType> colors(static_cast<size_t>(count), GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        colors[i] = GifColorType{static_cast<GifByteType>(palette[i] >> 16),
                                 static_cast<GifByteType>(palette[i] >> 8),
                                 static_cast<GifByteType>(palette[i])};
    return GifMakeMapObject(count, colors.data());
}

Bytes MakeGif(const GifParts& parts) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, GifWrite, &error);
    if (!gif)
        throw std::logic_error("MakeGif: open failed");
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = MakeMap(parts.globalPalette);
    bool ok =
        EGifPutScreenDesc(gif, parts.screenWidth, parts.screenHeight, 8, 0, global) != GIF_ERROR;
    GifFreeMapObject(global);
    for (const GifFrame& f : parts.frames) {
        if (f.transparent >= 0) {
            const GifByteType gce[4] = {1, 0, 0, static_cast<GifByteType>(f.transparent)};
            ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, gce) != GIF_ERROR;
        }
        ColorMapObject* local = MakeMap(f.localPalette);
        ok = ok && EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, local) !=
                       GIF_ERROR;
        GifFreeMapObject(local);
        std::vector<int> order;
        if (f.interlaced) {
            const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int p = 0; p < 4; ++p)
                for (int y = start[p]; y < f.height; y += step[p])
                    order.push_back(y);
        } else {
            for (int y = 0; y < f.height; ++y)
                order.push_back(y);
        }
        Bytes line(static_cast<size_t>(f.width));
        for (int y : order) {
            std::memcpy(line.data(), f.indices.data() + static_cast<size_t>(y) * f.width,
                        line.size());
            ok = ok && EGifPutLine(gif, line.data(), f.width) != GIF_ERROR;
        }
    }
    EGifCloseFile(gif, &error);
    if (!ok)
        throw std::logic_error("MakeGif: giflib refused the picture");
    return out;
}

// ---- ICO ----------------------------------------------------------------

Bytes MakeIco(const std::vector<IcoEntry>& entries) {
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(entries.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
    for (const IcoEntry& e : entries) {
        out.push_back(static_cast<uint8_t>(e.width & 0xFF));
        out.push_back(static_cast<uint8_t>(e.height & 0xFF));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, e.bpp);
        Put32(out, static_cast<uint32_t>(e.data.size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(e.data.size());
    }
    for (const IcoEntry& e : entries)
        out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

} // namespace orv::gfx::test
