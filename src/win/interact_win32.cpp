#include "win/interact.h"

#include "base/fsys.h"
#include "base/messagelog.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

namespace orv::win {

std::wstring Widen(const std::string& s) {
    if (s.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string Narrow(const std::wstring& w) {
    if (w.empty())
        return {};
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

Interaction& UI() {
    static Interaction ui;
    return ui;
}

namespace {
HWND OwnerWindow(void* owner) {
    if (owner)
        return static_cast<HWND>(owner);
    return GetActiveWindow();
}
} // namespace

int Interaction::Show(const std::string& text, const std::string& caption, uint32_t flags) {
    MessageLog& log = MessageLog::Instance();
    if (log.Active())
        return log.AskMessage(text, caption, flags);
    return MessageBoxW(OwnerWindow(owner_), Widen(text).c_str(), Widen(caption).c_str(),
                       flags | MB_TASKMODAL);
}

// ------------------------------------------------------------- input box

namespace {

struct InputState {
    std::wstring caption, prompt, value;
    bool password;
    bool ok = false;
};

constexpr int kIdEdit = 100;
constexpr int kIdPrompt = 101;

LRESULT CALLBACK InputProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* st = reinterpret_cast<InputState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_CREATE: {
        st = static_cast<InputState*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(st));
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
                        int h, int id) {
            HWND c = CreateWindowExW(cls == std::wstring(L"EDIT") ? WS_EX_CLIENTEDGE : 0, cls, text,
                                     WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                     nullptr);
            SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            return c;
        };
        make(L"STATIC", st->prompt.c_str(), 0, 10, 10, 330, 36, kIdPrompt);
        HWND edit = make(L"EDIT", st->value.c_str(),
                         WS_TABSTOP | ES_AUTOHSCROLL | (st->password ? ES_PASSWORD : 0), 10, 50,
                         330, 22, kIdEdit);
        make(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 184, 84, 75, 25, IDOK);
        make(L"BUTTON", L"Cancel", WS_TABSTOP, 265, 84, 75, 25, IDCANCEL);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            HWND edit = GetDlgItem(hwnd, kIdEdit);
            int n = GetWindowTextLengthW(edit);
            std::wstring v(static_cast<size_t>(n) + 1, L'\0');
            GetWindowTextW(edit, v.data(), n + 1);
            v.resize(static_cast<size_t>(n));
            st->value = v;
            st->ok = true;
            DestroyWindow(hwnd);
        } else if (LOWORD(wp) == IDCANCEL) {
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

bool Interaction::InputText(const std::string& caption, const std::string& prompt,
                            std::string& value, bool password) {
    MessageLog& log = MessageLog::Instance();
    if (log.Active()) {
        log.Append("input", caption, prompt, password ? "password" : "text");
        auto a = log.NextAnswer();
        if (!a || *a == "Cancel")
            return false;
        value = *a;
        return true;
    }
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = InputProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"OrvexaInputBox";
        RegisterClassW(&wc);
        registered = true;
    }
    InputState st{Widen(caption), Widen(prompt), Widen(value), password};
    HWND owner = OwnerWindow(owner_);
    RECT r{0, 0, 350, 120};
    AdjustWindowRect(&r, WS_CAPTION | WS_SYSMENU, FALSE);
    int w = r.right - r.left, h = r.bottom - r.top;
    HWND dlg = CreateWindowExW(WS_EX_DLGMODALFRAME, L"OrvexaInputBox", st.caption.c_str(),
                               WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, owner, nullptr,
                               GetModuleHandleW(nullptr), &st);
    if (!dlg)
        return false;
    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(dlg, SW_SHOW);
    MSG m;
    while (IsWindow(dlg) && GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dlg, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (st.ok)
        value = Narrow(st.value);
    return st.ok;
}

// ---------------------------------------------------------- folder browser

namespace {
int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data)
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

// Disables every enabled top-level window of this thread while alive.
class DisableOtherWindows {
public:
    DisableOtherWindows() {
        EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
        oldMode_ = SetErrorMode(SEM_FAILCRITICALERRORS);
    }
    ~DisableOtherWindows() {
        SetErrorMode(oldMode_);
        for (HWND h : windows_)
            if (IsWindow(h))
                EnableWindow(h, TRUE);
    }

private:
    static BOOL CALLBACK Collect(HWND h, LPARAM p) {
        if (IsWindowVisible(h) && IsWindowEnabled(h)) {
            reinterpret_cast<DisableOtherWindows*>(p)->windows_.push_back(h);
            EnableWindow(h, FALSE);
        }
        return TRUE;
    }

    std::vector<HWND> windows_;
    UINT oldMode_;
};
} // namespace

bool Interaction::BrowseForFolder(const std::string& title, const std::string& root,
                                  std::string& folder) {
    MessageLog& log = MessageLog::Instance();
    if (log.Active()) {
        log.Append("folder", title, folder, root);
        auto a = log.NextAnswer();
        if (!a || a->empty() || *a == "Cancel")
            return false;
        folder = *a;
        return true;
    }
    if (!fsys::DirectoryExists(folder))
        folder.clear();
    std::wstring wtitle = Widen(title), wfolder = Widen(folder);
    BROWSEINFOW bi{};
    bi.hwndOwner = OwnerWindow(owner_);
    bi.lpszTitle = wtitle.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    bi.lpfn = BrowseCallback;
    bi.lParam = wfolder.empty() ? 0 : reinterpret_cast<LPARAM>(wfolder.c_str());
    PIDLIST_ABSOLUTE rootPidl = nullptr;
    if (!root.empty() &&
        SUCCEEDED(SHParseDisplayName(Widen(root).c_str(), nullptr, &rootPidl, 0, nullptr)))
        bi.pidlRoot = rootPidl;
    OleInitialize(nullptr);
    PIDLIST_ABSOLUTE result;
    {
        DisableOtherWindows disabled;
        result = SHBrowseForFolderW(&bi);
    }
    bool ok = false;
    if (result) {
        wchar_t path[MAX_PATH];
        if (SHGetPathFromIDListW(result, path)) {
            folder = Narrow(path);
            ok = true;
        }
        CoTaskMemFree(result);
    }
    if (rootPidl)
        CoTaskMemFree(rootPidl);
    return ok;
}

// ------------------------------------------------------- off-screen owner

OffscreenOwner::OffscreenOwner() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvexaOwner";
        RegisterClassW(&wc);
        registered = true;
    }
    HWND h = CreateWindowExW(WS_EX_TOOLWINDOW, L"OrvexaOwner", L"", WS_POPUP, -20, 0, 1, 1,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (h)
        ShowWindow(h, SW_SHOWNOACTIVATE);
    hwnd_ = h;
    previous_ = UI().Owner();
    UI().SetOwner(h);
}

OffscreenOwner::~OffscreenOwner() {
    UI().SetOwner(previous_);
    if (hwnd_)
        DestroyWindow(static_cast<HWND>(hwnd_));
}

} // namespace orv::win
