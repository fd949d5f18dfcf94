// The actions on the button kinds, run by the engine on a real player
// window: captions, fonts, the back colour, pictures and picture files,
// DoSelectActions, and an image button's OnSelect list before its OnClick.
#include "base/stream.h"
#include "gfx/codecs.h"
#include "model/page.h"
#include "objects/buttons.h"
#include "player/actions.h"
#include "player/autorunform.h"
#include "startup/startup.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orv::player {
namespace {

using model::TAuAction;
using model::TAuActionKind;
using model::TAuObject;
using model::TAuObjectKind;
using objects::TAuImage;
using objects::TAuImageButton;
using objects::TAuSimpleText;
using objects::TAuStandardButton;

TAuAction Action(TAuActionKind kind, const std::string& p1, const std::string& p2 = "") {
    TAuAction a;
    a.Kind = static_cast<uint8_t>(kind);
    a.Param1 = p1;
    a.Param2 = p2;
    return a;
}

TAuObject& Put(model::TPageRecord& page, TAuObjectKind kind, const std::string& name, int left,
               int top, int width, int height) {
    auto rec = std::make_unique<TAuObject>(kind);
    rec->Name = name;
    rec->Left = left;
    rec->Top = top;
    rec->Width = width;
    rec->Height = height;
    return page.Root->AddChild(std::move(rec));
}

class ButtonActions : public testing::Test {
protected:
    void SetUp() override {
        Startup().editorMode = false;
        Startup().projectFolder = folder.path();
        auto page = model::MakeBlankPage("Buttons");
        page->Fade = false;
        Put(*page, TAuObjectKind::Button, "Button", 10, 10, 90, 25);
        TAuObject& ib = Put(*page, TAuObjectKind::ImageButton, "Pick", 10, 50, 90, 25);
        auto& ibp = ib.As<model::ImageButtonProps>();
        ibp.Group = 1;
        ibp.Actions.OnSelect = {Action(TAuActionKind::ObjectShowText, "selected", "Log")};
        ibp.Actions.SelectActions = {Action(TAuActionKind::ObjectShowText, "chosen", "Log2")};
        ib.OnClick = {Action(TAuActionKind::ObjectShowText, "clicked", "Log")};
        Put(*page, TAuObjectKind::SimpleText, "Log", 120, 10, 100, 20);
        Put(*page, TAuObjectKind::SimpleText, "Log2", 120, 40, 100, 20);
        Put(*page, TAuObjectKind::Image, "Picture", 120, 70, 60, 60);
        MemoryStream s;
        RecordingReporter r;
        ASSERT_TRUE(model::WritePageRecord(s, *page, r));
        s.Seek(0);
        ASSERT_TRUE(form.LoadPage(s, 0));
    }
    void TearDown() override { Startup().projectFolder.clear(); }

    template <class T> T& Ctl(const std::string& path) {
        TAuObject* rec = form.FindObject(path);
        EXPECT_NE(rec, nullptr) << path;
        return dynamic_cast<T&>(objects::ControlOf(*rec)->Ctl());
    }
    model::SimpleTextProps& Text(const std::string& path) {
        return form.FindObject(path)->As<model::SimpleTextProps>();
    }

