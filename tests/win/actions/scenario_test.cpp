// Menus that act: Orvexa.exe plays projects built here, with its messages
// written to the message log and answered from the answer list.
#include "../startup/scenario.h"

#include "model/project.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using model::TAuAction;
using model::TAuActionKind;
using model::TAuActions;
using K = model::TAuActionKind;

TAuAction Act(K kind, std::string p1 = "", std::string p2 = "", int32_t number = 1) {
    TAuAction a;
    a.Kind = static_cast<uint8_t>(kind);
    a.Param1 = std::move(p1);
    a.Param2 = std::move(p2);
    a.Number = number;
    return a;
}

TAuAction Message(const std::string& text) {
    return Act(K::ShowMessage, text, "Menu", 1);
}

struct PageSpec {
    std::string name;
    TAuActions onShow;
    // An Edit that a login page checks: its accepted lines and retries.
    std::string needInput;
    int allowRetry = 0;
};

PageSpec Page(std::string name, TAuActions onShow, std::string needInput = "", int allowRetry = 0) {
    PageSpec p;
    p.name = std::move(name);
    p.onShow = std::move(onShow);
    p.needInput = std::move(needInput);
    p.allowRetry = allowRetry;
    return p;
}

void WriteProject(const std::string& folder, const TAuActions& onStart,
                  const std::vector<PageSpec>& pages) {
    model::TAuProject p;
    p.OnStart = onStart;
    RecordingReporter r;
    for (const auto& pageDef : pages) {
        auto entry = std::make_unique<model::TFormData>();
        entry->Name = pageDef.name;
        auto page = model::MakeBlankPage(pageDef.name);
        page->Fade = false;
        page->Width = 300;
        page->Height = 200;
        page->OnShow = pageDef.onShow;
        if (!pageDef.needInput.empty()) {
            auto edit = std::make_unique<model::TAuObject>(model::TAuObjectKind::Edit);
            edit->Name = "Code";
            auto& e = edit->As<model::EditProps>();
            e.NeedInputText = pageDef.needInput;
            e.AllowRetry = pageDef.allowRetry;
            e.RetryMessage = "Try again.";
            e.FailedMessage = "Access denied.";
            page->Root->AddChild(std::move(edit));
        }
        ASSERT_TRUE(model::StorePageInCache(*entry, *page, r));
        p.Pages.push_back(std::move(entry));
    }
    ASSERT_TRUE(model::WriteProjectFile(p, fsys::Join(folder, "autorun.aru"), "", r));
    ASSERT_TRUE(r.entries.empty());
}

test::RunResult Play(const test::TempDir& folder, const std::string& answers,
                     const std::string& shots = "") {
    std::string exe = folder / "autorun.exe";
    EXPECT_TRUE(test::WriteAll(exe, test::ReadAll(test::OrvexaExe())));
    if (!shots.empty())
        SetEnvironmentVariableA("ORVEXA_SNAPSHOT_DIR", shots.c_str());
    auto r = test::RunProgram(exe, "", folder / "messages.log", answers, "");
    SetEnvironmentVariableA("ORVEXA_SNAPSHOT_DIR", nullptr);
    return r;
}

std::vector<std::string> Texts(const test::RunResult& r) {
    std::vector<std::string> t;
    for (const auto& l : r.log)
        t.push_back(l.text);
    return t;
}

TEST(Scenario, StartListEndsAtExitAndNoWindowIsShown) {
    test::TempDir folder, shots;
    WriteProject(folder.path(), {Message("one"), Act(K::Exit), Message("two")},
                 {Page("Main", {Message("page shown")})});
    auto r = Play(folder, "", shots.path());
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(Texts(r), std::vector<std::string>{"one"});
    std::vector<std::string> names;
    fsys::ListDir(shots.path(), false, names);
    EXPECT_TRUE(names.empty()) << "a page was shown";
}

