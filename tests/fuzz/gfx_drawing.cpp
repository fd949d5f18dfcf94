// Drives the drawing functions with arbitrary rectangles, styles, sizes and
// colours, as a damaged project file could supply them (object bounds,
// gradient and border bytes, picture sizes). Besides running clean under
// the sanitizers, nothing may be drawn outside the rectangle it was given.
#include "gfx/border.h"
#include "gfx/gradient.h"
#include "gfx/panel_back.h"
#include "gfx/placement.h"
#include "gfx/raster.h"
#include "gfx/stretch.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

using namespace orv::gfx;

constexpr uint32_t kSentinel = 0x13572468;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Coordinates are mostly small, sometimes anything.
int Coordinate(FuzzedDataProvider& in) {
    if (in.ConsumeBool())
        return in.ConsumeIntegral<int>();
    return in.ConsumeIntegralInRange(-40, 40);
}

Rect AnyRect(FuzzedDataProvider& in) {
    return Rect{Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in)};
}

Image SmallImage(FuzzedDataProvider& in) {
    Image image = MakeImage(in.ConsumeIntegralInRange(1, 24), in.ConsumeIntegralInRange(1, 24));
    for (uint32_t& p : image.pixels)
        p = in.ConsumeIntegral<uint32_t>();
    return image;
}

// Every pixel outside `allowed` must still hold the sentinel.
void CheckOnlyInside(const Image& canvas, const Rect& allowed) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (x < allowed.left || x >= allowed.right || y < allowed.top || y >= allowed.bottom)
                Check(canvas.At(x, y) == kSentinel);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Image canvas =
        MakeImage(in.ConsumeIntegralInRange(1, 48), in.ConsumeIntegralInRange(1, 48), kSentinel);
    const Rect rect = AnyRect(in);
    const ColorRef a = in.ConsumeIntegral<uint32_t>() & 0xFFFFFF;
    const ColorRef b = in.ConsumeIntegral<uint32_t>() & 0xFFFFFF;
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
        FillGradient(canvas, in.ConsumeIntegralInRange(-1, 10), a, rect, b);
        CheckOnlyInside(canvas, rect);
        break;
    case 1:
        DrawPanelBorder(canvas, rect, in.ConsumeIntegralInRange(-1, 8),
                        in.ConsumeIntegralInRange(-1, 4), a, b);
        CheckOnlyInside(canvas, rect);
        break;
    case 2:
        DrawBevel(canvas, rect, in.ConsumeIntegralInRange(-1, 8), in.ConsumeIntegralInRange(-1, 3),
                  a, b);
        CheckOnlyInside(canvas, rect);
        break;
    case 3:
        DrawGrid(canvas, rect, in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>());
        CheckOnlyInside(canvas, rect);
        break;
    case 4: {
        const Image picture = SmallImage(in);
        PaintPanelBackground(
            canvas, rect,
            {a, in.ConsumeIntegralInRange(-1, 12), b, in.ConsumeIntegralInRange(-1, 5)}, &picture);
        CheckOnlyInside(canvas, rect);
        break;
    }
    case 5: {
        const Image picture = SmallImage(in);
        const Rect src = AnyRect(in);
        const auto filter = in.ConsumeBool() ? StretchFilter::Smooth : StretchFilter::Nearest;
        StretchDraw(canvas, rect, picture, src, filter, in.ConsumeBool());
        CheckOnlyInside(canvas, rect);
        break;
    }
    case 6: {
        // Placement arithmetic with any sizes: only overflow matters here.
        const int w = in.ConsumeIntegral<int>(), h = in.ConsumeIntegral<int>();
        const int cw = in.ConsumeIntegral<int>(), ch = in.ConsumeIntegral<int>();
        PlacePicture(in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(), cw, ch, w, h);
        PlaceSlide(in.ConsumeIntegralInRange(-1, 5), cw, ch, w, h);
        PlaceImage(static_cast<ImageFill>(in.ConsumeIntegralInRange(0, 3)), rect, w, h);
        break;
    }
    default: {
        const Image picture = SmallImage(in);
        const int x = Coordinate(in), y = Coordinate(in);
        DrawImage(canvas, x, y, picture, in.ConsumeBool());
        CheckOnlyInside(canvas, RectOfSize(x, y, picture.width, picture.height));
        DrawLine(canvas, Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in), a);
        break;
    }
    }
    return 0;
}
