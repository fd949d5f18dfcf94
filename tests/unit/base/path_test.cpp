#include "base/path.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(MakeProjectPath, JoinsWithOneBackslash) {
    struct Case {
        const char *folder, *name, *want;
    } cases[] = {
        {"C:\\P\\", "a.txt", "C:\\P\\a.txt"},
        {"C:\\P", "\\a.txt", "C:\\P\\a.txt"},
        {"C:\\P", "a.txt", "C:\\P\\a.txt"},
        {"C:\\P\\", "\\a.txt", "C:\\P\\a.txt"},
        {"", "a.txt", ""},
        {"C:\\P", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeProjectPath(c.folder, c.name), c.want) << c.folder << " + " << c.name;
}

TEST(MakeRelativePath, MatchesOnlyAtFolderBoundary) {
    struct Case {
        const char *folder, *path, *want;
    } cases[] = {
        {"C:\\P", "c:\\p", "\\"},
        {"C:\\P", "C:\\P\\a.mp3", "\\a.mp3"},
        {"C:\\P", "c:\\p\\Sub\\b.txt", "\\Sub\\b.txt"},
        {"C:\\P\\", "C:\\P\\a.mp3", "\\a.mp3"},
        {"C:\\P", "C:\\P2\\a.mp3", ""},
        {"C:\\P", "D:\\X", ""},
        {"C:\\P", "C:\\", ""},
        {"", "C:\\P", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeRelativePath(c.folder, c.path), c.want) << c.folder << " / " << c.path;
}

TEST(IsPlainFileName, RejectsEverythingThatLeavesTheFolder) {
    for (const char* bad :
         {"", ".", "..", "a\\b", "a/b", "C:x", "..\\x", "con", "NUL.txt", "trail.", "trail ",
          "a\x01"
          "b"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    for (const char* good : {"a.txt", "autorun.exe", "My Pictures", ".hidden", "con1.txt"})
        EXPECT_TRUE(IsPlainFileName(good)) << good;
}

} // namespace
} // namespace orv
