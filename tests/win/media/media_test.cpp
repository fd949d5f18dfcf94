// The media kinds under Wine: the slide show over a folder of pictures
// (order, navigation, skipping damaged files, looping, placement, the
// timer, the control bar and its events), the media player's state rules
// against a scripted device and against the platform's media control, the
// Flash and browser boxes where the platform has no such controls, and the
// full-screen window's entry points.
#include "base/fsys.h"
#include "base/random.h"
#include "gfx/codecs.h"
#include "objects/media.h"
#include "win/controls/page.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <set>

namespace orv::test {
namespace {

using objects::MediaDevice;
using objects::TAuBrowser;
using objects::TAuFlashPlayer;
using objects::TAuMediaPlayer;
using objects::TAuSlideShow;
using K = model::TAuObjectKind;
using C = model::MediaCommand;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = fsys::OpenFile(path, "wb");
    if (!f)
        return false;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return true;
}

// A project folder in the temporary folder with a sub-folder of pictures:
// a red PNG (100 x 50), a damaged JPEG, a green PNG and a blue BMP, plus a
// text file that is no picture.
class ProjectFolder {
public:
    ProjectFolder() {
        static int n = 0;
        root = fsys::TempFolder() + "\\orvmed" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++n);
        fsys::CreateDir(root);
        pictures = root + "\\pics";
        fsys::CreateDir(pictures);
        std::vector<uint8_t> bytes;
        gfx::EncodePng(gfx::MakeImage(100, 50, kRed), bytes);
        Put("1-red.png", bytes);
        Put("2-broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F', 0, 1});
        gfx::EncodePng(gfx::MakeImage(60, 40, kGreen), bytes);
        Put("3-green.PNG", bytes);
        gfx::EncodeBmp(gfx::MakeImage(40, 30, kBlue), bytes);
        Put("4-blue.bmp", bytes);
        Put("readme.txt", {'h', 'i'});
        objects::SetProjectFolder(root);
    }
    ~ProjectFolder() {
        for (const auto& f : made)
            fsys::RemoveFile(f);
        fsys::RemoveDir(pictures);
        fsys::RemoveDir(root);
        objects::SetProjectFolder("");
    }
    void Put(const std::string& name, const std::vector<uint8_t>& bytes, bool inPictures = true) {
        const std::string path = (inPictures ? pictures : root) + "\\" + name;
        WriteBytes(path, bytes);
        made.push_back(path);
    }

    std::string root, pictures;
    std::vector<std::string> made;
};

bool PumpUntil(const std::function<bool()>& done, int limitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Pump(10);
    }
    return true;
}

// ------------------------------------------------------------- SlideShow

class SlideShowTest : public ::testing::Test {
protected:
    // A slide show of 289 x 193 without border, so the picture area is
    // 289 x 172 above the bar.
    TAuSlideShow& Make(const std::function<void(model::SlideShowProps&)>& edit = nullptr) {
        rec = &page.Add(*page.root, K::SlideShow, "Show", 10, 10, 289, 193);
        auto& p = rec->As<model::SlideShowProps>();
        p.WorkFolder = "\\pics";
        p.Border = false;
        p.Settings.Step = 100; // one frame per transition
        p.Settings.StepDelay = 0;
        p.Settings.Style = 5;
        if (edit)
            edit(p);
        page.Build();
        return page.Ctl<TAuSlideShow>(*rec);
    }
    // Shows by a command and waits for the transition to end.
    void Run(TAuSlideShow& s, const std::function<void()>& command) {
        command();
        ASSERT_TRUE(PumpUntil([&] { return !s.Transit().Busy(); }, 5000));
    }
    static std::string Enabled(const TAuSlideShow& s) {
        std::string e;
        for (int tag = 1; tag <= 5; ++tag)
            e += s.Button(tag).Enabled() ? '1' : '0';
        return e;
    }

    ProjectFolder folder;
    TestPage page{400, 300};
    TAuObject* rec = nullptr;
};

