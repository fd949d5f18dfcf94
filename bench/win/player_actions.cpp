// The action engine on a real player window: a list of 10,000 cheap
// actions (SetObjectVisible on one object) run through RunActionList.
#include "base/report.h"
#include "base/stream.h"
#include "model/page.h"
#include "objects/aucontrol.h"
#include "player/actions.h"
#include "player/autorunform.h"
#include "startup/startup.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orv;
using model::TAuObjectKind;

struct Window {
    player::TAutoRunForm form;
    Window() {
        Startup().editorMode = false;
        auto page = model::MakeBlankPage("Bench");
        page->Fade = false;
        auto box = std::make_unique<model::TAuObject>(TAuObjectKind::GroupBox);
        box->Name = "Box";
        box->Left = 10;
        box->Top = 10;
        box->Width = 100;
        box->Height = 60;
        page->Root->AddChild(std::move(box));
        MemoryStream s;
        RecordingReporter r;
        model::WritePageRecord(s, *page, r);
        s.Seek(0);
        form.LoadPage(s, 0);
    }
};

model::TAuActions VisibilityList(bool alternate) {
    model::TAuActions list(10000);
    for (size_t i = 0; i < list.size(); ++i) {
        list[i].Kind = static_cast<uint8_t>(model::TAuActionKind::SetObjectVisible);
        list[i].Param2 = "Box";
        list[i].Flag = !alternate || i % 2 == 0;
    }
    return list;
}

// Every action shows or hides the group box's window.
void BM_TenThousandVisibilityChanges(benchmark::State& state) {
    Window w;
    const model::TAuActions list = VisibilityList(true);
    for (auto _ : state)
        player::RunActionList(w.form, list);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(list.size()));
}
BENCHMARK(BM_TenThousandVisibilityChanges)->Unit(benchmark::kMillisecond);

// The object is visible already: what the engine itself costs per action.
void BM_TenThousandActionsThatChangeNothing(benchmark::State& state) {
    Window w;
    const model::TAuActions list = VisibilityList(false);
    for (auto _ : state)
        player::RunActionList(w.form, list);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(list.size()));
}
BENCHMARK(BM_TenThousandActionsThatChangeNothing)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
