// Button: a platform push button that we draw ourselves, so that its
// caption takes the colour of its font, and that Enter and Escape press in
// any window, not only in dialogs.
#include "objects/buttons.h"
#include "win/interact.h"

#include <algorithm>
#include <memory>

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 97, kDefaultHeight = 25;
constexpr int kPushButtonPart = 1; // BP_PUSHBUTTON
constexpr int kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateDisabled = 4,
              kStateDefaulted = 5;
// Space between the classic frame and the caption, and the focus mark.
constexpr int kClassicTextInset = 3, kClassicFocusInset = 4;

// The live buttons of the thread in creation order, and the message hook
// that hands them Enter and Escape.
struct LiveButtons {
    std::vector<TAuStandardButton*> buttons;
    HHOOK hook = nullptr;
};

LiveButtons& Live() {
    static LiveButtons live;
    return live;
}

LRESULT CALLBACK DialogKeyHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE && lp) {
        try {
            MSG* m = reinterpret_cast<MSG*>(lp);
            if (TAuStandardButton::HandleDialogKey(*m))
                m->message = WM_NULL; // taken: nothing else sees the key
        } catch (...) {
            // Nothing may unwind into the platform.
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

TAuStandardButton::TAuStandardButton(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, kDefaultHeight);
    // The button reports its own clicks (BN_CLICKED), also from the keyboard.
    SetSynthesizeClick(false);
    LiveButtons& live = Live();
    live.buttons.push_back(this);
    if (!live.hook)
        live.hook = SetWindowsHookExW(WH_GETMESSAGE, DialogKeyHook, nullptr, GetCurrentThreadId());
}

TAuStandardButton::~TAuStandardButton() {
    LiveButtons& live = Live();
    live.buttons.erase(std::remove(live.buttons.begin(), live.buttons.end(), this),
                       live.buttons.end());
    if (live.buttons.empty() && live.hook) {
        UnhookWindowsHookEx(live.hook);
        live.hook = nullptr;
    }
}

void TAuStandardButton::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuStandardButton::FillCreateArgs(win::CreateArgs& args) {
    args.className = L"BUTTON";
    args.style |= BS_OWNERDRAW;
    if (Props().TabStop)
        args.style |= WS_TABSTOP;
    args.text = win::Widen(Props().Caption);
}

void TAuStandardButton::HandleCreated() {
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(Props().Font)),
                 FALSE);
}

void TAuStandardButton::PropertiesChanged() {
    if (HWND h = Handle()) {
        SetWindowTextW(h, win::Widen(Props().Caption).c_str());
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(Props().Font)), FALSE);
        const LONG style = GetWindowLongW(h, GWL_STYLE);
        const LONG want = Props().TabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (want != style)
            SetWindowLongW(h, GWL_STYLE, want);
    }
    Invalidate();
}

void TAuStandardButton::SetCaption(const std::string& text) {
    Props().Caption = text;
    if (HWND h = Handle())
        SetWindowTextW(h, win::Widen(text).c_str());
    Invalidate();
}

void TAuStandardButton::SetFont(const model::TFont& font) {
    Props().Font = font;
    if (HWND h = Handle())
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), FALSE);
    Invalidate();
}

