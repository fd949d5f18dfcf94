#include "base/fsys.h"
#include "pe/icons.h"
#include "pe/version_info.h"
#include "publish/publish.h"
#include "unit/publish/publish_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace orv {
namespace {

using test::Bytes;
using test::Str;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> files;
    fsys::ListDir(folder, false, files);
    std::sort(files.begin(), files.end());
    return files;
}

// The running program may be a 32-bit or a 64-bit build; its copy is the
// launcher either way.
TEST(RefreshLauncherFiles, FillsANewProjectFolder) {
    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        test::PublishFixture fx(format);
        RecordingReporter r;
        ASSERT_TRUE(publish::RefreshLauncherFiles(fx.Context(), r));
        EXPECT_TRUE(r.entries.empty());

        std::string launcher = fx.Project("autorun.exe");
        EXPECT_EQ(pe::ReadVersionString(launcher, "OriginalFilename"), "autorun.exe   ");
        EXPECT_EQ(pe::ReadVersionString(launcher, "FileVersion"), "1.0.0.1");
        EXPECT_EQ(test::ReadFile(launcher).size(), test::ReadFile(fx.program).size());
        EXPECT_EQ(test::ReadFile(fx.Project("autorun.ico")), "default icon bytes");
        EXPECT_EQ(test::ReadFile(fx.Project("autorun.inf")),
                  "[autorun]\r\nOPEN=AUTORUN.EXE\r\nICON=AUTORUN.ICO\r\nLABEL=MYCD\r\n");
        // No temporary file is left behind.
        EXPECT_EQ(
            Entries(fx.projectFolder),
            (std::vector<std::string>{"autorun.aru", "autorun.exe", "autorun.ico", "autorun.inf"}));
    }
}

TEST(RefreshLauncherFiles, KeepsALauncherOfTheSameVersion) {
    test::PublishFixture fx;
    RecordingReporter r;
    // The launcher carries the user's strings; the program changed in other
    // ways but not in version.
    Bytes custom = test::LauncherPe("1.0.0.1");
    custom[0x210] = 0x42;
    ASSERT_TRUE(test::WriteFile(fx.Project("autorun.exe"), Str(custom)));
    ASSERT_TRUE(test::WriteFile(fx.Project("autorun.ico"), "my own icon"));
    ASSERT_TRUE(publish::RefreshLauncherFiles(fx.Context(), r));
    EXPECT_EQ(test::ReadFile(fx.Project("autorun.exe")), Str(custom));
    EXPECT_EQ(test::ReadFile(fx.Project("autorun.ico")), "my own icon");

    // Another version is replaced.
    ASSERT_TRUE(test::WriteFile(fx.Project("autorun.exe"), Str(test::LauncherPe("0.9.0.0"))));
    ASSERT_TRUE(publish::RefreshLauncherFiles(fx.Context(), r));
    EXPECT_EQ(pe::ReadVersionString(fx.Project("autorun.exe"), "FileVersion"), "1.0.0.1");
    EXPECT_EQ(pe::ReadVersionString(fx.Project("autorun.exe"), "OriginalFilename"),
              "autorun.exe   ");
    EXPECT_TRUE(r.entries.empty());
}

TEST(RefreshLauncherFiles, ExistingAutorunInfKeepsItsOtherKeys) {
    test::PublishFixture fx;
    ASSERT_TRUE(test::WriteFile(fx.Project("autorun.inf"),
                                "; made by hand\r\n[AutoRun]\r\nopen=old.exe\r\naction=Play\r\n"
                                "label=OLD\r\n\r\n[Content]\r\nMusicFiles=true\r\n"));
    RecordingReporter r;
    ASSERT_TRUE(publish::RefreshLauncherFiles(fx.Context(), r));
    std::string inf = test::ReadFile(fx.Project("autorun.inf"));
    EXPECT_EQ(inf, "; made by hand\r\n[AutoRun]\r\nopen=AUTORUN.EXE\r\naction=Play\r\n"
                   "label=MYCD\r\nICON=AUTORUN.ICO\r\n\r\n[Content]\r\nMusicFiles=true\r\n");
}

