// Browser: the platform's web browser control, created on the first
// navigation outside the design view and filling the box. When the
// platform cannot create it the box stays empty and white, and keeps the
// last navigation target for a later attempt.
#include "objects/media.h"

#include "base/fsys.h"
#include "base/path.h"
#include "win/interact.h"

#include <exdisp.h>
#include <ole2.h>
#include <oleauto.h>

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 289, kDefaultHeight = 193;
constexpr int32_t kWhite = 0x00FFFFFF;

} // namespace

TAuBrowser::TAuBrowser(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, kDefaultHeight);
    SetColor(kWhite);
}

TAuBrowser::~TAuBrowser() {
    site_.reset();
}

void TAuBrowser::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuBrowser::FillCreateArgs(win::CreateArgs& args) {
    args.style &= ~static_cast<DWORD>(WS_TABSTOP);
    if (Props().Border)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuBrowser::HandleCreated() {
    // The block has been read by now: go to the stored location (or to a
    // target that arrived before the window existed).
    if (!target_.empty() && !delivered_)
        Navigate(target_);
    else
        SetLocation(Props().Location);
}

void TAuBrowser::PropertiesChanged() {
    if (!site_ && Handle()) {
        const LONG ex = GetWindowLongW(Handle(), GWL_EXSTYLE);
        const LONG want = Props().Border ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
        if (want != ex) {
            SetWindowLongW(Handle(), GWL_EXSTYLE, want);
            SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
        }
    }
    Invalidate();
}

bool TAuBrowser::HasBrowser() const {
    return site_ != nullptr;
}

std::string TAuBrowser::TargetFor(const std::string& location) {
    if (location.empty())
        return ProjectFolder();
    const std::string joined = MakeProjectPath(ProjectFolder(), location);
    if (!joined.empty() && (fsys::FileExists(joined) || fsys::DirectoryExists(joined)))
        return joined;
    // Not in the project folder: a web address.
    return location;
}

void TAuBrowser::SetLocation(const std::string& location) {
    Props().Location = location;
    if (DesignView())
        return;
    Navigate(TargetFor(location));
}

void TAuBrowser::LoadFile(const std::string& target) {
    if (DesignView())
        return;
    Navigate(target.empty() ? ProjectFolder() : target);
}

bool TAuBrowser::EnsureBrowser() {
    if (site_)
        return true;
    if (!Handle())
        return false;
    triedCreate_ = true;
    // Border off before the control takes the client area.
    const LONG ex = GetWindowLongW(Handle(), GWL_EXSTYLE);
    site_ = OleSite::Create(CLSID_WebBrowser, Handle(), ClientArea());
    if (!site_)
        return false;
    if (ex & WS_EX_CLIENTEDGE) {
        SetWindowLongW(Handle(), GWL_EXSTYLE, ex & ~WS_EX_CLIENTEDGE);
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        site_->Resize(ClientArea());
    }
    return true;
}

void TAuBrowser::Navigate(const std::string& target) {
    target_ = target;
    delivered_ = false;
    if (DesignView() || !EnsureBrowser())
        return;
    auto* browser = static_cast<IWebBrowser2*>(site_->Query(IID_IWebBrowser2));
    if (!browser)
        return;
    BSTR url = SysAllocString(win::Widen(target).c_str());
    VARIANT none;
    VariantInit(&none);
    // No flags, target frame, post data or headers.
    delivered_ = SUCCEEDED(browser->Navigate(url, &none, &none, &none, &none));
    SysFreeString(url);
    browser->Release();
}

void TAuBrowser::Resized() {
    if (site_)
        site_->Resize(ClientArea());
}

} // namespace orv::objects
