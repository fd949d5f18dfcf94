// A page built the way the player builds one: records under a root Panel,
// their controls made by the factory in a host window, events bound to a
// sink that logs them.
#pragma once

#include "helpers.h"
#include "objects/aucontrol.h"
#include "objects/containers.h"

#include <gtest/gtest.h>

namespace orv::test {

using model::TAuObject;
using model::TAuObjectKind;

class LogSink : public objects::TAuEventSink {
public:
    std::vector<std::string> lines;
    std::string Joined() const {
        std::string s;
        for (auto& l : lines)
            s += (s.empty() ? "" : ", ") + l;
        return s;
    }
    void ObjectClick(objects::TAuControl& c) override { Add(c, "click"); }
    void ObjectDblClick(objects::TAuControl& c) override { Add(c, "dblclick"); }
    void ObjectMouseEnter(objects::TAuControl& c) override { Add(c, "enter"); }
    void ObjectMouseLeave(objects::TAuControl& c) override { Add(c, "leave"); }
    void ObjectMouseDown(objects::TAuControl& c, const win::MouseArgs&) override { Add(c, "down"); }
    void ObjectMouseMove(objects::TAuControl&, const win::MouseArgs&) override {}
    void ObjectMouseUp(objects::TAuControl& c, const win::MouseArgs&) override { Add(c, "up"); }
    void ObjectPopupMenu(objects::TAuControl& c, POINT) override { Add(c, "menu"); }

private:
    void Add(objects::TAuControl& c, const char* what) {
        lines.push_back(c.Record()->Name + " " + what);
    }
};

// A panel record with a plain background: no caption, no border.
inline void PlainPanel(TAuObject& rec, int32_t color) {
    auto& p = rec.As<model::PanelProps>();
    p.BackColor = color;
    p.Back.Caption.clear();
    p.Back.Border = 0;
}

class TestPage {
public:
    explicit TestPage(int width = 400, int height = 300, bool designView = false)
        : host(width, height, designView), root(std::make_unique<TAuObject>(TAuObjectKind::Panel)) {
        root->Name = "Page";
        root->Align = 5;
        root->Width = width;
        root->Height = height;
        PlainPanel(*root, 0x00FFFFFF);
    }
    ~TestPage() {
        // Controls go before their records.
        objects::DestroyKindControl(*root);
    }

    TAuObject& Add(TAuObject& parent, TAuObjectKind kind, const std::string& name, int left,
                   int top, int width, int height) {
        auto rec = std::make_unique<TAuObject>(kind);
        rec->Name = name;
        rec->Left = left;
        rec->Top = top;
        rec->Width = width;
        rec->Height = height;
        return parent.AddChild(std::move(rec));
    }

    // Builds every control, parents first, as the player's factory loop.
    void Build() {
        Make(*root, host);
        Pump(30);
    }

    template <class T> T& Ctl(const TAuObject& rec) {
        return dynamic_cast<T&>(objects::ControlOf(rec)->Ctl());
    }

    TopHost host;
    std::unique_ptr<TAuObject> root;
    LogSink sink;

private:
    void Make(TAuObject& rec, win::WinControl& parent) {
        objects::TAuControl* c = objects::CreateKindControl(rec, parent);
        ASSERT_NE(c, nullptr) << rec.Name;
        objects::ApplySharedProperties(*c, true);
        objects::BindEvents(*c, sink);
        if (win::WinControl* box = c->ChildParent()) {
            box->DisableAlign();
            for (size_t i = 0; i < rec.ChildCount(); ++i)
                Make(rec.Child(i), *box);
            box->EnableAlign();
            c->ChildrenLoaded();
        }
    }
};

} // namespace orv::test
