#include "test_image.h"

#include "loader/container.h"

#include <cstring>
#include <string>

namespace vyk::test {

namespace {

constexpr uint32_t kFileAlign = 0x200;
constexpr uint32_t kSectionAlign = 0x1000;
constexpr uint32_t kHeaders = 0x400;

// The optional header of each format: its size with 16 directories, and
// where the directory count and the directories are.
struct Layout {
    uint16_t magic;
    uint16_t machine;
    uint16_t optSize;
    size_t numDirs;
    size_t dirs;
};
constexpr Layout kPe32 = {0x10B, 0x14C, 224, 92, 96};
constexpr Layout kPe32Plus = {0x20B, 0x8664, 240, 108, 112};

std::vector<uint8_t> Text(std::u16string_view s) {
    std::vector<uint8_t> v;
    for (char16_t c : s) {
        v.push_back(uint8_t(c));
        v.push_back(uint8_t(c >> 8));
    }
    v.push_back(0);
    v.push_back(0);
    return v;
}

uint32_t Align(uint32_t v, uint32_t a) {
    return (v + a - 1) / a * a;
}

} // namespace

VersionNode LoaderVersionInfo() {
    VersionNode root{u"VS_VERSION_INFO", 0, std::vector<uint8_t>(52, 0), {}};
    PutLe32(root.value.data(), 0xFEEF04BD);
    VersionNode table{u"040904E4", 1, {}, {}};
    table.children.push_back({u"FileDescription", 1, Text(u"Installer"), {}});
    table.children.push_back({u"Arguments", 1, Text(u""), {}});
    table.children.push_back({u"Comments", 1, Text(u"Win32 (x86) ANSI"), {}});
    root.children.push_back({u"StringFileInfo", 1, {}, {table}});
    VersionNode var{u"Translation", 0, {0x09, 0x04, 0xE4, 0x04}, {}};
    root.children.push_back({u"VarFileInfo", 1, {}, {var}});
    return root;
}

std::vector<uint8_t> BuildTestImage(const ImageOptions& o) {
    const Layout& layout = o.pe32plus ? kPe32Plus : kPe32;
    const size_t table = kTestOptOffset + layout.optSize;
    struct Part {
        std::string name;
        std::vector<uint8_t> data;
        uint32_t characteristics;
    };
    std::vector<Part> parts;
    parts.push_back({".text", std::vector<uint8_t>(100, 0xC3), 0x60000020});
    parts.push_back({".rdata", std::vector<uint8_t>(300, 0x11), 0x40000040});
    for (int i = 0; i < o.extraSections; ++i)
        parts.push_back({".x" + std::to_string(i), std::vector<uint8_t>(16, 0x22), 0x40000040});
    const size_t rsrcIndex = parts.size();
    uint32_t rsrcRva = kSectionAlign * uint32_t(rsrcIndex + 1);
    ResourceNode root;
    if (o.withVersion) {
        ResourceNode lang;
        lang.id = 0x409;
        lang.leaf = true;
        lang.data = BuildVersionInfo(LoaderVersionInfo());
        ResourceNode name;
        name.id = 1;
        name.children.push_back(lang);
        ResourceNode type;
        type.id = kResourceTypeVersion;
        type.children.push_back(name);
        root.children.push_back(type);
    }
    // A named resource too, so names survive the rebuild.
    ResourceNode blob;
    blob.named = true;
    blob.name = u"BLOB";
    ResourceNode blobName;
    blobName.id = 7;
    ResourceNode blobLang;
    blobLang.id = 0;
    blobLang.leaf = true;
    blobLang.data = {1, 2, 3, 4, 5};
    blobName.children.push_back(blobLang);
    blob.children.push_back(blobName);
    root.children.insert(root.children.begin(), blob);
    parts.push_back({".rsrc", BuildResourceSection(root, rsrcRva), 0x40000040});
    parts.push_back({".reloc", std::vector<uint8_t>(12, 0), 0x42000040});

    std::vector<uint8_t> out(kHeaders, 0);
    out[0] = 'M';
    out[1] = 'Z';
    PutLe32(out.data() + 60, kTestPeOffset);
    std::memcpy(out.data() + kTestPeOffset, "PE\0\0", 4);
    uint8_t* fh = out.data() + kTestPeOffset + 4;
    PutLe16(fh, layout.machine);
    PutLe16(fh + 2, uint16_t(parts.size()));
    PutLe16(fh + 16, layout.optSize);
    PutLe16(fh + 18, o.pe32plus ? 0x0022 : 0x0102);
    uint8_t* opt = out.data() + kTestOptOffset;
    PutLe16(opt, layout.magic);
    PutLe32(opt + 16, kSectionAlign); // entry point
    if (o.pe32plus)
        PutLe64(opt + 24, kTestImageBase64);
    else
        PutLe32(opt + 28, uint32_t(kTestImageBase32));
    PutLe32(opt + 32, kSectionAlign);
    PutLe32(opt + 36, kFileAlign);
    PutLe32(opt + 60, kHeaders);
    PutLe16(opt + 68, 2);
    PutLe32(opt + layout.numDirs, 16);
    uint32_t rva = kSectionAlign;
    uint32_t initData = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const Part& p = parts[i];
        uint8_t* s = out.data() + table + 40 * i;
        std::memcpy(s, p.name.data(), std::min<size_t>(p.name.size(), 8));
        const uint32_t rawSize = Align(uint32_t(p.data.size()), kFileAlign);
        PutLe32(s + 8, uint32_t(p.data.size()));
        PutLe32(s + 12, rva);
        PutLe32(s + 16, rawSize);
        PutLe32(s + 20, uint32_t(out.size()));
        PutLe32(s + 36, p.characteristics);
        if (p.characteristics & 0x40)
            initData += rawSize;
        if (i == rsrcIndex) {
            PutLe32(out.data() + kTestOptOffset + layout.dirs + 8 * 2, rva);
            PutLe32(out.data() + kTestOptOffset + layout.dirs + 8 * 2 + 4, uint32_t(p.data.size()));
        }
        out.insert(out.end(), p.data.begin(), p.data.end());
        out.resize(Align(uint32_t(out.size()), kFileAlign), 0);
        rva += Align(uint32_t(p.data.size()), kSectionAlign);
    }
    // The buffer has grown: no stale pointers.
    PutLe32(out.data() + kTestOptOffset + 8, initData);
    PutLe32(out.data() + kTestOptOffset + 56, rva);
    return out;
}

