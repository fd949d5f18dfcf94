// ListBox: an owner-drawn list box with fixed item height whose items carry
// their own OnSelect and SelectActions lists.
#include "objects/lists.h"
#include "win/interact.h"

namespace orv::objects {

TAuListBox::TAuListBox(TAuObject& record) : TAuKind(record) {
    SetColor(Props().BackColor);
    icons_.Load(Props().Items);
}

void TAuListBox::FillCreateArgs(win::CreateArgs& args) {
    const model::ListBoxProps& p = Props();
    args.className = L"LISTBOX";
    args.style |= WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                  LBS_NOINTEGRALHEIGHT | (p.MultiSelect ? LBS_EXTENDEDSEL : 0) |
                  (p.TabStop ? WS_TABSTOP : 0);
    args.exStyle |= p.Border ? WS_EX_CLIENTEDGE : 0;
}

void TAuListBox::HandleCreated() {
    Fill();
}

// Loading: the lines in order, the stored selected flags (and SelectedIndex
// too in a multi-select list), SelectedIndex as the current item; then the
// flags as the control has them and the current index remembered.
void TAuListBox::Fill() {
    HWND h = Handle();
    if (!h)
        return;
    model::ListBoxProps& p = Props();
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(p.Font)), FALSE);
    SendMessageW(h, LB_RESETCONTENT, 0, 0);
    SendMessageW(h, LB_SETITEMHEIGHT, 0, std::clamp<int32_t>(p.ItemHeight, 1, 255));
    const int n = static_cast<int>(p.Items.size());
    for (const model::TListBoxItem& item : p.Items) {
        std::wstring text = win::Widen(item.Caption);
        SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    for (int i = 0; i < n; ++i)
        if (p.Items[static_cast<size_t>(i)].Selected) {
            if (p.MultiSelect)
                SendMessageW(h, LB_SETSEL, TRUE, i);
            else
                SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        }
    if (p.MultiSelect && p.SelectedIndex >= 0 && p.SelectedIndex < n)
        SendMessageW(h, LB_SETSEL, TRUE, p.SelectedIndex);
    SetItemIndex(p.SelectedIndex);
    StoreSelection();
    remembered_ = ItemIndex();
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(h, nullptr, TRUE);
}

void TAuListBox::PropertiesChanged() {
    SetColor(Props().BackColor);
    icons_.Load(Props().Items);
    Fill();
}

bool TAuListBox::IsSelected(int index) const {
    if (!Handle() || index < 0 || index >= ItemCount())
        return false;
    if (Props().MultiSelect)
        return SendMessageW(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    return ItemIndex() == index;
}

// The record follows the control, so what is written is what is shown.
void TAuListBox::StoreSelection() {
    if (!Handle())
        return;
    model::ListBoxProps& p = Props();
    const int n = std::min<int>(ItemCount(), static_cast<int>(p.Items.size()));
    for (int i = 0; i < n; ++i)
        p.Items[static_cast<size_t>(i)].Selected = IsSelected(i);
    p.SelectedIndex = ItemIndex();
}

int TAuListBox::ItemCount() const {
    if (!Handle())
        return static_cast<int>(Props().Items.size());
    return static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
}

int TAuListBox::ItemIndex() const {
    if (!Handle())
        return Props().SelectedIndex;
    if (Props().MultiSelect) {
        // The current item of a multi-select list is its focused item, and
        // only when it is selected (none otherwise).
        const int caret = static_cast<int>(SendMessageW(Handle(), LB_GETCARETINDEX, 0, 0));
        if (caret < 0 || SendMessageW(Handle(), LB_GETSEL, static_cast<WPARAM>(caret), 0) <= 0)
            return -1;
        return caret;
    }
    const LRESULT cur = SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    return cur == LB_ERR ? -1 : static_cast<int>(cur);
}

void TAuListBox::SetItemIndex(int index) {
    HWND h = Handle();
    if (!h)
        return;
    const int n = ItemCount();
    if (index < 0 || index >= n)
        index = -1;
    if (Props().MultiSelect) {
        if (index < 0) {
            SendMessageW(h, LB_SETSEL, FALSE, -1);
        } else {
            SendMessageW(h, LB_SETSEL, TRUE, index);
            SendMessageW(h, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
    } else {
        SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    StoreSelection();
}

std::vector<model::TAuActions> TAuListBox::SelectedActionLists() const {
    std::vector<model::TAuActions> out;
    const auto& items = Props().Items;
    const int n = std::min<int>(ItemCount(), static_cast<int>(items.size()));
    for (int i = 0; i < n; ++i)
        if (IsSelected(i))
            out.push_back(items[static_cast<size_t>(i)].Actions.SelectActions);
    return out;
}

void TAuListBox::SetFont(const model::TFont& font) {
    Props().Font = font;
    if (Handle())
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(win::FontHandle(font)), TRUE);
}

void TAuListBox::SetBackColor(int32_t color) {
    Props().BackColor = color;
    SetColor(color);
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TAuListBox::DoClick() {
    clickRaised_ = true;
    std::weak_ptr<char> life = LifeToken();
    StoreSelection();
    const int n = ItemCount();
    const int current = ItemIndex();
    if (n > 0 && current >= 0 && current != remembered_ &&
        static_cast<size_t>(current) < Props().Items.size()) {
        remembered_ = current;
        if (TAuEventSink* sink = SinkOf(*this))
            sink->ObjectSelectActions(*this,
                                      Props().Items[static_cast<size_t>(current)].Actions.OnSelect);
        if (life.expired())
            return;
    }
    remembered_ = ItemIndex();
    TAuKind::DoClick();
}

bool TAuListBox::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_DRAWITEM: {
        const model::ListBoxProps& p = Props();
        DrawListEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp), p.Items, icons_,
                      {p.ItemHeight, p.IconWidth, p.IconHeight, p.BackColor, &p.Font});
        result = TRUE;
        return true;
    }
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetDCBrushColor(dc, win::ResolveColor(Props().BackColor));
        result = reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
        return true;
    }
    case WM_COMMAND:
        if (HIWORD(wp) == LBN_SELCHANGE) {
            // A press of our own clicks at its release; a change without one
            // (keys, or a release away from the list) clicks here.
            const bool byPress = pressed_ || (inRelease_ && (clickRaised_ || pressDouble_));
            if (!byPress)
                DoClick();
            else
                StoreSelection();
            result = 0;
            return true;
        }
        return false;
    default:
        return TAuKind::HandleReflected(msg, wp, lp, result);
    }
}

LRESULT TAuListBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        pressDouble_ = msg == WM_LBUTTONDBLCLK;
        break;
    case WM_LBUTTONUP: {
        std::weak_ptr<char> life = LifeToken();
        pressed_ = false;
        inRelease_ = true;
        clickRaised_ = false;
        const LRESULT r = TAuKind::HandleMessage(msg, wp, lp);
        if (!life.expired())
            inRelease_ = false;
        return r;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        break;
    default:
        break;
    }
    return TAuKind::HandleMessage(msg, wp, lp);
}

} // namespace orv::objects
