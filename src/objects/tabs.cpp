#include "objects/containers.h"
#include "win/interact.h"

#include <algorithm>

namespace orv::objects {

namespace {

// Icon sizes beyond this are refused by image lists or make absurd bitmaps.
constexpr int kMaxIconSide = 256;

int IconSide(int32_t stored) {
    return std::clamp<int32_t>(stored, 1, kMaxIconSide);
}

} // namespace

// The tab control inside a notebook. Its clicks and mouse buttons are the
// notebook's: the strip fills the notebook, so nothing else could raise them.
class TAuTabNotebook::PageControl : public win::WinControl {
public:
    explicit PageControl(TAuTabNotebook& notebook) : notebook_(notebook) {}

    void DoClick() override { notebook_.DoClick(); }
    void DoDblClick() override { notebook_.DoDblClick(); }
    void DoMouseDown(const win::MouseArgs& a) override { notebook_.DoMouseDown(Shift(a)); }
    void DoMouseMove(const win::MouseArgs& a) override { notebook_.DoMouseMove(Shift(a)); }
    void DoMouseUp(const win::MouseArgs& a) override { notebook_.DoMouseUp(Shift(a)); }

protected:
    void FillCreateArgs(win::CreateArgs& args) override {
        args.className = WC_TABCONTROLW;
        args.style |= WS_CLIPCHILDREN | TCS_TABS;
        if (notebook_.Props().TabStop)
            args.style |= WS_TABSTOP;
        else
            args.style |= TCS_FOCUSNEVER;
    }
    void HandleCreated() override {
        if (notebook_.font_)
            SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(notebook_.font_), FALSE);
        if (notebook_.images_)
            TabCtrl_SetImageList(Handle(), notebook_.images_);
        notebook_.SyncTabs();
    }
    void Resized() override { notebook_.LayoutSheets(); }
    bool HandleReflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) override {
        if (msg != WM_NOTIFY)
            return false;
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->code == TCN_SELCHANGE) {
            notebook_.SetActiveSheet(TabCtrl_GetCurSel(Handle()));
            result = 0;
            return true;
        }
        return false;
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_ERASEBKGND) {
            // The area beside the tabs shows the notebook's colour.
            RECT r;
            GetClientRect(Handle(), &r);
            HDC dc = reinterpret_cast<HDC>(wp);
            SetDCBrushColor(dc, win::ResolveColor(notebook_.Props().BackColor));
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            return 1;
        }
        return win::WinControl::HandleMessage(msg, wp, lp);
    }

private:
    win::MouseArgs Shift(win::MouseArgs a) const {
        a.x += Left();
        a.y += Top();
        return a;
    }
    TAuTabNotebook& notebook_;
};

// ----------------------------------------------------------- TAuTabNotebook

TAuTabNotebook::TAuTabNotebook(TAuObject& record) : TAuKind(record) {
    SetRaisesDescendantEnterLeave(true);
    SetColor(Props().BackColor);
    font_ = nullptr;
    auto pages = std::make_unique<PageControl>(*this);
    pages->SetAlign(win::Align::Client);
    pages_ = &Add(std::move(pages));
}

TAuTabNotebook::~TAuTabNotebook() {
    // The sheets outlive this part of the object (the base destroys the
    // children): they must not call back into it.
    if (pages_)
        for (int i = 0; i < pages_->ChildCount(); ++i)
            if (auto* s = dynamic_cast<TAuTabSheet*>(&pages_->Child(i)))
                s->notebook_ = nullptr;
    pages_ = nullptr;
    if (HWND tab = TabHandle())
        TabCtrl_SetImageList(tab, nullptr);
    if (images_)
        ImageList_Destroy(images_);
    images_ = nullptr;
    if (HWND tab = TabHandle())
        SendMessageW(tab, WM_SETFONT, 0, FALSE);
    if (font_)
        DeleteObject(font_);
}

