#include "transitions/engine.h"

#include "gfx/stretch.h"
#include "transitions/effect_draw.h"

#include <algorithm>

namespace orv::transitions {

int ClampStep(int step) {
    return std::clamp(step, 1, 100);
}

int NextProgress(int progress, int step, bool reverse) {
    step = ClampStep(step);
    if (reverse)
        return progress > step ? progress - step : 0;
    return progress < 100 - step ? progress + step : 100;
}

bool ProgressAtEnd(int progress, bool reverse) {
    return reverse ? progress <= 0 : progress >= 100;
}

gfx::Rect PlacementRect(int pw, int ph, int cw, int ch, bool center) {
    gfx::Rect r{0, 0, pw, ph};
    if (center)
        r = gfx::Offset(r, (cw - pw) / 2, (ch - ph) / 2);
    return r;
}

gfx::Rect AspectFit(int w, int h, const gfx::Rect& target) {
    const int tw = target.Width(), th = target.Height();
    if (w <= 0 || h <= 0)
        return gfx::Rect{target.left, target.top, target.left, target.top};
    int rw, rh;
    // th / h > tw / w, compared without rounding.
    if (int64_t{th} * w > int64_t{tw} * h) {
        rw = tw;
        rh = MulDiv(h, tw, w);
    } else {
        rh = th;
        rw = MulDiv(w, th, h);
    }
    const int left = target.left + (tw - rw) / 2;
    const int top = target.top + (th - rh) / 2;
    return gfx::Rect{left, top, left + rw, top + rh};
}

gfx::Rect Layout::Placement() const {
    return PlacementRect(pictureWidth, pictureHeight, clientWidth, clientHeight, center);
}

gfx::Rect Layout::FrameArea() const {
    if (!stretch)
        return Placement();
    if (stretchFine)
        return AspectFit(pictureWidth, pictureHeight, Client());
    return Client();
}

gfx::Rect Layout::MapToWindow(const gfx::Rect& r) const {
    const gfx::Rect p = Placement();
    if (!stretch)
        return gfx::Intersect(gfx::Offset(r, p.left, p.top), p);
    const gfx::Rect t = FrameArea();
    if (p.Width() <= 0 || p.Height() <= 0)
        return gfx::Rect{};
    return gfx::Rect{t.left + MulDiv(r.left, t.Width(), p.Width()),
                     t.top + MulDiv(r.top, t.Height(), p.Height()),
                     t.left + MulDiv(r.right, t.Width(), p.Width()),
                     t.top + MulDiv(r.bottom, t.Height(), p.Height())};
}

void DrawBackground(gfx::Image& target, const gfx::Rect& q, uint32_t color,
                    const gfx::Image& background, BackgroundMode mode) {
    gfx::FillRect(target, q, color);
    if (background.Empty() || q.Empty())
        return;
    const int gw = background.width, gh = background.height;
    switch (mode) {
    case BackgroundMode::Tiled:
        for (int i = 0; i <= q.Height() / gh; ++i)
            for (int j = 0; j <= q.Width() / gw; ++j)
                gfx::DrawImage(target, q.left + j * gw, q.top + i * gh, background, true);
        break;
    case BackgroundMode::Stretched:
        gfx::StretchDraw(target, q, background, gfx::Bounds(background),
                         gfx::StretchFilter::Nearest, true);
        break;
    case BackgroundMode::Centered:
        gfx::DrawImage(target, (q.Width() - gw) / 2, (q.Height() - gh) / 2, background, true);
        break;
    case BackgroundMode::None:
        break;
    }
}

void RenderDisplay(gfx::Image& target, const Layout& layout, uint32_t color,
                   const gfx::Image& background, BackgroundMode mode, const gfx::Image& frame) {
    if (target.width != layout.clientWidth || target.height != layout.clientHeight)
        target = gfx::MakeImage(layout.clientWidth, layout.clientHeight);
    DrawBackground(target, layout.Client(), color, background, mode);
    if (frame.Empty())
        return;
    const gfx::Rect area = layout.FrameArea();
    if (!layout.stretch)
        gfx::DrawImage(target, area.left, area.top, frame, false);
    else
        CopyScaled(target, area, frame, gfx::Bounds(frame));
}

gfx::Image TakeOldFrame(const gfx::Image& display, const gfx::Rect& source, int pw, int ph,
                        uint32_t color) {
    gfx::Image old = gfx::MakeImage(pw, ph, color);
    CopyScaled(old, gfx::Bounds(old), display, source);
    return old;
}

} // namespace orv::transitions
