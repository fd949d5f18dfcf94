#include "win/controls/window.h"

#include <commctrl.h>

namespace orv::win {

namespace {

constexpr wchar_t kOwnClass[] = L"OrvexaControl";
constexpr UINT_PTR kSubclassId = 0x4F525658; // "ORVX"
// A subclassed native control also names its Window in this property, so
// that FromHandle finds it without GetWindowSubclass, which the x86_64
// import library of comctl32 lacks.
constexpr wchar_t kWindowProperty[] = L"OrvexaWindow";

// The child window a notification came from, for reflection.
HWND ReflectionSource(UINT msg, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        return lp ? reinterpret_cast<HWND>(lp) : nullptr;
    case WM_NOTIFY:
        return lp ? reinterpret_cast<const NMHDR*>(lp)->hwndFrom : nullptr;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lp);
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        return dis && dis->CtlType != ODT_MENU ? dis->hwndItem : nullptr;
    }
    default:
        return nullptr;
    }
}

} // namespace

const wchar_t* OwnClassName() {
    static bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = Window::OwnProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kOwnClass;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
    return kOwnClass;
}

Window::~Window() {
    DestroyHandle();
}

bool Window::CreateHandle(const CreateArgs& args) {
    if (hwnd_)
        return false;
    const bool own = args.className == nullptr;
    native_ = !own;
    HMENU menu = reinterpret_cast<HMENU>(args.id);
    if (own) {
        // WM_NCCREATE brings `this` in lpCreateParams to the class procedure.
        HWND h = CreateWindowExW(args.exStyle, OwnClassName(), args.text.c_str(), args.style,
                                 args.x, args.y, args.width, args.height, args.parent, menu,
                                 GetModuleHandleW(nullptr), this);
        if (!h)
            return false;
        // WM_NCCREATE already stored the handle.
        hwnd_ = h;
        return true;
    }
    HWND h = CreateWindowExW(args.exStyle, args.className, args.text.c_str(), args.style, args.x,
                             args.y, args.width, args.height, args.parent, menu,
                             GetModuleHandleW(nullptr), nullptr);
    if (!h)
        return false;
    hwnd_ = h;
    // A native control keeps its own window data; `this` lives in the
    // subclass data.
    if (!SetWindowSubclass(h, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) ||
        !SetPropW(h, kWindowProperty, this)) {
        DestroyWindow(h);
        hwnd_ = nullptr;
        return false;
    }
    return true;
}

void Window::DestroyHandle() {
    if (hwnd_)
        DestroyWindow(hwnd_); // WM_NCDESTROY clears hwnd_
    hwnd_ = nullptr;
}

Window* Window::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    // Only windows of our class or subclassed by us carry our pointer.
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&OwnProc))
        return static_cast<Window*>(GetPropW(hwnd, kWindowProperty));
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Window::OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        auto* created = static_cast<Window*>(cs->lpCreateParams);
        if (created) {
            created->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        try {
            self->HandleDestroyed();
        } catch (...) {
        }
        return r;
    }
    return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR data) {
    auto* self = reinterpret_cast<Window*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        RemovePropW(hwnd, kWindowProperty);
        LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
        if (self) {
            self->hwnd_ = nullptr;
            try {
                self->HandleDestroyed();
            } catch (...) {
            }
        }
        return r;
    }
    if (!self || self->hwnd_ != hwnd)
        return DefSubclassProc(hwnd, msg, wp, lp);
    return self->Dispatch(msg, wp, lp);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    try {
        return HandleMessage(msg, wp, lp);
    } catch (...) {
        // Nothing may unwind into the platform; the message gets its
        // default processing instead.
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd_, &ps);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        try {
            return DefaultProc(msg, wp, lp);
        } catch (...) {
            return 0;
        }
    }
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (!hwnd_)
        return 0;
    return native_ ? DefSubclassProc(hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

bool Window::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    HWND source = ReflectionSource(msg, lp);
    if (msg == WM_MEASUREITEM && lp) {
        auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lp);
        if (mis->CtlType != ODT_MENU)
            source = GetDlgItem(hwnd_, static_cast<int>(mis->CtlID));
    }
    if (!source || source == hwnd_)
        return false;
    Window* child = FromHandle(source);
    return child && child->HandleReflected(msg, wp, lp, result);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (Reflect(msg, wp, lp, result))
        return result;
    return DefaultProc(msg, wp, lp);
}

bool Window::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

} // namespace orv::win
