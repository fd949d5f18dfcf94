// ListView: a list view whose items carry their own OnSelect and
// SelectActions lists; a TreeView can fill it with a node's items.
#include "objects/lists.h"
#include "win/interact.h"

#include <algorithm>

namespace orv::objects {

namespace {

constexpr int kMaxIconSide = 256;
constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);

int IconSide(int32_t stored) {
    return std::clamp<int32_t>(stored, 1, kMaxIconSide);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        size_t j = text.find_first_of("\r\n", i);
        if (j == std::string::npos)
            j = text.size();
        out.push_back(text.substr(i, j - i));
        if (j < text.size() && text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n')
            ++j;
        i = j + 1;
    }
    return out;
}

} // namespace

// One cell of an image list: the background colour with the icon stretched
// over it, or a silver outline when there is no icon. inset leaves that
// many pixels of background around the icon or outline.
void AddIconCell(HIMAGELIST list, int width, int height, int32_t back, const model::TPicture* icon,
                 int inset) {
    win::Surface cell;
    if (!cell.Resize(width, height))
        return;
    HDC dc = cell.Dc();
    const RECT all{0, 0, width, height};
    SetDCBrushColor(dc, win::ResolveColor(back));
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    const RECT inner{inset, inset, width - inset, height - inset};
    win::Picture pic;
    if (icon && pic.Assign(*icon)) {
        pic.Draw(dc, inner);
    } else {
        HPEN pen = CreatePen(PS_SOLID, 1, kSilver);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
        Rectangle(dc, inner.left, inner.top, inner.right, inner.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    win::ImageBitmap bmp;
    if (bmp.Assign(cell.CopyOut(gfx::Rect{0, 0, width, height})))
        ImageList_Add(list, bmp.Bitmap(), nullptr);
}

TAuListView::TAuListView(TAuObject& record) : TAuViewControl(record) {
    SetColor(Props().BackColor);
    items_ = Props().Items;
}

TAuListView::~TAuListView() {
    // Deleting the items while the control goes must run no actions.
    attached_ = false;
    DestroyHandle();
    if (images_)
        ImageList_Destroy(images_);
}

void TAuListView::FillCreateArgs(win::CreateArgs& args) {
    const model::ListViewProps& p = Props();
    static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    args.className = WC_LISTVIEWW;
    args.style |= kViews[p.ViewStyle < 4 ? p.ViewStyle : 0] | LVS_AUTOARRANGE |
                  LVS_SHAREIMAGELISTS | LVS_NOSORTHEADER |
                  (p.HideSelection ? 0 : LVS_SHOWSELALWAYS) | (p.TabStop ? WS_TABSTOP : 0);
    args.exStyle |= p.Border ? WS_EX_CLIENTEDGE : 0;
}

void TAuListView::HandleCreated() {
    Fill();
}

void TAuListView::Fill() {
    HWND h = Handle();
    if (!h)
        return;
    const model::ListViewProps& p = Props();
    DWORD ex = LVS_EX_INFOTIP;
    if (p.ReportGridLines)
        ex |= LVS_EX_GRIDLINES;
    if (p.ReportRowSelect)
        ex |= LVS_EX_FULLROWSELECT;
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
    ListView_SetBkColor(h, win::ResolveColor(p.BackColor));
    ListView_SetTextBkColor(h, win::ResolveColor(p.BackColor));
    ListView_SetTextColor(h, win::FontColor(p.Font));
    // The report columns.
    while (ListView_DeleteColumn(h, 0)) {
    }
    for (size_t i = 0; i < p.ReportColumns.size(); ++i) {
        const model::TListColumn& c = p.ReportColumns[i];
        std::wstring text = win::Widen(c.Caption);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = c.Alignment == 1 ? LVCFMT_RIGHT : c.Alignment == 2 ? LVCFMT_CENTER : LVCFMT_LEFT;
        col.cx = std::clamp<int32_t>(c.Width, 0, 10000);
        col.pszText = text.data();
        SendMessageW(h, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
    }
    links_.assign(items_.size(), Link{});
    BuildIcons();
    remembered_ = -1;
}

void TAuListView::PropertiesChanged() {
    SetColor(Props().BackColor);
    items_ = Props().Items;
    links_.clear();
    const bool was = attached_;
    attached_ = false;
    if (Handle())
        ListView_DeleteAllItems(Handle());
    Fill();
    attached_ = was;
}

const model::TListViewItem* TAuListView::LinkedRecord(size_t index) const {
    if (index >= links_.size())
        return nullptr;
    const Link& l = links_[index];
    if (!l.tree || !l.node || l.life.expired())
        return nullptr;
    const model::TTreeNode* node = l.tree->NodeRecord(l.node);
    return node ? &node->Data : nullptr;
}

// Empties the image list and the control and adds every item again with
// an icon cell of its own: the item's icon, else the icon of the node it
// stands for, else a silver outline.
void TAuListView::BuildIcons() {
    HWND h = Handle();
    if (!h)
        return;
    const model::ListViewProps& p = Props();
    const int w = IconSide(p.IconWidth), ih = IconSide(p.IconHeight);
    if (images_) {
        int cw = 0, ch = 0;
        ImageList_GetIconSize(images_, &cw, &ch);
        if (cw != w || ch != ih) {
            ListView_SetImageList(h, nullptr, LVSIL_NORMAL);
            ListView_SetImageList(h, nullptr, LVSIL_SMALL);
            ImageList_Destroy(images_);
            images_ = nullptr;
        }
    }
    if (!images_)
        images_ = ImageList_Create(w, ih, ILC_COLOR32, static_cast<int>(items_.size()), 4);
    if (!images_)
        return;
    ImageList_RemoveAll(images_);
    ListView_SetImageList(h, images_, LVSIL_NORMAL);
    ListView_SetImageList(h, images_, LVSIL_SMALL);
    const bool was = attached_;
    attached_ = false;
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(h);
    for (size_t i = 0; i < items_.size(); ++i) {
        const model::TListViewItem& item = items_[i];
        const model::TPicture* icon = nullptr;
        if (!item.Icon.Empty())
            icon = &item.Icon;
        else if (const model::TListViewItem* linked = LinkedRecord(i);
                 linked && !linked->Icon.Empty())
            icon = &linked->Icon;
        AddIconCell(images_, w, ih, p.BackColor, icon, 0);
        std::wstring text = win::Widen(item.Caption);
        LVITEMW lv{};
        lv.mask = LVIF_TEXT | LVIF_IMAGE;
        lv.iItem = static_cast<int>(i);
        lv.iImage = static_cast<int>(i);
        lv.pszText = text.data();
        const int at =
            static_cast<int>(SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv)));
        if (at < 0)
            continue;
        const std::vector<std::string> subs = Lines(item.SubItems);
        for (size_t s = 0; s < subs.size(); ++s) {
            std::wstring sub = win::Widen(subs[s]);
            LVITEMW si{};
            si.iSubItem = static_cast<int>(s + 1);
            si.pszText = sub.data();
            SendMessageW(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(at),
                         reinterpret_cast<LPARAM>(&si));
        }
    }
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(h, nullptr, TRUE);
    attached_ = was;
}

void TAuListView::Refill(const std::vector<model::TListViewItem>& items, TAuTreeView* tree,
                         const std::vector<HTREEITEM>& links) {
    const bool was = attached_;
    attached_ = false;
    if (Handle())
        ListView_DeleteAllItems(Handle());
    items_.clear();
    links_.clear();
    for (size_t i = 0; i < items.size(); ++i) {
        // A copy that cannot be made ends the refill, keeping what is there.
        try {
            items_.push_back(items[i]);
        } catch (const std::bad_alloc&) {
            break;
        }
        Link l;
        if (tree && i < links.size() && links[i]) {
            l.tree = tree;
            l.life = tree->LifeToken();
            l.node = links[i];
        }
        links_.push_back(l);
    }
    BuildIcons();
    remembered_ = -1;
    attached_ = was;
}

void TAuListView::SelectLinkedNode() {
    HWND h = Handle();
    if (!h)
        return;
    const int sel = ListView_GetNextItem(h, -1, LVNI_SELECTED);
    if (sel < 0 || static_cast<size_t>(sel) >= links_.size())
        return;
    const Link l = links_[static_cast<size_t>(sel)];
    if (l.tree && l.node && !l.life.expired())
        l.tree->SelectNode(l.node); // refills this list
}

void TAuListView::ItemChanged(const NMLISTVIEW& nm) {
    HWND h = Handle();
    if (!attached_ || !h)
        return;
    if (ListView_GetSelectedCount(h) == 0) {
        remembered_ = -1;
        return;
    }
    if (!(nm.uChanged & LVIF_STATE) || !(nm.uNewState & LVIS_SELECTED) || nm.iItem < 0 ||
        nm.iItem == remembered_ || static_cast<size_t>(nm.iItem) >= items_.size())
        return;
    remembered_ = nm.iItem;
    // The list is handed over while the control may still be changing the
    // item's state: run it once the control is done.
    const model::TAuActions list = items_[static_cast<size_t>(nm.iItem)].Actions.OnSelect;
    Defer([this, list] {
        if (TAuEventSink* sink = SinkOf(*this))
            sink->ObjectSelectActions(*this, list);
    });
}

bool TAuListView::HandleNotify(const NMHDR& hdr, LRESULT& result) {
    if (hdr.code == static_cast<UINT>(LVN_ITEMCHANGED)) {
        ItemChanged(reinterpret_cast<const NMLISTVIEW&>(hdr));
        result = 0;
        return true;
    }
    return false;
}

void TAuListView::DoDblClick() {
    std::weak_ptr<char> life = LifeToken();
    TAuViewControl::DoDblClick();
    if (!life.expired())
        Defer([this] { SelectLinkedNode(); });
}

LRESULT TAuListView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR && (wp == VK_RETURN || wp == VK_SPACE))
        Defer([this] { SelectLinkedNode(); });
    return TAuViewControl::HandleMessage(msg, wp, lp);
}

