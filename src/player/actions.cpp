#include "player/actions.h"

#include "base/path.h"
#include "base/specialfolders.h"
#include "player/action_params.h"
#include "player/project_instance.h"
#include "startup/startup.h"

#include <algorithm>
#include <exception>
#include <new>

namespace orv::player {

using model::TAuActionKind;
using model::TAuObjectKind;
using K = TAuActionKind;
using O = TAuObjectKind;

namespace {

ActionPlatform* g_platform = nullptr;

bool In(O kind, std::initializer_list<O> kinds) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

bool IsWindowKind(uint8_t code) {
    switch (static_cast<K>(code)) {
    case K::ClosePage:
    case K::GoToPage:
    case K::NextPage:
    case K::PreviousPage:
    case K::FirstPage:
    case K::LastPage:
    case K::ObjectShowText:
    case K::ObjectShowImage:
    case K::ObjectLoadFile:
    case K::SetObjectFont:
    case K::SetObjectBackColor:
    case K::SetObjectEnable:
    case K::SetObjectVisible:
    case K::SetObjectAlpha:
    case K::Play:
    case K::Pause:
    case K::Stop:
    case K::Prev:
    case K::Next:
    case K::BackFirst:
    case K::StepLast:
    case K::DoSelectActions:
    case K::SubmitLoginPage:
    case K::SubmitLogin:
    case K::SetWindowState:
    case K::LoadObjectFromFile:
    case K::SelectObjectOrItem:
    case K::UnselectObjectOrItem:
        return code < model::kActionKindCount;
    default:
        return false;
    }
}

std::string Joined(const std::string& name) {
    return MakeProjectPath(Startup().projectFolder, name);
}

bool EditorMode() {
    return Startup().editorMode;
}

// ---- the window's run bookkeeping

// Counts a list running on a window; when the outermost one ends, the
// steps held back are carried out (loads, then the page switch, then a
// close, after which the window is not touched again).
class RunScope {
public:
    explicit RunScope(ActionHost& host) : host_(host) { ++host_.runState.depth; }
    ~RunScope() {
        if (--host_.runState.depth > 0)
            return;
        ActionRunState& st = host_.runState;
        auto loads = std::move(st.pendingLoads);
        st.pendingLoads.clear();
        auto page = st.pendingPage;
        st.pendingPage.reset();
        bool close = st.pendingClose, closeMain = st.pendingCloseMain;
        st.pendingClose = st.pendingCloseMain = false;
        try {
            for (auto& l : loads)
                host_.LoadObjectFromFile(l.objectPath, l.file);
            if (page && !close && !closeMain)
                host_.SwitchToPage(*page);
            if (closeMain)
                host_.RequestCloseMain();
            if (close)
                host_.RequestClose();
        } catch (...) {
            // A failing window operation must not escape into the
            // platform's callback that started the list.
        }
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    ActionHost& host_;
};

void ReportFailure(const char* text) {
    try {
        Platform().UI().Show(text, "Error", mb::kIconError);
    } catch (...) {
    }
}

// Runs body; an error raised inside it ends it with a message and never
// leaves the engine.
template <class F> void Guarded(F&& body) {
    try {
        body();
    } catch (const ActionError& e) {
        ReportFailure(e.what());
    } catch (const std::bad_alloc&) {
        ReportFailure("Not enough memory to run the actions.");
    } catch (const std::exception& e) {
        ReportFailure(e.what());
    } catch (...) {
        ReportFailure("Operation Error");
    }
}

// ---- nested runs (errors propagate to the outermost entry)

void RunListIn(ActionHost& host, const TAuActions& list);
bool RunActionIn(ActionHost& host, const TAuAction& a);
bool RunWindowlessIn(const TAuAction& a, ActionHost* host);

// Lists that run lists (Then and Else, message answers, login results,
// selection lists that select again) may call each other without end.
constexpr int kMaxListNesting = 64;
int g_nesting = 0;

class NestingGuard {
public:
    NestingGuard() {
        if (g_nesting >= kMaxListNesting)
            throw ActionError("The actions call each other too deeply; the list was ended.");
        ++g_nesting;
    }
    ~NestingGuard() { --g_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};

void RunNested(const TAuActions& list, ActionHost* host) {
    NestingGuard guard;
    const TAuActions copy = list;
    for (const TAuAction& a : copy) {
        if (host)
            RunActionIn(*host, a);
        else
            RunWindowlessIn(a, nullptr);
    }
}

void RunListIn(ActionHost& host, const TAuActions& list) {
    NestingGuard guard;
    RunScope scope(host);
    const TAuActions copy = list;
    for (const TAuAction& a : copy)
        RunActionIn(host, a);
}

// ---- login

int& FailureCount(ActionHost& host, const TAuObject* record) {
    auto& v = host.runState.loginFailures;
    for (auto& p : v)
        if (p.first == record)
            return p.second;
    v.emplace_back(record, 0);
    return v.back().second;
}

bool MatchesLine(const std::string& list, const std::string& entry) {
    for (const std::string& line : SplitLines(list))
        if (!line.empty() && line == entry)
            return true;
    return false;
}

int LoginFailure(ActionHost& host, const TAuObject& record, int32_t allowRetry,
                 const std::string& retryMessage, const std::string& retryCaption,
                 const std::string& failedMessage, const std::string& failedCaption) {
    int& count = FailureCount(host, &record);
    ++count;
    if (allowRetry > 0 && count > allowRetry) {
        if (!failedMessage.empty())
            Platform().UI().Show(failedMessage, failedCaption, mb::kIconInformation);
        return 2;
    }
    if (!retryMessage.empty())
        Platform().UI().Show(retryMessage, retryCaption, mb::kIconInformation);
    return 1;
}

int CheckLoginRecord(ActionHost& host, TAuObject& r) {
    ActionTarget* t = host.TargetOf(r);
    if (auto* e = r.If<model::EditProps>()) {
        if (e->NeedInputText.empty())
            return 0;
        std::string text = t ? t->EnteredText() : e->Text;
        if (MatchesLine(e->NeedInputText, text))
            return 0;
        return LoginFailure(host, r, e->AllowRetry, e->RetryMessage, e->RetryCaption,
                            e->FailedMessage, e->FailedCaption);
    }
    if (auto* u = r.If<model::UserPasswordProps>()) {
        if (u->UserList.empty())
            return 0;
        std::string entry;
        if (t)
            entry = t->EnteredUser() + "," + t->EnteredPassword();
        if (t && MatchesLine(u->UserList, entry))
            return 0;
        return LoginFailure(host, r, u->AllowRetry, u->RetryMessage, u->RetryCaption,
                            u->FailedMessage, u->FailedCaption);
    }
    const model::CheckBoxProps* c = r.If<model::CheckBoxProps>();
    if (!c)
        c = r.If<model::RadioButtonProps>();
    if (c && c->NeedCheck) {
        bool checked = t ? t->Checked() : c->Checked;
        if (!checked) {
            if (!c->NeedCheckMessage.empty())
                Platform().UI().Show(c->NeedCheckMessage, c->NeedCheckCaption,
                                     mb::kIconInformation);
            return 1;
        }
    }
    return 0;
}

int ValidateChildren(ActionHost& host, TAuObject& record, int depth) {
    if (depth > model::kMaxNesting)
        return 0;
    for (size_t i = 0; i < record.ChildCount(); ++i) {
        TAuObject& child = record.Child(i);
        int r = CheckLoginRecord(host, child);
        if (r == 0)
            r = ValidateChildren(host, child, depth + 1);
        if (r != 0)
            return r;
    }
    return 0;
}

// ---- object actions

bool IsFadingKind(O k) {
    return In(k, {O::Label, O::Text, O::Shape, O::Balloon, O::Note});
}

void ShowText(ActionHost& host, const TAuAction& a) {
    TAuObject* obj = host.FindObject(a.Param2);
    if (!obj) {
        static const std::string prefix = "StatusBar - Panel[";
        if (a.Param2.compare(0, prefix.size(), prefix) != 0)
            return;
        int n = host.StatusPanelCount();
        for (int i = 0; i < n; ++i)
            if (model::StatusPanelPath(i) == a.Param2) {
                host.SetStatusPanelText(i, a.Param1);
                return;
            }
        return;
    }
    ActionTarget* t = host.TargetOf(*obj);
    if (!t)
        return;
    O k = obj->Kind();
    bool lines = In(k, {O::ScrollText, O::Text, O::TextBox, O::Note});
    bool caption =
        In(k, {O::Panel, O::TabSheet, O::GroupBox, O::Button, O::ImageButton, O::SimpleText,
               O::Link, O::Edit, O::CheckBox, O::RadioButton, O::Label, O::Shape, O::Balloon});
    if (!lines && !caption)
        return;
    if (IsFadingKind(k) && t->FadeActive()) {
        if (lines)
            t->pending.lines = SplitLines(a.Param1);
        else
            t->pending.caption = a.Param1;
        t->BeginFadeOut();
        return;
    }
    if (lines)
        t->SetLines(SplitLines(a.Param1));
    else
        t->SetCaption(a.Param1);
}

void ShowImage(ActionHost& host, const TAuAction& a) {
    TAuObject* obj = host.FindObject(a.Param2);
    if (!obj || !In(obj->Kind(), {O::Image, O::Shape}))
        return;
    ActionTarget* t = host.TargetOf(*obj);
    if (!t)
        return;
    const model::TPicture* pic = a.HasPicture() ? &a.Picture : nullptr;
    if (obj->Kind() == O::Shape && t->FadeActive()) {
        t->pending.picture = pic ? std::optional<model::TPicture>(*pic) : std::nullopt;
        t->BeginFadeOut();
        return;
    }
    t->SetPicture(pic);
}

void LoadFile(ActionHost& host, const TAuAction& a) {
    if (a.Param1.empty())
        return;
    TAuObject* obj = host.FindObject(a.Param2);
    if (!obj)
        return;
    O k = obj->Kind();
    if (!In(k, {O::Image, O::Shape, O::TextBox, O::RichText, O::Browser, O::MediaPlayer,
                O::FlashPlayer, O::SlideShow}))
        return;
    ActionTarget* t = host.TargetOf(*obj);
    if (!t)
        return;
    std::string joined = Joined(a.Param1);
    std::string value = joined;
    if (k == O::Browser) {
        auto& p = Platform();
        if (joined.empty() || (!p.FileExists(joined) && !p.DirectoryExists(joined)))
            value = a.Param1;
    } else if (k == O::SlideShow) {
        value = a.Param1;
    }
    if (k == O::Shape && t->FadeActive()) {
        t->pending.file = value;
        t->BeginFadeOut();
        return;
    }
    t->LoadFile(value);
}

bool FontKind(O k) {
    return In(k, {O::Panel,      O::TabNotebook,   O::GroupBox,      O::ScrollBox,    O::Button,
                  O::SimpleText, O::Link,          O::Label,         O::Text,         O::Shape,
                  O::Balloon,    O::Note,          O::ListBox,       O::DropDownList, O::ListView,
                  O::TreeView,   O::ShellListView, O::ShellTreeView, O::TextBox,      O::RichText,
                  O::Edit,       O::CheckBox,      O::RadioButton,   O::UserPassword});
}

bool BackColorKind(O k) {
    return In(k, {O::Panel,        O::GroupBox,    O::ScrollBox, O::Splitter,      O::SimpleText,
                  O::ScrollText,   O::Link,        O::Balloon,   O::Note,          O::ListBox,
                  O::DropDownList, O::ListView,    O::TreeView,  O::ShellListView, O::ShellTreeView,
                  O::TextBox,      O::RichText,    O::SlideShow, O::Edit,          O::CheckBox,
                  O::RadioButton,  O::UserPassword});
}

bool SelectKind(O k) {
    return In(k, {O::ListBox, O::DropDownList, O::ListView, O::CheckBox, O::RadioButton});
}

// The target of an object action: the object at path, of an accepted kind,
// with a control that serves actions.
template <class Pred>
ActionTarget* TargetAt(ActionHost& host, const std::string& path, Pred accepts,
                       TAuObject** record = nullptr) {
    TAuObject* obj = host.FindObject(path);
    if (!obj || !accepts(obj->Kind()))
        return nullptr;
    if (record)
        *record = obj;
    return host.TargetOf(*obj);
}

void Select(ActionHost& host, const TAuAction& a, bool select) {
    TAuObject* obj = nullptr;
    ActionTarget* t = TargetAt(host, a.Param2, SelectKind, &obj);
    if (!t)
        return;
    switch (obj->Kind()) {
    case O::ListBox:
    case O::DropDownList:
        if (!select)
            t->SetItemIndex(-1);
        else if (a.Number >= -1 && a.Number < t->ItemCount())
            t->SetItemIndex(a.Number);
        break;
    case O::ListView:
        if (!select)
            t->ClearSelection();
        else if (a.Number >= 0 && a.Number < t->ItemCount())
            t->SelectItem(a.Number);
        break;
    default:
        t->SetChecked(select);
        break;
    }
}

void GoToIndex(ActionHost& host, int index) {
    host.runState.pendingPage = index;
}

void Navigate(ActionHost& host, K kind) {
    if (EditorMode())
        return;
    int count = static_cast<int>(Project().Pages.size());
    int cur = host.CurrentPage();
    switch (kind) {
    case K::NextPage:
        if (cur + 1 < count)
            GoToIndex(host, cur + 1);
        break;
    case K::PreviousPage:
        if (cur > 0)
            GoToIndex(host, cur - 1);
        break;
    case K::FirstPage:
        if (cur > 0)
            GoToIndex(host, 0);
        break;
    default: // LastPage
        if (count > 0 && cur != count - 1)
            GoToIndex(host, count - 1);
        break;
    }
}

bool WindowAction(ActionHost& host, const TAuAction& a) {
    const K kind = static_cast<K>(a.Kind);
    switch (kind) {
    case K::ClosePage:
        host.runState.pendingClose = true;
        return true;
    case K::GoToPage: {
        if (EditorMode())
            return false;
        int index = Project().FindPage(a.Param1);
        if (index < 0)
            return false;
        GoToIndex(host, index);
        return true;
    }
    case K::NextPage:
    case K::PreviousPage:
    case K::FirstPage:
    case K::LastPage:
        Navigate(host, kind);
        return true;
    case K::ObjectShowText:
        ShowText(host, a);
        return true;
    case K::ObjectShowImage:
        ShowImage(host, a);
        return true;
    case K::ObjectLoadFile:
        LoadFile(host, a);
        return true;
    case K::SetObjectFont:
        if (auto* t = TargetAt(host, a.Param2, FontKind))
            t->SetFont(a.Font);
        return true;
    case K::SetObjectBackColor:
        if (auto* t = TargetAt(host, a.Param2, BackColorKind))
            t->SetBackColor(a.Number);
        return true;
    case K::SetObjectEnable:
    case K::SetObjectVisible: {
        TAuObject* obj = host.FindObject(a.Param2);
        if (!obj || obj->Kind() == O::TabSheet)
            return false;
        if (kind == K::SetObjectEnable)
            host.SetObjectEnabled(*obj, a.Flag);
        else
            host.SetObjectVisible(*obj, a.Flag);
        return true;
    }
    case K::SetObjectAlpha:
        if (auto* t = TargetAt(host, a.Param2, IsFadingKind))
            t->FadeTo(std::clamp(a.Number, 0, 100));
        return true;
    case K::Play:
    case K::Pause:
    case K::Stop:
    case K::Prev:
    case K::Next:
    case K::BackFirst:
    case K::StepLast: {
        auto media = [](O k) { return k == O::MediaPlayer || k == O::SlideShow; };
        if (auto* t = TargetAt(host, a.Param1, media))
            t->Media(static_cast<MediaCommand>(a.Kind - static_cast<uint8_t>(K::Play)));
        return true;
    }
    case K::DoSelectActions: {
        auto selectable = [](O k) {
            return In(k, {O::ImageButton, O::ListBox, O::DropDownList, O::ListView, O::TreeView,
                          O::CheckBox, O::RadioButton});
        };
        if (auto* t = TargetAt(host, a.Param1, selectable))
            for (const TAuActions& list : t->SelectedActionLists())
                RunListIn(host, list);
        return true;
    }
    case K::SubmitLoginPage: {
        TAuObject* root = host.PageRoot();
        if (!root)
            return false;
        int r = ValidateLogin(host, *root);
        if (r == 0)
            host.SetLoginPassed(true);
        if (r != 1)
            host.runState.pendingClose = true;
        return true;
    }
    case K::SubmitLogin: {
        TAuObject* obj = host.FindObject(a.Param1);
        if (!obj || !In(obj->Kind(), {O::Panel, O::TabSheet, O::GroupBox, O::ScrollBox}))
            return false;
        int r = ValidateLogin(host, *obj);
        if (r == 0)
            RunNested(a.ThenActions, &host);
        else if (r == 2)
            RunNested(a.ElseActions, &host);
        return true;
    }
    case K::SetWindowState:
        if (a.Number < 0 || a.Number > 2)
            return false;
        host.SetWindowState(a.Number);
        return true;
    case K::LoadObjectFromFile: {
        TAuObject* obj = host.FindObject(a.Param2);
        if (!obj || obj->Kind() == O::TabSheet || a.Param1.empty())
            return false;
        // The object may be the one whose list is running, and its control
        // the one whose event started it: load once the list has ended.
        host.runState.pendingLoads.push_back({a.Param2, Joined(a.Param1)});
        return true;
    }
    case K::SelectObjectOrItem:
    case K::UnselectObjectOrItem:
        Select(host, a, kind == K::SelectObjectOrItem);
        return true;
    default:
        return false;
    }
}

bool RunActionIn(ActionHost& host, const TAuAction& a) {
    if (IsWindowKind(a.Kind))
        return WindowAction(host, a);
    bool result = RunWindowlessIn(a, &host);
    if (Startup().exitRequested) {
        if (host.IsPreview() || host.ModalKind() == 1 || host.ModalKind() == 3)
            host.runState.pendingClose = true;
        else
            host.runState.pendingCloseMain = true;
    }
    return result;
}

bool Shell(const std::string& verb, const std::string& file, const std::string& params, bool wait,
           int32_t show, const std::string& folder) {
    return ShellRun(verb, file, params, wait, show, folder);
}

void CheckFileParam(const TAuAction& a) {
    switch (static_cast<K>(a.Kind)) {
    case K::LaunchSlideShow: {
        SlideShowSettings s;
        ParseSlideShowSettings(a.Param1, s); // throws on a malformed number
        break;
    }
    case K::CopyFile: {
        CopyFileSettings s;
        ParseCopyFileSettings(a.Param1, s);
        break;
    }
    default:
        break;
    }
}

int SubPageMode(K kind) {
    return kind == K::ShowSubPage ? 0 : kind == K::ShowSubPageModal ? 1 : 2;
}

bool RunWindowlessIn(const TAuAction& a, ActionHost* host) {
    if (a.Kind >= model::kActionKindCount || IsWindowKind(a.Kind))
        return false;
    const K kind = static_cast<K>(a.Kind);
    ActionPlatform& p = Platform();
    switch (kind) {
    case K::OpenRunFile:
        if (a.Param1.empty())
            return false;
        return Shell("open", Joined(a.Param1), a.Param2, a.Flag, a.Number,
                     a.Param3.empty() ? std::string() : Joined(a.Param3));
    case K::VisitWebsite:
        if (a.Param1.empty())
            return false;
        return Shell("open", EscapeShellUrl(a.Param1), "", a.Flag, a.Number, "");
    case K::SendEmail:
        if (a.Param1.empty())
            return false;
        return Shell("open", EscapeShellUrl("mailto:" + a.Param1), "", false, a.Number, "");
    case K::PrintDocument:
        if (a.Param1.empty())
            return false;
        return Shell("print", Joined(a.Param1), "", a.Flag, a.Number, "");
    case K::Browse:
        return Shell("explore", a.Param1.empty() ? Startup().projectFolder : Joined(a.Param1), "",
                     a.Flag, a.Number, "");
    case K::Exit:
        Startup().exitRequested = true;
        return true;
    case K::PlaySound:
        if (a.Param1.empty())
            return false;
        p.PlaySound(PlayChannelOfToken(a.Param2), Joined(a.Param1), a.Flag);
        return true;
    case K::StopSound: {
        int ch = StopChannelOfToken(a.Param2);
        if (ch < 0)
            return false;
        p.StopSound(ch);
        return true;
    }
    case K::ShowSubPage:
    case K::ShowSubPageModal:
    case K::ShowFullScreenBackground:
    case K::ShowLoginPage: {
        if (EditorMode())
            return false;
        int index = Project().FindPage(a.Param1);
        if (index < 0)
            return false;
        // Without a window (the start list) the page opens on its own.
        auto show = [&](int mode, bool closeOnInput, int32_t closeAfter) {
            return host ? host->ShowSubPage(index, mode, closeOnInput, closeAfter)
                        : p.ShowSubPage(index, mode, closeOnInput, closeAfter);
        };
        if (kind == K::ShowLoginPage) {
            bool passed = show(3, false, 0);
            RunNested(passed ? a.ThenActions : a.ElseActions, host);
            return passed;
        }
        show(SubPageMode(kind), a.Flag, a.Number);
        return true;
    }
    case K::ApplicationMinimize:
        p.MinimizeApplication();
        return true;
    case K::ApplicationRestore:
        p.RestoreApplication();
        return true;
    case K::ShowImage:
    case K::LaunchMedia:
    case K::LaunchSlideShow:
    case K::CopyFile:
        CheckFileParam(a);
        return p.RunFileAction(a.Param1, a.Kind);
    case K::ShowMessage: {
        uint32_t flags = mb::kOk;
        switch (a.Number) {
        case 0:
            flags = mb::kIconWarning;
            break;
        case 1:
            flags = mb::kIconInformation;
            break;
        case 2:
            flags = mb::kIconError;
            break;
        case 3:
            flags = mb::kIconQuestion | mb::kYesNo;
            break;
        case 4:
            flags = mb::kIconQuestion | mb::kYesNoCancel;
            break;
        default:
            break;
        }
        int answer = p.UI().Show(a.Param1, a.Param2, flags);
        if (a.Number == 3 || a.Number == 4) {
            if (answer == answer::kYes)
                RunNested(a.ThenActions, host);
            else if (answer == answer::kNo)
                RunNested(a.ElseActions, host);
        }
        return true;
    }
    case K::IfThenElse: {
        bool result = false;
        if (!EvaluateCondition(a, host, result))
            return false;
        RunNested(result ? a.ThenActions : a.ElseActions, host);
        return true;
    }
    default:
        return false;
    }
}

bool FileCondition(const TAuAction& a, bool folder, bool& result) {
    if (ParseFolderToken(a.Param1) < 0)
        return false;
    std::string base = Platform().FolderOfToken(a.Param1);
    if (base.empty())
        return false;
    std::string path = ConditionPath(base, a.Param2);
    result = folder ? Platform().DirectoryExists(path) : Platform().FileExists(path);
    return true;
}

bool ViewerCondition(const TAuAction& a, bool& result) {
    std::string ext = ViewerExtension(a.Param1);
    if (ext.empty())
        return false;
    std::string type = Platform().ClassesRootDefault(ext);
    result =
        !type.empty() && !Platform().ClassesRootDefault(type + "\\shell\\open\\command").empty();
    return true;
}

bool SelectedCondition(const TAuAction& a, ActionHost* host, bool& result) {
    if (!host)
        return false;
    TAuObject* obj = nullptr;
    ActionTarget* t = TargetAt(*host, a.Param1, SelectKind, &obj);
    if (!t)
        return false;
    switch (obj->Kind()) {
    case O::ListBox:
    case O::DropDownList:
    case O::ListView: {
        int32_t index = 0;
        if (!ParseDecimal(a.Param2, index))
            return false;
        int low = obj->Kind() == O::ListView ? 0 : -1;
        if (index < low || index >= t->ItemCount())
            return false;
        result = obj->Kind() == O::ListView ? t->ItemSelected(index) : t->ItemIndex() == index;
        return true;
    }
    default:
        result = t->Checked();
        return true;
    }
}

} // namespace

// ---- public entries

ActionPlatform& Platform() {
    return g_platform ? *g_platform : DefaultActionPlatform();
}

void SetActionPlatform(ActionPlatform* platform) {
    g_platform = platform;
}

void RunActionList(ActionHost& host, const TAuActions& list) {
    RunScope scope(host);
    Guarded([&] { RunListIn(host, list); });
}

bool RunAction(ActionHost& host, const TAuAction& action) {
    bool result = false;
    RunScope scope(host);
    Guarded([&] { result = RunActionIn(host, action); });
    return result;
}

bool RunWindowlessAction(const TAuAction& action, ActionHost* host) {
    bool result = false;
    if (host) {
        RunScope scope(*host);
        Guarded([&] { result = RunWindowlessIn(action, host); });
    } else {
        Guarded([&] { result = RunWindowlessIn(action, nullptr); });
    }
    return result;
}

void RunMenuItem(ActionHost& host, const model::TMenuItem& item) {
    TAuActions list;
    if (!model::TextToActionList(item.Hint, list, Platform().UI()))
        return;
    RunActionList(host, list);
}

void RunStartActions() {
    const TAuActions copy = Project().OnStart;
    Guarded([&] {
        for (const TAuAction& a : copy) {
            RunWindowlessIn(a, nullptr);
            if (Startup().exitRequested)
                break;
        }
    });
}

void RunWindowlessList(const TAuActions& list) {
    const TAuActions copy = list;
    Guarded([&] {
        for (const TAuAction& a : copy)
            RunWindowlessIn(a, nullptr);
    });
}

void RunExitActions() {
    RunWindowlessList(Project().OnExit);
}

bool EvaluateCondition(const TAuAction& a, ActionHost* host, bool& result) {
    bool r = false;
    bool ok = false;
    switch (a.Number) {
    case 0:
    case 1:
        ok = FileCondition(a, false, r);
        break;
    case 2:
    case 3:
        ok = FileCondition(a, true, r);
        break;
    case 4:
    case 5:
        ok = ViewerCondition(a, r);
        break;
    case 6:
    case 7:
    case 8: {
        int major = 0, minor = 0;
        Platform().PlatformVersion(major, minor);
        ok = true;
        if (a.Number == 6)
            r = major > 4;
        else if (a.Number == 7)
            r = major > 5 || (major == 5 && minor != 0);
        else
            r = major > 5;
        break;
    }
    case 9:
    case 10:
        ok = SelectedCondition(a, host, r);
        break;
    default:
        return false;
    }
    if (!ok)
        return false;
    bool negated = a.Number == 1 || a.Number == 3 || a.Number == 5 || a.Number == 10;
    result = negated ? !r : r;
    return true;
}

int ValidateLogin(ActionHost& host, TAuObject& record) {
    return ValidateChildren(host, record, 0);
}

const char* ShellErrorText(uint32_t code) {
    switch (code) {
    case 0:
        return "The operating system is out of memory or resources.";
    case 2:
        return "The specified file was not found.";
    case 3:
        return "The specified path was not found.";
    case 5:
        return "The operating system denied access to the specified file.";
    case 8:
        return "There was not enough memory to complete the operation.";
    case 11:
        return "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";
    case 26:
        return "A sharing violation occurred.";
    case 27:
        return "The filename association is incomplete or invalid.";
    case 28:
        return "The DDE transaction could not be completed because the request timed out.";
    case 29:
        return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not be completed because other DDE transactions were "
               "being processed.";
    case 31:
        return "There is no application associated with the given filename extension.";
    case 32:
        return "The specified dynamic-link library was not found.";
    default:
        return "Operation Error";
    }
}

uint32_t ShellCodeOfError(uint32_t e) {
    switch (e) {
    case 2:
    case 3:
    case 5:
    case 8:
        return e;
    case 32: // sharing violation
        return 26;
    case 193: // not a valid application
        return 11;
    case 1155: // no association
        return 31;
    case 1157: // a library is missing
        return 32;
    default:
        return 0xFFFFFFFFu; // "Operation Error"
    }
}

bool ShellRun(const std::string& verb, const std::string& file, const std::string& parameters,
              bool wait, int32_t show, const std::string& folder) {
    ShellRequest req{verb, file, parameters, folder, wait, show};
    uint32_t r = Platform().ShellStart(req);
    if (r == 33)
        return true;
    Platform().UI().Show(ShellErrorText(ShellCodeOfError(r)), "Error", mb::kIconError);
    return false;
}

} // namespace orv::player