TEST_F(SlideShowTest, LoadsThePicturesOfItsFolderInNameOrder) {
    TAuSlideShow& s = Make();
    EXPECT_TRUE(s.Files().empty());
    EXPECT_EQ(Enabled(s), "00000");
    objects::StartPass(*page.root, false);
    EXPECT_EQ(s.Files(),
              (std::vector<std::string>{"1-red.png", "2-broken.jpg", "3-green.PNG", "4-blue.bmp"}));
    EXPECT_EQ(s.Folder(), folder.pictures);
    // Nothing is shown yet; the buttons follow the first picture.
    EXPECT_EQ(s.CounterText(), "");
    EXPECT_EQ(Enabled(s), "10011");
    EXPECT_TRUE(s.Button(TAuSlideShow::kSlideShow).Pressed());
    // The bar's parts where they belong.
    EXPECT_EQ(s.Bar().Height(), 21);
    EXPECT_EQ(s.Transit().Height(), 172);
    EXPECT_EQ(s.Button(TAuSlideShow::kLast).Left(), 90);
    EXPECT_EQ(s.Button(TAuSlideShow::kLast).Hint(), "Last");
}

TEST_F(SlideShowTest, NavigatesSkipsDamagedFilesAndUpdatesTheBar) {
    TAuSlideShow& s = Make();
    objects::StartPass(*page.root, false);
    struct Step {
        const char* what;
        std::function<void()> run;
        const char* counter;
        const char* name;
        const char* buttons;
        uint32_t centre;
    };
    const std::vector<Step> steps = {
        {"next", [&] { s.ShowNext(); }, "1/4", "1-red", "10011", kRed},
        // The damaged JPEG is skipped: the next picture that decodes shows.
        {"next", [&] { s.ShowNext(); }, "3/4", "3-green", "11111", kGreen},
        // Back from the green picture: the damaged one is skipped backwards.
        {"previous", [&] { s.ShowPrevious(); }, "1/4", "1-red", "10011", kRed},
        {"previous on the first", [&] { s.ShowPrevious(); }, "1/4", "1-red", "10011", kRed},
        {"last", [&] { s.ShowLast(); }, "4/4", "4-blue", "11100", kBlue},
        {"first", [&] { s.ShowFirst(); }, "1/4", "1-red", "10011", kRed},
        {"bar button Last", [&] { s.Button(TAuSlideShow::kLast).Click(); }, "4/4", "4-blue",
         "11100", kBlue},
        {"bar button First", [&] { s.Button(TAuSlideShow::kFirst).Click(); }, "1/4", "1-red",
         "10011", kRed},
        {"command StepLast", [&] { s.Media(C::StepLast); }, "4/4", "4-blue", "11100", kBlue},
        {"command BackFirst", [&] { s.Media(C::BackFirst); }, "1/4", "1-red", "10011", kRed},
        {"command Next", [&] { s.Media(C::Next); }, "3/4", "3-green", "11111", kGreen},
        {"command Prev", [&] { s.Media(C::Prev); }, "1/4", "1-red", "10011", kRed},
    };
    for (const Step& st : steps) {
        Run(s, st.run);
        EXPECT_EQ(s.CounterText(), st.counter) << st.what;
        EXPECT_EQ(s.NameText(), st.name) << st.what;
        EXPECT_EQ(Enabled(s), st.buttons) << st.what;
        const gfx::Image shown = s.Transit().ScreenImage();
        ASSERT_FALSE(shown.Empty()) << st.what;
        EXPECT_EQ(shown.At(144, 86), st.centre) << st.what;
    }
}

TEST_F(SlideShowTest, WithoutLoopStopsAfterTheLastPictureAndNextStartsAgain) {
    TAuSlideShow& s = Make([](model::SlideShowProps& p) { p.Loop = false; });
    objects::StartPass(*page.root, false);
    Run(s, [&] { s.ShowLast(); });
    EXPECT_FALSE(s.Props().Play);
    EXPECT_FALSE(s.Button(TAuSlideShow::kSlideShow).Pressed());
    Run(s, [&] { s.ShowNext(); });
    EXPECT_EQ(s.CounterText(), "1/4");
    // With Loop on the last picture leaves the show playing.
    s.Props().Loop = true;
    s.SetPlay(true);
    Run(s, [&] { s.ShowLast(); });
    EXPECT_TRUE(s.Props().Play);
}

