// The command-line publisher, run as a program the way a build script
// would.
#include "base/fsys.h"
#include "base/stream.h"
#include "model/project.h"
#include "pe/icons.h"
#include "pe/version_info.h"
#include "unit/pe/independent.h"
#include "unit/publish/publish_fixture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Quote;

int Publish(const std::string& args, std::string& output) {
    return test::RunCommand(Quote(ORVEXA_PUBLISH_TOOL) + " " + args + " 2>&1", output);
}

void WriteProject(const std::string& folder, const std::string& label) {
    model::TAuProject p;
    p.CDLabel = label;
    RecordingReporter r;
    ASSERT_TRUE(model::WriteProjectFile(p, fsys::Join(folder, "autorun.aru"), "", r));
}

// Publishing from a 32-bit and from a 64-bit program.
TEST(PublishTool, RefreshesFileInformationAndBuildsASingleFile) {
    for (test::PeFormat format : test::kPeFormats) {
        SCOPED_TRACE(test::FormatName(format));
        test::PublishFixture fx(format);
        WriteProject(fx.projectFolder, "DEMO_CD");
        std::string out;
        std::string menu = fx.root / "menu.exe";
        ASSERT_EQ(Publish(Quote(fx.projectFolder) + " --launcher " + Quote(fx.program) +
                              " --file-info 'Demo menu' ACME '(c) 2026' --icon " +
                              Quote(test::DataFile("new.ico")) + " --single-file " + Quote(menu),
                          out),
                  0)
            << out;
        std::string launcher = fx.Project("autorun.exe");
        EXPECT_EQ(pe::ReadVersionString(launcher, "OriginalFilename"), "autorun.exe   ");
        EXPECT_EQ(pe::ReadVersionString(launcher, "FileDescription"),
                  "Demo menu" + std::string(91, ' '));
        EXPECT_EQ(pe::ReadVersionString(launcher, "CompanyName"), "ACME" + std::string(96, ' '));
        pe::IconGroup group;
        ASSERT_TRUE(pe::ReadMainIconGroup(launcher, group));
        EXPECT_EQ(group.images.size(), 4u);
        EXPECT_EQ(test::ReadFile(fx.Project("autorun.inf")),
                  "[autorun]\r\nOPEN=AUTORUN.EXE\r\nICON=AUTORUN.ICO\r\nLABEL=DEMO_CD\r\n");

        std::string file = test::ReadFile(menu);
        std::string launcherBytes = test::ReadFile(launcher);
        ASSERT_GT(file.size(), launcherBytes.size() + 4);
        MemoryStream tail(file.data() + file.size() - 4, 4);
        EXPECT_EQ(tail.ReadI32(), static_cast<int32_t>(launcherBytes.size()));
        EXPECT_EQ(pe::ReadVersionString(menu, "OriginalFilename"), std::string(14, ' '));
        EXPECT_EQ(pe::ReadVersionString(menu, "FileDescription"),
                  "Demo menu" + std::string(91, ' '));

        // Only an icon: the texts stay.
        ASSERT_EQ(
            Publish(Quote(fx.projectFolder) + " --icon " + Quote(test::DataFile("main.ico")), out),
            0)
            << out;
        EXPECT_EQ(pe::ReadVersionString(launcher, "FileDescription"),
                  "Demo menu" + std::string(91, ' '));
        ASSERT_TRUE(pe::ReadMainIconGroup(launcher, group));
        EXPECT_EQ(group.images.size(), 3u);
    }
}

TEST(PublishTool, RefusesWithMessagesAndExitCodes) {
    test::PublishFixture fx;
    WriteProject(fx.projectFolder, "X");
    ASSERT_TRUE(test::WriteFile(fx.root / "plain.exe", test::Str(test::BuildPe({}))));
    struct Case {
        std::string args;
        int exit;
        std::string message;
    } cases[] = {
        {"", 2, "no project folder given"},
        {Quote(fx.projectFolder), 2, "nothing to do"},
        {Quote(fx.projectFolder) + " --bogus", 2, "unknown option --bogus"},
        {Quote(fx.projectFolder) + " --file-info a b", 2, "--file-info needs"},
        {Quote(fx.root / "none") + " --single-file x.exe", 1, "not found"},
        {Quote(fx.projectFolder) + " --launcher " + Quote(fx.root / "plain.exe"), 1,
         "has no \"FileVersion\""},
        {Quote(fx.projectFolder) + " --single-file " + Quote(fx.root / "m.exe"), 1,
         "has no \"autorun.exe\""},
        {Quote(fx.projectFolder) + " --launcher " + Quote(fx.program) + " --single-file " +
             Quote(fx.Project("sub/../m.exe")),
         1, "Selected folder can not be in the current project folder."},
        {Quote(fx.projectFolder) + " --launcher " + Quote(fx.program) + " --icon " +
             Quote(fx.root / "none.ico"),
         1, "does not exist"},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(Publish(c.args, out), c.exit) << c.args << "\n" << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.args << "\n" << out;
    }
    EXPECT_FALSE(fsys::FileExists(fx.Project("m.exe")));

    // A damaged icon is refused with the resource message, launcher intact.
    std::string before = test::ReadFile(fx.Project("autorun.exe"));
    ASSERT_TRUE(test::WriteFile(fx.root / "bad.ico", "\0\0\1\0\1\0 junk"));
    std::string out;
    EXPECT_EQ(Publish(Quote(fx.projectFolder) + " --icon " + Quote(fx.root / "bad.ico"), out), 1);
    EXPECT_NE(out.find("Resource update error: Icon file is invalid"), std::string::npos) << out;
    EXPECT_EQ(test::ReadFile(fx.Project("autorun.exe")), before);
}

} // namespace
} // namespace orv
