// RichText: a read-only rich edit showing a Rich Text Format document.
#include "objects/inputs.h"

#include "win/controls/drawing.h"
#include "win/interact.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace orv::objects {

namespace {

constexpr int kArrowCursor = -2;
constexpr int kDefaultSide = 193;

// The rich edit class lives in a library of its own, loaded once.
const wchar_t* RichEditClass() {
    static const bool loaded = LoadLibraryW(L"riched20.dll") != nullptr;
    return loaded ? L"RichEdit20W" : nullptr;
}

struct StreamSource {
    const std::string* bytes;
    size_t pos;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
    auto* src = reinterpret_cast<StreamSource*>(cookie);
    const size_t left = src->bytes->size() - src->pos;
    const size_t n = std::min(left, static_cast<size_t>(std::max<LONG>(wanted, 0)));
    if (n > 0)
        std::memcpy(buffer, src->bytes->data() + src->pos, n);
    src->pos += n;
    *got = static_cast<LONG>(n);
    return 0;
}

// The character format of a stored font: face, size, colour and style.
CHARFORMAT2W FormatOf(const model::TFont& font) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    LOGFONTW lf{};
    GetObjectW(win::FontHandle(font), sizeof lf, &lf);
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                CFM_STRIKEOUT | CFM_CHARSET;
    std::wcsncpy(cf.szFaceName, lf.lfFaceName, LF_FACESIZE - 1);
    cf.bCharSet = lf.lfCharSet;
    cf.yHeight = std::clamp<int32_t>(font.Size, 1, 1638) * 20;
    cf.crTextColor = win::FontColor(font);
    if (font.Style & model::fontstyle::kBold)
        cf.dwEffects |= CFE_BOLD;
    if (font.Style & model::fontstyle::kItalic)
        cf.dwEffects |= CFE_ITALIC;
    if (font.Style & model::fontstyle::kUnderline)
        cf.dwEffects |= CFE_UNDERLINE;
    if (font.Style & model::fontstyle::kStrikeOut)
        cf.dwEffects |= CFE_STRIKEOUT;
    return cf;
}

} // namespace

bool TAuRichText::Available() {
    return RichEditClass() != nullptr;
}

TAuRichText::TAuRichText(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultSide, kDefaultSide);
    SetCursor(kArrowCursor);
    SetColor(Props().BackColor);
}

void TAuRichText::StoreNewObjectDefaults(TAuObject& record) {
    record.Cursor = static_cast<int16_t>(Cursor());
}

DWORD TAuRichText::CreationStyle() const {
    const auto& p = Props();
    DWORD s = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
    if (p.ScrollBar == 1 || p.ScrollBar == 3)
        s |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (p.ScrollBar == 2 || p.ScrollBar == 3)
        s |= WS_VSCROLL;
    s |= p.Alignment == 1 ? ES_RIGHT : p.Alignment == 2 ? ES_CENTER : ES_LEFT;
    return s;
}

void TAuRichText::FillCreateArgs(win::CreateArgs& args) {
    args.className = RichEditClass();
    createdStyle_ = CreationStyle();
    if (!args.className)
        return; // a plain window in the background colour
    args.style = (args.style & ~WS_CLIPCHILDREN) | createdStyle_;
    if (Props().TabStop)
        args.style |= WS_TABSTOP;
    if (Props().Border == 1)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuRichText::HandleCreated() {
    if (!IsNative())
        return;
    ApplyLook();
    // The stored bytes are always read as Rich Text Format; the plain-text
    // flag stored after them only decides how files loaded later are read.
    StreamIn(Props().RichText, true);
}

void TAuRichText::ApplyLook() {
    HWND h = Handle();
    if (!h || !IsNative())
        return;
    SendMessageW(h, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(win::ResolveColor(Props().BackColor)));
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(Props().Font)), FALSE);
    CHARFORMAT2W cf = FormatOf(Props().Font);
    SendMessageW(h, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    // A null target device with width 0 wraps at the window's edge; 1 never wraps.
    SendMessageW(h, EM_SETTARGETDEVICE, 0, Props().WordWrap ? 0 : 1);
    input::SetStyleBit(h, GWL_STYLE, WS_TABSTOP, Props().TabStop);
    input::SetStyleBit(h, GWL_EXSTYLE, WS_EX_CLIENTEDGE, Props().Border == 1);
}

void TAuRichText::StreamIn(const std::string& bytes, bool rtf) {
    HWND h = Handle();
    if (!h || !IsNative())
        return;
    StreamSource src{&bytes, 0};
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&src);
    es.pfnCallback = &ReadStream;
    SendMessageW(h, EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
}

void TAuRichText::PropertiesChanged() {
    SetColor(Props().BackColor);
    if (Handle() && IsNative() && CreationStyle() != createdStyle_) {
        input::RecreateWindow(*this);
        return;
    }
    ApplyLook();
    StreamIn(Props().RichText, true);
    Invalidate();
}

std::string TAuRichText::ShownText() const {
    return IsNative() ? input::TextOf(Handle()) : std::string();
}

void TAuRichText::LoadFile(const std::string& path) {
    if (DesignView())
        return;
    StreamIn(std::string(), false);
    std::string bytes;
    if (input::ReadDocument(path, bytes))
        StreamIn(bytes, !Props().PlainText);
}

void TAuRichText::SetFont(const model::TFont& font) {
    Props().Font = font;
    HWND h = Handle();
    if (!h || !IsNative())
        return;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), FALSE);
    CHARFORMAT2W cf = FormatOf(font);
    SendMessageW(h, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    Invalidate();
}

void TAuRichText::SetBackColor(int32_t color) {
    Props().BackColor = color;
    SetColor(color);
    if (HWND h = Handle(); h && IsNative())
        SendMessageW(h, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(win::ResolveColor(color)));
    Invalidate();
}

} // namespace orv::objects
