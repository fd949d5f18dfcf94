// The engine's platform on Windows: message boxes through the one
// interaction module, the shell, the registry's file types, the version,
// special folders and the shared sound channels.
#include "player/actions.h"

#include "objects/generalform.h"
#include "player/autorunform.h"
#include "player/file_actions.h"
#include "player/launchform.h"
#include "player/shell.h"
#include "startup/startup.h"
#include "win/interact.h"
#include "win/services.h"

#include <windows.h>
// The action kind, not the platform's function.
#undef CopyFile

namespace orv::player {

namespace {

DWORD Attributes(const std::string& path) {
    if (path.empty())
        return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(win::Widen(path).c_str());
}

BOOL CALLBACK ShowThreadWindow(HWND w, LPARAM cmd) {
    if (GetWindow(w, GW_OWNER) == nullptr && IsWindowVisible(w)) {
        if (cmd == SW_MINIMIZE && !IsIconic(w))
            ShowWindow(w, SW_MINIMIZE);
        else if (cmd == SW_RESTORE && IsIconic(w))
            ShowWindow(w, SW_RESTORE);
    }
    return TRUE;
}

class WinPlatform : public ActionPlatform {
public:
    Reporter& UI() override { return win::UI(); }
    uint32_t ShellStart(const ShellRequest& r) override { return ShellStartOnPlatform(r); }
    bool FileExists(const std::string& path) override {
        DWORD a = Attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool DirectoryExists(const std::string& path) override {
        DWORD a = Attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
    std::string FolderOfToken(const std::string& token) override {
        return win::ResolveFolderToken(token);
    }
    std::string ClassesRootDefault(const std::string& subKey) override {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, win::Widen(subKey).c_str(), 0, KEY_QUERY_VALUE,
                          &key) != ERROR_SUCCESS)
            return {};
        std::wstring value;
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0 && size < (1u << 20)) {
            value.resize(size / sizeof(wchar_t) + 1);
            DWORD got = size;
            if (RegQueryValueExW(key, nullptr, nullptr, &type,
                                 reinterpret_cast<BYTE*>(value.data()), &got) == ERROR_SUCCESS) {
                value.resize(got / sizeof(wchar_t));
                while (!value.empty() && value.back() == L'\0')
                    value.pop_back();
            } else {
                value.clear();
            }
        }
        RegCloseKey(key);
        return win::Narrow(value);
    }
    void PlatformVersion(int& major, int& minor) override {
        // The real version: the compatibility layer may lie to the
        // ordinary query.
        using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        auto fn = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                              reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                        : nullptr;
        if (!fn || fn(&info) != 0) {
            DWORD v = GetVersion();
            info.dwMajorVersion = LOBYTE(LOWORD(v));
            info.dwMinorVersion = HIBYTE(LOWORD(v));
        }
        major = static_cast<int>(info.dwMajorVersion);
        minor = static_cast<int>(info.dwMinorVersion);
    }
    void PlaySound(int channel, const std::string& file, bool loop) override {
        if (auto* form = objects::GeneralForm())
            form->PlaySound(channel, file, loop);
    }
    void StopSound(int channel) override {
        if (auto* form = objects::GeneralForm())
            form->StopSound(channel);
    }
    void MinimizeApplication() override {
        EnumThreadWindows(GetCurrentThreadId(), ShowThreadWindow, SW_MINIMIZE);
    }
    void RestoreApplication() override {
        EnumThreadWindows(GetCurrentThreadId(), ShowThreadWindow, SW_RESTORE);
    }
    bool ShowSubPage(int index, int mode, bool closeOnInput, int32_t closeAfter) override {
        return TAutoRunForm::OpenSubPage(index, mode, closeOnInput, closeAfter);
    }
    bool RunFileAction(const std::string& param1, uint8_t kind) override {
        const std::string& folder = Startup().projectFolder;
        switch (static_cast<model::TAuActionKind>(kind)) {
        case model::TAuActionKind::CopyFile:
            return RunCopyFile(param1, folder);
        case model::TAuActionKind::ShowImage:
            return !param1.empty() && ShowImageFullScreen(JoinActionPath(folder, param1));
        case model::TAuActionKind::LaunchMedia:
            return !param1.empty() && PlayMediaFullScreen(JoinActionPath(folder, param1));
        case model::TAuActionKind::LaunchSlideShow:
            return RunSlideShowFullScreen(param1, folder);
        default:
            return false;
        }
    }
};

} // namespace

ActionPlatform& DefaultActionPlatform() {
    static WinPlatform platform;
    return platform;
}

} // namespace orv::player
