// The Browser, MediaPlayer, FlashPlayer and SlideShow kinds: their entry
// in the kind table, the control-bar parts they share, and the controls
// the full-screen window builds from them.
#include "objects/media.h"

#include "win/controls/drawing.h"
#include "win/interact.h"

#include <algorithm>

namespace orv::objects {

// ------------------------------------------------------------- TBarButton

TBarButton::TBarButton(BarGlyph glyph, bool toggle) : glyph_(glyph), toggle_(toggle) {}

void TBarButton::SetPressed(bool on) {
    if (pressed_ == on)
        return;
    pressed_ = on;
    Invalidate();
}

void TBarButton::DoMouseDown(const win::MouseArgs& args) {
    if (args.button == win::MouseButton::Left && Enabled()) {
        holding_ = true;
        Invalidate();
    }
    Control::DoMouseDown(args);
}

void TBarButton::DoMouseUp(const win::MouseArgs& args) {
    if (holding_) {
        holding_ = false;
        Invalidate();
    }
    Control::DoMouseUp(args);
}

void TBarButton::DoMouseLeave() {
    if (holding_) {
        holding_ = false;
        Invalidate();
    }
    Control::DoMouseLeave();
}

void TBarButton::DoClick() {
    if (!Enabled())
        return;
    if (toggle_)
        SetPressed(!pressed_);
    Control::DoClick();
}

void TBarButton::Paint(const win::Canvas& canvas) {
    HDC dc = canvas.dc;
    RECT r = ClientRect();
    const bool down = pressed_ || holding_;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, down ? BDR_SUNKENOUTER | BDR_SUNKENINNER : BDR_RAISEDOUTER | BDR_RAISEDINNER,
             BF_RECT);
    // The glyph: 9 pixels high, centred, moved by one pixel while down.
    const int shift = down ? 1 : 0;
    const int cx = Width() / 2 + shift, cy = Height() / 2 + shift;
    const COLORREF ink = Enabled() ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT);
    HBRUSH brush = CreateSolidBrush(ink);
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    auto triangle = [&](int tipX, bool right) {
        const int baseX = right ? tipX - 4 : tipX + 4;
        POINT pts[3] = {{baseX, cy - 4}, {baseX, cy + 4}, {tipX, cy}};
        Polygon(dc, pts, 3);
    };
    auto bar = [&](int x, int width) { Rectangle(dc, x, cy - 4, x + width, cy + 5); };
    switch (glyph_) {
    case BarGlyph::Play:
        triangle(cx + 2, true);
        break;
    case BarGlyph::First:
        bar(cx - 4, 2);
        triangle(cx - 2, false);
        break;
    case BarGlyph::Previous:
        triangle(cx - 3, false);
        triangle(cx + 1, false);
        break;
    case BarGlyph::Next:
        triangle(cx - 1, true);
        triangle(cx + 3, true);
        break;
    case BarGlyph::Last:
        triangle(cx + 1, true);
        bar(cx + 3, 2);
        break;
    case BarGlyph::Pause:
        bar(cx - 3, 2);
        bar(cx + 1, 2);
        break;
    case BarGlyph::Stop:
        Rectangle(dc, cx - 4, cy - 4, cx + 4, cy + 4);
        break;
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// -------------------------------------------------------------- TBarPanel

void TBarPanel::SetText(const std::string& text) {
    if (text_ == text)
        return;
    text_ = text;
    Invalidate();
}

void TBarPanel::Paint(const win::Canvas& canvas) {
    HDC dc = canvas.dc;
    RECT r = ClientRect();
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    if (text_.empty())
        return;
    RECT t{r.left + 3, r.top + 1, r.right - 2, r.bottom - 1};
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const std::wstring w = win::Widen(text_);
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &t,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
}

// ------------------------------------------------------------ TControlBar

TControlBar::TControlBar() {
    SetColor(static_cast<int32_t>(0xFF00000F)); // the 3D face colour
}

LRESULT TControlBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HSCROLL && lp != 0) {
        if (OnSlider)
            OnSlider(reinterpret_cast<HWND>(lp), LOWORD(wp));
        return 0;
    }
    return WinControl::HandleMessage(msg, wp, lp);
}

