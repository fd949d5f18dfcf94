#include "objects/containers.h"

#include <algorithm>

namespace orv::objects {

namespace {

constexpr int kLineStep = 16;

} // namespace

TAuScrollBox::TAuScrollBox(TAuObject& record) : TAuKind(record) {
    SetRaisesDescendantEnterLeave(true);
    SetColor(Props().BackColor);
}

void TAuScrollBox::FillCreateArgs(win::CreateArgs& args) {
    if (Props().Border != 0)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuScrollBox::HandleCreated() {
    UpdateScrollBars();
}

void TAuScrollBox::Resized() {
    UpdateScrollBars();
}

void TAuScrollBox::ChildrenLoaded() {
    UpdateScrollBars();
}

void TAuScrollBox::ChildrenChanged() {
    // While the children are being loaded ChildrenLoaded does it once.
    if (!AlignSuspended())
        UpdateScrollBars();
}

void TAuScrollBox::PropertiesChanged() {
    SetColor(Props().BackColor);
    if (HWND h = Handle()) {
        LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        LONG want = Props().Border != 0 ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
        if (want != ex) {
            SetWindowLongW(h, GWL_EXSTYLE, want);
            SetWindowPos(h, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
        }
    }
    UpdateScrollBars();
    Invalidate();
}

void TAuScrollBox::UpdateScrollBars() {
    HWND h = Handle();
    if (!h)
        return;
    if (DesignView()) {
        // The design view shows the whole design: no scroll bars.
        ShowScrollBar(h, SB_BOTH, FALSE);
        SetScrollOffset(POINT{0, 0});
        return;
    }
    // How far the children reach; aligned children follow the box anyway.
    SIZE extent{0, 0};
    for (int i = 0; i < ChildCount(); ++i) {
        const win::Control& c = Child(i);
        if (!c.Visible() || c.GetAlign() != win::Align::None)
            continue;
        extent.cx = std::max<LONG>(extent.cx, c.BoundsRect().right);
        extent.cy = std::max<LONG>(extent.cy, c.BoundsRect().bottom);
    }
    extent_ = extent;
    // Showing one bar narrows the other side: settle in two rounds.
    for (int round = 0; round < 2; ++round) {
        RECT client;
        GetClientRect(h, &client);
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMin = 0;
        // A range that fits in the page hides the bar.
        si.nMax = std::max<LONG>(extent.cx - 1, 0);
        si.nPage = static_cast<UINT>(std::max<LONG>(client.right, 1));
        SetScrollInfo(h, SB_HORZ, &si, TRUE);
        si.nMax = std::max<LONG>(extent.cy - 1, 0);
        si.nPage = static_cast<UINT>(std::max<LONG>(client.bottom, 1));
        SetScrollInfo(h, SB_VERT, &si, TRUE);
    }
    POINT s = ScrollOffset();
    ScrollTo(s.x, s.y);
}

void TAuScrollBox::ScrollTo(int x, int y) {
    HWND h = Handle();
    if (!h)
        return;
    RECT client;
    GetClientRect(h, &client);
    x = std::clamp<int>(x, 0, std::max<LONG>(extent_.cx - client.right, 0));
    y = std::clamp<int>(y, 0, std::max<LONG>(extent_.cy - client.bottom, 0));
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = x;
    SetScrollInfo(h, SB_HORZ, &si, TRUE);
    si.nPos = y;
    SetScrollInfo(h, SB_VERT, &si, TRUE);
    SetScrollOffset(POINT{x, y});
}

void TAuScrollBox::Scroll(int bar, int code) {
    HWND h = Handle();
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(h, bar, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP:
        pos -= kLineStep;
        break;
    case SB_LINEDOWN:
        pos += kLineStep;
        break;
    case SB_PAGEUP:
        pos -= static_cast<int>(si.nPage);
        break;
    case SB_PAGEDOWN:
        pos += static_cast<int>(si.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // Follow the thumb while it is dragged.
        pos = si.nTrackPos;
        break;
    case SB_TOP:
        pos = si.nMin;
        break;
    case SB_BOTTOM:
        pos = si.nMax;
        break;
    default:
        return;
    }
    POINT s = ScrollOffset();
    if (bar == SB_HORZ)
        ScrollTo(pos, s.y);
    else
        ScrollTo(s.x, pos);
    UpdateWindow(h);
}

LRESULT TAuScrollBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HSCROLL:
        Scroll(SB_HORZ, LOWORD(wp));
        return 0;
    case WM_VSCROLL:
        Scroll(SB_VERT, LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(wp);
        POINT s = ScrollOffset();
        ScrollTo(s.x, s.y - delta * 3 * kLineStep / WHEEL_DELTA);
        return 0;
    }
    default:
        return TAuKind::HandleMessage(msg, wp, lp);
    }
}

} // namespace orv::objects
