// The four kinds that put outside content on a page: SlideShow (the
// pictures of a folder through animated transitions), MediaPlayer (a sound
// or video file through the platform's media control interface),
// FlashPlayer and Browser (the platform's Flash and web browser ActiveX
// controls, hosted when they can be created).
//
// Also the two entry points of the full-screen window of the ShowImage,
// LaunchMedia and LaunchSlideShow actions: a slide show or a media player
// filling a given parent, with a click callback.
#pragma once

#include "model/action_target.h"
#include "objects/aucontrol.h"
#include "transitions/pictransit.h"
#include "win/controls/control.h"

#include <ole2.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv::objects {

// ------------------------------------------------------------- bar parts

// The glyphs of the control-bar buttons: the five of the slide show (in
// the order of its buttons) and the media player's pause and stop.
enum class BarGlyph : uint8_t { Play, First, Previous, Next, Last, Pause, Stop };

// A small windowless speed button of a control bar. A toggle button flips
// its pressed state on every click; a push button is pressed only while
// the left button holds it. OnClick is raised after the flip.
class TBarButton : public win::GraphicControl {
public:
    TBarButton(BarGlyph glyph, bool toggle);

    BarGlyph Glyph() const { return glyph_; }
    bool Pressed() const { return pressed_; }
    void SetPressed(bool on);
    // Presses the button as a click of the user would (tests, keyboard).
    void Click() { DoClick(); }

    void Paint(const win::Canvas& canvas) override;
    void DoClick() override;
    void DoMouseDown(const win::MouseArgs& args) override;
    void DoMouseUp(const win::MouseArgs& args) override;
    void DoMouseLeave() override;

protected:
    void EnabledChanged() override { Invalidate(); }

private:
    BarGlyph glyph_;
    bool toggle_;
    bool pressed_ = false;
    bool holding_ = false;
};

// A lowered panel of a control bar showing one line of text.
class TBarPanel : public win::GraphicControl {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    void Paint(const win::Canvas& canvas) override;

private:
    std::string text_;
};

// A strip along the bottom of a box, in the 3D face colour.
class TControlBar : public win::WinControl {
public:
    TControlBar();
    // WM_HSCROLL of a slider on the bar: the slider's handle and the code.
    std::function<void(HWND slider, int code)> OnSlider;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// Raises the mouse events of an inner area (a picture or display area) as
// the owner's own events, and gives the area the owner's hint and cursor
// when the pointer enters it.
void ForwardAreaEvents(win::Control& area, win::Control& owner);

// ------------------------------------------------------------- SlideShow

// The settings a slide show runs with. The page object takes them from its
// record; the full-screen window gives them directly.
struct SlideShowSetup {
    std::string folder; // full path of the picture folder
    bool loop = true;
    int32_t style = 0; // 1..150, 0 a random transition per picture
    int32_t imageStyle = 3;
    int32_t step = 4;
    int32_t stepDelay = 50;
    int32_t interval = 2000; // ms from the end of one transition to the next
    int32_t backColor = 0;
};

class TAuSlideShow : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    static constexpr int kBarHeight = 21;
    static constexpr unsigned kFirstInterval = 1000;
    // The buttons by tag 1..5.
    enum Tag { kSlideShow = 1, kFirst, kPrevious, kNext, kLast };

    explicit TAuSlideShow(TAuObject& record);
    ~TAuSlideShow() override;

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    // Prepare mode: loads the work folder from the project folder.
    void StartPass(bool media) override;
    model::SlideShowProps& Props() { return Record()->As<model::SlideShowProps>(); }

    // Loads the pictures of WorkFolder joined with base; nothing when
    // WorkFolder is empty or the folder does not exist.
    void LoadWorkFolder(const std::string& base);
    // The same for a full folder path.
    void LoadFolder(const std::string& fullFolder);

    // The commands of the buttons and the actions.
    void SetPlay(bool on);
    void ShowFirst();
    void ShowPrevious();
    void ShowNext();
    void ShowLast();
    // Stops the timer and shows the picture at the current index.
    void ShowNextPicture();
    // The timer's work: shows the next picture when Play is on.
    void TimerTick();

    // Actions.
    void Media(model::MediaCommand command) override;
    void LoadFile(const std::string& workFolder) override;
    void SetBackColor(int32_t color) override;

