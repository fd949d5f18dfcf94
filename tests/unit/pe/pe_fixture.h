// Small PE executables built in memory for the tests: a 32-bit (PE32) or
// 64-bit (PE32+) image with a code section, a resource section laid out from
// a resource tree, and optionally a relocation section after it (as linkers
// place it), plus the version resource and icon files that the launcher
// carries.
#pragma once

#include "pe/icons.h"
#include "pe/pe_image.h"
#include "pe/resource_tree.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

using Bytes = std::vector<uint8_t>;

// A version resource: VS_VERSION_INFO with a fixed part, StringFileInfo with
// one table of strings (each stored with its terminating zero), and
// VarFileInfo.
inline Bytes VersionResource(const std::vector<std::pair<std::string, std::string>>& strings,
                             const std::string& table = "040904E4") {
    struct Node {
        std::string key;
        Bytes value;
        bool text = false;
        std::vector<Node> children;
    };
    auto align = [](Bytes& b) {
        while (b.size() % 4)
            b.push_back(0);
    };
    auto put16 = [](Bytes& b, size_t at, size_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto wide = [](const std::string& s) {
        Bytes b;
        for (char c : s) {
            b.push_back(static_cast<uint8_t>(c));
            b.push_back(0);
        }
        b.push_back(0);
        b.push_back(0);
        return b;
    };
    std::function<void(Bytes&, const Node&)> write = [&](Bytes& out, const Node& n) {
        align(out);
        size_t start = out.size();
        out.resize(start + 6, 0);
        Bytes key = wide(n.key);
        out.insert(out.end(), key.begin(), key.end());
        align(out);
        out.insert(out.end(), n.value.begin(), n.value.end());
        for (const Node& c : n.children)
            write(out, c);
        put16(out, start, out.size() - start);
        put16(out, start + 2, n.text ? n.value.size() / 2 : n.value.size());
        put16(out, start + 4, n.text ? 1 : 0);
    };
    Node strTable{table, {}, true, {}};
    for (const auto& [k, v] : strings)
        strTable.children.push_back({k, wide(v), true, {}});
    Bytes fixed(52, 0);
    const uint8_t sig[4] = {0xBD, 0x04, 0xEF, 0xFE};
    std::copy(sig, sig + 4, fixed.begin());
    fixed[6] = 1; // structure version 1.0
    Node root{"VS_VERSION_INFO", fixed, false, {}};
    root.children.push_back({"StringFileInfo", {}, true, {strTable}});
    Node var{"VarFileInfo", {}, true, {}};
    var.children.push_back({"Translation", {0x09, 0x04, 0xE4, 0x04}, false, {}});
    root.children.push_back(var);
    Bytes out;
    write(out, root);
    return out;
}

// The launcher's strings as the program's own version information stores
// them: padded to 14 and 100 characters.
inline std::vector<std::pair<std::string, std::string>>
LauncherStrings(const std::string& fileVersion = "1.0.0.1") {
    return {{"CompanyName", "Orvexa" + std::string(94, ' ')},
            {"FileDescription", "Orvexa menu editor" + std::string(82, ' ')},
            {"FileVersion", fileVersion},
            {"LegalCopyright", "Copyright" + std::string(91, ' ')},
            {"OriginalFilename", "Orvexa.exe    "},
            {"ProductName", "Orvexa"}};
}

// A BMP-style icon image of w x h pixels at bpp bits per pixel (with its
// palette and AND mask), filled with a byte so images can be told apart.
inline pe::IconImage IconImageOf(int w, int h, int bpp, uint8_t fill) {
    pe::IconImage img;
    int colors = bpp <= 8 ? 1 << bpp : 0;
    size_t xorRow = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    size_t andRow = ((static_cast<size_t>(w) + 31) / 32) * 4;
    size_t size = 40 + 4 * colors + (xorRow + andRow) * h;
    img.data.assign(size, fill);
    auto put32 = [&](size_t at, uint32_t v) { pe::PutU32(img.data.data() + at, v); };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(w));
    put32(8, static_cast<uint32_t>(2 * h));
    pe::PutU16(img.data.data() + 12, 1);
    pe::PutU16(img.data.data() + 14, static_cast<uint16_t>(bpp));
    for (size_t i = 16; i < 40; ++i)
        img.data[i] = 0;
    img.entry[0] = static_cast<uint8_t>(w);
    img.entry[1] = static_cast<uint8_t>(h);
    img.entry[2] = static_cast<uint8_t>(colors < 256 ? colors : 0);
    pe::PutU16(img.entry + 4, 1);
    pe::PutU16(img.entry + 6, static_cast<uint16_t>(bpp));
    pe::PutU32(img.entry + 8, static_cast<uint32_t>(size));
    return img;
}

inline pe::IconFile IconOf(std::vector<pe::IconImage> images) {
    pe::IconFile f;
    f.images = std::move(images);
    return f;
}

