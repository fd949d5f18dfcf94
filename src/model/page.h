// Page records: the window settings of a page, its menu bar and status bar,
// and its object tree under a root Panel.
#pragma once

#include "model/object.h"

#include <memory>
#include <string>
#include <vector>

namespace orv::model {

// Bits of BorderIcons.
namespace bordericon {
inline constexpr uint8_t kSystemMenu = 1, kMinimize = 2, kMaximize = 4, kHelp = 8;
}

// A page as stored. The defaults are those of a blank page.
struct TPageRecord {
    TPageRecord();

    std::string Caption;
    uint8_t BorderIcons = bordericon::kSystemMenu | bordericon::kMinimize | bordericon::kMaximize;
    uint8_t BorderStyle = 2; // None, Single, Sizeable, dialog, ToolWindow, SizeToolWin
    uint8_t PositionBy = 0;  // Screen, WorkArea, Desktop
    int32_t PositionMargin = 0;
    uint8_t Position = 1;    // Designed, Center, ... BottomLeftCorner
    uint8_t WindowState = 0; // Normal, Minimized, Maximized
    uint8_t FormStyle = 0;   // 0 normal, 3 stay on top
    bool Transparent = false;
    int32_t TransparentColor = 0;
    int32_t Alpha = 100;
    bool Fade = true;
    int32_t FadeInStep = 10;
    int32_t FadeOutStep = 10;
    TPicture PageIcon;
    TAuActions OnShow, OnClose;
    std::vector<TMenuItem> MenuBarItems;
    int32_t StatusBarHeight = 19;
    TFont StatusBarFont;
    std::vector<TStatusPanel> StatusBarPanels;
    int32_t Left = 0, Top = 0, Width = 696, Height = 480;
    // The page root: a Panel that fills the window and holds the objects.
    std::unique_ptr<TAuObject> Root;
};

// A blank page with the given caption: the defaults above, and a root Panel
// with no name, client alignment, the 3D face colour, no border and a
// background without caption or border.
std::unique_ptr<TPageRecord> MakeBlankPage(const std::string& caption);
// Resets a page to the blank page.
void ResetPageRecord(TPageRecord& page, const std::string& caption);

// The root must be a Panel: another kind fails with the unknown-kind
// message. A failed read leaves page as it was.
bool WritePageRecord(Stream& s, const TPageRecord& page, Reporter& r);
bool ReadPageRecord(Stream& s, TPageRecord& page, Reporter& r);

} // namespace orv::model
