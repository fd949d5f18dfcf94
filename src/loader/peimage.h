// PE headers of 32-bit (PE32) and 64-bit (PE32+) images: the loader's
// look-up of its own stub section, and the small editor with which the
// packer adds sections to a copy of the loader. Every offset and count read
// from the bytes is checked against the bytes that are there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyk {

inline constexpr const char* kStubSectionName = ".vykstub";
inline constexpr const char* kArchiveSectionName = ".vykarch";
inline constexpr uint32_t kReadOnlyDataSection = 0x40000040; // initialized data, readable
inline constexpr int kDirResource = 2;
inline constexpr int kDirSecurity = 4;

enum class ImageCheck { Ok, NoSignature, NoStubSection };

struct StubLocation {
    uint32_t rawOffset = 0;
    uint32_t rawSize = 0;
};

// Checks the "MZ" and "PE\0\0" signatures of an image whose first size bytes
// are at image, and finds the first section named ".vykstub". The section
// table follows the optional header, whatever its size, so this serves both
// formats. A section with raw-data offset 0 does not count. Section headers
// beyond size are treated as missing.
ImageCheck FindStubSection(const uint8_t* image, size_t size, StubLocation& out);

enum class ImageFormat { Unknown, Pe32, Pe32Plus };

// The format named by the optional header's magic; Unknown when the bytes
// are not a PE image or the magic is neither.
ImageFormat DetectImageFormat(const uint8_t* image, size_t size);

struct Section {
    std::array<char, 8> name{};
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
    uint32_t characteristics = 0;

    std::string Name() const;
};

// A PE32 or PE32+ file in memory that can gain sections at the end of its
// image.
class PeFile {
public:
    // Parses the file; false with a reason when it is not an image that can
    // be edited.
    bool Parse(std::vector<uint8_t> bytes, std::string& error);

    bool Is64Bit() const { return is64_; }

    const std::vector<Section>& Sections() const { return sections_; }
    const Section* FindSection(std::string_view name) const;
    uint32_t DirectoryRva(int index) const;
    uint32_t DirectorySize(int index) const;

    // The file bytes of [rva, rva + size) when they lie in one section's raw
    // data; nullptr otherwise.
    const uint8_t* RvaPointer(uint32_t rva, uint32_t size) const;
    // The file bytes from rva to the end of its section's mapped raw data;
    // nullptr when rva is in none.
    const uint8_t* RvaSpan(uint32_t rva, size_t& available) const;

    // The relative address the next added section gets.
    uint32_t NextSectionRva() const;

    // Appends a section after the image and its raw data after the file's
    // sections; false when the header has no room for another entry.
    bool AddSection(std::string_view name, std::vector<uint8_t> data, uint32_t characteristics,
                    std::string& error);
    void RenameSection(size_t index, std::string_view name);
    // Sets a data directory, adding directories up to it when the optional
    // header has room for them; false when it has not.
    bool SetDirectory(int index, uint32_t rva, uint32_t size);

    // The edited file: headers, every section's raw data, and the added
    // sections. Data after the last section (symbols, a signature that the
    // edit would break anyway) is dropped. The checksum is recomputed.
    std::vector<uint8_t> Build() const;

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    struct Added {
        std::vector<uint8_t> data;
    };

    std::vector<uint8_t> bytes_;
    std::vector<Section> sections_;
    std::vector<Added> added_; // data of the last added_.size() sections
    size_t peOffset_ = 0;
    size_t optOffset_ = 0;
    size_t tableOffset_ = 0;
    uint32_t optSize_ = 0;
    bool is64_ = false;
    size_t optFixedSize_ = 0; // the optional header without directories
    size_t optNumDirsOffset_ = 0;
    uint32_t fileAlign_ = 0;
    uint32_t sectionAlign_ = 0;
    uint32_t sizeOfHeaders_ = 0;
    uint32_t numDirs_ = 0;
    uint32_t dirs_[16][2] = {};
    size_t headerRoom_ = 0; // bytes available for section headers
};

// The checksum of a PE file whose checksum field is zero: 16-bit words summed
// with end-around carry, plus the file length.
uint32_t PeChecksum(const std::vector<uint8_t>& file);

} // namespace vyk
