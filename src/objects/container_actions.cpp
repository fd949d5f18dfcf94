// What the actions change on the containers. Each change goes into the
// record's block, so the control and the record never disagree, and the
// control re-reads the block as it does after an edit.
#include "objects/containers.h"
#include "win/interact.h"

namespace orv::objects {

void TAuPanel::SetCaption(const std::string& text) {
    Props().Back.Caption = text;
    PropertiesChanged();
}

void TAuPanel::SetFont(const model::TFont& font) {
    Props().Font = font;
    PropertiesChanged();
}

void TAuPanel::SetBackColor(int32_t color) {
    Props().BackColor = color;
    PropertiesChanged();
}

void TAuTabNotebook::SetFont(const model::TFont& font) {
    Props().Font = font;
    PropertiesChanged();
}

void TAuTabSheet::SetCaption(const std::string& text) {
    Props().Caption = text;
    if (notebook_)
        if (HWND tab = notebook_->TabHandle()) {
            const int index = PageIndex();
            std::wstring wide = win::Widen(text);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = wide.data();
            if (index >= 0)
                TabCtrl_SetItem(tab, index, &item);
        }
    Invalidate();
}

void TAuGroupBox::SetCaption(const std::string& text) {
    Props().Caption = text;
    PropertiesChanged();
}

void TAuGroupBox::SetFont(const model::TFont& font) {
    Props().Font = font;
    PropertiesChanged();
}

void TAuGroupBox::SetBackColor(int32_t color) {
    Props().BackColor = color;
    PropertiesChanged();
}

void TAuScrollBox::SetFont(const model::TFont& font) {
    Props().Font = font;
    PropertiesChanged();
}

void TAuScrollBox::SetBackColor(int32_t color) {
    Props().BackColor = color;
    PropertiesChanged();
}

void TAuSplitter::SetBackColor(int32_t color) {
    Props().Color = color;
    PropertiesChanged();
}

} // namespace orv::objects
