// Shared drawing helpers of the page objects: stored colours, fonts,
// pictures, the two-colour gradient, aligned captions and the design-view
// outline.
#pragma once

#include "gfx/color.h"
#include "gfx/placement.h"
#include "model/values.h"
#include "win/controls/surface.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orv::win {

// ---- colours
// A stored colour as RGB: system colours (top bit set) resolved to their
// current value, others with the top byte dropped.
COLORREF ResolveColor(int32_t stored);
// The current system colours as the table gfx code resolves with.
gfx::SystemColorTable SystemColors();

// ---- fonts
// A font for a stored font description. The handle is shared and stays
// valid for the life of the process (fonts are cached by description).
// Sizes are points at the screen's resolution, clamped to a sane range.
HFONT FontHandle(const model::TFont& font);
// The same font's text colour.
inline COLORREF FontColor(const model::TFont& font) {
    return ResolveColor(font.Color);
}

// ---- the gradient
// Fills rect with a two-colour gradient, code 1..8 (gfx/gradient.h): every
// row or column takes the colour gfx::FillGradient gives it. Nothing is
// drawn for an empty rectangle or another code.
void FillGradient(HDC dc, int code, COLORREF a, const RECT& rect, COLORREF b);

// ---- captions
// Alignment: 0 Left, 1 Right, 2 Center. Layout: 0 Top, 1 Center, 2 Bottom.
// Draws text (ANSI, as stored) with a transparent background, "&" shown as
// it is, tabs expanded, word-wrapped when asked, placed in rect by
// alignment and layout. Text taller than rect is centred or bottom-aligned
// the same way (it then starts above rect).
void DrawAlignedText(HDC dc, const std::string& text, const RECT& rect, bool wordWrap, int layout,
                     int alignment, HFONT font, COLORREF color);
void DrawAlignedText(HDC dc, const std::string& text, const RECT& rect, bool wordWrap, int layout,
                     int alignment, const model::TFont& font);
// The height DrawAlignedText needs for text in a rectangle of that width.
int MeasureTextHeight(HDC dc, const std::string& text, int width, bool wordWrap, HFONT font);

// ---- the design view
// A dotted one-pixel outline of rect in gray (128, 128, 128), inside
// unchanged.
void DrawDesignOutline(HDC dc, const RECT& rect);

// ---- pictures
// A stored picture ready for drawing: decoded once, kept as a DIB section
// (or as an enhanced metafile for the metafile class). A picture that does
// not decode, or has no width or height, is empty.
// An enhanced metafile from stored metafile bytes (EMF, or a placeable WMF
// converted), with its size in screen pixels; null when the bytes are
// neither. The caller deletes it.
HENHMETAFILE LoadMetafile(const std::vector<uint8_t>& bytes, int& width, int& height);

// A cheap fingerprint of picture bytes: the size and up to 4096 bytes
// spread over them. It tells a new picture in the same buffer from the old
// one; editors that change a picture also call PropertiesChanged.
uint64_t PictureFingerprint(const std::vector<uint8_t>& bytes);

class Picture {
public:
    Picture() = default;
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Decodes source unless it is the picture already held. Returns !Empty().
    bool Assign(const model::TPicture& source);
    bool AssignImage(const gfx::Image& image);
    void Clear();

    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The decoded pixels (empty for metafiles).
    const gfx::Image& Pixels() const { return image_; }

    // Draws the picture scaled to dst, blending translucent pixels.
    void Draw(HDC dc, const RECT& dst) const;
    // Placed over area as panels draw their background picture (tiles
    // start at the area's top-left).
    void DrawPlaced(HDC dc, gfx::ImageFill fill, const RECT& area) const;

private:
    ImageBitmap bitmap_;
    gfx::Image image_;
    HENHMETAFILE metafile_ = nullptr;
    int width_ = 0, height_ = 0;
    // What was assigned, to skip decoding the same bytes again.
    const uint8_t* sourceData_ = nullptr;
    size_t sourceSize_ = 0;
    uint64_t sourceHash_ = 0;
    int sourceClass_ = -1;
};

} // namespace orv::win
