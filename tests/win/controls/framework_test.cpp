// The control framework under Wine: alignment, the gradient and caption
// helpers, hosting of windowless controls (z-order, hit testing, clicks,
// capture), enter and leave with containers, hints, cursors, timers,
// reflection and painting into a bitmap.
#include "gfx/gradient.h"
#include "helpers.h"
#include "win/controls/drawing.h"
#include "win/services.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace orv::win {
namespace {

using test::Pump;
using test::TopHost;

// ------------------------------------------------------------- alignment

TEST(AlignItems, PlacesEachAlignmentInTurnNearestEdgeFirst) {
    std::vector<AlignItem> items = {
        {Align::Client, {0, 0, 10, 10}, true},   // 0
        {Align::Top, {0, 50, 10, 70}, true},     // 1: h 20, second from top
        {Align::Top, {0, 5, 10, 15}, true},      // 2: h 10, first
        {Align::Bottom, {0, 0, 10, 30}, true},   // 3: h 30
        {Align::Left, {9, 0, 49, 10}, true},     // 4: w 40
        {Align::Right, {0, 0, 25, 10}, true},    // 5: w 25
        {Align::Left, {0, 0, 300, 300}, false},  // 6: hidden, untouched
        {Align::None, {1, 2, 3, 4}, true},       // 7: not aligned
        {Align::Right, {100, 0, 110, 10}, true}, // 8: w 10, right edge further right: first
    };
    RECT rest = AlignItems(RECT{0, 0, 200, 150}, items);
    auto eq = [](const RECT& a, RECT b) { return EqualRect(&a, &b) != 0; };
    EXPECT_TRUE(eq(items[2].bounds, {0, 0, 200, 10}));
    EXPECT_TRUE(eq(items[1].bounds, {0, 10, 200, 30}));
    EXPECT_TRUE(eq(items[3].bounds, {0, 120, 200, 150}));
    EXPECT_TRUE(eq(items[4].bounds, {0, 30, 40, 120}));
    EXPECT_TRUE(eq(items[8].bounds, {190, 30, 200, 120}));
    EXPECT_TRUE(eq(items[5].bounds, {165, 30, 190, 120}));
    EXPECT_TRUE(eq(items[0].bounds, {40, 30, 165, 120}));
    EXPECT_TRUE(eq(items[6].bounds, {0, 0, 300, 300}));
    EXPECT_TRUE(eq(items[7].bounds, {1, 2, 3, 4}));
    EXPECT_TRUE(eq(rest, {40, 30, 165, 120}));
}

// Plain windowless and windowed controls that log their events.
struct Log {
    std::vector<std::string> lines;
    std::string Joined() const {
        std::string s;
        for (auto& l : lines)
            s += (s.empty() ? "" : ", ") + l;
        return s;
    }
    void Clear() { lines.clear(); }
};

void Wire(Control& c, const std::string& name, Log& log) {
    c.OnClick = [&log, name](Control&) { log.lines.push_back(name + " click"); };
    c.OnDblClick = [&log, name](Control&) { log.lines.push_back(name + " dblclick"); };
    c.OnMouseEnter = [&log, name](Control&) { log.lines.push_back(name + " enter"); };
    c.OnMouseLeave = [&log, name](Control&) { log.lines.push_back(name + " leave"); };
    c.OnMouseDown = [&log, name](Control&, const MouseArgs& a) {
        log.lines.push_back(name + (a.doubleClick ? " down2 " : " down ") + std::to_string(a.x) +
                            "," + std::to_string(a.y));
    };
    c.OnMouseUp = [&log, name](Control&, const MouseArgs&) { log.lines.push_back(name + " up"); };
}

class Probe : public GraphicControl {
public:
    explicit Probe(COLORREF color = RGB(200, 0, 0)) : color_(color) {}
    void Paint(const Canvas& canvas) override {
        SetDCBrushColor(canvas.dc, color_);
        RECT r = ClientRect();
        FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }

private:
    COLORREF color_;
};

class Box : public WinControl {
public:
    explicit Box(bool container, DWORD exStyle = 0) : exStyle_(exStyle) {
        SetRaisesDescendantEnterLeave(container);
    }

protected:
    void FillCreateArgs(CreateArgs& a) override { a.exStyle |= exStyle_; }

private:
    DWORD exStyle_;
};

template <class T> T& Put(WinControl& parent, std::unique_ptr<T> c, int x, int y, int w, int h) {
    c->SetBounds(x, y, w, h);
    return parent.Add(std::move(c));
}

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

// -------------------------------------------------------------- gradient

TEST(FillGradientOnDc, MatchesGfxForEveryCodeSizeAndClip) {
    struct Case {
        RECT rect;
        RECT clip;
    };
    const Case cases[] = {
        {{0, 0, 1, 1}, {0, 0, 24, 18}},     {{0, 0, 7, 5}, {0, 0, 24, 18}},
        {{3, 2, 16, 11}, {0, 0, 24, 18}},   {{0, 0, 1, 9}, {0, 0, 24, 18}},
        {{2, 1, 15, 2}, {0, 0, 24, 18}},    {{1, 1, 22, 17}, {5, 4, 12, 9}},
        {{-3, -5, 20, 14}, {0, 0, 24, 18}},
    };
    const uint32_t magenta = 0xFF00FF;
    for (int code = 1; code <= 8; ++code)
        for (const Case& c : cases) {
            Surface s;
            ASSERT_TRUE(s.Resize(24, 18));
            RECT all{0, 0, 24, 18};
            SetDCBrushColor(s.Dc(), RGB(255, 0, 255));
            FillRect(s.Dc(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            int saved = SaveDC(s.Dc());
            IntersectClipRect(s.Dc(), c.clip.left, c.clip.top, c.clip.right, c.clip.bottom);
            FillGradient(s.Dc(), code, RGB(10, 200, 30), c.rect, RGB(250, 20, 120));
            RestoreDC(s.Dc(), saved);
            gfx::Image got = s.CopyOut(gfx::Rect{0, 0, 24, 18});

            gfx::Image want = gfx::MakeImage(24, 18, 0xFF000000 | magenta);
            gfx::Image full = gfx::MakeImage(24, 18, 0xFF000000 | magenta);
            gfx::FillGradient(full, code, RGB(10, 200, 30),
                              gfx::Rect{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom},
                              RGB(250, 20, 120));
            for (int y = c.clip.top; y < c.clip.bottom; ++y)
                for (int x = c.clip.left; x < c.clip.right; ++x)
                    want.At(x, y) = full.At(x, y);
            int bad = 0;
            for (int y = 0; y < 18; ++y)
                for (int x = 0; x < 24; ++x)
                    bad += test::Rgb(got, x, y) != test::Rgb(want, x, y);
            EXPECT_EQ(bad, 0) << "code " << code << " rect " << c.rect.left << "," << c.rect.top
                              << "," << c.rect.right << "," << c.rect.bottom;
        }
}

// -------------------------------------------------------------- captions

// The box around every pixel that is not white.
RECT Ink(const gfx::Image& img) {
    RECT r{img.width, img.height, -1, -1};
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (test::Rgb(img, x, y) != 0xFFFFFF) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

RECT DrawnText(const std::string& text, int align, int layout, bool wrap, int w = 120, int h = 60) {
    Surface s;
    s.Resize(w, h);
    RECT all{0, 0, w, h};
    FillRect(s.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    model::TFont font = model::ArialFont(10);
    font.Color = 0;
    DrawAlignedText(s.Dc(), text, all, wrap, layout, align, font);
    return Ink(s.CopyOut(gfx::Rect{0, 0, w, h}));
}

TEST(DrawAlignedText, PlacesByAlignmentAndLayout) {
    RECT tl = DrawnText("W", 0, 0, false);
    EXPECT_LT(tl.left, 4);
    EXPECT_LT(tl.top, 8);
    RECT br = DrawnText("W", 1, 2, false);
    EXPECT_GT(br.right, 114);
    EXPECT_GT(br.bottom, 50);
    RECT cc = DrawnText("W", 2, 1, false);
    EXPECT_NEAR((cc.left + cc.right) / 2.0, 60, 3);
    EXPECT_NEAR((cc.top + cc.bottom) / 2.0, 30, 4);
    // Nothing is an accelerator prefix: a lone "&" is drawn.
    EXPECT_GE(DrawnText("&", 2, 1, false).right, 0);
    // Word wrap breaks a long caption over lines; without it the caption
    // stays on one line.
    const std::string words = "one two three four five six seven";
    RECT wrapped = DrawnText(words, 0, 0, true, 60, 80);
    RECT single = DrawnText(words, 0, 0, false, 60, 80);
    EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (single.bottom - single.top));
    EXPECT_EQ(DrawnText("", 0, 0, true).right, -1);
}

// ------------------------------------------------ windowless in a host

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        a = &Put(host, std::make_unique<Probe>(RGB(200, 0, 0)), 10, 10, 100, 100);
        b = &Put(host, std::make_unique<Probe>(RGB(0, 0, 200)), 50, 50, 100, 100);
        Wire(*a, "A", log);
        Wire(*b, "B", log);
        Pump(20);
        log.Clear();
    }
    void Send(UINT msg, int x, int y, WPARAM keys = 0) {
        SendMessageW(host.Handle(), msg, keys, At(x, y));
    }
    TopHost host;
    Probe* a = nullptr;
    Probe* b = nullptr;
    Log log;
};

TEST_F(HostTest, HitTestingGoesBackToFrontSkippingDisabledAndHidden) {
    EXPECT_EQ(host.ControlAt(POINT{60, 60}, false), b);
    EXPECT_EQ(host.ControlAt(POINT{20, 20}, false), a);
    EXPECT_EQ(host.ControlAt(POINT{300, 200}, false), &host);
    b->SetEnabled(false);
    EXPECT_EQ(host.ControlAt(POINT{60, 60}, false), a);
    EXPECT_EQ(host.ControlAt(POINT{60, 60}, true), b);
    b->SetEnabled(true);
    b->SetVisible(false);
    EXPECT_EQ(host.ControlAt(POINT{60, 60}, true), a);
    b->SetVisible(true);
    // Child order is z-order: moving B under A puts A on top.
    host.MoveChild(1, 0);
    EXPECT_EQ(host.ControlAt(POINT{60, 60}, false), a);
    gfx::Image shot = host.Snapshot();
    EXPECT_EQ(test::Rgb(shot, 60, 60), 0xC80000u); // A painted last, over B
    EXPECT_EQ(test::Rgb(shot, 140, 140), 0x0000C8u);
}

TEST_F(HostTest, ClickNeedsPressAndReleaseOnTheSameControl) {
    Send(WM_LBUTTONDOWN, 60, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 61, 71);
    EXPECT_EQ(log.Joined(), "B down 10,20, B click, B up");
    log.Clear();
    // Released over A: B keeps the pointer until the release (A hears the
    // pointer come), no click.
    Send(WM_LBUTTONDOWN, 60, 70, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 20, 20, MK_LBUTTON);
    Send(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(log.Joined(), "B down 10,20, A enter, B up");
    log.Clear();
    // A double click: the second press raises the double click and a
    // press marked double, and its release is no click.
    Send(WM_LBUTTONDOWN, 60, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 60, 70);
    Send(WM_LBUTTONDBLCLK, 60, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 60, 70);
    EXPECT_EQ(log.Joined(), "B down 10,20, B click, B up, B dblclick, B down2 10,20, B up");
    log.Clear();
    // A disabled control gets no buttons: the one below does.
    b->SetEnabled(false);
    Send(WM_LBUTTONDOWN, 60, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 60, 70);
    EXPECT_EQ(log.Joined(), "A down 50,60, A click, A up");
}

TEST_F(HostTest, HandlersThatThrowOrDestroyTheirControlAreSafe) {
    b->OnClick = [](Control&) { throw std::runtime_error("handler failed"); };
    Send(WM_LBUTTONDOWN, 60, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 60, 70);
    EXPECT_EQ(log.Joined(), "B down 10,20");
    log.Clear();
    // A press handler that destroys its own control: no release reaches it.
    b->OnMouseDown = [this](Control& c, const MouseArgs&) {
        log.lines.push_back("B gone");
        host.DestroyChild(&c);
    };
    Send(WM_LBUTTONDOWN, 60, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 60, 70);
    EXPECT_EQ(log.Joined(), "B gone, A up");
    EXPECT_EQ(host.ChildCount(), 1);
}

TEST_F(HostTest, TimersFireAndStopWithTheirControl) {
    int fired = 0;
    auto alive = std::make_shared<int>(0);
    ASSERT_NE(b->StartTimer(10, [&fired] { ++fired; }), 0u);
    Pump(120);
    EXPECT_GE(fired, 2);
    const int before = fired;
    host.DestroyChild(b);
    Pump(80);
    EXPECT_EQ(fired, before);
    // A windowless control without a host has no timer.
    Probe loose;
    EXPECT_EQ(loose.StartTimer(10, [] {}), 0u);
}

// ----------------------------------------------------- enter and leave

TEST(EnterLeave, ContainersRaiseTheirDescendantsEnterAndLeave) {
    TopHost host(320, 240);
    Log log;
    Probe& a = Put(host, std::make_unique<Probe>(), 10, 10, 60, 60);
    Box& c = Put(host, std::make_unique<Box>(true), 150, 20, 150, 150);
    Probe& d = Put(c, std::make_unique<Probe>(), 20, 20, 50, 50);
    Box& inner = Put(c, std::make_unique<Box>(false), 90, 90, 40, 40);
    Wire(a, "A", log);
    Wire(c, "C", log);
    Wire(d, "D", log);
    Wire(inner, "I", log);
    test::MovePointer(host, 300, 230);
    log.Clear();

    test::MovePointer(host, 30, 30); // onto A
    test::MovePointer(c, 30, 30);    // onto D inside container C
    EXPECT_EQ(log.Joined(), "A enter, A leave, C enter, D enter");
    EXPECT_TRUE(d.IsHovered());
    log.Clear();
    test::MovePointer(c, 5, 5); // C's own background
    EXPECT_EQ(log.Joined(), "C leave, D leave, C enter");
    log.Clear();
    test::MovePointer(inner, 10, 10); // a window inside C
    EXPECT_EQ(log.Joined(), "C leave, C enter, I enter");
    log.Clear();
    test::MovePointer(host, 100, 200); // back on the host's background
    EXPECT_EQ(log.Joined(), "C leave, I leave");
    EXPECT_EQ(HoveredControl(), &host);
}

TEST(Hints, ShowAfterThePauseAndGoWithThePointer) {
    SetHintTiming(60, 5000);
    TopHost host;
    Probe& a = Put(host, std::make_unique<Probe>(), 10, 10, 60, 60);
    Probe& b = Put(host, std::make_unique<Probe>(), 100, 10, 60, 60);
    a.SetHint("Open the manual");
    test::MovePointer(host, 250, 200);
    test::MovePointer(a, 20, 20);
    EXPECT_FALSE(HintShowing());
    Pump(200);
    EXPECT_TRUE(HintShowing());
    EXPECT_EQ(ShownHint(), "Open the manual");
    test::KeepShot(CaptureWindow(GetDesktopWindow(), false), "hint-desktop");
    test::MovePointer(b, 20, 20); // no hint there
    Pump(150);
    EXPECT_FALSE(HintShowing());
    SetHintTiming(500, 2500);
}

TEST(Cursors, ControlCursorOverridesTheHostsDefault) {
    TopHost host;
    Probe& a = Put(host, std::make_unique<Probe>(), 10, 10, 60, 60);
    Put(host, std::make_unique<Probe>(), 100, 10, 60, 60);
    a.SetCursor(-21);   // hand
    host.SetCursor(-3); // cross
    test::MovePointer(a, 20, 20);
    EXPECT_EQ(GetCursor(), CursorHandle(-21));
    test::MovePointer(host, 120, 30); // a control with the default cursor
    EXPECT_EQ(GetCursor(), CursorHandle(-3));
}

// ------------------------------------------------------- windows

class PushButton : public WinControl {
public:
    int clicked = 0;

protected:
    void FillCreateArgs(CreateArgs& a) override {
        a.className = L"BUTTON";
        a.style |= BS_PUSHBUTTON;
        a.text = L"Push";
    }
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
            ++clicked;
            result = 0;
            return true;
        }
        return false;
    }
};

TEST(Windows, ThisIsFoundFromTheHandleUntilTheWindowGoes) {
    TopHost host;
    PushButton& button = Put(host, std::make_unique<PushButton>(), 10, 10, 80, 24);
    HWND h = button.Handle();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Window::FromHandle(h), &button);
    EXPECT_EQ(Window::FromHandle(host.Handle()), &host);
    EXPECT_EQ(Window::FromHandle(GetDesktopWindow()), nullptr);
    // Notifications come back to the control that sent them.
    SendMessageW(h, BM_CLICK, 0, 0);
    Pump(20);
    EXPECT_EQ(button.clicked, 1);
    button.DestroyHandle();
    EXPECT_EQ(button.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(h));
}

