#include "base/fsys.h"
#include "base/stream.h"
#include "pe/codepage.h"
#include "pe/pe_error.h"
#include "pe/version_info.h"
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

// File offset of the fixture's resource section.
uint32_t RsrcOffset(const Bytes& b) {
    ViewStream s(b.data(), b.size());
    pe::Headers h;
    EXPECT_EQ(pe::ReadHeaders(s, h, true), pe::HeaderFault::None);
    return h.sections.at(1).rawOffset;
}

std::string ExpectResourceError(const std::string& file,
                                const std::vector<pe::VersionEdit>& edits) {
    try {
        pe::SetVersionStrings(file, edits);
    } catch (const pe::ResourceUpdateError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(SetVersionStrings, PadsInPlaceAndKeepsEveryOtherByte) {
    test::TempDir dir;
    bool checked = false;
    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        std::string file = dir / "a.exe";
        Bytes before = test::LauncherPe(format);
        ASSERT_TRUE(test::WriteFile(file, Str(before)));

        pe::SetVersionStrings(file,
                              {{"FileDescription", u"Hello" + std::u16string(95, u' '), false}});

        std::string after = test::ReadFile(file);
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(pe::ReadVersionString(file, "FileDescription"), "Hello" + std::string(95, ' '));
        // Only the characters of the old value changed.
        size_t first = 0, last = 0, count = 0;
        for (size_t i = 0; i < after.size(); ++i)
            if (static_cast<uint8_t>(after[i]) != before[i]) {
                if (!count++)
                    first = i;
                last = i;
            }
        EXPECT_GT(count, 0u);
        EXPECT_LT(last - first, 200u) << "changes reach outside one 100-character value";
        EXPECT_EQ(pe::ReadVersionString(file, "CompanyName"), "Orvexa" + std::string(94, ' '));

        std::string listing;
        int status = 0;
        if (!test::PefileListing(file, listing, status))
            continue;
        checked = true;
        ASSERT_EQ(status, 0) << listing;
        EXPECT_NE(listing.find("string FileDescription=Hello" + std::string(95, ' ') + "\n"),
                  std::string::npos)
            << listing;
        EXPECT_NE(listing.find("string OriginalFilename=Orvexa.exe    \n"), std::string::npos)
            << listing;
    }
    if (!checked)
        GTEST_SKIP() << "python3-pefile is not installed: independent check skipped";
}

TEST(SetVersionStrings, WritesAtMostTheStoredCharacters) {
    test::TempDir dir;
    std::string file = dir / "a.exe";
    ASSERT_TRUE(test::WriteFile(file, Str(test::LauncherPe())));

    // 15 blanks into a 14-character value: 14 blanks, which start-up trims
    // to an empty recorded name.
    pe::SetVersionStrings(file, {{"OriginalFilename", std::string(15, ' ')}});
    EXPECT_EQ(pe::ReadVersionString(file, "OriginalFilename"), std::string(14, ' '));

    // A short text leaves the rest of the old value; padding replaces it.
    pe::SetVersionStrings(file, {{"ProductName", "Ab"}});
    EXPECT_EQ(pe::ReadVersionString(file, "ProductName"), "Abvexa");
    pe::SetVersionStrings(file, {{"originalfilename", u"autorun.exe", true}});
    EXPECT_EQ(pe::ReadVersionString(file, "OriginalFilename"), "autorun.exe   ");
    // Longer texts are cut.
    pe::SetVersionStrings(file, {{"FileVersion", "9.9.9.9.9.9"}});
    EXPECT_EQ(pe::ReadVersionString(file, "FileVersion"), "9.9.9.9");
}

TEST(SetVersionStrings, ConvertsFromTheLatin1CodePage) {
    test::TempDir dir;
    std::string file = dir / "a.exe";
    ASSERT_TRUE(test::WriteFile(file, Str(test::LauncherPe())));
    pe::SetVersionStrings(file, {{"CompanyName", "Caf\xE9 \x80"}});
    std::u16string v;
    ASSERT_TRUE(pe::ReadVersionStringUtf16(file, "CompanyName", v));
    EXPECT_EQ(v.substr(0, 6), u"Caf\u00E9 \u20AC");
    EXPECT_EQ(pe::ReadVersionString(file, "CompanyName").substr(0, 6), "Caf\xE9 \x80");
}

TEST(SetVersionStrings, ALaterMissingKeyLeavesTheFileUntouched) {
    test::TempDir dir;
    std::string file = dir / "a.exe";
    std::string before = Str(test::LauncherPe());
    ASSERT_TRUE(test::WriteFile(file, before));
    EXPECT_EQ(ExpectResourceError(file, {{"CompanyName", u"X", false}, {"Comments", u"Y", false}}),
              "Resource update error: Unexpected version resource format (1)");
    EXPECT_EQ(test::ReadFile(file), before);
}

// A damaged or unsuitable executable fails with its message before
// anything is written; each case on both kinds of image.
TEST(SetVersionStrings, RefusesDamagedExecutablesWithTheirMessages) {
    auto without = [](uint32_t type, test::PeFormat format) {
        pe::IconFile icon = test::IconOf({test::IconImageOf(16, 16, 4, 1)});
        pe::ResourceTree t =
            test::LauncherResources(icon, test::VersionResource(test::LauncherStrings()));
        for (size_t i = 0; i < t.types.size(); ++i)
            if (!t.types[i].name.named && t.types[i].name.id == type)
                t.types.erase(t.types.begin() + static_cast<ptrdiff_t>(i));
        test::PeOptions opt;
        opt.format = format;
        return test::BuildPe(t, opt);
    };
    // The version resource's data entry is the last one before the names;
    // find it through our own reader of the fixture's layout.
    auto versionDataEntry = [](Bytes& b) -> uint8_t* {
        uint32_t at = RsrcOffset(b);
        pe::ResourceSection sec;
        sec.rva = 0x2000;
        sec.bytes.assign(b.begin() + at, b.end());
        std::vector<pe::DirEntry> e;
        pe::ReadDirectory(sec, 0, e);
        uint32_t names = e.back().target;
        pe::ReadDirectory(sec, names, e);
        pe::ReadDirectory(sec, e.front().target, e);
        return b.data() + at + e.front().target;
    };
    // The optional header's size in the file header, and its magic.
    auto header = [](uint16_t size, uint16_t magic) {
        return [size, magic](Bytes& b) {
            pe::PutU16(&b[test::PeLayout::kPeHeader + 20], size);
            pe::PutU16(&b[test::PeLayout::kOptional], magic);
        };
    };
    const uint32_t pe = test::PeLayout::kPeHeader;
    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        const test::PeLayout layout{format};
        const uint32_t rsrcHeader = layout.SectionHeader(1);
        const uint32_t rsrcDir = layout.Directory(pe::kResourceDirectory);
        struct Case {
            const char* name;
            std::function<void(Bytes&)> damage;
            const char* message;
        } cases[] = {
            {"no MZ", [](Bytes& b) { b[0] = 'X'; }, "File isn't an EXE file (1)"},
            {"short file", [](Bytes& b) { b.resize(40); }, "File isn't an EXE file (1)"},
            {"zero PE offset", [](Bytes& b) { pe::PutU32(&b[60], 0); }, "File isn't a PE file (1)"},
            {"PE offset past the end", [](Bytes& b) { pe::PutU32(&b[60], 0xFFFFFFF0u); },
             "File isn't a PE file (2)"},
            {"bad signature", [&](Bytes& b) { b[pe + 2] = 1; }, "File isn't a PE file (2)"},
            // Only the complete headers of the two kinds are accepted: 224
            // bytes with the 32-bit magic, 240 bytes with the 64-bit one.
            {"optional header of 232 bytes", header(232, layout.Magic()),
             "File isn't a PE file (3)"},
            {"optional header of 96 bytes", header(96, 0x10B), "File isn't a PE file (3)"},
            {"32-bit magic on 240 bytes", header(240, 0x10B), "File isn't a PE file (3)"},
            {"64-bit magic on 224 bytes", header(224, 0x20B), "File isn't a PE file (4)"},
            {"ROM image magic", header(layout.OptionalSize(), 0x107), "File isn't a PE file (4)"},
            {"optional header past the end",
             [](Bytes& b) { b.resize(test::PeLayout::kOptional + 100); },
             "File isn't a PE file (3)"},
            {"no resource directory", [&](Bytes& b) { pe::PutU32(&b[rsrcDir + 4], 0); },
             "No resources (1)"},
            {"resources not at a section start", [&](Bytes& b) { pe::PutU32(&b[rsrcDir], 0x2010); },
             "No resources (2)"},
            {"resource section without raw data",
             [&](Bytes& b) { pe::PutU32(&b[rsrcHeader + 16], 0); }, "No resources (2)"},
            {"no version resource", [&](Bytes& b) { b = without(pe::kTypeVersion, format); },
             "Can't find resource (1)"},
            {"root directory outside the section",
             [&](Bytes& b) { pe::PutU32(&b[rsrcHeader + 16], 8); }, "Can't find resource (1)"},
            {"data before the section", [&](Bytes& b) { pe::PutU32(versionDataEntry(b), 0x1000); },
             "Invalid resource (1)"},
            {"data past the section",
             [&](Bytes& b) { pe::PutU32(versionDataEntry(b) + 4, 0x100000); },
             "Invalid resource (2)"},
            {"data size overflowing",
             [&](Bytes& b) { pe::PutU32(versionDataEntry(b) + 4, 0xFFFFFFF0u); },
             "Invalid resource (2)"},
            {"file cut inside the resources",
             [&](Bytes& b) { b.resize(RsrcOffset(b) + pe::GetU32(&b[rsrcDir + 4]) - 10); },
             "Invalid resource (2)"},
        };
        Bytes good = test::LauncherPe(format);
        test::TempDir dir;
        for (const Case& c : cases) {
            Bytes b = good;
            c.damage(b);
            std::string file = dir / "damaged.exe";
            ASSERT_TRUE(test::WriteFile(file, Str(b)));
            EXPECT_EQ(ExpectResourceError(file, {{"CompanyName", u"X", false}}),
                      std::string("Resource update error: ") + c.message)
                << c.name;
            EXPECT_EQ(test::ReadFile(file), Str(b)) << c.name;
        }
    }
}