void TAuTabNotebook::FillCreateArgs(win::CreateArgs&) {
    if (!font_) {
        // A font of our own: the tab control keeps the handle.
        LOGFONTW lf{};
        GetObjectW(win::FontHandle(Props().Font), sizeof lf, &lf);
        font_ = CreateFontIndirectW(&lf);
    }
}

void TAuTabNotebook::HandleCreated() {}

win::WinControl* TAuTabNotebook::ChildParent() {
    return pages_;
}

HWND TAuTabNotebook::TabHandle() const {
    return pages_ ? pages_->Handle() : nullptr;
}

int TAuTabNotebook::SheetCount() const {
    int n = 0;
    if (pages_)
        for (int i = 0; i < pages_->ChildCount(); ++i)
            if (dynamic_cast<TAuTabSheet*>(&pages_->Child(i)))
                ++n;
    return n;
}

TAuTabSheet* TAuTabNotebook::Sheet(int index) const {
    if (!pages_ || index < 0)
        return nullptr;
    for (int i = 0; i < pages_->ChildCount(); ++i)
        if (auto* s = dynamic_cast<TAuTabSheet*>(&pages_->Child(i)))
            if (index-- == 0)
                return s;
    return nullptr;
}

int TAuTabNotebook::ActiveSheet() const {
    return active_;
}

void TAuTabNotebook::SetActiveSheet(int index) {
    const int n = SheetCount();
    active_ = index >= 0 && index < n ? index : -1;
    if (HWND tab = TabHandle())
        if (TabCtrl_GetCurSel(tab) != active_)
            TabCtrl_SetCurSel(tab, active_);
    for (int i = 0; i < n; ++i)
        Sheet(i)->UpdateShown();
}

int TAuTabNotebook::TabImage(int index) const {
    TAuTabSheet* s = Sheet(index);
    if (!s || !images_ || s->Props().Icon.Empty() || index >= ImageList_GetImageCount(images_))
        return -1;
    return index;
}

