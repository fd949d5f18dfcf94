// A small PE image built in the test, 32-bit (PE32) or 64-bit (PE32+): a few
// sections, a resource section with a version block, and a relocation
// section after it, as the linker lays out the loader. And a reader of PE
// headers written from the format's tables alone, so that tests can check
// the packer's output without going through the code under test.
#pragma once

#include "loader/resources.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vyk::test {

// The loader's version block: fixed file information, one string table
// (040904E4) with FileDescription, Arguments (empty) and Comments, and the
// translation 0x0409/1252.
VersionNode LoaderVersionInfo();

struct ImageOptions {
    bool withVersion = true;
    int extraSections = 0; // further empty sections before the resources
    bool pe32plus = false;
};

// Both formats put the signature at 0x40 and keep 0x400 bytes of headers:
// room for exactly 17 section headers in either.
inline constexpr size_t kTestPeOffset = 0x40;
inline constexpr size_t kTestOptOffset = kTestPeOffset + 24;
inline constexpr uint64_t kTestImageBase32 = 0x400000;
inline constexpr uint64_t kTestImageBase64 = 0x140000000;

std::vector<uint8_t> BuildTestImage(const ImageOptions& options = {});

struct RawSection {
    std::string name;
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
    uint32_t characteristics = 0;
};

struct RawHeaders {
    bool pe32plus = false;
    uint16_t machine = 0;
    uint16_t optSize = 0;
    size_t tableOffset = 0;
    uint64_t imageBase = 0;
    uint32_t sizeOfInitData = 0;
    uint32_t sectionAlign = 0;
    uint32_t fileAlign = 0;
    uint32_t sizeOfImage = 0;
    uint32_t sizeOfHeaders = 0;
    uint32_t checksum = 0;
    size_t checksumOffset = 0;
    uint32_t numDirs = 0;
    uint32_t dirs[16][2] = {};
    std::vector<RawSection> sections;
};

// Reads the headers of a PE32 or PE32+ file; false with the reason when they
// are not there in full.
bool ReadRawHeaders(const std::vector<uint8_t>& file, RawHeaders& out, std::string& error);

} // namespace vyk::test
