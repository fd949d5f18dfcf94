#include "startup/startup.h"

#include "base/fsys.h"
#include "base/packfolder.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(DecideRunMode, RecordedNameDecidesThenFileName) {
    struct Case {
        const char *recorded, *file;
        RunMode want;
    } cases[] = {
        {"Orvexa.exe", "Orvexa.exe", RunMode::Editor},
        {"Orvexa.exe", "ORVEXA.EXE", RunMode::Editor},
        {"Orvexa.exe", "orvexa.exe", RunMode::Editor},
        {"Orvexa.exe", "autorun.exe", RunMode::Player},
        {"Orvexa.exe", "Menu.exe", RunMode::Player},
        {"autorun.exe", "Orvexa.exe", RunMode::Player},
        {"autorun.exe", "autorun.exe", RunMode::Player},
        {"orvexa.exe", "Orvexa.exe", RunMode::Player},
        {"ORVEXA.EXE", "Orvexa.exe", RunMode::Player},
        {"", "Orvexa.exe", RunMode::SingleFile},
        {"", "Menu.exe", RunMode::SingleFile},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecideRunMode(c.recorded, c.file), c.want) << c.recorded << " / " << c.file;
}

TEST(EditorProjectFolder, CommandLineThenSettingsThenDocuments) {
    TempDir d;
    std::string settings = d / "FromSettings";
    std::string arg = d / "FromArg";
    std::string personal = d / "Docs";
    std::string docs = fsys::Join(fsys::Join(personal, "Orvexa Projects"), "CDROM");
    ASSERT_TRUE(fsys::CreateDir(settings));
    ASSERT_TRUE(fsys::CreateDir(arg));
    ASSERT_TRUE(fsys::CreateDir(personal));
    ASSERT_TRUE(fsys::CreateDir(fsys::Join(personal, "Orvexa Projects")));
    ASSERT_TRUE(fsys::CreateDir(docs));
    ASSERT_TRUE(WriteFile(fsys::Join(arg, "autorun.aru"), "x"));

    struct Case {
        const char* what;
        std::string settings;
        std::vector<std::string> args;
        std::string want;
    } cases[] = {
        {"settings only", settings, {}, settings},
        {"argument folder wins", settings, {arg}, arg},
        {"argument file opens its folder", settings, {fsys::Join(arg, "autorun.aru")}, arg},
        {"missing argument falls back", settings, {d / "Missing"}, settings},
        {"nothing: documents folder", "", {}, docs},
        {"missing settings folder is not replaced", d / "Gone", {}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorProjectFolder(c.settings, c.args, personal), c.want) << c.what;
    EXPECT_EQ(EditorProjectFolder("", {}, d / "NoDocs"), "");
}

// A single-file executable: launcher bytes, packed folder, int32 offset.
std::string BuildSingleFile(const std::string& launcher, const std::string& folder) {
    MemoryStream s;
    s.WriteExact(launcher.data(), launcher.size());
    EXPECT_TRUE(PackFolder(s, folder, false));
    s.WriteI32(static_cast<int32_t>(launcher.size()));
    return std::string(s.Data().begin(), s.Data().end());
}

TEST(UnpackSingleFile, UsesNextFreeFolderAndUnpacksProject) {
    TempDir tmp, project, out;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(fsys::CreateDir(tmp / ("Orvexa" + std::to_string(i))));
    ASSERT_TRUE(WriteFile(project / "autorun.aru", "project bytes"));
    ASSERT_TRUE(fsys::CreateDir(project / "Media"));
    ASSERT_TRUE(WriteFile(fsys::Join(project / "Media", "a.txt"), "media"));
    std::string exe = out / "menu.exe";
    ASSERT_TRUE(WriteFile(exe, BuildSingleFile("MZ-launcher", project.path())));

    RecordingReporter r;
    std::string created;
    std::string folder = UnpackSingleFile(exe, tmp.path(), r, created);
    EXPECT_TRUE(r.entries.empty());
    EXPECT_EQ(folder, tmp / "Orvexa3");
    EXPECT_EQ(created, folder);
    EXPECT_EQ(ReadFile(fsys::Join(folder, "autorun.aru")), "project bytes");
    EXPECT_EQ(ReadFile(fsys::Join(fsys::Join(folder, "Media"), "a.txt")), "media");
    EXPECT_EQ(ReadFile(fsys::Join(folder, "autorun.exe")), ReadFile(exe));
}

TEST(UnpackSingleFile, BadTrailerIsReportedAndFolderStillKnown) {
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"too short", "MZ"},
        {"offset past end", std::string("MZ-launcher\xff\xff\x00\x00", 15)},
        {"negative offset", std::string("MZ-launcher\xf0\xff\xff\xff", 15)},
        {"no packed data", std::string("MZ-launcher\x0b\x00\x00\x00", 15)},
    };
    for (const auto& c : cases) {
        TempDir tmp, out;
        std::string exe = out / "menu.exe";
        ASSERT_TRUE(WriteFile(exe, c.bytes));
        RecordingReporter r;
        std::string created;
        EXPECT_EQ(UnpackSingleFile(exe, tmp.path(), r, created), "") << c.what;
        EXPECT_EQ(created, tmp / "Orvexa0") << c.what;
        ASSERT_EQ(r.entries.size(), 1u) << c.what;
        EXPECT_EQ(r.entries[0].caption, "Error") << c.what;
    }
}

TEST(UnpackSingleFile, TrailerIsNotReadAsPackedData) {
    // The packed folder's last file claims one more byte than it has; the
    // trailer must not be taken as that byte.
    TempDir tmp, out;
    MemoryStream s;
    s.WriteExact("MZ", 2);
    s.WriteI32(0);
    s.WriteI32(1);
    s.WriteString("a.txt");
    s.WriteI32(4);
    s.WriteExact("abc", 3);
    s.WriteI32(2);
    std::string exe = out / "menu.exe";
    ASSERT_TRUE(WriteFile(exe, std::string(s.Data().begin(), s.Data().end())));
    RecordingReporter r;
    std::string created;
    EXPECT_EQ(UnpackSingleFile(exe, tmp.path(), r, created), "");
    EXPECT_EQ(r.entries.size(), 1u);
}

TEST(EditorSettings, DefaultsAndClampedGrid) {
    IniFile ini;
    ini.Parse("[Settings]\nGridSizeX=0\nGRIDSIZEY=500\nDisplayGrid=0\n[RECENT]\nFolder3=C:\\X\n"
              "NAME3=Menu\n[START]\nDefaultPath=C:\\P\n");
    EditorSettings s = ReadEditorSettings(ini);
    EXPECT_EQ(s.gridSizeX, kMinGridSize);
    EXPECT_EQ(s.gridSizeY, kMaxGridSize);
    EXPECT_FALSE(s.displayGrid);
    EXPECT_TRUE(s.snapToGrid);
    EXPECT_FALSE(s.hasBackgroundColor);
    EXPECT_EQ(s.recentFolders[3], "C:\\X");
    EXPECT_EQ(s.recentNames[3], "Menu");
    EXPECT_EQ(s.defaultPath, "C:\\P");

    // Written as FOLDERn, read back as Foldern: the same entry.
    WriteRecentProjects(ini, s);
    EXPECT_EQ(ini.ReadString("recent", "folder3", ""), "C:\\X");
    EXPECT_EQ(ReadEditorSettings(IniFile(ini)).recentFolders[3], "C:\\X");
    EXPECT_EQ(ini.Text().find("FOLDER3"), std::string::npos); // first spelling kept
}

} // namespace
} // namespace orv
