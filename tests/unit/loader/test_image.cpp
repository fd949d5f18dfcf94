#include "test_image.h"

#include "loader/container.h"

#include <cstring>
#include <string>

namespace vyk::test {

namespace {

constexpr uint32_t kFileAlign = 0x200;
constexpr uint32_t kSectionAlign = 0x1000;
constexpr uint32_t kHeaders = 0x400;
constexpr size_t kPe = 0x40;
constexpr size_t kOpt = kPe + 24;
constexpr size_t kTable = kOpt + 224;

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
    PutLe32(out.data() + 60, kPe);
    std::memcpy(out.data() + kPe, "PE\0\0", 4);
    uint8_t* fh = out.data() + kPe + 4;
    PutLe16(fh, 0x14C);
    PutLe16(fh + 2, uint16_t(parts.size()));
    PutLe16(fh + 16, 224);
    PutLe16(fh + 18, 0x0102);
    uint8_t* opt = out.data() + kOpt;
    PutLe16(opt, 0x10B);
    PutLe32(opt + 16, kSectionAlign); // entry point
    PutLe32(opt + 28, 0x400000);
    PutLe32(opt + 32, kSectionAlign);
    PutLe32(opt + 36, kFileAlign);
    PutLe32(opt + 60, kHeaders);
    PutLe16(opt + 68, 2);
    PutLe32(opt + 92, 16);
    uint32_t rva = kSectionAlign;
    for (size_t i = 0; i < parts.size(); ++i) {
        const Part& p = parts[i];
        uint8_t* s = out.data() + kTable + 40 * i;
        std::memcpy(s, p.name.data(), std::min<size_t>(p.name.size(), 8));
        PutLe32(s + 8, uint32_t(p.data.size()));
        PutLe32(s + 12, rva);
        PutLe32(s + 16, Align(uint32_t(p.data.size()), kFileAlign));
        PutLe32(s + 20, uint32_t(out.size()));
        PutLe32(s + 36, p.characteristics);
        if (i == rsrcIndex) {
            PutLe32(out.data() + kOpt + 96 + 8 * 2, rva);
            PutLe32(out.data() + kOpt + 96 + 8 * 2 + 4, uint32_t(p.data.size()));
        }
        out.insert(out.end(), p.data.begin(), p.data.end());
        out.resize(Align(uint32_t(out.size()), kFileAlign), 0);
        rva += Align(uint32_t(p.data.size()), kSectionAlign);
    }
    PutLe32(out.data() + kOpt + 56, rva); // the buffer has grown: no stale pointers
    return out;
}

} // namespace vyk::test
