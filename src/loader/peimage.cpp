#include "loader/peimage.h"

#include "loader/container.h"

#include <algorithm>
#include <cstring>

namespace vyk {

namespace {

constexpr size_t kDosHeaderSize = 64;
constexpr size_t kNewHeaderOffset = 60;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kMaxSections = 96;
// SizeOfImage is a 32-bit field in both formats, and the system maps no
// image of 2 GiB or more, 64-bit ones included.
constexpr uint64_t kMaxImageSize = 0x7FFFFFFF;

// Offsets in the optional header that are the same in both formats: the
// 64-bit format widens only fields after them (image base, stack and heap
// sizes) and drops BaseOfData.
constexpr size_t kOptSizeOfInitData = 8;
constexpr size_t kOptSectionAlign = 32;
constexpr size_t kOptFileAlign = 36;
constexpr size_t kOptSizeOfImage = 56;
constexpr size_t kOptSizeOfHeaders = 60;
constexpr size_t kOptChecksum = 64;

// Where the formats differ: the count of data directories and the
// directories themselves, which end the optional header.
struct OptLayout {
    size_t numDirs;
    size_t fixedSize; // the optional header without directories
};
constexpr OptLayout kPe32Layout = {92, 96};
constexpr OptLayout kPe32PlusLayout = {108, 112};

bool HasSignatures(const uint8_t* p, size_t size, size_t& peOffset) {
    if (size < kDosHeaderSize || p[0] != 'M' || p[1] != 'Z')
        return false;
    peOffset = Le32(p + kNewHeaderOffset);
    if (peOffset > size || size - peOffset < 4 + kFileHeaderSize)
        return false;
    return std::memcmp(p + peOffset, "PE\0\0", 4) == 0;
}

Section ReadSection(const uint8_t* p) {
    Section s;
    std::memcpy(s.name.data(), p, 8);
    s.virtualSize = Le32(p + 8);
    s.virtualAddress = Le32(p + 12);
    s.rawSize = Le32(p + 16);
    s.rawOffset = Le32(p + 20);
    s.characteristics = Le32(p + 36);
    return s;
}

void WriteSection(uint8_t* p, const Section& s) {
    std::memset(p, 0, kSectionHeaderSize);
    std::memcpy(p, s.name.data(), 8);
    PutLe32(p + 8, s.virtualSize);
    PutLe32(p + 12, s.virtualAddress);
    PutLe32(p + 16, s.rawSize);
    PutLe32(p + 20, s.rawOffset);
    PutLe32(p + 36, s.characteristics);
}

bool IsPowerOfTwo(uint32_t v) {
    return v && !(v & (v - 1));
}

uint64_t AlignUp(uint64_t v, uint32_t a) {
    return (v + a - 1) / a * a;
}

// The end of a section in memory; the system takes the raw size when the
// virtual size is 0.
uint64_t VirtualEnd(const Section& s) {
    return uint64_t(s.virtualAddress) + (s.virtualSize ? s.virtualSize : s.rawSize);
}

std::array<char, 8> SectionName(std::string_view name) {
    std::array<char, 8> n{};
    std::memcpy(n.data(), name.data(), std::min<size_t>(name.size(), 8));
    return n;
}

} // namespace

std::string Section::Name() const {
    return std::string(name.data(), strnlen(name.data(), name.size()));
}

ImageCheck FindStubSection(const uint8_t* image, size_t size, StubLocation& out) {
    size_t pe = 0;
    if (!HasSignatures(image, size, pe))
        return ImageCheck::NoSignature;
    const uint8_t* fh = image + pe + 4;
    const uint32_t count = Le16(fh + 2);
    const size_t table = pe + 4 + kFileHeaderSize + Le16(fh + 16);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = table + size_t(i) * kSectionHeaderSize;
        if (at > size || size - at < kSectionHeaderSize)
            break;
        if (std::memcmp(image + at, kStubSectionName, 8) != 0)
            continue;
        Section s = ReadSection(image + at);
        if (s.rawOffset == 0)
            return ImageCheck::NoStubSection;
        out.rawOffset = s.rawOffset;
        out.rawSize = s.rawSize;
        return ImageCheck::Ok;
    }
    return ImageCheck::NoStubSection;
}

ImageFormat DetectImageFormat(const uint8_t* image, size_t size) {
    size_t pe = 0;
    if (!HasSignatures(image, size, pe))
        return ImageFormat::Unknown;
    const size_t opt = pe + 4 + kFileHeaderSize;
    if (Le16(image + pe + 4 + 16) < 2 || size - opt < 2)
        return ImageFormat::Unknown;
    switch (Le16(image + opt)) {
    case kPe32Magic:
        return ImageFormat::Pe32;
    case kPe32PlusMagic:
        return ImageFormat::Pe32Plus;
    default:
        return ImageFormat::Unknown;
    }
}

