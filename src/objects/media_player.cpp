// MediaPlayer: a sound or video file on the platform's media control
// interface, with a bar of Play, Pause and Stop buttons and a position
// slider, and a black display area the video is shown in.
#include "objects/media.h"

#include "base/path.h"
#include "win/interact.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <atomic>

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 289, kDefaultHeight = 193;
constexpr int kButtonWidth = 28, kBarControlHeight = 20;
constexpr int kThumbLength = 15;

// ------------------------------------------------------------------- MCI

class MciMediaDevice : public MediaDevice {
public:
    MciMediaDevice() {
        static std::atomic<unsigned> next{1};
        alias_ = L"orvmedia" + std::to_wstring(next++);
    }
    ~MciMediaDevice() override { Close(); }

    bool Open(const std::string& file, HWND notifyWindow) override {
        Close();
        notify_ = notifyWindow;
        std::wstring name = win::Widen(file);
        // A quote would end the file name inside the command.
        if (name.empty() || name.find(L'"') != std::wstring::npos)
            return false;
        if (!Send(L"open \"" + name + L"\" alias " + alias_ + L" wait"))
            return false;
        open_ = true;
        // Milliseconds where the device knows time; devices without it keep
        // their own format.
        Send(L"set " + alias_ + L" time format milliseconds wait");
        return true;
    }

    void Close() override {
        if (open_)
            Send(L"close " + alias_ + L" wait");
        open_ = false;
    }

    bool Play() override { return open_ && Send(L"play " + alias_ + L" notify", notify_); }
    bool Pause() override { return open_ && Send(L"pause " + alias_ + L" wait"); }
    bool Resume() override { return open_ && Send(L"resume " + alias_ + L" wait"); }
    bool Stop() override { return open_ && Send(L"stop " + alias_ + L" wait"); }
    bool Seek(int64_t position) override {
        return open_ && Send(L"seek " + alias_ + L" to " +
                             std::to_wstring(std::max<int64_t>(position, 0)) + L" wait");
    }
    bool SeekToStart() override { return open_ && Send(L"seek " + alias_ + L" to start wait"); }
    bool SeekToEnd() override { return open_ && Send(L"seek " + alias_ + L" to end wait"); }
    bool Step(int frames) override {
        return open_ && Send(L"step " + alias_ + L" by " + std::to_wstring(frames) + L" wait");
    }

    Mode State() override {
        if (!open_)
            return Mode::NotOpen;
        std::wstring mode;
        if (!Query(L"status " + alias_ + L" mode wait", mode))
            return Mode::Other;
        if (mode == L"stopped")
            return Mode::Stopped;
        if (mode == L"playing")
            return Mode::Playing;
        if (mode == L"paused")
            return Mode::Paused;
        return Mode::Other;
    }

    int64_t Length() override { return Number(L"status " + alias_ + L" length wait"); }
    int64_t Position() override { return Number(L"status " + alias_ + L" position wait"); }

    bool SetDisplay(HWND window, const RECT& rect) override {
        if (!open_ || !window)
            return false;
        if (!Send(L"window " + alias_ + L" handle " +
                  std::to_wstring(reinterpret_cast<uintptr_t>(window)) + L" wait"))
            return false;
        return Send(L"put " + alias_ + L" destination at " + std::to_wstring(rect.left) + L" " +
                    std::to_wstring(rect.top) + L" " + std::to_wstring(rect.right - rect.left) +
                    L" " + std::to_wstring(rect.bottom - rect.top) + L" wait");
    }

private:
    bool Send(const std::wstring& command, HWND callback = nullptr) {
        return mciSendStringW(command.c_str(), nullptr, 0, callback) == 0;
    }
    bool Query(const std::wstring& command, std::wstring& answer) {
        wchar_t buffer[128] = {};
        if (mciSendStringW(command.c_str(), buffer, 128, nullptr) != 0)
            return false;
        answer = buffer;
        return true;
    }
    int64_t Number(const std::wstring& command) {
        std::wstring answer;
        if (!open_ || !Query(command, answer))
            return 0;
        int64_t v = 0;
        for (wchar_t c : answer) {
            if (c < L'0' || c > L'9')
                break;
            v = std::min<int64_t>(v * 10 + (c - L'0'), INT32_MAX);
        }
        return v;
    }

