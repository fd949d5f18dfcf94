// Button, ImageButton, Image, SimpleText and Bevel under Wine: built by the
// factory, drawn pixel by pixel, clicked and grouped, keyed from the
// keyboard.
#include "gfx/border.h"
#include "gfx/btn_glyph.h"
#include "objects/buttons.h"
#include "win/controls/page.h"

#include <gtest/gtest.h>

namespace orv::objects {
namespace {

using test::Pump;
using test::TestPage;
using K = TAuObjectKind;

constexpr uint32_t kWhite = 0xFFFFFF;

// The page's root panel: the host window of the windowless kinds.
HWND PageWindow(TestPage& page) {
    return page.Ctl<TAuPanel>(*page.root).Handle();
}

gfx::Image PageShot(TestPage& page) {
    return page.Ctl<TAuPanel>(*page.root).Snapshot();
}

// The part of a page shot under a record's bounds.
gfx::Image Crop(const gfx::Image& shot, const TAuObject& rec) {
    win::Control& c = ControlOf(rec)->Ctl();
    gfx::Image out = gfx::MakeImage(c.Width(), c.Height());
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            out.At(x, y) = shot.At(c.Left() + x, c.Top() + y) | 0xFF000000u;
    return out;
}

void Send(TestPage& page, UINT msg, WPARAM keys, int x, int y) {
    SendMessageW(PageWindow(page), msg, keys, MAKELPARAM(x, y));
}

// A left click at a point of the page.
void ClickAt(TestPage& page, int x, int y) {
    Send(page, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    Send(page, WM_LBUTTONUP, 0, x, y);
}

// Logs the events and the OnSelect hand-overs of the controls bound to it.
class SelectSink : public test::LogSink {
public:
    void ObjectSelectActions(TAuControl& c, const model::TAuActions& list) override {
        lines.push_back(c.Record()->Name + " select " + std::to_string(list.size()));
    }
};

// Pixels of a colour inside a rectangle of an image.
int Count(const gfx::Image& img, const RECT& r, uint32_t rgb) {
    int n = 0;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, img.height); ++y)
        for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, img.width); ++x)
            n += test::Rgb(img, x, y) == rgb;
    return n;
}

