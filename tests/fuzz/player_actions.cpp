// Action lists as a project file stores them, run by the engine against a
// window of a few objects. Whatever the list holds (nesting, unknown kinds,
// odd numbers, missing objects and pages), the engine must neither crash
// nor let an error escape. The engine and the state it reads are compiled
// in from their files (the fuzz programs link only the layers below the
// player).
#include "../../src/player/action_params.cpp"
#include "../../src/player/actions.cpp"
#include "../../src/player/actions_posix.cpp"
#include "../../src/player/project_instance.cpp"
#include "../../src/startup/startup.cpp"

#include "base/stream.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

using namespace orv;
using namespace orv::player;

class Target : public ActionTarget {
public:
    int ItemCount() const override { return 3; }
    int ItemIndex() const override { return index; }
    void SetItemIndex(int i) override { index = i; }
    bool FadeActive() const override { return fading; }
    // Selecting runs a list that selects again: the engine must end the
    // recursion itself.
    std::vector<TAuActions> SelectedActionLists() const override {
        TAuAction again;
        again.Kind = static_cast<uint8_t>(model::TAuActionKind::DoSelectActions);
        again.Param1 = "A";
        return {TAuActions{again}};
    }
    int index = -1;
    bool fading = true;
};

class Host : public ActionHost {
public:
    Host() : root(std::make_unique<TAuObject>(model::TAuObjectKind::Panel)) {
        const model::TAuObjectKind kinds[] = {
            model::TAuObjectKind::ListBox, model::TAuObjectKind::Label, model::TAuObjectKind::Edit,
            model::TAuObjectKind::Shape, model::TAuObjectKind::CheckBox};
        int i = 0;
        for (auto k : kinds) {
            auto o = std::make_unique<TAuObject>(k);
            o->Name = std::string(1, char('A' + i++));
            TAuObject& r = root->AddChild(std::move(o));
            targets.push_back({&r, std::make_unique<Target>()});
        }
    }
    TAuObject* FindObject(const std::string& p) override { return model::FindObject(*root, p); }
    TAuObject* PageRoot() override { return root.get(); }
    ActionTarget* TargetOf(TAuObject& r) override {
        for (auto& t : targets)
            if (t.first == &r)
                return t.second.get();
        return nullptr;
    }
    void SetObjectEnabled(TAuObject&, bool) override {}
    void SetObjectVisible(TAuObject&, bool) override {}
    int CurrentPage() const override { return 1; }
    void SwitchToPage(int) override {}
    bool ShowSubPage(int, int, bool, int32_t) override { return true; }
    void RequestClose() override {}
    void RequestCloseMain() override {}
    void SetWindowState(int) override {}
    void SetLoginPassed(bool) override {}
    int ModalKind() const override { return 0; }
    bool IsMainWindow() const override { return true; }
    bool IsPreview() const override { return false; }
    int StatusPanelCount() const override { return 2; }
    void SetStatusPanelText(int, const std::string&) override {}
    void LoadObjectFromFile(const std::string&, const std::string&) override {}

    std::unique_ptr<TAuObject> root;
    std::vector<std::pair<TAuObject*, std::unique_ptr<Target>>> targets;
};

class Silent : public orv::Reporter {
public:
    int Show(const std::string&, const std::string&, uint32_t flags) override {
        return orv::DefaultAnswer(flags);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Silent silent;
    MemoryStream s(data, size);
    TAuActions list;
    if (!model::ReadActionList(s, list, silent))
        return 0;
    static bool pages = [] {
        for (const char* name : {"Page0", "Page1", "Page2"}) {
            Project().Pages.push_back(std::make_unique<model::TFormData>());
            Project().Pages.back()->Name = name;
        }
        return true;
    }();
    (void)pages;
    Startup().exitRequested = false;
    Host host;
    RunActionList(host, list);
    for (auto& t : host.targets)
        ApplyPendingChanges(*t.second);
    Project().OnStart = list;
    RunStartActions();
    Project().OnStart.clear();
    if (host.ListsRunning())
        __builtin_trap();
    return 0;
}
