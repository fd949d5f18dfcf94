#include "transitions/pictransit.h"

#include "win/controls/drawing.h"

#include <stdexcept>

namespace orv::transitions {
namespace {

// The platform's window colour, as a stored system colour.
constexpr int32_t kWindowColor = static_cast<int32_t>(0xFF000005);

int PlatformPriority(ThreadPriority p) {
    switch (p) {
    case ThreadPriority::Idle:
        return THREAD_PRIORITY_IDLE;
    case ThreadPriority::Lowest:
        return THREAD_PRIORITY_LOWEST;
    case ThreadPriority::Lower:
        return THREAD_PRIORITY_BELOW_NORMAL;
    case ThreadPriority::Normal:
        return THREAD_PRIORITY_NORMAL;
    case ThreadPriority::Higher:
        return THREAD_PRIORITY_ABOVE_NORMAL;
    case ThreadPriority::Highest:
        return THREAD_PRIORITY_HIGHEST;
    case ThreadPriority::TimeCritical:
        return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

RECT ToRect(const gfx::Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

} // namespace

// ---------------------------------------------------------------- thread

TAnimateThread::TAnimateThread(TCustomPicTransit& owner) : owner_(owner), window_(owner.Handle()) {}

TAnimateThread::~TAnimateThread() {
    if (handle_) {
        WaitFor();
        CloseHandle(handle_);
    }
}

bool TAnimateThread::Create(ThreadPriority priority) {
    handle_ = CreateThread(nullptr, 0, &TAnimateThread::Entry, this, CREATE_SUSPENDED, nullptr);
    if (!handle_)
        return false;
    SetThreadPriority(handle_, PlatformPriority(priority));
    return true;
}

void TAnimateThread::Resume() {
    if (handle_)
        ResumeThread(handle_);
}

void TAnimateThread::WaitFor() {
    if (!handle_)
        return;
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjects(1, &handle_, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1)
            return;
        // Handles the messages sent to this thread's windows (the worker's
        // synchronous paint) and nothing else.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

DWORD WINAPI TAnimateThread::Entry(LPVOID self) {
    static_cast<TAnimateThread*>(self)->Body();
    return 0;
}

void TAnimateThread::Body() {
    started_ = true;
    try {
        while (!terminated_) {
            const DWORD t0 = GetTickCount();
            // Waits until the previous frame has been painted.
            WaitForSingleObject(owner_.framePainted_, INFINITE);
            if (terminated_)
                break;
            ResetEvent(owner_.framePainted_);
            if (owner_.StepFrame())
                terminated_ = true;
            if (terminated_)
                break;
            const auto rest = static_cast<int64_t>(owner_.delay_) + t0 - GetTickCount();
            if (rest >= 0)
                Sleep(static_cast<DWORD>(rest));
        }
    } catch (...) {
        // An error in a frame ends the animation; the owner finishes it.
    }
    PostMessageW(window_, kThreadFinishedMessage, 0, 0);
}

// ---------------------------------------------------------------- control

TCustomPicTransit::TCustomPicTransit() {
    InitializeCriticalSection(&frameLock_);
    InitializeCriticalSection(&screenLock_);
    framePainted_ = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    SetColor(kWindowColor);
    SetSize(100, 100);
}

TCustomPicTransit::~TCustomPicTransit() {
    destroying_ = true;
    try {
        Stop();
    } catch (...) {
    }
    // The window goes with the base class; it must not stop again then.
    DestroyHandle();
    CloseHandle(framePainted_);
    DeleteCriticalSection(&screenLock_);
    DeleteCriticalSection(&frameLock_);
}

uint32_t TCustomPicTransit::ColorArgb() const {
    const COLORREF c = win::ResolveColor(Color());
    return 0xFF000000u | static_cast<uint32_t>(GetRValue(c)) << 16 |
           static_cast<uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

Layout TCustomPicTransit::LayoutFor(int pw, int ph) const {
    Layout l;
    if (HasHandle()) {
        const RECT c = ClientArea();
        l.clientWidth = c.right - c.left;
        l.clientHeight = c.bottom - c.top;
    } else {
        l.clientWidth = Width();
        l.clientHeight = Height();
    }
    l.pictureWidth = pw;
    l.pictureHeight = ph;
    l.center = center_;
    l.stretch = stretch_;
    l.stretchFine = stretchFine_;
    return l;
}

Layout TCustomPicTransit::CurrentLayout() const {
    Lock lock(screenLock_);
    return LayoutFor(screen_.width, screen_.height);
}

gfx::Image TCustomPicTransit::ScreenImage() const {
    Lock lock(screenLock_);
    return screen_;
}

// ---- property setters

void TCustomPicTransit::SetPicture(const gfx::Image& picture) {
    picture_ = picture.Empty() ? gfx::Image{} : picture;
    DoChange();
    ApplyAutoSize();
}

void TCustomPicTransit::SetBgPicture(const gfx::Image& picture) {
    bgPicture_ = picture.Empty() ? gfx::Image{} : picture;
    if (bgMode_ != BackgroundMode::None)
        Repaint();
}

void TCustomPicTransit::SetBgMode(BackgroundMode mode) {
    if (mode == bgMode_)
        return;
    bgMode_ = mode;
    if (!bgPicture_.Empty())
        Repaint();
}

void TCustomPicTransit::SetAutoSize(bool on) {
    if (on == autoSize_)
        return;
    autoSize_ = on;
    ApplyAutoSize();
}

void TCustomPicTransit::SetCenter(bool on) {
    if (on == center_)
        return;
    center_ = on;
    RepaintIfShown();
}

void TCustomPicTransit::SetStretch(bool on) {
    if (on == stretch_)
        return;
    stretch_ = on;
    RepaintIfShown();
}

void TCustomPicTransit::SetStretchFine(bool on) {
    if (on == stretchFine_)
        return;
    stretchFine_ = on;
    RepaintIfShown();
}

void TCustomPicTransit::SetStyle(int style) {
    // All frames here are 32-bit images, so the pixel effects need no
    // change of format when they are chosen during a run.
    if (style < 0 || style > kEffectCount || style == style_)
        return;
    style_ = style;
}

void TCustomPicTransit::SetStyleName(const std::string& name) {
    const int style = FindStyleByName(name);
    if (style >= 0)
        SetStyle(style);
}

void TCustomPicTransit::SetManual(bool on) {
    manual_ = on;
    ShutdownThread();
    if (!busy_)
        progress_ = reverse_ ? 100 : 0;
    else if (!manual_)
        Animate();
}

void TCustomPicTransit::ApplyAutoSize() {
    if (!autoSize_ || picture_.Empty())
        return;
    const win::Align a = GetAlign();
    if (a == win::Align::Client)
        return;
    int w = Width(), h = Height();
    if (a != win::Align::Top && a != win::Align::Bottom)
        w = picture_.width;
    if (a != win::Align::Left && a != win::Align::Right)
        h = picture_.height;
    SetSize(w, h);
}

void TCustomPicTransit::RepaintIfShown() {
    bool shown;
    {
        Lock lock(screenLock_);
        shown = !screen_.Empty();
    }
    if (shown)
        Repaint();
}

void TCustomPicTransit::Repaint() {
    if (!painting_ && HasHandle())
        ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TCustomPicTransit::Resized() {
    RepaintIfShown();
}

// ---- events

void TCustomPicTransit::DoChange() {
    if (OnChange)
        OnChange(*this);
}
void TCustomPicTransit::DoProgress() {
    if (OnProgress)
        OnProgress(*this);
}
void TCustomPicTransit::DoCustomDraw(gfx::Image& picture, gfx::Image& screen) {
    if (OnCustomDraw)
        OnCustomDraw(*this, picture, screen);
}
void TCustomPicTransit::DoBeforeNewFrame(gfx::Image& picture, gfx::Image& screen) {
    if (OnBeforeNewFrame)
        OnBeforeNewFrame(*this, picture, screen);
}
void TCustomPicTransit::DoAfterNewFrame(gfx::Image& picture, gfx::Image& screen) {
    if (OnAfterNewFrame)
        OnAfterNewFrame(*this, picture, screen);
}
void TCustomPicTransit::DoComplete() {
    if (OnComplete)
        OnComplete(*this);
}
void TCustomPicTransit::DoStart(gfx::Image& picture, gfx::Image& screen) {
    if (OnStart)
        OnStart(*this, picture, screen);
}
void TCustomPicTransit::DoStop() {
    if (OnStop)
        OnStop(*this);
}

// ---- running a transition

void TCustomPicTransit::Execute() {
    if (picture_.Empty() || busy_)
        return;
    busy_ = true;
    try {
        if (!HasHandle())
            throw std::runtime_error("The transition control has no window.");
        Prepare();
        if (!manual_ && !stopping_)
            Animate();
    } catch (...) {
        oldFrame_ = gfx::Image{};
        newPicture_ = gfx::Image{};
        busy_ = false;
        throw;
    }
}

void TCustomPicTransit::Prepare() {
    const int pw = picture_.width, ph = picture_.height;
    const Layout layout = LayoutFor(pw, ph);
    const gfx::Rect source = layout.FrameArea();

    // What the client area shows now: the last painted back buffer, or the
    // bare background.
    const uint32_t color = ColorArgb();
    if (backgroundDirty_ || !overDraw_ || backBuffer_.width != layout.clientWidth ||
        backBuffer_.height != layout.clientHeight) {
        RenderDisplay(backBuffer_, layout, color, bgPicture_, bgMode_, gfx::Image{});
    }
    oldFrame_ = TakeOldFrame(backBuffer_, source, pw, ph, color);
    newPicture_ = picture_;
    {
        // The frame takes the picture's size and, until the first frame is
        // composed, shows the old frame, which is what was on display.
        Lock lock(screenLock_);
        screen_ = oldFrame_;
    }
    progress_ = reverse_ ? 100 : 0;
    DoStart(newPicture_, oldFrame_);
}

void TCustomPicTransit::Animate() {
    if (!threaded_) {
        AnimateInCaller();
        return;
    }
    auto* t = new TAnimateThread(*this);
    if (!t->Create(priority_)) {
        delete t;
        throw std::runtime_error("The animation thread could not be started.");
    }
    thread_ = t;
    t->Resume();
}

void TCustomPicTransit::AnimateInCaller() {
    const std::weak_ptr<char> life = LifeToken();
    bool quit = false;
    for (;;) {
        const DWORD t0 = GetTickCount();
        const bool end = StepFrame();
        if (life.expired())
            return;
        if (end && !manual_)
            break;
        // Handles messages until the frame's time is up or the transition
        // is stopped, frozen or gone.
        const auto delay = static_cast<DWORD>(delay_);
        while (!manual_ && !stopping_ && busy_) {
            const DWORD spent = GetTickCount() - t0;
            if (spent > delay)
                break;
            MSG msg;
            if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    // The application is closing: leave the message for the
                    // loop that ends it, and stop here.
                    PostQuitMessage(static_cast<int>(msg.wParam));
                    quit = true;
                    break;
                }
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                if (life.expired())
                    return;
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, delay - spent + 1, QS_ALLINPUT);
            }
        }
        if (quit || manual_ || stopping_ || !busy_)
            break;
    }
    if (quit) {
        Stop();
        return;
    }
    if (busy_ && (stopping_ || !manual_))
        Finish();
}

bool TCustomPicTransit::StepFrame() {
    const int next = NextProgress(progress_, step_, reverse_);
    SetProgress(next);
    return ProgressAtEnd(next, reverse_);
}

void TCustomPicTransit::SetProgress(int value) {
    value = std::min(std::max(value, 0), 100);
    if (!busy_ || value == progress_)
        return;
    {
        Lock frame(frameLock_);
        progress_ = value;
        gfx::Rect area;
        {
            Lock screen(screenLock_);
            screen_ = oldFrame_;
            DoBeforeNewFrame(newPicture_, screen_);
            const gfx::Rect r{0, 0, newPicture_.width, newPicture_.height};
            if (value == 100) {
                if (screen_.width == newPicture_.width && screen_.height == newPicture_.height)
                    screen_ = newPicture_;
            } else if (value > 0) {
                if (style_ == kCustomStyle)
                    DoCustomDraw(newPicture_, screen_);
                else
                    DrawEffect(style_, screen_, newPicture_, step_, value);
            }
            area = LayoutFor(r.Width(), r.Height()).MapToWindow(r);
            DoAfterNewFrame(newPicture_, screen_);
        }
        if (HasHandle() && !area.Empty()) {
            const RECT wr = ToRect(area);
            ::InvalidateRect(Handle(), &wr, FALSE);
        }
    }
    HWND hwnd = Handle();
    if (hwnd && GetUpdateRect(hwnd, nullptr, FALSE))
        UpdateWindow(hwnd);
    // Also after a synchronous paint: a window that is not visible takes no
    // paint, and the worker must not wait for one.
    SetEvent(framePainted_);
    DoProgress();
}

// ---- ending a transition

void TCustomPicTransit::Stop() {
    if (!busy_ || stopping_)
        return;
    stopping_ = true;
    try {
        if (manual_ || !ShutdownThread())
            Finish();
    } catch (...) {
        stopping_ = false;
        throw;
    }
    stopping_ = false;
}

bool TCustomPicTransit::ShutdownThread() {
    TAnimateThread* t = thread_;
    if (!t)
        return false;
    t->Terminate();
    SetEvent(framePainted_);
    t->WaitFor();
    HWND hwnd = Handle();
    if (t->Started() && hwnd) {
        // Its body has posted the finished message: handle exactly that.
        MSG msg;
        while (thread_ &&
               PeekMessageW(&msg, hwnd, kThreadFinishedMessage, kThreadFinishedMessage, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    if (thread_)
        ThreadFinished();
    return true;
}

void TCustomPicTransit::ThreadFinished() {
    TAnimateThread* t = thread_;
    if (!t)
        return;
    thread_ = nullptr;
    delete t;
    if (busy_ && (stopping_ || !manual_))
        Finish();
}

void TCustomPicTransit::Finish() {
    busy_ = false;
    newPicture_ = gfx::Image{};
    oldFrame_ = gfx::Image{};
    if (destroying_)
        return;
    const std::weak_ptr<char> life = LifeToken();
    if (!stopping_)
        DoComplete();
    if (life.expired())
        return;
    DoStop();
}

void TCustomPicTransit::Clear() {
    if (busy_)
        return;
    {
        Lock lock(screenLock_);
        if (screen_.Empty())
            return;
        screen_ = gfx::Image{};
    }
    Repaint();
}

// ---- painting

void TCustomPicTransit::PaintBackground(const win::Canvas& canvas) {
    const Layout layout = LayoutFor(0, 0);
    {
        Lock lock(screenLock_);
        Layout shown = layout;
        shown.pictureWidth = screen_.width;
        shown.pictureHeight = screen_.height;
        RenderDisplay(backBuffer_, shown, ColorArgb(), bgPicture_, bgMode_, screen_);
    }
    if (canvas.surface)
        canvas.surface->CopyIn(canvas.origin.x, canvas.origin.y, backBuffer_);
    backgroundDirty_ = false;
}

LRESULT TCustomPicTransit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        if (painting_) {
            // A paint while one is handled is dropped.
            ValidateRect(Handle(), nullptr);
            return 0;
        }
        painting_ = true;
        LRESULT r = 0;
        try {
            r = win::WinControl::HandleMessage(msg, wp, lp);
        } catch (...) {
            painting_ = false;
            SetEvent(framePainted_);
            throw;
        }
        painting_ = false;
        SetEvent(framePainted_);
        return r;
    }
    case kThreadFinishedMessage:
        ThreadFinished();
        return 0;
    case WM_DESTROY:
        Stop();
        break;
    default:
        break;
    }
    return win::WinControl::HandleMessage(msg, wp, lp);
}

} // namespace orv::transitions
