#include "pe/resource_tree.h"

#include "pe/pe_error.h"
#include "pe/pe_image.h"

#include <algorithm>

namespace orv::pe {

namespace {
constexpr uint32_t kDirectoryHeaderSize = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000u;

[[noreturn]] void Damaged() {
    throw PeError("The resource directory of the file is damaged");
}

char16_t UpperAscii16(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

// Named entries first, ordered by their stored names; then numbered ones in
// ascending order, which is the order the platform's binary search needs.
bool NameLess(const ResName& a, const ResName& b) {
    if (a.named != b.named)
        return a.named;
    if (a.named)
        return a.name < b.name;
    return a.id < b.id;
}

size_t Align(size_t v, size_t a) {
    return (v + a - 1) / a * a;
}

// A directory that lists a name twice is damaged: which of the two the
// platform's look-up finds depends on its search.
template <typename T> void RefuseDuplicates(const std::vector<T>& list) {
    std::vector<std::pair<uint32_t, std::u16string>> keys;
    keys.reserve(list.size());
    for (const T& x : list) {
        std::u16string upper = x.name.name;
        for (char16_t& c : upper)
            c = UpperAscii16(c);
        keys.emplace_back(x.name.named ? 0xFFFFFFFFu : x.name.id, std::move(upper));
    }
    std::sort(keys.begin(), keys.end());
    if (std::adjacent_find(keys.begin(), keys.end()) != keys.end())
        Damaged();
}
} // namespace

bool ResourceSection::DataOffset(uint32_t dataRva, uint32_t size, uint32_t& offset) const {
    if (dataRva < rva)
        return false;
    uint32_t off = dataRva - rva;
    if (!InRange(off, size, bytes.size()))
        return false;
    offset = off;
    return true;
}

bool ReadDirectory(const ResourceSection& sec, uint32_t offset, std::vector<DirEntry>& entries) {
    entries.clear();
    if (!InRange(offset, kDirectoryHeaderSize, sec.bytes.size()))
        return false;
    const uint8_t* p = sec.bytes.data() + offset;
    uint32_t count = uint32_t{GetU16(p + 12)} + GetU16(p + 14);
    uint64_t first = uint64_t{offset} + kDirectoryHeaderSize;
    if (!InRange(first, uint64_t{count} * kEntrySize, sec.bytes.size()))
        return false;
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = sec.bytes.data() + first + uint64_t{i} * kEntrySize;
        uint32_t name = GetU32(e);
        uint32_t target = GetU32(e + 4);
        DirEntry d;
        d.named = (name & kHighBit) != 0;
        d.id = d.named ? 0 : name;
        d.nameOffset = d.named ? name & ~kHighBit : 0;
        d.isDirectory = (target & kHighBit) != 0;
        d.target = target & ~kHighBit;
        entries.push_back(d);
    }
    return true;
}

bool ReadEntryName(const ResourceSection& sec, uint32_t offset, std::u16string& name) {
    if (!InRange(offset, 2, sec.bytes.size()))
        return false;
    uint32_t len = GetU16(sec.bytes.data() + offset);
    if (!InRange(uint64_t{offset} + 2, uint64_t{len} * 2, sec.bytes.size()))
        return false;
    name.resize(len);
    for (uint32_t i = 0; i < len; ++i)
        name[i] = static_cast<char16_t>(GetU16(sec.bytes.data() + offset + 2 + 2 * i));
    return true;
}

bool ReadDataEntry(const ResourceSection& sec, uint32_t offset, DataEntry& data) {
    if (!InRange(offset, kDataEntrySize, sec.bytes.size()))
        return false;
    const uint8_t* p = sec.bytes.data() + offset;
    data.rva = GetU32(p);
    data.size = GetU32(p + 4);
    data.codePage = GetU32(p + 8);
    return true;
}

bool SameResourceName(std::u16string_view stored, std::string_view name) {
    if (stored.size() != name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (UpperAscii16(stored[i]) !=
            UpperAscii16(static_cast<char16_t>(static_cast<unsigned char>(name[i]))))
            return false;
    return true;
}

ResName ResName::Name(std::string_view ascii) {
    ResName n;
    n.named = true;
    for (char c : ascii)
        n.name.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return n;
}

bool ResName::Matches(const ResName& other) const {
    if (named != other.named)
        return false;
    if (!named)
        return id == other.id;
    if (name.size() != other.name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (UpperAscii16(name[i]) != UpperAscii16(other.name[i]))
            return false;
    return true;
}

ResType* ResourceTree::FindType(const ResName& type) {
    for (ResType& t : types)
        if (t.name.Matches(type))
            return &t;
    return nullptr;
}

ResItem* ResourceTree::FindItem(const ResName& type, const ResName& name) {
    ResType* t = FindType(type);
    if (!t)
        return nullptr;
    for (ResItem& i : t->items)
        if (i.name.Matches(name))
            return &i;
    return nullptr;
}

void ResourceTree::Put(const ResName& type, const ResName& name, uint32_t language,
                       std::vector<uint8_t> data) {
    ResType* t = FindType(type);
    if (!t) {
        types.push_back({type, {}});
        t = &types.back();
    }
    ResItem* item = nullptr;
    for (ResItem& i : t->items)
        if (i.name.Matches(name))
            item = &i;
    if (!item) {
        t->items.push_back({name, {}});
        item = &t->items.back();
    }
    for (ResLeaf& l : item->leaves)
        if (l.language == language) {
            l.data = std::move(data);
            l.codePage = 0;
            return;
        }
    item->leaves.push_back({language, 0, std::move(data)});
}

bool ResourceTree::Remove(const ResName& type, const ResName& name, uint32_t language) {
    for (size_t ti = 0; ti < types.size(); ++ti) {
        ResType& t = types[ti];
        if (!t.name.Matches(type))
            continue;
        for (size_t ii = 0; ii < t.items.size(); ++ii) {
            ResItem& item = t.items[ii];
            if (!item.name.Matches(name))
                continue;
            for (size_t li = 0; li < item.leaves.size(); ++li) {
                if (item.leaves[li].language != language)
                    continue;
                item.leaves.erase(item.leaves.begin() + static_cast<ptrdiff_t>(li));
                if (item.leaves.empty())
                    t.items.erase(t.items.begin() + static_cast<ptrdiff_t>(ii));
                if (t.items.empty())
                    types.erase(types.begin() + static_cast<ptrdiff_t>(ti));
                return true;
            }
        }
    }
    return false;
}

ResourceTree ParseResourceTree(const ResourceSection& sec) {
    ResourceTree tree;
    if (!InRange(sec.rootOffset, kDirectoryHeaderSize, sec.bytes.size()))
        Damaged();
    const uint8_t* root = sec.bytes.data() + sec.rootOffset;
    tree.characteristics = GetU32(root);
    tree.timeStamp = GetU32(root + 4);
    tree.majorVersion = GetU16(root + 8);
    tree.minorVersion = GetU16(root + 10);

    // Data of well-formed resources never overlaps, so their total cannot
    // exceed the section; a tree whose entries share data (to multiply a
    // small file into a huge copy) is refused by this budget.
    uint64_t budget = sec.bytes.size();
    auto nameOf = [&](const DirEntry& e) {
        ResName n;
        n.named = e.named;
        n.id = e.id;
        if (e.named && !ReadEntryName(sec, e.nameOffset, n.name))
            Damaged();
        return n;
    };

    std::vector<DirEntry> types, names, langs;
    if (!ReadDirectory(sec, sec.rootOffset, types))
        Damaged();
    for (const DirEntry& te : types) {
        if (!te.isDirectory || !ReadDirectory(sec, te.target, names))
            Damaged();
        ResType type{nameOf(te), {}};
        for (const DirEntry& ne : names) {
            if (!ne.isDirectory || !ReadDirectory(sec, ne.target, langs))
                Damaged();
            ResItem item{nameOf(ne), {}};
            for (const DirEntry& le : langs) {
                DataEntry d;
                uint32_t off = 0;
                if (le.isDirectory || le.named || !ReadDataEntry(sec, le.target, d) ||
                    !sec.DataOffset(d.rva, d.size, off) || d.size > budget)
                    Damaged();
                budget -= d.size;
                ResLeaf leaf;
                leaf.language = le.id;
                leaf.codePage = d.codePage;
                leaf.data.assign(sec.bytes.begin() + off, sec.bytes.begin() + off + d.size);
                item.leaves.push_back(std::move(leaf));
            }
            std::vector<uint32_t> languages;
            for (const ResLeaf& l : item.leaves)
                languages.push_back(l.language);
            std::sort(languages.begin(), languages.end());
            if (std::adjacent_find(languages.begin(), languages.end()) != languages.end())
                Damaged();
            type.items.push_back(std::move(item));
        }
        RefuseDuplicates(type.items);
        tree.types.push_back(std::move(type));
    }
    RefuseDuplicates(tree.types);
    return tree;
}

std::vector<uint8_t> BuildResourceSection(const ResourceTree& input, uint32_t rva) {
    ResourceTree tree = input;
    std::stable_sort(tree.types.begin(), tree.types.end(),
                     [](const ResType& a, const ResType& b) { return NameLess(a.name, b.name); });
    size_t itemCount = 0, leafCount = 0;
    for (ResType& t : tree.types) {
        std::stable_sort(t.items.begin(), t.items.end(), [](const ResItem& a, const ResItem& b) {
            return NameLess(a.name, b.name);
        });
        for (ResItem& i : t.items) {
            std::stable_sort(
                i.leaves.begin(), i.leaves.end(),
                [](const ResLeaf& a, const ResLeaf& b) { return a.language < b.language; });
            leafCount += i.leaves.size();
        }
        itemCount += t.items.size();
    }

    // Offsets of every part, in layout order.
    size_t dirBytes = kDirectoryHeaderSize + kEntrySize * tree.types.size();
    for (const ResType& t : tree.types)
        dirBytes += kDirectoryHeaderSize + kEntrySize * t.items.size();
    for (const ResType& t : tree.types)
        for (const ResItem& i : t.items)
            dirBytes += kDirectoryHeaderSize + kEntrySize * i.leaves.size();
    size_t dataEntriesAt = dirBytes;
    size_t namesAt = dataEntriesAt + kDataEntrySize * leafCount;
    size_t namesBytes = 0;
    auto nameBytes = [](const ResName& n) { return n.named ? 2 + 2 * n.name.size() : 0; };
    for (const ResType& t : tree.types) {
        namesBytes += nameBytes(t.name);
        for (const ResItem& i : t.items)
            namesBytes += nameBytes(i.name);
    }
    size_t dataAt = Align(namesAt + namesBytes, 8);
    size_t total = dataAt;
    for (const ResType& t : tree.types)
        for (const ResItem& i : t.items)
            for (const ResLeaf& l : i.leaves)
                total = Align(total + l.data.size(), 8);
    if (total > 0x7FFFFFFF || uint64_t{rva} + total > 0xFFFFFFFFu)
        throw PeError("The resources are too large");

    std::vector<uint8_t> out(total, 0);
    size_t nextDir = 0, nextData = dataEntriesAt, nextName = namesAt, nextBlob = dataAt;
    auto writeDir = [&](size_t entries, uint32_t characteristics, uint32_t stamp, uint16_t major,
                        uint16_t minor, size_t named) {
        size_t at = nextDir;
        uint8_t* p = out.data() + at;
        PutU32(p, characteristics);
        PutU32(p + 4, stamp);
        PutU16(p + 8, major);
        PutU16(p + 10, minor);
        PutU16(p + 12, static_cast<uint16_t>(named));
        PutU16(p + 14, static_cast<uint16_t>(entries - named));
        nextDir += kDirectoryHeaderSize + kEntrySize * entries;
        return at;
    };
    auto writeName = [&](const ResName& n) -> uint32_t {
        if (!n.named)
            return n.id;
        size_t at = nextName;
        PutU16(out.data() + at, static_cast<uint16_t>(n.name.size()));
        for (size_t k = 0; k < n.name.size(); ++k)
            PutU16(out.data() + at + 2 + 2 * k, n.name[k]);
        nextName += 2 + 2 * n.name.size();
        return static_cast<uint32_t>(at) | kHighBit;
    };
    auto setEntry = [&](size_t dir, size_t index, uint32_t name, uint32_t target) {
        uint8_t* e = out.data() + dir + kDirectoryHeaderSize + kEntrySize * index;
        PutU32(e, name);
        PutU32(e + 4, target);
    };
    auto countNamed = [](const auto& list) {
        size_t n = 0;
        for (const auto& x : list)
            n += x.name.named ? 1 : 0;
        return n;
    };

    if (tree.types.size() > 0xFFFF || itemCount > 0x7FFFFFF)
        throw PeError("The resources are too large");
    size_t rootAt = writeDir(tree.types.size(), tree.characteristics, tree.timeStamp,
                             tree.majorVersion, tree.minorVersion, countNamed(tree.types));
    // Breadth first: all type directories, then all name directories.
    std::vector<size_t> typeDirs;
    for (size_t ti = 0; ti < tree.types.size(); ++ti) {
        const ResType& t = tree.types[ti];
        if (t.items.size() > 0xFFFF)
            throw PeError("The resources are too large");
        size_t at = writeDir(t.items.size(), 0, 0, 0, 0, countNamed(t.items));
        setEntry(rootAt, ti, writeName(t.name), static_cast<uint32_t>(at) | kHighBit);
        typeDirs.push_back(at);
    }
    for (size_t ti = 0; ti < tree.types.size(); ++ti) {
        const ResType& t = tree.types[ti];
        for (size_t ii = 0; ii < t.items.size(); ++ii) {
            const ResItem& item = t.items[ii];
            if (item.leaves.size() > 0xFFFF)
                throw PeError("The resources are too large");
            size_t at = writeDir(item.leaves.size(), 0, 0, 0, 0, 0);
            setEntry(typeDirs[ti], ii, writeName(item.name), static_cast<uint32_t>(at) | kHighBit);
            for (size_t li = 0; li < item.leaves.size(); ++li) {
                const ResLeaf& leaf = item.leaves[li];
                size_t entryAt = nextData;
                nextData += kDataEntrySize;
                setEntry(at, li, leaf.language, static_cast<uint32_t>(entryAt));
                std::copy(leaf.data.begin(), leaf.data.end(), out.begin() + nextBlob);
                uint8_t* d = out.data() + entryAt;
                PutU32(d, rva + static_cast<uint32_t>(nextBlob));
                PutU32(d + 4, static_cast<uint32_t>(leaf.data.size()));
                PutU32(d + 8, leaf.codePage);
                nextBlob = Align(nextBlob + leaf.data.size(), 8);
            }
        }
    }
    return out;
}

} // namespace orv::pe
