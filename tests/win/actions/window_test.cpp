// The engine on a real player window: object actions reach the controls,
// and a long list runs quickly.
#include "player/actions.h"
#include "player/autorunform.h"

#include "base/stream.h"
#include "model/page.h"
#include "objects/aucontrol.h"
#include "startup/startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

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
    auto start = std::chrono::steady_clock::now();
    RunActionList(form, list);
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("10000 SetObjectVisible actions on a player window: %.1f ms\n", ms);
    EXPECT_FALSE(control->Ctl().Visible());
    EXPECT_FALSE(form.ListsRunning());

    RunActionList(form, {list[0]});
    EXPECT_TRUE(control->Ctl().Visible());

    // The same with no change of state: what the engine itself costs.
    for (auto& a : list)
        a.Flag = true;
    start = std::chrono::steady_clock::now();
    RunActionList(form, list);
    ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("10000 SetObjectVisible actions that change nothing: %.1f ms\n", ms);
    EXPECT_TRUE(control->Ctl().Visible());
}

} // namespace
} // namespace orv::player
