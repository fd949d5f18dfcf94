// Building a single-file menu from a large project folder, against `cat`
// of the same bytes (the launcher and every project file) into one file:
// the price of packing over a plain copy. The folder size in MB comes from
// ORVEXA_BENCH_MB (300 unless set); the folder is built once in the
// temporary folder and removed at the end.
#include "../tests/unit/pe/pe_fixture.h"
#include "base/fsys.h"
#include "base/packfolder.h"
#include "base/report.h"
#include "publish/publish.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace orv;

struct Project {
    std::string root, folder, out;
    std::vector<std::string> files; // launcher first, as cat gets them
    int64_t bytes = 0;

    Project() {
        const char* mb = std::getenv("ORVEXA_BENCH_MB");
        int64_t total = (mb ? std::atoll(mb) : 300) << 20;
        root = fsys::Join(fsys::TempFolder(), "orvexa-bench-publish");
        DeleteFolderTree(root);
        fsys::CreateDir(root);
        folder = fsys::Join(root, "project");
        out = fsys::Join(root, "menu.exe");
        fsys::CreateDir(folder);
        Write(fsys::Join(folder, "autorun.exe"), [] {
            std::vector<uint8_t> exe = test::LauncherPe();
            exe.resize(2 << 20, 0); // about the size of the real launcher
            return exe;
        }());
        // Media files of 10 MB in the folder and two sub-folders.
        std::vector<uint8_t> chunk(10 << 20);
        for (size_t i = 0; i < chunk.size(); ++i)
            chunk[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
        fsys::CreateDir(fsys::Join(folder, "Video"));
        fsys::CreateDir(fsys::Join(folder, "Docs"));
        const char* dirs[] = {"", "Video", "Docs"};
        for (int n = 0; bytes < total; ++n) {
            std::string dir = dirs[n % 3][0] ? fsys::Join(folder, dirs[n % 3]) : folder;
            Write(fsys::Join(dir, "file" + std::to_string(n) + ".bin"), chunk);
        }
    }
    ~Project() { DeleteFolderTree(root); }

    void Write(const std::string& path, const std::vector<uint8_t>& data) {
        std::FILE* f = fsys::OpenFile(path, "wb");
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
        files.push_back(path);
        bytes += static_cast<int64_t>(data.size());
    }
};

Project& TheProject() {
    static Project p;
    return p;
}

void BM_BuildSingleFile(benchmark::State& state) {
    Project& p = TheProject();
    RecordingReporter r;
    for (auto _ : state) {
        if (!publish::BuildSingleFileTo(p.folder, p.out, r)) {
            state.SkipWithError("build failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * p.bytes);
}

void BM_CatSameBytes(benchmark::State& state) {
    Project& p = TheProject();
    std::string cmd = "cat";
    for (const std::string& f : p.files)
        cmd += " '" + f + "'";
    cmd += " > '" + p.out + "'";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("cat failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * p.bytes);
}

BENCHMARK(BM_BuildSingleFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CatSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