// The resources of a launcher: its version information and a "MAINICON"
// group of the given images (icons numbered from firstIcon), plus a cursor
// group so that unrelated resources are present.
inline pe::ResourceTree LauncherResources(const pe::IconFile& icon, const Bytes& version,
                                          uint16_t firstIcon = 1) {
    pe::ResourceTree t;
    for (size_t i = 0; i < icon.images.size(); ++i)
        t.Put(pe::ResName::Id(pe::kTypeIcon), pe::ResName::Id(firstIcon + i),
              pe::kLanguageUsEnglish, icon.images[i].data);
    t.Put(pe::ResName::Id(pe::kTypeGroupIcon), pe::ResName::Name("MAINICON"),
          pe::kLanguageUsEnglish, pe::MakeIconGroup(0, 1, icon, firstIcon));
    t.Put(pe::ResName::Id(pe::kTypeCursor), pe::ResName::Id(1), pe::kLanguageUsEnglish,
          Bytes(300, 0xCC));
    t.Put(pe::ResName::Id(pe::kTypeGroupCursor), pe::ResName::Name("CURSOR1"),
          pe::kLanguageUsEnglish,
          Bytes{0, 0, 2, 0, 1, 0, 32, 0, 32, 0, 1, 0, 1, 0, 44, 1, 0, 0, 1, 0});
    if (!version.empty())
        t.Put(pe::ResName::Id(pe::kTypeVersion), pe::ResName::Id(1), pe::kLanguageUsEnglish,
              version);
    return t;
}

// The two kinds of image: the optional header of a PE32 image is 224
// bytes with the directories from byte 96; a PE32+ image has an 8-byte
// image base, 8-byte stack and heap sizes and no base of data, so its
// header is 240 bytes with the directories from byte 112.
enum class PeFormat { Pe32, Pe32Plus };
inline constexpr PeFormat kPeFormats[] = {PeFormat::Pe32, PeFormat::Pe32Plus};

inline const char* FormatName(PeFormat f) {
    return f == PeFormat::Pe32 ? "PE32" : "PE32+";
}

// Where the fixture puts its headers: the PE header at 0x80, the optional
// header 24 bytes after it.
struct PeLayout {
    PeFormat format;
    static constexpr uint32_t kPeHeader = 0x80;
    static constexpr uint32_t kOptional = kPeHeader + 24;

    bool Is64() const { return format == PeFormat::Pe32Plus; }
    uint16_t OptionalSize() const { return Is64() ? 240 : 224; }
    uint16_t Magic() const { return Is64() ? 0x20B : 0x10B; }
    // File offset of data directory index.
    uint32_t Directory(uint32_t index) const { return kOptional + (Is64() ? 112 : 96) + 8 * index; }
    uint32_t SectionTable() const { return kOptional + OptionalSize(); }
    uint32_t SectionHeader(uint32_t index) const { return SectionTable() + 40 * index; }
};

struct PeOptions {
    PeFormat format = PeFormat::Pe32;
    bool relocAfterResources = false; // a section after .rsrc (as with --dynamicbase)
    uint32_t resourceSlack = 0;       // extra raw bytes in .rsrc
    Bytes overlay;                    // bytes appended after the sections
    bool withResources = true;
    bool headerRoom = true; // room for more section headers, as linkers leave
    bool checkSum = false;  // store the image's checksum, as signed programs do
};