TEST(RefreshLauncherFiles, WithoutDefaultIconTheInfStillNamesOne) {
    test::PublishFixture fx;
    fsys::RemoveFile(fsys::Join(fx.programFolder, "Default.ico"));
    RecordingReporter r;
    ASSERT_TRUE(publish::RefreshLauncherFiles(fx.Context(), r));
    EXPECT_FALSE(fsys::FileExists(fx.Project("autorun.ico")));
    EXPECT_NE(test::ReadFile(fx.Project("autorun.inf")).find("ICON=AUTORUN.ICO\r\n"),
              std::string::npos);
}

// Each failure is reported once with its code and leaves the existing
// launcher as it was.
TEST(RefreshLauncherFiles, ReportsFailuresAndKeepsTheOldLauncher) {
    struct Case {
        const char* name;
        std::function<void(test::PublishFixture&, publish::LauncherContext&)> setup;
        std::string text;
        const char* caption;
    } cases[] = {
        {"program missing",
         [](test::PublishFixture&, publish::LauncherContext& c) { c.programPath += ".gone"; },
         "/5101).", "Error"},
        {"launcher copy blocked",
         [](test::PublishFixture& f, publish::LauncherContext&) {
             fsys::CreateDir(f.Project("autorun.exe.tmp"));
         },
         "/5101).", "Error"},
        {"program without version information",
         [](test::PublishFixture& f, publish::LauncherContext&) {
             test::WriteFile(f.program, Str(test::BuildPe({})));
         },
         "Resource update error: Can't find resource (1)", "Error"},
        {"default icon copy blocked",
         [](test::PublishFixture& f, publish::LauncherContext& c) {
             c.ownFileVersion = "0.9.0.0";
             fsys::CreateDir(f.Project("autorun.ico.tmp"));
         },
         "/5102).", "Error"},
        {"autorun.inf not writable",
         [](test::PublishFixture& f, publish::LauncherContext& c) {
             c.ownFileVersion = "0.9.0.0";
             fsys::CreateDir(f.Project("autorun.inf"));
         },
         "Save \"autorun.inf\" file failed.", "Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::PublishFixture fx;
        std::string old = Str(test::LauncherPe("0.9.0.0"));
        ASSERT_TRUE(test::WriteFile(fx.Project("autorun.exe"), old));
        publish::LauncherContext ctx = fx.Context();
        c.setup(fx, ctx);
        RecordingReporter r;
        r.errorNumber = 2;
        EXPECT_FALSE(publish::RefreshLauncherFiles(ctx, r));
        ASSERT_EQ(r.entries.size(), 1u);
        EXPECT_NE(r.entries[0].text.find(c.text), std::string::npos) << r.entries[0].text;
        EXPECT_EQ(r.entries[0].caption, c.caption);
        EXPECT_EQ(r.entries[0].flags, mb::kIconError | mb::kOk);
        if (ctx.ownFileVersion == "1.0.0.1") {
            EXPECT_EQ(test::ReadFile(fx.Project("autorun.exe")), old);
        }
        EXPECT_FALSE(fsys::FileExists(fx.Project("autorun.exe.tmp")));
    }
}

TEST(RefreshLauncherFiles, MissingProjectFolder) {
    test::PublishFixture fx;
    publish::LauncherContext ctx = fx.Context();
    ctx.projectFolder = fx.root / "nowhere";
    RecordingReporter r;
    EXPECT_FALSE(publish::RefreshLauncherFiles(ctx, r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].text, "Directory \"" + ctx.projectFolder + "\" not found");
}

TEST(UpdateLauncherInformation, PadsTextsAndReplacesTheIcon) {
    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        test::PublishFixture fx(format);
        RecordingReporter r;
        ASSERT_TRUE(test::WriteFile(
            fx.root / "mine.ico",
            Str(pe::MakeIconFile(test::IconOf(
                {test::IconImageOf(32, 32, 8, 0x77), test::IconImageOf(16, 16, 8, 0x78)})))));
        // No launcher yet: it is copied from the program first.
        ASSERT_TRUE(publish::UpdateLauncherInformation(fx.Context(), fx.root / "mine.ico", "Demo",
                                                       std::string(120, 'C'), "(c) Me", r));
        EXPECT_TRUE(r.entries.empty());
        std::string launcher = fx.Project("autorun.exe");
        EXPECT_EQ(pe::ReadVersionString(launcher, "OriginalFilename"), "autorun.exe   ");
        EXPECT_EQ(pe::ReadVersionString(launcher, "FileDescription"),
                  "Demo" + std::string(96, ' '));
        EXPECT_EQ(pe::ReadVersionString(launcher, "CompanyName"), std::string(100, 'C'));
        EXPECT_EQ(pe::ReadVersionString(launcher, "LegalCopyright"),
                  "(c) Me" + std::string(94, ' '));
        Bytes shown = pe::LoadMainIcon(launcher);
        EXPECT_EQ(shown, pe::MakeIconFile(test::IconOf({test::IconImageOf(32, 32, 8, 0x77)})));

        // A current launcher keeps its icon when none is chosen.
        ASSERT_TRUE(publish::UpdateLauncherInformation(fx.Context(), "", "Other", "", "", r));
        EXPECT_EQ(pe::LoadMainIcon(launcher), shown);
        EXPECT_EQ(pe::ReadVersionString(launcher, "FileDescription"),
                  "Other" + std::string(95, ' '));
        EXPECT_EQ(pe::ReadVersionString(launcher, "CompanyName"), std::string(100, ' '));
    }
}

