// The 35 object kinds and the property block of each, as plain data with the
// kinds' constructor defaults. Controls draw from these and write user
// changes back into them; the model reads and writes each block byte for
// byte. Fields the platform writes and the system ignores are kept as stored.
#pragma once

#include "model/actions.h"
#include "model/values.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace orv::model {

enum class TAuObjectKind : uint8_t {
    Panel,
    TabNotebook,
    TabSheet,
    GroupBox,
    ScrollBox,
    Splitter,
    Button,
    ImageButton,
    Image,
    SimpleText,
    ScrollText,
    Link,
    Label,
    Text,
    Shape,
    Balloon,
    Note,
    ListBox,
    DropDownList,
    ListView,
    TreeView,
    ShellListView,
    ShellTreeView,
    TextBox,
    RichText,
    Browser,
    MediaPlayer,
    FlashPlayer,
    SlideShow,
    Edit,
    CheckBox,
    RadioButton,
    UserPassword,
    Bevel,
    FadeButton
};
inline constexpr int kKindCount = 35;

// The kind's name ("Panel" .. "FadeButton"); "Unknow" for any other code.
const char* KindName(int code);
inline const char* KindName(TAuObjectKind k) {
    return KindName(static_cast<int>(k));
}
inline bool IsValidKind(int code) {
    return code >= 0 && code < kKindCount;
}

// ---------------------------------------------------------------- items

// Items of ListBox and DropDownList.
struct TListBoxItem {
    std::string Name;
    std::string Caption;
    TPicture Icon;
    bool Selected = false;
    TObjectItemActions Actions;
    bool operator==(const TListBoxItem&) const = default;
};

// Items of ListView, and the data of TreeView nodes. Items holds the items
// a node's associated ListView shows while the node is selected.
struct TListViewItem {
    std::string Name;
    std::string Caption;
    TPicture Icon;
    uint8_t Flag = 0;
    std::string SubItems; // one sub-item per line
    TObjectItemActions Actions;
    std::vector<TListViewItem> Items;
    bool operator==(const TListViewItem&) const = default;
};

struct TListColumn {
    uint8_t Alignment = 0;
    bool AutoSize = false;
    std::string Caption;
    int32_t ImageIndex = -1;
    int32_t MaxWidth = 0;
    int32_t MinWidth = 0;
    int32_t Tag = 0;
    int32_t Width = 50;
    bool operator==(const TListColumn&) const = default;
};

struct TTreeNode {
    TListViewItem Data;
    std::vector<TTreeNode> Nodes;
    bool operator==(const TTreeNode&) const = default;
};

// Background painter of panels and page roots.
struct TPanelBack {
    TPicture BackImage;
    std::string Caption = "Panel";
    uint8_t Alignment = 2;      // Left, Right, Center
    uint8_t Layout = 1;         // Top, Center, Bottom
    uint8_t BackImageStyle = 2; // Normal, Center, Stretch, Tile
    uint8_t GradientStyle = 0;  // None, TopBottom, ... LeftRightMiddle
    int32_t GradientColor = color::kBlack;
    uint8_t Border = 1;      // None, Box, Frame, LeftLine, TopLine, RightLine, BottomLine
    uint8_t BorderStyle = 2; // Flat, Lowered, Raised
    int32_t BorderColor = color::kBtnHighlight;
    int32_t ShadowColor = color::kBtnShadow;
    bool operator==(const TPanelBack&) const = default;
};

struct TSlideShowSettings {
    uint8_t Reserved = 1;
    int32_t Style = 0; // transition number, 0 random
    int32_t Step = 4;
    int32_t StepDelay = 50;
    int32_t Interval = 2000;
    int32_t ImageStyle = 3; // Normal, Center, Stretch, ShrinkFit, EnlargeFit
    int32_t BackColor = color::kBlack;
    std::string Reserved1, Reserved2;
    int32_t Reserved3 = 0;
    bool operator==(const TSlideShowSettings&) const = default;
};

// ----------------------------------------------------------- the blocks
// Field order is the stored order.

struct PanelProps {
    TPanelBack Back;
    int32_t BackColor = color::kBtnFace;
    uint8_t Border = 0; // 1 = the platform's border (Standard)
    TFont Font;
    bool operator==(const PanelProps&) const = default;
};