// A PE image: headers (file alignment 0x200, section alignment 0x1000),
// .text, .rsrc and optionally .reloc. The code is "xor eax, eax; ret", the
// same bytes in both kinds of image. A PE32+ image is based above 4 GB, as
// 64-bit linkers place programs, and its 8-byte fields carry distinct values
// in both halves, so that a field written at a 32-bit offset shows.
inline Bytes BuildPe(const pe::ResourceTree& tree, const PeOptions& opt = {}) {
    constexpr uint32_t kFileAlign = 0x200, kSectAlign = 0x1000;
    const PeLayout layout{opt.format};
    auto alignUp = [](size_t v, size_t a) { return (v + a - 1) / a * a; };
    struct Sec {
        std::string name;
        uint32_t va;
        Bytes raw;
        uint32_t vsize;
        uint32_t flags;
    };
    std::vector<Sec> secs;
    Bytes code(16, 0x90);
    code[0] = 0x31;
    code[1] = 0xC0;
    code[2] = 0xC3;
    secs.push_back({".text", 0x1000, code, 16, 0x60000020});
    uint32_t va = 0x2000;
    uint32_t rsrcVa = 0, rsrcSize = 0;
    if (opt.withResources) {
        Bytes rsrc = pe::BuildResourceSection(tree, va);
        rsrcSize = static_cast<uint32_t>(rsrc.size());
        rsrc.resize(rsrc.size() + opt.resourceSlack, 0);
        secs.push_back({".rsrc", va, rsrc, rsrcSize, 0x40000040});
        rsrcVa = va;
        va += static_cast<uint32_t>(alignUp(rsrc.size(), kSectAlign));
    }
    if (opt.relocAfterResources)
        secs.push_back({".reloc", va, Bytes(12, 0), 12, 0x42000040});

    size_t headers = layout.SectionHeader(static_cast<uint32_t>(secs.size()));
    uint32_t headerSize =
        static_cast<uint32_t>(alignUp(opt.headerRoom ? headers + 0x200 : headers, kFileAlign));
    Bytes out(headerSize, 0);
    out[0] = 'M';
    out[1] = 'Z';
    pe::PutU32(&out[60], PeLayout::kPeHeader);
    uint8_t* pe = &out[PeLayout::kPeHeader];
    pe[0] = 'P';
    pe[1] = 'E';
    pe::PutU16(pe + 4, layout.Is64() ? 0x8664 : 0x14C);
    pe::PutU16(pe + 6, static_cast<uint16_t>(secs.size()));
    pe::PutU16(pe + 20, layout.OptionalSize());
    pe::PutU16(pe + 22, layout.Is64() ? 0x0022 : 0x0102);
    uint8_t* oh = &out[PeLayout::kOptional];
    pe::PutU16(oh, layout.Magic());
    pe::PutU32(oh + 16, 0x1000); // entry point
    pe::PutU32(oh + 20, 0x1000); // base of code
    if (layout.Is64()) {
        pe::PutU32(oh + 24, 0x40000000); // image base 0x140000000
        pe::PutU32(oh + 28, 0x1);
    } else {
        pe::PutU32(oh + 24, 0x2000);   // base of data
        pe::PutU32(oh + 28, 0x400000); // image base
    }
    pe::PutU32(oh + 32, kSectAlign);
    pe::PutU32(oh + 36, kFileAlign);
    pe::PutU16(oh + 40, 4); // OS version
    pe::PutU16(oh + 48, 4); // subsystem version
    pe::PutU32(oh + 60, headerSize);
    pe::PutU16(oh + 68, 2); // GUI
    if (layout.Is64()) {
        // Stack and heap reserve and commit, 8 bytes each.
        const uint32_t sizes[4] = {0x100000, 0x1000, 0x100000, 0x1000};
        for (int i = 0; i < 4; ++i) {
            pe::PutU32(oh + 72 + 8 * i, sizes[i]);
            pe::PutU32(oh + 76 + 8 * i, 0x10 + static_cast<uint32_t>(i));
        }
        pe::PutU32(oh + 108, 16);
    } else {
        pe::PutU32(oh + 72, 0x100000);
        pe::PutU32(oh + 76, 0x1000);
        pe::PutU32(oh + 80, 0x100000);
        pe::PutU32(oh + 84, 0x1000);
        pe::PutU32(oh + 92, 16);
    }
    pe::PutU32(&out[layout.Directory(2)], rsrcVa);
    pe::PutU32(&out[layout.Directory(2)] + 4, rsrcSize);
    uint32_t imageEnd = 0x1000;
    for (size_t i = 0; i < secs.size(); ++i) {
        Sec& s = secs[i];
        uint8_t* h = &out[layout.SectionHeader(static_cast<uint32_t>(i))];
        std::copy(s.name.begin(), s.name.end(), h);
        uint32_t rawSize = static_cast<uint32_t>(alignUp(s.raw.size(), kFileAlign));
        pe::PutU32(h + 8, s.vsize);
        pe::PutU32(h + 12, s.va);
        pe::PutU32(h + 16, rawSize);
        pe::PutU32(h + 20, static_cast<uint32_t>(out.size()));
        pe::PutU32(h + 36, s.flags);
        s.raw.resize(rawSize, 0);
        out.insert(out.end(), s.raw.begin(), s.raw.end());
        imageEnd = static_cast<uint32_t>(alignUp(s.va + s.vsize, kSectAlign));
    }
    pe::PutU32(&out[PeLayout::kOptional + 56], imageEnd);
    out.insert(out.end(), opt.overlay.begin(), opt.overlay.end());
    if (opt.checkSum)
        pe::PutU32(&out[PeLayout::kOptional + 64],
                   pe::ComputeCheckSum(out, PeLayout::kOptional + 64));
    return out;
}

// A launcher image with the usual strings and a two-image icon.
inline Bytes LauncherPe(const std::string& fileVersion = "1.0.0.1", const PeOptions& opt = {}) {
    pe::IconFile icon = IconOf({IconImageOf(32, 32, 4, 0x11), IconImageOf(16, 16, 4, 0x22)});
    return BuildPe(LauncherResources(icon, VersionResource(LauncherStrings(fileVersion))), opt);
}
inline Bytes LauncherPe(PeFormat format, const std::string& fileVersion = "1.0.0.1") {
    PeOptions opt;
    opt.format = format;
    return LauncherPe(fileVersion, opt);
}

} // namespace orv::test
