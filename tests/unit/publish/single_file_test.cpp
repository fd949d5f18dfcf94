#include "base/fsys.h"
#include "base/packfolder.h"
#include "base/stream.h"
#include "pe/version_info.h"
#include "publish/publish.h"
#include "unit/pe/independent.h"
#include "unit/publish/publish_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

using test::Bytes;
using test::Str;

// A project folder with a launcher, files and a sub-folder that has its
// own autorun.exe.
void FillProject(test::PublishFixture& fx) {
    RecordingReporter r;
    ASSERT_TRUE(publish::RefreshLauncherFiles(fx.Context(), r));
    ASSERT_TRUE(test::WriteFile(fx.Project("page.txt"), "hello"));
    ASSERT_TRUE(test::WriteFile(fx.Project("empty.bin"), ""));
    ASSERT_TRUE(fsys::CreateDir(fx.Project("Setup")));
    ASSERT_TRUE(test::WriteFile(fsys::Join(fx.Project("Setup"), "autorun.exe"), "inner launcher"));
    ASSERT_TRUE(fsys::CreateDir(fx.Project("Empty")));
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// From a 32-bit and from a 64-bit launcher: the single file is the
// launcher with its recorded name blanked, the packed folder and the
// launcher's length.
TEST(BuildSingleFile, LauncherPackedFolderAndOffset) {
    bool independent = false;
    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        test::PublishFixture fx(format);
        FillProject(fx);
        std::string out = fx.root / "menu.exe";
        RecordingReporter r;
        ASSERT_TRUE(publish::BuildSingleFileTo(fx.projectFolder, out, r));
        EXPECT_TRUE(r.entries.empty());

        std::string launcher = test::ReadFile(fx.Project("autorun.exe"));
        std::string file = test::ReadFile(out);
        ASSERT_GT(file.size(), launcher.size() + 4);
        // The last four bytes are the launcher's length.
        MemoryStream tail(file.data() + file.size() - 4, 4);
        EXPECT_EQ(tail.ReadI32(), static_cast<int32_t>(launcher.size()));
        // The launcher part differs only in its recorded name, now blanks.
        EXPECT_EQ(pe::ReadVersionString(out, "OriginalFilename"), std::string(14, ' '));
        size_t differing = 0;
        for (size_t i = 0; i < launcher.size(); ++i)
            differing += file[i] != launcher[i];
        EXPECT_EQ(differing, 11u) << "\"autorun.exe\" overwritten by blanks, in UTF-16 low bytes";

        // The packed folder unpacks to the project without its own launcher.
        MemoryStream packed(file.data() + launcher.size(), file.size() - launcher.size() - 4);
        test::TempDir unpacked;
        ASSERT_TRUE(UnpackFolder(packed, unpacked.path(), r));
        EXPECT_EQ(packed.Remaining(), 0);
        std::vector<std::string> files, dirs;
        fsys::ListDir(unpacked.path(), false, files);
        fsys::ListDir(unpacked.path(), true, dirs);
        EXPECT_EQ(Sorted(files),
                  (std::vector<std::string>{"autorun.aru", "autorun.ico", "autorun.inf",
                                            "empty.bin", "page.txt"}));
        EXPECT_EQ(Sorted(dirs), (std::vector<std::string>{"Empty", "Setup"}));
        EXPECT_EQ(test::ReadFile(unpacked / "page.txt"), "hello");
        EXPECT_EQ(test::ReadFile(fsys::Join(unpacked / "Setup", "autorun.exe")), "inner launcher");
        EXPECT_FALSE(fsys::FileExists(out + ".tmp"));

        // An independent reader sees the same program with the blank name
        // (the packed folder is data after its sections).
        std::string listing, headers;
        int status = 0, headerStatus = 0;
        if (!test::PefileListing(out, listing, status) ||
            !test::PefileHeaders(out, headers, headerStatus))
            continue;
        independent = true;
        ASSERT_EQ(status, 0) << listing;
        ASSERT_EQ(headerStatus, 0) << headers;
        EXPECT_NE(listing.find("string OriginalFilename=" + std::string(14, ' ') + "\n"),
                  std::string::npos)
            << listing;
        EXPECT_EQ(test::HeaderValue(headers, "magic"),
                  format == test::PeFormat::Pe32 ? "0x10b" : "0x20b");
    }
    if (!independent)
        GTEST_SKIP() << "python3-pefile is not installed: independent check skipped";
}

