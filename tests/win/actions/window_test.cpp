// The engine on a real player window: object actions reach the controls.
// (bench/win/player_actions.cpp measures the same list.)
#include "player/actions.h"
#include "player/autorunform.h"

#include "base/stream.h"
#include "model/page.h"
#include "objects/aucontrol.h"
#include "objects/containers.h"
#include "startup/startup.h"

#include <gtest/gtest.h>

namespace orv::player {
namespace {

using model::TAuObjectKind;

std::unique_ptr<model::TPageRecord> PageWithGroupBox() {
    auto page = model::MakeBlankPage("Actions");
    page->Fade = false;
    auto box = std::make_unique<model::TAuObject>(TAuObjectKind::GroupBox);
    box->Name = "Box";
    box->Left = 10;
    box->Top = 10;
    box->Width = 100;
    box->Height = 60;
    page->Root->AddChild(std::move(box));
    return page;
}

TEST(PlayerWindow, TenThousandVisibilityChangesReachTheControl) {
    Startup().editorMode = false;
    TAutoRunForm form;
    MemoryStream s;
    RecordingReporter r;
    ASSERT_TRUE(model::WritePageRecord(s, *PageWithGroupBox(), r));
    s.Seek(0);
    ASSERT_TRUE(form.LoadPage(s, 0));
    model::TAuObject* box = form.FindObject("Box");
    ASSERT_NE(box, nullptr);
    objects::TAuControl* control = objects::ControlOf(*box);
    ASSERT_NE(control, nullptr);

    model::TAuActions list(10000);
    for (size_t i = 0; i < list.size(); ++i) {
        list[i].Kind = static_cast<uint8_t>(model::TAuActionKind::SetObjectVisible);
        list[i].Param2 = "Box";
        list[i].Flag = i % 2 == 0; // the last one hides
    }
    RunActionList(form, list);
    EXPECT_FALSE(control->Ctl().Visible());
    EXPECT_FALSE(form.ListsRunning());

    RunActionList(form, {list[0]});
    EXPECT_TRUE(control->Ctl().Visible());
}

// The containers take the text, font and colour actions into their blocks
// and onto the screen; a sheet's caption reaches its tab.
TEST(PlayerWindow, ContainersTakeTextFontAndColourActions) {
    Startup().editorMode = false;
    auto page = PageWithGroupBox();
    auto book = std::make_unique<model::TAuObject>(TAuObjectKind::TabNotebook);
    book->Name = "Book";
    book->Left = 120;
    book->Top = 10;
    book->Width = 150;
    book->Height = 100;
    auto sheet = std::make_unique<model::TAuObject>(TAuObjectKind::TabSheet);
    sheet->Name = "Sheet";
    sheet->As<model::TabSheetProps>().Caption = "Before";
    book->AddChild(std::move(sheet));
    page->Root->AddChild(std::move(book));
    auto tile = std::make_unique<model::TAuObject>(TAuObjectKind::Panel);
    tile->Name = "Tile";
    tile->Width = tile->Height = 40;
    page->Root->AddChild(std::move(tile));

    TAutoRunForm form;
    MemoryStream s;
    RecordingReporter r;
    ASSERT_TRUE(model::WritePageRecord(s, *page, r));
    s.Seek(0);
    ASSERT_TRUE(form.LoadPage(s, 0));

    auto act = [](model::TAuActionKind kind, const char* path, const char* text = "") {
        model::TAuAction a;
        a.Kind = static_cast<uint8_t>(kind);
        a.Param2 = path;
        a.Param1 = text;
        return a;
    };
    model::TAuActions list;
    list.push_back(act(model::TAuActionKind::ObjectShowText, "Tile", "Tile caption"));
    list.push_back(act(model::TAuActionKind::ObjectShowText, "Box", "Box caption"));
    list.push_back(act(model::TAuActionKind::ObjectShowText, "Book - Sheet", "After"));
    model::TAuAction color = act(model::TAuActionKind::SetObjectBackColor, "Box");
    color.Number = 0x00336699;
    list.push_back(color);
    model::TAuAction font = act(model::TAuActionKind::SetObjectFont, "Box");
    font.Font = model::TFont{"Arial", 0x000000FF, 14, 1, 1};
    list.push_back(font);
    RunActionList(form, list);

    model::TAuObject* box = form.FindObject("Box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->As<model::GroupBoxProps>().Caption, "Box caption");
    EXPECT_EQ(box->As<model::GroupBoxProps>().BackColor, 0x00336699);
    EXPECT_EQ(box->As<model::GroupBoxProps>().Font.Name, "Arial");
    EXPECT_EQ(form.FindObject("Tile")->As<model::PanelProps>().Back.Caption, "Tile caption");

    // The group box paints its new colour (inside its frame, away from the
    // caption).
    auto* boxControl = dynamic_cast<objects::TAuGroupBox*>(objects::ControlOf(*box));
    ASSERT_NE(boxControl, nullptr);
    gfx::Image shot = boxControl->Snapshot();
    ASSERT_GT(shot.width, 50);
    EXPECT_EQ(shot.At(50, 40) & 0x00FFFFFF, 0x00996633u); // ARGB of the COLORREF 0x336699

    model::TAuObject* sheetRecord = form.FindObject("Book - Sheet");
    ASSERT_NE(sheetRecord, nullptr);
    EXPECT_EQ(sheetRecord->As<model::TabSheetProps>().Caption, "After");
    auto* notebook =
        dynamic_cast<objects::TAuTabNotebook*>(objects::ControlOf(*form.FindObject("Book")));
    ASSERT_NE(notebook, nullptr);
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    ASSERT_TRUE(TabCtrl_GetItem(notebook->TabHandle(), 0, &item));
    EXPECT_STREQ(text, L"After");
}

} // namespace
} // namespace orv::player
