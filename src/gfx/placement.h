// Where a picture goes inside an area: the fill modes of panel and text
// backgrounds (normal, centre, stretch, tile), the Image control's
// stretch / centre / proportional rule and the slide show's fitting.
// Divisions by two truncate toward zero, so a picture larger than its area
// gets a negative offset and shows its middle.
#pragma once

#include "gfx/raster.h"

namespace orv::gfx {

enum class ImageFill { Normal, Center, Stretch, Tile };

// A panel's BackImageStyle byte: 0 Normal, 1 Center, 2 Stretch, 3 Tile.
// Returns false for other values (nothing is drawn).
bool PanelImageFill(int backImageStyle, ImageFill& fill);
// A text texture or background mode: 0 Tiled, 1 Stretched, 2 Center,
// 3 Normal. Returns false for other values.
bool TextureImageFill(int mode, ImageFill& fill);

// Copies of a picture to draw: the first at `first` (its drawn size), then
// `columns` x `rows` copies in all, each step the size of `first`.
struct ImageTiles {
    Rect first;
    int columns = 0;
    int rows = 0;
};

// Normal: at the area's top-left. Center: at ((left + right - w) div 2,
// (top + bottom - h) div 2). Stretch: the whole area. Tile: from the
// top-left, (area width div w + 1) columns by (area height div h + 1) rows,
// so partial copies fill the right and bottom edges. An empty picture or
// area gives no copies.
ImageTiles PlaceImage(ImageFill fill, const Rect& area, int imageWidth, int imageHeight);

// The Image control: the target rectangle of a w x h picture in a cw x ch
// client. Stretch (or Proportional with a picture larger than the client)
// scales it: to the client, or keeping the aspect ratio with Proportional;
// Center then shifts it by ((cw - w) div 2, (ch - h) div 2).
Rect PlacePicture(bool stretch, bool center, bool proportional, int clientWidth, int clientHeight,
                  int pictureWidth, int pictureHeight);

// The slide show's ImageStyle: 0 Normal, 1 Center, 2 Stretch, 3 ShrinkFit
// (fit only a picture that does not fit), 4 EnlargeFit (always fit). Fitted
// pictures keep their aspect ratio and are centred. Other values place the
// picture as Normal.
Rect PlaceSlide(int imageStyle, int areaWidth, int areaHeight, int pictureWidth, int pictureHeight);

} // namespace orv::gfx
