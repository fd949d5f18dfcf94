#include "objects/containers.h"

#include <algorithm>

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 5;
constexpr int kHSplitCursor = -14, kVSplitCursor = -15;

enum ResizeStyle : uint8_t { kNone = 0, kLine, kUpdate, kPattern };

// A stored style beyond the table counts as the default, Pattern.
uint8_t StyleOf(const model::SplitterProps& p) {
    return p.ResizeStyle <= kPattern ? p.ResizeStyle : uint8_t{kPattern};
}

// An 8 x 8 checker brush for the hatched drag bar.
HBRUSH CheckerBrush() {
    static const WORD bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP bmp = CreateBitmap(8, 8, 1, 1, bits);
    if (!bmp)
        return nullptr;
    HBRUSH b = CreatePatternBrush(bmp);
    DeleteObject(bmp);
    return b;
}

} // namespace

TAuSplitter::TAuSplitter(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, Height() > 0 ? Height() : 100);
    SetAlign(win::Align::Left);
    SetCursor(kHSplitCursor);
}

TAuSplitter::~TAuSplitter() {
    if (dragging_)
        ShowFeedback(false);
}

void TAuSplitter::StoreNewObjectDefaults(TAuObject& record) {
    record.Align = static_cast<uint8_t>(GetAlign());
    int cursor = Cursor();
    if (cursor == kHSplitCursor && !Horizontal())
        cursor = kVSplitCursor;
    record.Cursor = static_cast<int16_t>(cursor);
}

void TAuSplitter::PropertiesChanged() {
    Invalidate();
}

bool TAuSplitter::Horizontal() const {
    return GetAlign() != win::Align::Top && GetAlign() != win::Align::Bottom;
}

void TAuSplitter::Paint(const win::Canvas& canvas) {
    HDC dc = canvas.dc;
    RECT r = ClientRect();
    SetDCBrushColor(dc, win::ResolveColor(Props().Color));
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (Props().Beveled) {
        RECT b = r;
        DrawEdge(dc, &b, BDR_RAISEDINNER, BF_RECT);
    }
    if (canvas.designView)
        win::DrawDesignOutline(dc, r);
}

win::Control* TAuSplitter::FindNeighbour() {
    win::WinControl* p = Parent();
    if (!p || GetAlign() == win::Align::None || GetAlign() == win::Align::Client)
        return nullptr;
    const RECT me = BoundsRect();
    for (int i = 0; i < p->ChildCount(); ++i) {
        win::Control& c = p->Child(i);
        if (&c == this || !c.Visible() || c.GetAlign() != GetAlign())
            continue;
        const RECT b = c.BoundsRect();
        bool touches = false;
        switch (GetAlign()) {
        case win::Align::Left:
            touches = b.right == me.left;
            break;
        case win::Align::Right:
            touches = b.left == me.right;
            break;
        case win::Align::Top:
            touches = b.bottom == me.top;
            break;
        case win::Align::Bottom:
            touches = b.top == me.bottom;
            break;
        default:
            break;
        }
        if (touches)
            return &c;
    }
    return nullptr;
}

int TAuSplitter::NewSize(int size) const {
    const model::SplitterProps& props = Record()->As<model::SplitterProps>();
    const int minSize = std::max<int32_t>(props.MinSize, 1);
    if (size < minSize)
        size = props.AutoSnap ? 0 : minSize;
    return std::clamp(size, 0, std::max(maxSize_, 0));
}

void TAuSplitter::DoMouseDown(const win::MouseArgs& args) {
    TAuKind::DoMouseDown(args);
    if (args.button != win::MouseButton::Left || DesignView() || !Enabled() || dragging_)
        return;
    neighbour_ = FindNeighbour();
    if (!neighbour_)
        return;
    win::WinControl* p = Parent();
    // Room the neighbour may take: what the client-aligned controls have now.
    std::vector<win::AlignItem> items;
    for (int i = 0; i < p->ChildCount(); ++i) {
        win::Control& c = p->Child(i);
        if (c.GetAlign() != win::Align::Client)
            items.push_back(win::AlignItem{c.GetAlign(), c.BoundsRect(), c.Visible()});
    }
    const RECT rest = win::AlignItems(p->AlignArea(), items);
    const int free =
        std::max<LONG>(Horizontal() ? rest.right - rest.left : rest.bottom - rest.top, 0);
    startSize_ = Horizontal() ? neighbour_->Width() : neighbour_->Height();
    maxSize_ = startSize_ + std::max(free - std::max<int32_t>(Props().MinSize, 0), 0);
    downPos_ = Horizontal() ? args.x + Left() : args.y + Top();
    newSize_ = startSize_;
    dragging_ = true;
    if (StyleOf(Props()) == kLine || StyleOf(Props()) == kPattern)
        ShowFeedback(true);
}

