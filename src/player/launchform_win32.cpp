#include "player/launchform.h"

#include "base/fsys.h"
#include "base/stream.h"
#include "model/values.h"
#include "player/file_actions.h"
#include "win/controls/control.h"
#include "win/controls/drawing.h"

#include <windows.h>

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
    FileStream f;
    if (!f.Open(file, FileStream::Mode::Read))
        return false;
    const int64_t size = f.Size();
    if (size <= 0 || size > kMaxPictureFile)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (f.Read(bytes.data(), bytes.size()) != bytes.size())
        return false;
    return model::PictureFromFileBytes(std::move(bytes), picture);
}

} // namespace

void* FullScreenWindowHandle() {
    return g_shown ? g_shown->Handle() : nullptr;
}

bool ShowImageFullScreen(const std::string& file) {
    if (file.empty() || !fsys::FileExists(file))
        return false;
    model::TPicture stored;
    if (!ReadPicture(file, stored))
        return false;
    TLaunchSlideShowForm form;
    if (!form.picture.Assign(stored))
        return false;

    // The windows of this thread wait until the picture is closed.
    HWND owner = GetActiveWindow();
    form.SetBounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (!form.CreateTopLevel(WS_POPUP, WS_EX_TOPMOST, owner, L"Orvexa picture"))
        return false;
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
        // A key pressed anywhere while the picture is up closes it.
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
    return true;
}

} // namespace orv::player
