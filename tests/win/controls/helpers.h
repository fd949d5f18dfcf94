// Shared pieces of the control tests: a visible top-level host window, the
// message pump, moving the real pointer, and pictures made in code.
#pragma once

#include "gfx/codecs.h"
#include "gfx/raster.h"
#include "model/values.h"
#include "win/controls/control.h"

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace orv::test {

// Processes messages for ms milliseconds (at least one pass).
inline void Pump(int ms = 0) {
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

// A top-level window on screen whose client area hosts the controls under
// test, at a fixed place.
class TopHost : public win::WinControl {
public:
    explicit TopHost(int width = 320, int height = 240, bool designView = false) {
        SetDesignView(designView);
        SetBounds(40, 40, width, height);
        SetColor(0x00FFFFFF);
        CreateTopLevel(WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, L"controls test");
        SetWindowPos(Handle(), HWND_TOPMOST, 40, 40, width, height, SWP_SHOWWINDOW);
        UpdateWindow(Handle());
        Pump(30);
    }
};

// Moves the real pointer to a point of a control and lets the windows hear
// of it.
inline void MovePointer(win::Control& c, int x, int y) {
    POINT p = c.ClientToScreen(POINT{x, y});
    SetCursorPos(p.x, p.y);
    Pump(40);
}

inline gfx::Image Solid(int w, int h, uint32_t argb) {
    return gfx::MakeImage(w, h, argb);
}

// A PNG picture as the model stores it.
inline model::TPicture PngPicture(const gfx::Image& image) {
    model::TPicture p;
    p.Class = model::PictureClass::Png;
    gfx::EncodePng(image, p.Bytes);
    return p;
}

// Writes an image as PNG into the folder named by ORVEXA_TEST_SHOTS, if set.
inline void KeepShot(const gfx::Image& image, const std::string& name) {
    const char* dir = std::getenv("ORVEXA_TEST_SHOTS");
    if (!dir || !*dir || image.Empty())
        return;
    std::vector<uint8_t> png;
    if (!gfx::EncodePng(image, png))
        return;
    std::string path = std::string(dir) + "\\" + name + ".png";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
    }
}

inline uint32_t Rgb(const gfx::Image& img, int x, int y) {
    return img.At(x, y) & 0xFFFFFF;
}

// 0x00RRGGBB of a COLORREF, as pixels hold it.
inline uint32_t PixelOf(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

} // namespace orv::test
