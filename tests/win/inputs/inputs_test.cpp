// The document and input kinds under Wine: what the action engine does to
// them, the login check on live controls, clicks and the OnSelect lists of
// check boxes and radio buttons, the automatic move between full Edits,
// rich text loading and what the controls look like.
#include "objects/inputs.h"

#include "base/fsys.h"
#include "player/actions.h"
#include "startup/startup.h"
#include "support/tempdir.h"
#include "win/controls/drawing.h"
#include "win/controls/helpers.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace orv::objects {
namespace {

using K = TAuObjectKind;
using model::TAuAction;
using model::TAuActionKind;
using test::Pump;

// Logs the seven events, the popup menu and the OnSelect hand-over, which
// names the first action's text of the list it got.
class Sink : public TAuEventSink {
public:
    std::vector<std::string> lines;
    void ObjectClick(TAuControl& c) override { Add(c, "click"); }
    void ObjectDblClick(TAuControl& c) override { Add(c, "dblclick"); }
    void ObjectMouseEnter(TAuControl& c) override { Add(c, "enter"); }
    void ObjectMouseLeave(TAuControl& c) override { Add(c, "leave"); }
    void ObjectMouseDown(TAuControl& c, const win::MouseArgs&) override { Add(c, "down"); }
    void ObjectMouseMove(TAuControl&, const win::MouseArgs&) override {}
    void ObjectMouseUp(TAuControl& c, const win::MouseArgs&) override { Add(c, "up"); }
    void ObjectPopupMenu(TAuControl& c, POINT) override { Add(c, "menu"); }
    void ObjectSelectActions(TAuControl& c, const model::TAuActions& list) override {
        Add(c, "select " + (list.empty() ? std::string("(none)") : list[0].Param1));
    }
    std::string Take() {
        std::string s;
        for (auto& l : lines)
            s += (s.empty() ? "" : ", ") + l;
        lines.clear();
        return s;
    }

private:
    void Add(TAuControl& c, const std::string& what) {
        lines.push_back(c.Record()->Name + " " + what);
    }
};

// Records under a root Panel, built by the factory as the player builds a
// page, with the events bound to the logging sink.
class Page {
public:
    explicit Page(int width = 420, int height = 320, bool designView = false)
        : host(width, height, designView), root(std::make_unique<TAuObject>(K::Panel)) {
        root->Name = "Page";
        root->Align = 5;
        root->Width = width;
        root->Height = height;
        auto& p = root->As<model::PanelProps>();
        p.BackColor = 0x00FFFFFF;
        p.Back.Caption.clear();
        p.Back.Border = 0;
    }
    ~Page() { DestroyKindControl(*root); }

    TAuObject& Add(TAuObject& parent, K kind, const std::string& name, int left, int top, int width,
                   int height) {
        auto rec = std::make_unique<TAuObject>(kind);
        rec->Name = name;
        rec->Left = left;
        rec->Top = top;
        rec->Width = width;
        rec->Height = height;
        return parent.AddChild(std::move(rec));
    }
    TAuObject& Add(K kind, const std::string& name, int left, int top, int width, int height) {
        return Add(*root, kind, name, left, top, width, height);
    }

    void Build() {
        Make(*root, host);
        Pump(30);
    }

    template <class T> T& Ctl(const TAuObject& rec) {
        return dynamic_cast<T&>(ControlOf(rec)->Ctl());
    }
    HWND Hwnd(const TAuObject& rec) {
        return static_cast<win::WinControl&>(ControlOf(rec)->Ctl()).Handle();
    }

