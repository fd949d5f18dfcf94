// UserPassword: a borderless box holding two one-line edits, the user name
// at the top and the masked password at the bottom. The edits are parts of
// the object: their mouse events, hint, cursor and popup menu are the
// object's.
#include "objects/inputs.h"

#include "win/controls/drawing.h"
#include "win/interact.h"

#include <windowsx.h>

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 193, kDefaultHeight = 49;
constexpr wchar_t kMask = L'*';

} // namespace

class TAuUserPassword::Field : public win::WinControl {
public:
    Field(TAuUserPassword& owner, bool password) : owner_(owner), password_(password) {}

    void DoClick() override { owner_.DoClick(); }
    void DoDblClick() override { owner_.DoDblClick(); }
    void DoMouseDown(const win::MouseArgs& a) override { owner_.DoMouseDown(Shift(a)); }
    void DoMouseMove(const win::MouseArgs& a) override { owner_.DoMouseMove(Shift(a)); }
    void DoMouseUp(const win::MouseArgs& a) override { owner_.DoMouseUp(Shift(a)); }

    void ApplyLook() {
        HWND h = Handle();
        const auto& p = owner_.Props();
        HFONT font = win::FontHandle(p.Font);
        SetSize(Width(), input::EditHeightFor(font, true));
        if (!h)
            return;
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        input::SetStyleBit(h, GWL_STYLE, WS_TABSTOP, p.TabStop);
        ::InvalidateRect(h, nullptr, TRUE);
    }

protected:
    void FillCreateArgs(win::CreateArgs& args) override {
        args.className = L"EDIT";
        args.style = (args.style & ~WS_CLIPCHILDREN) | ES_AUTOHSCROLL;
        if (owner_.Props().TabStop)
            args.style |= WS_TABSTOP;
        args.exStyle |= WS_EX_CLIENTEDGE;
    }
    void HandleCreated() override {
        if (password_)
            SendMessageW(Handle(), EM_SETPASSWORDCHAR, kMask, 0);
        ApplyLook();
    }
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC)
            return false;
        const auto& p = owner_.Props();
        result = input::ColorAnswer(owner_.brush_, wp, win::FontColor(p.Font),
                                    win::ResolveColor(p.EditorColor));
        return true;
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        // The record's popup menu instead of the edit's own menu.
        if (msg == WM_CONTEXTMENU && owner_.OnContextMenu) {
            POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (screen.x == -1 && screen.y == -1)
                GetCursorPos(&screen);
            owner_.DoContextMenu(screen);
            return 0;
        }
        return win::WinControl::HandleMessage(msg, wp, lp);
    }

private:
    win::MouseArgs Shift(win::MouseArgs a) const {
        a.x += Left();
        a.y += Top();
        return a;
    }
    TAuUserPassword& owner_;
    bool password_;
};

TAuUserPassword::TAuUserPassword(TAuObject& record) : TAuKind(record) {
    SetRaisesDescendantEnterLeave(true);
    SetSize(kDefaultWidth, kDefaultHeight);
    SetColor(Props().BackColor);
    auto user = std::make_unique<Field>(*this, false);
    auto password = std::make_unique<Field>(*this, true);
    user->SetAlign(win::Align::Top);
    password->SetAlign(win::Align::Bottom);
    user_ = &Add(std::move(user));
    password_ = &Add(std::move(password));
    ApplyLook();
    ShareRecordProperties();
}

win::WinControl& TAuUserPassword::UserEdit() const {
    return *user_;
}

win::WinControl& TAuUserPassword::PasswordEdit() const {
    return *password_;
}

void TAuUserPassword::ShareRecordProperties() {
    const TAuObject* rec = Record();
    if (!rec)
        return;
    for (Field* f : {user_, password_}) {
        f->SetHint(rec->Hint);
        f->SetCursor(rec->Cursor);
    }
}

void TAuUserPassword::ApplyLook() {
    SetColor(Props().BackColor);
    user_->ApplyLook();
    password_->ApplyLook();
    Realign();
    Invalidate();
}

void TAuUserPassword::PropertiesChanged() {
    ApplyLook();
    ShareRecordProperties();
}

void TAuUserPassword::PageBuilt() {
    // The shared properties have been applied by now; the edits follow.
    ShareRecordProperties();
}

void TAuUserPassword::SetFont(const model::TFont& font) {
    Props().Font = font;
    ApplyLook();
}

void TAuUserPassword::SetBackColor(int32_t color) {
    Props().EditorColor = color;
    user_->Invalidate();
    password_->Invalidate();
}

std::string TAuUserPassword::EnteredUser() const {
    return input::TextOf(user_->Handle());
}

std::string TAuUserPassword::EnteredPassword() const {
    return input::TextOf(password_->Handle());
}

} // namespace orv::objects
