// The background of panels and pages, in the painter's order: the colour
// or gradient, then the background picture. The caption (text) is drawn by
// the Windows layer after this; the border and the editor's grid follow
// (border.h).
#pragma once

#include "gfx/border.h"
#include "gfx/color.h"
#include "gfx/gradient.h"
#include "gfx/placement.h"
#include "gfx/raster.h"

namespace orv::gfx {

// The stored painter fields that shape the background, with colours
// already resolved.
struct PanelBackground {
    ColorRef panelColor = 0;    // the parent panel's colour: fill, or gradient colour A
    int gradientStyle = 0;      // 0 None .. 8 LeftRightMiddle
    ColorRef gradientColor = 0; // gradient colour B
    int backImageStyle = 2;     // 0 Normal, 1 Center, 2 Stretch, 3 Tile
};

// Fills `client` (clipped to the canvas) with the colour or gradient and
// draws the picture, when it is not empty, over it: blended by its alpha,
// stretched with the platform's colour-on-colour rule.
void PaintPanelBackground(Image& canvas, const Rect& client, const PanelBackground& back,
                          const Image* picture);

// Draws a picture into an area by fill mode (tiles clipped to the area).
void DrawPictureFill(Image& canvas, const Rect& area, ImageFill fill, const Image& picture);

} // namespace orv::gfx
