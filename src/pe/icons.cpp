#include "pe/icons.h"

#include "base/fsys.h"
#include "base/stream.h"
#include "pe/pe_error.h"
#include "pe/pe_image.h"
#include "pe/resource_tree.h"

#include <cstdio>

namespace orv::pe {

namespace {
constexpr size_t kIconHeaderSize = 6;
constexpr size_t kIconEntrySize = 16;
constexpr size_t kGroupEntrySize = 14;
constexpr uint64_t kMaxResourceSection = 256u << 20;

std::string FileErrorText() {
    int e = fsys::LastErrorNumber();
    std::string t = fsys::ErrorText(e);
    while (!t.empty() && (t.back() == '.' || static_cast<unsigned char>(t.back()) <= ' '))
        t.pop_back();
    return t.empty() ? "File I/O error " + std::to_string(e) : t;
}

// The first leaf of the entry (a directory of languages); false when the
// entry is no directory or its first language has no usable data.
bool FirstLeafData(const ResourceSection& sec, const DirEntry& entry, uint32_t& offset,
                   uint32_t& size) {
    std::vector<DirEntry> langs;
    if (!entry.isDirectory || !ReadDirectory(sec, entry.target, langs))
        return false;
    for (const DirEntry& l : langs) {
        if (l.isDirectory)
            continue;
        DataEntry d;
        if (!ReadDataEntry(sec, l.target, d) || !sec.DataOffset(d.rva, d.size, offset))
            return false;
        size = d.size;
        return true;
    }
    return false;
}

bool FindTypeDirectory(const ResourceSection& sec, uint32_t type, DirEntry& found) {
    std::vector<DirEntry> types;
    if (!ReadDirectory(sec, sec.rootOffset, types))
        throw PeError("The resource directory of the file is damaged");
    for (const DirEntry& t : types)
        if (!t.named && t.id == type && t.isDirectory) {
            found = t;
            return true;
        }
    return false;
}
} // namespace

bool ParseIconFile(const uint8_t* data, size_t size, IconFile& icon) {
    icon = IconFile{};
    if (size < kIconHeaderSize || (data[0] == 'M' && data[1] == 'Z'))
        return false;
    icon.reserved = GetU16(data);
    icon.type = GetU16(data + 2);
    size_t count = GetU16(data + 4);
    if (icon.type != 1 || count == 0 || size < kIconHeaderSize + kIconEntrySize * count)
        return false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + kIconHeaderSize + kIconEntrySize * i;
        uint32_t bytes = GetU32(e + 8);
        uint32_t offset = GetU32(e + 12);
        if (bytes == 0 || !InRange(offset, bytes, size))
            return false;
        IconImage img;
        std::copy(e, e + 12, img.entry);
        img.data.assign(data + offset, data + offset + bytes);
        icon.images.push_back(std::move(img));
    }
    return true;
}

IconFile ReadIconFile(const std::string& path) {
    FileStream f;
    if (!f.Open(path, FileStream::Mode::Read))
        throw ResourceUpdateError(FileErrorText());
    std::vector<uint8_t> bytes;
    try {
        if (f.Size() > kMaxIconFileSize)
            throw ResourceUpdateError("Icon file is too large");
        bytes = f.ReadBytes(f.Size());
    } catch (const StreamError&) {
        throw ResourceUpdateError(FileErrorText());
    }
    IconFile icon;
    if (!ParseIconFile(bytes.data(), bytes.size(), icon))
        throw ResourceUpdateError("Icon file is invalid");
    return icon;
}

std::vector<uint8_t> MakeIconFile(const IconFile& icon) {
    size_t n = icon.images.size();
    std::vector<uint8_t> out(kIconHeaderSize + kIconEntrySize * n);
    PutU16(out.data(), icon.reserved);
    PutU16(out.data() + 2, icon.type);
    PutU16(out.data() + 4, static_cast<uint16_t>(n));
    for (size_t i = 0; i < n; ++i) {
        const IconImage& img = icon.images[i];
        uint8_t* e = out.data() + kIconHeaderSize + kIconEntrySize * i;
        std::copy(img.entry, img.entry + 12, e);
        PutU32(e + 8, static_cast<uint32_t>(img.data.size()));
        PutU32(e + 12, static_cast<uint32_t>(out.size()));
        out.insert(out.end(), img.data.begin(), img.data.end());
    }
    return out;
}

bool ParseIconGroup(const uint8_t* data, size_t size, IconGroup& group) {
    group = IconGroup{};
    if (size < kIconHeaderSize)
        return false;
    group.reserved = GetU16(data);
    group.type = GetU16(data + 2);
    size_t count = GetU16(data + 4);
    if (size < kIconHeaderSize + kGroupEntrySize * count)
        return false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + kIconHeaderSize + kGroupEntrySize * i;
        GroupImage g;
        std::copy(e, e + 12, g.image.entry);
        g.id = GetU16(e + 12);
        group.images.push_back(std::move(g));
    }
    return true;
}