struct TabNotebookProps {
    TFont Font;
    int32_t BackColor = color::kBtnFace;
    int32_t IconWidth = 16;
    int32_t IconHeight = 16;
    int32_t DefaultTabSheet = 0;
    bool TabStop = true;
    bool operator==(const TabNotebookProps&) const = default;
};

struct TabSheetProps {
    std::string Caption;
    TPicture Icon;
    bool operator==(const TabSheetProps&) const = default;
};

struct GroupBoxProps {
    std::string Caption;
    TFont Font;
    int32_t BackColor = color::kBtnFace;
    bool operator==(const GroupBoxProps&) const = default;
};

struct ScrollBoxProps {
    int32_t BackColor = color::kBtnFace;
    uint8_t Border = 1;
    TFont Font;
    bool operator==(const ScrollBoxProps&) const = default;
};

struct SplitterProps {
    bool AutoSnap = true;
    bool Beveled = false;
    int32_t Color = color::kBtnFace;
    int32_t MinSize = 1;
    uint8_t ResizeStyle = 3; // None, Line, Update, Pattern
    bool operator==(const SplitterProps&) const = default;
};

struct ButtonProps {
    std::string Caption;
    TFont Font;
    bool Cancel = false;
    bool Default = false;
    bool TabStop = true;
    bool WordWrap = false;
    bool operator==(const ButtonProps&) const = default;
};

struct ImageButtonProps {
    std::string Caption = "New ImageButton";
    TFont MouseDownFont = BlackFont();
    TFont NormalFont = BlackFont();
    TFont MouseOverFont = ColoredFont(color::kWhite);
    TFont DisabledFont = ColoredFont(color::kGray);
    TPicture MouseDownImage, NormalImage, MouseOverImage, DisabledImage;
    uint8_t ButtonStyle = 0; // Normal, NormalFlat, Themes, ThemesFlat, Transparent
    int32_t Margin = 2;
    uint8_t ImageLayout = 0; // Left, Top, Right, Bottom, Center, Stretch
    int32_t Spacing = 2;
    bool DownSlide = true;
    int32_t Group = 0;
    bool AllowAllUp = false;
    bool Down = false;
    bool Flat = false;
    TObjectItemActions Actions;
    bool operator==(const ImageButtonProps&) const = default;

private:
    static TFont BlackFont() { return ColoredFont(color::kBlack); }
    static TFont ColoredFont(int32_t c) {
        TFont f;
        f.Color = c;
        return f;
    }
};

struct ImageProps {
    TPicture Image;
    bool AutoSize = false;
    bool Center = false;
    bool Stretch = false;
    bool Transparent = false;
    bool operator==(const ImageProps&) const = default;
};

struct SimpleTextProps {
    std::string Text;
    TFont Font;
    uint8_t Alignment = 0;
    uint8_t Layout = 0;
    int32_t BackColor = color::kBtnFace;
    bool Transparent = true;
    bool operator==(const SimpleTextProps&) const = default;
};

// Text effect of the effect text kinds as they are created: shadow and
// texture on, gradient from the font colour to white.
TFxEffect KindTextEffect(const TFont& font);

struct ScrollTextProps {
    bool Active = true; // the control's scrolling state when written; ignored on reading
    uint8_t Alignment = 2;
    int32_t BackColor = color::kWhite;
    TPicture BackImage;
    uint8_t BackImageStyle = 0; // Tile, Stretch, Center, Normal
    bool Fade = true;
    int32_t FadeHeight = 10;
    TFont Font = ArialFont(10);
    TFxEffect Effect = KindTextEffect(ArialFont(10));
    int32_t HeadSpace = 0;
    uint8_t LabelEffect = 1;
    std::string Text;    // lines joined by CR LF
    uint8_t Quality = 0; // high, normal, low, none
    int16_t RowPitch = 20;
    int32_t TailSpace = 60;
    bool WordWrap = false;
    uint8_t WordWrapRest[3] = {0, 0, 0}; // the three bytes after the flag
    int32_t RepeatCount = 0;
    int32_t RepeatDelay = 2000;
    int32_t ScrollDelay = 60;
    int32_t ScrollStep = 1;
    bool operator==(const ScrollTextProps&) const = default;
};