// The bounding box of the pixels that differ from `background`.
RECT InkBox(const gfx::Image& img, uint32_t background) {
    RECT box{img.width, img.height, -1, -1};
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (test::Rgb(img, x, y) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

// ----------------------------------------------------------------- factory

TEST(ButtonKinds, TheFactoryBuildsThemWithTheirDefaults) {
    TestPage page;
    page.Build();
    win::WinControl& root = page.Ctl<TAuPanel>(*page.root);
    struct Case {
        K kind;
        int width, height;
        bool windowed, target;
    };
    const Case cases[] = {
        {K::Button, 97, 25, true, true},    {K::ImageButton, 97, 25, false, true},
        {K::Image, 193, 193, false, true},  {K::SimpleText, 193, 193, false, true},
        {K::Bevel, 193, 193, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(model::KindName(c.kind));
        // A new object, as the editor makes one: no stream, its own size.
        TAuObject& rec = page.Add(*page.root, c.kind, model::KindName(c.kind), 5, 6, 100, 100);
        ASSERT_TRUE(KindControlAvailable(c.kind));
        TAuControl* tc = CreateKindControl(rec, root);
        ASSERT_NE(tc, nullptr);
        ApplySharedProperties(*tc, false);
        EXPECT_EQ(tc->Ctl().Width(), c.width);
        EXPECT_EQ(tc->Ctl().Height(), c.height);
        EXPECT_EQ(rec.Width, c.width);
        EXPECT_EQ(rec.Height, c.height);
        EXPECT_EQ(tc->Ctl().Left(), 5);
        EXPECT_EQ(tc->Ctl().IsWindowed(), c.windowed);
        EXPECT_EQ(tc->Ctl().IsWindowed(), KindInfoOf(c.kind).windowed);
        EXPECT_EQ(dynamic_cast<model::ActionTarget*>(tc) != nullptr, c.target);
    }
    HWND button =
        static_cast<win::WinControl&>(ControlOf(*page.root->Children()[0])->Ctl()).Handle();
    ASSERT_NE(button, nullptr);
    wchar_t cls[32] = {};
    GetClassNameW(button, cls, 32);
    EXPECT_EQ(_wcsicmp(cls, L"Button"), 0);
    EXPECT_EQ(page.root->Children()[1]->As<model::ImageButtonProps>().Caption, "New ImageButton");
}

// ------------------------------------------------------------------- Bevel

TEST(BevelKind, EveryShapeAndStyleIsTheBevelArithmetic) {
    const int32_t light = 0x0000FF00, dark = 0x000000FF;
    for (uint8_t shape = 0; shape <= 6; ++shape)
        for (uint8_t style = 0; style <= 1; ++style) {
            TestPage page(120, 80);
            TAuObject& rec = page.Add(*page.root, K::Bevel, "Bevel", 10, 12, 23, 17);
            auto& p = rec.As<model::BevelProps>();
            p.Shape = shape;
            p.Style = style;
            p.Highlight = light;
            p.Shadow = dark;
            page.Build();
            gfx::Image want = gfx::MakeImage(23, 17, 0xFFFFFFFFu);
            gfx::DrawBevel(want, gfx::Bounds(want), shape, style, light, dark);
            gfx::Image got = Crop(PageShot(page), rec);
            int bad = 0;
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 23; ++x)
                    bad += test::Rgb(got, x, y) != test::Rgb(want, x, y);
            EXPECT_EQ(bad, 0) << "shape " << int(shape) << " style " << int(style);
            if (shape == 1 && style == 0) {
                // Frame, Lowered: a shadow outline with a highlight outline
                // one pixel right and down.
                EXPECT_EQ(test::Rgb(got, 0, 0), 0xFF0000u);   // dark, 0x00BBGGRR red
                EXPECT_EQ(test::Rgb(got, 22, 16), 0x00FF00u); // light
                EXPECT_EQ(test::Rgb(got, 22, 1), 0x00FF00u);
                EXPECT_EQ(test::Rgb(got, 21, 15), 0xFF0000u);
                EXPECT_EQ(test::Rgb(got, 21, 1), 0xFF0000u);
            }
            if (shape == 6) {
                EXPECT_EQ(InkBox(got, kWhite).right, -1); // a Spacer draws nothing
            }
        }
}

TEST(BevelKind, ASpacerShowsItsOutlineOnlyInTheDesignView) {
    TestPage page(120, 80, true);
    TAuObject& spacer = page.Add(*page.root, K::Bevel, "Spacer", 10, 10, 20, 20);
    TAuObject& box = page.Add(*page.root, K::Bevel, "Box", 50, 10, 20, 20);
    spacer.As<model::BevelProps>().Shape = 6;
    box.As<model::BevelProps>().Highlight = 0x00FF00;
    box.As<model::BevelProps>().Shadow = 0x0000FF;
    page.Build();
    gfx::Image shot = PageShot(page);
    const gfx::Image s = Crop(shot, spacer);
    EXPECT_GT(Count(s, RECT{0, 0, 20, 20}, 0x808080), 10);
    EXPECT_EQ(Count(s, RECT{1, 1, 19, 19}, 0x808080), 0);
    // Other shapes draw no outline: the box's own colours stay.
    const gfx::Image b = Crop(shot, box);
    EXPECT_EQ(Count(b, RECT{0, 0, 20, 20}, 0x808080), 0);
    EXPECT_EQ(test::Rgb(b, 0, 5), 0xFF0000u);
}

// -------------------------------------------------------------- SimpleText

TEST(SimpleTextKind, AlignsWrapsAndShowsTheAmpersand) {
    TestPage page(400, 200);
    auto add = [&](const std::string& name, int left, const std::string& text, uint8_t align,
                   uint8_t layout) -> TAuObject& {
        TAuObject& r = page.Add(*page.root, K::SimpleText, name, left, 10, 90, 80);
        auto& p = r.As<model::SimpleTextProps>();
        p.Text = text;
        p.Alignment = align;
        p.Layout = layout;
        p.Font.Color = 0x000000;
        return r;
    };
    TAuObject& topLeft = add("TL", 0, "ab", 0, 0);
    TAuObject& bottomRight = add("BR", 100, "ab", 1, 2);
    TAuObject& wrapped = add("Wrap", 200, "one two three four five six", 0, 0);
    TAuObject& amp = add("Amp", 300, "&", 2, 1);
    TAuObject& opaque = add("Opaque", 300, "", 0, 0);
    opaque.Top = 100;
    opaque.As<model::SimpleTextProps>().Transparent = false;
    opaque.As<model::SimpleTextProps>().BackColor = 0x00336699;
    page.Build();
    gfx::Image shot = PageShot(page);

    const RECT tl = InkBox(Crop(shot, topLeft), kWhite);
    EXPECT_LT(tl.left, 3);
    EXPECT_LT(tl.top, 4);
    const RECT br = InkBox(Crop(shot, bottomRight), kWhite);
    EXPECT_GT(br.right, 86);
    EXPECT_GT(br.bottom, 74);
    // Word wrap: several lines in 90 pixels.
    const RECT w = InkBox(Crop(shot, wrapped), kWhite);
    EXPECT_GT(w.bottom - w.top, 2 * (tl.bottom - tl.top));
    EXPECT_LE(w.right, 90);
    // "&" is drawn, not taken as a prefix; centred both ways.
    const RECT a = InkBox(Crop(shot, amp), kWhite);
    ASSERT_GE(a.right, 0);
    EXPECT_NEAR((a.left + a.right) / 2, 45, 4);
    EXPECT_NEAR((a.top + a.bottom) / 2, 40, 6);
    // Transparent by default; otherwise the back colour.
    EXPECT_EQ(test::Rgb(Crop(shot, topLeft), 60, 60), kWhite);
    EXPECT_EQ(test::Rgb(Crop(shot, opaque), 60, 60), 0x996633u);
}

// ------------------------------------------------------------------- Image

gfx::Image Quarters(int w, int h) {
    // Four coloured quarters, so that a pixel tells which part shows.
    gfx::Image img = gfx::MakeImage(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.At(x, y) = x < w / 2 ? (y < h / 2 ? 0xFFFF0000u : 0xFF00FF00u)
                                     : (y < h / 2 ? 0xFF0000FFu : 0xFFFFFF00u);
    return img;
}

TEST(ImageKind, PlacementFollowsStretchAndCenter) {
    TestPage page(400, 200);
    const model::TPicture pic = test::PngPicture(Quarters(20, 10));
    struct Case {
        const char* name;
        bool stretch, center;
        RECT drawn; // where the picture lands in a 40 x 30 control
    };
    const Case cases[] = {
        {"Normal", false, false, {0, 0, 20, 10}},
        {"Center", false, true, {10, 10, 30, 20}},
        {"Stretch", true, false, {0, 0, 40, 30}},
        {"Both", true, true, {0, 0, 40, 30}}, // centring a stretched picture moves nothing
    };
    std::vector<TAuObject*> recs;
    int left = 0;
    for (const Case& c : cases) {
        TAuObject& r = page.Add(*page.root, K::Image, c.name, left, 20, 40, 30);
        auto& p = r.As<model::ImageProps>();
        p.Image = pic;
        p.Stretch = c.stretch;
        p.Center = c.center;
        recs.push_back(&r);
        left += 50;
    }
    page.Build();
    gfx::Image shot = PageShot(page);
    for (size_t i = 0; i < recs.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        RECT got = page.Ctl<TAuImage>(*recs[i]).PictureRect();
        EXPECT_TRUE(EqualRect(&got, &c.drawn));
        const gfx::Image img = Crop(shot, *recs[i]);
        EXPECT_EQ(test::Rgb(img, c.drawn.left, c.drawn.top), 0xFF0000u);
        EXPECT_EQ(test::Rgb(img, c.drawn.right - 1, c.drawn.bottom - 1), 0xFFFF00u);
        const RECT ink = InkBox(img, kWhite);
        EXPECT_TRUE(EqualRect(&ink, &c.drawn));
    }
}

TEST(ImageKind, AutoSizeFollowsThePictureWhereTheAlignmentAllows) {
    TestPage page(300, 200);
    TAuObject& free = page.Add(*page.root, K::Image, "Free", 10, 10, 100, 100);
    TAuObject& top = page.Add(*page.root, K::Image, "Top", 0, 0, 100, 100);
    free.As<model::ImageProps>().AutoSize = true;
    top.As<model::ImageProps>().AutoSize = true;
    top.Align = 1; // Top
    page.Build();
    auto& f = page.Ctl<TAuImage>(free);
    auto& t = page.Ctl<TAuImage>(top);
    EXPECT_EQ(f.Width(), 100); // no picture yet: no change
    const model::TPicture pic = test::PngPicture(Quarters(37, 21));
    f.SetPicture(&pic);
    t.SetPicture(&pic);
    EXPECT_EQ(f.Width(), 37);
    EXPECT_EQ(f.Height(), 21);
    // Aligned to the top: the width stays the page's, the height follows.
    EXPECT_EQ(t.Width(), 300);
    EXPECT_EQ(t.Height(), 21);
    // Clearing the picture leaves the size.
    f.SetPicture(nullptr);
    EXPECT_EQ(f.Width(), 37);
    EXPECT_TRUE(free.As<model::ImageProps>().Image.Empty());
}

TEST(ImageKind, TransparentBitmapsShowWhatIsBehindTheirCornerColour) {
    TestPage page(200, 100);
    gfx::Image img = gfx::MakeImage(10, 10, 0xFF0000FFu); // blue, the key colour
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x)
            img.At(x, y) = 0xFFFF0000u;
    model::TPicture bmp;
    bmp.Class = model::PictureClass::Bitmap;
    ASSERT_TRUE(gfx::EncodeBmp(img, bmp.Bytes));
    TAuObject& keyed = page.Add(*page.root, K::Image, "Keyed", 10, 10, 10, 10);
    TAuObject& plain = page.Add(*page.root, K::Image, "Plain", 30, 10, 10, 10);
    keyed.As<model::ImageProps>().Image = bmp;
    keyed.As<model::ImageProps>().Transparent = true;
    plain.As<model::ImageProps>().Image = bmp;
    page.Build();
    gfx::Image shot = PageShot(page);
    EXPECT_EQ(test::Rgb(Crop(shot, keyed), 0, 0), kWhite);
    EXPECT_EQ(test::Rgb(Crop(shot, keyed), 5, 5), 0xFF0000u);
    EXPECT_EQ(test::Rgb(Crop(shot, plain), 0, 0), 0x0000FFu);
}

// ------------------------------------------------------------- ImageButton

// Pictures of one colour per face, so that a pixel tells which is shown.
model::TPicture Solid(uint32_t argb) {
    return test::PngPicture(gfx::MakeImage(12, 12, argb));
}

constexpr uint32_t kNormal = 0xFFC00000u, kOver = 0xFF00C000u, kDown = 0xFF0000C0u,
                   kDisabled = 0xFF606060u;

TAuObject& AddImageButton(TestPage& page, TAuObject& parent, const std::string& name, int left,
                          int top, int32_t group = 0) {
    TAuObject& r = page.Add(parent, K::ImageButton, name, left, top, 60, 24);
    auto& p = r.As<model::ImageButtonProps>();
    p.Group = group;
    p.NormalImage = Solid(kNormal);
    p.MouseOverImage = Solid(kOver);
    p.MouseDownImage = Solid(kDown);
    p.DisabledImage = Solid(kDisabled);
    p.ButtonStyle = 4; // Transparent: picture and caption only
    p.Caption.clear();
    p.Actions.OnSelect.resize(1);      // one action: "select 1" in the log
    p.Actions.SelectActions.resize(2); // two: told apart from OnSelect
    return r;
}

// The colour at the middle of the picture of a Left-layout button at
// (left, top) with margin 2 and a 12 x 12 picture.
uint32_t FaceAt(const gfx::Image& shot, int left, int top, int slide = 0) {
    return test::Rgb(shot, left + 2 + 6 + slide, top + 12);
}

class ImageButtonTest : public testing::Test {
protected:
    void SetUp() override {
        // The real pointer stays out of the way unless a test moves it.
        SetCursorPos(1200, 1000);
        Pump(20);
    }
    TestPage page{400, 200};
    SelectSink sink;
};

TEST_F(ImageButtonTest, FacesFollowThePointerThePressAndTheEnabledState) {
    TAuObject& full = AddImageButton(page, *page.root, "Full", 10, 10);
    TAuObject& noDown = AddImageButton(page, *page.root, "NoDown", 100, 10);
    noDown.As<model::ImageButtonProps>().MouseDownImage.Clear();
    page.Build();
    auto& b = page.Ctl<TAuImageButton>(full);
    EXPECT_EQ(FaceAt(PageShot(page), 10, 10), kNormal & 0xFFFFFF);

    test::MovePointer(b, 30, 12);
    EXPECT_TRUE(b.IsHovered());
    EXPECT_EQ(FaceAt(PageShot(page), 10, 10), kOver & 0xFFFFFF);
    // Pressed: the MouseDown picture, slid 2 pixels right and down.
    Send(page, WM_LBUTTONDOWN, MK_LBUTTON, 40, 22);
    EXPECT_EQ(b.State(), gfx::ButtonState::Down);
    gfx::Image shot = PageShot(page);
    EXPECT_EQ(FaceAt(shot, 10, 10, 2), kDown & 0xFFFFFF);
    EXPECT_EQ(test::Rgb(shot, 10 + 3, 10 + 12), kWhite); // the picture left x = 12
    // Dragged off, the button comes up; back on, it goes down again.
    Send(page, WM_MOUSEMOVE, MK_LBUTTON, 200, 150);
    EXPECT_EQ(b.State(), gfx::ButtonState::Up);
    Send(page, WM_MOUSEMOVE, MK_LBUTTON, 40, 22);
    EXPECT_EQ(b.State(), gfx::ButtonState::Down);
    Send(page, WM_LBUTTONUP, 0, 40, 22);
    EXPECT_EQ(b.State(), gfx::ButtonState::Up);

    // Without a MouseDown picture the Normal one shows while pressed.
    auto& nd = page.Ctl<TAuImageButton>(noDown);
    test::MovePointer(nd, 30, 12);
    Send(page, WM_LBUTTONDOWN, MK_LBUTTON, 130, 22);
    EXPECT_EQ(FaceAt(PageShot(page), 100, 10, 2), kNormal & 0xFFFFFF);
    Send(page, WM_LBUTTONUP, 0, 130, 22);

    SetCursorPos(1200, 1000);
    Pump(40);
    b.SetEnabled(false);
    EXPECT_EQ(b.State(), gfx::ButtonState::Disabled);
    EXPECT_EQ(FaceAt(PageShot(page), 10, 10), kDisabled & 0xFFFFFF);
}

TEST_F(ImageButtonTest, GroupsLatchWithinOneParentAndRunOnSelectBeforeOnClick) {
    TAuObject& left = page.Add(*page.root, K::Panel, "Left", 0, 0, 200, 100);
    TAuObject& right = page.Add(*page.root, K::Panel, "Right", 200, 0, 200, 100);
    test::PlainPanel(left, 0x00FFFFFF);
    test::PlainPanel(right, 0x00FFFFFF);
    TAuObject& a = AddImageButton(page, left, "A", 10, 10, 3);
    TAuObject& b = AddImageButton(page, left, "B", 100, 10, 3);
    TAuObject& c = AddImageButton(page, right, "C", 10, 10, 3);
    TAuObject& solo = AddImageButton(page, *page.root, "Solo", 10, 150, 0);
    solo.As<model::ImageButtonProps>().Down = true; // no group: never down
    page.Build();
    for (TAuObject* r : {&a, &b, &c, &solo})
        BindEvents(*ControlOf(*r), sink);
    auto& ca = page.Ctl<TAuImageButton>(a);
    auto& cb = page.Ctl<TAuImageButton>(b);
    auto& cc = page.Ctl<TAuImageButton>(c);
    auto& cs = page.Ctl<TAuImageButton>(solo);
    HWND leftWindow = page.Ctl<TAuPanel>(left).Handle();
    HWND rightWindow = page.Ctl<TAuPanel>(right).Handle();
    auto click = [](HWND h, int x, int y) {
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };

    click(leftWindow, 20, 20);
    EXPECT_TRUE(ca.Down());
    EXPECT_EQ(ca.State(), gfx::ButtonState::Latched);
    EXPECT_TRUE(a.As<model::ImageButtonProps>().Down);
    click(leftWindow, 110, 20); // B latches, A comes up
    EXPECT_TRUE(cb.Down());
    EXPECT_FALSE(ca.Down());
    EXPECT_FALSE(a.As<model::ImageButtonProps>().Down);
    click(rightWindow, 20, 20); // another parent: B stays down
    EXPECT_TRUE(cc.Down());
    EXPECT_TRUE(cb.Down());
    click(leftWindow, 110, 20); // the latched button stays down without AllowAllUp
    EXPECT_TRUE(cb.Down());
    EXPECT_EQ(sink.Joined(),
              "A down, A select 1, A click, A up, B down, B select 1, B click, B up, "
              "C down, C select 1, C click, C up, "
              "B down, B select 1, B click, B up");
    sink.lines.clear();
    // With AllowAllUp the latched button comes up, and OnSelect does not run.
    b.As<model::ImageButtonProps>().AllowAllUp = true;
    click(leftWindow, 110, 20);
    EXPECT_FALSE(cb.Down());
    EXPECT_FALSE(ca.Down());
    EXPECT_EQ(sink.Joined(), "B down, B click, B up");
    sink.lines.clear();
    // Group 0: a stored Down is not kept, and OnSelect never runs.
    EXPECT_FALSE(cs.Down());
    ClickAt(page, 20, 160);
    EXPECT_FALSE(cs.Down());
    EXPECT_EQ(cs.State(), gfx::ButtonState::Up);
    EXPECT_EQ(sink.Joined(), "Solo down, Solo click, Solo up");
    sink.lines.clear();
    // A release off the button neither clicks nor latches.
    SendMessageW(leftWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(leftWindow, WM_LBUTTONUP, 0, MAKELPARAM(190, 90));
    EXPECT_FALSE(ca.Down());
    EXPECT_EQ(ca.State(), gfx::ButtonState::Up);
    EXPECT_EQ(sink.Joined(), "A down, A up");
    // DoSelectActions takes SelectActions only from a button that is down.
    EXPECT_TRUE(ca.SelectedActionLists().empty());
    ca.SetDown(true);
    ASSERT_EQ(ca.SelectedActionLists().size(), 1u);
    EXPECT_EQ(ca.SelectedActionLists()[0].size(), 2u);
    // Disabled and enabled again, a latched button is latched again.
    ca.SetEnabled(false);
    EXPECT_EQ(ca.State(), gfx::ButtonState::Disabled);
    ca.SetEnabled(true);
    EXPECT_EQ(ca.State(), gfx::ButtonState::Latched);
}

TEST_F(ImageButtonTest, TheLaterOfTwoStoredDownButtonsWins) {
    TAuObject& a = AddImageButton(page, *page.root, "A", 10, 10, 2);
    TAuObject& b = AddImageButton(page, *page.root, "B", 100, 10, 2);
    a.As<model::ImageButtonProps>().Down = true;
    b.As<model::ImageButtonProps>().Down = true;
    page.Build();
    EXPECT_FALSE(page.Ctl<TAuImageButton>(a).Down());
    EXPECT_TRUE(page.Ctl<TAuImageButton>(b).Down());
}

TEST_F(ImageButtonTest, CaptionsAndFrames) {
    // Layout Left with a caption wider than the room right of the picture:
    // it ends at W - M, over the picture.
    TAuObject& wide = AddImageButton(page, *page.root, "Wide", 10, 10);
    wide.As<model::ImageButtonProps>().Caption = "WWWWWWWW";
    // Normal style: the push-button frame; latched, the dither pattern.
    TAuObject& framed = AddImageButton(page, *page.root, "Framed", 100, 10, 1);
    auto& fp = framed.As<model::ImageButtonProps>();
    fp.ButtonStyle = 0;
    fp.NormalImage.Clear();
    fp.MouseDownImage.Clear();
    fp.Down = true;
    TAuObject& flat = AddImageButton(page, *page.root, "Flat", 200, 10);
    flat.As<model::ImageButtonProps>().ButtonStyle = 1;
    flat.As<model::ImageButtonProps>().NormalImage.Clear();
    page.Build();
    gfx::Image shot = PageShot(page);

    const gfx::Image w = Crop(shot, wide);
    int rightmost = -1, overPicture = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x)
            if (test::Rgb(w, x, y) == 0) {
                rightmost = std::max(rightmost, x);
                overPicture += x >= 2 && x < 14;
            }
    EXPECT_LE(rightmost, 60 - 2 - 1);
    EXPECT_GE(rightmost, 60 - 2 - 4);
    EXPECT_GT(overPicture, 0);

    const gfx::Image f = Crop(shot, framed);
    const uint32_t face = test::PixelOf(GetSysColor(COLOR_BTNFACE));
    const uint32_t light = test::PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT));
    ASSERT_NE(face, light);
    EXPECT_EQ(test::Rgb(f, 2, 2), light); // the pattern starts with highlight
    EXPECT_EQ(test::Rgb(f, 3, 2), face);
    EXPECT_EQ(test::Rgb(f, 3, 3), light);
    // The pushed frame's outer corner is neither face nor highlight.
    EXPECT_NE(test::Rgb(f, 0, 0), light);
    EXPECT_NE(test::Rgb(f, 0, 0), face);
    // Flat at rest: the face colour, no edge.
    const gfx::Image fl = Crop(shot, flat);
    EXPECT_EQ(test::Rgb(fl, 0, 0), face);
    EXPECT_EQ(test::Rgb(fl, 59, 23), face);
}

