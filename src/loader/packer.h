// Turns a copy of VykLoader.exe into an installer: the stub section with the
// engine library, the archive section, the version strings and the argument
// trailer.
#pragma once

#include "loader/stubwriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vyk {

inline constexpr uint32_t kAttributeArchive = 0x20;

struct PackInput {
    std::vector<uint8_t> loader;
    std::vector<uint8_t> engine;
    uint64_t engineTime = 0; // platform file time
    uint32_t engineAttributes = kAttributeArchive;
    // Further entries, stored before the engine's with identifiers 1, 2, ...
    std::vector<std::vector<uint8_t>> extraEntries;
    std::vector<uint8_t> archive;
    std::string arguments; // UTF-8, the "Arguments" version string
    std::string trailer;   // UTF-8
    TrailerEncoding trailerEncoding = TrailerEncoding::None;
    Guid packageCode{};
    Guid productCode{};
    StubOptions stub;
};

bool PackInstaller(const PackInput& in, std::vector<uint8_t>& out, std::string& error);

} // namespace vyk
