#include "objects/aucontrol.h"

#include "objects/containers.h"

namespace orv::objects {

namespace {

using K = TAuObjectKind;

// windowed, container, eventsBound, fading, designOutline
constexpr KindInfo kKinds[model::kKindCount] = {
    {K::Panel, "Panel", "TAuPanel", true, true, true, false, false},
    {K::TabNotebook, "TabNotebook", "TAuTabNotebook", true, true, true, false, false},
    {K::TabSheet, "TabSheet", "TAuTabSheet", true, true, true, false, false},
    {K::GroupBox, "GroupBox", "TAuGroupBox", true, true, true, false, false},
    {K::ScrollBox, "ScrollBox", "TAuScrollBox", true, true, true, false, false},
    {K::Splitter, "Splitter", "TAuSplitter", false, false, true, false, true},
    {K::Button, "Button", "TAuStandardButton", true, false, true, false, false},
    {K::ImageButton, "ImageButton", "TAuImageButton", false, false, true, false, true},
    {K::Image, "Image", "TAuImage", false, false, true, false, true},
    {K::SimpleText, "SimpleText", "TAuSimpleText", false, false, true, false, true},
    {K::ScrollText, "ScrollText", "TAuScrollText", false, false, true, false, true},
    {K::Link, "Link", "TAuLink", false, false, true, false, true},
    {K::Label, "Label", "TAuLabel", false, false, true, true, true},
    {K::Text, "Text", "TAuText", false, false, true, true, true},
    {K::Shape, "Shape", "TAuShape", false, false, true, true, true},
    {K::Balloon, "Balloon", "TAuBalloon", false, false, true, true, true},
    {K::Note, "Note", "TAuNote", false, false, true, true, true},
    {K::ListBox, "ListBox", "TAuListBox", true, false, true, false, false},
    {K::DropDownList, "DropDownList", "TAuDropDownList", true, false, true, false, false},
    {K::ListView, "ListView", "TAuListView", true, false, true, false, false},
    {K::TreeView, "TreeView", "TAuTreeView", true, false, true, false, false},
    {K::ShellListView, "ShellListView", "TAuShellListView", true, false, true, false, false},
    {K::ShellTreeView, "ShellTreeView", "TAuShellTreeView", true, false, true, false, false},
    {K::TextBox, "TextBox", "TAuTextBox", true, false, true, false, false},
    {K::RichText, "RichText", "TAuRichText", true, false, true, false, false},
    {K::Browser, "Browser", "TAuBrowser", true, false, false, false, false},
    {K::MediaPlayer, "MediaPlayer", "TAuMediaPlayer", true, false, true, false, false},
    {K::FlashPlayer, "FlashPlayer", "TAuFlashPlayer", true, false, false, false, false},
    {K::SlideShow, "SlideShow", "TAuSlideShow", true, false, true, false, false},
    {K::Edit, "Edit", "TAuEdit", true, false, true, false, false},
    {K::CheckBox, "CheckBox", "TAuCheckBox", true, false, true, false, false},
    {K::RadioButton, "RadioButton", "TAuRadioButton", true, false, true, false, false},
    {K::UserPassword, "UserPassword", "TAuUserPassword", true, false, true, false, false},
    // A Bevel outlines itself in the design view only with its Spacer shape.
    {K::Bevel, "Bevel", "TAuBevel", false, false, true, false, false},
    {K::FadeButton, "FadeButton", "TAuFadeButton", false, false, true, true, true},
};

KindMakerTable& Makers() {
    static KindMakerTable makers = [] {
        KindMakerTable m{};
        m[static_cast<int>(K::Panel)] = &MakeKind<TAuPanel>;
        m[static_cast<int>(K::TabNotebook)] = &MakeKind<TAuTabNotebook>;
        m[static_cast<int>(K::TabSheet)] = &MakeKind<TAuTabSheet>;
        m[static_cast<int>(K::GroupBox)] = &MakeKind<TAuGroupBox>;
        m[static_cast<int>(K::ScrollBox)] = &MakeKind<TAuScrollBox>;
        m[static_cast<int>(K::Splitter)] = &MakeKind<TAuSplitter>;
        AddButtonKinds(m);
        AddInputKinds(m);
        AddListKinds(m);
        AddMediaKinds(m);
        return m;
    }();
    return makers;
}

} // namespace

namespace {
std::string& ProjectFolderSlot() {
    static std::string folder;
    return folder;
}
} // namespace

const std::string& ProjectFolder() {
    return ProjectFolderSlot();
}

void SetProjectFolder(const std::string& folder) {
    ProjectFolderSlot() = folder;
}

const KindInfo* FindKindInfo(int code) {
    return model::IsValidKind(code) ? &kKinds[code] : nullptr;
}

const KindInfo& KindInfoOf(TAuObjectKind kind) {
    const KindInfo* k = FindKindInfo(static_cast<int>(kind));
    return k ? *k : kKinds[0];
}

// ---------------------------------------------------------------- contract

TAuControl::TAuControl(TAuObject& record) : record_(&record), kind_(record.Kind()) {}

TAuControl::~TAuControl() {
    if (record_ && record_->Control == this)
        record_->Control = nullptr;
}

TAuControl* TAuControl::From(win::Control* control) {
    return dynamic_cast<TAuControl*>(control);
}

TAuControl* ControlOf(const TAuObject& record) {
    return static_cast<TAuControl*>(record.Control);
}

// ----------------------------------------------------------------- factory

void RegisterKindControl(TAuObjectKind kind, KindMaker maker) {
    const int code = static_cast<int>(kind);
    if (model::IsValidKind(code))
        Makers()[static_cast<size_t>(code)] = maker;
}

bool KindControlAvailable(TAuObjectKind kind) {
    const int code = static_cast<int>(kind);
    return model::IsValidKind(code) && Makers()[static_cast<size_t>(code)] != nullptr;
}

TAuControl* CreateKindControl(TAuObject& record, win::WinControl& parent) {
    const int code = static_cast<int>(record.Kind());
    if (!KindControlAvailable(record.Kind()))
        return nullptr;
    win::WinControl* into = &parent;
    if (record.Kind() == K::TabSheet) {
        // A sheet goes into its notebook's page control, and nowhere else.
        TAuControl* owner = TAuControl::From(&parent);
        if (owner && owner->Kind() == K::TabNotebook)
            into = owner->ChildParent();
        else if (!parent.Parent() || !TAuControl::From(parent.Parent()) ||
                 TAuControl::From(parent.Parent())->Kind() != K::TabNotebook)
            return nullptr;
    }
    if (!into)
        return nullptr;
    DestroyKindControl(record);
    std::unique_ptr<win::Control> made = Makers()[static_cast<size_t>(code)](record);
    TAuControl* tc = made ? TAuControl::From(made.get()) : nullptr;
    if (!tc)
        return nullptr;
    record.Control = tc;
    into->AddChild(std::move(made));
    return tc;
}

void DestroyKindControl(TAuObject& record) {
    TAuControl* tc = ControlOf(record);
    if (!tc)
        return;
    win::Control& c = tc->Ctl();
    record.Control = nullptr;
    if (win::WinControl* parent = c.Parent())
        parent->DestroyChild(&c);
}

void ApplySharedProperties(TAuControl& control, bool withSize) {
    TAuObject* rec = control.Record();
    if (!rec)
        return;
    if (!withSize)
        control.StoreNewObjectDefaults(*rec);
    win::Control& c = control.Ctl();
    c.SetHint(rec->Hint);
    c.SetCursor(rec->Cursor);
    c.SetEnabled(rec->Enabled);
    c.SetVisible(rec->Visible || c.DesignView());
    if (control.Kind() == K::TabSheet)
        return;
    c.SetAlign(win::AlignFromByte(rec->Align));
    if (withSize)
        c.SetBounds(rec->Left, rec->Top, rec->Width, rec->Height);
    else
        c.SetPosition(rec->Left, rec->Top);
}

void StoreBounds(TAuControl& control) {
    TAuObject* rec = control.Record();
    if (!rec || control.Kind() == K::TabSheet)
        return;
    win::Control& c = control.Ctl();
    rec->Left = c.Left();
    rec->Top = c.Top();
    rec->Width = c.Width();
    rec->Height = c.Height();
}

// ------------------------------------------------------------------ events

void BindEvents(TAuControl& control, TAuEventSink& sink) {
    win::Control& c = control.Ctl();
    TAuControl* tc = &control;
    TAuEventSink* s = &sink;
    control.sink_ = &sink;
    if (control.Record() && !control.Record()->PopupMenu.empty())
        c.OnContextMenu = [tc, s](win::Control&, POINT screen) {
            if (tc->Record())
                s->ObjectPopupMenu(*tc, screen);
        };
    if (!KindInfoOf(control.Kind()).eventsBound)
        return;
    // Every handler first checks that the control still has its record.
    c.OnClick = [tc, s](win::Control&) {
        if (tc->Record())
            s->ObjectClick(*tc);
    };
    c.OnDblClick = [tc, s](win::Control&) {
        if (tc->Record())
            s->ObjectDblClick(*tc);
    };
    c.OnMouseEnter = [tc, s](win::Control&) {
        if (tc->Record())
            s->ObjectMouseEnter(*tc);
    };
    c.OnMouseLeave = [tc, s](win::Control&) {
        if (tc->Record())
            s->ObjectMouseLeave(*tc);
    };
    c.OnMouseDown = [tc, s](win::Control&, const win::MouseArgs& a) {
        if (tc->Record())
            s->ObjectMouseDown(*tc, a);
    };
    c.OnMouseMove = [tc, s](win::Control&, const win::MouseArgs& a) {
        if (tc->Record())
            s->ObjectMouseMove(*tc, a);
    };
    c.OnMouseUp = [tc, s](win::Control&, const win::MouseArgs& a) {
        if (tc->Record())
            s->ObjectMouseUp(*tc, a);
    };
}

void PageBuiltPass(TAuObject& record) {
    if (TAuControl* c = ControlOf(record))
        c->PageBuilt();
    for (size_t i = 0; i < record.ChildCount(); ++i)
        PageBuiltPass(record.Child(i));
}

void StartPass(TAuObject& record, bool media) {
    if (TAuControl* c = ControlOf(record))
        c->StartPass(media);
    for (size_t i = 0; i < record.ChildCount(); ++i)
        StartPass(record.Child(i), media);
}

TAuEventSink* SinkOf(TAuControl& control) {
    return control.Record() ? control.sink_ : nullptr;
}

void UnbindEvents(TAuControl& control) {
    control.sink_ = nullptr;
    win::Control& c = control.Ctl();
    c.OnClick = nullptr;
    c.OnDblClick = nullptr;
    c.OnMouseEnter = nullptr;
    c.OnMouseLeave = nullptr;
    c.OnMouseDown = nullptr;
    c.OnMouseMove = nullptr;
    c.OnMouseUp = nullptr;
    c.OnContextMenu = nullptr;
}

} // namespace orv::objects