bool TAuStandardButton::CanFocus() const {
    if (!Handle() || !IsWindowVisible(Handle()))
        return false;
    for (const win::Control* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return IsWindowEnabled(GetAncestor(Handle(), GA_ROOT)) != FALSE;
}

bool TAuStandardButton::HandleDialogKey(const MSG& m) {
    if (m.message != WM_KEYDOWN || !m.hwnd || (m.wParam != VK_RETURN && m.wParam != VK_ESCAPE))
        return false;
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    LiveButtons& live = Live();
    if (live.buttons.empty())
        return false;
    // A control that takes the key itself (a multi-line edit) keeps it.
    MSG copy = m;
    const LRESULT code =
        SendMessageW(m.hwnd, WM_GETDLGCODE, m.wParam, reinterpret_cast<LPARAM>(&copy));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
        return false;
    const HWND root = GetAncestor(m.hwnd, GA_ROOT);
    const bool enter = m.wParam == VK_RETURN;
    TAuStandardButton* target = nullptr;
    if (enter) {
        // Enter presses the focused button first, as in a dialog.
        auto* focused = dynamic_cast<TAuStandardButton*>(win::Window::FromHandle(m.hwnd));
        if (focused && focused->Record() && focused->CanFocus())
            target = focused;
    }
    for (size_t i = 0; !target && i < live.buttons.size(); ++i) {
        TAuStandardButton* b = live.buttons[i];
        if (!b->Record() || !b->Handle() || GetAncestor(b->Handle(), GA_ROOT) != root)
            continue;
        if ((enter ? b->Props().Default : b->Props().Cancel) && b->CanFocus())
            target = b;
    }
    if (!target)
        return false;
    target->DoClick();
    return true;
}

LRESULT TAuStandardButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_LBUTTONDBLCLK) {
        // An owner-drawn platform button takes the second press of a double
        // click as a notification only; a push button presses again.
        std::weak_ptr<char> life = LifeToken();
        DoDblClick();
        if (life.expired())
            return 0;
        return TAuKind::HandleMessage(WM_LBUTTONDOWN, wp, lp);
    }
    return TAuKind::HandleMessage(msg, wp, lp);
}

bool TAuStandardButton::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        result = 0;
        DoClick();
        return true;
    }
    if (msg == WM_DRAWITEM && lp) {
        DrawFace(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }
    return false;
}

void TAuStandardButton::DoMouseEnter() {
    Invalidate(); // the hot look
    TAuKind::DoMouseEnter();
}

void TAuStandardButton::DoMouseLeave() {
    Invalidate();
    TAuKind::DoMouseLeave();
}

void TAuStandardButton::DrawFace(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0 || !Enabled();
    const bool marked = Props().Default || focused;
    const int state = disabled      ? kStateDisabled
                      : pressed     ? kStatePressed
                      : IsHovered() ? kStateHot
                      : marked      ? kStateDefaulted
                                    : kStateNormal;
    RECT content = r;
    const bool themed =
        win::theme::DrawElement(Handle(), dc, L"BUTTON", kPushButtonPart, state, r, &content, true);
    if (!themed) {
        // The classic look: a window-frame line around the default (or
        // focused) button, then the raised or pushed frame.
        RECT f = r;
        if (marked) {
            FrameRect(dc, &f, GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&f, -1, -1);
        }
        DrawFrameControl(dc, &f, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        content = r;
        InflateRect(&content, -kClassicTextInset, -kClassicTextInset);
    }

    const std::wstring text = win::Widen(Props().Caption);
    if (!text.empty()) {
        HGDIOBJ oldFont = SelectObject(dc, win::FontHandle(Props().Font));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = GetTextColor(dc);
        RECT tr = content;
        if (pressed && !themed)
            OffsetRect(&tr, 1, 1);
        UINT flags = DT_CENTER;
        if (Props().WordWrap) {
            flags |= DT_WORDBREAK;
            RECT calc = tr;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &calc, flags | DT_CALCRECT);
            const int h = calc.bottom - calc.top;
            tr.top += (tr.bottom - tr.top - h) / 2;
            tr.bottom = tr.top + h;
        } else {
            flags |= DT_SINGLELINE | DT_VCENTER;
        }
        auto draw = [&](RECT at, COLORREF color) {
            SetTextColor(dc, color);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &at, flags);
        };
        if (disabled && !themed) {
            // Embossed, as the platform shows disabled captions.
            RECT light = tr;
            OffsetRect(&light, 1, 1);
            draw(light, GetSysColor(COLOR_BTNHIGHLIGHT));
            draw(tr, GetSysColor(COLOR_BTNSHADOW));
        } else {
            draw(tr, disabled ? GetSysColor(COLOR_GRAYTEXT) : win::FontColor(Props().Font));
        }
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
        SelectObject(dc, oldFont);
    }
    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT fr = r;
        if (themed)
            fr = content;
        else
            InflateRect(&fr, -kClassicFocusInset, -kClassicFocusInset);
        DrawFocusRect(dc, &fr);
    }
}

} // namespace orv::objects
