#include "loader/resources.h"

#include "loader/container.h"

#include <algorithm>
#include <cstring>

namespace vyk {

namespace {

constexpr uint32_t kHighBit = 0x80000000;
constexpr int kMaxResourceDepth = 3; // type, name, language
constexpr size_t kMaxResourceNodes = 65536;
constexpr int kMaxVersionDepth = 6;
constexpr size_t kMaxVersionNodes = 4096;

struct TreeReader {
    const PeFile& pe;
    const uint8_t* base; // the resource directory
    size_t size;         // bytes of the section from base on
    size_t nodes = 0;
    size_t dataTotal = 0;
    std::string& error;

    bool Fail(const char* why) {
        error = why;
        return false;
    }

    bool ReadName(uint32_t offset, std::u16string& name) {
        if (offset > size || size - offset < 2)
            return Fail("resource name outside the section");
        const size_t len = Le16(base + offset);
        if ((size - offset - 2) / 2 < len)
            return Fail("resource name outside the section");
        name.clear();
        for (size_t i = 0; i < len; ++i)
            name += char16_t(Le16(base + offset + 2 + 2 * i));
        return true;
    }

    bool ReadDirectory(uint32_t offset, int depth, ResourceNode& dir) {
        if (depth >= kMaxResourceDepth)
            return Fail("resource tree too deep");
        if (offset > size || size - offset < 16)
            return Fail("resource directory outside the section");
        const uint8_t* d = base + offset;
        dir.characteristics = Le32(d);
        dir.timeDateStamp = Le32(d + 4);
        dir.majorVersion = Le16(d + 8);
        dir.minorVersion = Le16(d + 10);
        const size_t count = size_t(Le16(d + 12)) + Le16(d + 14);
        if ((size - offset - 16) / 8 < count)
            return Fail("resource directory outside the section");
        if (count > kMaxResourceNodes - nodes)
            return Fail("too many resources");
        nodes += count;
        dir.children.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = d + 16 + 8 * i;
            const uint32_t nameField = Le32(e);
            const uint32_t target = Le32(e + 4);
            ResourceNode child;
            if (nameField & kHighBit) {
                child.named = true;
                if (!ReadName(nameField & ~kHighBit, child.name))
                    return false;
            } else {
                child.id = nameField;
            }
            if (target & kHighBit) {
                if (!ReadDirectory(target & ~kHighBit, depth + 1, child))
                    return false;
            } else if (!ReadLeaf(target, child)) {
                return false;
            }
            dir.children.push_back(std::move(child));
        }
        return true;
    }

    bool ReadLeaf(uint32_t offset, ResourceNode& leaf) {
        if (offset > size || size - offset < 16)
            return Fail("resource data entry outside the section");
        const uint8_t* e = base + offset;
        const uint32_t rva = Le32(e);
        const uint32_t dataSize = Le32(e + 4);
        const uint8_t* data = pe.RvaPointer(rva, dataSize);
        if (!data)
            return Fail("resource data outside the file");
        // Leaves that share their bytes must not multiply them.
        if (dataSize > pe.Bytes().size() - dataTotal)
            return Fail("resource data larger than the file");
        dataTotal += dataSize;
        leaf.leaf = true;
        leaf.codePage = Le32(e + 8);
        leaf.data.assign(data, data + dataSize);
        return true;
    }
};

// Directory entries are looked up by binary search: names first, then
// identifiers in ascending order.
void SortEntries(std::vector<ResourceNode>& v) {
    std::stable_sort(v.begin(), v.end(), [](const ResourceNode& a, const ResourceNode& b) {
        if (a.named != b.named)
            return a.named;
        return !a.named && a.id < b.id;
    });
}

void Align(std::vector<uint8_t>& out, size_t a) {
    out.resize((out.size() + a - 1) / a * a, 0);
}

} // namespace

bool ReadResources(const PeFile& pe, ResourceNode& root, std::string& error) {
    root = ResourceNode();
    const uint32_t rva = pe.DirectoryRva(kDirResource);
    if (rva == 0)
        return true;
    size_t available = 0;
    const uint8_t* base = pe.RvaSpan(rva, available);
    if (!base) {
        error = "resource directory outside the file";
        return false;
    }
    TreeReader r{pe, base, available, 0, 0, error};
    return r.ReadDirectory(0, 0, root);
}