TEST(SetVersionStrings, VersionDirectoryWithoutNameOneOrData) {
    test::TempDir dir;
    std::string file = dir / "a.exe";
    Bytes version = test::VersionResource(test::LauncherStrings());
    pe::ResourceTree t;
    t.Put(pe::ResName::Id(pe::kTypeVersion), pe::ResName::Id(2), 1033, version);
    ASSERT_TRUE(test::WriteFile(file, Str(test::BuildPe(t))));
    EXPECT_EQ(ExpectResourceError(file, {{"CompanyName", u"X", false}}),
              "Resource update error: Can't find resource (2)");

    // Only named entries under type 16: they are skipped.
    t = {};
    t.Put(pe::ResName::Name("VERSION"), pe::ResName::Id(1), 1033, version);
    t.Put(pe::ResName::Id(pe::kTypeVersion), pe::ResName::Name("ONE"), 1033, version);
    ASSERT_TRUE(test::WriteFile(file, Str(test::BuildPe(t))));
    EXPECT_EQ(ExpectResourceError(file, {{"CompanyName", u"X", false}}),
              "Resource update error: Can't find resource (2)");

    // Name 1 whose language directory is empty.
    t = {};
    t.Put(pe::ResName::Id(pe::kTypeVersion), pe::ResName::Id(1), 1033, version);
    Bytes b = test::BuildPe(t);
    // Root (1 entry), type dir (1 entry), then the language directory.
    pe::PutU16(&b[RsrcOffset(b) + 24 + 24 + 14], 0);
    ASSERT_TRUE(test::WriteFile(file, Str(b)));
    EXPECT_EQ(ExpectResourceError(file, {{"CompanyName", u"X", false}}),
              "Resource update error: Can't find resource (3).");
}

