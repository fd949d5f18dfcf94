// The list kinds: ListBox, DropDownList, ListView, TreeView and the two
// shell views. Each is a platform control with the kind's defaults and
// behaviour added; each serves the actions through model::ActionTarget.
#pragma once

#include "model/action_target.h"
#include "objects/aucontrol.h"
#include "win/controls/drawing.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv::objects {

class TAuTreeView;
class TAuShellListView;

// The decoded icons of list items, one per item (empty where an item has
// none). Bitmaps are made transparent by their bottom-left colour.
class ListIcons {
public:
    void Load(const std::vector<model::TListBoxItem>& items);
    const win::Picture* At(size_t index) const;
    void Clear() { icons_.clear(); }

private:
    std::vector<std::unique_ptr<win::Picture>> icons_;
};

// Draws one owner-drawn entry of a ListBox or DropDownList (nothing for an
// index below 0 or past the items).
struct ListEntryStyle {
    int itemHeight, iconWidth, iconHeight;
    int32_t backColor;
    const model::TFont* font;
};
void DrawListEntry(const DRAWITEMSTRUCT& dis, const std::vector<model::TListBoxItem>& items,
                   const ListIcons& icons, const ListEntryStyle& style);

// Adds one width x height cell to an image list: the background colour
// with the icon stretched over it, or a silver outline when icon is null;
// inset pixels of background stay around the icon or outline.
void AddIconCell(HIMAGELIST list, int width, int height, int32_t back, const model::TPicture* icon,
                 int inset);

// ---------------------------------------------------------------- ListBox

class TAuListBox : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuListBox(TAuObject& record);

    void PropertiesChanged() override;
    model::ListBoxProps& Props() const { return Record()->As<model::ListBoxProps>(); }

    // The index the OnClick rule compares with.
    int RememberedIndex() const { return remembered_; }
    bool IsSelected(int index) const;

    // Actions.
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    int ItemCount() const override;
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    std::vector<model::TAuActions> SelectedActionLists() const override;

    // The item's OnSelect (when another item became current) before the
    // record's OnClick list.
    void DoClick() override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Fill();
    void StoreSelection();

    ListIcons icons_;
    int remembered_ = -1;
    // Mouse bookkeeping: a press of the list's own is turned into a click at
    // its release by the framework; the list's selection notification
    // raises the click only for changes made otherwise (keys, a release
    // outside the list).
    bool pressed_ = false;
    bool pressDouble_ = false;
    bool inRelease_ = false;
    bool clickRaised_ = false;
};

// ------------------------------------------------------------ DropDownList

class TAuDropDownList : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuDropDownList(TAuObject& record);
    ~TAuDropDownList() override;

    void PropertiesChanged() override;
    model::DropDownListProps& Props() const { return Record()->As<model::DropDownListProps>(); }

    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    int ItemCount() const override;
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    std::vector<model::TAuActions> SelectedActionLists() const override;

    // The height the closed box takes (its selection field).
    int FieldHeight() const;
    int DropDownLines() const;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void BoundsChanged(const RECT& old) override;
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Fill();
    void SelectionChanged();

    ListIcons icons_;
    bool attached_ = true;
};

// ------------------------------------------------- the common view control

// A list or tree view control. These controls report clicks themselves
// (and on some platforms swallow the button release in a loop of their
// own), so the click comes from their notification; it and the other work
// that may rebuild the control run once the platform has finished with the
// message that caused them.
class TAuViewControl : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuViewControl(TAuObject& record);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void DoMouseUp(const win::MouseArgs& args) override;
    // The control's other notifications.
    virtual bool HandleNotify(const NMHDR&, LRESULT&) { return false; }
    // Runs fn once the current message is done (at once outside one).
    void Defer(std::function<void()> fn);
    void ApplyFont(const model::TFont& font);

private:
    void RunDeferred();

    int depth_ = 0;
    bool releaseSeen_ = false;
    bool clicked_ = false;
    bool holdRelease_ = false;
    bool heldRelease_ = false;
    win::MouseArgs held_;
    std::vector<std::function<void()>> deferred_;
};

// --------------------------------------------------------------- ListView

class TAuListView : public TAuViewControl {
public:
    explicit TAuListView(TAuObject& record);
    ~TAuListView() override;

    void PropertiesChanged() override;
    model::ListViewProps& Props() const { return Record()->As<model::ListViewProps>(); }

    // The items shown: the record's, or copies of a tree node's children.
    const std::vector<model::TListViewItem>& Items() const { return items_; }
    int RememberedItem() const { return remembered_; }
    HIMAGELIST ImageList() const { return images_; }

