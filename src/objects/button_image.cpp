// ImageButton: a windowless speed button drawn from a picture and a font
// per state, with five frame styles and radio grouping within its parent.
#include "objects/buttons.h"
#include "win/interact.h"

#include <memory>

namespace orv::objects {

namespace {

using gfx::ButtonFace;
using gfx::ButtonState;

constexpr int kDefaultWidth = 97, kDefaultHeight = 25;
constexpr int kButtonPart = 1; // BP_PUSHBUTTON and TP_BUTTON

const model::TPicture& FacePicture(const model::ImageButtonProps& p, ButtonFace face) {
    switch (face) {
    case ButtonFace::MouseDown:
        return p.MouseDownImage;
    case ButtonFace::MouseOver:
        return p.MouseOverImage;
    case ButtonFace::Disabled:
        return p.DisabledImage;
    default:
        return p.NormalImage;
    }
}

const model::TFont& FaceFont(const model::ImageButtonProps& p, ButtonFace face) {
    switch (face) {
    case ButtonFace::MouseDown:
        return p.MouseDownFont;
    case ButtonFace::MouseOver:
        return p.MouseOverFont;
    case ButtonFace::Disabled:
        return p.DisabledFont;
    default:
        return p.NormalFont;
    }
}

RECT ToRect(const gfx::Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

} // namespace

TAuImageButton::TAuImageButton(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, kDefaultHeight);
    down_ = Props().Group != 0 && Props().Down;
    state_ = down_ ? ButtonState::Latched : ButtonState::Up;
}

void TAuImageButton::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuImageButton::PropertiesChanged() {
    if (!Record())
        return;
    const model::ImageButtonProps& p = Props();
    down_ = p.Group != 0 && p.Down;
    if (down_)
        RaiseGroupSiblings();
    if (!dragging_)
        state_ = down_ ? ButtonState::Latched : ButtonState::Up;
    for (KindPicture& pic : pictures_)
        pic.Reset();
    Invalidate();
}

ButtonState TAuImageButton::State() const {
    return Enabled() ? state_ : ButtonState::Disabled;
}

bool TAuImageButton::PointerInside() const {
    return Enabled() && IsHovered();
}

void TAuImageButton::SetDown(bool down) {
    if (!Record())
        return;
    model::ImageButtonProps& p = Props();
    if (p.Group == 0)
        down = false;
    // A latched button is raised only where the group allows none down.
    if (down != down_ && (down || p.AllowAllUp)) {
        down_ = down;
        p.Down = down;
        if (down)
            RaiseGroupSiblings();
    }
    if (!dragging_)
        state_ = down_ ? ButtonState::Latched : ButtonState::Up;
    Invalidate();
}

void TAuImageButton::RaiseGroupSiblings() {
    win::WinControl* parent = Parent();
    if (!parent || !Record() || Props().Group == 0)
        return;
    const int32_t group = Props().Group;
    for (int i = 0; i < parent->ChildCount(); ++i) {
        auto* other = dynamic_cast<TAuImageButton*>(&parent->Child(i));
        if (!other || other == this || !other->Record() || !other->down_ ||
            other->Props().Group != group)
            continue;
        other->down_ = false;
        other->Props().Down = false;
        if (!other->dragging_)
            other->state_ = ButtonState::Up;
        other->Invalidate();
    }
}

void TAuImageButton::ParentChanged() {
    // A button that arrives latched raises the latched one of its group.
    if (down_)
        RaiseGroupSiblings();
}

void TAuImageButton::EnabledChanged() {
    // Enabled again, a button is latched when it is down in its group.
    dragging_ = false;
    state_ = down_ ? ButtonState::Latched : ButtonState::Up;
    Invalidate();
}

void TAuImageButton::SetCaption(const std::string& text) {
    Props().Caption = text;
    Invalidate();
}

std::vector<model::TAuActions> TAuImageButton::SelectedActionLists() const {
    if (!Record() || !down_)
        return {};
    return {Record()->As<model::ImageButtonProps>().Actions.SelectActions};
}

// ------------------------------------------------------------------- mouse

void TAuImageButton::DoMouseDown(const win::MouseArgs& args) {
    if (args.button == win::MouseButton::Left && Enabled() && !DesignView()) {
        if (!down_)
            state_ = ButtonState::Down;
        dragging_ = true;
        Invalidate();
    }
    TAuKind::DoMouseDown(args);
}

void TAuImageButton::DoMouseMove(const win::MouseArgs& args) {
    if (dragging_) {
        if (!(args.keys & MK_LBUTTON)) {
            // The release went elsewhere (a window an event opened took the
            // pointer): the press is over.
            CancelPress();
        } else {
            const bool inside = args.x >= 0 && args.x < Width() && args.y >= 0 && args.y < Height();
            const ButtonState want =
                down_ ? ButtonState::Latched : (inside ? ButtonState::Down : ButtonState::Up);
            if (want != state_) {
                state_ = want;
                Invalidate();
            }
        }
    }
    TAuKind::DoMouseMove(args);
}

void TAuImageButton::DoMouseUp(const win::MouseArgs& args) {
    // A release on the button has clicked it already (and finished the
    // press); this is a release elsewhere.
    if (dragging_ && args.button == win::MouseButton::Left)
        FinishPress(false);
    TAuKind::DoMouseUp(args);
}

void TAuImageButton::FinishPress(bool clicked) {
    dragging_ = false;
    if (clicked && Record() && Props().Group != 0)
        SetDown(!down_);
    state_ = down_ ? ButtonState::Latched : ButtonState::Up;
    Invalidate();
}

void TAuImageButton::CancelPress() {
    FinishPress(false);
}

void TAuImageButton::DoClick() {
    if (dragging_)
        FinishPress(true);
    if (Record() && Props().Group != 0 && down_) {
        if (TAuEventSink* sink = SinkOf(*this)) {
            std::weak_ptr<char> life = LifeToken();
            sink->ObjectSelectActions(*this, Props().Actions.OnSelect);
            if (life.expired())
                return;
        }
    }
    TAuKind::DoClick();
}

void TAuImageButton::DoMouseEnter() {
    Invalidate(); // the mouse-over face
    TAuKind::DoMouseEnter();
}

void TAuImageButton::DoMouseLeave() {
    Invalidate();
    TAuKind::DoMouseLeave();
}

// ---------------------------------------------------------------- painting

void TAuImageButton::Paint(const win::Canvas& canvas) {
    if (!Record())
        return;
    HDC dc = canvas.dc;
    const RECT client = ClientRect();
    const model::ImageButtonProps& p = Props();
    const ButtonState state = State();
    const bool inside = PointerInside();
    win::WinControl* host = Host();
    const HWND hwnd = host ? host->Handle() : nullptr;

    // The frame.
    gfx::ImageButtonFrame frame =
        gfx::PlanImageButtonFrame(p.ButtonStyle, hwnd && win::theme::Active(), state, inside);
    RECT area = client;
    if (frame.kind == gfx::ImageButtonFrame::Kind::Themed) {
        // Windowless: the parent's background is in the buffer already.
        RECT content = client;
        if (win::theme::DrawElement(hwnd, dc, frame.toolbar ? L"TOOLBAR" : L"BUTTON", kButtonPart,
                                    frame.themeState, client, &content, false))
            area = content;
        else
            frame = gfx::PlanImageButtonFrame(p.ButtonStyle, false, state, inside);
    }
    switch (frame.kind) {
    case gfx::ImageButtonFrame::Kind::PushButton: {
        RECT f = client;
        DrawFrameControl(dc, &f, DFC_BUTTON, DFCS_BUTTONPUSH | (frame.pushed ? DFCS_PUSHED : 0));
        break;
    }
    case gfx::ImageButtonFrame::Kind::FlatEdge: {
        RECT f = client;
        DrawEdge(dc, &f, frame.pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        break;
    }
    case gfx::ImageButtonFrame::Kind::FaceFill:
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        break;
    default:
        break;
    }
    if (frame.dither) {
        RECT d = client;
        InflateRect(&d, -frame.ditherInset, -frame.ditherInset);
        const gfx::ColorRef face = GetSysColor(COLOR_BTNFACE) & 0xFFFFFF;
        const gfx::ColorRef light = GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF;
        canvas.EditPixels(d, [&](gfx::Image& pixels, const gfx::Rect& r) {
            // The pattern starts at the button's top-left.
            gfx::FillChecker(pixels, r, r.left - d.left, r.top - d.top, face, light);
        });
    }

    // Picture and caption of the state's face.
    const ButtonFace face = gfx::FaceOf(state, inside);
    const auto slot = [](ButtonFace f) { return static_cast<size_t>(f); };
    const bool own = pictures_[slot(face)].Update(FacePicture(p, face), true);
    const ButtonFace pictureFace = gfx::PictureFaceOf(face, own);
    KindPicture& picture = pictures_[slot(pictureFace)];
    if (pictureFace != face)
        picture.Update(FacePicture(p, pictureFace), true);
    const model::TFont& font = FaceFont(p, face);
    HGDIOBJ oldFont = SelectObject(dc, win::FontHandle(font));
    const std::wstring text = win::Widen(p.Caption);
    SIZE extent{0, 0};
    if (!text.empty())
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const gfx::GlyphPlacement g = gfx::PlaceGlyph(
        p.ImageLayout, gfx::Rect{area.left, area.top, area.right, area.bottom},
        picture.Empty() ? 0 : picture.Width(), picture.Empty() ? 0 : picture.Height(), extent.cx,
        extent.cy, p.Margin, p.Spacing, gfx::SlideOffset(p.DownSlide, state));
    if (!picture.Empty() && !g.picture.Empty())
        picture.Draw(dc, ToRect(g.picture));
    if (!text.empty() && !g.textClip.Empty()) {
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = SetTextColor(dc, win::FontColor(font));
        const RECT clip = ToRect(g.textClip);
        ExtTextOutW(dc, g.textX, g.textY, ETO_CLIPPED, &clip, text.c_str(),
                    static_cast<UINT>(text.size()), nullptr);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
    }
    SelectObject(dc, oldFont);
    if (canvas.designView)
        win::DrawDesignOutline(dc, client);
}

} // namespace orv::objects