TEST_F(SlideShowTest, PlacesPicturesByImageStyleOnTheBackColour) {
    struct Case {
        int style;
        gfx::Rect red; // where the 100 x 50 picture lands in 289 x 172
    };
    const Case cases[] = {
        {0, {0, 0, 100, 50}},    {1, {94, 61, 194, 111}}, {2, {0, 0, 289, 172}},
        {3, {94, 61, 194, 111}}, {4, {0, 14, 289, 158}},
    };
    TAuSlideShow& s = Make([](model::SlideShowProps& p) { p.Settings.BackColor = 0x00808080; });
    objects::StartPass(*page.root, false);
    for (const Case& c : cases) {
        s.Props().Settings.ImageStyle = c.style;
        Run(s, [&] { s.ShowFirst(); });
        const gfx::Image& pic = s.Transit().Picture();
        ASSERT_EQ(pic.width, 289);
        ASSERT_EQ(pic.height, 172);
        const gfx::Rect& r = c.red;
        EXPECT_EQ(pic.At(r.left, r.top), kRed) << c.style;
        EXPECT_EQ(pic.At(r.right - 1, r.bottom - 1), kRed) << c.style;
        if (r.left > 0) {
            EXPECT_EQ(pic.At(r.left - 1, r.top), 0xFF808080u) << c.style;
        }
        if (r.bottom < 172) {
            EXPECT_EQ(pic.At(r.left, r.bottom), 0xFF808080u) << c.style;
        }
    }
    // A new back colour fills the next slide.
    s.SetBackColor(0x000000FF); // red in the stored colour convention
    s.Props().Settings.ImageStyle = 0;
    Run(s, [&] { s.ShowLast(); });
    EXPECT_EQ(s.Transit().Picture().At(200, 150), kRed);
    EXPECT_EQ(s.Transit().Picture().At(0, 0), kBlue);
}

TEST_F(SlideShowTest, StyleZeroDrawsATransitionPerPicture) {
    TAuSlideShow& s = Make([](model::SlideShowProps& p) { p.Settings.Style = 0; });
    objects::StartPass(*page.root, false);
    Random::Seed(12345);
    std::set<int> styles;
    for (int i = 0; i < 6; ++i) {
        Run(s, [&] { s.ShowNext(); });
        EXPECT_GE(s.LastStyle(), 1);
        EXPECT_LE(s.LastStyle(), 150);
        EXPECT_EQ(s.Transit().Style(), s.LastStyle());
        styles.insert(s.LastStyle());
    }
    EXPECT_GT(styles.size(), 1u);
    s.Props().Settings.Style = 42;
    Run(s, [&] { s.ShowNext(); });
    EXPECT_EQ(s.Transit().Style(), 42);
}

TEST_F(SlideShowTest, TheTimerAdvancesWhilePlayingOnly) {
    TAuSlideShow& s = Make([](model::SlideShowProps& p) { p.Settings.Interval = 150; });
    EXPECT_TRUE(s.TimerRunning());
    objects::StartPass(*page.root, false);
    // The first picture comes about a second after the page is shown.
    ASSERT_TRUE(PumpUntil([&] { return s.CounterText() == "1/4"; }, 3000));
    ASSERT_TRUE(PumpUntil([&] { return s.CounterText() == "3/4"; }, 3000));
    EXPECT_EQ(s.TimerInterval(), 150u);
    // Pause stops advancing; the "Slide Show" button follows.
    s.Media(C::Pause);
    EXPECT_FALSE(s.Button(TAuSlideShow::kSlideShow).Pressed());
    ASSERT_TRUE(PumpUntil([&] { return !s.Transit().Busy(); }, 3000));
    const std::string at = s.CounterText();
    Pump(500);
    EXPECT_EQ(s.CounterText(), at);
    // Toggling the button back on plays again.
    s.Button(TAuSlideShow::kSlideShow).Click();
    EXPECT_TRUE(s.Props().Play);
    ASSERT_TRUE(PumpUntil([&] { return s.CounterText() != at; }, 3000));
    s.Media(C::Stop);
    EXPECT_FALSE(s.Props().Play);
    s.Media(C::Play);
    EXPECT_TRUE(s.Props().Play);
}

