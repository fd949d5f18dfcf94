// The stub container walk over arbitrary bytes: it must end with a result,
// never hand the sink more than the entry's size, and free what it took.
#include "loader/container.h"

#include <cstdlib>

namespace {

class CheckingSink : public vyk::EngineSink {
public:
    uint64_t size = 0;
    uint64_t written = 0;
    uint32_t Create(const vyk::EntryHeader& h) override {
        size = h.size;
        return 0;
    }
    uint32_t Write(const uint8_t*, size_t n, size_t& w) override {
        if (n == 0 || n > vyk::kPieceSize)
            std::abort();
        written += n;
        if (written > size)
            std::abort(); // written past the entry's size
        w = n;
        return 0;
    }
    uint32_t Finish(const vyk::EntryHeader& h) override {
        if (written != h.size)
            std::abort();
        return 0;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vyk::MemorySource src(data, size);
    CheckingSink sink;
    vyk::UnpackLimits limits;
    limits.maxDictionary = 1u << 22; // the clamp itself is what is exercised
    vyk::UnpackEngine(src, sink, nullptr, limits);
    return 0;
}
