#include "player/autorunform.h"

#include "base/fsys.h"
#include "base/path.h"
#include "gfx/codecs.h"
#include "player/placement.h"
#include "player/project_instance.h"
#include "startup/startup.h"
#include "win/controls/drawing.h"
#include "win/interact.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <vector>

namespace orv::player {

using model::TAuActions;
using model::TAuObject;
using objects::TAuControl;

namespace {

constexpr unsigned kTimerMs = 10;
constexpr UINT kFirstMenuCommand = 0x1000;
constexpr UINT kDeleteForm = WM_APP + 1;

TAutoRunForm* g_main = nullptr;
TAutoRunForm* g_background = nullptr;
bool g_checkProjectFile = false;
int g_snapshotSequence = 0;

bool IsDesignView() {
    return Startup().editorMode && !Startup().previewFlag;
}

// A message-only window that frees sub pages once their close has fully
// returned, so a window is never freed inside its own message handler.
LRESULT CALLBACK DeleterProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kDeleteForm) {
        auto* form = reinterpret_cast<TAutoRunForm*>(l);
        // A list still running on the window (in a message box's loop, say)
        // keeps it alive until it returns.
        if (form->ListsRunning())
            PostMessageW(h, kDeleteForm, 0, l);
        else
            delete form;
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

HWND Deleter() {
    static HWND hwnd = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DeleterProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvexaFormDeleter";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    }();
    return hwnd;
}

// A 32-bit icon from a stored picture, or null.
HICON IconFromPicture(const model::TPicture& p) {
    if (p.Empty())
        return nullptr;
    gfx::Image img;
    if (!gfx::DecodePicture(model::PictureFormatOf(p.Class), p.Bytes.data(), p.Bytes.size(),
                            &img) ||
        img.Empty())
        return nullptr;
    BITMAPV5HEADER bi{};
    bi.bV5Size = sizeof bi;
    bi.bV5Width = img.width;
    bi.bV5Height = -img.height;
    bi.bV5Planes = 1;
    bi.bV5BitCount = 32;
    bi.bV5Compression = BI_BITFIELDS;
    bi.bV5RedMask = 0x00FF0000;
    bi.bV5GreenMask = 0x0000FF00;
    bi.bV5BlueMask = 0x000000FF;
    bi.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC dc = GetDC(nullptr);
    HBITMAP color =
        CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, dc);
    if (!color)
        return nullptr;
    memcpy(bits, img.pixels.data(), img.pixels.size() * 4);
    HBITMAP mask = CreateBitmap(img.width, img.height, 1, 1, nullptr);
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

// A page name made safe as part of a file name.
std::string SafeFileName(std::string name) {
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 32 ||
            std::string("\\/:*?\"<>|").find(c) != std::string::npos)
            c = '_';
    return name.empty() ? "page" : name;
}

} // namespace

// ------------------------------------------------------------ status bar

class TAutoRunForm::StatusBar : public win::WinControl {
public:
    void SetPanels(const std::vector<model::TStatusPanel>& panels, const model::TFont& font) {
        if (!Handle())
            return;
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), TRUE);
        std::vector<int> rights;
        int x = 0;
        for (size_t i = 0; i < panels.size(); ++i) {
            x += std::max(0, panels[i].Width);
            rights.push_back(i + 1 == panels.size() ? -1 : x);
        }
        if (rights.empty())
            rights.push_back(-1);
        SendMessageW(Handle(), SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
        for (size_t i = 0; i < panels.size(); ++i) {
            // A tab before the text centres it, two right-align it.
            std::wstring prefix = panels[i].Alignment == 2   ? L"\t"
                                  : panels[i].Alignment == 1 ? L"\t\t"
                                                             : L"";
            std::wstring text = prefix + win::Widen(panels[i].Text);
            SendMessageW(Handle(), SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }

protected:
    void FillCreateArgs(win::CreateArgs& args) override {
        win::WinControl::FillCreateArgs(args);
        args.className = STATUSCLASSNAMEW;
        args.style = WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    }
};

// --------------------------------------------------------------- window

TAutoRunForm::TAutoRunForm() : page_(model::MakeBlankPage("")) {
    CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, nullptr, L"");
    auto bar = std::make_unique<StatusBar>();
    bar->SetAlign(win::Align::Bottom);
    bar->SetBounds(0, 0, 100, 19);
    bar->SetVisible(false);
    statusBar_ = &Add(std::move(bar));
    auto area = std::make_unique<win::WinControl>();
    area->SetAlign(win::Align::Client);
    pageArea_ = &Add(std::move(area));
    SetDesignView(IsDesignView());
    ResetPage("");
}

