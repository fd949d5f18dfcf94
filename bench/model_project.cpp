// A project of 1,000 pages with 100 objects each: opening it as the player
// and the editor do (the page table only, and with the object summaries),
// parsing every page, and saving it unchanged (page records copied from the
// old file) next to a plain copy of the same bytes. Both writes flush to the
// device, as a save does.
#include "base/fsys.h"
#include "model/project.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace orv;
using namespace orv::model;

namespace {

constexpr int kPages = 1000;
constexpr int kObjects = 100;

std::unique_ptr<TPageRecord> MakePage(int index) {
    auto page = MakeBlankPage("Page " + std::to_string(index));
    TAuObject& root = *page->Root;
    TAuAction go;
    go.Kind = static_cast<uint8_t>(TAuActionKind::GoToPage);
    go.Param1 = "Page " + std::to_string((index + 1) % kPages);
    TAuObject* panel = nullptr;
    for (int i = 0; i < kObjects; ++i) {
        auto kind = static_cast<TAuObjectKind>(i % kKindCount);
        if (kind == TAuObjectKind::TabSheet)
            kind = TAuObjectKind::Label;
        // Every tenth object goes into the last panel, for some depth.
        TAuObject& parent = (panel && i % 10 == 9) ? *panel : root;
        auto o = std::make_unique<TAuObject>(kind);
        o->Name = NewObjectName(&parent, kind);
        o->Left = i * 3;
        o->Top = i * 2;
        o->OnClick.push_back(go);
        TAuObject& added = parent.AddChild(std::move(o));
        if (kind == TAuObjectKind::Panel)
            panel = &added;
    }
    return page;
}

struct Fixture {
    std::string dir, file, saved, copy;
    int64_t bytes = 0;
    Fixture() {
        dir = fsys::TempFolder() + "/orvexa-bench-model-" + std::to_string(getpid());
        fsys::CreateDir(dir);
        file = dir + "/autorun.aru";
        saved = dir + "/saved.aru";
        copy = dir + "/copy.aru";
        TAuProject project;
        RecordingReporter r;
        for (int i = 0; i < kPages; ++i) {
            auto e = std::make_unique<TFormData>();
            e->Name = "Page " + std::to_string(i);
            if (!StorePageInCache(*e, *MakePage(i), r))
                std::abort();
            project.Pages.push_back(std::move(e));
        }
        if (!WriteProjectFile(project, file, "", r) || !fsys::FileSize(file, bytes))
            std::abort();
    }
    ~Fixture() {
        for (const std::string& f : {file, saved, copy})
            fsys::RemoveFile(f);
        fsys::RemoveDir(dir);
    }
};

Fixture& Data() {
    static Fixture f;
    return f;
}

void OpenTable(benchmark::State& state, bool summaries) {
    Fixture& f = Data();
    ProjectReadOptions o;
    o.readSummaries = summaries;
    for (auto _ : state) {
        TAuProject p;
        RecordingReporter r;
        if (!ReadProjectFile(p, f.file, r, o))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(p.Pages.size());
    }
}

void BM_OpenPlayer(benchmark::State& state) {
    OpenTable(state, false);
}
BENCHMARK(BM_OpenPlayer)->Unit(benchmark::kMillisecond);

void BM_OpenEditor(benchmark::State& state) {
    OpenTable(state, true);
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond);

// Every page read from the file (as a window does) and parsed into objects.
void BM_ParseEveryPage(benchmark::State& state) {
    Fixture& f = Data();
    TAuProject p;
    RecordingReporter r;
    if (!ReadProjectFile(p, f.file, r))
        std::abort();
    size_t objects = 0;
    for (auto _ : state) {
        for (int i = 0; i < kPages; ++i) {
            TPageRecord page;
            if (!ReadProjectPage(p, i, f.file, page, r))
                state.SkipWithError("page failed");
            objects += page.Root->ChildCount();
        }
    }
    benchmark::DoNotOptimize(objects);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.bytes);
}
BENCHMARK(BM_ParseEveryPage)->Unit(benchmark::kMillisecond);

// Saving with every page record copied from the old file, into a new file.
void BM_SaveUnchanged(benchmark::State& state) {
    Fixture& f = Data();
    TAuProject p;
    RecordingReporter r;
    if (!ReadProjectFile(p, f.file, r, {true, nullptr}))
        std::abort();
    for (auto _ : state) {
        std::vector<PageSpan> spans;
        if (!WriteProjectFile(p, f.saved, f.file, r, {}, &spans))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.bytes);
}
BENCHMARK(BM_SaveUnchanged)->Unit(benchmark::kMillisecond);

// The same bytes copied plainly through the same streams, flushed likewise.
void BM_PlainCopy(benchmark::State& state) {
    Fixture& f = Data();
    for (auto _ : state) {
        FileStream in, out;
        if (!in.Open(f.file, FileStream::Mode::Read) || !out.Open(f.copy, FileStream::Mode::Create))
            state.SkipWithError("open failed");
        out.CopyFrom(in, in.Size());
        if (!out.Sync() || !out.Close())
            state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.bytes);
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
