#include "win/controls/control.h"

#include "win/controls/drawing.h"
#include "win/interact.h"
#include "win/services.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace orv::win {

namespace {

// ----------------------------------------------------------- the pointer

// The control the pointer is over. One mouse, one user-interface thread:
// one pointer for all hosts, so the leave of the old control always comes
// before the enter of the new one, whatever order the hosts hear of it.
Control* g_hover = nullptr;

// The control, preceded by every container above it that raises its
// descendants' enter and leave, outermost first.
std::vector<std::weak_ptr<char>> EnterLeaveChain(Control* c, std::vector<Control*>& chain) {
    chain.clear();
    for (WinControl* p = c->Parent(); p; p = p->Parent())
        if (p->RaisesDescendantEnterLeave())
            chain.push_back(p);
    std::reverse(chain.begin(), chain.end());
    chain.push_back(c);
    std::vector<std::weak_ptr<char>> lives;
    for (Control* x : chain)
        lives.push_back(x->LifeToken());
    return lives;
}

void RaiseChain(Control* c, bool enter) {
    std::vector<Control*> chain;
    auto lives = EnterLeaveChain(c, chain);
    for (size_t i = 0; i < chain.size(); ++i) {
        if (lives[i].expired())
            continue;
        if (enter)
            chain[i]->DoMouseEnter();
        else
            chain[i]->DoMouseLeave();
    }
}

class HintWindow;
HintWindow& Hints();
extern HintWindow* g_hints;

void SetHover(Control* c);

// ------------------------------------------------------------------ hints

unsigned g_hintPause = 500;
unsigned g_hintHidePause = 2500;

// A hidden window that times the hints and owns the one tool-tip window,
// shown in tracking mode next to the pointer.
class HintWindow : public Window {
public:
    HintWindow() {
        CreateArgs a;
        a.style = WS_POPUP;
        a.parent = HWND_MESSAGE;
        CreateHandle(a);
    }

    void HoverChanged(Control* c) {
        Hide();
        KillTimer(Handle(), kShowTimer);
        control_ = c;
        life_ = c ? c->LifeToken() : std::weak_ptr<char>();
        if (c && !c->Hint().empty() && !c->DesignView() && Handle())
            SetTimer(Handle(), kShowTimer, g_hintPause, nullptr);
    }

    void Hide() {
        KillTimer(Handle(), kHideTimer);
        if (tip_ && showing_)
            SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_));
        showing_ = false;
        shown_.clear();
    }

    void Forget(Control* c) {
        if (control_ == c)
            HoverChanged(nullptr);
    }

    bool Showing() const { return showing_; }
    const std::string& Shown() const { return shown_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_TIMER) {
            KillTimer(Handle(), wp);
            if (wp == kShowTimer && !life_.expired() && control_ == g_hover)
                Show(control_->Hint());
            else if (wp == kHideTimer)
                Hide();
            return 0;
        }
        return Window::HandleMessage(msg, wp, lp);
    }

private:
    static constexpr UINT_PTR kShowTimer = 1, kHideTimer = 2;

    void Show(const std::string& text) {
        if (!tip_) {
            tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, Handle(),
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
            if (!tip_)
                return;
            tool_ = TOOLINFOW{};
            tool_.cbSize = sizeof tool_;
            tool_.uFlags = TTF_TRACK | TTF_ABSOLUTE;
            tool_.hwnd = Handle();
            tool_.uId = 1;
            tool_.lpszText = const_cast<wchar_t*>(L"");
            SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
            SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 480);
        }
        text_ = Widen(text);
        tool_.lpszText = const_cast<wchar_t*>(text_.c_str());
        SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool_));
        POINT pt;
        GetCursorPos(&pt);
        SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x, pt.y + 20));
        SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_));
        showing_ = true;
        shown_ = text;
        SetTimer(Handle(), kHideTimer, g_hintHidePause, nullptr);
    }

    Control* control_ = nullptr;
    std::weak_ptr<char> life_;
    HWND tip_ = nullptr;
    TOOLINFOW tool_{};
    std::wstring text_;
    std::string shown_;
    bool showing_ = false;
};

