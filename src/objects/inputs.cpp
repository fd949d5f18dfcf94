// The TextBox, RichText, Edit, CheckBox, RadioButton and UserPassword kinds:
// their makers and the pieces they share.
#include "objects/inputs.h"

#include "base/fsys.h"
#include "win/controls/drawing.h"
#include "win/interact.h"

#include <cstdio>

namespace orv::objects {

void AddInputKinds(KindMakerTable& m) {
    using K = TAuObjectKind;
    m[static_cast<int>(K::TextBox)] = &MakeKind<TAuTextBox>;
    m[static_cast<int>(K::RichText)] = &MakeKind<TAuRichText>;
    m[static_cast<int>(K::Edit)] = &MakeKind<TAuEdit>;
    m[static_cast<int>(K::CheckBox)] = &MakeKind<TAuCheckBox>;
    m[static_cast<int>(K::RadioButton)] = &MakeKind<TAuRadioButton>;
    m[static_cast<int>(K::UserPassword)] = &MakeKind<TAuUserPassword>;
}

namespace input {

ColorBrush::~ColorBrush() {
    if (brush_)
        DeleteObject(brush_);
}

HBRUSH ColorBrush::Get(COLORREF color) {
    if (brush_ && color == color_)
        return brush_;
    HBRUSH fresh = CreateSolidBrush(color);
    if (!fresh)
        return brush_ ? brush_ : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    if (brush_)
        DeleteObject(brush_);
    brush_ = fresh;
    color_ = color;
    return brush_;
}

LRESULT ColorAnswer(ColorBrush& brush, WPARAM dc, COLORREF fontColor, COLORREF back) {
    HDC hdc = reinterpret_cast<HDC>(dc);
    SetTextColor(hdc, fontColor);
    SetBkColor(hdc, back);
    return reinterpret_cast<LRESULT>(brush.Get(back));
}

std::string TextOf(HWND hwnd) {
    if (!hwnd)
        return {};
    const int n = GetWindowTextLengthW(hwnd);
    if (n <= 0)
        return {};
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, w.data(), n + 1);
    w.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return win::Narrow(w);
}

void SetTextOf(HWND hwnd, const std::string& text) {
    if (hwnd)
        SetWindowTextW(hwnd, win::Widen(text).c_str());
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

bool ReadDocument(const std::string& path, std::string& bytes) {
    std::vector<uint8_t> content;
    if (!fsys::ReadFileBytes(path, kMaxDocumentBytes, content))
        return false;
    bytes.assign(content.begin(), content.end());
    return true;
}

bool SetStyleBit(HWND hwnd, int index, LONG bit, bool on) {
    if (!hwnd)
        return false;
    const LONG old = GetWindowLongW(hwnd, index);
    const LONG want = on ? (old | bit) : (old & ~bit);
    if (want == old)
        return false;
    SetWindowLongW(hwnd, index, want);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

void RecreateWindow(win::WinControl& control) {
    win::WinControl* parent = control.Parent();
    if (!parent || !control.Handle())
        return;
    const int index = parent->IndexOf(&control);
    if (index < 0)
        return;
    const bool focused = GetFocus() == control.Handle();
    // Taking the control out and putting it back makes its window anew at
    // the same place in the child order.
    control.DestroyHandle();
    std::unique_ptr<win::Control> self = parent->RemoveChild(&control);
    if (!self)
        return;
    parent->AddChild(std::move(self), index);
    if (focused && control.Handle())
        SetFocus(control.Handle());
}

namespace {

void CollectTabOrder(win::Control& c, std::vector<win::WinControl*>& out) {
    if (!c.IsWindowed())
        return;
    auto& w = static_cast<win::WinControl&>(c);
    for (int i = 0; i < w.ChildCount(); ++i) {
        win::Control& child = w.Child(i);
        if (!child.IsWindowed())
            continue;
        out.push_back(static_cast<win::WinControl*>(&child));
        CollectTabOrder(child, out);
    }
}

} // namespace

std::vector<win::WinControl*> TabOrderList(win::Control& root) {
    std::vector<win::WinControl*> out;
    CollectTabOrder(root, out);
    return out;
}

int TabOrderNumber(const win::WinControl& control) {
    const win::WinControl* parent = control.Parent();
    if (!parent)
        return -1;
    int n = 0;
    for (int i = 0; i < parent->ChildCount(); ++i) {
        const win::Control& child = parent->Child(i);
        if (&child == &control)
            return n;
        if (child.IsWindowed())
            ++n;
    }
    return -1;
}

bool CanFocus(const win::WinControl& control) {
    if (!control.Handle())
        return false;
    for (const win::Control* c = &control; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return IsWindowVisible(control.Handle()) && IsWindowEnabled(control.Handle());
}

bool HasTabStop(const win::WinControl& control) {
    return control.Handle() && (GetWindowLongW(control.Handle(), GWL_STYLE) & WS_TABSTOP) != 0;
}

int EditHeightFor(HFONT font, bool border) {
    TEXTMETRICW tm{};
    if (HDC dc = GetDC(nullptr)) {
        HGDIOBJ old = SelectObject(dc, font);
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
    // The sunken frame takes two pixels on each side and the edit keeps a
    // pixel of margin above and below the text; without a frame only the
    // margin remains.
    const int frame = GetSystemMetrics(SM_CYBORDER) * (border ? 8 : 2);
    return tm.tmHeight + frame;
}

} // namespace input

} // namespace orv::objects