    test::TopHost host;
    std::unique_ptr<TAuObject> root;
    Sink sink;

private:
    void Make(TAuObject& rec, win::WinControl& parent) {
        TAuControl* c = CreateKindControl(rec, parent);
        ASSERT_NE(c, nullptr) << rec.Name;
        ApplySharedProperties(*c, true);
        BindEvents(*c, sink);
        if (win::WinControl* box = c->ChildParent()) {
            box->DisableAlign();
            for (size_t i = 0; i < rec.ChildCount(); ++i)
                Make(rec.Child(i), *box);
            box->EnableAlign();
            c->ChildrenLoaded();
        }
    }
};

// The engine's window for a page: objects by path, controls as targets.
class PageHost : public player::ActionHost {
public:
    explicit PageHost(TAuObject& root) : root_(root) {}
    TAuObject* FindObject(const std::string& path) override {
        return model::FindObject(root_, path);
    }
    TAuObject* PageRoot() override { return &root_; }
    player::ActionTarget* TargetOf(TAuObject& record) override {
        return dynamic_cast<player::ActionTarget*>(ControlOf(record));
    }
    void SetObjectEnabled(TAuObject&, bool) override {}
    void SetObjectVisible(TAuObject&, bool) override {}
    int CurrentPage() const override { return 0; }
    void SwitchToPage(int) override {}
    bool ShowSubPage(int, int, bool, int32_t) override { return false; }
    void RequestClose() override {}
    void RequestCloseMain() override {}
    void SetWindowState(int) override {}
    void SetLoginPassed(bool) override {}
    int ModalKind() const override { return 0; }
    bool IsMainWindow() const override { return true; }
    bool IsPreview() const override { return false; }
    int StatusPanelCount() const override { return 0; }
    void SetStatusPanelText(int, const std::string&) override {}
    void LoadObjectFromFile(const std::string&, const std::string&) override {}

private:
    TAuObject& root_;
};

// The program's platform with the message boxes recorded.
class RecordingPlatform : public player::ActionPlatform {
public:
    Reporter& UI() override { return ui; }
    uint32_t ShellStart(const player::ShellRequest& r) override { return Real().ShellStart(r); }
    bool FileExists(const std::string& p) override { return Real().FileExists(p); }
    bool DirectoryExists(const std::string& p) override { return Real().DirectoryExists(p); }
    std::string FolderOfToken(const std::string& t) override { return Real().FolderOfToken(t); }
    std::string ClassesRootDefault(const std::string& k) override {
        return Real().ClassesRootDefault(k);
    }
    void PlatformVersion(int& a, int& b) override { Real().PlatformVersion(a, b); }
    void PlaySound(int, const std::string&, bool) override {}
    void StopSound(int) override {}
    void MinimizeApplication() override {}
    void RestoreApplication() override {}
    bool ShowSubPage(int, int, bool, int32_t) override { return false; }
    bool RunFileAction(const std::string&, uint8_t) override { return false; }
    static player::ActionPlatform& Real() { return player::DefaultActionPlatform(); }
    RecordingReporter ui;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        player::SetActionPlatform(&platform);
        Startup().projectFolder = dir.path();
    }
    void TearDown() override { player::SetActionPlatform(nullptr); }
    void Run(const std::vector<TAuAction>& list) {
        PageHost host(*page.root);
        player::RunActionList(host, list);
        Pump(10);
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> out;
        for (auto& e : platform.ui.entries)
            out.push_back(e.caption + ": " + e.text);
        platform.ui.entries.clear();
        return out;
    }
    RecordingPlatform platform;
    test::TempDir dir;
    Page page;
};

TAuAction Act(TAuActionKind kind, const std::string& p1, const std::string& p2 = {},
              int32_t number = 0) {
    TAuAction a;
    a.Kind = static_cast<uint8_t>(kind);
    a.Param1 = p1;
    a.Param2 = p2;
    a.Number = number;
    return a;
}

