#include "win/services.h"

#include "base/fsys.h"
#include "base/path.h"
#include "base/specialfolders.h"
#include "base/text.h"
#include "win/interact.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <vector>

namespace orv::win {

std::string ReadVersionString(const std::string& file, const std::string& key) {
    std::wstring wfile = Widen(file);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(wfile.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<uint8_t> data(size);
    if (!GetFileVersionInfoW(wfile.c_str(), 0, size, data.data()))
        return {};
    std::wstring sub = L"\\StringFileInfo\\040904E4\\" + Widen(key);
    wchar_t* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), sub.c_str(), reinterpret_cast<void**>(&value), &len) ||
        !value)
        return {};
    // The length counts characters, with the terminating zero when present.
    std::wstring v(value, len);
    while (!v.empty() && v.back() == L'\0')
        v.pop_back();
    return Narrow(v);
}

std::string SpecialFolderPath(int index) {
    if (index < 0 || index >= kSpecialFolderCount)
        return {};
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, kSpecialFolders[index].csidl, &pidl)) || !pidl)
        return {};
    wchar_t path[MAX_PATH];
    std::string r;
    if (SHGetPathFromIDListW(pidl, path))
        r = ExcludeTrailingBackslash(Narrow(path));
    CoTaskMemFree(pidl);
    return r;
}

std::string ResolveFolderToken(const std::string& text) {
    int i = ParseFolderToken(text);
    return i < 0 ? std::string() : SpecialFolderPath(i);
}

bool SelectProjectFolder(std::string& folder) {
    return UI().BrowseForFolder("Select Project Folder", "", folder);
}

bool ChooseSubfolder(const std::string& projectFolder, std::string& relative,
                     const std::string& title) {
    std::string rel = Trim(relative);
    if (!rel.empty() && rel.front() != '\\')
        rel = "\\" + rel;
    std::string start = rel.empty() ? projectFolder : projectFolder + rel;
    if (!fsys::DirectoryExists(start))
        start = projectFolder;
    std::string chosen = start;
    if (!UI().BrowseForFolder(title.empty() ? "Select Folder" : title, projectFolder, chosen))
        return false;
    relative = MakeRelativePath(projectFolder, ExcludeTrailingBackslash(chosen));
    return true;
}

// -------------------------------------------------------------- clipboard

bool PutStreamOnClipboard(Stream& stream, unsigned format) {
    int64_t size = stream.Size();
    if (size < 0 || size > 0x7FFFFFFF - 4)
        return false;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size) + 4);
    if (!mem)
        return false;
    auto* p = static_cast<uint8_t*>(GlobalLock(mem));
    int32_t n = static_cast<int32_t>(size);
    memcpy(p, &n, 4);
    try {
        stream.Seek(0);
        stream.ReadExact(p + 4, static_cast<size_t>(size));
    } catch (const StreamError&) {
        GlobalUnlock(mem);
        GlobalFree(mem);
        return false;
    }
    GlobalUnlock(mem);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(mem);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(format, mem) != nullptr;
    CloseClipboard();
    if (!ok)
        GlobalFree(mem);
    return ok;
}

bool GetStreamFromClipboard(Stream& stream, unsigned format) {
    if (!IsClipboardFormatAvailable(format) || !OpenClipboard(nullptr))
        return false;
    bool ok = false;
    if (HGLOBAL mem = GetClipboardData(format)) {
        SIZE_T blockSize = GlobalSize(mem);
        if (auto* p = static_cast<const uint8_t*>(GlobalLock(mem))) {
            int32_t n = 0;
            if (blockSize >= 4)
                memcpy(&n, p, 4);
            // The stored count must fit in the block it came with.
            if (blockSize >= 4 && n >= 0 && static_cast<SIZE_T>(n) <= blockSize - 4) {
                stream.Seek(0);
                ok = stream.Write(p + 4, static_cast<size_t>(n)) == static_cast<size_t>(n);
            }
            GlobalUnlock(mem);
        }
    }
    CloseClipboard();
    return ok;
}

// --------------------------------------------------------- progress window

namespace {
HWND g_progress = nullptr;
HWND g_bar = nullptr;
} // namespace

void ShowProgress(const std::string& title, int max) {
    CloseProgress();
    static bool registered = false;
    if (!registered) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"OrvexaProgress";
        RegisterClassW(&wc);
        registered = true;
    }
    RECT r{0, 0, 360, 70};
    AdjustWindowRectEx(&r, WS_CAPTION, FALSE, WS_EX_DLGMODALFRAME);
    int w = r.right - r.left, h = r.bottom - r.top;
    g_progress = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, L"OrvexaProgress",
                                 Widen(title).c_str(), WS_POPUP | WS_CAPTION,
                                 (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
                                 static_cast<HWND>(UI().Owner()), nullptr, nullptr, nullptr);
    if (!g_progress)
        return;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND label = CreateWindowExW(0, L"STATIC", L"Progress:", WS_CHILD | WS_VISIBLE, 12, 10, 200,
                                 16, g_progress, nullptr, nullptr, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    g_bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 12, 32, 336, 20,
                            g_progress, nullptr, nullptr, nullptr);
    SendMessageW(g_bar, PBM_SETRANGE32, 0, max);
    SendMessageW(g_bar, PBM_SETPOS, 0, 0);
    ShowWindow(g_progress, SW_SHOWNOACTIVATE);
    UpdateWindow(g_progress);
}

void StepProgress(int position) {
    if (!g_bar)
        return;
    SendMessageW(g_bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    UpdateWindow(g_bar);
}

void CloseProgress() {
    if (g_progress)
        DestroyWindow(g_progress);
    g_progress = nullptr;
    g_bar = nullptr;
}

// ----------------------------------------------------------------- cursors

namespace {
HCURSOR g_cursors[16];
} // namespace

void LoadCustomCursors() {
    for (int i = 1; i <= 15; ++i)
        g_cursors[i] = LoadCursorW(GetModuleHandleW(nullptr),
                                   (L"Cursor" + std::to_wstring(i)).c_str());
}

void* CursorHandle(int number) {
    if (number >= 1 && number <= 15 && g_cursors[number])
        return g_cursors[number];
    // Stored negative numbers name the platform's stock cursors in this
    // order: -1 none, -2 arrow, -3 cross, -4 I-beam, -5 size all, -6 NE-SW,
    // -7 N-S, -8 NW-SE, -9 W-E, -10 up arrow, -11 hour glass, -12 drag,
    // -13 no drop, -14 horizontal split, -15 vertical split, -16 multi
    // drag, -17 SQL wait, -18 no, -19 app start, -20 help, -21 hand point,
    // -22 size all.
    static const LPCWSTR kStock[] = {nullptr,     IDC_ARROW,   IDC_CROSS,   IDC_IBEAM,
                                     IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE,
                                     IDC_SIZEWE,  IDC_UPARROW, IDC_WAIT,    IDC_ARROW,
                                     IDC_NO,      IDC_SIZEWE,  IDC_SIZENS,  IDC_ARROW,
                                     IDC_WAIT,    IDC_NO,      IDC_APPSTARTING, IDC_HELP,
                                     IDC_HAND,    IDC_SIZEALL};
    if (number < 0 && -number <= static_cast<int>(sizeof kStock / sizeof kStock[0])) {
        LPCWSTR id = kStock[-number - 1];
        return id ? LoadCursorW(nullptr, id) : nullptr;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

} // namespace orv::win