struct THotLink {
    int32_t BackColor = color::kBtnFace;
    TPicture BackGround;
    uint8_t BackGroundMode = 2;
    int32_t Color = 16711680;
    bool Fade = true;
    int32_t FadeDelay = 600;
    bool Transparent = false;
    bool UnderLine = true;
    std::string URL;
    TFxEffect FontEffect = KindTextEffect(ArialFont(10, fontstyle::kBold));
    bool operator==(const THotLink&) const = default;
};

struct LinkProps {
    bool AutoSize = false;
    int32_t Margin = 0;
    uint8_t Alignment = 2;
    int32_t BackColor = color::kBtnFace;
    TPicture BackImage;
    uint8_t BackImageStyle = 2;
    uint8_t Layout = 1;
    uint8_t Quality = 0;
    bool Transparent = false;
    TFxEffect Effect = KindTextEffect(ArialFont(10, fontstyle::kBold));
    THotLink HotLink;
    std::string Caption;
    TFont Font = ArialFont(10, fontstyle::kBold);
    bool operator==(const LinkProps&) const = default;
};

struct LabelProps {
    uint8_t Alignment = 0;
    bool AutoSize = false;
    uint8_t Layout = 1;
    bool Transparent = true;
    int32_t Margin = 0;
    std::string Caption = "New Label";
    TFont Font = ArialFont(10, fontstyle::kBold);
    TFxEffect Effect = KindTextEffect(ArialFont(10, fontstyle::kBold));
    TFadeSettings Fade;
    bool operator==(const LabelProps&) const = default;
};

struct TextProps {
    std::string Text = "New Text"; // lines joined by CR LF
    uint8_t Alignment = 0;
    bool AutoSize = false;
    uint8_t Reserved = 0;
    bool Transparent = true;
    int32_t BackColor = color::kBtnFace;
    TFont Font = ArialFont(10);
    int32_t RowPitch = 0;
    int32_t Margin = 0;
    TFxEffect Effect = KindTextEffect(ArialFont(10));
    TFadeSettings Fade;
    bool operator==(const TextProps&) const = default;
};

struct ShapeProps {
    int32_t BrushColor = color::Rgb(255, 255, 0);
    int32_t BrushStyle = 0; // 0 Solid, 1001 Clear, 1..8 gradients
    int32_t GradientColor = color::kBlack;
    int32_t Round = 30;
    int32_t Shape = 0; // -1 None, 0 Rectangle, 1 RoundRect, 2 Ellipse, 3 Diamond, 34, 35 lines
    int32_t PenWidth = 4;
    int32_t PenColor = color::Rgb(253, 197, 2);
    std::string Text;
    TFont Font = ArialFont(10, fontstyle::kBold);
    uint8_t Alignment = 2;
    uint8_t Layout = 1;
    int32_t Margin = 10;
    TFadeSettings Fade;
    TPicture Image;
    bool operator==(const ShapeProps&) const = default;
};

struct BalloonProps {
    TFont Font = ArialFont(10, fontstyle::kBold);
    std::string Text = "New Balloon";
    uint8_t Alignment = 2;
    uint8_t Layout = 1;
    int32_t Margin = 12;
    int32_t Arrow = 7;
    int32_t BorderColor = color::kBlack;
    int32_t BackColor = color::Rgb(253, 197, 2);
    TFadeSettings Fade;
    bool operator==(const BalloonProps&) const = default;
};

struct NoteProps {
    TFont Font = ArialFont(10, fontstyle::kBold, color::kWhite);
    std::string Text = "New Note"; // lines joined by CR LF
    uint8_t Alignment = 0;
    int32_t RowPitch = 0;
    int32_t Margin = 20;
    int32_t Graphic = 13;
    int32_t Round = 3;
    int32_t BackColor = color::Rgb(0, 62, 255);
    bool Flat = false;
    bool Shadow = true;
    TFxEffect Effect = KindTextEffect(ArialFont(10, fontstyle::kBold, color::kWhite));
    TFadeSettings Fade;
    bool operator==(const NoteProps&) const = default;
};

struct ListBoxProps {
    TFont Font;
    int32_t ItemHeight = 16;
    int32_t IconWidth = 16;
    int32_t IconHeight = 16;
    bool MultiSelect = false;
    std::vector<TListBoxItem> Items;
    int32_t SelectedIndex = -1;
    int32_t BackColor = color::kWindow;
    uint8_t Border = 1;
    bool TabStop = true;
    bool operator==(const ListBoxProps&) const = default;
};

