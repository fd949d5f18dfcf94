// Start-up scenarios: Orvexa.exe under other names and in other folders,
// with what it shows checked through the message log.
#include "scenario.h"

#include "base/packfolder.h"
#include "model/project.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::LogLine;
using test::OrvexaExe;
using test::ReadAll;
using test::RunProgram;
using test::TempDir;
using test::WithRecordedName;
using test::WriteAll;

const char* kNoDataFile = "AutoRun CD Data file does not exist.";
const char* kNoFolder = "The default project folder does not exist.";

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = ReadAll(OrvexaExe());
        ASSERT_FALSE(exe_.empty()) << "Orvexa.exe not found beside the test";
    }
    // Puts a copy of the program into folder under name, its recorded name
    // replaced when recorded is given.
    std::string Install(const std::string& folder, const std::string& name,
                        const char* recorded = nullptr) {
        std::string bytes = recorded ? WithRecordedName(exe_, recorded) : exe_;
        EXPECT_FALSE(bytes.empty());
        std::string path = fsys::Join(folder, name);
        EXPECT_TRUE(WriteAll(path, bytes));
        return path;
    }
    test::RunResult Run(const std::string& exe, const std::string& args = "",
                        const std::string& answers = "") {
        auto r = RunProgram(exe, args, logs_ / "log.txt", answers, temp_.path());
        EXPECT_TRUE(r.finished);
        return r;
    }

    std::string exe_;
    TempDir logs_, temp_;
};

TEST_F(Startup, PlayerNamesPlayTheirOwnFolder) {
    // Another file name, or another recorded name under the program's own
    // file name, plays: the project folder is the program's folder.
    struct Case {
        const char* file;
        const char* recorded;
    } cases[] = {{"autorun.exe", nullptr},
                 {"Menu.exe", nullptr},
                 {"Orvexa.exe", "autorun.exe"},
                 {"Orvexa.exe", "orvexa.exe"}};
    for (const auto& c : cases) {
        TempDir d;
        auto r = Run(Install(d.path(), c.file, c.recorded));
        ASSERT_EQ(r.log.size(), 1u) << c.file;
        EXPECT_EQ(r.log[0].kind, "message");
        EXPECT_EQ(r.log[0].text, kNoDataFile) << c.file;
        EXPECT_EQ(r.log[0].caption, "Information");
        EXPECT_EQ(r.log[0].detail, "Information,OK");
    }
}

TEST_F(Startup, EditorWithoutFolderAsksAndEndsOnCancel) {
    for (const char* name : {"Orvexa.exe", "ORVEXA.EXE"}) {
        TempDir d;
        std::string exe = Install(d.path(), name);
        ASSERT_TRUE(WriteAll(d / "Orvexa.ini", "[START]\r\nDefaultPath=C:\\no\\such\\folder\r\n"));
        auto r = Run(exe);
        ASSERT_EQ(r.log.size(), 2u) << name;
        EXPECT_EQ(r.log[0].text, kNoFolder);
        EXPECT_EQ(r.log[0].caption, "Project Folder");
        EXPECT_EQ(r.log[0].detail, "Information,OK");
        EXPECT_EQ(r.log[1].kind, "folder");
        EXPECT_EQ(r.log[1].caption, "Select Project Folder");
    }
}

TEST_F(Startup, EditorFolderFromSettingsArgumentOrDialog) {
    TempDir d, project, other;
    std::string exe = Install(d.path(), "Orvexa.exe");
    ASSERT_TRUE(WriteAll(d / "Orvexa.ini", "[Start]\r\ndefaultpath=" + project.path() + "\r\n"));
    // From the settings file: the data file is missing there.
    auto r = Run(exe);
    ASSERT_EQ(r.log.size(), 1u);
    EXPECT_EQ(r.log[0].text, kNoDataFile);
    // A parameter naming a missing path falls back to the settings folder.
    r = Run(exe, "\"" + (d / "missing") + "\"");
    ASSERT_EQ(r.log.size(), 1u);
    EXPECT_EQ(r.log[0].text, kNoDataFile);

    // Picked in the dialog: no message about the missing data file.
    ASSERT_TRUE(fsys::RemoveFile(d / "Orvexa.ini"));
    r = Run(exe, "", other.path());
    ASSERT_EQ(r.log.size(), 2u);
    EXPECT_EQ(r.log[0].text, kNoFolder);
    EXPECT_EQ(r.log[1].kind, "folder");
}

// A single-file executable made by hand: the launcher with a blank recorded
// name, the packed folder, and the launcher's length at the end.
std::string SingleFile(const std::string& launcher, const std::string& folder) {
    MemoryStream s;
    s.WriteExact(launcher.data(), launcher.size());
    EXPECT_TRUE(PackFolder(s, folder, false));
    s.WriteI32(static_cast<int32_t>(launcher.size()));
    return std::string(s.Data().begin(), s.Data().end());
}

