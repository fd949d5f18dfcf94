#include "unit/player/actions_fakes.h"

#include <gtest/gtest.h>

namespace orv::player::test {
namespace {

using K = model::TAuActionKind;
using testing::ElementsAre;

TEST_F(EngineTest, ExitBetweenTwoProgramsStartsBothThenClosesTheMainWindow) {
    TAuActions list{Act(K::OpenRunFile, "\\a.exe"), Act(K::Exit), Act(K::OpenRunFile, "b.exe")};
    RunActionList(host, list);
    EXPECT_THAT(log, ElementsAre("shell=open|C:\\Menu\\a.exe|||nowait|1",
                                 "shell=open|C:\\Menu\\b.exe|||nowait|1", "closemain"));
    EXPECT_TRUE(Startup().exitRequested);
}

TEST_F(EngineTest, ExitClosesTheModalPageOrThePreviewItself) {
    struct Case {
        int modal;
        bool preview;
        const char* want;
    } cases[] = {
        {1, false, "close"}, {3, false, "close"}, {0, true, "close"}, {0, false, "closemain"}};
    for (const auto& c : cases) {
        log.clear();
        Startup().exitRequested = false;
        host.modalKind = c.modal;
        host.preview = c.preview;
        RunActionList(host, {Act(K::Exit)});
        EXPECT_THAT(log, ElementsAre(c.want)) << c.modal << c.preview;
    }
}

TEST_F(EngineTest, SoundChannelsByToken) {
    RunActionList(host, {Act(K::PlaySound, "s.wav", "[DefaultPlayer7]"),
                         Act(K::PlaySound, "s.wav", "[DefaultPlayer2]", 1, true),
                         Act(K::PlaySound, "s.wav", "[DefaultPlayer3]"),
                         Act(K::PlaySound, "", "[DefaultPlayer1]"),
                         Act(K::StopSound, "", "[DefaultPlayer7]"),
                         Act(K::StopSound, "", "[DefaultPlayer1]"),
                         Act(K::StopSound, "", "[DefaultPlayer3]")});
    EXPECT_THAT(log, ElementsAre("play0=C:\\Menu\\s.wav", "play1=C:\\Menu\\s.wav|loop",
                                 "play2=C:\\Menu\\s.wav", "stop0", "stop2"));
}

TEST_F(EngineTest, PageNavigationStopsAtTheEndsOfThePageTable) {
    struct Case {
        K kind;
        int current;
        const char* want; // "" for nothing
    } cases[] = {
        {K::NextPage, 2, ""},     {K::NextPage, 1, "switch=2"},
        {K::PreviousPage, 0, ""}, {K::PreviousPage, 2, "switch=1"},
        {K::FirstPage, 0, ""},    {K::FirstPage, 2, "switch=0"},
        {K::LastPage, 2, ""},     {K::LastPage, 0, "switch=2"},
    };
    for (const auto& c : cases) {
        log.clear();
        host.page = c.current;
        RunActionList(host, {Act(c.kind)});
        std::string got = log.empty() ? "" : log[0];
        EXPECT_EQ(got, c.want) << int(c.kind) << " on page " << c.current;
        EXPECT_LE(log.size(), 1u);
    }
}

TEST_F(EngineTest, GoToPageByExactNameAndNotInTheEditor) {
    RunActionList(host, {Act(K::GoToPage, "page1"), Act(K::GoToPage, "Page1")});
    EXPECT_THAT(log, ElementsAre("switch=1"));
    log.clear();
    Startup().editorMode = true;
    RunActionList(host,
                  {Act(K::GoToPage, "Page1"), Act(K::ShowSubPage, "Page1"), Act(K::NextPage)});
    EXPECT_TRUE(log.empty());
}

TEST_F(EngineTest, SubPagesAndLoginPageBranches) {
    TAuAction sub = Act(K::ShowSubPage, "Page2", "", 500, true);
    TAuAction modal = Act(K::ShowSubPageModal, "Page1");
    TAuAction back = Act(K::ShowFullScreenBackground, "Page0");
    TAuAction login = Act(K::ShowLoginPage, "Page1");
    login.ThenActions = {Act(K::ShowMessage, "in", "", 1)};
    login.ElseActions = {Act(K::ShowMessage, "out", "", 1)};
    RunActionList(host, {sub, modal, back, Act(K::ShowSubPage, "Nope"), login});
    EXPECT_THAT(log, ElementsAre("subpage=2/0/1/500", "subpage=1/1/0/1", "subpage=0/2/0/1",
                                 "subpage=1/3/0/0"));
    ASSERT_EQ(platform.ui.entries.size(), 1u);
    EXPECT_EQ(platform.ui.entries[0].text, "out");
    host.subPageResult = true;
    RunActionList(host, {login});
    EXPECT_EQ(platform.ui.entries.back().text, "in");
}

// A message box pumps messages: timers of the window fire and events run
// other lists. Whatever happens meanwhile, the running list stays valid
// and the window's destructive steps wait for the list's end.
TEST_F(EngineTest, DestructiveStepsWaitForTheEndOfTheList) {
    auto& button = host.Add("Button", TAuObjectKind::Button);
    button.OnClick = {Act(K::GoToPage, "Page2"), Act(K::LoadObjectFromFile, "\\o.aeo", "Button"),
                      Act(K::ShowMessage, "wait", "", 1), Act(K::ClosePage),
                      Act(K::ShowMessage, "again", "", 1)};
    platform.ui.onShow = [&] {
        // The clicked object's own list is emptied under the runner.
        button.OnClick.clear();
        button.OnClick.shrink_to_fit();
        log.push_back("box");
    };
    RunActionList(host, button.OnClick);
    // The window closes, so the page switch held back is dropped.
    EXPECT_THAT(log, ElementsAre("box", "box", "loadobject=Button|C:\\Menu\\o.aeo", "close"));
    EXPECT_FALSE(host.ListsRunning());

    log.clear();
    platform.ui.onShow = [&] { log.push_back("box"); };
    RunActionList(host, {Act(K::GoToPage, "Page2"), Act(K::ShowMessage, "x", "", 1),
                         Act(K::GoToPage, "Page1")});
    EXPECT_THAT(log, ElementsAre("box", "switch=1"));
}

TEST_F(EngineTest, NestedListsOnOneWindowFlushOnlyAtTheOutermostEnd) {
    auto& list = host.Add("List", TAuObjectKind::ListBox);
    host.T(list).selectLists = {{Act(K::NextPage)}, {Act(K::ClosePage)}};
    RunActionList(host, {Act(K::DoSelectActions, "List"), Act(K::ShowMessage, "after", "", 1)});
    EXPECT_THAT(log, ElementsAre("close"));
    EXPECT_EQ(platform.ui.entries.size(), 1u);
}

TEST_F(EngineTest, MalformedSlideShowNumberEndsTheWholeListWithAMessage) {
    std::string bad = "\\Pics\x01Y\x01"
                      "abc\x01"
                      "3\x01"
                      "4\x01"
                      "50\x01"
                      "2\x01"
                      "0\x01\x01";
    TAuAction branch = Act(K::IfThenElse, "", "", 6);
    branch.ThenActions = {Act(K::LaunchSlideShow, bad), Act(K::Exit)};
    RunActionList(host, {branch, Act(K::ShowMessage, "never", "", 1)});
    ASSERT_EQ(platform.ui.entries.size(), 1u);
    EXPECT_EQ(platform.ui.entries[0].text,
              "The slide show setting \"Style\" is not a number: \"abc\".");
    EXPECT_EQ(platform.ui.entries[0].caption, "Error");
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(Startup().exitRequested);
}

TEST_F(EngineTest, FileActionsPassTheirTextOnWhenWellFormed) {
    std::string show = "\\Pics\x01 \x01"
                       "0\x01"
                       "3\x01"
                       "4\x01"
                       "50\x01"
                       "2\x01"
                       "-16777201\x01\x01";
    RunActionList(host, {Act(K::ShowImage, "\\a.png"), Act(K::LaunchSlideShow, show),
                         Act(K::LaunchSlideShow, "unconfigured"), Act(K::CopyFile, "")});
    EXPECT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], "file39=\\a.png");
    EXPECT_TRUE(platform.ui.entries.empty());
}

