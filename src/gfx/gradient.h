// Two-colour gradients drawn as one-pixel lines, as the panels and pages
// paint their backgrounds.
#pragma once

#include "gfx/color.h"
#include "gfx/raster.h"

namespace orv::gfx {

// The eight gradient codes of FillGradient.
namespace gradient {
inline constexpr int kTopBottom = 1;       // A at the top, B at the bottom
inline constexpr int kBottomTop = 2;       // B at the top, A at the bottom
inline constexpr int kLeftRight = 3;       // A at the left, B at the right
inline constexpr int kRightLeft = 4;       // B at the left, A at the right
inline constexpr int kMiddleTopBottom = 5; // A in the middle rows, B at top and bottom
inline constexpr int kTopBottomMiddle = 6; // B in the middle rows, A at top and bottom
inline constexpr int kMiddleLeftRight = 7; // A in the middle columns, B at the sides
inline constexpr int kLeftRightMiddle = 8; // B in the middle columns, A at the sides
} // namespace gradient

// Fills `rect` of the canvas (clipped to it) with a gradient from a to b in
// the style `code` (1..8). Every row (codes 1, 2, 5, 6) or column (3, 4, 7,
// 8) takes one colour of InterpolateColor. Nothing is drawn for an empty
// rectangle or an unknown code. Pixels are written opaque.
void FillGradient(Image& canvas, int code, ColorRef a, const Rect& rect, ColorRef b);

// The FillGradient code of a panel's GradientStyle (0 None, 1 TopBottom,
// 2 BottomTop, 3 LeftRight, 4 RightLeft, 5 MiddleTopBottom,
// 6 MiddleLeftRight, 7 TopBottomMiddle, 8 LeftRightMiddle): 0 for None; a
// style beyond 8 counts as TopBottom.
int PanelGradientCode(int gradientStyle);

} // namespace orv::gfx
