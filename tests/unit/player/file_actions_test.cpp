// CopyFile on real folders (the platform fake answers questions, names the
// special folders and records the shell), and where ShowImage puts a
// picture.
#include "player/file_actions.h"

#include "player/action_params.h"

#include "actions_fakes.h"
#include "base/fsys.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>


namespace orv::player::test {
namespace {

TEST(ShowImagePlacement, ShrinksToFitAndCentres) {
    struct Case {
        int cw, ch, pw, ph;
        FitRect want;
    } cases[] = {
        {1024, 768, 1600, 1200, {0, 0, 1024, 768}},    // both too large, same aspect
        {1024, 768, 2000, 500, {0, 256, 1024, 256}},   // only the width
        {1024, 768, 640, 480, {192, 144, 640, 480}},   // fits: keeps its size
        {1024, 768, 500, 2000, {416, 0, 192, 768}},    // only the height
        {1024, 768, 4000, 1000, {0, 256, 1024, 256}},  // both, width decides
        {1024, 768, 0, 0, {511, 383, 1, 1}},           // empty sizes count as 1
        {1024, 768, 16384, 16384, {128, 0, 768, 768}}, // no overflow
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.pw) + "x" + std::to_string(c.ph));
        EXPECT_EQ(ShrinkToFit(c.cw, c.ch, c.pw, c.ph), c.want);
    }
}

// The settings text: source, target, overwrite, show message, caption,
// message, message type, file to open, parameters, start folder.
std::string Settings(const std::string& source, const std::string& target, bool overwrite,
                     bool message, const std::string& type, const std::string& open = "",
                     const std::string& params = "", const std::string& start = "") {
    std::string s;
    for (const std::string& f :
         {source, target, std::string(overwrite ? "Y" : "N"), std::string(message ? "Y" : "N"),
          std::string("Setup"), std::string("Copy now?"), type, open, params, start})
        s += f + kFieldSeparator;
    return s;
}

class CopyFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetActionPlatform(&platform);
        platform.tokens["[Temp]"] = target.path();
        ASSERT_TRUE(fsys::CreateDir(project / "setup"));
        ASSERT_TRUE(orv::test::WriteFile(project / "setup" + "/app.txt", "new app"));
        ASSERT_TRUE(fsys::CreateDir(project / "tree"));
        ASSERT_TRUE(fsys::CreateDir(project / "tree" + "/sub"));
        ASSERT_TRUE(orv::test::WriteFile(project / "tree" + "/a.txt", "tree a"));
        ASSERT_TRUE(orv::test::WriteFile(project / "tree" + "/sub/b.txt", "tree b"));
    }
    void TearDown() override { SetActionPlatform(nullptr); }

    bool Run(const std::string& settings) { return RunCopyFile(settings, project.path()); }

    Log log;
    FakePlatform platform{log};
    orv::test::TempDir project, target;
};

TEST_F(CopyFileTest, CopiesAFileIntoAMissingTargetFolderAndOpensIt) {
    // A target that is not a bracketed token is used as typed.
    const std::string folder = target / "Apps";
    EXPECT_TRUE(Run(Settings("\\setup\\app.txt", folder, false, false, "0", "app.txt", "-quiet")));
    EXPECT_EQ(orv::test::ReadFile(fsys::Join(folder, "app.txt")), "new app");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "shell=open|" + fsys::Join(folder, "app.txt") + "|-quiet||nowait|1");
    EXPECT_TRUE(platform.ui.entries.empty());
    // An incomplete settings text does nothing.
    EXPECT_FALSE(Run(Settings("setup\\app.txt", folder, true, false, "0").substr(0, 20)));
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(CopyFileTest, ExistingDestinationWithoutOverwriteCopiesNothingButStillOpens) {
    ASSERT_TRUE(orv::test::WriteFile(target / "app.txt", "old app"));
    EXPECT_TRUE(Run(Settings("setup\\app.txt", "[Temp]", false, true, "0", "app.txt")));
    EXPECT_EQ(orv::test::ReadFile(target / "app.txt"), "old app");
    EXPECT_TRUE(platform.ui.entries.empty()); // no message: nothing to copy
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("shell=open|", 0), 0u);
}

TEST_F(CopyFileTest, OverwriteReplacesTheFileAfterTheMessage) {
    const std::string dest = target / "app.txt";
    ASSERT_TRUE(orv::test::WriteFile(dest, "old app"));
    EXPECT_TRUE(Run(Settings("setup\\app.txt", "[Temp]", true, true, "0")));
    EXPECT_EQ(orv::test::ReadFile(dest), "new app");
    ASSERT_EQ(platform.ui.entries.size(), 1u);
    EXPECT_EQ(platform.ui.entries[0].text, "Copy now?");
    EXPECT_EQ(platform.ui.entries[0].caption, "Setup");
    EXPECT_EQ(platform.ui.entries[0].flags, mb::kIconInformation | mb::kOk);
    EXPECT_TRUE(log.empty());
}

TEST_F(CopyFileTest, AnsweringNoCopiesAndOpensNothing) {
    platform.ui.answers = {answer::kNo};
    EXPECT_FALSE(Run(Settings("setup\\app.txt", "[Temp]", true, true, "1", "app.txt")));
    EXPECT_FALSE(fsys::FileExists(target / "app.txt"));
    ASSERT_EQ(platform.ui.entries.size(), 1u);
    EXPECT_EQ(platform.ui.entries[0].flags, mb::kIconInformation | mb::kYesNo);
    EXPECT_TRUE(log.empty());

    platform.ui.answers = {answer::kYes};
    EXPECT_TRUE(Run(Settings("setup\\app.txt", "[Temp]", true, true, "1")));
    EXPECT_EQ(orv::test::ReadFile(target / "app.txt"), "new app");
}

TEST_F(CopyFileTest, FolderTreeFillsWhatIsMissingAndKeepsWhatIsThere) {
    ASSERT_TRUE(orv::test::WriteFile(target / "a.txt", "kept"));
    EXPECT_TRUE(Run(Settings("tree", "[Temp]", false, true, "0")));
    EXPECT_EQ(orv::test::ReadFile(target / "a.txt"), "kept");
    EXPECT_EQ(orv::test::ReadFile(target / "sub" + "/b.txt"), "tree b");
    EXPECT_EQ(platform.ui.entries.size(), 1u);

    // Everything is there now: no message, nothing copied, still true.
    EXPECT_TRUE(Run(Settings("\\tree", "[Temp]", false, true, "0")));
    EXPECT_EQ(platform.ui.entries.size(), 1u);

    // With overwrite the whole tree is copied again.
    EXPECT_TRUE(Run(Settings("tree", "[Temp]", true, false, "0")));
    EXPECT_EQ(orv::test::ReadFile(target / "a.txt"), "tree a");
}

TEST_F(CopyFileTest, MissingSourceOrTargetIsFalseAndQuiet) {
    EXPECT_FALSE(Run(Settings("setup\\none.txt", "[Temp]", true, true, "0", "x.exe")));
    EXPECT_FALSE(Run(Settings("", "[Temp]", true, true, "0")));
    EXPECT_FALSE(Run(Settings("setup\\app.txt", "", true, true, "0")));
    EXPECT_TRUE(platform.ui.entries.empty());
    EXPECT_TRUE(log.empty());
}

} // namespace
} // namespace orv::player::test
