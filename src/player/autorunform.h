// The window that shows a page: the main player window, sub pages, login
// pages and the full-screen background. It owns the page's record and the
// controls built from it, applies the page's window settings, hands the
// objects' events to the action engine, switches pages in place and closes
// itself on request.
#pragma once

#include "model/page.h"
#include "objects/aucontrol.h"
#include "player/actions.h"
#include "win/controls/control.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace orv::player {

class TAutoRunForm;

// Modal kinds of a window.
inline constexpr uint8_t kModalNone = 0, kModalSubPage = 1, kModalLogin = 3;

class TAutoRunForm : public win::WinControl, public objects::TAuEventSink, public ActionHost {
public:
    TAutoRunForm();
    ~TAutoRunForm() override;

    // ---- pages
    // A blank page with default settings.
    void ResetPage(const std::string& caption);
    // Reads a page record: mode 0 applies everything, mode 1 replaces the
    // content of a window that already shows a page.
    bool LoadPage(Stream& s, int mode);
    // The page from its cache or the project file; clears page-modified.
    bool LoadPageByIndex(int index, int mode);
    bool WritePage(Stream& s);
    // Positions and sizes the window from the page's placement settings.
    void ApplyPlacement();
    // Opens page index as a sub page: mode 0 sub page, 1 modal, 2
    // full-screen background, 3 login page (result: login passed).
    static bool OpenSubPage(int index, int mode, bool closeOnInput, int closeAfter);

    // ---- showing, switching and closing
    // Shows the window and starts the page (OnShow, fade in, start pass).
    void ShowPage();
    // Switches to page index through the page-switch timer.
    void GoToPage(int index);

    model::TPageRecord& Page() { return *page_; }
    void SetCurrentPage(int index) { currentPage_ = index; }
    bool LoginPassed() const { return loginPassed_; }
    void SetMainWindow(bool on) { isMain_ = on; }

    // ---- what the action engine asks of the window
    TAuObject* FindObject(const std::string& path) override;
    TAuObject* PageRoot() override { return page_->Root.get(); }
    ActionTarget* TargetOf(TAuObject& record) override;
    void SetObjectEnabled(TAuObject& record, bool enabled) override;
    void SetObjectVisible(TAuObject& record, bool visible) override;
    int CurrentPage() const override { return currentPage_; }
    void SwitchToPage(int index) override { GoToPage(index); }
    bool ShowSubPage(int index, int mode, bool closeOnInput, int32_t closeAfter) override {
        return OpenSubPage(index, mode, closeOnInput, closeAfter);
    }
    // Closes through the close timer.
    void RequestClose() override;
    void RequestCloseMain() override;
    void SetWindowState(int state) override;
    void SetLoginPassed(bool passed) override { loginPassed_ = passed; }
    int ModalKind() const override { return modalKind_; }
    bool IsMainWindow() const override { return isMain_; }
    bool IsPreview() const override;
    int StatusPanelCount() const override;
    void SetStatusPanelText(int index, const std::string& text) override;
    void LoadObjectFromFile(const std::string& objectPath, const std::string& file) override;
    win::WinControl& PageArea() { return *pageArea_; }

    // The main player window, if one exists.
    static TAutoRunForm* MainWindow();
    // Checks the project file's time on activation (player only).
    static void CheckProjectFile();
    // Key preview of the message loops: a key released in a window that
    // closes on input closes it. Returns false (the message is still
    // dispatched).
    static bool PreTranslate(const MSG& msg);
    // Runs the message loop until the application quits.
    static int RunMessageLoop();

    // ---- events of the page objects
    void ObjectClick(objects::TAuControl& control) override;
    void ObjectDblClick(objects::TAuControl& control) override;
    void ObjectMouseEnter(objects::TAuControl& control) override;
    void ObjectMouseLeave(objects::TAuControl& control) override;
    void ObjectMouseDown(objects::TAuControl& control, const win::MouseArgs& args) override;
    void ObjectMouseMove(objects::TAuControl& control, const win::MouseArgs& args) override;
    void ObjectMouseUp(objects::TAuControl& control, const win::MouseArgs& args) override;
    void ObjectPopupMenu(objects::TAuControl& control, POINT screen) override;
    void ObjectSelectActions(objects::TAuControl& control, const TAuActions& list) override;
    TAuObject* FindPageObject(const std::string& path) override { return FindObject(path); }
    bool WindowShown() const override { return shown_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void HandleDestroyed() override;

private:
    class StatusBar;
    void BuildControls();
    void BuildControl(model::TAuObject& record, win::WinControl& parent);
    void DestroyControls();
    void ApplyFrame();
    void ApplyAlpha();
    void BuildMenu();
    void UpdateStatusBar();
    void RunList(const model::TAuActions& list);
    void AfterShow();
    // The start pass over the page's objects (prepare or media mode).
    void RunStartPass(bool media);
    void SwitchPage();
    void CloseNow();
    void FadeTo(int from, int to, int stepPercent);
    void WriteSnapshot();

    std::unique_ptr<model::TPageRecord> page_;
    win::WinControl* pageArea_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    HMENU menu_ = nullptr;
    std::map<UINT, const model::TMenuItem*> menuCommands_;
    int currentPage_ = 0;
    int pendingPage_ = -1;
    uint8_t modalKind_ = kModalNone;
    bool freeOnClose_ = false;
    bool background_ = false;
    bool closeOnInput_ = false;
    int closeAfter_ = 0;
    bool loginPassed_ = false;
    bool isMain_ = false;
    bool closing_ = false;
    bool closeRequested_ = false;
    bool shown_ = false;
    int alpha_ = 255;
    POINT dragStart_{0, 0};
    unsigned switchTimer_ = 0, afterShowTimer_ = 0, closeTimer_ = 0;
    bool inModalLoop_ = false;
};

// Start-up's part: the main window and the activation check.
void SetMainForm(TAutoRunForm* form);
void InstallProjectFileCheck();

} // namespace orv::player
