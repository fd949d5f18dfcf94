#include "base/packfolder.h"

#include "support/tempdir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace orv {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Builds a packed stream by hand: one level, given files.
MemoryStream Packed(const std::vector<std::pair<std::string, std::string>>& files,
                    const std::vector<std::string>& dirs = {}) {
    MemoryStream s;
    s.WriteI32(static_cast<int32_t>(dirs.size()));
    for (const auto& d : dirs) {
        s.WriteString(d);
        s.WriteI32(0);
        s.WriteI32(0);
    }
    s.WriteI32(static_cast<int32_t>(files.size()));
    for (const auto& [name, bytes] : files) {
        s.WriteString(name);
        s.WriteI32(static_cast<int32_t>(bytes.size()));
        s.WriteExact(bytes.data(), bytes.size());
    }
    s.Seek(0);
    return s;
}

TEST(PackFolder, EmptyFolderIsTwoZeroCounts) {
    TempDir d;
    MemoryStream s;
    ASSERT_TRUE(PackFolder(s, d.path(), false));
    EXPECT_EQ(s.Data(), std::vector<uint8_t>(8, 0));
}

TEST(PackFolder, RoundTripLeavesOutTopLevelLauncherOnly) {
    TempDir src, dst;
    ASSERT_TRUE(WriteFile(src / "autorun.exe", "MZ launcher"));
    ASSERT_TRUE(WriteFile(src / "autorun.aru", std::string("\x88\x53\0\0", 4)));
    ASSERT_TRUE(WriteFile(src / "empty.txt", ""));
    ASSERT_TRUE(fsys::CreateDir(src / "Sub"));
    ASSERT_TRUE(WriteFile(fsys::Join(src / "Sub", "autorun.exe"), "inner launcher"));
    ASSERT_TRUE(fsys::CreateDir(fsys::Join(src / "Sub", "Deeper")));
    std::string big(300000, 'x');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(WriteFile(fsys::Join(fsys::Join(src / "Sub", "Deeper"), "big.bin"), big));

    MemoryStream s;
    ASSERT_TRUE(PackFolder(s, src.path(), false));
    s.Seek(0);
    RecordingReporter r;
    ASSERT_TRUE(UnpackFolder(s, dst.path(), r));
    EXPECT_TRUE(r.entries.empty());
    EXPECT_EQ(s.Remaining(), 0);

    EXPECT_FALSE(fsys::FileExists(dst / "autorun.exe"));
    EXPECT_EQ(ReadFile(dst / "autorun.aru"), std::string("\x88\x53\0\0", 4));
    EXPECT_TRUE(fsys::FileExists(dst / "empty.txt"));
    EXPECT_EQ(ReadFile(fsys::Join(dst / "Sub", "autorun.exe")), "inner launcher");
    EXPECT_EQ(ReadFile(fsys::Join(fsys::Join(dst / "Sub", "Deeper"), "big.bin")), big);
}

TEST(PackFolder, IncludesLauncherWhenAsked) {
    TempDir src;
    ASSERT_TRUE(WriteFile(src / "autorun.exe", "L"));
    ASSERT_TRUE(WriteFile(src / "Autorun.EXE.txt", "not the launcher"));
    std::vector<std::string> names;
    ListFolder(src.path(), false, true, names);
    EXPECT_EQ(names.size(), 2u);
    ListFolder(src.path(), false, false, names);
    EXPECT_EQ(names, std::vector<std::string>{"Autorun.EXE.txt"});
}

TEST(UnpackFolder, RejectsNamesThatLeaveTheFolder) {
    for (const char* bad : {"", ".", "..", "..\\evil", "../evil", "a/b", "a\\b", "C:evil",
                            "C:\\evil", "/etc/evil", "NUL", "con.txt"}) {
        for (bool asDir : {false, true}) {
            TempDir d;
            MemoryStream s = asDir ? Packed({}, {bad}) : Packed({{bad, "payload"}});
            RecordingReporter r;
            EXPECT_FALSE(UnpackFolder(s, d.path(), r)) << bad;
            ASSERT_EQ(r.entries.size(), 1u) << bad;
            EXPECT_EQ(r.entries[0].caption, "Error");
            EXPECT_TRUE(IsFolderEmpty(d.path())) << bad;
        }
    }
}