    // State.
    const std::vector<std::string>& Files() const { return files_; }
    const std::string& Folder() const { return folder_; }
    int Index() const { return index_; }
    bool TimerRunning() const { return timer_ != 0; }
    unsigned TimerInterval() const { return interval_; }
    TBarButton& Button(int tag) const { return *buttons_[static_cast<size_t>(tag - 1)]; }
    const std::string& CounterText() const { return counter_->Text(); }
    const std::string& NameText() const { return name_->Text(); }
    transitions::TPicTransit& Transit() const { return *transit_; }
    TControlBar& Bar() const { return *bar_; }
    // The transition number of the last picture shown (0 before the first).
    int LastStyle() const { return lastStyle_; }

    // The full-screen window's set-up (no record behind it).
    void ApplySetup(const SlideShowSetup& setup);

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void Resized() override;

private:
    void ApplyProps();
    // Shows the picture at the current index; a damaged file is skipped
    // towards the previous pictures when backward, else the next ones.
    void ShowPicture(bool backward);
    void PrepareSlide(bool backward);
    void UpdateButtons(int shown);
    void StartTimer(unsigned ms);
    void StopTimerNow();
    void TransitStopped();

    transitions::TPicTransit* transit_ = nullptr;
    TControlBar* bar_ = nullptr;
    TBarButton* buttons_[5] = {};
    TBarPanel* counter_ = nullptr;
    TBarPanel* name_ = nullptr;

    std::string folder_;
    std::vector<std::string> files_;
    int index_ = 0;
    unsigned timer_ = 0;
    unsigned interval_ = kFirstInterval;
    int lastStyle_ = 0;
};

// ----------------------------------------------------------- MediaPlayer

// One open media file on the platform's media control interface. The
// device is chosen by the platform from the file. Positions are in the
// device's time format (milliseconds where it has one).
class MediaDevice {
public:
    enum class Mode { NotOpen, Stopped, Playing, Paused, Other };
    virtual ~MediaDevice() = default;
    // Opens the file; completion notices go to notifyWindow as
    // MM_MCINOTIFY. False on any error.
    virtual bool Open(const std::string& file, HWND notifyWindow) = 0;
    virtual void Close() = 0;
    // Plays from the current position, with a completion notice.
    virtual bool Play() = 0;
    virtual bool Pause() = 0;
    virtual bool Resume() = 0;
    virtual bool Stop() = 0;
    virtual bool Seek(int64_t position) = 0;
    virtual bool SeekToStart() = 0;
    virtual bool SeekToEnd() = 0;
    virtual bool Step(int frames) = 0;
    virtual Mode State() = 0;
    virtual int64_t Length() = 0;
    virtual int64_t Position() = 0;
    // Shows video in the window, in rect of its client area. False when
    // the device shows no video (sound files).
    virtual bool SetDisplay(HWND window, const RECT& rect) = 0;
};
std::unique_ptr<MediaDevice> MakeMciMediaDevice();
// Tests replace the platform's device; null restores it.
using MediaDeviceFactory = std::function<std::unique_ptr<MediaDevice>()>;
void SetMediaDeviceFactory(MediaDeviceFactory factory);

class TAuMediaPlayer : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    enum class BarButton { Play, Pause, Stop };
    static constexpr int kBarHeight = 22;  // the slider's height + 2
    static constexpr int kSliderLeft = 86; // right of the three buttons
    static constexpr unsigned kTickMs = 1000;

    explicit TAuMediaPlayer(TAuObject& record);
    ~TAuMediaPlayer() override;

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    // Media mode: opens the record's file from the project folder and
    // plays it when Play is on.
    void StartPass(bool media) override;
    model::MediaPlayerProps& Props() { return Record()->As<model::MediaPlayerProps>(); }

    // The full path of the open file; setting it opens the file.
    const std::string& Filename() const { return filename_; }
    void SetFilename(const std::string& path);
    void PlayMedia();

    // The user's button clicks and slider moves, and the timer's tick.
    void ButtonClicked(BarButton button);
    void SliderMoved(int64_t position);
    void TimerTick();
    // The device's completion notice.
    void MediaNotified();

    // Actions.
    void Media(model::MediaCommand command) override;
    void LoadFile(const std::string& path) override;

    // State.
    bool Ready() const { return ready_; }
    BarButton LastButton() const { return lastButton_; }
    bool ButtonEnabled(BarButton b) const;
    bool SliderEnabled() const;
    int64_t SliderPosition() const;
    int64_t SliderMax() const;
    HWND SliderHandle() const;
    MediaDevice* Device() const { return device_.get(); }
    win::WinControl& Display() const { return *display_; }
    TControlBar& Bar() const { return *bar_; }
    TBarButton& ButtonOf(BarButton b) const { return *buttons_[static_cast<int>(b)]; }

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void Resized() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    class Slider;
    void ApplyProps();
    void EnableOnly(bool play, bool pause, bool stop);
    void MoveSlider();
    void LayoutBar();
    void Fail();

    win::WinControl* display_ = nullptr;
    TControlBar* bar_ = nullptr;
    TBarButton* buttons_[3] = {};
    Slider* slider_ = nullptr;
    std::unique_ptr<MediaDevice> device_;
    std::string filename_;
    bool ready_ = false;
    bool updatingSlider_ = false;
    BarButton lastButton_ = BarButton::Stop;
    unsigned timer_ = 0;
};