// Created on first use and kept for the life of the process (its window
// dies with the thread), so control destructors never outlive it.
HintWindow* g_hints = nullptr;

HintWindow& Hints() {
    if (!g_hints)
        g_hints = new HintWindow;
    return *g_hints;
}

void SetHover(Control* c) {
    if (c == g_hover)
        return;
    Control* old = g_hover;
    g_hover = c;
    Hints().HoverChanged(c);
    if (old)
        RaiseChain(old, false);
    // A leave handler may have moved the pointer's control on or destroyed c.
    if (c && g_hover == c)
        RaiseChain(c, true);
}

MouseArgs MakeArgs(MouseButton button, WPARAM wp, POINT pt, bool dbl) {
    MouseArgs a;
    a.button = button;
    a.keys = GET_KEYSTATE_WPARAM(wp);
    a.x = pt.x;
    a.y = pt.y;
    a.doubleClick = dbl;
    return a;
}

RECT Shifted(RECT r, int dx, int dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

} // namespace

Control* HoveredControl() {
    return g_hover;
}
bool HintShowing() {
    return g_hints && g_hints->Showing();
}
std::string ShownHint() {
    return g_hints ? g_hints->Shown() : std::string();
}
void SetHintTiming(unsigned pauseMs, unsigned hidePauseMs) {
    g_hintPause = pauseMs;
    g_hintHidePause = hidePauseMs;
}

// ================================================================= Control

Control::~Control() {
    if (g_hover == this)
        g_hover = nullptr;
    if (g_hints)
        g_hints->Forget(this);
}

WinControl* Control::Host() {
    if (IsWindowed())
        return static_cast<WinControl*>(this);
    return parent_;
}

Control& Control::Root() {
    Control* c = this;
    while (c->parent_)
        c = c->parent_;
    return *c;
}

void Control::SetMinSize(int width, int height) {
    minWidth_ = std::max(width, 0);
    minHeight_ = std::max(height, 0);
    SetBounds(Left(), Top(), Width(), Height());
}

void Control::SetBounds(int x, int y, int width, int height) {
    width = std::max(width, minWidth_);
    height = std::max(height, minHeight_);
    RECT nb{x, y, static_cast<int>(std::min<int64_t>(int64_t{x} + width, INT32_MAX)),
            static_cast<int>(std::min<int64_t>(int64_t{y} + height, INT32_MAX))};
    if (EqualRect(&nb, &bounds_))
        return;
    RECT old = bounds_;
    bounds_ = nb;
    BoundsChanged(old);
    if (parent_ && align_ != Align::None && !parent_->aligning_)
        parent_->Realign();
    if (parent_)
        parent_->ChildrenChanged();
}

void Control::SetAlign(Align align) {
    if (align == align_)
        return;
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void Control::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    VisibleChanged();
    if (!IsWindowed() && parent_)
        parent_->InvalidateRect(Shifted(bounds_, -parent_->scroll_.x, -parent_->scroll_.y));
    if (parent_ && align_ != Align::None)
        parent_->Realign();
    if (parent_)
        parent_->ChildrenChanged();
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    EnabledChanged();
    Invalidate();
}

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_)
            return false;
    return true;
}

bool Control::DesignView() const {
    const Control* c = this;
    while (c->parent_)
        c = c->parent_;
    return c->designView_;
}

bool Control::IsHovered() const {
    return g_hover == this;
}

void Control::Invalidate() {
    InvalidateRect(ClientRect());
}

void Control::InvalidateRect(const RECT& rect) {
    if (IsWindowed()) {
        auto* w = static_cast<WinControl*>(this);
        if (w->Handle())
            ::InvalidateRect(w->Handle(), &rect, w->IsNative() ? TRUE : FALSE);
        return;
    }
    if (!parent_)
        return;
    RECT r = rect;
    RECT own = ClientRect();
    if (!IntersectRect(&r, &r, &own))
        return;
    OffsetRect(&r, bounds_.left - parent_->scroll_.x, bounds_.top - parent_->scroll_.y);
    parent_->InvalidateRect(r);
}

