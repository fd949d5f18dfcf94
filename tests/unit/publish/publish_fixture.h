// A program folder (the running program and Default.ico) and a project
// folder for the publishing tests, and a scripted PublishUi.
#pragma once

#include "base/fsys.h"
#include "publish/publish.h"
#include "support/tempdir.h"
#include "unit/pe/pe_fixture.h"

#include <string>
#include <vector>

namespace orv::test {

inline std::string Str(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

// The running program is a 32-bit or a 64-bit build, as format says.
struct PublishFixture {
    TempDir root;
    std::string programFolder = root / "program";
    std::string projectFolder = root / "project";
    std::string program = fsys::Join(programFolder, "Orvexa.exe");

    explicit PublishFixture(PeFormat format = PeFormat::Pe32) {
        fsys::CreateDir(programFolder);
        fsys::CreateDir(projectFolder);
        WriteFile(program, Str(LauncherPe(format, "1.0.0.1")));
        WriteFile(fsys::Join(programFolder, "Default.ico"), "default icon bytes");
        WriteFile(fsys::Join(projectFolder, "autorun.aru"), "project file");
    }
    publish::LauncherContext Context() const { return {projectFolder, program, "1.0.0.1", "MYCD"}; }
    std::string Project(const std::string& name) const { return fsys::Join(projectFolder, name); }
};

class ScriptedUi : public publish::PublishUi {
public:
    RecordingReporter reporter;
    std::vector<std::string> picks; // answers of the file dialogs; empty = cancel
    std::vector<std::string> dialogs;
    bool saveResult = true;
    int saves = 0;
    std::vector<std::string> opened;

    Reporter& Messages() override { return reporter; }
    bool PickOpenFile(const std::string& title, const std::string& filter,
                      std::string& path) override {
        dialogs.push_back("open " + title + " " + filter + " " + path);
        return Next(path);
    }
    bool PickSaveFile(const std::string& filter, const std::string& ext,
                      std::string& path) override {
        dialogs.push_back("save " + filter + " " + ext);
        return Next(path);
    }
    bool SaveProject() override {
        ++saves;
        return saveResult;
    }
    void OpenFile(const std::string& path) override { opened.push_back(path); }

private:
    bool Next(std::string& path) {
        if (picks.empty())
            return false;
        path = picks.front();
        picks.erase(picks.begin());
        return !path.empty();
    }
};

} // namespace orv::test
