// The catalogue of picture transition effects, numbered 1 to 150, and the
// composition of one transition frame. An effect draws the frame for a
// progress strictly between 0 and 100 into a picture that holds the old
// frame on entry; the frames at 0 (the old frame) and 100 (the new
// picture) are the composer's own.
#pragma once

#include "gfx/codecs.h"

#include <string>
#include <string_view>

namespace orv::transitions {

inline constexpr int kEffectCount = 150;
// Style 0 is drawn by the application (custom drawing).
inline constexpr int kCustomStyle = 0;
inline constexpr const char* kCustomStyleName = "Custom";

// Display name of effect 1..150; "Custom" for 0; empty beyond.
std::string_view EffectName(int style);
// The style whose name matches (ASCII letters compared without regard to
// case): "Custom" first, then effects 1, 2, ... 150, so the first match
// wins. -1 when no name matches.
int FindStyleByName(std::string_view name);

// Whether the effects 118 to 122 that work on single pixels (fade and
// pivots) are meant, for which the frame keeps 32 bits per pixel.
bool IsPixelEffect(int style);

// Draws effect `style` (1..150) into screen, which holds the old frame,
// from picture (the new picture, the same size as screen), for `step` (the
// progress increment, 1..100) and `progress` (1..99). Returns false, with
// screen untouched, when style is outside 1..150 or the sizes differ.
bool DrawEffect(int style, gfx::Image& screen, const gfx::Image& picture, int step, int progress);

// The whole frame for `progress` 0..100 (values above 100 count as 100):
// the old frame at 0, the new picture at 100, and effect `style` in
// between. Style 0 (or any style without an effect) shows the old frame
// between the ends; the caller draws over it. oldFrame and picture must be
// the same size; otherwise the frame is the new picture.
void ComposeFrame(int style, const gfx::Image& oldFrame, const gfx::Image& picture, int step,
                  int progress, gfx::Image& frame);

} // namespace orv::transitions
