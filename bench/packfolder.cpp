// Packing and unpacking a project folder of 2,000 files totalling 200 MB,
// next to tar creating and extracting the same folder, so the two can be
// compared as throughput on this machine. The data goes through files in
// both cases.
#include "base/packfolder.h"
#include "base/fsys.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

constexpr int kFiles = 2000;
constexpr int kFileSize = 100 * 1000; // 2,000 x 100 kB = 200 MB
constexpr int64_t kTotal = int64_t{kFiles} * kFileSize;

struct Fixture {
    std::string root, source, packed, tarFile;
    Fixture() {
        root = orv::fsys::TempFolder() + "/orvexa-bench-pack-" + std::to_string(getpid());
        source = root + "/src";
        packed = root + "/packed.bin";
        tarFile = root + "/packed.tar";
        orv::fsys::CreateDir(root);
        orv::fsys::CreateDir(source);
        std::string data(kFileSize, '\0');
        uint32_t x = 12345;
        // Ten sub-folders of 200 files, as a project with media folders.
        for (int d = 0; d < 10; ++d) {
            std::string dir = source + "/Media" + std::to_string(d);
            orv::fsys::CreateDir(dir);
            for (int f = 0; f < kFiles / 10; ++f) {
                for (char& c : data)
                    c = static_cast<char>(x = x * 1103515245u + 12345u);
                std::FILE* out =
                    std::fopen((dir + "/file" + std::to_string(f) + ".bin").c_str(), "wb");
                std::fwrite(data.data(), 1, data.size(), out);
                std::fclose(out);
            }
        }
        orv::FileStream s;
        s.Open(packed, orv::FileStream::Mode::Create);
        orv::PackFolder(s, source, true);
    }
    ~Fixture() { orv::DeleteFolderTree(root); }
};

Fixture& Data() {
    static Fixture f;
    return f;
}

class Quiet : public orv::Reporter {
public:
    int Show(const std::string&, const std::string&, uint32_t) override { return 1; }
};

void BM_PackFolder(benchmark::State& state) {
    Fixture& f = Data();
    for (auto _ : state) {
        orv::FileStream s;
        s.Open(f.root + "/out.bin", orv::FileStream::Mode::Create);
        if (!orv::PackFolder(s, f.source, true))
            state.SkipWithError("pack failed");
        s.Close();
    }
    state.SetBytesProcessed(state.iterations() * kTotal);
}

void BM_TarCreate(benchmark::State& state) {
    Fixture& f = Data();
    std::string cmd = "tar -cf '" + f.tarFile + "' -C '" + f.source + "' .";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("tar failed");
    state.SetBytesProcessed(state.iterations() * kTotal);
}

void BM_UnpackFolder(benchmark::State& state) {
    Fixture& f = Data();
    std::string target = f.root + "/unpacked";
    Quiet q;
    for (auto _ : state) {
        state.PauseTiming();
        orv::DeleteFolderTree(target);
        orv::fsys::CreateDir(target);
        state.ResumeTiming();
        orv::FileStream s;
        s.Open(f.packed, orv::FileStream::Mode::Read);
        if (!orv::UnpackFolder(s, target, q))
            state.SkipWithError("unpack failed");
    }
    state.SetBytesProcessed(state.iterations() * kTotal);
}

void BM_TarExtract(benchmark::State& state) {
    Fixture& f = Data();
    std::string target = f.root + "/untarred";
    std::string make = "tar -cf '" + f.tarFile + "' -C '" + f.source + "' .";
    if (std::system(make.c_str()) != 0)
        state.SkipWithError("tar failed");
    std::string cmd = "tar -xf '" + f.tarFile + "' -C '" + target + "'";
    for (auto _ : state) {
        state.PauseTiming();
        orv::DeleteFolderTree(target);
        orv::fsys::CreateDir(target);
        state.ResumeTiming();
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("tar failed");
    }
    state.SetBytesProcessed(state.iterations() * kTotal);
}

BENCHMARK(BM_PackFolder)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(BM_TarCreate)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(BM_UnpackFolder)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(BM_TarExtract)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
