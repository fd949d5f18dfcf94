// JPEG through libjpeg: colour, grayscale and CMYK (Adobe's inverted CMYK
// and YCCK included). libjpeg reports fatal errors through error_exit, which
// must not return; we longjmp back into the small function that made the
// call. Those functions hold only plain data, so the jump skips no
// destructor. Warnings (for example a file cut off in the middle of the
// image, which libjpeg fills with gray) are accepted silently.
#include "gfx/codec_detail.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <new>
#include <vector>

namespace orv::gfx::detail {
namespace {

// A progressive file may hold any number of scans, and each one walks the
// whole picture. Real files use about ten; more than this is an attack on
// decoding time.
constexpr int kMaxScans = 500;

struct JpegContext {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

JpegContext* ContextOf(j_common_ptr info) {
    // The error manager is the first thing the context sets up, and every
    // callback gets the decompressor, which is the context's first member.
    return reinterpret_cast<JpegContext*>(info);
}

void JpegErrorExit(j_common_ptr info) {
    JpegContext* context = ContextOf(info);
    (*info->err->format_message)(info, context->message);
    std::longjmp(context->jump, 1);
}

void JpegEmitMessage(j_common_ptr, int) {}
void JpegOutputMessage(j_common_ptr) {}

void JpegProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        JpegContext* context = ContextOf(info);
        std::snprintf(context->message, sizeof context->message, "too many scans");
        std::longjmp(context->jump, 1);
    }
}

bool JpegReadHeader(JpegContext* c, const uint8_t* data, size_t size, long maxMemory) {
    if (setjmp(c->jump))
        return false;
    jpeg_create_decompress(&c->info);
    c->info.mem->max_memory_to_use = maxMemory;
    c->info.progress = &c->progress;
    jpeg_mem_src(&c->info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&c->info, TRUE);
    switch (c->info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        c->info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        c->info.out_color_space = JCS_CMYK;
        break;
    default:
        c->info.out_color_space = JCS_RGB;
        break;
    }
    return true;
}

// Decodes the scanlines one by one into `row` and, when `out` is set,
// converts each into the image row.
bool JpegReadRows(JpegContext* c, uint8_t* row, size_t rowBytes, Image* out) {
    if (setjmp(c->jump))
        return false;
    jpeg_start_decompress(&c->info);
    const JDIMENSION width = c->info.output_width;
    const int components = c->info.output_components;
    // The row and the image were sized from the header.
    if ((out && (static_cast<int64_t>(width) != out->width ||
                 static_cast<int64_t>(c->info.output_height) != out->height)) ||
        static_cast<uint64_t>(width) * components > rowBytes ||
        (components != 1 && components != 3 && components != 4)) {
        std::snprintf(c->message, sizeof c->message, "unexpected output layout");
        return false;
    }
    const bool inverted = c->info.saw_Adobe_marker != 0;
    while (c->info.output_scanline < c->info.output_height) {
        const JDIMENSION y = c->info.output_scanline;
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&c->info, rows, 1) != 1)
            break;
        if (!out)
            continue;
        uint32_t* dst = &out->At(0, static_cast<int>(y));
        const uint8_t* s = row;
        for (JDIMENSION x = 0; x < width; ++x, s += components) {
            if (components == 1) {
                dst[x] = Argb(255, s[0], s[0], s[0]);
            } else if (components == 3) {
                dst[x] = Argb(255, s[0], s[1], s[2]);
            } else {
                // Adobe writes CMYK inverted (0 = full ink); others do not.
                uint32_t cc = s[0], m = s[1], yy = s[2], k = s[3];
                if (!inverted) {
                    cc = 255 - cc;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                dst[x] = Argb(255, (cc * k + 127) / 255, (m * k + 127) / 255, (yy * k + 127) / 255);
            }
        }
    }
    return true;
}

struct JpegGuard {
    JpegContext* context;
    ~JpegGuard() { jpeg_destroy_decompress(&context->info); }
};

} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, const DecodeTarget& t) {
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8)
        return t.Fail("JPEG: not a JPEG file");
    JpegContext context{};
    context.info.err = jpeg_std_error(&context.errors);
    context.errors.error_exit = JpegErrorExit;
    context.errors.emit_message = JpegEmitMessage;
    context.errors.output_message = JpegOutputMessage;
    context.progress.progress_monitor = JpegProgress;

    // libjpeg's own working memory (progressive files keep every
    // coefficient): a bound tied to the pixel limit, so that a file cannot
    // make it allocate far beyond what the picture needs.
    const int64_t maxPixels = t.limits ? t.limits->maxPixels : kMaxPixels;
    const int64_t budget = std::min<int64_t>(maxPixels * 8 + (32 << 20), 1LL << 30);
    const long maxMemory = static_cast<long>(std::min<int64_t>(budget, 0x7FFFFFFF));

    JpegGuard guard{&context};
    if (!JpegReadHeader(&context, data, size, maxMemory))
        return t.Fail(std::string("JPEG: ") + context.message);
    const int64_t width = context.info.image_width;
    const int64_t height = context.info.image_height;
    if (!t.Allocate(width, height, 0xFF000000u, "JPEG"))
        return false;
    const int components = context.info.out_color_space == JCS_GRAYSCALE ? 1
                           : context.info.out_color_space == JCS_CMYK    ? 4
                                                                         : 3;
    std::vector<uint8_t> row;
    try {
        row.resize(static_cast<size_t>(width) * components);
    } catch (const std::bad_alloc&) {
        return t.Fail("JPEG: out of memory");
    }
    if (!JpegReadRows(&context, row.data(), row.size(), t.image)) {
        if (t.image)
            *t.image = Image{};
        return t.Fail(std::string("JPEG: ") + context.message);
    }
    return true;
}

} // namespace orv::gfx::detail
