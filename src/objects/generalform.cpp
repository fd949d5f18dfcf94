#include "objects/generalform.h"

#include "base/fsys.h"
#include "gfx/raster.h"
#include "win/interact.h"

#include <mmsystem.h>
#ifdef PlaySound
#undef PlaySound
#endif

#include <cmath>
#include <functional>

namespace orv::objects {

namespace {

// ------------------------------------------------------------------- MCI

class MciSoundDevice : public SoundDevice {
public:
    ~MciSoundDevice() override { Close(); }

    bool Open(const std::string& file) override {
        Close();
        std::wstring name = win::Widen(file);
        MCI_OPEN_PARMSW open{};
        open.lpstrElementName = name.c_str();
        // The device is chosen by the platform from the file.
        if (mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&open)) != 0)
            return false;
        id_ = open.wDeviceID;
        return true;
    }

    bool Play() override {
        if (!id_)
            return false;
        mciSendCommandW(id_, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, 0);
        MCI_PLAY_PARMS play{};
        return mciSendCommandW(id_, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&play)) == 0;
    }

    bool IsPlaying() override { return Mode() == MCI_MODE_PLAY; }
    bool IsStopped() override { return Mode() == MCI_MODE_STOP; }

    void Stop() override {
        if (id_)
            mciSendCommandW(id_, MCI_STOP, MCI_WAIT, 0);
    }

    void Close() override {
        if (id_)
            mciSendCommandW(id_, MCI_CLOSE, MCI_WAIT, 0);
        id_ = 0;
    }

private:
    DWORD_PTR Mode() {
        if (!id_)
            return 0;
        MCI_STATUS_PARMS st{};
        st.dwItem = MCI_STATUS_MODE;
        if (mciSendCommandW(id_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&st)) != 0)
            return 0;
        return st.dwReturn;
    }

    MCIDEVICEID id_ = 0;
};

// -------------------------------------------------------- stock pictures

// Paints over an image with 4 x 4 samples per pixel: shade(x, y) gives the
// colour (0xAARRGGBB) at a point, or 0 where the shape is not.
void Render(gfx::Image& img, const std::function<uint32_t(double, double)>& shade) {
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    uint32_t c = shade(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
                    double ca = (c >> 24) / 255.0;
                    a += ca;
                    r += ca * ((c >> 16) & 0xFF);
                    g += ca * ((c >> 8) & 0xFF);
                    b += ca * (c & 0xFF);
                }
            if (a <= 0)
                continue;
            uint32_t src = (static_cast<uint32_t>(std::lround(a / 16 * 255)) << 24) |
                           (static_cast<uint32_t>(std::lround(r / a)) << 16) |
                           (static_cast<uint32_t>(std::lround(g / a)) << 8) |
                           static_cast<uint32_t>(std::lround(b / a));
            img.At(x, y) = gfx::BlendPixel(img.At(x, y), src);
        }
}

uint32_t Gray(double level, uint32_t alpha = 255) {
    const auto v = static_cast<uint32_t>(std::clamp(level, 0.0, 255.0));
    return (alpha << 24) | (v << 16) | (v << 8) | v;
}

double Ellipse(double x, double y, double cx, double cy, double rx, double ry) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy;
}

// A rounded rectangle test.
bool InRoundRect(double x, double y, double l, double t, double r, double b, double rad) {
    if (x < l || x > r || y < t || y > b)
        return false;
    const double cx = std::clamp(x, l + rad, r - rad), cy = std::clamp(y, t + rad, b - rad);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= rad * rad;
}

} // namespace

gfx::Image MakeBindPicture() {
    gfx::Image img = gfx::MakeImage(60, 37, 0);
    // Five punched holes the rings go through.
    Render(img, [](double x, double y) -> uint32_t {
        for (int i = 0; i < 5; ++i)
            if (Ellipse(x, y, 6 + i * 12, 30.5, 3.6, 2.6) <= 1)
                return Gray(60 + (y - 28) * 12);
        return 0;
    });
    // Five metal rings, lit from the left.
    Render(img, [](double x, double y) -> uint32_t {
        for (int i = 0; i < 5; ++i) {
            const double cx = 6 + i * 12;
            const double outer = Ellipse(x, y, cx, 16, 4.6, 14.5);
            const double inner = Ellipse(x, y, cx, 16, 2.4, 12.3);
            if (outer <= 1 && inner > 1 && y < 31)
                return Gray(215 - (x - cx + 4.6) * 16 + (y < 8 ? 20 : 0));
        }
        return 0;
    });
    return img;
}

