#include "startup/startup.h"

#include "base/fsys.h"
#include "base/packfolder.h"
#include "base/path.h"
#include "base/stream.h"
#include "base/text.h"

#include <algorithm>

namespace orv {

RunMode DecideRunMode(const std::string& recordedName, const std::string& fileName) {
    if (recordedName != kProgramFileName)
        return recordedName.empty() ? RunMode::SingleFile : RunMode::Player;
    if (!SameTextAscii(fileName, kProgramFileName))
        return RunMode::Player;
    return RunMode::Editor;
}

TStartupState& Startup() {
    static TStartupState state;
    return state;
}

std::string EditorProjectFolder(const std::string& settingsDefaultPath,
                                const std::vector<std::string>& args,
                                const std::string& personalFolder) {
    std::string folder = settingsDefaultPath;
    if (!args.empty()) {
        std::string remembered = folder;
        folder = args[0];
        if (!fsys::DirectoryExists(folder))
            folder = fsys::FileExists(folder) ? ExtractFileDir(folder) : std::string();
        if (folder.empty())
            folder = remembered;
    }
    if (folder.empty() && !personalFolder.empty()) {
        std::string projects = personalFolder + "\\Orvexa Projects\\CDROM";
#ifndef _WIN32
        projects = fsys::Join(fsys::Join(personalFolder, "Orvexa Projects"), "CDROM");
#endif
        if (fsys::DirectoryExists(projects))
            folder = projects;
    }
    if (!folder.empty() && !fsys::DirectoryExists(folder))
        folder.clear();
    return folder;
}

std::string UnpackSingleFile(const std::string& exePath, const std::string& tempBase,
                             Reporter& reporter, std::string& createdFolder) {
    createdFolder.clear();
    std::string base = ExcludeTrailingBackslash(tempBase);
    std::string folder;
    for (int n = 0;; ++n) {
        folder = fsys::Join(base, kSingleFileFolderBase + std::to_string(n));
        if (!fsys::DirectoryExists(folder) && !fsys::FileExists(folder))
            break;
        if (n == 1 << 20) { // every name taken: give up rather than loop on
            reporter.ReportError(5507);
            return {};
        }
    }
    if (!fsys::CreateDir(folder)) {
        reporter.ReportError(5507);
        return {};
    }
    createdFolder = folder;
    std::string copy = fsys::Join(folder, "autorun.exe");
    if (!fsys::CopyFileTo(exePath, copy, true)) {
        reporter.ReportError(5508);
        return {};
    }
    fsys::ClearReadOnly(copy);
    try {
        FileStream f;
        if (!f.Open(copy, FileStream::Mode::Read))
            throw StreamError("cannot open");
        int64_t size = f.Size();
        if (size < 4)
            throw StreamError("no trailer");
        f.Seek(size - 4);
        int64_t offset = f.ReadI32();
        // The packed folder lies between the launcher and the trailer.
        if (offset < 0 || offset > size - 4)
            throw StreamError("trailer out of range");
        SubStream packed(f, offset, size - 4 - offset);
        if (!UnpackFolder(packed, folder, reporter))
            return {};
    } catch (const std::exception&) {
        reporter.ReportFileError(103, copy);
        return {};
    }
    return folder;
}

EditorSettings ReadEditorSettings(const IniFile& ini) {
    EditorSettings s;
    s.defaultPath = ini.ReadString("START", "DefaultPath", "");
    for (int i = 0; i < kRecentCount; ++i) {
        s.recentNames.push_back(ini.ReadString("RECENT", "NAME" + std::to_string(i), ""));
        s.recentFolders.push_back(ini.ReadString("RECENT", "Folder" + std::to_string(i), ""));
    }
    s.displayGrid = ini.ReadBool("SETTINGS", "DISPLAYGRID", true);
    s.snapToGrid = ini.ReadBool("SETTINGS", "SNAPTOGRID", true);
    // A grid of 0 would divide by zero when snapping; keep the grid dialog's
    // range whatever the file says.
    s.gridSizeX =
        std::clamp(ini.ReadInteger("SETTINGS", "GRIDSIZEX", 8), kMinGridSize, kMaxGridSize);
    s.gridSizeY =
        std::clamp(ini.ReadInteger("SETTINGS", "GRIDSIZEY", 8), kMinGridSize, kMaxGridSize);
    s.hasBackgroundColor = ini.HasKey("SETTINGS", "BACKGROUNDCOLOR");
    s.backgroundColor = ini.ReadInteger("SETTINGS", "BACKGROUNDCOLOR", 0);
    s.version = ini.ReadString("SYSTEM", "Version", "");
    return s;
}

void WriteRecentProjects(IniFile& ini, const EditorSettings& settings) {
    for (int i = 0; i < kRecentCount; ++i) {
        auto at = [&](const std::vector<std::string>& v) {
            return static_cast<size_t>(i) < v.size() ? v[static_cast<size_t>(i)] : std::string();
        };
        ini.WriteString("RECENT", "NAME" + std::to_string(i), at(settings.recentNames));
        ini.WriteString("RECENT", "FOLDER" + std::to_string(i), at(settings.recentFolders));
    }
}

} // namespace orv
