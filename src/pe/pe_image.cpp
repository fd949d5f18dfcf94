#include "pe/pe_image.h"

#include <algorithm>

namespace orv::pe {

namespace {

// Reads n bytes at offset, or returns false when they are not in the file.
bool ReadAt(Stream& s, int64_t fileSize, uint64_t offset, void* buf, size_t n) {
    if (!InRange(offset, n, static_cast<uint64_t>(fileSize)))
        return false;
    s.Seek(static_cast<int64_t>(offset));
    return s.Read(buf, n) == n;
}

} // namespace

uint64_t Headers::RawEnd() const {
    uint64_t end = sizeOfHeaders;
    for (const Section& sec : sections)
        if (sec.rawSize != 0)
            end = std::max(end, uint64_t{sec.rawOffset} + sec.rawSize);
    return end;
}

HeaderFault ReadHeaders(Stream& s, Headers& h, bool strict) {
    h = Headers{};
    // Offsets in a PE file are 32-bit; bytes beyond 4 GB cannot be addressed
    // by the headers, so the checks stop there and no sum below overflows.
    h.fileSize = std::min<int64_t>(s.Size(), 0xFFFFFFF0);
    uint8_t dos[64];
    if (!ReadAt(s, h.fileSize, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return HeaderFault::NotMz;
    h.peOffset = GetU32(dos + 60);
    if (h.peOffset == 0)
        return HeaderFault::NoPeOffset;
    uint8_t fileHeader[24];
    if (!ReadAt(s, h.fileSize, h.peOffset, fileHeader, sizeof fileHeader) || fileHeader[0] != 'P' ||
        fileHeader[1] != 'E' || fileHeader[2] != 0 || fileHeader[3] != 0)
        return HeaderFault::NoPeSignature;
    h.sectionCount = GetU16(fileHeader + 6);
    h.optionalSize = GetU16(fileHeader + 20);
    h.optionalOffset = h.peOffset + 24; // cannot overflow: peOffset + 24 lies in the file
    if (strict && h.optionalSize != kPe32OptionalHeaderSize &&
        h.optionalSize != kPe32PlusOptionalHeaderSize)
        return HeaderFault::OptionalSize;
    std::vector<uint8_t> opt(h.optionalSize);
    if (h.optionalSize < 2 || !ReadAt(s, h.fileSize, h.optionalOffset, opt.data(), opt.size()))
        return HeaderFault::OptionalSize;
    h.magic = GetU16(opt.data());
    if (strict) {
        // The size decides first: 240 bytes are more than a 32-bit header
        // holds. Then the magic must be the one of the size.
        if (h.optionalSize == kPe32PlusOptionalHeaderSize && h.magic == kPe32Magic)
            return HeaderFault::OptionalSize;
        uint16_t expected = h.optionalSize == kPe32OptionalHeaderSize ? kPe32Magic : kPe32PlusMagic;
        if (h.magic != expected)
            return HeaderFault::BadMagic;
    } else if (h.magic != kPe32Magic && h.magic != kPe32PlusMagic) {
        return HeaderFault::BadMagic;
    }
    // NumberOfRvaAndSizes, followed by the directories.
    uint32_t countAt = h.Is64() ? 108 : 92;
    uint32_t dirsAt = countAt + 4;
    if (h.optionalSize < dirsAt)
        return HeaderFault::OptionalSize;
    h.sectionAlignment = GetU32(opt.data() + 32);
    h.fileAlignment = GetU32(opt.data() + 36);
    h.sizeOfImage = GetU32(opt.data() + 56);
    h.sizeOfHeaders = GetU32(opt.data() + 60);
    h.checkSum = GetU32(opt.data() + 64);
    // Only the directories that both the count and the header's size hold.
    uint32_t announced = GetU32(opt.data() + countAt);
    h.directoryCount = std::min({announced, (h.optionalSize - dirsAt) / 8u, 16u});
    h.directoryOffset = h.optionalOffset + dirsAt;
    if (h.directoryCount > kResourceDirectory) {
        h.resourceRva = GetU32(opt.data() + dirsAt + 8 * kResourceDirectory);
        h.resourceSize = GetU32(opt.data() + dirsAt + 8 * kResourceDirectory + 4);
    }

    h.sectionTableOffset = h.optionalOffset + h.optionalSize;
    if (h.sectionCount > kMaxSections)
        return HeaderFault::DamagedSections;
    std::vector<uint8_t> table(size_t{h.sectionCount} * kSectionHeaderSize);
    if (!table.empty() && !ReadAt(s, h.fileSize, h.sectionTableOffset, table.data(), table.size()))
        return HeaderFault::DamagedSections;
    for (uint32_t i = 0; i < h.sectionCount; ++i) {
        const uint8_t* p = table.data() + i * kSectionHeaderSize;
        Section sec;
        size_t len = 0;
        while (len < 8 && p[len] != 0)
            ++len;
        sec.name.assign(reinterpret_cast<const char*>(p), len);
        sec.virtualSize = GetU32(p + 8);
        sec.virtualAddress = GetU32(p + 12);
        sec.rawSize = GetU32(p + 16);
        sec.rawOffset = GetU32(p + 20);
        sec.characteristics = GetU32(p + 36);
        sec.headerOffset = h.sectionTableOffset + i * kSectionHeaderSize;
        h.sections.push_back(sec);
    }
    return HeaderFault::None;
}

int FindSectionStartingAt(const Headers& h, uint32_t rva) {
    for (size_t i = 0; i < h.sections.size(); ++i)
        if (h.sections[i].virtualAddress == rva && h.sections[i].rawSize != 0)
            return static_cast<int>(i);
    return -1;
}

int FindSectionHolding(const Headers& h, uint32_t rva) {
    for (size_t i = 0; i < h.sections.size(); ++i) {
        const Section& sec = h.sections[i];
        if (sec.rawSize != 0 && rva >= sec.virtualAddress && rva < sec.VirtualEnd())
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<uint8_t> ReadSectionBytes(Stream& s, const Headers& h, const Section& section) {
    uint64_t fileSize = static_cast<uint64_t>(h.fileSize);
    if (section.rawOffset >= fileSize)
        return {};
    uint64_t n = std::min<uint64_t>(section.rawSize, fileSize - section.rawOffset);
    std::vector<uint8_t> bytes(static_cast<size_t>(n));
    s.Seek(section.rawOffset);
    s.ReadExact(bytes.data(), bytes.size());
    return bytes;
}

uint32_t ComputeCheckSum(const std::vector<uint8_t>& file, uint32_t checkSumOffset) {
    uint64_t sum = 0;
    size_t n = file.size();
    for (size_t i = 0; i < n; i += 2) {
        uint32_t word = file[i];
        if (i + 1 < n)
            word |= uint32_t{file[i + 1]} << 8;
        // The checksum field itself counts as zero.
        if (i >= checkSumOffset && i < uint64_t{checkSumOffset} + 4)
            word = 0;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + n);
}

} // namespace orv::pe
