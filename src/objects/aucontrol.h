// What every page-object control has in common: the kind table, the link
// between a control and its record, the factory entry, the shared
// properties kept in the record, and the seven events.
//
// A control is built from its TAuObject (whose kind block the model has
// already read), draws from the record's property block and writes user
// changes back into it. Controls belong to their parent control; the
// record only links to its control (TAuObject::Control holds the
// TAuControl*) and must outlive it.
//
// The player's factory loop, per record, parent first:
//     TAuControl* c = CreateKindControl(record, parentWindow);
//     ApplySharedProperties(*c, loadedFromStream);
//     BindEvents(*c, sink);
//     if (auto* box = c->ChildParent()) {
//         box->DisableAlign();
//         ... the same for each child record, with *box as parentWindow ...
//         box->EnableAlign();
//         c->ChildrenLoaded();
//     }
#pragma once

#include "model/object.h"
#include "win/controls/control.h"

#include <array>
#include <memory>
#include <string>

namespace orv::objects {

class TAuEventSink;
using model::TAuObject;
using model::TAuObjectKind;

// The project folder that objects join their relative paths with (a
// shell view's Root); start-up sets it once the folder is known.
const std::string& ProjectFolder();
void SetProjectFolder(const std::string& folder);

// ---- the kind table
struct KindInfo {
    TAuObjectKind kind;
    const char* name;      // "Panel" .. "FadeButton"
    const char* className; // "TAuPanel" .. "TAuFadeButton"
    bool windowed;         // has a window of its own
    bool container;        // holds child objects and raises their enter and leave
    bool eventsBound;      // the player binds the seven events
    bool fading;           // keeps a hover flag and fades with the mouse
    bool designOutline;    // draws the dotted outline in the design view
};
// Null when code is not a kind.
const KindInfo* FindKindInfo(int code);
const KindInfo& KindInfoOf(TAuObjectKind kind);

// ---- the control contract
class TAuControl {
public:
    virtual ~TAuControl();
    TAuControl(const TAuControl&) = delete;
    TAuControl& operator=(const TAuControl&) = delete;

    TAuObject* Record() const { return record_; }
    TAuObjectKind Kind() const { return kind_; }

    // The control as a framework control (the same object).
    virtual win::Control& Ctl() = 0;
    // Where child objects are put; null for kinds that hold none. A
    // TabNotebook answers its page control, so its sheets land there.
    virtual win::WinControl* ChildParent() { return nullptr; }
    // Re-reads the kind's block from the record and repaints; the editor
    // calls it after writing into the block.
    virtual void PropertiesChanged() {}
    // Called once all child objects have been created (a TabNotebook then
    // builds its icons and picks its sheet).
    virtual void ChildrenLoaded() {}
    // A new object (created without a stream) hands the defaults that the
    // record keeps but the control owns back to the record: a Splitter its
    // alignment and cursor.
    virtual void StoreNewObjectDefaults(TAuObject&) {}
    // The player's passes over a built page (outside the design view), a
    // record before its children. PageBuilt: once all controls of the page
    // exist (a TreeView selects its first node quietly; a ShellTreeView
    // links its ShellListView). StartPass: after the page is shown or
    // switched in, first in prepare mode (media false: shell trees re-apply
    // their root, slide shows load their folder) and then in media mode
    // (media players open and play their file).
    virtual void PageBuilt() {}
    virtual void StartPass(bool /*media*/) {}

    // The fading kinds' hover flag (set and cleared by the player).
    bool Hovered() const { return hovered_; }
    void SetHovered(bool on) { hovered_ = on; }

