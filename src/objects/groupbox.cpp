#include "objects/containers.h"
#include "win/interact.h"
#include "win/theme.h"

namespace orv::objects {

namespace {

constexpr int kGroupBoxPart = 4; // BP_GROUPBOX
constexpr int kStateNormal = 1, kStateDisabled = 2;
constexpr int kCaptionIndent = 8;

} // namespace

TAuGroupBox::TAuGroupBox(TAuObject& record) : TAuKind(record) {
    SetRaisesDescendantEnterLeave(true);
    SetColor(Props().BackColor);
}

void TAuGroupBox::PropertiesChanged() {
    SetColor(Props().BackColor);
    Realign();
    Invalidate();
}

void TAuGroupBox::EnabledChanged() {
    win::WinControl::EnabledChanged();
    Invalidate();
}

RECT TAuGroupBox::AlignArea() {
    // Children aligned in a group box stay inside its frame, below the
    // caption line.
    RECT r = ClientArea();
    HDC dc = GetDC(nullptr);
    TEXTMETRICW tm{};
    if (dc) {
        HGDIOBJ old = SelectObject(dc, win::FontHandle(Props().Font));
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
    r.left += 1;
    r.top += tm.tmHeight;
    r.right -= 1;
    r.bottom -= 1;
    if (r.bottom < r.top)
        r.bottom = r.top;
    if (r.right < r.left)
        r.right = r.left;
    return r;
}

void TAuGroupBox::PaintBackground(const win::Canvas& canvas) {
    HDC dc = canvas.dc;
    const RECT client = ClientArea();
    const COLORREF fill = win::ResolveColor(Props().BackColor);
    SetDCBrushColor(dc, fill);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    HGDIOBJ oldFont = SelectObject(dc, win::FontHandle(Props().Font));
    SIZE zero{0, 0};
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    std::wstring caption = win::Widen(Props().Caption);
    SIZE cap{0, 0};
    if (!caption.empty())
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &cap);
    const RECT frame{0, zero.cy / 2, client.right, client.bottom};
    const RECT capRect{kCaptionIndent, 0, kCaptionIndent + cap.cx, cap.cy};

    bool themed = false;
    if (!canvas.designView && win::theme::Active()) {
        const int state = Enabled() ? kStateNormal : kStateDisabled;
        themed = win::theme::DrawElement(Handle(), dc, L"BUTTON", kGroupBoxPart, state, frame,
                                         nullptr, false);
        if (themed && !caption.empty()) {
            FillRect(dc, &capRect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            win::theme::DrawElementText(Handle(), dc, L"BUTTON", kGroupBoxPart, state, caption,
                                        DT_LEFT | DT_SINGLELINE, capRect);
        }
    }
    if (!themed) {
        // The 3D look: a highlight outline one pixel right and down, and a
        // shadow outline over it.
        RECT light{frame.left + 1, frame.top + 1, frame.right, frame.bottom};
        RECT dark{frame.left, frame.top, frame.right - 1, frame.bottom - 1};
        FrameRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        FrameRect(dc, &dark, GetSysColorBrush(COLOR_BTNSHADOW));
        if (!caption.empty()) {
            SetDCBrushColor(dc, fill);
            FillRect(dc, &capRect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            int oldMode = SetBkMode(dc, TRANSPARENT);
            COLORREF oldColor = SetTextColor(dc, Enabled() ? win::FontColor(Props().Font)
                                                           : GetSysColor(COLOR_GRAYTEXT));
            RECT r = capRect;
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                      DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
            SetTextColor(dc, oldColor);
            SetBkMode(dc, oldMode);
        }
    }
    SelectObject(dc, oldFont);
}

} // namespace orv::objects
