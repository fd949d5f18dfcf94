// A window, a platform and page-object controls that record what the
// action engine asks of them.
#pragma once

#include "player/actions.h"
#include "player/project_instance.h"
#include "startup/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace orv::player::test {

using model::TAuObjectKind;

// Every call lands in one shared log, so tests can check the order.
using Log = std::vector<std::string>;

class FakeTarget : public ActionTarget {
public:
    FakeTarget(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    void SetCaption(const std::string& s) override { Add("caption=" + s); }
    void SetLines(const std::vector<std::string>& l) override {
        Add("lines=" + std::to_string(l.size()));
    }
    void SetPicture(const model::TPicture* p) override { Add(p ? "picture" : "picture=none"); }
    void LoadFile(const std::string& v) override { Add("load=" + v); }
    void SetFont(const model::TFont&) override { Add("font"); }
    void SetBackColor(int32_t c) override { Add("color=" + std::to_string(c)); }
    void Media(MediaCommand c) override { Add("media=" + std::to_string(int(c))); }
    int ItemCount() const override { return count; }
    int ItemIndex() const override { return index; }
    void SetItemIndex(int i) override {
        index = i;
        Add("index=" + std::to_string(i));
    }
    bool ItemSelected(int i) const override { return selected.count(i) > 0; }
    void SelectItem(int i) override {
        selected.insert(i);
        Add("select=" + std::to_string(i));
    }
    void ClearSelection() override {
        selected.clear();
        Add("clear");
    }
    bool Checked() const override { return checked; }
    void SetChecked(bool c) override {
        checked = c;
        Add(c ? "checked" : "unchecked");
    }
    std::vector<TAuActions> SelectedActionLists() const override { return selectLists; }
    std::string EnteredText() const override { return text; }
    std::string EnteredUser() const override { return user; }
    std::string EnteredPassword() const override { return password; }
    bool FadeActive() const override { return fading; }
    void FadeTo(int v) override { Add("fadeto=" + std::to_string(v)); }
    void BeginFadeOut() override { Add("fadeout"); }

    int count = 0, index = -1;
    std::set<int> selected;
    bool checked = false, fading = false;
    std::string text, user, password;
    std::vector<TAuActions> selectLists;

private:
    void Add(const std::string& s) { log_.push_back(name_ + ":" + s); }
    Log& log_;
    std::string name_;
};

class FakeHost : public ActionHost {
public:
    explicit FakeHost(Log& log)
        : root(std::make_unique<TAuObject>(TAuObjectKind::Panel)), log_(log) {}

    // Adds an object (below parent, or the root) with a control.
    TAuObject& Add(const std::string& name, TAuObjectKind kind, TAuObject* parent = nullptr,
                   bool withControl = true) {
        auto o = std::make_unique<TAuObject>(kind);
        o->Name = name;
        TAuObject& r = (parent ? *parent : *root).AddChild(std::move(o));
        if (withControl)
            targets[&r] = std::make_unique<FakeTarget>(log_, name);
        return r;
    }
    FakeTarget& T(TAuObject& r) { return *targets.at(&r); }

    TAuObject* FindObject(const std::string& path) override {
        return model::FindObject(*root, path);
    }
    TAuObject* PageRoot() override { return root.get(); }
    ActionTarget* TargetOf(TAuObject& r) override {
        auto it = targets.find(&r);
        return it == targets.end() ? nullptr : it->second.get();
    }
    void SetObjectEnabled(TAuObject& r, bool e) override {
        log_.push_back(r.Name + (e ? ":enabled" : ":disabled"));
    }
    void SetObjectVisible(TAuObject& r, bool v) override {
        log_.push_back(r.Name + (v ? ":shown" : ":hidden"));
    }
    int CurrentPage() const override { return page; }
    void SwitchToPage(int index) override { log_.push_back("switch=" + std::to_string(index)); }
    bool ShowSubPage(int index, int mode, bool closeOnInput, int32_t closeAfter) override {
        log_.push_back("subpage=" + std::to_string(index) + "/" + std::to_string(mode) + "/" +
                       std::to_string(closeOnInput) + "/" + std::to_string(closeAfter));
        return subPageResult;
    }
    void RequestClose() override { log_.push_back("close"); }
    void RequestCloseMain() override { log_.push_back("closemain"); }
    void SetWindowState(int s) override { log_.push_back("state=" + std::to_string(s)); }
    void SetLoginPassed(bool p) override { log_.push_back(p ? "passed" : "notpassed"); }
    int ModalKind() const override { return modalKind; }
    bool IsMainWindow() const override { return modalKind == 0 && !preview; }
    bool IsPreview() const override { return preview; }
    int StatusPanelCount() const override { return panels; }
    void SetStatusPanelText(int i, const std::string& t) override {
        log_.push_back("panel" + std::to_string(i) + "=" + t);
    }
    void LoadObjectFromFile(const std::string& path, const std::string& file) override {
        log_.push_back("loadobject=" + path + "|" + file);
    }

