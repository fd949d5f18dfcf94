// The simple visual kinds: Button (a platform push button), ImageButton (a
// speed button drawn from four pictures and four fonts), Image, SimpleText
// (a plain label) and Bevel.
#pragma once

#include "gfx/btn_glyph.h"
#include "model/action_target.h"
#include "objects/aucontrol.h"
#include "win/controls/drawing.h"
#include "win/theme.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orv::objects {

// A stored picture decoded for drawing. With `transparent`, a bitmap's
// automatic transparent colour (its bottom-left pixel) is keyed out; other
// classes bring their own transparency (alpha, icon masks, GIF keys).
class KindPicture {
public:
    // Decodes unless the same picture with the same keying is held.
    // Returns !Empty().
    bool Update(const model::TPicture& source, bool transparent);
    void Reset();
    bool Empty() const { return picture_.Empty(); }
    int Width() const { return picture_.Width(); }
    int Height() const { return picture_.Height(); }
    void Draw(HDC dc, const RECT& dst) const { picture_.Draw(dc, dst); }

private:
    win::Picture picture_;
    int cls_ = -1;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    uint64_t hash_ = 0;
    bool keyed_ = false;
};

// The visual-styles functions the buttons draw with, looked up once.

// ---------------------------------------------------------------- Button

// A platform push button, drawn by us so that the caption takes the font's
// colour. Enter presses the Default button (or the focused button) of its
// window and Escape the Cancel button.
class TAuStandardButton : public TAuKind<win::WinControl>, public model::ActionTarget {
public:
    explicit TAuStandardButton(TAuObject& record);
    ~TAuStandardButton() override;

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    model::ButtonProps& Props() { return Record()->As<model::ButtonProps>(); }

    // Actions: the caption and the font.
    void SetCaption(const std::string& text) override;
    void SetFont(const model::TFont& font) override;

    // Visible and enabled up to its top window, with a window.
    bool CanFocus() const;
    // The Enter and Escape keys of the thread's windows, before dispatch:
    // presses the button that takes the key and returns true, the message
    // is then dropped. Runs from a message hook while any button exists.
    static bool HandleDialogKey(const MSG& msg);

protected:
    void FillCreateArgs(win::CreateArgs& args) override;
    void HandleCreated() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;

private:
    void DrawFace(const DRAWITEMSTRUCT& item);
};

// ----------------------------------------------------------- ImageButton

// A windowless speed button. The state machine: a left press makes an up
// button Down while the pointer stays on it; a release on it clicks. In a
// group (Group 1..9) a click latches the button and raises the latched
// button of the same group in the same parent; clicking the latched button
// raises it only with AllowAllUp. Group 0 never latches.
class TAuImageButton : public TAuKind<win::GraphicControl>, public model::ActionTarget {
public:
    explicit TAuImageButton(TAuObject& record);

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    void Paint(const win::Canvas& canvas) override;
    model::ImageButtonProps& Props() { return Record()->As<model::ImageButtonProps>(); }

    gfx::ButtonState State() const;
    bool Down() const { return down_; }
    // Latches or raises the button by the grouping rules (and stores the
    // new Down): without a group it stays up; a latched button is raised
    // only with AllowAllUp; latching raises the others of the group.
    void SetDown(bool down);

    // Actions: the caption; DoSelectActions runs SelectActions while down.
    void SetCaption(const std::string& text) override;
    std::vector<model::TAuActions> SelectedActionLists() const override;

    // A click first finishes a press (latching a grouped button), then hands
    // the OnSelect list over when a grouped button is down afterwards, and
    // then raises OnClick.
    void DoClick() override;
    void DoMouseDown(const win::MouseArgs& args) override;
    void DoMouseMove(const win::MouseArgs& args) override;
    void DoMouseUp(const win::MouseArgs& args) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;

protected:
    void EnabledChanged() override;
    void ParentChanged() override;

private:
    void RaiseGroupSiblings();
    void FinishPress(bool clicked);
    void CancelPress();
    bool PointerInside() const;

    gfx::ButtonState state_ = gfx::ButtonState::Up;
    bool down_ = false;
    bool dragging_ = false;
    std::array<KindPicture, 4> pictures_; // in the stored order of the faces
};

// ----------------------------------------------------------------- Image

// A picture, placed by Stretch, Center and Proportional; with AutoSize the
// control takes the picture's size whenever the picture changes.
class TAuImage : public TAuKind<win::GraphicControl>, public model::ActionTarget {
public:
    explicit TAuImage(TAuObject& record);

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    void Paint(const win::Canvas& canvas) override;
    model::ImageProps& Props() { return Record()->As<model::ImageProps>(); }

    // Not stored: page objects keep them off.
    bool Proportional() const { return proportional_; }
    void SetProportional(bool on);
    bool IncrementalDisplay() const { return incremental_; }
    void SetIncrementalDisplay(bool on) { incremental_ = on; }

    // Where the picture is drawn in the client (empty without a picture).
    RECT PictureRect();
    const KindPicture& Shown() const { return picture_; }

    // Actions: a new picture (null: none); a picture file loaded by path
    // (the picture is cleared first and stays empty when the file does not
    // exist or does not decode).
    void SetPicture(const model::TPicture* picture) override;
    void LoadFile(const std::string& path) override;

private:
    void PictureChanged();

    KindPicture picture_;
    bool proportional_ = false;
    bool incremental_ = false;
};

// ------------------------------------------------------------ SimpleText

// A plain label: word-wrapped, "&" shown as it is, aligned by Alignment and
// Layout, over its BackColor unless Transparent.
class TAuSimpleText : public TAuKind<win::GraphicControl>, public model::ActionTarget {
public:
    explicit TAuSimpleText(TAuObject& record);

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    void Paint(const win::Canvas& canvas) override;
    model::SimpleTextProps& Props() { return Record()->As<model::SimpleTextProps>(); }

    void SetCaption(const std::string& text) override;
    void SetFont(const model::TFont& font) override;
    void SetBackColor(int32_t color) override;

protected:
    void EnabledChanged() override { Invalidate(); }
};

// ----------------------------------------------------------------- Bevel

// A 3D box, frame or line in its light and dark colours; a Spacer draws
// nothing but its outline in the design view.
class TAuBevel : public TAuKind<win::GraphicControl> {
public:
    explicit TAuBevel(TAuObject& record);

    void PropertiesChanged() override;
    void StoreNewObjectDefaults(TAuObject& record) override;
    void Paint(const win::Canvas& canvas) override;
    model::BevelProps& Props() { return Record()->As<model::BevelProps>(); }
};

} // namespace orv::objects