// ------------------------------------------------------------------ Button

class ButtonTest : public testing::Test {
protected:
    TAuObject& Add(const std::string& name, int left, bool isDefault, bool cancel) {
        TAuObject& r = page.Add(*page.root, K::Button, name, left, 10, 90, 30);
        auto& p = r.As<model::ButtonProps>();
        p.Caption = name;
        p.Default = isDefault;
        p.Cancel = cancel;
        return r;
    }
    // The clicks the sink heard, without the mouse events around them.
    std::string Clicks() const {
        std::string s;
        for (const std::string& l : page.sink.lines)
            if (l.size() > 6 && l.compare(l.size() - 6, 6, " click") == 0)
                s += (s.empty() ? "" : ", ") + l;
        return s;
    }
    HWND Handle(const TAuObject& r) { return page.Ctl<TAuStandardButton>(r).Handle(); }
    // A key pressed in the page window, through the message loop.
    void Key(HWND target, WPARAM vk) {
        PostMessageW(target, WM_KEYDOWN, vk, 1);
        PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
        Pump(30);
    }
    TestPage page{400, 200};
};

TEST_F(ButtonTest, ClicksEnterAndEscape) {
    TAuObject& ok = Add("OK", 0, true, false);
    TAuObject& cancel = Add("Cancel", 100, false, true);
    TAuObject& other = Add("Other", 200, false, false);
    other.As<model::ButtonProps>().TabStop = false;
    page.Build();
    EXPECT_TRUE(GetWindowLongW(Handle(ok), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongW(Handle(other), GWL_STYLE) & WS_TABSTOP);
    wchar_t text[16] = {};
    GetWindowTextW(Handle(cancel), text, 16);
    EXPECT_STREQ(text, L"Cancel");

    SendMessageW(Handle(other), BM_CLICK, 0, 0);
    Pump(20);
    EXPECT_EQ(Clicks(), "Other click");
    page.sink.lines.clear();

    HWND pageWindow = PageWindow(page);
    Key(pageWindow, VK_RETURN);
    EXPECT_EQ(page.sink.Joined(), "OK click");
    page.sink.lines.clear();
    Key(pageWindow, VK_ESCAPE);
    EXPECT_EQ(page.sink.Joined(), "Cancel click");
    page.sink.lines.clear();
    // Enter in a focused button presses that one.
    Key(Handle(other), VK_RETURN);
    EXPECT_EQ(page.sink.Joined(), "Other click");
    page.sink.lines.clear();
    // A hidden or disabled default button takes no key; other keys do nothing.
    page.Ctl<TAuStandardButton>(ok).SetVisible(false);
    page.Ctl<TAuStandardButton>(cancel).SetEnabled(false);
    Key(pageWindow, VK_RETURN);
    Key(pageWindow, VK_ESCAPE);
    Key(pageWindow, VK_SPACE);
    EXPECT_EQ(page.sink.Joined(), "");
}

TEST_F(ButtonTest, TheCaptionTakesTheFontColour) {
    TAuObject& red = Add("Red", 0, false, false);
    red.As<model::ButtonProps>().Font.Color = 0x0000FF;
    red.As<model::ButtonProps>().Font.Size = 14;
    TAuObject& wrapped = Add("one two three", 100, false, false);
    wrapped.As<model::ButtonProps>().WordWrap = true;
    wrapped.As<model::ButtonProps>().Font.Size = 12;
    page.Build();
    const RECT area{0, 0, 90, 30};
    gfx::Image shot = Crop(PageShot(page), red);
    EXPECT_GT(Count(shot, area, 0xFF0000), 10);
    // A new font through the action interface: blue, no red left.
    model::TFont blue = red.As<model::ButtonProps>().Font;
    blue.Color = 0xFF0000;
    page.Ctl<TAuStandardButton>(red).SetFont(blue);
    Pump(20);
    shot = Crop(PageShot(page), red);
    EXPECT_EQ(Count(shot, area, 0xFF0000), 0);
    EXPECT_GT(Count(shot, area, 0x0000FF), 10);
    // Disabled: no caption colour at all.
    page.Ctl<TAuStandardButton>(red).SetEnabled(false);
    Pump(20);
    EXPECT_EQ(Count(Crop(PageShot(page), red), area, 0x0000FF), 0);
    // Word wrap: the caption takes more than one line.
    const gfx::Image w = Crop(PageShot(page), wrapped);
    int rows = 0;
    const uint32_t face = test::PixelOf(GetSysColor(COLOR_BTNFACE));
    for (int y = 4; y < 26; ++y) {
        bool ink = false;
        for (int x = 4; x < 86; ++x)
            ink |= test::Rgb(w, x, y) != face && test::Rgb(w, x, y) != kWhite;
        rows += ink;
    }
    EXPECT_GT(rows, 14);
}

// ---------------------------------------------------------------- showcase

// One page of every kind in several states, kept as a PNG when
// ORVEXA_TEST_SHOTS names a folder, to look at.
TEST(ButtonKinds, APageOfEveryKind) {
    TestPage page(420, 260);
    page.root->As<model::PanelProps>().BackColor = 0x00E0E0E0;
    TAuObject& ok = page.Add(*page.root, K::Button, "OK", 10, 10, 97, 25);
    ok.As<model::ButtonProps>().Caption = "&OK";
    ok.As<model::ButtonProps>().Default = true;
    TAuObject& red = page.Add(*page.root, K::Button, "Red", 115, 10, 97, 25);
    red.As<model::ButtonProps>().Caption = "Red caption";
    red.As<model::ButtonProps>().Font.Color = 0x0000C0;
    TAuObject& off = page.Add(*page.root, K::Button, "Off", 220, 10, 97, 25);
    off.As<model::ButtonProps>().Caption = "Disabled";
    off.Enabled = false;
    gfx::Image glyph = gfx::MakeImage(16, 16, 0x00000000u);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if ((x - 8) * (x - 8) + (y - 8) * (y - 8) < 49)
                glyph.At(x, y) = 0xFF2080E0u;
    const char* styles[] = {"Normal", "NormalFlat", "Themes", "ThemesFlat", "Transparent"};
    for (int i = 0; i < 5; ++i) {
        TAuObject& b = page.Add(*page.root, K::ImageButton, styles[i], 10 + i * 80, 50, 76, 28);
        auto& p = b.As<model::ImageButtonProps>();
        p.ButtonStyle = static_cast<uint8_t>(i);
        p.Caption = styles[i];
        p.NormalImage = test::PngPicture(glyph);
        p.ImageLayout = static_cast<uint8_t>(i == 4 ? 1 : 0);
        if (i == 4)
            b.Height = 44;
    }
    TAuObject& latched = page.Add(*page.root, K::ImageButton, "Latched", 10, 100, 76, 28);
    latched.As<model::ImageButtonProps>().Group = 1;
    latched.As<model::ImageButtonProps>().Down = true;
    latched.As<model::ImageButtonProps>().Caption = "Latched";
    TAuObject& image = page.Add(*page.root, K::Image, "Image", 100, 100, 60, 40);
    image.As<model::ImageProps>().Image = test::PngPicture(Quarters(20, 10));
    image.As<model::ImageProps>().Stretch = true;
    TAuObject& text = page.Add(*page.root, K::SimpleText, "Text", 170, 100, 110, 60);
    text.As<model::SimpleTextProps>().Text = "Plain text that wraps & keeps its ampersand";
    text.As<model::SimpleTextProps>().Transparent = false;
    text.As<model::SimpleTextProps>().BackColor = 0x00C0FFFF;
    text.As<model::SimpleTextProps>().Alignment = 2;
    for (uint8_t shape = 0; shape < 6; ++shape) {
        TAuObject& bevel = page.Add(*page.root, K::Bevel, "Bevel" + std::to_string(shape),
                                    10 + shape * 60, 180, 50, 40);
        bevel.As<model::BevelProps>().Shape = shape;
        bevel.As<model::BevelProps>().Style = shape % 2;
    }
    page.Build();
    gfx::Image shot = PageShot(page);
    test::KeepShot(shot, "buttons-page");
    // The red caption is there, the disabled one has no colour of its own.
    EXPECT_GT(Count(Crop(shot, red), RECT{0, 0, 97, 25}, 0xC00000), 5);
    // The latched button shows its pattern; the stretched picture fills its box.
    EXPECT_EQ(test::Rgb(Crop(shot, image), 59, 39), 0xFFFF00u);
    EXPECT_EQ(test::Rgb(Crop(shot, text), 2, 58), 0xFFFFC0u);
}

} // namespace
} // namespace orv::objects
