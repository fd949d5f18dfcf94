// Bevel: a windowless 3D box, frame or line.
#include "objects/buttons.h"

#include "gfx/border.h"

namespace orv::objects {

namespace {

constexpr int kDefaultSize = 193;

} // namespace

TAuBevel::TAuBevel(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultSize, kDefaultSize);
}

void TAuBevel::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuBevel::PropertiesChanged() {
    Invalidate();
}

void TAuBevel::Paint(const win::Canvas& canvas) {
    if (!Record())
        return;
    const model::BevelProps& p = Props();
    const RECT client = ClientRect();
    const bool spacer = p.Shape == static_cast<uint8_t>(gfx::BevelShape::Spacer);
    if (!spacer) {
        const gfx::ColorRef light = win::ResolveColor(p.Highlight);
        const gfx::ColorRef dark = win::ResolveColor(p.Shadow);
        canvas.EditPixels(client, [&](gfx::Image& pixels, const gfx::Rect& r) {
            gfx::DrawBevel(pixels, r, p.Shape, p.Style, light, dark);
        });
    } else if (canvas.designView) {
        win::DrawDesignOutline(canvas.dc, client);
    }
}

} // namespace orv::objects
