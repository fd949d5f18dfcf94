// The list kinds on a page built as the player builds one: loading,
// owner-drawn entries, the item OnSelect lists and their order against
// OnClick, the tree-to-list pair, the action operations and the shell views.
#include "model/object.h"
#include "objects/lists.h"
#include "win/controls/page.h"
#include "win/interact.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <filesystem>
#include <fstream>

namespace orv::test {
namespace {

using objects::TAuDropDownList;
using objects::TAuListBox;
using objects::TAuListView;
using objects::TAuShellListView;
using objects::TAuShellTreeView;
using objects::TAuTreeView;

// An action list whose only action names itself, so the log shows which
// list ran.
model::TAuActions Named(const std::string& name) {
    model::TAuAction a;
    a.Kind = 42; // ShowMessage: never run here, only logged
    a.Param1 = name;
    return {a};
}

// The sink of the page: logs the seven events and the OnSelect lists it is
// handed, finds page objects, and says whether the window was shown.
class ListSink : public LogSink {
public:
    TAuObject* root = nullptr;
    bool shown = true;
    void ObjectSelectActions(objects::TAuControl& c, const model::TAuActions& list) override {
        lines.push_back(c.Record()->Name + " select " + (list.empty() ? "-" : list[0].Param1));
    }
    TAuObject* FindPageObject(const std::string& path) override {
        return root ? model::FindObject(*root, path) : nullptr;
    }
    bool WindowShown() const override { return shown; }
};

class ListPage : public TestPage {
public:
    ListPage() : TestPage(420, 320) { sink2.root = root.get(); }
    // Builds the controls with the logging sink of this fixture and runs
    // the page-built pass as the player does.
    void BuildPage() {
        Make(*root, host);
        objects::PageBuiltPass(*root);
        Pump(30);
    }
    ListSink sink2;

private:
    void Make(TAuObject& rec, win::WinControl& parent) {
        objects::TAuControl* c = objects::CreateKindControl(rec, parent);
        ASSERT_NE(c, nullptr) << rec.Name;
        objects::ApplySharedProperties(*c, true);
        objects::BindEvents(*c, sink2);
        if (win::WinControl* box = c->ChildParent()) {
            box->DisableAlign();
            for (size_t i = 0; i < rec.ChildCount(); ++i)
                Make(rec.Child(i), *box);
            box->EnableAlign();
            c->ChildrenLoaded();
        }
    }
};

model::TListBoxItem BoxItem(const std::string& caption, const model::TPicture& icon = {}) {
    model::TListBoxItem it;
    it.Name = caption;
    it.Caption = caption;
    it.Icon = icon;
    it.Actions.OnSelect = Named(caption + ".OnSelect");
    it.Actions.SelectActions = Named(caption + ".Select");
    return it;
}

model::TListViewItem ViewItem(const std::string& caption, const model::TPicture& icon = {}) {
    model::TListViewItem it;
    it.Name = caption;
    it.Caption = caption;
    it.Icon = icon;
    it.Actions.OnSelect = Named(caption + ".OnSelect");
    it.Actions.SelectActions = Named(caption + ".Select");
    return it;
}

HWND HandleOf(win::Control& c) {
    return static_cast<win::WinControl&>(c).Handle();
}

// Posts a click at a point of a control's client area and lets it run
// (posted, because some controls wait for the release in a loop of their
// own).
void PostClick(HWND h, int x, int y, bool twice = false) {
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    if (twice) {
        PostMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    Pump(60);
}

// ------------------------------------------------------------------ ListBox

TEST(ListBox, LoadsSelectionAndDrawsEntriesWithIconsAndCaptions) {
    ListPage page;
    TAuObject& rec = page.Add(*page.root, TAuObjectKind::ListBox, "List", 10, 10, 193, 120);
    auto& p = rec.As<model::ListBoxProps>();
    p.BackColor = 0x00FFFFFF;
    p.Font.Color = 0x000000;
    // A red bitmap icon on a green key colour (bottom-left pixel).
    gfx::Image icon = Solid(8, 8, 0xFFFF0000);
    for (int x = 0; x < 8; ++x)
        icon.At(x, 7) = 0xFF00FF00;
    model::TPicture bmp;
    bmp.Class = model::PictureClass::Bitmap;
    gfx::EncodeBmp(icon, bmp.Bytes);
    p.Items = {BoxItem("Alpha", bmp), BoxItem("Beta"), BoxItem("Gamma")};
    p.Items[2].Selected = true; // single selection: Gamma would be current ...
    p.SelectedIndex = 1;        // ... but SelectedIndex decides
    page.BuildPage();
    auto& box = page.Ctl<TAuListBox>(rec);
    EXPECT_EQ(box.ItemCount(), 3);
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(box.RememberedIndex(), 1);
    // The flags follow the control.
    EXPECT_FALSE(p.Items[2].Selected);
    EXPECT_TRUE(p.Items[1].Selected);

    const gfx::Image shot = box.Snapshot();
    KeepShot(shot, "listbox");
    // Entry 0 (top 2 with the client edge): the icon in 16 x 16 at (2, 2),
    // red, with the key colour gone (white background shows through).
    EXPECT_EQ(Rgb(shot, 2 + 8, 2 + 4), 0xFF0000u);
    EXPECT_EQ(Rgb(shot, 2 + 8, 2 + 15), 0xFFFFFFu);
    // Entry 1 is selected: highlight colour behind it.
    EXPECT_EQ(Rgb(shot, 150, 2 + 16 + 8), PixelOf(GetSysColor(COLOR_HIGHLIGHT)));
    // Captions start at x = 17: dark pixels right of it, none left of it
    // in entry 2 (which has no icon).
    auto darkIn = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Rgb(shot, x, y) == 0)
                    return true;
        return false;
    };
    EXPECT_FALSE(darkIn(2, 2 + 17, 2 + 32, 2 + 48));
    EXPECT_TRUE(darkIn(2 + 17, 2 + 60, 2 + 32, 2 + 48));
}

TEST(ListBox, NoIconWidthStartsTheCaptionOnePixelIn) {
    ListPage page;
    TAuObject& rec = page.Add(*page.root, TAuObjectKind::ListBox, "List", 10, 10, 120, 60);
    auto& p = rec.As<model::ListBoxProps>();
    p.BackColor = 0x00FFFFFF;
    p.Font.Color = 0x000000;
    p.IconWidth = 0;
    p.Items = {BoxItem("WWWW")};
    page.BuildPage();
    const gfx::Image shot = page.Ctl<TAuListBox>(rec).Snapshot();
    KeepShot(shot, "listbox_noicon");
    int firstDark = -1;
    for (int x = 0; x < 40 && firstDark < 0; ++x)
        for (int y = 2; y < 18; ++y)
            if (Rgb(shot, x, y) == 0) {
                firstDark = x;
                break;
            }
    // 2 pixels of client edge, then the caption from x = 1 (a "W" has ink
    // in its first column or the next).
    EXPECT_GE(firstDark, 2 + 1);
    EXPECT_LE(firstDark, 2 + 2);
}

TEST(ListBox, ChoosingAnotherItemRunsItsOnSelectBeforeOnClickOnce) {
    ListPage page;
    TAuObject& rec = page.Add(*page.root, TAuObjectKind::ListBox, "List", 10, 10, 193, 120);
    rec.As<model::ListBoxProps>().Items = {BoxItem("A"), BoxItem("B"), BoxItem("C")};
    rec.As<model::ListBoxProps>().SelectedIndex = 0;
    page.BuildPage();
    auto& box = page.Ctl<TAuListBox>(rec);
    HWND h = HandleOf(box);
    // The current item again: no OnSelect, but the click.
    PostClick(h, 30, 8);
    EXPECT_EQ(page.sink2.Joined(), "List down, List click, List up");
    page.sink2.lines.clear();
    // Another item: its OnSelect, then the click.
    PostClick(h, 30, 16 + 8);
    EXPECT_EQ(page.sink2.Joined(), "List down, List select B.OnSelect, List click, List up");
    EXPECT_EQ(box.RememberedIndex(), 1);
    page.sink2.lines.clear();
    // The keyboard changes the selection: the same rule.
    SetFocus(h);
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
    Pump(20);
    EXPECT_EQ(page.sink2.Joined(), "List select C.OnSelect, List click");
    EXPECT_EQ(rec.As<model::ListBoxProps>().SelectedIndex, 2);
}

TEST(ListBox, MultiSelectRestoresFlagsAndServesTheActions) {
    ListPage page;
    TAuObject& rec = page.Add(*page.root, TAuObjectKind::ListBox, "List", 10, 10, 193, 120);
    auto& p = rec.As<model::ListBoxProps>();
    p.MultiSelect = true;
    p.Items = {BoxItem("A"), BoxItem("B"), BoxItem("C"), BoxItem("D")};
    p.Items[0].Selected = true;
    p.SelectedIndex = 2;
    page.BuildPage();
    auto& box = page.Ctl<TAuListBox>(rec);
    EXPECT_TRUE(box.IsSelected(0));
    EXPECT_FALSE(box.IsSelected(1));
    EXPECT_TRUE(box.IsSelected(2));
    EXPECT_EQ(box.ItemIndex(), 2);
    model::ActionTarget& t = box;
    const auto lists = t.SelectedActionLists();
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0][0].Param1, "A.Select");
    EXPECT_EQ(lists[1][0].Param1, "C.Select");
    // Unselecting leaves nothing selected and no current item.
    t.SetItemIndex(-1);
    EXPECT_EQ(t.ItemIndex(), -1);
    EXPECT_TRUE(t.SelectedActionLists().empty());
    EXPECT_FALSE(p.Items[0].Selected);
    t.SetItemIndex(3);
    EXPECT_EQ(t.ItemIndex(), 3);
    EXPECT_EQ(p.SelectedIndex, 3);
    // No click, no actions from the action operations.
    EXPECT_EQ(page.sink2.Joined(), "");
}