    // The TAuControl a framework control is, or null.
    static TAuControl* From(win::Control* control);

protected:
    explicit TAuControl(TAuObject& record);

private:
    friend void DetachRecord(TAuControl&);
    friend void BindEvents(TAuControl&, class TAuEventSink&);
    friend void UnbindEvents(TAuControl&);
    friend TAuEventSink* SinkOf(TAuControl&);
    TAuObject* record_;
    TAuEventSink* sink_ = nullptr;
    TAuObjectKind kind_;
    bool hovered_ = false;
};

// The live control of a record, or null.
TAuControl* ControlOf(const TAuObject& record);

// Puts a framework control class under the contract: the page object
// classes derive from TAuKind<WinControl or GraphicControl or ...>.
template <class Base> class TAuKind : public Base, public TAuControl {
public:
    explicit TAuKind(TAuObject& record) : TAuControl(record) { Base::SetMinSize(1, 1); }
    win::Control& Ctl() override { return *this; }
};

// ---- the factory
// Creates the control of record's kind, puts it into parent (a TabSheet
// into its notebook's page control when parent is the notebook itself),
// and links record and control. The control takes the kind's defaults
// from the record's block. Returns null, creating nothing, for codes that
// are not kinds and for kinds this build has no control for yet.
TAuControl* CreateKindControl(TAuObject& record, win::WinControl& parent);
// Whether CreateKindControl can build a kind.
bool KindControlAvailable(TAuObjectKind kind);
// Destroys the record's control, with its children, if it has one.
void DestroyKindControl(TAuObject& record);

// Kinds built in other files register their constructor here before the
// first page loads (the built-in families are entered by AddXxxKinds).
using KindMaker = std::unique_ptr<win::Control> (*)(TAuObject& record);
void RegisterKindControl(TAuObjectKind kind, KindMaker maker);
template <class T> std::unique_ptr<win::Control> MakeKind(TAuObject& record) {
    return std::make_unique<T>(record);
}
using KindMakerTable = std::array<KindMaker, model::kKindCount>;
// The families, each filling in the makers of its kinds:
// buttons: Button, ImageButton, Image, SimpleText, Bevel;
// inputs: TextBox, RichText, Edit, CheckBox, RadioButton, UserPassword;
// lists: ListBox, DropDownList, ListView, TreeView, the shell views;
// media: Browser, MediaPlayer, FlashPlayer, SlideShow.
void AddButtonKinds(KindMakerTable& makers);
void AddInputKinds(KindMakerTable& makers);
void AddListKinds(KindMakerTable& makers);
void AddMediaKinds(KindMakerTable& makers);

// Applies the shared properties of the record: Hint, Cursor, Enabled,
// Visible, and for every kind except TabSheet also Align, Left and Top,
// and with withSize (the record was read from a stream) also Width and
// Height; a TabSheet's bounds come from its notebook. Without withSize
// (a new object) the record first takes the control's own defaults
// (StoreNewObjectDefaults). In the design view the control is shown
// whatever Visible says. Values the control cannot take (a width below 1)
// are left in the record as stored.
void ApplySharedProperties(TAuControl& control, bool withSize);
// Copies the live bounds of the control into its record (before writing).
void StoreBounds(TAuControl& control);

// ---- events
// The player's handlers. Each gets the control that raised the event; the
// control's record is control.Record() (never null while bound).
class TAuEventSink {
public:
    virtual ~TAuEventSink() = default;
    virtual void ObjectClick(TAuControl& control) = 0;
    virtual void ObjectDblClick(TAuControl& control) = 0;
    virtual void ObjectMouseEnter(TAuControl& control) = 0;
    virtual void ObjectMouseLeave(TAuControl& control) = 0;
    virtual void ObjectMouseDown(TAuControl& control, const win::MouseArgs& args) = 0;
    virtual void ObjectMouseMove(TAuControl& control, const win::MouseArgs& args) = 0;
    virtual void ObjectMouseUp(TAuControl& control, const win::MouseArgs& args) = 0;
    // A right click (or the menu key) on a control whose record has a
    // popup menu; screen is where the menu goes.
    virtual void ObjectPopupMenu(TAuControl&, POINT /*screen*/) {}
    // The kind-specific extras: an item's or a box's OnSelect list (a
    // checked CheckBox, a grouped ImageButton left down, a newly chosen
    // list item). The sink runs a copy, so the list may belong to an item
    // the actions remove.
    virtual void ObjectSelectActions(TAuControl&, const model::TAuActions& /*list*/) {}
    // The record at a path on the page of the window (model::FindObject
    // below the page root), for objects that name others: a TreeView's
    // AssociatedListView, a ShellTreeView's ShellListView.
    virtual TAuObject* FindPageObject(const std::string& /*path*/) { return nullptr; }
    // Whether the window has been shown once (a TreeView's OnSelect runs
    // only from then on).
    virtual bool WindowShown() const { return true; }
};

// Calls PageBuilt or StartPass on the control of record and of every
// record below it that has one, a record before its children.
void PageBuiltPass(TAuObject& record);
void StartPass(TAuObject& record, bool media);

// The sink bound to a control, or null (kinds with extra events use it
// to hand over their OnSelect lists).
TAuEventSink* SinkOf(TAuControl& control);
// Binds the seven events of the control to the sink, for the kinds whose
// events are bound (all but Browser and FlashPlayer), and the context menu
// of every record with a popup menu (a control without one passes the
// right click on to its container). The sink must outlive the binding
// (unbind with UnbindEvents or destroy the control).
void BindEvents(TAuControl& control, TAuEventSink& sink);
void UnbindEvents(TAuControl& control);

} // namespace orv::objects
