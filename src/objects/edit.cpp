// Edit: a single-line edit. Once the user fills it up to MaxLength the
// focus moves on to the next Edit of the window's tab order.
#include "objects/inputs.h"

#include "win/controls/drawing.h"
#include "win/interact.h"

#include <algorithm>

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 97, kDefaultHeight = 21;
constexpr wchar_t kMask = L'*';

DWORD CaseStyle(uint8_t charCase) {
    return charCase == 1 ? ES_UPPERCASE : charCase == 2 ? ES_LOWERCASE : 0;
}

} // namespace

TAuEdit::TAuEdit(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, kDefaultHeight);
}

void TAuEdit::FillCreateArgs(win::CreateArgs& args) {
    args.className = L"EDIT";
    args.style = (args.style & ~WS_CLIPCHILDREN) | ES_AUTOHSCROLL | CaseStyle(Props().CharCase);
    if (Props().TabStop)
        args.style |= WS_TABSTOP;
    if (Props().Border == 1)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuEdit::HandleCreated() {
    ApplyLook();
    input::SetTextOf(Handle(), Props().Text);
}

void TAuEdit::ApplyLook() {
    HWND h = Handle();
    if (!h)
        return;
    const auto& p = Props();
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(p.Font)), FALSE);
    SendMessageW(h, EM_SETPASSWORDCHAR, p.PasswordChar ? kMask : 0, 0);
    // 0 asks the edit for its largest limit: no limit of ours.
    SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(std::max<int32_t>(p.MaxLength, 0)), 0);
    input::SetStyleBit(h, GWL_STYLE, ES_UPPERCASE, p.CharCase == 1);
    input::SetStyleBit(h, GWL_STYLE, ES_LOWERCASE, p.CharCase == 2);
    input::SetStyleBit(h, GWL_STYLE, WS_TABSTOP, p.TabStop);
    input::SetStyleBit(h, GWL_EXSTYLE, WS_EX_CLIENTEDGE, p.Border == 1);
    AdjustHeight();
    ::InvalidateRect(h, nullptr, TRUE);
}

void TAuEdit::PropertiesChanged() {
    ApplyLook();
    if (Handle() && input::TextOf(Handle()) != Props().Text)
        input::SetTextOf(Handle(), Props().Text);
}

void TAuEdit::BoundsChanged(const RECT& old) {
    win::WinControl::BoundsChanged(old);
    AdjustHeight();
}

void TAuEdit::AdjustHeight() {
    if (adjusting_ || !Props().AutoHeight)
        return;
    const int h = input::EditHeightFor(win::FontHandle(Props().Font), Props().Border == 1);
    if (h <= 0 || h == Height())
        return;
    adjusting_ = true;
    SetSize(Width(), h);
    adjusting_ = false;
}

bool TAuEdit::HandleReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE) {
            TextChanged();
            result = 0;
            return true;
        }
        return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        result = input::ColorAnswer(brush_, wp, win::FontColor(Props().Font),
                                    win::ResolveColor(Props().BackColor));
        return true;
    default:
        return false;
    }
}

void TAuEdit::TextChanged() {
    const int maxLength = Props().MaxLength;
    HWND h = Handle();
    // Only the Edit the user is typing into hands the focus on: text set by
    // an action into some other Edit must not pull the focus around.
    if (maxLength <= 0 || !h || DesignView() || GetFocus() != h)
        return;
    if (GetWindowTextLengthW(h) < maxLength)
        return;
    const std::vector<win::WinControl*> order = input::TabOrderList(Root());
    const auto self = std::find(order.begin(), order.end(), this);
    if (self == order.end())
        return;
    const size_t start = static_cast<size_t>(self - order.begin());
    win::WinControl* next = nullptr;
    for (size_t step = 1; step <= order.size(); ++step) {
        win::WinControl* c = order[(start + step) % order.size()];
        if (input::CanFocus(*c) && input::HasTabStop(*c)) {
            next = c;
            break;
        }
    }
    auto* edit = dynamic_cast<TAuEdit*>(next);
    if (!edit || edit == this || !edit->Visible() || !edit->Enabled())
        return;
    if (input::TabOrderNumber(*edit) > input::TabOrderNumber(*this))
        SetFocus(edit->Handle());
}

void TAuEdit::SetCaption(const std::string& text) {
    Props().Text = text;
    input::SetTextOf(Handle(), text);
}

void TAuEdit::SetFont(const model::TFont& font) {
    Props().Font = font;
    if (HWND h = Handle())
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), TRUE);
    AdjustHeight();
}

void TAuEdit::SetBackColor(int32_t color) {
    Props().BackColor = color;
    Invalidate();
}

std::string TAuEdit::EnteredText() const {
    return Handle() ? input::TextOf(Handle()) : Props().Text;
}

} // namespace orv::objects
