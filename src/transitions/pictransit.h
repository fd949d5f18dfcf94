// The picture transition control: a windowed control that shows one
// picture and changes to a new one through an animated transition. Every
// frame is composed afresh from a snapshot of what was on display when the
// transition started (the old frame) and the new picture, by the effect of
// Style (1..150) or, for Style 0, by the OnCustomDraw handler.
//
// Frames are computed on a worker thread (Threaded), in the caller's thread
// while it pumps messages (not Threaded: Execute returns at the end), or
// not at all until the caller sets Progress (Manual). The worker never
// composes a frame before the previous one has been painted, so the frame
// period is Delay or the paint time, whichever is longer.
//
// Windows only (included by *_win32.cpp files).
#pragma once

#include "gfx/codecs.h"
#include "transitions/effects.h"
#include "transitions/engine.h"
#include "win/controls/control.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace orv::transitions {

enum class ThreadPriority : uint8_t { Idle, Lowest, Lower, Normal, Higher, Highest, TimeCritical };

// The message the animation thread posts to the control when its body ends.
inline constexpr UINT kThreadFinishedMessage = WM_USER + 1;

class TCustomPicTransit;

// The worker of a threaded transition. Created suspended with the owner's
// priority, then resumed; the owner frees it when its finished message
// arrives.
class TAnimateThread {
public:
    explicit TAnimateThread(TCustomPicTransit& owner);
    ~TAnimateThread();
    TAnimateThread(const TAnimateThread&) = delete;
    TAnimateThread& operator=(const TAnimateThread&) = delete;

    // Creates the thread suspended; false when the platform refuses.
    bool Create(ThreadPriority priority);
    void Resume();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Started() const { return started_; }
    // Waits for the body to end, handling messages sent from other threads
    // meanwhile (the worker paints synchronously through them).
    void WaitFor();

private:
    static DWORD WINAPI Entry(LPVOID self);
    void Body();

    TCustomPicTransit& owner_;
    HWND window_;
    HANDLE handle_ = nullptr;
    std::atomic<bool> started_{false};
    std::atomic<bool> terminated_{false};
};

class TCustomPicTransit : public win::WinControl {
public:
    // Sender, the new picture, the frame (the old frame for OnStart).
    using CustomDrawEvent =
        std::function<void(TCustomPicTransit&, gfx::Image& picture, gfx::Image& screen)>;
    using Notify = std::function<void(TCustomPicTransit&)>;

    TCustomPicTransit();
    ~TCustomPicTransit() override;

    // ---- pictures
    const gfx::Image& Picture() const { return picture_; }
    // A change fires OnChange and, with AutoSize, resizes the control; it
    // starts no transition. An empty image clears the picture.
    void SetPicture(const gfx::Image& picture);
    void ClearPicture() { SetPicture(gfx::Image{}); }
    const gfx::Image& BgPicture() const { return bgPicture_; }
    void SetBgPicture(const gfx::Image& picture);
    BackgroundMode BgMode() const { return bgMode_; }
    void SetBgMode(BackgroundMode mode);

    // ---- placement
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Center() const { return center_; }
    void SetCenter(bool on);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool StretchFine() const { return stretchFine_; }
    void SetStretchFine(bool on);
    // The client area with the frame's placement (the frame has the size
    // of the picture of the last transition).
    Layout CurrentLayout() const;

    // ---- running
    bool OverDraw() const { return overDraw_; }
    void SetOverDraw(bool on) { overDraw_ = on; }
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool on) { threaded_ = on; }
    ThreadPriority Priority() const { return priority_; }
    void SetThreadPriority(ThreadPriority p) { priority_ = p; }
    bool Manual() const { return manual_; }
    void SetManual(bool on);
    int Style() const { return style_; }
    void SetStyle(int style);
    std::string StyleName() const { return std::string(EffectName(style_)); }
    void SetStyleName(const std::string& name);
    int Step() const { return step_; }
    void SetStep(int step) { step_ = ClampStep(step); }
    int Delay() const { return delay_; }
    void SetDelay(int ms) { delay_ = std::clamp(ms, 0, 0xFFFF); }
    bool Reverse() const { return reverse_; }
    void SetReverse(bool on) { reverse_ = on; }

    // ---- run-time state
    int Progress() const { return progress_; }
    // While Busy: composes and shows the frame for the value (above 100
    // counts as 100).
    void SetProgress(int value);
    bool Busy() const { return busy_; }
    // A copy of the frame on display (empty when none).
    gfx::Image ScreenImage() const;

    // Starts a transition from what is displayed to Picture. Nothing
    // without a picture or while Busy. Throws std::runtime_error when the
    // control has no window.
    virtual void Execute();
    // Ends a running transition at its current frame: OnStop, no OnComplete.
    virtual void Stop();
    // When idle, drops the frame so that only the background shows.
    virtual void Clear();

    CustomDrawEvent OnStart, OnBeforeNewFrame, OnAfterNewFrame, OnCustomDraw;
    Notify OnProgress, OnComplete, OnStop, OnChange;

protected:
    virtual void DoChange();
    virtual void DoProgress();
    virtual void DoCustomDraw(gfx::Image& picture, gfx::Image& screen);
    virtual void DoBeforeNewFrame(gfx::Image& picture, gfx::Image& screen);
    virtual void DoAfterNewFrame(gfx::Image& picture, gfx::Image& screen);
    virtual void DoComplete();
    virtual void DoStart(gfx::Image& picture, gfx::Image& screen);
    virtual void DoStop();

    void PaintBackground(const win::Canvas& canvas) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Resized() override;

private:
    friend class TAnimateThread;

    class Lock {
    public:
        explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
        ~Lock() { LeaveCriticalSection(&cs_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CRITICAL_SECTION& cs_;
    };

    uint32_t ColorArgb() const;
    Layout LayoutFor(int pw, int ph) const;
    void Prepare();
    void Animate();
    void AnimateInCaller();
    void ComposeFrame(int value);
    // One step of the worker: the next progress; true at the end.
    bool StepFrame();
    bool ShutdownThread();
    void ThreadFinished();
    void Finish();
    void ApplyAutoSize();
    void RepaintIfShown();
    void Repaint();

    gfx::Image picture_, bgPicture_;
    BackgroundMode bgMode_ = BackgroundMode::Tiled;
    bool autoSize_ = true, center_ = false, stretch_ = false, stretchFine_ = false;
    bool overDraw_ = true, threaded_ = true;
    std::atomic<bool> manual_{false};
    ThreadPriority priority_ = ThreadPriority::Normal;
    // Read by the animation thread while the caller may change them.
    std::atomic<int> style_{kDefaultStyle};
    std::atomic<int> step_{kDefaultStep};
    std::atomic<int> delay_{kDefaultDelay};
    std::atomic<bool> reverse_{false};

    std::atomic<int> progress_{0};
    std::atomic<bool> busy_{false};
    bool stopping_ = false, painting_ = false, backgroundDirty_ = true, destroying_ = false;

    // The frame shown, always the size of the picture of its transition.
    gfx::Image screen_;
    // The last painted client area (background and frame).
    gfx::Image backBuffer_;
    // Present only while Busy.
    gfx::Image oldFrame_, newPicture_;

    TAnimateThread* thread_ = nullptr;
    mutable CRITICAL_SECTION frameLock_;
    mutable CRITICAL_SECTION screenLock_;
    HANDLE framePainted_ = nullptr;
};

// The published control.
class TPicTransit : public TCustomPicTransit {};

} // namespace orv::transitions