TEST(Scenario, AnswersBranchesAndTheLoginPage) {
    test::TempDir folder;
    TAuAction ask = Act(K::ShowMessage, "Proceed?", "Question", 4);
    ask.ThenActions = {Message("yes")};
    ask.ElseActions = {Message("no")};
    TAuAction literal = Act(K::IfThenElse, "C:\\", "win.ini", 0);
    literal.ThenActions = {Message("literal then")};
    literal.ElseActions = {Message("literal else")};
    TAuAction missing = Act(K::IfThenElse, "[Windows]", "win.ini", 1);
    missing.ThenActions = {Message("no win.ini")};
    missing.ElseActions = {Message("win.ini there")};
    TAuAction login = Act(K::ShowLoginPage, "Login");
    login.ThenActions = {Message("passed")};
    login.ElseActions = {Message("failed")};
    TAuActions submit3{Act(K::SubmitLoginPage), Act(K::SubmitLoginPage), Act(K::SubmitLoginPage)};
    WriteProject(folder.path(), {},
                 {Page("Main", {ask, literal, missing, login, Act(K::Exit)}),
                  Page("Login", submit3, "secret", 2)});
    auto r = Play(folder, "Cancel");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(Texts(r), (std::vector<std::string>{"Proceed?", "win.ini there", "Try again.",
                                                  "Try again.", "Access denied.", "failed"}));
    ASSERT_FALSE(r.log.empty());
    EXPECT_EQ(r.log[0].detail, "Question,YesNoCancel");
}

TEST(Scenario, LoginPageBeforeTheMenuEndsThePlayerWhenItFails) {
    test::TempDir folder;
    TAuAction login = Act(K::ShowLoginPage, "Login");
    login.ElseActions = {Act(K::Exit)};
    TAuActions submit3{Act(K::SubmitLoginPage), Act(K::SubmitLoginPage), Act(K::SubmitLoginPage)};
    WriteProject(folder.path(), {login},
                 {Page("Main", {Message("main shown")}), Page("Login", submit3, "secret", 2)});
    auto r = Play(folder, "");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(Texts(r), (std::vector<std::string>{"Try again.", "Try again.", "Access denied."}));
}

TEST(Scenario, ExitBetweenTwoProgramsStartsBothBeforeThePlayerCloses) {
    test::TempDir folder;
    std::string child = test::ReadAll(fsys::ExecutablePath());
    ASSERT_TRUE(test::WriteAll(folder / "a.exe", child));
    ASSERT_TRUE(test::WriteAll(folder / "b.exe", child));
    const std::string filter = "--gtest_filter=ChildProcess.WritesMarkerAfterADelay";
    TAuAction a = Act(K::OpenRunFile, "\\a.exe", filter);
    TAuAction b = Act(K::OpenRunFile, "b.exe", filter);
    a.Number = b.Number = 0; // hidden
    WriteProject(folder.path(), {}, {Page("Main", {a, Act(K::Exit), b})});
    std::string marker = folder / "marker";
    SetEnvironmentVariableA("ORVEXA_ACTIONS_CHILD_MARKER", marker.c_str());
    SetEnvironmentVariableA("ORVEXA_ACTIONS_CHILD_NAMED", "1");
    auto r = Play(folder, "");
    SetEnvironmentVariableA("ORVEXA_ACTIONS_CHILD_MARKER", nullptr);
    SetEnvironmentVariableA("ORVEXA_ACTIONS_CHILD_NAMED", nullptr);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_TRUE(r.log.empty());
    for (int i = 0;
         i < 200 && !(fsys::FileExists(marker + "-a.exe") && fsys::FileExists(marker + "-b.exe"));
         ++i)
        Sleep(50);
    EXPECT_TRUE(fsys::FileExists(marker + "-a.exe"));
    EXPECT_TRUE(fsys::FileExists(marker + "-b.exe"));
}

} // namespace
} // namespace orv
