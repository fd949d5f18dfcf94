// The picture transition control under Wine: its properties, threaded,
// pumping and manual runs with their events, stopping, the old frame a
// transition starts from, placement, stretching and backgrounds on screen.
#include "gfx/raster.h"
#include "transitions/pictransit.h"
#include "win/controls/surface.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace orv::transitions {
namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kGrey = 0xFF808080;
constexpr int32_t kStoredGrey = 0x00808080;

void Pump(int ms = 0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (ms > 0)
            Sleep(5);
    } while (std::chrono::steady_clock::now() < end);
}

// Writes an image as PNG into the folder named by ORVEXA_TEST_SHOTS, if set.
void KeepShot(const gfx::Image& image, const std::string& name) {
    const char* dir = std::getenv("ORVEXA_TEST_SHOTS");
    std::vector<uint8_t> png;
    if (!dir || !*dir || image.Empty() || !gfx::EncodePng(image, png))
        return;
    if (FILE* f = std::fopen((std::string(dir) + "\\" + name + ".png").c_str(), "wb")) {
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
    }
}

// Pumps until the control is idle; false after the time limit.
bool PumpUntilIdle(const TCustomPicTransit& t, int limitMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (t.Busy()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Pump(5);
    }
    return true;
}

// A top-level window on screen whose client area holds the control.
class Host : public win::WinControl {
public:
    Host(int width = 320, int height = 240) {
        SetBounds(40, 40, width, height);
        SetColor(0x00FFFFFF);
        CreateTopLevel(WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, L"transition test");
        SetWindowPos(Handle(), HWND_TOPMOST, 40, 40, width, height, SWP_SHOWWINDOW);
        UpdateWindow(Handle());
        Pump(20);
    }
};

// The control filling a host, with a log of its events.
struct Fixture {
    explicit Fixture(int w = 320, int h = 240) : host(w, h) {
        auto c = std::make_unique<TPicTransit>();
        c->SetAlign(win::Align::Client);
        c->SetColor(kStoredGrey);
        c->OnStart = [this](TCustomPicTransit&, gfx::Image&, gfx::Image& screen) {
            log.push_back("start");
            startFrame = screen;
        };
        c->OnProgress = [this](TCustomPicTransit& s) { progress.push_back(s.Progress()); };
        c->OnComplete = [this](TCustomPicTransit&) { log.push_back("complete"); };
        c->OnStop = [this](TCustomPicTransit&) { log.push_back("stop"); };
        c->OnChange = [this](TCustomPicTransit&) { log.push_back("change"); };
        pt = &host.Add(std::move(c));
        Pump(20);
    }
    std::string Log() const {
        std::string s;
        for (const auto& l : log)
            s += (s.empty() ? "" : " ") + l;
        return s;
    }

    Host host;
    TPicTransit* pt = nullptr;
    std::vector<std::string> log;
    std::vector<int> progress;
    gfx::Image startFrame;
};

TEST(PicTransitProperties, DefaultsAndSetters) {
    TPicTransit t;
    EXPECT_EQ(t.Style(), 51);
    EXPECT_EQ(t.StyleName(), "Appear and Contract to middle");
    EXPECT_EQ(t.Step(), 4);
    EXPECT_EQ(t.Delay(), 40);
    EXPECT_EQ(t.BgMode(), BackgroundMode::Tiled);
    EXPECT_TRUE(t.AutoSize());
    EXPECT_TRUE(t.OverDraw());
    EXPECT_TRUE(t.Threaded());
    EXPECT_FALSE(t.Manual() || t.Center() || t.Stretch() || t.StretchFine() || t.Reverse());
    EXPECT_EQ(t.Priority(), ThreadPriority::Normal);
    EXPECT_EQ(t.Width(), 100);
    EXPECT_EQ(t.Height(), 100);
    EXPECT_FALSE(t.Busy());
    EXPECT_EQ(t.Progress(), 0);

    t.SetStyleName("expand FROM bottom");
    EXPECT_EQ(t.Style(), 18);
    t.SetStyleName("cUSTOM");
    EXPECT_EQ(t.Style(), 0);
    EXPECT_EQ(t.StyleName(), "Custom");
    t.SetStyleName("no such effect");
    EXPECT_EQ(t.Style(), 0);
    t.SetStyle(151);
    EXPECT_EQ(t.Style(), 0);
    t.SetStyle(150);
    EXPECT_EQ(t.StyleName(), "Rotational star");
    t.SetStep(0);
    EXPECT_EQ(t.Step(), 1);
    t.SetStep(250);
    EXPECT_EQ(t.Step(), 100);
}

