// Decoding a full-HD picture, as a page background or slide would be: PNG
// (RGB and RGBA) and JPEG (baseline and progressive), decode and
// validate-only.
#include "gfx/codecs.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace {

using orv::gfx::Image;
using orv::gfx::PictureFormat;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Smooth gradients with some noise: compresses like a photograph rather
// than like a flat fill.
Image MakePicture(bool alpha) {
    Image image{kWidth, kHeight, {}};
    image.pixels.resize(static_cast<size_t>(kWidth) * kHeight);
    uint32_t state = 12345;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            state = state * 134775813u + 1;
            const uint32_t noise = state >> 28;
            const uint32_t r = (x * 255 / kWidth + noise) & 0xFF;
            const uint32_t g = (y * 255 / kHeight + noise) & 0xFF;
            const uint32_t b = ((x + y) / 12 + noise) & 0xFF;
            const uint32_t a = alpha ? ((x / 8) & 0xFF) : 0xFF;
            image.At(x, y) = a << 24 | r << 16 | g << 8 | b;
        }
    return image;
}

std::vector<uint8_t> EncodeJpeg(const Image& image, bool progressive) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(image.width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.At(x, static_cast<int>(info.next_scanline));
            row[3 * x] = static_cast<uint8_t>(p >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(p);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

void RunDecode(benchmark::State& state, PictureFormat format, const std::vector<uint8_t>& bytes,
               bool validateOnly) {
    for (auto _ : state) {
        Image image;
        std::string error;
        if (!orv::gfx::DecodePicture(format, bytes.data(), bytes.size(),
                                     validateOnly ? nullptr : &image, &error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.counters["file_KiB"] = static_cast<double>(bytes.size()) / 1024;
    state.counters["Mpixel/s"] = benchmark::Counter(static_cast<double>(kWidth) * kHeight / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

const std::vector<uint8_t>& PngRgb() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> out;
        orv::gfx::EncodePng(MakePicture(false), out);
        return out;
    }();
    return bytes;
}

const std::vector<uint8_t>& PngRgba() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> out;
        orv::gfx::EncodePng(MakePicture(true), out);
        return out;
    }();
    return bytes;
}

const std::vector<uint8_t>& Jpeg(bool progressive) {
    static const std::vector<uint8_t> baseline = EncodeJpeg(MakePicture(false), false);
    static const std::vector<uint8_t> prog = EncodeJpeg(MakePicture(false), true);
    return progressive ? prog : baseline;
}

void BM_DecodePngRgb(benchmark::State& s) {
    RunDecode(s, PictureFormat::Png, PngRgb(), false);
}
void BM_DecodePngRgba(benchmark::State& s) {
    RunDecode(s, PictureFormat::Png, PngRgba(), false);
}
void BM_ValidatePngRgb(benchmark::State& s) {
    RunDecode(s, PictureFormat::Png, PngRgb(), true);
}
void BM_DecodeJpeg(benchmark::State& s) {
    RunDecode(s, PictureFormat::Jpeg, Jpeg(false), false);
}
void BM_DecodeJpegProgressive(benchmark::State& s) {
    RunDecode(s, PictureFormat::Jpeg, Jpeg(true), false);
}
void BM_ValidateJpeg(benchmark::State& s) {
    RunDecode(s, PictureFormat::Jpeg, Jpeg(false), true);
}

BENCHMARK(BM_DecodePngRgb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePngRgba)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidatePngRgb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpegProgressive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidateJpeg)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