struct DropDownListProps {
    TFont Font;
    int32_t ItemHeight = 16;
    int32_t IconWidth = 16;
    int32_t IconHeight = 16;
    int32_t DropDownCount = 8;
    std::vector<TListBoxItem> Items;
    int32_t SelectedIndex = -1;
    int32_t BackColor = color::kWindow;
    bool TabStop = true;
    bool operator==(const DropDownListProps&) const = default;
};

// Hot-track style bits of the list views.
namespace hottrack {
inline constexpr uint8_t kHandPoint = 1, kUnderlineCold = 2, kUnderlineHot = 4;
}

struct ListViewProps {
    TFont Font;
    uint8_t Border = 1;
    int32_t BackColor = color::kWindow;
    int32_t IconWidth = 32;
    int32_t IconHeight = 32;
    bool HotTrack = false;
    uint8_t HotTrackStyles = hottrack::kHandPoint | hottrack::kUnderlineHot;
    std::vector<TListColumn> ReportColumns;
    std::vector<TListViewItem> Items;
    bool ColumnClick = false; // ignored on reading
    bool ReportGridLines = false;
    bool HideSelection = false;
    bool ReportRowSelect = false;
    bool ShowColumnHeaders = true; // ignored on reading
    uint8_t SortType = 0;          // none, data, text, both
    uint8_t ViewStyle = 0;         // Icon, SmallIcon, List, Report
    bool TabStop = true;
    bool operator==(const ListViewProps&) const = default;
};

struct TreeViewProps {
    TFont Font;
    uint8_t Border = 1;
    int32_t BackColor = color::kWindow;
    int32_t IconWidth = 18; // the image cell; the inspector shows it minus 2
    int32_t IconHeight = 18;
    bool HotTrack = true;
    bool ShowRoot = true;
    bool ShowButtons = true;
    bool ShowLines = true;
    bool TabStop = true;
    int32_t ExpandLevels = 1;
    std::string AssociatedListView;
    std::vector<TTreeNode> Items;
    bool operator==(const TreeViewProps&) const = default;
};

struct ShellListViewProps {
    TFont Font;
    uint8_t Border = 1;
    int32_t BackColor = color::kWindow;
    bool HotTrack = false;
    uint8_t HotTrackStyles = hottrack::kHandPoint | hottrack::kUnderlineHot;
    uint8_t ViewStyle = 0;
    bool TabStop = true;
    std::string Root;
    bool operator==(const ShellListViewProps&) const = default;
};

struct ShellTreeViewProps {
    TFont Font;
    uint8_t Border = 1;
    int32_t BackColor = color::kWindow;
    bool HotTrack = true;
    bool TabStop = false;
    std::string Root;
    std::string ShellListView;
    bool operator==(const ShellTreeViewProps&) const = default;
};

struct TextBoxProps {
    std::string Text; // lines joined by CR LF
    TFont Font;
    uint8_t Alignment = 0;
    bool WordWrap = true;
    uint8_t ScrollBar = 2; // none, horizontal, vertical, both
    int32_t BackColor = color::kWindow;
    uint8_t Border = 1;
    bool TabStop = false;
    bool operator==(const TextBoxProps&) const = default;
};

struct RichTextProps {
    std::string RichText; // the document's bytes (Rich Text Format)
    TFont Font;
    uint8_t Alignment = 0;
    bool WordWrap = true;
    bool PlainText = false;
    uint8_t ScrollBar = 2;
    int32_t BackColor = color::kWindow;
    uint8_t Border = 1;
    bool TabStop = false;
    bool operator==(const RichTextProps&) const = default;
};

struct BrowserProps {
    uint8_t Border = 0;
    uint8_t BrowserType = 1; // Folder, Website, File
    std::string Location;
    bool operator==(const BrowserProps&) const = default;
};

struct MediaPlayerProps {
    bool Play = true;
    bool ControlBar = true;
    bool Border = true;
    bool Loop = true;
    std::string FileName;
    bool operator==(const MediaPlayerProps&) const = default;
};

struct FlashPlayerProps {
    int32_t BackgroundColor = color::kWhite;
    uint8_t Border = 0;
    bool Loop = true;
    bool ContextMenu = true;
    std::string FileName;
    bool operator==(const FlashPlayerProps&) const = default;
};

struct SlideShowProps {
    bool Play = true;
    bool Loop = true;
    bool ControlBar = true;
    bool Border = true;
    std::string WorkFolder;
    TSlideShowSettings Settings;
    bool operator==(const SlideShowProps&) const = default;
};

