// The arithmetic of page windows: where a page is placed in its area, how
// its fades step, and how a container's children are ordered (windowless
// kinds first). Portable, so it is tested without a window.
#pragma once

#include "model/object.h"

#include <cstdint>
#include <vector>

namespace orv {

struct PlaceRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

struct Placement {
    int32_t left = 0, top = 0, width = 0, height = 0;
};

// Places a window of the current size in area A by the page's Position
// code with margin M; designedLeft/Top are used by Position 0. Codes
// outside 0..13 keep the current position.
Placement PlaceWindow(const PlaceRect& area, int position, int32_t margin, int32_t designedLeft,
                      int32_t designedTop, const Placement& current);

// Window alpha (0..255) for a percentage, with integer division.
int AlphaFromPercent(int percent);
// Alpha values a fade passes through, 25 ms apart: in from 0 up to target,
// or out from start down to 0, by stepPercent of 255 (at least 1). The
// last value is the exact end value. Percentages outside 0..100 are
// clamped here, where they are applied.
std::vector<int> FadeInSteps(int stepPercent, int targetAlpha);
std::vector<int> FadeOutSteps(int stepPercent, int startAlpha);

// True for the kinds drawn by their parent (no window of their own).
bool IsWindowlessKind(model::TAuObjectKind kind);

// Moves a child from one index to another, then stably puts the windowless
// kinds before the windowed ones. Invalid or equal indexes change nothing.
void ReorderChild(model::TAuObject& parent, int from, int to);

} // namespace orv
