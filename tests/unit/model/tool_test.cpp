// Drives the orvexa-project tool that lands beside this test program.
#include "base/fsys.h"
#include "base/path.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace orv::model {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

std::string ToolPath() {
    return fsys::Join(ExtractFileDir(fsys::ExecutablePath()), "orvexa-project");
}

ToolRun RunTool(const test::TempDir& dir, const std::string& args) {
    std::string out = dir.File("stdout.txt"), err = dir.File("stderr.txt");
    std::string cmd = "'" + ToolPath() + "' " + args + " >'" + out + "' 2>'" + err + "'";
    int status = std::system(cmd.c_str());
    ToolRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto text = [](const std::string& f) {
        std::vector<uint8_t> b = test::ReadAll(f);
        return std::string(b.begin(), b.end());
    };
    r.out = text(out);
    r.err = text(err);
    return r;
}

class ProjectTool : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fsys::FileExists(ToolPath()))
            GTEST_SKIP() << "orvexa-project is not built beside the tests";
        test::Mutator m;
        test::FillProject(project, m, 2);
        RecordingReporter r;
        ASSERT_TRUE(SaveProjectFile(project, file, r));
    }
    test::TempDir dir;
    std::string file = dir.File("autorun.aru");
    TAuProject project;
};

TEST_F(ProjectTool, DumpsSettingsPagesObjectsAndActions) {
    ToolRun run = RunTool(dir, "dump '" + dir.path() + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* want :
         {"ApplicationTitle: \"Rich project\"", "Page [1] \"Page 2\"",
          "Object \"Panel1 - Image1\": Image", "Object \"TabNotebook1 - TabSheet1\": TabSheet",
          "Kind: 44 IfThenElse", "Hint.Actions", "TGIFImage, "})
        EXPECT_NE(run.out.find(want), std::string::npos) << want;
}

TEST_F(ProjectTool, RoundTripWritesTheSameBytes) {
    std::string out = dir.File("copy.aru");
    ToolRun run = RunTool(dir, "roundtrip '" + file + "' '" + out + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::ReadAll(out), test::ReadAll(file));
}

TEST_F(ProjectTool, DamagedFileGivesItsMessageAndFails) {
    std::vector<uint8_t> b = test::ReadAll(file);
    b[0] ^= 1;
    test::WriteAll(file, b);
    ToolRun run = RunTool(dir, "dump '" + file + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "File Format: Invalid file format.\n");
    EXPECT_EQ(RunTool(dir, "frobnicate").exitCode, 2);
}

} // namespace
} // namespace orv::model