TAutoRunForm::~TAutoRunForm() {
    if (g_main == this)
        g_main = nullptr;
    if (g_background == this)
        g_background = nullptr;
    DestroyControls();
    if (Handle())
        DestroyHandle();
    if (menu_)
        DestroyMenu(menu_);
}

TAutoRunForm* TAutoRunForm::MainWindow() {
    return g_main;
}

void TAutoRunForm::ResetPage(const std::string& caption) {
    DestroyControls();
    closeOnInput_ = false;
    closeAfter_ = 0;
    page_ = model::MakeBlankPage(caption);
    ApplyFrame();
    BuildMenu();
    UpdateStatusBar();
    BuildControls();
    if (!IsDesignView() && page_->Root)
        objects::PageBuiltPass(*page_->Root);
    SetWindowTextW(Handle(), win::Widen(caption).c_str());
}

void TAutoRunForm::DestroyControls() {
    if (page_ && page_->Root)
        objects::DestroyKindControl(*page_->Root);
    if (pageArea_)
        pageArea_->DestroyChildren();
}

void TAutoRunForm::BuildControl(TAuObject& record, win::WinControl& parent) {
    TAuControl* c = objects::CreateKindControl(record, parent);
    if (!c)
        return; // a kind this build has no control for yet: skipped with its children
    objects::ApplySharedProperties(*c, true);
    if (!IsDesignView())
        objects::BindEvents(*c, *this);
    if (win::WinControl* box = c->ChildParent()) {
        box->DisableAlign();
        for (size_t i = 0; i < record.ChildCount(); ++i)
            BuildControl(record.Child(i), *box);
        box->EnableAlign();
        c->ChildrenLoaded();
    }
}

void TAutoRunForm::BuildControls() {
    if (!page_->Root)
        return;
    page_->Root->Align = static_cast<uint8_t>(win::Align::Client);
    pageArea_->DisableAlign();
    BuildControl(*page_->Root, *pageArea_);
    pageArea_->EnableAlign();
}