TEST(Windows, AlignmentWaitsWhileSuspended) {
    TopHost host(300, 200);
    host.DisableAlign();
    Probe& top = Put(host, std::make_unique<Probe>(), 5, 5, 10, 20);
    Box& client = Put(host, std::make_unique<Box>(false), 7, 7, 10, 10);
    top.SetAlign(Align::Top);
    client.SetAlign(Align::Client);
    EXPECT_EQ(client.Width(), 10);
    host.EnableAlign();
    EXPECT_EQ(top.BoundsRect().right, 300);
    RECT cb = client.BoundsRect();
    const RECT want{0, 20, 300, 200};
    EXPECT_TRUE(EqualRect(&cb, &want));
    // A resized host aligns again.
    host.SetBounds(40, 40, 250, 150);
    Pump(20);
    cb = client.BoundsRect();
    EXPECT_EQ(cb.right, 250);
    EXPECT_EQ(cb.bottom, 150);
}

TEST(Painting, PaintToMatchesWhatTheScreenShows) {
    TopHost host(300, 200);
    Put(host, std::make_unique<Probe>(RGB(0, 128, 0)), 10, 10, 80, 60);
    Box& framed = Put(host, std::make_unique<Box>(false, WS_EX_CLIENTEDGE), 120, 20, 120, 100);
    framed.SetColor(0x0000FFFF);
    Put(framed, std::make_unique<Probe>(RGB(0, 0, 255)), 10, 10, 30, 30);
    Put(host, std::make_unique<PushButton>(), 20, 150, 90, 26);
    Pump(60);
    gfx::Image screen = CaptureWindow(host.Handle(), true);
    gfx::Image painted = host.Snapshot();
    ASSERT_EQ(screen.width, painted.width);
    ASSERT_EQ(screen.height, painted.height);
    int bad = 0;
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x)
            bad += test::Rgb(screen, x, y) != test::Rgb(painted, x, y);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(test::Rgb(painted, 30, 30), 0x008000u);
    test::KeepShot(screen, "framework-screen");
    test::KeepShot(painted, "framework-painted");
}

} // namespace
} // namespace orv::win