bool PeFile::Parse(std::vector<uint8_t> bytes, std::string& error) {
    *this = PeFile();
    const uint8_t* p = bytes.data();
    const size_t size = bytes.size();
    if (!HasSignatures(p, size, peOffset_)) {
        error = "not a PE executable (no MZ and PE signatures)";
        return false;
    }
    const uint8_t* fh = p + peOffset_ + 4;
    const uint32_t count = Le16(fh + 2);
    optSize_ = Le16(fh + 16);
    optOffset_ = peOffset_ + 4 + kFileHeaderSize;
    tableOffset_ = optOffset_ + optSize_;
    // The magic comes first in both formats; the rest of the size check
    // waits until the format is known.
    if (tableOffset_ > size || optSize_ < 2) {
        error = "the optional header is cut short";
        return false;
    }
    const uint8_t* opt = p + optOffset_;
    const uint16_t magic = Le16(opt);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) {
        error = "not a PE32 or PE32+ image";
        return false;
    }
    is64_ = magic == kPe32PlusMagic;
    const OptLayout& layout = is64_ ? kPe32PlusLayout : kPe32Layout;
    optFixedSize_ = layout.fixedSize;
    optNumDirsOffset_ = layout.numDirs;
    if (optSize_ < optFixedSize_) {
        error = "the optional header is cut short";
        return false;
    }
    numDirs_ = Le32(opt + optNumDirsOffset_);
    if (numDirs_ > 16 || optFixedSize_ + numDirs_ * 8 > optSize_) {
        error = "bad number of data directories";
        return false;
    }
    for (uint32_t i = 0; i < numDirs_; ++i) {
        dirs_[i][0] = Le32(opt + optFixedSize_ + i * 8);
        dirs_[i][1] = Le32(opt + optFixedSize_ + i * 8 + 4);
    }
    fileAlign_ = Le32(opt + kOptFileAlign);
    sectionAlign_ = Le32(opt + kOptSectionAlign);
    sizeOfHeaders_ = Le32(opt + kOptSizeOfHeaders);
    if (!IsPowerOfTwo(fileAlign_) || !IsPowerOfTwo(sectionAlign_) || fileAlign_ > 0x10000 ||
        sectionAlign_ > 0x10000 || sectionAlign_ < fileAlign_ || sizeOfHeaders_ > size) {
        error = "bad alignment or header size";
        return false;
    }
    if (count > kMaxSections || tableOffset_ + count * kSectionHeaderSize > size ||
        tableOffset_ + count * kSectionHeaderSize > sizeOfHeaders_) {
        error = "the section table does not fit in the headers";
        return false;
    }
    size_t firstRaw = sizeOfHeaders_;
    uint64_t lastEnd = 0;
    for (uint32_t i = 0; i < count; ++i) {
        Section s = ReadSection(p + tableOffset_ + i * kSectionHeaderSize);
        if (s.rawSize && (s.rawOffset > size || size - s.rawOffset < s.rawSize)) {
            error = "section " + s.Name() + " lies beyond the end of the file";
            return false;
        }
        if (s.virtualAddress < lastEnd) {
            error = "sections are not in ascending address order";
            return false;
        }
        if (VirtualEnd(s) > kMaxImageSize) {
            error = "section " + s.Name() + " reaches beyond 2 GiB";
            return false;
        }
        lastEnd = VirtualEnd(s);
        if (s.rawSize && s.rawOffset)
            firstRaw = std::min<size_t>(firstRaw, s.rawOffset);
        sections_.push_back(s);
    }
    headerRoom_ = firstRaw > tableOffset_ ? firstRaw - tableOffset_ : 0;
    bytes_ = std::move(bytes);
    return true;
}

const Section* PeFile::FindSection(std::string_view name) const {
    for (const Section& s : sections_) {
        if (s.Name() == name)
            return &s;
    }
    return nullptr;
}

uint32_t PeFile::DirectoryRva(int index) const {
    return index >= 0 && uint32_t(index) < numDirs_ ? dirs_[index][0] : 0;
}

uint32_t PeFile::DirectorySize(int index) const {
    return index >= 0 && uint32_t(index) < numDirs_ ? dirs_[index][1] : 0;
}

const uint8_t* PeFile::RvaSpan(uint32_t rva, size_t& available) const {
    available = 0;
    const size_t original = sections_.size() - added_.size();
    for (size_t i = 0; i < original; ++i) {
        const Section& s = sections_[i];
        // Only the bytes that are both in the file and mapped count.
        const uint32_t mapped = s.virtualSize ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
        if (rva < s.virtualAddress || rva - s.virtualAddress >= mapped)
            continue;
        const uint32_t off = rva - s.virtualAddress;
        available = mapped - off;
        return bytes_.data() + s.rawOffset + off;
    }
    return nullptr;
}