    std::wstring alias_;
    HWND notify_ = nullptr;
    bool open_ = false;
};

MediaDeviceFactory& FactorySlot() {
    static MediaDeviceFactory factory;
    return factory;
}

std::unique_ptr<MediaDevice> MakeDevice() {
    if (FactorySlot())
        return FactorySlot()();
    return MakeMciMediaDevice();
}

} // namespace

std::unique_ptr<MediaDevice> MakeMciMediaDevice() {
    return std::make_unique<MciMediaDevice>();
}

void SetMediaDeviceFactory(MediaDeviceFactory factory) {
    FactorySlot() = std::move(factory);
}

// ----------------------------------------------------------------- slider

// The platform's track bar: no tick marks, a 15 pixel thumb, no tab stop.
// Range and position are kept here as well, so they hold before the
// window exists.
class TAuMediaPlayer::Slider : public win::WinControl {
public:
    void SetRange(int64_t max, int64_t page) {
        max_ = static_cast<LPARAM>(std::clamp<int64_t>(max, 0, INT32_MAX));
        page_ = static_cast<LPARAM>(std::clamp<int64_t>(page, 1, INT32_MAX));
        if (HWND h = Handle()) {
            SendMessageW(h, TBM_SETRANGEMIN, FALSE, 0);
            SendMessageW(h, TBM_SETRANGEMAX, TRUE, max_);
            SendMessageW(h, TBM_SETPAGESIZE, 0, page_);
        }
    }
    void SetPos(int64_t pos) {
        pos_ = static_cast<LPARAM>(std::clamp<int64_t>(pos, 0, max_));
        if (HWND h = Handle())
            SendMessageW(h, TBM_SETPOS, TRUE, pos_);
    }
    int64_t Pos() const {
        if (HWND h = Handle())
            return SendMessageW(h, TBM_GETPOS, 0, 0);
        return pos_;
    }
    int64_t Max() const { return max_; }

protected:
    void FillCreateArgs(win::CreateArgs& args) override {
        // The track bar class is registered on first use.
        static const bool registered = [] {
            INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
            return InitCommonControlsEx(&icc) != FALSE;
        }();
        (void)registered;
        args.className = TRACKBAR_CLASSW;
        args.style |= TBS_HORZ | TBS_NOTICKS | TBS_FIXEDLENGTH;
        args.style &= ~static_cast<DWORD>(WS_TABSTOP);
    }
    void HandleCreated() override {
        SendMessageW(Handle(), TBM_SETTHUMBLENGTH, kThumbLength, 0);
        SetRange(max_, page_);
        SetPos(pos_);
    }

private:
    LPARAM max_ = 0, page_ = 1, pos_ = 0;
};

// ---------------------------------------------------------- the player

TAuMediaPlayer::TAuMediaPlayer(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, kDefaultHeight);
    SetColor(0); // black

    auto bar = std::make_unique<TControlBar>();
    bar->SetBounds(0, kDefaultHeight - kBarHeight, kDefaultWidth, kBarHeight);
    bar->SetAlign(win::Align::Bottom);
    bar_ = &Add(std::move(bar));
    const BarGlyph glyphs[3] = {BarGlyph::Play, BarGlyph::Pause, BarGlyph::Stop};
    const char* hints[3] = {"Play", "Pause", "Stop"};
    for (int i = 0; i < 3; ++i) {
        auto b = std::make_unique<TBarButton>(glyphs[i], false);
        b->SetBounds(i * kButtonWidth, 1, kButtonWidth, kBarControlHeight);
        b->SetHint(hints[i]);
        b->SetEnabled(false);
        const auto which = static_cast<BarButton>(i);
        b->OnClick = [this, which](win::Control&) { ButtonClicked(which); };
        buttons_[i] = &bar_->Add(std::move(b));
    }
    auto slider = std::make_unique<Slider>();
    slider->SetBounds(kSliderLeft, 1, std::max(kDefaultWidth - kSliderLeft - 1, 1),
                      kBarControlHeight);
    slider->SetEnabled(false);
    slider_ = &bar_->Add(std::move(slider));
    bar_->OnSlider = [this](HWND, int code) {
        if (code == TB_ENDTRACK || updatingSlider_)
            return;
        SliderMoved(slider_->Pos());
    };

    auto display = std::make_unique<win::WinControl>();
    display->SetColor(0);
    display->SetAlign(win::Align::Client);
    display->SetBounds(0, 0, kDefaultWidth, kDefaultHeight - kBarHeight);
    display_ = &Add(std::move(display));
    ForwardAreaEvents(*display_, *this);

    ApplyProps();
}

