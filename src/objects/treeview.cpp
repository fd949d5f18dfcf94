// TreeView: a tree view whose nodes carry their own OnSelect and
// SelectActions lists and the items their associated ListView shows.
#include "objects/lists.h"
#include "win/interact.h"

#include <algorithm>

namespace orv::objects {

namespace {

constexpr int kMaxIconSide = 256;

int IconSide(int32_t stored) {
    return std::clamp<int32_t>(stored, 1, kMaxIconSide);
}

} // namespace

TAuTreeView::TAuTreeView(TAuObject& record) : TAuViewControl(record) {
    SetColor(Props().BackColor);
}

TAuTreeView::~TAuTreeView() {
    // Deleting the nodes while the control goes must run no actions.
    attached_ = false;
    DestroyHandle();
    if (images_)
        ImageList_Destroy(images_);
}

void TAuTreeView::FillCreateArgs(win::CreateArgs& args) {
    const model::TreeViewProps& p = Props();
    args.className = WC_TREEVIEWW;
    args.style |= TVS_SHOWSELALWAYS | (p.ShowLines ? TVS_HASLINES : 0) |
                  (p.ShowRoot ? TVS_LINESATROOT : 0) | (p.ShowButtons ? TVS_HASBUTTONS : 0) |
                  (p.HotTrack ? TVS_TRACKSELECT : 0) | (p.TabStop ? WS_TABSTOP : 0);
    args.exStyle |= p.Border ? WS_EX_CLIENTEDGE : 0;
}

void TAuTreeView::HandleCreated() {
    Fill();
}

// Loads the nodes in tree order (a node before its children), each with an
// icon cell of its own at its position in that order, then expands the
// levels above ExpandLevels and collapses the rest.
void TAuTreeView::Fill() {
    HWND h = Handle();
    if (!h)
        return;
    model::TreeViewProps& p = Props();
    const bool was = attached_;
    attached_ = false;
    ApplyFont(p.Font);
    TreeView_SetBkColor(h, win::ResolveColor(p.BackColor));
    TreeView_SetTextColor(h, win::FontColor(p.Font));
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(h);
    const int w = IconSide(p.IconWidth), ih = IconSide(p.IconHeight);
    if (images_) {
        TreeView_SetImageList(h, nullptr, TVSIL_NORMAL);
        ImageList_Destroy(images_);
    }
    images_ = ImageList_Create(w, ih, ILC_COLOR32, 8, 8);
    int order = 0;
    struct Walk {
        TAuTreeView& tree;
        HWND h;
        int w, ih, expandLevels;
        int32_t back;
        int& order;
        void Add(HTREEITEM parent, const std::vector<model::TTreeNode>& nodes, int level) {
            for (const model::TTreeNode& node : nodes) {
                if (tree.images_)
                    AddIconCell(tree.images_, w, ih, back,
                                node.Data.Icon.Empty() ? nullptr : &node.Data.Icon, 1);
                std::wstring text = win::Widen(node.Data.Caption);
                TVINSERTSTRUCTW ins{};
                ins.hParent = parent;
                ins.hInsertAfter = TVI_LAST;
                ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
                ins.item.pszText = text.data();
                ins.item.lParam = reinterpret_cast<LPARAM>(&node);
                ins.item.iImage = ins.item.iSelectedImage = order++;
                auto item = reinterpret_cast<HTREEITEM>(
                    SendMessageW(h, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
                if (!item)
                    continue;
                Add(item, node.Nodes, level + 1);
                if (!node.Nodes.empty())
                    TreeView_Expand(h, item, level < expandLevels ? TVE_EXPAND : TVE_COLLAPSE);
            }
        }
    } walk{*this, h, w, ih, p.ExpandLevels, p.BackColor, order};
    walk.Add(TVI_ROOT, p.Items, 0);
    TreeView_SetImageList(h, images_, TVSIL_NORMAL);
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(h, nullptr, TRUE);
    attached_ = was;
}

void TAuTreeView::PropertiesChanged() {
    SetColor(Props().BackColor);
    Fill();
}

// The first node is selected quietly: no list fill, no actions.
void TAuTreeView::PageBuilt() {
    if (HWND h = Handle())
        if (HTREEITEM first = TreeView_GetRoot(h))
            SelectQuietly(first);
}

const model::TTreeNode* TAuTreeView::NodeRecord(HTREEITEM node) const {
    if (!Handle() || !node)
        return nullptr;
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = node;
    if (!SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<const model::TTreeNode*>(item.lParam);
}

HTREEITEM TAuTreeView::Selected() const {
    return Handle() ? TreeView_GetSelection(Handle()) : nullptr;
}

void TAuTreeView::SelectNode(HTREEITEM node) {
    if (Handle() && node)
        TreeView_SelectItem(Handle(), node);
}

void TAuTreeView::SelectQuietly(HTREEITEM node) {
    const bool was = attached_;
    attached_ = false;
    SelectNode(node);
    attached_ = was;
}

// The associated ListView shows copies of the node's items, each linked to
// the node's child of the same index; then the node's OnSelect list runs,
// once the window has been shown.
void TAuTreeView::SelectionChanged(HTREEITEM node) {
    if (DesignView())
        return;
    TAuEventSink* sink = SinkOf(*this);
    const model::TTreeNode* rec = NodeRecord(node);
    const std::string& path = Props().AssociatedListView;
    if (sink && !path.empty()) {
        TAuObject* target = sink->FindPageObject(path);
        TAuControl* c =
            target && target->Kind() == TAuObjectKind::ListView ? ControlOf(*target) : nullptr;
        if (auto* list = dynamic_cast<TAuListView*>(c)) {
            std::vector<HTREEITEM> links;
            if (rec)
                for (HTREEITEM child = TreeView_GetChild(Handle(), node); child;
                     child = TreeView_GetNextSibling(Handle(), child))
                    links.push_back(child);
            list->Refill(rec ? rec->Data.Items : std::vector<model::TListViewItem>{}, this, links);
        }
    }
    if (!rec || !sink || !sink->WindowShown())
        return;
    const model::TAuActions list = rec->Data.Actions.OnSelect;
    Defer([this, list] {
        if (TAuEventSink* s = SinkOf(*this))
            s->ObjectSelectActions(*this, list);
    });
}

bool TAuTreeView::HandleNotify(const NMHDR& hdr, LRESULT& result) {
    if (hdr.code == static_cast<UINT>(TVN_SELCHANGEDW) ||
        hdr.code == static_cast<UINT>(TVN_SELCHANGEDA)) {
        const auto& nm = reinterpret_cast<const NMTREEVIEWW&>(hdr);
        if (attached_)
            SelectionChanged(nm.itemNew.hItem);
        result = 0;
        return true;
    }
    return false;
}

std::vector<model::TAuActions> TAuTreeView::SelectedActionLists() const {
    if (const model::TTreeNode* rec = NodeRecord(Selected()))
        return {rec->Data.Actions.SelectActions};
    return {};
}

void TAuTreeView::SetFont(const model::TFont& font) {
    Props().Font = font;
    ApplyFont(font);
    if (Handle())
        TreeView_SetTextColor(Handle(), win::FontColor(font));
}

void TAuTreeView::SetBackColor(int32_t color) {
    Props().BackColor = color;
    SetColor(color);
    if (HWND h = Handle()) {
        TreeView_SetBkColor(h, win::ResolveColor(color));
        // The icon cells carry the colour: rebuild them in tree order.
        if (images_) {
            ImageList_RemoveAll(images_);
            int cw = 0, ch = 0;
            ImageList_GetIconSize(images_, &cw, &ch);
            struct Walk {
                HIMAGELIST list;
                int w, h;
                int32_t back;
                void Add(const std::vector<model::TTreeNode>& nodes) {
                    for (const model::TTreeNode& n : nodes) {
                        AddIconCell(list, w, h, back, n.Data.Icon.Empty() ? nullptr : &n.Data.Icon,
                                    1);
                        Add(n.Nodes);
                    }
                }
            } walk{images_, cw, ch, color};
            walk.Add(Props().Items);
        }
        ::InvalidateRect(h, nullptr, TRUE);
    }
}

} // namespace orv::objects
