#include "loader/container.h"
#include "loader/stubwriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace vyk {
namespace {

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v)
        b = uint8_t(rng());
    return v;
}

std::vector<uint8_t> Container(const std::vector<PackEntry>& entries, StubOptions o = {}) {
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_TRUE(BuildStubContainer(entries, o, out, error)) << error;
    return out;
}

PackEntry Engine(const std::vector<uint8_t>& data, uint64_t time = 0, uint32_t attrs = 0) {
    return {kEngineIdLow, kEngineIdHigh, data.data(), data.size(), time, attrs};
}

PackEntry Other(uint32_t id, const std::vector<uint8_t>& data) {
    return {id, 0, data.data(), data.size(), 0, 0};
}

// A container around an arbitrary decoded stream, for entries that the
// writer would never produce.
std::vector<uint8_t> RawContainer(const std::vector<uint8_t>& decoded) {
    lzma_options_lzma opt{};
    lzma_lzma_preset(&opt, 1);
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &opt}, {LZMA_VLI_UNKNOWN, nullptr}};
    std::vector<uint8_t> stream(decoded.size() + decoded.size() / 2 + 4096);
    size_t pos = 0;
    EXPECT_EQ(lzma_raw_buffer_encode(filters, nullptr, decoded.data(), decoded.size(),
                                     stream.data(), &pos, stream.size()),
              LZMA_OK);
    stream.resize(pos);
    std::vector<uint8_t> c(kContainerHeaderSize + kCheckPairSize + kPropertiesSize, 0);
    PutLe32(c.data() + kOffMagic, kContainerMagic);
    PutLe32(c.data() + kOffVersion, kContainerVersion);
    PutLe32(c.data() + 64, 0x12345678);
    PutLe32(c.data() + 68, 0x12345678 ^ kCheckPairXor);
    c[72] = uint8_t((opt.pb * 5 + opt.lp) * 9 + opt.lc);
    PutLe32(c.data() + 73, opt.dict_size);
    c.insert(c.end(), stream.begin(), stream.end());
    return c;
}

std::vector<uint8_t> EntryBytes(uint32_t idLow, uint32_t idHigh, uint64_t size,
                                const std::vector<uint8_t>& data) {
    std::vector<uint8_t> v(kEntryHeaderSize);
    WriteEntryHeader(v.data(), {idLow, idHigh, size, 0, 0});
    v.insert(v.end(), data.begin(), data.end());
    return v;
}

// Records what the walk hands over; can be told to fail.
class RecordingSink : public EngineSink {
public:
    uint32_t createError = 0;
    uint32_t writeError = 0;
    bool writeNothing = false;
    size_t shortWrites = 0; // accept only part of the next writes

    bool created = false;
    bool finished = false;
    EntryHeader header;
    std::vector<uint8_t> data;
    size_t largestPiece = 0;

    uint32_t Create(const EntryHeader& h) override {
        if (createError)
            return createError;
        created = true;
        header = h;
        return 0;
    }
    uint32_t Write(const uint8_t* buf, size_t n, size_t& written) override {
        largestPiece = std::max(largestPiece, n);
        if (writeError)
            return writeError;
        written = writeNothing ? 0 : n;
        if (shortWrites && n > 1) {
            --shortWrites;
            written = n / 2;
        }
        data.insert(data.end(), buf, buf + written);
        EXPECT_LE(data.size(), header.size) << "written past the entry's size";
        return 0;
    }
    uint32_t Finish(const EntryHeader& h) override {
        EXPECT_EQ(h.size, header.size);
        finished = true;
        return 0;
    }
};

class FailingSource : public ByteSource {
public:
    FailingSource(const std::vector<uint8_t>& d, size_t failAt)
        : inner_(d.data(), d.size()), left_(failAt) {}
    uint32_t Read(uint8_t* buf, size_t n, size_t& got) override {
        if (left_ == 0)
            return 5; // access denied
        uint32_t rc = inner_.Read(buf, std::min(n, left_), got);
        left_ -= got;
        return rc;
    }

private:
    MemorySource inner_;
    size_t left_;
};

uint32_t Unpack(const std::vector<uint8_t>& c, RecordingSink& sink, const UnpackLimits& l = {}) {
    MemorySource src(c.data(), c.size());
    return UnpackEngine(src, sink, nullptr, l);
}

TEST(UnpackEngine, FindsTheEngineAfterOtherEntries) {
    const auto before = RandomBytes(150 * 1024, 1); // spans several pieces
    const auto empty = std::vector<uint8_t>();
    const auto engine = RandomBytes(200 * 1024 + 17, 2);
    const auto after = RandomBytes(1000, 3);
    const auto c = Container({Other(1, before), Other(2, empty),
                              Engine(engine, 0x01D9ABCD12345678, 0x21), Other(3, after)});
    RecordingSink sink;
    ASSERT_EQ(Unpack(c, sink), err::kOk);
    EXPECT_TRUE(sink.finished);
    EXPECT_EQ(sink.data, engine); // nothing of the entry after it
    EXPECT_EQ(sink.header.fileTime, 0x01D9ABCD12345678u);
    EXPECT_EQ(sink.header.attributes, 0x21u);
    EXPECT_LE(sink.largestPiece, kPieceSize);
}