TEST_F(EngineTest, StartListStopsAtExitAndExitListRunsThrough) {
    Project().OnStart = {Act(K::ShowMessage, "one", "", 1), Act(K::Exit),
                         Act(K::ShowMessage, "two", "", 1)};
    RunStartActions();
    ASSERT_EQ(platform.ui.entries.size(), 1u);
    EXPECT_EQ(platform.ui.entries[0].text, "one");

    Project().OnExit = {Act(K::ShowMessage, "a", "", 1), Act(K::GoToPage, "Page1"),
                        Act(K::ShowMessage, "b", "", 1)};
    RunExitActions();
    EXPECT_EQ(platform.ui.entries.size(), 3u);
    EXPECT_TRUE(log.empty()); // window kinds do nothing without a window
}

TEST_F(EngineTest, ShowMessageIconsButtonsAndBranches) {
    struct Case {
        int option;
        int answer;
        uint32_t flags;
        const char* ran; // "" none
    } cases[] = {
        {0, answer::kOk, mb::kIconWarning, ""},
        {1, answer::kOk, mb::kIconInformation, ""},
        {2, answer::kOk, mb::kIconError, ""},
        {3, answer::kYes, mb::kIconQuestion | mb::kYesNo, "then"},
        {3, answer::kNo, mb::kIconQuestion | mb::kYesNo, "else"},
        {4, answer::kCancel, mb::kIconQuestion | mb::kYesNoCancel, ""},
        {4, answer::kNo, mb::kIconQuestion | mb::kYesNoCancel, "else"},
        {9, answer::kOk, mb::kOk, ""},
    };
    for (const auto& c : cases) {
        platform.ui.entries.clear();
        platform.ui.answers = {c.answer};
        TAuAction a = Act(K::ShowMessage, "Text", "Caption", c.option);
        a.ThenActions = {Act(K::ShowMessage, "then", "", 1)};
        a.ElseActions = {Act(K::ShowMessage, "else", "", 1)};
        RunActionList(host, {a});
        ASSERT_GE(platform.ui.entries.size(), 1u);
        EXPECT_EQ(platform.ui.entries[0].flags, c.flags) << c.option;
        EXPECT_EQ(platform.ui.entries[0].caption, "Caption");
        std::string ran = platform.ui.entries.size() > 1 ? platform.ui.entries[1].text : "";
        EXPECT_EQ(ran, c.ran) << c.option << "/" << c.answer;
    }
}

