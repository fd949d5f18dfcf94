// The control framework of the page objects.
//
// A Control is either windowed (a WinControl: its own HWND, our class or a
// subclassed native control) or windowless (a GraphicControl: painted and
// hit-tested by the windowed control it sits in, its host). A WinControl
// owns its children; child order is z-order, later children on top.
// Windowless children are painted front to back into the host's one back
// buffer and hit-tested back to front. Native child windows always cover
// what their parent paints.
//
// Mouse logic lives in the host: it alone decides which child the pointer
// is over, which child has captured the pointer, and whether a press and a
// release on the same child make a click. The pointer is over one control
// at a time on the thread; when that changes, the old control and then the
// new one raise OnMouseLeave and OnMouseEnter, each preceded by the same
// event of every container above it (outermost first) that asked for its
// descendants' enter and leave.
#pragma once

#include "win/controls/surface.h"
#include "win/controls/window.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orv::win {

class WinControl;

// A control's alignment in its parent, with the stored byte values.
enum class Align : uint8_t { None = 0, Top, Bottom, Left, Right, Client };
// The stored byte as an Align; values beyond Client count as None.
Align AlignFromByte(uint8_t value);

enum class MouseButton : uint8_t { Left, Right, Middle };

struct MouseArgs {
    MouseButton button = MouseButton::Left;
    unsigned keys = 0; // MK_LBUTTON, MK_RBUTTON, MK_MBUTTON, MK_SHIFT, MK_CONTROL
    int x = 0, y = 0;  // in the control's client coordinates
    bool doubleClick = false;
};

class Control {
public:
    using NotifyEvent = std::function<void(Control&)>;
    using MouseEvent = std::function<void(Control&, const MouseArgs&)>;
    using ContextEvent = std::function<void(Control&, POINT screen)>;

    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual bool IsWindowed() const = 0;

    // ---- tree
    WinControl* Parent() const { return parent_; }
    // The windowed control that paints this one and gets its mouse input:
    // the control itself when windowed, else its parent.
    WinControl* Host();
    // The topmost ancestor (this when it has no parent).
    Control& Root();

    // ---- geometry, in the parent's client coordinates
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    RECT BoundsRect() const { return bounds_; }
    RECT ClientRect() const { return RECT{0, 0, Width(), Height()}; }
    void SetBounds(int x, int y, int width, int height);
    void SetPosition(int x, int y) { SetBounds(x, y, Width(), Height()); }
    void SetSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
    // Smallest width and height SetBounds gives (page objects use 1).
    void SetMinSize(int width, int height);
    Align GetAlign() const { return align_; }
    void SetAlign(Align align);

    // ---- state
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Visible here and in every ancestor.
    bool Showing() const;
    // The design view flag of the tree (set on the root).
    bool DesignView() const;
    void SetDesignView(bool on) { designView_ = on; }

    // Tool-tip text (ANSI, as stored); empty shows none.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    // Stored cursor number: 0 default, 1..15 custom, negative stock.
    int Cursor() const { return cursor_; }
    void SetCursor(int number) { cursor_ = number; }

    // The pointer is over this control itself (not over a child of it).
    bool IsHovered() const;
    // Containers also raise OnMouseEnter and OnMouseLeave when the pointer
    // enters or leaves one of their descendants.
    bool RaisesDescendantEnterLeave() const { return descendantEnterLeave_; }
    void SetRaisesDescendantEnterLeave(bool on) { descendantEnterLeave_ = on; }

    // ---- painting
    void Invalidate();
    void InvalidateRect(const RECT& rect); // control coordinates
    // Windowless controls paint here (canvas origin at their top-left,
    // clipped to them). Windowed controls paint in PaintBackground.
    virtual void Paint(const Canvas& canvas);
    // Whether the point (control coordinates, inside the bounds) hits the
    // control; shaped controls narrow it down.
    virtual bool HitTest(int x, int y) const;

