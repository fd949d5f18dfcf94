// Full-page drawing work: a gradient background, a stretched picture
// (both filters) and an alpha-blended overlay, at 1920 x 1080.
#include "gfx/gradient.h"
#include "gfx/raster.h"
#include "gfx/stretch.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orv::gfx;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

Image Picture(int w, int h) {
    Image image = MakeImage(w, h);
    uint32_t state = 1;
    for (uint32_t& p : image.pixels) {
        state = state * 134775813u + 1;
        p = state | 0xFF000000u;
    }
    return image;
}

void BM_FillGradient(benchmark::State& state) {
    Image canvas = MakeImage(kWidth, kHeight);
    const int code = static_cast<int>(state.range(0));
    for (auto _ : state) {
        FillGradient(canvas, code, MakeColorRef(10, 20, 30), Bounds(canvas),
                     MakeColorRef(250, 200, 100));
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}
BENCHMARK(BM_FillGradient)->Arg(1)->Arg(3)->Arg(7)->Unit(benchmark::kMicrosecond);

void BM_Stretch(benchmark::State& state) {
    const bool smooth = state.range(0) != 0;
    const bool enlarge = state.range(1) != 0;
    const Image source = enlarge ? Picture(800, 600) : Picture(3000, 2000);
    Image canvas = MakeImage(kWidth, kHeight);
    for (auto _ : state) {
        StretchDraw(canvas, Bounds(canvas), source, Bounds(source),
                    smooth ? StretchFilter::Smooth : StretchFilter::Nearest, false);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
    state.SetLabel(std::string(smooth ? "smooth" : "nearest") +
                   (enlarge ? " 800x600 up" : " 3000x2000 down"));
}
BENCHMARK(BM_Stretch)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

void BM_BlendImage(benchmark::State& state) {
    Image canvas = MakeImage(kWidth, kHeight, 0xFF336699);
    Image overlay = Picture(kWidth, kHeight);
    for (uint32_t& p : overlay.pixels)
        p = (p & 0x00FFFFFF) | ((p >> 3) & 0xFF) << 24;
    for (auto _ : state) {
        DrawImage(canvas, 0, 0, overlay, true);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}
BENCHMARK(BM_BlendImage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