void TAutoRunForm::ApplyFrame() {
    const model::TPageRecord& p = *page_;
    DWORD style = WS_CLIPCHILDREN | (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE);
    DWORD ex = 0;
    switch (p.BorderStyle) {
    case 0: // None
        style |= WS_POPUP;
        break;
    case 1: // Single
        style |= WS_CAPTION | WS_BORDER;
        break;
    case 3: // Dialog
        style |= WS_CAPTION | WS_DLGFRAME;
        ex |= WS_EX_DLGMODALFRAME;
        break;
    case 4: // ToolWindow
        style |= WS_CAPTION;
        ex |= WS_EX_TOOLWINDOW;
        break;
    case 5: // SizeToolWin
        style |= WS_CAPTION | WS_THICKFRAME;
        ex |= WS_EX_TOOLWINDOW;
        break;
    default: // Sizeable
        style |= WS_CAPTION | WS_THICKFRAME;
    }
    if (p.BorderStyle != 0 && (p.BorderIcons & model::bordericon::kSystemMenu)) {
        style |= WS_SYSMENU;
        if (p.BorderStyle == 1 || p.BorderStyle == 2) {
            if (p.BorderIcons & model::bordericon::kMinimize)
                style |= WS_MINIMIZEBOX;
            if (p.BorderIcons & model::bordericon::kMaximize)
                style |= WS_MAXIMIZEBOX;
        }
        if ((p.BorderIcons & model::bordericon::kHelp) &&
            !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
            ex |= WS_EX_CONTEXTHELP;
    }
    if (background_)
        style = (style & WS_VISIBLE) | WS_POPUP | WS_CLIPCHILDREN;
    SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongW(Handle(), GWL_EXSTYLE, static_cast<LONG>(ex));
    SetWindowPos(Handle(), p.FormStyle == 3 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetBounds(p.Left, p.Top, std::max(p.Width, 1), std::max(p.Height, 1));
}

void TAutoRunForm::ApplyAlpha() {
    const model::TPageRecord& p = *page_;
    bool blend = (p.Fade || p.Alpha != 100) && !IsDesignView();
    alpha_ = p.Fade ? 0 : AlphaFromPercent(p.Alpha);
    LONG ex = GetWindowLongW(Handle(), GWL_EXSTYLE);
    if (!blend && !p.Transparent) {
        SetWindowLongW(Handle(), GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        return;
    }
    SetWindowLongW(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
    DWORD flags = (blend ? LWA_ALPHA : 0) | (p.Transparent ? LWA_COLORKEY : 0);
    SetLayeredWindowAttributes(Handle(), win::ResolveColor(p.TransparentColor),
                               static_cast<BYTE>(blend ? alpha_ : 255), flags);
}

namespace {

// Builds a menu of items; commands of the items without sub-items are
// numbered from next and remembered in commands.
HMENU MakeMenu(const std::vector<model::TMenuItem>& items, bool bar,
               std::map<UINT, const model::TMenuItem*>& commands, UINT& next) {
    HMENU m = bar ? CreateMenu() : CreatePopupMenu();
    for (const model::TMenuItem& item : items) {
        if (!item.Visible)
            continue;
        UINT flags = MF_STRING | (item.Enabled ? 0 : MF_GRAYED) | (item.Checked ? MF_CHECKED : 0);
        if (item.Caption == "-") {
            AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
        } else if (!item.Items.empty()) {
            AppendMenuW(m, flags | MF_POPUP,
                        reinterpret_cast<UINT_PTR>(MakeMenu(item.Items, false, commands, next)),
                        win::Widen(item.Caption).c_str());
        } else {
            commands[next] = &item;
            AppendMenuW(m, flags, next++, win::Widen(item.Caption).c_str());
        }
    }
    return m;
}

} // namespace

void TAutoRunForm::BuildMenu() {
    HMENU old = GetMenu(Handle());
    menuCommands_.clear();
    UINT next = kFirstMenuCommand;
    SetMenu(Handle(), page_->MenuBarItems.empty()
                          ? nullptr
                          : MakeMenu(page_->MenuBarItems, true, menuCommands_, next));
    if (old)
        DestroyMenu(old);
    menu_ = GetMenu(Handle());
    DrawMenuBar(Handle());
}

void TAutoRunForm::ObjectPopupMenu(TAuControl& control, POINT screen) {
    TAuObject* record = control.Record();
    if (!record || record->PopupMenu.empty() || IsDesignView())
        return;
    std::map<UINT, const model::TMenuItem*> commands;
    UINT next = 1;
    HMENU menu = MakeMenu(record->PopupMenu, false, commands, next);
    UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                                   screen.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    auto it = commands.find(chosen);
    if (it != commands.end())
        RunMenuItem(*this, *it->second);
}

void TAutoRunForm::UpdateStatusBar() {
    const model::TPageRecord& p = *page_;
    statusBar_->SetBounds(0, 0, Width(), std::max(1, p.StatusBarHeight));
    statusBar_->SetPanels(p.StatusBarPanels, p.StatusBarFont);
    statusBar_->SetVisible(!p.StatusBarPanels.empty());
    Realign();
}

bool TAutoRunForm::LoadPage(Stream& s, int mode) {
    auto fresh = std::make_unique<model::TPageRecord>();
    bool ok = model::ReadPageRecord(s, *fresh, win::UI());
    if (!ok)
        return false;
    DestroyControls();
    runState.loginFailures.clear();
    if (mode == 0) {
        page_ = std::move(fresh);
        ApplyFrame();
        BuildMenu();
    } else {
        // A page switched in keeps the window: frame, size, transparency,
        // fading, menu bar and the OnClose list it was opened with.
        model::TPageRecord& p = *page_;
        p.Caption = fresh->Caption;
        p.PositionBy = fresh->PositionBy;
        p.PositionMargin = fresh->PositionMargin;
        p.Position = fresh->Position;
        p.WindowState = fresh->WindowState;
        p.PageIcon = fresh->PageIcon;
        p.OnShow = std::move(fresh->OnShow);
        p.StatusBarHeight = fresh->StatusBarHeight;
        p.StatusBarFont = fresh->StatusBarFont;
        p.StatusBarPanels = std::move(fresh->StatusBarPanels);
        p.Root = std::move(fresh->Root);
    }
    SetWindowTextW(Handle(), win::Widen(page_->Caption).c_str());
    UpdateStatusBar();
    BuildControls();
    if (!IsDesignView() && page_->Root)
        objects::PageBuiltPass(*page_->Root);
    if (mode == 0) {
        ApplyAlpha();
        ApplyPlacement();
    }
    if (HICON icon = IconFromPicture(page_->PageIcon)) {
        HICON oldBig = reinterpret_cast<HICON>(
            SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)));
        HICON oldSmall = reinterpret_cast<HICON>(
            SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
        if (oldBig)
            DestroyIcon(oldBig);
        if (oldSmall && oldSmall != oldBig)
            DestroyIcon(oldSmall);
    }
    return true;
}

bool TAutoRunForm::LoadPageByIndex(int index, int mode) {
    const model::TAuProject& project = Project();
    if (index < 0 || index >= static_cast<int>(project.Pages.size()))
        return false;
    std::vector<uint8_t> bytes;
    std::string file = MakeProjectPath(Startup().projectFolder, kProjectFileName);
    if (!model::LoadPageBytes(project, index, file, bytes, win::UI()))
        return false;
    MemoryStream s(std::move(bytes));
    return LoadPage(s, mode);
}

bool TAutoRunForm::WritePage(Stream& s) {
    if (page_->Root)
        for (size_t i = 0; i < page_->Root->ChildCount(); ++i)
            if (TAuControl* c = objects::ControlOf(page_->Root->Child(i)))
                objects::StoreBounds(*c);
    return model::WritePageRecord(s, *page_, win::UI());
}

void TAutoRunForm::ApplyPlacement() {
    const model::TPageRecord& p = *page_;
    PlaceRect area;
    if (p.PositionBy == 1) {
        RECT r;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
        area = {r.left, r.top, r.right, r.bottom};
    } else if (p.PositionBy == 2) {
        int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        area = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    } else {
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    Placement cur{Left(), Top(), Width(), Height()};
    Placement at = orv::PlaceWindow(area, p.Position, p.PositionMargin, p.Left, p.Top, cur);
    SetBounds(at.left, at.top, at.width, at.height);
    if (IsWindowVisible(Handle()))
        ShowWindow(Handle(), p.WindowState == 1   ? SW_SHOWMINIMIZED
                             : p.WindowState == 2 ? SW_SHOWMAXIMIZED
                                                  : SW_SHOWNORMAL);
}

TAuObject* TAutoRunForm::FindObject(const std::string& path) {
    return page_->Root ? model::FindObject(*page_->Root, path) : nullptr;
}

// ------------------------------------------------------ showing and closing

void TAutoRunForm::ShowPage() {
    const model::TPageRecord& p = *page_;
    int cmd = p.WindowState == 1   ? SW_SHOWMINIMIZED
              : p.WindowState == 2 ? SW_SHOWMAXIMIZED
                                   : SW_SHOW;
    if (background_)
        cmd = SW_SHOWMAXIMIZED;
    ShowWindow(Handle(), cmd);
    UpdateWindow(Handle());
    if (IsDesignView())
        return;
    shown_ = true;
    // The page as shown, before its OnShow list may switch it away.
    WriteSnapshot();
    RunList(page_->OnShow);
    afterShowTimer_ = StartTimer(kTimerMs, [this] {
        StopTimer(afterShowTimer_);
        afterShowTimer_ = 0;
        AfterShow();
    });
}

void TAutoRunForm::RunStartPass(bool media) {
    if (page_->Root && !IsDesignView())
        objects::StartPass(*page_->Root, media);
}

void TAutoRunForm::AfterShow() {
    InvalidateRect(ClientRect());
    UpdateWindow(Handle());
    RunStartPass(false);
    if (page_->Fade) {
        FadeTo(0, AlphaFromPercent(page_->Alpha), page_->FadeInStep);
        alpha_ = AlphaFromPercent(page_->Alpha);
    }
    if (closeAfter_ > 100)
        closeTimer_ = StartTimer(static_cast<unsigned>(closeAfter_), [this] {
            StopTimer(closeTimer_);
            closeTimer_ = 0;
            if (!closeRequested_)
                PostMessageW(Handle(), WM_CLOSE, 0, 0);
        });
    RunStartPass(true);
}

void TAutoRunForm::FadeTo(int from, int to, int stepPercent) {
    LONG ex = GetWindowLongW(Handle(), GWL_EXSTYLE);
    SetWindowLongW(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
    const std::vector<int> steps =
        to >= from ? FadeInSteps(stepPercent, to) : FadeOutSteps(stepPercent, from);
    DWORD flags = LWA_ALPHA | (page_->Transparent ? LWA_COLORKEY : 0);
    for (int a : steps) {
        SetLayeredWindowAttributes(Handle(), win::ResolveColor(page_->TransparentColor),
                                   static_cast<BYTE>(a), flags);
        UpdateWindow(Handle());
        Sleep(25);
    }
}

void TAutoRunForm::GoToPage(int index) {
    pendingPage_ = index;
    if (switchTimer_)
        StopTimer(switchTimer_);
    switchTimer_ = StartTimer(kTimerMs, [this] {
        StopTimer(switchTimer_);
        switchTimer_ = 0;
        SwitchPage();
    });
}

void TAutoRunForm::SwitchPage() {
    int index = pendingPage_;
    if (index < 0 || index >= static_cast<int>(Project().Pages.size()))
        return;
    if (page_->Root)
        if (TAuControl* c = objects::ControlOf(*page_->Root))
            c->Ctl().SetVisible(false);
    if (LoadPageByIndex(index, 1)) {
        currentPage_ = index;
        RunStartPass(false);
        RunStartPass(true);
    }
    WriteSnapshot();
}

void TAutoRunForm::RequestClose() {
    if (closeRequested_)
        return;
    if (closeTimer_)
        StopTimer(closeTimer_);
    closeTimer_ = StartTimer(kTimerMs, [this] {
        StopTimer(closeTimer_);
        closeTimer_ = 0;
        closeRequested_ = true;
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    });
}

void TAutoRunForm::CloseNow() {
    if (closing_)
        return;
    closing_ = true;
    if (!IsDesignView()) {
        if (page_->Fade && IsWindowVisible(Handle()))
            FadeTo(alpha_, 0, page_->FadeOutStep);
        RunList(page_->OnClose);
        if (isMain_ && !Startup().editorMode)
            RunExitActions();
    }
    ShowWindow(Handle(), SW_HIDE);
    DestroyControls();
    if (g_background == this)
        g_background = nullptr;
    if (isMain_)
        PostQuitMessage(0);
    if (freeOnClose_)
        PostMessageW(Deleter(), kDeleteForm, 0, reinterpret_cast<LPARAM>(this));
}

void TAutoRunForm::WriteSnapshot() {
    const char* dir = std::getenv("ORVEXA_SNAPSHOT_DIR");
    if (!dir || !*dir || !IsWindowVisible(Handle()))
        return;
    // The client area only: the frame and the menu bar are the platform's.
    gfx::Image whole = Snapshot();
    RECT wr, cr;
    GetWindowRect(Handle(), &wr);
    GetClientRect(Handle(), &cr);
    POINT origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    int ox = origin.x - wr.left, oy = origin.y - wr.top;
    gfx::Image img;
    if (whole.width == wr.right - wr.left && whole.height == wr.bottom - wr.top && ox >= 0 &&
        oy >= 0 && ox + cr.right <= whole.width && oy + cr.bottom <= whole.height) {
        img.width = cr.right;
        img.height = cr.bottom;
        img.pixels.resize(static_cast<size_t>(img.width) * img.height);
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x)
                img.At(x, y) = whole.At(x + ox, y + oy);
    } else {
        img = std::move(whole);
    }
    std::vector<uint8_t> png;
    if (img.Empty() || !gfx::EncodePng(img, png))
        return;
    const auto& pages = Project().Pages;
    std::string name = currentPage_ >= 0 && currentPage_ < static_cast<int>(pages.size())
                           ? pages[static_cast<size_t>(currentPage_)]->Name
                           : page_->Caption;
    char seq[16];
    snprintf(seq, sizeof seq, "%03d", ++g_snapshotSequence);
    FileStream f;
    if (f.Open(fsys::Join(dir, std::string(seq) + "-" + SafeFileName(name) + ".png"),
               FileStream::Mode::Create))
        f.WriteExact(png.data(), png.size());
}

bool TAutoRunForm::OpenSubPage(int index, int mode, bool closeOnInput, int closeAfter) {
    if (index < 0 || index >= static_cast<int>(Project().Pages.size()))
        return false;
    auto form = std::make_unique<TAutoRunForm>();
    if (mode == 2)
        form->background_ = true;
    if (!form->LoadPageByIndex(index, 0))
        return false;
    form->ApplyPlacement();
    form->freeOnClose_ = true;
    form->currentPage_ = index;
    if (mode == 2) {
        form->ApplyFrame();
        EnableWindow(form->Handle(), FALSE);
        if (g_background)
            PostMessageW(g_background->Handle(), WM_CLOSE, 0, 0);
        g_background = form.get();
    }
    form->modalKind_ = (mode == 1 || mode == 3) ? static_cast<uint8_t>(mode) : kModalNone;
    form->closeAfter_ = closeAfter;
    form->closeOnInput_ = closeOnInput;
    form->loginPassed_ = false;
    if (mode == 1 || mode == 3) {
        form->freeOnClose_ = false;
        if (mode == 3) {
            form->closeAfter_ = 0;
            form->closeOnInput_ = false;
        }
        HWND owner = g_main ? g_main->Handle() : nullptr;
        if (owner)
            EnableWindow(owner, FALSE);
        form->inModalLoop_ = true;
        form->ShowPage();
        MSG m;
        while (form->inModalLoop_) {
            int r = GetMessageW(&m, nullptr, 0, 0);
            if (r <= 0) {
                PostQuitMessage(r == 0 ? static_cast<int>(m.wParam) : 0);
                break;
            }
            PreTranslate(m);
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (owner) {
            EnableWindow(owner, TRUE);
            SetForegroundWindow(owner);
        }
        return mode == 3 && form->loginPassed_;
    }
    TAutoRunForm* f = form.release(); // frees itself when closed
    f->ShowPage();
    if (mode == 2 && g_main)
        SetForegroundWindow(g_main->Handle());
    return false;
}

bool TAutoRunForm::PreTranslate(const MSG& m) {
    if (m.message != WM_KEYUP || !m.hwnd)
        return false;
    auto* form = dynamic_cast<TAutoRunForm*>(win::Window::FromHandle(GetAncestor(m.hwnd, GA_ROOT)));
    if (form && (form->closeOnInput_ || (Startup().editorMode && Startup().previewFlag)))
        form->RequestClose();
    return false;
}

int TAutoRunForm::RunMessageLoop() {
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        PreTranslate(m);
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return static_cast<int>(m.wParam);
}

void TAutoRunForm::CheckProjectFile() {
    if (!g_checkProjectFile)
        return;
    std::string file = MakeProjectPath(Startup().projectFolder, kProjectFileName);
    if (fsys::FileAge(file) == Startup().projectFileTime)
        return;
    g_checkProjectFile = false;
    win::UI().Show("Project file changed, terminate!", "Terminate", mb::kIconInformation | mb::kOk);
    PostQuitMessage(0);
}

LRESULT TAutoRunForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        CloseNow();
        inModalLoop_ = false;
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == 0 && lp == 0) {
            auto it = menuCommands_.find(LOWORD(wp));
            if (it != menuCommands_.end()) {
                RunMenuItem(*this, *it->second);
                return 0;
            }
        }
        break;
    case WM_ACTIVATEAPP:
        if (wp && isMain_ && !Startup().editorMode)
            CheckProjectFile();
        break;
    case WM_GETMINMAXINFO:
        break;
    }
    return win::WinControl::HandleMessage(msg, wp, lp);
}

void TAutoRunForm::HandleDestroyed() {
    win::WinControl::HandleDestroyed();
}

// ---------------------------------------------------------------- events

void TAutoRunForm::RunList(const TAuActions& list) {
    if (!list.empty())
        RunActionList(*this, list);
}

void TAutoRunForm::ObjectClick(TAuControl& control) {
    RunList(control.Record()->OnClick);
    if (closeOnInput_)
        RequestClose();
}

void TAutoRunForm::ObjectSelectActions(TAuControl&, const TAuActions& list) {
    if (!IsDesignView())
        RunList(list);
}

void TAutoRunForm::ObjectDblClick(TAuControl& control) {
    RunList(control.Record()->OnDoubleClick);
}

void TAutoRunForm::ObjectMouseEnter(TAuControl& control) {
    if (!control.Ctl().Enabled())
        return;
    if (objects::KindInfoOf(control.Kind()).fading)
        control.SetHovered(true);
    RunList(control.Record()->OnMouseEnter);
}

void TAutoRunForm::ObjectMouseLeave(TAuControl& control) {
    control.SetHovered(false);
    if (control.Ctl().Enabled())
        RunList(control.Record()->OnMouseLeave);
}

void TAutoRunForm::ObjectMouseDown(TAuControl& control, const win::MouseArgs& args) {
    if (args.button != win::MouseButton::Left)
        return;
    dragStart_ = {args.x, args.y};
    if (control.Ctl().Enabled())
        RunList(control.Record()->OnMouseDown);
}

void TAutoRunForm::ObjectMouseMove(TAuControl& control, const win::MouseArgs& args) {
    // Dragging a title-bar object with the left button alone moves the window.
    const unsigned buttonsAndKeys = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL;
    if ((args.keys & buttonsAndKeys) != MK_LBUTTON || !control.Record()->WindowTitleBar)
        return;
    int dx = args.x - dragStart_.x, dy = args.y - dragStart_.y;
    if (dx || dy)
        SetPosition(Left() + dx, Top() + dy);
}

void TAutoRunForm::ObjectMouseUp(TAuControl& control, const win::MouseArgs& args) {
    if (args.button != win::MouseButton::Left)
        return;
    RunList(control.Record()->OnMouseUp);
}

// ------------------------------------------------------ engine's window

ActionTarget* TAutoRunForm::TargetOf(TAuObject& record) {
    return dynamic_cast<ActionTarget*>(objects::ControlOf(record));
}

void TAutoRunForm::SetObjectEnabled(TAuObject& record, bool enabled) {
    record.Enabled = enabled;
    if (TAuControl* c = objects::ControlOf(record))
        c->Ctl().SetEnabled(enabled);
}

void TAutoRunForm::SetObjectVisible(TAuObject& record, bool visible) {
    record.Visible = visible;
    if (TAuControl* c = objects::ControlOf(record))
        c->Ctl().SetVisible(visible || IsDesignView());
}

void TAutoRunForm::RequestCloseMain() {
    if (g_main)
        g_main->RequestClose();
}

void TAutoRunForm::SetWindowState(int state) {
    ShowWindow(Handle(), state == 1 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
}

bool TAutoRunForm::IsPreview() const {
    return Startup().editorMode && Startup().previewFlag;
}

int TAutoRunForm::StatusPanelCount() const {
    return static_cast<int>(page_->StatusBarPanels.size());
}

void TAutoRunForm::SetStatusPanelText(int index, const std::string& text) {
    if (index < 0 || index >= StatusPanelCount())
        return;
    page_->StatusBarPanels[static_cast<size_t>(index)].Text = text;
    statusBar_->SetPanels(page_->StatusBarPanels, page_->StatusBarFont);
}

void TAutoRunForm::LoadObjectFromFile(const std::string& objectPath, const std::string& file) {
    TAuObject* record = FindObject(objectPath);
    if (!record || !record->Parent())
        return;
    TAuControl* parentControl = objects::ControlOf(*record->Parent());
    win::WinControl* box = parentControl ? parentControl->ChildParent() : nullptr;
    objects::DestroyKindControl(*record);
    model::LoadObjectFile(*record, file, win::UI());
    if (box) {
        box->DisableAlign();
        BuildControl(*record, *box);
        box->EnableAlign();
    }
}

// Installed by start-up for the main player window.
void InstallProjectFileCheck() {
    g_checkProjectFile = true;
}
void SetMainForm(TAutoRunForm* form) {
    g_main = form;
    if (form)
        form->SetMainWindow(true);
}

} // namespace orv::player
