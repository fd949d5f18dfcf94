// SimpleText: a plain label.
#include "objects/buttons.h"

namespace orv::objects {

namespace {

constexpr int kDefaultSize = 193;

// Stored bytes beyond their table fall back to the default, 0 (Left, Top).
int OrFirst(uint8_t value) {
    return value <= 2 ? value : 0;
}

} // namespace

TAuSimpleText::TAuSimpleText(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultSize, kDefaultSize);
}

void TAuSimpleText::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuSimpleText::PropertiesChanged() {
    Invalidate();
}

void TAuSimpleText::SetCaption(const std::string& text) {
    Props().Text = text;
    Invalidate();
}

void TAuSimpleText::SetFont(const model::TFont& font) {
    Props().Font = font;
    Invalidate();
}

void TAuSimpleText::SetBackColor(int32_t color) {
    Props().BackColor = color;
    Invalidate();
}

void TAuSimpleText::Paint(const win::Canvas& canvas) {
    if (!Record())
        return;
    HDC dc = canvas.dc;
    const RECT client = ClientRect();
    const model::SimpleTextProps& p = Props();
    if (!p.Transparent) {
        SetDCBrushColor(dc, win::ResolveColor(p.BackColor));
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    const int layout = OrFirst(p.Layout), alignment = OrFirst(p.Alignment);
    if (Enabled()) {
        win::DrawAlignedText(dc, p.Text, client, true, layout, alignment, p.Font);
    } else {
        // Disabled labels are embossed: a highlight copy one pixel right and
        // down under a shadow-coloured one.
        const HFONT font = win::FontHandle(p.Font);
        RECT light = client;
        OffsetRect(&light, 1, 1);
        win::DrawAlignedText(dc, p.Text, light, true, layout, alignment, font,
                             GetSysColor(COLOR_BTNHIGHLIGHT));
        win::DrawAlignedText(dc, p.Text, client, true, layout, alignment, font,
                             GetSysColor(COLOR_BTNSHADOW));
    }
    if (canvas.designView)
        win::DrawDesignOutline(dc, client);
}

} // namespace orv::objects
