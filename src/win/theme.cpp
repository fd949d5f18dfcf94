// The visual-styles functions, looked up at run time: they are missing
// where themes are not available at all.
#include "win/theme.h"

namespace orv::win::theme {

namespace {

struct ThemeApi {
    using Handle = HANDLE;
    BOOL(WINAPI* isThemeActive)() = nullptr;
    BOOL(WINAPI* isAppThemed)() = nullptr;
    Handle(WINAPI* open)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI* close)(Handle) = nullptr;
    HRESULT(WINAPI* drawBackground)(Handle, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* contentRect)(Handle, HDC, int, int, const RECT*, RECT*) = nullptr;
    BOOL(WINAPI* partiallyTransparent)(Handle, int, int) = nullptr;
    HRESULT(WINAPI* drawParentBackground)(HWND, HDC, const RECT*) = nullptr;
    HRESULT(WINAPI* drawText)
    (Handle, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) = nullptr;

    ThemeApi() {
        HMODULE m = LoadLibraryW(L"uxtheme.dll");
        if (!m)
            return;
        Load(m, "IsThemeActive", isThemeActive);
        Load(m, "IsAppThemed", isAppThemed);
        Load(m, "OpenThemeData", open);
        Load(m, "CloseThemeData", close);
        Load(m, "DrawThemeBackground", drawBackground);
        Load(m, "GetThemeBackgroundContentRect", contentRect);
        Load(m, "IsThemeBackgroundPartiallyTransparent", partiallyTransparent);
        Load(m, "DrawThemeParentBackground", drawParentBackground);
        Load(m, "DrawThemeText", drawText);
    }
    template <class F> static void Load(HMODULE m, const char* name, F& f) {
        f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
    }
    bool Complete() const {
        return isThemeActive && isAppThemed && open && close && drawBackground && contentRect &&
               partiallyTransparent && drawParentBackground && drawText;
    }
};

const ThemeApi& Api() {
    static ThemeApi api;
    return api;
}

} // namespace

bool Active() {
    const ThemeApi& t = Api();
    return t.Complete() && t.isThemeActive() && t.isAppThemed();
}

bool DrawElement(HWND hwnd, HDC dc, const wchar_t* themeClass, int part, int state,
                 const RECT& rect, RECT* content, bool parentBackground) {
    if (!hwnd || !Active())
        return false;
    const ThemeApi& t = Api();
    ThemeApi::Handle h = t.open(hwnd, themeClass);
    if (!h)
        return false;
    if (parentBackground && t.partiallyTransparent(h, part, state))
        t.drawParentBackground(hwnd, dc, &rect);
    const bool ok = SUCCEEDED(t.drawBackground(h, dc, part, state, &rect, nullptr));
    if (ok && content && FAILED(t.contentRect(h, dc, part, state, &rect, content)))
        *content = rect;
    t.close(h);
    return ok;
}

bool DrawElementText(HWND hwnd, HDC dc, const wchar_t* themeClass, int part, int state,
                     const std::wstring& text, DWORD flags, const RECT& rect) {
    if (!hwnd || !Active())
        return false;
    const ThemeApi& t = Api();
    ThemeApi::Handle h = t.open(hwnd, themeClass);
    if (!h)
        return false;
    const bool ok = SUCCEEDED(t.drawText(h, dc, part, state, text.c_str(),
                                         static_cast<int>(text.size()), flags, 0, &rect));
    t.close(h);
    return ok;
}

} // namespace orv::win::theme