TEST(SetVersionStrings, MissingFileGivesThePlatformText) {
    test::TempDir dir;
    std::string message = ExpectResourceError(dir / "missing.exe", {{"CompanyName", u"X", false}});
    EXPECT_EQ(message.rfind("Resource update error: ", 0), 0u);
    EXPECT_GT(message.size(), std::string("Resource update error: ").size());
    EXPECT_NE(message, "(no error)");
}

// Start-up reads the recorded name with this reader: anything without the
// string gives an empty value (which makes it a single-file executable).
TEST(ReadVersionString, EmptyForEverythingWithoutTheString) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteFile(dir / "text.exe", "not a program"));
    ASSERT_TRUE(test::WriteFile(dir / "bare.exe", Str(test::BuildPe({}))));
    pe::ResourceTree otherTable;
    otherTable.Put(pe::ResName::Id(pe::kTypeVersion), pe::ResName::Id(1), 1033,
                   test::VersionResource({{"OriginalFilename", "x.exe"}}, "040704B0"));
    ASSERT_TRUE(test::WriteFile(dir / "german.exe", Str(test::BuildPe(otherTable))));
    ASSERT_TRUE(test::WriteFile(dir / "launcher.exe", Str(test::LauncherPe())));
    ASSERT_TRUE(
        test::WriteFile(dir / "launcher64.exe", Str(test::LauncherPe(test::PeFormat::Pe32Plus))));
    ASSERT_TRUE(fsys::CreateDir(dir / "folder.exe"));
    for (const char* name : {"missing.exe", "text.exe", "bare.exe", "german.exe", "folder.exe"})
        EXPECT_EQ(pe::ReadVersionString(dir / name, "OriginalFilename"), "") << name;
    EXPECT_EQ(pe::ReadVersionString(dir / "launcher.exe", "Comments"), "");
    EXPECT_EQ(pe::ReadVersionString(dir / "launcher.exe", "OriginalFilename"), "Orvexa.exe    ");
    EXPECT_EQ(pe::ReadVersionString(dir / "launcher.exe", "FileVersion"), "1.0.0.1");
    EXPECT_EQ(pe::ReadVersionString(dir / "launcher64.exe", "OriginalFilename"), "Orvexa.exe    ");
}