std::vector<uint8_t> MakeIconGroup(uint16_t reserved, uint16_t type, const IconFile& icon,
                                   uint16_t firstId) {
    size_t n = icon.images.size();
    std::vector<uint8_t> out(kIconHeaderSize + kGroupEntrySize * n);
    PutU16(out.data(), reserved);
    PutU16(out.data() + 2, type);
    PutU16(out.data() + 4, static_cast<uint16_t>(n));
    for (size_t i = 0; i < n; ++i) {
        uint8_t* e = out.data() + kIconHeaderSize + kGroupEntrySize * i;
        std::copy(icon.images[i].entry, icon.images[i].entry + 12, e);
        PutU16(e + 12, static_cast<uint16_t>(firstId + i));
    }
    return out;
}

std::string IconImageName(const IconImage& image) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d X %d %d Colors", image.Width(), image.Height(),
                  image.ColorCount());
    return buf;
}

int ChooseBestIcon(const IconGroup& group) {
    for (const char* prefix : {"32 X 32", "48 X 48", "16 X 16", ""}) {
        int best = -1;
        for (size_t i = 0; i < group.images.size(); ++i) {
            if (IconImageName(group.images[i].image).rfind(prefix, 0) != 0)
                continue;
            if (best < 0 ||
                group.images[i].dataSize > group.images[static_cast<size_t>(best)].dataSize)
                best = static_cast<int>(i);
        }
        if (best >= 0)
            return best;
    }
    return -1;
}

bool ReadMainIconGroup(const std::string& file, IconGroup& group) {
    group = IconGroup{};
    FileStream f;
    if (!f.Open(file, FileStream::Mode::Read))
        throw PeError("Couldn't open: " + file);
    try {
        return ReadMainIconGroup(f, group);
    } catch (const StreamError&) {
        throw PeError("Couldn't open: " + file);
    }
}

bool ReadMainIconGroup(Stream& f, IconGroup& group) {
    group = IconGroup{};
    ResourceSection sec;
    {
        Headers h;
        HeaderFault fault = ReadHeaders(f, h, false);
        if (fault == HeaderFault::NotMz)
            throw PeError("unrecognized file format");
        if (fault != HeaderFault::None)
            throw PeError("Not a PE (WIN32 Executable) file");
        int index = h.resourceRva && h.resourceSize ? FindSectionHolding(h, h.resourceRva) : -1;
        if (index < 0)
            throw PeError("No resources in this file.");
        const Section& section = h.sections[static_cast<size_t>(index)];
        if (section.rawSize > kMaxResourceSection)
            throw PeError("No resources in this file.");
        sec.rva = section.virtualAddress;
        sec.rootOffset = h.resourceRva - section.virtualAddress;
        sec.bytes = ReadSectionBytes(f, h, section);
    }

    DirEntry groups;
    if (!FindTypeDirectory(sec, kTypeGroupIcon, groups))
        return false;
    std::vector<DirEntry> names;
    if (!ReadDirectory(sec, groups.target, names))
        throw PeError("The resource directory of the file is damaged");
    uint32_t offset = 0, size = 0;
    bool found = false;
    for (const DirEntry& e : names) {
        std::u16string name;
        if (e.named && ReadEntryName(sec, e.nameOffset, name) &&
            SameResourceName(name, kMainIconName) && FirstLeafData(sec, e, offset, size)) {
            found = true;
            break;
        }
    }
    if (!found || !ParseIconGroup(sec.bytes.data() + offset, size, group))
        return false;

    DirEntry icons;
    std::vector<DirEntry> iconEntries;
    if (!FindTypeDirectory(sec, kTypeIcon, icons) ||
        !ReadDirectory(sec, icons.target, iconEntries)) {
        group.images.clear();
        return true;
    }
    std::vector<GroupImage> kept;
    for (GroupImage& g : group.images) {
        for (const DirEntry& e : iconEntries) {
            if (e.named || e.id != g.id)
                continue;
            if (FirstLeafData(sec, e, offset, size)) {
                g.image.data.assign(sec.bytes.begin() + offset, sec.bytes.begin() + offset + size);
                g.dataSize = size;
                kept.push_back(std::move(g));
            }
            break;
        }
    }
    group.images = std::move(kept);
    return true;
}

std::vector<uint8_t> LoadMainIcon(const std::string& file) {
    if (!fsys::FileExists(file))
        return {};
    IconGroup group;
    if (!ReadMainIconGroup(file, group))
        return {};
    int best = ChooseBestIcon(group);
    if (best < 0)
        return {};
    IconFile one;
    one.reserved = 0;
    one.type = 1;
    one.images.push_back(group.images[static_cast<size_t>(best)].image);
    return MakeIconFile(one);
}

} // namespace orv::pe