std::vector<uint8_t> BuildResourceSection(const ResourceNode& rootIn, uint32_t sectionRva) {
    ResourceNode root = rootIn;
    // Directories breadth first, so each table's children follow together.
    std::vector<ResourceNode*> dirs{&root};
    for (size_t i = 0; i < dirs.size(); ++i) {
        SortEntries(dirs[i]->children);
        for (ResourceNode& c : dirs[i]->children)
            if (!c.leaf)
                dirs.push_back(&c);
    }
    std::vector<size_t> dirOffset(dirs.size());
    size_t at = 0;
    for (size_t i = 0; i < dirs.size(); ++i) {
        dirOffset[i] = at;
        at += 16 + 8 * dirs[i]->children.size();
    }
    std::vector<uint8_t> out(at, 0);

    // Names.
    std::vector<std::pair<const ResourceNode*, size_t>> nameAt;
    for (ResourceNode* d : dirs)
        for (const ResourceNode& c : d->children)
            if (c.named) {
                nameAt.push_back({&c, out.size()});
                const size_t len = std::min<size_t>(c.name.size(), 0xFFFF);
                out.resize(out.size() + 2 + 2 * len);
                uint8_t* p = out.data() + nameAt.back().second;
                PutLe16(p, uint16_t(len));
                for (size_t k = 0; k < len; ++k)
                    PutLe16(p + 2 + 2 * k, c.name[k]);
            }
    Align(out, 4);

    // Data entries, then the data.
    std::vector<std::pair<const ResourceNode*, size_t>> entryAt;
    for (ResourceNode* d : dirs)
        for (const ResourceNode& c : d->children)
            if (c.leaf) {
                entryAt.push_back({&c, out.size()});
                out.resize(out.size() + 16, 0);
            }
    for (const auto& [leaf, entry] : entryAt) {
        Align(out, 8);
        const size_t dataAt = out.size();
        out.insert(out.end(), leaf->data.begin(), leaf->data.end());
        PutLe32(out.data() + entry, uint32_t(sectionRva + dataAt));
        PutLe32(out.data() + entry + 4, uint32_t(leaf->data.size()));
        PutLe32(out.data() + entry + 8, leaf->codePage);
    }
    Align(out, 4);

    auto find = [](const auto& list, const ResourceNode* n) {
        for (const auto& [node, off] : list)
            if (node == n)
                return off;
        return size_t(0);
    };
    for (size_t i = 0; i < dirs.size(); ++i) {
        const ResourceNode& d = *dirs[i];
        uint8_t* p = out.data() + dirOffset[i];
        PutLe32(p, d.characteristics);
        PutLe32(p + 4, d.timeDateStamp);
        PutLe16(p + 8, d.majorVersion);
        PutLe16(p + 10, d.minorVersion);
        const auto named = std::count_if(d.children.begin(), d.children.end(),
                                         [](const ResourceNode& c) { return c.named; });
        PutLe16(p + 12, uint16_t(named));
        PutLe16(p + 14, uint16_t(d.children.size() - size_t(named)));
        for (size_t k = 0; k < d.children.size(); ++k) {
            const ResourceNode& c = d.children[k];
            uint8_t* e = p + 16 + 8 * k;
            PutLe32(e, c.named ? uint32_t(kHighBit | find(nameAt, &c)) : c.id);
            if (c.leaf) {
                PutLe32(e + 4, uint32_t(find(entryAt, &c)));
            } else {
                const size_t sub = size_t(std::find(dirs.begin(), dirs.end(), &c) - dirs.begin());
                PutLe32(e + 4, uint32_t(kHighBit | dirOffset[sub]));
            }
        }
    }
    return out;
}

std::vector<ResourceNode*> FindResourceLeaves(ResourceNode& root, uint32_t typeId) {
    std::vector<ResourceNode*> leaves;
    for (ResourceNode& type : root.children) {
        if (type.named || type.id != typeId || type.leaf)
            continue;
        for (ResourceNode& name : type.children) {
            if (name.leaf) {
                leaves.push_back(&name);
                continue;
            }
            for (ResourceNode& lang : name.children)
                if (lang.leaf)
                    leaves.push_back(&lang);
        }
    }
    return leaves;
}

namespace {

struct VersionReader {
    const uint8_t* base;
    size_t nodes = 0;
    std::string& error;

    bool Fail(const char* why) {
        error = why;
        return false;
    }

    static size_t Align4(size_t v) { return (v + 3) & ~size_t(3); }

