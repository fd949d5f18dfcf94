#include "demo.h"

#include "base/fsys.h"
#include "pictures.h"

#include <filesystem>
#include <stdexcept>

namespace orv::demo {

using namespace orv::model;

namespace {

// Stored names of the media files.
constexpr const char* kBannerFile = "\\media\\banner.png";
constexpr const char* kTileFile = "\\media\\tile.bmp";
constexpr const char* kLogoFile = "\\media\\logo.png";
constexpr const char* kPosterFile = "\\media\\poster.png";
constexpr const char* kChimeFile = "\\media\\chime.wav";
constexpr const char* kReadMeFile = "\\readme.txt";

constexpr int16_t kHandPoint = -21;

// Colours of the navigation tiles.
constexpr int32_t kTileColor = color::Rgb(0, 110, 200);
constexpr int32_t kTileHotColor = color::Rgb(0, 150, 250);
constexpr int32_t kTileDeepColor = color::Rgb(0, 50, 110);

// Panel border kinds and styles.
enum : uint8_t { kNoBorder, kBox, kFrame, kLeftLine, kTopLine, kRightLine, kBottomLine };
enum : uint8_t { kFlat, kLowered, kRaised };
// Background picture styles.
enum : uint8_t { kNormal, kCenter, kStretch, kTile };
// Caption alignment and layout.
enum : uint8_t { kAlignLeft, kAlignRight, kAlignCenter };
enum : uint8_t { kLayoutTop, kLayoutCenter, kLayoutBottom };
// Object alignment.
enum : uint8_t { kAlignNone, kAlignTop, kAlignBottom, kAlignLeftEdge, kAlignRightEdge, kClient };

std::vector<uint8_t> Png(const gfx::Image& img) {
    std::vector<uint8_t> out;
    if (!gfx::EncodePng(img, out))
        throw std::runtime_error("PNG encoding failed");
    return out;
}

std::vector<uint8_t> Bmp(const gfx::Image& img) {
    std::vector<uint8_t> out;
    if (!gfx::EncodeBmp(img, out))
        throw std::runtime_error("BMP encoding failed");
    return out;
}

TPicture Picture(PictureClass c, std::vector<uint8_t> bytes) {
    TPicture p;
    p.Class = c;
    p.Bytes = std::move(bytes);
    return p;
}

TPicture PngPicture(const gfx::Image& img) {
    return Picture(PictureClass::Png, Png(img));
}

// ------------------------------------------------------------- actions

TAuAction Action(TAuActionKind kind, const std::string& param1 = {},
                 const std::string& param2 = {}) {
    TAuAction a;
    a.Kind = static_cast<uint8_t>(kind);
    a.Param1 = param1;
    a.Param2 = param2;
    return a;
}

// A message box: option 0 warning, 1 information, 2 stop, 3 Yes/No,
// 4 Yes/No/Cancel (Yes runs then, No runs otherwise).
TAuAction Message(const std::string& text, int32_t option, TAuActions then = {},
                  TAuActions otherwise = {}) {
    TAuAction a = Action(TAuActionKind::ShowMessage, text, "Orvexa Demo");
    a.Number = option;
    a.ThenActions = std::move(then);
    a.ElseActions = std::move(otherwise);
    return a;
}

// Opens the read-me when the machine has a viewer for text files, and says
// so when it has none.
TAuAction OpenReadMe() {
    TAuAction a = Action(TAuActionKind::IfThenElse, ".txt (Text Document)");
    a.Number = 4; // There is viewer for file type
    a.ThenActions = {Action(TAuActionKind::OpenRunFile, kReadMeFile)};
    a.ElseActions = {Message("No program on this computer opens text files.", 1)};
    return a;
}

// Opens the login page; the members' page when it passes, a message when
// it fails.
TAuAction MembersLogin() {
    TAuAction a = Action(TAuActionKind::ShowLoginPage, kLoginPage);
    a.ThenActions = {Action(TAuActionKind::GoToPage, kMembersPage)};
    a.ElseActions = {Message("The login failed: the members' area stays closed.", 2)};
    return a;
}

TAuAction BackColorAction(const std::string& path, int32_t colour) {
    TAuAction a = Action(TAuActionKind::SetObjectBackColor, {}, path);
    a.Number = colour;
    return a;
}

// A status panel text shown while the pointer is over an object.
TAuAction StatusText(const std::string& text) {
    return Action(TAuActionKind::ObjectShowText, text, StatusPanelPath(1));
}

// ------------------------------------------------------------- objects

TAuObject& Add(TAuObject& parent, TAuObjectKind kind, const std::string& name, int left, int top,
               int width, int height) {
    auto o = std::make_unique<TAuObject>(kind);
    o->Name = name;
    o->Left = left;
    o->Top = top;
    o->Width = width;
    o->Height = height;
    return parent.AddChild(std::move(o));
}

struct PanelStyle {
    std::string caption;
    int32_t color = color::kBtnFace;
    uint8_t gradient = 0;
    int32_t gradientColor = color::kBlack;
    uint8_t border = kNoBorder;
    uint8_t borderStyle = kLowered;
    TFont font = ArialFont(10, fontstyle::kBold);
    uint8_t alignment = kAlignCenter;
    uint8_t layout = kLayoutCenter;
};

TAuObject& AddPanel(TAuObject& parent, const std::string& name, int left, int top, int width,
                    int height, const PanelStyle& s) {
    TAuObject& o = Add(parent, TAuObjectKind::Panel, name, left, top, width, height);
    PanelProps& p = o.As<PanelProps>();
    p.BackColor = s.color;
    p.Font = s.font;
    p.Back.Caption = s.caption;
    p.Back.GradientStyle = s.gradient;
    p.Back.GradientColor = s.gradientColor;
    p.Back.Border = s.border;
    p.Back.BorderStyle = s.borderStyle;
    p.Back.Alignment = s.alignment;
    p.Back.Layout = s.layout;
    return o;
}

void SetBackImage(TAuObject& panel, TPicture picture, uint8_t style) {
    PanelProps& p = panel.As<PanelProps>();
    p.Back.BackImage = std::move(picture);
    p.Back.BackImageStyle = style;
}

// A page's title bar: a left-to-right gradient across the top with the
// title in white.
void AddHeader(TAuObject& root, const std::string& name, const std::string& title, int32_t from,
               int32_t to) {
    PanelStyle header;
    header.caption = title;
    header.color = from;
    header.gradient = 3; // LeftRight
    header.gradientColor = to;
    header.font = ArialFont(16, fontstyle::kBold, color::kWhite);
    header.alignment = kAlignLeft;
    header.border = kBottomLine;
    header.borderStyle = kLowered;
    AddPanel(root, name, 0, 0, 712, 48, header).Align = kAlignTop;
}

// A clickable tile: a raised gradient panel that lights up under the
// pointer and explains itself in the status bar.
TAuObject& AddNavTile(TAuObject& parent, const std::string& name, int left, int top,
                      const std::string& caption, const std::string& help, TAuAction onClick) {
    PanelStyle s;
    s.caption = caption;
    s.color = kTileColor;
    s.gradient = 3; // LeftRight
    s.gradientColor = kTileDeepColor;
    s.border = kBox;
    s.borderStyle = kRaised;
    s.font = ArialFont(11, fontstyle::kBold, color::kWhite);
    TAuObject& o = AddPanel(parent, name, left, top, 160, 44, s);
    o.Cursor = kHandPoint;
    o.Hint = help;
    o.OnClick.push_back(std::move(onClick));
    std::string path = ObjectPath(o);
    o.OnMouseEnter = {BackColorAction(path, kTileHotColor), StatusText(help)};
    o.OnMouseLeave = {BackColorAction(path, kTileColor), StatusText("")};
    return o;
}

TAuObject& AddButton(TAuObject& parent, const std::string& name, int left, int top,
                     const std::string& caption, TAuAction onClick) {
    TAuObject& o = Add(parent, TAuObjectKind::Button, name, left, top, 110, 28);
    o.As<ButtonProps>().Caption = caption;
    o.OnClick.push_back(std::move(onClick));
    return o;
}

TAuObject& AddLabel(TAuObject& parent, const std::string& name, int left, int top, int width,
                    int height, const std::string& caption, TFont font) {
    TAuObject& o = Add(parent, TAuObjectKind::Label, name, left, top, width, height);
    LabelProps& p = o.As<LabelProps>();
    p.Caption = caption;
    p.Font = font;
    p.Effect = KindTextEffect(font);
    return o;
}

TAuObject& AddImage(TAuObject& parent, const std::string& name, int left, int top, int size) {
    TAuObject& o = Add(parent, TAuObjectKind::Image, name, left, top, size, size);
    ImageProps& p = o.As<ImageProps>();
    p.Image = PngPicture(LogoImage(size));
    p.Transparent = true;
    return o;
}

// ------------------------------------------------------------- page frame

TMenuItem MenuItem(const std::string& caption, const std::string& name, TAuActions actions,
                   Reporter& r) {
    TMenuItem m;
    m.Caption = caption;
    if (!ActionListToText(name, actions, m.Hint, r))
        throw std::runtime_error("menu item text");
    return m;
}

TMenuItem Separator() {
    TMenuItem m;
    m.Caption = "-";
    return m;
}

// The menu bar of the main window (a page switch keeps the first page's
// menu bar, so every main page carries the same one).
std::vector<TMenuItem> MainMenu(Reporter& r) {
    TMenuItem pages;
    pages.Caption = "&Pages";
    pages.Items = {
        MenuItem("&Welcome", "MenuWelcome", {Action(TAuActionKind::GoToPage, kWelcomePage)}, r),
        MenuItem("&Products", "MenuProducts", {Action(TAuActionKind::GoToPage, kProductsPage)}, r),
        MenuItem("&Gradients", "MenuGradients", {Action(TAuActionKind::GoToPage, kGradientsPage)},
                 r),
        Separator(),
        MenuItem("E&xit", "MenuExit", {Action(TAuActionKind::Exit)}, r),
    };
    TMenuItem help;
    help.Caption = "&Help";
    help.Items = {
        MenuItem("&Read Me", "MenuReadMe", {OpenReadMe()}, r),
        MenuItem("&Members...", "MenuMembers", {MembersLogin()}, r),
        MenuItem("&About...", "MenuAbout", {Action(TAuActionKind::ShowSubPage, kAboutPage)}, r),
    };
    return {pages, help};
}

std::vector<TStatusPanel> StatusPanels(const std::string& page) {
    TStatusPanel title{0, "Orvexa demo", 110};
    TStatusPanel help{0, "", 420};
    TStatusPanel where{2, page, 120};
    return {title, help, where};
}

// A main page: the shared window frame, menu bar and status bar.
std::unique_ptr<TPageRecord> MainPage(const std::string& name, Reporter& r) {
    auto page = MakeBlankPage("Orvexa Demo - " + name);
    page->Width = 720;
    page->Height = 540;
    page->BorderStyle = 1; // Single: a fixed frame
    page->BorderIcons = bordericon::kSystemMenu | bordericon::kMinimize;
    page->FadeInStep = 20;
    page->FadeOutStep = 25;
    page->PageIcon = Picture(PictureClass::Icon, EncodeIco(LogoImage(32)));
    page->MenuBarItems = MainMenu(r);
    page->StatusBarHeight = 21;
    page->StatusBarFont = ArialFont(9);
    page->StatusBarPanels = StatusPanels(name);
    page->Root->Name = "PagePanel";
    return page;
}

PanelProps& Root(TPageRecord& page) {
    return page.Root->As<PanelProps>();
}

// ------------------------------------------------------------- pages

std::unique_ptr<TPageRecord> WelcomePage(Reporter& r) {
    auto page = MainPage(kWelcomePage, r);
    TAuObject& root = *page->Root;
    Root(*page).BackColor = color::Rgb(232, 238, 248);
    Root(*page).Back.GradientStyle = 1; // TopBottom
    Root(*page).Back.GradientColor = color::Rgb(150, 175, 215);

    // Kinds without a window of their own come first, as the editor keeps them.
    TAuObject& logo = AddImage(root, "Logo", 28, 112, 96);
    logo.Cursor = kHandPoint;
    logo.Hint = "Plays a chime";
    logo.OnClick.push_back(Action(TAuActionKind::PlaySound, kChimeFile));
    AddLabel(root, "Tagline", 140, 118, 520, 28, "Menus for CDs, DVDs and USB sticks",
             ArialFont(14, fontstyle::kBold, color::Rgb(20, 40, 90)));
    TAuObject& bevel = Add(root, TAuObjectKind::Bevel, "Rule", 24, 390, 664, 4);
    bevel.As<BevelProps>().Shape = 2; // TopLine

    PanelStyle banner;
    banner.caption = "Welcome to Orvexa";
    banner.font = ArialFont(22, fontstyle::kBold, color::kWhite);
    banner.border = kBottomLine;
    banner.borderStyle = kRaised;
    TAuObject& bannerPanel = AddPanel(root, "Banner", 0, 0, 712, 96, banner);
    bannerPanel.Align = kAlignTop;
    SetBackImage(bannerPanel, PngPicture(BannerImage()), kStretch);

    PanelStyle tiles;
    tiles.caption = "Pages hold panels with gradients, pictures, captions and borders.";
    tiles.font = ArialFont(10, fontstyle::kBold, color::Rgb(30, 30, 60));
    tiles.border = kBox;
    tiles.borderStyle = kLowered;
    TAuObject& tilePanel = AddPanel(root, "Tiles", 140, 160, 330, 210, tiles);
    SetBackImage(tilePanel, Picture(PictureClass::Bitmap, Bmp(TileImage())), kTile);

    AddNavTile(root, "GoProducts", 500, 156, "Products >", "Our products on tabs",
               Action(TAuActionKind::GoToPage, kProductsPage));
    AddNavTile(root, "GoGradients", 500, 202, "Gradients >", "Every gradient and border style",
               Action(TAuActionKind::GoToPage, kGradientsPage));
    AddNavTile(root, "GoAbout", 500, 248, "About...", "Opens a sub page",
               Action(TAuActionKind::ShowSubPage, kAboutPage));
    AddNavTile(root, "GoMembers", 500, 294, "Members...", "Log in to the members' area",
               MembersLogin());
    AddNavTile(root, "GoExit", 500, 340, "Exit", "Asks, then closes the menu",
               Message("Do you want to leave the demo?", 3, {Action(TAuActionKind::Exit)}));

    AddButton(root, "ProductsButton", 24, 404, "&Products",
              Action(TAuActionKind::GoToPage, kProductsPage));
    AddButton(root, "AboutButton", 144, 404, "&About...",
              Action(TAuActionKind::ShowSubPage, kAboutPage));
    AddButton(root, "ExitButton", 578, 404, "E&xit", Action(TAuActionKind::Exit));
    return page;
}

std::unique_ptr<TPageRecord> ProductsPage(Reporter& r) {
    auto page = MainPage(kProductsPage, r);
    TAuObject& root = *page->Root;
    Root(*page).BackColor = color::Rgb(245, 245, 240);
    Root(*page).Back.GradientStyle = 2; // BottomTop
    Root(*page).Back.GradientColor = color::Rgb(200, 215, 205);

    AddHeader(root, "Header", "Products", color::Rgb(0, 90, 90), color::Rgb(120, 200, 190));

    TAuObject& book = Add(root, TAuObjectKind::TabNotebook, "Catalog", 16, 60, 680, 330);
    book.As<TabNotebookProps>().Font = ArialFont(9, fontstyle::kBold);
    const char* sheets[] = {"Overview", "Gallery", "Layout"};
    for (int i = 0; i < 3; ++i) {
        TAuObject& sheet = Add(book, TAuObjectKind::TabSheet, sheets[i], 0, 0, 672, 302);
        sheet.As<TabSheetProps>().Caption = sheets[i];
        sheet.As<TabSheetProps>().Icon = PngPicture(TabIconImage(i));
    }

    // Overview: two group boxes.
    TAuObject& overview = book.Child(0);
    TAuObject& highlights = Add(overview, TAuObjectKind::GroupBox, "Highlights", 8, 6, 320, 280);
    highlights.As<GroupBoxProps>().Caption = "Highlights";
    highlights.As<GroupBoxProps>().Font = ArialFont(9, fontstyle::kBold);
    struct Feature {
        const char* name;
        const char* caption;
        int32_t from, to;
        uint8_t gradient;
    } features[] = {
        {"Feature1", "35 object kinds", color::Rgb(255, 220, 150), color::Rgb(230, 140, 30), 5},
        {"Feature2", "150 transitions", color::Rgb(200, 230, 255), color::Rgb(60, 120, 220), 7},
        {"Feature3", "One-file menus", color::Rgb(210, 250, 210), color::Rgb(40, 150, 60), 1},
    };
    int y = 24;
    for (const Feature& f : features) {
        PanelStyle s;
        s.caption = f.caption;
        s.color = f.from;
        s.gradient = f.gradient;
        s.gradientColor = f.to;
        s.border = kFrame;
        s.borderStyle = kLowered;
        AddPanel(highlights, f.name, 12, y, 296, 72, s);
        y += 82;
    }
    TAuObject& editions = Add(overview, TAuObjectKind::GroupBox, "Editions", 340, 6, 320, 280);
    editions.As<GroupBoxProps>().Caption = "Editions";
    editions.As<GroupBoxProps>().Font = ArialFont(9, fontstyle::kBold);
    TAuObject& note = Add(editions, TAuObjectKind::Text, "EditionsText", 12, 24, 296, 60);
    note.As<TextProps>().Text = "Pick the edition that fits your disc.\r\nEvery edition plays "
                                "from CD, DVD and USB.";
    TAuObject& list = Add(editions, TAuObjectKind::ListBox, "EditionList", 12, 92, 296, 120);
    for (const char* e : {"Standard", "Professional", "Studio"}) {
        TListBoxItem item;
        item.Name = e;
        item.Caption = e;
        item.Actions.OnSelect = {StatusText(std::string("The ") + e + " edition is chosen")};
        list.As<ListBoxProps>().Items.push_back(item);
    }
    TAuObject& check = Add(editions, TAuObjectKind::CheckBox, "Trial", 12, 226, 296, 24);
    check.As<CheckBoxProps>().Caption = "Include a trial version";
    check.As<CheckBoxProps>().NeedCheck = false;
    check.As<CheckBoxProps>().Actions.OnSelect = {StatusText("A trial version comes with it")};

    // Gallery: a scroll box with more than fits.
    TAuObject& gallery = book.Child(1);
    TAuObject& scroll = Add(gallery, TAuObjectKind::ScrollBox, "GalleryScroll", 0, 0, 672, 302);
    scroll.Align = kClient;
    scroll.As<ScrollBoxProps>().BackColor = color::Rgb(40, 40, 48);
    AddImage(scroll, "GalleryLogo", 1000, 20, 96);
    PanelStyle poster;
    poster.caption = "Scroll to see more";
    poster.font = ArialFont(12, fontstyle::kBold, color::kWhite);
    poster.layout = kLayoutBottom;
    poster.border = kBox;
    poster.borderStyle = kRaised;
    SetBackImage(AddPanel(scroll, "Poster", 0, 0, 480, 360, poster), PngPicture(PosterImage()),
                 kStretch);
    PanelStyle wall = poster;
    wall.caption = "Tiled banner";
    SetBackImage(AddPanel(scroll, "Wall", 490, 0, 480, 360, wall), PngPicture(BannerImage()),
                 kTile);

    // Layout: two panes and a splitter between them.
    TAuObject& layout = book.Child(2);
    TAuObject& splitter = Add(layout, TAuObjectKind::Splitter, "PaneSplitter", 200, 0, 6, 302);
    splitter.Align = kAlignLeftEdge;
    splitter.Cursor = -14; // HSplit
    splitter.As<SplitterProps>().Beveled = true;
    splitter.As<SplitterProps>().MinSize = 60;
    PanelStyle left;
    left.caption = "Left pane";
    left.color = color::Rgb(220, 230, 250);
    left.gradient = 1;
    left.gradientColor = color::Rgb(120, 150, 210);
    TAuObject& leftPane = AddPanel(layout, "LeftPane", 0, 0, 200, 302, left);
    leftPane.Align = kAlignLeftEdge;
    PanelStyle right;
    right.caption = "Drag the splitter";
    right.color = color::Rgb(250, 245, 230);
    right.gradient = 8; // LeftRightMiddle
    right.gradientColor = color::Rgb(230, 200, 150);
    right.border = kLeftLine;
    right.borderStyle = kLowered;
    AddPanel(layout, "RightPane", 206, 0, 466, 302, right).Align = kClient;

    AddNavTile(root, "BackHome", 16, 398, "< Welcome", "Back to the first page",
               Action(TAuActionKind::GoToPage, kWelcomePage));
    AddNavTile(root, "NextGradients", 536, 398, "Gradients >", "Every gradient and border style",
               Action(TAuActionKind::GoToPage, kGradientsPage));
    return page;
}

std::unique_ptr<TPageRecord> GradientsPage(Reporter& r) {
    auto page = MainPage(kGradientsPage, r);
    TAuObject& root = *page->Root;
    Root(*page).BackColor = color::Rgb(250, 250, 250);
    Root(*page).Back.BackImage = Picture(PictureClass::Bitmap, Bmp(TileImage()));
    Root(*page).Back.BackImageStyle = kTile;

    // The eight gradient styles, each with a different border.
    const char* styles[] = {"TopBottom",       "BottomTop",       "LeftRight",
                            "RightLeft",       "MiddleTopBottom", "MiddleLeftRight",
                            "TopBottomMiddle", "LeftRightMiddle"};
    for (int i = 0; i < 8; ++i) {
        PanelStyle s;
        s.caption = styles[i];
        s.color = color::Rgb(255, 250, 220);
        s.gradient = static_cast<uint8_t>(i + 1);
        s.gradientColor = color::Rgb(40 + 25 * i, 90, 200 - 20 * i);
        s.border = static_cast<uint8_t>(1 + i % 6);
        s.borderStyle = static_cast<uint8_t>(i % 3);
        s.font = ArialFont(10, fontstyle::kBold, color::Rgb(20, 20, 20));
        AddPanel(root, "Gradient" + std::to_string(i + 1), 16 + (i % 4) * 172, 16 + (i / 4) * 112,
                 160, 100, s);
    }
    // The picture styles not shown elsewhere: Normal and Center.
    PanelStyle pic;
    pic.color = color::Rgb(60, 60, 70);
    pic.font = ArialFont(10, fontstyle::kBold, color::kWhite);
    pic.layout = kLayoutBottom;
    pic.border = kFrame;
    pic.borderStyle = kFlat;
    pic.caption = "Normal";
    SetBackImage(AddPanel(root, "PictureNormal", 16, 248, 160, 130, pic), PngPicture(LogoImage(96)),
                 kNormal);
    pic.caption = "Center";
    SetBackImage(AddPanel(root, "PictureCenter", 188, 248, 160, 130, pic),
                 PngPicture(LogoImage(96)), kCenter);
    pic.caption = "Center, larger than the panel";
    SetBackImage(AddPanel(root, "PictureCrop", 360, 248, 160, 130, pic), PngPicture(PosterImage()),
                 kCenter);

    AddNavTile(root, "BackHome", 536, 248, "< Welcome", "Back to the first page",
               Action(TAuActionKind::GoToPage, kWelcomePage));
    AddNavTile(root, "BackProducts", 536, 300, "< Products", "Back to the products",
               Action(TAuActionKind::GoToPage, kProductsPage));
    return page;
}

// A small dialog page (About, Login).
std::unique_ptr<TPageRecord> DialogPage(const std::string& caption, int width, int height) {
    auto page = MakeBlankPage(caption);
    page->Width = width;
    page->Height = height;
    page->BorderStyle = 3; // dialog
    page->BorderIcons = bordericon::kSystemMenu;
    page->FadeInStep = 25;
    page->FadeOutStep = 25;
    page->PageIcon = Picture(PictureClass::Icon, EncodeIco(LogoImage(32)));
    page->Root->Name = "PagePanel";
    return page;
}

std::unique_ptr<TPageRecord> AboutPage() {
    auto page = DialogPage("About Orvexa Demo", 440, 300);
    TAuObject& root = *page->Root;
    Root(*page).BackColor = color::Rgb(255, 255, 255);
    Root(*page).Back.GradientStyle = 7; // MiddleLeftRight
    Root(*page).Back.GradientColor = color::Rgb(190, 210, 240);

    AddImage(root, "AboutLogo", 20, 20, 64);
    PanelStyle text;
    text.caption = "Orvexa demo menu\r\n\r\nBuilt by orvexa-demo from the project model. "
                   "Every page here is an ordinary project page.";
    text.color = color::Rgb(250, 250, 255);
    text.font = ArialFont(10, 0, color::Rgb(20, 30, 60));
    text.alignment = kAlignLeft;
    text.layout = kLayoutTop;
    text.border = kFrame;
    text.borderStyle = kLowered;
    AddPanel(root, "AboutText", 100, 20, 310, 150, text);
    AddNavTile(root, "CloseAbout", 250, 190, "Close", "Closes this window",
               Action(TAuActionKind::ClosePage));
    return page;
}

// The login page: a user name and password pair checked against the
// demo's accounts; two wrong tries are answered with a retry message, the
// third closes the page as failed.
std::unique_ptr<TPageRecord> LoginPage() {
    auto page = DialogPage("Members' login", 380, 250);
    TAuObject& root = *page->Root;
    Root(*page).BackColor = color::Rgb(240, 244, 250);
    Root(*page).Back.GradientStyle = 1; // TopBottom
    Root(*page).Back.GradientColor = color::Rgb(205, 215, 235);

    TAuObject& hint = Add(root, TAuObjectKind::SimpleText, "LoginHint", 20, 16, 330, 40);
    SimpleTextProps& h = hint.As<SimpleTextProps>();
    h.Text = "Log in with the user name demo and the password orvexa.";
    h.Font = ArialFont(10, 0, color::Rgb(20, 30, 60));

    const char* labels[] = {"User name:", "Password:"};
    for (int i = 0; i < 2; ++i) {
        TAuObject& label = Add(root, TAuObjectKind::SimpleText,
                               i == 0 ? "UserLabel" : "PasswordLabel", 20, 67 + 28 * i, 90, 20);
        label.As<SimpleTextProps>().Text = labels[i];
        label.As<SimpleTextProps>().Font = ArialFont(10, fontstyle::kBold, color::Rgb(20, 30, 60));
    }
    TAuObject& account = Add(root, TAuObjectKind::UserPassword, "Account", 110, 64, 240, 52);
    UserPasswordProps& a = account.As<UserPasswordProps>();
    a.Font = ArialFont(11);
    a.BackColor = color::Rgb(226, 232, 244);
    a.UserList = kDemoAccounts;
    a.AllowRetry = 2;
    account.Hint = "User name above, password below";

    TAuObject& remember = Add(root, TAuObjectKind::CheckBox, "Remember", 20, 128, 330, 22);
    CheckBoxProps& c = remember.As<CheckBoxProps>();
    c.Caption = "I accept the members' terms";
    c.BackColor = color::Rgb(222, 229, 242); // the page's gradient at that height
    c.NeedCheck = true;
    c.NeedCheckMessage = "Please accept the members' terms first.";
    c.NeedCheckCaption = "Members' terms";

    AddButton(root, "LoginButton", 120, 168, "&Log in", Action(TAuActionKind::SubmitLoginPage))
        .As<ButtonProps>()
        .Default = true;
    AddButton(root, "CancelButton", 240, 168, "Cancel", Action(TAuActionKind::ClosePage))
        .As<ButtonProps>()
        .Cancel = true;
    return page;
}

// What the login opens: a main page with a question that branches.
std::unique_ptr<TPageRecord> MembersPage(Reporter& r) {
    auto page = MainPage(kMembersPage, r);
    TAuObject& root = *page->Root;
    Root(*page).BackColor = color::Rgb(250, 246, 236);
    Root(*page).Back.GradientStyle = 6; // MiddleLeftRight
    Root(*page).Back.GradientColor = color::Rgb(230, 200, 140);

    AddHeader(root, "MembersHeader", "Members' area", color::Rgb(120, 70, 0),
              color::Rgb(230, 170, 60));

    PanelStyle text;
    text.caption = "You are logged in. The tiles below ask before they act, and the "
                   "answer decides what happens next.";
    text.color = color::Rgb(255, 252, 240);
    text.font = ArialFont(11, 0, color::Rgb(60, 40, 0));
    text.border = kFrame;
    text.borderStyle = kLowered;
    AddPanel(root, "MembersText", 24, 70, 664, 80, text);

    AddNavTile(root, "Newsletter", 24, 180, "Newsletter...", "A question with three answers",
               Message("Subscribe to the members' newsletter?", 4,
                       {Message("Thank you: the newsletter is on its way.", 1)},
                       {Message("No newsletter, then. You can change your mind later.", 1)}));
    AddNavTile(root, "ReadMe", 200, 180, "Read Me", "Opens the read-me when a viewer exists",
               OpenReadMe());
    AddNavTile(root, "LogOut", 528, 180, "Log out", "Back to the first page",
               Message("Log out of the members' area?", 3,
                       {Action(TAuActionKind::GoToPage, kWelcomePage)}));
    return page;
}

void AddPage(TAuProject& project, const std::string& name, const TPageRecord& page, Reporter& r) {
    auto entry = std::make_unique<TFormData>();
    entry->Name = name;
    if (!StorePageInCache(*entry, page, r))
        throw std::runtime_error("storing page " + name);
    project.Pages.push_back(std::move(entry));
}

std::string ReadMeText() {
    return "Orvexa demo menu\r\n"
           "================\r\n"
           "\r\n"
           "This folder is a complete menu: autorun.exe plays autorun.aru.\r\n"
           "Pages: Welcome, Products, Gradients, the About sub page, the\r\n"
           "Login page (user demo, password orvexa) and the Members page.\r\n"
           "The pictures in the media folder are also stored in the pages.\r\n";
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = fsys::OpenFile(path, "wb");
    if (!f)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

std::vector<MediaFile> DemoMedia() {
    std::string readme = ReadMeText();
    return {
        {kBannerFile, Png(BannerImage())},
        {kTileFile, Bmp(TileImage())},
        {kLogoFile, Png(LogoImage(96))},
        {kPosterFile, Png(PosterImage())},
        {kChimeFile, ChimeWave()},
        {kReadMeFile, std::vector<uint8_t>(readme.begin(), readme.end())},
    };
}

bool BuildDemoProject(TAuProject& project, Reporter& r) {
    ResetProject(project, false);
    project.ApplicationTitle = "Orvexa Demo";
    project.CDLabel = "ORVEXADEMO";
    try {
        AddPage(project, kWelcomePage, *WelcomePage(r), r);
        AddPage(project, kProductsPage, *ProductsPage(r), r);
        AddPage(project, kGradientsPage, *GradientsPage(r), r);
        AddPage(project, kAboutPage, *AboutPage(), r);
        AddPage(project, kLoginPage, *LoginPage(), r);
        AddPage(project, kMembersPage, *MembersPage(r), r);
    } catch (const std::exception& e) {
        r.Show(std::string("Building the demo failed: ") + e.what(), "Error", mb::kIconError);
        return false;
    }
    project.Modified = true;
    return true;
}

bool WriteDemoFolder(const std::string& folder, Reporter& r) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!fsys::DirectoryExists(folder)) {
        r.Show("Cannot create the folder \"" + folder + "\".", "Error", mb::kIconError);
        return false;
    }
    TAuProject project;
    if (!BuildDemoProject(project, r))
        return false;
    for (const MediaFile& m : DemoMedia()) {
        // Stored names are "\dir\file"; turn them into the platform's path.
        std::string path = folder;
        size_t start = 1;
        while (start <= m.storedName.size()) {
            size_t end = m.storedName.find('\\', start);
            std::string part = m.storedName.substr(
                start, end == std::string::npos ? std::string::npos : end - start);
            path = fsys::Join(path, part);
            if (end == std::string::npos)
                break;
            if (!fsys::DirectoryExists(path))
                fsys::CreateDir(path);
            start = end + 1;
        }
        if (!WriteBytes(path, m.bytes)) {
            r.Show("Cannot write \"" + path + "\".", "Error", mb::kIconError);
            return false;
        }
    }
    ProjectWriteOptions options;
    options.seed = kHeaderSeed;
    return WriteProjectFile(project, fsys::Join(folder, kProjectFileName), "", r, options);
}

} // namespace orv::demo