TEST(VersionResource, DamagedTreesAreNotFollowed) {
    Bytes res = test::VersionResource(test::LauncherStrings());
    pe::VersionValue v;
    ASSERT_TRUE(pe::FindVersionValue(res.data(), res.size(), "040904e4", "FileVersion", v));
    EXPECT_EQ(v.room, 7u);
    EXPECT_FALSE(pe::FindVersionValue(res.data(), res.size(), "040704B0", "FileVersion", v));
    // A node length past its parent, a zero length and a key without its
    // terminating zero each end the walk.
    for (size_t cut : {res.size() - 1, size_t{40}, size_t{7}, size_t{0}})
        EXPECT_FALSE(pe::FindVersionValue(res.data(), cut, "040904E4", "ProductName", v)) << cut;
    Bytes zero = res;
    pe::PutU16(zero.data(), 0);
    EXPECT_FALSE(pe::FindVersionValue(zero.data(), zero.size(), "040904E4", "FileVersion", v));
}

// The launcher built by the platform's own resource compiler and linked
// as a 32- and a 64-bit program: the same layout as the program's version
// information.
TEST(SetVersionStrings, CompilerBuiltLauncherAndAnIndependentReader) {
    test::TempDir dir;
    bool checked = false;
    for (const test::BuiltLauncher& built : test::CompilerBuiltLaunchers()) {
        SCOPED_TRACE(built.name);
        std::string file = dir / "launcher.exe";
        ASSERT_TRUE(fsys::CopyFileTo(built.path, file, true));
        EXPECT_EQ(pe::ReadVersionString(file, "OriginalFilename"), "Orvexa.exe    ");
        std::string before = test::ReadFile(file);

        pe::SetVersionStrings(file,
                              {{"OriginalFilename", u"autorun.exe", true},
                               {"FileDescription", u"Demo" + std::u16string(96, u' '), false}});
        EXPECT_EQ(test::ReadFile(file).size(), before.size());
        EXPECT_EQ(pe::ReadVersionString(file, "OriginalFilename"), "autorun.exe   ");

        std::string listing;
        int status = 0;
        if (!test::PefileListing(file, listing, status))
            continue;
        checked = true;
        ASSERT_EQ(status, 0) << listing;
        EXPECT_NE(listing.find("string OriginalFilename=autorun.exe   \n"), std::string::npos)
            << listing;
        EXPECT_NE(listing.find("string FileDescription=Demo" + std::string(96, ' ') + "\n"),
                  std::string::npos);
        EXPECT_NE(listing.find("string FileVersion=1.0.0.1\n"), std::string::npos);
    }
    if (!checked)
        GTEST_SKIP() << "python3-pefile is not installed: independent check skipped";
}

TEST(Cp1252, RoundTripsEveryMappedByte) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    std::u16string wide = pe::Cp1252ToUtf16(all);
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
    EXPECT_EQ(pe::Utf16ToCp1252(wide), all);
    EXPECT_EQ(pe::Utf16ToCp1252(u"\u4E2D"), "?");
}

} // namespace
} // namespace orv
