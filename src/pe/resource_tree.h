// Resource directories of a PE file. A resource section holds a tree of
// three levels: types, names and languages, each a directory of entries that
// are either numbered or named, and leaves that give the data's address
// (relative to the image) and size. Readers here work on the section's raw
// bytes and check every offset before use; the whole tree can also be read
// into memory, edited and laid out again as a new section.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::pe {

inline constexpr uint32_t kTypeCursor = 1;
inline constexpr uint32_t kTypeIcon = 3;
inline constexpr uint32_t kTypeGroupCursor = 12;
inline constexpr uint32_t kTypeGroupIcon = 14;
inline constexpr uint32_t kTypeVersion = 16;
inline constexpr uint32_t kLanguageUsEnglish = 1033;

// The resource section's bytes and where they sit in the image.
struct ResourceSection {
    uint32_t rva = 0;           // image address of bytes[0] (the section's start)
    uint32_t rootOffset = 0;    // offset of the root directory within bytes
    std::vector<uint8_t> bytes; // the section's raw data as far as the file holds it

    // Offset within bytes of [rva, rva + size), or false when any of it
    // lies outside the section.
    bool DataOffset(uint32_t dataRva, uint32_t size, uint32_t& offset) const;
};

// One entry of a directory, as stored.
struct DirEntry {
    bool named = false;
    uint32_t id = 0;         // for numbered entries
    uint32_t nameOffset = 0; // for named entries: offset of the length-prefixed name
    bool isDirectory = false;
    uint32_t target = 0; // offset of the sub-directory or of the data entry
};

struct DataEntry {
    uint32_t rva = 0;
    uint32_t size = 0;
    uint32_t codePage = 0;
};

// Readers of single structures; false when it lies outside the bytes.
bool ReadDirectory(const ResourceSection& sec, uint32_t offset, std::vector<DirEntry>& entries);
bool ReadEntryName(const ResourceSection& sec, uint32_t offset, std::u16string& name);
bool ReadDataEntry(const ResourceSection& sec, uint32_t offset, DataEntry& data);

// Compares a stored name with an ASCII name, ignoring the case of a-z.
bool SameResourceName(std::u16string_view stored, std::string_view name);

// A type, name or language: a number or a name.
struct ResName {
    bool named = false;
    uint32_t id = 0;
    std::u16string name;

    static ResName Id(uint32_t id) { return {false, id, {}}; }
    static ResName Name(std::string_view ascii);
    bool Matches(const ResName& other) const;
};

struct ResLeaf {
    uint32_t language = 0;
    uint32_t codePage = 0;
    std::vector<uint8_t> data;
};

struct ResItem {
    ResName name;
    std::vector<ResLeaf> leaves; // one per language
};

struct ResType {
    ResName name;
    std::vector<ResItem> items;
};

// The whole tree in memory.
struct ResourceTree {
    uint32_t characteristics = 0;
    uint32_t timeStamp = 0;
    uint16_t majorVersion = 0;
    uint16_t minorVersion = 0;
    std::vector<ResType> types;

    ResType* FindType(const ResName& type);
    ResItem* FindItem(const ResName& type, const ResName& name);
    // Adds or replaces the leaf of that type, name and language.
    void Put(const ResName& type, const ResName& name, uint32_t language,
             std::vector<uint8_t> data);
    // Removes one leaf and the item and type it leaves empty; false when
    // there is none.
    bool Remove(const ResName& type, const ResName& name, uint32_t language);
};

// Reads the three levels of the tree with their data (which must lie in the
// section). Throws PeError on any damage: offsets outside the section,
// entries at the wrong level, data shared between leaves.
ResourceTree ParseResourceTree(const ResourceSection& sec);

// Lays the tree out as a section that will start at image address rva:
// directories (named entries first, each group sorted, as the platform's
// look-ups expect), data entries, names, then the data, each aligned to 8.
std::vector<uint8_t> BuildResourceSection(const ResourceTree& tree, uint32_t rva);

} // namespace orv::pe