bool ReadRawHeaders(const std::vector<uint8_t>& f, RawHeaders& h, std::string& error) {
    h = RawHeaders();
    auto fail = [&error](const char* why) {
        error = why;
        return false;
    };
    if (f.size() < 64 || f[0] != 'M' || f[1] != 'Z')
        return fail("no MZ");
    const size_t pe = Le32(f.data() + 60);
    if (pe + 24 > f.size() || std::memcmp(f.data() + pe, "PE\0\0", 4) != 0)
        return fail("no PE signature");
    const uint8_t* fh = f.data() + pe + 4;
    h.machine = Le16(fh);
    const size_t count = Le16(fh + 2);
    h.optSize = Le16(fh + 16);
    const size_t optAt = pe + 24;
    h.tableOffset = optAt + h.optSize;
    if (h.tableOffset + 40 * count > f.size())
        return fail("headers beyond the file");
    const uint8_t* opt = f.data() + optAt;
    const uint16_t magic = Le16(opt);
    if (magic != kPe32.magic && magic != kPe32Plus.magic)
        return fail("unknown optional header magic");
    h.pe32plus = magic == kPe32Plus.magic;
    const Layout& layout = h.pe32plus ? kPe32Plus : kPe32;
    if (h.optSize < layout.dirs)
        return fail("optional header too short");
    h.imageBase = h.pe32plus ? Le64(opt + 24) : Le32(opt + 28);
    h.sizeOfInitData = Le32(opt + 8);
    h.sectionAlign = Le32(opt + 32);
    h.fileAlign = Le32(opt + 36);
    h.sizeOfImage = Le32(opt + 56);
    h.sizeOfHeaders = Le32(opt + 60);
    h.checksumOffset = optAt + 64;
    h.checksum = Le32(opt + 64);
    h.numDirs = Le32(opt + layout.numDirs);
    if (h.numDirs > 16 || layout.dirs + 8 * h.numDirs > h.optSize)
        return fail("bad directory count");
    for (uint32_t i = 0; i < h.numDirs; ++i) {
        h.dirs[i][0] = Le32(opt + layout.dirs + 8 * i);
        h.dirs[i][1] = Le32(opt + layout.dirs + 8 * i + 4);
    }
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* s = f.data() + h.tableOffset + 40 * i;
        RawSection r;
        r.name.assign(reinterpret_cast<const char*>(s),
                      strnlen(reinterpret_cast<const char*>(s), 8));
        r.virtualSize = Le32(s + 8);
        r.virtualAddress = Le32(s + 12);
        r.rawSize = Le32(s + 16);
        r.rawOffset = Le32(s + 20);
        r.characteristics = Le32(s + 36);
        h.sections.push_back(r);
    }
    return true;
}

} // namespace vyk::test