TEST(UnpackEngine, PartialWritesAreCompleted) {
    const auto engine = RandomBytes(70000, 4);
    RecordingSink sink;
    sink.shortWrites = 3;
    ASSERT_EQ(Unpack(Container({Engine(engine)}), sink), err::kOk);
    EXPECT_EQ(sink.data, engine);
}

TEST(UnpackEngine, CheckPairFlag) {
    const auto engine = RandomBytes(100, 5);
    struct Case {
        const char* name;
        uint32_t flags;
        bool breakPair;
        uint32_t want;
    } cases[] = {
        {"pair right, flag clear", 0, false, err::kOk},
        {"pair right, flag set", 1, false, err::kOk},
        {"pair wrong, flag clear", 0, true, err::kInvalidData},
        {"pair wrong, flag set", 1, true, err::kCheckPair},
        {"pair wrong, other flags", 6, true, err::kInvalidData},
    };
    for (const auto& k : cases) {
        StubOptions o;
        o.flags = k.flags;
        auto c = Container({Engine(engine)}, o);
        if (k.breakPair)
            c[66] ^= 0x10;
        RecordingSink sink;
        EXPECT_EQ(Unpack(c, sink), k.want) << k.name;
        EXPECT_EQ(sink.created, k.want == err::kOk) << k.name;
    }
}

TEST(UnpackEngine, DamagedContainersGiveTheirCodes) {
    const auto engine = RandomBytes(5000, 6);
    const auto good = Container({Engine(engine)});
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        uint32_t want;
    };
    auto patched = [&](size_t at, uint8_t v) {
        auto c = good;
        c[at] = v;
        return c;
    };
    auto cut = [&](size_t n) { return std::vector<uint8_t>(good.begin(), good.begin() + n); };
    const std::vector<Case> cases = {
        {"empty", {}, err::kInvalidData},
        {"short header", cut(40), err::kInvalidData},
        {"container magic", patched(kOffMagic, 'x'), err::kInvalidData},
        {"version word", patched(kOffVersion, 5), err::kInvalidData},
        {"no check pair", cut(64), err::kInvalidData},
        {"properties byte 225", patched(72, 225), err::kBadProperties},
        {"lc + lp above 4", patched(72, (2 * 5 + 1) * 9 + 4), err::kBadProperties},
        {"three property bytes", cut(75), err::kBadProperties},
        {"no stream", cut(77), err::kReadFault},
        {"first stream byte", patched(77, 0xFF), err::kReadFault},
        {"stream cut in the data", cut(good.size() / 2), err::kEndOfFile},
    };
    for (const auto& k : cases) {
        RecordingSink sink;
        EXPECT_EQ(Unpack(k.bytes, sink), k.want) << k.name;
        EXPECT_FALSE(sink.finished) << k.name;
    }
}

TEST(UnpackEngine, DamagedEntriesGiveTheirCodes) {
    const auto data = RandomBytes(3000, 7);
    auto withWord = [&](size_t at, uint32_t v) {
        auto e = EntryBytes(kEngineIdLow, kEngineIdHigh, data.size(), data);
        PutLe32(e.data() + at, v);
        return e;
    };
    auto concat = [](std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> decoded;
        uint32_t want;
    };
    const std::vector<Case> cases = {
        {"entry magic", withWord(0, 0x33667A75), err::kInvalidData},
        {"second word", withWord(4, 1), err::kDataCheck},
        {"no engine entry", EntryBytes(1, 0, data.size(), data), err::kReadFault},
        {"short entry header", std::vector<uint8_t>(data.begin(), data.begin() + 40),
         err::kReadFault},
        {"engine data short", EntryBytes(kEngineIdLow, kEngineIdHigh, data.size() + 1, data),
         err::kEndOfFile},
        {"skipped data short", EntryBytes(1, 0, 1ull << 40, data), err::kEndOfFile},
        {"engine beyond 2 GiB", EntryBytes(kEngineIdLow, kEngineIdHigh, 1ull << 31, data),
         err::kInvalidData},
        {"engine of size 0", concat(EntryBytes(kEngineIdLow, kEngineIdHigh, 0, {}), data),
         err::kOk},
        {"only the high word matches", EntryBytes(5, kEngineIdHigh, data.size(), data),
         err::kReadFault},
    };
    for (const auto& k : cases) {
        RecordingSink sink;
        EXPECT_EQ(Unpack(RawContainer(k.decoded), sink), k.want) << k.name;
    }
}

