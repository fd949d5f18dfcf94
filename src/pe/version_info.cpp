#include "pe/version_info.h"

#include "base/fsys.h"
#include "pe/codepage.h"
#include "pe/pe_error.h"
#include "pe/pe_image.h"
#include "pe/resource_tree.h"

#include <algorithm>

namespace orv::pe {

namespace {

// Resource sections larger than this are refused rather than read into
// memory; real programs stay far below it.
constexpr uint64_t kMaxResourceSection = 256u << 20;

size_t Align4(size_t v) {
    return (v + 3) & ~size_t{3};
}

// One node of the version tree; every position is an offset into the
// resource and lies within [start, end).
struct Node {
    size_t start = 0, end = 0;
    std::u16string key;
    size_t valueStart = 0, valueBytes = 0;
    size_t childrenStart = 0;
};

bool ParseNode(const uint8_t* res, size_t limit, size_t off, Node& n) {
    if (!InRange(off, 6, limit))
        return false;
    size_t length = GetU16(res + off);
    size_t valueLength = GetU16(res + off + 2);
    uint16_t type = GetU16(res + off + 4);
    if (length < 6 || !InRange(off, length, limit))
        return false;
    n.start = off;
    n.end = off + length;
    n.key.clear();
    size_t p = off + 6;
    for (;;) {
        if (p + 2 > n.end)
            return false; // the key has no terminating zero
        char16_t c = static_cast<char16_t>(GetU16(res + p));
        p += 2;
        if (c == 0)
            break;
        n.key.push_back(c);
    }
    // Alignment counts from the start of the resource, which the platform
    // keeps aligned to 4 in the image.
    n.valueStart = std::min(Align4(p), n.end);
    n.valueBytes = std::min(type == 1 ? valueLength * 2 : valueLength, n.end - n.valueStart);
    n.childrenStart = std::min(Align4(n.valueStart + n.valueBytes), n.end);
    return true;
}

bool FindChild(const uint8_t* res, const Node& parent, std::string_view key, Node& child) {
    size_t off = parent.childrenStart;
    while (off < parent.end) {
        if (!ParseNode(res, parent.end, off, child))
            return false;
        if (SameResourceName(child.key, key))
            return true;
        off = Align4(child.end);
    }
    return false;
}

// The faults of locating the version resource, with the texts the patch
// reports.
enum class Fault {
    None,
    NotExe,
    NotPe1,
    NotPe2,
    NotPe3,
    NotPe4,
    NotPe5,
    NoResources1,
    NoResources2,
    NoType,
    NoName,
    NoData,
    Invalid1,
    Invalid2,
};

const char* FaultText(Fault f) {
    switch (f) {
    case Fault::NotExe:
        return "File isn't an EXE file (1)";
    case Fault::NotPe1:
        return "File isn't a PE file (1)";
    case Fault::NotPe2:
        return "File isn't a PE file (2)";
    case Fault::NotPe3:
        return "File isn't a PE file (3)";
    case Fault::NotPe4:
        return "File isn't a PE file (4)";
    case Fault::NotPe5:
        return "File isn't a PE file (5)";
    case Fault::NoResources1:
        return "No resources (1)";
    case Fault::NoResources2:
        return "No resources (2)";
    case Fault::NoType:
        return "Can't find resource (1)";
    case Fault::NoName:
        return "Can't find resource (2)";
    case Fault::NoData:
        return "Can't find resource (3).";
    case Fault::Invalid1:
        return "Invalid resource (1)";
    case Fault::Invalid2:
        return "Invalid resource (2)";
    case Fault::None:
        break;
    }
    return "";
}

// The numbered sub-directory entry id in the directory at offset.
bool FindIdDirectory(const ResourceSection& sec, uint32_t offset, uint32_t id, uint32_t& target) {
    std::vector<DirEntry> entries;
    if (!ReadDirectory(sec, offset, entries))
        return false;
    for (const DirEntry& e : entries)
        if (!e.named && e.id == id) {
            if (!e.isDirectory)
                return false;
            target = e.target;
            return true;
        }
    return false;
}

// Finds the version resource: its bytes and their file position. strict
// applies the header checks of the in-place patch (a complete 32- or 64-bit
// optional header, and a resource directory that starts a section);
// otherwise any PE image whose resource directory lies in a section will
// do.
Fault Locate(Stream& s, bool strict, std::vector<uint8_t>& data, int64_t& position) {
    Headers h;
    switch (ReadHeaders(s, h, strict)) {
    case HeaderFault::None:
        break;
    case HeaderFault::NotMz:
        return Fault::NotExe;
    case HeaderFault::NoPeOffset:
        return Fault::NotPe1;
    case HeaderFault::NoPeSignature:
        return Fault::NotPe2;
    case HeaderFault::OptionalSize:
        return Fault::NotPe3;
    case HeaderFault::BadMagic:
        return Fault::NotPe4;
    case HeaderFault::DamagedSections:
        return Fault::NotPe5;
    }
    if (h.resourceRva == 0 || h.resourceSize == 0)
        return Fault::NoResources1;
    int index =
        strict ? FindSectionStartingAt(h, h.resourceRva) : FindSectionHolding(h, h.resourceRva);
    if (index < 0)
        return Fault::NoResources2;
    const Section& section = h.sections[static_cast<size_t>(index)];
    if (std::min<uint64_t>(section.rawSize, static_cast<uint64_t>(h.fileSize)) >
        kMaxResourceSection)
        return Fault::NoResources2;
    ResourceSection sec;
    sec.rva = section.virtualAddress;
    sec.rootOffset = h.resourceRva - section.virtualAddress;
    sec.bytes = ReadSectionBytes(s, h, section);

    uint32_t names = 0, langs = 0;
    if (!FindIdDirectory(sec, sec.rootOffset, kTypeVersion, names))
        return Fault::NoType;
    if (!FindIdDirectory(sec, names, 1, langs))
        return Fault::NoName;
    std::vector<DirEntry> entries;
    if (!ReadDirectory(sec, langs, entries))
        return Fault::NoData;
    const DirEntry* leaf = nullptr;
    for (const DirEntry& e : entries)
        if (!e.named && !e.isDirectory) {
            leaf = &e;
            break;
        }
    DataEntry d;
    if (!leaf || !ReadDataEntry(sec, leaf->target, d))
        return Fault::NoData;
    if (d.rva < sec.rva)
        return Fault::Invalid1;
    // The section's bytes end where its raw data or the file ends.
    if (!InRange(d.rva - sec.rva, d.size, sec.bytes.size()))
        return Fault::Invalid2;
    size_t off = d.rva - sec.rva;
    data.assign(sec.bytes.begin() + static_cast<ptrdiff_t>(off),
                sec.bytes.begin() + static_cast<ptrdiff_t>(off + d.size));
    position = static_cast<int64_t>(section.rawOffset) + static_cast<int64_t>(off);
    return Fault::None;
}

std::string FileErrorText() {
    int e = fsys::LastErrorNumber();
    std::string t = fsys::ErrorText(e);
    while (!t.empty() && (t.back() == '.' || static_cast<unsigned char>(t.back()) <= ' '))
        t.pop_back();
    return t.empty() ? "File I/O error " + std::to_string(e) : t;
}

} // namespace

bool FindVersionValue(const uint8_t* res, size_t size, std::string_view table, std::string_view key,
                      VersionValue& value) {
    Node root, info, strings, entry;
    if (!ParseNode(res, size, 0, root) || !SameResourceName(root.key, "VS_VERSION_INFO") ||
        !FindChild(res, root, "StringFileInfo", info) || !FindChild(res, info, table, strings) ||
        !FindChild(res, strings, key, entry))
        return false;
    value.offset = entry.valueStart;
    value.room = 0;
    while (value.room < entry.valueBytes / 2 &&
           GetU16(res + entry.valueStart + 2 * value.room) != 0)
        ++value.room;
    return true;
}

std::u16string ReadVersionValue(const uint8_t* res, size_t size, const VersionValue& value) {
    std::u16string text;
    if (!InRange(value.offset, value.room * 2, size))
        return text;
    for (size_t i = 0; i < value.room; ++i)
        text.push_back(static_cast<char16_t>(GetU16(res + value.offset + 2 * i)));
    return text;
}

void WriteVersionValue(uint8_t* res, size_t size, const VersionValue& value,
                       std::u16string_view text) {
    size_t n = std::min(value.room, text.size());
    if (!InRange(value.offset, n * 2, size))
        return;
    for (size_t i = 0; i < n; ++i)
        PutU16(res + value.offset + 2 * i, text[i]);
}

std::vector<uint8_t> LocateVersionResource(Stream& s, int64_t& filePosition) {
    std::vector<uint8_t> data;
    Fault f = Locate(s, true, data, filePosition);
    if (f != Fault::None)
        throw ResourceUpdateError(FaultText(f));
    return data;
}

void SetVersionStrings(const std::string& file, const std::vector<VersionEdit>& edits) {
    if (!fsys::FileExists(file)) {
        // Let the platform say why (no such file, a folder of that name...).
        FileStream probe;
        if (!probe.Open(file, FileStream::Mode::Read))
            throw ResourceUpdateError(FileErrorText());
        throw ResourceUpdateError("\"" + file + "\" is not a file");
    }
    FileStream f;
    if (!f.Open(file, FileStream::Mode::Update))
        throw ResourceUpdateError(FileErrorText());
    std::vector<uint8_t> res;
    int64_t position = 0;
    try {
        res = LocateVersionResource(f, position);
    } catch (const StreamError&) {
        throw ResourceUpdateError(FileErrorText());
    }
    // Every key first, so that a missing one leaves the file untouched.
    std::vector<VersionValue> values;
    for (const VersionEdit& e : edits) {
        VersionValue v;
        if (!FindVersionValue(res.data(), res.size(), kVersionTable, e.key, v))
            throw ResourceUpdateError("Unexpected version resource format (1)");
        values.push_back(v);
    }
    for (size_t i = 0; i < edits.size(); ++i) {
        std::u16string text = edits[i].text;
        if (edits[i].padToRoom && text.size() < values[i].room)
            text.append(values[i].room - text.size(), u' ');
        WriteVersionValue(res.data(), res.size(), values[i], text);
    }
    try {
        f.Seek(position);
        f.WriteExact(res.data(), res.size());
    } catch (const StreamError&) {
        throw ResourceUpdateError(FileErrorText());
    }
    if (!f.Flush() || !f.Close())
        throw ResourceUpdateError(FileErrorText());
}

void SetVersionStrings(const std::string& file,
                       const std::vector<std::pair<std::string, std::string>>& strings) {
    std::vector<VersionEdit> edits;
    for (const auto& [key, text] : strings)
        edits.push_back({key, Cp1252ToUtf16(text), false});
    SetVersionStrings(file, edits);
}

bool ReadVersionStringFrom(Stream& s, const std::string& key, std::u16string& value) {
    value.clear();
    std::vector<uint8_t> res;
    int64_t position = 0;
    try {
        if (Locate(s, false, res, position) != Fault::None)
            return false;
    } catch (const StreamError&) {
        return false;
    }
    VersionValue v;
    if (!FindVersionValue(res.data(), res.size(), kVersionTable, key, v))
        return false;
    value = ReadVersionValue(res.data(), res.size(), v);
    return true;
}

bool ReadVersionStringUtf16(const std::string& file, const std::string& key,
                            std::u16string& value) {
    value.clear();
    FileStream f;
    if (!fsys::FileExists(file) || !f.Open(file, FileStream::Mode::Read))
        return false;
    return ReadVersionStringFrom(f, key, value);
}

std::string ReadVersionString(const std::string& file, const std::string& key) {
    std::u16string value;
    if (!ReadVersionStringUtf16(file, key, value))
        return {};
    return Utf16ToCp1252(value);
}

} // namespace orv::pe
