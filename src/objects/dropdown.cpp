// DropDownList: an owner-drawn drop-down list without free text whose items
// carry their own OnSelect and SelectActions lists.
#include "objects/lists.h"
#include "win/interact.h"

#include <algorithm>

namespace orv::objects {

namespace {

int EntryHeight(int32_t stored) {
    return std::clamp<int32_t>(stored, 1, 255);
}

} // namespace

TAuDropDownList::TAuDropDownList(TAuObject& record) : TAuKind(record) {
    SetColor(Props().BackColor);
    // The box reports its own choices; a press opens the list instead.
    SetSynthesizeClick(false);
    icons_.Load(Props().Items);
}

TAuDropDownList::~TAuDropDownList() {
    // Emptying the box while it goes must run no actions.
    attached_ = false;
    DestroyHandle();
}

void TAuDropDownList::FillCreateArgs(win::CreateArgs& args) {
    args.className = L"COMBOBOX";
    args.style |= WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS |
                  (Props().TabStop ? WS_TABSTOP : 0);
    // The window's height at creation is the height of the opened list.
    args.height = FieldHeight() + DropDownLines() * EntryHeight(Props().ItemHeight) + 2;
}

int TAuDropDownList::DropDownLines() const {
    return std::clamp<int32_t>(Props().DropDownCount, 1, 100);
}

int TAuDropDownList::FieldHeight() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!Handle() || !GetComboBoxInfo(Handle(), &info))
        return EntryHeight(Props().ItemHeight) + 6;
    // The selection field sits inside the box's frame, as far from the
    // bottom edge as from the top.
    return info.rcItem.bottom + info.rcItem.top;
}

void TAuDropDownList::HandleCreated() {
    Fill();
}

// Loading: the items in order (their icons made transparent when they were
// decoded), then SelectedIndex as the current item.
void TAuDropDownList::Fill() {
    HWND h = Handle();
    if (!h)
        return;
    const bool was = attached_;
    attached_ = false;
    model::DropDownListProps& p = Props();
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(p.Font)), FALSE);
    SendMessageW(h, CB_RESETCONTENT, 0, 0);
    SendMessageW(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), EntryHeight(p.ItemHeight));
    SendMessageW(h, CB_SETITEMHEIGHT, 0, EntryHeight(p.ItemHeight));
    for (const model::TListBoxItem& item : p.Items) {
        std::wstring text = win::Widen(item.Caption);
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetItemIndex(p.SelectedIndex);
    attached_ = was;
    // The closed box is as high as its field.
    SetSize(Width(), FieldHeight());
    ::InvalidateRect(h, nullptr, TRUE);
}

void TAuDropDownList::BoundsChanged(const RECT& old) {
    TAuKind::BoundsChanged(old);
    HWND h = Handle();
    if (!h)
        return;
    // The height given to the box's window is how far its list opens
    // (DropDownCount lines); the box itself keeps its field's height.
    SetWindowPos(h, nullptr, 0, 0, Width(),
                 FieldHeight() + DropDownLines() * EntryHeight(Props().ItemHeight) + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (Height() != FieldHeight())
        SetSize(Width(), FieldHeight());
}

void TAuDropDownList::PropertiesChanged() {
    SetColor(Props().BackColor);
    icons_.Load(Props().Items);
    Fill();
}

int TAuDropDownList::ItemCount() const {
    if (!Handle())
        return static_cast<int>(Props().Items.size());
    return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

int TAuDropDownList::ItemIndex() const {
    if (!Handle())
        return Props().SelectedIndex;
    const LRESULT cur = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
    return cur == CB_ERR ? -1 : static_cast<int>(cur);
}

void TAuDropDownList::SetItemIndex(int index) {
    if (!Handle())
        return;
    if (index < 0 || index >= ItemCount())
        index = -1;
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Props().SelectedIndex = ItemIndex();
}

std::vector<model::TAuActions> TAuDropDownList::SelectedActionLists() const {
    const int i = ItemIndex();
    if (i < 0 || static_cast<size_t>(i) >= Props().Items.size())
        return {};
    return {Props().Items[static_cast<size_t>(i)].Actions.SelectActions};
}

void TAuDropDownList::SetFont(const model::TFont& font) {
    Props().Font = font;
    if (Handle())
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), TRUE);
}

void TAuDropDownList::SetBackColor(int32_t color) {
    Props().BackColor = color;
    SetColor(color);
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, TRUE);
}

// The current item's OnSelect list, then the record's OnClick list.
void TAuDropDownList::SelectionChanged() {
    std::weak_ptr<char> life = LifeToken();
    const int i = ItemIndex();
    Props().SelectedIndex = i;
    if (i >= 0 && static_cast<size_t>(i) < Props().Items.size())
        if (TAuEventSink* sink = SinkOf(*this)) {
            sink->ObjectSelectActions(*this,
                                      Props().Items[static_cast<size_t>(i)].Actions.OnSelect);
            if (life.expired())
                return;
        }
    DoClick();
}

bool TAuDropDownList::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_DRAWITEM: {
        const model::DropDownListProps& p = Props();
        DrawListEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp), p.Items, icons_,
                      {p.ItemHeight, p.IconWidth, p.IconHeight, p.BackColor, &p.Font});
        result = TRUE;
        return true;
    }
    case WM_COMMAND:
        if (HIWORD(wp) == CBN_SELCHANGE) {
            if (attached_)
                SelectionChanged();
            result = 0;
            return true;
        }
        return false;
    default:
        return TAuKind::HandleReflected(msg, wp, lp, result);
    }
}

LRESULT TAuDropDownList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CTLCOLORLISTBOX) {
        // The opened list in the box's colour.
        HDC dc = reinterpret_cast<HDC>(wp);
        SetDCBrushColor(dc, win::ResolveColor(Props().BackColor));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    return TAuKind::HandleMessage(msg, wp, lp);
}

} // namespace orv::objects
