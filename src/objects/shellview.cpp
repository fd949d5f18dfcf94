// ShellListView and ShellTreeView: the folders and files below a root
// folder on the disc, in a list view and a tree view with the shell's
// icons. They read the file system directly, so a missing or unreadable
// folder simply shows nothing.
#include "objects/lists.h"
#include "win/interact.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

namespace orv::objects {

namespace {

std::wstring DesktopFolder() {
    wchar_t buf[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, buf)))
        return buf;
    return {};
}

bool IsFolder(const std::wstring& path) {
    if (path.empty())
        return false;
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\')
        return folder + name;
    return folder + L"\\" + name;
}

bool IsDots(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == 0) ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

// The shell's image list of small or large icons (shared; never destroyed).
HIMAGELIST SystemImages(bool small) {
    SHFILEINFOW sfi{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &sfi, sizeof sfi,
                       SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
}

int IconIndex(const std::wstring& path, bool folder) {
    SHFILEINFOW sfi{};
    // The attributes stand in for the file itself, so slow media are not
    // read for every entry.
    if (SHGetFileInfoW(path.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL,
                       &sfi, sizeof sfi,
                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        return sfi.iIcon;
    return 0;
}

bool HasSubfolders(const std::wstring& folder) {
    WIN32_FIND_DATAW fd;
    HANDLE f = FindFirstFileW(Join(folder, L"*").c_str(), &fd);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do {
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDots(fd.cFileName))
            found = true;
    } while (!found && FindNextFileW(f, &fd));
    FindClose(f);
    return found;
}

std::wstring DisplayName(const std::wstring& folder) {
    SHFILEINFOW sfi{};
    if (SHGetFileInfoW(folder.c_str(), 0, &sfi, sizeof sfi, SHGFI_DISPLAYNAME) &&
        sfi.szDisplayName[0])
        return sfi.szDisplayName;
    const size_t cut = folder.find_last_of(L'\\');
    return cut == std::wstring::npos || cut + 1 == folder.size() ? folder : folder.substr(cut + 1);
}

void ApplyViewColors(HWND h, bool tree, const model::TFont& font, int32_t back) {
    if (!h)
        return;
    const COLORREF bk = win::ResolveColor(back);
    if (tree) {
        TreeView_SetBkColor(h, bk);
        TreeView_SetTextColor(h, win::FontColor(font));
    } else {
        ListView_SetBkColor(h, bk);
        ListView_SetTextBkColor(h, bk);
        ListView_SetTextColor(h, win::FontColor(font));
    }
    ::InvalidateRect(h, nullptr, TRUE);
}

} // namespace

// -------------------------------------------------------- TAuShellListView

TAuShellListView::TAuShellListView(TAuObject& record) : TAuViewControl(record) {
    SetColor(Props().BackColor);
    root_ = DesktopFolder();
}

TAuShellListView::~TAuShellListView() {
    DestroyHandle();
}

void TAuShellListView::FillCreateArgs(win::CreateArgs& args) {
    const model::ShellListViewProps& p = Props();
    static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    args.className = WC_LISTVIEWW;
    args.style |= kViews[p.ViewStyle < 4 ? p.ViewStyle : 0] | LVS_AUTOARRANGE |
                  LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | (p.TabStop ? WS_TABSTOP : 0);
    args.exStyle |= p.Border ? WS_EX_CLIENTEDGE : 0;
}

void TAuShellListView::HandleCreated() {
    HWND h = Handle();
    ListView_SetImageList(h, SystemImages(false), LVSIL_NORMAL);
    ListView_SetImageList(h, SystemImages(true), LVSIL_SMALL);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    wchar_t name[] = L"Name";
    wchar_t size[] = L"Size";
    col.fmt = LVCFMT_LEFT;
    col.cx = 160;
    col.pszText = name;
    SendMessageW(h, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
    col.fmt = LVCFMT_RIGHT;
    col.cx = 80;
    col.pszText = size;
    SendMessageW(h, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&col));
    PropertiesChanged();
}

void TAuShellListView::PropertiesChanged() {
    const model::ShellListViewProps& p = Props();
    SetColor(p.BackColor);
    HWND h = Handle();
    if (!h)
        return;
    DWORD ex = 0;
    if (p.HotTrack) {
        ex |= LVS_EX_TRACKSELECT;
        if (p.HotTrackStyles & model::hottrack::kHandPoint)
            ex |= LVS_EX_ONECLICKACTIVATE;
        if (p.HotTrackStyles & model::hottrack::kUnderlineCold)
            ex |= LVS_EX_UNDERLINECOLD;
        if (p.HotTrackStyles & model::hottrack::kUnderlineHot)
            ex |= LVS_EX_UNDERLINEHOT;
    }
    ListView_SetExtendedListViewStyle(h, ex);
    ApplyFont(p.Font);
    ApplyViewColors(h, false, p.Font, p.BackColor);
    // The Root folder when it exists; otherwise the current root stays.
    const std::wstring folder = ShellRootFolder(p.Root);
    if (!folder.empty())
        root_ = folder;
    if (!SetFolder(root_))
        Fill();
}

bool TAuShellListView::SetFolder(const std::wstring& folder) {
    if (!IsFolder(folder))
        return false;
    folder_ = folder;
    Fill();
    return true;
}

void TAuShellListView::Fill() {
    entries_.clear();
    if (!folder_.empty()) {
        WIN32_FIND_DATAW fd;
        HANDLE f = FindFirstFileW(Join(folder_, L"*").c_str(), &fd);
        if (f != INVALID_HANDLE_VALUE) {
            do {
                if (IsDots(fd.cFileName))
                    continue;
                Entry e;
                e.name = fd.cFileName;
                e.folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                e.size = (uint64_t{fd.nFileSizeHigh} << 32) | fd.nFileSizeLow;
                entries_.push_back(std::move(e));
            } while (FindNextFileW(f, &fd));
            FindClose(f);
        }
    }
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        if (a.folder != b.folder)
            return a.folder;
        return lstrcmpiW(a.name.c_str(), b.name.c_str()) < 0;
    });
    HWND h = Handle();
    if (!h)
        return;
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(h);
    for (size_t i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = e.name.data();
        item.iImage = IconIndex(Join(folder_, e.name), e.folder);
        item.lParam = static_cast<LPARAM>(i);
        const int at =
            static_cast<int>(SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (at >= 0 && !e.folder) {
            std::wstring size = std::to_wstring((e.size + 1023) / 1024) + L" KB";
            LVITEMW sub{};
            sub.iSubItem = 1;
            sub.pszText = size.data();
            SendMessageW(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(at),
                         reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(h, nullptr, TRUE);
}

std::vector<std::string> TAuShellListView::EntryNames() const {
    std::vector<std::string> out;
    for (const Entry& e : entries_)
        out.push_back(win::Narrow(e.name));
    return out;
}

bool TAuShellListView::OpenEntry(int index) {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size() ||
        !entries_[static_cast<size_t>(index)].folder)
        return false;
    return SetFolder(Join(folder_, entries_[static_cast<size_t>(index)].name));
}

void TAuShellListView::DoDblClick() {
    std::weak_ptr<char> life = LifeToken();
    TAuViewControl::DoDblClick();
    if (life.expired())
        return;
    Defer([this] {
        if (HWND h = Handle())
            OpenEntry(ListView_GetNextItem(h, -1, LVNI_SELECTED));
    });
}

LRESULT TAuShellListView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KEYDOWN && (wp == VK_RETURN || wp == VK_BACK)) {
        Defer([this, wp] {
            HWND h = Handle();
            if (!h)
                return;
            if (wp == VK_RETURN) {
                OpenEntry(ListView_GetNextItem(h, -1, LVNI_SELECTED));
            } else if (lstrcmpiW(folder_.c_str(), root_.c_str()) != 0) {
                // Back up one folder, never above the root.
                const size_t cut = folder_.find_last_of(L'\\');
                if (cut != std::wstring::npos && cut > 0)
                    SetFolder(folder_.substr(0, cut));
            }
        });
    }
    return TAuViewControl::HandleMessage(msg, wp, lp);
}

