// TextBox: a read-only multi-line edit showing the object's lines.
#include "objects/inputs.h"

#include "win/controls/drawing.h"
#include "win/interact.h"

namespace orv::objects {

namespace {

constexpr int kArrowCursor = -2;
constexpr int kDefaultSide = 193;

// Every line break as CR LF, the only break a multi-line edit shows.
std::string EditLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

DWORD AlignmentStyle(uint8_t alignment) {
    switch (alignment) {
    case 1:
        return ES_RIGHT;
    case 2:
        return ES_CENTER;
    default:
        return ES_LEFT;
    }
}

DWORD ScrollStyle(uint8_t bars) {
    switch (bars) {
    case 1:
        return WS_HSCROLL;
    case 2:
        return WS_VSCROLL;
    case 3:
        return WS_HSCROLL | WS_VSCROLL;
    default:
        return 0;
    }
}

} // namespace

TAuTextBox::TAuTextBox(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultSide, kDefaultSide);
    SetCursor(kArrowCursor);
}

void TAuTextBox::StoreNewObjectDefaults(TAuObject& record) {
    record.Cursor = static_cast<int16_t>(Cursor());
}

DWORD TAuTextBox::CreationStyle() const {
    const auto& p = Props();
    DWORD s = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | AlignmentStyle(p.Alignment) |
              ScrollStyle(p.ScrollBar);
    if (!p.WordWrap)
        s |= ES_AUTOHSCROLL;
    return s;
}

void TAuTextBox::FillCreateArgs(win::CreateArgs& args) {
    args.className = L"EDIT";
    createdStyle_ = CreationStyle();
    args.style = (args.style & ~WS_CLIPCHILDREN) | createdStyle_;
    if (Props().TabStop)
        args.style |= WS_TABSTOP;
    if (Props().Border == 1)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuTextBox::HandleCreated() {
    // No limit on what the document may hold.
    SendMessageW(Handle(), EM_LIMITTEXT, 0, 0);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(Props().Font)),
                 FALSE);
    ApplyText(Props().Text);
}

void TAuTextBox::PropertiesChanged() {
    if (Handle() && CreationStyle() != createdStyle_) {
        // Wrapping, scroll bars and alignment are fixed when an edit is made.
        input::RecreateWindow(*this);
        return;
    }
    if (HWND h = Handle()) {
        input::SetStyleBit(h, GWL_STYLE, WS_TABSTOP, Props().TabStop);
        input::SetStyleBit(h, GWL_EXSTYLE, WS_EX_CLIENTEDGE, Props().Border == 1);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(Props().Font)), FALSE);
    }
    ApplyText(Props().Text);
    Invalidate();
}

void TAuTextBox::ApplyText(const std::string& text) {
    input::SetTextOf(Handle(), EditLineBreaks(text));
}

std::string TAuTextBox::ShownText() const {
    return input::TextOf(Handle());
}

bool TAuTextBox::HandleReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLOREDIT) {
        result = input::ColorAnswer(brush_, wp, win::FontColor(Props().Font),
                                    win::ResolveColor(Props().BackColor));
        return true;
    }
    return false;
}

void TAuTextBox::SetLines(const std::vector<std::string>& lines) {
    Props().Text = input::JoinLines(lines);
    ApplyText(Props().Text);
}

void TAuTextBox::LoadFile(const std::string& path) {
    std::string bytes;
    if (!input::ReadDocument(path, bytes))
        return;
    // The edit shows text up to the first NUL only; what follows would be
    // lost without a trace, so NULs show as blanks.
    for (char& c : bytes)
        if (c == '\0')
            c = ' ';
    Props().Text = EditLineBreaks(bytes);
    ApplyText(Props().Text);
}

void TAuTextBox::SetFont(const model::TFont& font) {
    Props().Font = font;
    if (HWND h = Handle())
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), TRUE);
    Invalidate();
}

void TAuTextBox::SetBackColor(int32_t color) {
    Props().BackColor = color;
    Invalidate();
}

} // namespace orv::objects