void Control::Paint(const Canvas&) {}

bool Control::HitTest(int, int) const {
    return true;
}

POINT Control::ClientToScreen(POINT p) {
    if (IsWindowed()) {
        auto* w = static_cast<WinControl*>(this);
        if (w->Handle()) {
            ::ClientToScreen(w->Handle(), &p);
            return p;
        }
    }
    if (!parent_)
        return p;
    return parent_->ClientToScreen(
        POINT{p.x + bounds_.left - parent_->scroll_.x, p.y + bounds_.top - parent_->scroll_.y});
}

POINT Control::ScreenToClient(POINT p) {
    POINT origin = ClientToScreen(POINT{0, 0});
    return POINT{p.x - origin.x, p.y - origin.y};
}

unsigned Control::StartTimer(unsigned milliseconds, std::function<void()> callback) {
    WinControl* host = Host();
    if (!host || !host->Handle())
        return 0;
    return host->StartHostTimer(this, milliseconds, std::move(callback));
}

void Control::StopTimer(unsigned id) {
    if (WinControl* host = Host())
        host->StopHostTimer(id);
}

void Control::DoClick() {
    if (OnClick)
        OnClick(*this);
}
void Control::DoDblClick() {
    if (OnDblClick)
        OnDblClick(*this);
}
void Control::DoMouseDown(const MouseArgs& args) {
    if (OnMouseDown)
        OnMouseDown(*this, args);
}
void Control::DoMouseMove(const MouseArgs& args) {
    if (OnMouseMove)
        OnMouseMove(*this, args);
}
void Control::DoMouseUp(const MouseArgs& args) {
    if (OnMouseUp)
        OnMouseUp(*this, args);
}
void Control::DoMouseEnter() {
    if (OnMouseEnter)
        OnMouseEnter(*this);
}
void Control::DoMouseLeave() {
    if (OnMouseLeave)
        OnMouseLeave(*this);
}
void Control::DoContextMenu(POINT screen) {
    if (OnContextMenu)
        OnContextMenu(*this, screen);
}

void Control::BoundsChanged(const RECT& old) {
    // Windowless: repaint where it was and where it is.
    if (!parent_)
        return;
    const int dx = -parent_->scroll_.x, dy = -parent_->scroll_.y;
    parent_->InvalidateRect(Shifted(old, dx, dy));
    parent_->InvalidateRect(Shifted(bounds_, dx, dy));
}

// ============================================================== WinControl

WinControl::~WinControl() {
    // Destroying our window destroys the child windows with it; then the
    // child objects go, children before parents.
    DestroyHandle();
    DestroyChildren();
}

bool WinControl::CreateAsChildOf(HWND parent) {
    if (Handle() || parent_)
        return false;
    return CreateWindowNow(parent, nullptr);
}

bool WinControl::CreateTopLevel(DWORD style, DWORD exStyle, HWND owner, const std::wstring& title) {
    if (Handle() || parent_)
        return false;
    CreateArgs a;
    a.style = style;
    a.exStyle = exStyle;
    a.parent = owner;
    a.text = title;
    return CreateWindowNow(nullptr, &a);
}

void WinControl::FillCreateArgs(CreateArgs&) {}

bool WinControl::CreateWindowNow(HWND parentHwnd, const CreateArgs* topLevel) {
    CreateArgs a;
    POINT ps = parent_ ? parent_->scroll_ : POINT{0, 0};
    if (topLevel) {
        a = *topLevel;
        a.style &= ~WS_CHILD;
        if (Visible())
            a.style |= WS_VISIBLE;
    } else {
        a.parent = parentHwnd;
        a.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0);
    }
    if (!Enabled())
        a.style |= WS_DISABLED;
    a.x = Left() - ps.x;
    a.y = Top() - ps.y;
    a.width = Width();
    a.height = Height();
    FillCreateArgs(a);
    creating_ = true;
    bool ok = CreateHandle(a);
    creating_ = false;
    if (!ok)
        return false;
    if (!topLevel)
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HandleCreated();
    CreateChildWindows();
    Realign();
    return true;
}