void TAuShellListView::SetFont(const model::TFont& font) {
    Props().Font = font;
    ApplyFont(font);
    ApplyViewColors(Handle(), false, font, Props().BackColor);
}

void TAuShellListView::SetBackColor(int32_t color) {
    Props().BackColor = color;
    SetColor(color);
    ApplyViewColors(Handle(), false, Props().Font, color);
}

// -------------------------------------------------------- TAuShellTreeView

TAuShellTreeView::TAuShellTreeView(TAuObject& record) : TAuViewControl(record) {
    SetColor(Props().BackColor);
}

TAuShellTreeView::~TAuShellTreeView() {
    attached_ = false;
    DestroyHandle();
}

void TAuShellTreeView::FillCreateArgs(win::CreateArgs& args) {
    const model::ShellTreeViewProps& p = Props();
    args.className = WC_TREEVIEWW;
    args.style |= TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS |
                  (p.HotTrack ? TVS_TRACKSELECT : 0) | (p.TabStop ? WS_TABSTOP : 0);
    args.exStyle |= p.Border ? WS_EX_CLIENTEDGE : 0;
}

void TAuShellTreeView::HandleCreated() {
    TreeView_SetImageList(Handle(), SystemImages(true), TVSIL_NORMAL);
    SetRootFolder(DesktopFolder());
    PropertiesChanged();
}

void TAuShellTreeView::PropertiesChanged() {
    const model::ShellTreeViewProps& p = Props();
    SetColor(p.BackColor);
    if (!Handle())
        return;
    ApplyFont(p.Font);
    ApplyViewColors(Handle(), true, p.Font, p.BackColor);
    ApplyRoot();
}

void TAuShellTreeView::StartPass(bool media) {
    if (!media)
        ApplyRoot();
}

