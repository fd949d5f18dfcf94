#include "unit/player/actions_fakes.h"

#include <gtest/gtest.h>

namespace orv::player::test {
namespace {

using K = model::TAuActionKind;
using O = model::TAuObjectKind;
using testing::ElementsAre;

TEST_F(EngineTest, ShowTextByKindAndStatusPanels) {
    host.Add("Caption", O::Button);
    auto& box = host.Add("Box", O::GroupBox);
    host.Add("Lines", O::TextBox, &box);
    host.Add("Img", O::Image);
    host.Add("Bare", O::Label, nullptr, false); // no control yet
    host.panels = 2;
    RunActionList(host, {Act(K::ObjectShowText, "Hi", "Caption"),
                         Act(K::ObjectShowText, "a\r\nb\r\nc", "Box - Lines"),
                         Act(K::ObjectShowText, "x", "Img"), Act(K::ObjectShowText, "x", "Bare"),
                         Act(K::ObjectShowText, "first", "StatusBar - Panel[0]"),
                         Act(K::ObjectShowText, "none", "StatusBar - Panel[2]"),
                         Act(K::ObjectShowText, "none", "StatusBar - Panel[01]")});
    EXPECT_THAT(log, ElementsAre("Caption:caption=Hi", "Lines:lines=3", "panel0=first"));
}

TEST_F(EngineTest, FadingObjectsChangeAfterTheFadeOut) {
    auto& label = host.Add("Label", O::Label);
    auto& shape = host.Add("Shape", O::Shape);
    host.T(label).fading = true;
    host.T(shape).fading = true;
    TAuAction pic = Act(K::ObjectShowImage, "", "Shape");
    pic.SetPicture(model::TPicture{});
    RunActionList(host,
                  {Act(K::ObjectShowText, "one", "Label"), Act(K::ObjectShowText, "two", "Label"),
                   pic, Act(K::ObjectLoadFile, "p.png", "Shape")});
    EXPECT_THAT(log,
                ElementsAre("Label:fadeout", "Label:fadeout", "Shape:fadeout", "Shape:fadeout"));
    log.clear();
    ApplyPendingChanges(host.T(label));
    ApplyPendingChanges(host.T(shape));
    ApplyPendingChanges(host.T(shape)); // nothing left
    EXPECT_THAT(log,
                ElementsAre("Label:caption=two", "Shape:picture", "Shape:load=C:\\Menu\\p.png"));

    // Not fading: at once.
    log.clear();
    host.T(label).fading = false;
    RunActionList(host, {Act(K::ObjectShowText, "now", "Label")});
    EXPECT_THAT(log, ElementsAre("Label:caption=now"));
}

TEST_F(EngineTest, LoadFileValuesByKind) {
    host.Add("Img", O::Image);
    host.Add("Web", O::Browser);
    host.Add("Show", O::SlideShow);
    host.Add("Btn", O::Button);
    platform.folders.insert("C:\\Menu\\Docs");
    RunActionList(host,
                  {Act(K::ObjectLoadFile, "a.png", "Img"), Act(K::ObjectLoadFile, "Docs", "Web"),
                   Act(K::ObjectLoadFile, "http://x.org", "Web"),
                   Act(K::ObjectLoadFile, "\\Pics", "Show"), Act(K::ObjectLoadFile, "a", "Btn"),
                   Act(K::ObjectLoadFile, "", "Img")});
    EXPECT_THAT(log, ElementsAre("Img:load=C:\\Menu\\a.png", "Web:load=C:\\Menu\\Docs",
                                 "Web:load=http://x.org", "Show:load=\\Pics"));
}

TEST_F(EngineTest, EligibleKindsOfTheObjectActions) {
    host.Add("Panel", O::Panel);
    host.Add("Sheetless", O::Image);
    host.Add("Media", O::MediaPlayer);
    host.Add("Note", O::Note);
    TAuAction font = Act(K::SetObjectFont, "", "Panel");
    RunActionList(
        host,
        {font, Act(K::SetObjectFont, "", "Sheetless"), Act(K::SetObjectBackColor, "", "Panel", 255),
         Act(K::SetObjectBackColor, "", "Media", 255), Act(K::SetObjectAlpha, "", "Note", 150),
         Act(K::SetObjectAlpha, "", "Panel", 50), Act(K::Pause, "Media"), Act(K::StepLast, "Media"),
         Act(K::Play, "Panel"), Act(K::SetObjectVisible, "", "Sheetless", 1, false),
         Act(K::SetObjectEnable, "", "Media", 1, true), Act(K::SetWindowState, "", "", 2),
         Act(K::SetWindowState, "", "", 3), Act(K::ApplicationMinimize),
         Act(K::ApplicationRestore)});
    EXPECT_THAT(log, ElementsAre("Panel:font", "Panel:color=255", "Note:fadeto=100",
                                 "Media:media=1", "Media:media=6", "Sheetless:hidden",
                                 "Media:enabled", "state=2", "minimize", "restore"));
}

TEST_F(EngineTest, SelectionAcceptsOnlyValidIndexes) {
    auto& list = host.Add("List", O::ListBox);
    auto& view = host.Add("View", O::ListView);
    host.Add("Check", O::CheckBox);
    host.T(list).count = 3;
    host.T(view).count = 3;
    RunActionList(
        host,
        {Act(K::SelectObjectOrItem, "", "List", 3), Act(K::SelectObjectOrItem, "", "List", -2),
         Act(K::SelectObjectOrItem, "", "List", 2), Act(K::SelectObjectOrItem, "", "List", -1),
         Act(K::SelectObjectOrItem, "", "View", -1), Act(K::SelectObjectOrItem, "", "View", 1),
         Act(K::SelectObjectOrItem, "", "Check"), Act(K::UnselectObjectOrItem, "", "List"),
         Act(K::UnselectObjectOrItem, "", "View"), Act(K::UnselectObjectOrItem, "", "Check")});
    EXPECT_THAT(log, ElementsAre("List:index=2", "List:index=-1", "View:select=1", "Check:checked",
                                 "List:index=-1", "View:clear", "Check:unchecked"));
}

TEST_F(EngineTest, ConditionsOnFilesViewersAndVersions) {
    platform.tokens["[Windows]"] = "C:\\Windows\\";
    platform.files.insert("C:\\Windows\\win.ini");
    platform.folders.insert("C:\\Windows\\system32");
    platform.registry[".pdf"] = "AcroExch.Document";
    platform.registry["AcroExch.Document\\shell\\open\\command"] = "acro.exe \"%1\"";
    platform.registry[".xyz"] = "Xyz.File";
    struct Case {
        int number;
        const char* p1;
        const char* p2;
        int want; // -1 not evaluated, else 0/1
    } cases[] = {
        {0, "C:\\", "win.ini", -1},
        {0, "[Windows]", "win.ini", 1},
        {0, "[Windows]", "\\win.ini", 1},
        {1, "[Windows]", "win.ini", 0},
        {0, "[Windows]", "none.ini", 0},
        {2, "[Windows]", "system32", 1},
        {3, "[Windows]", "system32", 0},
        {2, "[Windows]", "win.ini", 0},
        {0, "[NoSuchFolder]", "win.ini", -1},
        {4, ".pdf (Adobe Acrobat Document)", "", 1},
        {5, ".pdf (Adobe Acrobat Document)", "", 0},
        {4, ".xyz", "", 0}, // a type without an open command
        {4, ".abc", "", 0},
        {4, "pdf", "", -1},
        {6, "", "", 1},
        {7, "", "", 1},
        {8, "", "", 0},
        {9, "Missing", "0", -1}, // no window object
        {11, "", "", -1},
        {-1, "", "", -1},
    };
    for (const auto& c : cases) {
        TAuAction a = Act(K::IfThenElse, c.p1, c.p2, c.number);
        bool r = false;
        bool ok = EvaluateCondition(a, &host, r);
        EXPECT_EQ(ok ? int(r) : -1, c.want) << c.number << " " << c.p1 << " " << c.p2;
    }
    platform.registryAsked.clear();
    bool r = false;
    EvaluateCondition(Act(K::IfThenElse, ".pdf (Adobe Acrobat Document)", "", 4), nullptr, r);
    EXPECT_EQ(platform.registryAsked.front(), ".pdf");

    struct Version {
        int major, minor;
        bool w2000, xp, vista;
    } versions[] = {{4, 10, false, false, false},
                    {5, 0, true, false, false},
                    {5, 1, true, true, false},
                    {6, 0, true, true, true}};
    for (const auto& v : versions) {
        platform.major = v.major;
        platform.minor = v.minor;
        bool w = false, x = false, vi = false;
        EvaluateCondition(Act(K::IfThenElse, "", "", 6), nullptr, w);
        EvaluateCondition(Act(K::IfThenElse, "", "", 7), nullptr, x);
        EvaluateCondition(Act(K::IfThenElse, "", "", 8), nullptr, vi);
        EXPECT_EQ(w, v.w2000);
        EXPECT_EQ(x, v.xp);
        EXPECT_EQ(vi, v.vista) << v.major << "." << v.minor;
    }
}

TEST_F(EngineTest, IfThenElseRunsNeitherListWhenNotEvaluated) {
    TAuAction a = Act(K::IfThenElse, "C:\\", "win.ini", 0);
    a.ThenActions = {Act(K::ShowMessage, "then", "", 1)};
    a.ElseActions = {Act(K::ShowMessage, "else", "", 1)};
    RunActionList(host, {a});
    EXPECT_TRUE(platform.ui.entries.empty());
    a.Number = 1;
    a.Param1 = "[Windows]";
    platform.tokens["[Windows]"] = "C:\\Windows";
    RunActionList(host, {a});
    ASSERT_EQ(platform.ui.entries.size(), 1u);
    EXPECT_EQ(platform.ui.entries[0].text, "then");
}

TEST_F(EngineTest, SelectedConditionRanges) {
    auto& list = host.Add("List", O::DropDownList);
    auto& view = host.Add("View", O::ListView);
    auto& radio = host.Add("Radio", O::RadioButton);
    host.Add("Panel", O::Panel);
    host.T(list).count = 2;
    host.T(list).index = 1;
    host.T(view).count = 2;
    host.T(view).selected = {0};
    host.T(radio).checked = true;
    struct Case {
        int number;
        const char* path;
        const char* index;
        int want;
    } cases[] = {
        {9, "List", "1", 1},   {9, "List", "0", 0},   {10, "List", "0", 1}, {9, "List", "2", -1},
        {9, "List", "-1", 0},  {9, "List", "-2", -1}, {9, "List", "x", -1}, {9, "View", "0", 1},
        {9, "View", "1", 0},   {9, "View", "-1", -1}, {9, "Radio", "", 1},  {10, "Radio", "", 0},
        {9, "Panel", "0", -1},
    };
    for (const auto& c : cases) {
        bool r = false;
        bool ok = EvaluateCondition(Act(K::IfThenElse, c.path, c.index, c.number), &host, r);
        EXPECT_EQ(ok ? int(r) : -1, c.want) << c.number << " " << c.path << " " << c.index;
    }
    bool r = false;
    EXPECT_FALSE(EvaluateCondition(Act(K::IfThenElse, "Radio", "", 9), nullptr, r));
}

class LoginTest : public EngineTest {
protected:
    TAuObject& Edit(const std::string& name, const std::string& need, int retry,
                    TAuObject* parent = nullptr) {
        TAuObject& e = host.Add(name, O::Edit, parent);
        auto& p = e.As<model::EditProps>();
        p.NeedInputText = need;
        p.AllowRetry = retry;
        p.RetryMessage = "retry " + name;
        p.FailedMessage = "failed " + name;
        p.FailedCaption = "Login Failed";
        return e;
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> t;
        for (auto& e : platform.ui.entries)
            t.push_back(e.text);
        return t;
    }
};

TEST_F(LoginTest, RetriesThenFailsAndTheLoginPageRunsItsElseList) {
    TAuObject& code = Edit("Code", "\r\nsecret\r\nother\r\n", 2);
    host.T(code).text = "wrong";
    host.modalKind = 3;
    std::vector<int> results;
    for (int i = 0; i < 3; ++i) {
        log.clear();
        RunActionList(host, {Act(K::SubmitLoginPage)});
        results.push_back(log.empty() ? 1 : 2);
        if (i < 2) {
            EXPECT_TRUE(log.empty());
        }
    }
    EXPECT_EQ(results, (std::vector<int>{1, 1, 2}));
    EXPECT_THAT(log, ElementsAre("close"));
    EXPECT_THAT(Texts(), ElementsAre("retry Code", "retry Code", "failed Code"));
    EXPECT_EQ(platform.ui.entries[2].caption, "Login Failed");
    EXPECT_EQ(platform.ui.entries[2].flags, mb::kIconInformation);

    // A right entry passes; an empty line never matches.
    log.clear();
    host.T(code).text = "other";
    RunActionList(host, {Act(K::SubmitLoginPage)});
    EXPECT_THAT(log, ElementsAre("passed", "close"));
    host.T(code).text = "";
    EXPECT_EQ(ValidateLogin(host, *host.root), 2);
}

TEST_F(LoginTest, DepthFirstStopsAtTheFirstFailureAndSkipsItsChildren) {
    TAuObject& group = host.Add("Group", O::Panel);
    TAuObject& check = host.Add("Check", O::CheckBox, &group);
    check.As<model::CheckBoxProps>().NeedCheckMessage = "tick it";
    TAuObject& user = host.Add("User", O::UserPassword, &group);
    user.As<model::UserPasswordProps>().UserList = "ann,pw1\r\nbob,pw2";
    user.As<model::UserPasswordProps>().RetryMessage = "bad user";
    Edit("Later", "x", 0);

    EXPECT_EQ(ValidateLogin(host, *host.root), 1);
    EXPECT_THAT(Texts(), ElementsAre("tick it"));

    host.T(check).checked = true;
    host.T(user).user = "bob";
    host.T(user).password = "pw1";
    EXPECT_EQ(ValidateLogin(host, group), 1);
    host.T(user).password = "pw2";
    EXPECT_EQ(ValidateLogin(host, group), 0);
    EXPECT_THAT(Texts(), ElementsAre("tick it", "bad user"));

    // SubmitLogin on the group: passed runs ThenActions.
    TAuAction submit = Act(K::SubmitLogin, "Group");
    submit.ThenActions = {Act(K::ShowMessage, "welcome", "", 1)};
    submit.ElseActions = {Act(K::ShowMessage, "denied", "", 1)};
    RunActionList(host, {submit});
    EXPECT_EQ(Texts().back(), "welcome");
    // The Edit outside the group fails the whole page (AllowRetry 0 never
    // gives up).
    EXPECT_EQ(ValidateLogin(host, *host.root), 1);
}

TEST_F(LoginTest, FailureCountsArePerControl) {
    TAuObject& a = Edit("A", "ok", 1);
    TAuObject& b = Edit("B", "ok", 1);
    host.T(b).text = "ok";
    EXPECT_EQ(ValidateLogin(host, *host.root), 1); // A: 1
    host.T(a).text = "ok";
    host.T(b).text = "no";
    EXPECT_EQ(ValidateLogin(host, *host.root), 1); // B: 1
    EXPECT_EQ(ValidateLogin(host, *host.root), 2); // B: 2 > 1
    (void)a;
}

} // namespace
} // namespace orv::player::test
