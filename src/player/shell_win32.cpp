#include "player/shell.h"

#include "win/interact.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace orv::player {

namespace {

constexpr wchar_t kWaitClass[] = L"TOrvexaPleaseWait";
constexpr int kWaitWidth = 220, kWaitHeight = 64;

LRESULT CALLBACK WaitProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        HFONT font = CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                 L"MS Sans Serif");
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, L"Please Wait...", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
        DeleteObject(font);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The small modal window: borderless, 200/255 opaque, centred on the
// screen; while it lives the thread's other windows take no input.
class PleaseWait {
public:
    PleaseWait() {
        HINSTANCE inst = GetModuleHandleW(nullptr);
        WNDCLASSW wc{};
        if (!GetClassInfoW(inst, kWaitClass, &wc)) {
            wc.lpfnWndProc = WaitProc;
            wc.hInstance = inst;
            wc.hCursor = LoadCursor(nullptr, IDC_WAIT);
            wc.lpszClassName = kWaitClass;
            RegisterClassW(&wc);
        }
        EnumThreadWindows(GetCurrentThreadId(), &PleaseWait::Disable,
                          reinterpret_cast<LPARAM>(&disabled_));
        int x = (GetSystemMetrics(SM_CXSCREEN) - kWaitWidth) / 2;
        int y = (GetSystemMetrics(SM_CYSCREEN) - kWaitHeight) / 2;
        hwnd_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kWaitClass,
                                L"Please Wait...", WS_POPUP, x, y, kWaitWidth, kWaitHeight, nullptr,
                                nullptr, inst, nullptr);
        if (hwnd_) {
            SetLayeredWindowAttributes(hwnd_, 0, 200, LWA_ALPHA);
            ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
            UpdateWindow(hwnd_);
        }
    }
    ~PleaseWait() {
        for (HWND w : disabled_)
            if (IsWindow(w))
                EnableWindow(w, TRUE);
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    PleaseWait(const PleaseWait&) = delete;
    PleaseWait& operator=(const PleaseWait&) = delete;

private:
    static BOOL CALLBACK Disable(HWND w, LPARAM lp) {
        auto* list = reinterpret_cast<std::vector<HWND>*>(lp);
        if (IsWindowVisible(w) && IsWindowEnabled(w)) {
            EnableWindow(w, FALSE);
            list->push_back(w);
        }
        return TRUE;
    }
    HWND hwnd_ = nullptr;
    std::vector<HWND> disabled_;
};

// Runs the thread's messages until the process ends. A quit message ends
// the wait and is posted again for the loop outside.
void PumpUntilEnded(HANDLE process) {
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1)
            return; // ended, or the wait itself failed
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

uint32_t ShellStartOnPlatform(const ShellRequest& r) {
    std::wstring verb = win::Widen(r.verb), file = win::Widen(r.file),
                 params = win::Widen(r.parameters);
    std::wstring folder = win::Widen(r.wait && r.folder.empty() ? FolderOfFile(r.file) : r.folder);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | (r.wait ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.lpVerb = verb.empty() ? nullptr : verb.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = params.empty() ? nullptr : params.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = r.show;
    if (!r.wait) {
        if (!ShellExecuteExW(&info))
            return GetLastError();
        return 33;
    }
    PleaseWait window;
    // Let the window paint before the start takes the thread.
    Sleep(10);
    PumpPending();
    if (!ShellExecuteExW(&info))
        return GetLastError();
    if (info.hProcess) {
        WaitForInputIdle(info.hProcess, 10000);
        PumpUntilEnded(info.hProcess);
        CloseHandle(info.hProcess);
    }
    return 33;
}

} // namespace orv::player