// The Root folder, when it exists, becomes the tree's root and its top
// node is named after Root; otherwise the current root stays.
void TAuShellTreeView::ApplyRoot() {
    const std::wstring folder = ShellRootFolder(Props().Root);
    if (folder.empty() || !SetRootFolder(folder))
        return;
    if (HTREEITEM top = TreeView_GetRoot(Handle())) {
        std::wstring text = win::Widen(ShellRootCaption(Props().Root));
        TVITEMW item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = top;
        item.pszText = text.data();
        SendMessageW(Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

HTREEITEM TAuShellTreeView::AddNode(HTREEITEM parent, const std::wstring& path,
                                    const std::wstring& text) {
    paths_.push_back(path);
    std::wstring t = text;
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    ins.item.pszText = t.data();
    ins.item.lParam = static_cast<LPARAM>(paths_.size());
    ins.item.iImage = ins.item.iSelectedImage = IconIndex(path, true);
    // Children are read when the node first opens.
    ins.item.cChildren = HasSubfolders(path) ? 1 : 0;
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

void TAuShellTreeView::AddSubfolders(HTREEITEM node) {
    const std::wstring folder = NodeFolder(node);
    if (folder.empty() || TreeView_GetChild(Handle(), node))
        return;
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE f = FindFirstFileW(Join(folder, L"*").c_str(), &fd);
    if (f != INVALID_HANDLE_VALUE) {
        do {
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDots(fd.cFileName))
                names.push_back(fd.cFileName);
        } while (FindNextFileW(f, &fd));
        FindClose(f);
    }
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return lstrcmpiW(a.c_str(), b.c_str()) < 0;
    });
    for (const std::wstring& n : names)
        AddNode(node, Join(folder, n), n);
}

bool TAuShellTreeView::SetRootFolder(const std::wstring& folder) {
    HWND h = Handle();
    if (!h || !IsFolder(folder))
        return false;
    root_ = folder;
    const bool was = attached_;
    attached_ = false;
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(h);
    paths_.clear();
    HTREEITEM top = AddNode(TVI_ROOT, folder, DisplayName(folder));
    if (top) {
        AddSubfolders(top);
        TreeView_Expand(h, top, TVE_EXPAND);
        TreeView_SelectItem(h, top);
    }
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(h, nullptr, TRUE);
    attached_ = was;
    if (TAuShellListView* list = LinkedList())
        list->SetFolder(folder);
    return true;
}

std::wstring TAuShellTreeView::NodeFolder(HTREEITEM node) const {
    if (!Handle() || !node)
        return {};
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = node;
    if (!SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return {};
    const size_t i = static_cast<size_t>(item.lParam);
    return i >= 1 && i <= paths_.size() ? paths_[i - 1] : std::wstring{};
}

std::wstring TAuShellTreeView::SelectedFolder() const {
    return Handle() ? NodeFolder(TreeView_GetSelection(Handle())) : std::wstring{};
}

TAuShellListView* TAuShellTreeView::LinkedList() const {
    return list_ && !listLife_.expired() ? list_ : nullptr;
}

void TAuShellTreeView::Link(TAuShellListView* list) {
    list_ = list;
    listLife_ = list ? list->LifeToken() : std::weak_ptr<char>{};
    if (list) {
        const std::wstring folder = SelectedFolder();
        if (!folder.empty())
            list->SetFolder(folder);
    }
}

// A ShellListView named by the ShellListView path shows the folder chosen
// here; any other object is ignored.
void TAuShellTreeView::PageBuilt() {
    TAuEventSink* sink = SinkOf(*this);
    if (!sink || Props().ShellListView.empty())
        return;
    TAuObject* target = sink->FindPageObject(Props().ShellListView);
    if (!target || target->Kind() != TAuObjectKind::ShellListView)
        return;
    if (auto* list = dynamic_cast<TAuShellListView*>(ControlOf(*target)))
        Link(list);
}

bool TAuShellTreeView::HandleNotify(const NMHDR& hdr, LRESULT& result) {
    const auto& nm = reinterpret_cast<const NMTREEVIEWW&>(hdr);
    switch (hdr.code) {
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDINGA:
        if (nm.action & TVE_EXPAND)
            AddSubfolders(nm.itemNew.hItem);
        result = FALSE;
        return true;
    case TVN_SELCHANGEDW:
    case TVN_SELCHANGEDA:
        if (attached_)
            if (TAuShellListView* list = LinkedList())
                list->SetFolder(NodeFolder(nm.itemNew.hItem));
        result = 0;
        return true;
    default:
        return false;
    }
}

void TAuShellTreeView::SetFont(const model::TFont& font) {
    Props().Font = font;
    ApplyFont(font);
    ApplyViewColors(Handle(), true, font, Props().BackColor);
}

void TAuShellTreeView::SetBackColor(int32_t color) {
    Props().BackColor = color;
    SetColor(color);
    ApplyViewColors(Handle(), true, Props().Font, color);
}

} // namespace orv::objects