// ------------------------------------------------------------ DropDownList

TEST(DropDownList, LoadsTheCurrentItemAndRunsOnSelectOnAChange) {
    ListPage page;
    TAuObject& rec = page.Add(*page.root, TAuObjectKind::DropDownList, "Drop", 10, 10, 193, 100);
    auto& p = rec.As<model::DropDownListProps>();
    p.BackColor = 0x00FFFFFF;
    p.Font.Color = 0x000000;
    p.ItemHeight = 20;
    p.Items = {BoxItem("One"), BoxItem("Two"), BoxItem("Three")};
    p.SelectedIndex = 1;
    p.DropDownCount = 2;
    page.BuildPage();
    auto& drop = page.Ctl<TAuDropDownList>(rec);
    model::ActionTarget& t = drop;
    EXPECT_EQ(t.ItemCount(), 3);
    EXPECT_EQ(t.ItemIndex(), 1);
    // The closed box is as high as its field, not the stored 100.
    RECT wr;
    GetWindowRect(HandleOf(drop), &wr);
    EXPECT_LT(drop.Height(), 40);
    EXPECT_GE(drop.Height(), 20);
    EXPECT_EQ(wr.bottom - wr.top, drop.Height());
    // It opens to DropDownCount (2) lines.
    SendMessageW(HandleOf(drop), CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(HandleOf(drop), &info);
    RECT lr;
    GetWindowRect(info.hwndList, &lr);
    EXPECT_GE(lr.bottom - lr.top, 2 * 20);
    EXPECT_LE(lr.bottom - lr.top, 2 * 20 + 8);
    SendMessageW(HandleOf(drop), CB_SHOWDROPDOWN, FALSE, 0);
    KeepShot(drop.Snapshot(), "dropdown");
    ASSERT_EQ(t.SelectedActionLists().size(), 1u);
    EXPECT_EQ(t.SelectedActionLists()[0][0].Param1, "Two.Select");
    // A choice made in the box: the item's OnSelect, then OnClick.
    HWND h = HandleOf(drop);
    SetFocus(h);
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
    Pump(20);
    EXPECT_EQ(page.sink2.Joined(), "Drop select Three.OnSelect, Drop click");
    EXPECT_EQ(p.SelectedIndex, 2);
    // The actions' operations run nothing.
    page.sink2.lines.clear();
    t.SetItemIndex(-1);
    EXPECT_EQ(t.ItemIndex(), -1);
    EXPECT_TRUE(t.SelectedActionLists().empty());
    t.SetItemIndex(7); // out of range: none
    EXPECT_EQ(t.ItemIndex(), -1);
    EXPECT_EQ(page.sink2.Joined(), "");
}

// ---------------------------------------------------- ListView and TreeView

struct PairPage : ListPage {
    TAuObject* tree;
    TAuObject* list;
    PairPage(const model::TPicture& nodeIcon) {
        tree = &Add(*root, TAuObjectKind::TreeView, "Tree", 5, 5, 180, 200);
        list = &Add(*root, TAuObjectKind::ListView, "View", 200, 5, 210, 200);
        auto& t = tree->As<model::TreeViewProps>();
        t.AssociatedListView = "View";
        t.BackColor = 0x00FFFFFF;
        // Root "Docs" with two child nodes; its items stand for them.
        model::TTreeNode docs;
        docs.Data = ViewItem("Docs");
        model::TTreeNode a, b;
        a.Data = ViewItem("Manuals", nodeIcon);
        a.Data.Items = {ViewItem("Setup guide")};
        b.Data = ViewItem("Sheets");
        docs.Nodes = {a, b};
        docs.Data.Items = {ViewItem("Manuals"), ViewItem("Sheets")};
        model::TTreeNode other;
        other.Data = ViewItem("Other");
        t.Items = {docs, other};
        auto& l = list->As<model::ListViewProps>();
        l.BackColor = 0x00FFFFFF;
        l.Items = {ViewItem("Own item")};
    }
};

TEST(TreeView, ExpandLevelsAndIconCellsInTreeOrder) {
    for (int levels : {0, 1}) {
        SCOPED_TRACE(levels);
        PairPage page(PngPicture(Solid(4, 4, 0xFF0000FF)));
        page.tree->As<model::TreeViewProps>().ExpandLevels = levels;
        page.BuildPage();
        auto& tree = page.Ctl<TAuTreeView>(*page.tree);
        HWND h = tree.Tree();
        HTREEITEM docs = TreeView_GetRoot(h);
        ASSERT_NE(docs, nullptr);
        const bool expanded = (TreeView_GetItemState(h, docs, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        EXPECT_EQ(expanded, levels == 1);
        // Four nodes, four cells; the second node (Manuals) has the icon.
        EXPECT_EQ(ImageList_GetImageCount(tree.ImageList()), 4);
        TVITEMW item{};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
        item.hItem = TreeView_GetNextSibling(h, docs);
        SendMessageW(h, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(item.iImage, 3);
        EXPECT_EQ(item.iSelectedImage, 3);
        // The first node was selected quietly when the page was built.
        EXPECT_EQ(tree.Selected(), docs);
        EXPECT_EQ(page.sink2.Joined(), "");
        EXPECT_EQ(page.Ctl<TAuListView>(*page.list).Items()[0].Caption, "Own item");
    }
}

TEST(TreeView, SelectingANodeFillsTheListThenRunsOnSelect) {
    PairPage page(PngPicture(Solid(4, 4, 0xFF0000FF)));
    page.BuildPage();
    auto& tree = page.Ctl<TAuTreeView>(*page.tree);
    auto& view = page.Ctl<TAuListView>(*page.list);
    HWND h = tree.Tree();
    HTREEITEM docs = TreeView_GetRoot(h);
    // Select the second root, then Docs again as the user would.
    tree.SelectNode(TreeView_GetNextSibling(h, docs));
    EXPECT_EQ(page.sink2.Joined(), "Tree select Other.OnSelect");
    EXPECT_EQ(view.ItemCount(), 0);
    page.sink2.lines.clear();
    tree.SelectNode(docs);
    EXPECT_EQ(page.sink2.Joined(), "Tree select Docs.OnSelect");
    ASSERT_EQ(view.ItemCount(), 2);
    EXPECT_EQ(view.Items()[0].Caption, "Manuals");
    // The stored items of the list view are left as they are.
    EXPECT_EQ(page.list->As<model::ListViewProps>().Items[0].Caption, "Own item");

    // Icons: the item linked to Manuals shows the node's blue icon, the one
    // linked to Sheets (no icon anywhere) the silver outline on white.
    const gfx::Image shot = view.Snapshot();
    KeepShot(shot, "tree_list_pair");
    KeepShot(page.host.Snapshot(), "tree_list_page");
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateCompatibleBitmap(GetDC(nullptr), 32, 32);
    HGDIOBJ old = SelectObject(dc, bm);
    ImageList_Draw(view.ImageList(), 0, dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(GetPixel(dc, 16, 16), RGB(0, 0, 255));
    ImageList_Draw(view.ImageList(), 1, dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(GetPixel(dc, 31, 31), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(GetPixel(dc, 16, 16), RGB(0xFF, 0xFF, 0xFF));
    SelectObject(dc, old);
    DeleteObject(bm);
    DeleteDC(dc);

    // Choosing an item runs its OnSelect once; choosing it again nothing.
    page.sink2.lines.clear();
    view.SelectItem(1);
    EXPECT_EQ(page.sink2.Joined(), "View select Sheets.OnSelect");
    view.SelectItem(1);
    EXPECT_EQ(page.sink2.Joined(), "View select Sheets.OnSelect");
    EXPECT_EQ(view.RememberedItem(), 1);
    view.ClearSelection();
    EXPECT_EQ(view.RememberedItem(), -1);
    // Enter on an item that stands for a node selects that node, which
    // refills the list with the node's own items.
    page.sink2.lines.clear();
    view.SelectItem(0);
    HWND lh = HandleOf(view);
    SendMessageW(lh, WM_CHAR, VK_RETURN, 0);
    Pump(20);
    EXPECT_EQ(page.sink2.Joined(), "View select Manuals.OnSelect, Tree select Manuals.OnSelect");
    ASSERT_EQ(view.ItemCount(), 1);
    EXPECT_EQ(view.Items()[0].Caption, "Setup guide");
    EXPECT_EQ(TreeView_GetParent(h, tree.Selected()), docs);
}

TEST(TreeView, NoOnSelectBeforeTheWindowIsShownAndNoFillOfAnotherKind) {
    PairPage page(model::TPicture{});
    // The associated name points at the tree itself: not a ListView.
    page.tree->As<model::TreeViewProps>().AssociatedListView = "Tree";
    page.sink2.shown = false;
    page.BuildPage();
    auto& tree = page.Ctl<TAuTreeView>(*page.tree);
    HWND h = tree.Tree();
    tree.SelectNode(TreeView_GetNextSibling(h, TreeView_GetRoot(h)));
    EXPECT_EQ(page.sink2.Joined(), "");
    page.sink2.shown = true;
    tree.SelectNode(TreeView_GetRoot(h));
    EXPECT_EQ(page.sink2.Joined(), "Tree select Docs.OnSelect");
    EXPECT_EQ(page.Ctl<TAuListView>(*page.list).Items()[0].Caption, "Own item");
    ASSERT_EQ(tree.SelectedActionLists().size(), 1u);
    EXPECT_EQ(tree.SelectedActionLists()[0][0].Param1, "Docs.Select");
}

TEST(TreeView, ClicksOnTheViewsRaiseTheObjectsEvents) {
    PairPage page(model::TPicture{});
    page.BuildPage();
    auto& tree = page.Ctl<TAuTreeView>(*page.tree);
    auto& view = page.Ctl<TAuListView>(*page.list);
    // A click on the tree's first row: down, click, up (the control may
    // swallow the release itself).
    RECT r{};
    TreeView_GetItemRect(tree.Tree(), TreeView_GetRoot(tree.Tree()), &r, TRUE);
    PostClick(tree.Tree(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(page.sink2.Joined(), "Tree down, Tree click, Tree up");
    // A double click on a list item that has no linked node.
    page.sink2.lines.clear();
    HWND lh = HandleOf(view);
    ListView_GetItemRect(lh, 0, &r, LVIR_ICON);
    PostClick(lh, (r.left + r.right) / 2, (r.top + r.bottom) / 2, true);
    const std::string log = page.sink2.Joined();
    EXPECT_NE(log.find("View down, View select Own item.OnSelect"), std::string::npos) << log;
    EXPECT_NE(log.find("View click, View up"), std::string::npos) << log;
    EXPECT_NE(log.find("View dblclick"), std::string::npos) << log;
}

TEST(ListView, FontColourAndDestructionRunNoActions) {
    PairPage page(model::TPicture{});
    page.BuildPage();
    auto& view = page.Ctl<TAuListView>(*page.list);
    view.SelectItem(0);
    page.sink2.lines.clear();
    model::TFont f = model::ArialFont(14, 0, 0x0000FF);
    view.SetFont(f);
    view.SetBackColor(0x00E0E0E0);
    EXPECT_EQ(ListView_GetBkColor(HandleOf(view)), RGB(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(page.list->As<model::ListViewProps>().Font, f);
    EXPECT_TRUE(view.ItemSelected(0));
    objects::DestroyKindControl(*page.list);
    objects::DestroyKindControl(*page.tree);
    Pump(20);
    EXPECT_EQ(page.sink2.Joined(), "");
}

// -------------------------------------------------------------- shell views

class ShellFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        base = std::string(tmp) + "orvexa_lists_" + std::to_string(GetCurrentProcessId());
        std::filesystem::create_directories(base + "\\Docs\\Inner");
        std::filesystem::create_directories(base + "\\Docs\\Zeta");
        std::ofstream(base + "\\Docs\\readme.txt") << "hello";
        objects::SetProjectFolder(base);
    }
    void TearDown() override {
        objects::SetProjectFolder("");
        std::error_code ec;
        std::filesystem::remove_all(base, ec);
    }
    std::string base;
};

std::string TopText(HWND tree) {
    wchar_t buf[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = TreeView_GetRoot(tree);
    item.pszText = buf;
    item.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return win::Narrow(buf);
}

TEST_F(ShellFolder, TreeRootIsNamedAfterRootAndFillsItsList) {
    ListPage page;
    TAuObject& t = page.Add(*page.root, TAuObjectKind::ShellTreeView, "Folders", 5, 5, 180, 200);
    TAuObject& l = page.Add(*page.root, TAuObjectKind::ShellListView, "Files", 200, 5, 210, 200);
    t.As<model::ShellTreeViewProps>().Root = "\\Docs\\";
    t.As<model::ShellTreeViewProps>().ShellListView = "Files";
    l.As<model::ShellListViewProps>().ViewStyle = 3;
    page.BuildPage();
    objects::StartPass(*page.root, false);
    auto& tree = page.Ctl<TAuShellTreeView>(t);
    auto& list = page.Ctl<TAuShellListView>(l);
    EXPECT_EQ(TopText(HandleOf(tree)), "Docs");
    EXPECT_EQ(win::Narrow(list.Folder()), base + "\\Docs");
    EXPECT_EQ(list.EntryNames(), (std::vector<std::string>{"Inner", "Zeta", "readme.txt"}));
    KeepShot(page.host.Snapshot(), "shell_views");
    // Selecting the subfolder in the tree shows its (empty) contents.
    HWND h = HandleOf(tree);
    HTREEITEM inner = TreeView_GetChild(h, TreeView_GetRoot(h));
    ASSERT_NE(inner, nullptr);
    TreeView_SelectItem(h, inner);
    EXPECT_EQ(win::Narrow(list.Folder()), base + "\\Docs\\Inner");
    EXPECT_TRUE(list.EntryNames().empty());
    // A folder opened in the list shows its contents.
    TreeView_SelectItem(h, TreeView_GetRoot(h));
    EXPECT_TRUE(list.OpenEntry(1));
    EXPECT_EQ(win::Narrow(list.Folder()), base + "\\Docs\\Zeta");
    EXPECT_FALSE(list.OpenEntry(0)); // nothing in it to open
    EXPECT_EQ(page.sink2.Joined(), "");
}

TEST_F(ShellFolder, EmptyRootIsTheProjectFolderCalledCdrom) {
    ListPage page;
    TAuObject& t = page.Add(*page.root, TAuObjectKind::ShellTreeView, "Folders", 5, 5, 180, 200);
    page.BuildPage();
    auto& tree = page.Ctl<TAuShellTreeView>(t);
    EXPECT_EQ(TopText(HandleOf(tree)), "CDROM");
    EXPECT_EQ(win::Narrow(tree.RootFolder()), base);
}

TEST_F(ShellFolder, AMissingRootKeepsThePreviousOne) {
    ListPage page;
    TAuObject& t = page.Add(*page.root, TAuObjectKind::ShellTreeView, "Folders", 5, 5, 180, 200);
    TAuObject& l = page.Add(*page.root, TAuObjectKind::ShellListView, "Files", 200, 5, 210, 200);
    t.As<model::ShellTreeViewProps>().Root = "\\Missing";
    l.As<model::ShellListViewProps>().Root = "\\Missing";
    page.BuildPage();
    wchar_t desk[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desk);
    auto& tree = page.Ctl<TAuShellTreeView>(t);
    auto& list = page.Ctl<TAuShellListView>(l);
    EXPECT_EQ(tree.RootFolder(), std::wstring(desk));
    EXPECT_EQ(list.Folder(), std::wstring(desk));
    // The tree was shown on Docs; a later Root that is missing keeps Docs.
    t.As<model::ShellTreeViewProps>().Root = "\\Docs";
    tree.PropertiesChanged();
    EXPECT_EQ(win::Narrow(tree.RootFolder()), base + "\\Docs");
    t.As<model::ShellTreeViewProps>().Root = "\\Gone";
    objects::StartPass(*page.root, false);
    EXPECT_EQ(win::Narrow(tree.RootFolder()), base + "\\Docs");
    EXPECT_EQ(TopText(HandleOf(tree)), "Docs");
    // No project folder at all: nothing changes and nothing fails.
    objects::SetProjectFolder("");
    objects::StartPass(*page.root, false);
    EXPECT_EQ(win::Narrow(tree.RootFolder()), base + "\\Docs");
}

} // namespace
} // namespace orv::test