TEST_F(SlideShowTest, AMissingOrEmptyFolderShowsNothing) {
    TAuSlideShow& s = Make([](model::SlideShowProps& p) { p.WorkFolder = "\\nothing here"; });
    objects::StartPass(*page.root, false);
    EXPECT_TRUE(s.Files().empty());
    s.ShowNext();
    s.TimerTick();
    EXPECT_FALSE(s.Transit().Busy());
    EXPECT_EQ(s.CounterText(), "");
    EXPECT_EQ(Enabled(s), "00000");
    // The engine's ObjectLoadFile names another folder, reloaded at once.
    s.LoadFile("\\pics");
    EXPECT_EQ(s.Files().size(), 4u);
    EXPECT_EQ(s.Props().WorkFolder, "\\pics");
    EXPECT_EQ(Enabled(s), "10011");
}

TEST_F(SlideShowTest, ThePictureAreaRaisesTheObjectsEventsAndTheBarCanGo) {
    TAuSlideShow& s = Make([](model::SlideShowProps& p) { p.ControlBar = false; });
    EXPECT_FALSE(s.Bar().Visible());
    EXPECT_EQ(s.Transit().Height(), 193);
    HWND area = s.Transit().Handle();
    SendMessageW(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(area, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(page.sink.Joined(), "Show down, Show click, Show up");
    // Clicks on the bar's buttons are the buttons' own.
    s.Props().ControlBar = true;
    s.PropertiesChanged();
    Pump(20);
    page.sink.lines.clear();
    s.Button(TAuSlideShow::kSlideShow).SetEnabled(true);
    s.Button(TAuSlideShow::kSlideShow).Click();
    EXPECT_EQ(page.sink.Joined(), "");
    EXPECT_FALSE(s.Props().Play);
}

TEST_F(SlideShowTest, Snapshot) {
    TAuSlideShow& s = Make([](model::SlideShowProps& p) {
        p.Border = true;
        p.Settings.ImageStyle = 4;
        p.Settings.BackColor = 0x00402000;
    });
    objects::StartPass(*page.root, false);
    Run(s, [&] { s.ShowNext(); });
    Pump(50);
    const gfx::Image shot = page.Ctl<objects::TAuPanel>(*page.root).Snapshot();
    KeepShot(shot, "media-slideshow");
    // The picture fills the area's width on the back colour, the bar's face
    // colour below (between the buttons and the counter; the box has a
    // two-pixel border).
    EXPECT_EQ(Rgb(shot, 10 + 150, 10 + 80), 0xFF0000u);
    EXPECT_EQ(Rgb(shot, 10 + 150, 10 + 2 + 5), 0x002040u);
    EXPECT_EQ(Rgb(shot, 10 + 2 + 113, 10 + 2 + 168 + 10), PixelOf(GetSysColor(COLOR_BTNFACE)));
    EXPECT_NE(Rgb(shot, 10 + 2 + 2 + 11, 10 + 2 + 168 + 1 + 9),
              PixelOf(GetSysColor(COLOR_BTNFACE)));
}

// ----------------------------------------------------------- MediaPlayer

// A scripted device: logs the calls, answers from the script.
struct Script {
    std::vector<std::string> calls;
    bool openOk = true;
    bool playOk = true;
    bool endsAtOnce = false; // playing stops at once (a sound file here)
    MediaDevice::Mode mode = MediaDevice::Mode::Stopped;
    int64_t length = 5000, position = 0;
    std::string Calls() const {
        std::string s;
        for (auto& c : calls)
            s += (s.empty() ? "" : " ") + c;
        return s;
    }
};

class FakeDevice : public MediaDevice {
public:
    explicit FakeDevice(Script& s) : s_(s) {}
    bool Open(const std::string& file, HWND) override {
        s_.calls.push_back("open " + file);
        return s_.openOk;
    }
    void Close() override { s_.calls.push_back("close"); }
    bool Play() override {
        s_.calls.push_back("play");
        s_.mode = s_.endsAtOnce ? Mode::Stopped : Mode::Playing;
        if (s_.endsAtOnce)
            s_.position = s_.length;
        return s_.playOk;
    }
    bool Pause() override {
        s_.calls.push_back("pause");
        s_.mode = Mode::Paused;
        return true;
    }
    bool Resume() override {
        s_.calls.push_back("resume");
        s_.mode = Mode::Playing;
        return true;
    }
    bool Stop() override {
        s_.calls.push_back("stop");
        s_.mode = Mode::Stopped;
        return true;
    }
    bool Seek(int64_t p) override {
        s_.calls.push_back("seek " + std::to_string(p));
        s_.position = p;
        return true;
    }
    bool SeekToStart() override {
        s_.calls.push_back("start");
        s_.position = 0;
        return true;
    }
    bool SeekToEnd() override {
        s_.calls.push_back("end");
        s_.position = s_.length;
        return true;
    }
    bool Step(int frames) override {
        s_.calls.push_back("step " + std::to_string(frames));
        return true;
    }
    Mode State() override { return s_.mode; }
    int64_t Length() override { return s_.length; }
    int64_t Position() override { return s_.position; }
    bool SetDisplay(HWND, const RECT&) override { return false; }

private:
    Script& s_;
};

class MediaPlayerTest : public ::testing::Test {
protected:
    MediaPlayerTest() {
        objects::SetMediaDeviceFactory([this] { return std::make_unique<FakeDevice>(script); });
    }
    ~MediaPlayerTest() override { objects::SetMediaDeviceFactory(nullptr); }

    TAuMediaPlayer& Make(const std::function<void(model::MediaPlayerProps&)>& edit = nullptr) {
        rec = &page.Add(*page.root, K::MediaPlayer, "Player", 10, 10, 289, 193);
        auto& p = rec->As<model::MediaPlayerProps>();
        p.FileName = "\\tune.wav";
        if (edit)
            edit(p);
        page.Build();
        return page.Ctl<TAuMediaPlayer>(*rec);
    }
    static std::string Enabled(const TAuMediaPlayer& m) {
        using B = TAuMediaPlayer::BarButton;
        return std::string(m.ButtonEnabled(B::Play) ? "1" : "0") +
               (m.ButtonEnabled(B::Pause) ? "1" : "0") + (m.ButtonEnabled(B::Stop) ? "1" : "0");
    }

    Script script;
    ProjectFolder folder;
    TestPage page{400, 300};
    TAuObject* rec = nullptr;
};

TEST_F(MediaPlayerTest, TheStartPassOpensTheJoinedFileAndPlaysWhenPlayIsOn) {
    TAuMediaPlayer& m = Make();
    EXPECT_EQ(Enabled(m), "000");
    EXPECT_FALSE(m.SliderEnabled());
    objects::StartPass(*page.root, false);
    EXPECT_TRUE(script.calls.empty());
    objects::StartPass(*page.root, true);
    EXPECT_EQ(m.Filename(), folder.root + "\\tune.wav");
    EXPECT_EQ(script.Calls(), "open " + folder.root + "\\tune.wav play");
    EXPECT_TRUE(m.Ready());
    EXPECT_TRUE(m.SliderEnabled());
    ASSERT_TRUE(IsWindow(m.SliderHandle()));
    EXPECT_TRUE(IsWindowEnabled(m.SliderHandle()));
    EXPECT_TRUE(IsWindowVisible(m.SliderHandle()));
    EXPECT_EQ(SendMessageW(m.SliderHandle(), TBM_GETRANGEMAX, 0, 0), 5000);
    EXPECT_EQ(m.SliderMax(), 5000);
    EXPECT_EQ(m.LastButton(), TAuMediaPlayer::BarButton::Play);
    EXPECT_EQ(Enabled(m), "011");
    EXPECT_EQ(m.Bar().Height(), 22);
    EXPECT_EQ(m.Display().Height(), 193 - 4 - 22);
    Pump(30);
    const gfx::Image shot = page.Ctl<objects::TAuPanel>(*page.root).Snapshot();
    KeepShot(shot, "media-player");
    // A black display area over the bar's face colour.
    EXPECT_EQ(Rgb(shot, 10 + 150, 10 + 80), 0u);
    EXPECT_EQ(Rgb(shot, 10 + 2 + 85, 10 + 2 + 167 + 11), PixelOf(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(MediaPlayerTest, WithPlayOffOrNoFileNothingPlays) {
    TAuMediaPlayer& m = Make([](model::MediaPlayerProps& p) { p.Play = false; });
    objects::StartPass(*page.root, true);
    EXPECT_EQ(script.Calls(), "open " + folder.root + "\\tune.wav");
    EXPECT_TRUE(m.Ready());
    m.Props().FileName.clear();
    script.calls.clear();
    objects::StartPass(*page.root, true);
    EXPECT_TRUE(script.calls.empty());
}

TEST_F(MediaPlayerTest, AFileThatDoesNotOpenTakesNoCommands) {
    script.openOk = false;
    TAuMediaPlayer& m = Make();
    objects::StartPass(*page.root, true);
    EXPECT_FALSE(m.Ready());
    script.calls.clear();
    for (C c : {C::Play, C::Pause, C::Next, C::Prev, C::BackFirst, C::StepLast})
        m.Media(c);
    m.PlayMedia();
    m.TimerTick();
    EXPECT_EQ(script.Calls(), "");
    EXPECT_EQ(Enabled(m), "000");
    // A play that fails leaves the player not ready.
    script.openOk = true;
    script.playOk = false;
    m.LoadFile(folder.root + "\\other.wav");
    EXPECT_FALSE(m.Ready());
}

TEST_F(MediaPlayerTest, LoopRestartsAtTheNextTickUntilTheStopCommand) {
    script.endsAtOnce = true;
    TAuMediaPlayer& m = Make();
    objects::StartPass(*page.root, true);
    script.calls.clear();
    // Ended: the tick enables only Play and, looping, plays from the start.
    m.TimerTick();
    EXPECT_EQ(script.Calls(), "start play");
    // The Stop command ends looping.
    m.Media(C::Stop);
    EXPECT_FALSE(m.Props().Loop);
    script.calls.clear();
    m.TimerTick();
    EXPECT_EQ(script.Calls(), "");
    EXPECT_EQ(Enabled(m), "100");
    // Without Loop a finished file stays finished.
    m.Media(C::Play);
    script.calls.clear();
    m.TimerTick();
    EXPECT_EQ(script.Calls(), "");
}

TEST_F(MediaPlayerTest, TheTimerRestartsALoopingFileByItself) {
    script.endsAtOnce = true;
    TAuMediaPlayer& m = Make();
    objects::StartPass(*page.root, true);
    script.calls.clear();
    ASSERT_TRUE(PumpUntil([&] { return !script.calls.empty(); }, 2500));
    EXPECT_EQ(script.Calls(), "start play");
    EXPECT_TRUE(m.Ready());
}

TEST_F(MediaPlayerTest, ButtonsSliderAndCommandsDriveTheDevice) {
    using B = TAuMediaPlayer::BarButton;
    TAuMediaPlayer& m = Make();
    objects::StartPass(*page.root, true);
    struct Step {
        const char* what;
        std::function<void()> run;
        const char* calls;
        const char* enabled;
    };
    const std::vector<Step> steps = {
        {"pause button", [&] { m.ButtonOf(B::Pause).Click(); }, "pause", "011"},
        {"pause button again resumes", [&] { m.ButtonOf(B::Pause).Click(); }, "resume", "011"},
        {"stop button", [&] { m.ButtonOf(B::Stop).Click(); }, "start stop", "100"},
        {"play button", [&] { m.ButtonOf(B::Play).Click(); }, "play", "011"},
        // The user drags the track bar: it tells the bar.
        {"slider drag",
         [&] {
             SendMessageW(m.SliderHandle(), TBM_SETPOS, TRUE, 2500);
             SendMessageW(m.Bar().Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 2500),
                          reinterpret_cast<LPARAM>(m.SliderHandle()));
         },
         "seek 2500 stop", "100"},
        {"command play", [&] { m.Media(C::Play); }, "play", "011"},
        {"command pause", [&] { m.Media(C::Pause); }, "pause", "011"},
        {"command pause resumes", [&] { m.Media(C::Pause); }, "resume", "011"},
        {"command prev", [&] { m.Media(C::Prev); }, "start", "011"},
        {"command next", [&] { m.Media(C::Next); }, "end", "011"},
        {"command back", [&] { m.Media(C::BackFirst); }, "step -1", "011"},
        {"command step", [&] { m.Media(C::StepLast); }, "step 1", "011"},
        // Play at the end starts from the beginning.
        {"command play at the end", [&] { m.Media(C::Play); }, "start play", "011"},
    };
    for (const Step& st : steps) {
        script.calls.clear();
        st.run();
        EXPECT_EQ(script.Calls(), st.calls) << st.what;
        EXPECT_EQ(Enabled(m), st.enabled) << st.what;
    }
    // After the slider the last button is Stop: looping does not restart.
    m.SliderMoved(100);
    EXPECT_EQ(m.LastButton(), B::Stop);
    EXPECT_EQ(m.SliderPosition(), 100);
    script.calls.clear();
    m.TimerTick();
    EXPECT_EQ(script.Calls(), "");
}

TEST_F(MediaPlayerTest, ThePlatformsMediaControlOpensASoundFile) {
    objects::SetMediaDeviceFactory(nullptr);
    // Half a second of 8 kHz mono silence.
    const uint32_t samples = 4000;
    std::vector<uint8_t> wav;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wav.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        wav.push_back(static_cast<uint8_t>(v));
        wav.push_back(static_cast<uint8_t>(v >> 8));
    };
    wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
    u32(36 + samples);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(8000);
    u16(1);
    u16(8);
    wav.insert(wav.end(), {'d', 'a', 't', 'a'});
    u32(samples);
    wav.insert(wav.end(), samples, 128);
    folder.Put("tune.wav", wav, false);

    TAuMediaPlayer& m = Make();
    objects::StartPass(*page.root, true);
    ASSERT_TRUE(m.Ready());
    EXPECT_EQ(m.SliderMax(), 500);
    EXPECT_EQ(m.LastButton(), TAuMediaPlayer::BarButton::Play);
    // Commands reach the device and change nothing they should not.
    m.Media(C::StepLast);
    m.Media(C::Stop);
    EXPECT_EQ(m.Device()->State(), MediaDevice::Mode::Stopped);
    EXPECT_EQ(Enabled(m), "100");
    m.SliderMoved(250);
    EXPECT_EQ(m.Device()->Position(), 250);
    // A file that is not there leaves the player not ready.
    m.LoadFile(folder.root + "\\missing.wav");
    EXPECT_FALSE(m.Ready());
    EXPECT_EQ(m.Filename(), folder.root + "\\missing.wav");
}

TEST_F(MediaPlayerTest, TheDisplayAreaRaisesTheObjectsEvents) {
    TAuMediaPlayer& m = Make([](model::MediaPlayerProps& p) {
        p.ControlBar = false;
        p.Border = false;
    });
    EXPECT_FALSE(m.Bar().Visible());
    EXPECT_EQ(m.Display().Height(), 193);
    HWND area = m.Display().Handle();
    SendMessageW(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(area, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(page.sink.Joined(), "Player down, Player click, Player up");
    const gfx::Image shot = page.Ctl<objects::TAuPanel>(*page.root).Snapshot();
    EXPECT_EQ(Rgb(shot, 100, 100), 0u);
}

// ------------------------------------------------------- Flash, Browser

TEST(FlashPlayer, WithoutTheControlShowsTheNoticeAndIgnoresCommands) {
    ProjectFolder folder;
    TestPage page(400, 300);
    TAuObject& rec = page.Add(*page.root, K::FlashPlayer, "Flash", 10, 10, 289, 193);
    rec.As<model::FlashPlayerProps>().FileName = "\\movie.swf";
    page.Build();
    auto& f = page.Ctl<TAuFlashPlayer>(rec);
    // This machine has no Flash control registered.
    ASSERT_FALSE(f.HasFlash());
    EXPECT_TRUE(f.NoticeShown());
    f.LoadFile(folder.root + "\\movie.swf");
    EXPECT_FALSE(f.HasFlash());
    Pump(30);
    const gfx::Image shot = page.Ctl<objects::TAuPanel>(*page.root).Snapshot();
    KeepShot(shot, "media-flash");
    // Blue text somewhere in the middle rows.
    int blue = 0;
    for (int y = 80; y < 130; ++y)
        for (int x = 20; x < 290; ++x)
            blue += Rgb(shot, x, y) == 0x0000FFu;
    EXPECT_GT(blue, 20);
}

TEST(FlashPlayer, InTheDesignViewIsAnEmptyBox) {
    TestPage page(400, 300, true);
    TAuObject& rec = page.Add(*page.root, K::FlashPlayer, "Flash", 10, 10, 289, 193);
    page.Build();
    auto& f = page.Ctl<TAuFlashPlayer>(rec);
    EXPECT_FALSE(f.HasFlash());
    EXPECT_FALSE(f.NoticeShown());
}

TEST(Browser, PicksItsTargetByTheNavigationRule) {
    ProjectFolder folder;
    folder.Put("index.htm", {'<', 'p', '>'});
    struct Case {
        std::string location, target;
    };
    const Case cases[] = {
        {"", folder.root},
        {"\\pics\\index.htm", folder.pictures + "\\index.htm"},
        {"pics", folder.pictures},
        {"https://example.org/", "https://example.org/"},
        {"\\no such page.htm", "\\no such page.htm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TAuBrowser::TargetFor(c.location), c.target) << c.location;
}

TEST(Browser, KeepsItsNavigationWhetherOrNotTheControlExists) {
    ProjectFolder folder;
    TestPage page(400, 300);
    TAuObject& rec = page.Add(*page.root, K::Browser, "Web", 10, 10, 289, 193);
    rec.As<model::BrowserProps>().Location = "pics";
    page.Build();
    auto& b = page.Ctl<TAuBrowser>(rec);
    EXPECT_EQ(b.Target(), folder.pictures);
    // Either the platform's browser took it, or it waits for one.
    EXPECT_EQ(b.TargetDelivered(), b.HasBrowser());
    b.LoadFile("https://example.org/");
    EXPECT_EQ(b.Target(), "https://example.org/");
    b.LoadFile("");
    EXPECT_EQ(b.Target(), folder.root);
    b.SetLocation("\\pics\\1-red.png");
    EXPECT_EQ(b.Target(), folder.pictures + "\\1-red.png");
    EXPECT_EQ(b.Props().Location, "\\pics\\1-red.png");
    std::printf("[ info ] web browser control %s\n", b.HasBrowser() ? "created" : "not available");
    Pump(100);
    KeepShot(page.Ctl<objects::TAuPanel>(*page.root).Snapshot(), "media-browser");
}

TEST(Browser, InTheDesignViewOnlyStoresTheLocation) {
    TestPage page(400, 300, true);
    TAuObject& rec = page.Add(*page.root, K::Browser, "Web", 10, 10, 289, 193);
    page.Build();
    auto& b = page.Ctl<TAuBrowser>(rec);
    b.SetLocation("https://example.org/");
    EXPECT_EQ(b.Props().Location, "https://example.org/");
    EXPECT_FALSE(b.HasBrowser());
    EXPECT_EQ(b.Target(), "");
}

// --------------------------------------------------- full-screen window

TEST(FullScreen, ASlideShowFillsItsParentAndPlays) {
    ProjectFolder folder;
    TopHost host(320, 240);
    objects::SlideShowSetup setup;
    setup.folder = folder.pictures;
    setup.loop = false;
    setup.style = 3;
    setup.step = 100;
    setup.stepDelay = 0;
    setup.interval = 100;
    setup.backColor = 0x00FF0000; // blue
    int clicks = 0;
    TAuSlideShow& s = objects::CreateFullSlideShow(host, setup, [&] { ++clicks; });
    Pump(20);
    EXPECT_EQ(s.Width(), 320);
    EXPECT_EQ(s.Height(), 240);
    EXPECT_FALSE(s.Bar().Visible());
    EXPECT_FALSE(GetWindowLongW(s.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(s.Files().size(), 4u);
    ASSERT_TRUE(PumpUntil([&] { return s.CounterText() == "4/4"; }, 6000));
    // Without loop the show ends on the last picture.
    EXPECT_FALSE(s.Props().Play);
    EXPECT_EQ(s.Transit().Picture().At(0, 0), kBlue);
    HWND area = s.Transit().Handle();
    SendMessageW(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(area, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST(FullScreen, AMediaPlayerFillsItsParentAndPlays) {
    Script script;
    objects::SetMediaDeviceFactory([&] { return std::make_unique<FakeDevice>(script); });
    TopHost host(320, 240);
    int clicks = 0;
    TAuMediaPlayer& m = objects::CreateFullMediaPlayer(host, "C:\\clips\\a.avi", [&] { ++clicks; });
    Pump(20);
    EXPECT_EQ(script.Calls(), "open C:\\clips\\a.avi play");
    EXPECT_TRUE(m.Ready());
    EXPECT_EQ(m.Width(), 320);
    EXPECT_FALSE(m.Bar().Visible());
    EXPECT_EQ(m.Display().Height(), 240);
    HWND area = m.Display().Handle();
    SendMessageW(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(area, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    host.DestroyChildren();
    objects::SetMediaDeviceFactory(nullptr);
}

} // namespace
} // namespace orv::test
