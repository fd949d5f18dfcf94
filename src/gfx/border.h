// Borders of the panel background painter, bevels, and the editor's grid
// dots: one-pixel lines placed exactly as the platform's pen draws them.
#pragma once

#include "gfx/color.h"
#include "gfx/raster.h"

namespace orv::gfx {

// A panel's Border byte.
enum class PanelBorder { None = 0, Box, Frame, LeftLine, TopLine, RightLine, BottomLine };
// A panel's BorderStyle byte.
enum class PanelBorderStyle { Flat = 0, Lowered, Raised };

// First, second and mid colour of a panel border: Flat F = S = border
// colour; Lowered F = shadow, S = border colour; Raised F = border colour,
// S = shadow. M has each channel (F + S) div 2. A style byte beyond 2
// counts as Raised, the default.
struct BorderColors {
    ColorRef first;
    ColorRef second;
    ColorRef mid;
};
BorderColors PanelBorderColors(int borderStyle, ColorRef borderColor, ColorRef shadowColor);

// Draws the border of a panel over its client rectangle, clipped to it as
// the platform clips a control's painting. `border` and `borderStyle` are
// the stored bytes; border 0 and unknown values draw nothing.
void DrawPanelBorder(Image& canvas, const Rect& client, int border, int borderStyle,
                     ColorRef borderColor, ColorRef shadowColor);

// A Bevel's Shape and Style bytes.
enum class BevelShape { Box = 0, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class BevelStyle { Lowered = 0, Raised };

// Draws a bevel over `bounds` (its width and height are the control's),
// clipped to it.
// Lowered: first colour dark, second light; Raised: the reverse. Spacer and
// unknown shapes draw nothing; a style byte other than 0 counts as Raised.
void DrawBevel(Image& canvas, const Rect& bounds, int shape, int style, ColorRef light,
               ColorRef dark);

// The editor's grid on a page's root panel: a black pixel at every
// (i * gx, j * gy) for i = 0 .. width div gx and j = 0 .. height div gy,
// relative to the client's top-left. Spacings below 1 draw nothing.
void DrawGrid(Image& canvas, const Rect& client, int gx, int gy);

} // namespace orv::gfx
