// CheckBox and RadioButton: platform buttons whose state lives in the
// record's Checked field. The platform reports their clicks (BN_CLICKED,
// also from the keyboard), so the press-and-release click of the framework
// is off: the state has changed by the time OnClick runs.
#include "objects/inputs.h"

#include "win/controls/drawing.h"
#include "win/interact.h"

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 97, kDefaultHeight = 17;

} // namespace

TAuCheckBox::TAuCheckBox(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, kDefaultHeight);
    SetSynthesizeClick(false);
    SetColor(Props().BackColor);
}

model::CheckBoxProps& TAuCheckBox::Props() {
    if (auto* radio = Record()->If<model::RadioButtonProps>())
        return *radio;
    return Record()->As<model::CheckBoxProps>();
}

const model::CheckBoxProps& TAuCheckBox::Props() const {
    if (const auto* radio = Record()->If<model::RadioButtonProps>())
        return *radio;
    return Record()->As<model::CheckBoxProps>();
}

void TAuCheckBox::FillCreateArgs(win::CreateArgs& args) {
    args.className = L"BUTTON";
    args.style = (args.style & ~WS_CLIPCHILDREN) | (IsRadio() ? BS_RADIOBUTTON : BS_CHECKBOX);
    if (Props().Alignment == 0)
        args.style |= BS_LEFTTEXT;
    if (Props().WordWrap)
        args.style |= BS_MULTILINE;
    if (Props().TabStop)
        args.style |= WS_TABSTOP;
    args.text = win::Widen(Props().Caption);
}

void TAuCheckBox::HandleCreated() {
    ApplyLook();
}

void TAuCheckBox::ApplyLook() {
    HWND h = Handle();
    if (!h)
        return;
    const auto& p = Props();
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(p.Font)), FALSE);
    input::SetStyleBit(h, GWL_STYLE, BS_LEFTTEXT, p.Alignment == 0);
    input::SetStyleBit(h, GWL_STYLE, BS_MULTILINE, p.WordWrap);
    input::SetStyleBit(h, GWL_STYLE, WS_TABSTOP, p.TabStop);
    if (input::TextOf(h) != p.Caption)
        input::SetTextOf(h, p.Caption);
    ShowState();
    ::InvalidateRect(h, nullptr, TRUE);
}

void TAuCheckBox::ShowState() {
    if (HWND h = Handle())
        SendMessageW(h, BM_SETCHECK, Props().Checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TAuCheckBox::PropertiesChanged() {
    SetColor(Props().BackColor);
    ApplyLook();
}

bool TAuCheckBox::HandleReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED || HIWORD(wp) == BN_DOUBLECLICKED) {
            // A radio button is checked by its click, a check box toggles.
            SetChecked(IsRadio() ? true : !Checked());
            DoClick();
            result = 0;
            return true;
        }
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        result = input::ColorAnswer(brush_, wp, win::FontColor(Props().Font),
                                    win::ResolveColor(Props().BackColor));
        return true;
    default:
        return false;
    }
}

void TAuCheckBox::DoClick() {
    std::weak_ptr<char> life = LifeToken();
    if (Checked())
        if (TAuEventSink* sink = SinkOf(*this))
            sink->ObjectSelectActions(*this, Props().Actions.OnSelect);
    // The OnSelect actions may have removed the page and this control.
    if (!life.expired())
        win::WinControl::DoClick();
}

void TAuCheckBox::DoMouseUp(const win::MouseArgs& args) {
    if (inButtonUp_)
        heldUp_ = args;
    else
        win::WinControl::DoMouseUp(args);
}

LRESULT TAuCheckBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_LBUTTONUP)
        return win::WinControl::HandleMessage(msg, wp, lp);
    // The framework raises the mouse-up before the platform's own handling
    // reports the click (BN_CLICKED): hold it back until then.
    std::weak_ptr<char> life = LifeToken();
    inButtonUp_ = true;
    heldUp_.reset();
    const LRESULT r = win::WinControl::HandleMessage(msg, wp, lp);
    if (life.expired())
        return r;
    inButtonUp_ = false;
    if (heldUp_) {
        const win::MouseArgs args = *heldUp_;
        heldUp_.reset();
        win::WinControl::DoMouseUp(args);
    }
    return r;
}

bool TAuCheckBox::Checked() const {
    return Props().Checked;
}

void TAuCheckBox::SetChecked(bool on) {
    Props().Checked = on;
    ShowState();
    if (!on || !IsRadio() || !Parent())
        return;
    win::WinControl& parent = *Parent();
    for (int i = 0; i < parent.ChildCount(); ++i) {
        auto* other = dynamic_cast<TAuCheckBox*>(&parent.Child(i));
        if (other && other != this && other->IsRadio() && other->Record() &&
            other->Props().Checked) {
            other->Props().Checked = false;
            other->ShowState();
        }
    }
}

std::vector<model::TAuActions> TAuCheckBox::SelectedActionLists() const {
    if (!Checked())
        return {};
    return {Props().Actions.SelectActions};
}

void TAuCheckBox::SetCaption(const std::string& text) {
    Props().Caption = text;
    input::SetTextOf(Handle(), text);
}

void TAuCheckBox::SetFont(const model::TFont& font) {
    Props().Font = font;
    if (HWND h = Handle())
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), TRUE);
    Invalidate();
}

void TAuCheckBox::SetBackColor(int32_t color) {
    Props().BackColor = color;
    SetColor(color);
    Invalidate();
}

} // namespace orv::objects
