// The hidden shared form: three background sound channels that keep
// playing across pages, and the stock pictures of the notes. Start-up
// creates it once and frees it at the end of the run.
#pragma once

#include "gfx/codecs.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// The platform's multimedia header maps PlaySound to its own function; the
// name here is ours.
#ifdef PlaySound
#undef PlaySound
#endif

namespace orv::objects {

// One media player of a channel: opens a file by name with the device the
// platform picks for it.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    virtual bool Open(const std::string& file) = 0;
    // Plays from the start.
    virtual bool Play() = 0;
    virtual bool IsPlaying() = 0;
    virtual bool IsStopped() = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
};
// The platform's media control interface.
std::unique_ptr<SoundDevice> MakeMciSoundDevice();

class TGeneralForm {
public:
    static constexpr int kChannelCount = 3;
    static constexpr unsigned kLoopIntervalMs = 1000;
    using DeviceFactory = std::function<std::unique_ptr<SoundDevice>()>;

    explicit TGeneralForm(DeviceFactory makeDevice = MakeMciSoundDevice);
    ~TGeneralForm();
    TGeneralForm(const TGeneralForm&) = delete;
    TGeneralForm& operator=(const TGeneralForm&) = delete;

    // Channels 0..2; other numbers are ignored. file is a full path. Errors
    // are swallowed: a missing file or a failed open leaves the channel
    // silent and unloaded.
    void PlaySound(int channel, const std::string& file, bool loop);
    void StopSound(int channel);
    void StopAllSounds();
    // The one-second tick: restarts every loaded, looping channel whose
    // player has stopped.
    void LoopTick();

    bool Loaded(int channel) const;
    bool Looping(int channel) const;

    // Stock pictures of the notes: five binder rings (60 x 37) and a clip
    // (70 x 33), with alpha.
    const gfx::Image& BindPicture() const { return bind_; }
    const gfx::Image& PadPicture() const { return pad_; }

    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    struct Channel {
        std::unique_ptr<SoundDevice> device;
        bool loaded = false;
        bool loop = false;
    };
    DeviceFactory makeDevice_;
    Channel channels_[kChannelCount];
    gfx::Image bind_, pad_;
    HWND hwnd_ = nullptr;
};

// The process's shared form: created by start-up, null before and after.
TGeneralForm* GeneralForm();
TGeneralForm& CreateGeneralForm();
void FreeGeneralForm();

// The stock pictures, drawn in code.
gfx::Image MakeBindPicture();
gfx::Image MakePadPicture();

} // namespace orv::objects
