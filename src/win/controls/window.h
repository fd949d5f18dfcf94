// The thin window layer: a Window owns one HWND and routes its messages to
// one virtual handler. Windows of our own class get `this` through
// lpCreateParams; native controls (buttons, tab controls, edits, ...) are
// subclassed. `this` lives in GWLP_USERDATA (our class) or in the subclass
// data (native controls) until WM_NCDESTROY, and every message is handled
// inside a catch-all, so no exception ever reaches the platform.
#pragma once

#include <windows.h>

#include <string>

namespace orv::win {

struct CreateArgs {
    // Null: the framework's own class (double-click aware, no background
    // brush, arrow cursor). Otherwise a registered class name such as
    // WC_TABCONTROLW, which is created and then subclassed.
    const wchar_t* className = nullptr;
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    std::wstring text;
    UINT_PTR id = 0; // child identifier, or the menu of a top-level window
};

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window. False when the platform refuses (the handle stays
    // null). A Window creates at most one window in its life.
    bool CreateHandle(const CreateArgs& args);
    // Destroys the window now (the object stays).
    void DestroyHandle();

    HWND Handle() const { return hwnd_; }
    bool HasHandle() const { return hwnd_ != nullptr; }
    bool IsNative() const { return native_; }

    // The Window of a handle created by this layer, else null. O(1).
    static Window* FromHandle(HWND hwnd);

protected:
    // One handler for every message. The default calls DefaultProc and
    // reflects WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM and
    // WM_MEASUREITEM to the child window they came from.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The platform's processing: DefWindowProc for our class, the native
    // control's own procedure for a subclassed one.
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // A notification reflected from the parent. Return true with result
    // set when handled; otherwise the parent does its default processing.
    virtual bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // After WM_NCDESTROY; the handle is already cleared.
    virtual void HandleDestroyed() {}

private:
    friend const wchar_t* OwnClassName();
    static LRESULT CALLBACK OwnProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    HWND hwnd_ = nullptr;
    bool native_ = false;
};

// The framework's window class name (registered on first use).
const wchar_t* OwnClassName();

} // namespace orv::win
