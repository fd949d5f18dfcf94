#include "pe/icons.h"
#include "pe/pe_error.h"
#include "support/tempdir.h"
#include "unit/pe/independent.h"
#include "unit/pe/pe_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

using test::Bytes;

std::string Str(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

Bytes IcoBytes(std::vector<pe::IconImage> images) {
    return pe::MakeIconFile(test::IconOf(std::move(images)));
}

TEST(IconFile, AcceptsOnlyCompleteIcons) {
    Bytes good = IcoBytes({test::IconImageOf(32, 32, 4, 1), test::IconImageOf(16, 16, 8, 2)});
    pe::IconFile icon;
    ASSERT_TRUE(pe::ParseIconFile(good.data(), good.size(), icon));
    ASSERT_EQ(icon.images.size(), 2u);
    EXPECT_EQ(icon.images[1].Width(), 16);
    EXPECT_EQ(icon.images[1].data, test::IconImageOf(16, 16, 8, 2).data);
    EXPECT_EQ(pe::MakeIconFile(icon), good);

    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
    } cases[] = {
        {"shorter than the header", [](Bytes& b) { b.resize(5); }},
        {"directory cut", [](Bytes& b) { b.resize(6 + 16 + 8); }},
        {"an executable", [](Bytes& b) { b[0] = 'M', b[1] = 'Z'; }},
        {"no images", [](Bytes& b) { pe::PutU16(&b[4], 0); }},
        {"a cursor file", [](Bytes& b) { pe::PutU16(&b[2], 2); }},
        {"image past the end", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"offset past the end", [](Bytes& b) { pe::PutU32(&b[6 + 16 + 12], 0x7FFFFFFF); }},
        {"offset + size overflowing",
         [](Bytes& b) {
             pe::PutU32(&b[6 + 8], 0x20);
             pe::PutU32(&b[6 + 12], 0xFFFFFFF0u);
         }},
        {"empty image", [](Bytes& b) { pe::PutU32(&b[6 + 8], 0); }},
        {"more images announced", [](Bytes& b) { pe::PutU16(&b[4], 3); }},
    };
    for (const Case& c : cases) {
        Bytes b = good;
        c.damage(b);
        EXPECT_FALSE(pe::ParseIconFile(b.data(), b.size(), icon)) << c.name;
    }
}

TEST(IconFile, ReadingChecksSizeFirst) {
    test::TempDir dir;
    Bytes big = IcoBytes({test::IconImageOf(16, 16, 4, 1)});
    big.resize(pe::kMaxIconFileSize + 1, 0);
    ASSERT_TRUE(test::WriteFile(dir / "big.ico", Str(big)));
    Bytes bad = IcoBytes({test::IconImageOf(16, 16, 4, 1)});
    pe::PutU32(&bad[6 + 12], static_cast<uint32_t>(bad.size()));
    ASSERT_TRUE(test::WriteFile(dir / "bad.ico", Str(bad)));
    auto message = [](const std::string& path) -> std::string {
        try {
            pe::ReadIconFile(path);
        } catch (const pe::ResourceUpdateError& e) {
            return e.what();
        }
        return "(no error)";
    };
    EXPECT_EQ(message(dir / "big.ico"), "Resource update error: Icon file is too large");
    EXPECT_EQ(message(dir / "bad.ico"), "Resource update error: Icon file is invalid");
    EXPECT_NE(message(dir / "missing.ico"), "(no error)");
    big.resize(pe::kMaxIconFileSize);
    ASSERT_TRUE(test::WriteFile(dir / "limit.ico", Str(big)));
    EXPECT_EQ(pe::ReadIconFile(dir / "limit.ico").images.size(), 1u);
}

pe::IconGroup GroupOf(std::vector<std::pair<pe::IconImage, size_t>> images) {
    pe::IconGroup g;
    for (auto& [img, size] : images) {
        pe::GroupImage gi;
        gi.image = img;
        gi.dataSize = size;
        g.images.push_back(gi);
    }
    return g;
}

