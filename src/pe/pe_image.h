// The headers of a PE executable: the DOS stub's pointer, the file header,
// the optional header's fields that resource editing needs, the data
// directories and the section table. Every field is read through a bounded
// stream and every offset is checked against the file's size before use.
#pragma once

#include "base/stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::pe {

inline constexpr uint16_t kPe32Magic = 0x10B;
inline constexpr uint16_t kPe32PlusMagic = 0x20B;
inline constexpr uint32_t kResourceDirectory = 2;
inline constexpr uint32_t kSecurityDirectory = 4;
// The sizes of the optional header with all 16 directories: a 32-bit
// (PE32) image and a 64-bit (PE32+) one. The 64-bit header is longer because
// its image base and its four stack and heap sizes are 8 bytes wide (and it
// has no base of data).
inline constexpr uint16_t kPe32OptionalHeaderSize = 224;
inline constexpr uint16_t kPe32PlusOptionalHeaderSize = 240;
inline constexpr uint32_t kSectionHeaderSize = 40;
// The platform's loader refuses more sections than this.
inline constexpr uint32_t kMaxSections = 96;

struct Section {
    std::string name; // up to 8 bytes, without padding zeros
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
    uint32_t characteristics = 0;
    uint32_t headerOffset = 0; // file offset of this section's header

    // The end of the section in the image: the larger of its two sizes.
    uint64_t VirtualEnd() const {
        return uint64_t{virtualAddress} + (virtualSize > rawSize ? virtualSize : rawSize);
    }
};

// What makes a file unusable, in the order the checks run.
enum class HeaderFault {
    None,
    NotMz,           // no "MZ" at the start (or shorter than the DOS header)
    NoPeOffset,      // the PE header offset at 60 is 0
    NoPeSignature,   // no "PE\0\0" there (or it lies outside the file)
    OptionalSize,    // the optional header has not the required size
    BadMagic,        // the optional header is of no image kind that is accepted
    DamagedSections, // the section table lies outside the file or is absurd
};

struct Headers {
    int64_t fileSize = 0;
    uint32_t peOffset = 0;
    uint16_t sectionCount = 0;
    uint16_t optionalSize = 0;
    uint16_t magic = 0;              // kPe32Magic or kPe32PlusMagic
    uint32_t optionalOffset = 0;     // peOffset + 24
    uint32_t sectionTableOffset = 0; // optionalOffset + optionalSize
    uint32_t sectionAlignment = 0;
    uint32_t fileAlignment = 0;
    uint32_t sizeOfImage = 0;
    uint32_t sizeOfHeaders = 0;
    uint32_t checkSum = 0;
    uint32_t directoryOffset = 0; // file offset of data directory 0
    uint32_t directoryCount = 0;  // directories present (at most 16)
    uint32_t resourceRva = 0;
    uint32_t resourceSize = 0;
    std::vector<Section> sections;

    bool Is64() const { return magic == kPe32PlusMagic; }
    // Fields at the same offsets in both kinds of optional header: those
    // before the image base, and those from the section alignment to the
    // checksum (the 32-bit base of data and image base take the 8 bytes of
    // the 64-bit image base).
    uint32_t CheckSumOffset() const { return optionalOffset + 64; }
    uint32_t SizeOfImageOffset() const { return optionalOffset + 56; }
    uint32_t SizeOfInitializedDataOffset() const { return optionalOffset + 8; }
    uint32_t DirectoryEntryOffset(uint32_t index) const { return directoryOffset + 8 * index; }
    // The end of the last section's raw data in the file.
    uint64_t RawEnd() const;
};

// Reads the headers from the stream (position is irrelevant). In strict mode
// the optional header must be complete, with all 16 directories, as the
// in-place version patch requires: 224 bytes of a 32-bit image or 240 bytes
// of a 64-bit one. A size other than these, or 240 bytes with the 32-bit
// magic (more than a 32-bit header holds), is OptionalSize; another magic,
// or the 64-bit magic on 224 bytes (a 32-bit header's size), is BadMagic.
// Otherwise 32- and 64-bit images with any number of directories are
// accepted.
HeaderFault ReadHeaders(Stream& s, Headers& h, bool strict);

// The section whose virtual address is exactly rva and that has raw data
// (strict), or the one whose image range holds rva; -1 when none.
int FindSectionStartingAt(const Headers& h, uint32_t rva);
int FindSectionHolding(const Headers& h, uint32_t rva);

// The raw bytes of a section as far as the file holds them.
std::vector<uint8_t> ReadSectionBytes(Stream& s, const Headers& h, const Section& section);

// The image's checksum as the platform computes it: 16-bit one's-complement
// style sum over the file with the checksum field taken as zero, plus the
// file's length.
uint32_t ComputeCheckSum(const std::vector<uint8_t>& file, uint32_t checkSumOffset);

// Little-endian helpers for bytes already in memory; the caller checks
// the offset first.
inline uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
// True when [offset, offset + size) lies within a buffer of total bytes,
// computed without overflow.
inline bool InRange(uint64_t offset, uint64_t size, uint64_t total) {
    return offset <= total && size <= total - offset;
}

} // namespace orv::pe
