// The six container kinds (Panel, TabNotebook, TabSheet, GroupBox,
// ScrollBox, Splitter) and the background painter of panels and pages.
#pragma once

#include "model/action_target.h"
#include "objects/aucontrol.h"
#include "win/controls/drawing.h"

#include <commctrl.h>

namespace orv::objects {

// Paints a panel's background: colour or gradient, picture, caption,
// border, and the editor's grid. The grid is not stored: the editor turns
// it on for a page's root panel.
class TPanelBack {
public:
    // client: the panel's client rectangle in canvas coordinates. color:
    // the panel's stored colour (the gradient's start colour); font: the
    // panel's caption font.
    void Paint(const win::Canvas& canvas, const RECT& client, const model::TPanelBack& props,
               int32_t color, const model::TFont& font);

    void SetGrid(bool shown, int spacingX, int spacingY);
    bool GridShown() const { return grid_; }
    // Forgets the decoded picture (the next paint decodes again).
    void Reset() { picture_.Clear(); }

private:
    win::Picture picture_;
    bool grid_ = false;
    int gridX_ = 8, gridY_ = 8;
};

// Panel: a borderless window without scroll bars (the platform's client
// edge when its Border is Standard) painted by TPanelBack. Its background
// counts as the panel itself for every mouse event. Also the page root.
class TAuPanel : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuPanel(TAuObject& record);

    win::WinControl* ChildParent() override { return this; }
    void PropertiesChanged() override;

    model::PanelProps& Props() { return Record()->As<model::PanelProps>(); }
    // Actions: the background caption, the caption font, the colour.
    void SetCaption(const std::string& text) override;
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    TPanelBack& Back() { return back_; }

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void PaintBackground(const win::Canvas& canvas) override;

private:
    TPanelBack back_;
};

// TabNotebook: a window holding a tab control that fills it, with an image
// list for the sheets' icons. Its sheets are the tab control's children.
class TAuTabSheet;
class TAuTabNotebook : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuTabNotebook(TAuObject& record);
    ~TAuTabNotebook() override;

    win::WinControl* ChildParent() override;
    void PropertiesChanged() override;
    void ChildrenLoaded() override;

    model::TabNotebookProps& Props() { return Record()->As<model::TabNotebookProps>(); }
    // Actions: the font of the tab captions.
    void SetFont(const model::TFont& font) override;
    // The sheets in tab order.
    int SheetCount() const;
    TAuTabSheet* Sheet(int index) const;
    // The active sheet's index, or -1 when none is active.
    int ActiveSheet() const;
    // Activates a sheet; an index outside the sheets leaves none active.
    void SetActiveSheet(int index);
    // Clears the image list and adds one IconWidth x IconHeight bitmap per
    // sheet: white, with the sheet's icon scaled over it when it has one.
    // Sheets without an icon show no image.
    void RebuildIcons();
    HIMAGELIST ImageList() const { return images_; }
    // The image the tab of a sheet shows (-1 none).
    int TabImage(int index) const;
    HWND TabHandle() const;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void Resized() override;

private:
    friend class TAuTabSheet;
    class PageControl;
    void SheetAdded(TAuTabSheet& sheet);
    void SheetRemoved(TAuTabSheet& sheet);
    void SyncTabs();
    void LayoutSheets();

    PageControl* pages_ = nullptr; // owned as the first child
    HIMAGELIST images_ = nullptr;
    HFONT font_ = nullptr; // owned: the tab control keeps using it
    int active_ = -1;
};

// TabSheet: one page of its notebook's tab control, shown while active.
class TAuTabSheet : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuTabSheet(TAuObject& record);

    win::WinControl* ChildParent() override { return this; }
    void PropertiesChanged() override;

    model::TabSheetProps& Props() { return Record()->As<model::TabSheetProps>(); }
    // Actions: the tab caption.
    void SetCaption(const std::string& text) override;
    TAuTabNotebook* Notebook() const;
    int PageIndex() const;

    // Shows the sheet's window when it is the active sheet and visible.
    void UpdateShown();

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void ParentChanged() override;
    void RemovingFromParent() override;
    void VisibleChanged() override;
    void PaintBackground(const win::Canvas& canvas) override;

private:
    friend class TAuTabNotebook;
    TAuTabNotebook* notebook_ = nullptr;
};

// GroupBox: a frame with a caption, painted in the group box's own colour.
class TAuGroupBox : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuGroupBox(TAuObject& record);

    win::WinControl* ChildParent() override { return this; }
    void PropertiesChanged() override;
    RECT AlignArea() override;

    model::GroupBoxProps& Props() { return Record()->As<model::GroupBoxProps>(); }
    // Actions: the frame caption, its font, the fill colour.
    void SetCaption(const std::string& text) override;
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;

protected:
    void PaintBackground(const win::Canvas& canvas) override;
    void EnabledChanged() override;
};

// ScrollBox: a window whose scroll bars appear when its children reach
// beyond it (not in the design view), with a single-line border when
// Border is set.
class TAuScrollBox : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuScrollBox(TAuObject& record);

    win::WinControl* ChildParent() override { return this; }
    void PropertiesChanged() override;
    void ChildrenLoaded() override;

    model::ScrollBoxProps& Props() { return Record()->As<model::ScrollBoxProps>(); }
    // Actions: the font and the fill colour.
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    // Recomputes the scroll ranges from the children's extent.
    void UpdateScrollBars();
    // Scrolls to a position (clamped to the ranges).
    void ScrollTo(int x, int y);

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void Resized() override;
    void ChildrenChanged() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Scroll(int bar, int code);
    SIZE extent_{0, 0};
};

// Splitter: a windowless bar that resizes the neighbour aligned on the
// same side when dragged (not in the design view).
class TAuSplitter : public TAuKind<win::GraphicControl>, public model::ActionTarget {
public:
    explicit TAuSplitter(TAuObject& record);
    ~TAuSplitter() override;

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    void Paint(const win::Canvas& canvas) override;

    model::SplitterProps& Props() { return Record()->As<model::SplitterProps>(); }
    // Actions: the bar colour.
    void SetBackColor(int32_t color) override;
    // The sibling the splitter resizes, or null.
    win::Control* FindNeighbour();
    bool Dragging() const { return dragging_; }

    void DoMouseDown(const win::MouseArgs& args) override;
    void DoMouseMove(const win::MouseArgs& args) override;
    void DoMouseUp(const win::MouseArgs& args) override;

private:
    bool Horizontal() const; // resizes widths (Left or Right)
    int NewSize(int pointerOffset) const;
    void ShowFeedback(bool on);
    void ApplySize(int size);
    void EndDrag(bool apply);

    bool dragging_ = false;
    win::Control* neighbour_ = nullptr;
    int downPos_ = 0;   // pointer position at mouse down, parent coordinates
    int startSize_ = 0; // neighbour's size at mouse down
    int maxSize_ = 0;   // largest size the neighbour may take
    int newSize_ = 0;
    bool feedbackShown_ = false;
    RECT feedbackRect_{0, 0, 0, 0};
};

} // namespace orv::objects