namespace orv::win {
namespace {

// Stored pictures become drawable: translucent pixels blend, metafiles
// play, damaged or empty pictures draw nothing.
TEST(Pictures, DecodeBlendPlayAndRefuse) {
    Surface s;
    ASSERT_TRUE(s.Resize(40, 20));
    RECT all{0, 0, 40, 20};
    FillRect(s.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    Picture half;
    ASSERT_TRUE(half.Assign(test::PngPicture(test::Solid(2, 2, 0x80000000))));
    EXPECT_EQ(half.Width(), 2);
    half.Draw(s.Dc(), RECT{0, 0, 20, 20});
    // A metafile of a blue rectangle, stored as its bytes.
    HDC mdc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(mdc, nullptr);
    RECT mr{0, 0, 100, 100};
    FillRect(mdc, &mr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(mdc, &mr, blue);
    DeleteObject(blue);
    HENHMETAFILE emf = CloseEnhMetaFile(mdc);
    model::TPicture meta;
    meta.Class = model::PictureClass::Metafile;
    meta.Bytes.resize(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(meta.Bytes.size()), meta.Bytes.data());
    DeleteEnhMetaFile(emf);
    Picture m;
    ASSERT_TRUE(m.Assign(meta));
    EXPECT_GT(m.Width(), 0);
    m.Draw(s.Dc(), RECT{20, 0, 40, 20});

    gfx::Image img = s.CopyOut(gfx::Rect{0, 0, 40, 20});
    const uint32_t grey = test::Rgb(img, 10, 10);
    EXPECT_NEAR(static_cast<int>(grey & 0xFF), 127, 2); // black at half over white
    EXPECT_EQ(test::Rgb(img, 30, 10), 0x0000FFu);

    model::TPicture broken = test::PngPicture(test::Solid(2, 2, 0xFF000000));
    broken.Bytes.resize(broken.Bytes.size() / 2);
    Picture b;
    EXPECT_FALSE(b.Assign(broken));
    EXPECT_TRUE(b.Empty());
    model::TPicture none;
    EXPECT_FALSE(b.Assign(none));
    model::TPicture wrongClass = test::PngPicture(test::Solid(2, 2, 0xFF000000));
    wrongClass.Class = model::PictureClass::Jpeg;
    EXPECT_FALSE(b.Assign(wrongClass));
}

} // namespace
} // namespace orv::win