TEST_F(EngineTest, ShellKindsAndTheirParameters) {
    TAuAction run = Act(K::OpenRunFile, "\\setup.exe", "/q \"x y\"");
    run.Param3 = "\\Sub";
    run.Flag = true;
    run.Number = 3;
    RunActionList(host, {run, Act(K::VisitWebsite, "http://x/?a=\"b\"", "", 1),
                         Act(K::SendEmail, "me@x.org", "", 1, true), Act(K::PrintDocument, "d.txt"),
                         Act(K::Browse), Act(K::Browse, "Docs"), Act(K::OpenRunFile)});
    EXPECT_THAT(log, ElementsAre("shell=open|C:\\Menu\\setup.exe|/q \"x y\"|C:\\Menu\\Sub|wait|3",
                                 "shell=open|http://x/?a=%22b%22|||nowait|1",
                                 "shell=open|mailto:me@x.org|||nowait|1",
                                 "shell=print|C:\\Menu\\d.txt|||nowait|1",
                                 "shell=explore|C:\\Menu|||nowait|1",
                                 "shell=explore|C:\\Menu\\Docs|||nowait|1"));
}

TEST_F(EngineTest, ShellResultJudgedByTheCallWithMappedTexts) {
    struct Case {
        uint32_t result;
        const char* text; // "" for success
    } cases[] = {
        {33, ""},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied access to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {32, "A sharing violation occurred."},
        {193, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
        {1155, "There is no application associated with the given filename extension."},
        {1157, "The specified dynamic-link library was not found."},
        {42, "Operation Error"},
        {0, "Operation Error"},
        {1223, "Operation Error"},
    };
    for (const auto& c : cases) {
        platform.ui.entries.clear();
        platform.shellResult = c.result;
        bool ok = ShellRun("open", "x", "", false, 1, "");
        EXPECT_EQ(ok, c.text[0] == 0) << c.result;
        if (c.text[0] == 0) {
            EXPECT_TRUE(platform.ui.entries.empty());
            continue;
        }
        ASSERT_EQ(platform.ui.entries.size(), 1u) << c.result;
        EXPECT_EQ(platform.ui.entries[0].text, c.text);
        EXPECT_EQ(platform.ui.entries[0].caption, "Error");
        EXPECT_EQ(platform.ui.entries[0].flags, mb::kIconError);
    }
}

TEST_F(EngineTest, MenuItemRunsItsHintList) {
    model::TMenuItem item;
    RecordingReporter r;
    ASSERT_TRUE(model::ActionListToText("MenuItem1", {Act(K::NextPage)}, item.Hint, r));
    RunMenuItem(host, item);
    EXPECT_THAT(log, ElementsAre("switch=1"));
    item.Hint = "Broken\x01\x05";
    RunMenuItem(host, item); // damaged hint: reported, nothing runs
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(EngineTest, WindowKindsDoNothingWithoutAWindowAndUnknownCodesNothingAnywhere) {
    TAuAction unknown = Act(K::Exit);
    unknown.Kind = 48;
    EXPECT_FALSE(RunWindowlessAction(Act(K::ClosePage), nullptr));
    EXPECT_FALSE(RunWindowlessAction(unknown, nullptr));
    EXPECT_FALSE(RunAction(host, unknown));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(Startup().exitRequested);
}

} // namespace
} // namespace orv::player::test

