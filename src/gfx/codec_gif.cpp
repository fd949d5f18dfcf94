// GIF through giflib, read from memory record by record. Only the first
// frame is decoded: it is composed onto a transparent logical screen at its
// own position, with its transparency index honoured. The whole-file reader
// of giflib is avoided on purpose: it would allocate every frame, at sizes
// taken from the file, before we could check them.
#include "gfx/codec_detail.h"

#include <gif_lib.h>

#include <algorithm>
#include <new>
#include <vector>

namespace orv::gfx::detail {
namespace {

struct GifSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int GifReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    if (count <= 0)
        return 0;
    const size_t n = std::min(static_cast<size_t>(count), source->size - source->pos);
    std::memcpy(out, source->data + source->pos, n);
    source->pos += n;
    return static_cast<int>(n);
}

struct GifGuard {
    GifFileType* gif = nullptr;
    ~GifGuard() {
        if (gif) {
            int error = 0;
            DGifCloseFile(gif, &error);
        }
    }
};

std::string GifReason(int code) {
    const char* text = GifErrorString(code);
    return std::string("GIF: ") + (text ? text : "damaged file");
}

} // namespace

bool DecodeGif(const uint8_t* data, size_t size, const DecodeTarget& t) {
    if (size < 6 || (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0))
        return t.Fail("GIF: not a GIF file");
    GifSource source{data, size, 0};
    int error = 0;
    GifGuard guard;
    guard.gif = DGifOpen(&source, GifReadFromMemory, &error);
    if (!guard.gif)
        return t.Fail(GifReason(error));
    GifFileType* gif = guard.gif;

    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return t.Fail(GifReason(gif->Error));
        if (type == TERMINATE_RECORD_TYPE)
            return t.Fail("GIF: the file holds no image");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                return t.Fail(GifReason(gif->Error));
            // The graphic control block before the first image carries its
            // transparency index (flag bit 0, index in the fourth byte).
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                transparent = (block[1] & 1) ? block[4] : -1;
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    return t.Fail(GifReason(gif->Error));
            }
            continue;
        }
        if (type == IMAGE_DESC_RECORD_TYPE)
            break;
        return t.Fail("GIF: unknown record");
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        return t.Fail(GifReason(gif->Error));

    const GifImageDesc& frame = gif->Image;
    const int64_t left = frame.Left;
    const int64_t top = frame.Top;
    const int64_t frameWidth = frame.Width;
    const int64_t frameHeight = frame.Height;
    // Some writers leave the logical screen at zero: the frame then decides.
    int64_t screenWidth = gif->SWidth;
    int64_t screenHeight = gif->SHeight;
    if (screenWidth <= 0 || screenHeight <= 0) {
        screenWidth = left + frameWidth;
        screenHeight = top + frameHeight;
    }
    if (!t.CheckSize(frameWidth, frameHeight, "GIF"))
        return false;
    if (!t.Allocate(screenWidth, screenHeight, 0, "GIF"))
        return false;

    uint32_t palette[256];
    std::fill(std::begin(palette), std::end(palette), 0xFF000000u);
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (map && map->Colors) {
        const int count = std::min(map->ColorCount, 256);
        for (int i = 0; i < count; ++i) {
            const GifColorType& c = map->Colors[i];
            palette[i] = Argb(255, c.Red, c.Green, c.Blue);
        }
    } else {
        // No colour table at all: a gray ramp keeps the picture visible.
        for (uint32_t i = 0; i < 256; ++i)
            palette[i] = Argb(255, i, i, i);
    }

    std::vector<GifPixelType> line;
    try {
        line.resize(static_cast<size_t>(frameWidth));
    } catch (const std::bad_alloc&) {
        if (t.image)
            *t.image = Image{};
        return t.Fail("GIF: out of memory");
    }

    // Interlaced frames store rows in four passes.
    static constexpr int kPassStart[] = {0, 4, 2, 1};
    static constexpr int kPassStep[] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int64_t start = frame.Interlace ? kPassStart[pass] : 0;
        const int64_t step = frame.Interlace ? kPassStep[pass] : 1;
        for (int64_t fy = start; fy < frameHeight; fy += step) {
            if (DGifGetLine(gif, line.data(), static_cast<int>(frameWidth)) == GIF_ERROR) {
                if (t.image)
                    *t.image = Image{};
                return t.Fail(GifReason(gif->Error));
            }
            const int64_t y = top + fy;
            if (!t.image || y >= screenHeight)
                continue;
            uint32_t* dst = &t.image->At(0, static_cast<int>(y));
            const int64_t end = std::min(frameWidth, screenWidth - left);
            for (int64_t fx = 0; fx < end; ++fx) {
                const GifPixelType index = line[static_cast<size_t>(fx)];
                if (index != transparent)
                    dst[left + fx] = palette[index];
            }
        }
    }
    return true;
}

} // namespace orv::gfx::detail
