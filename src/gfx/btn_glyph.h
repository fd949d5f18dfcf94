// The image button's arithmetic: which picture and font a state shows, how
// its frame is drawn for each style, where picture and caption go; and the
// automatic transparent colour of bitmaps, which image buttons and
// transparent images key out.
#pragma once

#include "gfx/color.h"
#include "gfx/raster.h"

#include <cstdint>

namespace orv::gfx {

// The ButtonStyle byte.
enum class ImageButtonStyle : uint8_t { Normal = 0, NormalFlat, Themes, ThemesFlat, Transparent };
// The ImageLayout byte.
enum class GlyphLayout : uint8_t { Left = 0, Top, Right, Bottom, Center, Stretch };

// The states of a speed button: Down while the left button holds it
// pressed, Latched while it stays down in its group.
enum class ButtonState : uint8_t { Up, Disabled, Down, Latched };

// The four faces in the stored order of the fonts and pictures.
enum class ButtonFace : uint8_t { MouseDown = 0, Normal, MouseOver, Disabled };

inline bool IsPressedOrLatched(ButtonState s) {
    return s == ButtonState::Down || s == ButtonState::Latched;
}

// The face a state shows: disabled, pressed or latched, up with the
// pointer inside, up with the pointer outside.
ButtonFace FaceOf(ButtonState state, bool pointerInside);
// The picture that face shows: its own, or the Normal one when it has none.
ButtonFace PictureFaceOf(ButtonFace face, bool faceHasPicture);

// How the frame of an image button is drawn.
struct ImageButtonFrame {
    enum class Kind : uint8_t {
        None,       // Transparent: neither frame nor fill
        Themed,     // the theme's element for themeState
        PushButton, // the platform's push-button frame, pushed when `pushed`
        FlatEdge,   // a thin edge with the face filled: sunken when `pushed`, else raised
        FaceFill,   // the face colour only
    };
    Kind kind = Kind::None;
    bool pushed = false;
    bool toolbar = false; // Themed: the tool-bar button element, else the push button
    int themeState = 1;   // Themed: 1 normal, 2 hot, 3 pressed, 4 disabled
    bool dither = false;  // a latched button's pattern of face and highlight
    int ditherInset = 0;  // the pattern fills the button inset by this
};
// A style byte beyond the table counts as Normal, the default.
ImageButtonFrame PlanImageButtonFrame(int buttonStyle, bool themesActive, ButtonState state,
                                      bool pointerInside);

// How far picture and caption slide right and down: 2 pixels while pressed
// or latched with DownSlide on.
int SlideOffset(bool downSlide, ButtonState state);

// Where an image button's picture and caption go inside `area` (the button
// rectangle, or the theme's content rectangle), for a picture of pw x ph
// (0 x 0 without one), a caption of tw x th, margin and spacing; `slide`
// moves both right and down. Divisions truncate toward zero. A layout byte
// beyond the table counts as Left, the default.
struct GlyphPlacement {
    Rect picture;  // where the picture is drawn (scaled for Stretch); empty without one
    int textX = 0; // the caption's top-left
    int textY = 0;
    Rect textClip; // the caption is clipped to the area inset by the margin
};
GlyphPlacement PlaceGlyph(int imageLayout, const Rect& area, int pictureWidth, int pictureHeight,
                          int textWidth, int textHeight, int margin, int spacing, int slide);

// The platform's automatic transparent colour of a bitmap is the colour of
// its bottom-left pixel: every pixel of that colour becomes fully
// transparent. An empty image is left alone.
void KeyOutBottomLeft(Image& image);

// A latched button's dither: a checker of two colours over rect, `b` where
// x and y (relative to `origin`) have the same parity, `a` elsewhere.
// Clipped to the image.
void FillChecker(Image& image, const Rect& rect, int originX, int originY, ColorRef a, ColorRef b);

} // namespace orv::gfx