namespace orv::player::test {
namespace {

TEST_F(EngineTest, ListsThatRunThemselvesEndWithAMessage) {
    auto& list = host.Add("List", model::TAuObjectKind::ListBox);
    TAuActions again{Act(model::TAuActionKind::DoSelectActions, "List")};
    host.T(list).selectLists = {again};
    RunActionList(host, {Act(model::TAuActionKind::DoSelectActions, "List"),
                         Act(model::TAuActionKind::ShowMessage, "after", "", 1)});
    ASSERT_EQ(platform.ui.entries.size(), 1u);
    EXPECT_EQ(platform.ui.entries[0].text,
              "The actions call each other too deeply; the list was ended.");
    EXPECT_FALSE(host.ListsRunning());
    // The next click runs normally.
    RunActionList(host, {Act(model::TAuActionKind::ShowMessage, "next", "", 1)});
    EXPECT_EQ(platform.ui.entries.back().text, "next");
}

} // namespace
} // namespace orv::player::test

namespace orv::player::test {
namespace {

TEST_F(EngineTest, StartListOpensALoginPageWithoutAWindow) {

    TAuAction login = Act(K::ShowLoginPage, "Page2");
    login.ElseActions = {Act(K::Exit)};
    login.ThenActions = {Act(K::ShowMessage, "welcome", "", 1)};
    Project().OnStart = {login, Act(K::ShowMessage, "menu", "", 1)};
    RunStartActions();
    EXPECT_THAT(log, testing::ElementsAre("platform subpage=2/3"));
    EXPECT_TRUE(Startup().exitRequested);
    EXPECT_TRUE(platform.ui.entries.empty());

    log.clear();
    Startup().exitRequested = false;
    platform.subPageResult = true;
    RunStartActions();
    ASSERT_EQ(platform.ui.entries.size(), 2u);
    EXPECT_EQ(platform.ui.entries[0].text, "welcome");
    EXPECT_EQ(platform.ui.entries[1].text, "menu");
}

} // namespace
} // namespace orv::player::test