void TAuTabNotebook::RebuildIcons() {
    const int w = IconSide(Props().IconWidth), h = IconSide(Props().IconHeight);
    if (images_) {
        int cw = 0, ch = 0;
        ImageList_GetIconSize(images_, &cw, &ch);
        if (cw != w || ch != h) {
            if (HWND tab = TabHandle())
                TabCtrl_SetImageList(tab, nullptr);
            ImageList_Destroy(images_);
            images_ = nullptr;
        }
    }
    if (!images_)
        images_ = ImageList_Create(w, h, ILC_COLOR32, SheetCount(), 4);
    if (!images_)
        return;
    ImageList_RemoveAll(images_);
    win::Surface cell;
    if (!cell.Resize(w, h))
        return;
    for (int i = 0; i < SheetCount(); ++i) {
        RECT r{0, 0, w, h};
        FillRect(cell.Dc(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        win::Picture icon;
        if (icon.Assign(Sheet(i)->Props().Icon))
            icon.Draw(cell.Dc(), r);
        win::ImageBitmap bmp;
        if (bmp.Assign(cell.CopyOut(gfx::Rect{0, 0, w, h})))
            ImageList_Add(images_, bmp.Bitmap(), nullptr);
    }
    if (HWND tab = TabHandle())
        TabCtrl_SetImageList(tab, images_);
    SyncTabs();
}

void TAuTabNotebook::SyncTabs() {
    HWND tab = TabHandle();
    if (!tab)
        return;
    TabCtrl_DeleteAllItems(tab);
    const int n = SheetCount();
    for (int i = 0; i < n; ++i) {
        std::wstring text = win::Widen(Sheet(i)->Props().Caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text.data();
        item.iImage = TabImage(i);
        SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    if (active_ >= n)
        active_ = -1;
    TabCtrl_SetCurSel(tab, active_);
    LayoutSheets();
}

void TAuTabNotebook::LayoutSheets() {
    if (!pages_)
        return;
    RECT r = pages_->ClientArea();
    if (HWND tab = TabHandle())
        TabCtrl_AdjustRect(tab, FALSE, &r);
    for (int i = 0; i < SheetCount(); ++i)
        Sheet(i)->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TAuTabNotebook::Resized() {
    LayoutSheets();
}

void TAuTabNotebook::ChildrenLoaded() {
    RebuildIcons();
    // Activating the first and the second sheet once makes every sheet's
    // window; then the stored sheet is shown (none when out of range).
    if (SheetCount() > 1) {
        SetActiveSheet(0);
        SetActiveSheet(1);
    }
    SetActiveSheet(Props().DefaultTabSheet);
}

void TAuTabNotebook::PropertiesChanged() {
    SetColor(Props().BackColor);
    LOGFONTW lf{};
    GetObjectW(win::FontHandle(Props().Font), sizeof lf, &lf);
    HFONT font = CreateFontIndirectW(&lf);
    if (font) {
        if (HWND tab = TabHandle())
            SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (font_)
            DeleteObject(font_);
        font_ = font;
    }
    RebuildIcons();
    if (pages_)
        pages_->Invalidate();
}

void TAuTabNotebook::SheetAdded(TAuTabSheet&) {
    SyncTabs();
}

void TAuTabNotebook::SheetRemoved(TAuTabSheet& sheet) {
    // Called while the sheet is still a child: count it out.
    const int gone = sheet.PageIndex();
    sheet.notebook_ = nullptr;
    if (gone >= 0 && active_ > gone)
        --active_;
    else if (gone == active_)
        active_ = -1;
    HWND tab = TabHandle();
    if (tab && gone >= 0)
        TabCtrl_DeleteItem(tab, gone);
    if (tab)
        TabCtrl_SetCurSel(tab, active_);
}

// -------------------------------------------------------------- TAuTabSheet

TAuTabSheet::TAuTabSheet(TAuObject& record) : TAuKind(record) {
    SetRaisesDescendantEnterLeave(true);
}

void TAuTabSheet::RemovingFromParent() {
    if (notebook_)
        notebook_->SheetRemoved(*this);
}

void TAuTabSheet::HandleCreated() {
    UpdateShown();
}

TAuTabNotebook* TAuTabSheet::Notebook() const {
    return notebook_;
}

int TAuTabSheet::PageIndex() const {
    if (!Parent())
        return -1;
    int n = 0;
    for (int i = 0; i < Parent()->ChildCount(); ++i) {
        win::Control* c = &Parent()->Child(i);
        if (c == this)
            return n;
        if (dynamic_cast<TAuTabSheet*>(c))
            ++n;
    }
    return -1;
}

void TAuTabSheet::FillCreateArgs(win::CreateArgs& args) {
    // Shown only while active.
    args.style &= ~WS_VISIBLE;
}

void TAuTabSheet::ParentChanged() {
    notebook_ = nullptr;
    if (win::WinControl* p = Parent())
        if (auto* nb = dynamic_cast<TAuTabNotebook*>(p->Parent()))
            notebook_ = nb;
    if (notebook_)
        notebook_->SheetAdded(*this);
}

void TAuTabSheet::UpdateShown() {
    if (!Handle())
        return;
    const bool show = notebook_ && notebook_->ActiveSheet() == PageIndex() && Visible();
    ShowWindow(Handle(), show ? SW_SHOWNA : SW_HIDE);
}

void TAuTabSheet::VisibleChanged() {
    UpdateShown();
}

void TAuTabSheet::PropertiesChanged() {
    if (notebook_)
        notebook_->RebuildIcons();
    Invalidate();
}

void TAuTabSheet::PaintBackground(const win::Canvas& canvas) {
    SetDCBrushColor(canvas.dc, win::ResolveColor(notebook_ ? notebook_->Props().BackColor
                                                           : model::color::kBtnFace));
    RECT r = canvas.clip;
    FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

} // namespace orv::objects
