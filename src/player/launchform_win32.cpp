#include "player/launchform.h"

#include "base/fsys.h"
#include "model/values.h"
#include "objects/media.h"
#include "player/action_params.h"
#include "player/file_actions.h"
#include "win/controls/control.h"
#include "win/controls/drawing.h"
#include "win/interact.h"

#include <mmsystem.h>
#include <windows.h>

#include <cstdint>

namespace orv::player {

namespace {

// Pictures are read whole; anything larger than this is not a picture a
// menu shows.
constexpr int64_t kMaxPictureFile = 256LL * 1024 * 1024;

class TLaunchSlideShowForm : public win::WinControl {
public:
    TLaunchSlideShowForm() { SetColor(0x00000000); }

    win::Picture picture;
    bool closed = false;

protected:
    void PaintBackground(const win::Canvas& canvas) override {
        RECT all = ClientArea();
        FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (picture.Empty())
            return;
        FitRect fit = ShrinkToFit(all.right, all.bottom, picture.Width(), picture.Height());
        RECT r{fit.left, fit.top, fit.left + fit.width, fit.top + fit.height};
        picture.Draw(canvas.dc, r);
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_CLOSE:
            closed = true;
            return 0;
        default:
            return WinControl::HandleMessage(msg, wp, lp);
        }
    }
};

TLaunchSlideShowForm* g_shown = nullptr;

bool ReadPicture(const std::string& file, model::TPicture& picture) {
    std::vector<uint8_t> bytes;
    return fsys::ReadFileBytes(file, kMaxPictureFile, bytes) &&
           model::PictureFromFileBytes(std::move(bytes), picture);
}

} // namespace

void* FullScreenWindowHandle() {
    return g_shown ? g_shown->Handle() : nullptr;
}

namespace {

// Runs the window modally over the screen until it is closed.
void RunFullScreen(TLaunchSlideShowForm& form) {
    HWND owner = GetActiveWindow();
    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(form.Handle(), SW_SHOW);
    SetForegroundWindow(form.Handle());
    SetFocus(form.Handle());
    TLaunchSlideShowForm* outer = g_shown;
    g_shown = &form;
    MSG m;
    while (!form.closed) {
        int r = GetMessageW(&m, nullptr, 0, 0);
        if (r <= 0) {
            PostQuitMessage(r == 0 ? static_cast<int>(m.wParam) : 0);
            break;
        }
        // A key pressed anywhere while the window is up closes it.
        if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) &&
            GetAncestor(m.hwnd, GA_ROOT) == form.Handle()) {
            form.closed = true;
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    g_shown = outer;
    if (owner) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
}

bool CreateFullScreen(TLaunchSlideShowForm& form) {
    form.SetBounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return form.CreateTopLevel(WS_POPUP, WS_EX_TOPMOST, GetActiveWindow(), L"Orvexa show");
}

// The slide show's music on a device of its own; every failure is ignored
// and the show runs without it.
class Music {
public:
    explicit Music(const std::string& file) {
        if (file.empty() || !fsys::FileExists(file) || file.find('"') != std::string::npos)
            return;
        std::wstring open = L"open \"" + win::Widen(file) + L"\" alias orvexa_show_music";
        if (mciSendStringW(open.c_str(), nullptr, 0, nullptr) != 0)
            return;
        open_ = true;
        mciSendStringW(L"play orvexa_show_music", nullptr, 0, nullptr);
    }
    ~Music() {
        if (open_)
            mciSendStringW(L"close orvexa_show_music", nullptr, 0, nullptr);
    }
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

private:
    bool open_ = false;
};

} // namespace

bool ShowImageFullScreen(const std::string& file) {
    if (file.empty() || !fsys::FileExists(file))
        return false;
    model::TPicture stored;
    if (!ReadPicture(file, stored))
        return false;
    TLaunchSlideShowForm form;
    if (!form.picture.Assign(stored))
        return false;

    if (!CreateFullScreen(form))
        return false;
    RunFullScreen(form);
    return true;
}

bool PlayMediaFullScreen(const std::string& file) {
    if (file.empty() || !fsys::FileExists(file))
        return false;
    TLaunchSlideShowForm form;
    if (!CreateFullScreen(form))
        return false;
    objects::CreateFullMediaPlayer(form, file, [&form] { form.closed = true; });
    RunFullScreen(form);
    return true;
}

bool RunSlideShowFullScreen(const std::string& settings, const std::string& projectFolder) {
    SlideShowSettings s;
    if (ParseSlideShowSettings(settings, s) != ParamParse::Ok) // throws on a malformed number
        return false;
    objects::SlideShowSetup setup;
    setup.folder = JoinActionPath(projectFolder, s.folder);
    if (!fsys::DirectoryExists(setup.folder))
        return false;
    setup.loop = s.loop;
    setup.style = s.style;
    setup.imageStyle = s.imageStyle;
    setup.step = s.step;
    setup.stepDelay = s.stepDelay;
    // Stored in seconds; values beyond what milliseconds can hold are held
    // at the ends.
    setup.interval = s.interval <= 0                 ? 0
                     : s.interval > INT32_MAX / 1000 ? INT32_MAX
                                                     : s.interval * 1000;
    setup.backColor = s.backColor;
    TLaunchSlideShowForm form;
    if (!CreateFullScreen(form))
        return false;
    objects::CreateFullSlideShow(form, setup, [&form] { form.closed = true; });
    Music music(s.music.empty() ? "" : JoinActionPath(projectFolder, s.music));
    RunFullScreen(form);
    return true;
}

} // namespace orv::player
