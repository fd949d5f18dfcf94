// Frames per second of representative transition effects on a 640 x 480
// picture: one frame composed from the old frame and the new picture, as
// the animation thread does it for every progress value.
#include "gfx/raster.h"
#include "transitions/effects.h"

#include <benchmark/benchmark.h>

namespace {

using orv::gfx::Image;

Image Pattern(uint32_t base) {
    Image img = orv::gfx::MakeImage(640, 480);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            img.At(x, y) = base ^ static_cast<uint32_t>((x * 7) ^ (y * 13));
    return img;
}

// One effect across a whole transition with step 4 (25 frames), reported
// per frame.
void BM_Frame(benchmark::State& state) {
    const int style = static_cast<int>(state.range(0));
    const Image old = Pattern(0xFF102030), pic = Pattern(0xFFC08040);
    Image frame;
    int progress = 0;
    for (auto _ : state) {
        progress = progress >= 96 ? 4 : progress + 4;
        orv::transitions::ComposeFrame(style, old, pic, 4, progress, frame);
        benchmark::DoNotOptimize(frame.pixels.data());
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(std::string(orv::transitions::EffectName(style)));
}

// A copy, a scaled copy, bars, a rounded region, shreds, a polygon fan,
// the fade, a pivot, random squares and a push.
BENCHMARK(BM_Frame)
    ->Arg(5)
    ->Arg(51)
    ->Arg(60)
    ->Arg(84)
    ->Arg(65)
    ->Arg(143)
    ->Arg(118)
    ->Arg(119)
    ->Arg(127)
    ->Arg(128)
    ->Arg(150)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