    std::unique_ptr<TAuObject> root;
    std::map<const TAuObject*, std::unique_ptr<FakeTarget>> targets;
    int page = 0, modalKind = 0, panels = 0;
    bool preview = false, subPageResult = false;

private:
    Log& log_;
};

class FakePlatform : public ActionPlatform {
public:
    explicit FakePlatform(Log& log) : log_(log) {}
    Reporter& UI() override { return ui; }
    uint32_t ShellStart(const ShellRequest& r) override {
        log_.push_back("shell=" + r.verb + "|" + r.file + "|" + r.parameters + "|" + r.folder +
                       "|" + (r.wait ? "wait" : "nowait") + "|" + std::to_string(r.show));
        return shellResult;
    }
    bool FileExists(const std::string& p) override { return files.count(p) > 0; }
    bool DirectoryExists(const std::string& p) override { return folders.count(p) > 0; }
    std::string FolderOfToken(const std::string& t) override {
        auto it = tokens.find(t);
        return it == tokens.end() ? std::string() : it->second;
    }
    std::string ClassesRootDefault(const std::string& key) override {
        registryAsked.push_back(key);
        auto it = registry.find(key);
        return it == registry.end() ? std::string() : it->second;
    }
    void PlatformVersion(int& ma, int& mi) override {
        ma = major;
        mi = minor;
    }
    void PlaySound(int ch, const std::string& f, bool loop) override {
        log_.push_back("play" + std::to_string(ch) + "=" + f + (loop ? "|loop" : ""));
    }
    void StopSound(int ch) override { log_.push_back("stop" + std::to_string(ch)); }
    void MinimizeApplication() override { log_.push_back("minimize"); }
    void RestoreApplication() override { log_.push_back("restore"); }
    bool ShowSubPage(int index, int mode, bool, int32_t) override {
        log_.push_back("platform subpage=" + std::to_string(index) + "/" + std::to_string(mode));
        return subPageResult;
    }
    bool subPageResult = false;
    bool RunFileAction(const std::string& p, uint8_t kind) override {
        log_.push_back("file" + std::to_string(kind) + "=" + p);
        return true;
    }

    // Answers in order; onShow runs inside the message box, as timers and
    // other events do while a modal box is up.
    class UIRecorder : public RecordingReporter {
    public:
        int Show(const std::string& text, const std::string& caption, uint32_t flags) override {
            if (onShow)
                onShow();
            return RecordingReporter::Show(text, caption, flags);
        }
        std::function<void()> onShow;
    } ui;
    uint32_t shellResult = 33;
    std::set<std::string> files, folders;
    std::map<std::string, std::string> tokens, registry;
    std::vector<std::string> registryAsked;
    int major = 5, minor = 1;

private:
    Log& log_;
};

// Installs the fakes, a project of pages named Page0..PageN-1 and the
// player's start-up state; undoes it afterwards.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetActionPlatform(&platform);
        Startup() = TStartupState{};
        Startup().projectFolder = "C:\\Menu";
        SetPages(3);
    }
    void TearDown() override {
        SetActionPlatform(nullptr);
        Project().Pages.clear();
        Project().OnStart.clear();
        Project().OnExit.clear();
        Startup() = TStartupState{};
    }
    void SetPages(int n) {
        Project().Pages.clear();
        for (int i = 0; i < n; ++i) {
            Project().Pages.push_back(std::make_unique<model::TFormData>());
            Project().Pages.back()->Name = "Page" + std::to_string(i);
        }
    }
    static TAuAction Act(model::TAuActionKind kind, std::string p1 = "", std::string p2 = "",
                         int32_t number = 1, bool flag = false) {
        TAuAction a;
        a.Kind = static_cast<uint8_t>(kind);
        a.Param1 = std::move(p1);
        a.Param2 = std::move(p2);
        a.Number = number;
        a.Flag = flag;
        return a;
    }

    Log log;
    FakePlatform platform{log};
    FakeHost host{log};
};

} // namespace orv::player::test