void ForwardAreaEvents(win::Control& area, win::Control& owner) {
    win::Control* o = &owner;
    area.OnClick = [o](win::Control&) { o->DoClick(); };
    area.OnDblClick = [o](win::Control&) { o->DoDblClick(); };
    area.OnMouseDown = [o](win::Control&, const win::MouseArgs& a) { o->DoMouseDown(a); };
    area.OnMouseMove = [o](win::Control&, const win::MouseArgs& a) { o->DoMouseMove(a); };
    area.OnMouseUp = [o](win::Control&, const win::MouseArgs& a) { o->DoMouseUp(a); };
    area.OnMouseEnter = [o](win::Control& c) {
        c.SetHint(o->Hint());
        c.SetCursor(o->Cursor());
        o->DoMouseEnter();
    };
    area.OnMouseLeave = [o](win::Control&) { o->DoMouseLeave(); };
    area.OnContextMenu = [o](win::Control&, POINT screen) { o->DoContextMenu(screen); };
}

// ---------------------------------------------------- full-screen controls

namespace {

// The full-screen window's controls have no page record: each owns one,
// made before the control and freed after it.
struct OwnedRecord {
    explicit OwnedRecord(TAuObjectKind kind) : record(std::make_unique<TAuObject>(kind)) {}
    std::unique_ptr<TAuObject> record;
};

class TFullSlideShow : private OwnedRecord, public TAuSlideShow {
public:
    TFullSlideShow() : OwnedRecord(TAuObjectKind::SlideShow), TAuSlideShow(*record) {}
};

class TFullMediaPlayer : private OwnedRecord, public TAuMediaPlayer {
public:
    TFullMediaPlayer() : OwnedRecord(TAuObjectKind::MediaPlayer), TAuMediaPlayer(*record) {}
};

void BindClick(win::Control& c, const std::function<void()>& onClick) {
    c.OnClick = [onClick](win::Control&) {
        if (onClick)
            onClick();
    };
}

} // namespace

TAuSlideShow& CreateFullSlideShow(win::WinControl& parent, const SlideShowSetup& setup,
                                  std::function<void()> onClick) {
    auto made = std::make_unique<TFullSlideShow>();
    TFullSlideShow& show = *made;
    show.Props().Border = false;
    show.Props().ControlBar = false;
    show.SetAlign(win::Align::Client);
    show.SetBounds(0, 0, parent.ClientArea().right, parent.ClientArea().bottom);
    parent.AddChild(std::move(made));
    BindClick(show, onClick);
    show.ApplySetup(setup);
    return show;
}

TAuMediaPlayer& CreateFullMediaPlayer(win::WinControl& parent, const std::string& fullPath,
                                      std::function<void()> onClick) {
    auto made = std::make_unique<TFullMediaPlayer>();
    TFullMediaPlayer& player = *made;
    player.Props().Border = false;
    player.Props().ControlBar = false;
    player.Props().FileName.clear();
    player.PropertiesChanged();
    player.SetAlign(win::Align::Client);
    player.SetBounds(0, 0, parent.ClientArea().right, parent.ClientArea().bottom);
    parent.AddChild(std::move(made));
    BindClick(player, onClick);
    player.SetFilename(fullPath);
    player.PlayMedia();
    return player;
}

// ------------------------------------------------------------ kind table

void AddMediaKinds(KindMakerTable& makers) {
    makers[static_cast<int>(TAuObjectKind::Browser)] = &MakeKind<TAuBrowser>;
    makers[static_cast<int>(TAuObjectKind::MediaPlayer)] = &MakeKind<TAuMediaPlayer>;
    makers[static_cast<int>(TAuObjectKind::FlashPlayer)] = &MakeKind<TAuFlashPlayer>;
    makers[static_cast<int>(TAuObjectKind::SlideShow)] = &MakeKind<TAuSlideShow>;
}

} // namespace orv::objects