void WinControl::CreateChildWindows() {
    for (auto& c : children_)
        if (c->IsWindowed()) {
            auto* w = static_cast<WinControl*>(c.get());
            if (!w->Handle())
                w->CreateWindowNow(Handle(), nullptr);
        }
}

void WinControl::RestackChildWindows() {
    for (auto& c : children_)
        if (c->IsWindowed()) {
            auto* w = static_cast<WinControl*>(c.get());
            if (w->Handle())
                SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
}

Control& WinControl::AddChild(std::unique_ptr<Control> child, int index) {
    Control& ref = *child;
    if (child->parent_)
        child->parent_->RemoveChild(child.get()).release();
    child->parent_ = this;
    const bool atEnd = index < 0 || index >= ChildCount();
    if (atEnd)
        children_.push_back(std::move(child));
    else
        children_.insert(children_.begin() + index, std::move(child));
    if (ref.IsWindowed()) {
        auto* w = static_cast<WinControl*>(&ref);
        if (Handle() && !w->Handle()) {
            w->CreateWindowNow(Handle(), nullptr);
            if (!atEnd)
                RestackChildWindows();
        }
    } else {
        ref.Invalidate();
    }
    ref.ParentChanged();
    if (ref.GetAlign() != Align::None)
        Realign();
    ChildrenChanged();
    return ref;
}

void WinControl::ForgetChild(Control* child) {
    if (pressed_ == child) {
        pressed_ = nullptr;
        if (Handle() && GetCapture() == Handle())
            ReleaseCapture();
    }
    StopTimersOf(child);
    if (g_hover == child)
        g_hover = nullptr;
}

std::unique_ptr<Control> WinControl::RemoveChild(Control* child) {
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        if (it->get() != child)
            continue;
        child->RemovingFromParent();
        it = std::find_if(children_.begin(), children_.end(),
                          [child](const std::unique_ptr<Control>& c) { return c.get() == child; });
        if (it == children_.end())
            return nullptr;
        std::unique_ptr<Control> out = std::move(*it);
        children_.erase(it);
        ForgetChild(child);
        if (!child->IsWindowed())
            InvalidateRect(Shifted(child->bounds_, -scroll_.x, -scroll_.y));
        child->parent_ = nullptr;
        if (child->GetAlign() != Align::None)
            Realign();
        ChildrenChanged();
        return out;
    }
    return nullptr;
}

void WinControl::DestroyChildren() {
    while (!children_.empty()) {
        std::unique_ptr<Control> c = std::move(children_.back());
        children_.pop_back();
        ForgetChild(c.get());
        c->parent_ = nullptr;
        c.reset();
    }
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, FALSE);
}

void WinControl::MoveChild(int from, int to) {
    const int n = ChildCount();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    std::unique_ptr<Control> c = std::move(children_[static_cast<size_t>(from)]);
    children_.erase(children_.begin() + from);
    children_.insert(children_.begin() + to, std::move(c));
    RestackChildWindows();
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, FALSE);
}

int WinControl::IndexOf(const Control* child) const {
    for (size_t i = 0; i < children_.size(); ++i)
        if (children_[i].get() == child)
            return static_cast<int>(i);
    return -1;
}

void WinControl::EnableAlign() {
    if (alignSuspended_ > 0 && --alignSuspended_ == 0)
        Realign();
}

RECT WinControl::AlignArea() {
    return ClientArea();
}

RECT WinControl::ClientArea() const {
    if (Handle()) {
        RECT r;
        GetClientRect(Handle(), &r);
        return r;
    }
    return ClientRect();
}

void WinControl::Realign() {
    if (alignSuspended_ > 0 || aligning_)
        return;
    std::vector<AlignItem> items;
    std::vector<Control*> aligned;
    for (auto& c : children_)
        if (c->GetAlign() != Align::None) {
            items.push_back(AlignItem{c->GetAlign(), c->BoundsRect(), c->Visible()});
            aligned.push_back(c.get());
        }
    if (items.empty())
        return;
    AlignItems(AlignArea(), items);
    aligning_ = true;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].visible)
            continue;
        const RECT& b = items[i].bounds;
        aligned[i]->SetBounds(b.left, b.top, b.right - b.left, b.bottom - b.top);
    }
    aligning_ = false;
}

