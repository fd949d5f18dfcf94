// Actions, action lists, menu items and status panels: the records that carry
// what a menu does, with their stream layouts.
#pragma once

#include "model/values.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::model {

enum class TAuActionKind : uint8_t {
    OpenRunFile,
    VisitWebsite,
    SendEmail,
    PrintDocument,
    Browse,
    ClosePage,
    Exit,
    PlaySound,
    StopSound,
    ShowSubPage,
    ShowSubPageModal,
    GoToPage,
    NextPage,
    PreviousPage,
    FirstPage,
    LastPage,
    ShowFullScreenBackground,
    ObjectShowText,
    ObjectShowImage,
    ObjectLoadFile,
    SetObjectFont,
    SetObjectBackColor,
    SetObjectEnable,
    SetObjectVisible,
    SetObjectAlpha,
    Play,
    Pause,
    Stop,
    Prev,
    Next,
    BackFirst,
    StepLast,
    DoSelectActions,
    ShowLoginPage,
    SubmitLoginPage,
    SubmitLogin,
    SetWindowState,
    ApplicationMinimize,
    ApplicationRestore,
    ShowImage,
    LaunchMedia,
    LaunchSlideShow,
    ShowMessage,
    CopyFile,
    IfThenElse,
    LoadObjectFromFile,
    SelectObjectOrItem,
    UnselectObjectOrItem
};
inline constexpr int kActionKindCount = 48;

// "OpenRunFile" .. "UnselectObjectOrItem" ("Back/First", "Step/Last");
// empty for codes above 47, which do nothing.
const char* ActionKindName(uint8_t code);

struct TAuAction;
using TAuActions = std::vector<TAuAction>;

struct TAuAction {
    uint8_t Kind = 0; // TAuActionKind; kept as stored
    std::string Param1, Param2, Param3;
    bool Flag = false;
    int32_t Number = 1;
    // The stored presence values: 1 (or more) when a picture or font
    // follows, 0 or below when none does. Kept so a record writes back as
    // it was read.
    int32_t PictureMark = 0;
    TPicture Picture;
    int32_t FontMark = 0;
    TFont Font;
    TAuActions ThenActions, ElseActions;

    bool HasPicture() const { return PictureMark >= 1; }
    bool HasFont() const { return FontMark >= 1; }
    void SetPicture(TPicture p) {
        Picture = std::move(p);
        PictureMark = 1;
    }
    void ClearPicture() {
        Picture.Clear();
        PictureMark = 0;
    }
    void SetFont(TFont f) {
        Font = std::move(f);
        FontMark = 1;
    }
    void ClearFont() {
        Font = TFont{};
        FontMark = 0;
    }
    bool operator==(const TAuAction&) const = default;
};

// The selection lists of list items, check boxes and image buttons.
struct TObjectItemActions {
    TAuActions OnSelect;
    TAuActions SelectActions;
    bool operator==(const TObjectItemActions&) const = default;
};

// A menu item of a page's menu bar or of an object's popup menu. Its action
// list travels in Hint as a composite text (ActionListToText).
struct TMenuItem {
    std::string Caption;
    std::string Hint;
    int16_t ShortCut = 0; // key code in the low byte, modifier flags in the high byte
    bool RadioItem = false;
    uint8_t GroupIndex = 0;
    bool Enabled = true;
    bool Default = false;
    bool Checked = false;
    bool AutoCheck = false;
    bool Visible = true;
    TPicture Bitmap;
    std::vector<TMenuItem> Items;
    bool operator==(const TMenuItem&) const = default;
};

struct TStatusPanel {
    uint8_t Alignment = 0; // 0 left, 1 right, 2 centre
    std::string Text;
    int32_t Width = 50;
    bool operator==(const TStatusPanel&) const = default;
};

// Nesting limit of action lists, menus, list-view items, tree nodes and
// object trees: a deeper record is refused as damaged, on reading and on
// writing, so a crafted file cannot exhaust the stack.
inline constexpr int kMaxNesting = 64;

bool WriteActionList(Stream& s, const TAuActions& list, Reporter& r);
bool ReadActionList(Stream& s, TAuActions& list, Reporter& r);
bool WriteActionRecord(Stream& s, const TAuAction& a, Reporter& r);
bool ReadActionRecord(Stream& s, TAuAction& a, Reporter& r);
bool WriteMenuItem(Stream& s, const TMenuItem& item, Reporter& r);
bool ReadMenuItem(Stream& s, TMenuItem& item, Reporter& r);
bool WriteStatusPanel(Stream& s, const TStatusPanel& p, Reporter& r);
bool ReadStatusPanel(Stream& s, TStatusPanel& p, Reporter& r);

// The composite hint of a menu item: name, the byte 0x01, then the bytes of
// the action list (int32 count and the action records).
// ActionListToText reports 5501 on failure and returns false.
bool ActionListToText(const std::string& name, const TAuActions& list, std::string& text,
                      Reporter& r);
// Parses everything after the first 0x01 as an action list. A text with no
// separator, or nothing after it, is an empty list. Damaged list bytes fail
// with the list unchanged, reported by the innermost reader that failed
// (5502 for a failure of the text itself).
bool TextToActionList(const std::string& text, TAuActions& list, Reporter& r);
// The name part of a composite hint (everything before the first 0x01).
std::string ActionTextName(const std::string& text);

} // namespace orv::model
