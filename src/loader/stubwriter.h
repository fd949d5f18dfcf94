// Writing the pieces of a packed installer: the stub container with its
// LZMA-compressed entries, the archive section, package codes and the
// argument trailer. Used by the packer and by the tests.
#pragma once

#include "loader/cmdline.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyk {

struct PackEntry {
    uint32_t idLow = 0;
    uint32_t idHigh = 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
    uint64_t fileTime = 0;
    uint32_t attributes = 0;
};

struct StubOptions {
    uint32_t preset = 6;   // LZMA preset level 0..9
    uint32_t dictSize = 0; // 0: the preset's
    uint32_t lc = 3, lp = 0, pb = 2;
    uint32_t flags = 0; // container header flags
};

// The container: header, check pair, properties and the LZMA stream of the
// entries in order.
bool BuildStubContainer(const std::vector<PackEntry>& entries, const StubOptions& options,
                        std::vector<uint8_t>& out, std::string& error);

using Guid = std::array<uint8_t, 16>;

// The archive section: a 64-byte header of the container layout with the
// package code at offset 48, then the archive's bytes.
std::vector<uint8_t> BuildArchiveSection(const Guid& packageCode, const uint8_t* data, size_t size);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in the platform's byte order
// (first three groups little-endian).
std::string FormatGuid(const Guid& g);
bool ParseGuid(std::string_view text, Guid& g);

// The trailer bytes for UTF-8 text in the given encoding: ANSI as
// Windows-1252 framed by "<|" "|>", UTF-8 with its mark before "<|", UTF-16
// little-endian with the frame in UTF-16 too.
bool EncodeTrailer(std::string_view utf8, TrailerEncoding encoding, std::vector<uint8_t>& out,
                   std::string& error);

} // namespace vyk
