// What the live control of a page object offers the actions: setting its
// caption, lines, picture, font and colour, loading a file, media
// commands, list selection, check state, the texts a login check reads and
// the fade protocol of the fading kinds.
//
// The interface is portable so the action engine can be tested against
// fakes; the Windows controls of the kinds implement it (each only what it
// serves: every operation defaults to doing nothing).
#pragma once

#include "model/actions.h"
#include "model/values.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::model {

enum class MediaCommand { Play, Pause, Stop, Prev, Next, BackFirst, StepLast };

// Operations of one live page-object control. Every operation has a
// default that does nothing, so a kind implements what it serves. The
// engine decides which kinds an action applies to (the record's kind) and
// calls these on the record's control.
class ActionTarget {
public:
    virtual ~ActionTarget() = default;

    // Captions and texts. SetCaption: a caption, text or background caption;
    // SetLines: the lines of ScrollText, Text, TextBox and Note (already
    // split at line breaks). Shape and Balloon re-render.
    virtual void SetCaption(const std::string&) {}
    virtual void SetLines(const std::vector<std::string>&) {}
    // Image: its picture; Shape: its Image. Null means none.
    virtual void SetPicture(const model::TPicture*) {}
    // ObjectLoadFile. value is the joined path for Image, Shape, TextBox,
    // RichText, MediaPlayer and FlashPlayer; the navigation target for a
    // Browser (the joined path when it exists, else the text as typed); the
    // work folder as typed for a SlideShow.
    virtual void LoadFile(const std::string&) {}
    virtual void SetFont(const model::TFont&) {}
    virtual void SetBackColor(int32_t) {}
    virtual void Media(MediaCommand) {}

    // Lists and check boxes. ItemIndex: ListBox and DropDownList (-1 none).
    virtual int ItemCount() const { return 0; }
    virtual int ItemIndex() const { return -1; }
    virtual void SetItemIndex(int) {}
    // ListView: whether item i is selected; select item i; clear selection.
    virtual bool ItemSelected(int) const { return false; }
    virtual void SelectItem(int) {}
    virtual void ClearSelection() {}
    // CheckBox and RadioButton.
    virtual bool Checked() const { return false; }
    virtual void SetChecked(bool) {}
    // DoSelectActions: copies of the SelectActions lists of what is
    // selected (a down ImageButton, the selected items, a checked box).
    virtual std::vector<TAuActions> SelectedActionLists() const { return {}; }

    // What the user entered, for the login checks: an Edit's text, a
    // UserPassword's user name and password.
    virtual std::string EnteredText() const { return {}; }
    virtual std::string EnteredUser() const { return {}; }
    virtual std::string EnteredPassword() const { return {}; }

    // ---- the fade protocol of the fading kinds (Label, Text, Shape,
    // Balloon, Note). FadeActive: Fade is on and the object is not fully
    // transparent, so a content change waits for the fade-out.
    virtual bool FadeActive() const { return false; }
    // Clamps into 0..100 and fades there (at once when Fade is off).
    virtual void FadeTo(int) {}
    // Fades to 0 and raises OnFadeDone there; then back to the requested
    // opacity. The control calls ApplyPendingChanges(*this) on OnFadeDone.
    virtual void BeginFadeOut() {}

    // Content changes waiting for the fade-out (set by the engine, applied
    // by ApplyPendingChanges). Each holds the latest value of its kind.
    struct Pending {
        std::optional<std::string> caption;
        std::optional<std::vector<std::string>> lines;
        std::optional<std::optional<model::TPicture>> picture; // inner empty: none
        std::optional<std::string> file;
    };
    Pending pending;
};

// Applies and clears the target's pending changes; the fading controls
// call it from OnFadeDone. Nothing happens when none are pending.
void ApplyPendingChanges(ActionTarget& target);

} // namespace orv::model