// ------------------------------------------------- ActiveX hosting

// A minimal in-place container for one ActiveX control filling a window.
class OleSite {
public:
    // Creates the control of clsid and activates it in place in window,
    // over rect. Null when the platform has no such control or refuses.
    static std::unique_ptr<OleSite> Create(const CLSID& clsid, HWND window, const RECT& rect);
    ~OleSite();
    OleSite(const OleSite&) = delete;
    OleSite& operator=(const OleSite&) = delete;

    void Resize(const RECT& rect);
    // An interface of the control (AddRef'ed), or null.
    void* Query(const IID& iid) const;
    // Sets a property or calls a method by name through the control's
    // automation interface; false when it has no such member or fails.
    bool PutProperty(const wchar_t* name, VARIANT value);
    bool Call(const wchar_t* name);

private:
    class Site;
    OleSite() = default;
    Site* site_ = nullptr;
    IOleObject* object_ = nullptr;
};

// FlashPlayer: the Flash control when the platform has it registered,
// otherwise a notice that links to the player's download page.
class TAuFlashPlayer : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    static constexpr const char* kNotice =
        "Flash player is not installed.\r\nPlease click here to get it.";

    explicit TAuFlashPlayer(TAuObject& record);
    ~TAuFlashPlayer() override;

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    model::FlashPlayerProps& Props() { return Record()->As<model::FlashPlayerProps>(); }

    // Loads a movie (a full path) and plays it; nothing without the control.
    void LoadFile(const std::string& path) override;

    bool HasFlash() const;
    bool NoticeShown() const;
    // The movie given to the control last (empty before).
    const std::string& Movie() const { return movie_; }

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void Resized() override;
    void PaintBackground(const win::Canvas& canvas) override;

private:
    class Notice;
    void SetUp();
    void ApplyFlags();

    std::unique_ptr<OleSite> site_;
    Notice* notice_ = nullptr;
    std::string movie_;
    bool bevel_ = false;
};

// Browser: the platform's web browser control, created on the first
// navigation outside the design view. Where it cannot be created the box
// stays empty and keeps the last navigation target, which a later
// successful creation goes to.
class TAuBrowser : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuBrowser(TAuObject& record);
    ~TAuBrowser() override;

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    model::BrowserProps& Props() { return Record()->As<model::BrowserProps>(); }

    // Stores the location and, outside the design view, navigates to it.
    void SetLocation(const std::string& location);
    // The engine's navigation: the target as given (a full path or an
    // address), the project folder when empty.
    void LoadFile(const std::string& target) override;

    bool HasBrowser() const;
    // The last navigation target, and whether the browser has been given
    // it (false while it waits for a browser control).
    const std::string& Target() const { return target_; }
    bool TargetDelivered() const { return delivered_; }
    // The target the rule picks for a stored location.
    static std::string TargetFor(const std::string& location);

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void Resized() override;

private:
    void Navigate(const std::string& target);
    bool EnsureBrowser();

    std::unique_ptr<OleSite> site_;
    std::string target_;
    bool delivered_ = false;
    bool triedCreate_ = false;
};

// ------------------------------------------- the full-screen window's use

// A slide show filling parent (aligned to its client area) with the given
// settings, without control bar and border, Play on; its pictures are
// loaded from setup.folder and the first shows about a second later. A
// click anywhere on it calls onClick. The control belongs to parent; the
// returned reference lives as long as it.
TAuSlideShow& CreateFullSlideShow(win::WinControl& parent, const SlideShowSetup& setup,
                                  std::function<void()> onClick);

// A media player filling parent, without control bar and border, playing
// the file at fullPath at once (looping, the kind's default); a click on it
// calls onClick.
TAuMediaPlayer& CreateFullMediaPlayer(win::WinControl& parent, const std::string& fullPath,
                                      std::function<void()> onClick);

// Kind registration.
void AddMediaKinds(KindMakerTable& makers);

} // namespace orv::objects