    POINT ClientToScreen(POINT p);
    POINT ScreenToClient(POINT p);

    // Expires when the control is destroyed: event handlers may destroy
    // controls, so code that raises several events checks it in between.
    std::weak_ptr<char> LifeToken() const { return life_; }

    // ---- timers: message timers of the host window, stopped when the
    // control goes. The callback runs on the user-interface thread.
    // Returns 0 when there is no host window yet.
    unsigned StartTimer(unsigned milliseconds, std::function<void()> callback);
    void StopTimer(unsigned id);

    // ---- events
    NotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
    MouseEvent OnMouseDown, OnMouseMove, OnMouseUp;
    ContextEvent OnContextMenu;

    // Raise the events. The host's mouse logic calls these; controls that
    // react to the mouse override them and call the base to raise.
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoMouseDown(const MouseArgs& args);
    virtual void DoMouseMove(const MouseArgs& args);
    virtual void DoMouseUp(const MouseArgs& args);
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    virtual void DoContextMenu(POINT screen);

protected:
    virtual void BoundsChanged(const RECT& old);
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    // Called when the control has been put into a parent (windowed
    // controls have created their window by then if the parent has one).
    virtual void ParentChanged() {}
    // Called while the control is still a child, just before its parent
    // lets it go (to be destroyed or moved).
    virtual void RemovingFromParent() {}

private:
    friend class WinControl;

    WinControl* parent_ = nullptr;
    RECT bounds_{0, 0, 0, 0};
    int minWidth_ = 0, minHeight_ = 0;
    Align align_ = Align::None;
    bool visible_ = true;
    bool enabled_ = true;
    bool designView_ = false;
    bool descendantEnterLeave_ = false;
    int cursor_ = 0;
    std::string hint_;
    std::shared_ptr<char> life_ = std::make_shared<char>(0);
};

// A control without a window of its own.
class GraphicControl : public Control {
public:
    bool IsWindowed() const override { return false; }
};

class WinControl : public Control, public Window {
public:
    WinControl() = default;
    ~WinControl() override;

    bool IsWindowed() const override { return true; }

    // ---- window creation. A child creates its window when it is added to
    // a parent that has one (or when that parent creates its own). A root
    // is created into a plain parent window, or as a top-level window.
    bool CreateAsChildOf(HWND parent);
    bool CreateTopLevel(DWORD style, DWORD exStyle, HWND owner, const std::wstring& title);

    // ---- children (owned; order = z-order, later on top)
    Control& AddChild(std::unique_ptr<Control> child, int index = -1);
    template <class T> T& Add(std::unique_ptr<T> child) {
        T& ref = *child;
        AddChild(std::unique_ptr<Control>(std::move(child)));
        return ref;
    }
    std::unique_ptr<Control> RemoveChild(Control* child);
    void DestroyChild(Control* child) { RemoveChild(child); }
    void DestroyChildren();
    void MoveChild(int from, int to);
    int ChildCount() const { return static_cast<int>(children_.size()); }
    Control& Child(int index) const { return *children_[static_cast<size_t>(index)]; }
    int IndexOf(const Control* child) const;

    // ---- alignment. Suspended while the count is above zero (a container
    // receiving its children); the last EnableAlign aligns.
    void DisableAlign() { ++alignSuspended_; }
    void EnableAlign();
    bool AlignSuspended() const { return alignSuspended_ > 0; }
    void Realign();
    // The area aligned children share, in client coordinates.
    virtual RECT AlignArea();
    // The client rectangle (of the window when there is one).
    RECT ClientArea() const;

    // ---- appearance: the colour PaintBackground fills with (a stored
    // colour; system colours resolved when painting).
    int32_t Color() const { return color_; }
    void SetColor(int32_t stored);
    // Scroll position of the client area: windowless children are drawn
    // and hit at their bounds minus this; windowed children are placed so.
    POINT ScrollOffset() const { return scroll_; }

