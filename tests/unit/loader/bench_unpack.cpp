// Unpacking throughput of a 64 MiB engine entry: the loader's walk (64 KiB
// pieces through the read buffer) against liblzma decoding the same raw
// stream in one loop. With VYK_BENCH_DUMP=<folder> the raw LZMA1 stream is
// written to <folder>/engine.lzma1 (the decoded stream to engine.raw) so
// that an outside decoder can be timed on exactly the same bytes.
#include "loader/container.h"
#include "loader/stubwriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kEngineSize = 64u << 20;
constexpr size_t kStreamAt = vyk::kContainerHeaderSize + vyk::kCheckPairSize + vyk::kPropertiesSize;

// Bytes that compress roughly like program code: a vocabulary of short
// tokens drawn with a skewed distribution, and some noise.
std::vector<uint8_t> EngineLikeBytes(size_t n) {
    std::mt19937 rng(20240601);
    std::vector<std::vector<uint8_t>> tokens(8192);
    for (auto& t : tokens) {
        t.resize(1 + rng() % 16);
        for (auto& b : t)
            b = uint8_t(rng() % 3 ? rng() % 64 : rng());
    }
    std::vector<uint8_t> out;
    out.reserve(n);
    while (out.size() < n) {
        if (rng() % 20 == 0) {
            out.push_back(uint8_t(rng()));
            continue;
        }
        const auto& t = tokens[rng() % (rng() % tokens.size() + 1)];
        out.insert(out.end(), t.begin(), t.end());
    }
    out.resize(n);
    return out;
}

struct Fixture {
    std::vector<uint8_t> engine;
    std::vector<uint8_t> container;
};

const Fixture& Data() {
    static const Fixture fixture = [] {
        Fixture d;
        d.engine = EngineLikeBytes(kEngineSize);
        std::string error;
        const vyk::PackEntry entry{
            vyk::kEngineIdLow, vyk::kEngineIdHigh, d.engine.data(), d.engine.size(), 0, 0x20};
        if (!vyk::BuildStubContainer({entry}, vyk::StubOptions{}, d.container, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        if (const char* dir = std::getenv("VYK_BENCH_DUMP")) {
            const std::string base = dir;
            FILE* f = std::fopen((base + "/engine.lzma1").c_str(), "wb");
            std::fwrite(d.container.data() + kStreamAt, 1, d.container.size() - kStreamAt, f);
            std::fclose(f);
            uint8_t header[vyk::kEntryHeaderSize];
            vyk::WriteEntryHeader(
                header, {vyk::kEngineIdLow, vyk::kEngineIdHigh, d.engine.size(), 0, 0x20});
            f = std::fopen((base + "/engine.raw").c_str(), "wb");
            std::fwrite(header, 1, sizeof header, f);
            std::fwrite(d.engine.data(), 1, d.engine.size(), f);
            std::fclose(f);
            const uint8_t* p = d.container.data() + vyk::kContainerHeaderSize + 8;
            std::fprintf(stderr, "stream: %zu bytes, props byte %u, dict %u\n",
                         d.container.size() - kStreamAt, p[0], vyk::Le32(p + 1));
        }
        return d;
    }();
    return fixture;
}

class NullSink : public vyk::EngineSink {
public:
    uint64_t bytes = 0;
    uint32_t Create(const vyk::EntryHeader&) override { return 0; }
    uint32_t Write(const uint8_t* b, size_t n, size_t& w) override {
        benchmark::DoNotOptimize(b);
        bytes += n;
        w = n;
        return 0;
    }
    uint32_t Finish(const vyk::EntryHeader&) override { return 0; }
};

void BM_LoaderUnpack64MiB(benchmark::State& state) {
    const Fixture& d = Data();
    for (auto _ : state) {
        vyk::MemorySource src(d.container.data(), d.container.size());
        NullSink sink;
        if (vyk::UnpackEngine(src, sink) != 0 || sink.bytes != kEngineSize)
            state.SkipWithError("unpacking failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kEngineSize));
}
BENCHMARK(BM_LoaderUnpack64MiB)->Unit(benchmark::kMillisecond);

// liblzma alone on the same stream, 64 KiB of output at a time.
void BM_RawLzmaDecode64MiB(benchmark::State& state) {
    const Fixture& d = Data();
    std::vector<uint8_t> out(vyk::kPieceSize);
    for (auto _ : state) {
        lzma_stream strm = LZMA_STREAM_INIT;
        lzma_options_lzma opt{};
        const uint8_t* props = d.container.data() + vyk::kContainerHeaderSize + 8;
        opt.lc = props[0] % 9;
        opt.lp = props[0] / 9 % 5;
        opt.pb = props[0] / 45;
        opt.dict_size = vyk::Le32(props + 1);
        lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &opt}, {LZMA_VLI_UNKNOWN, nullptr}};
        if (lzma_raw_decoder(&strm, filters) != LZMA_OK) {
            state.SkipWithError("decoder set-up failed");
            break;
        }
        strm.next_in = d.container.data() + kStreamAt;
        strm.avail_in = d.container.size() - kStreamAt;
        uint64_t total = 0;
        lzma_ret ret = LZMA_OK;
        while (ret == LZMA_OK && total < kEngineSize + vyk::kEntryHeaderSize) {
            strm.next_out = out.data();
            strm.avail_out = out.size();
            ret = lzma_code(&strm, LZMA_RUN);
            total += out.size() - strm.avail_out;
            benchmark::DoNotOptimize(out.data());
        }
        lzma_end(&strm);
        if (total != kEngineSize + vyk::kEntryHeaderSize)
            state.SkipWithError("decoding failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kEngineSize));
}
BENCHMARK(BM_RawLzmaDecode64MiB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
