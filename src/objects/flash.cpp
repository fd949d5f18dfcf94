// FlashPlayer: the platform's Flash control filling the box when it is
// registered on the machine; otherwise a notice that opens the player's
// download page. In the design view the box stays empty.
#include "objects/media.h"

#include "base/fsys.h"
#include "base/path.h"
#include "win/interact.h"

#include <ole2.h>
#include <oleauto.h>
#include <shellapi.h>

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 289, kDefaultHeight = 193;
constexpr int kHandPointCursor = -21;
constexpr COLORREF kNoticeColor = RGB(0, 0, 255);
constexpr wchar_t kDownloadPage[] = L"https://get.adobe.com/flashplayer/";
// The Shockwave Flash control.
constexpr CLSID kFlashClsid = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

VARIANT BoolValue(bool on) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

} // namespace

// The notice: bold blue text, centred both ways, word-wrapped, with the
// hand cursor; a click opens the download page.
class TAuFlashPlayer::Notice : public win::GraphicControl {
public:
    Notice() { SetCursor(kHandPointCursor); }
    void Paint(const win::Canvas& canvas) override {
        HDC dc = canvas.dc;
        LOGFONTW lf{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        HFONT font = CreateFontIndirectW(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kNoticeColor);
        const std::wstring text = win::Widen(kNotice);
        RECT r = ClientRect();
        RECT measure = r;
        DrawTextW(dc, text.c_str(), -1, &measure, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
        const int h = measure.bottom - measure.top;
        r.top += (Height() - h) / 2;
        DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        DeleteObject(font);
    }
    void DoClick() override {
        ShellExecuteW(nullptr, L"open", kDownloadPage, nullptr, nullptr, SW_SHOWNORMAL);
        Control::DoClick();
    }
};

TAuFlashPlayer::TAuFlashPlayer(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, kDefaultHeight);
    SetColor(Props().BackgroundColor);
    auto notice = std::make_unique<Notice>();
    notice->SetAlign(win::Align::Client);
    notice->SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
    notice->SetVisible(false);
    notice_ = &Add(std::move(notice));
}

TAuFlashPlayer::~TAuFlashPlayer() {
    site_.reset();
}

void TAuFlashPlayer::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuFlashPlayer::FillCreateArgs(win::CreateArgs& args) {
    args.style &= ~static_cast<DWORD>(WS_TABSTOP);
    if (Props().Border)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuFlashPlayer::HandleCreated() {
    SetUp();
}

void TAuFlashPlayer::PropertiesChanged() {
    SetColor(Props().BackgroundColor);
    if (site_)
        ApplyFlags();
    else if (Handle())
        SetUp();
    Invalidate();
}

bool TAuFlashPlayer::NoticeShown() const {
    return notice_ && notice_->Visible();
}

bool TAuFlashPlayer::HasFlash() const {
    return site_ != nullptr;
}

void TAuFlashPlayer::SetUp() {
    if (DesignView() || !Handle())
        return;
    site_.reset();
    site_ = OleSite::Create(kFlashClsid, Handle(), ClientArea());
    if (!site_) {
        bevel_ = true;
        notice_->SetVisible(true);
        Invalidate();
        return;
    }
    bevel_ = false;
    notice_->SetVisible(false);
    const std::string full = MakeProjectPath(ProjectFolder(), Props().FileName);
    ApplyFlags();
    LoadFile(!full.empty() && fsys::FileExists(full) ? full : std::string(" "));
}

void TAuFlashPlayer::ApplyFlags() {
    if (!site_)
        return;
    site_->PutProperty(L"Loop", BoolValue(Props().Loop));
    site_->PutProperty(L"Menu", BoolValue(Props().ContextMenu));
}

void TAuFlashPlayer::LoadFile(const std::string& path) {
    movie_ = path;
    if (!site_)
        return;
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(win::Widen(path).c_str());
    site_->PutProperty(L"Movie", v);
    VariantClear(&v);
    site_->Call(L"Play");
}

void TAuFlashPlayer::Resized() {
    if (site_)
        site_->Resize(ClientArea());
}

void TAuFlashPlayer::PaintBackground(const win::Canvas& canvas) {
    WinControl::PaintBackground(canvas);
    if (!bevel_)
        return;
    // A flat one-pixel bevel around the notice.
    RECT r = ClientArea();
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
    FrameRect(canvas.dc, &r, brush);
    DeleteObject(brush);
}

} // namespace orv::objects