TEST(UnpackEngine, EntriesWalkedAreBounded) {
    const auto small = RandomBytes(10, 8);
    std::vector<PackEntry> entries;
    for (uint32_t i = 1; i <= 4; ++i)
        entries.push_back(Other(i, small));
    entries.push_back(Engine(small));
    const auto c = Container(entries);
    UnpackLimits limits;
    limits.maxEntries = 4;
    RecordingSink fits;
    EXPECT_EQ(Unpack(c, fits, limits), err::kOk);
    limits.maxEntries = 3;
    RecordingSink over;
    EXPECT_EQ(Unpack(c, over, limits), err::kInvalidData);
    EXPECT_FALSE(over.created);
}

TEST(UnpackEngine, SinkAndSourceErrorsPassThrough) {
    const auto engine = RandomBytes(100000, 9);
    const auto c = Container({Engine(engine)});
    {
        RecordingSink sink;
        sink.createError = 80;
        EXPECT_EQ(Unpack(c, sink), 80u);
    }
    {
        RecordingSink sink;
        sink.writeError = 112;
        EXPECT_EQ(Unpack(c, sink), 112u);
    }
    {
        RecordingSink sink;
        sink.writeNothing = true;
        EXPECT_EQ(Unpack(c, sink), err::kDiskFull);
    }
    for (size_t failAt : {size_t(0), size_t(70), c.size() / 2}) {
        FailingSource src(c, failAt);
        RecordingSink sink;
        EXPECT_EQ(UnpackEngine(src, sink), 5u) << failAt;
    }
}

// Counts the allocator's traffic so leaks and oversized requests show.
struct CountingAllocator {
    size_t live = 0;
    size_t largest = 0;
    size_t calls = 0;

    static void* Alloc(void* self, size_t n, size_t size) {
        auto* a = static_cast<CountingAllocator*>(self);
        const size_t bytes = n * size;
        a->largest = std::max(a->largest, bytes);
        ++a->calls;
        if (bytes > (size_t(512) << 20))
            return nullptr; // refuse what a 32-bit process could not get
        void* p = std::malloc(bytes);
        if (p)
            ++a->live;
        return p;
    }
    static void Free(void* self, void* p) {
        if (p) {
            --static_cast<CountingAllocator*>(self)->live;
            std::free(p);
        }
    }
};

TEST(UnpackEngine, DictionaryIsClampedAndEverythingFreed) {
    const auto engine = RandomBytes(3000, 10);
    for (uint32_t dict : {0u, 1u, 4096u, 0xFFFFFFFFu}) {
        auto c = Container({Engine(engine)});
        PutLe32(c.data() + 73, dict);
        CountingAllocator counter;
        const lzma_allocator alloc{CountingAllocator::Alloc, CountingAllocator::Free, &counter};
        MemorySource src(c.data(), c.size());
        RecordingSink sink;
        UnpackLimits limits;
        limits.maxDictionary = 1u << 20;
        EXPECT_EQ(UnpackEngine(src, sink, &alloc, limits), err::kOk) << dict;
        EXPECT_EQ(sink.data, engine);
        EXPECT_LE(counter.largest, (1u << 20) + 4096) << dict;
        EXPECT_EQ(counter.live, 0u) << dict;
    }
}

TEST(UnpackEngine, StreamNeedingALargerWindowFailsCleanly) {
    // 300 KiB of noise repeated: the repeat refers 300 KiB back.
    auto chunk = RandomBytes(300 * 1024, 11);
    std::vector<uint8_t> engine = chunk;
    engine.insert(engine.end(), chunk.begin(), chunk.end());
    const auto c = Container({Engine(engine)});
    UnpackLimits limits;
    limits.maxDictionary = 64 * 1024;
    RecordingSink sink;
    EXPECT_EQ(Unpack(c, sink, limits), err::kReadFault);
}

TEST(UnpackEngine, EveryTruncationFailsWithoutOverrun) {
    const auto other = RandomBytes(300, 12);
    const auto engine = RandomBytes(700, 13);
    StubOptions small;
    small.dictSize = 64 * 1024; // keeps the many decoder set-ups cheap
    const auto c = Container({Other(1, other), Engine(engine)}, small);
    for (size_t n = 0; n < c.size(); ++n) {
        const std::vector<uint8_t> cut(c.begin(), c.begin() + n);
        RecordingSink sink;
        const uint32_t rc = Unpack(cut, sink);
        // The stream carries an end marker, so only the very end may still
        // decode everything.
        if (rc == err::kOk) {
            EXPECT_GT(n, c.size() - 16) << n;
            EXPECT_EQ(sink.data, engine);
        } else {
            EXPECT_FALSE(sink.finished) << n;
        }
    }
}

} // namespace
} // namespace vyk