TEST(ChooseBestIcon, Prefers32Then48Then16ThenLargest) {
    auto img = [](int w, int h, int bpp) { return test::IconImageOf(w, h, bpp, 0); };
    EXPECT_EQ(pe::IconImageName(img(32, 32, 4)), "32 X 32 16 Colors");
    EXPECT_EQ(pe::IconImageName(img(48, 48, 8)), "48 X 48 0 Colors");
    struct Case {
        const char* name;
        pe::IconGroup group;
        int want;
    } cases[] = {
        {"32x32 in 16 and 256 colours: the larger",
         GroupOf({{img(32, 32, 4), 744}, {img(32, 32, 8), 2216}, {img(48, 48, 8), 9000}}), 1},
        {"no 32x32: 48x48",
         GroupOf({{img(16, 16, 8), 1000}, {img(48, 48, 4), 1640}, {img(64, 64, 8), 9000}}), 1},
        {"only 16x16 and others",
         GroupOf({{img(24, 24, 8), 3000}, {img(16, 16, 4), 296}, {img(16, 16, 8), 1384}}), 2},
        {"none of the sizes: the largest",
         GroupOf({{img(24, 24, 4), 500}, {img(64, 64, 4), 2000}, {img(20, 20, 4), 400}}), 1},
        {"equal sizes: the first", GroupOf({{img(32, 32, 4), 744}, {img(32, 32, 4), 744}}), 0},
        {"empty group", pe::IconGroup{}, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pe::ChooseBestIcon(c.group), c.want) << c.name;
}

std::string LoadError(const std::string& file) {
    try {
        pe::LoadMainIcon(file);
    } catch (const pe::PeError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(LoadMainIcon, TakesTheLargerOfTwo32x32Images) {
    test::TempDir dir;
    pe::IconImage small = test::IconImageOf(32, 32, 4, 0x11);
    pe::IconImage large = test::IconImageOf(32, 32, 8, 0x22);
    pe::IconFile icon = test::IconOf({small, large, test::IconImageOf(48, 48, 8, 0x33)});
    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        test::PeOptions opt;
        opt.format = format;
        Bytes exe = test::BuildPe(test::LauncherResources(icon, test::VersionResource({}), 7), opt);
        ASSERT_TRUE(test::WriteFile(dir / "a.exe", Str(exe)));
        Bytes ico = pe::LoadMainIcon(dir / "a.exe");
        EXPECT_EQ(ico, pe::MakeIconFile(test::IconOf({large})));
    }

    // The compiler-built launchers: 32x32 in 16 and 256 colours and 16x16.
    for (const test::BuiltLauncher& built : test::CompilerBuiltLaunchers()) {
        SCOPED_TRACE(built.name);
        Bytes fromRc = pe::LoadMainIcon(built.path);
        pe::IconFile chosen;
        ASSERT_TRUE(pe::ParseIconFile(fromRc.data(), fromRc.size(), chosen));
        ASSERT_EQ(chosen.images.size(), 1u);
        EXPECT_EQ(pe::IconImageName(chosen.images[0]), "32 X 32 0 Colors");
        EXPECT_EQ(chosen.images[0].data[100], 0x22);
    }
}

TEST(LoadMainIcon, EmptyWithoutGroupAndMessagesForOtherFiles) {
    test::TempDir dir;
    EXPECT_TRUE(pe::LoadMainIcon(dir / "missing.exe").empty());
    ASSERT_TRUE(test::WriteFile(dir / "text.exe", "hello, this is not a program at all......."));
    EXPECT_EQ(LoadError(dir / "text.exe"), "unrecognized file format");

    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        test::PeOptions opt;
        opt.format = format;
        pe::ResourceTree noIcon;
        noIcon.Put(pe::ResName::Id(pe::kTypeVersion), pe::ResName::Id(1), 1033, Bytes(64, 0));
        ASSERT_TRUE(test::WriteFile(dir / "noicon.exe", Str(test::BuildPe(noIcon, opt))));
        EXPECT_TRUE(pe::LoadMainIcon(dir / "noicon.exe").empty());

        // A group whose icons are missing shows nothing.
        pe::ResourceTree orphan;
        pe::IconFile icon = test::IconOf({test::IconImageOf(32, 32, 4, 1)});
        orphan.Put(pe::ResName::Id(pe::kTypeGroupIcon), pe::ResName::Name("MAINICON"), 1033,
                   pe::MakeIconGroup(0, 1, icon, 1));
        ASSERT_TRUE(test::WriteFile(dir / "orphan.exe", Str(test::BuildPe(orphan, opt))));
        EXPECT_TRUE(pe::LoadMainIcon(dir / "orphan.exe").empty());

        Bytes dosOnly = test::LauncherPe(format);
        dosOnly[test::PeLayout::kPeHeader] = 'N';
        ASSERT_TRUE(test::WriteFile(dir / "dos.exe", Str(dosOnly)));
        EXPECT_EQ(LoadError(dir / "dos.exe"), "Not a PE (WIN32 Executable) file");
        // Neither a 32- nor a 64-bit optional header.
        Bytes rom = test::LauncherPe(format);
        pe::PutU16(&rom[test::PeLayout::kOptional], 0x107);
        ASSERT_TRUE(test::WriteFile(dir / "rom.exe", Str(rom)));
        EXPECT_EQ(LoadError(dir / "rom.exe"), "Not a PE (WIN32 Executable) file");
        opt.withResources = false;
        ASSERT_TRUE(test::WriteFile(dir / "nores.exe", Str(test::BuildPe({}, opt))));
        EXPECT_EQ(LoadError(dir / "nores.exe"), "No resources in this file.");
    }
}

} // namespace
} // namespace orv