    // Empties the list and shows copies of items, item i linked to the
    // node links[i] of tree (when there is one). Runs no actions.
    void Refill(const std::vector<model::TListViewItem>& items, TAuTreeView* tree,
                const std::vector<HTREEITEM>& links);
    // Selects the tree node the first selected item stands for.
    void SelectLinkedNode();

    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    int ItemCount() const override;
    bool ItemSelected(int index) const override;
    void SelectItem(int index) override;
    void ClearSelection() override;
    std::vector<model::TAuActions> SelectedActionLists() const override;

    void DoDblClick() override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool HandleNotify(const NMHDR& hdr, LRESULT& result) override;

private:
    struct Link {
        std::weak_ptr<char> life; // the tree's
        TAuTreeView* tree = nullptr;
        HTREEITEM node = nullptr;
    };
    void Fill();
    void BuildIcons();
    void ItemChanged(const NMLISTVIEW& nm);
    const model::TListViewItem* LinkedRecord(size_t index) const;

    std::vector<model::TListViewItem> items_;
    std::vector<Link> links_;
    HIMAGELIST images_ = nullptr;
    int remembered_ = -1;
    bool attached_ = true;
};

// --------------------------------------------------------------- TreeView

class TAuTreeView : public TAuViewControl {
public:
    explicit TAuTreeView(TAuObject& record);
    ~TAuTreeView() override;

    void PropertiesChanged() override;
    void PageBuilt() override;
    model::TreeViewProps& Props() const { return Record()->As<model::TreeViewProps>(); }

    HWND Tree() const { return Handle(); }
    HIMAGELIST ImageList() const { return images_; }
    // The record of a node (null for none).
    const model::TTreeNode* NodeRecord(HTREEITEM node) const;
    HTREEITEM Selected() const;
    // Selects a node as the user would (change handling included).
    void SelectNode(HTREEITEM node);
    // Selects a node with the change handling detached.
    void SelectQuietly(HTREEITEM node);

    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    std::vector<model::TAuActions> SelectedActionLists() const override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    bool HandleNotify(const NMHDR& hdr, LRESULT& result) override;

private:
    void Fill();
    void SelectionChanged(HTREEITEM node);

    HIMAGELIST images_ = nullptr;
    bool attached_ = true;
};

// ------------------------------------------------------------ shell views

// A list of the files and folders of one folder, with the shell's icons.
class TAuShellListView : public TAuViewControl {
public:
    explicit TAuShellListView(TAuObject& record);
    ~TAuShellListView() override;

    void PropertiesChanged() override;
    model::ShellListViewProps& Props() const { return Record()->As<model::ShellListViewProps>(); }

    // The folder shown (no trailing backslash except at a drive's root).
    const std::wstring& Folder() const { return folder_; }
    // Shows a folder's contents; false (keeping the current one) when it
    // is not a folder.
    bool SetFolder(const std::wstring& folder);
    // Texts of the entries shown, in order (folders first).
    std::vector<std::string> EntryNames() const;
    // Opens the entry at index when it is a folder.
    bool OpenEntry(int index);

    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;

    void DoDblClick() override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Entry {
        std::wstring name;
        bool folder = false;
        uint64_t size = 0;
    };
    void Fill();

    std::wstring root_;   // the folder Root named (or the desktop)
    std::wstring folder_; // the folder shown
    std::vector<Entry> entries_;
};

// A tree of the folders below one root folder; the selected folder is
// shown by the linked ShellListView.
class TAuShellTreeView : public TAuViewControl {
public:
    explicit TAuShellTreeView(TAuObject& record);
    ~TAuShellTreeView() override;

    void PropertiesChanged() override;
    void PageBuilt() override;
    void StartPass(bool media) override;
    model::ShellTreeViewProps& Props() const { return Record()->As<model::ShellTreeViewProps>(); }

    const std::wstring& RootFolder() const { return root_; }
    // Shows the tree below folder; false (keeping the current root) when it
    // is not a folder.
    bool SetRootFolder(const std::wstring& folder);
    // The folder of a node, and of the selected node.
    std::wstring NodeFolder(HTREEITEM node) const;
    std::wstring SelectedFolder() const;
    TAuShellListView* LinkedList() const;
    void Link(TAuShellListView* list);

    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    bool HandleNotify(const NMHDR& hdr, LRESULT& result) override;

private:
    void ApplyRoot();
    HTREEITEM AddNode(HTREEITEM parent, const std::wstring& path, const std::wstring& text);
    void AddSubfolders(HTREEITEM node);

    std::wstring root_;
    std::vector<std::wstring> paths_; // node lParam = index + 1
    TAuShellListView* list_ = nullptr;
    std::weak_ptr<char> listLife_;
    bool attached_ = true;
};

// The root a shell view's Root names: the project folder joined with it
// (the project folder itself when empty); empty when that is no folder.
std::wstring ShellRootFolder(const std::string& root);
// The text of a ShellTreeView's top node for a Root: Root without one
// leading and one trailing backslash, or "CDROM" when nothing is left.
std::string ShellRootCaption(const std::string& root);

} // namespace orv::objects
