// The resource tree of a PE file and the version block inside it, read and
// written so that the packer can set the loader's version strings: the tree
// is rebuilt in a new section because the new block rarely fits in place.
#pragma once

#include "loader/peimage.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyk {

inline constexpr uint32_t kResourceTypeVersion = 16;

// One entry of a resource directory: a sub-directory or a data leaf.
struct ResourceNode {
    bool named = false;
    uint32_t id = 0;
    std::u16string name;

    bool leaf = false;
    // Directory fields.
    uint32_t characteristics = 0;
    uint32_t timeDateStamp = 0;
    uint16_t majorVersion = 0;
    uint16_t minorVersion = 0;
    std::vector<ResourceNode> children;
    // Leaf fields.
    std::vector<uint8_t> data;
    uint32_t codePage = 0;
};

// Reads the resource tree of pe (an empty root when it has none). False with
// a reason for a damaged tree.
bool ReadResources(const PeFile& pe, ResourceNode& root, std::string& error);

// Lays the tree out for a section at the given relative address: directories,
// names, data entries, then the data.
std::vector<uint8_t> BuildResourceSection(const ResourceNode& root, uint32_t sectionRva);

// The leaves of one resource type (all names and languages).
std::vector<ResourceNode*> FindResourceLeaves(ResourceNode& root, uint32_t typeId);

// One node of a version block: key, type (1 text, 0 binary), value bytes as
// stored (text values in UTF-16 with their terminator) and children.
struct VersionNode {
    std::u16string key;
    uint16_t type = 1;
    std::vector<uint8_t> value;
    std::vector<VersionNode> children;
};

bool ParseVersionInfo(const uint8_t* data, size_t size, VersionNode& root, std::string& error);
// Empty when the block would exceed the 16-bit lengths of its entries.
std::vector<uint8_t> BuildVersionInfo(const VersionNode& root);

// Sets a string in every string table under "StringFileInfo", adding it where
// it is missing; false when the block has no string table.
bool SetVersionString(VersionNode& root, std::u16string_view key, std::u16string_view value);
// The string of the first table that has key; false when none has it.
bool GetVersionString(const VersionNode& root, std::u16string_view key, std::u16string& value);

} // namespace vyk