TEST(UpdateLauncherInformation, FailuresLeaveTheLauncherAsItWas) {
    test::PublishFixture fx;
    RecordingReporter r;
    ASSERT_TRUE(publish::RefreshLauncherFiles(fx.Context(), r));
    std::string launcher = fx.Project("autorun.exe");
    std::string before = test::ReadFile(launcher);

    Bytes bad = pe::MakeIconFile(test::IconOf({test::IconImageOf(32, 32, 4, 1)}));
    pe::PutU32(&bad[6 + 12], 0xFFFFFFF0u);
    ASSERT_TRUE(test::WriteFile(fx.root / "bad.ico", Str(bad)));
    EXPECT_FALSE(
        publish::UpdateLauncherInformation(fx.Context(), fx.root / "bad.ico", "Demo", "", "", r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].text, "Resource update error: Icon file is invalid");
    EXPECT_EQ(test::ReadFile(launcher), before);

    // The copy cannot be made: the user is told the launcher may be running.
    r.entries.clear();
    r.errorNumber = 32;
    fsys::CreateDir(launcher + ".tmp");
    EXPECT_FALSE(publish::UpdateLauncherInformation(fx.Context(), "", "Demo", "", "", r));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(
        r.entries[0].text,
        "Platform error 32. If the \"autorun.exe\" is running, please terminate it and try again.");
    EXPECT_EQ(r.entries[0].caption, "Update File Infomation Failed");
    EXPECT_EQ(test::ReadFile(launcher), before);
}

TEST(ChooseCDIcon, CopiesAnotherIconOnly) {
    test::PublishFixture fx;
    ASSERT_TRUE(test::WriteFile(fx.root / "cd.ico", "cd icon"));
    ASSERT_TRUE(test::WriteFile(fx.Project("autorun.ico"), "old icon"));
    test::ScriptedUi ui;

    EXPECT_FALSE(publish::ChooseCDIcon(fx.Context(), ui)); // cancelled
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0],
              "open Select Icon File Icon Files (*.ico)|*.ico " + fx.Project("autorun.ico"));

    std::string same = fx.Project("AUTORUN.ICO");
    ui.picks = {same, fx.root / "cd.ico"};
    EXPECT_FALSE(publish::ChooseCDIcon(fx.Context(), ui));
    EXPECT_EQ(test::ReadFile(fx.Project("autorun.ico")), "old icon");
    EXPECT_TRUE(publish::ChooseCDIcon(fx.Context(), ui));
    EXPECT_EQ(test::ReadFile(fx.Project("autorun.ico")), "cd icon");

    ui.picks = {fx.root / "missing.ico"};
    ui.reporter.errorNumber = 2;
    EXPECT_FALSE(publish::ChooseCDIcon(fx.Context(), ui));
    ASSERT_EQ(ui.reporter.entries.size(), 1u);
    EXPECT_EQ(ui.reporter.entries[0].text, "Platform error 2 (Error Code: 2/5100).");
    EXPECT_EQ(test::ReadFile(fx.Project("autorun.ico")), "cd icon");
}

} // namespace
} // namespace orv