// Types text into a window as the keyboard would, one character at a time.
void Type(HWND h, const std::string& text) {
    for (char c : text)
        SendMessageW(h, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
    Pump(5);
}

void ClickAt(HWND h, int x, int y) {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump(10);
}

const char kRtf[] = "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Arial;}\\f0\\pard Hello {\\b bold}\\par}";

// ------------------------------------------------------- actions on kinds

TEST_F(EngineTest, ShowTextLoadFileFontAndColourReachTheControls) {
    TAuObject& doc = page.Add(K::TextBox, "Doc", 10, 10, 150, 80);
    TAuObject& rich = page.Add(K::RichText, "Rich", 170, 10, 150, 80);
    TAuObject& name = page.Add(K::Edit, "Name", 10, 100, 120, 21);
    TAuObject& agree = page.Add(K::CheckBox, "Agree", 10, 130, 120, 17);
    TAuObject& login = page.Add(K::UserPassword, "Login", 170, 100, 193, 49);
    page.Build();
    ASSERT_TRUE(test::WriteFile(dir / "notes.txt", std::string("first\nsecond\rthird")));
    ASSERT_TRUE(test::WriteFile(dir / "doc.rtf",
                                "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Arial;}\\f0 Loaded\\par}"));

    model::TFont big = model::ArialFont(16);
    TAuAction font = Act(TAuActionKind::SetObjectFont, "", "Login");
    font.SetFont(big);
    Run({Act(TAuActionKind::ObjectShowText, "one\ntwo", "Doc"),
         Act(TAuActionKind::ObjectShowText, "typed by an action", "Name"),
         Act(TAuActionKind::ObjectShowText, "I agree", "Agree"),
         Act(TAuActionKind::ObjectLoadFile, "\\doc.rtf", "Rich"),
         Act(TAuActionKind::SetObjectBackColor, "", "Login", 0x0000FF), font});

    auto& textBox = page.Ctl<TAuTextBox>(doc);
    EXPECT_EQ(textBox.ShownText(), "one\r\ntwo");
    EXPECT_EQ(page.Ctl<TAuEdit>(name).EnteredText(), "typed by an action");
    EXPECT_EQ(input::TextOf(page.Hwnd(agree)), "I agree");
    const std::string shown = page.Ctl<TAuRichText>(rich).ShownText();
    EXPECT_NE(shown.find("Loaded"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("rtf1"), std::string::npos) << shown;
    auto& up = page.Ctl<TAuUserPassword>(login);
    EXPECT_EQ(up.Props().EditorColor, 0x0000FF);
    EXPECT_EQ(up.Props().Font, big);
    // The edits follow the bigger font, one at the top, one at the bottom.
    EXPECT_GT(up.UserEdit().Height(), 21);
    EXPECT_EQ(up.UserEdit().Top(), 0);
    EXPECT_EQ(up.PasswordEdit().Top() + up.PasswordEdit().Height(), up.Height());

    // A text file's lines, whatever its line breaks; a missing file changes
    // nothing.
    Run({Act(TAuActionKind::ObjectLoadFile, "\\notes.txt", "Doc")});
    EXPECT_EQ(textBox.ShownText(), "first\r\nsecond\r\nthird");
    EXPECT_EQ(doc.As<model::TextBoxProps>().Text, "first\r\nsecond\r\nthird");
    Run({Act(TAuActionKind::ObjectLoadFile, "\\missing.txt", "Doc")});
    EXPECT_EQ(textBox.ShownText(), "first\r\nsecond\r\nthird");
    // A RichText is cleared even when the file is missing.
    Run({Act(TAuActionKind::ObjectLoadFile, "\\missing.rtf", "Rich")});
    EXPECT_EQ(page.Ctl<TAuRichText>(rich).ShownText(), "");
}

TEST_F(EngineTest, SelectUnselectConditionsAndSelectActionsOfBoxes) {
    TAuObject& agree = page.Add(K::CheckBox, "Agree", 10, 10, 120, 17);
    TAuObject& r1 = page.Add(K::RadioButton, "R1", 10, 40, 120, 17);
    TAuObject& r2 = page.Add(K::RadioButton, "R2", 10, 60, 120, 17);
    TAuObject& box = page.Add(K::Panel, "Box", 200, 10, 150, 100);
    TAuObject& r3 = page.Add(box, K::RadioButton, "R3", 10, 10, 120, 17);
    TAuObject& out = page.Add(K::Edit, "Out", 10, 100, 150, 21);
    r1.As<model::RadioButtonProps>().Checked = true;
    r3.As<model::RadioButtonProps>().Checked = true;
    agree.As<model::CheckBoxProps>().Actions.SelectActions = {
        Act(TAuActionKind::ObjectShowText, "agree selected", "Out")};
    page.Build();
    auto& outEdit = page.Ctl<TAuEdit>(out);
    auto checked = [&](TAuObject& r) {
        return SendMessageW(page.Hwnd(r), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };

    // Selecting R2 unchecks R1 of the same parent, not R3 of the panel.
    Run({Act(TAuActionKind::SelectObjectOrItem, "", "R2")});
    EXPECT_TRUE(checked(r2));
    EXPECT_FALSE(checked(r1));
    EXPECT_TRUE(checked(r3));
    EXPECT_FALSE(r1.As<model::RadioButtonProps>().Checked);

    // DoSelectActions runs nothing while unchecked, the SelectActions once checked.
    Run({Act(TAuActionKind::DoSelectActions, "Agree")});
    EXPECT_EQ(outEdit.EnteredText(), "");
    Run({Act(TAuActionKind::SelectObjectOrItem, "", "Agree"),
         Act(TAuActionKind::DoSelectActions, "Agree")});
    EXPECT_TRUE(checked(agree));
    EXPECT_EQ(outEdit.EnteredText(), "agree selected");

    // Conditions 9 and 10 read the live state.
    TAuAction ifChecked = Act(TAuActionKind::IfThenElse, "Agree", "0", 9);
    ifChecked.ThenActions = {Act(TAuActionKind::ObjectShowText, "then", "Out")};
    ifChecked.ElseActions = {Act(TAuActionKind::ObjectShowText, "else", "Out")};
    Run({ifChecked});
    EXPECT_EQ(outEdit.EnteredText(), "then");
    Run({Act(TAuActionKind::UnselectObjectOrItem, "", "Agree"), ifChecked});
    EXPECT_FALSE(checked(agree));
    EXPECT_EQ(outEdit.EnteredText(), "else");
    // No events are raised by actions.
    EXPECT_EQ(page.sink.Take(), "");
}

// ------------------------------------------------------------ login check

TEST_F(EngineTest, LoginCheckReadsWhatTheUserEntered) {
    TAuObject& answer = page.Add(K::Edit, "Answer", 10, 10, 120, 21);
    TAuObject& agree = page.Add(K::CheckBox, "Agree", 10, 40, 120, 17);
    TAuObject& login = page.Add(K::UserPassword, "Login", 10, 70, 193, 49);
    answer.As<model::EditProps>().NeedInputText = "\r\nyes\r\n";
    answer.As<model::EditProps>().AllowRetry = 2;
    login.As<model::UserPasswordProps>().UserList = "anna,secret\r\nbob,pw";
    page.Build();
    auto& up = page.Ctl<TAuUserPassword>(login);
    PageHost host(*page.root);

    // Exact and case-sensitive; an empty text never passes blank lines.
    EXPECT_EQ(player::ValidateLogin(host, *page.root), 1);
    Type(page.Hwnd(answer), "Yes");
    EXPECT_EQ(player::ValidateLogin(host, *page.root), 1);
    EXPECT_EQ(player::ValidateLogin(host, *page.root), 2);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Invalid: Invalid text, please retry.",
                                                    "Invalid: Invalid text, please retry.",
                                                    "Invalid: Invalid text, can not retry."}));
    SendMessageW(page.Hwnd(answer), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(page.Hwnd(answer), "yes");

    // The check box left at its defaults must be checked.
    EXPECT_EQ(player::ValidateLogin(host, *page.root), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Invalid: Please select the check box."});
    SendMessageW(page.Hwnd(agree), BM_CLICK, 0, 0);
    Pump(10);

    Type(up.UserEdit().Handle(), "anna");
    Type(up.PasswordEdit().Handle(), "wrong");
    EXPECT_EQ(player::ValidateLogin(host, *page.root), 1);
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Invalid: Invalid Username or Password, please retry."});
    SendMessageW(up.PasswordEdit().Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(up.PasswordEdit().Handle(), "secret");
    EXPECT_EQ(up.EnteredUser(), "anna");
    EXPECT_EQ(up.EnteredPassword(), "secret");
    EXPECT_EQ(player::ValidateLogin(host, *page.root), 0);
    EXPECT_TRUE(Messages().empty());
    // The password is shown masked.
    EXPECT_EQ(SendMessageW(up.PasswordEdit().Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(SendMessageW(up.UserEdit().Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);
}

// ---------------------------------------------------------------- clicks

TEST(InputClicks, CheckBoxRunsOnSelectBeforeOnClickOnlyWhenLeftChecked) {
    Page page;
    TAuObject& agree = page.Add(K::CheckBox, "Agree", 10, 10, 120, 17);
    TAuObject& r1 = page.Add(K::RadioButton, "R1", 10, 40, 120, 17);
    TAuObject& r2 = page.Add(K::RadioButton, "R2", 10, 60, 120, 17);
    agree.As<model::CheckBoxProps>().Actions.OnSelect = {
        Act(TAuActionKind::ShowMessage, "agree on")};
    r2.As<model::RadioButtonProps>().Actions.OnSelect = {Act(TAuActionKind::ShowMessage, "r2 on")};
    r1.As<model::RadioButtonProps>().Checked = true;
    page.Build();
    auto& box = page.Ctl<TAuCheckBox>(agree);

    ClickAt(page.Hwnd(agree), 5, 8);
    EXPECT_EQ(page.sink.Take(), "Agree down, Agree select agree on, Agree click, Agree up");
    EXPECT_TRUE(box.Checked());
    EXPECT_TRUE(agree.As<model::CheckBoxProps>().Checked);
    ClickAt(page.Hwnd(agree), 5, 8);
    EXPECT_EQ(page.sink.Take(), "Agree down, Agree click, Agree up");
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(SendMessageW(page.Hwnd(agree), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // The space bar clicks a focused box as well.
    SetFocus(page.Hwnd(agree));
    SendMessageW(page.Hwnd(agree), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(page.Hwnd(agree), WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump(10);
    EXPECT_EQ(page.sink.Take(), "Agree select agree on, Agree click");

    // A radio button's click checks it and unchecks its siblings; clicking
    // it again keeps it checked and runs its OnSelect again.
    ClickAt(page.Hwnd(r2), 5, 8);
    EXPECT_EQ(page.sink.Take(), "R2 down, R2 select r2 on, R2 click, R2 up");
    EXPECT_EQ(SendMessageW(page.Hwnd(r1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(page.Hwnd(r2), BM_GETCHECK, 0, 0), BST_CHECKED);
    ClickAt(page.Hwnd(r2), 5, 8);
    EXPECT_EQ(page.sink.Take(), "R2 down, R2 select r2 on, R2 click, R2 up");
    EXPECT_TRUE(page.Ctl<TAuCheckBox>(r2).Checked());
    // SelectActions of a checked box: a copy of its own list.
    r2.As<model::RadioButtonProps>().Actions.SelectActions = {Act(TAuActionKind::Exit, "x")};
    auto lists = page.Ctl<TAuCheckBox>(r2).SelectedActionLists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0], r2.As<model::RadioButtonProps>().Actions.SelectActions);
    EXPECT_TRUE(page.Ctl<TAuCheckBox>(r1).SelectedActionLists().empty());
}

TEST(InputClicks, EditsAndUserPasswordRaiseTheObjectsEvents) {
    Page page;
    TAuObject& name = page.Add(K::Edit, "Name", 10, 10, 120, 21);
    TAuObject& doc = page.Add(K::TextBox, "Doc", 10, 40, 120, 60);
    TAuObject& login = page.Add(K::UserPassword, "Login", 150, 10, 193, 49);
    login.Hint = "Your name and password";
    login.Cursor = -21;
    login.PopupMenu.resize(1);
    login.PopupMenu[0].Caption = "Help";
    page.Build();
    auto& up = page.Ctl<TAuUserPassword>(login);

    ClickAt(page.Hwnd(name), 5, 5);
    EXPECT_EQ(page.sink.Take(), "Name down, Name click, Name up");
    ClickAt(page.Hwnd(doc), 5, 5);
    EXPECT_EQ(page.sink.Take(), "Doc down, Doc click, Doc up");
    ClickAt(up.UserEdit().Handle(), 5, 5);
    ClickAt(up.PasswordEdit().Handle(), 5, 5);
    EXPECT_EQ(page.sink.Take(),
              "Login down, Login click, Login up, Login down, Login click, Login up");
    // Hint, cursor and popup menu of the record are both edits'.
    for (win::WinControl* e : {&up.UserEdit(), &up.PasswordEdit()}) {
        EXPECT_EQ(e->Hint(), "Your name and password");
        EXPECT_EQ(e->Cursor(), -21);
        POINT p = e->ClientToScreen(POINT{3, 3});
        SendMessageW(e->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e->Handle()),
                     MAKELPARAM(p.x, p.y));
    }
    EXPECT_EQ(page.sink.Take(), "Login menu, Login menu");
}

TEST(InputClicks, PointerEnteringAndLeavingThePlatformControls) {
    Page page;
    page.Add(K::Edit, "Name", 10, 10, 120, 21);
    page.Add(K::CheckBox, "Agree", 10, 50, 120, 17);
    TAuObject& login = page.Add(K::UserPassword, "Login", 150, 10, 193, 49);
    page.Build();
    auto& root = page.Ctl<win::WinControl>(*page.root);
    auto& up = page.Ctl<TAuUserPassword>(login);
    // The page's own enter and leave (it is a container) are not of interest.
    auto objectEvents = [&] {
        std::string s;
        for (const std::string& l : page.sink.lines)
            if (l.rfind("Page ", 0) != 0)
                s += (s.empty() ? "" : ", ") + l;
        page.sink.lines.clear();
        return s;
    };
    test::MovePointer(root, 300, 200);
    page.sink.Take();
    test::MovePointer(root, 20, 20);
    test::MovePointer(root, 20, 55);
    test::MovePointer(root, 300, 200);
    EXPECT_EQ(objectEvents(), "Name enter, Name leave, Agree enter, Agree leave");
    // The box raises enter and leave for its edits, as containers do for
    // their children.
    test::MovePointer(up.UserEdit(), 5, 5);
    test::MovePointer(up.PasswordEdit(), 5, 5);
    test::MovePointer(root, 300, 200);
    EXPECT_EQ(objectEvents(), "Login enter, Login leave, Login enter, Login leave");
}

TEST(InputClicks, PropertiesChangedRemakesAnEditsFixedStylesInPlace) {
    Page page;
    TAuObject& doc = page.Add(K::TextBox, "Doc", 10, 10, 150, 80);
    page.Add(K::Edit, "After", 10, 100, 120, 21);
    doc.As<model::TextBoxProps>().Text = "kept";
    page.Build();
    auto& tb = page.Ctl<TAuTextBox>(doc);
    auto& root = page.Ctl<win::WinControl>(*page.root);
    const int index = root.IndexOf(&tb);
    HWND before = tb.Handle();
    EXPECT_EQ(GetWindowLongW(before, GWL_STYLE) & ES_AUTOHSCROLL, 0);

    doc.As<model::TextBoxProps>().WordWrap = false;
    doc.As<model::TextBoxProps>().ScrollBar = 3;
    tb.PropertiesChanged();
    Pump(10);
    const LONG style = GetWindowLongW(tb.Handle(), GWL_STYLE);
    EXPECT_NE(style & ES_AUTOHSCROLL, 0);
    EXPECT_NE(style & WS_HSCROLL, 0);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(GetParent(tb.Handle()), root.Handle());
    EXPECT_EQ(root.IndexOf(&tb), index);
    EXPECT_EQ(tb.ShownText(), "kept");
    EXPECT_EQ(ControlOf(doc), static_cast<TAuControl*>(&tb));
    // Events stay bound to the same control.
    ClickAt(tb.Handle(), 5, 5);
    EXPECT_EQ(page.sink.Take(), "Doc down, Doc click, Doc up");
}

// --------------------------------------------------------- typing an Edit

TEST(EditTyping, CaseMaskAndLengthLimit) {
    Page page;
    TAuObject& upper = page.Add(K::Edit, "Upper", 10, 10, 120, 21);
    TAuObject& lower = page.Add(K::Edit, "Lower", 10, 40, 120, 21);
    TAuObject& secret = page.Add(K::Edit, "Secret", 10, 70, 120, 21);
    upper.As<model::EditProps>().CharCase = 1;
    upper.As<model::EditProps>().MaxLength = 4;
    lower.As<model::EditProps>().CharCase = 2;
    secret.As<model::EditProps>().PasswordChar = '#';
    page.Build();
    Type(page.Hwnd(upper), "abcdef");
    Type(page.Hwnd(lower), "MiXeD");
    Type(page.Hwnd(secret), "pw");
    EXPECT_EQ(page.Ctl<TAuEdit>(upper).EnteredText(), "ABCD");
    EXPECT_EQ(page.Ctl<TAuEdit>(lower).EnteredText(), "mixed");
    EXPECT_EQ(page.Ctl<TAuEdit>(secret).EnteredText(), "pw");
    EXPECT_EQ(SendMessageW(page.Hwnd(secret), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(SendMessageW(page.Hwnd(upper), EM_GETPASSWORDCHAR, 0, 0), 0);
}

TEST(EditTyping, AutoHeightFollowsTheFont) {
    Page page;
    TAuObject& autoH = page.Add(K::Edit, "Auto", 10, 10, 120, 50);
    TAuObject& big = page.Add(K::Edit, "Big", 10, 80, 120, 50);
    TAuObject& fixed = page.Add(K::Edit, "Fixed", 10, 150, 120, 50);
    big.As<model::EditProps>().Font = model::ArialFont(20);
    fixed.As<model::EditProps>().AutoHeight = false;
    page.Build();
    const int small = page.Ctl<TAuEdit>(autoH).Height();
    EXPECT_EQ(small, input::EditHeightFor(win::FontHandle(model::TFont{}), true));
    EXPECT_LT(small, 50);
    EXPECT_GT(page.Ctl<TAuEdit>(big).Height(), small);
    EXPECT_EQ(page.Ctl<TAuEdit>(fixed).Height(), 50);
    // A font set by an action resizes it too.
    page.Ctl<TAuEdit>(autoH).SetFont(model::ArialFont(20));
    EXPECT_EQ(page.Ctl<TAuEdit>(autoH).Height(), page.Ctl<TAuEdit>(big).Height());
}

TEST(EditTyping, AFullEditHandsTheFocusToTheNextEditOnly) {
    // The page's windowed objects in child order; the first types.
    struct Case {
        const char* name;
        std::vector<K> kinds;
        int typer;      // index of the Edit typed into (MaxLength 4)
        int disabled;   // index of a disabled object, or -1
        int focusAfter; // index holding the focus after the fourth character
    };
    const Case cases[] = {
        {"next edit", {K::Edit, K::Edit}, 0, -1, 1},
        {"a check box is next", {K::Edit, K::CheckBox, K::Edit}, 0, -1, 0},
        {"wrapping to a lower number", {K::Edit, K::Edit}, 1, -1, 1},
        {"disabled edit skipped", {K::Edit, K::Edit, K::Edit}, 0, 1, 2},
        {"a text box takes no tab stop", {K::Edit, K::TextBox, K::Edit}, 0, -1, 2},
    };
    for (const Case& c : cases) {
        Page page;
        std::vector<TAuObject*> recs;
        for (size_t i = 0; i < c.kinds.size(); ++i) {
            recs.push_back(&page.Add(c.kinds[i], "O" + std::to_string(i), 10,
                                     10 + 40 * static_cast<int>(i), 120, 30));
            if (static_cast<int>(i) == c.disabled)
                recs.back()->Enabled = false;
        }
        recs[static_cast<size_t>(c.typer)]->As<model::EditProps>().MaxLength = 4;
        page.Build();
        HWND typer = page.Hwnd(*recs[static_cast<size_t>(c.typer)]);
        SetFocus(typer);
        Type(typer, "abc");
        EXPECT_EQ(GetFocus(), typer) << c.name << ": three characters";
        Type(typer, "d");
        EXPECT_EQ(GetFocus(), page.Hwnd(*recs[static_cast<size_t>(c.focusAfter)])) << c.name;
    }
}

TEST(EditTyping, AnActionFillingAnEditLeavesTheFocusAlone) {
    Page page;
    TAuObject& a = page.Add(K::Edit, "A", 10, 10, 120, 21);
    TAuObject& b = page.Add(K::Edit, "B", 10, 40, 120, 21);
    page.Add(K::Edit, "C", 10, 70, 120, 21);
    b.As<model::EditProps>().MaxLength = 2;
    page.Build();
    SetFocus(page.Hwnd(a));
    page.Ctl<TAuEdit>(b).SetCaption("full");
    EXPECT_EQ(GetFocus(), page.Hwnd(a));
}

// -------------------------------------------------------------- documents

TEST(Documents, RichTextReadsStoredBytesAsRtfWhateverThePlainTextFlag) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteFile(dir / "more.rtf", kRtf));
    for (bool plain : {false, true}) {
        Page page;
        TAuObject& rich = page.Add(K::RichText, "Rich", 10, 10, 200, 100);
        auto& p = rich.As<model::RichTextProps>();
        p.RichText = kRtf;
        p.PlainText = plain;
        page.Build();
        auto& ctl = page.Ctl<TAuRichText>(rich);
        ASSERT_TRUE(TAuRichText::Available());
        EXPECT_EQ(ctl.ShownText().rfind("Hello bold", 0), 0u) << ctl.ShownText();
        // A file loaded later is read as plain text when the flag is on.
        ctl.LoadFile(dir / "more.rtf");
        const std::string shown = ctl.ShownText();
        EXPECT_EQ(shown.find("{\\rtf1") != std::string::npos, plain) << shown;
        EXPECT_NE(shown.find("Hello"), std::string::npos) << shown;
    }
}

TEST(Documents, DesignViewKeepsTheRichTextAndNewObjectsTakeTheArrowCursor) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteFile(dir / "other.rtf", "{\\rtf1 Other\\par}"));
    Page page(300, 200, true);
    TAuObject& rich = page.Add(K::RichText, "Rich", 10, 10, 200, 100);
    rich.As<model::RichTextProps>().RichText = kRtf;
    page.Build();
    page.Ctl<TAuRichText>(rich).LoadFile(dir / "other.rtf");
    EXPECT_EQ(page.Ctl<TAuRichText>(rich).ShownText().rfind("Hello", 0), 0u);

    // Created by the editor without a stream: the record takes the control's
    // own cursor (the arrow) and size.
    for (K kind : {K::TextBox, K::RichText}) {
        TAuObject& rec = page.Add(kind, "New", 0, 0, 0, 0);
        TAuControl* c = CreateKindControl(rec, page.Ctl<win::WinControl>(*page.root));
        ASSERT_NE(c, nullptr);
        ApplySharedProperties(*c, false);
        EXPECT_EQ(rec.Cursor, -2);
        EXPECT_EQ(c->Ctl().Width(), 193);
        EXPECT_EQ(c->Ctl().Height(), 193);
        DestroyKindControl(rec);
    }
}

TEST(Documents, TextBoxFileWithNulBytesAndLineBreaksShowsWhole) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteFile(dir / "zeros.txt", std::string("ab\0cd\r\n\r\nend", 12)));
    Page page;
    TAuObject& doc = page.Add(K::TextBox, "Doc", 10, 10, 200, 100);
    doc.As<model::TextBoxProps>().Text = "stored\nlines";
    page.Build();
    auto& tb = page.Ctl<TAuTextBox>(doc);
    EXPECT_EQ(tb.ShownText(), "stored\r\nlines");
    tb.LoadFile(dir / "zeros.txt");
    EXPECT_EQ(tb.ShownText(), "ab cd\r\n\r\nend");
}

// ------------------------------------------------------------ appearance

TEST(Appearance, ColoursOfTheInputKinds) {
    Page page(420, 260);
    TAuObject& doc = page.Add(K::TextBox, "Doc", 10, 10, 190, 90);
    TAuObject& rich = page.Add(K::RichText, "Rich", 210, 10, 190, 90);
    TAuObject& name = page.Add(K::Edit, "Name", 10, 110, 120, 21);
    TAuObject& agree = page.Add(K::CheckBox, "Agree", 10, 140, 150, 17);
    TAuObject& radio = page.Add(K::RadioButton, "Radio", 10, 165, 150, 17);
    TAuObject& login = page.Add(K::UserPassword, "Login", 210, 110, 193, 49);
    doc.As<model::TextBoxProps>().Text = "TextBox line one\r\nline two";
    doc.As<model::TextBoxProps>().BackColor = model::color::Rgb(255, 255, 200);
    rich.As<model::RichTextProps>().RichText = kRtf;
    rich.As<model::RichTextProps>().BackColor = model::color::Rgb(200, 255, 255);
    name.As<model::EditProps>().Text = "Edit text";
    name.As<model::EditProps>().BackColor = model::color::Rgb(255, 220, 220);
    auto& cb = agree.As<model::CheckBoxProps>();
    cb.Caption = "Check box";
    cb.Checked = true;
    cb.BackColor = model::color::Rgb(200, 255, 200);
    cb.Font.Color = model::color::Rgb(0, 0, 255);
    radio.As<model::RadioButtonProps>().Caption = "Radio button";
    radio.As<model::RadioButtonProps>().Alignment = 0;
    auto& up = login.As<model::UserPasswordProps>();
    up.BackColor = model::color::Rgb(0, 0, 128);
    up.EditorColor = model::color::Rgb(255, 255, 0);
    page.Build();
    auto& upCtl = page.Ctl<TAuUserPassword>(login);
    SetWindowTextW(upCtl.UserEdit().Handle(), L"anna");
    SetWindowTextW(upCtl.PasswordEdit().Handle(), L"secret");
    Pump(30);

    gfx::Image shot = page.Ctl<win::WinControl>(*page.root).Snapshot();
    test::KeepShot(shot, "inputs");
    auto at = [&](const TAuObject& r, int x, int y) {
        const win::Control& c = ControlOf(r)->Ctl();
        return test::Rgb(shot, c.Left() + x, c.Top() + y);
    };
    // Inside the frames, right of and below the texts.
    EXPECT_EQ(at(doc, 150, 80), 0xFFFFC8u);
    EXPECT_EQ(at(rich, 180, 80), 0xC8FFFFu);
    EXPECT_EQ(at(name, 115, 16), 0xFFDCDCu);
    EXPECT_EQ(at(agree, 145, 8), 0xC8FFC8u);
    // The box shows between the two edits, the edits in the editor colour.
    const int gap = upCtl.UserEdit().Height() + 2;
    EXPECT_EQ(at(login, 100, gap), 0x000080u);
    EXPECT_EQ(at(login, 185, 10), 0xFFFF00u);
    EXPECT_EQ(at(login, 185, 49 - 10), 0xFFFF00u);
    // The check box's caption is drawn in its font colour.
    bool blue = false;
    for (int y = 0; y < 17; ++y)
        for (int x = 15; x < 100; ++x)
            blue |= at(agree, x, y) == 0x0000FFu;
    EXPECT_TRUE(blue);
}

} // namespace
} // namespace orv::objects
