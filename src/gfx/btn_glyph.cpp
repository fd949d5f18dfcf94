#include "gfx/btn_glyph.h"

#include <algorithm>

namespace orv::gfx {

namespace {

constexpr int kSlide = 2;
constexpr int kThemeNormal = 1, kThemeHot = 2, kThemePressed = 3, kThemeDisabled = 4;

// Stored margins and spacings are int32 values a damaged file can set to
// anything: the arithmetic runs wide and saturates.
int Sat(int64_t v) {
    return SaturateToInt(v);
}

} // namespace

ButtonFace FaceOf(ButtonState state, bool pointerInside) {
    if (state == ButtonState::Disabled)
        return ButtonFace::Disabled;
    if (IsPressedOrLatched(state))
        return ButtonFace::MouseDown;
    return pointerInside ? ButtonFace::MouseOver : ButtonFace::Normal;
}

ButtonFace PictureFaceOf(ButtonFace face, bool faceHasPicture) {
    return faceHasPicture ? face : ButtonFace::Normal;
}

ImageButtonFrame PlanImageButtonFrame(int buttonStyle, bool themesActive, ButtonState state,
                                      bool pointerInside) {
    using S = ImageButtonStyle;
    const S style = buttonStyle >= 0 && buttonStyle <= 4 ? static_cast<S>(buttonStyle) : S::Normal;
    const bool pressed = IsPressedOrLatched(state);
    const bool enabled = state != ButtonState::Disabled;
    const bool flat = style == S::NormalFlat || style == S::ThemesFlat;
    ImageButtonFrame f;
    if (style == S::Transparent)
        return f;
    if (themesActive && (style == S::Themes || style == S::ThemesFlat)) {
        f.kind = ImageButtonFrame::Kind::Themed;
        f.toolbar = style == S::ThemesFlat;
        f.themeState = !enabled        ? kThemeDisabled
                       : pressed       ? kThemePressed
                       : pointerInside ? kThemeHot
                                       : kThemeNormal;
        return f;
    }
    if (flat) {
        if (pressed || (pointerInside && enabled)) {
            f.kind = ImageButtonFrame::Kind::FlatEdge;
            f.pushed = pressed;
        } else {
            f.kind = ImageButtonFrame::Kind::FaceFill;
        }
        f.ditherInset = 1;
        f.dither = state == ButtonState::Latched && !pointerInside;
    } else {
        f.kind = ImageButtonFrame::Kind::PushButton;
        f.pushed = pressed;
        f.ditherInset = 2;
        f.dither = state == ButtonState::Latched;
    }
    return f;
}

int SlideOffset(bool downSlide, ButtonState state) {
    return downSlide && IsPressedOrLatched(state) ? kSlide : 0;
}

GlyphPlacement PlaceGlyph(int imageLayout, const Rect& unclamped, int pw, int ph, int tw, int th,
                          int margin, int spacing, int slide) {
    using L = GlyphLayout;
    const Rect area = ClampRect(unclamped);
    const L layout = imageLayout >= 0 && imageLayout <= 5 ? static_cast<L>(imageLayout) : L::Left;
    const bool pic = pw > 0 && ph > 0;
    if (!pic)
        pw = ph = 0;
    const int64_t W = area.Width(), H = area.Height();
    const int64_t M = margin, S = spacing, iw = pw, ih = ph, w = tw, h = th;
    int64_t px = 0, py = 0, x = 0, y = 0;
    switch (layout) {
    case L::Left:
        px = M;
        py = (H - ih) / 2;
        // The margin counts twice when there is a picture.
        x = pic ? 2 * M + iw + S : M + S;
        if (x + w > W - M)
            x = W - M - w;
        y = (H - h) / 2;
        break;
    case L::Top:
        px = (W - iw) / 2;
        py = M;
        x = (W - w) / 2;
        y = pic ? 2 * M + ih + S : M + S;
        if (y + h > H - M)
            y = H - M - h;
        break;
    case L::Right:
        px = W - M - iw;
        py = (H - ih) / 2;
        x = pic ? px - w - S : W - M - S - w;
        x = std::max(x, M);
        y = (H - h) / 2;
        break;
    case L::Bottom:
        px = (W - iw) / 2;
        py = H - M - ih;
        x = (W - w) / 2;
        // Without a picture the caption ends the spacing above the bottom
        // margin, as it ends the spacing above a picture.
        y = pic ? py - S - h : H - M - S - h;
        y = std::max(y, M);
        break;
    case L::Center:
    case L::Stretch:
        px = (W - iw) / 2;
        py = (H - ih) / 2;
        x = (W - w) / 2;
        y = (H - h) / 2 + S;
        break;
    }
    GlyphPlacement g;
    const int64_t ox = int64_t{area.left} + slide, oy = int64_t{area.top} + slide;
    if (pic) {
        if (layout == L::Stretch)
            g.picture = Rect{Sat(ox + M), Sat(oy + M), Sat(ox + W - M), Sat(oy + H - M)};
        else
            g.picture = RectOfSize(Sat(ox + px), Sat(oy + py), pw, ph);
    }
    g.textX = Sat(ox + x);
    g.textY = Sat(oy + y);
    g.textClip =
        Rect{Sat(area.left + M), Sat(area.top + M), Sat(area.right - M), Sat(area.bottom - M)};
    return g;
}

void KeyOutBottomLeft(Image& image) {
    if (image.Empty())
        return;
    const uint32_t key = image.At(0, image.height - 1) & 0xFFFFFFu;
    for (uint32_t& p : image.pixels)
        if ((p & 0xFFFFFFu) == key)
            p = key; // alpha 0
}

void FillChecker(Image& image, const Rect& unclamped, int originX, int originY, ColorRef a,
                 ColorRef b) {
    const Rect r = Intersect(ClampRect(unclamped), Bounds(image));
    if (r.Empty())
        return;
    const uint32_t pa = ToArgb(a), pb = ToArgb(b);
    for (int y = r.top; y < r.bottom; ++y) {
        uint32_t* row = image.Row(y);
        const int64_t dy = int64_t{y} - originY;
        for (int x = r.left; x < r.right; ++x) {
            const int64_t dx = int64_t{x} - originX;
            row[x] = ((dx ^ dy) & 1) == 0 ? pb : pa;
        }
    }
}

} // namespace orv::gfx