TAuMediaPlayer::~TAuMediaPlayer() {
    if (timer_)
        StopTimer(timer_);
    if (device_) {
        device_->Stop();
        device_->Close();
    }
}

void TAuMediaPlayer::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuMediaPlayer::FillCreateArgs(win::CreateArgs& args) {
    if (Props().Border)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuMediaPlayer::HandleCreated() {
    // The one-second timer runs from creation.
    if (!timer_)
        timer_ = StartTimer(kTickMs, [this] { TimerTick(); });
}

LRESULT TAuMediaPlayer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == MM_MCINOTIFY) {
        MediaNotified();
        return 0;
    }
    return TAuKind::HandleMessage(msg, wp, lp);
}

void TAuMediaPlayer::ApplyProps() {
    const model::MediaPlayerProps& p = Props();
    bar_->SetVisible(p.ControlBar);
    if (HWND h = Handle()) {
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        const LONG want = p.Border ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
        if (want != ex) {
            SetWindowLongW(h, GWL_EXSTYLE, want);
            SetWindowPos(h, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
        }
    }
}

void TAuMediaPlayer::PropertiesChanged() {
    ApplyProps();
    Invalidate();
}

void TAuMediaPlayer::LayoutBar() {
    if (!bar_ || !slider_)
        return;
    slider_->SetSize(std::max(bar_->Width() - kSliderLeft - 1, 1), kBarControlHeight);
}

void TAuMediaPlayer::Resized() {
    LayoutBar();
    if (ready_ && device_ && display_ && display_->Handle())
        device_->SetDisplay(display_->Handle(), display_->ClientArea());
}

void TAuMediaPlayer::StartPass(bool media) {
    if (!media || Props().FileName.empty())
        return;
    // Video cannot be shown in a layered window: the page window's alpha
    // blending goes off before the file opens.
    if (HWND h = Handle()) {
        HWND top = GetAncestor(h, GA_ROOT);
        const LONG ex = GetWindowLongW(top, GWL_EXSTYLE);
        if (ex & WS_EX_LAYERED)
            SetWindowLongW(top, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    }
    SetFilename(MakeProjectPath(ProjectFolder(), Props().FileName));
    if (Props().Play)
        PlayMedia();
}

void TAuMediaPlayer::Fail() {
    ready_ = false;
}

void TAuMediaPlayer::SetFilename(const std::string& path) {
    filename_ = path;
    if (device_) {
        device_->Close();
        device_.reset();
    }
    ready_ = false;
    if (path.empty())
        return;
    device_ = MakeDevice();
    if (!device_ || !device_->Open(path, Handle()))
        return Fail();
    slider_->SetEnabled(true);
    // Sound files have no video: the display rectangle is only for video.
    if (display_->Handle())
        device_->SetDisplay(display_->Handle(), display_->ClientArea());
    const int64_t length = device_->Length();
    updatingSlider_ = true;
    slider_->SetRange(length, std::max<int64_t>(length / 10, 1));
    slider_->SetPos(0);
    updatingSlider_ = false;
    ready_ = true;
}

void TAuMediaPlayer::EnableOnly(bool play, bool pause, bool stop) {
    buttons_[0]->SetEnabled(play);
    buttons_[1]->SetEnabled(pause);
    buttons_[2]->SetEnabled(stop);
}

bool TAuMediaPlayer::ButtonEnabled(BarButton b) const {
    return buttons_[static_cast<int>(b)]->Enabled();
}

bool TAuMediaPlayer::SliderEnabled() const {
    return slider_->Enabled();
}

int64_t TAuMediaPlayer::SliderPosition() const {
    return slider_->Pos();
}

HWND TAuMediaPlayer::SliderHandle() const {
    return slider_->Handle();
}

int64_t TAuMediaPlayer::SliderMax() const {
    return slider_->Max();
}

void TAuMediaPlayer::MoveSlider() {
    if (!device_)
        return;
    updatingSlider_ = true;
    slider_->SetPos(device_->Position());
    updatingSlider_ = false;
}

void TAuMediaPlayer::PlayMedia() {
    if (!ready_ || filename_.empty() || !device_)
        return;
    // At the end the file starts again from the beginning.
    const int64_t length = device_->Length();
    if (length > 0 && device_->Position() >= length)
        device_->SeekToStart();
    if (!device_->Play())
        return Fail();
    lastButton_ = BarButton::Play;
    EnableOnly(false, true, true);
    MoveSlider();
}

void TAuMediaPlayer::ButtonClicked(BarButton button) {
    if (!device_)
        return;
    lastButton_ = button;
    if (button == BarButton::Stop) {
        device_->SeekToStart();
        EnableOnly(true, false, false);
    } else {
        EnableOnly(false, true, true);
    }
    MoveSlider();
    // Then the button's own work.
    switch (button) {
    case BarButton::Play: {
        const int64_t length = device_->Length();
        if (length > 0 && device_->Position() >= length)
            device_->SeekToStart();
        device_->Play();
        break;
    }
    case BarButton::Pause:
        if (device_->State() == MediaDevice::Mode::Paused)
            device_->Resume();
        else
            device_->Pause();
        break;
    case BarButton::Stop:
        device_->Stop();
        break;
    }
}

void TAuMediaPlayer::SliderMoved(int64_t position) {
    if (!device_)
        return;
    device_->Seek(position);
    device_->Stop();
    lastButton_ = BarButton::Stop;
    EnableOnly(true, false, false);
    MoveSlider();
}

void TAuMediaPlayer::MediaNotified() {
    if (!device_)
        return;
    if (device_->State() == MediaDevice::Mode::Stopped)
        EnableOnly(true, false, false);
    MoveSlider();
}

void TAuMediaPlayer::TimerTick() {
    if (!ready_ || !device_)
        return;
    MoveSlider();
    const bool stopped = device_->State() == MediaDevice::Mode::Stopped;
    if (stopped)
        EnableOnly(true, false, false);
    if (Props().Loop && stopped && lastButton_ != BarButton::Stop)
        PlayMedia();
}

void TAuMediaPlayer::Media(model::MediaCommand command) {
    using C = model::MediaCommand;
    if (command == C::Stop)
        Props().Loop = false;
    // A file that did not open takes no commands.
    if (!ready_ || !device_)
        return;
    switch (command) {
    case C::Play:
        PlayMedia();
        break;
    case C::Pause:
        if (device_->State() == MediaDevice::Mode::Paused)
            device_->Resume();
        else if (device_->State() == MediaDevice::Mode::Playing)
            device_->Pause();
        break;
    case C::Stop:
        device_->Stop();
        lastButton_ = BarButton::Stop;
        EnableOnly(true, false, false);
        break;
    case C::Prev:
        device_->SeekToStart();
        break;
    case C::Next:
        device_->SeekToEnd();
        break;
    case C::BackFirst:
        device_->Step(-1);
        break;
    case C::StepLast:
        device_->Step(1);
        break;
    }
    MoveSlider();
}

void TAuMediaPlayer::LoadFile(const std::string& path) {
    SetFilename(path);
    PlayMedia();
}

} // namespace orv::objects