void TAuSplitter::DoMouseMove(const win::MouseArgs& args) {
    TAuKind::DoMouseMove(args);
    if (!dragging_)
        return;
    const int pos = Horizontal() ? args.x + Left() : args.y + Top();
    const bool growsWithPointer = GetAlign() == win::Align::Left || GetAlign() == win::Align::Top;
    const int delta = pos - downPos_;
    const int size = NewSize(startSize_ + (growsWithPointer ? delta : -delta));
    if (size == newSize_)
        return;
    const bool feedback = feedbackShown_;
    if (feedback)
        ShowFeedback(false);
    newSize_ = size;
    if (StyleOf(Props()) == kUpdate) {
        // Live: the pointer position is measured in the parent, which does
        // not move, so each step is taken from the start.
        ApplySize(newSize_);
    }
    if (feedback)
        ShowFeedback(true);
}

void TAuSplitter::DoMouseUp(const win::MouseArgs& args) {
    if (dragging_ && args.button == win::MouseButton::Left)
        EndDrag(true);
    TAuKind::DoMouseUp(args);
}

void TAuSplitter::EndDrag(bool apply) {
    ShowFeedback(false);
    if (apply && neighbour_) {
        const int now = Horizontal() ? neighbour_->Width() : neighbour_->Height();
        if (newSize_ != now)
            ApplySize(newSize_);
    }
    dragging_ = false;
    neighbour_ = nullptr;
}

void TAuSplitter::ApplySize(int size) {
    if (!neighbour_)
        return;
    if (Horizontal())
        neighbour_->SetSize(size, neighbour_->Height());
    else
        neighbour_->SetSize(neighbour_->Width(), size);
}

void TAuSplitter::ShowFeedback(bool on) {
    if (on == feedbackShown_)
        return;
    win::WinControl* p = Parent();
    if (!p || !p->Handle() || !neighbour_)
        return;
    if (on) {
        // Where the bar would be with the neighbour at the new size.
        RECT nb = neighbour_->BoundsRect();
        RECT r = BoundsRect();
        const int w = Width(), h = Height();
        switch (GetAlign()) {
        case win::Align::Left:
            r.left = nb.left + newSize_, r.right = r.left + w;
            break;
        case win::Align::Right:
            r.right = nb.right - newSize_, r.left = r.right - w;
            break;
        case win::Align::Top:
            r.top = nb.top + newSize_, r.bottom = r.top + h;
            break;
        case win::Align::Bottom:
            r.bottom = nb.bottom - newSize_, r.top = r.bottom - h;
            break;
        default:
            break;
        }
        if (StyleOf(Props()) == kLine) {
            // A two-pixel line in the middle of the bar.
            if (Horizontal())
                r.left += std::max(w / 2 - 1, 0), r.right = r.left + 2;
            else
                r.top += std::max(h / 2 - 1, 0), r.bottom = r.top + 2;
        }
        const POINT s = p->ScrollOffset();
        OffsetRect(&r, -s.x, -s.y);
        feedbackRect_ = r;
    }
    // Inverting twice restores the pixels, so the same call draws and erases.
    HDC dc = GetDCEx(p->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    if (dc) {
        HBRUSH brush = StyleOf(Props()) == kPattern ? CheckerBrush() : nullptr;
        HGDIOBJ old = SelectObject(dc, brush ? brush : GetStockObject(GRAY_BRUSH));
        PatBlt(dc, feedbackRect_.left, feedbackRect_.top, feedbackRect_.right - feedbackRect_.left,
               feedbackRect_.bottom - feedbackRect_.top, PATINVERT);
        SelectObject(dc, old);
        if (brush)
            DeleteObject(brush);
        ReleaseDC(p->Handle(), dc);
    }
    feedbackShown_ = on;
}

} // namespace orv::objects