TEST(UnpackFolder, DamagedCountsAndSizesFailBeforeWriting) {
    struct Case {
        const char* what;
        MemoryStream stream;
    };
    std::vector<Case> cases;
    {
        MemoryStream s; // size beyond the data
        s.WriteI32(0);
        s.WriteI32(1);
        s.WriteString("a.txt");
        s.WriteI32(1000000);
        s.WriteExact("abc", 3);
        cases.push_back({"size beyond data", std::move(s)});
    }
    {
        MemoryStream s; // huge folder count
        s.WriteI32(0x7FFFFFFF);
        cases.push_back({"huge folder count", std::move(s)});
    }
    {
        MemoryStream s; // negative file count
        s.WriteI32(0);
        s.WriteI32(-1);
        cases.push_back({"negative count", std::move(s)});
    }
    {
        MemoryStream s; // string length beyond data
        s.WriteI32(0);
        s.WriteI32(1);
        s.WriteI32(500);
        cases.push_back({"name beyond data", std::move(s)});
    }
    {
        MemoryStream s; // nesting deeper than the limit
        for (int i = 0; i <= kMaxPackDepth + 1; ++i) {
            s.WriteI32(1);
            s.WriteString("d");
        }
        for (int i = 0; i <= kMaxPackDepth + 2; ++i) {
            s.WriteI32(0);
            s.WriteI32(0);
        }
        cases.push_back({"too deep", std::move(s)});
    }
    for (auto& c : cases) {
        TempDir d;
        c.stream.Seek(0);
        RecordingReporter r;
        EXPECT_FALSE(UnpackFolder(c.stream, d.path(), r)) << c.what;
        ASSERT_EQ(r.entries.size(), 1u) << c.what;
        EXPECT_FALSE(fsys::FileExists(d / "a.txt")) << c.what;
    }
}

TEST(UnpackFolder, TruncationAtEveryByteFailsCleanly) {
    TempDir src;
    ASSERT_TRUE(WriteFile(src / "one.txt", "first file"));
    ASSERT_TRUE(fsys::CreateDir(src / "Sub"));
    ASSERT_TRUE(WriteFile(fsys::Join(src / "Sub", "two.txt"), "second"));
    MemoryStream full;
    ASSERT_TRUE(PackFolder(full, src.path(), true));
    for (size_t cut = 0; cut < full.Data().size(); ++cut) {
        TempDir d;
        MemoryStream s(full.Data().data(), cut);
        RecordingReporter r;
        EXPECT_FALSE(UnpackFolder(s, d.path(), r)) << cut;
        EXPECT_EQ(r.entries.size(), 1u) << cut;
    }
}

TEST(DeleteFolderTree, RefusesEmptyRelativeAndRootPaths) {
    for (const char* p : {"", "relative", "sub\\dir", "C:\\", "C:", "/", "\\"})
        EXPECT_FALSE(DeleteFolderTree(p)) << p;
}

TEST(DeleteFolderTree, RemovesNestedReadOnlyFiles) {
    TempDir base;
    std::string root = base / "tree";
    ASSERT_TRUE(fsys::CreateDir(root));
    ASSERT_TRUE(fsys::CreateDir(fsys::Join(root, "a")));
    ASSERT_TRUE(WriteFile(fsys::Join(fsys::Join(root, "a"), "f"), "x"));
    ASSERT_TRUE(WriteFile(fsys::Join(root, "autorun.exe"), "x"));
    EXPECT_TRUE(DeleteFolderTree(root));
    EXPECT_FALSE(fsys::DirectoryExists(root));
}

} // namespace
} // namespace orv