int TAuListView::ItemCount() const {
    return Handle() ? ListView_GetItemCount(Handle()) : static_cast<int>(items_.size());
}

bool TAuListView::ItemSelected(int index) const {
    if (!Handle() || index < 0 || index >= ItemCount())
        return false;
    return (ListView_GetItemState(Handle(), index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TAuListView::SelectItem(int index) {
    if (!Handle() || index < 0 || index >= ItemCount())
        return;
    ListView_SetItemState(Handle(), index, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(Handle(), index, FALSE);
}

void TAuListView::ClearSelection() {
    if (Handle())
        ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED);
}

std::vector<model::TAuActions> TAuListView::SelectedActionLists() const {
    std::vector<model::TAuActions> out;
    const int n = std::min<int>(ItemCount(), static_cast<int>(items_.size()));
    for (int i = 0; i < n; ++i)
        if (ItemSelected(i))
            out.push_back(items_[static_cast<size_t>(i)].Actions.SelectActions);
    return out;
}

void TAuListView::SetFont(const model::TFont& font) {
    Props().Font = font;
    ApplyFont(font);
    if (Handle()) {
        ListView_SetTextColor(Handle(), win::FontColor(font));
        ::InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TAuListView::SetBackColor(int32_t color) {
    Props().BackColor = color;
    SetColor(color);
    if (HWND h = Handle()) {
        ListView_SetBkColor(h, win::ResolveColor(color));
        ListView_SetTextBkColor(h, win::ResolveColor(color));
        // The icon cells carry the colour too.
        const bool was = attached_;
        attached_ = false;
        std::vector<UINT> states;
        for (int i = 0; i < ListView_GetItemCount(h); ++i)
            states.push_back(ListView_GetItemState(h, i, LVIS_SELECTED | LVIS_FOCUSED));
        BuildIcons();
        for (int i = 0; i < static_cast<int>(states.size()) && i < ListView_GetItemCount(h); ++i)
            if (states[static_cast<size_t>(i)])
                ListView_SetItemState(h, i, states[static_cast<size_t>(i)],
                                      LVIS_SELECTED | LVIS_FOCUSED);
        attached_ = was;
        ::InvalidateRect(h, nullptr, TRUE);
    }
}

} // namespace orv::objects
