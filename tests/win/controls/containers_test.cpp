// The container kinds under Wine: panel backgrounds pixel by pixel against
// the gfx arithmetic, background pictures, the factory and the shared
// properties, enter and leave through the event sink, tab notebooks, group
// boxes, scroll boxes and splitters.
#include "gfx/border.h"
#include "gfx/gradient.h"
#include "page.h"
#include "win/controls/drawing.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>

namespace orv::objects {
namespace {

using test::Pump;
using test::TestPage;
using K = TAuObjectKind;

constexpr int32_t kPanelColor = 0x00204080; // RGB 128, 64, 32
constexpr int32_t kEndColor = 0x00F0E010;

gfx::Image PanelShot(TAuObject& rec) {
    return ControlOf(rec)->Ctl().Host()->Snapshot();
}

int Mismatches(const gfx::Image& got, const gfx::Image& want) {
    if (got.width != want.width || got.height != want.height)
        return -1;
    int bad = 0;
    for (int y = 0; y < got.height; ++y)
        for (int x = 0; x < got.width; ++x)
            bad += test::Rgb(got, x, y) != test::Rgb(want, x, y);
    return bad;
}

// ------------------------------------------------------- panel background

TEST(PanelBackground, GradientAndBorderMatchTheGfxArithmetic) {
    struct Case {
        uint8_t gradient, border, style;
    };
    const Case cases[] = {
        {0, 1, 2}, {1, 0, 0}, {2, 2, 0}, {3, 2, 1}, {4, 3, 1},
        {5, 4, 2}, {6, 5, 0}, {7, 6, 1}, {8, 1, 1}, {9, 6, 2}, // 9: beyond the table, TopBottom
    };
    for (const Case& c : cases) {
        TestPage page(200, 120);
        TAuObject& rec = page.Add(*page.root, K::Panel, "P", 10, 10, 41, 31);
        test::PlainPanel(rec, kPanelColor);
        auto& back = rec.As<model::PanelProps>().Back;
        back.GradientStyle = c.gradient;
        back.GradientColor = kEndColor;
        back.Border = c.border;
        back.BorderStyle = c.style;
        back.BorderColor = 0x0000FF00;
        back.ShadowColor = 0x000000FF;
        page.Build();

        const COLORREF a = win::ResolveColor(kPanelColor), b = win::ResolveColor(kEndColor);
        gfx::Image want = gfx::MakeImage(41, 31, gfx::ToArgb(a));
        gfx::FillGradient(want, gfx::PanelGradientCode(c.gradient), a, gfx::Rect{0, 0, 41, 31}, b);
        gfx::DrawPanelBorder(want, gfx::Rect{0, 0, 41, 31}, c.border, c.style, 0x0000FF00,
                             0x000000FF);
        EXPECT_EQ(Mismatches(PanelShot(rec), want), 0)
            << "gradient " << int(c.gradient) << " border " << int(c.border) << " style "
            << int(c.style);
    }
}

TEST(PanelBackground, MiddleStylesAndFlatFrameLookRight) {
    TestPage page(200, 120);
    TAuObject& lrm = page.Add(*page.root, K::Panel, "LRM", 0, 0, 41, 20);
    TAuObject& frame = page.Add(*page.root, K::Panel, "Frame", 50, 0, 30, 20);
    TAuObject& odd = page.Add(*page.root, K::Panel, "Odd", 90, 0, 20, 1);
    for (TAuObject* r : {&lrm, &frame, &odd})
        test::PlainPanel(*r, kPanelColor);
    lrm.As<model::PanelProps>().Back.GradientStyle = 8; // LeftRightMiddle
    lrm.As<model::PanelProps>().Back.GradientColor = kEndColor;
    frame.As<model::PanelProps>().Back.Border = 2;      // Frame
    frame.As<model::PanelProps>().Back.BorderStyle = 0; // Flat
    frame.As<model::PanelProps>().Back.BorderColor = 0x0000FF00;
    odd.As<model::PanelProps>().Back.GradientStyle = 1;
    odd.As<model::PanelProps>().Back.GradientColor = kEndColor;
    page.Build();
    const uint32_t panel = test::PixelOf(win::ResolveColor(kPanelColor));
    const uint32_t end = test::PixelOf(win::ResolveColor(kEndColor));
    gfx::Image s = PanelShot(lrm);
    // The left edge is the last of 20 steps before the panel colour (the
    // columns left of the middle count from the middle); the right edge is
    // the panel colour itself.
    EXPECT_EQ(test::Rgb(s, 0, 5),
              test::PixelOf(gfx::InterpolateColor(win::ResolveColor(kEndColor),
                                                  win::ResolveColor(kPanelColor), 19, 20)));
    EXPECT_EQ(test::Rgb(s, 40, 5), panel);
    EXPECT_EQ(test::Rgb(s, 20, 5), end);
    EXPECT_EQ(test::Rgb(s, 19, 5), end);
    // One outline in the border colour, one pixel right and down.
    gfx::Image f = PanelShot(frame);
    EXPECT_EQ(test::Rgb(f, 0, 0), panel);
    EXPECT_EQ(test::Rgb(f, 1, 1), 0x00FF00u);
    EXPECT_EQ(test::Rgb(f, 29, 19), 0x00FF00u);
    EXPECT_EQ(test::Rgb(f, 28, 10), panel);
    // A gradient one pixel high shows only the start colour.
    gfx::Image o = PanelShot(odd);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(test::Rgb(o, x, 0), panel);
}

TEST(PanelBackground, PicturePlacementAndGrid) {
    // Every pixel of the picture differs: (x, y) -> colour.
    gfx::Image pic = gfx::MakeImage(60, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            pic.At(x, y) = 0xFF000000u | (x * 4u << 16) | (y * 4u << 8) | 0x80u;
    gfx::Image small = gfx::MakeImage(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            small.At(x, y) = 0xFF000000u | (x * 30u << 16) | (y * 50u << 8);

    TestPage page(300, 200);
    TAuObject& center = page.Add(*page.root, K::Panel, "Center", 0, 0, 20, 20);
    TAuObject& tile = page.Add(*page.root, K::Panel, "Tile", 30, 0, 20, 12);
    TAuObject& normal = page.Add(*page.root, K::Panel, "Normal", 60, 0, 20, 12);
    TAuObject& bogus = page.Add(*page.root, K::Panel, "Bogus", 90, 0, 14, 10);
    TAuObject& grid = page.Add(*page.root, K::Panel, "Grid", 120, 0, 17, 17);
    for (TAuObject* r : {&center, &tile, &normal, &bogus, &grid})
        test::PlainPanel(*r, kPanelColor);
    auto setPic = [](TAuObject& r, const gfx::Image& img, uint8_t style) {
        r.As<model::PanelProps>().Back.BackImage = test::PngPicture(img);
        r.As<model::PanelProps>().Back.BackImageStyle = style;
    };
    setPic(center, pic, 1);
    setPic(tile, small, 3);
    setPic(normal, small, 0);
    setPic(bogus, small, 9); // beyond the table: stretched, the default
    page.Build();
    page.Ctl<TAuPanel>(grid).Back().SetGrid(true, 8, 8);

    // Larger than the panel and centred: the middle shows.
    gfx::Image c = PanelShot(center);
    EXPECT_EQ(c.At(0, 0) & 0xFFFFFF, pic.At(20, 20) & 0xFFFFFF);
    EXPECT_EQ(c.At(19, 19) & 0xFFFFFF, pic.At(39, 39) & 0xFFFFFF);
    // Tiles from the origin, partial copies at the right and bottom.
    gfx::Image t = PanelShot(tile);
    int bad = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            bad += (t.At(x, y) & 0xFFFFFF) != (small.At(x % 7, y % 5) & 0xFFFFFF);
    EXPECT_EQ(bad, 0);
    // Normal: at the origin, the panel colour beside it.
    gfx::Image n = PanelShot(normal);
    EXPECT_EQ(n.At(6, 4) & 0xFFFFFF, small.At(6, 4) & 0xFFFFFF);
    EXPECT_EQ(test::Rgb(n, 7, 4), test::PixelOf(win::ResolveColor(kPanelColor)));
    // Stretched over the whole panel: corners are the picture's corners.
    gfx::Image b = PanelShot(bogus);
    EXPECT_EQ(b.At(0, 0) & 0xFFFFFF, small.At(0, 0) & 0xFFFFFF);
    EXPECT_EQ(b.At(13, 9) & 0xFFFFFF, small.At(6, 4) & 0xFFFFFF);
    // The editor's grid: black dots every 8 pixels, nothing between.
    gfx::Image g = PanelShot(grid);
    for (int y : {0, 8, 16})
        for (int x : {0, 8, 16})
            EXPECT_EQ(test::Rgb(g, x, y), 0u) << x << "," << y;
    EXPECT_NE(test::Rgb(g, 1, 0), 0u);
    EXPECT_NE(test::Rgb(g, 8, 7), 0u);
}

// ----------------------------------------------------------------- factory

TEST(Factory, BuildsEveryKindItHasAControlFor) {
    TestPage page;
    page.Build();
    win::WinControl& root = page.Ctl<TAuPanel>(*page.root);
    // The kinds whose controls come later: effect texts and shapes.
    const std::set<int> later = {10, 11, 12, 13, 14, 15, 16, 34};
    for (int code = 0; code < model::kKindCount; ++code) {
        const auto kind = static_cast<K>(code);
        EXPECT_EQ(KindControlAvailable(kind), later.count(code) == 0) << code;
        EXPECT_STREQ(KindInfoOf(kind).name, model::KindName(code));
    }
    EXPECT_EQ(FindKindInfo(35), nullptr);
    EXPECT_FALSE(KindInfoOf(K::Browser).eventsBound);
    EXPECT_TRUE(KindInfoOf(K::Splitter).designOutline);
    EXPECT_FALSE(KindInfoOf(K::Image).windowed);

    TAuObject label(K::Label);
    EXPECT_EQ(CreateKindControl(label, root), nullptr);
    EXPECT_EQ(label.Control, nullptr);
    // A sheet only goes into a notebook.
    TAuObject sheet(K::TabSheet);
    EXPECT_EQ(CreateKindControl(sheet, root), nullptr);
    EXPECT_EQ(root.ChildCount(), 0);

    // The record links to its control until the control goes.
    TAuObject& box = page.Add(*page.root, K::GroupBox, "Box", 5, 5, 50, 50);
    TAuControl* c = CreateKindControl(box, root);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(ControlOf(box), c);
    EXPECT_EQ(c->Record(), &box);
    EXPECT_EQ(root.ChildCount(), 1);
    DestroyKindControl(box);
    EXPECT_EQ(box.Control, nullptr);
    EXPECT_EQ(root.ChildCount(), 0);
}

TEST(Factory, SharedPropertiesAndNewObjectDefaults) {
    for (bool design : {false, true}) {
        TestPage page(400, 300, design);
        TAuObject& hidden = page.Add(*page.root, K::Panel, "Hidden", 5, 6, 70, 80);
        hidden.Visible = false;
        hidden.Enabled = false;
        hidden.Hint = "tip";
        hidden.Cursor = -21;
        TAuObject& top = page.Add(*page.root, K::ScrollBox, "Top", 0, 0, 10, 30);
        top.Align = 1;
        page.Build();
        win::Control& h = ControlOf(hidden)->Ctl();
        EXPECT_EQ(h.Visible(), design) << "shown in the design view only";
        EXPECT_FALSE(hidden.Visible);
        EXPECT_FALSE(h.Enabled());
        EXPECT_EQ(h.Hint(), "tip");
        EXPECT_EQ(h.Cursor(), -21);
        EXPECT_EQ(h.Left(), 5);
        EXPECT_EQ(h.Height(), 80);
        win::Control& t = ControlOf(top)->Ctl();
        EXPECT_EQ(t.Width(), 400);
        EXPECT_EQ(t.Height(), 30);
    }
    // A new splitter (no stream) gives the record its own alignment and
    // cursor and keeps its own width.
    TestPage page;
    page.Build();
    TAuObject& sp = page.Add(*page.root, K::Splitter, "Split", 50, 0, 100, 100);
    TAuControl* c = CreateKindControl(sp, page.Ctl<TAuPanel>(*page.root));
    ASSERT_NE(c, nullptr);
    ApplySharedProperties(*c, false);
    EXPECT_EQ(sp.Align, 3); // Left
    EXPECT_EQ(sp.Cursor, -14);
    EXPECT_EQ(c->Ctl().Width(), 5);
    StoreBounds(*c);
    EXPECT_EQ(sp.Width, 5);
}

// Moving from a panel's background onto a window inside it leaves the
// panel, then enters it again with the inner one; containers above raise
// theirs as well.
TEST(Events, PanelLeavesAndEntersAgainAroundItsChild) {
    TestPage page(400, 300);
    TAuObject& outer = page.Add(*page.root, K::Panel, "Outer", 20, 20, 300, 200);
    TAuObject& inner = page.Add(outer, K::GroupBox, "Inner", 100, 60, 120, 100);
    test::PlainPanel(outer, 0x00C0C0C0);
    page.Build();
    win::Control& o = ControlOf(outer)->Ctl();
    test::MovePointer(page.host, 390, 290);
    test::MovePointer(o, 10, 10);
    page.sink.lines.clear();
    test::MovePointer(ControlOf(inner)->Ctl(), 50, 50);
    EXPECT_EQ(page.sink.Joined(), "Page leave, Outer leave, Page enter, Outer enter, Inner enter");
    page.sink.lines.clear();
    // A click on the panel's background is the panel's.
    SendMessageW(static_cast<win::WinControl&>(o).Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(10, 10));
    SendMessageW(static_cast<win::WinControl&>(o).Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(page.sink.Joined(), "Outer down, Outer click, Outer up");
    page.sink.lines.clear();
    // A right click on a control without a popup menu goes to the container
    // that has one.
    page.root->PopupMenu.emplace_back();
    BindEvents(*ControlOf(*page.root), page.sink);
    POINT screen = ControlOf(inner)->Ctl().ClientToScreen(POINT{5, 5});
    SendMessageW(static_cast<win::WinControl&>(ControlOf(inner)->Ctl()).Handle(), WM_CONTEXTMENU, 0,
                 MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(page.sink.Joined(), "Page menu");
}

TEST(Factory, AbsurdStoredSizesNeitherCrashNorAllocate) {
    TestPage page(300, 200);
    TAuObject& wide = page.Add(*page.root, K::Panel, "Wide", -100000, 5, 2000000000, 40);
    TAuObject& neg = page.Add(*page.root, K::GroupBox, "Neg", 5, 5, -50, -2147483647);
    TAuObject& icons = page.Add(*page.root, K::TabNotebook, "Icons", 5, 60, 100, 80);
    icons.As<model::TabNotebookProps>().IconWidth = 2000000000;
    icons.As<model::TabNotebookProps>().IconHeight = -5;
    page.Add(icons, K::TabSheet, "Sheet", 0, 0, 1, 1).As<model::TabSheetProps>().Icon =
        test::PngPicture(test::Solid(3, 3, 0xFF00FF00));
    wide.As<model::PanelProps>().Font.Size = 2000000000;
    wide.As<model::PanelProps>().Back.Caption = "huge";
    page.Build();
    EXPECT_EQ(ControlOf(neg)->Ctl().Width(), 1);
    EXPECT_EQ(ControlOf(neg)->Ctl().Height(), 1);
    int w = 0, h = 0;
    ImageList_GetIconSize(page.Ctl<TAuTabNotebook>(icons).ImageList(), &w, &h);
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 1);
    // Painting on screen and off screen copes (a side beyond the largest
    // back buffer gives no snapshot rather than a huge allocation).
    UpdateWindow(page.host.Handle());
    Pump(30);
    EXPECT_TRUE(page.Ctl<TAuPanel>(wide).Snapshot().Empty());
    EXPECT_FALSE(page.Ctl<TAuPanel>(*page.root).Snapshot().Empty());
}

// ------------------------------------------------------------ tab notebook

class NotebookTest : public ::testing::Test {
protected:
    void Make(int32_t defaultSheet) {
        nb = &page.Add(*page.root, K::TabNotebook, "Book", 10, 10, 300, 200);
        nb->As<model::TabNotebookProps>().DefaultTabSheet = defaultSheet;
        for (int i = 0; i < 3; ++i) {
            TAuObject& s = page.Add(*nb, K::TabSheet, "Sheet" + std::to_string(i), 0, 0, 10, 10);
            s.As<model::TabSheetProps>().Caption = "Tab " + std::to_string(i);
            sheets.push_back(&s);
        }
        // Sheets 0 and 2 have icons; sheet 1 has none.
        sheets[0]->As<model::TabSheetProps>().Icon =
            test::PngPicture(test::Solid(4, 4, 0xFFFF0000));
        sheets[2]->As<model::TabSheetProps>().Icon =
            test::PngPicture(test::Solid(8, 8, 0xFF0000FF));
        page.Build();
        book = &page.Ctl<TAuTabNotebook>(*nb);
    }
    bool Shown(int i) {
        return IsWindowVisible(page.Ctl<TAuTabSheet>(*sheets[static_cast<size_t>(i)]).Handle());
    }
    TestPage page{400, 300};
    TAuObject* nb = nullptr;
    std::vector<TAuObject*> sheets;
    TAuTabNotebook* book = nullptr;
};

TEST_F(NotebookTest, ShowsTheDefaultSheetWithIconsOnlyWhereGiven) {
    Make(1);
    HWND tab = book->TabHandle();
    EXPECT_EQ(TabCtrl_GetItemCount(tab), 3);
    EXPECT_EQ(book->ActiveSheet(), 1);
    EXPECT_EQ(TabCtrl_GetCurSel(tab), 1);
    EXPECT_FALSE(Shown(0));
    EXPECT_TRUE(Shown(1));
    EXPECT_FALSE(Shown(2));
    EXPECT_EQ(book->TabImage(0), 0);
    EXPECT_EQ(book->TabImage(1), -1);
    EXPECT_EQ(book->TabImage(2), 2);
    TCITEMW item{};
    item.mask = TCIF_IMAGE;
    TabCtrl_GetItem(tab, 1, &item);
    EXPECT_EQ(item.iImage, -1);
    // One bitmap per sheet, icons scaled over white.
    ASSERT_EQ(ImageList_GetImageCount(book->ImageList()), 3);
    win::Surface cell;
    ASSERT_TRUE(cell.Resize(16, 16));
    for (int i = 0; i < 3; ++i) {
        ImageList_Draw(book->ImageList(), i, cell.Dc(), 0, 0, ILD_NORMAL);
        gfx::Image img = cell.CopyOut(gfx::Rect{0, 0, 16, 16});
        const uint32_t want[] = {0xFF0000, 0xFFFFFF, 0x0000FF};
        EXPECT_EQ(test::Rgb(img, 0, 0), want[i]) << i;
        EXPECT_EQ(test::Rgb(img, 15, 15), want[i]) << i;
    }
    // The sheets fill the tab control's display area.
    RECT area;
    GetClientRect(tab, &area);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    RECT b = page.Ctl<TAuTabSheet>(*sheets[1]).BoundsRect();
    EXPECT_TRUE(EqualRect(&b, &area));
}

TEST_F(NotebookTest, ClickingATabShowsItsSheetAndIsTheNotebooksClick) {
    Make(0);
    HWND tab = book->TabHandle();
    RECT r;
    ASSERT_TRUE(TabCtrl_GetItemRect(tab, 2, &r));
    page.sink.lines.clear();
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tab, WM_LBUTTONUP, 0, at);
    Pump(20);
    EXPECT_EQ(book->ActiveSheet(), 2);
    EXPECT_TRUE(Shown(2));
    EXPECT_FALSE(Shown(0));
    EXPECT_EQ(page.sink.Joined(), "Book down, Book click, Book up");
    // Removing a sheet before the active one keeps the same sheet active.
    DestroyKindControl(*sheets[0]);
    EXPECT_EQ(TabCtrl_GetItemCount(tab), 2);
    EXPECT_EQ(book->ActiveSheet(), 1);
    EXPECT_EQ(book->Sheet(1), &page.Ctl<TAuTabSheet>(*sheets[2]));
}

TEST_F(NotebookTest, DefaultSheetOutOfRangeShowsNoSheet) {
    Make(7);
    EXPECT_EQ(book->ActiveSheet(), -1);
    EXPECT_EQ(TabCtrl_GetCurSel(book->TabHandle()), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(Shown(i)) << i;
}

// ------------------------------------------------------------- group box

TEST(GroupBox, PaintsItsOwnColourAndKeepsChildrenBelowTheCaption) {
    TestPage page(300, 200);
    TAuObject& gb = page.Add(*page.root, K::GroupBox, "Group", 10, 10, 200, 150);
    gb.As<model::GroupBoxProps>().BackColor = 0x0000C0FF;
    gb.As<model::GroupBoxProps>().Caption = "Options";
    TAuObject& inside = page.Add(gb, K::Panel, "Inside", 0, 0, 10, 10);
    inside.Align = 5;
    page.Build();
    gfx::Image s = page.Ctl<TAuGroupBox>(gb).Snapshot();
    EXPECT_EQ(test::Rgb(s, 3, 3), test::PixelOf(RGB(0xFF, 0xC0, 0x00)));
    RECT b = ControlOf(inside)->Ctl().BoundsRect();
    EXPECT_GT(b.top, 5);
    EXPECT_GE(b.left, 1);
    EXPECT_LE(b.bottom, 149);
}

// ------------------------------------------------------------- scroll box

TEST(ScrollBox, ScrollBarsFollowTheChildrenOutsideTheDesignView) {
    for (bool design : {false, true}) {
        TestPage page(400, 300, design);
        TAuObject& sb = page.Add(*page.root, K::ScrollBox, "Scroll", 10, 10, 200, 150);
        TAuObject& low = page.Add(sb, K::Panel, "Low", 10, 300, 50, 50);
        page.Build();
        auto& box = page.Ctl<TAuScrollBox>(sb);
        const LONG style = GetWindowLongW(box.Handle(), GWL_STYLE);
        EXPECT_EQ((style & WS_VSCROLL) != 0, !design);
        EXPECT_FALSE(style & WS_HSCROLL);
        if (design)
            continue;
        auto& child = page.Ctl<TAuPanel>(low);
        POINT before = child.ClientToScreen(POINT{0, 0});
        SendMessageW(box.Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        box.ScrollTo(0, 100);
        POINT after = child.ClientToScreen(POINT{0, 0});
        EXPECT_EQ(before.y - after.y, 100);
        EXPECT_EQ(GetScrollPos(box.Handle(), SB_VERT), 100);
        // Not beyond the children.
        box.ScrollTo(0, 5000);
        RECT client;
        GetClientRect(box.Handle(), &client);
        EXPECT_EQ(box.ScrollOffset().y, 350 - client.bottom);
        // Children moved later (the editor) update the ranges.
        child.SetPosition(400, 10);
        EXPECT_TRUE(GetWindowLongW(box.Handle(), GWL_STYLE) & WS_HSCROLL);
        EXPECT_FALSE(GetWindowLongW(box.Handle(), GWL_STYLE) & WS_VSCROLL);
        EXPECT_EQ(box.ScrollOffset().y, 0);
    }
}

// --------------------------------------------------------------- splitter

class SplitterTest : public ::testing::Test {
protected:
    void Make(uint8_t resizeStyle, bool design = false) {
        page = std::make_unique<TestPage>(400, 200, design);
        left = &page->Add(*page->root, K::Panel, "Left", 0, 0, 100, 10);
        left->Align = 3;
        split = &page->Add(*page->root, K::Splitter, "Split", 100, 0, 5, 10);
        split->Align = 3;
        split->As<model::SplitterProps>().ResizeStyle = resizeStyle;
        split->As<model::SplitterProps>().MinSize = 30;
        rest = &page->Add(*page->root, K::Panel, "Rest", 200, 0, 10, 10);
        rest->Align = 5;
        page->Build();
        host = page->Ctl<TAuPanel>(*page->root).Handle();
    }
    void Drag(int fromX, int toX) {
        SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 50));
        SendMessageW(host, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((fromX + toX) / 2, 50));
        SendMessageW(host, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, 50));
        midWidth = ControlOf(*left)->Ctl().Width();
        SendMessageW(host, WM_LBUTTONUP, 0, MAKELPARAM(toX, 50));
    }
    int Width(TAuObject* r) { return ControlOf(*r)->Ctl().Width(); }
    std::unique_ptr<TestPage> page;
    TAuObject *left = nullptr, *split = nullptr, *rest = nullptr;
    HWND host = nullptr;
    int midWidth = 0;
};

TEST_F(SplitterTest, LiveResizeMovesTheNeighbourAndTheRestFollows) {
    Make(2); // Update
    EXPECT_EQ(page->Ctl<TAuSplitter>(*split).FindNeighbour(), &ControlOf(*left)->Ctl());
    Drag(102, 152);
    EXPECT_EQ(midWidth, 150);
    EXPECT_EQ(Width(left), 150);
    EXPECT_EQ(ControlOf(*split)->Ctl().Left(), 150);
    EXPECT_EQ(ControlOf(*rest)->Ctl().Left(), 155);
    EXPECT_EQ(Width(rest), 245);
}

TEST_F(SplitterTest, PatternResizesOnReleaseWithinTheLimits) {
    Make(3); // Pattern
    Drag(102, 132);
    EXPECT_EQ(midWidth, 100);
    EXPECT_EQ(Width(left), 130);
    // Beyond the room the rest has, less the minimum size.
    Drag(132, 600);
    EXPECT_EQ(Width(left), 400 - 5 - 30);
    // Below the minimum the neighbour snaps shut (down to one pixel, the
    // smallest a page object is).
    Drag(367, 10);
    EXPECT_EQ(Width(left), 1);
}

TEST_F(SplitterTest, NoDraggingInTheDesignView) {
    Make(2, true);
    Drag(102, 152);
    EXPECT_EQ(Width(left), 100);
}

} // namespace
} // namespace orv::objects

namespace orv::objects {
namespace {

// A page with every container: what the screen shows and what PaintTo
// paints off screen must be the same picture (the editor and the snapshots
// rely on the latter). Kept as PNGs with ORVEXA_TEST_SHOTS set.
TEST(ContainersLook, ScreenAndPaintToAgree) {
    for (bool design : {false, true}) {
        TestPage page(480, 320, design);
        auto& rootBack = page.root->As<model::PanelProps>();
        rootBack.BackColor = 0x00603010;
        rootBack.Back.GradientStyle = 1;
        rootBack.Back.GradientColor = 0x00F0D0A0;
        rootBack.Back.Caption = "Welcome & enjoy";
        rootBack.Back.Layout = 2;
        rootBack.Font = model::ArialFont(14, model::fontstyle::kBold, 0x00FFFFFF);

        TAuObject& side = page.Add(*page.root, K::Panel, "Side", 0, 0, 110, 10);
        side.Align = 3;
        auto& sideProps = side.As<model::PanelProps>();
        sideProps.BackColor = 0x00E0E0E0;
        sideProps.Back.Caption = "Side";
        sideProps.Back.Border = 3;
        sideProps.Back.BorderStyle = 1;
        TAuObject& split = page.Add(*page.root, K::Splitter, "Split", 110, 0, 5, 10);
        split.Align = 3;
        split.As<model::SplitterProps>().Beveled = true;

        gfx::Image tile = gfx::MakeImage(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                tile.At(x, y) = ((x / 8 + y / 8) % 2) ? 0xFFFFC040 : 0x80FFFFFF;
        TAuObject& pic = page.Add(*page.root, K::Panel, "Pic", 130, 10, 150, 90);
        auto& picProps = pic.As<model::PanelProps>();
        picProps.Back.BackImage = test::PngPicture(tile);
        picProps.Back.BackImageStyle = 3;
        picProps.Back.Caption = "Tiled";
        picProps.Back.Border = 2;
        picProps.Back.BorderStyle = 1;
        picProps.Border = 1;

        TAuObject& nb = page.Add(*page.root, K::TabNotebook, "Book", 130, 110, 200, 150);
        for (int i = 0; i < 2; ++i) {
            TAuObject& s = page.Add(nb, K::TabSheet, "S" + std::to_string(i), 0, 0, 1, 1);
            s.As<model::TabSheetProps>().Caption = i ? "Second" : "First";
            if (i == 0)
                s.As<model::TabSheetProps>().Icon = test::PngPicture(tile);
        }
        TAuObject& gb = page.Add(nb.Child(0), K::GroupBox, "Group", 10, 10, 150, 90);
        gb.As<model::GroupBoxProps>().Caption = "Options";
        TAuObject& inGroup = page.Add(gb, K::Panel, "InGroup", 10, 25, 60, 40);
        inGroup.As<model::PanelProps>().Back.GradientStyle = 6;
        inGroup.As<model::PanelProps>().Back.GradientColor = 0x0000FF00;

        TAuObject& sb = page.Add(*page.root, K::ScrollBox, "Scroll", 340, 10, 120, 120);
        sb.As<model::ScrollBoxProps>().BackColor = 0x00FFFFFF;
        TAuObject& below = page.Add(sb, K::Panel, "Far", 20, 150, 60, 40);
        below.Visible = false; // shown in the design view only
        page.Add(sb, K::Panel, "Near", 10, 10, 80, 50);
        page.Build();
        Pump(100);

        win::WinControl& root = page.Ctl<TAuPanel>(*page.root);
        gfx::Image screen = win::CaptureWindow(root.Handle(), true);
        gfx::Image painted = root.Snapshot();
        const std::string name = design ? "containers-design" : "containers";
        test::KeepShot(screen, name + "-screen");
        test::KeepShot(painted, name + "-painted");
        EXPECT_EQ(Mismatches(painted, screen), 0) << name;
    }
}

} // namespace
} // namespace orv::objects