TEST(PicTransitProperties, AutoSizeFollowsThePicture) {
    Host host;
    TPicTransit& t = host.Add(std::make_unique<TPicTransit>());
    int changes = 0;
    t.OnChange = [&](TCustomPicTransit&) { ++changes; };
    t.SetPicture(gfx::MakeImage(120, 80, kRed));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(t.Width(), 120);
    EXPECT_EQ(t.Height(), 80);
    // Aligned to the top it keeps the width it is given.
    t.SetAlign(win::Align::Top);
    t.SetPicture(gfx::MakeImage(60, 50, kRed));
    EXPECT_EQ(t.Width(), 320);
    EXPECT_EQ(t.Height(), 50);
    // Filling its parent it keeps its size.
    t.SetAlign(win::Align::Client);
    t.SetPicture(gfx::MakeImage(30, 20, kRed));
    EXPECT_EQ(t.Width(), 320);
    EXPECT_EQ(t.Height(), 240);
    EXPECT_EQ(changes, 3);
}

TEST(PicTransitRun, ThreadedRunsToTheEndWithEventsInOrder) {
    Fixture f;
    f.pt->SetStep(25);
    f.pt->SetDelay(10);
    f.pt->SetStyle(5);
    f.pt->Execute(); // no picture: nothing
    EXPECT_FALSE(f.pt->Busy());
    f.pt->SetPicture(gfx::MakeImage(320, 240, kRed));
    f.pt->Execute();
    EXPECT_TRUE(f.pt->Busy());
    f.pt->Execute(); // while busy: nothing
    ASSERT_TRUE(PumpUntilIdle(*f.pt));
    EXPECT_EQ(f.Log(), "change start complete stop");
    EXPECT_EQ(f.progress, (std::vector<int>{25, 50, 75, 100}));
    // The first transition starts from the bare background.
    EXPECT_EQ(f.startFrame.pixels, gfx::MakeImage(320, 240, kGrey).pixels);
    EXPECT_EQ(f.pt->ScreenImage().pixels, f.pt->Picture().pixels);
    // What the window shows on screen.
    const gfx::Image shot = win::CaptureWindow(f.pt->Handle(), true);
    ASSERT_EQ(shot.width, 320);
    EXPECT_EQ(shot.At(0, 0) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(shot.At(319, 239) & 0xFFFFFF, kRed & 0xFFFFFF);
}

TEST(PicTransitRun, StopEndsAThreadedRunAtItsFrame) {
    Fixture f;
    f.pt->SetStep(1);
    f.pt->SetDelay(20);
    f.pt->SetStyle(5);
    f.pt->SetPicture(gfx::MakeImage(320, 240, kRed));
    f.pt->Execute();
    Pump(150);
    ASSERT_TRUE(f.pt->Busy());
    f.pt->Stop();
    EXPECT_FALSE(f.pt->Busy());
    EXPECT_EQ(f.Log(), "change start stop");
    const int at = f.pt->Progress();
    EXPECT_GT(at, 0);
    EXPECT_LT(at, 100);
    Pump(100);
    EXPECT_EQ(f.pt->Progress(), at);
    EXPECT_EQ(f.Log(), "change start stop");
    // The frame of that progress stays on display.
    const gfx::Image frame = f.pt->ScreenImage();
    const int x = 320 * at / 100;
    EXPECT_EQ(frame.At(x - 2, 5), kRed);
    EXPECT_EQ(frame.At(x + 2, 5), kGrey);
}

TEST(PicTransitRun, UnthreadedReturnsAtTheEnd) {
    Fixture f;
    f.pt->SetThreaded(false);
    f.pt->SetStep(30);
    f.pt->SetDelay(5);
    f.pt->SetReverse(true);
    f.pt->SetStyle(118);
    f.pt->SetPicture(gfx::MakeImage(320, 240, kRed));
    f.pt->Execute();
    EXPECT_FALSE(f.pt->Busy());
    EXPECT_EQ(f.progress, (std::vector<int>{70, 40, 10, 0}));
    EXPECT_EQ(f.Log(), "change start complete stop");
    // Run backwards, the last frame is the old one.
    EXPECT_EQ(f.pt->ScreenImage().pixels, gfx::MakeImage(320, 240, kGrey).pixels);
}

TEST(PicTransitRun, StopFromAMessageEndsAnUnthreadedRun) {
    Fixture f;
    f.pt->SetThreaded(false);
    f.pt->SetStep(1);
    f.pt->SetDelay(10);
    f.pt->SetPicture(gfx::MakeImage(320, 240, kRed));
    f.pt->StartTimer(60, [&] { f.pt->Stop(); });
    f.pt->Execute();
    EXPECT_FALSE(f.pt->Busy());
    EXPECT_EQ(f.Log(), "change start stop");
    EXPECT_LT(f.pt->Progress(), 100);
}

TEST(PicTransitRun, ManualFramesMatchTheEffect) {
    Fixture f;
    f.pt->SetManual(true);
    f.pt->SetStyle(60);
    gfx::Image pic = gfx::MakeImage(320, 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            pic.At(x, y) = 0xFF000000u | static_cast<uint32_t>(x << 8 | y);
    f.pt->SetPicture(pic);
    f.pt->Execute();
    EXPECT_TRUE(f.pt->Busy());
    EXPECT_EQ(f.pt->Progress(), 0);
    const gfx::Image old = f.startFrame;
    EXPECT_EQ(f.pt->ScreenImage().pixels, old.pixels); // nothing drawn yet
    for (int p : {37, 80, 100, 0}) {
        f.pt->SetProgress(p);
        gfx::Image want;
        ComposeFrame(60, old, pic, 4, p, want);
        EXPECT_EQ(f.pt->ScreenImage().pixels, want.pixels) << p;
        // Each frame is painted before SetProgress returns.
        const gfx::Image shown = win::CaptureWindow(f.pt->Handle(), true);
        ASSERT_EQ(shown.width, 320);
        EXPECT_EQ(shown.At(300, 0) & 0xFFFFFF, want.At(300, 0) & 0xFFFFFF) << p;
        EXPECT_EQ(shown.At(300, 7) & 0xFFFFFF, want.At(300, 7) & 0xFFFFFF) << p;
        KeepShot(shown, "pictransit-60-" + std::to_string(p));
    }
    f.pt->SetProgress(250);
    EXPECT_EQ(f.pt->Progress(), 100);
    Pump(30);
    // Reaching either end does not finish a manual run.
    EXPECT_TRUE(f.pt->Busy());
    EXPECT_EQ(f.Log(), "change start");
    // The window shows the frame.
    const gfx::Image shot = win::CaptureWindow(f.pt->Handle(), true);
    ASSERT_EQ(shot.width, 320);
    EXPECT_EQ(shot.At(100, 100) & 0xFFFFFF, pic.At(100, 100) & 0xFFFFFF);
    f.pt->Stop();
    EXPECT_EQ(f.Log(), "change start stop");
    EXPECT_FALSE(f.pt->Busy());
    // Not busy: setting the progress does nothing.
    f.pt->SetProgress(50);
    EXPECT_EQ(f.pt->Progress(), 100);
}

TEST(PicTransitRun, SwitchingManualFreezesAndResumes) {
    Fixture f;
    f.pt->SetStep(2);
    f.pt->SetDelay(10);
    f.pt->SetPicture(gfx::MakeImage(320, 240, kRed));
    f.pt->Execute();
    Pump(80);
    f.pt->SetManual(true);
    ASSERT_TRUE(f.pt->Busy());
    const int frozen = f.pt->Progress();
    Pump(80);
    EXPECT_EQ(f.pt->Progress(), frozen);
    f.pt->SetManual(false);
    ASSERT_TRUE(PumpUntilIdle(*f.pt));
    EXPECT_EQ(f.pt->Progress(), 100);
    EXPECT_EQ(f.Log(), "change start complete stop");
}

TEST(PicTransitRun, OverDrawStartsFromTheShownFrame) {
    Fixture f;
    f.pt->SetThreaded(false);
    f.pt->SetStep(50);
    f.pt->SetDelay(0);
    f.pt->SetPicture(gfx::MakeImage(320, 240, kRed));
    f.pt->Execute();
    Pump(20);
    f.pt->SetPicture(gfx::MakeImage(320, 240, kBlue));
    f.pt->Execute();
    EXPECT_EQ(f.startFrame.pixels, gfx::MakeImage(320, 240, kRed).pixels);
    Pump(20);
    f.pt->SetOverDraw(false);
    f.pt->SetPicture(gfx::MakeImage(320, 240, kRed));
    f.pt->Execute();
    EXPECT_EQ(f.startFrame.pixels, gfx::MakeImage(320, 240, kGrey).pixels);
}

TEST(PicTransitRun, CustomDrawingAndFrameEvents) {
    Fixture f;
    f.pt->SetManual(true);
    f.pt->SetStyle(0);
    std::vector<std::string> order;
    f.pt->OnBeforeNewFrame = [&](TCustomPicTransit&, gfx::Image&, gfx::Image&) {
        order.push_back("before");
    };
    f.pt->OnCustomDraw = [&](TCustomPicTransit& s, gfx::Image& pic, gfx::Image& screen) {
        order.push_back("draw");
        // Paints the top rows of the new picture, as far as the progress.
        for (int y = 0; y < screen.height * s.Progress() / 100; ++y)
            for (int x = 0; x < screen.width; ++x)
                screen.At(x, y) = pic.At(x, y);
    };
    f.pt->OnAfterNewFrame = [&](TCustomPicTransit&, gfx::Image&, gfx::Image&) {
        order.push_back("after");
    };
    f.pt->SetPicture(gfx::MakeImage(320, 240, kRed));
    f.pt->Execute();
    f.pt->SetProgress(50);
    const gfx::Image frame = f.pt->ScreenImage();
    EXPECT_EQ(frame.At(5, 119), kRed);
    EXPECT_EQ(frame.At(5, 120), kGrey);
    // At the ends the control draws the frame itself.
    f.pt->SetProgress(100);
    EXPECT_EQ(order, (std::vector<std::string>{"before", "draw", "after", "before", "after"}));
    f.pt->Stop();
}

TEST(PicTransitPlacement, CentredFrameAndClear) {
    Fixture f(300, 200);
    f.pt->SetThreaded(false);
    f.pt->SetDelay(0);
    f.pt->SetStep(100);
    f.pt->SetCenter(true);
    f.pt->SetPicture(gfx::MakeImage(100, 50, kRed));
    f.pt->Execute();
    EXPECT_EQ(f.pt->CurrentLayout().Placement(), (gfx::Rect{100, 75, 200, 125}));
    gfx::Image shot = f.pt->Snapshot();
    EXPECT_EQ(shot.At(100, 75) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(shot.At(199, 124) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(shot.At(99, 75) & 0xFFFFFF, kGrey & 0xFFFFFF);
    EXPECT_EQ(shot.At(200, 124) & 0xFFFFFF, kGrey & 0xFFFFFF);
    f.pt->Clear();
    EXPECT_TRUE(f.pt->ScreenImage().Empty());
    shot = f.pt->Snapshot();
    EXPECT_EQ(shot.At(150, 100) & 0xFFFFFF, kGrey & 0xFFFFFF);
}

TEST(PicTransitPlacement, StretchFineKeepsTheAspect) {
    Fixture f(300, 300);
    f.pt->SetThreaded(false);
    f.pt->SetDelay(0);
    f.pt->SetStep(100);
    f.pt->SetStretch(true);
    f.pt->SetStretchFine(true);
    f.pt->SetPicture(gfx::MakeImage(200, 100, kRed));
    f.pt->Execute();
    gfx::Image shot = f.pt->Snapshot();
    EXPECT_EQ(shot.At(0, 75) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(shot.At(299, 224) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(shot.At(150, 74) & 0xFFFFFF, kGrey & 0xFFFFFF);
    EXPECT_EQ(shot.At(150, 225) & 0xFFFFFF, kGrey & 0xFFFFFF);
    // Stretched without the aspect, the frame fills the client area.
    f.pt->SetStretchFine(false);
    shot = f.pt->Snapshot();
    EXPECT_EQ(shot.At(150, 5) & 0xFFFFFF, kRed & 0xFFFFFF);
}

TEST(PicTransitPlacement, TiledBackgroundUnderTheFrame) {
    Fixture f(200, 200);
    gfx::Image tile = gfx::MakeImage(64, 64, kBlue);
    tile.At(0, 0) = kRed;
    f.pt->SetBgPicture(tile);
    const gfx::Image shot = f.pt->Snapshot();
    for (int p : {0, 64, 128, 192})
        EXPECT_EQ(shot.At(p, p) & 0xFFFFFF, kRed & 0xFFFFFF) << p;
    EXPECT_EQ(shot.At(1, 1) & 0xFFFFFF, kBlue & 0xFFFFFF);
    f.pt->SetBgMode(BackgroundMode::None);
    EXPECT_EQ(f.pt->Snapshot().At(0, 0) & 0xFFFFFF, kGrey & 0xFFFFFF);
}

TEST(PicTransitLifetime, DestroyingTheWindowStopsTheRun) {
    auto host = std::make_unique<Host>();
    auto c = std::make_unique<TPicTransit>();
    std::vector<std::string> events;
    c->OnStop = [&](TCustomPicTransit&) { events.push_back("stop"); };
    c->OnComplete = [&](TCustomPicTransit&) { events.push_back("complete"); };
    c->SetStep(1);
    c->SetDelay(20);
    c->SetPicture(gfx::MakeImage(200, 100, kRed));
    TPicTransit& t = host->Add(std::move(c));
    t.Execute();
    Pump(60);
    ASSERT_TRUE(t.Busy());
    // The host's window goes before the control objects: the control's
    // window stops the run (OnStop) and waits for the thread first.
    host.reset();
    EXPECT_EQ(events, (std::vector<std::string>{"stop"}));
    Pump(20);
}

TEST(PicTransitLifetime, FreeingTheControlWhileRunning) {
    Host host;
    int events = 0;
    {
        TPicTransit t;
        t.OnStop = [&](TCustomPicTransit&) { ++events; };
        t.SetStep(1);
        t.SetDelay(20);
        t.SetPicture(gfx::MakeImage(100, 100, kRed));
        t.CreateAsChildOf(host.Handle());
        t.Execute();
        Pump(60);
        ASSERT_TRUE(t.Busy());
    }
    // Freed: the thread was stopped and no event was raised.
    EXPECT_EQ(events, 0);
    Pump(20);
}

TEST(PicTransitLifetime, ExecuteWithoutAWindowFails) {
    TPicTransit t;
    t.SetPicture(gfx::MakeImage(10, 10, kRed));
    EXPECT_THROW(t.Execute(), std::runtime_error);
    EXPECT_FALSE(t.Busy());
}

} // namespace
} // namespace orv::transitions