    // The windowless child (or this) at a client point, back to front.
    // Disabled children are skipped unless includeDisabled.
    Control* ControlAt(POINT client, bool includeDisabled);

    // ---- painting into other places
    // Paints the whole control with its children (also child windows and
    // native controls) into dc with the control's top-left at (x, y). Works
    // off screen and for hidden windows.
    void PaintTo(HDC dc, int x, int y);
    // The same into an image of the control's size.
    gfx::Image Snapshot();

    // The root's context needs one window for its timers; see Control.
    unsigned StartHostTimer(Control* owner, unsigned ms, std::function<void()> callback);
    void StopHostTimer(unsigned id);
    void StopTimersOf(const Control* owner);

protected:
    // Window class and styles; called just before the window is created.
    virtual void FillCreateArgs(CreateArgs& args);
    // Paints the client background under the windowless children.
    virtual void PaintBackground(const Canvas& canvas);
    // Paints over the windowless children (design marks and the like).
    virtual void PaintOverlay(const Canvas&) {}
    // After the window exists (children not yet created).
    virtual void HandleCreated() {}
    // A child was added, removed, moved, sized, shown or hidden.
    virtual void ChildrenChanged() {}
    // The client size changed (after alignment of the children).
    virtual void Resized() {}
    // Native controls that report their own clicks (a push button's
    // BN_CLICKED) turn the click of a press and release off.
    void SetSynthesizeClick(bool on) { synthesizeClick_ = on; }
    void SetScrollOffset(POINT offset);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void HandleDestroyed() override;
    void BoundsChanged(const RECT& old) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void ParentChanged() override;

private:
    friend class Control;
    bool CreateWindowNow(HWND parentHwnd, const CreateArgs* topLevel);
    void CreateChildWindows();
    void PlaceWindow();
    void RestackChildWindows();
    void PaintClient(HDC target, const RECT& area);
    void RenderClient(const Canvas& canvas);
    bool HandleMouse(UINT msg, WPARAM wp, LPARAM lp);
    void ReleasePress();
    void ForgetChild(Control* child);

    std::vector<std::unique_ptr<Control>> children_;
    int alignSuspended_ = 0;
    bool aligning_ = false;
    int32_t color_ = static_cast<int32_t>(0xFF00000F); // the 3D face colour
    POINT scroll_{0, 0};
    Surface backBuffer_;
    Control* pressed_ = nullptr;
    bool pressClicks_ = false;
    bool trackingLeave_ = false;
    bool synthesizeClick_ = true;
    bool creating_ = false;
    struct Timer {
        Control* owner;
        std::function<void()> callback;
    };
    std::map<unsigned, Timer> timers_;
    unsigned nextTimerId_ = 0x4F00;
};

// ---- the pointer, the hint window and timing

// The control the pointer is over, or null.
Control* HoveredControl();
// Whether a hint is showing, and its text.
bool HintShowing();
std::string ShownHint();
// Hint timing: the pause before a hint shows and how long it stays
// (defaults 500 ms and 2500 ms).
void SetHintTiming(unsigned pauseMs, unsigned hidePauseMs);

// The Align arithmetic: places aligned items in area. Items of each
// alignment are placed in the order Top, Bottom, Left, Right, Client; among
// items of one alignment the one nearest its edge goes first (by Top for
// Top, by bottom edge for Bottom, by Left for Left, by right edge for
// Right), ties keeping child order. Top and Bottom items keep their height
// and take the area's width, Left and Right keep their width and take the
// remaining height; a Client item takes what is left. Items with None or
// hidden items are left alone. Returns the area that remains.
struct AlignItem {
    Align align = Align::None;
    RECT bounds{0, 0, 0, 0}; // in: current, out: aligned
    bool visible = true;
};
RECT AlignItems(const RECT& area, std::vector<AlignItem>& items);

} // namespace orv::win
