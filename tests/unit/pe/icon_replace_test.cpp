#include "base/fsys.h"
#include "base/stream.h"
#include "pe/icon_replace.h"
#include "pe/pe_error.h"
#include "pe/pe_image.h"
#include "pe/resource_tree.h"
#include "pe/version_info.h"
#include "support/tempdir.h"
#include "unit/pe/independent.h"
#include "unit/pe/pe_fixture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Bytes;

std::string Str(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

pe::Headers HeadersOf(const Bytes& exe) {
    ViewStream s(exe.data(), exe.size());
    pe::Headers h;
    EXPECT_EQ(pe::ReadHeaders(s, h, true), pe::HeaderFault::None);
    return h;
}

pe::ResourceTree TreeOf(const Bytes& exe) {
    pe::Headers h = HeadersOf(exe);
    int i = pe::FindSectionHolding(h, h.resourceRva);
    EXPECT_GE(i, 0);
    const pe::Section& s = h.sections[static_cast<size_t>(i)];
    pe::ResourceSection sec;
    sec.rva = s.virtualAddress;
    sec.rootOffset = h.resourceRva - s.virtualAddress;
    sec.bytes.assign(exe.begin() + s.rawOffset, exe.begin() + s.rawOffset + s.rawSize);
    return pe::ParseResourceTree(sec);
}

const Bytes* Leaf(pe::ResourceTree& t, pe::ResName type, pe::ResName name, uint32_t lang) {
    pe::ResItem* item = t.FindItem(type, name);
    if (!item)
        return nullptr;
    for (const pe::ResLeaf& l : item->leaves)
        if (l.language == lang)
            return &l.data;
    return nullptr;
}

TEST(ResourceTree, LaysOutAndReadsBack) {
    pe::IconFile icon = test::IconOf({test::IconImageOf(32, 32, 4, 1)});
    pe::ResourceTree t =
        test::LauncherResources(icon, test::VersionResource(test::LauncherStrings()));
    t.Put(pe::ResName::Name("ZETA"), pe::ResName::Name("b"), 7, Bytes{1, 2, 3});
    t.Put(pe::ResName::Name("ALPHA"), pe::ResName::Id(9), 1031, Bytes{4});
    t.Put(pe::ResName::Name("ALPHA"), pe::ResName::Id(9), 1033, Bytes{5, 6});
    Bytes section = pe::BuildResourceSection(t, 0x5000);
    pe::ResourceSection sec{0x5000, 0, section};
    pe::ResourceTree back = pe::ParseResourceTree(sec);
    // Named types come first, in order; numbered ones ascend.
    ASSERT_EQ(back.types.size(), t.types.size());
    EXPECT_EQ(back.types[0].name.name, u"ALPHA");
    EXPECT_EQ(back.types[1].name.name, u"ZETA");
    EXPECT_EQ(back.types[2].name.id, 1u);
    for (pe::ResType& type : t.types)
        for (pe::ResItem& item : type.items)
            for (pe::ResLeaf& leaf : item.leaves) {
                const Bytes* got = Leaf(back, type.name, item.name, leaf.language);
                ASSERT_NE(got, nullptr);
                EXPECT_EQ(*got, leaf.data);
            }
}

TEST(ResourceTree, RefusesDamage) {
    pe::ResourceTree t;
    t.Put(pe::ResName::Id(3), pe::ResName::Id(1), 1033, Bytes(64, 7));
    t.Put(pe::ResName::Id(3), pe::ResName::Id(2), 1033, Bytes(64, 8));
    Bytes good = pe::BuildResourceSection(t, 0x1000);
    // Layout: root (24), type dir (32), two language dirs (24 each), two
    // data entries (16 each) at 104 and 120.
    struct Case {
        const char* name;
        size_t at;
        uint32_t value;
    } cases[] = {
        {"entry count past the end", 12, 0xFFFF},
        {"type entry as data", 16 + 4, 24},
        {"sub-directory outside", 16 + 4, 0x80000000u | 0x7FFFFFF0u},
        {"data before the section", 104, 0x10},
        {"data past the section", 104 + 4, 0x10000},
        {"size overflowing", 104 + 4, 0xFFFFFFFFu},
        {"named entry whose name is outside", 24 + 16, 0x80000000u | 0x7FFFFF00u},
    };
    for (const Case& c : cases) {
        Bytes b = good;
        pe::PutU32(b.data() + c.at, c.value);
        pe::ResourceSection sec{0x1000, 0, b};
        EXPECT_THROW(pe::ParseResourceTree(sec), pe::PeError) << c.name;
    }
    // A name listed twice in one directory.
    for (bool named : {false, true}) {
        pe::ResourceTree twice;
        pe::ResName n = named ? pe::ResName::Name("MAINICON") : pe::ResName::Id(1);
        twice.Put(pe::ResName::Id(14), n, 1033, Bytes{1});
        twice.types[0].items.push_back(twice.types[0].items[0]);
        if (named)
            twice.types[0].items[1].name = pe::ResName::Name("mainicon");
        pe::ResourceSection dup{0x1000, 0, pe::BuildResourceSection(twice, 0x1000)};
        EXPECT_THROW(pe::ParseResourceTree(dup), pe::PeError) << named;
    }

    // Entries pointing at the same large data would multiply it.
    pe::ResourceTree big;
    big.Put(pe::ResName::Id(3), pe::ResName::Id(1), 1033, Bytes(1000, 7));
    big.Put(pe::ResName::Id(3), pe::ResName::Id(2), 1033, Bytes(8, 8));
    Bytes shared = pe::BuildResourceSection(big, 0x1000);
    pe::PutU32(shared.data() + 120, pe::GetU32(shared.data() + 104));
    pe::PutU32(shared.data() + 124, 1000);
    pe::ResourceSection sec{0x1000, 0, shared};
    EXPECT_THROW(pe::ParseResourceTree(sec), pe::PeError);
}

// The header bytes before the section table that differ, other than the
// fields a resource rewrite may change: the section count, the size of
// initialised data, the image size, the checksum and the resource and
// certificate directory entries.
std::vector<size_t> UnexpectedHeaderChanges(const Bytes& before, const Bytes& after,
                                            const test::PeLayout& layout) {
    std::vector<std::pair<size_t, size_t>> allowed = {
        {test::PeLayout::kPeHeader + 6, 2},
        {test::PeLayout::kOptional + 8, 4},
        {test::PeLayout::kOptional + 56, 4},
        {test::PeLayout::kOptional + 64, 4},
        {layout.Directory(pe::kResourceDirectory), 8},
        {layout.Directory(pe::kSecurityDirectory), 4},
    };
    std::vector<size_t> changed;
    for (size_t i = 0; i < layout.SectionTable(); ++i) {
        bool mayChange = false;
        for (const auto& [at, n] : allowed)
            mayChange = mayChange || (i >= at && i < at + n);
        if (!mayChange && before.at(i) != after.at(i))
            changed.push_back(i);
    }
    return changed;
}

// Where the new resources go: in place when they fit, by growing the last
// section, or as a new section when another section follows; each in both
// kinds of image.
TEST(ReplaceMainIcon, EveryPlacementGivesTheSameResources) {
    Bytes overlay = {'T', 'A', 'I', 'L', 1, 2, 3, 4};
    auto options = [&](bool reloc, uint32_t slack, bool withOverlay, bool checkSum) {
        test::PeOptions o;
        o.relocAfterResources = reloc;
        o.resourceSlack = slack;
        o.checkSum = checkSum;
        if (withOverlay)
            o.overlay = overlay;
        return o;
    };
    struct Case {
        const char* name;
        test::PeOptions opt;
        size_t sections;
    } cases[] = {
        {"room in the section", options(false, 0x4000, false, true), 2},
        {"last section grows", options(false, 0, true, false), 2},
        {"a section follows", options(true, 0, true, true), 4},
    };
    pe::IconImage a = test::IconImageOf(48, 48, 8, 0x44), b = test::IconImageOf(32, 32, 8, 0x55),
                  c = test::IconImageOf(16, 16, 4, 0x66);
    pe::IconFile newIcon = test::IconOf({a, b, c});
    test::TempDir dir;
    bool independent = false;
    for (test::PeFormat format : test::kPeFormats)
        for (Case k : cases) {
            SCOPED_TRACE(std::string(test::FormatName(format)) + ", " + k.name);
            k.opt.format = format;
            pe::IconFile oldIcon = test::IconOf({test::IconImageOf(32, 32, 4, 0x11)});
            Bytes version = test::VersionResource(test::LauncherStrings());
            pe::ResourceTree oldTree = test::LauncherResources(oldIcon, version, 5);
            const Bytes original = test::BuildPe(oldTree, k.opt);
            Bytes exe = original;
            pe::ReplaceMainIconInImage(exe, newIcon);

            pe::Headers h = HeadersOf(exe);
            EXPECT_EQ(h.magic, test::PeLayout{format}.Magic());
            EXPECT_EQ(h.sections.size(), k.sections);
            EXPECT_EQ(UnexpectedHeaderChanges(original, exe, test::PeLayout{format}),
                      std::vector<size_t>{});
            pe::ResourceTree t = TreeOf(exe);
            // Old icon 5 is gone; the new ones are 1..3 in language 1033.
            EXPECT_EQ(t.FindItem(pe::ResName::Id(3), pe::ResName::Id(5)), nullptr);
            for (uint32_t i = 0; i < 3; ++i) {
                const Bytes* d = Leaf(t, pe::ResName::Id(3), pe::ResName::Id(i + 1), 1033);
                ASSERT_NE(d, nullptr);
                EXPECT_EQ(*d, newIcon.images[i].data);
            }
            const Bytes* group = Leaf(t, pe::ResName::Id(14), pe::ResName::Name("MAINICON"), 1033);
            ASSERT_NE(group, nullptr);
            EXPECT_EQ(*group, pe::MakeIconGroup(0, 1, newIcon, 1));
            // Everything else is as it was.
            EXPECT_EQ(*Leaf(t, pe::ResName::Id(16), pe::ResName::Id(1), 1033), version);
            EXPECT_EQ(*Leaf(t, pe::ResName::Id(1), pe::ResName::Id(1), 1033), Bytes(300, 0xCC));
            ASSERT_NE(Leaf(t, pe::ResName::Id(12), pe::ResName::Name("CURSOR1"), 1033), nullptr);
            // The image size covers every section, and an overlay stays last.
            uint64_t end = 0;
            for (const pe::Section& s : h.sections)
                end = std::max<uint64_t>(end, s.virtualAddress + s.virtualSize);
            EXPECT_GE(h.sizeOfImage, end);
            EXPECT_EQ(h.sizeOfImage % 0x1000, 0u);
            EXPECT_EQ(h.resourceSize % 8, 0u);
            if (!k.opt.overlay.empty()) {
                ASSERT_GE(exe.size(), h.RawEnd() + overlay.size());
                EXPECT_EQ(Bytes(exe.end() - static_cast<ptrdiff_t>(overlay.size()), exe.end()),
                          overlay);
                EXPECT_EQ(exe.size(), h.RawEnd() + overlay.size());
            }

            // pefile finds the same resources through the directory and
            // agrees on the headers and the checksum.
            std::string file = dir / "replaced.exe";
            ASSERT_TRUE(test::WriteFile(file, Str(exe)));
            std::string listing, headers;
            int status = 0, headerStatus = 0;
            if (!test::PefileListing(file, listing, status) ||
                !test::PefileHeaders(file, headers, headerStatus))
                continue;
            independent = true;
            ASSERT_EQ(status, 0) << listing;
            ASSERT_EQ(headerStatus, 0) << headers;
            for (size_t i = 0; i < newIcon.images.size(); ++i)
                EXPECT_NE(listing.find("resource 3 " + std::to_string(i + 1) + " 1033 " +
                                       std::to_string(newIcon.images[i].data.size()) + " "),
                          std::string::npos)
                    << listing;
            EXPECT_NE(listing.find("resource 14 MAINICON 1033 48 "), std::string::npos) << listing;
            EXPECT_NE(listing.find("resource 16 1 1033 " + std::to_string(version.size()) + " "),
                      std::string::npos)
                << listing;
            EXPECT_EQ(listing.find("resource 3 5 "), std::string::npos) << listing;
            EXPECT_EQ(test::HeaderValue(headers, "magic"),
                      format == test::PeFormat::Pe32 ? "0x10b" : "0x20b");
            EXPECT_EQ(test::HeaderValue(headers, "image_base"),
                      format == test::PeFormat::Pe32 ? "0x400000" : "0x140000000");
            EXPECT_EQ(test::HeaderValue(headers, "size_of_image"), std::to_string(h.sizeOfImage));
            EXPECT_EQ(test::HeaderValue(headers, "directory resource"),
                      std::to_string(h.resourceRva) + " " + std::to_string(h.resourceSize));
            std::string sum = test::HeaderValue(headers, "checksum");
            if (k.opt.checkSum) {
                std::string stored = sum.substr(0, sum.find(' '));
                EXPECT_EQ(sum, stored + " " + stored) << "stored and computed checksums";
                EXPECT_NE(stored, "0");
            } else {
                EXPECT_EQ(sum.substr(0, 2), "0 ") << "no checksum before, none after";
            }
        }
    if (!independent)
        GTEST_SKIP() << "python3-pefile is not installed: independent check skipped";
}

TEST(ReplaceMainIcon, ExecutableWithoutTheGroupIsLeftAlone) {
    pe::ResourceTree t;
    t.Put(pe::ResName::Id(16), pe::ResName::Id(1), 1033, test::VersionResource({}));
    Bytes exe = test::BuildPe(t);
    Bytes before = exe;
    try {
        pe::ReplaceMainIconInImage(exe, test::IconOf({test::IconImageOf(16, 16, 4, 1)}));
        FAIL() << "no error";
    } catch (const pe::ResourceUpdateError& e) {
        EXPECT_STREQ(e.what(), "Resource update error: Can't find the icon group \"MAINICON\"");
    }
    EXPECT_EQ(exe, before);
}

TEST(ReplaceMainIcon, ABadIconNeverTouchesTheExecutable) {
    test::TempDir dir;
    std::string exe = dir / "autorun.exe";
    ASSERT_TRUE(fsys::CopyFileTo(test::DataFile("launcher.exe"), exe, true));
    std::string before = test::ReadFile(exe);
    Bytes ico = pe::MakeIconFile(test::IconOf({test::IconImageOf(32, 32, 4, 1)}));
    pe::PutU32(&ico[6 + 8], static_cast<uint32_t>(ico.size())); // image reaches past the end
    ASSERT_TRUE(test::WriteFile(dir / "bad.ico", Str(ico)));
    EXPECT_THROW(pe::ReplaceMainIconInFile(exe, dir / "bad.ico"), pe::ResourceUpdateError);
    EXPECT_EQ(test::ReadFile(exe), before);
    EXPECT_FALSE(fsys::FileExists(exe + ".tmp"));
}

// The compiler-built launchers (32- and 64-bit), checked afterwards by
// independent readers. A relocation section follows the resources there,
// so the new resources go into a section of their own.
TEST(ReplaceMainIcon, CompilerBuiltLaunchersReadByOtherTools) {
    test::TempDir dir;
    pe::IconFile icon = pe::ReadIconFile(test::DataFile("new.ico"));
    bool pefileChecked = false, wrestoolChecked = false;
    for (const test::BuiltLauncher& built : test::CompilerBuiltLaunchers()) {
        SCOPED_TRACE(built.name);
        std::string exe = dir / "autorun.exe";
        ASSERT_TRUE(fsys::CopyFileTo(built.path, exe, true));
        pe::ReplaceMainIconInFile(exe, test::DataFile("new.ico"));
        EXPECT_EQ(pe::ReadVersionString(exe, "OriginalFilename"), "Orvexa.exe    ");
        pe::IconGroup group;
        ASSERT_TRUE(pe::ReadMainIconGroup(exe, group));
        ASSERT_EQ(group.images.size(), 4u);
        for (uint16_t i = 0; i < 4; ++i)
            EXPECT_EQ(group.images[i].id, i + 1);
        // The linkers store a checksum; the rewrite brings it up to date.
        std::string headers;
        int headerStatus = 0;
        bool havePefile = test::PefileHeaders(exe, headers, headerStatus);
        // Version strings can still be patched in place after the move (the
        // patch changes no other byte, the checksum included).
        pe::SetVersionStrings(exe, {{"OriginalFilename", u"autorun.exe", true}});

        std::string listing;
        int status = 0;
        if (havePefile && test::PefileListing(exe, listing, status)) {
            pefileChecked = true;
            ASSERT_EQ(status, 0) << listing;
            ASSERT_EQ(headerStatus, 0) << headers;
            std::vector<std::string> lines = {
                "resource 14 MAINICON 1033 62 ", "resource 1 1 1033 308 ",
                "resource 12 CURSOR1 1033 20 ", "string OriginalFilename=autorun.exe   \n"};
            for (size_t i = 0; i < icon.images.size(); ++i)
                lines.push_back("resource 3 " + std::to_string(i + 1) + " 1033 " +
                                std::to_string(icon.images[i].data.size()) + " ");
            for (const std::string& line : lines)
                EXPECT_NE(listing.find(line), std::string::npos) << line << "\n" << listing;
            EXPECT_EQ(listing.find("resource 3 1 1033 744"), std::string::npos) << listing;
            EXPECT_EQ(test::HeaderValue(headers, "magic"), built.magic);
            std::string sum = test::HeaderValue(headers, "checksum");
            std::string stored = sum.substr(0, sum.find(' '));
            EXPECT_EQ(sum, stored + " " + stored) << headers;
        }

        if (!test::HaveWrestool())
            continue;
        wrestoolChecked = true;
        // The group extracted by wrestool lists the same images as the icon
        // file.
        std::string out, extracted, original;
        ASSERT_EQ(test::RunCommand("wrestool -x -t14 -n MAINICON -o " +
                                       test::Quote(dir / "back.ico") + " " + test::Quote(exe) +
                                       " 2>&1",
                                   out),
                  0)
            << out;
        ASSERT_EQ(test::RunCommand("icotool -l " + test::Quote(dir / "back.ico"), extracted), 0);
        ASSERT_EQ(
            test::RunCommand("icotool -l " + test::Quote(test::DataFile("new.ico")), original), 0);
        EXPECT_EQ(extracted, original);
        EXPECT_NE(original.find("--width=48 --height=48 --bit-depth=8"), std::string::npos)
            << original;
    }
    if (!pefileChecked)
        GTEST_SKIP() << "python3-pefile is not installed: independent check skipped";
    if (!wrestoolChecked)
        GTEST_SKIP() << "icoutils is not installed: wrestool check skipped";
}

TEST(ReplaceMainIcon, NoRoomForAnotherSectionHeader) {
    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        test::PeOptions tight;
        tight.format = format;
        tight.relocAfterResources = true;
        tight.headerRoom = false;
        pe::IconFile oldIcon = test::IconOf({test::IconImageOf(16, 16, 4, 1)});
        Bytes exe = test::BuildPe(test::LauncherResources(oldIcon, {}), tight);
        Bytes before = exe;
        try {
            pe::ReplaceMainIconInImage(exe, test::IconOf({test::IconImageOf(48, 48, 8, 2)}));
            ADD_FAILURE() << "no error";
        } catch (const pe::ResourceUpdateError& e) {
            EXPECT_STREQ(
                e.what(),
                "Resource update error: No room for a new resource section in the executable");
        }
        EXPECT_EQ(exe, before);
    }
}

} // namespace
} // namespace orv