TEST_F(Startup, SingleFileUnpacksIntoNextFreeFolderAndRemovesIt) {
    for (int i = 0; i < 3; ++i) {
        std::string f = temp_ / ("Orvexa" + std::to_string(i));
        ASSERT_TRUE(fsys::CreateDir(f));
        ASSERT_TRUE(WriteAll(fsys::Join(f, "keep.txt"), "not ours"));
    }
    TempDir project, out;
    ASSERT_TRUE(WriteAll(project / "readme.txt", "a file of the menu"));
    ASSERT_TRUE(fsys::CreateDir(project / "Media"));
    ASSERT_TRUE(WriteAll(fsys::Join(project / "Media", "a.txt"), "media"));
    std::string exe = out / "menu.exe";
    ASSERT_TRUE(WriteAll(exe, SingleFile(WithRecordedName(exe_, ""), project.path())));

    auto r = Run(exe);
    // The packed folder holds no project file: said once, then the run ends.
    ASSERT_EQ(r.log.size(), 1u);
    EXPECT_EQ(r.log[0].text, kNoDataFile);
    // Exactly the folder it made is gone; the ones it found are untouched.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadAll(fsys::Join(temp_ / ("Orvexa" + std::to_string(i)), "keep.txt")),
                  "not ours");
    EXPECT_FALSE(fsys::DirectoryExists(temp_ / "Orvexa3"));
    EXPECT_FALSE(fsys::DirectoryExists(temp_ / "Orvexa4"));
}

TEST_F(Startup, SingleFileWithDamagedTrailerReportsAndCleansUp) {
    TempDir out;
    std::string launcher = WithRecordedName(exe_, "");
    std::string bytes = launcher + std::string("\x10\x00\x00\x00\x00\x00\x00\x00", 8);
    bytes += std::string("\xff\xff\xff\x7f", 4); // offset far past the end
    std::string exe = out / "menu.exe";
    ASSERT_TRUE(WriteAll(exe, bytes));
    auto r = Run(exe);
    ASSERT_GE(r.log.size(), 1u);
    EXPECT_EQ(r.log[0].caption, "Error");
    EXPECT_NE(r.log[0].text.find("/103)."), std::string::npos) << r.log[0].text;
    EXPECT_NE(r.log[0].text.find("autorun.exe"), std::string::npos) << r.log[0].text;
    EXPECT_FALSE(fsys::DirectoryExists(temp_ / "Orvexa0"));
}

// Writes a project file with the given password and no pages.
void WriteEmptyProject(const std::string& file, const std::string& password) {
    model::TAuProject p;
    p.ProjectPassword = password;
    RecordingReporter r;
    ASSERT_TRUE(model::WriteProjectFile(p, file, "", r));
    ASSERT_TRUE(r.entries.empty());
}

TEST_F(Startup, ProjectFileIsLoadedInEveryMode) {
    // Player: a project without pages says so; a damaged one reports.
    {
        TempDir d;
        std::string exe = Install(d.path(), "autorun.exe");
        WriteEmptyProject(d / "autorun.aru", "secret");
        auto r = Run(exe);
        ASSERT_EQ(r.log.size(), 1u); // the player never asks for the password
        EXPECT_EQ(r.log[0].text, "There is no page in the AutoRun CD project.");
        EXPECT_EQ(r.log[0].caption, "No page");
        ASSERT_TRUE(WriteAll(d / "autorun.aru", std::string("\x01\x02\x03\x04\0\0\0\0", 8)));
        r = Run(exe);
        ASSERT_EQ(r.log.size(), 1u);
        EXPECT_EQ(r.log[0].text, "Invalid file format.");
        EXPECT_EQ(r.log[0].caption, "File Format");
    }
    // Editor: a password is asked for; a wrong answer is refused.
    {
        TempDir d, project;
        std::string exe = Install(d.path(), "Orvexa.exe");
        WriteEmptyProject(project / "autorun.aru", "secret");
        auto r = Run(exe, "\"" + project.path() + "\"", "wrong");
        ASSERT_EQ(r.log.size(), 2u);
        EXPECT_EQ(r.log[0].kind, "input");
        EXPECT_EQ(r.log[0].caption, "Password");
        EXPECT_EQ(r.log[0].detail, "password");
        EXPECT_EQ(r.log[1].text, "Invalid Password.");
        r = Run(exe, "\"" + project.path() + "\"", "secret");
        ASSERT_EQ(r.log.size(), 1u);
        EXPECT_EQ(r.log[0].kind, "input");
    }
    // Single file: the project is read from the unpacked folder.
    {
        TempDir project, out;
        WriteEmptyProject(project / "autorun.aru", "");
        std::string exe = out / "menu.exe";
        ASSERT_TRUE(WriteAll(exe, SingleFile(WithRecordedName(exe_, ""), project.path())));
        auto r = Run(exe);
        ASSERT_EQ(r.log.size(), 1u);
        EXPECT_EQ(r.log[0].text, "There is no page in the AutoRun CD project.");
        EXPECT_FALSE(fsys::DirectoryExists(temp_ / "Orvexa0"));
    }
}

} // namespace
} // namespace orv
