// The one module for modal interaction: message boxes, questions, input
// boxes and folder dialogs. With ORVEXA_MESSAGE_LOG set nothing modal is
// shown; each interaction is written to the log and answered from
// ORVEXA_ANSWERS (see base/messagelog.h).
#pragma once

#include "base/report.h"

#include <string>

namespace orv::win {

class Interaction : public Reporter {
public:
    int Show(const std::string& text, const std::string& caption, uint32_t flags) override;

    // An input box; false when cancelled. password hides the typing.
    bool InputText(const std::string& caption, const std::string& prompt, std::string& value,
                   bool password = false);

    // The folder browser (file-system folders, new dialog style), rooted at
    // root when given, with folder pre-selected when it exists. While it is
    // open the other windows are disabled and critical-error boxes are
    // suppressed. False on cancel.
    bool BrowseForFolder(const std::string& title, const std::string& root, std::string& folder);

    // The window that owns message boxes; null means the active window.
    void SetOwner(void* hwnd) { owner_ = hwnd; }
    void* Owner() const { return owner_; }

private:
    void* owner_ = nullptr;
};

Interaction& UI();

// A borderless 1x1 window placed off screen at left -20, shown while it
// lives, that owns messages shown before any main window exists.
class OffscreenOwner {
public:
    OffscreenOwner();
    ~OffscreenOwner();
    OffscreenOwner(const OffscreenOwner&) = delete;
    OffscreenOwner& operator=(const OffscreenOwner&) = delete;

private:
    void* hwnd_ = nullptr;
    void* previous_ = nullptr;
};

// Text conversion at the platform boundary (ANSI code page).
std::wstring Widen(const std::string& s);
std::string Narrow(const std::wstring& w);

} // namespace orv::win
