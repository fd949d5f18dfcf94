// The effect-text pipeline on one 24-point line (32 pixels
// high at the screen's 96 dpi), glyphs from the portable block font: the
// whole text output with shadow, outline and gradient at each quality, and
// each stage on its own at 4x supersampling.
#include "base/random.h"
#include "fxtext/blend.h"
#include "fxtext/blockfont.h"
#include "fxtext/font.h"
#include "fxtext/mask.h"
#include "gfx/raster.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orv;
using namespace orv::fx;

constexpr int kLinePixels = 32; // 24 points at 96 dpi
constexpr const char* kText = "The quick brown fox jumps over the lazy dog";

TFxEffect ShadowOutlineGradient() {
    TFxEffect e;
    e.Shadow.Enabled = true; // blur 80, alpha 70, offset 2, 2
    e.Outline = true;
    e.Gradual.Enabled = true;
    e.Gradual.StartColor = 0x0000FF;
    e.Gradual.EndColor = 0xFF8000;
    return e;
}

void BM_TextOutputLine(benchmark::State& state) {
    const auto quality = static_cast<TFxQuality>(state.range(0));
    TFxBlockFont font(kLinePixels, 0x202020);
    TFxFontEx fx(&font);
    fx.SetQuality(quality);
    fx.Effect().Assign(ShadowOutlineGradient());
    const TFxSize box = fx.TextExtent(kText);
    gfx::Image canvas = gfx::MakeImage(box.width + 8, box.height + 8, 0xFFFFFFFFu);
    for (auto _ : state) {
        fx.TextOutput(canvas, 4, 4, kText);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
    state.SetLabel(std::to_string(box.width) + "x" + std::to_string(box.height) +
                   " f=" + std::to_string(QualityFactor(quality)));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextOutputLine)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The same line without effects: the plain anti-aliased text.
void BM_PlainLine(benchmark::State& state) {
    TFxBlockFont font(kLinePixels, 0x202020);
    TFxFont fx(&font);
    fx.SetQuality(TFxQuality::aqHigh);
    const TFxSize box = fx.TextExtent(kText);
    gfx::Image canvas = gfx::MakeImage(box.width, box.height, 0xFFFFFFFFu);
    for (auto _ : state) {
        fx.TextOutput(canvas, 0, 0, kText);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}
BENCHMARK(BM_PlainLine)->Unit(benchmark::kMicrosecond);

// ---- the stages at 4x, on the line's map ---------------------------------

struct Line {
    TFxBlockFont font{kLinePixels, 0x202020};
    TFxMask mask;
    TFxGrayBitmap scratch;
    Line() {
        mask.SetQuality(TFxQuality::aqHigh);
        mask.Render(font, kText);
        const TFxTextBox box = mask.Measure(font, kText);
        scratch.Reset(box.width * 4, box.height * 4);
        font.Render(kText, 4, 0, 0, scratch);
    }
};

void BM_StageGlyphs(benchmark::State& state) {
    Line line;
    for (auto _ : state) {
        std::fill(line.scratch.bits.begin(), line.scratch.bits.end(), uint8_t{0});
        line.font.Render(kText, 4, 0, 0, line.scratch);
        benchmark::DoNotOptimize(line.scratch.bits.data());
    }
    state.SetLabel("block font, " + std::to_string(line.scratch.width) + "x" +
                   std::to_string(line.scratch.height) + " samples");
}
BENCHMARK(BM_StageGlyphs)->Unit(benchmark::kMicrosecond);

void BM_StageReduce(benchmark::State& state) {
    Line line;
    for (auto _ : state) {
        line.mask.Reduce(line.scratch);
        benchmark::DoNotOptimize(line.mask.Bits().data());
    }
}
BENCHMARK(BM_StageReduce)->Unit(benchmark::kMicrosecond);

void BM_StageOutline(benchmark::State& state) {
    Line line;
    TFxMask m;
    for (auto _ : state) {
        m.Assign(line.mask);
        m.Outline();
        benchmark::DoNotOptimize(m.Bits().data());
    }
}
BENCHMARK(BM_StageOutline)->Unit(benchmark::kMicrosecond);

void BM_StageBlur(benchmark::State& state) {
    Line line;
    TFxMask m;
    for (auto _ : state) {
        m.Assign(line.mask);
        m.Blur(80);
        benchmark::DoNotOptimize(m.Bits().data());
    }
}
BENCHMARK(BM_StageBlur)->Unit(benchmark::kMicrosecond);

void BM_StageSpray(benchmark::State& state) {
    Line line;
    TFxMask m;
    Random::Seed(1);
    for (auto _ : state) {
        m.Assign(line.mask);
        m.Spray(5);
        benchmark::DoNotOptimize(m.Bits().data());
    }
}
BENCHMARK(BM_StageSpray)->Unit(benchmark::kMicrosecond);

void BM_StageBlendColor(benchmark::State& state) {
    Line line;
    gfx::Image canvas = gfx::MakeImage(line.mask.Width(), line.mask.Height(), 0xFFFFFFFFu);
    for (auto _ : state) {
        BlendMaskColor(canvas, 0, 0, line.mask, 70, 0x444444);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}
BENCHMARK(BM_StageBlendColor)->Unit(benchmark::kMicrosecond);

void BM_StageGradientFill(benchmark::State& state) {
    Line line;
    gfx::Image canvas = gfx::MakeImage(line.mask.Width(), line.mask.Height(), 0xFFFFFFFFu);
    gfx::Image fg;
    for (auto _ : state) {
        GradientForeground(fg, line.mask.Width(), line.mask.Height(), gradual::gsLeftToRight,
                           0x0000FF, 0xFF8000);
        BlendMaskImage(canvas, 0, 0, line.mask, 100, fg);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}
BENCHMARK(BM_StageGradientFill)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
