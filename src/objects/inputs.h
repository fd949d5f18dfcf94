// The document and input kinds: TextBox and RichText (read-only documents),
// Edit, CheckBox, RadioButton and UserPassword (the fields a login page
// checks). Each is a platform control (EDIT, RichEdit, BUTTON) under the
// object contract; the actions reach them through model::ActionTarget.
#pragma once

#include "model/action_target.h"
#include "objects/aucontrol.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace orv::objects {

// ---- shared pieces of the input kinds

namespace input {

// A solid brush kept for one colour at a time: the answer to the
// WM_CTLCOLOR* messages, which must stay valid after the handler returns.
class ColorBrush {
public:
    ColorBrush() = default;
    ~ColorBrush();
    ColorBrush(const ColorBrush&) = delete;
    ColorBrush& operator=(const ColorBrush&) = delete;
    HBRUSH Get(COLORREF color);

private:
    HBRUSH brush_ = nullptr;
    COLORREF color_ = 0;
};

// Answers a reflected WM_CTLCOLOR* message: text in fontColor on back.
LRESULT ColorAnswer(ColorBrush& brush, WPARAM dc, COLORREF fontColor, COLORREF back);

// The window's text in the ANSI code page, and setting it.
std::string TextOf(HWND hwnd);
void SetTextOf(HWND hwnd, const std::string& text);

// Lines split at CR LF, CR or LF (a final line break ends the last line),
// and joined again with CR LF as an edit control shows them.
std::vector<std::string> SplitLines(const std::string& text);
std::string JoinLines(const std::vector<std::string>& lines);

// Reads a whole file; false when it does not exist, cannot be read, or is
// larger than a document the page objects show (kMaxDocumentBytes).
inline constexpr int64_t kMaxDocumentBytes = 16 * 1024 * 1024;
bool ReadDocument(const std::string& path, std::string& bytes);

// Turns a style bit on or off in a live window; true when it changed.
bool SetStyleBit(HWND hwnd, int index, LONG bit, bool on);

// Creates the control's window again with its current FillCreateArgs (for
// styles a platform control takes only at creation). The control keeps its
// place among its siblings.
void RecreateWindow(win::WinControl& control);

// The windowed controls below root in tab order: each control followed at
// once by its own descendants, siblings in child order.
std::vector<win::WinControl*> TabOrderList(win::Control& root);
// The control's position among its windowed siblings (-1 without parent).
int TabOrderNumber(const win::WinControl& control);
// Whether the control can take the focus now: a window that is showing
// and enabled with all its ancestors.
bool CanFocus(const win::WinControl& control);
bool HasTabStop(const win::WinControl& control);

// The height of a one-line edit showing font: the text height plus the
// edit's frame and margins.
int EditHeightFor(HFONT font, bool border);

} // namespace input

// ---- TextBox: a read-only multi-line edit with an arrow cursor.
class TAuTextBox : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuTextBox(TAuObject& record);

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    model::TextBoxProps& Props() { return Record()->As<model::TextBoxProps>(); }
    const model::TextBoxProps& Props() const { return Record()->As<model::TextBoxProps>(); }
    // What the control shows (the edit's text).
    std::string ShownText() const;

    // ObjectShowText: the lines; ObjectLoadFile: the file's text when it
    // exists and loads, otherwise nothing changes.
    void SetLines(const std::vector<std::string>& lines) override;
    void LoadFile(const std::string& path) override;
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void ApplyText(const std::string& text);
    DWORD CreationStyle() const;
    DWORD createdStyle_ = 0;
    input::ColorBrush brush_;
};

// ---- RichText: a read-only rich edit showing a Rich Text Format document.
class TAuRichText : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuRichText(TAuObject& record);

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    model::RichTextProps& Props() { return Record()->As<model::RichTextProps>(); }
    const model::RichTextProps& Props() const { return Record()->As<model::RichTextProps>(); }
    // The document's plain text as the control holds it (CR line breaks).
    std::string ShownText() const;
    // Whether the rich edit class could be had (else the window is empty).
    static bool Available();

    // ObjectLoadFile: cleared, then loaded from the file (as plain text
    // when the plain-text flag is on); not in the design view.
    void LoadFile(const std::string& path) override;
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;

private:
    DWORD CreationStyle() const;
    // Replaces the content by bytes, read as RTF or as plain text.
    void StreamIn(const std::string& bytes, bool rtf);
    void ApplyLook();
    DWORD createdStyle_ = 0;
};

// ---- Edit: a single-line edit; a full Edit hands the focus on.
class TAuEdit : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuEdit(TAuObject& record);

    void PropertiesChanged() override;
    model::EditProps& Props() { return Record()->As<model::EditProps>(); }
    const model::EditProps& Props() const { return Record()->As<model::EditProps>(); }

    void SetCaption(const std::string& text) override;
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    std::string EnteredText() const override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    void BoundsChanged(const RECT& old) override;
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void ApplyLook();
    void AdjustHeight();
    // The automatic move to the next Edit once MaxLength is reached.
    void TextChanged();
    input::ColorBrush brush_;
    bool adjusting_ = false;
};

// ---- CheckBox and RadioButton: a platform check box or radio button whose
// click runs the OnSelect list first when it leaves the control checked.
class TAuCheckBox : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuCheckBox(TAuObject& record);

    void PropertiesChanged() override;
    // The block of either kind (a RadioButton's has the same fields).
    model::CheckBoxProps& Props();
    const model::CheckBoxProps& Props() const;
    bool IsRadio() const { return Kind() == TAuObjectKind::RadioButton; }

    void SetCaption(const std::string& text) override;
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    bool Checked() const override;
    // Checking a radio button unchecks the other radio buttons of its parent.
    void SetChecked(bool on) override;
    std::vector<model::TAuActions> SelectedActionLists() const override;

    // The OnSelect list when checked, then the record's OnClick list.
    void DoClick() override;
    // Held back while the platform handles the button's release, so that
    // OnClick comes before OnMouseUp as with every other control.
    void DoMouseUp(const win::MouseArgs& args) override;

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyLook();
    void ShowState();
    input::ColorBrush brush_;
    bool inButtonUp_ = false;
    std::optional<win::MouseArgs> heldUp_;
};

class TAuRadioButton : public TAuCheckBox {
public:
    explicit TAuRadioButton(TAuObject& record) : TAuCheckBox(record) {}
};

// ---- UserPassword: a borderless box holding a user edit at the top and a
// masked password edit at the bottom.
class TAuUserPassword : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuUserPassword(TAuObject& record);

    void PropertiesChanged() override;
    void PageBuilt() override;
    model::UserPasswordProps& Props() { return Record()->As<model::UserPasswordProps>(); }
    const model::UserPasswordProps& Props() const {
        return Record()->As<model::UserPasswordProps>();
    }

    // The two edits (never null).
    win::WinControl& UserEdit() const;
    win::WinControl& PasswordEdit() const;

    // SetObjectFont: its own font; SetObjectBackColor: its EditorColor.
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;
    std::string EnteredUser() const override;
    std::string EnteredPassword() const override;

private:
    class Field;
    // Hands the record's hint and cursor to both edits (the popup menu is
    // looked up when it is asked for).
    void ShareRecordProperties();
    void ApplyLook();
    Field* user_ = nullptr;
    Field* password_ = nullptr;
    input::ColorBrush brush_;
};

} // namespace orv::objects
