#include "gfx/border.h"
#include "gfx/gradient.h"
#include "objects/containers.h"

namespace orv::objects {

namespace {

// Stored bytes beyond their table fall back to the field's default.
uint8_t OrDefault(uint8_t value, uint8_t last, uint8_t fallback) {
    return value <= last ? value : fallback;
}

} // namespace

// ---------------------------------------------------------------- TPanelBack

void TPanelBack::SetGrid(bool shown, int spacingX, int spacingY) {
    grid_ = shown;
    gridX_ = spacingX;
    gridY_ = spacingY;
}

void TPanelBack::Paint(const win::Canvas& canvas, const RECT& client,
                       const model::TPanelBack& props, int32_t color, const model::TFont& font) {
    HDC dc = canvas.dc;
    if (client.right <= client.left || client.bottom <= client.top)
        return;
    // 1. Background: the panel colour, or a gradient from it.
    const COLORREF base = win::ResolveColor(color);
    const int code = gfx::PanelGradientCode(props.GradientStyle);
    if (code == 0) {
        SetDCBrushColor(dc, base);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    } else {
        win::FillGradient(dc, code, base, client, win::ResolveColor(props.GradientColor));
    }
    // 2. Picture.
    if (picture_.Assign(props.BackImage)) {
        gfx::ImageFill fill = gfx::ImageFill::Stretch;
        gfx::PanelImageFill(OrDefault(props.BackImageStyle, 3, 2), fill);
        picture_.DrawPlaced(dc, fill, client);
    }
    // 3. Caption.
    if (!props.Caption.empty())
        win::DrawAlignedText(dc, props.Caption, client, true, OrDefault(props.Layout, 2, 1),
                             OrDefault(props.Alignment, 2, 2), font);
    // 4. Border and 5. grid, pixel by pixel.
    const uint8_t border = OrDefault(props.Border, 6, 1);
    if (border == 0 && !grid_)
        return;
    canvas.EditPixels(client, [&](gfx::Image& pixels, const gfx::Rect& r) {
        if (border != 0)
            gfx::DrawPanelBorder(pixels, r, border, OrDefault(props.BorderStyle, 2, 2),
                                 win::ResolveColor(props.BorderColor),
                                 win::ResolveColor(props.ShadowColor));
        if (grid_)
            gfx::DrawGrid(pixels, r, gridX_, gridY_);
    });
}

// ------------------------------------------------------------------ TAuPanel

TAuPanel::TAuPanel(TAuObject& record) : TAuKind(record) {
    SetRaisesDescendantEnterLeave(true);
    SetColor(Props().BackColor);
}

void TAuPanel::FillCreateArgs(win::CreateArgs& args) {
    if (Props().Border == 1)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuPanel::PropertiesChanged() {
    SetColor(Props().BackColor);
    if (HWND h = Handle()) {
        LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        LONG want = Props().Border == 1 ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
        if (want != ex) {
            SetWindowLongW(h, GWL_EXSTYLE, want);
            SetWindowPos(h, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
        }
    }
    Invalidate();
}

void TAuPanel::PaintBackground(const win::Canvas& canvas) {
    back_.Paint(canvas, ClientArea(), Props().Back, Props().BackColor, Props().Font);
}

} // namespace orv::objects