const uint8_t* PeFile::RvaPointer(uint32_t rva, uint32_t size) const {
    size_t available = 0;
    const uint8_t* p = RvaSpan(rva, available);
    return p && available >= size ? p : nullptr;
}

uint32_t PeFile::NextSectionRva() const {
    uint64_t end = AlignUp(sizeOfHeaders_, sectionAlign_);
    for (const Section& s : sections_)
        end = std::max(end, AlignUp(VirtualEnd(s), sectionAlign_));
    return uint32_t(end);
}

bool PeFile::AddSection(std::string_view name, std::vector<uint8_t> data, uint32_t characteristics,
                        std::string& error) {
    if ((sections_.size() + 1) * kSectionHeaderSize > headerRoom_) {
        error = "no room for another section header";
        return false;
    }
    const uint64_t rva = NextSectionRva();
    if (rva + AlignUp(data.size(), sectionAlign_) > kMaxImageSize) {
        error = "the image would grow beyond 2 GiB";
        return false;
    }
    Section s;
    s.name = SectionName(name);
    s.virtualAddress = uint32_t(rva);
    s.virtualSize = uint32_t(data.size());
    s.rawSize = uint32_t(AlignUp(data.size(), fileAlign_));
    s.characteristics = characteristics;
    sections_.push_back(s); // raw offsets are given out by Build
    added_.push_back({std::move(data)});
    return true;
}

void PeFile::RenameSection(size_t index, std::string_view name) {
    if (index < sections_.size())
        sections_[index].name = SectionName(name);
}

bool PeFile::SetDirectory(int index, uint32_t rva, uint32_t size) {
    if (index < 0 || index >= 16)
        return false;
    if (uint32_t(index) >= numDirs_) {
        if (optFixedSize_ + (size_t(index) + 1) * 8 > optSize_)
            return false;
        // Directories that were not there read as empty.
        for (uint32_t i = numDirs_; i <= uint32_t(index); ++i)
            dirs_[i][0] = dirs_[i][1] = 0;
        numDirs_ = uint32_t(index) + 1;
    }
    dirs_[index][0] = rva;
    dirs_[index][1] = size;
    return true;
}

std::vector<uint8_t> PeFile::Build() const {
    const size_t original = sections_.size() - added_.size();
    size_t end = sizeOfHeaders_;
    for (size_t i = 0; i < original; ++i) {
        const Section& s = sections_[i];
        if (s.rawSize)
            end = std::max<size_t>(end, size_t(s.rawOffset) + s.rawSize);
    }
    std::vector<Section> table = sections_;
    std::vector<uint8_t> out(bytes_.begin(), bytes_.begin() + std::min(end, bytes_.size()));
    out.resize(AlignUp(out.size(), fileAlign_), 0);
    uint32_t addedInit = 0;
    for (size_t k = 0; k < added_.size(); ++k) {
        Section& s = table[original + k];
        s.rawOffset = uint32_t(out.size());
        out.insert(out.end(), added_[k].data.begin(), added_[k].data.end());
        out.resize(size_t(s.rawOffset) + s.rawSize, 0);
        addedInit += s.rawSize;
    }

    uint8_t* fh = out.data() + peOffset_ + 4;
    PutLe16(fh + 2, uint16_t(table.size()));
    PutLe32(fh + 8, 0); // symbol table pointer: the symbols were dropped
    PutLe32(fh + 12, 0);
    uint8_t* opt = out.data() + optOffset_;
    PutLe32(opt + kOptSizeOfInitData, Le32(opt + kOptSizeOfInitData) + addedInit);
    PutLe32(opt + kOptSizeOfImage, NextSectionRva());
    PutLe32(opt + optNumDirsOffset_, numDirs_);
    uint32_t dirs[16][2];
    std::memcpy(dirs, dirs_, sizeof dirs);
    dirs[kDirSecurity][0] = dirs[kDirSecurity][1] = 0;
    for (uint32_t i = 0; i < numDirs_; ++i) {
        PutLe32(opt + optFixedSize_ + i * 8, dirs[i][0]);
        PutLe32(opt + optFixedSize_ + i * 8 + 4, dirs[i][1]);
    }
    for (size_t i = 0; i < table.size(); ++i)
        WriteSection(out.data() + tableOffset_ + i * kSectionHeaderSize, table[i]);
    PutLe32(opt + kOptChecksum, 0);
    PutLe32(opt + kOptChecksum, PeChecksum(out));
    return out;
}

uint32_t PeChecksum(const std::vector<uint8_t>& file) {
    uint64_t sum = 0;
    const size_t n = file.size();
    for (size_t i = 0; i < n; i += 2) {
        sum += file[i] | (i + 1 < n ? file[i + 1] << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return uint32_t(sum + n);
}

} // namespace vyk
