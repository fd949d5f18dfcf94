// The arithmetic of the picture transition control, free of windows: the
// progress sequence, where the frame sits in the client area, how picture
// rectangles map to the window, and the composition of background and
// frame that the control paints and takes its old frame from.
#pragma once

#include "gfx/codecs.h"
#include "gfx/raster.h"

#include <cstdint>

namespace orv::transitions {

enum class BackgroundMode : uint8_t { None = 0, Tiled = 1, Stretched = 2, Centered = 3 };

inline constexpr int kDefaultStyle = 51;
inline constexpr int kDefaultStep = 4;
inline constexpr int kDefaultDelay = 40;

// A stored step as used: 0 counts as 1, values above 100 as 100.
int ClampStep(int step);

// The progress after `progress`: forward it grows by step up to 100, in
// reverse it shrinks by step down to 0.
int NextProgress(int progress, int step, bool reverse);
// Whether progress is the last one of a run (100 forward, 0 in reverse).
bool ProgressAtEnd(int progress, bool reverse);

// Where a picture of pw x ph sits in a client area of cw x ch when not
// stretched: at the top left, or centred (which may start left of or above
// the client's origin when the picture is larger).
gfx::Rect PlacementRect(int pw, int ph, int cw, int ch, bool center);

// The size (w, h) fitted into target with its aspect kept, centred.
gfx::Rect AspectFit(int w, int h, const gfx::Rect& target);

// How the frame is shown in the client area.
struct Layout {
    int clientWidth = 0;
    int clientHeight = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    bool center = false;
    bool stretch = false;
    bool stretchFine = false;

    gfx::Rect Client() const { return gfx::Rect{0, 0, clientWidth, clientHeight}; }
    gfx::Rect Placement() const;
    // Where the whole frame is drawn: the placement rectangle unstretched,
    // else the aspect fit (StretchFine) or the whole client area.
    gfx::Rect FrameArea() const;
    // The window area that shows the picture-space rectangle r.
    gfx::Rect MapToWindow(const gfx::Rect& r) const;
};

// Fills q of target with colour (0xAARRGGBB) and draws the background
// picture over it by mode.
void DrawBackground(gfx::Image& target, const gfx::Rect& q, uint32_t color,
                    const gfx::Image& background, BackgroundMode mode);

// What the control shows: background over the whole client area and, when
// the frame is not empty, the frame in its place.
void RenderDisplay(gfx::Image& target, const Layout& layout, uint32_t color,
                   const gfx::Image& background, BackgroundMode mode, const gfx::Image& frame);

// The old frame of a transition: the area `source` of the display scaled
// (rows and columns dropped or repeated) to the picture's size. Parts of
// the area outside the display take `color`.
gfx::Image TakeOldFrame(const gfx::Image& display, const gfx::Rect& source, int pw, int ph,
                        uint32_t color);

} // namespace orv::transitions