    // Reads the node at [at, limit).
    bool Read(size_t at, size_t limit, int depth, VersionNode& node, size_t& length) {
        if (depth > kMaxVersionDepth)
            return Fail("version block nested too deep");
        if (++nodes > kMaxVersionNodes)
            return Fail("version block has too many entries");
        if (limit - at < 6)
            return Fail("version entry cut short");
        length = Le16(base + at);
        const size_t valueLength = Le16(base + at + 2);
        node.type = Le16(base + at + 4);
        if (length < 6 || length > limit - at)
            return Fail("version entry length out of range");
        const size_t end = at + length;
        size_t p = at + 6;
        node.key.clear();
        for (;;) {
            if (end - p < 2)
                return Fail("version key not terminated");
            const char16_t c = char16_t(Le16(base + p));
            p += 2;
            if (c == 0)
                break;
            node.key += c;
        }
        p = std::min(Align4(p), end);
        size_t bytes = node.type == 1 ? valueLength * 2 : valueLength;
        if (bytes > end - p) {
            // Some tools count text values in bytes; take what the entry holds.
            if (node.type != 1)
                return Fail("version value outside its entry");
            bytes = (end - p) & ~size_t(1);
        }
        node.value.assign(base + p, base + p + bytes);
        p = Align4(p + bytes);
        while (p + 6 <= end) {
            VersionNode child;
            size_t childLength = 0;
            if (!Read(p, end, depth + 1, child, childLength))
                return false;
            node.children.push_back(std::move(child));
            p = Align4(p + childLength);
        }
        return true;
    }
};

void EmitVersion(std::vector<uint8_t>& out, const VersionNode& n) {
    const size_t start = out.size();
    out.resize(start + 6, 0);
    for (char16_t c : n.key) {
        out.push_back(uint8_t(c));
        out.push_back(uint8_t(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    Align(out, 4);
    out.insert(out.end(), n.value.begin(), n.value.end());
    for (const VersionNode& c : n.children) {
        Align(out, 4);
        EmitVersion(out, c);
    }
    const size_t length = out.size() - start;
    const size_t valueLength = n.type == 1 ? n.value.size() / 2 : n.value.size();
    PutLe16(out.data() + start, uint16_t(std::min<size_t>(length, 0xFFFF)));
    PutLe16(out.data() + start + 2, uint16_t(std::min<size_t>(valueLength, 0xFFFF)));
    PutLe16(out.data() + start + 4, n.type);
}

std::vector<uint8_t> TextValue(std::u16string_view s) {
    std::vector<uint8_t> v;
    for (char16_t c : s) {
        v.push_back(uint8_t(c));
        v.push_back(uint8_t(c >> 8));
    }
    v.push_back(0);
    v.push_back(0);
    return v;
}

} // namespace

bool ParseVersionInfo(const uint8_t* data, size_t size, VersionNode& root, std::string& error) {
    root = VersionNode();
    VersionReader r{data, 0, error};
    size_t length = 0;
    return r.Read(0, size, 0, root, length);
}

std::vector<uint8_t> BuildVersionInfo(const VersionNode& root) {
    std::vector<uint8_t> out;
    EmitVersion(out, root);
    if (out.size() > 0xFFFF)
        return {}; // lengths are 16-bit
    return out;
}

bool SetVersionString(VersionNode& root, std::u16string_view key, std::u16string_view value) {
    bool any = false;
    for (VersionNode& sfi : root.children) {
        if (sfi.key != u"StringFileInfo")
            continue;
        for (VersionNode& table : sfi.children) {
            any = true;
            auto it = std::find_if(table.children.begin(), table.children.end(),
                                   [&](const VersionNode& s) { return s.key == key; });
            if (it == table.children.end()) {
                table.children.push_back(VersionNode{std::u16string(key), 1, {}, {}});
                it = table.children.end() - 1;
            }
            it->type = 1;
            it->value = TextValue(value);
        }
    }
    return any;
}

bool GetVersionString(const VersionNode& root, std::u16string_view key, std::u16string& value) {
    for (const VersionNode& sfi : root.children) {
        if (sfi.key != u"StringFileInfo")
            continue;
        for (const VersionNode& table : sfi.children)
            for (const VersionNode& s : table.children) {
                if (s.key != key)
                    continue;
                value.clear();
                for (size_t i = 0; i + 1 < s.value.size(); i += 2) {
                    const char16_t c = char16_t(Le16(s.value.data() + i));
                    if (c == 0)
                        break;
                    value += c;
                }
                return true;
            }
    }
    return false;
}

} // namespace vyk