struct EditProps {
    std::string Text;
    TFont Font;
    bool AutoHeight = true;
    uint8_t CharCase = 0;     // Normal, UpperCase, LowerCase
    uint8_t PasswordChar = 0; // 0 none
    int32_t MaxLength = 0;
    int32_t BackColor = color::kWindow;
    uint8_t Border = 1;
    bool TabStop = true;
    int32_t AllowRetry = 0;
    std::string RetryMessage = "Invalid text, please retry.";
    std::string RetryCaption = "Invalid";
    std::string FailedMessage = "Invalid text, can not retry.";
    std::string FailedCaption = "Invalid";
    std::string NeedInputText;
    bool operator==(const EditProps&) const = default;
};

struct CheckBoxProps {
    std::string Caption;
    TFont Font;
    uint8_t Alignment = 1; // caption side: 0 left, 1 right
    bool Checked = false;
    bool WordWrap = false;
    int32_t BackColor = color::kBtnFace;
    bool TabStop = true;
    std::string NeedCheckMessage = "Please select the check box.";
    std::string NeedCheckCaption = "Invalid";
    bool NeedCheck = true;
    TObjectItemActions Actions;
    bool operator==(const CheckBoxProps&) const = default;
};

// Same layout as CheckBox.
struct RadioButtonProps : CheckBoxProps {
    RadioButtonProps() { NeedCheckMessage = "Please select the radio button."; }
    bool operator==(const RadioButtonProps&) const = default;
};

struct UserPasswordProps {
    TFont Font;
    int32_t BackColor = color::kBtnFace;
    int32_t EditorColor = color::kWindow;
    bool TabStop = true;
    int32_t AllowRetry = 0;
    std::string RetryMessage = "Invalid Username or Password, please retry.";
    std::string RetryCaption = "Invalid";
    std::string FailedMessage = "Invalid Username or Password, Login Failed.";
    std::string FailedCaption = "Login Failed";
    std::string UserList; // "User,Password" lines
    bool operator==(const UserPasswordProps&) const = default;
};

struct BevelProps {
    uint8_t Style = 0; // Lowered, Raised
    uint8_t Shape = 0; // Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer
    int32_t Highlight = color::kBtnHighlight;
    int32_t Shadow = color::kBtnShadow;
    bool operator==(const BevelProps&) const = default;
};

TFadeSettings FadeButtonFade();

struct FadeButtonProps {
    std::string Caption;
    TFont Font;
    TPicture Image;
    int32_t Margin = 5;
    uint8_t ImageLayout = 0;
    int32_t Spacing = 5;
    int32_t BackColor = color::Rgb(128, 192, 255);
    int32_t BorderColor = color::Rgb(221, 238, 255);
    TFadeSettings Fade = FadeButtonFade();
    bool operator==(const FadeButtonProps&) const = default;
};

// One block per kind; the alternative's index is the kind code.
using TKindProps =
    std::variant<PanelProps, TabNotebookProps, TabSheetProps, GroupBoxProps, ScrollBoxProps,
                 SplitterProps, ButtonProps, ImageButtonProps, ImageProps, SimpleTextProps,
                 ScrollTextProps, LinkProps, LabelProps, TextProps, ShapeProps, BalloonProps,
                 NoteProps, ListBoxProps, DropDownListProps, ListViewProps, TreeViewProps,
                 ShellListViewProps, ShellTreeViewProps, TextBoxProps, RichTextProps, BrowserProps,
                 MediaPlayerProps, FlashPlayerProps, SlideShowProps, EditProps, CheckBoxProps,
                 RadioButtonProps, UserPasswordProps, BevelProps, FadeButtonProps>;
static_assert(std::variant_size_v<TKindProps> == kKindCount);

// The defaults of a kind's block.
TKindProps MakeKindProps(TAuObjectKind kind);

// The write and read codes of a kind's block.
int KindWriteCode(TAuObjectKind kind);
int KindReadCode(TAuObjectKind kind);

// A kind's block on its own (the object record reader and writer use these).
bool WriteKindBlock(Stream& s, const TKindProps& props, Reporter& r);
bool ReadKindBlock(Stream& s, TAuObjectKind kind, TKindProps& props, Reporter& r);

} // namespace orv::model