void WinControl::SetColor(int32_t stored) {
    if (stored == color_)
        return;
    color_ = stored;
    Invalidate();
}

void WinControl::SetScrollOffset(POINT offset) {
    const int dx = scroll_.x - offset.x, dy = scroll_.y - offset.y;
    if (dx == 0 && dy == 0)
        return;
    scroll_ = offset;
    if (Handle()) {
        ScrollWindowEx(Handle(), dx, dy, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE);
        // Child windows were moved by the platform to where they belong.
    }
}

Control* WinControl::ControlAt(POINT client, bool includeDisabled) {
    const POINT p{client.x + scroll_.x, client.y + scroll_.y};
    for (size_t i = children_.size(); i-- > 0;) {
        Control* c = children_[i].get();
        if (c->IsWindowed() || !c->Visible() || (!includeDisabled && !c->Enabled()))
            continue;
        if (PtInRect(&c->bounds_, p) && c->HitTest(p.x - c->bounds_.left, p.y - c->bounds_.top))
            return c;
    }
    return this;
}

void WinControl::PlaceWindow() {
    if (!Handle())
        return;
    POINT ps = parent_ ? parent_->scroll_ : POINT{0, 0};
    SetWindowPos(Handle(), nullptr, Left() - ps.x, Top() - ps.y, Width(), Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::BoundsChanged(const RECT& old) {
    if (Handle()) {
        PlaceWindow();
    } else if (old.right - old.left != Width() || old.bottom - old.top != Height()) {
        Realign();
        Resized();
    }
}

void WinControl::VisibleChanged() {
    if (!Handle())
        return;
    const bool child = (GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD) != 0;
    ShowWindow(Handle(), Visible() ? (child ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
}

void WinControl::EnabledChanged() {
    if (Handle())
        EnableWindow(Handle(), Enabled() ? TRUE : FALSE);
}

void WinControl::ParentChanged() {}

unsigned WinControl::StartHostTimer(Control* owner, unsigned ms, std::function<void()> callback) {
    if (!Handle())
        return 0;
    unsigned id = nextTimerId_++;
    if (nextTimerId_ == 0)
        nextTimerId_ = 0x4F00;
    if (!SetTimer(Handle(), id, ms, nullptr))
        return 0;
    timers_[id] = Timer{owner, std::move(callback)};
    return id;
}

void WinControl::StopHostTimer(unsigned id) {
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    if (Handle())
        KillTimer(Handle(), id);
    timers_.erase(it);
}

void WinControl::StopTimersOf(const Control* owner) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->second.owner == owner) {
            if (Handle())
                KillTimer(Handle(), it->first);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

void WinControl::HandleDestroyed() {
    timers_.clear();
    pressed_ = nullptr;
    trackingLeave_ = false;
    if (g_hover && g_hover->Host() == this)
        g_hover = nullptr;
    backBuffer_.Release();
}

// ---------------------------------------------------------------- painting

void WinControl::PaintBackground(const Canvas& canvas) {
    SetDCBrushColor(canvas.dc, ResolveColor(color_));
    RECT r = canvas.clip;
    FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void WinControl::RenderClient(const Canvas& canvas) {
    HDC dc = canvas.dc;
    PaintBackground(canvas);
    for (auto& child : children_) {
        Control* c = child.get();
        if (c->IsWindowed() || !c->Visible())
            continue;
        RECT b = Shifted(c->bounds_, -scroll_.x, -scroll_.y);
        RECT inter;
        if (!IntersectRect(&inter, &b, &canvas.clip))
            continue;
        Canvas cc = canvas;
        cc.origin = POINT{canvas.origin.x + b.left, canvas.origin.y + b.top};
        cc.clip = Shifted(inter, -b.left, -b.top);
        int saved = SaveDC(dc);
        SetViewportOrgEx(dc, cc.origin.x, cc.origin.y, nullptr);
        IntersectClipRect(dc, cc.clip.left, cc.clip.top, cc.clip.right, cc.clip.bottom);
        c->Paint(cc);
        RestoreDC(dc, saved);
    }
    PaintOverlay(canvas);
}

void WinControl::PaintClient(HDC target, const RECT& area) {
    RECT client;
    GetClientRect(Handle(), &client);
    RECT r;
    if (!IntersectRect(&r, &area, &client))
        return;
    if (!backBuffer_.Resize(client.right, client.bottom)) {
        // No buffer to be had: the background colour at least.
        SetDCBrushColor(target, ResolveColor(color_));
        FillRect(target, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        return;
    }
    Canvas c;
    c.dc = backBuffer_.Dc();
    c.surface = &backBuffer_;
    c.clip = r;
    c.designView = DesignView();
    int saved = SaveDC(c.dc);
    IntersectClipRect(c.dc, r.left, r.top, r.right, r.bottom);
    RenderClient(c);
    RestoreDC(c.dc, saved);
    BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, c.dc, r.left, r.top, SRCCOPY);
}

namespace {

// The frame and scroll bars of a window, drawn from its styles (the
// platform's own non-client printing is not there everywhere).
void DrawNonClient(HWND hwnd, HDC dc, int x, int y) {
    RECT wr;
    GetWindowRect(hwnd, &wr);
    RECT r{x, y, x + wr.right - wr.left, y + wr.bottom - wr.top};
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    const LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
    if (ex & WS_EX_CLIENTEDGE)
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (ex & WS_EX_STATICEDGE)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if ((style & WS_BORDER) && !(style & WS_DLGFRAME)) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    const LONG bars[2] = {OBJID_HSCROLL, OBJID_VSCROLL};
    for (LONG id : bars) {
        SCROLLBARINFO sbi{};
        sbi.cbSize = sizeof sbi;
        if (!GetScrollBarInfo(hwnd, id, &sbi) || (sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE))
            continue;
        RECT bar = sbi.rcScrollBar;
        OffsetRect(&bar, x - wr.left, y - wr.top);
        FillRect(dc, &bar, GetSysColorBrush(COLOR_SCROLLBAR));
        const bool horz = id == OBJID_HSCROLL;
        const int arrow = horz ? bar.bottom - bar.top : bar.right - bar.left;
        RECT first = bar, last = bar;
        if (horz)
            first.right = first.left + arrow, last.left = last.right - arrow;
        else
            first.bottom = first.top + arrow, last.top = last.bottom - arrow;
        DrawFrameControl(dc, &first, DFC_SCROLL, horz ? DFCS_SCROLLLEFT : DFCS_SCROLLUP);
        DrawFrameControl(dc, &last, DFC_SCROLL, horz ? DFCS_SCROLLRIGHT : DFCS_SCROLLDOWN);
        if (sbi.xyThumbBottom > sbi.xyThumbTop) {
            RECT thumb = bar;
            if (horz)
                thumb.left = bar.left + sbi.xyThumbTop, thumb.right = bar.left + sbi.xyThumbBottom;
            else
                thumb.top = bar.top + sbi.xyThumbTop, thumb.bottom = bar.top + sbi.xyThumbBottom;
            DrawFrameControl(dc, &thumb, DFC_BUTTON, DFCS_BUTTONPUSH);
        }
    }
    if ((style & WS_HSCROLL) && (style & WS_VSCROLL)) {
        // The corner between two scroll bars.
        SCROLLBARINFO h{}, v{};
        h.cbSize = v.cbSize = sizeof h;
        if (GetScrollBarInfo(hwnd, OBJID_HSCROLL, &h) &&
            GetScrollBarInfo(hwnd, OBJID_VSCROLL, &v) && !(h.rgstate[0] & STATE_SYSTEM_INVISIBLE) &&
            !(v.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
            RECT corner{v.rcScrollBar.left, h.rcScrollBar.top, v.rcScrollBar.right,
                        h.rcScrollBar.bottom};
            OffsetRect(&corner, x - wr.left, y - wr.top);
            FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
        }
    }
}

} // namespace

void WinControl::PaintTo(HDC dc, int x, int y) {
    RECT client{0, 0, Width(), Height()};
    POINT clientOrigin{0, 0};
    if (Handle()) {
        GetClientRect(Handle(), &client);
        RECT wr;
        GetWindowRect(Handle(), &wr);
        POINT o{0, 0};
        ::ClientToScreen(Handle(), &o);
        clientOrigin = POINT{o.x - wr.left, o.y - wr.top};
        if (clientOrigin.x > 0 || clientOrigin.y > 0 || client.right < wr.right - wr.left ||
            client.bottom < wr.bottom - wr.top)
            DrawNonClient(Handle(), dc, x, y);
    }
    if (Handle() && IsNative()) {
        // Native controls print into a DC of their own at its origin: some
        // take the DC's origin for their window's.
        Surface s;
        if (s.Resize(client.right, client.bottom)) {
            // Controls that paint only part of themselves rely on the
            // background being erased first.
            SendMessageW(Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(s.Dc()), 0);
            SendMessageW(Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.Dc()),
                         PRF_CLIENT | PRF_ERASEBKGND);
            BitBlt(dc, x + clientOrigin.x, y + clientOrigin.y, client.right, client.bottom, s.Dc(),
                   0, 0, SRCCOPY);
        }
    } else {
        Surface s;
        if (s.Resize(client.right, client.bottom)) {
            Canvas c;
            c.dc = s.Dc();
            c.surface = &s;
            c.clip = client;
            c.designView = DesignView();
            int saved = SaveDC(c.dc);
            RenderClient(c);
            RestoreDC(c.dc, saved);
            BitBlt(dc, x + clientOrigin.x, y + clientOrigin.y, client.right, client.bottom, s.Dc(),
                   0, 0, SRCCOPY);
        }
    }
    int saved = SaveDC(dc);
    POINT vo;
    GetViewportOrgEx(dc, &vo);
    // The clip is in device units; children stay inside our client area.
    HRGN clip = CreateRectRgn(vo.x + x + clientOrigin.x, vo.y + y + clientOrigin.y,
                              vo.x + x + clientOrigin.x + client.right,
                              vo.y + y + clientOrigin.y + client.bottom);
    ExtSelectClipRgn(dc, clip, RGN_AND);
    DeleteObject(clip);
    for (auto& child : children_) {
        if (!child->IsWindowed())
            continue;
        auto* w = static_cast<WinControl*>(child.get());
        if (w->Handle() ? !IsWindowVisible(w->Handle()) : !w->Visible())
            continue;
        w->PaintTo(dc, x + clientOrigin.x + w->Left() - scroll_.x,
                   y + clientOrigin.y + w->Top() - scroll_.y);
    }
    RestoreDC(dc, saved);
}

gfx::Image WinControl::Snapshot() {
    Surface s;
    if (!s.Resize(Width(), Height()))
        return gfx::Image{};
    PaintTo(s.Dc(), 0, 0);
    return s.CopyOut(gfx::Rect{0, 0, Width(), Height()});
}

// ------------------------------------------------------------------- mouse

void WinControl::ReleasePress() {
    pressed_ = nullptr;
    if (Handle() && !IsNative() && GetCapture() == Handle())
        ReleaseCapture();
}

bool WinControl::HandleMouse(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    auto local = [&](Control* c) {
        if (c == this)
            return pt;
        return POINT{pt.x + scroll_.x - c->Left(), pt.y + scroll_.y - c->Top()};
    };
    std::weak_ptr<char> self = LifeToken();
    switch (msg) {
    case WM_MOUSEMOVE: {
        if (!trackingLeave_ && Handle()) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Handle(), 0};
            trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
        }
        RECT client;
        GetClientRect(Handle(), &client);
        SetHover(PtInRect(&client, pt) ? ControlAt(pt, true) : nullptr);
        if (self.expired())
            return true;
        Control* target = pressed_ ? pressed_ : ControlAt(pt, false);
        target->DoMouseMove(MakeArgs(MouseButton::Left, wp, local(target), false));
        return true;
    }
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (g_hover && g_hover->Host() == this && !pressed_)
            SetHover(nullptr);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
        if (g_hints)
            g_hints->Hide();
        const bool dbl =
            msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
        const MouseButton button =
            (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? MouseButton::Left
            : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? MouseButton::Right
                                                                 : MouseButton::Middle;
        Control* target = ControlAt(pt, false);
        std::weak_ptr<char> life = target->LifeToken();
        if (button == MouseButton::Left) {
            pressed_ = target;
            pressClicks_ = !dbl;
            // Native controls capture the pointer themselves; taking it
            // from them would cancel their own press.
            if (!IsNative())
                SetCapture(Handle());
            if (dbl)
                target->DoDblClick();
        }
        if (!life.expired())
            target->DoMouseDown(MakeArgs(button, wp, local(target), dbl));
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const MouseButton button = msg == WM_LBUTTONUP   ? MouseButton::Left
                                   : msg == WM_RBUTTONUP ? MouseButton::Right
                                                         : MouseButton::Middle;
        Control* target = ControlAt(pt, false);
        bool click = false;
        if (button == MouseButton::Left && pressed_) {
            target = pressed_;
            const POINT lp2 = local(target);
            click = pressClicks_ && synthesizeClick_ && lp2.x >= 0 && lp2.y >= 0 &&
                    lp2.x < target->Width() && lp2.y < target->Height();
            ReleasePress();
        }
        std::weak_ptr<char> life = target->LifeToken();
        const MouseArgs args = MakeArgs(button, wp, local(target), false);
        if (click)
            target->DoClick();
        if (!life.expired())
            target->DoMouseUp(args);
        return true;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != Handle())
            pressed_ = nullptr;
        return false;
    default:
        return false;
    }
}

LRESULT WinControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        if (!IsNative()) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            if (dc)
                PaintClient(dc, ps.rcPaint);
            EndPaint(Handle(), &ps);
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (!IsNative()) {
            RECT client;
            GetClientRect(Handle(), &client);
            PaintClient(reinterpret_cast<HDC>(wp), client);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (!IsNative())
            return 1;
        break;
    case WM_SIZE:
        if (!creating_) {
            Realign();
            Resized();
            if (!IsNative())
                ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        break;
    case WM_WINDOWPOSCHANGED:
        if (!parent_ && !(GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD)) {
            // A top-level window moved or sized by the user: keep bounds.
            RECT wr;
            GetWindowRect(Handle(), &wr);
            bounds_ = wr;
        }
        break;
    case WM_TIMER: {
        auto it = timers_.find(static_cast<unsigned>(wp));
        if (it != timers_.end()) {
            std::function<void()> cb = it->second.callback;
            cb();
            return 0;
        }
        break;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == Handle() && LOWORD(lp) == HTCLIENT) {
            POINT pt;
            GetCursorPos(&pt);
            ::ScreenToClient(Handle(), &pt);
            Control* c = ControlAt(pt, false);
            int number = c->Cursor();
            if (number == 0 && c != this)
                number = Cursor();
            if (number != 0) {
                ::SetCursor(static_cast<HCURSOR>(CursorHandle(number)));
                return TRUE;
            }
        }
        break;
    case WM_CONTEXTMENU: {
        POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        Control* target = this;
        if (screen.x != -1 || screen.y != -1) {
            POINT client = screen;
            ::ScreenToClient(Handle(), &client);
            target = ControlAt(client, false);
        } else {
            GetCursorPos(&screen);
        }
        if (target != this && !target->OnContextMenu)
            target = this;
        if (target->OnContextMenu) {
            target->DoContextMenu(screen);
            return 0;
        }
        break;
    }
    default:
        if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL &&
            msg != WM_MOUSEHWHEEL) {
            std::weak_ptr<char> self = LifeToken();
            HandleMouse(msg, wp, lp);
            if (self.expired())
                return 0;
        } else if (msg == WM_MOUSELEAVE || msg == WM_CAPTURECHANGED) {
            std::weak_ptr<char> self = LifeToken();
            HandleMouse(msg, wp, lp);
            if (self.expired())
                return 0;
        }
        break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

} // namespace orv::win