TEST(BuildSingleFile, FailuresLeaveNoOutputAndKeepAnOldOne) {
    test::PublishFixture fx;
    FillProject(fx);
    std::string out = fx.root / "menu.exe";
    ASSERT_TRUE(test::WriteFile(out, "an older menu"));

    RecordingReporter r;
    r.errorNumber = 2;
    // Too large for the int32 trailer (a small limit stands for 2 GB): the
    // launcher fits, the packed folder does not.
    int64_t launcherSize = static_cast<int64_t>(test::ReadFile(fx.Project("autorun.exe")).size());
    EXPECT_FALSE(publish::BuildSingleFileTo(fx.projectFolder, out, r, launcherSize + 20));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].text,
              "The project is too large for a single file executable: the file would reach 2 GB.");
    EXPECT_EQ(test::ReadFile(out), "an older menu");
    EXPECT_FALSE(fsys::FileExists(out + ".tmp"));
    // Even the launcher alone can be too large.
    r.entries.clear();
    EXPECT_FALSE(publish::BuildSingleFileTo(fx.projectFolder, out, r, launcherSize - 1));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_FALSE(fsys::FileExists(out + ".tmp"));

    // No launcher in the project folder.
    r.entries.clear();
    fsys::RemoveFile(fx.Project("autorun.exe"));
    EXPECT_FALSE(publish::BuildSingleFileTo(fx.projectFolder, out, r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].text, "Platform error 2 (Error Code: 2/5301).");
    EXPECT_EQ(test::ReadFile(out), "an older menu");

    // A launcher without version information cannot be marked.
    r.entries.clear();
    ASSERT_TRUE(test::WriteFile(fx.Project("autorun.exe"), Str(test::BuildPe({}))));
    EXPECT_FALSE(publish::BuildSingleFileTo(fx.projectFolder, out, r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].text, "Resource update error: Can't find resource (1)");
    EXPECT_EQ(test::ReadFile(out), "an older menu");
    EXPECT_FALSE(fsys::FileExists(out + ".tmp"));

    // The target folder does not exist.
    r.entries.clear();
    EXPECT_FALSE(publish::BuildSingleFileTo(fx.projectFolder, fx.root / "no/such/menu.exe", r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_NE(r.entries[0].text.find("/5301)."), std::string::npos);
}

TEST(BuildSingleFile, DialogSaveAndQuestion) {
    test::PublishFixture fx;
    FillProject(fx);
    test::ScriptedUi ui;
    // Cancelled: nothing saved.
    EXPECT_FALSE(publish::BuildSingleFile(fx.Context(), ui));
    EXPECT_EQ(ui.saves, 0);
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0], "save EXE Files (*.exe)|*.exe exe");

    // Inside the project folder (it would pack itself): refused before saving.
    ui.picks = {fsys::Join(fx.Project("Setup"), "menu.exe")};
    EXPECT_FALSE(publish::BuildSingleFile(fx.Context(), ui));
    ASSERT_EQ(ui.reporter.entries.size(), 1u);
    EXPECT_EQ(ui.reporter.entries[0].text,
              "Selected folder can not be in the current project folder.");
    EXPECT_EQ(ui.reporter.entries[0].caption, "Executable File");
    EXPECT_EQ(ui.reporter.entries[0].flags, mb::kIconInformation | mb::kOk);
    EXPECT_EQ(ui.saves, 0);
    EXPECT_FALSE(fsys::FileExists(fsys::Join(fx.Project("Setup"), "menu.exe")));

    // A failed save builds nothing.
    ui.reporter.entries.clear();
    ui.saveResult = false;
    ui.picks = {fx.root / "menu.exe"};
    EXPECT_FALSE(publish::BuildSingleFile(fx.Context(), ui));
    EXPECT_FALSE(fsys::FileExists(fx.root / "menu.exe"));

    // Saved, built (the extension added), launched on Yes.
    ui.saveResult = true;
    ui.picks = {fx.root / "menu"};
    ui.reporter.answers = {answer::kYes};
    EXPECT_TRUE(publish::BuildSingleFile(fx.Context(), ui));
    EXPECT_TRUE(fsys::FileExists(fx.root / "menu.exe"));
    ASSERT_EQ(ui.reporter.entries.size(), 1u);
    EXPECT_EQ(ui.reporter.entries[0].text, "Executable file created, launch it?");
    EXPECT_EQ(ui.reporter.entries[0].caption, "Executable File");
    EXPECT_EQ(ui.reporter.entries[0].flags, mb::kYesNo | mb::kIconInformation);
    EXPECT_EQ(ui.opened, (std::vector<std::string>{fx.root / "menu.exe"}));

    // No: not launched.
    ui.picks = {fx.root / "menu2.exe"};
    ui.reporter.answers = {answer::kNo};
    EXPECT_TRUE(publish::BuildSingleFile(fx.Context(), ui));
    EXPECT_EQ(ui.opened.size(), 1u);
}

TEST(IsInsideFolder, FolderBoundariesAndCase) {
    struct Case {
        const char *folder, *path;
        bool inside;
    } cases[] = {
        {"C:\\P", "C:\\P\\menu.exe", true}, {"C:\\P\\", "c:\\p\\sub\\m.exe", true},
        {"C:\\P", "C:\\P", true},           {"C:\\P", "C:\\P2\\menu.exe", false},
        {"C:\\P", "D:\\menu.exe", false},   {"/tmp/p", "/tmp/p/x.exe", true},
        {"/tmp/p", "/tmp/px.exe", false},   {"", "C:\\menu.exe", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(publish::IsInsideFolder(c.folder, c.path), c.inside) << c.folder << " " << c.path;
}

} // namespace
} // namespace orv
