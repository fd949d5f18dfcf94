// The ListBox, DropDownList, ListView, TreeView and the shell views kinds:
// their registration and the pieces they share.
#include "objects/lists.h"

#include "base/path.h"
#include "gfx/list_layout.h"
#include "win/interact.h"

#include <windowsx.h>

namespace orv::objects {

void AddListKinds(KindMakerTable& m) {
    m[static_cast<int>(TAuObjectKind::ListBox)] = &MakeKind<TAuListBox>;
    m[static_cast<int>(TAuObjectKind::DropDownList)] = &MakeKind<TAuDropDownList>;
    m[static_cast<int>(TAuObjectKind::ListView)] = &MakeKind<TAuListView>;
    m[static_cast<int>(TAuObjectKind::TreeView)] = &MakeKind<TAuTreeView>;
    m[static_cast<int>(TAuObjectKind::ShellListView)] = &MakeKind<TAuShellListView>;
    m[static_cast<int>(TAuObjectKind::ShellTreeView)] = &MakeKind<TAuShellTreeView>;
}

// ---------------------------------------------------------------- icons

void ListIcons::Load(const std::vector<model::TListBoxItem>& items) {
    icons_.clear();
    icons_.reserve(items.size());
    for (const model::TListBoxItem& item : items) {
        auto pic = std::make_unique<win::Picture>();
        if (pic->Assign(item.Icon) && item.Icon.Class == model::PictureClass::Bitmap)
            pic->AssignImage(gfx::KeyOutBottomLeft(pic->Pixels()));
        icons_.push_back(std::move(pic));
    }
}

const win::Picture* ListIcons::At(size_t index) const {
    if (index >= icons_.size() || icons_[index]->Empty())
        return nullptr;
    return icons_[index].get();
}

void DrawListEntry(const DRAWITEMSTRUCT& dis, const std::vector<model::TListBoxItem>& items,
                   const ListIcons& icons, const ListEntryStyle& style) {
    if (dis.itemID == static_cast<UINT>(-1) || dis.itemID >= items.size())
        return;
    HDC dc = dis.hDC;
    const RECT& r = dis.rcItem;
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    // 1. The entry in the current colours (the highlight when selected).
    const COLORREF back =
        selected ? GetSysColor(COLOR_HIGHLIGHT) : win::ResolveColor(style.backColor);
    SetDCBrushColor(dc, back);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    const model::TListBoxItem& item = items[dis.itemID];
    HFONT font = win::FontHandle(*style.font);
    HGDIOBJ oldFont = SelectObject(dc, font);
    std::wstring text = win::Widen(item.Caption);
    SIZE extent{0, 0};
    if (!text.empty())
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const gfx::ListEntryLayout l =
        gfx::LayoutListEntry(gfx::Rect{r.left, r.top, r.right, r.bottom}, style.itemHeight,
                             style.iconWidth, style.iconHeight, extent.cy);
    // 2. The icon, stretched into its cell.
    if (l.hasIcon)
        if (const win::Picture* icon = icons.At(dis.itemID)) {
            const RECT cell{l.icon.left, l.icon.top, l.icon.right, l.icon.bottom};
            int saved = SaveDC(dc);
            IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
            icon->Draw(dc, cell);
            RestoreDC(dc, saved);
        }
    // 3 and 4. The caption, clipped right of the icon.
    if (!text.empty()) {
        const RECT clip{l.textClip.left, l.textClip.top, l.textClip.right, l.textClip.bottom};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : win::FontColor(*style.font));
        ExtTextOutW(dc, l.textX, l.textY, ETO_CLIPPED, &clip, text.c_str(),
                    static_cast<UINT>(text.size()), nullptr);
    }
    SelectObject(dc, oldFont);
    if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &r);
}

// ------------------------------------------------------------ shell roots

std::wstring ShellRootFolder(const std::string& root) {
    const std::string& project = ProjectFolder();
    std::string folder = root.empty() ? project : MakeProjectPath(project, root);
    if (folder.empty())
        return {};
    std::wstring w = win::Widen(ExcludeTrailingBackslash(folder));
    const DWORD attr = GetFileAttributesW(w.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return w;
}

std::string ShellRootCaption(const std::string& root) {
    std::string s = root;
    if (!s.empty() && s.front() == '\\')
        s.erase(0, 1);
    if (!s.empty() && s.back() == '\\')
        s.pop_back();
    return s.empty() ? "CDROM" : s;
}

// ------------------------------------------------------ TAuViewControl

TAuViewControl::TAuViewControl(TAuObject& record) : TAuKind(record) {
    // The control's click notification is the click.
    SetSynthesizeClick(false);
}

void TAuViewControl::Defer(std::function<void()> fn) {
    if (depth_ > 0)
        deferred_.push_back(std::move(fn));
    else
        fn();
}

void TAuViewControl::RunDeferred() {
    std::weak_ptr<char> life = LifeToken();
    while (!deferred_.empty() && !life.expired()) {
        std::function<void()> fn = std::move(deferred_.front());
        deferred_.erase(deferred_.begin());
        fn();
    }
}

void TAuViewControl::DoMouseUp(const win::MouseArgs& args) {
    if (holdRelease_) {
        // Raised after the click the release may still bring.
        held_ = args;
        heldRelease_ = true;
        return;
    }
    TAuKind::DoMouseUp(args);
}

LRESULT TAuViewControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const bool press = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
    const bool release = msg == WM_LBUTTONUP;
    const bool key = msg == WM_KEYDOWN || msg == WM_CHAR;
    if (!press && !release && !key)
        return TAuKind::HandleMessage(msg, wp, lp);
    std::weak_ptr<char> life = LifeToken();
    ++depth_;
    if (press && depth_ == 1) {
        releaseSeen_ = false;
        clicked_ = false;
    }
    if (release) {
        releaseSeen_ = true;
        holdRelease_ = true;
        heldRelease_ = false;
    }
    const LRESULT r = TAuKind::HandleMessage(msg, wp, lp);
    if (life.expired())
        return r;
    --depth_;
    if (release)
        holdRelease_ = false;
    if (depth_ > 0)
        return r;
    // A press whose release the control consumed itself (it clicked, but
    // the release never came here) still raises the mouse-up.
    const bool pendingUp =
        press && !releaseSeen_ && clicked_ && (GetKeyState(VK_LBUTTON) & 0x8000) == 0;
    win::MouseArgs upArgs;
    upArgs.button = win::MouseButton::Left;
    upArgs.x = GET_X_LPARAM(lp);
    upArgs.y = GET_Y_LPARAM(lp);
    const bool held = heldRelease_;
    heldRelease_ = false;
    RunDeferred();
    if (life.expired())
        return r;
    if (held)
        TAuKind::DoMouseUp(held_);
    else if (pendingUp)
        TAuKind::DoMouseUp(upArgs);
    return r;
}

bool TAuViewControl::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY || !lp)
        return TAuKind::HandleReflected(msg, wp, lp, result);
    const auto& hdr = *reinterpret_cast<const NMHDR*>(lp);
    if (hdr.code == static_cast<UINT>(NM_CLICK)) {
        clicked_ = true;
        Defer([this] { DoClick(); });
        result = 0;
        return true;
    }
    return HandleNotify(hdr, result);
}

void TAuViewControl::ApplyFont(const model::TFont& font) {
    if (Handle())
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), TRUE);
}

} // namespace orv::objects