    test::TempDir folder;
    TAutoRunForm form;
};

TEST_F(ButtonActions, CaptionsFontsAndTheBackColour) {
    model::TFont font = model::ArialFont(14, model::fontstyle::kBold, 0x0000FF);
    TAuAction setButtonFont = Action(TAuActionKind::SetObjectFont, "", "Button");
    setButtonFont.SetFont(font);
    TAuAction setTextFont = Action(TAuActionKind::SetObjectFont, "", "Log");
    setTextFont.SetFont(font);
    TAuAction back = Action(TAuActionKind::SetObjectBackColor, "", "Log");
    back.Number = 0x00123456;
    TAuAction imageBack = Action(TAuActionKind::SetObjectBackColor, "", "Pick");
    imageBack.Number = 0x00123456;
    RunActionList(form, {Action(TAuActionKind::ObjectShowText, "Go on", "Button"),
                         Action(TAuActionKind::ObjectShowText, "Choose", "Pick"),
                         Action(TAuActionKind::ObjectShowText, "a & b", "Log"), setButtonFont,
                         setTextFont, back, imageBack});
    auto& button = Ctl<TAuStandardButton>("Button");
    EXPECT_EQ(button.Props().Caption, "Go on");
    wchar_t text[16] = {};
    GetWindowTextW(button.Handle(), text, 16);
    EXPECT_STREQ(text, L"Go on");
    EXPECT_EQ(button.Props().Font, font);
    EXPECT_EQ(Ctl<TAuImageButton>("Pick").Props().Caption, "Choose");
    EXPECT_EQ(Text("Log").Text, "a & b");
    EXPECT_EQ(Text("Log").Font, font);
    EXPECT_EQ(Text("Log").BackColor, 0x00123456);
    // The image button has four fonts of its own and takes neither.
    EXPECT_EQ(Ctl<TAuImageButton>("Pick").Props().NormalFont, model::ImageButtonProps{}.NormalFont);
}

TEST_F(ButtonActions, PicturesAndPictureFiles) {
    gfx::Image img = gfx::MakeImage(30, 20, 0xFF20A040u);
    std::vector<uint8_t> png;
    ASSERT_TRUE(gfx::EncodePng(img, png));
    {
        std::FILE* f = std::fopen((folder.path() + "\\pic.png").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
    }
    auto& image = Ctl<TAuImage>("Picture");
    image.Props().AutoSize = true;
    RunActionList(form, {Action(TAuActionKind::ObjectLoadFile, "\\pic.png", "Picture")});
    EXPECT_EQ(image.Props().Image.Class, model::PictureClass::Png);
    EXPECT_EQ(image.Width(), 30);
    EXPECT_EQ(image.Height(), 20);
    // A file that is not there leaves the picture empty.
    RunActionList(form, {Action(TAuActionKind::ObjectLoadFile, "\\missing.png", "Picture")});
    EXPECT_TRUE(image.Props().Image.Empty());
    EXPECT_TRUE(image.Shown().Empty());
    // A picture carried by the action, and none.
    TAuAction show = Action(TAuActionKind::ObjectShowImage, "", "Picture");
    model::TPicture carried;
    carried.Class = model::PictureClass::Png;
    carried.Bytes = png;
    show.SetPicture(carried);
    RunActionList(form, {show});
    EXPECT_EQ(image.Props().Image, show.Picture);
    EXPECT_FALSE(image.Shown().Empty());
    RunActionList(form, {Action(TAuActionKind::ObjectShowImage, "", "Picture")});
    EXPECT_TRUE(image.Props().Image.Empty());
}

TEST_F(ButtonActions, OnSelectRunsBeforeOnClickAndDoSelectActionsWhileDown) {
    auto& pick = Ctl<TAuImageButton>("Pick");
    const TAuAction doSelect = Action(TAuActionKind::DoSelectActions, "Pick");
    RunActionList(form, {doSelect});
    EXPECT_EQ(Text("Log2").Text, ""); // not down: nothing
    // A click latches the grouped button: OnSelect, then OnClick.
    HWND host = pick.Host()->Handle();
    SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 60));
    SendMessageW(host, WM_LBUTTONUP, 0, MAKELPARAM(20, 60));
    EXPECT_TRUE(pick.Down());
    EXPECT_EQ(Text("Log").Text, "clicked");
    Text("Log").Text.clear();
    // OnClick alone would leave "clicked"; OnSelect alone "selected". Run
    // OnClick empty to see OnSelect's own effect.
    form.FindObject("Pick")->OnClick.clear();
    SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 60));
    SendMessageW(host, WM_LBUTTONUP, 0, MAKELPARAM(20, 60));
    EXPECT_EQ(Text("Log").Text, "selected");
    RunActionList(form, {doSelect});
    EXPECT_EQ(Text("Log2").Text, "chosen");
}

} // namespace
} // namespace orv::player