gfx::Image MakePadPicture() {
    gfx::Image img = gfx::MakeImage(70, 33, 0);
    // The clip's back plate, its lever and the lever's ring.
    Render(img, [](double x, double y) -> uint32_t {
        if (InRoundRect(x, y, 3, 12, 67, 31, 4))
            return InRoundRect(x, y, 5, 14, 65, 20, 2) ? Gray(235) : Gray(170 - (y - 12) * 3);
        return 0;
    });
    Render(img, [](double x, double y) -> uint32_t {
        const double ring = Ellipse(x, y, 35, 9, 13, 8);
        const double hole = Ellipse(x, y, 35, 9, 9, 5);
        if (ring <= 1 && hole > 1)
            return Gray(200 - (y - 1) * 5);
        if (InRoundRect(x, y, 14, 10, 56, 18, 3))
            return Gray(120 + (18 - y) * 8);
        return 0;
    });
    return img;
}

// ------------------------------------------------------------ TGeneralForm

namespace {

constexpr wchar_t kFormClass[] = L"OrvexaGeneralForm";
constexpr UINT_PTR kLoopTimer = 1;

TGeneralForm* g_form = nullptr;

} // namespace

TGeneralForm::TGeneralForm(DeviceFactory makeDevice)
    : makeDevice_(std::move(makeDevice)), bind_(MakeBindPicture()), pad_(MakePadPicture()) {
    static bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kFormClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    hwnd_ = CreateWindowExW(0, kFormClass, L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetTimer(hwnd_, kLoopTimer, kLoopIntervalMs, nullptr);
    }
}

TGeneralForm::~TGeneralForm() {
    if (hwnd_) {
        KillTimer(hwnd_, kLoopTimer);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    for (Channel& c : channels_)
        if (c.device) {
            try {
                c.device->Close();
            } catch (...) {
            }
        }
}

LRESULT CALLBACK TGeneralForm::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kLoopTimer) {
        auto* self = reinterpret_cast<TGeneralForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        try {
            if (self)
                self->LoopTick();
        } catch (...) {
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void TGeneralForm::PlaySound(int channel, const std::string& file, bool loop) {
    if (channel < 0 || channel >= kChannelCount)
        return;
    Channel& c = channels_[channel];
    c.loaded = false;
    try {
        if (c.device)
            c.device->Close();
        if (!fsys::FileExists(file))
            return;
        if (!c.device)
            c.device = makeDevice_ ? makeDevice_() : nullptr;
        if (!c.device)
            return;
        if (c.device->Open(file) && c.device->Play()) {
            c.loaded = true;
            c.loop = loop;
        } else {
            c.device->Close();
        }
    } catch (...) {
        // Sound channels report nothing: the channel stays silent.
        c.loaded = false;
    }
}

void TGeneralForm::StopSound(int channel) {
    if (channel < 0 || channel >= kChannelCount)
        return;
    Channel& c = channels_[channel];
    c.loop = false;
    c.loaded = false;
    if (!c.device)
        return;
    try {
        if (c.device->IsPlaying())
            c.device->Stop();
        c.device->Close();
    } catch (...) {
    }
}

void TGeneralForm::StopAllSounds() {
    for (int i = 0; i < kChannelCount; ++i)
        StopSound(i);
}

void TGeneralForm::LoopTick() {
    for (Channel& c : channels_) {
        if (!c.loaded || !c.loop || !c.device)
            continue;
        try {
            if (c.device->IsStopped())
                c.device->Play();
        } catch (...) {
        }
    }
}

bool TGeneralForm::Loaded(int channel) const {
    return channel >= 0 && channel < kChannelCount && channels_[channel].loaded;
}

bool TGeneralForm::Looping(int channel) const {
    return channel >= 0 && channel < kChannelCount && channels_[channel].loop;
}

std::unique_ptr<SoundDevice> MakeMciSoundDevice() {
    return std::make_unique<MciSoundDevice>();
}

TGeneralForm* GeneralForm() {
    return g_form;
}

TGeneralForm& CreateGeneralForm() {
    if (!g_form)
        g_form = new TGeneralForm();
    return *g_form;
}

void FreeGeneralForm() {
    delete g_form;
    g_form = nullptr;
}

} // namespace orv::objects
