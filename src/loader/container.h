// The stub container that carries the installer engine library inside the
// loader's own executable, and the walk that unpacks the engine from it.
//
// Layout: a 64-byte header ("tiz3", version word, flags), an 8-byte check
// pair, 5 bytes of LZMA properties and a raw LZMA1 stream. The stream
// decodes to entries, each a 64-byte entry header ("tzf3") and its data.
//
// The walk is portable: it reads through a ByteSource and writes the engine
// through an EngineSink, so the Windows program supplies files and the tests
// supply memory. Results are the platform's error numbers (0 for success).
#pragma once

#include <lzma.h>

#include <cstddef>
#include <cstdint>

namespace vyk {

// Unpacking results, with the platform's error numbers.
namespace err {
inline constexpr uint32_t kOk = 0;
inline constexpr uint32_t kNotEnoughMemory = 8;
inline constexpr uint32_t kInvalidData = 13;
inline constexpr uint32_t kDataCheck = 23; // entry header word is not 0
inline constexpr uint32_t kReadFault = 30; // decoding failure or short entry header
inline constexpr uint32_t kEndOfFile = 38; // entry data ends early
inline constexpr uint32_t kDiskFull = 39;  // a write that wrote nothing
inline constexpr uint32_t kBadProperties = 1114;
inline constexpr uint32_t kCheckPair = 6001; // check pair mismatch with flag bit 0
} // namespace err

inline constexpr size_t kContainerHeaderSize = 64;
inline constexpr size_t kCheckPairSize = 8;
inline constexpr size_t kPropertiesSize = 5;
inline constexpr size_t kEntryHeaderSize = 64;
// Reads go through a buffer of this size, and entry data moves in pieces of
// at most this size.
inline constexpr size_t kPieceSize = 64 * 1024;

inline constexpr uint32_t kContainerMagic = 0x337A6974; // "tiz3"
inline constexpr uint32_t kContainerVersion = 0x00070004;
inline constexpr uint32_t kCheckPairXor = 0x35BC6F82;
inline constexpr uint32_t kEntryMagic = 0x33667A74; // "tzf3"
inline constexpr uint32_t kEngineIdLow = 0xFFFF000E;
inline constexpr uint32_t kEngineIdHigh = 0xFFFFFFFF;
inline constexpr uint8_t kMaxPropertiesByte = 224; // (4 * 5 + 4) * 9 + 8

// Offsets in the container header.
inline constexpr size_t kOffMagic = 16;
inline constexpr size_t kOffVersion = 20;
inline constexpr size_t kOffFlags = 24;
inline constexpr size_t kOffPayloadSize = 32;
inline constexpr size_t kOffPackageCode = 48; // archive header only
inline constexpr uint32_t kFlagCheckExpectedToFail = 1;

struct EntryHeader {
    uint32_t idLow = 0;
    uint32_t idHigh = 0;
    uint64_t size = 0;
    uint64_t fileTime = 0; // platform file time of the last write
    uint32_t attributes = 0;

    bool IsEngine() const { return idLow == kEngineIdLow && idHigh == kEngineIdHigh; }
};

// Reads the fields of a 64-byte entry header (magic and second word are
// checked by the caller).
EntryHeader ParseEntryHeader(const uint8_t* p);
// Writes a complete entry header (magic, zero word, fields, zeros elsewhere).
void WriteEntryHeader(uint8_t* p, const EntryHeader& h);

// Limits that keep a crafted container from costing without bound. The
// defaults are generous for any real installer.
struct UnpackLimits {
    // Entries walked before the engine's; each costs at least its header.
    uint32_t maxEntries = 4096;
    // A 32-bit process cannot map a larger library.
    uint64_t maxEngineSize = 0x7FFFFFFF;
    // The decoder's window is clamped to this. A stream that really refers
    // further back then fails as a decoding error instead of making the
    // loader reserve up to 4 GiB on the say-so of 4 stored bytes.
    uint32_t maxDictionary = 256u * 1024 * 1024;
};

// Where the container's bytes come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to n bytes into buf and sets got (0 at the end); returns 0 or
    // a platform error number.
    virtual uint32_t Read(uint8_t* buf, size_t n, size_t& got) = 0;
};

// Where the engine library goes.
class EngineSink {
public:
    virtual ~EngineSink() = default;
    // Creates the target; returns 0 or a platform error number.
    virtual uint32_t Create(const EntryHeader& h) = 0;
    // Writes up to n bytes and sets written; returns 0 or a platform error
    // number. Writing nothing without an error means the disk is full.
    virtual uint32_t Write(const uint8_t* buf, size_t n, size_t& written) = 0;
    // Applies the entry's time and attributes and closes the target.
    virtual uint32_t Finish(const EntryHeader& h) = 0;
};

// Reads the container from src and hands the engine entry's data to sink.
// alloc, when given, serves every allocation (decoder and buffers).
uint32_t UnpackEngine(ByteSource& src, EngineSink& sink, const lzma_allocator* alloc = nullptr,
                      const UnpackLimits& limits = {});

// A ByteSource over bytes in memory.
class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint32_t Read(uint8_t* buf, size_t n, size_t& got) override;

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

inline uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
inline uint64_t Le64(const uint8_t* p) {
    return Le32(p) | uint64_t(Le32(p + 4)) << 32;
}
inline void PutLe32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void PutLe16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void PutLe64(uint8_t* p, uint64_t v) {
    PutLe32(p, uint32_t(v));
    PutLe32(p + 4, uint32_t(v >> 32));
}

} // namespace vyk
